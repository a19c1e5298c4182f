#include "common/testing.h"
#include "common/written_names.h"
#include "navigator/tree_model.h"
#include "navigator/ui/edit_note_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/breastfeeding_window.h"
#include "relations/ui/childless_window.h"
#include "relations/ui/find_window.h"
#include "relations/ui/marriages_window.h"
#include "reports/ui/name_search_box.h"
#include "reports/ui/zel_grid.h"
#include "shell/startup.h"
#include "shell/ui/bookmarks_window.h"
#include "shell/ui/help_add_card.h"
#include "shell/ui/last_updated_window.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/person_texts_window.h"
#include "shell/ui/tree_properties_dialog.h"
#include "shell_ui_testing.h"
#include "storage/bookmark_store.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/bidi_text.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

// The windows of the whole tree on a small tree, in the English (left-to-right) and the Arabic
// (right-to-left) interface.
class TreeWindowsTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        SetLanguage(Arabic() ? QStringLiteral(":/langs/arabic.local")
                             : QStringLiteral(":/langs/english.local"));
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
        path_ = test::MakeTestTree(QStringLiteral("Nasab"));
        window_ = std::make_unique<TfrmFamilyMain>();
        ASSERT_TRUE(window_->LoadTree(path_));
        // The rows of a new tree count as added long ago.
        Dm().Execute(QStringLiteral("UPDATE ftPerson SET date_created = '2020-01-01 00:00:00', "
                                    "date_modified = '2020-01-01 00:00:00'"));
        Put("{A}", "Ali", "-1", "0", "m", "2024-01-01 10:00:00", "2024-01-01 10:00:00");
        Put("{H}", "Hind", "-1", "0", "f", "2024-01-01 10:00:00", "2024-05-02 09:00:00");
        Put("{S}", "Sami", "{A}", "{H}", "m", "2024-05-01 08:00:00", "2024-05-01 08:00:00");
        Put("{N}", "Nabil", "{A}", "{H}", "m", "2024-05-03 12:00:00", "2024-05-03 12:00:00");
        Put("{X}", "Undated", "{A}", "0", "m", "", "2024-05-04 12:00:00");
        window_->TreeFrame()->ReloadTree(true);
    }
    void TearDown() override {
        window_.reset();
        CloseTreeFile();
        test::UseEnglish();
    }
    bool Arabic() const { return GetParam(); }
    static void Put(const QString& id, const QString& name, const QString& father, const QString& mother,
                    const QString& gender, const QString& created, const QString& modified) {
        ASSERT_EQ(Dm().Execute(QStringLiteral("INSERT INTO ftPerson (person_id, person_name, father_id, "
                                              "mother_id, gender, order_by_father, order_by_mother, "
                                              "display_order, is_section, date_created, date_modified) "
                                              "VALUES (?, ?, ?, ?, ?, 1, 1, 1, 0, nullif(?, ''), ?)"),
                               id, name, father, mother, gender, created, modified),
                  1);
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // The properties dialog of File > Properties, worked on by `act`; true when they were written.
    bool EditProperties(const std::function<void(TfrmProperty*)>& act) {
        bool written = false;
        EXPECT_TRUE(test::WithModal([&] { written = window_->ShowTreeProperties(); },
                                    [&](QWidget* modal) {
                                        auto* dialog = qobject_cast<TfrmProperty*>(modal);
                                        ASSERT_NE(dialog, nullptr);
                                        EXPECT_EQ(dialog->layoutDirection(),
                                                  Arabic() ? Qt::RightToLeft : Qt::LeftToRight);
                                        act(dialog);
                                    }));
        return written;
    }
    static QString RootCaption(TframTree* outline) {
        return outline->Model()->data(outline->Model()->RootIndex(), Qt::DisplayRole).toString();
    }

    QString path_;
    std::unique_ptr<TfrmFamilyMain> window_;
    test::RecordedMessages messages_{IDYES};
};

