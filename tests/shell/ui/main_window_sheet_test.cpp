#include "common/testing.h"
#include "datasheet/ui/collapsible_panel.h"
#include "datasheet/ui/data_sheet.h"
#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "reports/ui/name_search_box.h"
#include "shell/startup.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/tree_window.h"
#include "shell_ui_testing.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

// A tree with a father at the top level and his son, and the main window on it.
class MainWindowSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
        path_ = test::MakeTestTree(QStringLiteral("Salem"));
        EXPECT_TRUE(OpenTreeFile(path_));
        EXPECT_TRUE(AddPerson(QStringLiteral("Salem"), QStringLiteral("-1"), QStringLiteral("0"), father_,
                              QStringLiteral("m")));
        EXPECT_TRUE(
            AddPerson(QStringLiteral("Hamad"), father_, QStringLiteral("0"), son_, QStringLiteral("m")));
        CloseTreeFile();
        window_ = std::make_unique<TfrmFamilyMain>();
        window_->resize(1000, 700);
        window_->show();
    }
    void TearDown() override {
        window_.reset();
        CloseTreeFile();
    }

    QLineEdit* NameBox() const {
        return window_->DataSheet()->findChild<QLineEdit*>(QStringLiteral("txtPerson_Name"));
    }
    QPlainTextEdit* NotesBox() const { return window_->DataSheet()->NotesBox(); }
    static void Type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    static void Type(QPlainTextEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // A column of a person in a tree that is not open.
    static QString Stored(const QString& tree, const QString& id, const char* column) {
        Tdm other;
        EXPECT_TRUE(other.Open(tree));
        return other.ScalarText(QStringLiteral("SELECT ") + QLatin1String(column) +
                                    QStringLiteral(" FROM ftPerson WHERE person_id = ?"),
                                id);
    }
    static QString Notes(const QString& id) {
        return Dm().ScalarText(QStringLiteral("SELECT notes FROM ftPerson WHERE person_id = ?"), id);
    }
    static qint64 Rows(const QString& tree) {
        Tdm other;
        EXPECT_TRUE(other.Open(tree));
        return other.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson"));
    }

    test::RecordedMessages messages_;
    QString path_;
    QString father_;
    QString son_;
    std::unique_ptr<TfrmFamilyMain> window_;
};

} // namespace

