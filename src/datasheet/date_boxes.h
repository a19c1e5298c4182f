#pragma once

#include "calendar/date_numbers.h"
#include "calendar/date_value.h"
#include "storage/person_dates.h"
#include "storage/person_records.h"

#include <QDate>
#include <QString>
#include <optional>

namespace verdan {

enum class TCalendar { Gregorian, Hijri };

// One date box of the dates section with its era box ("B.c" or "B.h").
struct TDateBox {
    QString Text;
    bool BeforeEra = false;

    bool operator==(const TDateBox&) const = default;
};

// The boxes that edit the rest of a dated fact beside its first date's two boxes: the qualifier, the
// second date of a range in both calendars, and the words (the phrase of an interpreted date, a date of
// words alone, or a date kept as it was written).
struct TDateDetailBoxes {
    TDateQualifier Qualifier = TDateQualifier::Exact;
    TDateBox Gregorian2;
    TDateBox Hijri2;
    QString Phrase;

    bool operator==(const TDateDetailBoxes&) const = default;
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
    TDateDetailBoxes BirthDetail;
    TDateDetailBoxes DeathDetail;

    bool operator==(const TDateBoxes&) const = default;
};

// The box for a stored date number: day-month-year of its absolute value ("" for 0), the era box checked
// for a negative number.
TDateBox DateBoxOf(int dateNumber);
TDateBoxes DateBoxesOf(const TPerson& person);
// With the qualifiers, second dates and words of the birth and the death.
TDateBoxes DateBoxesOf(const TPerson& person, const TPersonDates& dates);

// Why a box does not hold a day of its calendar.
enum class TDateProblem {
    None,        // empty, or a day of its calendar (a month or day of 00 is unknown)
    Unreadable,  // not day, month and year in digits with one separator between them
    NoSuchYear,  // year 0, or one beyond 9999
    NoSuchMonth, // a month above 12
    NoSuchDay,   // past the end of its month; in the Gregorian calendar also 5 to 14 October 1582
};

// Whether the box holds a day of its calendar. Digits may be ASCII, Arabic-Indic or Persian; day, month
// and year are separated by one of - / . \ , or blanks. A Gregorian date before 15 October 1582 is a
// Julian one, as history records it.
TDateProblem CheckDateBox(const TDateBox& box, TCalendar calendar);

// The signed date number a box holds, negated when its era box is checked; 0 when it is empty or holds no
// day of its calendar (see CheckDateBox), so a date that is not one is never read as some other date.
int ReadDateBox(const TDateBox& box, TCalendar calendar);

// The four date boxes of the section.
enum class TDateBoxId { BirthG, BirthH, DeathG, DeathH, BirthG2, BirthH2, DeathG2, DeathH2 };

// "Birth Date (Gregorian)": the box as its label names it, translated.
QString DateBoxCaption(TDateBoxId id);

// The first box the user changed (edited differs from loaded) that holds no day of its calendar.
struct TDateBoxProblem {
    TDateBoxId Box = TDateBoxId::BirthG;
    TDateProblem Problem = TDateProblem::None;
    QString Text;
};
std::optional<TDateBoxProblem> FindDateProblem(const TDateBoxes& loaded, const TDateBoxes& edited);

// What is wrong, naming the box: "Birth Date (Gregorian): "45-13-1741" is not a date: a year has 12
// months.", translated.
QString DateProblemText(const TDateBoxProblem& problem);
// The same for any box, named by `caption`; empty when the box is empty or holds a day of its calendar.
QString DateBoxProblemText(const QString& caption, const TDateBox& box, TCalendar calendar);

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
TDateConflict FindDateConflict(const TDateBoxes& boxes);
// What disagrees, both dates as typed: "The Gregorian death date 10-01-1980 lies before the birth date
// 15-03-1990.", translated; empty for no conflict.
QString DateConflictText(const TDateBoxes& boxes, TDateConflict conflict);

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
