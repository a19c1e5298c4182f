#include "navigator/outline_fixture.h"
#include "relations/ui/breastfeeding_window.h"
#include "relations/ui/childless_window.h"
#include "relations/ui/find_window.h"
#include "relations/ui/marriages_window.h"
#include "relations/ui/parent_contradiction_window.h"
#include "relations/ui/statistics_window.h"
#include "reports/ui/zel_grid.h"
#include "storage/person_names.h"
#include "text/localisation.h"
#include "text/ui/person_follow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace verdan::test {
namespace {

// The lists of the whole tree and the statistics, in both reading directions.
class TreeListsTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person("A", "Ali", "-1", "0", "m", 1);
        Person("H", "Hind", "-1", "0", "f", 2);
        Person("Z", "Zaid", "-1", "0", "m", 3);
        Person("W", "Warda", "-1", "0", "f", 4);
        Person("S", "Sami", "A", "H", "m", 1, 1);
        Person("T", "Tariq", "A", "H", "m", 2, 2);
        Person("D", "Dana", "S", "0", "f", 1);
        Marry("A", "H");
        Marry("Z", "H"); // a husband without children, whose wife has some
    }
    void TearDown() override {
        QApplication::setLayoutDirection(Qt::LeftToRight);
        OutlineTest::TearDown();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // Draws the grid, as the screen would, so that names looked up on drawing are filled in.
    static void Draw(TZelGrid* grid) {
        grid->viewport()->grab();
        Settle();
    }
    static void Relation(const QString& first, const QString& second, int type) {
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type, "
                                        "is_active) VALUES (?, ?, ?, 1)"),
                         first, second, type),
            1);
    }
    static QString Shown(TZelGrid* grid, int col, int row) {
        QString text = grid->Cells(col, row);
        int align = 0;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        if (grid->CellView)
            grid->CellView(col, row, text, align, direction);
        return text;
    }
};

TEST_P(TreeListsTest, MarriagesShowTheLineageNamesOfSpousesStoredWithoutThem) {
    TfrmRelationM window;
    QSignalSpy opened(&window, &TfrmPersonList::TreeWindowWanted);
    window.show();
    Settle();
    EXPECT_EQ(window.layoutDirection(), QApplication::layoutDirection());
    TZelGrid* grid = window.Grid();
    ASSERT_EQ(grid->RowCount(), 3);
    Draw(grid);
    QStringList husbands;
    for (int row = 1; row <= 2; ++row) {
        EXPECT_EQ(grid->Cells(5, row), GetLineageName("H"));
        husbands << grid->Cells(4, row);
    }
    EXPECT_TRUE(husbands.contains(GetLineageName("A")));
    EXPECT_TRUE(husbands.contains(GetLineageName("Z")));
    // Shown only: the relations keep their empty names until "Update Names".
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation WHERE ifnull(name_1, '') = ''")),
              2);
    window.UpdateNamesButton()->click();
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation WHERE ifnull(name_1, '') = ''")),
              0);

    // A double click opens a tree window for each spouse.
    emit grid->doubleClicked(grid->Model().index(0, 3));
    ASSERT_EQ(opened.size(), 2);
}

TEST_P(TreeListsTest, ChildlessCouplesAreSplitByTheSpouseWithoutChildren) {
    TfrmSpousNoChild window;
    window.show();
    Settle();
    ASSERT_EQ(window.HusbandsGrid()->RowCount(), 2);
    EXPECT_EQ(window.HusbandsGrid()->Cells(1, 1), "Z");
    EXPECT_EQ(window.HusbandsGrid()->Cells(2, 1), "H");
    // No wife without children: the lower list keeps one empty row, which opens nothing.
    ASSERT_EQ(window.WivesGrid()->RowCount(), 2);
    EXPECT_TRUE(window.WivesGrid()->Cells(1, 1).isEmpty());
    QSignalSpy opened(&window, &TfrmPersonList::TreeWindowWanted);
    emit window.WivesGrid()->doubleClicked(window.WivesGrid()->Model().index(0, 2));
    EXPECT_TRUE(opened.isEmpty());
    // The empty list says why it is empty; the full one has no note over it.
    const QLabel* wivesNote = window.WivesGrid()->findChild<QLabel*>("emptyNote");
    const QLabel* husbandsNote = window.HusbandsGrid()->findChild<QLabel*>("emptyNote");
    ASSERT_TRUE(wivesNote && husbandsNote);
    EXPECT_TRUE(wivesNote->isVisible());
    EXPECT_FALSE(wivesNote->text().isEmpty());
    EXPECT_FALSE(husbandsNote->isVisible());
}