TEST_P(TreeWindowsTest, PropertiesKeepABoldDescriptionAcrossARestart) {
    const bool written = EditProperties([](TfrmProperty* dialog) {
        // Nothing changed yet: nothing to confirm.
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        const auto count = [](const char* where) {
            return QLocale().toString(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE ") +
                                                     QLatin1String(where)));
        };
        EXPECT_EQ(dialog->StatisticsGrid()->Cells(2, 1).trimmed(), count("1"));
        EXPECT_EQ(dialog->StatisticsGrid()->Cells(2, 5).trimmed(), count("gender = 'f' AND is_section = 0"));
        QTextEdit* editor = dialog->DescriptionEditor();
        editor->setPlainText(QStringLiteral("Banu Ali of the coast"));
        QTextCursor cursor(editor->document());
        cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        dialog->BoldButton()->click();
        dialog->TreeNameEdit()->selectAll();
        QTest::keyClicks(dialog->TreeNameEdit(), QStringLiteral("Banu Ali"));
        ASSERT_TRUE(dialog->OkButton()->isEnabled());
        dialog->OkButton()->click();
    });
    ASSERT_TRUE(written);
    EXPECT_EQ(CurrentTreeName(), "Banu Ali");
    EXPECT_EQ(StripBidiControls(RootCaption(window_->TreeFrame())), "Banu Ali");

    // A restart of the program on the same file.
    window_.reset();
    CloseTreeFile();
    window_ = std::make_unique<TfrmFamilyMain>();
    ASSERT_TRUE(window_->LoadTree(path_));
    EditProperties([](TfrmProperty* dialog) {
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        EXPECT_EQ(dialog->TreeNameEdit()->text(), "Banu Ali");
        const QTextDocument* document = dialog->DescriptionEditor()->document();
        EXPECT_EQ(document->toPlainText(), "Banu Ali of the coast");
        QTextCursor cursor(const_cast<QTextDocument*>(document));
        cursor.setPosition(2);
        EXPECT_GE(cursor.charFormat().fontWeight(), QFont::Bold);
        cursor.setPosition(12);
        EXPECT_LT(cursor.charFormat().fontWeight(), QFont::Bold);
        dialog->reject();
    });
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

TEST_P(TreeWindowsTest, AFailedWriteOfThePropertiesKeepsTheOldOnes) {
    ASSERT_TRUE(Dm().ExecSql(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.ftTreeInfo "
                                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const bool written = EditProperties([](TfrmProperty* dialog) {
        dialog->TreeNameEdit()->selectAll();
        QTest::keyClicks(dialog->TreeNameEdit(), QStringLiteral("Lost"));
        dialog->OkButton()->click();
    });
    EXPECT_FALSE(written);
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].startsWith(
        Translate(QStringLiteral("The tree properties could not be written."))));
    EXPECT_EQ(CurrentTreeName(), "Nasab");
    EXPECT_EQ(StripBidiControls(RootCaption(window_->TreeFrame())), "Nasab");
}

TEST_P(TreeWindowsTest, AnOldRichTextDescriptionShowsItsFormatting) {
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 plain \\b strong\\b0  "
                           "\\i slanted\\i0\\par}";
    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftTreeInfo SET description = ? WHERE oid = 1"), rtf), 1);
    EditProperties([](TfrmProperty* dialog) {
        const QTextDocument* document = dialog->DescriptionEditor()->document();
        EXPECT_EQ(document->toPlainText().trimmed(), "plain strong slanted");
        QTextCursor cursor(const_cast<QTextDocument*>(document));
        cursor.setPosition(8);
        EXPECT_GE(cursor.charFormat().fontWeight(), QFont::Bold);
        cursor.setPosition(16);
        EXPECT_TRUE(cursor.charFormat().fontItalic());
        EXPECT_FALSE(dialog->OkButton()->isEnabled());
        dialog->reject();
    });
}

