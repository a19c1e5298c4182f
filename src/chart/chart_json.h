#pragma once

#include "chart/chart.h"

#include <QByteArray>
#include <QString>

namespace verdan {

// The laid-out chart as JSON, for other programs and for checks: every person with his box, text rectangle
// and picture area in chart units, every marriage mark, and every line of the drawing.
//
//   {"root": id, "leftToRight": false, "rootAtTop": true,
//    "persons": [{"id", "name", "gender", "father", "mother", "box": {"x", "y", "width", "height"},
//                 "text": {...}, "picture": {...}}],
//    "marks": [{"husband", "wife", "box": {...}}],
//    "lines": [{"kind": "spouse"|"child"|"connector"|"stick", "from": [x, y], "to": [x, y]}]}
QByteArray ChartJson(TChart& chart);

// Writes ChartJson through a temporary file; false with the reason in error.
bool ExportChartJson(TChart& chart, const QString& path, QString* error);

} // namespace verdan
