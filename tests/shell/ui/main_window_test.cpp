#include "common/fake_keyboard.h"
#include "common/testing.h"
#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "shell/recent_trees.h"
#include "shell/startup.h"
#include "shell/ui/main_window.h"
#include "shell/ui/new_tree_dialog.h"
#include "shell/ui/start_page.h"
#include "shell_ui_testing.h"
#include "storage/name_index.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
    }
    void TearDown() override { CloseTreeFile(); }

    QString MakeTree(const QString& name) { return test::MakeTestTree(name); }

    test::RecordedMessages messages_;
};

} // namespace

TEST_F(MainWindowTest, LoadTreeTellsWhetherTheTreeIsOpen) {
    const QString path = MakeTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    QSignalSpy opened(&window, &TfrmFamilyMain::TreeOpened);
    QSignalSpy closed(&window, &TfrmFamilyMain::TreeClosed);
    EXPECT_FALSE(window.TreeHost()->isEnabled());

    TTreeProperty props;
    ASSERT_TRUE(window.LoadTree(path, false, props));
    EXPECT_EQ(CurrentTreePath(), path);
    EXPECT_EQ(props.TreeName, QStringLiteral("Salem"));
    EXPECT_EQ(opened.count(), 1);
    EXPECT_TRUE(window.TreeHost()->isEnabled());
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" - Salem.vrd")));
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 3"));
    EXPECT_EQ(Options().LastOpenedProject, path);
    EXPECT_TRUE(name_index::IsReading()) << "the names are read ahead of the first search";
    ASSERT_TRUE(name_index::Sync());
    EXPECT_FALSE(name_index::Rows().empty());
    ASSERT_EQ(RecentTrees().Count(), 1);
    EXPECT_EQ(RecentTrees().Items()[0], (TRecentTree{QStringLiteral("Salem"), QStringLiteral("Owner"), path,
                                                     RecentTrees().Items()[0].LastModified}));

    // A blank path and a missing file leave the open tree alone.
    EXPECT_FALSE(window.LoadTree(QStringLiteral(" ")));
    EXPECT_FALSE(window.LoadTree(path + QStringLiteral(".gone")));
    EXPECT_EQ(CurrentTreePath(), path);
    EXPECT_TRUE(IsTreeOpen());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].startsWith(QStringLiteral("File not found.|")));

    // A file that is no tree is named, and the current tree stays open as it was.
    const QString bad = ProgramFolder() + QStringLiteral("data/bad.vrd");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a tree");
    file.close();
    EXPECT_FALSE(window.LoadTree(bad));
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_EQ(CurrentTreePath(), path);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window.TreeHost()->isEnabled());
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 3"));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" - Salem.vrd")));
    ASSERT_EQ(messages_.texts.size(), 2);
    EXPECT_TRUE(messages_.texts[1].startsWith(QStringLiteral("This file is not a tree file.|")));
    EXPECT_EQ(RecentTrees().Count(), 1);
}

// The outline shows the open tree, is emptied with it, and comes back at the person shown last.
TEST_F(MainWindowTest, OutlineFollowsTheOpenTree) {
    const QString salem = MakeTree(QStringLiteral("Salem"));
    const QString other = MakeTree(QStringLiteral("Other"));
    TfrmFamilyMain window;
    TframTree* outline = window.TreeFrame();
    ASSERT_TRUE(window.LoadTree(salem));
    const QModelIndex root = outline->Model()->RootIndex();
    ASSERT_EQ(outline->Model()->rowCount(root), 2); // the family group and the outside-the-tree group
    const QModelIndex group = outline->Model()->index(0, 0, root);
    EXPECT_EQ(outline->View()->currentIndex(), group);
    outline->Model()->ExpandPersonNode(group);
    ASSERT_EQ(outline->Model()->rowCount(group), 1);
    outline->View()->setCurrentIndex(outline->Model()->index(0, 0, group));
    const QString person = outline->CurrentPersonId();
    ASSERT_FALSE(person.isEmpty());

    ASSERT_TRUE(window.LoadTree(other));
    EXPECT_NE(outline->CurrentPersonId(), person);
    ASSERT_TRUE(window.LoadTree(salem));
    EXPECT_EQ(outline->CurrentPersonId(), person);

    window.CloseCurrentTree();
    EXPECT_EQ(outline->Model()->rowCount(outline->Model()->RootIndex()), 0);
    EXPECT_TRUE(outline->CurrentPersonId().isEmpty());
}

