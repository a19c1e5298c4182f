#pragma once

#include <QDate>
#include <QString>

namespace verdan {

// Month names (1-12) and weekday names (1 = Sunday .. 7 = Saturday); any other number gives "".
// The English names are source texts: show them through Translate.
QString HijriMonthNameAr(int month);
QString HijriMonthNameEn(int month);
QString GregorianMonthNameAr(int month);
QString GregorianMonthNameEn(int month);

// A Gregorian date as the interface shows it: day, the month's name in the interface language, year
// ("9 December 2026", "9 ديسمبر 2026"). Empty for an invalid date.
QString InterfaceDateText(const QDate& date);
QString WeekdayNameAr(int weekday);
QString WeekdayNameEn(int weekday);

} // namespace verdan
