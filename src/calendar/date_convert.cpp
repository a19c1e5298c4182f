#include "date_convert.h"

#include "calendar_names.h"
#include "umm_al_qura.h"

#include <cstdint>

namespace verdan {

namespace {

// All day arithmetic runs on Julian day numbers in 64-bit integers with floor division, so that years
// before either era convert as exactly as later ones. Divisors are positive.
constexpr int64_t FloorDiv(int64_t a, int64_t b) {
    return (a >= 0 ? a : a - b + 1) / b;
}

constexpr int64_t FloorMod(int64_t a, int64_t b) {
    return a - b * FloorDiv(a, b);
}

// Dates up to 14 October 1582 are reckoned in the Julian calendar, later ones in the Gregorian.
constexpr int64_t kFirstGregorianDay = 2299161; // 15 October 1582

constexpr bool IsGregorianReckoning(int64_t year, int month, int day) {
    return year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day > 14)));
}

// Linear in the day, so a day past the month's end counts on into the next month.
constexpr int64_t CalendarJulianDay(int64_t year, int month, int day, bool gregorian) {
    const int64_t a = FloorDiv(14 - month, 12);
    const int64_t y = year + 4800 - a;
    const int64_t m = month + 12 * a - 3;
    const int64_t common = day + FloorDiv(153 * m + 2, 5) + 365 * y + FloorDiv(y, 4);
    return gregorian ? common - FloorDiv(y, 100) + FloorDiv(y, 400) - 32045 : common - 32083;
}

int MonthLength(int64_t year, int month, bool gregorian) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (!gregorian || year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Whether the day exists; the ten days skipped by the reform do not.
bool IsCalendarDate(int64_t year, int month, int day) {
    if (month < 1 || month > 12 || day < 1)
        return false;
    if (year == 1582 && month == 10 && day > 4 && day < 15)
        return false;
    return day <= MonthLength(year, month, IsGregorianReckoning(year, month, day));
}

void CalendarDateOf(int64_t jd, int64_t& year, int& month, int& day) {
    int64_t b = 0;
    int64_t c = jd + 32082;
    if (jd >= kFirstGregorianDay) {
        const int64_t a = jd + 32044;
        b = FloorDiv(4 * a + 3, 146097);
        c = a - FloorDiv(146097 * b, 4);
    }
    const int64_t d = FloorDiv(4 * c + 3, 1461);
    const int64_t e = c - FloorDiv(1461 * d, 4);
    const int64_t m = FloorDiv(5 * e + 2, 153);
    day = static_cast<int>(e - FloorDiv(153 * m + 2, 5) + 1);
    month = static_cast<int>(m + 3 - 12 * FloorDiv(m, 10));
    year = 100 * b + d - 4800 + FloorDiv(m, 10);
}

// Floor division in the leap term keeps years before the Hijra on the same 30-year cycle.
constexpr int64_t HijriJulianDay(int64_t year, int month, int day) {
    return FloorDiv(11 * year + 3, 30) + 354 * year + 30 * month - FloorDiv(month - 1, 2) + day + 1948055;
}

void HijriDateOf(int64_t jd, int64_t& year, int& month, int& day) {
    int64_t l = jd - 1937808;
    const int64_t n = FloorDiv(l - 1, 10631);
    l = l - 10631 * n + 354; // now 355..10985, so the divisions below see no negative numbers
    const int64_t j = ((10985 - l) / 5316) * ((50 * l) / 17719) + (l / 5670) * ((43 * l) / 15238);
    l = l - ((30 - j) / 15) * ((17719 * j) / 50) - (j / 16) * ((15238 * j) / 43) + 29;
    const int64_t m = (24 * l) / 709;
    month = static_cast<int>(m);
    day = static_cast<int>(l - (709 * m) / 24);
    year = 30 * n + j - 30;
}

// The Julian day of a Hijri date in the chosen calendar; linear in the day like the tabular formula.
int64_t HijriDayNumber(int64_t year, int month, int day, HijriCalendar calendar) {
    int64_t first = 0;
    if (calendar == HijriCalendar::UmmAlQura && year >= UmmAlQuraFirstYear() && year <= UmmAlQuraLastYear() &&
        UmmAlQuraMonthStart(static_cast<int>(year), month, first))
        return first + day - 1;
    return HijriJulianDay(year, month, day);
}

void HijriDateOf(int64_t jd, int64_t& year, int& month, int& day, HijriCalendar calendar) {
    int umYear = 0;
    if (calendar == HijriCalendar::UmmAlQura && UmmAlQuraDateOf(jd, umYear, month, day)) {
        year = umYear;
        return;
    }
    HijriDateOf(jd, year, month, day);
}

HijriCalendar& ChosenCalendar() {
    static HijriCalendar calendar = HijriCalendar::Tabular;
    return calendar;
}

constexpr int kMinYear = -9999;
constexpr int kMaxYear = 9999;
constexpr int64_t kMinDay = CalendarJulianDay(kMinYear, 1, 1, false);
constexpr int64_t kMaxDay = CalendarJulianDay(kMaxYear, 12, 31, true);

// Keeps the arithmetic far from overflow for any date value or year handed in.
constexpr int64_t kEncodableYears = 1000000;
constexpr int64_t kFirstEncodableDay = CalendarJulianDay(-kEncodableYears, 1, 1, false);
constexpr int64_t kLastEncodableDay = CalendarJulianDay(kEncodableYears, 12, 31, true);

int WeekdayOfJulianDay(int64_t jd) {
    return static_cast<int>(FloorMod(jd + 1, 7)) + 1;
}

void SetWeekday(int64_t jd, MultiDate& result) {
    result.WeekDay = WeekdayOfJulianDay(jd);
    result.WeekDayName = WeekdayNameAr(result.WeekDay);
}

void SetCenturies(MultiDate& result) {
    result.GCentury = result.GYear / 100 + 1;
    result.HCentury = result.HYear / 100 + 1;
}

} // namespace

