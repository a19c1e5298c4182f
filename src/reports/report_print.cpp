#include "report_print.h"

#include "grid_model.h"
#include "grid_pdf.h"
#include "report_cells.h"
#include "text/localisation.h"

namespace verdan {

namespace {

TPrintCell PrintCellOf(const TReportCellView& view) {
    TPrintCell cell;
    cell.text = view.text;
    cell.centre = view.align == TReportCellView::Align::Centre;
    cell.leftToRight = view.leftToRight;
    return cell;
}

} // namespace

TGridPrintSource ReportPrintSource(const TZelGridModel& grid, TReportKind kind, const QList<int>& colWidths,
                                   const QFont& font, bool rightToLeft) {
    TGridPrintSource source = GridPrintSource(grid, colWidths, font, rightToLeft);
    // Most columns show their text as it is; only the others go through the report's rule.
    QList<bool> ruled;
    for (int col = 0; col < grid.ColCount(); ++col) {
        const QString field = ReportFieldOfColumn(kind, col);
        ruled << (ReportFieldIsConverted(kind, field) || ReportCellView(kind, field, QString()).leftToRight);
    }
    source.cell = [&grid, kind, ruled](int col, int row) {
        if (row == 0 || !ruled.value(col)) {
            TPrintCell plain;
            plain.text = grid.CellText(col, row);
            return plain;
        }
        return PrintCellOf(ReportGridCellView(grid, kind, col, row));
    };
    return source;
}

void PrepareReportPrint(TGridPrintSettings& settings, const QString& caption) {
    settings.Title.Caption = caption;
    settings.Footer.Caption = Translate(QStringLiteral("Verdan"));
    // On paper a list's columns take the room their texts need, whatever their width on the screen.
    settings.ContentWidths = true;
    // The first print of a list: landscape, and zoomed out until the columns fit across when they can.
    if (settings.Orientation == TPrintOrientation::Undefined) {
        settings.Orientation = TPrintOrientation::Landscape;
        settings.FitToWidth = true;
    }
}

void ExportReportCellsAsShown(TZelGridModel& grid, TReportKind kind) {
    QList<bool> converted;
    for (int col = 0; col < grid.ColCount(); ++col)
        converted << ReportFieldIsConverted(kind, ReportFieldOfColumn(kind, col));
    grid.OnExport = [&grid, kind, converted](int, int col, int row, QString& text) {
        if (row > 0 && converted.value(col))
            text = ReportGridCellView(grid, kind, col, row).text;
        return true;
    };
}

} // namespace verdan
