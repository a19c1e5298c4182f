#include "reports/grid_model.h"
#include "reports/packed_rows.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

QStringList Column(const TZelGridModel& grid, int col) {
    QStringList cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        cells.append(grid.Cell(col, row));
    return cells;
}

void FillColumn(TZelGridModel& grid, int col, const QStringList& texts) {
    grid.SetRowCount(static_cast<int>(texts.size()) + 1);
    for (int i = 0; i < texts.size(); ++i)
        grid.SetCell(col, i + 1, texts[i]);
}

} // namespace

TEST(GridModel, RowOperations) {
    TZelGridModel grid;
    grid.SetCell(1, 1, "only");
    grid.DeleteRow(1);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(1, 1), "");

    FillColumn(grid, 1, {"a", "b", "c"});
    grid.DeleteRow(0);
    grid.DeleteRow(9);
    grid.DeleteRow(2);
    EXPECT_EQ(Column(grid, 1), QStringList({"", "a", "c"}));

    QList<int> inserted;
    QObject::connect(&grid, &TZelGridModel::AfterRowInsert, [&](int row) { inserted.append(row); });
    grid.InsertRow(0);
    grid.InsertRow(99);
    EXPECT_EQ(inserted, QList<int>({1, 4}));
    EXPECT_EQ(Column(grid, 1), QStringList({"", "", "a", "c", ""}));

    grid.MoveRow(3, 1);
    EXPECT_EQ(Column(grid, 1), QStringList({"", "c", "", "a", ""}));

    grid.BeforeRowDelete = [](int row) {
        return row != 1;
    };
    grid.DeleteAllRows();
    EXPECT_EQ(Column(grid, 1), QStringList({"", "c"}));
    grid.BeforeRowDelete = nullptr;

    grid.SetColTitles({"#", "Name"});
    grid.SetCell(0, 1, "row title");
    grid.ClearCells();
    EXPECT_EQ(grid.Cell(1, 0), "Name");
    EXPECT_EQ(grid.Cell(0, 1), "row title");
    EXPECT_EQ(grid.Cell(1, 1), "");
    grid.ClearAll();
    EXPECT_EQ(grid.Cell(1, 0), "");
    EXPECT_EQ(grid.Cell(0, 1), "");
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST(GridModel, TitlesAndItemModelView) {
    TZelGridModel grid;
    grid.SetColCount(4);
    grid.SetColTitles({"", "Name", "Place", "Year"});
    grid.SetColTitles({"@", "@", "City"});
    EXPECT_EQ(grid.Cell(1, 0), "Name");
    EXPECT_EQ(grid.Cell(2, 0), "City");
    EXPECT_EQ(grid.ColumnIndexOf("YEAR"), 3);
    EXPECT_EQ(grid.ColumnIndexOf("name "), -1);
    EXPECT_EQ(grid.ColumnIndexOf("Age"), -1);

    grid.SetCell(1, 1, "Ali");
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.columnCount(), 3);
    EXPECT_EQ(grid.data(grid.index(0, 0)).toString(), "Ali");
    EXPECT_EQ(grid.headerData(1, Qt::Horizontal).toString(), "City");
    grid.SetCell(0, 1, "x");
    EXPECT_EQ(grid.headerData(0, Qt::Vertical).toString(), "x");
    grid.SetAutoRowNumber(true);
    EXPECT_EQ(grid.headerData(0, Qt::Vertical).toString(), "1");
    EXPECT_TRUE(grid.setData(grid.index(0, 2), "1990"));
    EXPECT_EQ(grid.Cell(3, 1), "1990");
}

TEST(GridModel, MarkupOnlyWhenTheGridUsesIt) {
    TZelGridModel grid;
    grid.SetCell(1, 1, "<b>Ali");
    EXPECT_EQ(grid.CellText(1, 1), "<b>Ali");
    EXPECT_EQ(grid.data(grid.index(0, 0)).toString(), "<b>Ali");
    grid.SetMarkup(true);
    EXPECT_EQ(grid.CellText(1, 1), "Ali");
    EXPECT_EQ(grid.data(grid.index(0, 0), TZelGridModel::RawTextRole).toString(), "<b>Ali");
}

TEST(GridModel, FillFromTable) {
    TZelGridModel grid;
    grid.SetCell(1, 1, "keep");
    FillGridFromTable(grid, {}, QString(), true);
    EXPECT_EQ(grid.Cell(1, 1), "keep");

    const QList<QStringList> table{
        {"Person_Id", "Name", "Born"}, {"{1}", "Ali", "1900"}, {"{2}", "Omar", ""}};
    FillGridFromTable(grid, table, QStringLiteral(" person_id "), true);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Column(grid, 1), QStringList({"Name", "Ali", "Omar"}));
    EXPECT_EQ(Column(grid, 2), QStringList({"Born", "1900", ""}));

    FillGridFromTable(grid, table, QString(), false);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(Column(grid, 1), QStringList({"Name", "{1}", "{2}"}));

    // A query without rows leaves one empty data row, titled when asked.
    FillGridFromTable(grid, {{"Name", "Born"}}, QString(), true);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(Column(grid, 1), QStringList({"Name", ""}));
    EXPECT_EQ(Column(grid, 2), QStringList({"Born", ""}));
}

