#include "storage/tree_check.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "tree_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace verdan {
namespace {

using test::NewTempDir;

class Messages {
public:
    Messages() {
        previous_ = SetStoreMessageSink([this](StoreMessage, const QString& text) { texts << text; });
    }
    ~Messages() { SetStoreMessageSink(previous_); }
    QStringList texts;

private:
    StoreMessageSink previous_;
};

// A tree with its first rows, closed; `extra` persons with notes that fill pages of their own.
QString MakeTree(int extra = 0) {
    TTreeProperty props;
    props.BasePath = NewTempDir();
    props.FolderName = "family";
    props.FileName = "family.vrd";
    const QString path = CreateNewTree(props);
    EXPECT_FALSE(path.isEmpty());
    Tdm dm;
    EXPECT_TRUE(dm.Open(path));
    Transaction transaction(dm);
    for (int i = 0; i < extra; ++i)
        dm.Execute("INSERT INTO ftPerson (person_id, person_name, notes) VALUES (?, ?, ?)", NewGuidText(),
                   QString("P%1").arg(i), QString("NOTE-%1-").arg(i) + QString(300, u'n'));
    EXPECT_TRUE(transaction.Commit());
    return path;
}

int PageSize(const QString& path) {
    Tdm dm;
    return dm.Open(path) ? int(dm.ScalarInt("PRAGMA page_size")) : 0;
}

void Overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(offset));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Garbage over the whole page that holds `marker`, or over the first page of the table's tree.
void DamagePage(const QString& path, const QByteArray& marker, const char* table = nullptr) {
    const int size = PageSize(path);
    ASSERT_GT(size, 0);
    qint64 page = 0;
    if (table) {
        Tdm dm;
        ASSERT_TRUE(dm.Open(path));
        page =
            dm.ScalarInt("SELECT rootpage FROM sqlite_master WHERE name = ?", QString::fromLatin1(table)) - 1;
    } else {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const qint64 at = file.readAll().indexOf(marker);
        ASSERT_GE(at, 0);
        page = at / size;
    }
    Overwrite(path, page * size, QByteArray(size, char(0xA5)));
}

QByteArray Digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

TEST(DamagedTree, ARootPageOfGarbageIsReportedOnceAndTheTreeIsNotOpened) {
    const QString path = MakeTree();
    DamagePage(path, {}, "ftPerson");
    Messages messages;
    EXPECT_FALSE(OpenTreeFile(path));
    EXPECT_FALSE(IsTreeOpen()) << "never shown as an empty tree";
    ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join('\n').toStdString();
    EXPECT_TRUE(messages.texts[0].startsWith("The tree file is damaged.")) << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains(IsolatePath(path))) << "the path keeps its order in Arabic";
    EXPECT_TRUE(DamageSeen());

    // The check names the damage and says nothing of its own.
    Tdm dm;
    ASSERT_TRUE(dm.Open(path));
    const TTreeCheck check = CheckTreeFile(dm);
    EXPECT_TRUE(check.Finished);
    ASSERT_FALSE(check.Problems.isEmpty());
    EXPECT_TRUE(check.Problems.join('\n').contains("ftPerson")) << check.Problems.join('\n').toStdString();
    EXPECT_EQ(messages.texts.size(), 1);

    // A file that was never a database is no damaged tree.
    const QString text = NewTempDir() + "/notes.vrd";
    Overwrite(text, 0, QByteArray("just some words, not a tree\n").repeated(200));
    EXPECT_FALSE(OpenTreeFile(text));
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_TRUE(messages.texts[1].startsWith("This file is not a tree file."))
        << messages.texts[1].toStdString();
}

