#include "navigator/outline_fixture.h"
#include "navigator/tree_model.h"
#include "navigator/ui/apply_descendants_dialog.h"
#include "navigator/ui/edit_note_dialog.h"
#include "navigator/ui/person_option_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "storage/bookmark_store.h"
#include "storage/person_names.h"
#include "storage/person_option_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace verdan::test {
namespace {

// The outline's moves between persons and the commands on a person's own settings, in both reading
// directions.
class TreeFrameNavigationTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person("A", "Ali", "-1", "0", "m", 1);
        Person("B", "Bakr", "-1", "0", "m", 2);
        Person("H", "Hind", "-1", "0", "f", 3);
        Person("S", "Sami", "A", "H", "m", 1, 1);
        Person("G", "Ghazi", "S", "0", "m", 1);
        Marry("A", "H");
        Marry("B", "H");
        frame_ = std::make_unique<TframTree>();
        frame_->OpenTree(false);
        frame_->SetMirrored(GetParam());
        frame_->resize(420, 560);
        frame_->show();
        Settle();
    }
    void TearDown() override {
        frame_.reset();
        QApplication::setLayoutDirection(Qt::LeftToRight);
        OutlineTest::TearDown();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    void Select(const QString& id) {
        ASSERT_TRUE(frame_->LocatePerson(id));
        Settle();
    }
    QToolButton* Button(const char* name) {
        return frame_->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QMenu* Menu(const char* name) { return frame_->findChild<QMenu*>(QString::fromLatin1(name)); }
    // The entries a dynamic submenu offers once it opened.
    QStringList Entries(const char* name) {
        QMenu* menu = Menu(name);
        emit menu->aboutToShow();
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return texts;
    }
    // Runs `work` on the modal dialog of type T once it is open.
    template <typename T> static void WhenOpen(std::function<void(T*)> work) {
        QTimer::singleShot(0, [work] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            work(dialog);
        });
    }

    std::unique_ptr<TframTree> frame_;
};

TEST_P(TreeFrameNavigationTest, BackAndForwardWalkTheVisitedPersons) {
    QToolButton* back = Button("btHistPrevious");
    QToolButton* forward = Button("btHistNext");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(forward, nullptr);
    Select("A");
    Select("B");
    Select("B"); // a second move to the same person adds nothing
    Select("H");
    EXPECT_EQ(frame_->History().Entries().count(QStringLiteral("B")), 1);
    EXPECT_TRUE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    back->click();
    back->click();
    Settle();
    EXPECT_EQ(frame_->CurrentPersonId(), "A");
    // Going back does not add the persons it shows.
    const qsizetype entries = frame_->History().Entries().size();
    EXPECT_TRUE(forward->isEnabled());

    // A new move from A replaces B and keeps H beyond it.
    Select("S");
    EXPECT_EQ(frame_->History().Entries().size(), entries);
    QTest::keyClick(frame_->View(), Qt::Key_Right, Qt::AltModifier);
    Settle();
    EXPECT_EQ(frame_->CurrentPersonId(), "H");
    QTest::keyClick(frame_->View(), Qt::Key_Right, Qt::AltModifier); // at the last entry: stays
    EXPECT_EQ(frame_->CurrentPersonId(), "H");
    QTest::keyClick(frame_->View(), Qt::Key_Left, Qt::AltModifier);
    Settle();
    EXPECT_EQ(frame_->CurrentPersonId(), "S");

    // A person the user clicks is a visit as well.
    const QModelIndex bakr = frame_->Model()->FindPersonNode("B");
    QTest::mouseClick(frame_->View()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      frame_->View()->visualRect(bakr).center());
    Settle();
    ASSERT_EQ(frame_->CurrentPersonId(), "B");
    back->click();
    Settle();
    EXPECT_EQ(frame_->CurrentPersonId(), "S");

    // Emptying the outline drops the list; the buttons do nothing.
    frame_->ReloadTree(false);
    EXPECT_FALSE(frame_->History().IsActive());
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    frame_->HistoryBack();
    frame_->ReloadTree(true);
    EXPECT_TRUE(frame_->History().IsActive());
    // The new history starts at the person the outline opens on.
    EXPECT_EQ(frame_->History().Entries(), QStringList{frame_->CurrentPersonId()});
    Select("H");
    back->click();
    Settle();
    EXPECT_EQ(frame_->CurrentPersonId(), "A");
}

TEST_P(TreeFrameNavigationTest, MoveToAndSeparateTreeOfferTheRelatives) {
    Select("A");
    // A child of the root has no father to go to, only his wife.
    EXPECT_EQ(Entries("mnuLocate"), QStringList{"Wife: " + GetLineageName("H")});
    Select("H");
    EXPECT_EQ(Entries("mnuLocate"),
              (QStringList{"Husband: " + GetLineageName("A"), "Husband: " + GetLineageName("B")}));
    Select("S");
    const QStringList split = Entries("mnuSplitTree");
    EXPECT_EQ(split, (QStringList{GetLineageName("S"), "Father: " + GetLineageName("A"),
                                  "Mother: " + GetLineageName("H")}));

    // Each entry takes its own person: the mother in this outline, the father in a tree window.
    QSignalSpy windows(frame_.get(), &TframTree::TreeWindowWanted);
    Menu("mnuSplitTree")->actions().at(1)->trigger();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0][0].toString(), "A");
    Entries("mnuLocate");
    Menu("mnuLocate")->actions().at(1)->trigger();
    EXPECT_EQ(frame_->CurrentPersonId(), "H");

    // The root stands for nobody: only the placeholder, which does nothing.
    frame_->View()->setCurrentIndex(frame_->Model()->RootIndex());
    Settle();
    EXPECT_EQ(Entries("mnuSplitTree"), QStringList{"No person found (off)"});
}

