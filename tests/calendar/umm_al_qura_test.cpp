#include "calendar/date_convert.h"
#include "calendar/umm_al_qura.h"

#include <gtest/gtest.h>
#include <memory>
#include <unicode/ucal.h>

using namespace verdan;

namespace {

struct CalendarCloser {
    void operator()(UCalendar* calendar) const { ucal_close(calendar); }
};
using IcuCalendar = std::unique_ptr<UCalendar, CalendarCloser>;

IcuCalendar OpenUmmAlQura() {
    UErrorCode status = U_ZERO_ERROR;
    IcuCalendar calendar(ucal_open(u"UTC", -1, "en@calendar=islamic-umalqura", UCAL_DEFAULT, &status));
    EXPECT_TRUE(U_SUCCESS(status));
    return calendar;
}

MultiDate UmmAlQuraOf(const QDate& date) {
    MultiDate md;
    EXPECT_TRUE(GregorianToHijri(date.year(), date.month(), date.day(), md, HijriCalendar::UmmAlQura));
    return md;
}

// Restores the tabular calendar when a test that changes the process-wide choice ends.
struct CalendarChoice {
    explicit CalendarChoice(HijriCalendar calendar) { SetHijriCalendar(calendar); }
    ~CalendarChoice() { SetHijriCalendar(HijriCalendar::Tabular); }
};

} // namespace

// Every day of 1300-1500 AH, read by ICU from its day number, converts both ways to the same date.
TEST(UmmAlQura, AgreesWithIcuEveryDayOf1300To1500) {
    const IcuCalendar icu = OpenUmmAlQura();
    ASSERT_TRUE(icu);
    int64_t first = 0;
    int64_t end = 0;
    ASSERT_TRUE(UmmAlQuraMonthStart(1300, 1, first));
    ASSERT_TRUE(UmmAlQuraMonthStart(1501, 1, end));
    int mismatches = 0;
    for (int64_t jd = first; jd < end && mismatches < 5; ++jd) {
        UErrorCode status = U_ZERO_ERROR;
        ucal_clear(icu.get());
        ucal_set(icu.get(), UCAL_JULIAN_DAY, static_cast<int32_t>(jd));
        const int year = ucal_get(icu.get(), UCAL_EXTENDED_YEAR, &status);
        const int month = ucal_get(icu.get(), UCAL_MONTH, &status) + 1;
        const int day = ucal_get(icu.get(), UCAL_DATE, &status);
        ASSERT_TRUE(U_SUCCESS(status));

        const QDate date = QDate::fromJulianDay(jd);
        const MultiDate toHijri = UmmAlQuraOf(date);
        MultiDate toGregorian;
        ASSERT_TRUE(HijriToGregorian(year, month, day, toGregorian, HijriCalendar::UmmAlQura));
        if (toHijri.HYear != year || toHijri.HMonth != month || toHijri.HDay != day ||
            toGregorian.GregorianDate != date) {
            ADD_FAILURE() << date.toString(Qt::ISODate).toStdString() << " is " << year << "-" << month << "-"
                          << day << " for ICU, " << toHijri.HYear << "-" << toHijri.HMonth << "-"
                          << toHijri.HDay << " here, and back "
                          << toGregorian.GregorianDate.toString(Qt::ISODate).toStdString();
            ++mismatches;
        }
    }
}

TEST(UmmAlQura, KnownDaysAndTheirDifferenceFromTheTabularCalendar) {
    const MultiDate ramadan = UmmAlQuraOf(QDate(2024, 3, 11));
    EXPECT_EQ(ramadan.HYear * 10000 + ramadan.HMonth * 100 + ramadan.HDay, 14450901);
    EXPECT_EQ(ramadan.WeekDay, 2);
    const MultiDate muharram = UmmAlQuraOf(QDate(2023, 7, 19));
    EXPECT_EQ(muharram.HYear * 10000 + muharram.HMonth * 100 + muharram.HDay, 14450101);
    EXPECT_EQ(muharram.HijriDate, EncodeDate(1445, 1, 1));

    const MultiDate newYear = UmmAlQuraOf(QDate(2020, 1, 1));
    EXPECT_EQ(newYear.HYear * 10000 + newYear.HMonth * 100 + newYear.HDay, 14410506);
    MultiDate tabular;
    ASSERT_TRUE(GregorianToHijri(2020, 1, 1, tabular, HijriCalendar::Tabular));
    EXPECT_EQ(tabular.HDay, 5);
}

