#include "calendar/date_convert.h"
#include "common/testing.h"
#include "shell/startup.h"
#include "shell/ui/options_dialog.h"
#include "shell_ui_testing.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace verdan;

// OK saves the options at once and switches the language only when another one was chosen; Cancel keeps
// everything.
TEST(OptionsDialog, OkSavesAndSwitchesTheLanguage) {
    Options() = TOptions();
    InitialiseProgram({test::NewTempDir(), QString()});
    Tfrm_Options dialog;
    QSignalSpy changed(&dialog, &Tfrm_Options::LanguageChanged);
    dialog.show();
    ASSERT_EQ(dialog.LanguageList()->count(), 4);
    EXPECT_TRUE(dialog.LanguageList()->currentText().endsWith(QStringLiteral("  Arabic")));
    EXPECT_FALSE(dialog.OpenLastTreeBox()->isChecked());

    dialog.OpenLastTreeBox()->setChecked(true);
    dialog.reject();
    EXPECT_FALSE(Options().OpenLastTreeOnStartup);

    dialog.show();
    EXPECT_FALSE(dialog.OpenLastTreeBox()->isChecked());
    dialog.OpenLastTreeBox()->setChecked(true);
    dialog.LevelColorsBox()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(changed.count(), 0);
    Options() = TOptions();
    ASSERT_TRUE(LoadOptions());
    EXPECT_TRUE(Options().OpenLastTreeOnStartup);
    EXPECT_TRUE(Options().LevelsHasColors);

    dialog.show();
    dialog.LanguageList()->setCurrentIndex(
        dialog.LanguageList()->findText(QStringLiteral("English  English")));
    dialog.accept();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(Local().Target.Name, QStringLiteral("English"));
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    Options() = TOptions();
    ASSERT_TRUE(LoadOptions());
    EXPECT_EQ(Options().LanguageFile, QStringLiteral("langs/english.local"));

    Options() = TOptions();
    test::UseEnglish();
}

// The Hijri calendar choice is saved, read back at the next start and serves the conversions made after OK.
TEST(OptionsDialog, HijriCalendarChoice) {
    Options() = TOptions();
    const QString home = test::NewTempDir();
    InitialiseProgram({home, QString()});
    Tfrm_Options dialog;
    dialog.show();
    ASSERT_EQ(dialog.HijriCalendarList()->count(), 2);
    EXPECT_EQ(dialog.HijriCalendarList()->currentIndex(), 0);

    dialog.HijriCalendarList()->setCurrentIndex(1);
    dialog.reject();
    EXPECT_EQ(CurrentHijriCalendar(), HijriCalendar::Tabular);

    dialog.show();
    dialog.HijriCalendarList()->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(CurrentHijriCalendar(), HijriCalendar::UmmAlQura);
    MultiDate md;
    ASSERT_TRUE(GregorianToHijri(2020, 1, 1, md));
    EXPECT_EQ(md.HDay, 6);

    SetHijriCalendar(HijriCalendar::Tabular);
    Options() = TOptions();
    InitialiseProgram({home, QString()});
    EXPECT_EQ(CurrentHijriCalendar(), HijriCalendar::UmmAlQura);
    dialog.show();
    EXPECT_EQ(dialog.HijriCalendarList()->currentIndex(), 1);
    dialog.HijriCalendarList()->setCurrentIndex(0);
    dialog.accept();
    EXPECT_EQ(CurrentHijriCalendar(), HijriCalendar::Tabular);

    Options() = TOptions();
    test::UseEnglish();
}
