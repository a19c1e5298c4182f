#include "navigator/outline_fixture.h"
#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "storage/person_store.h"
#include "text/bidi_text.h"
#include "text/user_options.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

namespace verdan::test {
namespace {

// Each behaviour runs in both reading directions: the keys and the label editor must not care.
class TreeFrameTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        Person("F", "Father", "-1", "0", "m", 1, 99);
        Person("S", "Son", "F", "0", "m", 1, 99);
        frame_ = std::make_unique<TframTree>();
        frame_->SetMultiSelect(true);
        frame_->OpenTree(false);
        frame_->SetMirrored(GetParam());
        frame_->resize(400, 500);
        frame_->show();
    }
    void TearDown() override {
        frame_.reset();
        Options() = TOptions();
        OutlineTest::TearDown();
    }

    QTreeView* View() { return frame_->View(); }
    // The label editor commits through queued calls, which queue further work.
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    TTreeModel* Model() { return frame_->Model(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(View(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }
    void Select(const QString& personId) {
        ASSERT_TRUE(frame_->LocatePerson(personId));
        QApplication::processEvents();
    }
    // The open label editor; a closed one lingers until it is deleted.
    QLineEdit* Editor() {
        for (QLineEdit* editor : View()->viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    // Types over the open label and confirms it.
    void Type(const QString& text) {
        QLineEdit* editor = Editor();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        Settle();
    }
    QString Current() { return frame_->CurrentPersonId(); }
    // Whether a line below the outline reads the text.
    bool Shows(const QString& text) {
        for (const QLabel* label : frame_->findChildren<QLabel*>())
            if (StripBidiControls(label->text()) == text)
                return true;
        return false;
    }

    std::unique_ptr<TframTree> frame_;
};

TEST_P(TreeFrameTest, OpensOnTheFirstPersonWithTheRootOpen) {
    EXPECT_EQ(View()->layoutDirection(), GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
    const QModelIndex root = Model()->RootIndex();
    EXPECT_TRUE(View()->isExpanded(root));
    EXPECT_EQ(Model()->rowCount(root), 2);
    EXPECT_EQ(Current(), "F");
    EXPECT_TRUE(Shows(GetLineageName("F")));
    QSignalSpy selected(frame_.get(), &TframTree::PersonSelected);
    Select("S");
    EXPECT_TRUE(Shows(GetLineageName("S")));
    EXPECT_TRUE(View()->isExpanded(Model()->FindPersonNode("F")));
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0][0].toString(), "S");

    frame_->ReloadTree(false);
    EXPECT_TRUE(Model()->IsEmpty());
    EXPECT_TRUE(Current().isEmpty());
    EXPECT_FALSE(Shows(GetLineageName("S")));
}

TEST_P(TreeFrameTest, InsertAddsASonWhoseNameIsTypedInPlace) {
    QSignalSpy secondParent(frame_.get(), &TframTree::SecondParentWanted);
    Select("F");
    Key(Qt::Key_Insert);
    EXPECT_EQ(secondParent.size(), 0); // a man without a wife
    const QString added = frame_->LastAddedId();
    ASSERT_FALSE(added.isEmpty());
    EXPECT_EQ(Current(), added);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), "ابن 2");
    Type("Hasan");
    EXPECT_EQ(Column(added, "person_name"), "Hasan");
    EXPECT_EQ(Column(added, "father_id"), "F");
    EXPECT_TRUE(frame_->DataChanged());
    // The selection goes back to the father, so the next Insert adds a brother.
    EXPECT_EQ(Current(), "F");
    const QModelIndex father = Model()->FindPersonNode("F");
    EXPECT_EQ(Model()->index(1, 0, father).data().toString(), "Hasan");

    Key(Qt::Key_Insert, Qt::ShiftModifier);
    const QString daughter = frame_->LastAddedId();
    EXPECT_EQ(Column(daughter, "gender"), "f");
    Type("   "); // a blank name keeps the default one
    EXPECT_EQ(Column(daughter, "person_name"), "ابنة 3");
    EXPECT_EQ(Model()->FindPersonNode(daughter).data().toString(), "ابنة 3");

    // A married man's new child lets the host offer the mother.
    Person("W", "Wife", "-1", "0", "f");
    ASSERT_EQ(Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) "
                                          "VALUES ('F', 'W', 0)")),
              1);
    Select("F");
    Key(Qt::Key_Insert);
    ASSERT_EQ(secondParent.size(), 1);
    EXPECT_EQ(secondParent[0][0].toString(), frame_->LastAddedId());
    EXPECT_NE(Editor(), nullptr); // the label stays open for the name
    Type("Ali");

    // On the root the son stands on the first level.
    frame_->View()->setCurrentIndex(Model()->RootIndex());
    Key(Qt::Key_F4);
    EXPECT_EQ(Column(frame_->LastAddedId(), "father_id"), "-1");
    EXPECT_EQ(Model()->FindPersonNode(frame_->LastAddedId()).parent(), Model()->RootIndex());
}

