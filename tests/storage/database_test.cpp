#include "common/testing.h"
#include "storage/database.h"
#include "storage/schema.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QStringList kAwkwardTexts = {
    QStringLiteral("x'); DELETE FROM ftPerson;--"),
    QStringLiteral("عبد الله بن محمد"),
    QStringLiteral("مـــحمد"),                // tatweel
    QStringLiteral("a\u00A0b"),               // no-break space
    QStringLiteral("line one\nline two\r\n"), // newlines
    QStringLiteral("O'Neil \"quoted\" 50% ?"),
    QStringLiteral("007"),
};

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = test::NewTempDir() + QStringLiteral("/db.vrd");
        ASSERT_TRUE(dm_.Open(path_, true)) << dm_.LastError().toStdString();
        ASSERT_TRUE(CreateSchema(dm_));
        previous_ = SetStoreMessageSink([this](StoreMessage, const QString& text) { messages_ << text; });
    }
    void TearDown() override { SetStoreMessageSink(previous_); }

    QString path_;
    Tdm dm_;
    QStringList messages_;
    StoreMessageSink previous_;
};

TEST_F(DatabaseTest, TextLiteralsStoreTheTypedText) {
    for (const QString& text : kAwkwardTexts) {
        const QString id = QStringLiteral("{%1}").arg(dm_.ScalarInt("SELECT count(*) FROM ftPerson"));
        EXPECT_EQ(dm_.ExecInsert("ftPerson", {"person_id", "person_name", "notes"},
                                 {Quote(id), QuoteEscaped(text), Quote(text)}),
                  1)
            << text.toStdString();
        EXPECT_EQ(dm_.ScalarText("SELECT person_name FROM ftPerson WHERE person_id = ?", id), text);
        EXPECT_EQ(dm_.ScalarText("SELECT notes FROM ftPerson WHERE person_id = ?", id), text);
        EXPECT_EQ(dm_.ExecUpdate("ftPerson", {"family_name"}, "person_id = " + Quote(id), {Quote(text)}), 1);
        EXPECT_EQ(dm_.ScalarText("SELECT family_name FROM ftPerson WHERE person_id = ?", id), text);
    }
    EXPECT_EQ(dm_.ScalarInt("SELECT count(*) FROM ftPerson"), kAwkwardTexts.size());

    // Bound values take the same way back.
    for (const QString& text : kAwkwardTexts) {
        EXPECT_EQ(dm_.Execute("UPDATE ftTreeInfo SET tree_name = ?", text), 0);
        EXPECT_EQ(dm_.Execute("INSERT INTO ftOption (hide_nickname) VALUES (?)", true), 1);
        Query q = dm_.Prepare("SELECT ? AS echo", text);
        ASSERT_TRUE(q.Next());
        EXPECT_EQ(q.Text("ECHO"), text);
    }
    EXPECT_EQ(dm_.ScalarInt("SELECT hide_nickname FROM ftOption LIMIT 1"), 1);
}

TEST_F(DatabaseTest, OtherLiteralHelpers) {
    EXPECT_EQ(SqlBool(true), "1");
    EXPECT_EQ(SqlBool(false), "0");
    EXPECT_EQ(SqlBit(true), "1");
    EXPECT_EQ(SqlDate(QDate(2024, 12, 5)), "'2024-12-05'");
    EXPECT_EQ(SqlDate(QDateTime(QDate(2024, 1, 2), QTime(23, 59))), "'2024-01-02'");
    const QDateTime time(QDate(2023, 7, 9), QTime(8, 5, 3));
    EXPECT_EQ(StampText(time), "2023-07-09 08:05:03");
    EXPECT_EQ(ParseStamp(StampText(time)), time);
    EXPECT_FALSE(ParseStamp(" ").isValid());
}

TEST_F(DatabaseTest, OneStatementPerPrepare) {
    dm_.ExecInsert("ftPerson", {"person_id"}, {Quote("{A}")});
    EXPECT_FALSE(dm_.ExecSql("SELECT 1; DELETE FROM ftPerson"));
    EXPECT_EQ(dm_.ExecDelete("ftPerson", "1=1; DELETE FROM ftPicture"), -1);
    Query q = dm_.Prepare("SELECT 1; DELETE FROM ftPerson");
    EXPECT_TRUE(q.Failed());
    EXPECT_FALSE(q.Next());
    EXPECT_EQ(dm_.ScalarInt("SELECT count(*) FROM ftPerson"), 1);
    EXPECT_FALSE(dm_.ExecSql("   "));
}

