#include "common/testing.h"
#include "text/file_names.h"
#include "text/program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace verdan {
namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(FileTitle, RemovesFolderAndOnlyTheFinalExtension) {
    EXPECT_EQ(FileTitle(QStringLiteral("/home/u/trees/family.vrd")), QStringLiteral("family"));
    EXPECT_EQ(FileTitle(QStringLiteral("C:\\Trees\\family.vrd")), QStringLiteral("family"));
    EXPECT_EQ(FileTitle(QStringLiteral("a.vrd.vrd")), QStringLiteral("a.vrd"));
    EXPECT_EQ(FileTitle(QStringLiteral("jpg.photo.jpg")), QStringLiteral("jpg.photo"));
    EXPECT_EQ(FileTitle(QStringLiteral("/x.d/readme")), QStringLiteral("readme"));
}

TEST(CleanFileName, DropsForbiddenCharactersAndRenamesDevices) {
    EXPECT_EQ(CleanFileName(QStringLiteral("a:b?c.txt")), QStringLiteral("abc.txt"));
    EXPECT_EQ(CleanFileName(QStringLiteral("\"x*y/z<>|\\\".vrd")), QStringLiteral("xyz.vrd"));
    EXPECT_EQ(CleanFileName(QStringLiteral("con.txt")), QStringLiteral("conX.txt"));
    EXPECT_EQ(CleanFileName(QStringLiteral("CoN.txt")), QStringLiteral("CoNX.txt"));
    EXPECT_EQ(CleanFileName(QStringLiteral("LPT9")), QStringLiteral("LPT9X"));
    EXPECT_EQ(CleanFileName(QStringLiteral("com10.txt")), QStringLiteral("com10.txt"));
    EXPECT_EQ(CleanFileName(QStringLiteral("a\tb\nc")), QStringLiteral("abc"));
    EXPECT_EQ(CleanFileName(QStringLiteral("شجرة: آل سعد.vrd")), QStringLiteral("شجرة آل سعد.vrd"));

    EXPECT_EQ(CleanPathText(QStringLiteral("C:\\a|b/<c>?*\".txt")), QStringLiteral("C:\\ab/c.txt"));
}

TEST(PathNames, ValidityAndProgramDir) {
    EXPECT_TRUE(IsValidPathName(QStringLiteral("/home/user/شجرة/family.vrd")));
    EXPECT_TRUE(IsValidPathName(QStringLiteral("C:\\Trees\\a.vrd")));
    EXPECT_FALSE(IsValidPathName(QStringLiteral("/tmp/") + QString(256, u'a')));
    EXPECT_FALSE(IsValidPathName(QStringLiteral("/tmp/a") + QChar(0) + QStringLiteral("b")));
    // 128 Arabic letters take 256 bytes.
    EXPECT_FALSE(IsValidPathName(QStringLiteral("/tmp/") + QString(128, QChar(0x0628))));

    EXPECT_EQ(ProgramDir() + u'/', ProgramFolder());
}

TEST(ListFiles, MatchesIgnoringCaseAndDescendsIntoSubFolders) {
    const QString root = test::NewTempDir() + u'/';
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("sub/deeper")));
    Touch(root + QStringLiteral("a.jpg"));
    Touch(root + QStringLiteral("B.JPG"));
    Touch(root + QStringLiteral(".hidden.jpg"));
    Touch(root + QStringLiteral("c.txt"));
    Touch(root + QStringLiteral("sub/d.jpg"));
    Touch(root + QStringLiteral("sub/deeper/e.jpg"));
    QFile::link(root + QStringLiteral("sub"), root + QStringLiteral("sub/deeper/loop"));

    QStringList list{QStringLiteral("existing")};
    EXPECT_EQ(ListFiles(list, root, QStringLiteral("*.jpg"), false), 3);
    EXPECT_EQ(list, (QStringList{"existing", root + ".hidden.jpg", root + "a.jpg", root + "B.JPG"}));

    list.clear();
    EXPECT_EQ(ListFiles(list, root, QStringLiteral("*.jpg"), true), 5);
    EXPECT_TRUE(list.contains(root + QStringLiteral("sub/deeper/e.jpg")));

    list.clear();
    EXPECT_EQ(ListFiles(list, root, QStringLiteral("*"), false), 5);
    EXPECT_TRUE(list.contains(root + QStringLiteral("sub")));

    EXPECT_EQ(ListFiles(list, root + QStringLiteral("missing/"), QStringLiteral("*"), true), 0);
}

TEST(IsReadOnlyFile, FollowsTheWritePermission) {
    const QString path = test::NewTempDir() + QStringLiteral("/f.txt");
    EXPECT_FALSE(IsReadOnlyFile(path));
    Touch(path);
    EXPECT_FALSE(IsReadOnlyFile(path));
    QFile::setPermissions(path, QFile::ReadOwner);
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running with privileges that ignore file permissions";
    EXPECT_TRUE(IsReadOnlyFile(path));
}

} // namespace
} // namespace verdan
