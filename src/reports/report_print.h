#pragma once

#include "grid_print_layout.h"
#include "report_tables.h"

namespace verdan {

class TZelGridModel;

// The cells of a report grid as the report shows them (see ReportCellView).
TGridPrintSource ReportPrintSource(const TZelGridModel& grid, TReportKind kind, const QList<int>& colWidths,
                                   const QFont& font, bool rightToLeft);

// Print settings of a report: its translated name as the title, "Verdan" in the footer, columns sized
// to their texts; landscape and fitted to the page width unless a page set-up was chosen.
void PrepareReportPrint(TGridPrintSettings& settings, const QString& caption);

// Shows the report's cells as the report does in its text and spreadsheet exports.
void ExportReportCellsAsShown(TZelGridModel& grid, TReportKind kind);

} // namespace verdan
