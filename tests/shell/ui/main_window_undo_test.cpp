#include "common/testing.h"
#include "datasheet/ui/data_sheet.h"
#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/marriages_window.h"
#include "reports/ui/name_search_box.h"
#include "reports/ui/zel_grid.h"
#include "shell/startup.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/person_texts_window.h"
#include "shell/ui/tree_window.h"
#include "shell_ui_testing.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

bool GridHolds(const TZelGrid* grid, const QString& text) {
    for (int row = 1; row < grid->RowCount(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
            if (StripBidiControls(grid->Cells(col, row)).contains(text))
                return true;
    return false;
}

// In Arabic (right to left) and in English.
class MainWindowUndoTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            SetLanguage(QStringLiteral(":/langs/arabic.local"));
        else
            test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
        window_ = std::make_unique<TfrmFamilyMain>();
        ASSERT_TRUE(window_->LoadTree(test::MakeTestTree(QStringLiteral("Undo"))));
        window_->resize(1000, 700);
        window_->show();
        ASSERT_TRUE(AddPerson(QStringLiteral("Saleh"), QStringLiteral("-1"), QStringLiteral("0"), father_,
                              QStringLiteral("m")));
        ASSERT_TRUE(
            AddPerson(QStringLiteral("Omar"), father_, QStringLiteral("0"), son_, QStringLiteral("m")));
        window_->TreeFrame()->ReloadTree(true);
        window_->RefreshPersonCount();
        ClearUndoLog();
    }
    void TearDown() override {
        window_.reset();
        CloseTreeFile();
        test::UseEnglish();
    }

    void Replay(bool undo) {
        QApplication::processEvents(); // the entries follow the steps from the event loop
        QAction* entry = undo ? window_->Menu()->mnuUndo : window_->Menu()->mnuRedo;
        ASSERT_TRUE(entry->isEnabled());
        entry->trigger();
        QApplication::processEvents();
    }
    QString Count() const { return StripBidiControls(window_->TotalLabel()->text()); }

    test::RecordedMessages messages_;
    std::unique_ptr<TfrmFamilyMain> window_;
    QString father_;
    QString son_;
};