TEST_P(TreeWindowsTest, FindInTheNotesExaminesEveryRowFromTheTopAgain) {
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET notes = 'well at the oasis' WHERE person_id = '{A}'"));
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET notes = 'trader' WHERE person_id = '{H}'"));
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET notes = 'oasis keeper' WHERE person_id = '{S}'"));
    TfrmNotes* notes = window_->NotesWindow();
    window_->Menu()->mnuNotes->trigger();
    Settle();
    ASSERT_TRUE(notes->isVisible());
    EXPECT_EQ(notes->layoutDirection(), Arabic() ? Qt::RightToLeft : Qt::LeftToRight);
    TZelGrid* grid = notes->Grid();
    ASSERT_EQ(grid->RowCount(), 4);
    const auto rowOf = [grid](const QString& id) {
        for (int row = 1; row < grid->RowCount(); ++row)
            if (grid->Cells(1, row) == id)
                return row;
        return -1;
    };
    notes->FindBox()->setText(QStringLiteral("oasis"));
    grid->SetCurrentCell(3, grid->RowCount() - 1);
    // From the last row the search starts over at the top, and goes on to the other match.
    ASSERT_TRUE(notes->FindNext());
    const int first = grid->Row();
    EXPECT_TRUE(first == rowOf("{A}") || first == rowOf("{S}"));
    QTest::keyClick(notes->FindBox(), Qt::Key_Return);
    EXPECT_NE(grid->Row(), first);
    EXPECT_TRUE(grid->Row() == rowOf("{A}") || grid->Row() == rowOf("{S}"));
    notes->FindBox()->setText(QStringLiteral("nowhere"));
    EXPECT_FALSE(notes->FindNext());
    EXPECT_EQ(grid->Row(), 1);

    // A double click shows the person in the main outline.
    QSignalSpy wanted(notes, &TfrmPersonTexts::MainTreeWanted);
    emit grid->doubleClicked(grid->Model().index(rowOf("{S}") - 1, 1));
    ASSERT_EQ(wanted.size(), 1);
    EXPECT_EQ(window_->TreeFrame()->CurrentPersonId(), "{S}");
}

// The notes' find takes a name however it was written or typed.
TEST_P(TreeWindowsTest, FindInTheNotesTakesNamesHoweverTheyAreWritten) {
    int n = 0;
    for (const test::TWrittenName& name : test::WrittenNames()) {
        const QString id = QStringLiteral("{W%1}").arg(n++);
        Put(id, QStringLiteral("W"), "-1", "0", "m", "", "");
        Dm().Execute(QStringLiteral("UPDATE ftPerson SET notes = ? WHERE person_id = ?"),
                     u"travelled with "_qs + name.Stored, id);
    }
    TfrmNotes* notes = window_->NotesWindow();
    window_->Menu()->mnuNotes->trigger();
    Settle();
    TZelGrid* grid = notes->Grid();
    for (const test::TWrittenName& name : test::WrittenNames()) {
        notes->FindBox()->setText(name.Typed);
        grid->SetCurrentCell(3, 1);
        ASSERT_TRUE(notes->FindNext()) << name.What;
        EXPECT_EQ(grid->Cells(3, grid->Row()), u"travelled with "_qs + name.Stored) << name.What;
    }
}

