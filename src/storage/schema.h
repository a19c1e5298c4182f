#pragma once

#include <QString>
#include <QStringList>
#include <utility>

namespace verdan {

class Tdm;
struct TFieldProp;

// The statements that make every table and index of a new tree file, in order.
QStringList SchemaStatements();

// Creates the whole schema in one savepoint: either every table and index exists afterwards or nothing
// was added.
bool CreateSchema(Tdm& dm);

// Creates the contact details table with its columns and key when the file lacks it.
bool CreateDetailsTable(Tdm& dm);

// Columns that files made by earlier versions may lack, as (table, column) in the order they are added.
QList<std::pair<QString, TFieldProp>> UpgradeColumns();
// The last of them: the columns that keep date qualifiers, second dates, Hijri marriage and divorce dates
// and events.
QList<std::pair<QString, TFieldProp>> DatedFactColumns();

// Adds every missing table, column and index; each one is tried on its own, so one failure does not keep
// the others out. False when any of them could not be added.
bool UpgradeSchemaOf(Tdm& dm);
// The dated-fact columns the file still lacks, as "table.column".
QStringList MissingDatedFactColumns(Tdm& dm);

// For a tree that is only read, which is never upgraded: the tables and columns the tree schema has and the
// file lacks are shown to the connection's readers as empty (an empty temporary table, a temporary view
// adding each absent column with its default), so statements naming them read nothing instead of failing.
// Nothing is written to the file. False when a view could not be made.
bool ShowAbsentSchemaAsEmpty(Tdm& dm);

// True for the columns that hold booleans (any letter case).
bool IsBooleanColumn(const QString& column);

} // namespace verdan
