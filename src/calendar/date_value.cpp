#include "date_value.h"

#include "date_convert.h"
#include "date_numbers.h"

#include <algorithm>

namespace verdan {

namespace {

struct SignedParts {
    int year = 0; // astronomical
    int month = 0;
    int day = 0;
};

SignedParts PartsOf(int number) {
    SignedParts p;
    SplitDateNumber(number, p.year, p.month, p.day);
    if (number < 0)
        p.year = -p.year;
    return p;
}

qint64 Widened(qint64 day, qint64 by) {
    if (day == TDayRange::kOpenStart || day == TDayRange::kOpenEnd)
        return day;
    return day + by;
}

TDayRange WidenedRange(TDayRange range, qint64 by) {
    range.First = Widened(range.First, -by);
    range.Last = Widened(range.Last, by);
    return range;
}

// The range of the first (or second) date: the Gregorian number where present, else the Hijri one.
bool DateRange(int gregorian, int hijri, TDayRange& range) {
    return gregorian != 0 ? DayRangeOfNumber(gregorian, false, range) : DayRangeOfNumber(hijri, true, range);
}

bool Overlap(const TDayRange& a, const TDayRange& b, qint64 slack) {
    return a.First <= Widened(b.Last, slack) && b.First <= Widened(a.Last, slack);
}

// A dual year fits when it is the year before the date's own (the old style's year of the same day).
int FittingDual(int dual, int gregorian) {
    return dual > 0 && gregorian > 0 && dual == gregorian / 10000 - 1 ? dual : 0;
}

} // namespace

TDateQualifier QualifierOf(int stored) {
    return stored >= 0 && stored <= int(TDateQualifier::Text) ? TDateQualifier(stored)
                                                              : TDateQualifier::Exact;
}

bool IsRangeQualifier(TDateQualifier qualifier) {
    return qualifier == TDateQualifier::Between || qualifier == TDateQualifier::FromTo;
}

bool IsEmptyDate(const TDateValue& value) {
    return !HasDateNumbers(value) && value.Phrase.isEmpty() && value.Gregorian2 == 0 && value.Hijri2 == 0;
}

bool HasDateNumbers(const TDateValue& value) {
    return value.Gregorian != 0 || value.Hijri != 0;
}

TDateValue NormalisedDate(const TDateValue& value) {
    TDateValue v = value;
    const bool words = v.Qualifier == TDateQualifier::Phrase || v.Qualifier == TDateQualifier::Text;
    if (words) {
        v.Gregorian = v.Hijri = 0;
        if (v.Phrase.isEmpty() && v.Qualifier == TDateQualifier::Text)
            v.Qualifier = TDateQualifier::Exact;
    } else if (v.Qualifier != TDateQualifier::Interpreted) {
        v.Phrase.clear();
    }
    if (!IsRangeQualifier(v.Qualifier))
        v.Gregorian2 = v.Hijri2 = 0;
    v.DualYear = FittingDual(v.DualYear, v.Gregorian);
    v.DualYear2 = FittingDual(v.DualYear2, v.Gregorian2);
    if (!words && !HasDateNumbers(v) && v.Gregorian2 == 0 && v.Hijri2 == 0)
        return {};
    return v;
}

int GregorianToHijriNumber(int gregorian) {
    if (gregorian == 0)
        return 0;
    const SignedParts p = PartsOf(gregorian);
    MultiDate converted;
    if (!GregorianToHijri(p.year, p.month, p.day, converted))
        return 0;
    return MakeDateNumber(converted.HYear, converted.HMonth, converted.HDay);
}

int HijriToGregorianNumber(int hijri) {
    if (hijri == 0)
        return 0;
    const SignedParts p = PartsOf(hijri);
    MultiDate converted;
    if (!HijriToGregorian(p.year, p.month, p.day, converted))
        return 0;
    return MakeDateNumber(converted.GYear, converted.GMonth, converted.GDay);
}

TDateValue WithBothCalendars(const TDateValue& value) {
    TDateValue v = value;
    const auto fill = [](int& gregorian, int& hijri) {
        if (gregorian != 0 && hijri == 0)
            hijri = GregorianToHijriNumber(gregorian);
        else if (gregorian == 0 && hijri != 0)
            gregorian = HijriToGregorianNumber(hijri);
    };
    fill(v.Gregorian, v.Hijri);
    fill(v.Gregorian2, v.Hijri2);
    return v;
}

bool DayRangeOfNumber(int number, bool hijri, TDayRange& range) {
    if (number == 0)
        return false;
    const SignedParts p = PartsOf(number);
    if (p.month > 12 || p.day > 31)
        return false;
    const auto day = [hijri](int year, int month, int d) {
        return hijri ? JulianDayOfHijriDate(year, month, d) : JulianDayOfCalendarDate(year, month, d);
    };
    if (p.month == 0) {
        range.First = day(p.year, 1, 1);
        range.Last = day(p.year + 1, 1, 1) - 1;
    } else if (p.day == 0) {
        range.First = day(p.year, p.month, 1);
        range.Last = (p.month == 12 ? day(p.year + 1, 1, 1) : day(p.year, p.month + 1, 1)) - 1;
    } else {
        range.First = range.Last = day(p.year, p.month, p.day);
    }
    return true;
}

TDayRange DayRangeOf(const TDateValue& value) {
    TDayRange first;
    if (!DateRange(value.Gregorian, value.Hijri, first))
        return {};
    switch (value.Qualifier) {
    case TDateQualifier::About:
    case TDateQualifier::Estimated:
        return WidenedRange(first, kAboutMarginDays);
    case TDateQualifier::Calculated:
        return WidenedRange(first, kCalculatedMarginDays);
    case TDateQualifier::Before:
    case TDateQualifier::To:
        return {TDayRange::kOpenStart, first.Last};
    case TDateQualifier::After:
    case TDateQualifier::From:
        return {first.First, TDayRange::kOpenEnd};
    case TDateQualifier::Between:
    case TDateQualifier::FromTo: {
        TDayRange second;
        if (!DateRange(value.Gregorian2, value.Hijri2, second))
            return {first.First, TDayRange::kOpenEnd};
        return {std::min(first.First, second.First), std::max(first.Last, second.Last)};
    }
    case TDateQualifier::Phrase:
    case TDateQualifier::Text:
        return {};
    case TDateQualifier::Exact:
    case TDateQualifier::Interpreted:
        break;
    }
    return first;
}

bool CouldBeSameDay(const TDateValue& a, const TDateValue& b, qint64 slackDays) {
    return Overlap(DayRangeOf(a), DayRangeOf(b), slackDays);
}

bool CalendarsAgree(const TDateValue& value, qint64 slackDays) {
    const auto agree = [slackDays](int gregorian, int hijri) {
        TDayRange g, h;
        if (!DayRangeOfNumber(gregorian, false, g) || !DayRangeOfNumber(hijri, true, h))
            return true;
        return Overlap(g, h, slackDays);
    };
    return agree(value.Gregorian, value.Hijri) && agree(value.Gregorian2, value.Hijri2);
}

qint64 DateSortKey(const TDateValue& value) {
    TDayRange first;
    if (value.Qualifier == TDateQualifier::Phrase || value.Qualifier == TDateQualifier::Text ||
        !DateRange(value.Gregorian, value.Hijri, first))
        return kUndatedSortKey;
    return first.First;
}

} // namespace verdan
