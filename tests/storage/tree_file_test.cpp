#include "storage/person_store.h"
#include "storage/schema.h"
#include "storage/tree_probe.h"
#include "text/bidi_text.h"
#include "tree_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <sqlite3.h>

namespace verdan {
namespace {

using test::NewTempDir;

class RecordedMessages {
public:
    RecordedMessages() {
        previous_ = SetStoreMessageSink([this](StoreMessage kind, const QString& text) {
            kinds << kind;
            texts << text;
        });
    }
    ~RecordedMessages() { SetStoreMessageSink(previous_); }
    QList<StoreMessage> kinds;
    QStringList texts;

private:
    StoreMessageSink previous_;
};

// A second connection as another program would make; true when it could read the tree.
bool ReadableElsewhere(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const int rc = sqlite3_exec(db, "SELECT count(*) FROM ftPerson", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TreeIdentifiers, GuidTextForm) {
    const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    const QString a = NewGuidText();
    EXPECT_EQ(a.size(), 38);
    EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
    EXPECT_NE(a, NewGuidText());
    EXPECT_EQ(GetFileSize(NewTempDir() + "/none"), 0);
}

using NewTree = test::TreeTest;

TEST_F(NewTree, HoldsTheThreeInitialPersons) {
    EXPECT_TRUE(QFileInfo(props_.BasePath + "/family/photos").isDir());
    EXPECT_EQ(CurrentTreePath(), QFileInfo(path_).absoluteFilePath());
    EXPECT_EQ(PhotosFolder(), props_.BasePath + "/family/photos/");
    EXPECT_EQ(Dm().CurrentTreePath(), CurrentTreePath());
    EXPECT_FALSE(GetHideNicknameOption());
    EXPECT_FALSE(HideNicknameOption());

    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftTreeInfo"), 1);
    EXPECT_EQ(Dm().ScalarInt("SELECT oid FROM ftTreeInfo"), 1);
    EXPECT_EQ(GetOwnerId(), props_.OwnerId);
    EXPECT_EQ(GetGlobalParentId(), props_.GlobalParentId);
    EXPECT_EQ(GetTreeName(), "Tree");
    EXPECT_EQ(CurrentTreeName(), "Tree");
    EXPECT_EQ(CurrentOwnerName(), "Owner");

    ASSERT_EQ(CountPersons(), 3);
    Query group = Dm().Prepare("SELECT * FROM ftPerson WHERE person_name = ?", "Family Name");
    ASSERT_TRUE(group.Next());
    EXPECT_EQ(group.Text("father_id"), "-1");
    EXPECT_EQ(group.Text("mother_id"), "0");
    EXPECT_TRUE(group.Bool("is_section"));
    EXPECT_EQ(group.Text("owner_id"), props_.OwnerId);
    Query person = Dm().Prepare("SELECT * FROM ftPerson WHERE person_name = ?", "Person Name");
    ASSERT_TRUE(person.Next());
    EXPECT_EQ(person.Text("father_id"), group.Text("person_id"));
    EXPECT_EQ(person.Text("gender"), "m");
    EXPECT_FALSE(person.Bool("is_section"));
    EXPECT_EQ(person.Int("order_by_father"), 1);
    EXPECT_EQ(CountChildrenOfFather(group.Text("person_id")), 1);
    EXPECT_TRUE(ParseStamp(person.Text("date_created")).isValid());
    Query global = Dm().Prepare("SELECT * FROM ftPerson WHERE person_id = ?", props_.GlobalParentId);
    ASSERT_TRUE(global.Next());
    EXPECT_EQ(global.Text("person_name"), "Other Ancestries");
    EXPECT_EQ(global.Text("father_id"), "-1");
    EXPECT_EQ(global.Int("order_by_father"), 1000);
    EXPECT_TRUE(global.Bool("is_section"));

    // Opening again changes nothing and keeps the same global group.
    ASSERT_TRUE(OpenTreeFile(path_));
    EXPECT_TRUE(EnsureGlobalParent());
    EXPECT_EQ(CountPersons(), 3);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("\n").toStdString();
}

TEST(TreeCreation, RefusesExistingPathsAndLeavesNothingHalfMade) {
    RecordedMessages messages;
    const QString folder = NewTempDir();
    const QString existing = folder + "/existing.vrd";
    WriteFile(existing, "precious");
    EXPECT_FALSE(CreateTreeFile(existing));
    EXPECT_EQ(ReadFile(existing), "precious");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(existing));

    const QString unreachable = folder + "/no/such/folder/tree.vrd";
    EXPECT_FALSE(CreateTreeFile(unreachable));
    EXPECT_FALSE(QFileInfo::exists(unreachable));
    EXPECT_EQ(messages.texts.size(), 2);

    // The folder variant creates folders as needed; a second call on the same name is refused.
    TTreeProperty props;
    props.BasePath = folder;
    props.FolderName = "new";
    props.FileName = "tree.vrd";
    const QString created = CreateTreeFolderAndFile(props);
    EXPECT_EQ(created, folder + "/new/tree.vrd");
    EXPECT_TRUE(CreateTreeFolderAndFile(props).isEmpty());
    EXPECT_FALSE(IsTreeOpen());

    // A new file has the whole schema and no tree information yet.
    Tdm dm;
    ASSERT_TRUE(dm.Open(created));
    EXPECT_TRUE(dm.TableExists("ftTreeInfo"));
    EXPECT_EQ(dm.ScalarInt("SELECT count(*) FROM ftTreeInfo"), 0);
    EXPECT_EQ(dm.ScalarInt("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'ft%'"),
              13);
}

// Whatever is offered, the message says what the file is in the interface's words (engine text only as
// details), nothing is written to it, and the tree open before stays open.
TEST(TreeOpening, RefusesWhatIsNoTreeAndKeepsTheOpenTree) {
    RecordedMessages messages;
    const QString folder = NewTempDir();
    TTreeProperty props;
    props.BasePath = folder;
    props.FolderName = "open";
    props.FileName = "open.vrd";
    const QString open = CreateNewTree(props);
    ASSERT_TRUE(OpenTreeFile(open));

    const QString missing = folder + "/missing.vrd";
    const QString text = folder + "/notes.vrd";
    WriteFile(text, QByteArray("This is not a database at all, just some text.\n").repeated(20));
    const QString gedcom = folder + "/family.vrd";
    WriteFile(gedcom, QByteArray("\xEF\xBB\xBF") + "0 HEAD\r\n1 CHAR UTF-8\r\n0 TRLR\r\n");
    const QString empty = folder + "/empty.vrd";
    WriteFile(empty, QByteArray());
    const QString jet = folder + "/old.vrd";
    ASSERT_TRUE(QFile::copy(test::SampleData("jet/DateTestDatabase.mdb"), jet));
    const QString foreign = folder + "/foreign.vrd";
    {
        Tdm dm;
        ASSERT_TRUE(dm.Open(foreign, true));
        dm.ExecSql("CREATE TABLE things (x)");
    }
    const QList<std::pair<QString, QString>> cases = {
        {missing, "File not found.|"},
        {text, "This file is not a tree file.|"},
        {gedcom, "This is a GEDCOM file, not a tree file.|"},
        {empty, "The file is empty: it holds no tree.|"},
        {jet, "This file is a database of the old format, but it holds no family tree.|"},
        {foreign, "This file is a database, but it holds no family tree.|"},
    };
    for (const auto& [path, headline] : cases) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray before = ReadFile(path);
        messages.texts.clear();
        EXPECT_FALSE(OpenTreeFile(path));
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(StripBidiControls(messages.texts[0]).startsWith(headline + path))
            << messages.texts[0].toStdString();
        EXPECT_FALSE(messages.texts[0].section(u'|', 0, 0).contains("database disk image"));
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(CurrentTreePath(), QFileInfo(open).absoluteFilePath()) << "the open tree stays open";
        EXPECT_TRUE(IsTreeOpen());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(ProbeTreeFile(jet).Kind, TFileKind::LegacyNoTree);
    EXPECT_EQ(ProbeTreeFile(open).Kind, TFileKind::Tree) << "the open tree is told as it is";
    CloseTreeFile();
}

// An older layout: no details table, no relation place, no tree flags, and no person options at all.
void MakeOldLayoutFile(const QString& path) {
    Tdm dm;
    ASSERT_TRUE(dm.Open(path, true));
    ASSERT_TRUE(dm.ExecSql(
        "CREATE TABLE ftPerson (oid INTEGER PRIMARY KEY AUTOINCREMENT, owner_id TEXT, person_id TEXT, "
        "father_id TEXT, mother_id TEXT, gender TEXT, person_name TEXT, other_name TEXT, last_name TEXT, "
        "nickname TEXT, cognomen TEXT, family_name TEXT, family_nickname TEXT, date_of_birth_g INTEGER, "
        "date_of_birth_h INTEGER, date_of_death_g INTEGER, date_of_death_h INTEGER, place_of_birth TEXT, "
        "place_of_death TEXT, display_order INTEGER, order_by_father INTEGER, order_by_mother INTEGER, "
        "is_section INTEGER, section_type TEXT, is_dead INTEGER, briefing TEXT, notes TEXT, date_created "
        "TEXT, "
        "user_created TEXT, date_modified TEXT, user_modified TEXT)"));
    ASSERT_TRUE(
        dm.ExecSql("CREATE TABLE ftRelation (oid INTEGER PRIMARY KEY AUTOINCREMENT, person_id_1 TEXT, "
                   "person_id_2 TEXT, relation_type INTEGER)"));
    ASSERT_TRUE(dm.ExecSql("CREATE TABLE ftTreeInfo (oid INTEGER PRIMARY KEY AUTOINCREMENT, owner_id TEXT, "
                           "owner_name TEXT, tree_name TEXT, global_parent_id TEXT, description BLOB, "
                           "last_Id TEXT)"));
    dm.Execute("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) VALUES ('{A}', '{B}', 0)");
    dm.Execute("INSERT INTO ftTreeInfo (oid, tree_name) VALUES (1, 'Old')");
}

// Only an open to work on a tree adds what it lacks: a read-only one shows the absent tables and columns
// as empty (defaults where a column has one), every reader gets its rows, and no byte is written.
TEST(TreeOpening, AReadOnlyOpenShowsWhatTheFileLacksAsEmptyAndWritesNothing) {
    const QString path = NewTempDir() + "/old.vrd";
    MakeOldLayoutFile(path);
    {
        Tdm dm;
        ASSERT_TRUE(dm.Open(path));
        dm.Execute("INSERT INTO ftPerson (person_id, father_id, mother_id, person_name, gender) "
                   "VALUES ('{A}', '-1', '0', 'Ali', 'm'), ('{B}', '-1', '0', 'Huda', 'f')");
    }
    const QByteArray before = ReadFile(path);
    RecordedMessages messages;
    ASSERT_TRUE(OpenTreeFile(path, TOpenAccess::ReadOnly));
    EXPECT_TRUE(IsTreeReadOnly());
    EXPECT_FALSE(Dm().TableExists("ftDetails")) << "nothing is added to the file";
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftDetails"), 0);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPersonOption WHERE hide_name = 0"), 0);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftRelation WHERE place IS NULL"), 1);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftTreeInfo WHERE hide_about = 0"), 1) << "its default";
    EXPECT_TRUE(Dm().ColumnExists("ftPerson", "pre_mother_id"));
    EXPECT_EQ(CountPersons(), 2);
    EXPECT_TRUE(PersonExists("{B}"));
    TTreeProperty props;
    ReadTreeProperties(props);
    EXPECT_EQ(props.TreeName, "Old");
    EXPECT_EQ(props.MarriageCount, 1);
    EXPECT_EQ(Dm().Execute("UPDATE ftTreeInfo SET tree_name = 'New'"), -1);
    EXPECT_FALSE(EnsureGlobalParent());
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(u'\n').toStdString();
    CloseTreeFile();
    EXPECT_EQ(ReadFile(path), before);
}

