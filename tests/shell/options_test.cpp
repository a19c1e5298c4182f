#include "common/testing.h"
#include "shell/startup.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

} // namespace

TEST(Options, SaveAndLoadRoundTrip) {
    SetProgramFolder(test::NewTempDir());
    Options() = TOptions();
    EXPECT_FALSE(LoadOptions());
    EXPECT_EQ(Options(), TOptions());

    TOptions saved;
    saved.LanguageFile = ProgramFolder() + QStringLiteral("langs/english.local");
    saved.LastCreatedLocation = QStringLiteral("/home/user/trees");
    saved.LastOpenedProject = QStringLiteral("/home/user/trees/Family ~ (*draft*)/family.vrd");
    saved.OpenLastTreeOnStartup = true;
    saved.TreeFontSize = 14;
    saved.LevelsHasColors = true;
    saved.MarkIfHasMate = true;
    saved.UmmAlQura = true;
    saved.DataSections = {{QStringLiteral("Names"), false}, {QStringLiteral("Dates"), true}};
    saved.ReportColumns = {{QStringLiteral("persons"), {QStringLiteral("Name1"), QStringLiteral("gender")}},
                           {QStringLiteral("contacts"), {QStringLiteral("email")}}};
    Options() = saved;
    ASSERT_TRUE(SaveOptions());

    Options() = TOptions();
    ASSERT_TRUE(LoadOptions());
    TOptions expected = saved;
    expected.LanguageFile = QStringLiteral("langs/english.local"); // kept relative to the program folder
    EXPECT_EQ(Options(), expected);

    QFile file(OptionsFileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFOptions\r\n  Language File = langs/english.local\r\n"));
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.contains(QStringLiteral("  Mark IF Has Mate = true\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("  Hijri Calendar = umm al-qura\r\n")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("  Data Sections\r\n    Names = true\r\n    Dates = false\r\n")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("  Report Columns\r\n    persons = Name1,gender\r\n    contacts = email\r\n")));
}

TEST(Options, ReadsHandWrittenAndDamagedDocuments) {
    SetProgramFolder(test::NewTempDir());
    WriteText(OptionsFileName(), "Options\n  tree font size = 12px\n  OPEN LAST TREE ON STARTUP = TRUE\n"
                                 "  Levels Has Colors = yes\n  hijri calendar = Umm al-Qura \n"
                                 "  Data Sections\n    Names\n");
    Options().LastOpenedProject = QStringLiteral("stale");
    ASSERT_TRUE(LoadOptions());
    EXPECT_EQ(Options().TreeFontSize, 12);
    EXPECT_TRUE(Options().OpenLastTreeOnStartup);
    EXPECT_FALSE(Options().LevelsHasColors);
    EXPECT_TRUE(Options().UmmAlQura);
    EXPECT_TRUE(Options().LastOpenedProject.isEmpty());
    ASSERT_EQ(Options().DataSections.size(), 1);
    EXPECT_TRUE(Options().DataSections[0].Hidden);

    // A document that cannot be read leaves the options as they were.
    WriteText(OptionsFileName(), QByteArray(kMaxSmlFileSize + 1, ' '));
    Options().TreeFontSize = 3;
    EXPECT_FALSE(LoadOptions());
    EXPECT_EQ(Options().TreeFontSize, 3);
    QFile::remove(OptionsFileName());
}

TEST(Startup, ArgumentsFoldersAndLanguage) {
    const TStartupArguments parsed =
        ParseStartupArguments({QStringLiteral("--home"), QStringLiteral("/tmp/v"), QStringLiteral(""),
                               QStringLiteral("a.vrd"), QStringLiteral("b.vrd")});
    EXPECT_EQ(parsed.Home, QStringLiteral("/tmp/v"));
    EXPECT_EQ(parsed.TreeFile, QStringLiteral("a.vrd"));
    EXPECT_EQ(ParseStartupArguments({QStringLiteral("--home=/x")}).Home, QStringLiteral("/x"));
    EXPECT_EQ(TreePathFromArgument(QStringLiteral("file:///home/a/%D8%B4%20b.vrd")),
              QStringLiteral("/home/a/ش b.vrd"));
    EXPECT_EQ(TreePathFromArgument(QStringLiteral("FILE:///t/x.vrd")), QStringLiteral("/t/x.vrd"));
    EXPECT_EQ(TreePathFromArgument(QStringLiteral("file name.vrd")), QStringLiteral("file name.vrd"));

    const QString home = test::NewTempDir() + QStringLiteral("/portable");
    Options() = TOptions();
    InitialiseProgram({home, QString()});
    EXPECT_EQ(ProgramFolder(), home + u'/');
    for (const char* folder : {"user", "app", "data", "langs"})
        EXPECT_TRUE(QDir(home + u'/' + QLatin1String(folder)).exists()) << folder;
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/langs/persian.local")));
    EXPECT_EQ(Local().Target.Name, QStringLiteral("Arabic"));
    EXPECT_NE(ApplicationTitle(), QStringLiteral("Verdan"));

    // The options name the language; a file that is gone falls back to Arabic.
    WriteText(OptionsFileName(), "Options\n  Language File = langs/english.local\n");
    InitialiseProgram({home, QString()});
    EXPECT_EQ(Local().Target.Name, QStringLiteral("English"));
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Verdan"));
    WriteText(OptionsFileName(), "Options\n  Language File = langs/gone.local\n");
    InitialiseProgram({home, QString()});
    EXPECT_EQ(Local().Target.Name, QStringLiteral("Arabic"));
}
