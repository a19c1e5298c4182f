#include "reports/grid_print_layout.h"

#include <cmath>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// Every line is 10 units high and every character 5 units wide, so heights follow from the texts alone.
class FakeMeasurer : public TPrintMeasurer {
public:
    double LineHeight(const QFont&) const override { return 10; }
    double TextHeight(const QFont&, const QString& text, double width) const override {
        if (text.isEmpty())
            return 0;
        const double perLine = std::max(1.0, std::floor(width / 5));
        return 10 * std::ceil(text.size() / perLine);
    }
};

// A grid of `rows` data rows and `cols` data columns; cell (c, r) reads "rRcC".
TGridPrintSource Source(int rows, int cols, int width = 100) {
    TGridPrintSource source;
    source.colCount = cols + 1;
    source.rowCount = rows + 1;
    source.colWidths = QList<int>(cols + 1, width);
    source.cell = [](int col, int row) {
        TPrintCell cell;
        cell.text = row == 0 ? QStringLiteral("T%1").arg(col) : QStringLiteral("r%1c%2").arg(row).arg(col);
        return cell;
    };
    return source;
}

// Settings whose page leaves exactly `usable` units for data rows.
TGridPrintSettings Settings() {
    TGridPrintSettings settings;
    settings.Options = goAllOptions & ~goAdjustRowHeight;
    return settings;
}

void SetUsableHeight(TGridPrintLayout& layout, double usable) {
    // The data area ends where it ends; only the page height moves it.
    layout.SetPage(QSizeF(800, 1000));
    layout.Paginate(FakeMeasurer());
    const double now = layout.DataBottom() - layout.DataTop();
    layout.SetPage(QSizeF(800, 1000 + usable - now));
    layout.Paginate(FakeMeasurer());
}

// Every data row lies on exactly one page, in order, and no page is empty.
void ExpectEveryRowOnce(const TGridPrintLayout& layout, int rows) {
    int next = 1;
    for (int page = 1; page <= layout.PageCount(); ++page) {
        const TRowsRange range = layout.PageRows(page);
        ASSERT_EQ(range.First, next) << "page " << page;
        ASSERT_GE(range.Last, range.First) << "page " << page;
        next = range.Last + 1;
    }
    EXPECT_EQ(next, rows + 1);
}

TEST(GridPrintLayout, RowsFillPagesAndAnExactMultipleLeavesNoEmptyPage) {
    // Fixed rows are one line (10) plus 6 of padding: 16 units; 160 units hold ten rows.
    TGridPrintLayout layout(Source(30, 3), Settings());
    SetUsableHeight(layout, 160);
    EXPECT_EQ(layout.RowHeight(1), 16);
    EXPECT_EQ(layout.PageCount(), 3);
    EXPECT_EQ(layout.PageRows(1), (TRowsRange{1, 10}));
    EXPECT_EQ(layout.PageRows(3), (TRowsRange{21, 30}));
    ExpectEveryRowOnce(layout, 30);

    TGridPrintLayout oneMore(Source(31, 3), Settings());
    SetUsableHeight(oneMore, 160);
    EXPECT_EQ(oneMore.PageCount(), 4);
    EXPECT_EQ(oneMore.PageRows(4), (TRowsRange{31, 31}));
    EXPECT_EQ(oneMore.PageRows(5), TRowsRange{});
}

TEST(GridPrintLayout, TallRowsStartANewPageAndARowTallerThanThePageGetsOneOfItsOwn) {
    TGridPrintSource source = Source(6, 1, 60); // 50 units of text width: ten characters a line
    source.cell = [](int col, int row) {
        TPrintCell cell;
        if (row == 0)
            cell.text = QStringLiteral("T");
        else if (row == 3)
            cell.text = QString(50, u'x'); // five lines: 56 units
        else if (row == 5)
            cell.text = QString(300, u'y'); // thirty lines: 306 units, more than a page
        else
            cell.text = QStringLiteral("r%1c%2").arg(row).arg(col);
        return cell;
    };
    TGridPrintSettings settings = Settings();
    settings.Options |= goAdjustRowHeight;
    TGridPrintLayout layout(source, settings);
    SetUsableHeight(layout, 80);
    EXPECT_EQ(layout.RowHeight(3), 56);
    EXPECT_EQ(layout.RowHeight(5), 306);
    // Rows 1 and 2 (32 units) leave no room for row 3, which goes first on page 2 with row 4 below it.
    EXPECT_EQ(layout.PageRows(1), (TRowsRange{1, 2}));
    EXPECT_EQ(layout.PageRows(2), (TRowsRange{3, 4}));
    EXPECT_EQ(layout.PageRows(3), (TRowsRange{5, 5}));
    EXPECT_EQ(layout.PageRows(4), (TRowsRange{6, 6}));
    ExpectEveryRowOnce(layout, 6);

    // Without adjusted heights the same rows are one line each.
    TGridPrintLayout fixed(source, Settings());
    SetUsableHeight(fixed, 80);
    EXPECT_EQ(fixed.RowHeight(5), 16);
    EXPECT_EQ(fixed.PageCount(), 2);
}

