#include "common/testing.h"
#include "storage/database.h"
#include "storage/jet_convert.h"
#include "storage/jet_isolated_reader.h"
#include "storage/jet_stream.h"
#include "storage/jet_values.h"
#include "storage/tree_file.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// Tables given in memory, as the library would deliver them.
class FakeReader : public TJetTableReader {
public:
    struct Table {
        TJetTable Definition;
        std::vector<TJetRow> Rows;
    };
    QList<Table> Tables;
    bool FailInLastTable = false;

    bool NextTable(TJetTable& table) override {
        if (++table_ >= Tables.size())
            return false;
        row_ = 0;
        table = Tables[table_].Definition;
        return true;
    }
    bool NextRow(TJetRow& row) override {
        const Table& t = Tables[table_];
        if (FailInLastTable && table_ == Tables.size() - 1 && row_ == 1) {
            failed_ = true;
            return false;
        }
        if (row_ >= qsizetype(t.Rows.size()))
            return false;
        row = t.Rows[size_t(row_++)];
        return true;
    }
    bool Failed() const override { return failed_; }
    QString Error() const override { return failed_ ? QStringLiteral("page 7") : QString(); }

private:
    qsizetype table_ = -1;
    qsizetype row_ = 0;
    bool failed_ = false;
};

TJetValue Null() {
    return {};
}
template <typename T> TJetValue Number(T n) {
    TJetValue v{false, QByteArray(sizeof(T), 0)};
    qToLittleEndian(n, v.Bytes.data());
    return v;
}
TJetValue Ucs2(const QString& text) {
    return {false, QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)};
}
TJetValue Bytes(const QByteArray& bytes) {
    return {false, bytes};
}
TJetValue Bool(bool b) {
    return {false, QByteArray(1, b ? 1 : 0)};
}

TJetColumn Col(const char* name, TJetType type) {
    return {QString::fromLatin1(name), type, 0};
}

// The compressed form: one byte per Latin-1 character, a zero byte switching to UCS-2 and back.
const QByteArray kCompressedName = QByteArray("\xFF\xFE"
                                              "Ali ",
                                              6) +
                                   QByteArray("\0", 1) + QByteArray("\x39\x06\x44\x06\x4A\x06", 6) +
                                   QByteArray("\0", 1) + "!";

FakeReader SampleTables() {
    FakeReader reader;
    const QByteArray guid = QByteArray::fromHex("78563412bc9af0de0123456789abcdef");
    reader.Tables.append(
        {{QStringLiteral("FTPERSON"),
          {Col("oid", TJetType::LongInt), Col("Person_ID", TJetType::Text),
           Col("person_name", TJetType::Text), Col("gender", TJetType::Text), Col("is_dead", TJetType::Bool),
           Col("is_section", TJetType::Int), Col("date_of_birth_g", TJetType::LongInt),
           Col("date_of_death_h", TJetType::Double), Col("date_created", TJetType::DateTime),
           Col("notes", TJetType::Memo), Col("order_by_father", TJetType::Byte),
           Col("column_of_later_times", TJetType::Text), Col("owner_id", TJetType::Guid)},
          2},
         {{Number<qint32>(17), Ucs2(QStringLiteral("{A}")), Bytes(kCompressedName), Ucs2(QStringLiteral("m")),
           Bool(true), Number<qint16>(-1), Number<qint32>(17500315), Number<double>(11700000),
           Number<double>(36526.75), Ucs2(QStringLiteral("line\r\nnext")), Number<quint8>(3),
           Ucs2(QStringLiteral("x")), Bytes(guid)},
          {Number<qint32>(40), Ucs2(QStringLiteral("{B}")), Ucs2(QStringLiteral("فاطمة")),
           Ucs2(QStringLiteral("f")), Bool(false), Null(), Null(), Null(), Number<double>(-1.5), Null(),
           Null(), Null(), Null()}}});
    reader.Tables.append(
        {{QStringLiteral("MSysAccessStorage"), {Col("id", TJetType::LongInt)}, 1}, {{Number<qint32>(1)}}});
    reader.Tables.append({{QStringLiteral("ftTreeInfo"),
                           {Col("oid", TJetType::LongInt), Col("tree_name", TJetType::Text),
                            Col("description", TJetType::Ole), Col("hide_about", TJetType::Int)},
                           1},
                          {{Number<qint32>(1), Ucs2(QStringLiteral("Old tree")),
                            Bytes(QByteArray("{\\rtf1 \0\xff}", 11)), Number<qint16>(0)}}});
    reader.Tables.append(
        {{QStringLiteral("ftPictures"),
          {Col("oid", TJetType::LongInt), Col("file_path", TJetType::Text), Col("person_id", TJetType::Text)},
          2},
         {{Number<qint32>(5), Ucs2(QStringLiteral("C:\\Family\\photos\\grandfather.jpg")),
           Ucs2(QStringLiteral("{A}"))},
          {Number<qint32>(6), Ucs2(QStringLiteral("D:\\elsewhere\\lost.jpg")),
           Ucs2(QStringLiteral("{B}"))}}});
    return reader;
}

