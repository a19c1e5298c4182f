#include "reports/grid_markup.h"

#include <gtest/gtest.h>

using namespace verdan;

TEST(GridMarkup, FirstOccurrenceOfEachTagInOrder) {
    const TCellMarkup m = ParseCellMarkup(QStringLiteral("<B>Ali<b> <f_size 200><f_color clRed><right>"));
    EXPECT_TRUE(m.bold);
    EXPECT_FALSE(m.italic);
    EXPECT_EQ(m.text, "Ali<b> ");
    EXPECT_EQ(m.fontSize, 120);
    EXPECT_EQ(m.textColor, QColor(255, 0, 0));
    EXPECT_TRUE(m.right);
    EXPECT_FALSE(m.center);

    const TCellMarkup frame = ParseCellMarkup(QStringLiteral("<fr_color $FF0000><fr_size=0><b_color 255>x"));
    EXPECT_EQ(frame.frameColor, QColor(0, 0, 255));
    EXPECT_EQ(frame.frameWidth, 1);
    EXPECT_EQ(frame.backColor, QColor(255, 0, 0));
    EXPECT_EQ(frame.text, "x");

    const TCellMarkup font = ParseCellMarkup(QStringLiteral("<f_name Noto Naskh><f_color nonsense><i>y"));
    EXPECT_EQ(font.fontName, " Noto Naskh");
    EXPECT_FALSE(font.textColor.has_value());
    EXPECT_TRUE(font.italic);

    EXPECT_EQ(StripMarkup(QStringLiteral("<center><v_center>a<f_size 2>b")), "ab");
    EXPECT_EQ(StripMarkup(QStringLiteral("no tags & more")), "no tags & more");
}

TEST(GridMarkup, ColoursAndShading) {
    EXPECT_EQ(ColorFromText(QStringLiteral(" CLBLACK ")), QColor(0, 0, 0));
    EXPECT_EQ(ColorFromText(QStringLiteral("clNavy")), QColor(0, 0, 128));
    EXPECT_FALSE(ColorFromText(QStringLiteral("clBtnFace")).has_value());
    EXPECT_EQ(ColorFromBgr(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(Lighten(QColor(0, 100, 255), 50), QColor(128, 178, 255));
    EXPECT_EQ(Lighten(QColor(0, 0, 0), 150), QColor(255, 255, 255));
    EXPECT_EQ(Darken(QColor(100, 100, 10), 30), QColor(70, 72, 0));
}
