#include "datasheet/mate_children.h"
#include "datasheet/ui/collapsible_panel.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/mate_child_frame.h"
#include "reports/ui/zel_grid.h"
#include "sheet_fixture.h"
#include "storage/relation_store.h"
#include "text/ui/person_follow.h"
#include "text/user_options.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

namespace verdan::test {
namespace {

// Answers the questions in turn; the last answer repeats.
class TAnswerSink : public TRecordingSink {
public:
    int Show(const TMessageRequest& request) override {
        requests.append(request);
        return answers.isEmpty() ? IDNO : answers.size() == 1 ? answers.first() : answers.takeFirst();
    }
    QList<int> answers;
};

// A man {H} with wives {A} and {B}: {C1}, {C2} of {A}, {C3} of {B}.
class MateChildFrameTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        InstallMessageSink(&answers_);
        Put("{H}", "-1", "0", "Hasan", "m");
        Put("{A}", "-1", "0", "Amina", "f");
        Put("{B}", "-1", "0", "Basma", "f");
        Put("{C1}", "{H}", "{A}", "Zaid", "m");
        Put("{C2}", "{H}", "{A}", "Yusuf", "m");
        Put("{C3}", "{H}", "{B}", "Khalid", "m");
        ASSERT_TRUE(AddMarriage("{H}", "{A}"));
        ASSERT_TRUE(AddMarriage("{H}", "{B}"));
        ASSERT_TRUE(SaveMatesOrder("{H}", "m", {"{A}", "{B}"}));
        ASSERT_TRUE(SaveChildrenOrder("m", {"{C1}", "{C2}", "{C3}"}));
        frame_ = std::make_unique<TframMateChild>();
        frame_->resize(700, 300);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    }
    void TearDown() override {
        frame_.reset();
        SheetTest::TearDown();
    }

    QListWidget* Children() const { return frame_->ChildrenList(); }
    TZelGrid* Grid() const { return frame_->MatesGrid(); }
    QStringList Checked() const {
        QStringList ids;
        const QStringList all = frame_->ChildIds();
        for (int i = 0; i < Children()->count(); ++i)
            if (Children()->item(i)->checkState() == Qt::Checked)
                ids << all[i];
        return ids;
    }
    QToolButton* Button(const char* name) const {
        return frame_->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    // The centre of a grid cell in viewport coordinates.
    QPoint CellCentre(int col, int row) const {
        return Grid()->visualRect(Grid()->model()->index(row - 1, col - 1)).center();
    }
    void ClickCell(int col, int row) {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(col, row));
    }
    QString Relation(const QString& column, const QString& husband, const QString& wife) {
        return Dm().ScalarText("SELECT " + column +
                                   " FROM ftRelation WHERE person_id_1 = ? AND person_id_2 = ? AND "
                                   "relation_type = 0",
                               husband, wife);
    }

    TAnswerSink answers_;
    std::unique_ptr<TframMateChild> frame_;
};

TEST_F(MateChildFrameTest, SelectingAWifeChecksExactlyHerChildren) {
    frame_->LoadRelations("{H}");
    EXPECT_EQ(Grid()->Cells(TframMateChild::kNameCol, 0), "Wives");
    EXPECT_EQ(frame_->MateIds(), QStringList({"{A}", "{B}"}));
    EXPECT_EQ(Checked(), QStringList({"{C1}", "{C2}"}));
    QSignalSpy chosen(&PersonFollow(), &TPersonFollow::Chosen);
    ClickCell(TframMateChild::kNameCol, 2);
    EXPECT_EQ(frame_->CurrentMateId(), "{B}");
    EXPECT_EQ(Checked(), QStringList{"{C3}"});
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.value(0).value(0).toString(), "{B}");

    frame_->LoadRelations("{B}");
    EXPECT_EQ(Grid()->Cells(TframMateChild::kNameCol, 0), "Husband");
    EXPECT_EQ(frame_->ChildIds(), QStringList{"{C3}"});
    EXPECT_EQ(Checked(), QStringList{"{C3}"});
}

