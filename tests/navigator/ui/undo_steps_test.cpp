#include "navigator/ui/tree_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "outline_frame_fixture.h"
#include "relations/ui/relation_option_dialog.h"
#include "storage/person_store.h"
#include "storage/tree_rows.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace verdan::test {
namespace {

const QString kFather = QStringLiteral("{50000000-0000-0000-0000-000000000001}");
const QString kMother = QStringLiteral("{50000000-0000-0000-0000-000000000002}");
const QString kSon = QStringLiteral("{50000000-0000-0000-0000-000000000003}");
const QString kDaughter = QStringLiteral("{50000000-0000-0000-0000-000000000004}");
const QString kOther = QStringLiteral("{50000000-0000-0000-0000-000000000005}");

class UndoStepsTest : public OutlineFrameTest {
protected:
    void SetUp() override {
        OutlineFrameTest::SetUp();
        Person(kFather, "Saleh", "-1", "0", "m", 1);
        Person(kMother, "Huda", "-1", "0", "f", 2);
        Person(kSon, "Omar", kFather, kMother, "m", 1, 1);
        Person(kDaughter, "Mona", kFather, "0", "f", 2);
        Person(kOther, "Zaid", "-1", "0", "m", 3);
        Marry(kFather, kMother);
        OpenFrame(420, 560);
    }
    // Drags the person onto another, Ctrl held for a relation, as the outline's own drag does.
    void DragOnto(const QString& id, const QString& targetId, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Select(id);
        const QPoint from = frame_->View()->visualRect(frame_->View()->currentIndex()).center();
        QTest::mousePress(frame_->View()->viewport(), Qt::LeftButton, keys, from);
        QTest::mouseRelease(frame_->View()->viewport(), Qt::LeftButton, keys, from);
        std::unique_ptr<QMimeData> mime(frame_->DragData());
        ASSERT_TRUE(mime);
        const QModelIndex target = frame_->FindPersonNode(targetId);
        const QPoint point = frame_->View()->visualRect(target).center();
        QDragEnterEvent enter(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame_->View()->viewport(), &enter);
        QDropEvent drop(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame_->View()->viewport(), &drop);
        Settle();
    }
    // Runs `work` on the modal dialog of type T once it is open.
    template <typename T> static void WhenOpen(std::function<void(T*)> work) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, work] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                work(dialog);
            }
        });
        poll->start(10);
    }

    // One step for the command, checked; the outline then shows the tree the command left.
    void ExpectOneStep(const QString& description, const std::function<void()>& command) {
        ExpectOneUndoStep(description, [&] {
            command();
            Settle();
        });
        frame_->ReloadTree(true);
        Settle();
    }
};

TEST_F(UndoStepsTest, OutlineCommandsAreOneStepNamedAfterThePerson) {
    ExpectOneStep("Rename «Omar»", [&] {
        Select(kSon);
        Key(Qt::Key_F2);
        QLineEdit* editor = frame_->View()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText("Omar Saleh");
        QTest::keyClick(editor, Qt::Key_Return);
    });
    EXPECT_EQ(GetPersonName(kSon), "Omar Saleh");
    ExpectOneStep("Change the order of «Mona»", [&] {
        Select(kDaughter);
        Key(Qt::Key_5, Qt::ControlModifier);
    });
    ExpectOneStep("Switch the parents of «Omar Saleh»", [&] {
        Select(kSon);
        frame_->SwitchParents();
    });
    ExpectOneStep("Attach «Mona» to «Zaid»", [&] {
        Select(kDaughter);
        WhenOpen<TfrmTreeDialog>([](TfrmTreeDialog* picker) {
            picker->Outline()->LocatePerson(kOther);
            picker->accept();
        });
        frame_->AttachFather();
    });
    EXPECT_EQ(GetFatherId(kDaughter), kOther);
    // The new child and its group mark are one step.
    ExpectOneStep("Add a group to «Saleh»", [&] {
        Select(kFather);
        frame_->AddGroup();
        Key(Qt::Key_Escape);
    });
}

TEST_F(UndoStepsTest, DropsAndTheRelationDialogAreOneStep) {
    ExpectOneStep("Move «Mona» under «Zaid»", [&] { DragOnto(kDaughter, kOther); });
    EXPECT_EQ(GetFatherId(kDaughter), kOther);
    ExpectOneStep("Set the relationship of «Omar» to «Zaid»", [&] {
        WhenOpen<TfrmRelationOptionDialog>([](TfrmRelationOptionDialog* dialog) {
            dialog->Option(TRelationOption::SonDaughter)->click();
            dialog->accept();
        });
        DragOnto(kSon, kOther, Qt::ControlModifier);
    });
    EXPECT_EQ(GetFatherId(kSon), kOther);
}

} // namespace
} // namespace verdan::test
