#pragma once

#include <QDate>
#include <QString>

namespace verdan {

// Which Hijri calendar the conversions reckon in: the tabular one (30-year cycle with 11 leap years) or
// Umm al-Qura (see umm_al_qura.h), which is tabular outside the years it covers.
enum class HijriCalendar { Tabular, UmmAlQura };

// The calendar of the conversions that name none; the options set it for the whole run. Changing it
// changes only the conversions made from then on.
void SetHijriCalendar(HijriCalendar calendar);
HijriCalendar CurrentHijriCalendar();

// One date in both calendars.
// Gregorian fields before 15 October 1582 are Julian-calendar dates, as history records them.
// Years count astronomically: 0 and below lie before the era of their calendar.
struct MultiDate {
    QDate GregorianDate; // the day itself; 0001-01-01 when GYear is not positive
    int GDay = 0;        // 0 when unknown
    int GMonth = 0;      // 0 when unknown
    int GYear = 0;
    QString GMonthName; // Arabic
    // The Hijri year, month and day encoded as if they were a Gregorian date (see EncodeDate).
    QDate HijriDate;
    int HDay = 0;   // 0 when unknown
    int HMonth = 0; // 0 when unknown
    int HYear = 0;
    int WeekDay = 0;     // 1 = Sunday .. 7 = Saturday, 0 when not computed
    QString WeekDayName; // Arabic
    QString HMonthName;  // Arabic
    int GCentury = 0;    // GYear / 100 + 1, truncating toward zero
    int HCentury = 0;    // HYear / 100 + 1, truncating toward zero
};

// Hijri date to both calendars. A day of 0 or a month of 0 marks that part unknown: the conversion uses
// day 1 and month 12 for it and reports the Gregorian part as 0. Day 30 of a 29-day month converts as the
// first day of the next month. Returns false and leaves `result` cleared ("no date") when the date lies
// outside the supported range, Gregorian years -9999 to 9999.
bool HijriToGregorian(int year, int month, int day, MultiDate& result);
bool HijriToGregorian(int year, int month, int day, MultiDate& result, HijriCalendar calendar);

// Gregorian date (Julian calendar up to 14 October 1582) to both calendars. Unknown parts as above; an
// impossible day such as 30 February converts as the day the count reaches (2 March) and leaves
// GregorianDate null. Returns false and leaves `result` cleared outside the supported range.
bool GregorianToHijri(int year, int month, int day, MultiDate& result);
bool GregorianToHijri(int year, int month, int day, MultiDate& result, HijriCalendar calendar);

// GregorianToHijri of the calendar date of `date`; false for a null date.
bool DateToHijri(MultiDate& result, const QDate& date);

// 1 = Sunday .. 7 = Saturday; 0 for a null date.
int WeekdayOf(const QDate& date);

// Number of days of a Hijri month (29 or 30); 0 for a month outside 1-12.
int HijriMonthDays(int year, int month);
int HijriMonthDays(int year, int month, HijriCalendar calendar);

// Julian day numbers, for arithmetic across calendars. A day past the end of its month counts on into the
// next month. Years count astronomically.
// The day of this program's calendar (Julian up to 14 October 1582, Gregorian from 15 October 1582 on).
qint64 JulianDayOfCalendarDate(int year, int month, int day);
void CalendarDateOfJulianDay(qint64 julianDay, int& year, int& month, int& day);
// The day of a Hijri date, in the chosen calendar or the one given.
qint64 JulianDayOfHijriDate(int year, int month, int day);
qint64 JulianDayOfHijriDate(int year, int month, int day, HijriCalendar calendar);
void HijriDateOfJulianDay(qint64 julianDay, int& year, int& month, int& day);

// Date values follow this program's calendar: Julian up to 4 October 1582, Gregorian from 15 October
// 1582 on; the days between do not exist. EncodeDate gives a null date for a day that does not exist.
QDate EncodeDate(int year, int month, int day);
// Splits a date value into calendar year, month and day; all 0 and false for a null date.
bool DecodeDate(const QDate& date, int& year, int& month, int& day);

} // namespace verdan