TEST_F(MateChildFrameTest, ACheckIsWrittenAtOnceAndRestoredWhenItCannotBe) {
    frame_->LoadRelations("{H}");
    ClickCell(TframMateChild::kNameCol, 1);
    Children()->item(2)->setCheckState(Qt::Checked); // Khalid, B's son, becomes A's
    EXPECT_EQ(Column("{C3}", "Mother_Id"), "{A}");
    Children()->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(Column("{C1}", "Mother_Id"), "0");
    EXPECT_TRUE(answers_.requests.isEmpty());

    // A man without wives has nobody to give his children to.
    Put("{M}", "-1", "0", "Majid", "m");
    Put("{K}", "{M}", "0", "Kamal", "m");
    frame_->LoadRelations("{M}");
    ASSERT_EQ(Children()->count(), 1);
    Children()->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(Children()->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(Column("{K}", "Mother_Id"), "0");
    ASSERT_EQ(answers_.requests.size(), 1);
    EXPECT_TRUE(answers_.requests[0].text.contains("spouses"));

    // Nor does a person whose gender is not set.
    Put("{U}", "-1", "0", "Unknown", "");
    Put("{UC}", "-1", "{U}", "Child", "m");
    ASSERT_TRUE(AddMarriage("{H}", "{U}"));
    frame_->LoadRelations("{U}");
    ASSERT_EQ(frame_->MateIds(), QStringList{"{H}"});
    ASSERT_EQ(Children()->count(), 1);
    Children()->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(Children()->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(Column("{UC}", "Father_Id"), "-1");
    EXPECT_EQ(answers_.requests.size(), 2);
}

TEST_F(MateChildFrameTest, TheDivorceMarkFlipsWhereItIsDrawn) {
    frame_->LoadRelations("{H}");
    ClickCell(TframMateChild::kSplitCol, 2);
    EXPECT_EQ(Relation("split", "{H}", "{B}"), "1");
    EXPECT_EQ(Grid()->Cells(TframMateChild::kSplitCol, 2), "1");
    EXPECT_EQ(frame_->CurrentMateId(), "{B}");
    // Beside the mark the press only selects the row.
    const QRect cell = Grid()->visualRect(Grid()->model()->index(1, TframMateChild::kSplitCol - 1));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 2, cell.center().y()));
    EXPECT_EQ(Relation("split", "{H}", "{B}"), "1");
    ClickCell(TframMateChild::kSplitCol, 2);
    EXPECT_EQ(Relation("split", "{H}", "{B}"), "0");
    // Space flips the current row's mark from the keyboard.
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Space);
    EXPECT_EQ(Relation("split", "{H}", "{B}"), "1");
}

TEST_F(MateChildFrameTest, ARemovedMarriageLeavesTheGridAtOnce) {
    frame_->LoadRelations("{H}");
    ClickCell(TframMateChild::kNameCol, 1);
    // Yes to the marriage, No to its children: they keep their mother, the row goes anyway.
    answers_.answers = {IDYES, IDNO};
    Button("btDeleteMate")->click();
    EXPECT_FALSE(MarriageExists("{H}", "{A}"));
    EXPECT_EQ(frame_->MateIds(), QStringList{"{B}"});
    EXPECT_EQ(Grid()->Cells(TframMateChild::kNameCol, 0), "Wife");
    EXPECT_EQ(Column("{C1}", "Mother_Id"), "{A}");
    ASSERT_EQ(answers_.requests.size(), 2);
    EXPECT_TRUE(answers_.requests[1].text.contains("mother"));

    // Yes to both: the children lose their mother too.
    answers_.answers = {IDYES, IDYES};
    Button("btDeleteMate")->click();
    EXPECT_TRUE(frame_->MateIds().isEmpty());
    EXPECT_EQ(Column("{C3}", "Mother_Id"), "0");
    EXPECT_EQ(Column("{C3}", "Father_Id"), "{H}");
    EXPECT_FALSE(Button("btDeleteMate")->isEnabled());

    // Closing the question keeps everything.
    ASSERT_TRUE(AddMarriage("{H}", "{B}"));
    frame_->LoadRelations("{H}");
    answers_.answers = {IDCANCEL};
    Button("btDeleteMate")->click();
    EXPECT_TRUE(MarriageExists("{H}", "{B}"));
    EXPECT_EQ(frame_->MateIds(), QStringList{"{B}"});
}

TEST_F(MateChildFrameTest, MatesMoveByButtonsAndByDraggingAndTheOrderIsStored) {
    Put("{D}", "-1", "0", "Dalia", "f");
    ASSERT_TRUE(AddMarriage("{H}", "{D}"));
    frame_->LoadRelations("{H}");
    EXPECT_EQ(frame_->MateIds(), QStringList({"{A}", "{B}", "{D}"}));
    ClickCell(TframMateChild::kNameCol, 2);
    Button("btUpM")->click();
    EXPECT_EQ(frame_->MateIds(), QStringList({"{B}", "{A}", "{D}"}));
    EXPECT_EQ(frame_->CurrentMateId(), "{B}");
    EXPECT_EQ(Relation("relation_order_2", "{H}", "{B}"), "1");
    EXPECT_EQ(Relation("relation_order_2", "{H}", "{A}"), "2");
    Button("btUpM")->click(); // the first stays first
    EXPECT_EQ(frame_->MateIds(), QStringList({"{B}", "{A}", "{D}"}));

    // Dalia dragged onto the first row.
    QWidget* viewport = Grid()->viewport();
    const QPoint from = CellCentre(TframMateChild::kNameCol, 3);
    const QPoint to = CellCentre(TframMateChild::kNameCol, 1);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    EXPECT_EQ(frame_->MateIds(), QStringList({"{D}", "{B}", "{A}"}));
    EXPECT_EQ(frame_->CurrentMateId(), "{D}");

    frame_->LoadRelations(QString());
    frame_->LoadRelations("{H}");
    EXPECT_EQ(frame_->MateIds(), QStringList({"{D}", "{B}", "{A}"}));
}

