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
// - the four date columns: the date as the tree holds it (with `dateDetail`, its qualifier, second date,
//   dual year and phrase), in the one text every list shows for a date, its calendar marked or, before
//   the era, its era; nothing known empty, a date of words alone in the Gregorian column;
// - deceased: "True" as "Yes", anything else "No", centred;
// - phones, identity number, e-mail and accounts of the contact and address lists: left to right,
//   left-aligned.
// Every other field shows its text as it is.
TReportCellView ReportCellView(TReportKind kind, const QString& field, const QString& text,
                               bool group = false, const QString& dateDetail = QString());

// The rest of a person's birth or death date beside its first date numbers (the qualifier, the second
// date, the dual-year marks and the phrase), as the person list keeps it in an inner column: empty for a
// date that has none.
QString DateDetailText(int qualifier, int gregorian2, int hijri2, int dualMarks, const QString& phrase);

// How a report grid shows its cell (col, row): ReportCellView of the column's field, knowing whether the
// row is a group's and the rest of its dates. The title row shows its text as it is.
TReportCellView ReportGridCellView(const TZelGridModel& grid, TReportKind kind, int col, int row);

// True for the fields whose shown text differs from the stored one (the rule above changes them).
bool ReportFieldIsConverted(TReportKind kind, const QString& field);
// The same for a grid column of the report, answered from a table made once.
bool ReportColumnIsConverted(TReportKind kind, int col);

} // namespace verdan