void SetHijriCalendar(HijriCalendar calendar) {
    ChosenCalendar() = calendar;
}

HijriCalendar CurrentHijriCalendar() {
    return ChosenCalendar();
}

bool HijriToGregorian(int year, int month, int day, MultiDate& result) {
    return HijriToGregorian(year, month, day, result, CurrentHijriCalendar());
}

bool HijriToGregorian(int year, int month, int day, MultiDate& result, HijriCalendar calendar) {
    result = MultiDate{};
    const int workDay = day > 30 ? 30 : (day < 1 ? 1 : day);
    const int workMonth = (month > 12 || month < 1) ? 12 : month;
    const int64_t jd = HijriDayNumber(year, workMonth, workDay, calendar);
    if (jd < kMinDay || jd > kMaxDay)
        return false;

    int64_t gYear = 0;
    int gMonth = 0;
    int gDay = 0;
    CalendarDateOf(jd, gYear, gMonth, gDay);

    result.HDay = workDay;
    result.HMonth = workMonth;
    result.HYear = year;
    result.HMonthName = HijriMonthNameAr(workMonth);
    result.GDay = day == 0 ? 0 : gDay;
    result.GMonth = month == 0 ? 0 : gMonth;
    result.GYear = static_cast<int>(gYear);
    result.GMonthName = GregorianMonthNameAr(result.GMonth);
    result.GregorianDate = gYear > 0 ? QDate::fromJulianDay(jd) : EncodeDate(1, 1, 1);
    SetWeekday(jd, result);
    SetCenturies(result);
    return true;
}

bool GregorianToHijri(int year, int month, int day, MultiDate& result) {
    return GregorianToHijri(year, month, day, result, CurrentHijriCalendar());
}

