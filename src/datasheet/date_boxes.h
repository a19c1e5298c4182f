#pragma once

#include "calendar/date_numbers.h"
#include "storage/person_records.h"

#include <QDate>
#include <QString>

namespace verdan {

enum class TCalendar { Gregorian, Hijri };

// One date box of the dates section with its era box ("B.c" or "B.h").
struct TDateBox {
    QString Text;
    bool BeforeEra = false;

    bool operator==(const TDateBox&) const = default;
};

// Everything the dates section lets a user edit, as the boxes hold it.
struct TDateBoxes {
    TDateBox BirthG;
    TDateBox BirthH;
    TDateBox DeathG;
    TDateBox DeathH;
    QString Place_of_Birth;
    QString Place_of_Death;
    bool Is_Dead = false;

    bool operator==(const TDateBoxes&) const = default;
};

// The box for a stored date number: day-month-year of its absolute value ("" for 0), the era box checked
// for a negative number.
TDateBox DateBoxOf(int dateNumber);
TDateBoxes DateBoxesOf(const TPerson& person);

// The signed date number a box holds, read with its calendar's own reader and negated when its era box is
// checked; 0 when nothing readable is typed.
int ReadDateBox(const TDateBox& box, TCalendar calendar);

// The four signed date numbers, the places and the deceased flag of the boxes, into the person.
void ApplyDateBoxes(const TDateBoxes& boxes, TPerson& person);

// Orders two signed date numbers of one calendar: -1 when a lies before b, 1 when after, 0 when they are
// the same day or the parts known of both cannot tell (an unknown month or day never decides).
int CompareDateNumbers(int a, int b);

// Years, months and days from `earlier` to `later`, signed date numbers of one calendar; dates before
// the era count back from it, so the span from 10 B.C. to 10 A.D. is about 20 years.
DateSpan SignedDateDifference(int earlier, int later);

// A death that lies before the birth in one calendar, Gregorian looked at first.
enum class TDateConflict { None, Gregorian, Hijri };
TDateConflict FindDateConflict(int birthG, int deathG, int birthH, int deathH);
TDateConflict FindDateConflict(const TPerson& person);

// What the dates section shows beside the boxes.
struct TDateInfo {
    bool ShowBirthSince = false;
    DateSpan Born;
    QString BirthSince;
    bool ShowDeathSince = false;
    DateSpan Died;
    QString DeathSince;
    QString Lived;
    QString Error;
    // A death date or place is known: the deceased box should be checked (it is never unchecked).
    bool DeathKnown = false;
};

// Today's date number in each calendar.
int TodayGregorianNumber(const QDate& today);
int TodayHijriNumber(const QDate& today);

// The spans, their texts (feminine forms for gender "f") and the warning for the boxes as typed.
TDateInfo ComputeDateInfo(const TDateBoxes& boxes, const QString& gender, const QDate& today);

} // namespace verdan
