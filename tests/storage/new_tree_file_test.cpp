#include "storage/new_tree_file.h"
#include "tree_fixture.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace verdan {
namespace {

using test::NewTempDir;

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
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

bool WriteTable(const QString& path, const char* table) {
    Tdm dm;
    return dm.Open(path) && dm.ExecSql(QStringLiteral("CREATE TABLE ") + QLatin1String(table) + " (x)");
}

// A child process that starts a tree file in the folder and is killed before it is done; the path of its
// unfinished file.
QString KilledWriter(const QString& folder) {
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        TNewTreeFile file(folder + "/family.vrd");
        if (file.Begin() && WriteTable(file.TemporaryPath(), "half")) {
            const QByteArray path = QFile::encodeName(file.TemporaryPath()) + '\n';
            (void)!write(channel[1], path.constData(), size_t(path.size()));
        }
        raise(SIGKILL);
    }
    close(channel[1]);
    char buffer[4096];
    const ssize_t n = read(channel[0], buffer, sizeof buffer);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    return n > 0 ? QFile::decodeName(QByteArray(buffer, int(n)).trimmed()) : QString();
}

TEST(NewTreeFile, TheTreeAppearsUnderItsNameOnlyWhenComplete) {
    const QString folder = NewTempDir();
    const QString target = folder + "/family.vrd";
    {
        TNewTreeFile file(target);
        ASSERT_TRUE(file.Begin()) << file.Error().toStdString();
        const QString temporary = file.TemporaryPath();
        EXPECT_TRUE(IsTemporaryTreeFile(temporary));
        EXPECT_TRUE(QFileInfo(temporary).fileName().startsWith(u'.')) << "hidden";
        EXPECT_FALSE(temporary.endsWith(".vrd")) << "never matched by the tree filter";
        ASSERT_TRUE(WriteTable(temporary, "people"));
        EXPECT_FALSE(QFileInfo::exists(target));
        ASSERT_TRUE(file.Commit()) << file.Error().toStdString();
    }
    EXPECT_EQ(FilesIn(folder), QStringList{"family.vrd"});
    Tdm dm;
    ASSERT_TRUE(dm.Open(target));
    EXPECT_TRUE(dm.TableExists("people"));
    dm.Close();

    // Given up, or left without Commit: nothing stays behind.
    {
        TNewTreeFile file(folder + "/other.vrd");
        ASSERT_TRUE(file.Begin());
        ASSERT_TRUE(WriteTable(file.TemporaryPath(), "people"));
    }
    EXPECT_EQ(FilesIn(folder), QStringList{"family.vrd"});
}

TEST(NewTreeFile, ANewTreeNeverReplacesAFileAndSaveAsReplacesOnlyWhenDone) {
    const QString folder = NewTempDir();
    const QString target = folder + "/family.vrd";
    WriteFile(target, "precious");
    TNewTreeFile refused(target);
    EXPECT_FALSE(refused.Begin());
    EXPECT_EQ(refused.Error(), "The file already exists.");

    // A file that appears while the tree is written wins over it.
    const QString late = folder + "/late.vrd";
    TNewTreeFile racing(late);
    ASSERT_TRUE(racing.Begin());
    ASSERT_TRUE(WriteTable(racing.TemporaryPath(), "people"));
    WriteFile(late, "came first");
    EXPECT_FALSE(racing.Commit());
    EXPECT_EQ(ReadFile(late), "came first");
    EXPECT_EQ(FilesIn(folder), (QStringList{"family.vrd", "late.vrd"}));

    TNewTreeFile copy(target, TNewTreeFile::Mode::ReplaceFile);
    ASSERT_TRUE(copy.Begin());
    EXPECT_EQ(ReadFile(target), "precious") << "untouched while the copy is written";
    ASSERT_TRUE(WriteTable(copy.TemporaryPath(), "people"));
    ASSERT_TRUE(copy.Commit());
    EXPECT_TRUE(ReadFile(target).startsWith("SQLite format 3"));

    TNewTreeFile nowhere(folder + "/missing/family.vrd");
    EXPECT_FALSE(nowhere.Begin());
}

TEST(NewTreeFile, TheNextWriterRemovesWhatAKilledOneLeftButNotWhatARunningOneHolds) {
    const QString folder = NewTempDir();
    const QString left = KilledWriter(folder);
    ASSERT_FALSE(left.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(left));
    WriteFile(left + "-journal", "journal of the killed run");
    EXPECT_FALSE(QFileInfo::exists(folder + "/family.vrd")) << "no tree, not half of one";

    WriteFile(folder + "/.notes.txt", "a hidden file of the user");

    // Opening the leftover as a tree is refused.
    QStringList messages;
    const StoreMessageSink previous =
        SetStoreMessageSink([&](StoreMessage, const QString& text) { messages << text; });
    EXPECT_FALSE(OpenTreeFile(left));
    SetStoreMessageSink(previous);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("unfinished")) << messages[0].toStdString();

    TNewTreeFile running(folder + "/running.vrd");
    ASSERT_TRUE(running.Begin());
    EXPECT_FALSE(QFileInfo::exists(left));
    EXPECT_FALSE(QFileInfo::exists(left + "-journal"));

    EXPECT_TRUE(CreateTreeFile(folder + "/family.vrd"));
    EXPECT_TRUE(QFileInfo::exists(running.TemporaryPath()));
    EXPECT_TRUE(QFileInfo::exists(folder + "/.notes.txt"));
    EXPECT_EQ(RemoveStaleTemporaryTrees(folder), 0);
}

TEST(NewTreeFile, ANewTreeComesWithItsFirstRows) {
    TTreeProperty props;
    props.BasePath = NewTempDir();
    props.FolderName = "Salem";
    props.FileName = "Salem.vrd";
    props.TreeName = "Salem";
    props.OwnerName = "Ali";
    const QString path = CreateNewTree(props);
    ASSERT_EQ(path, props.BasePath + "/Salem/Salem.vrd");
    EXPECT_TRUE(QFileInfo(props.BasePath + "/Salem/photos").isDir());
    EXPECT_EQ(FilesIn(props.BasePath + "/Salem"), QStringList{"Salem.vrd"});
    Tdm dm;
    ASSERT_TRUE(dm.Open(path));
    EXPECT_EQ(dm.ScalarText("SELECT tree_name || '/' || owner_name FROM ftTreeInfo WHERE oid = 1"),
              "Salem/Ali");
    EXPECT_EQ(dm.ScalarText("SELECT global_parent_id FROM ftTreeInfo"), props.GlobalParentId);
    EXPECT_EQ(dm.ScalarInt("SELECT count(*) FROM ftPerson"), 3);
    dm.Close();
    QStringList messages;
    const StoreMessageSink previous =
        SetStoreMessageSink([&](StoreMessage, const QString& text) { messages << text; });
    EXPECT_TRUE(CreateNewTree(props).isEmpty()) << "the name is taken";
    SetStoreMessageSink(previous);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(path)) << messages[0].toStdString();
}

} // namespace
} // namespace verdan