TEST_P(TreeWindowsTest, BookmarksAreDeletedOnlyOnYesAndEditedInTheirOwnRow) {
    TfrmBookmark* bookmarks = window_->BookmarksWindow();
    window_->Menu()->mnuBookmarks->trigger();
    Settle();
    // None: one empty row, nothing to do on it.
    EXPECT_EQ(bookmarks->Count(), 0);
    EXPECT_EQ(bookmarks->Grid()->RowCount(), 2);
    for (QAction* action : {bookmarks->EditAction(), bookmarks->DeleteAction(), bookmarks->GotoAction(),
                            bookmarks->TreeWindowAction()})
        EXPECT_FALSE(action->isEnabled());
    // ... and a note says how a person gets a bookmark, until one has.
    const QLabel* note = bookmarks->findChild<QLabel*>("emptyNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(
        note->text().contains(Arabic() ? QStringLiteral("علامة مرجعية..") : QStringLiteral("Bookmark..")))
        << note->text().toStdString();

    ASSERT_TRUE(SetPersonBookmark("{A}", "first"));
    ASSERT_TRUE(SetPersonBookmark("{S}", "second"));
    bookmarks->Refresh();
    Settle();
    EXPECT_FALSE(note->isVisible());
    ASSERT_EQ(bookmarks->Count(), 2);
    TZelGrid* grid = bookmarks->Grid();
    EXPECT_FALSE(bookmarks->DeleteAction()->isEnabled()); // nothing selected after a refresh
    const int rowS = grid->Cells(2, 1) == "{S}" ? 1 : 2;
    grid->SetCurrentCell(4, rowS);
    EXPECT_EQ(bookmarks->CurrentPerson(), "{S}");
    EXPECT_TRUE(bookmarks->DeleteAction()->isEnabled());

    messages_.SetAnswer(IDNO);
    bookmarks->DeleteAction()->trigger();
    EXPECT_EQ(messages_.focuses.last(), IDNO) << "Enter at once must keep the bookmark";
    EXPECT_EQ(GetPersonBookmarkNote("{S}"), "second");
    EXPECT_EQ(bookmarks->Count(), 2);

    // An in-place edit of the other row's note goes to that row's bookmark.
    const int rowA = 3 - rowS;
    grid->SetCells(4, rowA, QStringLiteral("first, changed"));
    emit grid->AfterEdit(4, rowA);
    EXPECT_EQ(GetPersonBookmarkNote("{A}"), "first, changed");
    EXPECT_EQ(GetPersonBookmarkNote("{S}"), "second");

    // The note editor on the current row.
    grid->SetCurrentCell(4, rowS);
    EXPECT_TRUE(test::WithModal([&] { bookmarks->EditCurrent(); },
                                [](QWidget* modal) {
                                    auto* editor = qobject_cast<TfrmEditNote*>(modal);
                                    ASSERT_NE(editor, nullptr);
                                    EXPECT_EQ(editor->NoteBox()->toPlainText(), "second");
                                    editor->NoteBox()->setPlainText(QStringLiteral("second, edited"));
                                    editor->OkButton()->click();
                                }));
    EXPECT_EQ(GetPersonBookmarkNote("{S}"), "second, edited");
    EXPECT_EQ(grid->Cells(4, rowS), "second, edited");

    messages_.SetAnswer(IDYES);
    bookmarks->DeleteAction()->trigger();
    EXPECT_TRUE(GetPersonBookmarkNote("{S}").isEmpty());
    EXPECT_EQ(bookmarks->Count(), 1);
    EXPECT_TRUE(bookmarks->CurrentOid().isEmpty());
    EXPECT_FALSE(bookmarks->DeleteAction()->isEnabled());
    grid->SetCurrentCell(4, 1);
    bookmarks->DeleteAction()->trigger();
    EXPECT_EQ(bookmarks->Count(), 0);
    EXPECT_EQ(grid->RowCount(), 2); // the empty row again
}

TEST_P(TreeWindowsTest, EntryTransactionsSplitAdditionsFromChanges) {
    TfrmLastUpdated* transactions = window_->LastUpdatedWindow();
    window_->Menu()->mnuEntryTransactions->trigger();
    Settle();
    EXPECT_EQ(transactions->DatePicker()->date(), QDate::currentDate().addDays(-7));
    transactions->DatePicker()->setDate(QDate(2024, 5, 1));
    transactions->Fill();
    const auto ids = [](TZelGrid* grid) {
        QStringList list;
        for (int row = 1; row < grid->RowCount(); ++row)
            list << grid->Cells(1, row);
        return list;
    };
    // Added since the day, the newest first; changed since then but added before, or never stamped.
    EXPECT_EQ(ids(transactions->AddedGrid()), (QStringList{"{N}", "{S}"}));
    EXPECT_EQ(ids(transactions->EditedGrid()), (QStringList{"{X}", "{H}"}));
    EXPECT_EQ(transactions->AddedGrid()->Cells(3, 1), "Hind");
    EXPECT_EQ(transactions->AddedGrid()->Cells(4, 1), "2024-05-03 12:00");
    // The stamp is kept in its sortable form and shown in the interface's words and digits; the date box
    // is typed in with Latin digits, its calendar speaks the interface's language.
    QString shown = transactions->AddedGrid()->Cells(4, 1);
    int alignment = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    transactions->AddedGrid()->CellView(4, 1, shown, alignment, direction);
    EXPECT_EQ(shown, Arabic() ? u"٣ مايو ٢٠٢٤ ١٢:٠٠"_qs : u"3 May 2024 12:00"_qs);
    EXPECT_EQ(transactions->DatePicker()->text(), "2024-05-01");
    EXPECT_EQ(transactions->DatePicker()->calendarWidget()->locale().language(),
              Arabic() ? QLocale::Arabic : QLocale::English);

    QSignalSpy opened(transactions, &TfrmLastUpdated::TreeWindowWanted);
    transactions->DatePicker()->setDate(QDate(2030, 1, 1));
    transactions->Fill();
    ASSERT_EQ(transactions->AddedGrid()->RowCount(), 2);
    emit transactions->AddedGrid()->doubleClicked(transactions->AddedGrid()->Model().index(0, 1));
    EXPECT_TRUE(opened.isEmpty()); // the empty row holds nobody
}

