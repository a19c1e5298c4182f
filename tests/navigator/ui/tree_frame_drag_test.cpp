#include "datasheet/ui/data_sheet.h"
#include "navigator/outline_fixture.h"
#include "navigator/tree_model.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/relation_option_dialog.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace verdan::test {
namespace {

const QString kF = QStringLiteral("{40000000-0000-0000-0000-0000000000F0}");
const QString kT = QStringLiteral("{40000000-0000-0000-0000-0000000000F1}");
const QString kW = QStringLiteral("{40000000-0000-0000-0000-0000000000F2}");
const QString kC[4] = {QStringLiteral("{40000000-0000-0000-0000-0000000000C1}"),
                       QStringLiteral("{40000000-0000-0000-0000-0000000000C2}"),
                       QStringLiteral("{40000000-0000-0000-0000-0000000000C3}"),
                       QStringLiteral("{40000000-0000-0000-0000-0000000000C4}")};
const QString kG = QStringLiteral("{40000000-0000-0000-0000-0000000000A1}"); // C1's son

class TreeFrameDragTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        previous_ = InstallMessageSink(&consent_);
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person(kF, "Father", "-1", "0", "m", 1);
        Person(kT, "Other man", "-1", "0", "m", 2);
        Person(kW, "Woman", "-1", "0", "f", 3);
        for (int i = 0; i < 4; ++i)
            Person(kC[i], QStringLiteral("Child %1").arg(i + 1), kF, "0", "m", i + 1);
        Person(kG, "Grandson", kC[0], "0", "m", 1);
        host_ = std::make_unique<QWidget>();
        TLinkDialogs::Install(host_.get());
        for (TframTree** frame : {&frame_, &other_}) {
            *frame = new TframTree(host_.get());
            (*frame)->SetMultiSelect(true);
            (*frame)->OpenTree(false);
            (*frame)->resize(400, 600);
        }
        host_->resize(800, 600);
        host_->show();
        Settle();
    }
    void TearDown() override {
        host_.reset();
        InstallMessageSink(previous_);
        QApplication::setLayoutDirection(Qt::LeftToRight);
        OutlineTest::TearDown();
    }
    static void Settle() {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    }
    // Where the person's node is shown, opened to it without selecting it (the drag is of the selection).
    QPoint At(TframTree* frame, const QString& id) {
        const QModelIndex node = frame->Model()->LocatePerson(id);
        EXPECT_TRUE(node.isValid());
        for (QModelIndex up = node.parent(); up.isValid(); up = up.parent())
            frame->View()->expand(up);
        frame->View()->scrollTo(node);
        Settle();
        return frame->View()->visualRect(node).center();
    }
    // Presses the mouse on the person with the keys held, as a drag begins.
    void Press(TframTree* frame, const QString& id, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        const QPoint point = At(frame, id);
        frame->View()->setCurrentIndex(frame->FindPersonNode(id));
        QTest::mousePress(frame->View()->viewport(), Qt::LeftButton, keys, point);
        QTest::mouseRelease(frame->View()->viewport(), Qt::LeftButton, keys, point);
        Settle();
    }
    // Whether the outline takes the drag over the person (the toolkit delivers moves to a widget the drag
    // has entered).
    bool Over(TframTree* frame, QMimeData* mime, const QString& targetId) {
        const QPoint point = At(frame, targetId);
        QDragEnterEvent enter(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->View()->viewport(), &enter);
        QDragMoveEvent move(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->View()->viewport(), &move);
        return move.isAccepted();
    }
    void Drop(TframTree* frame, QMimeData* mime, const QString& targetId) {
        const QPoint point = At(frame, targetId);
        QDragEnterEvent enter(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->View()->viewport(), &enter);
        QDropEvent drop(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->View()->viewport(), &drop);
        Settle();
    }
    QString Orders(const QString& id) { return Column(id, "order_by_father"); }
    // Runs `work` on the relationship dialog once the drop has opened it.
    void WhenDialogOpens(std::function<void(TfrmRelationOptionDialog*)> work) {
        auto* poll = new QTimer(host_.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, work] {
            if (auto* dialog = qobject_cast<TfrmRelationOptionDialog*>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                poll->stop();
                work(dialog);
            }
        });
        poll->start(10);
    }

    Consenting consent_;
    TMessageSink* previous_ = nullptr;
    std::unique_ptr<QWidget> host_;
    TframTree* frame_ = nullptr;
    TframTree* other_ = nullptr;
};