TEST(GridPrintLayout, NoRoomForRowsStillGivesOneRowPerPage) {
    TGridPrintLayout layout(Source(5, 2), Settings());
    SetUsableHeight(layout, -40);
    EXPECT_EQ(layout.PageCount(), 5);
    ExpectEveryRowOnce(layout, 5);

    TGridPrintSettings huge = Settings();
    huge.Margins.Top = 5000;
    TGridPrintLayout beyond(Source(3, 2), huge);
    beyond.Paginate(FakeMeasurer());
    EXPECT_EQ(beyond.PageCount(), 3);
    ExpectEveryRowOnce(beyond, 3);
}

TEST(GridPrintLayout, ACancelledPaginationLeavesNoPages) {
    TGridPrintLayout layout(Source(5000, 2), Settings());
    int calls = 0;
    EXPECT_FALSE(layout.Paginate(FakeMeasurer(), [&](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 5001);
        return done < 4000;
    }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(layout.PageCount(), 0);
    EXPECT_TRUE(layout.Paginate(FakeMeasurer(), [](int, int) { return true; }));
    ExpectEveryRowOnce(layout, 5000);
}

TEST(GridPrintLayout, AGridWithoutDataRowsIsOneEmptyPage) {
    TGridPrintLayout layout(Source(0, 2), Settings());
    layout.Paginate(FakeMeasurer());
    EXPECT_EQ(layout.PageCount(), 1);
    EXPECT_LT(layout.PageRows(1).Last, layout.PageRows(1).First);
}

TEST(GridPrintLayout, ColumnsRunFromTheLeadingEdgeAndSkipHiddenOnes) {
    TGridPrintSource source = Source(2, 5, 100);
    source.colWidths = {35, 100, -1, 5, 6, 200};
    TGridPrintSettings settings = Settings();
    TGridPrintLayout ltr(source, settings);
    ltr.SetPage(QSizeF(1000, 800));
    ASSERT_EQ(ltr.Columns().size(), 3);
    EXPECT_EQ(ltr.Columns()[0].col, 1);
    EXPECT_EQ(ltr.Columns()[0].left, 75);
    EXPECT_EQ(ltr.Columns()[1].col, 4);
    EXPECT_EQ(ltr.Columns()[1].left, 175);
    EXPECT_EQ(ltr.Columns()[2].left, 181);

    source.rightToLeft = true;
    TGridPrintLayout rtl(source, settings);
    rtl.SetPage(QSizeF(1000, 800));
    ASSERT_EQ(rtl.Columns().size(), 3);
    // The first column stands at the right edge of the page, the others to its left.
    EXPECT_EQ(rtl.Columns()[0].col, 1);
    EXPECT_EQ(rtl.Columns()[0].left + rtl.Columns()[0].width, 925);
    EXPECT_EQ(rtl.Columns()[0].left, 825);
    EXPECT_EQ(rtl.Columns()[2].left, 619);
}

TEST(GridPrintLayout, AColumnCrossingTheFarEdgeIsCutThereAndLaterOnesAreLeftOut) {
    TGridPrintSource source = Source(1, 4, 300);
    TGridPrintLayout ltr(source, Settings());
    ltr.SetPage(QSizeF(850, 600)); // 700 units between the margins
    ASSERT_EQ(ltr.Columns().size(), 3);
    EXPECT_EQ(ltr.Columns()[2].width, 100);
    source.rightToLeft = true;
    TGridPrintLayout rtl(source, Settings());
    rtl.SetPage(QSizeF(850, 600));
    ASSERT_EQ(rtl.Columns().size(), 3);
    EXPECT_EQ(rtl.Columns()[2].left, 75);
    EXPECT_EQ(rtl.Columns()[2].width, 100);
}

TEST(GridPrintLayout, TheZoomScalesThePageSoHalfSizeHoldsTwiceTheRows) {
    TGridPrintSettings full = Settings();
    full.Paper = QPageSize(QPageSize::A4);
    full.Orientation = TPrintOrientation::Portrait;
    TGridPrintSettings half = full;
    half.PrintZoom = 0.5;
    TGridPrintLayout a(Source(400, 2), full);
    TGridPrintLayout b(Source(400, 2), half);
    EXPECT_NEAR(a.Page().width(), 595 * 96 / 72.0, 0.01); // A4 is 595 points wide
    EXPECT_NEAR(b.Page().height(), 2 * a.Page().height(), 0.01);
    a.Paginate(FakeMeasurer());
    b.Paginate(FakeMeasurer());
    EXPECT_GT(a.PageCount(), 2 * b.PageCount() - 2);
    EXPECT_LT(b.PageCount(), a.PageCount());
    ExpectEveryRowOnce(b, 400);
    // An undefined orientation prints landscape.
    TGridPrintSettings undefined = Settings();
    EXPECT_GT(TGridPrintLayout(Source(1, 1), undefined).Page().width(),
              TGridPrintLayout(Source(1, 1), undefined).Page().height());
}

} // namespace
} // namespace verdan