TEST(JetValues, DecodeTextsDatesGuidsAndHeaders) {
    EXPECT_EQ(DecodeJetText(kCompressedName), QStringLiteral("Ali علي!"));
    EXPECT_EQ(DecodeJetText(Ucs2(QStringLiteral("ريّان")).Bytes), QStringLiteral("ريّان"));
    EXPECT_EQ(DecodeJetText(QByteArray("\xFF\xFE", 2)), QString());
    EXPECT_EQ(JetDateTimeStamp(36526.75), QStringLiteral("2000-01-01 18:00:00"));
    // Before 30 December 1899 the whole days count back and the fraction still runs forward.
    EXPECT_EQ(JetDateTimeStamp(-1.5), QStringLiteral("1899-12-29 12:00:00"));
    EXPECT_EQ(JetDateTimeStamp(1e12), QString());
    EXPECT_EQ(JetGuidText(QByteArray::fromHex("78563412bc9af0de0123456789abcdef")),
              QStringLiteral("{12345678-9ABC-DEF0-0123-456789ABCDEF}"));
    EXPECT_EQ(JetGuidText(QByteArray(15, 0)), QString());
    QFile sample(test::SampleData(QStringLiteral("jet/DateTestDatabase.mdb")));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray page = sample.read(4096);
    EXPECT_TRUE(ReadJetHeader(page).IsJet4());
    EXPECT_FALSE(ReadJetHeader(page).Password);
    QByteArray jet3 = page;
    jet3[0x14] = 0;
    EXPECT_FALSE(ReadJetHeader(jet3).IsJet4());
    EXPECT_FALSE(ReadJetHeader(QByteArray("0 HEAD\r\n1 SOUR X\r\n")).Jet);
}

TEST(JetStream, GarbledOrCutStreamsEndAsFailures) {
    QByteArray stream;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        stream.append(b, 4);
    };
    auto text = [&](const char* t) {
        u32(quint32(std::strlen(t)));
        stream.append(t);
    };
    stream.append('T');
    text("ftPerson");
    u32(1);
    text("person_id");
    stream.append(char(TJetType::Text));
    u32(100);
    stream.append(QByteArray(8, 0));
    stream.append('R');
    stream.append(char(1));
    u32(2);
    stream.append("x\0", 2);
    const QByteArray whole = stream + "EZ";
    {
        TJetStreamReader reader = TJetStreamReader::FromBytes(whole, 1000);
        TJetTable table;
        TJetRow row;
        ASSERT_TRUE(reader.NextTable(table));
        EXPECT_EQ(table.Name, QStringLiteral("ftPerson"));
        ASSERT_TRUE(reader.NextRow(row));
        EXPECT_EQ(DecodeJetText(row[0].Bytes), QStringLiteral("x"));
        EXPECT_FALSE(reader.NextRow(row));
        EXPECT_FALSE(reader.NextTable(table));
        EXPECT_FALSE(reader.Failed());
        EXPECT_TRUE(reader.Finished());
    }
    for (const QByteArray& bad : {stream, stream + "E", stream + "Q", whole.left(20)}) {
        TJetStreamReader reader = TJetStreamReader::FromBytes(bad, 1000);
        TJetTable table;
        TJetRow row;
        while (reader.NextTable(table))
            while (reader.NextRow(row)) {
            }
        EXPECT_TRUE(reader.Failed()) << bad.size();
    }
    // A value larger than the file says the stream is garbled.
    TJetStreamReader reader = TJetStreamReader::FromBytes(whole, 1);
    TJetTable table;
    TJetRow row;
    ASSERT_TRUE(reader.NextTable(table));
    EXPECT_FALSE(reader.NextRow(row));
    EXPECT_TRUE(reader.Failed());
}

