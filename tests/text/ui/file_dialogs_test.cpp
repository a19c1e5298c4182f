#include "common/testing.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/file_dialogs.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// Runs `call`, which shows a modal file dialog, and lets `act` answer it; a dialog left open is
// rejected after a while so that a failing test cannot hang.
QString Answer(const std::function<QString()>& call, const std::function<void(QFileDialog*)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (dialog)
            act(dialog);
    });
    QTimer guard;
    guard.setInterval(3000);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    guard.start();
    const QString chosen = call();
    EXPECT_TRUE(seen) << "no file dialog was shown";
    return chosen;
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override { QApplication::setLayoutDirection(Qt::RightToLeft); }
    void TearDown() override { QApplication::setLayoutDirection(Qt::LeftToRight); }
};

// In a mirrored interface the folder box reads from the path's root; the rest of the dialog stays
// mirrored. What the user chooses is what the call returns, and cancelling returns nothing.
TEST_F(FileDialogs, KeepPathsInOrderAndAnswerTheChoice) {
    const QString folder = test::NewTempDir();
    const QString tree = folder + "/family.vrd";
    QFile file(tree);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const QString opened = Answer([&] { return OpenFileDialog("Trees (*.vrd)", folder); },
                                  [&](QFileDialog* dialog) {
                                      auto* folders = dialog->findChild<QComboBox*>("lookInCombo");
                                      ASSERT_NE(folders, nullptr);
                                      EXPECT_EQ(folders->layoutDirection(), Qt::LeftToRight);
                                      EXPECT_EQ(dialog->layoutDirection(), Qt::RightToLeft);
                                      dialog->selectFile(tree);
                                      static_cast<QDialog*>(dialog)->accept();
                                  });
    EXPECT_EQ(opened, tree);
    EXPECT_TRUE(Answer([&] { return OpenFileDialog("Trees (*.vrd)", folder); },
                       [](QFileDialog* dialog) { dialog->reject(); })
                    .isEmpty());

    QDir::setCurrent(folder);
    const QString saved = Answer(
        [] { return SaveFileDialog("copy.vrd", "Trees (*.vrd)"); },
        [](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text(), "copy.vrd") << "the proposed name is filled in";
            EXPECT_EQ(dialog->findChild<QComboBox*>("lookInCombo")->layoutDirection(), Qt::LeftToRight);
            static_cast<QDialog*>(dialog)->accept();
        });
    EXPECT_EQ(saved, folder + "/copy.vrd");

    const QString chosenFolder = Answer(
        [&] { return FolderDialog(nullptr, "Location", folder); },
        [](QFileDialog* dialog) {
            EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
            EXPECT_EQ(dialog->findChild<QComboBox*>("lookInCombo")->layoutDirection(), Qt::LeftToRight);
            static_cast<QDialog*>(dialog)->accept();
        });
    EXPECT_EQ(chosenFolder, folder);
}

// The file list speaks the interface's language: a folder's kind, a file's size and time in its words and
// digits; the columns are as wide as what they hold.
TEST_F(FileDialogs, ListsFilesInTheInterfacesLanguage) {
    ASSERT_TRUE(SetLanguage(QStringLiteral(":/langs/arabic.local")));
    const QString folder = test::NewTempDir();
    ASSERT_TRUE(QDir(folder).mkdir("photos"));
    QFile file(folder + "/family.vrd");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(3000, 'x'));
    file.close();
    Answer([&] { return OpenFileDialog("Trees (*.vrd)", folder); },
           [&](QFileDialog* dialog) {
               auto* files = qobject_cast<QFileSystemModel*>(dialog->proxyModel()->sourceModel());
               ASSERT_NE(files, nullptr);
               const auto shown = [&](const QString& path, int column) {
                   EXPECT_TRUE(QTest::qWaitFor([&] { return files->index(path).isValid(); }));
                   return StripBidiControls(
                       dialog->proxyModel()->mapFromSource(files->index(path, column)).data().toString());
               };
               EXPECT_EQ(shown(folder + "/photos", 2),
                         TranslateContext(QStringLiteral("Folder"), QStringLiteral("create_new_tree")));
               EXPECT_NE(shown(folder + "/photos", 2), QStringLiteral("Folder"));
               EXPECT_EQ(shown(folder + "/family.vrd", 1),
                         u"٣ "_qs + TranslateContext(QStringLiteral("KB"), QStringLiteral("properties")));
               const QString time = shown(folder + "/family.vrd", 3);
               EXPECT_FALSE(time.contains(QRegularExpression("[0-9A-Za-z]"))) << time.toStdString();
               auto* details = dialog->findChild<QTreeView*>("treeView");
               ASSERT_NE(details, nullptr);
               EXPECT_EQ(details->header()->sectionResizeMode(3), QHeaderView::ResizeToContents);
               dialog->reject();
           });
    SetLanguage(QStringLiteral(":/langs/english.local"));
}

} // namespace
} // namespace verdan