TEST_P(TreeWindowsTest, TheDataEntryHelpTurnsItsPagesAndCloses) {
    window_->show();
    window_->Menu()->mnuDataEntryBasics->trigger();
    Settle();
    Tfrm_Help_Add* help = window_->DataEntryHelp();
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentPage(), 0);
    EXPECT_EQ(help->layoutDirection(), Arabic() ? Qt::RightToLeft : Qt::LeftToRight);
    QTest::mouseClick(help->MoveLink(), Qt::LeftButton);
    EXPECT_EQ(help->CurrentPage(), 1);
    QTest::mouseClick(help->EditLink(), Qt::LeftButton);
    EXPECT_EQ(help->CurrentPage(), 0);
    QTest::mouseClick(help->CloseLink(), Qt::LeftButton);
    Settle();
    EXPECT_FALSE(help->isVisible());
}

TEST_P(TreeWindowsTest, TheTreeMenusOpenTheirWindowsAndCloseThemWithTheTree) {
    TMainMenu& menu = *window_->Menu();
    for (QAction* entry : {menu.mnuProperties, menu.mnuGeneralSearch, menu.mnuMarriages, menu.mnuChildless,
                           menu.mnuBreastfeeding, menu.mnuNotes, menu.mnuSummaries, menu.mnuBookmarks,
                           menu.mnuParentalContradiction, menu.mnuEntryTransactions, menu.mnuDataEntryBasics})
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();

    // No contradiction: a message instead of an empty list.
    menu.mnuParentalContradiction->trigger();
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_EQ(messages_.texts[0], Translate(QStringLiteral("No contradiction found in data.")));

    QList<QWidget*> windows{window_->FindWindow(),      window_->MarriagesWindow(),
                            window_->ChildlessWindow(), window_->BreastfeedingWindow(),
                            window_->NotesWindow(),     window_->BookmarksWindow()};
    for (QAction* entry : {menu.mnuGeneralSearch, menu.mnuMarriages, menu.mnuChildless, menu.mnuBreastfeeding,
                           menu.mnuNotes, menu.mnuBookmarks})
        entry->trigger();
    Settle();
    for (QWidget* window : windows) {
        EXPECT_TRUE(window->isVisible()) << window->windowTitle().toStdString();
        EXPECT_EQ(window->layoutDirection(), Arabic() ? Qt::RightToLeft : Qt::LeftToRight);
        EXPECT_FALSE(window->windowTitle().isEmpty());
    }
    window_->CloseCurrentTree();
    Settle();
    for (QWidget* window : windows)
        EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
}

// The outline's keys belong to the outline: Delete typed in the search box deletes a letter, never the
// person selected in the outline, and the outline still deletes with it.
TEST_P(TreeWindowsTest, DeleteInATextBoxNeverDeletesAPerson) {
    test::RecordedMessages messages(IDYES);
    window_->show();
    ASSERT_TRUE(window_->TreeFrame()->LocatePerson(QStringLiteral("{X}")));
    QLineEdit* box = window_->SearchBox()->SearchEdit();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("Sami"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("ami"));
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE person_id = '{X}'")), 1);
    EXPECT_TRUE(messages.texts.isEmpty());
    QTest::keyClick(window_->TreeFrame()->View(), Qt::Key_Delete);
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE person_id = '{X}'")), 0);
}

INSTANTIATE_TEST_SUITE_P(Directions, TreeWindowsTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Arabic") : std::string("English");
                         });

} // namespace
