#pragma once

#include "report_tables.h"

#include <QString>

namespace verdan {

// How a report shows a cell: the text, its alignment and its reading order. The grid, the print, the
// exports and the command line all show a report's cells through this one rule.
struct TReportCellView {
    enum class Align { Leading, Centre, Left };
    QString text;
    Align align = Align::Leading;
    // Telephone numbers, e-mail and account names read left to right in every interface language.
    bool leftToRight = false;
};

// The shown form of the stored text of a field:
// - gender: "m" as "Male" and "f" as "Female" (the shared gender reading), anything else empty;
// - the four date columns: day-month-year with "-", a date before the era followed by the era mark of
//   its calendar, 0 empty;
// - deceased: "True" as "Yes", anything else "No", centred;
// - phones, identity number, e-mail and accounts of the contact and address lists: left to right,
//   left-aligned.
// Every other field shows its text as it is.
TReportCellView ReportCellView(TReportKind kind, const QString& field, const QString& text);

// True for the fields whose shown text differs from the stored one (the rule above changes them).
bool ReportFieldIsConverted(TReportKind kind, const QString& field);

} // namespace verdan
