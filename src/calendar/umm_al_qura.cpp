#include "umm_al_qura.h"

#include <algorithm>
#include <unicode/ucal.h>
#include <vector>

namespace verdan {

namespace {

// ICU's Umm al-Qura table spans these years; before and after it ICU reckons tabular months.
constexpr int kFirstYear = 1300;
constexpr int kLastYear = 1600;

// Julian day of the first of every month of the table, in order, and the day after its last month.
struct MonthStarts {
    std::vector<int64_t> days;
    bool valid() const { return !days.empty(); }
};

MonthStarts ReadFromIcu() {
    MonthStarts starts;
    UErrorCode status = U_ZERO_ERROR;
    UCalendar* calendar = ucal_open(u"UTC", -1, "en@calendar=islamic-umalqura", UCAL_DEFAULT, &status);
    if (U_FAILURE(status))
        return starts;
    starts.days.reserve((kLastYear - kFirstYear + 1) * 12 + 1);
    for (int year = kFirstYear; year <= kLastYear + 1 && U_SUCCESS(status); ++year) {
        for (int month = 0; month < 12 && U_SUCCESS(status); ++month) {
            ucal_clear(calendar);
            ucal_set(calendar, UCAL_EXTENDED_YEAR, year);
            ucal_set(calendar, UCAL_MONTH, month);
            ucal_set(calendar, UCAL_DATE, 1);
            starts.days.push_back(ucal_get(calendar, UCAL_JULIAN_DAY, &status));
            if (year > kLastYear)
                break;
        }
    }
    ucal_close(calendar);
    // A table that does not rise by 29 or 30 days a month is not trusted.
    bool sound = U_SUCCESS(status);
    for (size_t i = 1; sound && i < starts.days.size(); ++i) {
        const int64_t length = starts.days[i] - starts.days[i - 1];
        sound = length == 29 || length == 30;
    }
    if (!sound)
        starts.days.clear();
    return starts;
}

const MonthStarts& Table() {
    static const MonthStarts table = ReadFromIcu();
    return table;
}

} // namespace

int UmmAlQuraFirstYear() {
    return Table().valid() ? kFirstYear : 0;
}

int UmmAlQuraLastYear() {
    return Table().valid() ? kLastYear : -1;
}

bool UmmAlQuraMonthStart(int year, int month, int64_t& julianDay) {
    if (!Table().valid() || year < kFirstYear || year > kLastYear || month < 1 || month > 12)
        return false;
    julianDay = Table().days[static_cast<size_t>((year - kFirstYear) * 12 + month - 1)];
    return true;
}

bool UmmAlQuraDateOf(int64_t julianDay, int& year, int& month, int& day) {
    const std::vector<int64_t>& days = Table().days;
    if (days.empty() || julianDay < days.front() || julianDay >= days.back())
        return false;
    const auto next = std::upper_bound(days.begin(), days.end(), julianDay);
    const auto index = static_cast<int>(next - days.begin()) - 1;
    year = kFirstYear + index / 12;
    month = index % 12 + 1;
    day = static_cast<int>(julianDay - days[static_cast<size_t>(index)]) + 1;
    return true;
}

} // namespace verdan
