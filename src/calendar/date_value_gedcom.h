#pragma once

#include "calendar/date_value.h"

#include <QString>
#include <QStringView>

namespace verdan {

// GEDCOM 5.5.1 date values: ABT, CAL, EST, BEF, AFT, BET .. AND, FROM .. TO, INT (phrase), (phrase), the
// calendar escapes @#DGREGORIAN@, @#DJULIAN@ and @#DHIJRI@, dual years (1637/38) and B.C. ("before the
// epoch of the calendar", so also before the Hijra). Day and month are kept wherever the text has them.

// Reads a DATE value into the date numbers of the calendar it names: the Gregorian numbers for Gregorian
// and Julian dates (Julian dates from the Gregorian reform on are converted, earlier ones are kept as the
// Gregorian columns hold them), the Hijri numbers for Hijri dates. With hijri set, dates that name no
// calendar are Hijri ones (the Hijri line our export writes beside a DATE). The other calendar is left
// to WithBothCalendars. Anything that is no date of this form (another calendar, free text, a day its
// month does not have) comes back as Text with the value as written in the phrase.
TDateValue ReadGedcomDate(QStringView text, bool hijri = false);

// The value's numbers of one calendar as a DATE value: Gregorian ones with @#DJULIAN@ before the reform,
// Hijri ones with the Hijri month names (MUHAR SAFAR RABIA RABIT JUMAA JUMAT RAJAB SHAAB RAMAD SHAWW DHUAQ
// DHUAH) and no escape. Phrase and Text come back as they are kept. Empty when that calendar has no
// first date.
QString GedcomDateText(const TDateValue& value, bool hijri = false);

// The qualifier's words around one date or two (a range), as both GEDCOM versions write them; a date
// without a qualifier of that kind is `a` alone.
QString QualifiedGedcomDate(TDateQualifier qualifier, const QString& a, const QString& b);

// A value known only in the Hijri calendar, as Gregorian numbers every reader understands: a whole Hijri
// date becomes its day, a Hijri month or year the Gregorian days it spans (a range of years for a year,
// "BET 1717 AND 1718"), with the qualifier kept where a range allows it. Phrase and Text stay as they are.
TDateValue GregorianStandIn(const TDateValue& value);

} // namespace verdan
