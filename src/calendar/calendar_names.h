#pragma once

#include <QString>

namespace verdan {

// Month names (1-12) and weekday names (1 = Sunday .. 7 = Saturday); any other number gives "".
// The English names are source texts: show them through Translate.
QString HijriMonthNameAr(int month);
QString HijriMonthNameEn(int month);
QString GregorianMonthNameAr(int month);
QString GregorianMonthNameEn(int month);
QString WeekdayNameAr(int weekday);
QString WeekdayNameEn(int weekday);

} // namespace verdan