TEST_P(TreeFrameDragTest, ShiftReordersOnlyTheBrothersAndSisters) {
    Person("{40000000-0000-0000-0000-0000000000D1}", "Child of another father", kT, "0", "m", 2);
    Press(frame_, kC[3], Qt::ShiftModifier);
    std::unique_ptr<QMimeData> mime(frame_->DragData());
    ASSERT_TRUE(mime);
    EXPECT_TRUE(Over(frame_, mime.get(), kC[1]));
    EXPECT_FALSE(Over(frame_, mime.get(), kT)); // not a sibling: no reordering there
    Drop(frame_, mime.get(), kC[1]);
    EXPECT_EQ(Orders(kC[0]), "1");
    EXPECT_EQ(Orders(kC[3]), "2");
    EXPECT_EQ(Orders(kC[1]), "3");
    EXPECT_EQ(Orders(kC[2]), "4");
    EXPECT_EQ(Orders(kG), "1");
    EXPECT_EQ(Orders("{40000000-0000-0000-0000-0000000000D1}"), "2");
    // The father's children come back in their new order.
    const QModelIndex father = frame_->FindPersonNode(kF);
    EXPECT_EQ(frame_->Model()->Record(frame_->Model()->index(1, 0, father))->PersonId, kC[3]);
}

TEST_P(TreeFrameDragTest, AMoveReparentsAndNeverIntoTheOwnBranch) {
    Press(frame_, kC[0]);
    std::unique_ptr<QMimeData> mime(frame_->DragData());
    EXPECT_FALSE(Over(frame_, mime.get(), kF)); // the father he hangs under
    // Onto his own son: refused with the reason, before any question, and nothing changes.
    EXPECT_TRUE(Over(frame_, mime.get(), kG));
    Drop(frame_, mime.get(), kG);
    ASSERT_EQ(consent_.texts.size(), 1);
    EXPECT_EQ(consent_.texts.front().section(u'|', 0, 0), "A person can't become his own ancestor.");
    EXPECT_EQ(GetFatherId(kC[0]), kF);
    EXPECT_FALSE(Over(frame_, mime.get(), kC[0]));
    EXPECT_TRUE(Over(frame_, mime.get(), kT));
    Drop(frame_, mime.get(), kT);
    EXPECT_EQ(GetFatherId(kC[0]), kT);
    EXPECT_EQ(GetFatherId(kG), kC[0]);
    EXPECT_EQ(frame_->CurrentPersonId(), kC[0]);
    EXPECT_EQ(frame_->Model()->Record(frame_->FindPersonNode(kC[0]).parent())->PersonId, kT);
    EXPECT_TRUE(consent_.texts.last().contains("|Please confirm."));

    // The move starts on Cancel, and declining it moves nothing.
    EXPECT_EQ(consent_.focuses.last(), IDCANCEL);
    consent_.answer = IDCANCEL;
    Press(frame_, kC[1]);
    mime.reset(frame_->DragData());
    Drop(frame_, mime.get(), kT);
    EXPECT_EQ(GetFatherId(kC[1]), kF);
}

TEST_P(TreeFrameDragTest, SeveralPersonsMoveTogetherAndAWomanAsksAboutTheMarriage) {
    Press(frame_, kC[1]);
    const QModelIndex third = frame_->FindPersonNode(kC[2]);
    frame_->View()->selectionModel()->select(third, QItemSelectionModel::Select);
    std::unique_ptr<QMimeData> mime(frame_->DragData());
    EXPECT_EQ(QString::fromUtf8(mime->data(TframDataSheet::kPersonIdsMimeType)), kC[1] + u'\n' + kC[2]);
    Drop(frame_, mime.get(), kW);
    for (const QString& child : {kC[1], kC[2]}) {
        EXPECT_EQ(GetMotherId(child), kW);
        EXPECT_EQ(GetFatherId(child), kF);
    }
    // Both keep their father, who is not her husband: asked once, before the writes.
    EXPECT_TRUE(MarriageExists(kF, kW));
    EXPECT_EQ(asked_.Offered(), QStringList{"marry/clear-father/cancel"});
}

