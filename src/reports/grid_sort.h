#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// Compares the cell texts `a` (the earlier row) and `b` (the later row) as a grid column sort does:
// negative, zero or positive. When `b` starts with ",", "." or a digit both are read as numbers (commas
// dropped); two non-zero numbers compare as numbers, two dates in `dateFormat` as dates, anything else
// as plain text. Otherwise the first 100 characters compare with ASCII letters upper-cased.
// The result depends on which text comes first, so it is not an ordering std::sort may rely on.
int CompareGridTexts(const QString& a, const QString& b, const QString& dateFormat);

// The system's short date format, as the comparison reads dates.
QString ShortDateFormat();

// Positions of `keys` in sorted order, by a stable merge sort over CompareGridTexts: equal keys keep
// their order in either direction.
QList<int> GridSortOrder(const QStringList& keys, bool descending, const QString& dateFormat);

// The sort direction is one setting for every grid of the program (true = descending).
bool SortDescending();
void SetSortDescending(bool descending);

} // namespace verdan
