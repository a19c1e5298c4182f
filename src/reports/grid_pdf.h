#pragma once

#include "grid_print_layout.h"

#include <QString>

namespace verdan {

class TZelGridModel;

// The cells of a grid model as the grid shows them (without markup), for printing.
TGridPrintSource GridPrintSource(const TZelGridModel& grid, const QList<int>& colWidths, const QFont& font,
                                 bool rightToLeft);

// Writes the pages of a paginated layout as a PDF file of the layout's paper, exactly as they are
// paginated. The file appears only when every page was written; `progress` may cancel. On failure
// (or cancel) `error` says why and an earlier file stays as it was.
bool WriteGridPdf(const TGridPrintLayout& layout, const QString& file, const TPrintProgress& progress,
                  QString* error);

} // namespace verdan