TEST(TreeOpening, UpgradesOlderFilesColumnByColumn) {
    const QString path = NewTempDir() + "/old.vrd";
    MakeOldLayoutFile(path);
    RecordedMessages messages;
    ASSERT_TRUE(OpenTreeFile(path));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(Dm().TableExists("ftDetails"));
    for (const char* column : {"oid", "owner_id", "person_Id", "identity_no", "cell_phone", "home_phone",
                               "email", "address", "work_address", "net_accounts"})
        EXPECT_TRUE(Dm().ColumnExists("ftDetails", column)) << column;
    EXPECT_EQ(Dm().Execute("INSERT INTO ftDetails (person_id) VALUES ('{A}')"), 1);
    EXPECT_EQ(Dm().Execute("INSERT INTO ftDetails (person_id) VALUES ('{A}')"), -1);
    EXPECT_TRUE(Dm().ColumnExists("ftRelation", "place"));
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftRelation"), 1);
    // A missing table keeps its own columns out, not the ones after it.
    EXPECT_FALSE(Dm().TableExists("ftPersonOption"));
    EXPECT_TRUE(Dm().ColumnExists("ftPerson", "pre_mother_id"));
    EXPECT_TRUE(Dm().ColumnExists("ftTreeInfo", "hide_about"));
    EXPECT_FALSE(UpgradeSchema());

    TTreeProperty props;
    ReadTreeProperties(props);
    EXPECT_EQ(props.TreeName, "Old");
    props.TreeName = "Renamed";
    EXPECT_TRUE(WriteTreeProperties(props));
    EXPECT_EQ(GetTreeName(), "Renamed");

    // The global group of a tree that names none is made once, at the top level.
    EXPECT_TRUE(EnsureGlobalParent());
    const QString global = GetGlobalParentId();
    EXPECT_EQ(global.size(), 38);
    ASSERT_TRUE(OpenTreeFile(path));
    EXPECT_TRUE(EnsureGlobalParent());
    EXPECT_EQ(GetGlobalParentId(), global);
    Query q = Dm().Prepare("SELECT person_name, father_id, order_by_father, is_section FROM ftPerson");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text(0), QString::fromUtf8("خارج الشجرة"));
    EXPECT_EQ(q.Text(1), "-1");
    EXPECT_EQ(q.Int(2), 1000);
    EXPECT_TRUE(q.Bool(3));
    EXPECT_FALSE(q.Next());
    CloseTreeFile();
}

