#include "text/localisation.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <gtest/gtest.h>

namespace verdan {

// Urdu takes the Nastaliq face where it is installed, with the desktop's face behind it; switching to
// another language gives the desktop's font back.
TEST(InterfaceFont, UrduInNastaliqOthersInTheDesktopFont) {
    QDir(LangsFolder()).removeRecursively();
    InstallLanguageFiles();
    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("english.local")));
    const QFont desktop = QApplication::font();
    EXPECT_TRUE(InterfaceFontFamily().isEmpty());

    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("urdu.local")));
    if (!QFontDatabase::hasFamily(QStringLiteral("Noto Nastaliq Urdu"))) {
        EXPECT_EQ(QApplication::font(), desktop);
    } else {
        EXPECT_EQ(InterfaceFontFamily(), QStringLiteral("Noto Nastaliq Urdu"));
        const QStringList families = QApplication::font().families();
        ASSERT_EQ(families.size(), 2);
        EXPECT_EQ(families[0], QStringLiteral("Noto Nastaliq Urdu"));
        EXPECT_EQ(families[1], desktop.family());
        EXPECT_EQ(QApplication::font().pointSizeF(), desktop.pointSizeF());
    }

    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("persian.local")));
    EXPECT_EQ(QApplication::font(), desktop);
    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("english.local")));
    EXPECT_EQ(QApplication::font(), desktop);
    // The suites here run right to left, as with Arabic.
    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    EXPECT_EQ(QApplication::font(), desktop);
    QDir(LangsFolder()).removeRecursively();
}

} // namespace verdan