TEST_F(DatabaseTest, CachedStatementsServeNestedAndRepeatedUse) {
    for (int i = 0; i < 3; ++i)
        dm_.Execute("INSERT INTO ftPerson (person_id, father_id) VALUES (?, ?)",
                    QStringLiteral("{%1}").arg(i), i == 0 ? QStringLiteral("-1") : QStringLiteral("{0}"));
    const QString children =
        QStringLiteral("SELECT person_id FROM ftPerson WHERE father_id = ? ORDER BY person_id");
    QStringList seen;
    Query outer = dm_.Prepare(children, "-1");
    outer.ForEachRow([&](const Query& row) {
        seen << row.Text(0);
        // The same SQL while the outer statement is still on a row.
        dm_.Prepare(children, row.Text(0)).ForEachRow([&](const Query& child) { seen << child.Text(0); });
    });
    EXPECT_EQ(seen, QStringList({"{0}", "{1}", "{2}"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dm_.ScalarText(children, "-1"), "{0}");

    Query moved = dm_.Prepare("SELECT oid, person_id FROM ftPerson ORDER BY oid");
    Query target = std::move(moved);
    ASSERT_TRUE(target.Next());
    EXPECT_EQ(target.Int("OID"), 1);
    EXPECT_FALSE(moved.IsPrepared());
    EXPECT_EQ(target.Text("missing"), QString());
}

TEST_F(DatabaseTest, QueryRunnersAndMessages) {
    Query q;
    EXPECT_FALSE(dm_.RunQuery(q, "SELECT * FROM ftPerson"));
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_FALSE(dm_.RunQuery(q, "SELECT * FROM ftNoSuchTable"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains("ftNoSuchTable"));
    EXPECT_FALSE(dm_.LastError().isEmpty());

    // At most one message per operation.
    {
        StoreOperation operation;
        dm_.RunQuery(q, "SELECT * FROM ftMissing1");
        dm_.RunSharedQuery("SELECT * FROM ftMissing2");
    }
    EXPECT_EQ(messages_.size(), 2);

    Query silent;
    EXPECT_FALSE(dm_.OpenQuery(silent, "SELECT * FROM ftMissing3"));
    EXPECT_FALSE(silent.IsPrepared());
    EXPECT_EQ(messages_.size(), 2);
    EXPECT_TRUE(dm_.OpenQuery(silent, "SELECT * FROM ftPerson"));
    EXPECT_TRUE(silent.AtEnd());

    dm_.ExecInsert("ftPerson", {"person_id", "person_name"}, {Quote("{A}"), Quote("A")});
    dm_.ExecInsert("ftPerson", {"person_id", "person_name"}, {Quote("{B}"), Quote("B")});
    EXPECT_TRUE(dm_.RunSharedQuery("SELECT person_name FROM ftPerson ORDER BY oid"));
    EXPECT_EQ(dm_.SharedQuery().Text(0), "A");
    EXPECT_TRUE(dm_.SharedQuery().Next());
    EXPECT_EQ(dm_.SharedQuery().Text("Person_Name"), "B");
    EXPECT_FALSE(dm_.SharedQuery().Next());
}

TEST_F(DatabaseTest, TablesAndPairs) {
    TextTable table;
    dm_.QueryToTable("SELECT person_id, is_section FROM ftPerson", table);
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0], QStringList({"person_id", "is_section"}));

    // Only boolean columns are normalised; a text that reads "True" stays as typed.
    dm_.ExecInsert("ftPerson", {"person_id", "person_name", "is_section"},
                   {Quote("{A}"), Quote("True"), "-1"});
    dm_.QueryToTable("SELECT person_name, is_section, is_dead, order_by_father FROM ftPerson", table);
    ASSERT_EQ(table.size(), 2);
    EXPECT_EQ(table[1], QStringList({"True", "1", "0", "99"}));

    QStringList lines{"stale"};
    EXPECT_TRUE(dm_.QueryToPairs(lines, "SELECT person_id, gender FROM ftPerson WHERE person_id = 'none'"));
    EXPECT_EQ(lines, QStringList({"person_id=", "gender="}));
    dm_.QueryToPairs(lines, "SELECT person_id, person_name FROM ftPerson");
    EXPECT_EQ(lines, QStringList({"person_id={A}", "person_name=True"}));

    EXPECT_TRUE(dm_.TableExists("FTPERSON"));
    EXPECT_FALSE(dm_.TableExists("ftPersons"));
    EXPECT_TRUE(dm_.ColumnExists("ftdetails", "PERSON_ID"));
    EXPECT_FALSE(dm_.ColumnExists("ftDetails", "person"));
}

TEST_F(DatabaseTest, StatementBuilders) {
    for (const char* id : {"{A}", "{B}", "{C}"})
        EXPECT_EQ(dm_.ExecInsert("ftPerson", {"person_id", "gender", "ignored"}, {Quote(id), Quote("m")}), 1);
    EXPECT_EQ(dm_.ScalarInt("SELECT count(*) FROM ftPerson WHERE gender = 'm'"), 3);
    EXPECT_EQ(dm_.ExecUpdate("ftPerson", {"gender"}, "person_id = '{A}'", {Quote("f"), Quote("extra")}), 1);
    EXPECT_EQ(dm_.ExecUpdate("ftPerson", {"gender"}, "person_id = 'none'", {Quote("f")}), 0);
    EXPECT_EQ(dm_.ExecUpdate("ftPerson", {"no_column"}, "", {Quote("f")}), 0);
    // A blank condition changes every row.
    EXPECT_EQ(dm_.ExecUpdate("ftPerson", {"person_name"}, "  ", {Quote("all")}), 3);
    EXPECT_EQ(dm_.ExecInsert("ftPerson", {"person_id"}, {Quote("{A}")}), 0); // unique person_id
    EXPECT_EQ(dm_.ExecDelete("ftPerson", "person_id = '{A}'"), 1);
    EXPECT_EQ(dm_.ExecDelete("ftNoTable", ""), -1);
    EXPECT_EQ(dm_.ExecDelete("ftPerson", ""), 2);

    Tdm closed;
    EXPECT_EQ(closed.ExecDelete("ftPerson", ""), -1);
    EXPECT_EQ(closed.ExecInsert("ftPerson", {"person_id"}, {Quote("{A}")}), 0);
    EXPECT_FALSE(closed.ExecSql("SELECT 1"));
    Query q;
    EXPECT_FALSE(closed.RunQuery(q, "SELECT 1"));
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(DatabaseTest, TransactionsAreAllOrNothing) {
    {
        Transaction transaction(dm_);
        dm_.Execute("INSERT INTO ftPerson (person_id) VALUES ('{A}')");
        {
            Transaction inner(dm_);
            dm_.Execute("INSERT INTO ftPerson (person_id) VALUES ('{B}')");
        } // inner abandoned
        EXPECT_EQ(dm_.ScalarInt("SELECT count(*) FROM ftPerson"), 1);
        EXPECT_TRUE(transaction.Commit());
    }
    {
        Transaction transaction(dm_);
        dm_.Execute("DELETE FROM ftPerson");
    }
    EXPECT_EQ(dm_.ScalarInt("SELECT count(*) FROM ftPerson"), 1);
}

TEST_F(DatabaseTest, SchemaKeysDefaultsAndTypes) {
    // Unique keys.
    EXPECT_EQ(dm_.Execute("INSERT INTO ftPerson (person_id) VALUES ('{P}')"), 1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftPerson (person_id) VALUES ('{p}')"), -1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftPictures (picture_id) VALUES ('{X}')"), 1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftPictures (picture_id) VALUES ('{X}')"), -1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftPersonOption (person_id) VALUES ('{P}')"), 1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftPersonOption (person_id) VALUES ('{P}')"), -1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftDetails (person_id) VALUES ('{P}')"), 1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftDetails (person_id) VALUES ('{P}')"), -1);
    // A bookmark and a favourite of the same person live side by side; a second bookmark does not.
    EXPECT_EQ(dm_.Execute("INSERT INTO ftBookmark (person_id, b_type) VALUES ('{P}', 0)"), 1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftBookmark (person_id, b_type) VALUES ('{P}', 1)"), 1);
    EXPECT_EQ(dm_.Execute("INSERT INTO ftBookmark (person_id) VALUES ('{P}')"), -1);

    // Defaults: booleans false, order numbers unset (99).
    Query q = dm_.Prepare("SELECT * FROM ftPerson WHERE person_id = ?", "{P}");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Value("is_section"), QVariant(qint64(0)));
    EXPECT_EQ(q.Value("is_dead"), QVariant(qint64(0)));
    EXPECT_EQ(q.Int("order_by_father"), 99);
    EXPECT_EQ(q.Int("order_by_mother"), 99);
    EXPECT_EQ(q.Int("display_order"), 99);
    EXPECT_TRUE(q.IsNull("date_of_birth_g"));

    // Long texts keep what was typed; short texts compare without letter case.
    dm_.Execute("UPDATE ftPerson SET notes = ?, briefing = ?, gender = 'M'", "007", "0x1F");
    EXPECT_EQ(dm_.ScalarText("SELECT notes FROM ftPerson"), "007");
    EXPECT_EQ(dm_.ScalarText("SELECT typeof(notes) FROM ftPerson"), "text");
    EXPECT_EQ(dm_.ScalarText("SELECT briefing FROM ftPerson"), "0x1F");
    EXPECT_EQ(dm_.ScalarInt("SELECT count(*) FROM ftPerson WHERE gender = 'm'"), 1);

    // Any non-zero boolean reads true.
    dm_.Execute("UPDATE ftPerson SET is_dead = -1, is_section = 'True'");
    q = dm_.Prepare("SELECT is_dead, is_section FROM ftPerson");
    ASSERT_TRUE(q.Next());
    EXPECT_TRUE(q.Bool(0));
    EXPECT_TRUE(q.Bool(1));

    // Every table of a new file, with the columns later versions added.
    for (const char* table : {"ftBookmark", "ftOption", "ftPerson", "ftPersonOption", "ftPictures",
                              "ftRelation", "ftTreeInfo", "ftDetails", "ftEvents", "ftEvents_persn"})
        EXPECT_TRUE(dm_.TableExists(table)) << table;
    for (const auto& [table, field] : UpgradeColumns())
        EXPECT_TRUE(dm_.ColumnExists(table, field.name)) << field.name.toStdString();
}

