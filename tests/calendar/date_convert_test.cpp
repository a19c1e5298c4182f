#include "calendar/calendar_names.h"
#include "calendar/date_convert.h"

#include <gtest/gtest.h>

using namespace verdan;

namespace {

MultiDate FromHijri(int year, int month, int day) {
    MultiDate md;
    EXPECT_TRUE(HijriToGregorian(year, month, day, md)) << year << "-" << month << "-" << day;
    return md;
}

MultiDate FromGregorian(int year, int month, int day) {
    MultiDate md;
    EXPECT_TRUE(GregorianToHijri(year, month, day, md)) << year << "-" << month << "-" << day;
    return md;
}

void ExpectGregorian(const MultiDate& md, int year, int month, int day) {
    EXPECT_EQ(md.GYear, year);
    EXPECT_EQ(md.GMonth, month);
    EXPECT_EQ(md.GDay, day);
}

void ExpectHijri(const MultiDate& md, int year, int month, int day) {
    EXPECT_EQ(md.HYear, year);
    EXPECT_EQ(md.HMonth, month);
    EXPECT_EQ(md.HDay, day);
}

} // namespace

TEST(Calendar, FirstOfMuharram1445FillsTheWholeRecord) {
    const MultiDate md = FromHijri(1445, 1, 1);
    ExpectGregorian(md, 2023, 7, 19);
    EXPECT_EQ(md.GregorianDate, QDate(2023, 7, 19));
    EXPECT_EQ(md.GMonthName, QStringLiteral("يوليو"));
    EXPECT_EQ(md.WeekDay, 4);
    EXPECT_EQ(md.WeekDayName, QStringLiteral("الإربعاء"));
    EXPECT_EQ(md.HMonthName, QStringLiteral("محرم"));
    EXPECT_EQ(md.GCentury, 21);
    EXPECT_EQ(md.HCentury, 15);
    EXPECT_TRUE(md.HijriDate.isNull());

    const MultiDate back = FromGregorian(2023, 7, 19);
    ExpectHijri(back, 1445, 1, 1);
    EXPECT_EQ(back.WeekDay, 4);
    EXPECT_EQ(back.HijriDate, EncodeDate(1445, 1, 1));
    EXPECT_EQ(back.GregorianDate, QDate(2023, 7, 19));
}

TEST(Calendar, KnownPoints) {
    ExpectHijri(FromGregorian(2024, 3, 11), 1445, 9, 1);
    EXPECT_EQ(FromGregorian(2024, 3, 11).WeekDay, 2);
    ExpectGregorian(FromHijri(1445, 9, 1), 2024, 3, 11);

    const MultiDate y2k = FromGregorian(2000, 1, 1);
    ExpectHijri(y2k, 1420, 9, 24);
    EXPECT_EQ(y2k.WeekDay, 7);
    EXPECT_EQ(y2k.WeekDayName, QStringLiteral("السبت"));

    ExpectGregorian(FromHijri(1400, 1, 1), 1979, 11, 21);

    // The epoch lies in the Julian calendar and was a Friday, whichever direction it is reached from.
    const MultiDate epoch = FromGregorian(622, 7, 16);
    ExpectHijri(epoch, 1, 1, 1);
    EXPECT_EQ(epoch.WeekDay, 6);
    const MultiDate epochBack = FromHijri(1, 1, 1);
    ExpectGregorian(epochBack, 622, 7, 16);
    EXPECT_EQ(epochBack.WeekDay, 6);
    EXPECT_EQ(epochBack.GregorianDate.toJulianDay(), 1948440);
    EXPECT_EQ(WeekdayOf(epochBack.GregorianDate), 6);
}

