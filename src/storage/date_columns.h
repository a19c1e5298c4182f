#pragma once

#include "calendar/date_value.h"
#include "storage/database.h"

#include <QString>

namespace verdan {

// The columns that keep one dated fact in its row: the first date in both calendars, then its detail (the
// qualifier, the second date in both calendars, the dual-year marks and the phrase).
struct TDateColumns {
    const char* Table;
    const char* Gregorian;
    const char* Hijri;
    const char* Qualifier;
    const char* Gregorian2;
    const char* Hijri2;
    const char* Dual;
    const char* Phrase;
};

extern const TDateColumns kBirthDateColumns;
extern const TDateColumns kDeathDateColumns;
extern const TDateColumns kMarriageDateColumns; // relation_date_1 and relation_date_1_h of ftRelation
extern const TDateColumns kDivorceDateColumns;  // relation_date_2 and relation_date_2_h
extern const TDateColumns kEventDateColumns;

// The dated fact of the current row, found by column name; columns the query lacks read as empty.
TDateValue ReadDateColumns(const Query& q, const TDateColumns& columns);

// For reading many rows fast: the seven columns as a SELECT list (each with the prefix, such as "r."), NULL
// in place of any the table lacks; ReadDateColumnsAt reads them from the given column on.
QString DateColumnList(const TDateColumns& columns, const QString& prefix = QString());
TDateValue ReadDateColumnsAt(const Query& q, int first);

// Whether the table has the detail columns: a tree the upgrade could not give them keeps its first dates
// only.
bool HasDateDetailColumns(const TDateColumns& columns);

// "g = ?, h = ?" and, with the detail, "qualifier = ?, g2 = ?, h2 = ?, dual = ?, phrase = ?", for an
// UPDATE; BindDateColumns binds the (normalised) value in the same order.
QString DateAssignments(const TDateColumns& columns, bool detail);
void BindDateColumns(Query& q, const TDateValue& value, bool detail);

// A tree from before the Hijri marriage column kept the wedding's Hijri date in relation_date_2, where the
// divorce date goes now (the upgrade moves it). True for such a file, also when a read-only open shows the
// column it lacks as empty.
bool MarriageHijriInDivorceColumn();

// The dual years as the dual column keeps them: 1 when the first date is written with two years, 2 when
// the second one is.
int DualMarks(const TDateValue& value);
void ApplyDualMarks(int marks, TDateValue& value);

} // namespace verdan