TEST_F(NewTree, GlobalGroupRepairAndPlacement) {
    // No tree information row at all: the row is made with a new group, once.
    Dm().ExecSql("DELETE FROM ftTreeInfo");
    ASSERT_TRUE(OpenTreeFile(path_));
    EXPECT_EQ(GetGlobalParentId(), "");
    EXPECT_TRUE(EnsureGlobalParent());
    const QString global = GetGlobalParentId();
    EXPECT_EQ(global.size(), 38);
    ASSERT_TRUE(OpenTreeFile(path_));
    EXPECT_EQ(GetGlobalParentId(), global);
    EXPECT_TRUE(EnsureGlobalParent());
    EXPECT_EQ(CountPersons(), 4);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftTreeInfo"), 1);
    Dm().Execute("UPDATE ftTreeInfo SET global_parent_id = ?", props_.GlobalParentId);

    // "0" is never served from the cache.
    Dm().Execute("UPDATE ftTreeInfo SET global_parent_id = '0'");
    ASSERT_TRUE(OpenTreeFile(path_));
    Dm().Execute("UPDATE ftTreeInfo SET global_parent_id = ?", props_.GlobalParentId);
    EXPECT_EQ(GetGlobalParentId(), props_.GlobalParentId);

    // The placement is written only when it differs, so "last modified" keeps its meaning.
    const QString old = "2001-02-03 04:05:06";
    Dm().Execute("UPDATE ftPerson SET date_modified = ?", old);
    EXPECT_TRUE(ResetGlobalParentPlacement());
    EXPECT_EQ(Dm().ScalarText("SELECT max(date_modified) FROM ftPerson"), old);
    Dm().Execute("UPDATE ftPerson SET father_id = '{X}', order_by_mother = 3 WHERE person_id = ?",
                 props_.GlobalParentId);
    int cleared = 0;
    const int cache = RegisterStoreCache([&] { ++cleared; });
    EXPECT_TRUE(ResetGlobalParentPlacement());
    EXPECT_EQ(cleared, 1);
    Query q =
        Dm().Prepare("SELECT father_id, mother_id, order_by_father, order_by_mother, date_modified FROM "
                     "ftPerson WHERE person_id = ?",
                     props_.GlobalParentId);
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text(0), "-1");
    EXPECT_EQ(q.Text(1), "0");
    EXPECT_EQ(q.Int(2), 1000);
    EXPECT_EQ(q.Int(3), 1000);
    EXPECT_NE(q.Text(4), old);
    q = Query();

    // Store caches are emptied on every open and close.
    const quint64 generation = TreeGeneration();
    ASSERT_TRUE(OpenTreeFile(path_));
    EXPECT_EQ(cleared, 2);
    EXPECT_NE(TreeGeneration(), generation);
    UnregisterStoreCache(cache);
    ASSERT_TRUE(OpenTreeFile(path_));
    EXPECT_EQ(cleared, 2);
}