TEST(Calendar, CalendarReformIsHonoured) {
    // Up to the 14th October 1582 is read in the Julian calendar; the 5th to 14th were skipped by the
    // reform, so they are no date of their own but the same days as the 15th to 24th.
    const MultiDate julianLast = FromGregorian(1582, 10, 14);
    ExpectHijri(julianLast, 990, 9, 26);
    EXPECT_TRUE(julianLast.GregorianDate.isNull());
    ExpectHijri(FromGregorian(1582, 10, 24), 990, 9, 26);
    const MultiDate gregorianFirst = FromGregorian(1582, 10, 15);
    ExpectHijri(gregorianFirst, 990, 9, 17);
    EXPECT_EQ(gregorianFirst.GregorianDate.toJulianDay(), 2299161);
    EXPECT_EQ(gregorianFirst.WeekDay, 6); // Friday

    EXPECT_EQ(FromGregorian(1582, 10, 4).GregorianDate.toJulianDay(), 2299160);
    EXPECT_TRUE(EncodeDate(1582, 10, 10).isNull());

    // Julian leap days of century years exist and encode.
    const QDate leap = EncodeDate(1500, 2, 29);
    ASSERT_TRUE(leap.isValid());
    int y = 0, m = 0, d = 0;
    EXPECT_TRUE(DecodeDate(leap, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 15000229);
    EXPECT_TRUE(EncodeDate(1900, 2, 29).isNull());
    EXPECT_TRUE(EncodeDate(2023, 2, 30).isNull());
    EXPECT_TRUE(EncodeDate(2023, 13, 1).isNull());
    EXPECT_FALSE(DecodeDate(QDate(), y, m, d));
    EXPECT_EQ(WeekdayOf(QDate()), 0);
}

TEST(Calendar, OutOfMonthAndUnknownParts) {
    // Safar has 29 days: its day 30 is the day after the 29th, and the record keeps the day as given.
    const MultiDate safar30 = FromHijri(1445, 2, 30);
    ExpectGregorian(safar30, 2023, 9, 16);
    EXPECT_EQ(safar30.HDay, 30);
    ExpectGregorian(FromHijri(1445, 2, 29), 2023, 9, 15);

    // Month 0 works as month 12 and is reported unknown on the Gregorian side.
    const MultiDate unknown = FromHijri(1445, 0, 0);
    ExpectGregorian(unknown, 2024, 0, 0);
    EXPECT_EQ(unknown.GregorianDate, FromHijri(1445, 12, 1).GregorianDate);
    EXPECT_TRUE(unknown.GMonthName.isEmpty());

    const MultiDate yearOnly = FromGregorian(2023, 0, 0);
    EXPECT_EQ(yearOnly.HYear, 1445);
    EXPECT_EQ(yearOnly.HMonth, 0);
    EXPECT_EQ(yearOnly.HDay, 0);

    // 30 February converts as the day the count reaches and has no date value.
    const MultiDate feb30 = FromGregorian(2023, 2, 30);
    const MultiDate march2 = FromGregorian(2023, 3, 2);
    ExpectHijri(feb30, march2.HYear, march2.HMonth, march2.HDay);
    EXPECT_TRUE(feb30.GregorianDate.isNull());
    EXPECT_EQ(feb30.GDay, 30);

    // Oversized and negative parts are clamped.
    ExpectHijri(FromGregorian(2023, 13, 40), 1445, 6, 18); // 31 December 2023
    ExpectGregorian(FromHijri(1445, -3, -3), 2024, 6, 8);  // 1 Dhu al-Hijjah 1445
}

TEST(Calendar, YearsBeforeTheHijraRoundTrip) {
    const MultiDate minusOne = FromHijri(-1, 1, 1);
    ExpectGregorian(minusOne, 620, 8, 6);
    ExpectHijri(FromGregorian(620, 8, 6), -1, 1, 1);
    ExpectGregorian(FromHijri(0, 1, 1), 621, 7, 27);
    ExpectHijri(FromGregorian(621, 7, 27), 0, 1, 1);
    EXPECT_EQ(FromHijri(-150, 1, 1).HCentury, 0); // truncated toward zero

    // Before the Gregorian era the date value is a fixed stand-in, but the weekday is still the real one.
    const MultiDate ancient = FromHijri(-700, 3, 10);
    EXPECT_LE(ancient.GYear, 0);
    EXPECT_EQ(ancient.GregorianDate, EncodeDate(1, 1, 1));
    const MultiDate ancientBack = FromGregorian(ancient.GYear, ancient.GMonth, ancient.GDay);
    ExpectHijri(ancientBack, -700, 3, 10);
    EXPECT_EQ(ancient.WeekDay, ancientBack.WeekDay);
    EXPECT_TRUE(ancientBack.GregorianDate.isNull());
    EXPECT_TRUE(ancientBack.HijriDate.isNull());
}

TEST(Calendar, Safar29KeepsItsDayWhenTheDateValueCannotHoldIt) {
    // 1445 is no leap year in the date-value calendar, so the encoded Hijri value alone takes the 28th.
    const MultiDate md = FromGregorian(2023, 9, 15);
    ExpectHijri(md, 1445, 2, 29);
    EXPECT_EQ(md.HijriDate, EncodeDate(1445, 2, 28));
    const MultiDate leap = FromHijri(1444, 2, 29);
    const MultiDate leapBack = FromGregorian(leap.GYear, leap.GMonth, leap.GDay);
    ExpectHijri(leapBack, 1444, 2, 29);
    EXPECT_EQ(leapBack.HijriDate, EncodeDate(1444, 2, 29));
}

TEST(Calendar, OutOfRangeGivesNoDate) {
    MultiDate md;
    EXPECT_TRUE(GregorianToHijri(9999, 12, 31, md));
    const MultiDate last = md;
    EXPECT_TRUE(HijriToGregorian(last.HYear, last.HMonth, last.HDay, md));
    ExpectGregorian(md, 9999, 12, 31);
    const int lastMonthDays = HijriMonthDays(last.HYear, last.HMonth);
    const bool lastOfMonth = last.HDay == lastMonthDays;
    EXPECT_FALSE(HijriToGregorian(last.HYear, last.HMonth + (lastOfMonth ? 1 : 0),
                                  lastOfMonth ? 1 : last.HDay + 1, md));
    EXPECT_EQ(md.GYear, 0);
    EXPECT_EQ(md.HYear, 0);
    EXPECT_TRUE(md.HMonthName.isEmpty());

    md.GYear = 5;
    EXPECT_FALSE(GregorianToHijri(10000, 1, 1, md));
    EXPECT_EQ(md.GYear, 0);
    EXPECT_FALSE(GregorianToHijri(-10000, 1, 1, md));
    EXPECT_FALSE(GregorianToHijri(INT_MIN, 1, 1, md));
    EXPECT_FALSE(HijriToGregorian(INT_MAX, 12, 30, md));
    EXPECT_FALSE(HijriToGregorian(INT_MIN, 1, 1, md));
    EXPECT_FALSE(HijriToGregorian(9999, 1, 1, md));
    EXPECT_TRUE(GregorianToHijri(-9999, 1, 1, md));
    EXPECT_FALSE(DateToHijri(md, QDate()));
}

TEST(Calendar, DateToHijriReadsTheCalendarDate) {
    MultiDate md;
    ASSERT_TRUE(DateToHijri(md, QDate(2024, 3, 11)));
    ExpectHijri(md, 1445, 9, 1);
    ASSERT_TRUE(DateToHijri(md, EncodeDate(622, 7, 16)));
    ExpectHijri(md, 1, 1, 1);
}

TEST(Calendar, NameTables) {
    EXPECT_EQ(HijriMonthNameEn(1), QStringLiteral("Muharram"));
    EXPECT_EQ(HijriMonthNameEn(8), QStringLiteral("Sha'ban "));
    EXPECT_EQ(HijriMonthNameAr(12), QStringLiteral("ذو الحجة"));
    EXPECT_EQ(GregorianMonthNameEn(12), QStringLiteral("December"));
    EXPECT_EQ(GregorianMonthNameAr(8), QStringLiteral("اغسطس"));
    EXPECT_EQ(WeekdayNameEn(1), QStringLiteral("Sunday"));
    EXPECT_EQ(WeekdayNameEn(7), QStringLiteral("Saturday"));
    EXPECT_EQ(WeekdayNameAr(2), QStringLiteral("الإثنين"));
    for (int bad : {0, 13, -1}) {
        EXPECT_TRUE(HijriMonthNameAr(bad).isEmpty());
        EXPECT_TRUE(HijriMonthNameEn(bad).isEmpty());
        EXPECT_TRUE(GregorianMonthNameAr(bad).isEmpty());
        EXPECT_TRUE(GregorianMonthNameEn(bad).isEmpty());
    }
    EXPECT_TRUE(WeekdayNameEn(8).isEmpty());
    EXPECT_TRUE(WeekdayNameAr(0).isEmpty());
}

TEST(Calendar, HijriMonthLengthsFollowTheThirtyYearCycle) {
    int leapYears = 0;
    for (int year = 1; year <= 30; ++year) {
        for (int month = 1; month <= 11; ++month)
            EXPECT_EQ(HijriMonthDays(year, month), month % 2 == 1 ? 30 : 29);
        if (HijriMonthDays(year, 12) == 30)
            ++leapYears;
    }
    EXPECT_EQ(leapYears, 11);
    for (int year : {2, 5, 7, 10, 13, 16, 18, 21, 24, 26, 29, -28, -1})
        EXPECT_EQ(HijriMonthDays(year, 12), 30) << year;
    EXPECT_EQ(HijriMonthDays(1445, 0), 0);
}

// Every Hijri day maps to the Gregorian day after the one of its predecessor, and back to itself.
TEST(CalendarRoundTrip, HijriToGregorianToHijri) {
    MultiDate there;
    MultiDate back;
    QDate previous;
    int failures = 0;
    for (int year = -1000; year <= 9665 && failures < 5; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int days = HijriMonthDays(year, month);
            for (int day = 1; day <= days; ++day) {
                HijriToGregorian(year, month, day, there);
                GregorianToHijri(there.GYear, there.GMonth, there.GDay, back);
                const QDate date = there.GYear > 0 ? there.GregorianDate : QDate();
                const bool consecutive = previous.isNull() || date.isNull() || date == previous.addDays(1);
                if (back.HYear != year || back.HMonth != month || back.HDay != day ||
                    back.WeekDay != there.WeekDay || !consecutive) {
                    ADD_FAILURE() << year << "-" << month << "-" << day << " -> " << there.GYear << "-"
                                  << there.GMonth << "-" << there.GDay;
                    ++failures;
                }
                previous = date;
            }
        }
    }
}

TEST(CalendarRoundTrip, GregorianToHijriToGregorian) {
    MultiDate there;
    MultiDate back;
    int failures = 0;
    const int64_t first = EncodeDate(1, 1, 1).toJulianDay();
    const int64_t last = EncodeDate(9999, 12, 31).toJulianDay();
    for (int64_t jd = first; jd <= last && failures < 5; ++jd) {
        const QDate date = QDate::fromJulianDay(jd);
        DateToHijri(there, date);
        HijriToGregorian(there.HYear, there.HMonth, there.HDay, back);
        if (there.GregorianDate != date || back.GregorianDate != date || back.WeekDay != WeekdayOf(date) ||
            there.WeekDay != back.WeekDay) {
            ADD_FAILURE() << there.GYear << "-" << there.GMonth << "-" << there.GDay << " -> " << there.HYear
                          << "-" << there.HMonth << "-" << there.HDay;
            ++failures;
        }
    }
}
