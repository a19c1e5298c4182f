#include "common/testing.h"
#include "reports/grid_model.h"
#include "reports/grid_text_file.h"

#include <QFile>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList Row(const TZelGridModel& grid, int row) {
    QStringList cells;
    for (int col = 1; col < grid.ColCount(); ++col)
        cells.append(grid.Cell(col, row));
    return cells;
}

} // namespace

TEST(GridTextFile, PlainListsStayByteIdentical) {
    // A recent-trees list as it has always been written: TAB-separated, UTF-8 with a mark, CR LF.
    const QByteArray existing = "\xEF\xBB\xBF"
                                "Family of Ali\t/home/u/trees/ali/ali.vrd\t2024-03-01 10:00\r\n"
                                "\xD8\xA2\xD9\x84 \xD8\xB3\xD8\xB9\xD9\x88\xD8\xAF\t/t/s.vrd\t\r\n";
    const QString dir = test::NewTempDir();
    WriteAll(dir + "/trees.dat", existing);
    TZelGridModel grid;
    ASSERT_TRUE(grid.LoadFromTextFile(dir + "/trees.dat", false));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(Row(grid, 2), QStringList({"آل سعود", "/t/s.vrd", ""}));
    ASSERT_TRUE(grid.SaveToTextFile(dir + "/again.dat", false));
    EXPECT_EQ(ReadAll(dir + "/again.dat"), existing);
}

TEST(GridTextFile, SpecialFieldsAreQuotedAndReadBack) {
    const QChar tab = u'\t';
    const QString comment = QStringLiteral(";");
    EXPECT_EQ(FormatGridLine({"a", "b c"}, tab, comment), "a\tb c");
    EXPECT_EQ(FormatGridLine({"x\ty", "say \"hi\"", "two\r\nlines", ";not a comment"}, tab, comment),
              "\"x\ty\"\t\"say \"\"hi\"\"\"\t\"two\r\nlines\"\t\";not a comment\"");
    // A line that would be empty or look like a comment gets its first field quoted.
    EXPECT_EQ(FormatGridLine({""}, tab, comment), "\"\"");
    EXPECT_EQ(FormatGridLine({"", "b"}, u';', comment), "\"\";b");

    const QList<QStringList> rows{{"x\ty", "say \"hi\"", "two\r\nlines"},
                                  {";starts like a comment", "", "\"quoted\""},
                                  {"", "", ""},
                                  {"", "after empty first", ""}};
    for (const QChar separator : {u'\t', u';', u','}) {
        QString text;
        for (const QStringList& row : rows)
            text += FormatGridLine(row, separator, comment) + "\r\n";
        EXPECT_EQ(ParseGridText(text, separator, comment), rows) << text.toStdString();
    }
    EXPECT_EQ(ParseGridText(QStringLiteral("\"\"\r\n"), tab, comment), QList<QStringList>({{""}}));
}

TEST(GridTextFile, CommentsEmptyLinesAndLegacyQuotes) {
    const QString comment = QStringLiteral(";");
    EXPECT_EQ(ParseGridText(QStringLiteral("; saved lists\r\na\tb\n\n;x\ty\rc\r\n"), u'\t', comment),
              QList<QStringList>({{"a", "b"}, {"c"}}));
    // The separator may equal the comment mark: only a line that starts with it is a comment.
    EXPECT_EQ(ParseGridText(QStringLiteral(";note\na;b;c"), u';', comment),
              QList<QStringList>({{"a", "b", "c"}}));
    // Fields from older files with stray quotes read as they are.
    EXPECT_EQ(ParseGridText(QStringLiteral("\"Abu\" Ali\tsaid \"yes\"\t\"open"), u'\t', comment),
              QList<QStringList>({{"\"Abu\" Ali", "said \"yes\"", "\"open"}}));

    // A comment line in a file does not take a row.
    const QString dir = test::NewTempDir();
    WriteAll(dir + "/c.txt", "; header comment\r\none\t1\r\n;between\r\ntwo\t2\r\n");
    TZelGridModel grid;
    ASSERT_TRUE(grid.LoadFromTextFile(dir + "/c.txt", false));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(grid, 2), QStringList({"two", "2"}));
}