TEST_F(DatabaseTest, SchemaEditsSkipWhatExists) {
    TFieldProp field;
    field.name = QStringLiteral("extra");
    field.type = 202;
    EXPECT_TRUE(dm_.AddColumn("ftPerson", field));
    EXPECT_TRUE(dm_.AddColumn("ftPerson", field));
    EXPECT_TRUE(dm_.ColumnExists("ftPerson", "EXTRA"));
    field.type = 11;
    field.name = QStringLiteral("flag");
    EXPECT_TRUE(dm_.AddColumn("ftPerson", field));
    EXPECT_EQ(dm_.ScalarText("SELECT dflt_value FROM pragma_table_info('ftPerson') WHERE name = 'flag'"),
              "0");
    field.name = QStringLiteral("other");
    EXPECT_FALSE(dm_.AddColumn("ftNoTable", field));
    EXPECT_TRUE(dm_.AddTable("ftNew"));
    EXPECT_TRUE(dm_.AddTable("FTNEW"));
    EXPECT_TRUE(dm_.ColumnExists("ftNew", "oid"));
    EXPECT_EQ(dm_.Execute("INSERT INTO ftNew DEFAULT VALUES"), 1);
    EXPECT_EQ(dm_.LastInsertRowId(), 1);
}

TEST(NameCollation, FollowsTheInterfaceLanguage) {
    Tdm dm;
    ASSERT_TRUE(dm.Open(test::NewTempDir() + "/c.vrd", true));
    SetNameCollationLocale(QLocale(QLocale::Arabic));
    dm.ExecSql("CREATE TABLE t (name TEXT)");
    for (const char* name : {"يوسف", "أحمد", "بكر", "Zaid", "adam"})
        dm.Execute("INSERT INTO t VALUES (?)", name);
    QStringList order;
    dm.Prepare("SELECT name FROM t ORDER BY name COLLATE NAMES").ForEachRow([&](const Query& q) {
        order << q.Text(0);
    });
    EXPECT_EQ(order.indexOf("أحمد"), order.indexOf("بكر") - 1);
    EXPECT_EQ(order.indexOf("بكر"), order.indexOf("يوسف") - 1);
    EXPECT_LT(order.indexOf("adam"), order.indexOf("Zaid"));
    SetNameCollationLocale(QLocale());
}

} // namespace
} // namespace verdan