TEST_F(MainWindowTest, NewTreeIsCreatedBesideOthersAndOpened) {
    TfrmFamilyMain window;
    const auto createWithOwner = [&window] {
        bool created = false;
        EXPECT_TRUE(test::WithModal([&] { created = window.NewTreeCommand(); },
                                    [](QWidget* modal) {
                                        auto* dialog = qobject_cast<Tfrm_NewTree*>(modal);
                                        ASSERT_NE(dialog, nullptr);
                                        QTest::keyClicks(dialog->OwnerEdit(), QStringLiteral("Ali"));
                                        dialog->OkButton()->click();
                                    }));
        return created;
    };
    ASSERT_TRUE(createWithOwner());
    const QString first = ProgramFolder() + QStringLiteral("data/Tree Project/Tree Project.vrd");
    EXPECT_EQ(CurrentTreePath(), first);
    EXPECT_TRUE(QDir(ProgramFolder() + QStringLiteral("data/Tree Project/photos")).exists());
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 3"));
    EXPECT_EQ(GetTreeName(), QStringLiteral("Tree Project"));
    EXPECT_EQ(GetOwnerName(), QStringLiteral("Ali"));

    // The same names again make a second file; the first one is kept.
    const qint64 firstSize = QFileInfo(first).size();
    ASSERT_TRUE(createWithOwner());
    EXPECT_EQ(CurrentTreePath(), ProgramFolder() + QStringLiteral("data/Tree Project/Tree Project-1.vrd"));
    EXPECT_EQ(QFileInfo(first).size(), firstSize);
    EXPECT_EQ(RecentTrees().Count(), 2);

    // Cancelling creates nothing and keeps the open tree.
    bool created = true;
    EXPECT_TRUE(test::WithModal([&] { created = window.NewTreeCommand(); },
                                [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }));
    EXPECT_FALSE(created);
    EXPECT_TRUE(CurrentTreePath().endsWith(QStringLiteral("Tree Project-1.vrd")));
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

TEST_F(MainWindowTest, OpenCommandRefusesTheTemplateFile) {
    const QString path = MakeTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    QString chosen;
    QString startFolder;
    window.ChooseTreeFile = [&](const QString&, const QString& folder) {
        startFolder = folder;
        return chosen;
    };
    EXPECT_FALSE(window.OpenTreeDialog());
    EXPECT_EQ(startFolder, ProgramFolder() + QStringLiteral("data"));
    chosen = QFileInfo(path).absolutePath() + QStringLiteral("/TEMPLATE.vrd");
    EXPECT_FALSE(window.OpenTreeDialog());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_EQ(messages_.texts[0], QStringLiteral("Internal application file. Please choose another file."));
    chosen = path;
    EXPECT_TRUE(window.OpenTreeDialog());
    EXPECT_TRUE(window.OpenTreeDialog()); // the open tree again
    EXPECT_EQ(startFolder, QFileInfo(path).absolutePath());
}

TEST_F(MainWindowTest, StartUpOpensTheNamedTreeTheLastTreeOrTheStartPage) {
    const QString named = MakeTree(QStringLiteral("Named"));
    const QString last = MakeTree(QStringLiteral("Last"));
    TTreeProperty props;
    props.BasePath = last;
    RecordRecentTree(props);
    Options().OpenLastTreeOnStartup = true;
    Options().LastOpenedProject = last;
    {
        TfrmFamilyMain window;
        window.StartUp(QUrl::fromLocalFile(named).toString());
        EXPECT_EQ(CurrentTreePath(), named);
        window.close();
    }
    Options().LastOpenedProject = last;
    {
        TfrmFamilyMain window;
        window.StartUp(QString());
        EXPECT_EQ(CurrentTreePath(), last);
        window.close();
    }
    // The remembered tree is gone: the start page lists the others.
    QFile::remove(last);
    {
        TfrmFamilyMain window;
        int rows = 0;
        EXPECT_TRUE(test::WithModal([&] { window.StartUp(QString()); },
                                    [&rows](QWidget* modal) {
                                        auto* page = qobject_cast<Tfrm_Start_Page*>(modal);
                                        ASSERT_NE(page, nullptr);
                                        rows = RecentTrees().Count();
                                        page->reject();
                                    }));
        EXPECT_EQ(rows, 2);
        EXPECT_FALSE(IsTreeOpen());
    }
}

// Shown, the main window switches the keyboard to the interface language's layout and to another language's
// when the interface changes; closed, it gives back the layout the user had. A desktop without that
// layout keeps its own.
TEST_F(MainWindowTest, TheKeyboardFollowsTheInterfaceWhileTheWindowIsOpen) {
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    {
        test::TFakeKeyboardGroups desktop({test::kUsLayout, test::kArabicLayout});
        TfrmFamilyMain window;
        window.show();
        EXPECT_EQ(desktop.CurrentName(), QStringLiteral("Arabic"));
        SetLanguage(QStringLiteral(":/langs/english.local"));
        QApplication::processEvents();
        EXPECT_EQ(desktop.CurrentName(), QStringLiteral("English (US)"));
        SetLanguage(QStringLiteral(":/langs/arabic.local"));
        QApplication::processEvents();
        EXPECT_EQ(desktop.CurrentName(), QStringLiteral("Arabic"));
        window.close();
        EXPECT_EQ(desktop.CurrentName(), QStringLiteral("English (US)"));
    }
    {
        test::TFakeKeyboardGroups desktop({test::kUsLayout, test::kFrenchLayout}, 1);
        TfrmFamilyMain window;
        window.show();
        window.close();
        EXPECT_EQ(desktop.switches, 0);
    }
    test::UseEnglish();
}
