#include "calendar/date_convert.h"
#include "calendar/date_numbers.h"

#include <gtest/gtest.h>

using namespace verdan;

namespace {

DateSpan Difference(int earlier, int later) {
    DateSpan span;
    DateNumberDifference(earlier, later, span);
    return span;
}

void ExpectSpan(const DateSpan& span, int years, int months, int days) {
    EXPECT_EQ(span.Years, years);
    EXPECT_EQ(span.Months, months);
    EXPECT_EQ(span.Days, days);
}

} // namespace

TEST(DateNumbers, TextForms) {
    EXPECT_EQ(DateNumberToText(14450315, u'-'), QStringLiteral("15-03-1445"));
    EXPECT_EQ(DateNumberToText(14450000, u'-'), QStringLiteral("00-00-1445"));
    EXPECT_EQ(DateNumberToText(9500315, u'-'), QStringLiteral("15-03-950"));
    EXPECT_EQ(DateNumberToText(-9500315, u'/'), QStringLiteral("15/03/950"));
    EXPECT_EQ(DateNumberToText(0, u'-'), QString());

    EXPECT_EQ(DateNumberToShortText(14450315, u'-'), QStringLiteral("15-03-1445"));
    EXPECT_EQ(DateNumberToShortText(14450300, u'-'), QStringLiteral("03-1445"));
    EXPECT_EQ(DateNumberToShortText(14450000, u'-'), QStringLiteral("1445"));
    EXPECT_EQ(DateNumberToShortText(14450015, u'-'), QStringLiteral("1445"));
    EXPECT_EQ(DateNumberToShortText(315, u'-'), QStringLiteral("315"));
    EXPECT_EQ(DateNumberToShortText(0, u'-'), QString());
}

TEST(DateNumbers, SplitAndMake) {
    int year = 0, month = 0, day = 0;
    SplitDateNumber(9500315, year, month, day);
    EXPECT_EQ(year * 10000 + month * 100 + day, 9500315);
    EXPECT_EQ(year, 950);
    SplitDateNumber(700001231, year, month, day); // beyond 16 bits
    EXPECT_EQ(year, 70000);
    EXPECT_EQ(month, 12);
    EXPECT_EQ(day, 31);
    SplitDateNumber(-14450315, year, month, day);
    EXPECT_EQ(year, 1445);
    SplitDateNumber(INT_MIN, year, month, day);
    EXPECT_EQ(year, 214748);

    EXPECT_EQ(MakeDateNumber(1445, 3, 15), 14450315);
    EXPECT_EQ(MakeDateNumber(-22, 5, 1), -220501);
    EXPECT_EQ(MakeDateNumber(0, 0, 0), 0);
    EXPECT_EQ(MakeDateNumber(300000, 1, 1), 0);
    EXPECT_EQ(MakeDateNumber(1445, -1, 1), 0);
}

TEST(DateNumbers, DateValues) {
    EXPECT_EQ(DateToDateNumber(QDate(2024, 3, 11)), 20240311);
    EXPECT_EQ(DateToDateNumber(EncodeDate(1500, 2, 29)), 15000229);
    EXPECT_EQ(DateToDateNumber(QDate()), 0);
    EXPECT_EQ(DateToDateNumber(QDate::fromJulianDay(EncodeDate(1, 1, 1).toJulianDay() - 1)), 0);
}

TEST(DateNumbers, ParseDateText) {
    int year = -5, month = -5, day = -5;
    ParseDateText(QStringLiteral("15-3-1445"), year, month, day);
    EXPECT_EQ(year, 1445);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(day, 15);
    ParseDateText(QStringLiteral("3-1445"), year, month, day);
    EXPECT_EQ(year, 1445);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(day, 0);
    ParseDateText(QStringLiteral("1445"), year, month, day);
    EXPECT_EQ(year, 1445);
    EXPECT_EQ(month, 0);
    ParseDateText(QStringLiteral("abc"), year, month, day);
    EXPECT_EQ(year, 1);
    EXPECT_EQ(month, 0);
    EXPECT_EQ(day, 0);
    ParseDateText(QString(), year, month, day);
    EXPECT_EQ(year, 1);
    // Everything before the second-to-last dash is the day; a leading dash leaves empty parts.
    ParseDateText(QStringLiteral("1-2-3-2020"), year, month, day);
    EXPECT_EQ(year, 2020);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(day, 0);
    ParseDateText(QStringLiteral("-1445"), year, month, day);
    EXPECT_EQ(year, 1445);
    EXPECT_EQ(month, 0);
    ParseDateText(QStringLiteral("x-y-"), year, month, day);
    EXPECT_EQ(year, 1);
    ParseDateText(QStringLiteral("1-2-99999999999"), year, month, day);
    EXPECT_EQ(year, 1);
}

TEST(DateNumbers, TypedTexts) {
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("15-3-1445")), 14450315);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral(" 3/1445 ")), 14450300);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("1445")), 14450000);
    EXPECT_EQ(GregorianTextToDateNumber(QString()), 0);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("15-13-1445")), 14450315);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("45/2/20233")), 20230205);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("1.2.2000")), 20000201);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("x1y5-3-1445")), 14450315);
    EXPECT_EQ(GregorianTextToDateNumber(QStringLiteral("5-123-1445")), 14450205);

    EXPECT_EQ(HijriTextToDateNumber(QStringLiteral("15-13-1445")), 14451315);
    EXPECT_EQ(HijriTextToDateNumber(QStringLiteral("45/2/20233")), 202330245);
    EXPECT_EQ(HijriTextToDateNumber(QStringLiteral("1-1-9999999")), 0); // does not fit: no date
    EXPECT_EQ(HijriTextToDateNumber(QStringLiteral("1-123-1445")), 14451201);
    EXPECT_EQ(HijriTextToDateNumber(QStringLiteral("1445")), 14450000);
}

TEST(DateNumbers, Difference) {
    ExpectSpan(Difference(14000000, 14500000), 50, 0, 0);
    ExpectSpan(Difference(20000515, 20230515), 23, 0, 0);
    ExpectSpan(Difference(20000515, 20230514), 22, 11, 29); // April lends 30 days
    ExpectSpan(Difference(20001215, 20240110), 23, 0, 26);  // December lends 31 days
    ExpectSpan(Difference(20000500, 20230314), 22, 10, 0);
    ExpectSpan(Difference(20000000, 20230314), 23, 0, 0);

    // A day beyond the end of the lending month counts as its last day, never as a negative count.
    ExpectSpan(Difference(20230131, 20230301), 0, 1, 1);
    ExpectSpan(Difference(20240131, 20240301), 0, 1, 1);
    ExpectSpan(Difference(20230130, 20230301), 0, 1, 1);
    ExpectSpan(Difference(20230129, 20230301), 0, 1, 1);
    ExpectSpan(Difference(20230128, 20230301), 0, 1, 1);
    ExpectSpan(Difference(20230127, 20230301), 0, 1, 2);
    ExpectSpan(Difference(14450130, 14450301), 0, 1, 1);
    for (int earlier : {20230131, 20230331, 20231231, 14451230, 20239999}) {
        for (int later : {20240101, 20240301, 20240430, 20240229, 20241231}) {
            const DateSpan span = Difference(earlier, later);
            EXPECT_GE(span.Days, 0) << earlier << " " << later;
            EXPECT_GE(span.Months, 0) << earlier << " " << later;
        }
    }
}