class JetConvert : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = test::NewTempDir();
        target_ = folder_ + QStringLiteral("/new.vrd");
        // The empty file a new tree is written into.
        QFile empty(target_);
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    QString folder_, target_;
};

TEST_F(JetConvert, EveryTypeLandsInTheTreeColumns) {
    FakeReader reader = SampleTables();
    TJetConvertSummary summary;
    QString error;
    ASSERT_TRUE(WriteJetTree(reader, target_, {}, summary, error)) << error.toStdString();
    EXPECT_EQ(summary.SkippedTables, QStringList{QStringLiteral("MSysAccessStorage")});
    ASSERT_EQ(summary.Tables.size(), 3);
    EXPECT_EQ(summary.Tables[0], std::make_pair(QStringLiteral("ftPerson"), qint64(2)));
    Tdm db;
    ASSERT_TRUE(db.Open(target_));
    Query a = db.Prepare(QStringLiteral(
        "SELECT oid, person_name, gender, is_dead, is_section, date_of_birth_g, date_of_death_h, "
        "date_created, "
        "notes, order_by_father, owner_id, typeof(date_of_death_h) FROM ftPerson WHERE person_id = '{A}'"));
    ASSERT_TRUE(a.Next());
    EXPECT_EQ(a.Int(0), 17); // oid kept
    EXPECT_EQ(a.Text(1), QStringLiteral("Ali علي!"));
    EXPECT_EQ(a.Text(2), QStringLiteral("m"));
    EXPECT_EQ(a.Int(3), 1);
    EXPECT_EQ(a.Int(4), 1); // -1 is true
    EXPECT_EQ(a.Int(5), 17500315);
    EXPECT_EQ(a.Int(6), 11700000);
    EXPECT_EQ(a.Text(11), QStringLiteral("integer"));
    EXPECT_EQ(a.Text(7), QStringLiteral("2000-01-01 18:00:00"));
    EXPECT_EQ(a.Text(8), QStringLiteral("line\r\nnext"));
    EXPECT_EQ(a.Int(9), 3);
    EXPECT_EQ(a.Text(10), QStringLiteral("{12345678-9ABC-DEF0-0123-456789ABCDEF}"));
    Query b =
        db.Prepare(QStringLiteral("SELECT oid, person_name, is_dead, is_section, date_of_birth_g IS NULL, "
                                  "date_created FROM ftPerson WHERE person_id = '{B}'"));
    ASSERT_TRUE(b.Next());
    EXPECT_EQ(b.Int(0), 40);
    EXPECT_EQ(b.Text(1), QStringLiteral("فاطمة"));
    EXPECT_EQ(b.Int(2), 0);
    EXPECT_EQ(b.Int(3), 0); // a missing boolean is false, never null
    EXPECT_EQ(b.Int(4), 1);
    EXPECT_EQ(b.Text(5), QStringLiteral("1899-12-29 12:00:00"));
    EXPECT_EQ(db.Prepare(QStringLiteral("SELECT description FROM ftTreeInfo")).Next(), true);
    Query info = db.Prepare(QStringLiteral("SELECT description, tree_name FROM ftTreeInfo WHERE oid = 1"));
    ASSERT_TRUE(info.Next());
    EXPECT_EQ(info.Blob(0), QByteArray("{\\rtf1 \0\xff}", 11)); // the blob as it was
    EXPECT_EQ(info.Text(1), QStringLiteral("Old tree"));
}