TEST_P(TreeFrameTest, F2RenamesAndEscapeKeepsTheName) {
    Select("S");
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClicks(Editor(), "Other");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Column("S", "person_name"), "Son");
    Key(Qt::Key_F2);
    Type("Zayd");
    EXPECT_EQ(Column("S", "person_name"), "Zayd");
    EXPECT_EQ(Current(), "S"); // renaming a person in place keeps it selected
    // The line under the outline names him anew at once.
    EXPECT_TRUE(StripBidiControls(frame_->findChild<QLabel*>("lblName")->text()).startsWith("Zayd"));

    // The root and the outside-the-tree group open no label editor.
    QSignalSpy properties(frame_.get(), &TframTree::TreePropertiesWanted);
    View()->setCurrentIndex(Model()->RootIndex());
    Key(Qt::Key_F2);
    EXPECT_EQ(Editor(), nullptr);
    Select(global_);
    Key(Qt::Key_F2);
    EXPECT_EQ(Editor(), nullptr);
    frame_->EditCurrentName();
    View()->setCurrentIndex(Model()->RootIndex());
    frame_->EditCurrentName();
    EXPECT_EQ(properties.size(), 1);
}

TEST_P(TreeFrameTest, DeleteAsksAndShiftDeleteDoesNot) {
    Person("T", "Second son", "F", "0", "m", 2, 99);
    Select("T");
    shown_.answer = IDNO;
    Key(Qt::Key_Delete);
    EXPECT_EQ(shown_.texts.size(), 1);
    EXPECT_TRUE(PersonExists("T"));
    shown_.answer = IDYES;
    Key(Qt::Key_Delete);
    EXPECT_FALSE(PersonExists("T"));
    EXPECT_FALSE(Model()->FindPersonNode("T").isValid());
    EXPECT_EQ(Current(), "F");

    shown_.texts.clear();
    Select("S");
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(shown_.texts.isEmpty());
    EXPECT_FALSE(PersonExists("S"));

    Select(global_);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(PersonExists(global_));
}

TEST_P(TreeFrameTest, DeletingSeveralSelectedNodesNeverTouchesFreedOnes) {
    Person("M", "Mother", "-1", "0", "f", 2, 99);
    Person("C", "Grandchild", "S", "M");
    frame_->ReloadTree(true);
    Select("C");
    Select("M");
    ASSERT_TRUE(Model()->IsLoaded(Model()->FindPersonNode("M")));
    // The father, his son and the grandchild, shown twice (under the son and under the mother); they go
    // from the last selected to the first, so each parent's children are gone before it.
    QItemSelectionModel* selection = View()->selectionModel();
    selection->clearSelection();
    selection->select(Model()->FindPersonNode("F"), QItemSelectionModel::Select);
    selection->select(Model()->FindPersonNode("S"), QItemSelectionModel::Select);
    for (const QModelIndex& node : Model()->FindPersonNodes("C"))
        selection->select(node, QItemSelectionModel::Select);
    shown_.answer = IDYES;
    Key(Qt::Key_Delete);
    EXPECT_EQ(shown_.texts, QStringList{"Remove selected persons?"});
    EXPECT_FALSE(PersonExists("C"));
    EXPECT_FALSE(PersonExists("S"));
    EXPECT_FALSE(PersonExists("F"));
    EXPECT_TRUE(Model()->FindPersonNodes("C").isEmpty());
    EXPECT_EQ(Invisible(), 0);
    EXPECT_TRUE(PersonExists("M"));
}

