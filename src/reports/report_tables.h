#pragma once

#include "storage/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace verdan {

class TZelGridModel;

// The three lists of the whole tree, one row per person. Each row carries, beside the person's own
// name, the names of the father, grandfather and great-grandfather from the name cache.
enum class TReportKind { Persons, Contacts, Addresses };

// Called with the rows done and the rows in all; returning false cancels the work.
using TReportProgress = std::function<bool(int done, int total)>;

// One column of a report, in grid order from grid column 1: the field the query names it by, the
// English title (the person list's date titles are two texts joined by a blank) and the width in
// pixels (-1 hides the column). An inner column serves the report's own rules and is never shown,
// printed or exported.
struct TReportColumn {
    QString field;
    QStringList title;
    int width = 100;
    bool inner = false;
};

const QList<TReportColumn>& ReportColumns(TReportKind kind);
// The English name of the report ("Person list", ...).
QString ReportCaptionSource(TReportKind kind);
// "persons", "contacts" or "addresses": the report's name on the command line and in the options.
QString ReportKindName(TReportKind kind);
// The kind a name gives; false for any other word.
bool ReportKindFromName(const QString& name, TReportKind& kind);

// Reads a report a little at a time, so that a window can show the first rows at once and stay
// responsive while the rest comes. Rows come as the report table has them: the query's columns, names
// from the name cache, Boolean columns as "True" / "False", null as empty text.
class TReportReader {
public:
    explicit TReportReader(TReportKind kind);
    ~TReportReader();
    TReportReader(const TReportReader&) = delete;
    TReportReader& operator=(const TReportReader&) = delete;

    // Runs the query (loading the name cache first when it does not hold the open tree); false when no
    // tree is open or the query cannot run.
    bool Start();
    // The query's column names.
    QStringList Header() const;
    // Rows read so far and rows in all.
    int Done() const;
    int Total() const;
    bool AtEnd() const;
    // The next rows: as many as come in `budgetMs` milliseconds, at most `maxRows`.
    QList<QStringList> Read(int budgetMs, int maxRows);

private:
    struct TState;
    std::unique_ptr<TState> state_;
};

// The report as a text table: row 0 the query's column names, then one row per record. Empty when no
// tree is open or the query cannot run, and when `progress` cancels.
TextTable ReadPersonReportTable(const TReportProgress& progress = {});
TextTable ReadContactReportTable(const TReportProgress& progress = {});
TextTable ReadAddressReportTable(const TReportProgress& progress = {});
TextTable ReadReportTable(TReportKind kind, const TReportProgress& progress = {});

// Pours a report table into a grid: the key column "oid" left out, the translated titles in the title
// row, row numbers on. The corner cell of the contact and address lists is emptied. Further rows come
// with AppendReportRows.
void FillReportGrid(TZelGridModel& grid, TReportKind kind, const TextTable& table);
// Adds rows as the reader gives them (the key column "oid" left out).
void AppendReportRows(TZelGridModel& grid, const QList<QStringList>& rows);
// Widths by grid column from column 0 (the row numbers); the person list's column 0 is left to the
// caller (-2), which sizes it to the row count.
QList<int> ReportColumnWidths(TReportKind kind);
// The translated title of a column.
QString ReportColumnTitle(const TReportColumn& column);
// The field shown in a grid column of the report; empty for column 0 and unknown columns.
QString ReportFieldOfColumn(TReportKind kind, int col);
// The grid column of a field (letter case ignored); -1 when the report has no such field.
int ReportColumnOfField(TReportKind kind, const QString& field);

// Which columns a report shows, in the order shown: the grid, its print and every export show the same
// ones. They are named by field, the same in every interface language.
// The fields a user may choose among: every column but the inner ones, in the report's order.
QStringList ReportChoosableFields(TReportKind kind);
// The columns shown at first: those with a width, in the report's order.
QList<int> DefaultReportColumns(TReportKind kind);
// The grid columns of the fields, in the order given; an unknown or inner field is left out, and
// `unknown` gets the first such one.
QList<int> ReportColumnsOfFields(TReportKind kind, const QStringList& fields, QString* unknown = nullptr);
QStringList ReportColumnFields(TReportKind kind, const QList<int>& columns);

} // namespace verdan
