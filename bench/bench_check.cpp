// Times `verdan-cli check` on a generated tree of 1,000,000 persons (--persons N for another size, --tree
// FILE for a tree of one's own): the damage check of the file, then the check of the family's links,
// marriages and dates, each as the command runs them. The whole check should take at most 5 s.

#include "bench_support.h"
#include "relations/data_checks.h"
#include "storage/database.h"
#include "storage/tree_check.h"
#include "storage/tree_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;
using verdan::bench::ReportTiming;
using verdan::bench::Stopwatch;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    SetProgramFolder(folder.path() + QStringLiteral("/program/"));
    QString tree = bench::TreeArgument();
    if (tree.isEmpty())
        tree = bench::GeneratedTree(bench::PersonsArgument(1000000));
    if (tree.isEmpty())
        return 1;

    Stopwatch whole;
    Stopwatch timer;
    {
        Tdm dm;
        if (!dm.Open(tree)) {
            std::fprintf(stderr, "could not open %s\n", qPrintable(tree));
            return 1;
        }
        const TTreeCheck check = CheckTreeFile(dm);
        std::printf("damage: %lld problems\n", static_cast<long long>(check.Problems.size()));
    }
    ReportTiming("Damage check of the tree file", timer, "-");
    timer.restart();
    if (!OpenTreeFile(tree))
        return 1;
    std::printf("%d persons\n", CountPersons());
    const QList<TDataFinding> findings = CheckTreeData();
    ReportTiming("Check of the links, marriages and dates", timer, "-");
    CloseTreeFile();
    ReportTiming("The whole check", whole, "<= 5000 ms");
    std::printf("%lld findings\n", static_cast<long long>(findings.size()));
    return 0;
}
