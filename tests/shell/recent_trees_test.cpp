#include "common/testing.h"
#include "shell/recent_trees.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TTreeProperty Props(const QString& name, const QString& owner, const QString& path) {
    TTreeProperty props;
    props.TreeName = name;
    props.OwnerName = owner;
    props.BasePath = path;
    return props;
}

} // namespace

TEST(RecentTrees, RecordMovesToTopAndSavesEveryChange) {
    SetProgramFolder(test::NewTempDir());
    const QString a = ProgramFolder() + QStringLiteral("data/a/a.vrd");
    const QString b = ProgramFolder() + QStringLiteral("data/b/b.vrd");
    EXPECT_FALSE(RecentTreesExist());
    QSignalSpy changed(&RecentTrees(), &TRecentTrees::Changed);

    RecordRecentTree(Props(QStringLiteral("Tree A"), QStringLiteral("Ali"), a));
    TTreeProperty second = Props(QStringLiteral("شجرة ب"), QString(), b);
    second.LastModified = QDateTime(QDate(2024, 3, 11), QTime(10, 0));
    RecordRecentTree(second);
    RecordRecentTree(Props(QString(), QString(), QStringLiteral("  "))); // a blank path changes nothing
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(RecentTreesExist());

    const QString date = QStringLiteral("2024-03-11");
    EXPECT_EQ(ReadBytes(RecentTreesFileName()),
              QByteArray("\xEF\xBB\xBF") + QStringLiteral("شجرة ب\t\t").toUtf8() + b.toUtf8() + '\t' +
                  date.toUtf8() + "\r\nTree A\tAli\t" + a.toUtf8() + "\t\r\n");

    // Opening a listed tree again, named by a path that only resolves to the same file, moves its row up.
    QDir::setCurrent(ProgramFolder());
    RecordRecentTree(
        Props(QStringLiteral("Renamed"), QStringLiteral("Ali"), QStringLiteral("data/x/../a/a.vrd")));
    ASSERT_EQ(RecentTrees().Count(), 2);
    EXPECT_EQ(RecentTrees().Items()[0],
              (TRecentTree{QStringLiteral("Renamed"), QStringLiteral("Ali"), a, {}}));
    EXPECT_EQ(RecentTrees().Items()[1].File, b);

    RecentTrees().Remove(0);
    RecentTrees().Reload();
    ASSERT_EQ(RecentTrees().Count(), 1);
    EXPECT_EQ(RecentTrees().Items()[0].File, b);
    RecentTrees().Remove(0);
    EXPECT_FALSE(RecentTreesExist());
    EXPECT_EQ(ReadBytes(RecentTreesFileName()), QByteArray("\xEF\xBB\xBF"));
}

// The list is read before its first change, whoever makes it: recording a tree never drops the rows a
// window has not shown yet.
TEST(RecentTrees, FirstChangeKeepsTheStoredRows) {
    SetProgramFolder(test::NewTempDir());
    WriteBytes(RecentTreesFileName(), "One\tA\t/t/one.vrd\t1/2/24\r\nTwo\tB\t/t/two.vrd\t\r\n");
    RecordRecentTree(Props(QStringLiteral("Three"), QStringLiteral("C"), QStringLiteral("/t/three.vrd")));
    const QList<TRecentTree> stored = TRecentTrees::Parse(ReadBytes(RecentTreesFileName()));
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored[0].TreeName, QStringLiteral("Three"));
    EXPECT_EQ(stored[1], (TRecentTree{QStringLiteral("One"), QStringLiteral("A"),
                                      QStringLiteral("/t/one.vrd"), QStringLiteral("1/2/24")}));

    // Another program folder has a list of its own.
    SetProgramFolder(test::NewTempDir());
    EXPECT_EQ(RecentTrees().Count(), 0);
}

// Display padding written by earlier versions is trimmed away; rows without a file, comment lines and a
// second row of the same file are dropped; quoted fields keep their separators.
TEST(RecentTrees, ReadsOlderAndHandWrittenLists) {
    const QByteArray bytes = "; trees\r\n"
                             "  Family  \t Creator \t/t/f.vrd\t\r\n"
                             "No file\tX\t  \t\r\n"
                             "\r\n"
                             "Again\tY\t/t/f.vrd\t\r\n"
                             "\"A\tB\"\tZ\t/t/g.vrd\n";
    const QList<TRecentTree> items = TRecentTrees::Parse(bytes);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(
        items[0],
        (TRecentTree{QStringLiteral("Family"), QStringLiteral("Creator"), QStringLiteral("/t/f.vrd"), {}}));
    EXPECT_EQ(items[1].TreeName, QStringLiteral("A\tB"));
    EXPECT_EQ(TRecentTrees::Parse(TRecentTrees::Format(items)), items);

    // Plain rows are written exactly as older versions wrote them; only special texts are quoted.
    EXPECT_EQ(TRecentTrees::Format({{QStringLiteral("<b>x</b>"), {}, QStringLiteral("/f.vrd"), {}}}),
              QByteArray("\xEF\xBB\xBF<b>x</b>\t\t/f.vrd\t\r\n"));
    EXPECT_EQ(TRecentTrees::Format({{QStringLiteral(";x"), {}, QStringLiteral("/f.vrd"), {}}}),
              QByteArray("\xEF\xBB\xBF\";x\"\t\t/f.vrd\t\r\n"));

    SetProgramFolder(test::NewTempDir());
    WriteBytes(RecentTreesFileName(), "\xEF\xBB\xBF; nothing but a remark\r\n\t\t\t\r\n");
    EXPECT_FALSE(RecentTreesExist());
}
