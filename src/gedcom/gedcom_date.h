#pragma once

#include "gedcom/gedcom_data.h"

#include <QStringView>

namespace verdan {

// A GEDCOM DATE value as a date number in its calendar. Exact dates "[day] month year" with a valid day;
// ABT, CAL and EST give the year only. Anything that a date number cannot hold faithfully (BEF, AFT,
// ranges, periods, interpreted dates, phrases, dual years, B.C., unknown months, other calendars) gives
// the number 0, and the caller keeps the text. Julian dates from the Gregorian reform on are converted to
// Gregorian (earlier ones stay as written, as the Gregorian columns hold them); Hijri dates stay in the
// Hijri calendar.
TVerdan_Date ParseGedcomDate(QStringView text);

// A GEDCOM DATE value as a reader of the notes expects it: each date in the short day-month-year form with
// its calendar's era mark ("1180 AH", "03-1950 AD"), the qualifiers as words ("before", "between .. and"),
// phrases as written, and no calendar escapes. Translated; words it does not know stay as they are.
QString ReadableGedcomDate(QStringView text);

// A date in both calendars' numbers, the other one converted; both 0 when there is none or it only exists
// as text.
struct TGedDatePair {
    int Gregorian = 0;
    int Hijri = 0;
};
TGedDatePair GedcomDateInBothCalendars(const TVerdan_Date& date);

// Julian calendar day to Gregorian; a day or month of 0 stays unknown.
void JulianToGregorian(int& year, int& month, int& day);

} // namespace verdan
