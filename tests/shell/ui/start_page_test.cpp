#include "common/testing.h"
#include "reports/ui/zel_grid.h"
#include "shell/recent_trees.h"
#include "shell/ui/new_tree_dialog.h"
#include "shell/ui/start_page.h"
#include "shell_ui_testing.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder whose list holds an existing tree without names and a tree whose file is gone.
class StartPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        present_ = ProgramFolder() + QStringLiteral("data/a/a.vrd");
        missing_ = ProgramFolder() + QStringLiteral("data/b/b.vrd");
        WriteBytes(present_, "x");
        stored_ = "\t\t" + present_.toUtf8() + "\t\r\nB tree\tOwner\t" + missing_.toUtf8() + "\t1/1/24\r\n";
        WriteBytes(RecentTreesFileName(), stored_);
        RecentTrees().Reload();
        page_.OpenTree = [this](const QString& path) {
            opened_ << path;
            return true;
        };
    }

    void Key(int key, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(page_.Grid(), &press);
    }

    QString present_;
    QString missing_;
    QByteArray stored_;
    QStringList opened_;
    Tfrm_Start_Page page_;
};

} // namespace

// A tree's date reads in the interface language, whatever the system's own language is.
TEST_F(StartPageTest, DatesReadInTheInterfaceLanguage) {
    WriteBytes(RecentTreesFileName(), "Tree\tOwner\t" + present_.toUtf8() + "\t2024-03-11\r\n");
    RecentTrees().Reload();
    page_.show();
    EXPECT_EQ(page_.Grid()->Cells(4, 1), QStringLiteral("11 March 2024"));
    page_.close();
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    page_.show();
    EXPECT_EQ(page_.Grid()->Cells(4, 1), QStringLiteral("11 مارس 2024"));
    page_.close();
    test::UseEnglish();
}

TEST_F(StartPageTest, ShowsTheListDecoratedOnlyOnThePage) {
    page_.show();
    TZelGrid* grid = page_.Grid();
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("  Untitled  "));
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("Not specified"));
    EXPECT_EQ(grid->Cells(0, 1), QString());
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("  B tree  "));
    EXPECT_EQ(grid->Cells(0, 2), QStringLiteral("1"));
    EXPECT_EQ(grid->Cells(4, 2), QStringLiteral("1/1/24"));
    EXPECT_EQ(grid->ColWidth(3), 0);
    EXPECT_EQ(page_.PathText(), QDir::toNativeSeparators(present_));
    grid->SetCurrentCell(1, 2);
    EXPECT_EQ(page_.PathText(), QDir::toNativeSeparators(missing_));

    // Closing the page and recording another tree keep the stored texts as they were.
    page_.close();
    EXPECT_EQ(ReadBytes(RecentTreesFileName()), stored_);
    TTreeProperty props;
    props.BasePath = ProgramFolder() + QStringLiteral("data/c.vrd");
    RecordRecentTree(props);
    const QByteArray saved = ReadBytes(RecentTreesFileName());
    EXPECT_TRUE(saved.endsWith(stored_)) << saved.toStdString();
    EXPECT_FALSE(saved.contains("Untitled"));
    // The page follows the list while it is shown.
    page_.show();
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("  Untitled  "));
    EXPECT_EQ(grid->Cells(3, 1), props.BasePath);
}

// Trees of one name are told apart by their folders; a folder in the home folder reads from "~".
TEST_F(StartPageTest, EachTreeShowsItsFolder) {
    const QString home = QDir::homePath();
    WriteBytes(RecentTreesFileName(), "Family\tOwner\t" + present_.toUtf8() + "\t\r\nFamily\tOwner\t" +
                                          (home + QStringLiteral("/trees/copy/family.vrd")).toUtf8() +
                                          "\t\r\n");
    RecentTrees().Reload();
    page_.show();
    TZelGrid* grid = page_.Grid();
    EXPECT_EQ(grid->Cells(5, 0), QStringLiteral("Folder"));
    EXPECT_EQ(grid->Cells(5, 1), QDir::toNativeSeparators(QFileInfo(present_).absolutePath()));
    EXPECT_EQ(grid->Cells(5, 2), QDir::toNativeSeparators(QStringLiteral("~/trees/copy")));
    EXPECT_GT(grid->ColWidth(5), 0);
    page_.close();
}