TEST_F(MainWindowSheetTest, PendingEditsSurviveClosingSwitchingAndReopening) {
    const QString other = test::MakeTestTree(QStringLiteral("Other"));
    ASSERT_TRUE(window_->LoadTree(path_));
    ASSERT_TRUE(window_->ShowPersonInMainTree(son_));
    EXPECT_EQ(window_->DataSheet()->CurrentPersonId(), son_);
    EXPECT_TRUE(window_->DataSheet()->isEnabled());
    Type(NameBox(), QStringLiteral("Hamid"));
    Type(NotesBox(), QStringLiteral("a note"));
    ASSERT_TRUE(window_->DataSheet()->HasPendingEdits());
    const qint64 rows = CountPersons();

    window_->CloseCurrentTree();
    EXPECT_FALSE(IsTreeOpen());
    EXPECT_TRUE(window_->DataSheet()->CurrentPersonId().isEmpty());
    EXPECT_EQ(Stored(path_, son_, "person_name"), QStringLiteral("Hamid"));
    EXPECT_EQ(Stored(path_, son_, "notes"), QStringLiteral("a note"));
    EXPECT_EQ(Rows(path_), rows);
    {
        Tdm tree;
        ASSERT_TRUE(tree.Open(path_));
        EXPECT_EQ(tree.ScalarText(QStringLiteral("SELECT last_id FROM ftTreeInfo")), son_);
    }

    // Reopened at the same person, with what was typed.
    ASSERT_TRUE(window_->LoadTree(path_));
    EXPECT_EQ(window_->DataSheet()->CurrentPersonId(), son_);
    EXPECT_EQ(window_->TreeFrame()->CurrentPersonId(), son_);
    EXPECT_EQ(NameBox()->text(), QStringLiteral("Hamid"));

    // Edits pending when another tree is opened go to their own tree, once.
    Type(NameBox(), QStringLiteral("Hamdan"));
    ASSERT_TRUE(window_->LoadTree(other));
    EXPECT_EQ(CurrentTreePath(), other);
    EXPECT_EQ(CountPersons(), 3);
    window_->CloseCurrentTree();
    EXPECT_EQ(Stored(path_, son_, "person_name"), QStringLiteral("Hamdan"));
    EXPECT_EQ(Rows(path_), rows);
    EXPECT_EQ(Rows(other), 3);
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

TEST_F(MainWindowSheetTest, SaveAsTakesPendingEditsIntoTheCopy) {
    ASSERT_TRUE(window_->LoadTree(path_));
    ASSERT_TRUE(window_->ShowPersonInMainTree(son_));
    Type(NameBox(), QStringLiteral("Hamid"));
    const QString copy = ProgramFolder() + QStringLiteral("data/Copy.vrd");
    window_->ChooseSaveFile = [&](const QString&, const QString&) {
        return copy;
    };
    ASSERT_TRUE(window_->SaveTreeAs());
    EXPECT_EQ(CurrentTreePath(), copy);
    EXPECT_EQ(window_->DataSheet()->CurrentPersonId(), son_);
    EXPECT_EQ(NameBox()->text(), QStringLiteral("Hamid"));
    EXPECT_EQ(GetPersonName(son_), QStringLiteral("Hamid"));
    EXPECT_EQ(Stored(path_, son_, "person_name"), QStringLiteral("Hamid"));
    EXPECT_EQ(Rows(path_), CountPersons());
}

TEST_F(MainWindowSheetTest, OutlineCommandsWorkOnWhatWasTyped) {
    ASSERT_TRUE(window_->LoadTree(path_));
    ASSERT_TRUE(window_->ShowPersonInMainTree(son_));
    TframTree& outline = *window_->TreeFrame();

    // Reaching for the outline writes the sheet's edits first.
    Type(NotesBox(), QStringLiteral("typed"));
    const QModelIndex node = outline.FindPersonNode(son_);
    ASSERT_TRUE(node.isValid());
    QTest::mouseClick(outline.View()->viewport(), Qt::LeftButton, {},
                      outline.View()->visualRect(node).center());
    EXPECT_FALSE(window_->DataSheet()->HasPendingEdits());
    EXPECT_EQ(Notes(son_), QStringLiteral("typed"));

    // A command that changes the shown person shows the change in the sheet, and what was typed since
    // is kept.
    window_->DataSheet()->Section(QStringLiteral("Dates"))->SetCollapsed(false);
    auto* deceased = window_->DataSheet()->findChild<QCheckBox*>(QStringLiteral("chkIsDead"));
    ASSERT_NE(deceased, nullptr);
    EXPECT_FALSE(deceased->isChecked());
    Type(NotesBox(), QStringLiteral("typed again"));
    outline.ToggleCurrentDead();
    QTest::qWait(20);
    EXPECT_EQ(window_->DataSheet()->CurrentPersonId(), son_);
    EXPECT_TRUE(deceased->isChecked());
    EXPECT_EQ(NotesBox()->toPlainText(), QStringLiteral("typed again"));
    EXPECT_EQ(Notes(son_), QStringLiteral("typed again"));

    // Deleting the shown person drops what is still pending for them: no row comes back.
    Type(NotesBox(), QStringLiteral("orphan"));
    ASSERT_TRUE(window_->DataSheet()->HasPendingEdits());
    const qint64 rows = CountPersons();
    outline.DeleteSelected(false);
    EXPECT_NE(window_->DataSheet()->CurrentPersonId(), son_);
    EXPECT_FALSE(PersonExists(son_));
    EXPECT_EQ(CountPersons(), rows - 1);
    window_->CloseCurrentTree();
    EXPECT_EQ(Rows(path_), rows - 1);
}

TEST_F(MainWindowSheetTest, SearchShowsThePersonAndIdentifiersOpenTreeWindows) {
    TMainMenu& menu = *window_->Menu();
    EXPECT_FALSE(menu.mnuTreeWindow->isEnabled());
    EXPECT_EQ(window_->OpenTreeWindow(QString()), nullptr);
    ASSERT_TRUE(window_->LoadTree(path_));
    TNameSearchBox& search = *window_->SearchBox();

    search.SearchEdit()->setText(QStringLiteral("Hamad"));
    search.FindButton()->click();
    ASSERT_EQ(search.ResultCount(), 1);
    QTest::keyClick(search.ResultList(), Qt::Key_Return);
    EXPECT_EQ(window_->TreeFrame()->CurrentPersonId(), son_);
    EXPECT_EQ(window_->DataSheet()->CurrentPersonId(), son_);

    // A whole identifier opens a tree window at that person; Ctrl+W one at no person.
    search.SearchEdit()->setText(father_);
    search.FindButton()->click();
    ASSERT_TRUE(menu.mnuTreeWindow->isEnabled());
    menu.mnuTreeWindow->trigger();
    const QList<TfrmTreeWindow*> windows = window_->findChildren<TfrmTreeWindow*>();
    ASSERT_EQ(windows.size(), 2);
    QPointer<TfrmTreeWindow> first = windows[0];
    QPointer<TfrmTreeWindow> second = windows[1];
    EXPECT_TRUE(first->isVisible());
    QApplication::processEvents();
    const bool atFather =
        first->TreeFrame()->CurrentPersonId() == father_ || second->TreeFrame()->CurrentPersonId() == father_;
    EXPECT_TRUE(atFather);

    // A name typed in a tree window shows in the main outline and data sheet, and what was typed in
    // the sheet meanwhile is kept.
    TfrmTreeWindow* at = first->TreeFrame()->CurrentPersonId() == father_ ? first.data() : second.data();
    ASSERT_TRUE(window_->ShowPersonInMainTree(father_));
    Type(NotesBox(), QStringLiteral("elder"));
    TTreeModel* model = at->TreeFrame()->Model();
    ASSERT_TRUE(
        model->setData(at->TreeFrame()->FindPersonNode(father_), QStringLiteral("Saleh"), Qt::EditRole));
    QTest::qWait(20);
    EXPECT_EQ(NameBox()->text(), QStringLiteral("Saleh"));
    EXPECT_EQ(NotesBox()->toPlainText(), QStringLiteral("elder"));
    EXPECT_EQ(window_->TreeFrame()->FindPersonNode(father_).data().toString(), QStringLiteral("Saleh"));

    // Closing the tree closes its windows and empties the results and the typed text.
    window_->CloseCurrentTree();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(search.ResultCount(), 0);
    EXPECT_TRUE(search.SearchEdit()->text().isEmpty());
    EXPECT_FALSE(window_->TreeHost()->isEnabled());
}

// Ctrl+D on an outline person estimates the dates and writes them to the person at once: three years since
// death give both death dates and the deceased mark, without the data sheet's help.
TEST_F(MainWindowSheetTest, CtrlDWritesTheEstimatedDatesAtOnce) {
    ASSERT_TRUE(window_->LoadTree(path_));
    ASSERT_TRUE(window_->ShowPersonInMainTree(son_));
    QTreeView* outline = window_->TreeFrame()->View();
    EXPECT_TRUE(test::WithModal([&] { QTest::keyClick(outline, Qt::Key_D, Qt::ControlModifier); },
                                [](QWidget* dialog) {
                                    auto* years =
                                        dialog->findChild<QLineEdit*>(QStringLiteral("txtYearsDeath"));
                                    ASSERT_NE(years, nullptr);
                                    years->setText(QStringLiteral("3"));
                                    QMetaObject::invokeMethod(dialog, "accept");
                                }));
    TPerson person;
    ASSERT_TRUE(ReadPerson(son_, person));
    EXPECT_TRUE(person.Is_Dead);
    EXPECT_EQ(person.Date_of_Death_G / 10000, QDate::currentDate().addYears(-3).year());
    EXPECT_NE(person.Date_of_Death_H, 0);
    EXPECT_EQ(person.Date_of_Birth_G, 0);
}
