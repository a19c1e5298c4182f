#include "common/testing.h"
#include "reports/grid_model.h"
#include "reports/ui/column_chooser.h"
#include "reports/ui/filter_dialog.h"
#include "reports/ui/grid_print.h"
#include "reports/ui/print_preview.h"
#include "reports/ui/reports_window.h"
#include "reports/ui/zel_grid.h"
#include "storage/person_fixture.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/user_options.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace verdan {
namespace {

const QString kGrand = QStringLiteral("{00000000-0000-0000-0000-000000000001}");
const QString kFather = QStringLiteral("{00000000-0000-0000-0000-000000000002}");

// The reports window over a tree of a grandfather, his son and twenty grandsons, in English.
class ReportsWindowTest : public test::PersonStoreTest {
protected:
    void SetUp() override {
        SetLanguage(QStringLiteral(":/langs/english.local"));
        test::PersonStoreTest::SetUp();
        Put(kGrand, "-1", "0", "Salim");
        Put(kFather, kGrand, "0", "Ahmad");
        for (int i = 1; i <= 20; ++i)
            Put(QStringLiteral("{00000000-0000-0000-0000-0000000001%1}").arg(i, 2, 10, QChar(u'0')), kFather,
                "0", QStringLiteral("Son%1").arg(i), i % 2 ? "m" : "f");
        Dm().Execute("UPDATE ftPerson SET date_of_birth_g = 20000101 + oid, is_dead = oid % 2");
        window = std::make_unique<TfrmReports>();
        window->ShowReportsWindow();
        window->ReportList()->setCurrentRow(0);
        window->RunSelectedReport();
    }
    void TearDown() override {
        window.reset();
        test::PersonStoreTest::TearDown();
    }
    TZelGrid& Grid() { return *window->Grid(); }
    int Col(const char* title) { return Grid().ColumnIndexOf(Translate(QString::fromLatin1(title))); }
    int DataRows() { return Grid().RowCount() - 1; }
    // The text a cell shows on the screen.
    QString Shown(int col, int row) {
        QString text = Grid().Cells(col, row);
        int alignment = Qt::AlignLeft;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        if (Grid().CellView)
            Grid().CellView(col, row, text, alignment, direction);
        return text;
    }
    int RowOf(const QString& name) {
        for (int row = 1; row < Grid().RowCount(); ++row)
            if (Grid().Cells(Col("Name"), row) == name)
                return row;
        return -1;
    }