TEST(DamagedTree, DamageDeepInsideIsReportedOnceWhenAStatementMeetsIt) {
    const QString path = MakeTree(3000);
    DamagePage(path, "NOTE-1500-");
    Messages messages;
    ASSERT_TRUE(OpenTreeFile(path)) << messages.texts.join('\n').toStdString();
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_FALSE(Dm().Damaged());
    EXPECT_FALSE(IsTreeReadOnly());
    const QByteArray before = Digest(path);

    // A transaction that has written when it meets the damage keeps nothing of it.
    {
        Transaction transaction;
        EXPECT_EQ(Dm().Execute("UPDATE ftPerson SET person_name = 'changed' WHERE oid = 5"), 1);
        TextTable notes;
        Dm().QueryToTable("SELECT notes FROM ftPerson", notes);
        EXPECT_FALSE(transaction.Commit());
    }
    TextTable notes;
    Dm().QueryToTable("SELECT person_name FROM ftPerson WHERE notes LIKE 'NOTE-%'", notes);
    EXPECT_TRUE(Dm().Damaged());
    EXPECT_TRUE(IsTreeReadOnly()) << "a read error turns the tree read-only";
    ASSERT_EQ(messages.texts.size(), 1) << "once, not once per statement";
    EXPECT_TRUE(messages.texts[0].startsWith("The tree file is damaged.\r" + IsolatePath(path) + "|"));
    EXPECT_TRUE(messages.texts[0].contains("Rescue a copy")) << "the message offers the rescue";
    EXPECT_FALSE(messages.texts[0].section('|', 0, 0).contains("malformed")) << "engine text is no headline";

    // Every writer is refused by the one gate, whoever asks: the store, a statement, the schema.
    EXPECT_FALSE(SetLastId(NewGuidText()));
    EXPECT_FALSE(EnsureGlobalParent());
    EXPECT_EQ(Dm().Execute("INSERT INTO ftBookmark (person_id, b_type) VALUES ('x', 1)"), -1);
    EXPECT_TRUE(Dm().LastError().startsWith("The tree is open read-only")) << Dm().LastError().toStdString();
    EXPECT_FALSE(Dm().ExecSql("CREATE TABLE extra (x)"));
    EXPECT_FALSE(Dm().ExecSql("PRAGMA user_version = 7"));
    EXPECT_FALSE(Dm().Vacuum());
    EXPECT_FALSE(MaintainTreeFile());
    EXPECT_EQ(Digest(path), before) << "nothing of it is written";
    messages.texts.clear();

    int reports = 0;
    double last = 0;
    bool ordered = true;
    const TTreeCheck check = CheckTreeFile(Dm(), [&](double done) {
        ordered = ordered && done >= last && done <= 1.0;
        last = done;
        ++reports;
        return true;
    });
    EXPECT_TRUE(check.Finished);
    EXPECT_FALSE(check.Problems.isEmpty());
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last, 1.0);
    EXPECT_GT(reports, 1);
    EXPECT_TRUE(messages.texts.isEmpty()) << "the check tells what it finds, nothing more";
    CloseTreeFile();
}

TEST(TreeCheck, ASoundTreeHasNoProblemsAndTheCheckCanBeStopped) {
    const QString path = MakeTree(3000);
    Tdm dm;
    ASSERT_TRUE(dm.Open(path));
    const TTreeCheck sound = CheckTreeFile(dm);
    EXPECT_TRUE(sound.Finished);
    EXPECT_TRUE(sound.Problems.isEmpty()) << sound.Problems.join('\n').toStdString();
    const TTreeCheck stopped = CheckTreeFile(dm, [](double) { return false; });
    EXPECT_FALSE(stopped.Finished);
    EXPECT_TRUE(stopped.Problems.isEmpty());
    EXPECT_FALSE(dm.Damaged());
    EXPECT_EQ(dm.ScalarInt("SELECT count(*) FROM ftPerson"), 3003) << "the connection works on";
}