TEST_P(MainWindowUndoTest, AReplayReadsEveryOpenWindowAndTheCountAgain) {
    TfrmRelationM* marriages = window_->MarriagesWindow();
    TfrmFamilyMain::Present(marriages);
    TfrmNotes* notes = window_->NotesWindow();
    TfrmFamilyMain::Present(notes);
    TfrmTreeWindow* other = window_->OpenTreeWindow(son_);
    ASSERT_NE(other, nullptr);
    window_->SearchBox()->SearchEdit()->setText(QStringLiteral("Huda"));
    window_->SearchBox()->Find();
    EXPECT_EQ(window_->SearchBox()->ResultCount(), 0);
    const QString before = Count();

    QString wife;
    {
        UndoStep step(QStringLiteral("Marry"), father_);
        ASSERT_TRUE(AddPerson(QStringLiteral("Huda"), QStringLiteral("-1"), QStringLiteral("0"), wife,
                              QStringLiteral("f")));
        ASSERT_TRUE(AddMarriage(father_, wife));
        ASSERT_TRUE(SetPersonNotes(son_, QStringLiteral("a note on Omar")));
    }
    QApplication::processEvents();
    // What the windows show was read before the step; the replays read it again.
    marriages->Refresh();
    notes->Refresh();
    window_->RefreshPersonCount();
    ASSERT_TRUE(GridHolds(marriages->Grid(), QStringLiteral("Huda")));
    ASSERT_TRUE(GridHolds(notes->Grid(), QStringLiteral("a note on Omar")));
    const QString after = Count();
    ASSERT_NE(before, after);

    Replay(true);
    EXPECT_FALSE(PersonExists(wife));
    EXPECT_FALSE(GridHolds(marriages->Grid(), QStringLiteral("Huda")));
    EXPECT_FALSE(GridHolds(notes->Grid(), QStringLiteral("a note on Omar")));
    EXPECT_EQ(Count(), before);
    EXPECT_EQ(window_->TreeFrame()->CurrentPersonId(), father_);
    EXPECT_EQ(other->TreeFrame()->CurrentPersonId(), son_) << "the tree window stays at its person";

    Replay(false);
    EXPECT_TRUE(GridHolds(marriages->Grid(), QStringLiteral("Huda")));
    EXPECT_TRUE(GridHolds(notes->Grid(), QStringLiteral("a note on Omar")));
    EXPECT_EQ(Count(), after);
    // The search of the box is made again, without taking the keyboard from where it was.
    EXPECT_EQ(window_->SearchBox()->ResultCount(), 1);
    EXPECT_TRUE(other->TreeFrame()->Model()->FindPersonNode(wife).isValid());
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

TEST_P(MainWindowUndoTest, WhenTheStepsPersonIsGoneTheOutlineGoesToHisFather) {
    TframTree* outline = window_->TreeFrame();
    ASSERT_TRUE(outline->LocatePerson(son_));
    outline->DeleteSelected(false);
    ASSERT_FALSE(PersonExists(son_));
    Replay(true);
    EXPECT_EQ(outline->CurrentPersonId(), son_);
    // Another person shown before the redo: the deleted person's father is shown, not the first one.
    ASSERT_TRUE(outline->LocatePerson(son_));
    Replay(false);
    EXPECT_FALSE(PersonExists(son_));
    EXPECT_EQ(outline->CurrentPersonId(), father_);

    // An undone add, of a child of a woman without a father in the tree: the mother.
    QString mother;
    QString child;
    ASSERT_TRUE(AddPerson(QStringLiteral("Maryam"), QStringLiteral("-1"), QStringLiteral("0"), mother,
                          QStringLiteral("f")));
    {
        UndoStep step(QStringLiteral("Add"));
        ASSERT_TRUE(
            AddPerson(QStringLiteral("Ali"), QStringLiteral("0"), mother, child, QStringLiteral("m")));
    }
    outline->ReloadTree(true);
    ASSERT_TRUE(outline->LocatePerson(child));
    Replay(true);
    EXPECT_FALSE(PersonExists(child));
    EXPECT_EQ(outline->CurrentPersonId(), mother);
}

TEST_P(MainWindowUndoTest, OpeningMendsTheGroupOutsideTheTreeWithoutAStepAndUndoKeepsTyping) {
    // A tree whose group outside the tree was moved under a person: opening puts it back, and that is
    // no step, so a first Ctrl+Z cannot move the group again.
    const QString outside = GetGlobalParentId();
    ASSERT_TRUE(SetFather(outside, father_));
    ClearUndoLog();
    window_->statusBar()->clearMessage();
    const QString path = CurrentTreePath();
    ASSERT_TRUE(window_->LoadTree(path));
    EXPECT_EQ(GetFatherId(outside), QStringLiteral("-1"));
    QApplication::processEvents();
    EXPECT_FALSE(CanUndo());
    EXPECT_FALSE(window_->Menu()->mnuUndo->isEnabled());
    EXPECT_FALSE(window_->statusBar()->currentMessage().contains(
        Translate(QStringLiteral("The changes made before can no longer be undone."))))
        << window_->statusBar()->currentMessage().toStdString();

    // Typing not yet written is a step of the sheet's own, named by its section, undone first.
    {
        UndoStep step(QStringLiteral("Earlier"));
        QString other;
        ASSERT_TRUE(AddPerson(QStringLiteral("Hind"), QStringLiteral("-1"), QStringLiteral("0"), other,
                              QStringLiteral("f")));
    }
    ASSERT_TRUE(window_->TreeFrame()->LocatePerson(son_));
    TframDataSheet* sheet = window_->DataSheet();
    sheet->LoadPerson(son_);
    auto* cognomen = sheet->findChild<QLineEdit*>(QStringLiteral("txtCognomen"));
    ASSERT_NE(cognomen, nullptr);
    cognomen->setFocus();
    QTest::keyClicks(cognomen, QStringLiteral("Abu Ali"));
    ASSERT_TRUE(sheet->HasPendingEdits());
    Replay(true);
    EXPECT_FALSE(sheet->HasPendingEdits());
    EXPECT_EQ(RedoDescription(), StepText("Edit the names of «%*»", {son_}));
    Replay(false);
    EXPECT_EQ(sheet->findChild<QLineEdit*>(QStringLiteral("txtCognomen"))->text(), QStringLiteral("Abu Ali"));
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Directions, MainWindowUndoTest, ::testing::Bool());

} // namespace
