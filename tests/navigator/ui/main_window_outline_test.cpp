#include "common/testing.h"
#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "shell/startup.h"
#include "shell/ui/main_window.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace verdan::test {
namespace {

TEST(MainWindowOutline, ANewTreeShowsItsPersonsAndTakesANewSon) {
    SetLanguage(QStringLiteral(":/langs/english.local"));
    SetProgramFolder(NewTempDir());
    CreateAppFolders();
    Options() = TOptions();
    TTreeProperty props;
    props.BasePath = ProgramFolder() + QStringLiteral("data");
    props.FolderName = QStringLiteral("Salem");
    props.FileName = QStringLiteral("Salem.vrd");
    props.TreeName = QStringLiteral("Salem");
    const QString path = CreateTreeFolderAndFile(props);
    ASSERT_TRUE(OpenTreeFile(path));
    ASSERT_TRUE(InitialiseNewTree(props));
    CloseTreeFile();

    TfrmFamilyMain window;
    auto* frame = qobject_cast<TframTree*>(window.TreeFrame());
    ASSERT_NE(frame, nullptr);
    window.show();
    ASSERT_TRUE(window.LoadTree(path));
    TTreeModel* model = frame->Model();
    const QModelIndex root = model->RootIndex();
    EXPECT_EQ(root.data().toString(), "Salem");
    // The family group with its one person, and the outside-the-tree group.
    ASSERT_EQ(model->rowCount(root), 2);
    const QModelIndex group = model->index(0, 0, root);
    EXPECT_EQ(group.data(TTreeModel::ImageRole).toInt(), kImageGroup);
    frame->View()->expand(group);
    ASSERT_EQ(model->rowCount(group), 1);
    const QModelIndex person = model->index(0, 0, group);
    frame->View()->setCurrentIndex(person);

    QTest::keyClick(frame->View(), Qt::Key_Insert);
    QLineEdit* editor = nullptr;
    for (QLineEdit* open : frame->View()->viewport()->findChildren<QLineEdit*>())
        editor = open->isVisible() ? open : editor;
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Salim");
    QTest::keyClick(editor, Qt::Key_Return);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    EXPECT_EQ(model->index(0, 0, person).data().toString(), "Salim");
    EXPECT_EQ(CountPersons(), 4);

    window.CloseCurrentTree();
    EXPECT_TRUE(model->IsEmpty());
    ASSERT_TRUE(window.LoadTree(path));
    EXPECT_EQ(model->rowCount(model->RootIndex()), 2);
    window.CloseCurrentTree();
}

} // namespace
} // namespace verdan::test
