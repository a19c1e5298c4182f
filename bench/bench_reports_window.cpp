// Times the reports window on a generated tree (100,000 persons unless --persons N says otherwise): the
// person list from the click until it is painted, a filter on the father's name, and the preview's
// pagination.
//
//   bench_reports_window [--persons N] [--tree FILE.vrd]

#include "bench_support.h"
#include "reports/ui/grid_print.h"
#include "reports/ui/reports_window.h"
#include "reports/ui/zel_grid.h"
#include "storage/tree_file.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
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
        tree = bench::ImportGeneratedTree(persons, work);
    if (tree.isEmpty() || !OpenTreeFile(tree)) {
        std::fprintf(stderr, "no tree to time\n");
        return 1;
    }
    TfrmReports window;
    window.ShowReportsWindow();
    window.ReportList()->setCurrentRow(0);
    QApplication::processEvents();

    bench::Stopwatch timer;
    window.RunSelectedReport();
    window.Grid()->viewport()->repaint();
    QApplication::processEvents();
    Report("person list shown in the window", timer, 2000);
    std::printf("  %d rows\n", window.Grid()->RowCount() - 1);

    const int father = window.Grid()->ColumnIndexOf(window.Grid()->Cells(3, 0));
    window.Grid()->SetCurrentCell(father, window.Grid()->RowCount() / 2);
    const QString name = window.Grid()->Cells(father, window.Grid()->Row());
    timer.restart();
    window.FilterCurrentColumn(TFilter{QStringLiteral("s"), foEquals, name, QString()});
    window.Grid()->viewport()->repaint();
    QApplication::processEvents();
    Report("filter on the father's name, shown", timer, 200);
    std::printf("  %d rows kept\n", window.Grid()->RowCount() - 1);

    window.RunSelectedReport();
    timer.restart();
    const auto layout = window.GridPrint()->MakeLayout();
    Report("preview pagination", timer, 10000);
    std::printf("  %d pages\n", layout->PageCount());
    CloseTreeFile();
    return 0;
}