bool GregorianToHijri(int year, int month, int day, MultiDate& result, HijriCalendar calendar) {
    result = MultiDate{};
    if (year < kMinYear || year > kMaxYear)
        return false;
    const int workDay = day > 31 ? 31 : (day < 1 ? 1 : day);
    const int workMonth = (month > 12 || month < 1) ? 12 : month;
    const int64_t jd =
        CalendarJulianDay(year, workMonth, workDay, IsGregorianReckoning(year, workMonth, workDay));

    int64_t hYear = 0;
    int hMonth = 0;
    int hDay = 0;
    HijriDateOf(jd, hYear, hMonth, hDay, calendar);

    result.HYear = static_cast<int>(hYear);
    result.HMonth = month == 0 ? 0 : hMonth;
    result.HDay = day == 0 ? 0 : hDay;
    result.HMonthName = HijriMonthNameAr(hMonth);
    result.GDay = workDay;
    result.GMonth = workMonth;
    result.GYear = year;
    result.GMonthName = GregorianMonthNameAr(workMonth);
    if (year > 0 && IsCalendarDate(year, workMonth, workDay))
        result.GregorianDate = QDate::fromJulianDay(jd);
    SetWeekday(jd, result);
    // 29 Safar of a year whose number is no leap year in the date-value calendar cannot be encoded: the
    // encoded value alone takes the 28th, HDay keeps the true day.
    if (result.HYear > 0) {
        result.HijriDate = EncodeDate(result.HYear, result.HMonth, result.HDay);
        if (result.HijriDate.isNull() && result.HDay > 1)
            result.HijriDate = EncodeDate(result.HYear, result.HMonth, result.HDay - 1);
    }
    SetCenturies(result);
    return true;
}

bool DateToHijri(MultiDate& result, const QDate& date) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (!DecodeDate(date, year, month, day)) {
        result = MultiDate{};
        return false;
    }
    return GregorianToHijri(year, month, day, result);
}

int WeekdayOf(const QDate& date) {
    return date.isValid() ? WeekdayOfJulianDay(date.toJulianDay()) : 0;
}

int HijriMonthDays(int year, int month) {
    return HijriMonthDays(year, month, CurrentHijriCalendar());
}

int HijriMonthDays(int year, int month, HijriCalendar calendar) {
    if (month < 1 || month > 12)
        return 0;
    const int64_t first = HijriDayNumber(year, month, 1, calendar);
    // The last day of the month is the day before the next month begins, so that a month at the edge
    // of the Umm al-Qura table counts in the calendar its first day belongs to.
    const int64_t next = month == 12 ? HijriDayNumber(int64_t{year} + 1, 1, 1, calendar)
                                     : HijriDayNumber(year, month + 1, 1, calendar);
    const int length = static_cast<int>(next - first);
    return length == 29 || length == 30 ? length : (length < 29 ? 29 : 30);
}

qint64 JulianDayOfCalendarDate(int year, int month, int day) {
    return CalendarJulianDay(year, month, day, IsGregorianReckoning(year, month, day));
}

void CalendarDateOfJulianDay(qint64 julianDay, int& year, int& month, int& day) {
    int64_t y = 0;
    CalendarDateOf(julianDay, y, month, day);
    year = static_cast<int>(y);
}

qint64 JulianDayOfHijriDate(int year, int month, int day) {
    return HijriDayNumber(year, month, day, CurrentHijriCalendar());
}

qint64 JulianDayOfHijriDate(int year, int month, int day, HijriCalendar calendar) {
    return HijriDayNumber(year, month, day, calendar);
}

void HijriDateOfJulianDay(qint64 julianDay, int& year, int& month, int& day) {
    int64_t y = 0;
    HijriDateOf(julianDay, y, month, day, CurrentHijriCalendar());
    year = static_cast<int>(y);
}

QDate EncodeDate(int year, int month, int day) {
    if (year < -kEncodableYears || year > kEncodableYears || !IsCalendarDate(year, month, day))
        return {};
    return QDate::fromJulianDay(CalendarJulianDay(year, month, day, IsGregorianReckoning(year, month, day)));
}

bool DecodeDate(const QDate& date, int& year, int& month, int& day) {
    year = month = day = 0;
    if (!date.isValid())
        return false;
    const int64_t jd = date.toJulianDay();
    if (jd < kFirstEncodableDay || jd > kLastEncodableDay)
        return false;
    int64_t y = 0;
    CalendarDateOf(jd, y, month, day);
    year = static_cast<int>(y);
    return true;
}

} // namespace verdan