    std::unique_ptr<TfrmReports> window;
};

TEST_F(ReportsWindowTest, ThePersonListShowsEveryPersonWithFatherAndGrandfather) {
    EXPECT_EQ(window->ReportList()->count(), 3);
    EXPECT_EQ(DataRows(), 23); // the outside group, grandfather, father, twenty sons
    const int son = RowOf("Son7");
    ASSERT_GT(son, 0);
    EXPECT_EQ(Grid().Cells(Col("Father"), son), "Ahmad");
    EXPECT_EQ(Grid().Cells(Col("Grandfather"), son), "Salim");
    EXPECT_EQ(Shown(Col("Gender"), son), "Male");
    EXPECT_EQ(Shown(Col("Gender"), RowOf("Son8")), "Female");
    const int born = Grid().ColumnIndexOf("Date of Birth G");
    EXPECT_EQ(Shown(born, son), Grid().Cells(born, son).right(2) + "-01-2000 " + Translate("G"));
    // The group outside the tree stays in the list, with no gender but marked as a group.
    EXPECT_EQ(Shown(Col("Gender"), RowOf(QStringLiteral(u"خارج الشجرة"))), Translate("Group"));
    EXPECT_EQ(Grid().ColWidth(Col("Person Id")), 0);
    EXPECT_EQ(Grid().Caption(), "Person list");
    EXPECT_FALSE(window->FilterButton()->isEnabled());
}

TEST_F(ReportsWindowTest, FiltersNarrowTheListAndTheButtonBringsItBackWithoutReading) {
    const int reads = window->TableReads();
    Grid().SetCurrentCell(Col("Name"), RowOf("Son1"));
    window->FilterCurrentColumn(TFilter{"s", foContains, "Son1", QString()});
    EXPECT_EQ(DataRows(), 11); // Son1, Son10..Son19
    EXPECT_TRUE(window->FilterButton()->isChecked());
    EXPECT_EQ(window->FilterButton()->text(), Translate("Filtered"));
    // A second filter narrows the first.
    Grid().SetCurrentCell(Col("Gender"), 1);
    window->FilterCurrentColumn(TFilter{"s", foEquals, "f", QString()});
    EXPECT_EQ(DataRows(), 5);

    window->FilterButton()->click();
    EXPECT_FALSE(window->FilterButton()->isChecked());
    EXPECT_EQ(DataRows(), 23);
    EXPECT_EQ(window->TableReads(), reads);
    // Pressing it again applies the saved filter, the latest one, on its column: the ten daughters.
    window->FilterButton()->click();
    EXPECT_EQ(DataRows(), 10);
    EXPECT_TRUE(window->FilterButton()->isChecked());
    // Starting the report from the list reads the tree again and forgets the filter.
    window->RunSelectedReport();
    EXPECT_EQ(window->TableReads(), reads + 1);
    EXPECT_EQ(DataRows(), 23);
    EXPECT_FALSE(window->FilterButton()->isEnabled());
}

TEST_F(ReportsWindowTest, ASavedFilterWhoseColumnIsGoneAfterALanguageChangeDoesNothing) {
    Grid().SetCurrentCell(Col("Name"), RowOf("Son1"));
    window->FilterCurrentColumn(TFilter{"s", foEquals, "Son1", QString()});
    window->FilterButton()->click();
    ASSERT_EQ(DataRows(), 23);
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    window->RunSelectedReport(); // titles now in Arabic; the saved title was cleared with it
    window->FilterButton()->setEnabled(true);
    window->FilterButton()->click();
    EXPECT_EQ(DataRows(), 23);
    EXPECT_FALSE(window->FilterButton()->isChecked());
    SetLanguage(QStringLiteral(":/langs/english.local"));
}

TEST_F(ReportsWindowTest, ThePopupOffersNumberFiltersForNumbersAndTextFiltersOtherwise) {
    Grid().SetCurrentCell(Grid().ColumnIndexOf("Date of Birth G"), RowOf("Son3"));
    QMenu numbers;
    window->ComposePopup(numbers);
    QStringList captions;
    for (QAction* action : numbers.actions())
        captions << StripBidiControls(action->text());
    EXPECT_TRUE(captions.contains(Translate("Number Filter")));
    EXPECT_TRUE(captions.join(u'|').contains(Translate("Greater Than or Equal To")));
    EXPECT_TRUE(captions.contains(Translate("Sort")));

    Grid().SetCurrentCell(Col("Name"), RowOf("Son3"));
    QMenu texts;
    window->ComposePopup(texts);
    captions.clear();
    for (QAction* action : texts.actions())
        captions << StripBidiControls(action->text());
    EXPECT_TRUE(captions.contains(Translate("Text Filter")));
    EXPECT_TRUE(captions.contains(Translate("Contains") + " \"Son3\""));
    // The quick filter keeps the persons at least as old as the cell's date.
    Grid().SetCurrentCell(Grid().ColumnIndexOf("Date of Birth G"), RowOf("Son3"));
    QMenu again;
    window->ComposePopup(again);
    for (QAction* action : again.actions())
        if (StripBidiControls(action->text()).startsWith(Translate("Lees Than or Equal To")))
            action->trigger();
    EXPECT_EQ(DataRows(), RowOf("Son3"));
}

TEST_F(ReportsWindowTest, TheCustomFilterAsksForItsValuesAndCancelChangesNothing) {
    Grid().SetCurrentCell(Grid().ColumnIndexOf("Date of Birth G"), 1);
    QTimer::singleShot(0, [this] {
        window->FilterDialog()->txt_Value_1->setText("20000104");
        window->FilterDialog()->txt_Value_2->setText("20000108");
        window->FilterDialog()->accept();
    });
    QMenu menu;
    window->ComposePopup(menu);
    QMenu* custom = menu.actions().first()->menu();
    ASSERT_NE(custom, nullptr);
    custom->actions().last()->trigger(); // Between
    EXPECT_EQ(DataRows(), 5);
    QTimer::singleShot(0, [this] { window->FilterDialog()->reject(); });
    custom->actions().first()->trigger();
    EXPECT_EQ(DataRows(), 5);
}

TEST_F(ReportsWindowTest, FindMovesToTheNextCellHoldingTheText) {
    Grid().SetCurrentCell(Col("Name"), 1);
    window->FindBox()->setText("son2");
    EXPECT_EQ(Grid().Cells(Grid().Col(), Grid().Row()), "Son2");
    window->FindBox()->setText("son20");
    EXPECT_EQ(Grid().Cells(Grid().Col(), Grid().Row()), "Son20");
    // The shown text counts: "Female" is found though the tree holds "f".
    window->FindBox()->setText("female");
    EXPECT_EQ(Grid().Col(), Col("Gender"));
}

TEST_F(ReportsWindowTest, ThePreviewPagesThroughEveryRowRightToLeftInArabic) {
    window->setLayoutDirection(Qt::RightToLeft);
    Grid().setLayoutDirection(Qt::RightToLeft);
    TZelGridPrintL& print = *window->GridPrint();
    print.Settings().Margins.Top = 400; // a short page: several pages for 23 rows
    print.SetBiDiMode(Qt::RightToLeft);
    TfrmGPPreview preview(print);
    preview.show();
    ASSERT_GT(preview.PageCount(), 2);
    EXPECT_EQ(preview.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(preview.CurrentPage(), 1);
    preview.btNextClick();
    EXPECT_EQ(preview.CurrentPage(), 2);
    QTest::keyClick(&preview, Qt::Key_End);
    EXPECT_EQ(preview.CurrentPage(), preview.PageCount());
    preview.btNextClick();
    EXPECT_EQ(preview.CurrentPage(), preview.PageCount());
    QTest::keyClick(&preview, Qt::Key_Home);
    EXPECT_EQ(preview.CurrentPage(), 1);
    const QSize fitted = preview.PageImage().size();
    preview.btZoomClick();
    EXPECT_FALSE(preview.FitMode());
    EXPECT_NE(preview.PageImage().size(), fitted);
    // The keys turn pages only while the page is fitted.
    QTest::keyClick(&preview, Qt::Key_End);
    EXPECT_EQ(preview.CurrentPage(), 1);

    const auto layout = print.MakeLayout();
    int rows = 0;
    for (int page = 1; page <= layout->PageCount(); ++page)
        if (layout->ColumnPageOf(page) == 0)
            rows += layout->PageRows(page).Last - layout->PageRows(page).First + 1;
    EXPECT_EQ(rows, 23);
    // The first printed column, the name, stands at the right edge of the page.
    ASSERT_FALSE(layout->Columns().isEmpty());
    EXPECT_EQ(layout->Columns().first().col, Col("Name"));
    EXPECT_GT(layout->Columns().first().left, layout->Columns().last().left);
    EXPECT_TRUE(layout->Source().rightToLeft);
    // The report's own texts are printed.
    EXPECT_EQ(layout->Source().cell(Col("Gender"), RowOf("Son8")).text, "Female");
}

TEST_F(ReportsWindowTest, TheListFillsInTheBackgroundAndCommandsWaitForAllOfIt) {
    window->FillSliceRows = 4;
    window->RunSelectedReport();
    // The first rows are there at once; the rest come while the window goes on answering.
    EXPECT_TRUE(window->Filling());
    EXPECT_EQ(DataRows(), 4);
    EXPECT_TRUE(window->FillBar()->isVisibleTo(window.get()));
    QApplication::processEvents();
    EXPECT_GT(DataRows(), 4);
    // A filter started meanwhile waits for the whole list: every son is filtered, not the first few.
    Grid().SetCurrentCell(Col("Name"), 1);
    window->FilterCurrentColumn(TFilter{"s", foContains, "Son1", QString()});
    EXPECT_FALSE(window->Filling());
    EXPECT_EQ(DataRows(), 11);
    EXPECT_FALSE(window->FillBar()->isVisibleTo(window.get()));

    // So does a sort, and Find.
    window->RunSelectedReport();
    ASSERT_TRUE(window->Filling());
    Grid().SortColumn(Col("Name"), false);
    EXPECT_FALSE(window->Filling());
    EXPECT_EQ(DataRows(), 23);
    EXPECT_EQ(Grid().Cells(Col("Name"), 1), "Ahmad");
    window->RunSelectedReport();
    ASSERT_TRUE(window->Filling());
    Grid().SetCurrentCell(Col("Name"), 1);
    window->FindBox()->setText("son20");
    while (window->Finding())
        QApplication::processEvents();
    EXPECT_EQ(Grid().Cells(Grid().Col(), Grid().Row()), "Son20");
}

TEST_F(ReportsWindowTest, LiftingAFilterKeepsTheSortAndRowsTakeTheHeightOfTheirOwnText) {
    Dm().Execute(
        "UPDATE ftPerson SET notes = ? WHERE person_name = 'Son3'",
        QStringLiteral("A long note that has to wrap over several lines in its column ").repeated(4));
    window->RunSelectedReport();
    window->resize(900, 700);
    QApplication::processEvents();
    const int tall = RowOf("Son3");
    ASSERT_GT(Grid().RowHeight(tall), Grid().DefaultRowHeight());

    Grid().SortColumn(Col("Name"), false);
    QApplication::processEvents();
    EXPECT_EQ(Grid().Cells(Col("Name"), 1), "Ahmad");
    // Every row's height follows its own text: the row that held the note is short again.
    for (int row = 1; row < Grid().RowCount(); ++row)
        EXPECT_EQ(Grid().RowHeight(row) > Grid().DefaultRowHeight(), Grid().Cells(Col("Name"), row) == "Son3")
            << "row " << row;

    Grid().SetCurrentCell(Col("Name"), RowOf("Son1"));
    window->FilterCurrentColumn(TFilter{"s", foContains, "Son1", QString()});
    window->FilterButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(DataRows(), 23);
    // The rows come back in the order of the last sort, which the column's title still shows.
    EXPECT_EQ(Grid().Cells(Col("Name"), 1), "Ahmad");
    EXPECT_EQ(Grid().Cells(Col("Name"), 2), "Salim");
    EXPECT_EQ(Grid().SortedColumn(), Col("Name"));
    for (int row = 1; row < Grid().RowCount(); ++row)
        EXPECT_EQ(Grid().RowHeight(row) > Grid().DefaultRowHeight(), Grid().Cells(Col("Name"), row) == "Son3")
            << "row " << row;
    // A new reading of the list forgets the sort.
    window->RunSelectedReport();
    EXPECT_EQ(Grid().SortedColumn(), -1);
}

TEST_F(ReportsWindowTest, TheChosenColumnsAreShownPrintedAndRememberedForTheReport) {
    const QList<int> chosen{Col("Gender"), Col("Name"), Col("Father")};
    QTimer::singleShot(0, [this, &chosen] {
        TfrmColumns* dialog = window->ColumnsDialog();
        QListWidget* list = dialog->List();
        // Untick everything but the three, then put Gender first.
        for (int row = 0; row < list->count(); ++row) {
            const bool keep = chosen.contains(list->item(row)->data(Qt::UserRole).toInt());
            list->item(row)->setCheckState(keep ? Qt::Checked : Qt::Unchecked);
        }
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->data(Qt::UserRole).toInt() == Col("Gender")) {
                list->setCurrentRow(row);
                while (list->currentRow() > 0)
                    dialog->btUpClick();
            }
        dialog->accept();
    });
    window->mnuColumnsClick();
    EXPECT_EQ(window->ShownColumns(), (QList<int>{Col("Gender"), Col("Name"), Col("Father")}));
    EXPECT_EQ(Grid().ColWidth(Col("Notes")), 0);
    // The print takes the same columns in the same order.
    const TGridPrintSource source = window->GridPrint()->SourceProvider(Grid());
    EXPECT_EQ(source.order, window->ShownColumns());
    EXPECT_EQ(source.repeatColumn, Col("Name"));

    // A column dragged down to a sliver is hidden on the screen, on paper and in files alike.
    Grid().horizontalHeader()->resizeSection(Col("Father") - 1, 3);
    EXPECT_EQ(window->ShownColumns(), (QList<int>{Col("Gender"), Col("Name")}));
    const TReportColumnChoice remembered = Options().ReportColumns.value(0);
    EXPECT_EQ(remembered.Report, "persons");
    EXPECT_EQ(remembered.Fields, (QStringList{"gender", "Name1"}));

    // Another window shows the person list with the columns chosen last.
    TfrmReports another;
    another.ShowReportsWindow();
    another.ReportList()->setCurrentRow(0);
    another.RunSelectedReport();
    EXPECT_EQ(another.ShownColumns(), (QList<int>{Col("Gender"), Col("Name")}));
    Options().ReportColumns.clear();
}

TEST_F(ReportsWindowTest, ThePreviewShowsItsFirstPageBeforeItCountsTheOthers) {
    TZelGridPrintL& print = *window->GridPrint();
    print.Settings().Margins.Top = 500; // a few rows a page
    TfrmGPPreview preview(print);
    preview.show();
    EXPECT_EQ(preview.CurrentPage(), 1);
    EXPECT_FALSE(preview.PageCountKnown());
    EXPECT_FALSE(preview.StatusText().contains(print.PreviewText("From", false)));
    while (!preview.PageCountKnown())
        QApplication::processEvents();
    EXPECT_TRUE(preview.StatusText().endsWith(print.PreviewText("From", false) + " " +
                                              QString::number(preview.PageCount())));
    // The person list's columns do not fit one page across: the preview says they go on.
    EXPECT_FALSE(preview.NoteText().isEmpty());
}

TEST(ZelGridPrint, EveryGridOpensItsPreviewWithCtrlP) {
    TZelGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetCells(1, 1, "x");
    grid.SetCaption("Bookmarks");
    bool shown = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* preview = qobject_cast<TfrmGPPreview*>(QApplication::activeModalWidget())) {
            shown = preview->PageCount() == 1;
            preview->reject();
        }
    });
    poll.start();
    QTest::keyClick(&grid, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(shown);
}

