#include "common/testing.h"
#include "reports/grid_model.h"
#include "reports/xlsx_export.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

// Records what the export asks of a spreadsheet, and can be told to fail a cell.
class TFakeSheet : public TSheetWriter {
public:
    bool Begin(const QString& path) override {
        path_ = path;
        return true;
    }
    void SetRightToLeft() override { rightToLeft = true; }
    void SetColumnWidth(int column, double width) override { widths[column] = width; }
    void SetRowHeight(int row, double height) override { heights[row] = height; }
    void RepeatRows(int first, int last) override { repeated = {first, last}; }
    bool WriteText(int row, int column, const QString& text, TSheetStyle style) override {
        texts[{row, column}] = text;
        styles[{row, column}] = style;
        return text != failOn;
    }
    bool WriteDate(int row, int column, QDate date) override {
        dates[{row, column}] = date;
        return true;
    }
    bool Finish(QString*) override {
        QFile file(path_);
        return file.open(QIODevice::WriteOnly) && file.write("sheet") == 5;
    }

    bool rightToLeft = false;
    QMap<int, double> widths;
    QMap<int, double> heights;
    std::pair<int, int> repeated{-1, -1};
    QMap<std::pair<int, int>, QString> texts;
    QMap<std::pair<int, int>, TSheetStyle> styles;
    QMap<std::pair<int, int>, QDate> dates;
    QString failOn;

private:
    QString path_;
};