TEST_F(StartPageTest, ChoosingATreeMarksThePageBusyUntilItIsShownAgain) {
    test::RecordedMessages messages;
    page_.show();
    Key(Qt::Key_Return);
    EXPECT_EQ(opened_, QStringList{present_});
    EXPECT_TRUE(page_.IsBusy());
    EXPECT_FALSE(page_.isVisible());
    page_.OpenRow(1);
    EXPECT_EQ(opened_.size(), 1);

    page_.show();
    EXPECT_FALSE(page_.IsBusy());
    Key(Qt::Key_Enter);
    EXPECT_EQ(opened_.size(), 2);

    // A tree whose file is gone is reported and the page stays.
    page_.show();
    page_.OpenRow(2);
    EXPECT_EQ(opened_.size(), 2);
    EXPECT_FALSE(page_.IsBusy());
    EXPECT_TRUE(page_.isVisible());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(QStringLiteral("File not found.|")));
}

TEST_F(StartPageTest, RemovingARowNeedsAnExplicitOk) {
    test::RecordedMessages messages(IDCANCEL);
    page_.show();
    page_.Grid()->SetCurrentCell(1, 2);
    Key(Qt::Key_Period, QStringLiteral("."));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("\"B tree\"")));
    EXPECT_EQ(RecentTrees().Count(), 2);

    messages.SetAnswer(IDNO); // not a button of the question: the refusal it gets keeps the row
    page_.RemoveRow(2);
    EXPECT_EQ(RecentTrees().Count(), 2);

    messages.SetAnswer(IDOK);
    Key(Qt::Key_Period, QStringLiteral("."));
    ASSERT_EQ(RecentTrees().Count(), 1);
    EXPECT_EQ(page_.Grid()->RowCount(), 2);
    EXPECT_EQ(TRecentTrees::Parse(ReadBytes(RecentTreesFileName())), RecentTrees().Items());
    EXPECT_EQ(RecentTrees().Items()[0].File, present_);
}

TEST(NewTreeDialog, OkNeedsNamesAndTakesAFreshFreeName) {
    test::RecordedMessages messages;
    test::UseEnglish();
    SetProgramFolder(test::NewTempDir());
    const QString home = test::NewTempDir();
    Options().LastCreatedLocation = home;
    Tfrm_NewTree dialog;
    dialog.show();
    EXPECT_EQ(dialog.TreeNameEdit()->text(), QStringLiteral("Tree Project"));
    EXPECT_EQ(dialog.FolderEdit()->text(), QStringLiteral("Tree Project"));
    EXPECT_EQ(dialog.FileNameEdit()->text(), QStringLiteral("Tree Project.vrd"));
    EXPECT_EQ(dialog.LocationEdit()->text(), QDir::toNativeSeparators(home));
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    QTest::keyClicks(dialog.OwnerEdit(), QStringLiteral("Ali"));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.TreeNameEdit()->selectAll();
    QTest::keyClick(dialog.TreeNameEdit(), Qt::Key_Delete);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.FileNameEdit()->text(), QString());
    QTest::keyClicks(dialog.TreeNameEdit(), QStringLiteral("Salem"));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.FolderEdit()->text(), QStringLiteral("Salem"));
    EXPECT_EQ(dialog.PathEdit()->text(), QDir::toNativeSeparators(home + QStringLiteral("/Salem/Salem.vrd")));

    // A folder typed by hand stops following the tree name.
    dialog.FolderEdit()->selectAll();
    QTest::keyClicks(dialog.FolderEdit(), QStringLiteral("Trees"));
    QTest::keyClicks(dialog.TreeNameEdit(), QStringLiteral(" family"));
    EXPECT_EQ(dialog.FolderEdit()->text(), QStringLiteral("Trees"));
    EXPECT_EQ(dialog.FileNameEdit()->text(), QStringLiteral("Trees.vrd"));

    // The file appears after the path was shown: OK takes the next free name.
    WriteBytes(home + QStringLiteral("/Trees/Trees.vrd"), "x");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result().FileName, QStringLiteral("Trees-1.vrd"));
    EXPECT_EQ(dialog.Result().TreeName, QStringLiteral("Salem family"));
    EXPECT_EQ(dialog.Result().OwnerName, QStringLiteral("Ali"));
    EXPECT_EQ(Options().LastCreatedLocation, home);
    EXPECT_TRUE(messages.texts.isEmpty());

    // A location that does not exist is refused with a warning and the dialog stays.
    dialog.show();
    EXPECT_TRUE(dialog.Result().FileName.isEmpty());
    QTest::keyClicks(dialog.OwnerEdit(), QStringLiteral("Ali"));
    dialog.LocationEdit()->setText(home + QStringLiteral("/missing"));
    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], QStringLiteral("Invalid path name."));
    dialog.reject();
}
