#pragma once

#include "calendar/date_value.h"

#include <QString>
#include <QStringView>

namespace verdan {

// GEDCOM 7 date values: no calendar escapes (calendars are words before each date: JULIAN, HEBREW,
// FRENCH_R, or an extension calendar such as _HIJRI), BCE as the era, no INT and no phrases or dual years
// inside the value: those go into the PHRASE beside it.

// The tag of the Hijri calendar, and of its months and its era before the Hijra, as our files write them.
inline constexpr const char* kHijriCalendarTag = "_HIJRI";
inline constexpr const char* kHijriEraTag = "_BH";

// A DATE payload and the PHRASE that goes with it (empty for none).
struct TGedcom7Date {
    QString Payload;
    QString Phrase;
};

// The numbers of one calendar of the value as a GEDCOM 7 date: Gregorian numbers with JULIAN before the
// reform (as the Gregorian columns hold them), Hijri numbers in the _HIJRI calendar with its month tags
// (_MUHAR .. _DHUAH). Interpreted dates give their phrase, phrases alone an empty payload, dual years the
// date in the older form that holds them ("30 JAN 1648/49", "INT 1648/49 (words)") as the phrase. A date kept
// as written becomes a payload when it is one once its calendar escape is a word, else the phrase. Empty when
// that calendar has no date.
TGedcom7Date Gedcom7DateOf(const TDateValue& value, bool hijri = false);

// Whether text is a DateValue of the GEDCOM 7 grammar (the empty value included), for the calendars it
// knows and any extension calendar with extension months and eras.
bool IsGedcom7DateValue(QStringView text);

// A GEDCOM 7 payload in the older form the 5.5.1 date reader takes: calendar words become escapes,
// hijriCalendar (the tag the file gives the Hijri calendar) becomes @#DHIJRI@ with its months' tags
// without their underscore, BCE and the Hijri era become B.C.
QString Gedcom7ToOlderDateText(QStringView payload, QStringView hijriCalendar);

} // namespace verdan
