#include "common/testing.h"
#include "shell/help_pages.h"
#include "shell/recent_trees.h"
#include "shell/startup.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/welcome_page.h"
#include "shell_ui_testing.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class MainWindowLook : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
    }
    void TearDown() override {
        CloseTreeFile();
        HelpViewerProgram() = QStringLiteral("xdg-open");
        test::UseEnglish();
    }

    test::RecordedMessages messages_;
};

// Waits until `done` holds, or gives up after a while.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

} // namespace

// With no tree open and no recent trees the window greets the user with the ways to start, in the interface
// language, instead of a greyed-out form; opening a tree shows the outline and data sheet in its place.
TEST_F(MainWindowLook, WelcomePageStandsInForTheMissingTree) {
    for (const char* language : {"arabic.local", "english.local"}) {
        SetLanguage(QStringLiteral(":/langs/") + QString::fromLatin1(language));
        TfrmFamilyMain window;
        window.show();
        ASSERT_EQ(RecentTrees().Count(), 0);
        EXPECT_TRUE(window.ShowsWelcomePage());
        TframWelcome* welcome = window.WelcomePage();
        EXPECT_TRUE(welcome->isVisible());
        EXPECT_FALSE(window.TreeHost()->isVisible());
        for (QToolButton* button : {welcome->NewTreeButton(), welcome->OpenButton(), welcome->ImportButton(),
                                    welcome->SampleButton()}) {
            EXPECT_TRUE(button->isVisible());
            EXPECT_FALSE(button->icon().isNull());
            EXPECT_FALSE(button->text().isEmpty());
        }
        EXPECT_FALSE(welcome->RecentButton()->isVisible());
        EXPECT_EQ(welcome->OpenButton()->text(), Translate(QStringLiteral("Open tree file")));
        EXPECT_EQ(welcome->SampleButton()->text(), Translate(QStringLiteral("Open the sample family")));
        EXPECT_EQ(welcome->isRightToLeft(), QString::fromLatin1(language) == QStringLiteral("arabic.local"));
    }
    test::UseEnglish();

    TfrmFamilyMain window;
    window.show();
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    bool asked = false;
    window.ChooseTreeFile = [&](const QString&, const QString&) {
        asked = true;
        return path;
    };
    QTest::mouseClick(window.WelcomePage()->OpenButton(), Qt::LeftButton);
    EXPECT_TRUE(asked);
    ASSERT_TRUE(IsTreeOpen());
    EXPECT_FALSE(window.ShowsWelcomePage());
    EXPECT_TRUE(window.TreeHost()->isVisible());

    // Closing the tree brings the page back, now with the way to the recent trees.
    window.CloseCurrentTree();
    EXPECT_TRUE(window.ShowsWelcomePage());
    EXPECT_TRUE(window.WelcomePage()->RecentButton()->isVisible());
}

// The sample family is brought in once from the program's own copy and opened; later it is opened again.
TEST_F(MainWindowLook, SampleFamilyOpensFromTheWelcomePage) {
    TfrmFamilyMain window;
    window.show();
    QTest::mouseClick(window.WelcomePage()->SampleButton(), Qt::LeftButton);
    ASSERT_TRUE(IsTreeOpen()) << messages_.texts.join(u'\n').toStdString();
    const QString tree = CurrentTreePath();
    EXPECT_EQ(QFileInfo(tree).fileName(), QStringLiteral("sample-family.vrd"));
    EXPECT_GT(CountPersons(), 300);
    window.CloseCurrentTree();
    ASSERT_TRUE(window.OpenSampleFamily());
    EXPECT_EQ(CurrentTreePath(), tree);
    EXPECT_EQ(QDir(QFileInfo(tree).absolutePath() + QStringLiteral("/.."))
                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                  .size(),
              1);
}

// The title is the caption alone, the counters say what they count.
TEST_F(MainWindowLook, TitleAndLabelledCounters) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    window.show();
    ASSERT_TRUE(window.LoadTree(path));
    EXPECT_EQ(window.windowTitle(), ApplicationTitle() + QStringLiteral(" - Salem.vrd"));
    // Nothing names the program a second time behind the window's own caption.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 3"));
    auto* level = window.findChild<QLabel*>(QStringLiteral("lblLevel"));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->text(), QStringLiteral("Generation 1"));

    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    window.RefreshPersonCount();
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("الأشخاص: 3"));
}

// Help opens in the desktop's viewer; where the desktop has none, in the program's own help window.
// In Arabic every menu of the main window and every entry in them is reached by a letter with Alt, each
// letter once in its menu.
TEST_F(MainWindowLook, ArabicMenusAreReachedByLetters) {
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    TfrmFamilyMain window;
    const std::function<void(const QList<QAction*>&)> check = [&check](const QList<QAction*>& actions) {
        QSet<QString> letters;
        for (const QAction* action : actions) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QString letter = QKeySequence::mnemonic(action->text()).toString();
            EXPECT_FALSE(letter.isEmpty()) << action->text().toStdString();
            EXPECT_FALSE(letters.contains(letter)) << action->text().toStdString();
            letters.insert(letter);
            if (action->menu())
                check(action->menu()->actions());
        }
    };
    check(window.menuBar()->actions());
}

TEST_F(MainWindowLook, HelpFallsBackToTheProgramsWindow) {
    QDir().mkpath(ProgramFolder() + QStringLiteral("help"));
    QFile page(ProgramFolder() + QStringLiteral("help/keys.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Keys</title></head><body><p>F2 renames</p></body></html>");
    page.close();
    TfrmFamilyMain window;

    HelpViewerProgram() = QStringLiteral("true");
    ASSERT_TRUE(window.OpenHelp(QStringLiteral("keys.html")));
    QTest::qWait(200);
    EXPECT_EQ(window.HelpWindow(), nullptr);

    for (const char* opener : {"false", "/no/such/opener"}) {
        HelpViewerProgram() = QString::fromLatin1(opener);
        ASSERT_TRUE(window.OpenHelp(QStringLiteral("keys.html")));
        ASSERT_TRUE(WaitFor([&] { return window.HelpWindow() && window.HelpWindow()->isVisible(); }))
            << opener;
        EXPECT_TRUE(window.HelpWindow()->Browser()->toPlainText().contains(QStringLiteral("F2 renames")));
        EXPECT_EQ(window.HelpWindow()->windowTitle(), QStringLiteral("Keys"));
        window.HelpWindow()->close();
    }
    EXPECT_TRUE(messages_.texts.isEmpty());
}
