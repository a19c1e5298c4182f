// Times the kinship of two persons on a generated tree of 1,000,000 persons (--persons N for another
// size): a line of 40 generations is added below a person with a father, and its last man is compared
// with the brother of the line's first man (41 generations up, one down), with a person outside the line
// (both ancestries walked in full) and with a cousin in the generated part.

#include "bench_support.h"
#include "relations/kinship.h"
#include "relations/kinship_terms.h"
#include "relations/mahram.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;
using verdan::bench::ReportTiming;
using verdan::bench::Stopwatch;

namespace {

void Time(const char* what, const QString& a, const QString& b) {
    Stopwatch timer;
    const TKinship kinship = FindKinship(a, b);
    const TMahramRuling ruling = RuleMahram(kinship);
    const QStringList terms = KinshipTerms(kinship, true);
    ReportTiming(what, timer, "< 100 ms");
    std::printf("  %s; %s\n", qPrintable(terms.value(0, QStringLiteral("no kinship"))),
                qPrintable(MahramHeadline(ruling)));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int persons = bench::PersonsArgument(1000000);
    QTemporaryDir folder;
    if (!bench::OpenCopyOfGeneratedTree(persons, folder))
        return 1;

    // A man with a father and a brother, deep in the generated tree.
    const QString start = Dm().ScalarText(
        "SELECT p.Person_Id FROM ftPerson p JOIN ftPerson f ON f.Person_Id = p.Father_Id "
        "JOIN ftPerson g ON g.Person_Id = f.Father_Id JOIN ftPerson b ON b.Father_Id = p.Father_Id "
        "AND b.Person_Id <> p.Person_Id WHERE p.Gender = 'm' ORDER BY p.oid DESC LIMIT 1");
    const QString brother = Dm().ScalarText("SELECT b.Person_Id FROM ftPerson b JOIN ftPerson p ON "
                                            "p.Father_Id = b.Father_Id WHERE p.Person_Id = ? "
                                            "AND b.Person_Id <> p.Person_Id LIMIT 1",
                                            start);
    const QString cousin =
        Dm().ScalarText("SELECT c.Person_Id FROM ftPerson c JOIN ftPerson u ON u.Person_Id = c.Father_Id "
                        "JOIN ftPerson f ON f.Father_Id = u.Father_Id AND f.Person_Id <> u.Person_Id "
                        "JOIN ftPerson p ON p.Father_Id = f.Person_Id WHERE p.Person_Id = ? LIMIT 1",
                        start);
    const QString stranger = Dm().ScalarText("SELECT Person_Id FROM ftPerson WHERE Father_Id LIKE '{%' "
                                             "ORDER BY oid LIMIT 1 OFFSET 1000");
    QString last = start;
    Dm().Execute("BEGIN");
    for (int i = 0; i < 40; ++i) {
        QString id;
        AddPerson(QStringLiteral("Line %1").arg(i + 1), last, QStringLiteral("0"), id, QStringLiteral("m"));
        last = id;
    }
    Dm().Execute("COMMIT");

    Time("Kinship 40 generations down and the first man's brother", last, brother);
    Time("Kinship of the same two, again", last, brother);
    if (!cousin.isEmpty())
        Time("Kinship 40 generations below a cousin", last, cousin);
    Time("Kinship of the line's last man and a person outside it", last, stranger);
    CloseTreeFile();
    return 0;
}
