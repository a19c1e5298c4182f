#include "relations/living_persons.h"

namespace verdan {

namespace {

// The latest day of one calendar's side of the value, or nothing when that side has no first date.
bool LatestDay(const TDateValue& value, bool hijri, qint64& day) {
    TDateValue side = value;
    if (hijri) {
        side.Gregorian = side.Gregorian2 = 0;
    } else {
        side.Hijri = side.Hijri2 = 0;
    }
    if (!HasDateNumbers(side))
        return false;
    const TDayRange range = DayRangeOf(side);
    if (range.First == TDayRange::kOpenStart && range.Last == TDayRange::kOpenEnd)
        return false;
    day = range.Last;
    return true;
}

} // namespace

bool IsDeadByFacts(bool deadMark, const TDateValue& death) {
    return deadMark || death.Gregorian != 0 || death.Hijri != 0;
}

bool BornWithinYears(const TDateValue& birth, int years, const QDate& today) {
    const qint64 since = today.addYears(-years).toJulianDay();
    for (const bool hijri : {false, true}) {
        qint64 latest = 0;
        if (LatestDay(birth, hijri, latest) && latest >= since)
            return true;
    }
    return false;
}

bool IsLivingPerson(bool deadMark, const TDateValue& birth, const TDateValue& death,
                    std::span<const TDateValue> childrenBirths, const QDate& today) {
    if (IsDeadByFacts(deadMark, death))
        return false;
    if (HasDateNumbers(birth))
        return BornWithinYears(birth, kLivingBirthYears, today);
    for (const TDateValue& child : childrenBirths)
        if (BornWithinYears(child, kLivingChildBirthYears, today))
            return true;
    return false;
}

} // namespace verdan