TEST_F(NewTree, OpenTreeIsHeldExclusively) {
    EXPECT_FALSE(ReadableElsewhere(path_));
    {
        Tdm second;
        EXPECT_FALSE(second.Open(path_) && second.HoldExclusive());
    }
    EXPECT_FALSE(CompactDatabase(path_));
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_EQ(CountPersons(), 3);
    CloseTreeFile();
    EXPECT_TRUE(ReadableElsewhere(path_));
}

TEST_F(NewTree, CompactionKeepsTheTree) {
    for (int i = 0; i < 2000; ++i)
        Dm().Execute("INSERT INTO ftPerson (person_id, notes) VALUES (?, ?)", NewGuidText(),
                     QString(200, u'x'));
    Dm().Execute("DELETE FROM ftPerson WHERE notes IS NOT NULL");
    const qint64 before = GetFileSize(path_);
    EXPECT_TRUE(Dm().RunSharedQuery("SELECT * FROM ftPerson")); // a reader left on a row does not block it
    EXPECT_TRUE(MaintainTreeFile());
    EXPECT_LT(GetFileSize(path_), before);
    EXPECT_EQ(CountPersons(), 3);
    EXPECT_FALSE(ReadableElsewhere(path_));
    CloseTreeFile();
    EXPECT_EQ(QDir(props_.BasePath + "/family").entryList(QDir::Files), QStringList({"family.vrd"}));
    ASSERT_TRUE(OpenTreeFile(path_));

    // Save-as: a complete copy replaces an existing target, and the open tree stays open.
    const QString target = NewTempDir() + "/copy.vrd";
    WriteFile(target, "old content");
    EXPECT_TRUE(SaveTreeCopy(target));
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_EQ(QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"copy.vrd"}));
    EXPECT_FALSE(SaveTreeCopy(path_));
    EXPECT_FALSE(SaveTreeCopy(NewTempDir() + "/no/folder/copy.vrd"));
    CloseTreeFile();

    // Compacting a closed file; a file held by another connection is refused and stays whole.
    EXPECT_TRUE(CompactDatabase(path_));
    ASSERT_TRUE(OpenTreeFile(target));
    EXPECT_EQ(CountPersons(), 3);
    const QByteArray held = ReadFile(target);
    EXPECT_FALSE(CompactDatabase(target));
    EXPECT_EQ(CountPersons(), 3);
    CloseTreeFile();
    EXPECT_EQ(ReadFile(target), held);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("\n").toStdString();
}

// Run by the test below in a child process: opens the tree named by the environment.
TEST(TreeLockProbe, OpensTheNamedTree) {
    const QString path = qEnvironmentVariable("VERDAN_LOCK_PROBE");
    if (path.isEmpty())
        GTEST_SKIP() << "only run as a child process";
    RecordedMessages messages;
    EXPECT_TRUE(OpenTreeFile(path)) << messages.texts.join("\n").toStdString();
    CloseTreeFile();
}

int ProbeFromAnotherProcess(const QString& path) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VERDAN_LOCK_PROBE", path);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TreeLockProbe.*"});
    child.waitForFinished(60000);
    return child.exitCode();
}

TEST_F(NewTree, AnotherProcessCannotOpenTheOpenTree) {
    EXPECT_NE(ProbeFromAnotherProcess(path_), 0);
    CloseTreeFile();
    EXPECT_EQ(ProbeFromAnotherProcess(path_), 0);
}

} // namespace
} // namespace verdan
