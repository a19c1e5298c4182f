#include "text/localisation.h"

#include <gtest/gtest.h>

using namespace verdan;

TEST(FillPattern, FillsInOrderAndToleratesWrongArgumentCounts) {
    EXPECT_EQ(FillPattern(QStringLiteral("%s has %d sons"), {QStringLiteral("Ali"), QStringLiteral("3")}),
              QStringLiteral("Ali has 3 sons"));
    EXPECT_EQ(FillPattern(QStringLiteral("%s and %s"), {QStringLiteral("a")}), QStringLiteral("a and "));
    EXPECT_EQ(FillPattern(QStringLiteral("none"), {QStringLiteral("x")}), QStringLiteral("none"));
    EXPECT_EQ(FillPattern(QStringLiteral("100%"), {}), QStringLiteral("100%"));
}