TEST_F(JetConvert, PicturePathsOfTheOldSystemFindTheirFiles) {
    FakeReader reader = SampleTables();
    TJetConvertSummary summary;
    QString error;
    ASSERT_TRUE(WriteJetTree(reader, target_, {}, summary, error)) << error.toStdString();
    ASSERT_TRUE(QDir(folder_).mkdir(QStringLiteral("photos")));
    QFile picture(folder_ + QStringLiteral("/photos/grandfather.jpg"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();
    FinishConvertedTree(target_, summary);
    EXPECT_EQ(summary.PicturesFound, 1);
    EXPECT_EQ(summary.PicturesMissing, 1);
    Tdm db;
    ASSERT_TRUE(db.Open(target_));
    EXPECT_EQ(db.ScalarText(QStringLiteral("SELECT file_path FROM ftPictures WHERE oid = 5")),
              QStringLiteral("grandfather.jpg"));
    EXPECT_EQ(db.ScalarText(QStringLiteral("SELECT file_path FROM ftPictures WHERE oid = 6")),
              QStringLiteral("D:\\elsewhere\\lost.jpg"));
    // The normal open gave the tree its outside-the-tree group.
    EXPECT_FALSE(db.ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo")).isEmpty());
}

TEST_F(JetConvert, ADamagedTableWritesNothing) {
    FakeReader reader = SampleTables();
    reader.FailInLastTable = true;
    TJetConvertSummary summary;
    QString error;
    EXPECT_FALSE(WriteJetTree(reader, target_, {}, summary, error));
    EXPECT_TRUE(error.contains(QStringLiteral("page 7"))) << error.toStdString();
}

// A real file through the library in its own process: the one table of the sample and its dates.
TEST_F(JetConvert, ReadsARealFileThroughTheLibrary) {
    TIsolatedJetReader reader(test::SampleData(QStringLiteral("jet/DateTestDatabase.mdb")));
    ASSERT_TRUE(reader.Start());
    TJetTable table;
    ASSERT_TRUE(reader.NextTable(table));
    EXPECT_EQ(table.Name, QStringLiteral("DateTest"));
    int dates = 0, rows = 0;
    TJetRow row;
    while (reader.NextRow(row)) {
        ++rows;
        for (qsizetype c = 0; c < table.Columns.size(); ++c) {
            double days = 0;
            if (table.Columns[c].Type == TJetType::DateTime && !row[size_t(c)].Null &&
                JetReal(TJetType::DateTime, row[size_t(c)].Bytes, days)) {
                const QString stamp = JetDateTimeStamp(days);
                EXPECT_EQ(stamp.size(), 19) << stamp.toStdString();
                ++dates;
            }
        }
    }
    EXPECT_GT(rows, 0);
    EXPECT_GT(dates, 0);
    EXPECT_FALSE(reader.NextTable(table));
    EXPECT_FALSE(reader.Failed()) << reader.Error().toStdString();
}

TEST_F(JetConvert, AnOldDatabaseWithoutATreeIsNamedAndNothingIsWritten) {
    const QString old = folder_ + QStringLiteral("/family.vrd");
    ASSERT_TRUE(QFile::copy(test::SampleData(QStringLiteral("jet/DateTestDatabase.mdb")), old));
    QFile original(old);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    const QString target = DefaultConvertedPath(old);
    EXPECT_EQ(QFileInfo(target).fileName(), QStringLiteral("family (converted).vrd"));
    QString reason;
    EXPECT_EQ(LegacyFileContent(old, reason), TLegacyContent::NoTree) << reason.toStdString();
    TJetConvertSummary summary;
    QString error;
    EXPECT_FALSE(ConvertLegacyTreeFile(old, target, {}, summary, error)) << "no success without a tree";
    EXPECT_EQ(error, LegacyNoTreeText());
    EXPECT_EQ(QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("family.vrd"), QStringLiteral("new.vrd")}));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before) << "the old file is never written";
    original.close();

    // Damaged, cut short, or no Jet file at all: a message and nothing left beside it.
    QByteArray cut = before.left(20000);
    QByteArray garbled = before;
    for (qsizetype i = 8192; i < garbled.size(); i += 7)
        garbled[i] = char(i * 31);
    for (const QByteArray& bad : {cut, garbled, QByteArray("0 HEAD\r\n")}) {
        const QString badFolder = test::NewTempDir();
        const QString badFile = badFolder + QStringLiteral("/bad.vrd");
        QFile f(badFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bad);
        f.close();
        error.clear();
        EXPECT_FALSE(ConvertLegacyTreeFile(badFile, DefaultConvertedPath(badFile), {}, summary, error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(QDir(badFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("bad.vrd")});
    }
}

} // namespace
} // namespace verdan
