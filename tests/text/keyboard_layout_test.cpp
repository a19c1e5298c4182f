#include "text/keyboard_layout.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace verdan;

// Names describe the active input language; asking for one signals a change, a blank request does not.
TEST(KeyboardLayout, ReportsTheInputLanguageAndSignalsRequests) {
    TKeyboardLayout layout;
    EXPECT_FALSE(layout.EnglishName().isEmpty());
    EXPECT_EQ(layout.LayoutName(), QLocale::system().name());
    int changes = 0;
    QObject::connect(&layout, &TKeyboardLayout::OnChange, [&] { ++changes; });
    layout.SetEnglishName(QStringLiteral("  "));
    EXPECT_EQ(changes, 0);
    const QString before = layout.EnglishName();
    layout.SetEnglishName(QStringLiteral("Arabic"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(layout.EnglishName(), before);
}
