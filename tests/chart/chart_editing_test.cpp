#include "chart_fixture.h"
#include "storage/tree_file.h"

namespace verdan::test {

namespace {

using Editing = ChartTest;

// The view point whose chart point is p at zoom 1 without scrolling.
QPoint ViewOf(const QPoint& p) {
    return p - QPoint(1, 1);
}

TEST_F(Editing, DroppingAPersonAgainMovesHisItemAndMarksHisMarriage) {
    Man("H");
    Woman("W");
    Marry("H", "W");
    const int w = chart_->DropPerson("W", ViewOf({300, 100}), false);
    EXPECT_EQ(chart_->Person(w).Position(), QPoint(300, 100));
    const int h = chart_->DropPerson("H", ViewOf({100, 100}), false);
    ASSERT_EQ(chart_->Persons().size(), 2);
    ASSERT_EQ(chart_->Maritals().size(), 1);
    EXPECT_EQ(chart_->Maritals()[0].Mark.Width, 12);
    EXPECT_EQ(chart_->Maritals()[0].Mark.Height, 12);
    EXPECT_EQ(chart_->DropPerson("H", ViewOf({150, 400}), false), h);
    EXPECT_EQ(chart_->Persons().size(), 2);
    EXPECT_EQ(chart_->Person(h).Position(), QPoint(150, 400));
    EXPECT_EQ(chart_->Maritals().size(), 1);
    EXPECT_TRUE(chart_->Modified);
}

TEST_F(Editing, IdentifiersThatNameNobodyAddNothing) {
    Man("A");
    EXPECT_EQ(chart_->FindOrAddPerson("0"), -1);
    EXPECT_EQ(chart_->FindOrAddPerson(" -1 "), -1);
    EXPECT_EQ(chart_->FindOrAddPerson(""), -1);
    EXPECT_EQ(chart_->AddPersonAt("missing", QPoint(10, 10)), -1);
    EXPECT_EQ(chart_->FindOrAddPerson(" A "), 0);
    EXPECT_EQ(chart_->FindOrAddPerson("a"), 0); // identifiers ignore letter case, as the tree file does
    EXPECT_EQ(chart_->Persons().size(), 1);
}

TEST_F(Editing, FullBuildShowsChildrenAndParentsAndKeepsTheUsersNameDefault) {
    Man("G");
    Man("F", "G");
    Man("C1", "F");
    Man("C2", "F");
    for (bool userDefault : {false, true}) {
        auto chart = NewChart();
        chart->Defaults.ShowFullName = userDefault;
        const int f = chart->FullBuild("F", QPoint(150, 150));
        ASSERT_GE(f, 0);
        EXPECT_EQ(chart->Persons().size(), 4);
        EXPECT_EQ(chart->Defaults.ShowFullName, userDefault);
        const TPersonObject& root = chart->Person(f);
        EXPECT_FALSE(root.Options.ParentFont);
        EXPECT_EQ(root.Options.Font.Size, 16);
        EXPECT_EQ(root.Options.Font.Style, kFontBold);
        EXPECT_TRUE(chart->Person(chart->IndexOf("G")).Options.ShowFullName); // the parents' expanded names
        EXPECT_EQ(chart->Person(chart->IndexOf("G")).DisplayName,
                  chart->Person(chart->IndexOf("G")).ExpandedName);
        EXPECT_EQ(chart->Person(chart->IndexOf("C1")).Options.ShowFullName, false);
        EXPECT_EQ(chart->SelectedPersonCount(), 0);
    }
}

TEST_F(Editing, TheOutsideGroupGetsNoChildrenOrSpouses) {
    Man("X", kGlobal);
    const int g = chart_->FindOrAddPerson(kGlobal);
    chart_->ShowChildren(g);
    chart_->ShowSpouses(g);
    EXPECT_EQ(chart_->Persons().size(), 1);
}

TEST_F(Editing, WivesStandBesideTheManInTheirOrderEachWithAMarkOfHerOwn) {
    Man("H");
    Woman("W1");
    Woman("W2");
    Marry("H", "W1");
    Marry("H", "W2");
    ASSERT_TRUE(SetWifeOrder("H", "W1", 1));
    ASSERT_TRUE(SetWifeOrder("H", "W2", 2));
    Man("S1", "H", "W1");
    Man("S2", "H", "W2");
    const int h = chart_->FindOrAddPerson("H");
    chart_->MoveItemTo(h, QPoint(200, 200));
    chart_->ShowSpouses(h);
    ASSERT_EQ(chart_->Persons().size(), 3);
    const TChartBox man = chart_->Person(chart_->IndexOf("H")).Box;
    const TChartBox first = chart_->Person(chart_->IndexOf("W1")).Box;
    const TChartBox second = chart_->Person(chart_->IndexOf("W2")).Box;
    // Right to left: the man, then his first wife left of him, then the second; one row.
    EXPECT_EQ(man.Y, first.Y);
    EXPECT_EQ(first.Y, second.Y);
    EXPECT_LT(first.Right(), man.X);
    EXPECT_LT(second.Right(), first.X);
    ASSERT_EQ(chart_->Maritals().size(), 2);
    // Each son under his own mother: the marks stand under the wives, apart from each other and the row.
    chart_->ShowChildren(chart_->IndexOf("H"));
    for (const char* wife : {"W1", "W2"}) {
        const TChartBox box = chart_->Person(chart_->IndexOf(wife)).Box;
        const TChartBox mark = chart_->Maritals()[chart_->CoupleMark("H", wife)].Mark;
        EXPECT_EQ(mark.CentreX(), box.CentreX()) << wife;
        EXPECT_GT(mark.Y, box.Bottom()) << wife;
        const TChartBox son = chart_->Person(chart_->IndexOf(wife == QLatin1String("W1") ? "S1" : "S2")).Box;
        EXPECT_LE(std::abs(son.CentreX() - box.CentreX()), 1) << wife;
    }
}

TEST_F(Editing, RemovingMoreThanThreeItemsAsksFirst) {
    for (const char* id : {"A", "B", "C", "D"})
        Man(id);
    Woman("W");
    Marry("A", "W");
    for (const char* id : {"A", "B", "C", "D", "W"})
        chart_->FindOrAddPerson(id);
    chart_->AddMaritalsFor("A");
    ASSERT_EQ(chart_->Maritals().size(), 1);

    struct Case {
        QStringList selected;
        int answer;
        bool asked;
        qsizetype left;
    };
    const Case cases[] = {
        {{"A", "B", "C", "D"}, IDCANCEL, true, 5}, // cancelled: everything stays
        {{"B", "C", "D"}, IDCANCEL, false, 2},     // three go without a question
        {{"A", "W"}, IDOK, false, 0},
    };
    for (const Case& c : cases) {
        sink_.shown.clear();
        sink_.answer = c.answer;
        chart_->DeselectAll();
        for (const QString& id : c.selected)
            chart_->SetPersonSelected(chart_->IndexOf(id), true);
        chart_->RemoveSelected();
        EXPECT_EQ(!sink_.shown.isEmpty(), c.asked);
        EXPECT_EQ(chart_->Persons().size(), c.left);
    }
    EXPECT_TRUE(chart_->Maritals().isEmpty()); // the mark went with its persons
    EXPECT_EQ(chart_->IndexOf("A"), -1);
}

TEST_F(Editing, CtrlClickSelectsTheDescendantsAlsoInCyclicData) {
    Man("G");
    Man("F", "G");
    Man("S", "F");
    Man("O");
    // Two persons that are each other's father: selecting must still end.
    Man("X", "Y");
    Man("Y", "X");
    for (const char* id : {"G", "F", "S", "O", "X", "Y"})
        chart_->MoveItemTo(chart_->FindOrAddPerson(id), QPoint(0, 0));
    int x = 10;
    for (int i = 0; i < chart_->Persons().size(); ++i, x += 100)
        chart_->MoveItemTo(i, QPoint(x, 100));
    const QPoint grandfather = chart_->Person(chart_->IndexOf("G")).Position() + QPoint(5, 5);
    chart_->MousePress(ViewOf(grandfather), Qt::ControlModifier);
    chart_->MouseRelease();
    for (const char* id : {"G", "F", "S"})
        EXPECT_TRUE(chart_->Person(chart_->IndexOf(id)).Selected) << id;
    EXPECT_FALSE(chart_->Person(chart_->IndexOf("O")).Selected);
    EXPECT_EQ(chart_->Persons().last().Id, "G"); // the pressed item comes on top

    chart_->MousePress(ViewOf(chart_->Person(chart_->IndexOf("X")).Position() + QPoint(5, 5)),
                       Qt::ControlModifier);
    chart_->MouseRelease();
    EXPECT_TRUE(chart_->Person(chart_->IndexOf("Y")).Selected);
}

TEST_F(Editing, DoubleClickShowsChildrenOnceThenTogglesTheirSelection) {
    Man("F");
    Man("S", "F");
    const int f = chart_->FindOrAddPerson("F");
    chart_->MoveItemTo(f, QPoint(200, 50));
    const QPoint at = ViewOf(QPoint(205, 55));
    chart_->DoubleClick(at);
    ASSERT_EQ(chart_->Persons().size(), 2);
    chart_->DoubleClick(at);
    EXPECT_TRUE(chart_->Person(chart_->IndexOf("S")).Selected);
    chart_->DoubleClick(at);
    EXPECT_FALSE(chart_->Person(chart_->IndexOf("S")).Selected);
    chart_->DoubleClick(QPoint(5000, 5000)); // nobody there
    EXPECT_EQ(chart_->Persons().size(), 2);
}

TEST_F(Editing, AlignRightPutsTheRightEdgesUnderTheFirstSelected) {
    chart_->Defaults.Font.Size = 20; // a character is 10 units: widths 100 and 60
    Man("AAAAAAAA");
    Man("BBBB");
    const int wide = chart_->FindOrAddPerson("AAAAAAAA");
    const int narrow = chart_->FindOrAddPerson("BBBB");
    ASSERT_EQ(chart_->Person(wide).Box.Width, 100);
    ASSERT_EQ(chart_->Person(narrow).Box.Width, 60);
    chart_->MoveItemTo(wide, QPoint(300, 10));
    chart_->MoveItemTo(narrow, QPoint(20, 200));
    chart_->SelectAll();
    chart_->AlignSelected(2);
    EXPECT_EQ(chart_->Person(narrow).Box.Right(), chart_->Person(wide).Box.Right());
    EXPECT_EQ(chart_->Person(narrow).Box.Y, 200);
    chart_->AlignSelected(4);
    EXPECT_EQ(chart_->Person(narrow).Box.CentreY(), chart_->Person(wide).Box.CentreY());
    chart_->AlignSelected(0);
    EXPECT_EQ(chart_->Person(narrow).Box.X, 300);
}

TEST_F(Editing, MovingStopsWhereTheFirstSelectedItemMeetsTheEdge) {
    Man("A");
    Man("B");
    Man("C");
    const int a = chart_->FindOrAddPerson("A");
    const int b = chart_->FindOrAddPerson("B");
    const int c = chart_->FindOrAddPerson("C");
    chart_->MoveItemTo(a, QPoint(50, 50));
    chart_->MoveItemTo(b, QPoint(10, 80));
    chart_->MoveItemTo(c, QPoint(0, 0)); // not selected: does not hold the others back
    chart_->SetPersonSelected(a, true);
    chart_->SetPersonSelected(b, true);
    chart_->MoveSelected(-30, -100);
    EXPECT_EQ(chart_->Person(a).Position(), QPoint(40, 0));
    EXPECT_EQ(chart_->Person(b).Position(), QPoint(0, 30));
    chart_->MoveSelected(0, 2 * kMaxChartPosition);
    EXPECT_EQ(chart_->Person(a).Position().y(), kMaxChartPosition - 30);
    EXPECT_EQ(chart_->Person(c).Position(), QPoint(0, 0));
}

TEST_F(Editing, DraggingMovesTheSelectionAndTheBandSelectsWhatLiesInside) {
    Man("A");
    Man("B");
    const int a = chart_->FindOrAddPerson("A");
    const int b = chart_->FindOrAddPerson("B");
    chart_->MoveItemTo(a, QPoint(100, 100));
    chart_->MoveItemTo(b, QPoint(400, 100));
    chart_->MousePress(ViewOf({110, 110}), Qt::NoModifier);
    chart_->MouseMove(ViewOf({160, 130}));
    chart_->MouseRelease();
    EXPECT_EQ(chart_->Person(chart_->IndexOf("A")).Position(), QPoint(150, 120));

    chart_->MousePress(ViewOf({5, 5}), Qt::NoModifier);
    EXPECT_EQ(chart_->SelectedPersonCount(), 0);
    chart_->MouseMove(ViewOf({300, 300}));
    EXPECT_FALSE(chart_->RubberBand().isEmpty());
    chart_->MouseRelease();
    EXPECT_TRUE(chart_->Person(chart_->IndexOf("A")).Selected);
    EXPECT_FALSE(chart_->Person(chart_->IndexOf("B")).Selected);
    EXPECT_TRUE(chart_->RubberBand().isEmpty());
}

TEST_F(Editing, ZoomStepsStayInsideTenToTwoHundredPercent) {
    EXPECT_FALSE(chart_->SetZoom(2.5f));
    EXPECT_FALSE(chart_->SetZoom(0.05f));
    EXPECT_FLOAT_EQ(chart_->Zoom(), 1.0f);
    EXPECT_TRUE(chart_->WheelZoom(false));
    EXPECT_FLOAT_EQ(chart_->Zoom(), 0.95f);
    EXPECT_TRUE(chart_->WheelZoom(true));
    EXPECT_FLOAT_EQ(chart_->Zoom(), 1.0f);
    for (int i = 0; i < 30; ++i)
        chart_->KeyPress(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(chart_->Zoom(), 0.1f);
    for (int i = 0; i < 40; ++i)
        chart_->WheelZoom(true);
    EXPECT_FLOAT_EQ(chart_->Zoom(), 2.0f);
    EXPECT_EQ(chart_->KeyPress(Qt::Key_C, Qt::ControlModifier), TChartKeyResult::Copy);
    EXPECT_EQ(chart_->KeyPress(Qt::Key_F5, Qt::NoModifier), TChartKeyResult::Ignored);
}

TEST_F(Editing, ArrowKeysMoveByOneTenOrForty) {
    Man("A");
    const int a = chart_->FindOrAddPerson("A");
    chart_->MoveItemTo(a, QPoint(100, 100));
    chart_->SetPersonSelected(a, true);
    chart_->KeyPress(Qt::Key_Right, Qt::NoModifier);
    chart_->KeyPress(Qt::Key_Down, Qt::ShiftModifier);
    chart_->KeyPress(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(chart_->Person(a).Position(), QPoint(70, 101));
    chart_->KeyPress(Qt::Key_A, Qt::ControlModifier);
    chart_->KeyPress(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_TRUE(chart_->Persons().isEmpty());
}

} // namespace

} // namespace verdan::test
