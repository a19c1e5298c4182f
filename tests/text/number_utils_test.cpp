#include "text/number_utils.h"

#include <gtest/gtest.h>
#include <limits>

namespace verdan {
namespace {

TEST(ExtractInteger, ReadsTheFirstRunOfDigitsAndMinusSigns) {
    EXPECT_EQ(ExtractInteger(QStringLiteral("12px")), 12);
    EXPECT_EQ(ExtractInteger(QStringLiteral("x-5")), -5);
    EXPECT_EQ(ExtractInteger(QStringLiteral("width: 340 px 20")), 340);
    EXPECT_EQ(ExtractInteger(QStringLiteral("1-2")), 0);
    EXPECT_EQ(ExtractInteger(QStringLiteral("2023-05")), 0);
    EXPECT_EQ(ExtractInteger(QStringLiteral("-")), 0);
    EXPECT_EQ(ExtractInteger(QString()), 0);
    EXPECT_EQ(ExtractInteger(QStringLiteral("abc")), 0);
    EXPECT_EQ(ExtractInteger(QStringLiteral("n2147483647")), std::numeric_limits<int>::max());
    EXPECT_EQ(ExtractInteger(QStringLiteral("2147483648")), 0);
}

TEST(NumberText, ReadsWholeTextsStrictly) {
    EXPECT_EQ(DigitsOnly(QStringLiteral("+966 (50) 12-34")), QStringLiteral("966501234"));
    EXPECT_EQ(TextToIntegerOrZero(QStringLiteral("-42")), -42);
    EXPECT_EQ(TextToIntegerOrZero(QStringLiteral("42x")), 0);
    EXPECT_EQ(TextToIntegerOrZero(QString()), 0);

    EXPECT_TRUE(IsNumber(QStringLiteral("3.25")));
    EXPECT_TRUE(IsNumber(QStringLiteral("-7")));
    EXPECT_TRUE(IsNumber(QStringLiteral(".5")));
    EXPECT_FALSE(IsNumber(QStringLiteral("3,25")));
    EXPECT_FALSE(IsNumber(QStringLiteral("1.2.3")));
    EXPECT_FALSE(IsNumber(QStringLiteral("inf")));
    EXPECT_FALSE(IsNumber(QString()));

    EXPECT_DOUBLE_EQ(TextToFloatOrZero(QStringLiteral("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(TextToFloatOrZero(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(TextToFloatOrZero(FloatText(1234567.125)), 1234567.125);
    EXPECT_DOUBLE_EQ(TextToFloatOrZero(FixedText(2.0 / 3.0, 2)), 0.67);
}

TEST(NumberText, WritesPaddedAndPlainIntegers) {
    EXPECT_EQ(PadNumber(7, 3), QStringLiteral("007"));
    EXPECT_EQ(PadNumber(1234, 2), QStringLiteral("1234"));
    EXPECT_EQ(PadNumber(-7, 3), QStringLiteral("-07"));
    EXPECT_EQ(IntText(-15), QStringLiteral("-15"));
}

TEST(Booleans, AcceptTheKnownSpellingsInAnyCase) {
    for (const char* text : {"true", "T", "1", "-1", "Yes", "YES", "y"})
        EXPECT_TRUE(TextToBool(QString::fromUtf8(text))) << text;
    for (const char* text : {"false", "F", "0", "no", "N", "", "2", "yess", "on"})
        EXPECT_FALSE(TextToBool(QString::fromUtf8(text))) << text;
    EXPECT_EQ(BoolToText(true), QStringLiteral("1"));
    EXPECT_EQ(BoolToText(false), QStringLiteral("0"));
}

} // namespace
} // namespace verdan
