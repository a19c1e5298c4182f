// Times the person list of a generated tree (100,000 persons unless --persons N says otherwise): reading
// it with four generations of names per row and pouring it into a grid, a filter over it, and its PDF.
//
//   bench_reports [--persons N] [--tree FILE.vrd]

#include "bench_support.h"
#include "reports/grid_model.h"
#include "reports/grid_pdf.h"
#include "reports/name_cache.h"
#include "reports/report_filter.h"
#include "reports/report_print.h"
#include "reports/report_tables.h"
#include "storage/tree_file.h"

#include <QFileInfo>
#include <QGuiApplication>
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
    QGuiApplication app(argc, argv);
    const int persons = bench::PersonsArgument(100000);
    QString tree = bench::TreeArgument();
    QTemporaryDir work;
    SetProgramFolder(work.path() + QStringLiteral("/program/"));
    if (tree.isEmpty()) {
        bench::Stopwatch made;
        tree = bench::ImportGeneratedTree(persons, work);
        if (tree.isEmpty()) {
            std::fprintf(stderr, "could not generate and import a tree\n");
            return 1;
        }
        std::printf("generated and imported %d persons in %.1f s\n", persons, made.nsecsElapsed() / 1e9);
    }
    if (!OpenTreeFile(tree))
        return 1;

    bench::Stopwatch timer;
    LoadNameCache();
    const TextTable table = ReadPersonReportTable();
    TZelGridModel grid;
    FillReportGrid(grid, TReportKind::Persons, table);
    Report("person list with four generations of names", timer, 2000);
    std::printf("  %lld rows, %lld columns\n", static_cast<long long>(table.size() - 1),
                static_cast<long long>(table.value(0).size()));

    TZelGridModel filtered;
    filtered.ReplaceCells(grid.AllCells());
    timer.restart();
    const int kept = ApplyFilter(
        filtered, TFilter{QStringLiteral("s"), foContains, grid.Cell(3, grid.RowCount() / 2), QString()}, 3);
    Report("filter: father's name contains", timer, 200);
    std::printf("  %d rows kept\n", kept);
    filtered.ReplaceCells(grid.AllCells());
    timer.restart();
    ApplyFilter(
        filtered,
        TFilter{QStringLiteral("N"), foBetween, QStringLiteral("13000101"), QStringLiteral("14001230")}, 14);
    Report("filter: Hijri birth date between", timer, 200);

    timer.restart();
    TGridPrintSettings settings;
    PrepareReportPrint(settings, QStringLiteral("Person list"));
    TGridPrintLayout layout(ReportPrintSource(grid, TReportKind::Persons,
                                              ReportColumnWidths(TReportKind::Persons),
                                              QGuiApplication::font(), false),
                            settings);
    layout.Paginate(TFontMeasurer());
    Report("pagination", timer, 10000);
    QString error;
    if (!WriteGridPdf(layout, work.filePath(QStringLiteral("list.pdf")), {}, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    Report("pagination and PDF", timer, 10000);
    std::printf("  %d pages, %.1f MB\n", layout.PageCount(),
                QFileInfo(work.filePath(QStringLiteral("list.pdf"))).size() / 1048576.0);
    CloseTreeFile();
    return 0;
}