TEST(ZelGridPrint, PreviewCaptionsFollowTheLanguageLines) {
    TZelGridPrintL print;
    EXPECT_EQ(print.PreviewText("next", false), "&Next");
    EXPECT_EQ(print.PreviewText("Next", true), QStringLiteral(u"التا&لي"));
    print.LanguageText << "Close = Shut; أغلق";
    print.LanguageText.removeAt(9);
    EXPECT_EQ(print.PreviewText("Close", false), "Shut");
    print.LanguageRTLIndex = 5;
    EXPECT_EQ(print.PreviewText("Close", true), "Close");
}

// The Persian and Urdu interfaces take their own captions; a line without them gives the Arabic one.
TEST(ZelGridPrint, PersianAndUrduPreviewCaptions) {
    TZelGridPrintL print;
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/persian.local")));
    EXPECT_EQ(print.PreviewText("Next", true), QStringLiteral(u"&بعدی"));
    EXPECT_EQ(print.PreviewText("Next", false), "&Next");
    print.LanguageText.removeAt(9);
    print.LanguageText << "Close = Shut; أغلق";
    EXPECT_EQ(print.PreviewText("Close", true), QStringLiteral(u"أغلق"));
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/urdu.local")));
    EXPECT_EQ(print.PreviewText("Print", true), QStringLiteral(u"&پرنٹ"));
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/english.local")));
}

} // namespace
} // namespace verdan
