#include "common/testing.h"
#include "shell/new_tree.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

} // namespace

TEST(NewTree, FolderAndFileFollowTheTreeNameUntilEdited) {
    TNewTreeNames names = TNewTreeNames::For(QStringLiteral("Tree Project"));
    EXPECT_EQ(names.FolderName, QStringLiteral("Tree Project"));
    EXPECT_EQ(names.FileName, QStringLiteral("Tree Project.vrd"));

    names.SetTreeName(QStringLiteral("آل سالم"));
    EXPECT_EQ(names.FolderName, QStringLiteral("آل سالم"));
    EXPECT_EQ(names.FileName, QStringLiteral("آل سالم.vrd"));

    // Letter case does not break the link; a blank name empties a following file name.
    names.FolderName = QStringLiteral("SALEM");
    names.TreeName = QStringLiteral("Salem");
    names.FileName = QStringLiteral("salem.tree");
    names.SetTreeName(QString());
    EXPECT_EQ(names.FolderName, QString());
    EXPECT_EQ(names.FileName, QString());
    names.SetTreeName(QStringLiteral("Salem"));
    EXPECT_EQ(names.FileName, QStringLiteral("Salem.vrd"));

    // A folder name typed by hand stops following; the file then follows the folder.
    names.SetFolderName(QStringLiteral("Trees 2024"));
    EXPECT_EQ(names.FileName, QStringLiteral("Trees 2024.vrd"));
    names.SetTreeName(QStringLiteral("Salem family"));
    EXPECT_EQ(names.FolderName, QStringLiteral("Trees 2024"));
    EXPECT_EQ(names.FileName, QStringLiteral("Trees 2024.vrd"));

    // A file name typed by hand follows nothing.
    names.SetFileName(QStringLiteral("mine.vrd"));
    names.SetFolderName(QStringLiteral("Other"));
    names.SetTreeName(QStringLiteral("Other"));
    EXPECT_EQ(names.FileName, QStringLiteral("mine.vrd"));
    EXPECT_EQ(names.FolderName, QStringLiteral("Other"));
}

TEST(NewTree, PathTakesAFreeCleanName) {
    const QString home = test::NewTempDir();
    TNewTreePath path = ComposeNewTreePath(QStringLiteral("  ") + home + QStringLiteral("/ "),
                                           QStringLiteral("Fam/ily:"), QStringLiteral("a\\b"));
    EXPECT_TRUE(path.Valid);
    EXPECT_EQ(path.FolderName, QStringLiteral("Family"));
    EXPECT_EQ(path.FileName, QStringLiteral("ab.vrd"));
    EXPECT_EQ(path.Path, home + QStringLiteral("/Family/ab.vrd"));

    Touch(home + QStringLiteral("/Family/ab.vrd"));
    EXPECT_EQ(ComposeNewTreePath(home, QStringLiteral("Family"), QStringLiteral("ab")).FileName,
              QStringLiteral("ab-1.vrd"));
    Touch(home + QStringLiteral("/Family/ab-1.vrd"));
    EXPECT_EQ(ComposeNewTreePath(home, QStringLiteral("Family"), QStringLiteral("ab.vrd")).Path,
              home + QStringLiteral("/Family/ab-2.vrd"));

    // Blank names: the file goes straight into the location under the default name.
    path = ComposeNewTreePath(home, QStringLiteral(" ?* "), QStringLiteral("  "));
    EXPECT_TRUE(path.Valid);
    EXPECT_EQ(path.FolderName, QString());
    EXPECT_EQ(path.Path, home + QStringLiteral("/New_Tree.vrd"));
    EXPECT_EQ(ComposeNewTreePath(home, QString(), QStringLiteral("x.dat")).FileName, QStringLiteral("x.dat"));
    EXPECT_EQ(ComposeNewTreePath(home, QString(), QStringLiteral("x.")).FileName, QStringLiteral("x.vrd"));
    EXPECT_EQ(ComposeNewTreePath(home, QString(), QStringLiteral("con")).FileName,
              QStringLiteral("conX.vrd"));

    // Names that leave the location or that no file system takes are refused.
    EXPECT_FALSE(ComposeNewTreePath(home, QStringLiteral(".."), QStringLiteral("a")).Valid);
    EXPECT_FALSE(ComposeNewTreePath(home, QStringLiteral("."), QStringLiteral("a")).Valid);
    EXPECT_FALSE(ComposeNewTreePath(home, QString(300, u'x'), QStringLiteral("a")).Valid);
    EXPECT_FALSE(ComposeNewTreePath(home, QString(), QString(130, u'ش') + QStringLiteral("ab")).Valid);

    QDir::setCurrent(home);
    EXPECT_EQ(ComposeNewTreePath(QString(), QString(), QStringLiteral("t")).Path,
              QDir::currentPath() + QStringLiteral("/t.vrd"));
}

TEST(NewTree, AcceptRecomposesAndNeverReusesAFile) {
    const QString home = test::NewTempDir();
    TNewTreeNames names = TNewTreeNames::For(QStringLiteral(" Salem "));
    TTreeProperty props;
    EXPECT_FALSE(AcceptNewTree(home, names, QStringLiteral("  "), props));
    EXPECT_FALSE(AcceptNewTree(home + QStringLiteral("/missing"), names, QStringLiteral("Ali"), props));
    EXPECT_FALSE(AcceptNewTree(QString(), names, QStringLiteral("Ali"), props));
    TNewTreeNames blank = TNewTreeNames::For(QStringLiteral(" "));
    EXPECT_FALSE(AcceptNewTree(home, blank, QStringLiteral("Ali"), props));
    TNewTreeNames outside = names;
    outside.SetFolderName(QStringLiteral(".."));
    EXPECT_FALSE(AcceptNewTree(home, outside, QStringLiteral("Ali"), props));
    EXPECT_TRUE(props.BasePath.isEmpty());

    ASSERT_TRUE(AcceptNewTree(home, names, QStringLiteral(" Ali "), props));
    EXPECT_EQ(props.TreeName, QStringLiteral("Salem"));
    EXPECT_EQ(props.OwnerName, QStringLiteral("Ali"));
    EXPECT_EQ(props.BasePath, home);
    EXPECT_EQ(props.FolderName, QStringLiteral("Salem"));
    EXPECT_EQ(props.FileName, QStringLiteral("Salem.vrd"));

    // The file appears after the names were shown: OK takes the next free name.
    const QString first = CreateTreeFolderAndFile(props);
    ASSERT_EQ(first, home + QStringLiteral("/Salem/Salem.vrd"));
    EXPECT_TRUE(QDir(home + QStringLiteral("/Salem/photos")).exists());
    QStringList messages;
    const StoreMessageSink previous =
        SetStoreMessageSink([&messages](StoreMessage, const QString& text) { messages << text; });
    EXPECT_TRUE(CreateTreeFolderAndFile(props).isEmpty());
    SetStoreMessageSink(previous);
    EXPECT_EQ(messages.size(), 1);
    ASSERT_TRUE(AcceptNewTree(home, names, QStringLiteral("Ali"), props));
    EXPECT_EQ(props.FileName, QStringLiteral("Salem-1.vrd"));

    SetProgramFolder(test::NewTempDir());
    Options().LastCreatedLocation = home;
    EXPECT_EQ(DefaultNewTreeLocation(), home);
    Options().LastCreatedLocation = home + QStringLiteral("/gone");
    EXPECT_EQ(DefaultNewTreeLocation(), ProgramFolder() + QStringLiteral("data"));
}