// Day and month clamping and unknown parts behave as in the tabular calendar.
TEST(UmmAlQura, UnknownPartsAndDayThirtyOfAShortMonth) {
    // Muharram 1445 has 29 days in Umm al-Qura (30 in the tabular calendar); its day 30 is 1 Safar.
    EXPECT_EQ(HijriMonthDays(1445, 1, HijriCalendar::UmmAlQura), 29);
    EXPECT_EQ(HijriMonthDays(1445, 1, HijriCalendar::Tabular), 30);
    MultiDate md;
    ASSERT_TRUE(HijriToGregorian(1445, 1, 30, md, HijriCalendar::UmmAlQura));
    EXPECT_EQ(md.GregorianDate, QDate(2023, 8, 17));
    EXPECT_EQ(md.HDay, 30);

    ASSERT_TRUE(HijriToGregorian(1445, 0, 0, md, HijriCalendar::UmmAlQura));
    EXPECT_EQ(md.GMonth, 0);
    EXPECT_EQ(md.GDay, 0);
    EXPECT_EQ(md.HMonth, 12);
    EXPECT_EQ(md.GYear, 2024);

    ASSERT_TRUE(GregorianToHijri(2024, 3, 0, md, HijriCalendar::UmmAlQura));
    EXPECT_EQ(md.HDay, 0);
    EXPECT_NE(md.HMonth, 0);
}

// Outside the years of the table both calendars are the same; at its edges no day is lost or repeated.
TEST(UmmAlQura, TabularOutsideTheTableAndContinuousAtItsEdges) {
    for (const QDate& date : {QDate(1066, 10, 14), QDate(1800, 1, 1), QDate(2300, 6, 1)}) {
        MultiDate tabular;
        ASSERT_TRUE(GregorianToHijri(date.year(), date.month(), date.day(), tabular, HijriCalendar::Tabular));
        const MultiDate um = UmmAlQuraOf(date);
        EXPECT_EQ(um.HYear, tabular.HYear) << date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(um.HMonth, tabular.HMonth);
        EXPECT_EQ(um.HDay, tabular.HDay);
    }
    for (const int year : {UmmAlQuraFirstYear(), UmmAlQuraLastYear() + 1}) {
        MultiDate start;
        ASSERT_TRUE(HijriToGregorian(year, 1, 1, start, HijriCalendar::UmmAlQura));
        const MultiDate before = UmmAlQuraOf(start.GregorianDate.addDays(-1));
        EXPECT_EQ(before.HYear, year - 1);
        EXPECT_EQ(before.HMonth, 12);
        EXPECT_EQ(before.HDay, HijriMonthDays(year - 1, 12, HijriCalendar::UmmAlQura));
        EXPECT_EQ(UmmAlQuraOf(start.GregorianDate).HYear, year);
    }
}

// The calendar chosen for the run serves the conversions that name none, from the moment it is chosen.
TEST(UmmAlQura, ChosenCalendarServesTheConversionsThatNameNone) {
    MultiDate md;
    ASSERT_TRUE(GregorianToHijri(2020, 1, 1, md));
    EXPECT_EQ(md.HDay, 5);
    {
        const CalendarChoice choice(HijriCalendar::UmmAlQura);
        EXPECT_EQ(CurrentHijriCalendar(), HijriCalendar::UmmAlQura);
        ASSERT_TRUE(GregorianToHijri(2020, 1, 1, md));
        EXPECT_EQ(md.HDay, 6);
        ASSERT_TRUE(HijriToGregorian(1441, 5, 6, md));
        EXPECT_EQ(md.GregorianDate, QDate(2020, 1, 1));
        EXPECT_EQ(HijriMonthDays(1445, 1), 29);
    }
    EXPECT_EQ(HijriMonthDays(1445, 1), 30);
}
