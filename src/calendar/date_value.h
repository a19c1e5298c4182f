#pragma once

#include <QString>
#include <QtGlobal>
#include <limits>

namespace verdan {

// How a dated fact's date is meant. The numbers are kept whatever the qualifier; the stored values are
// these numbers, so they never change meaning.
enum class TDateQualifier : int {
    Exact = 0,        // the date as far as its parts are known
    About = 1,        // about the first date
    Calculated = 2,   // worked out from other facts (an age, the date calculator)
    Estimated = 3,    // estimated from other facts
    Before = 4,       // before the first date
    After = 5,        // after the first date
    Between = 6,      // some day between the first and the second date
    From = 7,         // a state that began at the first date
    To = 8,           // a state that ended at the first date
    FromTo = 9,       // a state from the first to the second date
    Interpreted = 10, // the first date, read from the words of the phrase
    Phrase = 11,      // only words (the phrase), no date numbers
    Text = 12,        // a form the tree cannot hold in numbers (another calendar, free text), kept as written
};

// A stored qualifier number as a qualifier; Exact for a number no qualifier has.
TDateQualifier QualifierOf(int stored);
// The qualifiers that take a second date.
bool IsRangeQualifier(TDateQualifier qualifier);

// Everything of a dated fact beside its first date numbers: the qualifier, the second date of a range in
// both calendars, the dual years and the phrase.
struct TDateDetail {
    TDateQualifier Qualifier = TDateQualifier::Exact;
    int Gregorian2 = 0; // second date of Between and FromTo, date numbers as the first ones
    int Hijri2 = 0;
    // A Gregorian year written twice, as in 1637/38 (the years of the old and the new year's day): the
    // year before the slash. The date number holds the later year, the one the day belongs to today.
    int DualYear = 0;
    int DualYear2 = 0; // of the second date
    QString Phrase;    // the words of Interpreted and Phrase; the text as written for Text

    bool operator==(const TDateDetail&) const = default;
};

// A dated fact as the tree keeps it: its first date in both calendars' date numbers (see date_numbers.h:
// sign * (year * 10000 + month * 100 + day), 0 for none, negative before the era) and its detail.
struct TDateValue : TDateDetail {
    int Gregorian = 0;
    int Hijri = 0;

    bool operator==(const TDateValue&) const = default;
};

// Nothing known: no numbers, no words.
bool IsEmptyDate(const TDateValue& value);
// A first date in either calendar.
bool HasDateNumbers(const TDateValue& value);

// The value as it is worth keeping: a second date only for a range, a phrase only where it is read, dual
// years only where they are the year before their Gregorian year, no numbers for Phrase and Text, and an
// empty value for one without numbers or words.
TDateValue NormalisedDate(const TDateValue& value);

// Date numbers of one calendar in the other, under the Hijri calendar the options chose; 0 when there is
// no such date. Unknown parts stay unknown (a year alone converts as its last month's first day).
int GregorianToHijriNumber(int gregorian);
int HijriToGregorianNumber(int hijri);

// Fills every date number that is 0 in one calendar but known in the other.
TDateValue WithBothCalendars(const TDateValue& value);

// Days as Julian day numbers, both ends included. Open ends are the lowest and highest numbers.
struct TDayRange {
    static constexpr qint64 kOpenStart = std::numeric_limits<qint64>::min();
    static constexpr qint64 kOpenEnd = std::numeric_limits<qint64>::max();
    qint64 First = kOpenStart;
    qint64 Last = kOpenEnd;

    bool IsOpen() const { return First == kOpenStart && Last == kOpenEnd; }
    bool operator==(const TDayRange&) const = default;
};

// The days a date number can mean: the day, its month or its year; false for 0 or a number that is no
// date of its calendar. Years count astronomically (a negative number is year -N).
bool DayRangeOfNumber(int number, bool hijri, TDayRange& range);

// How far about, estimated and calculated dates may lie from the days they name.
constexpr qint64 kAboutMarginDays = 5 * 366;
constexpr qint64 kCalculatedMarginDays = 2 * 366;

// Every day the value can mean, its qualifier taken into account: "before 1800" is open to the past,
// "about 1800" reaches kAboutMarginDays to either side. The Gregorian numbers are read where present, else
// the Hijri ones; a value without numbers is open at both ends.
TDayRange DayRangeOf(const TDateValue& value);

// Whether two dated facts could have happened on the same day, within their qualifiers and across their
// calendars: a Hijri date and the Gregorian date of the same day agree, "before 1800" agrees with 1750.
// slackDays widens both (for calendars that count a day or two apart).
bool CouldBeSameDay(const TDateValue& a, const TDateValue& b, qint64 slackDays = 0);

// Whether the Gregorian and the Hijri numbers of the value name overlapping days (both dates of a range);
// true when either calendar is missing.
bool CalendarsAgree(const TDateValue& value, qint64 slackDays = 0);

// Sorting: the first day of the first date (the Gregorian one where present); undated values last.
constexpr qint64 kUndatedSortKey = std::numeric_limits<qint64>::max();
qint64 DateSortKey(const TDateValue& value);

} // namespace verdan
