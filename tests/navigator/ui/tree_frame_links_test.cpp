#include "navigator/outline_fixture.h"
#include "navigator/tree_model.h"
#include "navigator/ui/add_chain_dialog.h"
#include "navigator/ui/add_person_dialog.h"
#include "navigator/ui/husband_wife_dialog.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/second_parent_dialog.h"
#include "navigator/ui/tree_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/person_path_tree.h"
#include "reports/ui/zel_grid.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

namespace verdan::test {
namespace {

const QString kFather = QStringLiteral("{30000000-0000-0000-0000-000000000001}");
const QString kSon = QStringLiteral("{30000000-0000-0000-0000-000000000002}");
const QString kWoman = QStringLiteral("{30000000-0000-0000-0000-000000000003}");
const QString kStray = QStringLiteral("{30000000-0000-0000-0000-000000000004}");

class TreeFrameLinksTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person(kFather, "Saleh", "-1", "0", "m", 1);
        Person(kSon, "Omar", kFather, "0", "m", 1);
        Person(kWoman, "Huda", "-1", "0", "f", 2);
        Person(kStray, "Misattached", "0", kFather, "m", 99, 1); // on the mother column of a man
        host_ = std::make_unique<QWidget>();
        host_->resize(420, 560);
        TLinkDialogs::Install(host_.get());
        frame_ = new TframTree(host_.get());
        frame_->resize(420, 560);
        frame_->SetMultiSelect(true);
        frame_->OpenTree(false);
        host_->show();
        host_->activateWindow();
        Settle();
    }
    void TearDown() override {
        host_.reset();
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
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame_->View(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }
    // Runs `work` on the modal dialog of type T once it is open.
    template <typename T> static void WhenOpen(std::function<void(T*)> work) {
        QTimer::singleShot(0, [work] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            work(dialog);
        });
    }
    QLineEdit* Editor() {
        for (QLineEdit* editor : frame_->View()->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
    // The popup's entries after it opened on the current node.
    QAction* Entry(const char* name) {
        if (auto* menu = frame_->findChild<QMenu*>(QString::fromLatin1(name)))
            return menu->menuAction();
        return frame_->findChild<QAction*>(QString::fromLatin1(name));
    }
    void OpenPopup() {
        const QRect rect = frame_->View()->visualRect(frame_->View()->currentIndex());
        emit frame_->View()->customContextMenuRequested(rect.center());
        Settle();
        frame_->findChild<QMenu*>("pmnuTree")->hide();
    }

    std::unique_ptr<QWidget> host_;
    TframTree* frame_ = nullptr;
};

TEST_P(TreeFrameLinksTest, F8AddsAWifeWhoIsOfferedAsMotherOfTheNextSon) {
    Select(kFather);
    WhenOpen<TfrmAddPerson>([](TfrmAddPerson* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Attach Wife");
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        dialog->NameEdit()->setText("Zainab");
        dialog->accept();
        // He has children: the couple's children are offered next.
        WhenOpen<TfrmHusbandWifeDialog>([](TfrmHusbandWifeDialog* couple) {
            EXPECT_EQ(couple->HusbandChildren()->count(), 1);
            couple->reject();
        });
    });
    QSignalSpy links(frame_, &TframTree::LinksChanged);
    Key(Qt::Key_F8);
    const QString wife = Dm().ScalarText("SELECT person_id FROM ftPerson WHERE person_name = 'Zainab'");
    ASSERT_FALSE(wife.isEmpty());
    EXPECT_TRUE(MarriageExists(kFather, wife));
    EXPECT_EQ(GetFatherId(wife), global_);
    EXPECT_EQ(links.size(), 1);
    EXPECT_EQ(shown_.texts.value(0), "This will attach Zainab as a wife.");

    // The next son: the label is open for his name and the wife is offered beside it.
    Select(kFather);
    Key(Qt::Key_Insert);
    const QString son = frame_->LastAddedId();
    Tfrm_ConfirmSecondParent* offer = TLinkDialogs::Instance()->SecondParent();
    ASSERT_TRUE(offer->isVisible());
    EXPECT_EQ(offer->ChildId(), son);
    EXPECT_EQ(offer->MateGrid()->Cells(1, 1), wife);
    EXPECT_NE(Editor(), nullptr);
    offer->accept();
    Settle();
    EXPECT_EQ(GetMotherId(son), wife);
}

TEST_P(TreeFrameLinksTest, ThePopupOffersTheLinksWhereTheyApply) {
    Select(kFather);
    OpenPopup();
    EXPECT_TRUE(Entry("mnuSetMate")->isEnabled());
    EXPECT_EQ(Entry("mnuSetMate")->text(), "Attach Wife");
    EXPECT_TRUE(Entry("mnuSetRelation")->isEnabled());
    EXPECT_FALSE(Entry("mnuSwitchParent")->isVisible());
    Select(kWoman);
    OpenPopup();
    EXPECT_EQ(Entry("mnuSetMate")->text(), "Attach Husband");

    // The child on the wrong column can have its parents switched.
    frame_->View()->expand(frame_->FindPersonNode(kFather));
    Select(kStray);
    OpenPopup();
    EXPECT_TRUE(Entry("mnuSwitchParent")->isVisible());
    Entry("mnuSwitchParent")->trigger();
    Settle();
    EXPECT_EQ(GetFatherId(kStray), kFather);
    EXPECT_EQ(GetMotherId(kStray), "0");

    Select(global_);
    OpenPopup();
    EXPECT_FALSE(Entry("mnuSetMate")->isEnabled());
    EXPECT_FALSE(Entry("mnuSetRelation")->isEnabled());

    // The root's Statistics counts the whole tree.
    frame_->View()->setCurrentIndex(frame_->Model()->RootIndex());
    Settle();
    OpenPopup();
    EXPECT_FALSE(Entry("mnuSetMate")->isEnabled());
    ASSERT_TRUE(Entry("mnuPersonInfo")->isEnabled());
    QSignalSpy statistics(frame_, &TframTree::StatisticsWanted);
    Entry("mnuPersonInfo")->trigger();
    ASSERT_EQ(statistics.size(), 1);
    EXPECT_EQ(statistics.front().front().toString(), "-1");
    frame_->SetReadOnly(true);
    EXPECT_FALSE(Entry("mnuSetMate")->isVisible());
    EXPECT_FALSE(Entry("mnuSetRelation")->isVisible());
}

TEST_P(TreeFrameLinksTest, AttachingAFatherFromThePickerMovesTheNode) {
    Person("{30000000-0000-0000-0000-000000000005}", "Other man", "-1", "0", "m", 3);
    frame_->ReloadTree(true);
    Select(kSon);
    WhenOpen<TfrmTreeDialog>([](TfrmTreeDialog* picker) {
        EXPECT_EQ(picker->windowTitle(), "Select Father");
        picker->Outline()->LocatePerson("{30000000-0000-0000-0000-000000000005}");
        picker->accept();
    });
    frame_->AttachFather();
    EXPECT_EQ(GetFatherId(kSon), "{30000000-0000-0000-0000-000000000005}");
    // The old father shows him no more; the new one does.
    const QModelIndex old = frame_->FindPersonNode(kFather);
    for (int row = 0; row < frame_->Model()->rowCount(old); ++row)
        EXPECT_NE(frame_->Model()->Record(frame_->Model()->index(row, 0, old))->PersonId, kSon);
    EXPECT_TRUE(frame_->LocatePerson(kSon));
    EXPECT_EQ(frame_->Model()->Record(frame_->FindPersonNode(kSon).parent())->PersonId,
              "{30000000-0000-0000-0000-000000000005}");

    // The father's son chosen for his own father: refused while the picker stays open, so another person
    // can be chosen at once; nothing moves.
    Select(kFather);
    WhenOpen<TfrmTreeDialog>([this](TfrmTreeDialog* picker) {
        picker->Outline()->LocatePerson(kSon);
        picker->accept();
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(shown_.texts.last().section(u'|', 0, 0), "A person can't become his own ancestor.");
        EXPECT_EQ(GetFatherId(kFather), "-1");
        picker->reject();
    });
    ASSERT_TRUE(SetFather(kSon, kFather));
    frame_->AttachFather();
    EXPECT_EQ(GetFatherId(kFather), "-1");
}

// The confirmation is asked over the open picker and names the person chosen with his lineage; No goes
// back to the picker, where the same search and another choice go on.
TEST_P(TreeFrameLinksTest, TheConfirmationIsAskedOverThePickerAndNoReturnsToIt) {
    Person("{30000000-0000-0000-0000-000000000005}", "Other man", "-1", "0", "m", 3);
    Person("{30000000-0000-0000-0000-000000000006}", "Omar", "{30000000-0000-0000-0000-000000000005}", "0",
           "m", 1);
    frame_->ReloadTree(true);
    Select(kSon);
    shown_.answer = IDYES; // he has a father: go on to the picker
    const int steps = UndoCount();
    bool asked = false;
    WhenOpen<TfrmTreeDialog>([&](TfrmTreeDialog* picker) {
        picker->Outline()->LocatePerson("{30000000-0000-0000-0000-000000000006}");
        shown_.answer = IDNO;
        picker->accept();
        asked = true;
        EXPECT_TRUE(picker->isVisible()) << "No goes back to the picker";
        EXPECT_TRUE(shown_.texts.last().contains(GetLineageName("{30000000-0000-0000-0000-000000000006}")));
        EXPECT_NE(GetLineageName("{30000000-0000-0000-0000-000000000006}"), "Omar");
        shown_.answer = IDYES;
        picker->accept();
    });
    frame_->AttachFather();
    EXPECT_TRUE(asked);
    EXPECT_EQ(GetFatherId(kSon), "{30000000-0000-0000-0000-000000000006}");
    EXPECT_EQ(UndoCount(), steps + 1) << "the answer No left no step behind";
}

TEST_P(TreeFrameLinksTest, TheChainEntrySelectsTheYoungest) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    Select(kSon);
    WhenOpen<TfrmAddChain>([](TfrmAddChain* dialog) {
        dialog->PathButton()->click();
        dialog->PathEdit()->setPlainText(QStringLiteral("محمد بن علي بن حسن"));
        dialog->accept();
    });
    frame_->AddChain();
    const QString youngest = frame_->CurrentPersonId();
    EXPECT_EQ(GetPersonName(youngest), "محمد");
    const QString ali = GetFatherId(youngest);
    EXPECT_EQ(GetPersonName(ali), "علي");
    EXPECT_EQ(GetPersonName(GetFatherId(ali)), "حسن");
    EXPECT_EQ(GetFatherId(GetFatherId(ali)), kSon);
    LoadLanguage(":/langs/english.local");
}

TEST_P(TreeFrameLinksTest, TheLineagePathOpensFromThePopupAndFollowsTheSelection) {
    frame_->View()->expand(frame_->FindPersonNode(kFather));
    Select(kSon);
    OpenPopup();
    ASSERT_TRUE(Entry("mnShowPersonPaths")->isEnabled());
    EXPECT_EQ(Entry("mnShowPersonPaths")->text(), "Show Lineage");
    EXPECT_EQ(TLinkDialogs::Instance()->PathWindowIfShown(), nullptr);
    Entry("mnShowPersonPaths")->trigger();
    Settle();
    TfrmPersonPathTree* path = TLinkDialogs::Instance()->PathWindowIfShown();
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->PersonId(), kSon);
    EXPECT_EQ(path->PathTree()->topLevelItem(0)->text(0), "Saleh");

    // While it is shown it follows the outline; closed, it is left alone.
    Select(kWoman);
    EXPECT_EQ(path->PersonId(), kWoman);
    Select(global_);
    EXPECT_EQ(path->PersonId(), kWoman);
    path->close();
    Select(kFather);
    EXPECT_EQ(path->PersonId(), kWoman);
}

INSTANTIATE_TEST_SUITE_P(Directions, TreeFrameLinksTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