TEST_P(TreeFrameNavigationTest, ApplyOnDescendantsAsksWhetherToOverwrite) {
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET last_name = 'Tamimi' WHERE person_id = 'A'"));
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET last_name = 'Own' WHERE person_id = 'G'"));
    Select("A");
    WhenOpen<Tfrm_Apply_To_Descendents>([](Tfrm_Apply_To_Descendents* dialog) {
        EXPECT_EQ(dialog->OnlyEmptyButton()->text(), "Apply only on persons with no value for Family Name.");
        EXPECT_EQ(dialog->layoutDirection(), QApplication::layoutDirection());
        dialog->OnlyEmptyButton()->setChecked(true);
        dialog->OkButton()->click();
    });
    frame_->ApplyToDescendants(TFamilyNameKind::LastName);
    EXPECT_EQ(Column("S", "last_name"), "Tamimi");
    EXPECT_EQ(Column("G", "last_name"), "Own");

    WhenOpen<Tfrm_Apply_To_Descendents>([](Tfrm_Apply_To_Descendents* dialog) {
        dialog->AllButton()->setChecked(true);
        dialog->reject();
    });
    frame_->ApplyToDescendants(TFamilyNameKind::LastName);
    EXPECT_EQ(Column("G", "last_name"), "Own"); // Cancel changes nothing

    WhenOpen<Tfrm_Apply_To_Descendents>([](Tfrm_Apply_To_Descendents* dialog) {
        dialog->AllButton()->setChecked(true);
        dialog->OkButton()->click();
    });
    frame_->ApplyToDescendants(TFamilyNameKind::LastName);
    EXPECT_EQ(Column("G", "last_name"), "Tamimi");
    EXPECT_TRUE(shown_.texts.isEmpty()) << shown_.texts.join(u'\n').toStdString();
}

TEST_P(TreeFrameNavigationTest, DisplayOptionsKeepTheStoredIconUnlessItIsChanged) {
    DisplayOptions("S", 13, 0x0000FF, "Sheikh");
    // An icon no entry stands for is kept as it is when the user leaves the box alone.
    DisplayOptions("G", 42, 0, "");
    Select("S");
    WhenOpen<TfrmPersonOption>([](TfrmPersonOption* dialog) {
        EXPECT_EQ(dialog->IconBox()->currentIndex(), 3);
        EXPECT_EQ(dialog->TitleBox()->currentText(), "Sheikh");
        dialog->HideNameBox()->setChecked(true);
        dialog->OkButton()->click();
    });
    frame_->EditDisplayOptions();
    TPersonOption option;
    ASSERT_TRUE(ReadPersonOption("S", option));
    EXPECT_EQ(option.icon_id, 13);
    EXPECT_TRUE(option.hide_name);
    EXPECT_EQ(option.color, 0x0000FF);
    EXPECT_EQ(frame_->Model()->Record(frame_->Model()->FindPersonNode("S"))->Title, "Sheikh");

    Select("G");
    WhenOpen<TfrmPersonOption>([](TfrmPersonOption* dialog) {
        EXPECT_EQ(dialog->IconBox()->currentIndex(), -1);
        dialog->DenyPublishBox()->setChecked(true);
        dialog->OkButton()->click();
    });
    frame_->EditDisplayOptions();
    ASSERT_TRUE(ReadPersonOption("G", option));
    EXPECT_EQ(option.icon_id, 42);
    EXPECT_TRUE(option.deny_publish);

    // A chosen entry replaces it; the first entry is the default picture.
    WhenOpen<TfrmPersonOption>([](TfrmPersonOption* dialog) {
        dialog->IconBox()->setCurrentIndex(0);
        dialog->OkButton()->click();
    });
    frame_->EditDisplayOptions();
    ASSERT_TRUE(ReadPersonOption("G", option));
    EXPECT_EQ(option.icon_id, 0);
}

TEST_P(TreeFrameNavigationTest, TheBookmarkNoteIsAddedChangedAndRemovedByEmptyingIt) {
    Select("S");
    const auto type = [](const QString& text) {
        WhenOpen<TfrmEditNote>([text](TfrmEditNote* dialog) {
            EXPECT_EQ(dialog->windowTitle(), GetLineageName("S"));
            dialog->NoteBox()->setPlainText(text);
            dialog->OkButton()->click();
        });
    };
    type("Ask about his land");
    frame_->EditBookmark();
    QString oid;
    QString note;
    ASSERT_TRUE(GetPersonBookmark("S", oid, note));
    EXPECT_EQ(note, "Ask about his land");

    type("Ask about his well");
    frame_->EditBookmark();
    QString sameOid;
    ASSERT_TRUE(GetPersonBookmark("S", sameOid, note));
    EXPECT_EQ(sameOid, oid);
    EXPECT_EQ(note, "Ask about his well");

    WhenOpen<TfrmEditNote>([](TfrmEditNote* dialog) {
        EXPECT_EQ(dialog->NoteBox()->toPlainText(), "Ask about his well");
        dialog->NoteBox()->setPlainText("changed");
        QTest::keyClick(dialog->NoteBox(), Qt::Key_Escape);
    });
    frame_->EditBookmark();
    EXPECT_EQ(GetPersonBookmarkNote("S"), "Ask about his well");

    type("  \n ");
    frame_->EditBookmark();
    EXPECT_TRUE(GetPersonBookmarkNote("S").isEmpty());
    TextTable bookmarks;
    ListBookmarks(bookmarks);
    EXPECT_EQ(bookmarks.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Directions, TreeFrameNavigationTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