TZelGridModel& SampleGrid(TZelGridModel& grid) {
    grid.SetColCount(4);
    grid.SetRowCount(3);
    grid.SetColTitles({"", "Name", "Id", "Born"});
    grid.SetCell(1, 1, "Ali");
    grid.SetCell(2, 1, "{1}");
    grid.SetCell(3, 1, "12/05/2020");
    grid.SetCell(1, 2, "Omar");
    grid.SetCell(3, 2, "12-05-1445");
    return grid;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(XlsxExport, LaysOutTitleHeaderRowsAndFooter) {
    TZelGridModel grid;
    SampleGrid(grid);
    TFakeSheet sheet;
    const QString file = test::NewTempDir() + "/list.xlsx";
    QString error;
    const TSheetExport options{"Family", "Printed today", true, {35, 140, 0, 700}, {}};
    ASSERT_TRUE(ExportGridToXlsx(grid, options, file, sheet, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(file), "sheet");
    EXPECT_TRUE(sheet.rightToLeft);
    EXPECT_EQ(sheet.texts.value({0, 0}), "Family");
    EXPECT_EQ(sheet.styles.value({0, 0}), TSheetStyle::Title);
    EXPECT_EQ(sheet.repeated, std::make_pair(2, 2));
    EXPECT_EQ(sheet.heights.value(2), 30);
    // Column A keeps its narrow width; the hidden Id column is left out and the rest close up.
    EXPECT_EQ(sheet.widths, (QMap<int, double>{{0, 6}, {1, 20}, {2, 50}}));
    EXPECT_EQ(sheet.texts.value({2, 1}), "Name");
    EXPECT_EQ(sheet.styles.value({2, 1}), TSheetStyle::Header);
    EXPECT_EQ(sheet.texts.value({3, 1}), "Ali");
    EXPECT_EQ(sheet.styles.value({3, 1}), TSheetStyle::Text);
    EXPECT_FALSE(sheet.texts.contains({3, 3}));
    // A Gregorian date becomes a date cell; a Hijri year stays text.
    EXPECT_EQ(sheet.dates.value({3, 2}), QDate(2020, 5, 12));
    EXPECT_EQ(sheet.texts.value({4, 2}), "12-05-1445");
    EXPECT_EQ(sheet.texts.value({4, 3}), "");
    EXPECT_EQ(sheet.texts.value({7, 0}), "Printed today");
    EXPECT_EQ(sheet.styles.value({7, 0}), TSheetStyle::Footer);

    TFakeSheet leftToRight;
    ASSERT_TRUE(ExportGridToXlsx(grid, {"Family", "", false, {}, {}}, file, leftToRight, &error));
    EXPECT_TRUE(leftToRight.dates.isEmpty());
    EXPECT_EQ(leftToRight.widths, (QMap<int, double>{{0, 6}}));
    EXPECT_EQ(leftToRight.texts.value({3, 3}), "12/05/2020");
    EXPECT_EQ(leftToRight.texts.value({4, 2}), " ");

    // Columns in the order asked; a hidden one stays out even when asked for.
    TFakeSheet ordered;
    ASSERT_TRUE(
        ExportGridToXlsx(grid, {"Family", "", false, {35, 140, 0, 700}, {3, 2, 1}}, file, ordered, &error));
    EXPECT_EQ(ordered.texts.value({2, 1}), "Born");
    EXPECT_EQ(ordered.texts.value({2, 2}), "Name");
    EXPECT_FALSE(ordered.texts.contains({2, 3}));
    EXPECT_EQ(ordered.widths, (QMap<int, double>{{0, 6}, {1, 50}, {2, 20}}));
    // Progress is told as rows go, and a cancel leaves no file.
    const QString cancelled = test::NewTempDir() + "/cancelled.xlsx";
    TFakeSheet stopped;
    int calls = 0;
    EXPECT_FALSE(ExportGridToXlsx(grid, {}, cancelled, stopped, &error, [&](int, int total) {
        EXPECT_EQ(total, 2);
        return ++calls < 1;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(QFile::exists(cancelled));
}

TEST(XlsxExport, FailureIsReportedAndLeavesNoFile) {
    TZelGridModel grid;
    SampleGrid(grid);
    const QString dir = test::NewTempDir();
    QString error;
    TFakeSheet failing;
    failing.failOn = "Omar";
    EXPECT_FALSE(ExportGridToXlsx(grid, {}, dir + "/new.xlsx", failing, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir + "/new.xlsx"));

    QFile old(dir + "/old.xlsx");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    EXPECT_FALSE(ExportGridToXlsx(grid, {}, dir + "/old.xlsx", failing, &error));
    EXPECT_EQ(ReadAll(dir + "/old.xlsx"), "previous");

    TFakeSheet fine;
    error.clear();
    EXPECT_FALSE(ExportGridToXlsx(grid, {}, dir + "/no/such/folder/x.xlsx", fine, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ExportGridToXlsx(grid, {}, "  ", fine, &error));
}

TEST(XlsxExport, WritesARealWorkbook) {
    TZelGridModel grid;
    SampleGrid(grid);
    grid.SetCell(1, 2, "عمر");
    const QString file = test::NewTempDir() + "/real.xlsx";
    QString error;
    auto writer = NewXlsxWriter(QStringLiteral("/"));
    ASSERT_TRUE(ExportGridToXlsx(grid, {"Family", "end", true, {}, {}}, file, *writer, &error))
        << error.toStdString();
    const QByteArray bytes = ReadAll(file);
    ASSERT_GT(bytes.size(), 22);
    EXPECT_TRUE(bytes.startsWith("PK\x03\x04"));
    EXPECT_NE(bytes.lastIndexOf("PK\x05\x06"), -1);
    EXPECT_NE(bytes.indexOf("xl/worksheets/sheet1.xml"), -1);
}

TEST(XlsxExport, DayMonthYearDates) {
    EXPECT_EQ(DayMonthYearDate("12/5/2020"), QDate(2020, 5, 12));
    EXPECT_EQ(DayMonthYearDate(" 1 . 2 . 1999 "), QDate(1999, 2, 1));
    EXPECT_EQ(DayMonthYearDate("3\\4\\1950"), QDate(1950, 4, 3));
    EXPECT_FALSE(DayMonthYearDate("31/02/2020").isValid());
    EXPECT_FALSE(DayMonthYearDate("2020-05-12").isValid());
    EXPECT_FALSE(DayMonthYearDate("Ali-Omar-Said").isValid());
    EXPECT_FALSE(DayMonthYearDate("12/05").isValid());
}
