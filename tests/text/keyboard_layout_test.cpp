#include "common/fake_keyboard.h"
#include "text/keyboard_layout.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <utility>

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

// A language's name finds its layout by the layout's name, its language or its short name; "English",
// which dates ask for, takes any Latin layout when there is no English one.
TEST(KeyboardLayout, FindsTheLayoutALanguageAsksFor) {
    const QList<TKeyboardGroup> groups = {test::kArabicLayout, test::kFrenchLayout, test::kUsLayout};
    EXPECT_EQ(FindKeyboardGroup(groups, QStringLiteral(" arabic ")), 0);
    EXPECT_EQ(FindKeyboardGroup(groups, QStringLiteral("English")), 2);
    EXPECT_EQ(FindKeyboardGroup(groups, QStringLiteral("English (US)")), 2);
    EXPECT_EQ(FindKeyboardGroup(groups, QStringLiteral("French")), 1);
    EXPECT_EQ(FindKeyboardGroup(groups, QStringLiteral("Persian")), -1);
    EXPECT_EQ(FindKeyboardGroup(groups, QString()), -1);
    EXPECT_EQ(FindKeyboardGroup({test::kArabicLayout, test::kFrenchLayout}, QStringLiteral("English")), 1);
    EXPECT_EQ(FindKeyboardGroup({test::kArabicLayout, test::kPersianLayout}, QStringLiteral("English")), -1);
    // Named by the desktop in another way, a layout is still known by its short name.
    EXPECT_EQ(FindKeyboardGroup({test::kUsLayout, {QStringLiteral("عربي"), QStringLiteral("ara"), false}},
                                QStringLiteral("Arabic")),
              1);
    EXPECT_EQ(FindKeyboardGroup({{QStringLiteral("Arabic (Syria)"), QStringLiteral("sy"), false}},
                                QStringLiteral("Arabic")),
              0);
    // "Arab" is not a language of its own.
    EXPECT_EQ(FindKeyboardGroup(groups, QStringLiteral("Arab")), -1);
}

TEST(KeyboardLayout, SwitchesAmongTheDesktopsLayouts) {
    test::TFakeKeyboardGroups desktop({test::kArabicLayout, test::kUsLayout});
    TKeyboardLayout layout;
    EXPECT_EQ(layout.EnglishName(), QStringLiteral("Arabic"));
    EXPECT_TRUE(layout.Offers(QStringLiteral("English")));
    EXPECT_FALSE(layout.Offers(QStringLiteral("Urdu")));
    int changes = 0;
    QObject::connect(&layout, &TKeyboardLayout::OnChange, [&] { ++changes; });
    layout.SetEnglishName(QStringLiteral("English"));
    EXPECT_EQ(desktop.current, 1);
    EXPECT_EQ(layout.EnglishName(), QStringLiteral("English (US)"));
    EXPECT_EQ(layout.LayoutName(), QStringLiteral("us"));
    // The layout in use already, or one the desktop lacks: nothing is switched.
    layout.SetEnglishName(QStringLiteral("English (US)"));
    layout.SetEnglishName(QStringLiteral("Urdu"));
    EXPECT_EQ(desktop.switches, 1);
    EXPECT_EQ(desktop.current, 1);
    EXPECT_EQ(changes, 3);
    // The name read before is enough to come back to it.
    layout.SetEnglishName(QStringLiteral("Arabic"));
    EXPECT_EQ(desktop.current, 0);
}
