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
    QStringList fields;
    QList<bool> ruled;
    for (int col = 0; col < grid.ColCount(); ++col) {
        fields << ReportFieldOfColumn(kind, col);
        ruled << (ReportFieldIsConverted(kind, fields.last()) ||
                  ReportCellView(kind, fields.last(), QString()).leftToRight);
    }
    source.cell = [&grid, kind, fields, ruled](int col, int row) {
        if (row == 0 || !ruled.value(col)) {
            TPrintCell plain;
            plain.text = grid.CellText(col, row);
            return plain;
        }
        return PrintCellOf(ReportCellView(kind, fields.value(col), grid.CellText(col, row)));
    };
    return source;
}

void PrepareReportPrint(TGridPrintSettings& settings, const QString& caption) {
    settings.Title.Caption = caption;
    settings.Footer.Caption = Translate(QStringLiteral("Verdan"));
    if (settings.Orientation == TPrintOrientation::Undefined)
        settings.Orientation = TPrintOrientation::Landscape;
}

void ExportReportCellsAsShown(TZelGridModel& grid, TReportKind kind) {
    QStringList fields;
    for (int col = 0; col < grid.ColCount(); ++col)
        fields << ReportFieldOfColumn(kind, col);
    grid.OnExport = [kind, fields](int, int col, int row, QString& text) {
        if (row > 0 && ReportFieldIsConverted(kind, fields.value(col)))
            text = ReportCellView(kind, fields.value(col), text).text;
        return true;
    };
}

} // namespace verdan
