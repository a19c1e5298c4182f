#include "common/written_names.h"
#include "reports/grid_model.h"
#include "reports/report_filter.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace verdan {
namespace {

TFilter Text(quint8 op, const QString& value) {
    return TFilter{QStringLiteral("s"), op, value, QString()};
}

TFilter Number(quint8 op, const QString& v1, const QString& v2 = QString()) {
    return TFilter{QStringLiteral("n"), op, v1, v2};
}

TEST(ReportFilter, TextComparisonsFoldBothSidesAndAnEmptyValueIsNeverFound) {
    EXPECT_TRUE(PassesFilter("Omar", Text(foEquals, "Omar")));
    EXPECT_TRUE(PassesFilter("Omar", Text(foEquals, "omar")));
    EXPECT_FALSE(PassesFilter("Omar", Text(foDiffers, "OMAR")));
    EXPECT_TRUE(PassesFilter("Omar", Text(foDiffers, "Omari")));
    EXPECT_TRUE(PassesFilter("Abd Omar", Text(foContains, "OMAR")));
    EXPECT_FALSE(PassesFilter("Abd Omar", Text(foNotContains, "omar")));
    EXPECT_FALSE(PassesFilter("", Text(foContains, "")));
    EXPECT_FALSE(PassesFilter("Omar", Text(foContains, "")));
    EXPECT_TRUE(PassesFilter("Omar", Text(foNotContains, "")));
    EXPECT_FALSE(PassesFilter("Omar", Text(foNotContains, "ma")));
    EXPECT_FALSE(PassesFilter("Omar", Text(foAtMost, "Omar"))); // no such text comparison
    // A value of marks alone is empty once folded: found nowhere.
    EXPECT_FALSE(PassesFilter(u"نصّار"_qs, Text(foContains, u"\u0651"_qs)));
}

// Every way of writing a name, in the cell or in the filter's value, on every text comparison.
TEST(ReportFilter, NamesMatchHoweverTheyAreWritten) {
    for (const test::TWrittenName& name : test::WrittenNames()) {
        const QString cell = u"بن "_qs + name.Stored;
        EXPECT_TRUE(PassesFilter(name.Stored, Text(foEquals, name.Typed))) << name.What;
        EXPECT_FALSE(PassesFilter(name.Stored, Text(foDiffers, name.Typed))) << name.What;
        EXPECT_TRUE(PassesFilter(cell, Text(foContains, name.Typed))) << name.What;
        EXPECT_FALSE(PassesFilter(cell, Text(foNotContains, name.Typed))) << name.What;
        EXPECT_TRUE(PassesFilter(name.Typed, Text(foContains, name.Stored))) << name.What;
        EXPECT_FALSE(PassesFilter(cell, Text(foEquals, name.Typed))) << name.What;
    }
}

TEST(ReportFilter, NumbersReadWithAPointWhateverTheLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_DOUBLE_EQ(FilterNumber("9.5"), 9.5);
    EXPECT_DOUBLE_EQ(FilterNumber(" 1445 "), 1445);
    EXPECT_DOUBLE_EQ(FilterNumber(QStringLiteral(u"١٤٤٥")), 1445);
    EXPECT_DOUBLE_EQ(FilterNumber(QStringLiteral(u"۱۲٫۵")), 12.5);
    EXPECT_DOUBLE_EQ(FilterNumber("9,5"), 0);
    EXPECT_DOUBLE_EQ(FilterNumber("abc"), 0);
    EXPECT_TRUE(IsFilterNumber("-3.25"));
    EXPECT_FALSE(IsFilterNumber(""));
    EXPECT_FALSE(IsFilterNumber("1,000"));
    QLocale::setDefault(previous);
}

TEST(ReportFilter, NumericComparisons) {
    const TFilter between = Number(foBetween, "10", "20");
    EXPECT_TRUE(PassesFilter("10", between));
    EXPECT_TRUE(PassesFilter("15", between));
    EXPECT_TRUE(PassesFilter("20", between));
    EXPECT_FALSE(PassesFilter("9.5", between));
    EXPECT_FALSE(PassesFilter("20.01", between));
    EXPECT_TRUE(PassesFilter("14450315", Number(foAtLeast, "14000101")));
    EXPECT_TRUE(PassesFilter("5", Number(foAtMost, "5")));
    EXPECT_TRUE(PassesFilter("5.0", Number(foEquals, "5")));
    EXPECT_TRUE(PassesFilter("6", Number(foDiffers, "5")));
    // A cell that is not a number counts as 0.
    EXPECT_TRUE(PassesFilter("n/a", Number(foEquals, "0")));
    EXPECT_FALSE(PassesFilter("5", Number(foContains, "5")));
}

class FilterGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.ReplaceCells({{"", "Name", "Age"},
                           {"", "Omar", "10"},
                           {"", "omar", "9.5"},
                           {"", "Ali", "15"},
                           {"", "Omar", "20"}});
    }
    QStringList Column(int col) const {
        QStringList values;
        for (int row = 1; row < grid.RowCount(); ++row)
            values << grid.Cell(col, row);
        return values;
    }
    TZelGridModel grid;
};

