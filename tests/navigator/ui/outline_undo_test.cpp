#include "navigator/tree_model.h"
#include "navigator/ui/add_chain_dialog.h"
#include "navigator/ui/add_children_dialog.h"
#include "navigator/ui/add_person_dialog.h"
#include "navigator/ui/apply_descendants_dialog.h"
#include "navigator/ui/edit_note_dialog.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/person_option_dialog.h"
#include "navigator/ui/second_parent_dialog.h"
#include "navigator/ui/tree_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "outline_frame_fixture.h"
#include "storage/tree_rows.h"
#include "storage/undo_log.h"
#include "text/localisation.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

namespace verdan::test {
namespace {

const QString kFather = QStringLiteral("{50000000-0000-0000-0000-000000000001}");
const QString kWife = QStringLiteral("{50000000-0000-0000-0000-000000000002}");
const QString kSon = QStringLiteral("{50000000-0000-0000-0000-000000000003}");
const QString kDaughter = QStringLiteral("{50000000-0000-0000-0000-000000000004}");
const QString kOther = QStringLiteral("{50000000-0000-0000-0000-000000000005}");
const QString kWoman = QStringLiteral("{50000000-0000-0000-0000-000000000006}");
const QString kStray = QStringLiteral("{50000000-0000-0000-0000-000000000007}");
const QString kGrandson = QStringLiteral("{50000000-0000-0000-0000-000000000008}");
const QString kBachelor = QStringLiteral("{50000000-0000-0000-0000-000000000009}");

class OutlineUndoTest;

struct TOutlineCommand {
    const char* name;
    std::function<void(OutlineUndoTest&)> run;
    int steps = 1; // a name typed into a new person's label is a step of its own
};

// Every outline command once on a small tree: the command is one step, Undo gives every table back as it
// was before it and Redo as it was after.
class OutlineUndoTest : public OutlineFrameTest, public ::testing::WithParamInterface<TOutlineCommand> {
public:
    void SetUp() override {
        OutlineFrameTest::SetUp();
        Person(kFather, "Saleh", "-1", "0", "m", 1);
        Person(kWife, "Zainab", "-1", "0", "f", 2);
        Marry(kFather, kWife);
        Person(kSon, "Omar", kFather, kWife, "m", 1, 1);
        Person(kDaughter, "Huda", kFather, kWife, "f", 2, 2);
        Person(kGrandson, "Ali", kSon, "0", "m", 1);
        Person(kOther, "Khalid", "-1", "0", "m", 3);
        Person(kWoman, "Maryam", "-1", "0", "f", 4);
        Person(kStray, "Misattached", "0", kOther, "m", 99, 1); // on the mother column of a man
        Person(kBachelor, "Yasir", "-1", "0", "m", 5);
        ASSERT_GE(
            Dm().Execute(QStringLiteral("UPDATE ftPerson SET family_name = 'Tamimi' WHERE person_id = ?"),
                         kFather),
            1);
        OpenFrame(420, 600, true);
    }
    void AlsoSelect(const QString& id) {
        frame_->View()->selectionModel()->select(frame_->FindPersonNode(id), QItemSelectionModel::Select);
    }
    // Runs `work` on the modal dialog of type T once it is open.
    template <typename T> static void WhenOpen(std::function<void(T*)> work) {
        QTimer::singleShot(0, [work] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            work(dialog);
        });
    }
    // Confirms the label editor a command opened, with a name typed or as it was offered.
    void FinishLabel(const QString& name = QString()) {
        for (QLineEdit* editor : frame_->View()->viewport()->findChildren<QLineEdit*>()) {
            if (!editor->isVisible())
                continue;
            if (!name.isEmpty()) {
                editor->selectAll();
                QTest::keyClicks(editor, name);
            }
            QTest::keyClick(editor, Qt::Key_Return);
        }
        // The mother offered for a new child is declined: that is a command of its own.
        if (Tfrm_ConfirmSecondParent* offer = TLinkDialogs::Instance()->SecondParent(); offer->isVisible())
            offer->reject();
        Settle();
    }
    // Picks the person in the picker that opens next.
    static void PickNext(const QString& id) {
        WhenOpen<TfrmTreeDialog>([id](TfrmTreeDialog* picker) {
            ASSERT_TRUE(picker->Outline()->LocatePerson(id));
            picker->accept();
        });
    }
    // Drags the selected persons onto the target, with the keys held.
    void DragOnto(const QString& targetId, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMimeData* mime = frame_->DragData();
        ASSERT_NE(mime, nullptr);
        const std::unique_ptr<QMimeData> owned(mime);
        const QModelIndex target = frame_->Model()->LocatePerson(targetId);
        ASSERT_TRUE(target.isValid());
        for (QModelIndex up = target.parent(); up.isValid(); up = up.parent())
            frame_->View()->expand(up);
        frame_->View()->scrollTo(target);
        Settle();
        const QPoint point = frame_->View()->visualRect(target).center();
        QDragEnterEvent enter(point, Qt::MoveAction, mime, Qt::LeftButton, keys);
        QApplication::sendEvent(frame_->View()->viewport(), &enter);
        QDropEvent drop(point, Qt::MoveAction, mime, Qt::LeftButton, keys);
        QApplication::sendEvent(frame_->View()->viewport(), &drop);
        Settle();
    }
};

// The first table, row and values where two copies of the tree differ.
std::string Difference(const TreeRows& expected, const TreeRows& actual) {
    for (const auto& [table, rows] : expected) {
        const QStringList other = actual.count(table) ? actual.at(table) : QStringList();
        for (qsizetype i = 0; i < std::max(rows.size(), other.size()); ++i)
            if (rows.value(i) != other.value(i))
                return (table + QStringLiteral(": expected ") + rows.value(i) + QStringLiteral(", found ") +
                        other.value(i))
                    .toStdString();
    }
    return expected.size() == actual.size() ? std::string() : "the tables differ";
}

TEST_P(OutlineUndoTest, UndoGivesTheTablesBackAndRedoMakesTheCommandAgain) {
    const TreeRows before = ReadAllRows();
    const int steps = UndoCount();
    GetParam().run(*this);
    const TreeRows after = ReadAllRows();
    ASSERT_FALSE(after == before) << "the command wrote nothing";
    EXPECT_EQ(UndoCount(), steps + GetParam().steps);
    for (int i = 0; i < GetParam().steps; ++i)
        ASSERT_TRUE(Undo());
    EXPECT_TRUE(ReadAllRows() == before) << Difference(before, ReadAllRows());
    for (int i = 0; i < GetParam().steps; ++i)
        ASSERT_TRUE(Redo());
    EXPECT_TRUE(ReadAllRows() == after) << Difference(after, ReadAllRows());
    // The outline can show the tree as the replays left it.
    frame_->ReloadTree(true);
    EXPECT_TRUE(frame_->LocatePerson(kWife));
}

const TOutlineCommand kCommands[] = {
    {"InsertSon",
     [](OutlineUndoTest& t) {
         t.Select(kFather);
         QTest::keyClick(t.frame_->View(), Qt::Key_Insert);
         t.FinishLabel();
     }},
    {"AddDaughterNamedInPlace",
     [](OutlineUndoTest& t) {
         t.Select(kOther);
         t.frame_->AddChildPerson(QStringLiteral("f"));
         t.FinishLabel(QStringLiteral("Fatima"));
     },
     2},
    {"AddSonWithHisMother",
     [](OutlineUndoTest& t) {
         t.Select(kFather);
         t.frame_->AddChildWithParent(kWife, QStringLiteral("m"));
         t.FinishLabel();
     }},
    {"AddGroup",
     [](OutlineUndoTest& t) {
         t.Select(kOther);
         t.frame_->AddGroup();
         t.FinishLabel();
     }},
    {"InsertFather",
     [](OutlineUndoTest& t) {
         t.Select(kSon);
         t.frame_->AddFatherToCurrent();
         t.FinishLabel();
     }},
    {"Rename",
     [](OutlineUndoTest& t) {
         t.Select(kSon);
         t.frame_->EditCurrentName();
         t.FinishLabel(QStringLiteral("Hasan"));
     }},
    {"Delete",
     [](OutlineUndoTest& t) {
         t.Select(kGrandson);
         t.frame_->DeleteSelected(false);
     }},
    {"DeleteAMarriedFather",
     [](OutlineUndoTest& t) {
         t.Select(kFather);
         t.frame_->DeleteSelected(false);
     }},
    {"DeleteSeveral",
     [](OutlineUndoTest& t) {
         t.Select(kDaughter);
         t.AlsoSelect(kOther);
         t.frame_->DeleteSelected(false);
     }},
    {"MakeAWoman",
     [](OutlineUndoTest& t) {
         t.Select(kOther);
         t.frame_->SetCurrentFemale();
     }},
    {"MakeAMan",
     [](OutlineUndoTest& t) {
         t.Select(kWoman);
         t.frame_->SetCurrentMale();
     }},
    {"GroupMark",
     [](OutlineUndoTest& t) {
         t.Select(kOther);
         t.frame_->ToggleCurrentGroup();
     }},
    {"DeadMark",
     [](OutlineUndoTest& t) {
         t.Select(kSon);
         t.frame_->ToggleCurrentDead();
     }},
    {"Order",
     [](OutlineUndoTest& t) {
         t.Select(kDaughter);
         t.frame_->SetCurrentOrder(1);
     }},
    {"ReorderByDrop",
     [](OutlineUndoTest& t) {
         t.Select(kDaughter);
         t.DragOnto(kSon, Qt::ShiftModifier);
     }},
    {"DropOntoAnotherFather",
     [](OutlineUndoTest& t) {
         t.Select(kSon);
         t.DragOnto(kOther);
     }},
    {"AttachNewWife",
     [](OutlineUndoTest& t) {
         t.Select(kBachelor);
         OutlineUndoTest::WhenOpen<TfrmAddPerson>([](TfrmAddPerson* dialog) {
             dialog->NameEdit()->setText(QStringLiteral("Asma"));
             dialog->accept();
         });
         t.frame_->AttachNewMate();
     }},
    {"AttachExistingWife",
     [](OutlineUndoTest& t) {
         t.Select(kBachelor);
         OutlineUndoTest::PickNext(kWoman);
         t.frame_->AttachExistingMate();
     }},
    {"AttachFather",
     [](OutlineUndoTest& t) {
         t.Select(kGrandson);
         OutlineUndoTest::PickNext(kOther);
         t.frame_->AttachFather();
     }},
    {"AttachMother",
     [](OutlineUndoTest& t) {
         t.Select(kGrandson);
         OutlineUndoTest::PickNext(kWoman);
         t.frame_->AttachMother();
     }},
    {"AttachChildren",
     [](OutlineUndoTest& t) {
         t.Select(kOther);
         OutlineUndoTest::PickNext(kGrandson);
         t.frame_->AttachChildren();
     }},
    {"SwitchParents",
     [](OutlineUndoTest& t) {
         t.Select(kStray);
         t.frame_->SwitchParents();
     }},
    {"ChildrenList",
     [](OutlineUndoTest& t) {
         t.Select(kOther);
         OutlineUndoTest::WhenOpen<TfrmAddChildren>([](TfrmAddChildren* dialog) {
             dialog->SonsList()->setPlainText(QStringLiteral("Yusuf\nIbrahim"));
             dialog->DaughtersList()->setPlainText(QStringLiteral("Amina"));
             dialog->accept();
         });
         t.frame_->AddChildrenList();
     }},
    {"Chain",
     [](OutlineUndoTest& t) {
         ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
         t.Select(kGrandson);
         OutlineUndoTest::WhenOpen<TfrmAddChain>([](TfrmAddChain* dialog) {
             dialog->PathButton()->click();
             dialog->PathEdit()->setPlainText(QStringLiteral("محمد بن علي بن حسن"));
             dialog->accept();
         });
         t.frame_->AddChain();
         LoadLanguage(":/langs/english.local");
     }},
    {"FamilyNameToDescendants",
     [](OutlineUndoTest& t) {
         t.Select(kFather);
         OutlineUndoTest::WhenOpen<Tfrm_Apply_To_Descendents>([](Tfrm_Apply_To_Descendents* dialog) {
             dialog->AllButton()->setChecked(true);
             dialog->OkButton()->click();
         });
         t.frame_->ApplyToDescendants(TFamilyNameKind::FamilyName);
     }},
    {"DisplayOptions",
     [](OutlineUndoTest& t) {
         t.Select(kSon);
         OutlineUndoTest::WhenOpen<TfrmPersonOption>([](TfrmPersonOption* dialog) {
             dialog->DenyPublishBox()->setChecked(true);
             dialog->OkButton()->click();
         });
         t.frame_->EditDisplayOptions();
     }},
    {"Bookmark",
     [](OutlineUndoTest& t) {
         t.Select(kSon);
         OutlineUndoTest::WhenOpen<TfrmEditNote>([](TfrmEditNote* dialog) {
             dialog->NoteBox()->setPlainText(QStringLiteral("ask his uncle"));
             dialog->OkButton()->click();
         });
         t.frame_->EditBookmark();
     }},
};

INSTANTIATE_TEST_SUITE_P(Commands, OutlineUndoTest, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<TOutlineCommand>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace verdan::test