TEST(GridTextFile, EncodingIsDecidedByMarkThenUtf8ThenArabicCodePage) {
    const QString name = QStringLiteral("محمد\tعلي");
    EXPECT_EQ(DecodeGridText("\xEF\xBB\xBF" + name.toUtf8()), name);
    EXPECT_EQ(DecodeGridText(name.toUtf8()), name);
    QStringEncoder le(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QStringEncoder be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    EXPECT_EQ(DecodeGridText(le.encode(name)), name);
    EXPECT_EQ(DecodeGridText(be.encode(name)), name);
    // windows-1256 bytes of the same text, as older programs wrote it.
    EXPECT_EQ(DecodeGridText("\xE3\xCD\xE3\xCF\t\xDA\xE1\xED"), name);
    EXPECT_EQ(DecodeGridText("caf\xE9 \x80"), QStringLiteral("café €"));
    // Without a mark, UTF-16 is not guessed.
    QStringEncoder bare(QStringConverter::Utf16LE);
    EXPECT_NE(DecodeGridText(bare.encode(QStringLiteral("ab\r\ncd"))), QStringLiteral("ab\r\ncd"));
    // Only the first mark is the encoding's: a field that starts with an invisible U+FEFF keeps it.
    const QString marked = QChar(0xFEFF) + name;
    EXPECT_EQ(DecodeGridText(EncodeGridText({marked})), marked + QStringLiteral("\r\n"));
    QStringEncoder leAgain(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    EXPECT_EQ(DecodeGridText(leAgain.encode(marked)), marked);
}

TEST(GridTextFile, CsvAndSeparatorNames) {
    EXPECT_EQ(GridSeparator(QStringLiteral("semicolon"), QStringLiteral("a.txt")), u';');
    EXPECT_EQ(GridSeparator(QStringLiteral("Space"), QStringLiteral("a.txt")), u' ');
    EXPECT_EQ(GridSeparator(QStringLiteral("COMMA"), QStringLiteral("a.txt")), u',');
    EXPECT_EQ(GridSeparator(QStringLiteral("|"), QStringLiteral("a.txt")), u'|');
    EXPECT_EQ(GridSeparator(QString(), QStringLiteral("a.txt")), u'\t');
    EXPECT_EQ(GridSeparator(QStringLiteral("TAB"), QStringLiteral("list.CSV")), u',');

    const QString dir = test::NewTempDir();
    TZelGridModel grid;
    grid.SetColCount(3);
    grid.SetColTitles({"", "Name", "Place"});
    grid.SetCell(1, 1, "Ali, son of Omar");
    grid.SetCell(2, 1, "Makkah");
    ASSERT_TRUE(grid.SaveToTextFile(dir + "/list.csv", true));
    EXPECT_EQ(ReadAll(dir + "/list.csv"), "\xEF\xBB\xBFName,Place\r\n\"Ali, son of Omar\",Makkah\r\n");

    TZelGridModel back;
    ASSERT_TRUE(back.LoadFromTextFile(dir + "/list.csv", true));
    EXPECT_EQ(back.Cell(1, 0), "Name");
    EXPECT_EQ(Row(back, 1), QStringList({"Ali, son of Omar", "Makkah"}));
}

TEST(GridTextFile, LoadingKeepsRowsAndLeavesGridAloneOnMissingFile) {
    const QString dir = test::NewTempDir();
    TZelGridModel grid;
    grid.SetRowCount(6);
    grid.SetCell(1, 5, "old");
    EXPECT_FALSE(grid.LoadFromTextFile(dir + "/missing.txt", false));
    EXPECT_EQ(grid.Cell(1, 5), "old");

    WriteAll(dir + "/two.txt", "a\tb\tc\r\nd\r\n");
    ASSERT_TRUE(grid.LoadFromTextFile(dir + "/two.txt", false));
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(Row(grid, 2), QStringList({"d", "", ""}));
    EXPECT_EQ(grid.Cell(1, 5), "");

    EXPECT_FALSE(grid.SaveToTextFile(QStringLiteral("  "), false));
    grid.OnExport = [](int kind, int col, int, QString& text) {
        EXPECT_EQ(kind, 0);
        text = text.toUpper();
        return col < 2;
    };
    grid.SetRowCount(3);
    ASSERT_TRUE(grid.SaveToTextFile(dir + "/out.txt", false));
    EXPECT_EQ(ReadAll(dir + "/out.txt"), "\xEF\xBB\xBF"
                                         "A\r\nD\r\n");
}
