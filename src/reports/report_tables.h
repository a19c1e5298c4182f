#pragma once

#include "storage/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace verdan {

class TZelGridModel;

// The three lists of the whole tree, one row per person. Each row carries, beside the person's own
// name, the names of the father, grandfather and great-grandfather from the name cache.
enum class TReportKind { Persons, Contacts, Addresses };

// Called with the rows done and the rows in all; returning false cancels the work.
using TReportProgress = std::function<bool(int done, int total)>;

// One column of a report, in grid order from grid column 1: the field the query names it by, the
// English title (the person list's date titles are two texts joined by a blank) and the width in
// pixels (-1 hides the column).
struct TReportColumn {
    QString field;
    QStringList title;
    int width = 100;
};

QList<TReportColumn> ReportColumns(TReportKind kind);
// The English name of the report ("Person list", ...).
QString ReportCaptionSource(TReportKind kind);
// "persons", "contacts" or "addresses" for the command line; nothing for any other word.
bool ReportKindFromName(const QString& name, TReportKind& kind);

// The report as a text table: row 0 the query's column names, then one row per record (Boolean columns
// as "True" / "False", null as empty text). Empty when no tree is open or the query cannot run, and when
// `progress` cancels.
TextTable ReadPersonReportTable(const TReportProgress& progress = {});
TextTable ReadContactReportTable(const TReportProgress& progress = {});
TextTable ReadAddressReportTable(const TReportProgress& progress = {});
TextTable ReadReportTable(TReportKind kind, const TReportProgress& progress = {});

// Pours a report table into a grid: the key column "oid" left out, the translated titles in the title
// row, row numbers on. The corner cell of the contact and address lists is emptied.
void FillReportGrid(TZelGridModel& grid, TReportKind kind, const TextTable& table);
// Widths by grid column from column 0 (the row numbers); the person list's column 0 is left to the
// caller (-2), which sizes it to the row count.
QList<int> ReportColumnWidths(TReportKind kind);
// The translated title of a column.
QString ReportColumnTitle(const TReportColumn& column);
// The field shown in a grid column of the report; empty for column 0 and unknown columns.
QString ReportFieldOfColumn(TReportKind kind, int col);

} // namespace verdan
