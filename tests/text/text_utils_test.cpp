#include "text/text_utils.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace verdan {
namespace {

TEST(AddressChecks, EmailAndWebAddresses) {
    EXPECT_TRUE(IsValidEmail(QStringLiteral("ali.saad+tree@mail-host.com.sa")));
    EXPECT_TRUE(IsValidEmail(QStringLiteral("a_b@x.io")));
    EXPECT_FALSE(IsValidEmail(QStringLiteral("ali@host")));
    EXPECT_FALSE(IsValidEmail(QStringLiteral("ali@host.com.")));
    EXPECT_FALSE(IsValidEmail(QStringLiteral("ali saad@host.com")));
    EXPECT_FALSE(IsValidEmail(QStringLiteral("x ali@host.com")));
    EXPECT_FALSE(IsValidEmail(QString()));

    EXPECT_TRUE(IsValidUrl(QStringLiteral("http://example.com")));
    EXPECT_TRUE(IsValidUrl(QStringLiteral("https://www.example.org:8080/path/page.html?a=1&b=%20#top")));
    EXPECT_TRUE(IsValidUrl(QStringLiteral("ftp://files.example.net/")));
    EXPECT_FALSE(IsValidUrl(QStringLiteral("www.example.com")));
    EXPECT_FALSE(IsValidUrl(QStringLiteral("http://example.com/page.")));
    EXPECT_FALSE(IsValidUrl(QStringLiteral("http://example.com/a b")));
    EXPECT_FALSE(IsValidUrl(QStringLiteral("mailto://example.com")));
}

TEST(SqlDateText, MonthDayYearWithoutLeadingZeros) {
    EXPECT_EQ(SqlDateText(QDate(2024, 3, 5)), QStringLiteral("3/5/2024"));
    EXPECT_EQ(SqlDateText(QDate(1999, 12, 31)), QStringLiteral("12/31/1999"));
    EXPECT_EQ(SqlDateText(QDate()), QString());
}

TEST(FitRect, ScalesKeepingProportionsAndCentres) {
    EXPECT_EQ(FitRect(QRect(0, 0, 200, 100), QSize(50, 50)), QRect(50, 0, 100, 100));
    EXPECT_EQ(FitRect(QRect(10, 20, 100, 200), QSize(400, 200)), QRect(10, 95, 100, 50));
    EXPECT_EQ(FitRect(QRect(0, 0, 101, 101), QSize(100, 50)), QRect(0, 25, 101, 51));
    // An empty source must not divide by zero.
    const QRect empty = FitRect(QRect(0, 0, 100, 100), QSize(0, 0));
    EXPECT_EQ(empty.size(), QSize(0, 0));
}

TEST(LightenColor, MovesChannelsTowardsWhite) {
    EXPECT_EQ(LightenColor(QColor(0, 100, 255), 50), QColor(128, 178, 255));
    EXPECT_EQ(LightenColor(QColor(10, 20, 30), 0), QColor(10, 20, 30));
    EXPECT_EQ(LightenColor(QColor(10, 20, 30), 100), QColor(255, 255, 255));
    EXPECT_EQ(LightenColor(QColor(10, 20, 30), 250), QColor(255, 255, 255));
    EXPECT_EQ(LightenColor(QColor(10, 20, 30), -20), QColor(10, 20, 30));
}

TEST(NameValuePairs, CompareByNameAndValue) {
    const TName_String_Value_Array pairs{{QStringLiteral("a"), QStringLiteral("1")},
                                         {QStringLiteral("b"), {}}};
    EXPECT_EQ(pairs[0], (TName_String_Value{QStringLiteral("a"), QStringLiteral("1")}));
    EXPECT_NE(pairs[0], pairs[1]);
}

} // namespace
} // namespace verdan