// Adds objects a tree file never holds, as another program could, and a marriage they could wipe.
void AddForeignObjects(const QString& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const char* sql = "INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) VALUES ('a', 'b', 0);"
                      "CREATE TRIGGER wipe AFTER UPDATE ON ftPerson BEGIN DELETE FROM ftRelation; END;"
                      "CREATE VIEW everyone AS SELECT person_name FROM ftPerson;"
                      "CREATE VIRTUAL TABLE finder USING fts5(x);"
                      "CREATE VIRTUAL TABLE stranger USING fts5(y);"
                      "CREATE TABLE kept_notes (x); INSERT INTO kept_notes VALUES ('mine');"
                      // A virtual table of a module this program does not have.
                      "PRAGMA writable_schema = ON;"
                      "UPDATE sqlite_master SET sql = 'CREATE VIRTUAL TABLE stranger USING nosuchmodule(y)' "
                      "WHERE name = 'stranger';"
                      "PRAGMA writable_schema = OFF;";
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

TEST(ForeignObjects, ATreeWithObjectsThatActOnTheirOwnIsRefusedAndOpensOnlyAsACleanedCopy) {
    const QString path = MakeTree();
    AddForeignObjects(path);
    const QByteArray original = Digest(path);
    const QStringList expected = {"virtual table finder", "virtual table stranger", "trigger wipe",
                                  "view everyone"};
    EXPECT_EQ(ForeignSchemaObjects(path), expected);

    Messages messages;
    EXPECT_FALSE(OpenTreeFile(path));
    EXPECT_FALSE(IsTreeOpen());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(IsolatePath(path)));
    for (const QString& object : expected)
        EXPECT_TRUE(messages.texts[0].contains(object)) << messages.texts[0].toStdString();
    EXPECT_EQ(Digest(path), original);

    const QString copy = WriteCleanedCopy(path);
    ASSERT_EQ(copy, QFileInfo(path).absolutePath() + "/family-cleaned.vrd")
        << messages.texts.join('\n').toStdString();
    EXPECT_EQ(Digest(path), original) << "the file itself is never written";
    EXPECT_TRUE(ForeignSchemaObjects(copy).isEmpty());
    EXPECT_EQ(WriteCleanedCopy(path), QFileInfo(path).absolutePath() + "/family-cleaned-1.vrd");

    ASSERT_TRUE(OpenTreeFile(copy)) << messages.texts.join('\n').toStdString();
    EXPECT_EQ(Dm().ScalarText("SELECT x FROM kept_notes"), "mine") << "unknown tables stay";
    EXPECT_EQ(Dm().ScalarText("PRAGMA integrity_check"), "ok");
    // An edit that the trigger would have followed with deleting every marriage.
    EXPECT_EQ(Dm().Execute("UPDATE ftPerson SET person_name = 'Renamed' WHERE is_section = 0"), 1);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftRelation"), 1);
    CloseTreeFile();
    EXPECT_EQ(messages.texts.size(), 1);
}

TEST(ForeignObjects, EveryConnectionIsDefensive) {
    const QString path = MakeTree();
    Tdm dm;
    ASSERT_TRUE(dm.Open(path));
    // The schema cannot be edited behind the engine's back, nor extensions loaded.
    dm.ExecSql("PRAGMA writable_schema = ON");
    EXPECT_EQ(dm.Execute("UPDATE sqlite_master SET sql = sql WHERE name = 'ftPerson'"), -1);
    EXPECT_FALSE(dm.ExecSql("SELECT load_extension('libnothing')"));
    // Our own temporary triggers, with a function of our own, keep working.
    ASSERT_EQ(sqlite3_create_function_v2(
                  dm.Handle(), "note_change", 0, SQLITE_UTF8 | SQLITE_INNOCUOUS, nullptr,
                  [](sqlite3_context* context, int, sqlite3_value**) { sqlite3_result_int(context, 1); },
                  nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(dm.ExecSql("CREATE TEMP TABLE changes (n)"));
    ASSERT_TRUE(dm.ExecSql("CREATE TEMP TRIGGER watch AFTER UPDATE ON ftPerson BEGIN INSERT INTO changes "
                           "VALUES (note_change()); END"));
    EXPECT_EQ(dm.Execute("UPDATE ftPerson SET nickname = 'x'"), 3);
    EXPECT_EQ(dm.ScalarInt("SELECT count(*) FROM changes"), 3);
}

} // namespace
} // namespace verdan
