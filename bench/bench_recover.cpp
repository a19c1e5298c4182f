// Times a damaged tree of 1,000,000 persons (--persons N for another size; --tree FILE for a tree of one's
// own): the probe and the open of the sound tree, which read only its first pages, and the rescue of a copy
// whose middle page of persons is overwritten, which reads every page around it and writes a new tree.

#include "bench_support.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_probe.h"
#include "storage/tree_rescue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;
using verdan::bench::ReportTiming;
using verdan::bench::Stopwatch;

namespace {

// The page in the middle of the persons' pages, as the engine's page statistics name them.
qint64 MiddlePersonPage(const QString& tree, int& pageSize) {
    Tdm dm;
    if (!dm.OpenReadOnly(tree))
        return 0;
    pageSize = int(dm.ScalarInt("PRAGMA page_size"));
    QList<qint64> leaves;
    Query q =
        dm.Prepare("SELECT pageno FROM dbstat WHERE name = 'ftPerson' AND pagetype = 'leaf' ORDER BY path");
    q.ForEachRow([&](Query& row) { leaves << row.Int(0); });
    return leaves.isEmpty() ? 0 : leaves[leaves.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int persons = verdan::bench::PersonsArgument(1000000);
    QTemporaryDir folder;
    QString sound = verdan::bench::TreeArgument();
    if (sound.isEmpty())
        sound = verdan::bench::GeneratedTree(persons);
    if (sound.isEmpty())
        return 1;

    Stopwatch probe;
    const TTreeProbe probed = ProbeTreeFile(sound);
    ReportTiming("probe of the sound tree", probe, "at once");
    Stopwatch open;
    if (!probed.Sound() || !OpenTreeFile(sound, TOpenAccess::ReadOnly))
        return 1;
    ReportTiming("read-only open of the sound tree", open, "at once");
    CloseTreeFile();

    int pageSize = 0;
    const qint64 page = MiddlePersonPage(sound, pageSize);
    const QString damaged = folder.filePath(QStringLiteral("tree/tree.vrd"));
    QDir().mkpath(folder.filePath(QStringLiteral("tree")));
    QFile file(damaged);
    if (page <= 0 || !QFile::copy(sound, damaged) || !file.open(QIODevice::ReadWrite) ||
        !file.seek((page - 1) * pageSize) || file.write(QByteArray(pageSize, char(0xA5))) != pageSize)
        return 1;
    file.close();

    Stopwatch damagedProbe;
    const bool found = ProbeTreeFile(damaged).Damaged;
    ReportTiming("probe of the damaged copy", damagedProbe, "at once");
    std::printf("damage at page %lld %s by the probe\n", page, found ? "found" : "left to the reads");

    TRescueReport report;
    QString error;
    Stopwatch rescue;
    if (!RescueTree(damaged, RescuedTreePath(damaged), {}, report, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    ReportTiming("recover of the damaged copy", rescue, "60000 ms");
    std::printf("%s\n", qPrintable(RescueReportText(report)));
    return 0;
}