TEST_F(MateChildFrameTest, ChildrenMoveAndSortAndEveryOrderIsWritten) {
    frame_->LoadRelations("{H}");
    Children()->setCurrentRow(2);
    Button("btUp")->click();
    EXPECT_EQ(frame_->ChildIds(), QStringList({"{C1}", "{C3}", "{C2}"}));
    EXPECT_EQ(Column("{C3}", "Order_By_Father"), "2");
    // The check marks travel with their children.
    EXPECT_EQ(Checked(), QStringList({"{C1}", "{C2}"}));

    Button("bt_Alpha_Sort")->click();
    EXPECT_EQ(frame_->ChildIds(), QStringList({"{C3}", "{C2}", "{C1}"})); // Khalid, Yusuf, Zaid
    EXPECT_EQ(Column("{C3}", "Order_By_Father"), "1");
    EXPECT_EQ(Column("{C2}", "Order_By_Father"), "2");
    EXPECT_EQ(Column("{C1}", "Order_By_Father"), "3");
    // A later move starts from the sorted order.
    Children()->setCurrentRow(0);
    Button("btDown")->click();
    EXPECT_EQ(frame_->ChildIds(), QStringList({"{C2}", "{C3}", "{C1}"}));
    frame_->LoadRelations("{H}");
    EXPECT_EQ(frame_->ChildIds(), QStringList({"{C2}", "{C3}", "{C1}"}));
}

TEST_F(MateChildFrameTest, ParentLinksGoOneAtATime) {
    QLineEdit* father = frame_->findChild<QLineEdit*>("txtFather");
    QLineEdit* mother = frame_->findChild<QLineEdit*>("txtMother");
    frame_->LoadRelations("{H}");
    EXPECT_TRUE(father->text().isEmpty());
    EXPECT_FALSE(Button("btDeleteFather")->isEnabled());

    frame_->LoadRelations("{C1}");
    EXPECT_EQ(father->text(), GetLineageName("{H}"));
    EXPECT_EQ(mother->text(), GetLineageName("{A}"));
    answers_.answers = {IDYES};
    Button("btDeleteFather")->click();
    EXPECT_EQ(Column("{C1}", "Father_Id"), "0");
    EXPECT_TRUE(father->text().isEmpty());
    Button("btDeleteMother")->click();
    EXPECT_EQ(Column("{C1}", "Mother_Id"), "{A}");
    EXPECT_EQ(answers_.Texts().last(), "Not attached to a father. Can't delete the relationship.");
}

// A long Latin lineage in the mirrored sheet fits its row, cut at its own end: the list never scrolls
// sideways to a row's end and away from the child's own name.
TEST_F(MateChildFrameTest, ALongChildRowFitsTheMirroredList) {
    Put("{C4}", "{H}", "{A}", QString("Frederick William Augustus Charles Louis ").repeated(4), "m");
    frame_->setLayoutDirection(Qt::RightToLeft);
    frame_->LoadRelations("{H}");
    QApplication::processEvents();
    ASSERT_EQ(Children()->count(), 4);
    EXPECT_EQ(Children()->horizontalScrollBar()->maximum(), 0);
    const QRect row = Children()->visualRect(Children()->model()->index(3, 0));
    EXPECT_LE(row.width(), Children()->viewport()->width());
}

TEST_F(MateChildFrameTest, AGroupWithoutMatesTakesNone) {
    Put("{G}", "-1", "0", "Clan", "m", true);
    frame_->LoadRelations("{G}");
    EXPECT_FALSE(frame_->findChild<QWidget*>("pnlMate")->isEnabled());
    ASSERT_TRUE(AddMarriage("{G}", "{A}"));
    frame_->LoadRelations("{G}");
    EXPECT_TRUE(frame_->findChild<QWidget*>("pnlMate")->isEnabled());
}

TEST_F(MateChildFrameTest, TheSheetReadsTheSectionEachTimeItOpens) {
    Options() = TOptions();
    TframDataSheet sheet;
    sheet.show();
    TCollapsiblePanel* section = sheet.Section("Relationships");
    ASSERT_NE(section, nullptr);
    sheet.LoadPerson("{H}");
    EXPECT_EQ(sheet.RelationsFrame()->MateIds(), QStringList({"{A}", "{B}"}));
    section->SetCollapsed(true);
    Put("{D}", "-1", "0", "Dalia", "f");
    ASSERT_TRUE(AddMarriage("{H}", "{D}"));
    section->SetCollapsed(false);
    EXPECT_EQ(sheet.RelationsFrame()->MateIds(), QStringList({"{A}", "{B}", "{D}"}));
    sheet.LoadPerson(QString());
    EXPECT_TRUE(sheet.RelationsFrame()->PersonId().isEmpty());
}

} // namespace
} // namespace verdan::test