TEST_P(TreeListsTest, BreastfeedingRelationsNameTheirKind) {
    TfrmRelationB window;
    window.show();
    Settle();
    // None: one empty row.
    ASSERT_EQ(window.Grid()->RowCount(), 2);
    EXPECT_TRUE(window.Grid()->Cells(2, 1).isEmpty());

    Relation("W", "S", 2);
    Relation("S", "Z", 1);
    window.UpdateButton()->click();
    TZelGrid* grid = window.Grid();
    ASSERT_EQ(grid->RowCount(), 3);
    const int mother = grid->Cells(2, 1) == "W" ? 1 : 2;
    EXPECT_EQ(Shown(grid, 5, mother),
              TranslateContext(QStringLiteral("Breastfeeding Mother"), "relationships"));
    EXPECT_EQ(Shown(grid, 5, 3 - mother),
              TranslateContext(QStringLiteral("Breastfeeding Brothers"), "relationships"));
    EXPECT_EQ(Shown(grid, 6, mother), GetLineageName("S"));
    // "Update" wrote the names into the relations.
    EXPECT_EQ(Dm().ScalarText(QStringLiteral("SELECT name_2 FROM ftRelation WHERE relation_type = 2")),
              GetLineageName("S"));
}

TEST_P(TreeListsTest, ParentContradictionsNameTheWrongGenders) {
    Person("M", "Misattached", "W", "A", "m"); // a woman as father, a man as mother
    TfrmParenrContradiction window;
    QSignalSpy opened(&window, &TfrmPersonList::TreeWindowWanted);
    window.show();
    Settle();
    EXPECT_TRUE(window.StayOnTopButton()->isChecked());
    ASSERT_EQ(window.Count(), 1);
    TZelGrid* grid = window.Grid();
    EXPECT_EQ(grid->Cells(1, 1), "M");
    EXPECT_EQ(Shown(grid, 4, 1), Translate(QStringLiteral("male")));
    EXPECT_EQ(Shown(grid, 6, 1), Translate(QStringLiteral("female")));
    grid->SetCurrentCell(2, 1);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), "M");

    // Set right, the list says there is nothing left.
    Dm().Execute(
        QStringLiteral("UPDATE ftPerson SET father_id = 'A', mother_id = 'W' WHERE person_id = 'M'"));
    window.UpdateButton()->click();
    EXPECT_EQ(window.Count(), 0);
    ASSERT_EQ(shown_.texts.size(), 1);
    EXPECT_EQ(shown_.texts[0], Translate(QStringLiteral("No contradiction found in data.")));
}

TEST_P(TreeListsTest, SearchFindsEveryWordAndTellsTheCards) {
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET notes = 'lived by the well' WHERE person_id = 'T'"));
    TfrmFind window;
    window.show();
    Settle();
    window.FindBox()->setText(QStringLiteral("Tariq well"));
    QTest::keyClick(window.FindBox(), Qt::Key_Return);
    TZelGrid* grid = window.Grid();
    ASSERT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), "T");

    // Choosing a row tells the cards which person it is.
    QSignalSpy chosen(&PersonFollow(), &TPersonFollow::Chosen);
    const QRect cell = grid->visualRect(grid->Model().index(0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_FALSE(chosen.isEmpty());
    EXPECT_EQ(chosen.last()[0].toString(), "T");

    window.FindBox()->setText(QStringLiteral("Tariq nowhere"));
    window.SearchButton()->click();
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_TRUE(grid->Cells(1, 1).isEmpty());
}

TEST_P(TreeListsTest, StatisticsCountDescendantsByGender) {
    TfrmPersonInfo window;
    window.ShowPersonStatistics("A", false);
    Settle();
    EXPECT_EQ(window.layoutDirection(), QApplication::layoutDirection());
    EXPECT_EQ(window.NameLabel()->text().contains(GetLineageName("A")), true);
    const QLocale locale;
    EXPECT_EQ(window.TotalBox()->text(), locale.toString(3));
    EXPECT_EQ(window.MalesBox()->text(), locale.toString(2));
    EXPECT_EQ(window.FemalesBox()->text(), locale.toString(1));

    // A woman: her children count only with the box checked, which her statistics start with.
    window.ShowPersonStatistics("H", true);
    EXPECT_TRUE(window.IncludeFemaleBox()->isChecked());
    EXPECT_EQ(window.TotalBox()->text(), locale.toString(3));
    window.IncludeFemaleBox()->setChecked(false);
    window.CalculateButton()->click();
    EXPECT_EQ(window.TotalBox()->text(), locale.toString(0));

    // Following the outline keeps the box as the user left it; a gender written another way still counts.
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET gender = 'F' WHERE person_id = 'D'"));
    window.FollowPerson("S");
    EXPECT_EQ(window.PersonId(), "S");
    EXPECT_FALSE(window.IncludeFemaleBox()->isChecked());
    EXPECT_EQ(window.FemalesBox()->text(), locale.toString(1));
    window.hide();
    window.FollowPerson("T");
    EXPECT_EQ(window.PersonId(), "S");

    // A father line that runs back into itself ends, without counting its start.
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET father_id = 'D' WHERE person_id = 'A'"));
    window.ShowPersonStatistics("A", false);
    EXPECT_EQ(window.TotalBox()->text(), locale.toString(3));
}

INSTANTIATE_TEST_SUITE_P(Directions, TreeListsTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
