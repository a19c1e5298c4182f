#pragma once

#include "report_tables.h"

#include <QString>

namespace verdan {

class TZelGridModel;

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
// - gender: "m" as "Male" and "f" as "Female" (the shared gender reading), anything else empty; a
//   group has no gender and shows "Group" instead;
// - the four date columns: the date as the tree holds it, in the one text every list shows for a date
//   (its calendar marked, or its era before the era), 0 empty;
// - deceased: "True" as "Yes", anything else "No", centred;
// - phones, identity number, e-mail and accounts of the contact and address lists: left to right,
//   left-aligned.
// Every other field shows its text as it is.
TReportCellView ReportCellView(TReportKind kind, const QString& field, const QString& text,
                               bool group = false);

// How a report grid shows its cell (col, row): ReportCellView of the column's field, knowing whether the
// row is a group's. The title row shows its text as it is.
TReportCellView ReportGridCellView(const TZelGridModel& grid, TReportKind kind, int col, int row);

// True for the fields whose shown text differs from the stored one (the rule above changes them).
bool ReportFieldIsConverted(TReportKind kind, const QString& field);
// The same for a grid column of the report, answered from a table made once.
bool ReportColumnIsConverted(TReportKind kind, int col);

} // namespace verdan