// A son dropped on his brother: his mother is the brother's mother, whom the brother may not marry, so
// only clearing her is offered; cleared, he is the brother's son without a mother, placed after the
// brother's own son.
TEST_P(TreeFrameDragTest, ABrotherAsFatherAsksAboutTheirMotherAndNeverMarriesHer) {
    const QString mother = QStringLiteral("{40000000-0000-0000-0000-0000000000E1}");
    Person(mother, "Mother", "-1", "0", "f", 4);
    Marry(kF, mother);
    for (const QString& child : {kC[0], kC[1]})
        ASSERT_TRUE(SetMother(child, mother));
    asked_.answers = {kAnswerCancel};
    Press(frame_, kC[1]);
    std::unique_ptr<QMimeData> mime(frame_->DragData());
    Drop(frame_, mime.get(), kC[0]);
    EXPECT_EQ(asked_.Offered(), QStringList{"clear-mother/cancel"});
    EXPECT_EQ(GetFatherId(kC[1]), kF);
    EXPECT_EQ(GetMotherId(kC[1]), mother);

    asked_.answers = {kAnswerClearMother};
    Press(frame_, kC[1]);
    mime.reset(frame_->DragData());
    Drop(frame_, mime.get(), kC[0]);
    EXPECT_EQ(GetFatherId(kC[1]), kC[0]);
    EXPECT_EQ(GetMotherId(kC[1]), "0");
    EXPECT_EQ(Orders(kC[1]), "2");
    EXPECT_FALSE(MarriageExists(kC[0], mother));
    EXPECT_EQ(frame_->Model()->Record(frame_->FindPersonNode(kC[1]).parent())->PersonId, kC[0]);
}

TEST_P(TreeFrameDragTest, CtrlOrAnotherOutlineSetsARelation) {
    Press(frame_, kC[1], Qt::ControlModifier);
    std::unique_ptr<QMimeData> mime(frame_->DragData());
    ASSERT_TRUE(mime);
    // Brothers get no other relation.
    Drop(frame_, mime.get(), kC[2]);
    EXPECT_EQ(consent_.texts.last(), "Can't set other relationship. Have same parent.");

    WhenDialogOpens([](TfrmRelationOptionDialog* dialog) {
        EXPECT_FALSE(dialog->Option(TRelationOption::FeederMother)->isVisible());
        dialog->Option(TRelationOption::SonDaughter)->click();
        EXPECT_EQ(dialog->RelationLabel()->text(), "is a son of");
        dialog->accept();
    });
    Drop(frame_, mime.get(), kT);
    EXPECT_EQ(GetFatherId(kC[1]), kT);

    // From the other outline a plain drag opens the dialog too; Cancel changes nothing.
    Press(other_, kC[2]);
    mime.reset(other_->DragData());
    EXPECT_TRUE(Over(frame_, mime.get(), kF)); // his father here means nothing to the other outline's drag
    WhenDialogOpens([](TfrmRelationOptionDialog* dialog) {
        // He is a son of the father already: every option is off.
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        dialog->reject();
    });
    Drop(frame_, mime.get(), kF);
    EXPECT_EQ(GetFatherId(kC[2]), kF);
}

TEST_P(TreeFrameDragTest, TheOutsideGroupIsNeverDragged) {
    Press(frame_, global_);
    EXPECT_EQ(frame_->DragData(), nullptr);
    QMimeData forged;
    forged.setData(TframDataSheet::kPersonIdsMimeType, global_.toUtf8());
    EXPECT_FALSE(Over(frame_, &forged, kT));
}

INSTANTIATE_TEST_SUITE_P(Directions, TreeFrameDragTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