TEST_P(TreeFrameTest, GenderDeadAndOrderKeys) {
    Person("M", "Mother", "-1", "0", "f", 2, 99);
    Person("C", "Child", "0", "M", "m", 99, 99);
    frame_->ReloadTree(true);
    Select("C");
    Key(Qt::Key_F6); // a man becomes a woman
    EXPECT_EQ(Column("C", "gender"), "f");
    EXPECT_EQ(Model()->FindPersonNode("C").data(TTreeModel::ImageRole).toInt(), kImageWoman);
    Key(Qt::Key_F6);
    EXPECT_EQ(Column("C", "gender"), "m");
    Key(Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(Column("C", "is_dead"), "1");
    Key(Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(Column("C", "order_by_mother"), "5");
    Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Column("C", "order_by_mother"), "5");
    QSignalSpy dates(frame_.get(), &TframTree::DateApproximationWanted);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(dates.size(), 1);

    // The mother with her child turns into a father after the question; the child follows.
    Select("M");
    shown_.answer = IDYES;
    Key(Qt::Key_F7);
    EXPECT_EQ(Column("M", "gender"), "m");
    EXPECT_EQ(Column("C", "father_id"), "M");
    const QModelIndex mother = Model()->FindPersonNode("M");
    View()->expand(mother);
    EXPECT_EQ(Model()->rowCount(mother), 1);
    EXPECT_TRUE(Model()->Record(Model()->index(0, 0, mother))->ErrorMark.isEmpty());
}

TEST_P(TreeFrameTest, ExpandKeyAndZoom) {
    Person("G", "Grandson", "S", "0");
    Select("F");
    View()->collapse(Model()->FindPersonNode("F"));
    Key(Qt::Key_F5);
    EXPECT_TRUE(View()->isExpanded(Model()->FindPersonNode("S")));
    Key(Qt::Key_F5);
    EXPECT_FALSE(View()->isExpanded(Model()->FindPersonNode("F")));

    frame_->SetZoom(30);
    EXPECT_EQ(frame_->ZoomSize(), 24);
    EXPECT_EQ(View()->font().pointSize(), 24);
    Key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(frame_->ZoomSize(), 24);
    frame_->SetZoom(2);
    Key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(frame_->ZoomSize(), 6);
    EXPECT_EQ(Options().TreeFontSize, 6);
}

TEST_P(TreeFrameTest, ReadOnlyOutlineOnlyBrowses) {
    frame_->OpenTree(true);
    Select("F");
    const int persons = Count("1");
    Key(Qt::Key_Insert);
    Key(Qt::Key_F2);
    EXPECT_EQ(Editor(), nullptr);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Count("1"), persons);
    const bool expanded = View()->isExpanded(Model()->FindPersonNode("F"));
    Key(Qt::Key_F5);
    EXPECT_NE(View()->isExpanded(Model()->FindPersonNode("F")), expanded);
}

// A person found by a search deep in a long branch stays in view when showing him makes the outline lower
// (his lineage below it may take another line).
TEST_P(TreeFrameTest, LocatedPersonIsScrolledIntoView) {
    for (int i = 0; i < 60; ++i)
        Person(QStringLiteral("C%1").arg(i), QStringLiteral("Child %1").arg(i), "S", "0", "m", i + 1, 99);
    Person("G", "Grandson", "C55", "0");
    frame_->ReloadTree(true);
    QApplication::processEvents();
    ASSERT_TRUE(frame_->LocatePerson("G"));
    frame_->resize(400, 250);
    Settle();
    const QModelIndex found = frame_->FindPersonNode("G");
    ASSERT_TRUE(found.isValid());
    EXPECT_EQ(Current(), QStringLiteral("G"));
    const QRect row = View()->visualRect(found);
    EXPECT_FALSE(row.isEmpty());
    EXPECT_TRUE(View()->viewport()->rect().contains(row.center())) << row.y();
}

INSTANTIATE_TEST_SUITE_P(Directions, TreeFrameTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("RightToLeft") : std::string("LeftToRight");
                         });

} // namespace
} // namespace verdan::test
