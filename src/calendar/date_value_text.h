#pragma once

#include "calendar/date_value.h"

#include <QString>

namespace verdan {

// Which calendar's numbers a text shows.
enum class TDateShown { Gregorian, Hijri, Both };

// The one text every window, report and list shows for a date, in the interface language: the qualifier
// in words ("about", «حوالي»), each date day-month-year leaving out unknown parts, a dual year as 1637/38,
// and the calendar marked ("G", "H") or, before the era, the era ("B.c", "B.h"). Both gives the Gregorian
// text, then the Hijri one, with " / " between them; a side without numbers is left out. A phrase shows in
// brackets, a date kept as written as it was written. Empty for an empty value.
QString DateValueText(const TDateValue& value, TDateShown shown = TDateShown::Both);
// The same text for a window or a page: in a right-to-left interface a full date or a month carries a
// left-to-right mark, so that after the qualifier or another Arabic word it reads day-month-year.
QString DateValueShownText(const TDateValue& value, TDateShown shown = TDateShown::Both);

// The qualifier's name as a list of qualifiers offers it ("About", "Between … and"), translated.
QString DateQualifierName(TDateQualifier qualifier);

} // namespace verdan
