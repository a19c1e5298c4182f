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
    double TextWidth(const QFont&, const QString& text) const override {
        qsizetype widest = 0;
        for (const QString& line : text.split(u'\n'))
            widest = std::max(widest, line.size());
        return 5.0 * widest;
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

// Every page of rows is printed once for every page of columns: pages take the same rows.
void ExpectColumnPagesShareTheirRows(const TGridPrintLayout& layout) {
    for (int page = 1; page <= layout.PageCount(); ++page)
        EXPECT_EQ(layout.PageRows(page),
                  layout.PageRows((page - 1) / layout.ColumnPages() * layout.ColumnPages() + 1))
            << "page " << page;
}

QList<int> ColumnsOf(const TGridPrintLayout& layout, int columnPage) {
    QList<int> cols;
    for (const auto& placed : layout.Columns(columnPage))
        cols << placed.col;
    return cols;
}

TEST(GridPrintLayout, ColumnsThatDoNotFitContinueOnTheFollowingPagesAfterTheName) {
    TGridPrintSource source = Source(25, 4, 300);
    source.repeatColumn = 2;
    TGridPrintLayout ltr(source, Settings());
    ltr.SetPage(QSizeF(850, 600)); // 700 units between the margins: two columns of 300
    ltr.Paginate(FakeMeasurer());
    ASSERT_EQ(ltr.ColumnPages(), 3);
    EXPECT_EQ(ColumnsOf(ltr, 0), (QList<int>{1, 2}));
    EXPECT_EQ(ColumnsOf(ltr, 1), (QList<int>{2, 3}));
    EXPECT_EQ(ColumnsOf(ltr, 2), (QList<int>{2, 4}));
    EXPECT_EQ(ltr.Columns(1).first().left, 75);
    EXPECT_EQ(ltr.Columns(1).last().width, 300);
    EXPECT_EQ(ltr.PageCount() % 3, 0);
    ExpectColumnPagesShareTheirRows(ltr);
    EXPECT_EQ(ltr.ColumnPageOf(1), 0);
    EXPECT_EQ(ltr.ColumnPageOf(3), 2);
    EXPECT_EQ(ltr.ColumnPageOf(4), 0);
    // A narrow last column joins the last page of columns.
    source.colCount = 6;
    source.colWidths = {35, 300, 300, 300, 300, 100};
    TGridPrintLayout wider(source, Settings());
    wider.SetPage(QSizeF(850, 600));
    EXPECT_EQ(ColumnsOf(wider, 2), (QList<int>{2, 4, 5}));

    // Right to left the name stands at the right edge of every page of columns.
    source.rightToLeft = true;
    source.repeatColumn = -1; // the first printed column
    TGridPrintLayout rtl(source, Settings());
    rtl.SetPage(QSizeF(850, 600));
    ASSERT_EQ(rtl.ColumnPages(), 3);
    EXPECT_EQ(ColumnsOf(rtl, 1), (QList<int>{1, 3}));
    EXPECT_EQ(rtl.Columns(1).first().left + rtl.Columns(1).first().width, 775);
    EXPECT_EQ(rtl.Columns(1).last().left, 175);
}

TEST(GridPrintLayout, ColumnsTakeTheWidthOfTheirTextsAndTheZoomFitsThemAcross) {
    // Texts of 2, 40 and 200 characters: 10, 200 and 1000 units; titles of one short word.
    TGridPrintSource source = Source(30, 3, 100);
    source.cell = [](int col, int row) {
        TPrintCell cell;
        cell.text = row == 0 ? QStringLiteral("Title")
                             : QString(col == 1   ? 2
                                       : col == 2 ? 40
                                       : row == 7 ? 200
                                                  : 10,
                                       u'x');
        return cell;
    };
    TGridPrintSettings settings = Settings();
    settings.ContentWidths = true;
    settings.Options |= goAdjustRowHeight;
    TGridPrintLayout sized(source, settings);
    sized.SetPage(QSizeF(800, 800)); // 650 units across
    sized.Paginate(FakeMeasurer());
    ASSERT_EQ(sized.ColumnPages(), 1);
    // At least its title's width (25 + 2 * 2 + 2), else its widest text and the cell's insets (2 * 5 + 2).
    EXPECT_EQ(sized.Columns()[0].width, 31);
    EXPECT_EQ(sized.Columns()[1].width, 212);
    // A very long text is first held to the widest column, then gets the room the page has left; it
    // wraps there.
    EXPECT_EQ(sized.Columns()[2].width, 650 - 31 - 212);
    EXPECT_GT(sized.RowHeight(7), sized.RowHeight(6));
    // With room for it, it takes its text's width.
    TGridPrintLayout roomy(source, settings);
    roomy.SetPage(QSizeF(2000, 800));
    roomy.Paginate(FakeMeasurer());
    EXPECT_EQ(roomy.Columns()[2].width, 1012);
    EXPECT_EQ(roomy.RowHeight(7), roomy.RowHeight(6));

    // Fitted across A4 landscape (1123 units): the columns and the margins take 563 units at zoom 1.
    settings.Paper = QPageSize(QPageSize::A4);
    settings.Orientation = TPrintOrientation::Landscape;
    settings.FitToWidth = true;
    settings.PrintZoom = 0.8;
    TGridPrintLayout fitted(source, settings);
    fitted.Paginate(FakeMeasurer());
    EXPECT_EQ(fitted.Settings().PrintZoom, 1.0); // never larger than life
    EXPECT_EQ(fitted.ColumnPages(), 1);
    // Much wider columns: the zoom goes down to its least, and what still does not fit continues.
    source.colCount = 13;
    source.colWidths = QList<int>(13, 100);
    source.cell = [](int, int row) {
        TPrintCell cell;
        cell.text = row == 0 ? QStringLiteral("T") : QString(56, u'x'); // 292 units a column
        return cell;
    };
    TGridPrintLayout shrunk(source, settings);
    shrunk.Paginate(FakeMeasurer());
    EXPECT_EQ(shrunk.Settings().PrintZoom, TGridPrintSettings::kSmallestFitZoom);
    EXPECT_NEAR(shrunk.Page().width(), 1122.5 / TGridPrintSettings::kSmallestFitZoom, 0.5);
    EXPECT_GT(shrunk.ColumnPages(), 1);
    QList<int> printed;
    for (int band = 0; band < shrunk.ColumnPages(); ++band)
        for (const int col : ColumnsOf(shrunk, band))
            if (!printed.contains(col))
                printed << col;
    EXPECT_EQ(printed.size(), 12); // every column on some page
    // Three columns fit at a zoom between: 3 * 292 + 150 = 1026 units of 1123.
    source.colCount = 4;
    TGridPrintLayout three(source, settings);
    three.Paginate(FakeMeasurer());
    EXPECT_EQ(three.Settings().PrintZoom, 1.0);
    source.colCount = 5;
    TGridPrintLayout four(source, settings);
    four.Paginate(FakeMeasurer());
    EXPECT_EQ(four.Settings().PrintZoom, std::floor(1122.5 / (4 * 292 + 150) * 100) / 100);
    EXPECT_EQ(four.ColumnPages(), 1);
}

TEST(GridPrintLayout, PagesAreLaidOutAsTheyAreAskedFor) {
    const FakeMeasurer measurer;
    TGridPrintLayout whole(Source(5000, 2), Settings());
    whole.Paginate(measurer);
    TGridPrintLayout lazy(Source(5000, 2), Settings());
    lazy.Begin(measurer);
    EXPECT_FALSE(lazy.Complete());
    ASSERT_TRUE(lazy.Reach(3));
    EXPECT_EQ(lazy.PageRows(3), whole.PageRows(3));
    EXPECT_LT(lazy.MeasuredRows(), 5000 / 2);
    EXPECT_LT(lazy.PageCount(), whole.PageCount());
    while (!lazy.Continue(0)) {
    }
    EXPECT_EQ(lazy.PageCount(), whole.PageCount());
    for (int page = 1; page <= whole.PageCount(); ++page)
        ASSERT_EQ(lazy.PageRows(page), whole.PageRows(page)) << "page " << page;
    EXPECT_FALSE(lazy.Reach(whole.PageCount() + 1));
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
