#pragma once

#include <QChar>
#include <QDate>
#include <QString>

namespace verdan {

// A date number is sign * (year * 10000 + month * 100 + day): 0 is no date, a month or day of 0 is
// unknown, a negative number lies before the era of its calendar. The same encoding serves both
// calendars. The helpers below read the absolute value unless said otherwise.

// Elapsed time between two date numbers.
struct DateSpan {
    int Years = 0;
    int Months = 0;
    int Days = 0;
};

// The signed date number of a year (0 and below before the era), month and day; 0 when it does not fit.
int MakeDateNumber(int year, int month, int day);

// Year, month and day of a date number.
void SplitDateNumber(int n, int& year, int& month, int& day);

// Reads a day-month-year text with dashes ("15-3-1445", "3-1445", "1445"). A part that is not a number
// reads as 1 for the year and 0 for the month and day.
void ParseDateText(const QString& text, int& year, int& month, int& day);

// The date number of a date value's calendar date (see EncodeDate); 0 for a null date or a year before 1.
int DateToDateNumber(const QDate& date);

// "15-03-1445": two-digit day and month, then the year; "" for 0.
QString DateNumberToText(int n, QChar separator = u'-');

// As DateNumberToText but leaves out unknown parts: "03-1445", "1445". A known day of an unknown month is
// not shown.
QString DateNumberToShortText(int n, QChar separator = u'-');

// Read what a user typed as day, month and year separated by any single non-digit. The Gregorian reader
// keeps four year digits and repairs a month above 12 or a day above 31 by keeping their second digit;
// the Hijri reader keeps the parts as typed. Characters other than digits are ignored; 0 when nothing
// readable remains.
int GregorianTextToDateNumber(const QString& text);
int HijriTextToDateNumber(const QString& text);

// Elapsed years, months and days from `earlier` to `later`, two date numbers of the same calendar.
// Unknown months or days of the earlier date give 0 months or days. Months and days are never negative;
// a day of the earlier date beyond the end of the borrowed month counts as that month's last day.
void DateNumberDifference(int earlier, int later, DateSpan& span);

} // namespace verdan
