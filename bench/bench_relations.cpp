// Times the whole-tree views on a generated tree of 1,000,000 persons (--persons N for another size): the
// descendant statistics of the founder with the largest father line, the parent-contradiction check (and
// the whole consistency check), the general search for two words and a family name applied to about
// 10,000 descendants.

#include "bench_support.h"
#include "storage/database.h"
#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;
using verdan::bench::ReportTiming;
using verdan::bench::Stopwatch;

namespace {

// The first-level person (no group) with the most descendants in the father line.
QString LargestFounder() {
    QString best;
    int most = -1;
    Query q = Dm().Prepare("SELECT Person_Id FROM ftPerson WHERE Father_Id = '-1' AND is_section = 0");
    QStringList founders;
    while (q.Next())
        founders << q.Text(0);
    q = Query();
    for (const QString& id : founders) {
        const int count = CountDescendantsDetailed(id, false).Total;
        if (count > most) {
            most = count;
            best = id;
        }
    }
    return best;
}

// Going down from the founder along the largest branch, the last person with 10,000 descendants or more.
QString BranchOfTenThousand(const QString& founder) {
    QString at = founder;
    for (;;) {
        QStringList children;
        GetChildrenIds(at, children);
        QString next;
        int most = 0;
        for (const QString& child : children) {
            const int count = CountDescendantsDetailed(child, false).Total;
            if (count >= 10000 && count > most) {
                most = count;
                next = child;
            }
        }
        if (next.isEmpty())
            return at;
        at = next;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int persons = bench::PersonsArgument(1000000);
    QTemporaryDir folder;
    if (!bench::OpenCopyOfGeneratedTree(persons, folder))
        return 1;

    const QString founder = LargestFounder();
    ClearPersonIndex();
    Stopwatch timer;
    TDescendantCounts counts = CountDescendantsDetailed(founder, false);
    ReportTiming("Statistics of the largest founder, person index built on the way", timer, "< 1000 ms");
    timer.restart();
    counts = CountDescendantsDetailed(founder, false);
    ReportTiming("Statistics of the largest founder, person index ready", timer, "< 1000 ms");
    std::printf("  %d descendants: %d males, %d females\n", counts.Total, counts.Males, counts.Females);

    // A wrong gender makes every child of that person a contradiction.
    const QString mother =
        Dm().ScalarText("SELECT Mother_Id FROM ftPerson WHERE Mother_Id LIKE '{%' LIMIT 1");
    SetGender(mother, "m");
    timer.restart();
    TextTable conflicts;
    ListParentGenderConflicts(conflicts);
    ReportTiming("Parent-contradiction check, after a write", timer, "< 2000 ms");
    std::printf("  %lld contradictions\n", static_cast<long long>(conflicts.size() - 1));

    TFindResultList results;
    timer.restart();
    SearchPersonTexts(QStringLiteral(u"محمد الرياض"), results);
    ReportTiming("General search for two words", timer, "< 1000 ms");
    std::printf("  %lld persons found\n", static_cast<long long>(results.size()));

    const QString branch = BranchOfTenThousand(founder);
    const int descendants = CountDescendantsDetailed(branch, false).Total;
    Dm().Execute("UPDATE ftPerson SET Last_Name = ? WHERE Person_Id = ?", QStringLiteral(u"آل بنش"), branch);
    timer.restart();
    PropagateFamilyName(branch, TFamilyNameKind::LastName, true);
    ReportTiming("Family name applied to the descendants, overwriting", timer, "< 1000 ms");
    std::printf("  %d descendants\n", descendants);
    CloseTreeFile();
    return 0;
}