TEST(GridModel, CopyAndPasteText) {
    TZelGridModel grid;
    grid.SetColCount(4);
    grid.SetColTitles({"", "Name", "Id", "Note"});
    FillColumn(grid, 1, {"Ali", "<b>Omar"});
    grid.SetCell(2, 1, "{1}");
    grid.SetCell(3, 2, "tall");
    auto all = [](int) {
        return true;
    };
    auto noId = [](int col) {
        return col != 2;
    };
    EXPECT_EQ(grid.CellsText(QRect(QPoint(1, 1), QPoint(3, 2)), noId),
              "Name\tNote\r\nAli\t\r\n<b>Omar\ttall");
    EXPECT_EQ(grid.CellsText(QRect(QPoint(1, 2), QPoint(1, 2)), all), "<b>Omar");
    grid.SetMarkup(true);
    EXPECT_EQ(grid.CellsText(QRect(QPoint(1, 2), QPoint(1, 2)), all), "Omar");

    EXPECT_EQ(grid.PasteText(2, 1, "a\tb\tc\r\nd\r\ne\r\n"), 2);
    EXPECT_EQ(grid.Cell(2, 1), "a");
    EXPECT_EQ(grid.Cell(3, 1), "b");
    EXPECT_EQ(grid.Cell(2, 2), "d");
    EXPECT_EQ(grid.Cell(3, 2), "tall");
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.PasteText(0, 0, "x"), 0);
    EXPECT_EQ(grid.Cell(0, 0), "");
}

TEST(PackedRows, TextsComeBackAsTheyWentInWhateverTheirCharacters) {
    TPackedRows rows;
    const QStringList mixed{"",
                            "Omar",
                            QStringLiteral(u"عمر بن الخطّاب"),
                            QStringLiteral(u"Zoë"),
                            QString(300, u'x'),
                            QStringLiteral(u"😀 emoji"),
                            ""};
    const TPackedRows::Ref first = rows.Append(mixed);
    // A row longer than a block gets one of its own; rows after it go on in a fresh block.
    const QStringList huge{QString(TPackedRows::kBlockSize, u'a'), QStringLiteral(u"ب")};
    const TPackedRows::Ref big = rows.Append(huge);
    QList<TPackedRows::Ref> many;
    for (int i = 0; i < 20000; ++i)
        many << rows.Append({QString::number(i), QStringLiteral(u"اسم%1").arg(i)});
    EXPECT_EQ(rows.Fields(first), mixed);
    EXPECT_EQ(rows.FieldCount(first), 7);
    EXPECT_EQ(rows.Field(first, 2), mixed[2]);
    EXPECT_TRUE(rows.Field(first, 7).isEmpty());
    EXPECT_TRUE(rows.Field(first, -1).isEmpty());
    EXPECT_EQ(rows.Fields(big), huge);
    EXPECT_EQ(rows.Field(many[12345], 1), QStringLiteral(u"اسم12345"));
    EXPECT_EQ(rows.Fields(many.last()), (QStringList{"19999", QStringLiteral(u"اسم19999")}));
    // A byte a character for Latin texts: 20,000 short rows stay far below their QStringList size.
    EXPECT_LT(rows.Bytes(), 4 * TPackedRows::kBlockSize);
}

TEST(GridModel, RowsPouredInAreKeptPackedAndChangeLikeAnyOthers) {
    TZelGridModel grid;
    grid.AppendRows({{"", "a", "1"}, {"", "b", "2"}});
    EXPECT_EQ(grid.RowCount(), 3); // the empty row of a new grid gave way
    grid.AppendRows({{"", "c", "3", "extra"}});
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(Column(grid, 1), QStringList({"", "a", "b", "c"}));
    grid.SetCell(2, 2, "two");
    EXPECT_EQ(Column(grid, 2), QStringList({"", "1", "two", "3"}));
    grid.MoveRow(3, 1);
    EXPECT_EQ(Column(grid, 1), QStringList({"", "c", "a", "b"}));
    EXPECT_EQ(Column(grid, 2), QStringList({"", "3", "1", "two"}));
    // Narrowed columns stay empty when they widen again, packed rows as well as changed ones.
    grid.SetColCount(2);
    grid.SetColCount(4);
    EXPECT_EQ(Column(grid, 3), QStringList({"", "", "", ""}));
    EXPECT_EQ(Column(grid, 2), QStringList({"", "", "", ""}));
    grid.ClearCells();
    EXPECT_EQ(Column(grid, 1), QStringList({"", "", "", ""}));
    EXPECT_EQ(grid.RowCount(), 4);
}

TEST(GridModel, ARowOrderTakenBeforeAFilterBringsEveryRowBack) {
    TZelGridModel grid;
    grid.ReplaceCells({{"", "Name"}, {"", "c"}, {"", "a"}, {"", "b"}});
    const TZelGridModel::TRowOrder all = grid.RowOrder();
    grid.SortByColumn(1, false);
    grid.KeepRows({2});
    EXPECT_EQ(Column(grid, 1), QStringList({"Name", "b"}));
    ASSERT_TRUE(grid.SetRowOrder(all));
    EXPECT_EQ(Column(grid, 1), QStringList({"Name", "c", "a", "b"}));
    // An order from before the cells were replaced names rows that are gone: it is refused.
    grid.ReplaceCells({{"", "Name"}, {"", "x"}});
    EXPECT_FALSE(grid.SetRowOrder(all));
    EXPECT_EQ(Column(grid, 1), QStringList({"Name", "x"}));
}

TEST(GridModel, TextFilesAreWrittenRowByRowWithTheColumnsAsked) {
    TZelGridModel grid;
    grid.ReplaceCells({{"", "A", "B", "C"}, {"", "1", "2", "3"}, {"", "4", "5", "6"}});
    QTemporaryDir folder;
    const QString file = folder.filePath("list.csv");
    ASSERT_TRUE(grid.SaveToTextFile(file, true, {}, {3, 1}));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xEF\xBB\xBF"
                                            "C,A\r\n3,1\r\n6,4\r\n"));
    written.close();
    // A cancelled save leaves the file it would have replaced.
    EXPECT_FALSE(grid.SaveToTextFile(file, true, [](int, int) { return false; }));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().endsWith("6,4\r\n"));
}