TEST_F(FilterGridTest, FiltersKeepMatchingRowsInOrderAndNarrowEachOther) {
    EXPECT_EQ(ApplyFilter(grid, Number(foBetween, "10", "20"), 2), 3);
    EXPECT_EQ(Column(2), (QStringList{"10", "15", "20"}));
    EXPECT_EQ(grid.Cell(1, 0), "Name");
    EXPECT_EQ(ApplyFilter(grid, Text(foEquals, "Omar"), 1), 2);
    EXPECT_EQ(Column(2), (QStringList{"10", "20"}));
}

TEST_F(FilterGridTest, AFilterKeepingNothingLeavesTheTitlesAndOneEmptyRow) {
    EXPECT_EQ(ApplyFilter(grid, Text(foContains, ""), 1), 0);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(1, 0), "Name");
    EXPECT_TRUE(grid.Cell(1, 1).isEmpty());
}

TEST_F(FilterGridTest, AColumnThatIsNotThereKeepsEveryRow) {
    EXPECT_EQ(ApplyFilter(grid, Text(foEquals, "x"), 7), 4);
    EXPECT_EQ(grid.RowCount(), 5);
}

TEST_F(FilterGridTest, FindSearchesFromTheNextCellAndWrapsOnce) {
    grid.ReplaceCells({{"", "A", "B", "C"},
                       {"", "x", "Omar", "y"},
                       {"", "x", "x", "x"},
                       {"", "x", "x", "OMAR"},
                       {"", "x", "x", "x"}});
    auto text = [this](int col, int row) {
        return grid.Cell(col, row);
    };
    const int cols = grid.ColCount();
    const int rows = grid.RowCount();
    // From (1, 1): the start column is 2 and the start row 2; column 2 holds nothing below, so the rows
    // from row 2 are searched across and (3, 3) is found, regardless of ASCII case.
    EXPECT_EQ(FindNextCell(text, cols, rows, 1, 1, "omar", {}), QPoint(3, 3));
    // From the hit: the search wraps and finds the first one again.
    EXPECT_EQ(FindNextCell(text, cols, rows, 3, 3, "omar", {}), QPoint(2, 1));
    // Text found only in the current cell is found again after wrapping.
    grid.SetCell(3, 3, "x");
    EXPECT_EQ(FindNextCell(text, cols, rows, 2, 1, "omar", {}), QPoint(2, 1));
    EXPECT_EQ(FindNextCell(text, cols, rows, 1, 1, "zzz", {}), QPoint(-1, -1));
    EXPECT_EQ(FindNextCell(text, cols, rows, 1, 1, "", {}), QPoint(-1, -1));
    // Hidden columns are not searched.
    EXPECT_EQ(FindNextCell(text, cols, rows, 1, 1, "omar", [](int col) { return col != 2; }), QPoint(-1, -1));
}

// Searched a little at a time, a long search stops and goes on where it stopped, and finds what the
// search at once finds, also when it wraps.
TEST(CellFinder, ASearchInStepsFindsWhatASearchAtOnceFinds) {
    TZelGridModel grid;
    QList<QStringList> cells{{"", "A", "B", "C"}};
    for (int row = 1; row <= 3000; ++row)
        cells << QStringList{"", QString::number(row), "x", row == 2900 || row == 700 ? "Saleh" : "y"};
    grid.ReplaceCells(cells);
    auto text = [&](int col, int row) {
        return grid.Cell(col, row);
    };
    for (const QPoint from : {QPoint(1, 1), QPoint(3, 2900), QPoint(2, 2950)}) {
        const QPoint atOnce =
            FindNextCell(text, grid.ColCount(), grid.RowCount(), from.x(), from.y(), "saleh", {});
        TCellFinder finder(text, grid.ColCount(), grid.RowCount(), from.x(), from.y(), "saleh", {});
        int steps = 0;
        while (!finder.Step(0))
            ++steps;
        EXPECT_GT(steps, 0) << "from " << from.x() << "," << from.y();
        EXPECT_EQ(finder.Hit(), atOnce);
        EXPECT_TRUE(finder.Done());
    }
    // From (3, 2900) the start column 3 holds nothing below, the rows nothing either: it wraps to 700.
    EXPECT_EQ(FindNextCell(text, grid.ColCount(), grid.RowCount(), 3, 2900, "saleh", {}), QPoint(3, 700));
    TCellFinder nothing(text, grid.ColCount(), grid.RowCount(), 1, 1, "zzz", {});
    while (!nothing.Step(0)) {
    }
    EXPECT_EQ(nothing.Hit(), QPoint(-1, -1));
}

TEST_F(FilterGridTest, FindFindsNamesHoweverTheyAreWritten) {
    QList<QStringList> cells{{"", "A", "B"}};
    for (const test::TWrittenName& name : test::WrittenNames())
        cells.push_back({"", "x", u"بن "_qs + name.Stored});
    grid.ReplaceCells(cells);
    auto text = [this](int col, int row) {
        return grid.Cell(col, row);
    };
    int row = 1;
    for (const test::TWrittenName& name : test::WrittenNames()) {
        EXPECT_EQ(FindNextCell(text, grid.ColCount(), grid.RowCount(), 1, 1, name.Typed, {}), QPoint(2, row))
            << name.What;
        ++row;
    }
}

} // namespace
} // namespace verdan
