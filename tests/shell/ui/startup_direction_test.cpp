#include "common/testing.h"
#include "shell/startup.h"
#include "text/user_options.h"

#include <QApplication>
#include <QMainWindow>
#include <gtest/gtest.h>

using namespace verdan;

// A right-to-left language mirrors every window made afterwards; a left-to-right one undoes it.
TEST(StartupDirection, FollowsTheLanguage) {
    const QString home = test::NewTempDir();
    Options() = TOptions();
    InitialiseProgram({home, QString()});
    EXPECT_EQ(QApplication::layoutDirection(), Qt::RightToLeft);
    QMainWindow arabic;
    EXPECT_TRUE(arabic.isRightToLeft());

    Options().LanguageFile = QStringLiteral("langs/english.local");
    StartLanguage();
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    QMainWindow english;
    EXPECT_FALSE(english.isRightToLeft());
}
