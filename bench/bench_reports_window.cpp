// Times the reports window on a generated tree (100,000 persons unless --persons N says otherwise): the
// person list's first screen, the longest the window stands still while the list fills, Find, a filter on
// the father's name, the preview's first page and the memory the list takes.
//
//   bench_reports_window [--persons N] [--tree FILE.vrd]

#include "bench_support.h"
#include "reports/report_print.h"
#include "reports/ui/grid_print.h"
#include "reports/ui/print_preview.h"
#include "reports/ui/reports_window.h"
#include "reports/ui/zel_grid.h"
#include "storage/tree_file.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

using namespace verdan;

namespace {

void Report(const char* what, const bench::Stopwatch& timer, double targetMs) {
    std::printf("%-44s %8.1f ms wall %8.1f ms cpu  (target < %.0f ms)\n", what, timer.nsecsElapsed() / 1e6,
                timer.cpuNsecs() / 1e6, targetMs);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int persons = bench::PersonsArgument(100000);
    QString tree = bench::TreeArgument();
    QTemporaryDir work;
    SetProgramFolder(work.path() + QStringLiteral("/program/"));
    if (tree.isEmpty())
        tree = bench::GeneratedTree(persons);
    if (tree.isEmpty() || !OpenTreeFile(tree)) {
        std::fprintf(stderr, "no tree to time\n");
        return 1;
    }
    std::printf("tree file %.1f MB\n", QFileInfo(tree).size() / 1048576.0);
    const double opened = bench::ResidentMegabytes();
    TfrmReports window;
    window.resize(1200, 800);
    bench::EventLoopGaps gaps;
    gaps.Start();
    bench::Stopwatch timer;
    window.ShowReportsWindow();
    window.ReportList()->setCurrentRow(0);
    gaps.RunUntil([&] { return !window.Reading(); }, 600000);
    gaps.Stop();
    Report("names read when the window opens", timer, 60000);
    std::printf("  longest gap between event-loop turns %.1f ms wall, %.1f ms cpu (target < 100 ms)\n",
                gaps.LongestMs(), gaps.LongestCpuMs());
    const double before = bench::ResidentMegabytes();

    gaps.Start();
    timer.restart();
    window.RunSelectedReport();
    window.Grid()->viewport()->repaint();
    Report("person list: first screen shown", timer, 300);
    gaps.RunUntil([&] { return !window.Filling(); }, 600000);
    gaps.Stop();
    Report("person list: every row in", timer, 60000);
    std::printf("  %d rows; longest gap between event-loop turns while filling %.1f ms wall, %.1f ms cpu "
                "(target < 100 ms)\n",
                window.Grid()->RowCount() - 1, gaps.LongestMs(), gaps.LongestCpuMs());
    QApplication::processEvents();
    std::printf(
        "  memory %.0f MB with the tree open, %.0f MB with the names, %.0f MB with the list (peak %.0f "
        "MB)\n",
        opened, before, bench::ResidentMegabytes(), bench::PeakResidentMegabytes());

    // Find as the user types it, one letter at a time; each letter must answer at once.
    window.Grid()->SetCurrentCell(window.Grid()->ColumnIndexOf(window.Grid()->Cells(2, 0)), 1);
    double slowest = 0;
    double slowestCpu = 0;
    const QString word = QStringLiteral("Saleh");
    for (int i = 1; i <= word.size(); ++i) {
        timer.restart();
        window.FindBox()->setText(word.left(i));
        gaps.RunUntil([&] { return !window.Finding(); }, 60000);
        window.Grid()->viewport()->repaint();
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
        slowestCpu = std::max(slowestCpu, timer.cpuNsecs() / 1e6);
    }
    std::printf("%-44s %8.1f ms wall %8.1f ms cpu  (target < 200 ms)\n", "find \"Saleh\", slowest letter",
                slowest, slowestCpu);
    std::printf("  found at row %d, column %d\n", window.Grid()->Row(), window.Grid()->Col());

    const int father = window.Grid()->ColumnIndexOf(window.Grid()->Cells(3, 0));
    window.Grid()->SetCurrentCell(father, window.Grid()->RowCount() / 2);
    const QString name = window.Grid()->Cells(father, window.Grid()->Row());
    timer.restart();
    window.FilterCurrentColumn(TFilter{QStringLiteral("s"), foEquals, name, QString()});
    window.Grid()->viewport()->repaint();
    QApplication::processEvents();
    Report("filter on the father's name, shown", timer, 200);
    std::printf("  %d rows kept\n", window.Grid()->RowCount() - 1);
    timer.restart();
    window.FilterButton()->click();
    window.Grid()->viewport()->repaint();
    Report("filter lifted, shown", timer, 1000);

    timer.restart();
    {
        PrepareReportPrint(window.GridPrint()->Settings(), window.Grid()->Caption());
        TfrmGPPreview preview(*window.GridPrint());
        preview.show();
        QApplication::processEvents();
        Report("preview: first page shown", timer, 500);
        std::printf("  page %d, %s\n", preview.CurrentPage(), qPrintable(preview.StatusText()));
        gaps.Start();
        gaps.RunUntil([&] { return preview.PageCountKnown(); }, 600000);
        gaps.Stop();
        Report("preview: every page counted", timer, 60000);
        std::printf("  %s; longest gap between event-loop turns %.1f ms wall, %.1f ms cpu\n",
                    qPrintable(preview.StatusText()), gaps.LongestMs(), gaps.LongestCpuMs());
    }
    std::printf("  memory at the end %.0f MB (peak %.0f MB)\n", bench::ResidentMegabytes(),
                bench::PeakResidentMegabytes());
    CloseTreeFile();
    return 0;
}
