#include "datasheet/ui/breastfeeding_frame.h"
#include "datasheet/ui/collapsible_panel.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/dates_frame.h"
#include "datasheet/ui/names_frame.h"
#include "datasheet/ui/reorder_controls.h"
#include "sheet_fixture.h"
#include "storage/relation_store.h"
#include "text/bidi_text.h"
#include "text/user_options.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

namespace verdan::test {
namespace {

class DataSheetTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Options() = TOptions();
        Put("{A}", "-1", "0", "Ahmad");
        Put("{B}", "-1", "0", "Badr");
        sheet_ = std::make_unique<TframDataSheet>();
        sheet_->Today = [this] {
            return today_;
        };
        sheet_->resize(500, 700);
        sheet_->show();
    }
    void TearDown() override {
        sheet_.reset();
        SheetTest::TearDown();
    }

    template <typename W> W* Find(const char* name) const {
        W* widget = sheet_->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
    int PersonRows() { return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftPerson")); }

    std::unique_ptr<TframDataSheet> sheet_;
};

TEST_F(DataSheetTest, EditsOfAPersonAreWrittenWhenTheSheetMovesOn) {
    sheet_->LoadPerson("{A}");
    EXPECT_EQ(StripBidiControls(Find<QLabel>("lblShortName")->text()), " Ahmad");
    Type(Box("txtPerson_Name"), "Ahmed");
    sheet_->Section("Dates")->SetCollapsed(false);
    Type(Box("txtDate_of_Birth_H"), "12-9-1445");
    sink_.answer = IDOK;
    Find<QToolButton>("bt_Birth_H_to_G")->click();
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "22-03-2024");
    QTest::keyClicks(Find<QPlainTextEdit>("txtNotes"), "a note");
    EXPECT_TRUE(sheet_->HasPendingEdits());

    QSignalSpy names(sheet_.get(), &TframDataSheet::NamesSaved);
    sheet_->LoadPerson("{B}");
    EXPECT_EQ(names.count(), 1);
    EXPECT_EQ(names.value(0).value(0).toString(), "{A}");
    EXPECT_EQ(Box("txtPerson_Name")->text(), "Badr");
    EXPECT_TRUE(Find<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());
    EXPECT_EQ(Column("{A}", "Person_Name"), "Ahmed");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_H"), "14450912");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "20240322");
    EXPECT_EQ(Column("{A}", "Notes"), "a note");
    EXPECT_EQ(Column("{B}", "Notes"), "");

    sheet_->LoadPerson("{A}");
    EXPECT_EQ(Box("txtPerson_Name")->text(), "Ahmed");
    EXPECT_EQ(Box("txtDate_of_Birth_H")->text(), "12-09-1445");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "22-03-2024");
    EXPECT_EQ(Find<QPlainTextEdit>("txtNotes")->toPlainText(), "a note");
    EXPECT_FALSE(sheet_->HasPendingEdits());

    // Loading the person shown again changes nothing and writes nothing.
    Type(Box("txtCognomen"), "Abu Ali");
    sheet_->LoadPerson("{a}");
    EXPECT_EQ(Column("{A}", "Cognomen"), "");
    EXPECT_TRUE(sheet_->HasPendingEdits());
}

TEST_F(DataSheetTest, ReloadWritesPendingEditsBeforeFillingAgain) {
    sheet_->LoadPerson("{A}");
    Type(Box("txtNickname"), "Hamad");
    QTest::keyClicks(Find<QPlainTextEdit>("txtBriefing"), "brief");
    // An outline command renames the person meanwhile; the reload keeps both changes.
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Person_Name = 'Ahmed' WHERE Person_Id = '{A}'"), 1);
    sheet_->ReloadPerson();
    EXPECT_EQ(Column("{A}", "Nickname"), "Hamad");
    EXPECT_EQ(Column("{A}", "Briefing"), "brief");
    EXPECT_EQ(Column("{A}", "Person_Name"), "Ahmed");
    EXPECT_EQ(Box("txtPerson_Name")->text(), "Ahmed");
    EXPECT_EQ(Box("txtNickname")->text(), "Hamad");
    EXPECT_FALSE(sheet_->HasPendingEdits());

    // A cleared given name is stored as "<>"; an order that is no number as the unset order.
    Type(Box("txtPerson_Name"), "");
    Type(Box("txtOrder_By_Father"), "x");
    sheet_->LoadPerson("{B}");
    EXPECT_EQ(Column("{A}", "Person_Name"), "<>");
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "99");
    sheet_->LoadPerson("{A}");
    EXPECT_EQ(Box("txtOrder_By_Father")->text(), "");
}

TEST_F(DataSheetTest, ADateBoxHoldingNoDateKeepsTheSheetAtItsPersonUntilPutRight) {
    sheet_->LoadPerson("{A}");
    sheet_->Section("Dates")->SetCollapsed(false);
    Type(Box("txtDate_of_Birth_G"), "45-13-1741");
    Type(Box("txtNickname"), "Hamad");
    QSignalSpy locate(sheet_.get(), &TframDataSheet::LocatePersonRequested);

    // Moving on: the other edits are written, the date is refused once and stays in its box.
    sheet_->LoadPerson("{B}");
    EXPECT_EQ(sheet_->CurrentPersonId(), "{A}");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "45-13-1741");
    EXPECT_EQ(Column("{A}", "Nickname"), "Hamad");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "") << "nothing stored";
    sheet_->LoadPerson("{B}");
    ASSERT_EQ(sink_.Texts().size(), 1);
    EXPECT_TRUE(sink_.Texts()[0].startsWith("Birth Date (Gregorian): ")) << sink_.Texts()[0].toStdString();
    ASSERT_TRUE(locate.wait(1000)) << "the outline is brought back to the person";
    EXPECT_EQ(locate.value(0).value(0).toString(), "{A}");
    // The sheet filled again meanwhile: what was typed is still there, and nothing more is said.
    sheet_->ReloadPerson();
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "45-13-1741");
    EXPECT_EQ(sink_.Texts().size(), 1);
    // A later attempt to leave, with a press of its own, is told again why it fails.
    QTest::mouseClick(Box("txtNickname"), Qt::LeftButton);
    sheet_->LoadPerson("{B}");
    EXPECT_EQ(sink_.Texts().size(), 2);
    EXPECT_EQ(sheet_->CurrentPersonId(), "{A}");

    // Put right, it is written and the sheet moves on; closing the tree never waits for it.
    Type(Box("txtDate_of_Birth_G"), "05-03-1741");
    sheet_->LoadPerson("{B}");
    EXPECT_EQ(sheet_->CurrentPersonId(), "{B}");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "17410305");
    Type(Box("txtDate_of_Birth_G"), "31-02-1990");
    sheet_->LoadPerson(QString());
    EXPECT_TRUE(sheet_->CurrentPersonId().isEmpty());
    EXPECT_EQ(Column("{B}", "Date_of_Birth_G"), "");
}

TEST_F(DataSheetTest, ADeathBeforeTheBirthKeepsEveryTypedValueAndTheSheetAtItsPerson) {
    sheet_->LoadPerson("{A}");
    sheet_->Section("Dates")->SetCollapsed(false);
    Type(Box("txtDate_of_Birth_G"), "15-03-1990");
    Type(Box("txtDate_of_Death_G"), "10-01-1980");
    Type(Box("txtPlace_of_Birth"), "Makkah");
    Type(Box("txtNickname"), "Hamad");
    sheet_->LoadPerson("{B}");
    EXPECT_EQ(sheet_->CurrentPersonId(), "{A}");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "15-03-1990");
    EXPECT_EQ(Box("txtDate_of_Death_G")->text(), "10-01-1980");
    EXPECT_EQ(Column("{A}", "Place_of_Birth"), "Makkah");
    EXPECT_EQ(Column("{A}", "Nickname"), "Hamad");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "0");
    ASSERT_EQ(sink_.Texts().size(), 1);
    EXPECT_EQ(sink_.Texts()[0], "The Gregorian death date 10-01-1980 lies before the birth date 15-03-1990.");

    // Leaving the tree asks; going back keeps it all, leaving shows the stored dates and says no more.
    sink_.answer = 1;
    EXPECT_FALSE(sheet_->MayLeaveTree());
    EXPECT_TRUE(sink_.Texts().last().startsWith("The dates of ")) << sink_.Texts().last().toStdString();
    EXPECT_EQ(Box("txtDate_of_Death_G")->text(), "10-01-1980");
    sink_.answer = 2;
    EXPECT_TRUE(sheet_->MayLeaveTree());
    EXPECT_TRUE(Box("txtDate_of_Death_G")->text().isEmpty());
    const qsizetype told = sink_.Texts().size();
    EXPECT_TRUE(sheet_->SavePendingEdits());
    EXPECT_EQ(sink_.Texts().size(), told);
    EXPECT_TRUE(sheet_->MayLeaveTree());
}

TEST_F(DataSheetTest, EditsOfARemovedPersonAreDropped) {
    sheet_->LoadPerson("{A}");
    Type(Box("txtPerson_Name"), "Gone");
    QTest::keyClicks(Find<QPlainTextEdit>("txtNotes"), "lost");
    ASSERT_TRUE(DeletePerson("{A}"));
    const int rows = PersonRows();
    sheet_->PersonRemoved("{A}");
    EXPECT_TRUE(sheet_->CurrentPersonId().isEmpty());
    EXPECT_FALSE(sheet_->HasPendingEdits());
    EXPECT_TRUE(Box("txtPerson_Name")->text().isEmpty());

    // Without being told, the sheet still never writes for a person that is gone.
    sheet_->LoadPerson("{B}");
    Type(Box("txtPerson_Name"), "Also gone");
    ASSERT_TRUE(DeletePerson("{B}"));
    sheet_->LoadPerson(QString());
    EXPECT_EQ(PersonRows(), rows - 1);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Person_Name LIKE '%one'"), 0);
}

TEST_F(DataSheetTest, NobodyShownMeansAnEmptyDisabledSheet) {
    sheet_->LoadPerson("{A}");
    EXPECT_TRUE(Box("txtPerson_Name")->isEnabled());
    Type(Box("txtCognomen"), "Abu Ali");
    sheet_->LoadPerson(QString());
    EXPECT_EQ(Column("{A}", "Cognomen"), "Abu Ali");
    EXPECT_TRUE(StripBidiControls(Find<QLabel>("lblShortName")->text()).isEmpty());
    EXPECT_TRUE(Box("txtPerson_Name")->text().isEmpty());
    EXPECT_FALSE(Box("txtPerson_Name")->isEnabled());
    EXPECT_FALSE(Find<QPlainTextEdit>("txtNotes")->isEnabled());
    EXPECT_FALSE(Box("txtDate_of_Birth_G")->isEnabled());
    // The titles still fold their sections.
    sheet_->Section("Notes")->TitleBar()->setFocus();
    QTest::keyClick(sheet_->Section("Notes")->TitleBar(), Qt::Key_Space);
    EXPECT_FALSE(sheet_->Section("Notes")->IsCollapsed());
    sheet_->SavePendingEdits();
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Person_Id = ''"), 0);

    // An identifier without a row is shown as nobody too.
    sheet_->LoadPerson("{NOBODY}");
    EXPECT_FALSE(Box("txtPerson_Name")->isEnabled());
}

TEST_F(DataSheetTest, CollapsedSectionsAreFilledWhenExpanded) {
    TCollapsiblePanel* names = sheet_->Section("Names");
    names->SetCollapsed(true);
    sheet_->LoadPerson("{A}");
    EXPECT_TRUE(sheet_->NamesFrame()->PersonId().isEmpty());
    EXPECT_TRUE(sheet_->DatesFrame()->PersonId().isEmpty());
    names->SetCollapsed(false);
    EXPECT_EQ(sheet_->NamesFrame()->PersonId(), "{A}");
    EXPECT_EQ(Box("txtPerson_Name")->text(), "Ahmad");
    QTest::mouseClick(sheet_->Section("Dates")->TitleBar(), Qt::LeftButton);
    EXPECT_FALSE(sheet_->Section("Dates")->IsCollapsed());
    EXPECT_EQ(sheet_->DatesFrame()->PersonId(), "{A}");
}

TEST_F(DataSheetTest, SectionOrderIsKeptInTheOptions) {
    // Notes moved to the top and unchecked.
    WithDialog<TfrmReorderControls>([](TfrmReorderControls* dialog) {
        QListWidget* list = dialog->List();
        EXPECT_EQ(list->currentRow(), 0);
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->text() == "Notes")
                list->setCurrentRow(row);
        for (int i = 0; i < 10; ++i)
            dialog->btUpClick();
        EXPECT_EQ(list->currentRow(), 0);
        list->item(0)->setCheckState(Qt::Unchecked);
        dialog->accept();
    });
    sheet_->ReorderSections();
    ASSERT_FALSE(Options().DataSections.isEmpty());
    EXPECT_EQ(Options().DataSections.first(), (TDataSection{"Notes", true}));
    EXPECT_EQ(sheet_->Sections().first()->objectName(), "cpnlNote");
    EXPECT_TRUE(sheet_->Sections().first()->IsCollapsed());

    // As after a restart: the options document read again, a new sheet laid out from it.
    Options() = TOptions();
    ASSERT_TRUE(LoadOptions());
    TframDataSheet next;
    next.ApplySectionLayout();
    EXPECT_EQ(next.Sections().first()->objectName(), "cpnlNote");
    EXPECT_TRUE(next.Sections().first()->IsCollapsed());
    EXPECT_EQ(next.Sections()[1]->objectName(), "cpnl_Summary");
    EXPECT_FALSE(next.Section("Names")->IsCollapsed());

    // Dropping a dragged section on another gives it that section's place.
    sheet_->MoveSection(sheet_->Section("Data Entry Info"), sheet_->Section("Names"));
    EXPECT_EQ(sheet_->Sections().indexOf(sheet_->Section("Data Entry Info")), 2);
    EXPECT_EQ(Options().DataSections[2].Name, "Data Entry Info");

    // Cancel changes nothing.
    const QList<TDataSection> kept = Options().DataSections;
    WithDialog<TfrmReorderControls>([](TfrmReorderControls* dialog) {
        dialog->btDownClick();
        dialog->reject();
    });
    sheet_->ReorderSections();
    EXPECT_EQ(Options().DataSections, kept);
}

TEST_F(DataSheetTest, BreastfeedingSectionShowsOnlyWithRelations) {
    Put("{W}", "-1", "0", "Hind", "f");
    Put("{C}", "-1", "0", "Zaid");
    ASSERT_TRUE(AddBreastfeedingMother("{W}", "{C}"));
    TCollapsiblePanel* section = sheet_->Section("Breastfeeding Relationships");
    sheet_->LoadPerson("{A}");
    EXPECT_TRUE(section->isHidden());
    sheet_->LoadPerson("{W}");
    EXPECT_FALSE(section->isHidden());
    EXPECT_FALSE(section->IsCollapsed());
    auto* children = Find<QListWidget>("lstSonhood");
    ASSERT_EQ(children->count(), 1);
    EXPECT_TRUE(children->isVisibleTo(sheet_.get()));
    sheet_->LoadPerson("{C}");
    EXPECT_FALSE(children->isVisibleTo(sheet_.get()));
    auto* mothers = Find<QListWidget>("lstMotherhood");
    ASSERT_EQ(mothers->count(), 1);

    // Nothing without a selected entry; a "No" keeps the relation.
    sink_.answer = IDNO;
    Find<QPushButton>("btDeleteMotherhood")->click();
    EXPECT_TRUE(sink_.requests.isEmpty());
    mothers->setCurrentRow(0);
    Find<QPushButton>("btDeleteMotherhood")->click();
    EXPECT_TRUE(BreastfeedingMotherExists("{W}", "{C}"));
    sink_.answer = IDYES;
    Find<QPushButton>("btDeleteMotherhood")->click();
    EXPECT_FALSE(BreastfeedingMotherExists("{W}", "{C}"));
    EXPECT_EQ(mothers->count(), 0);
    EXPECT_TRUE(sink_.requests.last().text.startsWith("Remove relationship with breastfeeding mother?|"));
}

TEST_F(DataSheetTest, WheelScrollsInSmallStepsAndCtrlSizesTheTexts) {
    auto wheel = [](QWidget* target, int steps, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120 * steps),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    sheet_->LoadPerson("{A}");
    for (TCollapsiblePanel* panel : sheet_->Sections())
        panel->SetCollapsed(false);
    auto* scroll = Find<QScrollArea>("scrSections");
    QApplication::processEvents();
    ASSERT_GT(scroll->verticalScrollBar()->maximum(), 30);
    wheel(scroll->viewport(), -2, Qt::NoModifier);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 20);
    wheel(scroll->viewport(), -2, Qt::ControlModifier);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 20);

    QPlainTextEdit* notes = sheet_->NotesBox();
    QFont font = notes->font();
    font.setPointSize(10);
    notes->setFont(font);
    wheel(notes->viewport(), 2, Qt::ControlModifier);
    EXPECT_EQ(notes->font().pointSize(), 12);
    wheel(notes->viewport(), 20, Qt::ControlModifier);
    EXPECT_EQ(notes->font().pointSize(), 19);
    wheel(notes->viewport(), -30, Qt::ControlModifier);
    EXPECT_EQ(notes->font().pointSize(), 5);
}

// The caption a label gives to a field.
QLabel* CaptionOf(const QWidget* field) {
    for (QLabel* label : field->window()->findChildren<QLabel*>())
        if (label->buddy() == field)
            return label;
    return nullptr;
}

QRect InWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// Captions and values share rows on one grid in both reading directions: each value beside its caption at
// the reading start, the date boxes where the name boxes are, and a wide sheet leaves its width empty at
// the end rather than pulling values away.
TEST_F(DataSheetTest, LaysOutForBothReadingDirections) {
    ASSERT_EQ(
        Dm().Execute(QStringLiteral("UPDATE ftPerson SET date_of_birth_g = 17680616, last_name = 'Rayyan' "
                                    "WHERE person_id = '{A}'")),
        1);
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        QApplication::setLayoutDirection(direction);
        TframDataSheet sheet;
        sheet.resize(1400, 900);
        for (const char* key : {"Overview", "Names", "Dates"})
            sheet.Section(QString::fromLatin1(key))->SetCollapsed(false);
        sheet.show();
        sheet.LoadPerson("{A}");
        QApplication::processEvents();
        const bool rtl = direction == Qt::RightToLeft;
        TPanelTitle* title = sheet.Section("Names")->TitleBar();
        EXPECT_EQ(title->ArrowRect().center().x() > title->width() / 2, rtl);
        EXPECT_EQ(StripBidiControls(sheet.findChild<QLabel*>("lblShortName")->text()), " Ahmad");

        auto* name = sheet.findChild<QLineEdit*>("txtPerson_Name");
        auto* birth = sheet.findChild<QLineEdit*>("txtDate_of_Birth_G");
        auto* family = sheet.findChild<QLabel*>("lblOverviewFamily");
        auto* born = sheet.findChild<QLabel*>("lblOverviewBirthG");
        for (QWidget* field : {static_cast<QWidget*>(name), static_cast<QWidget*>(birth),
                               static_cast<QWidget*>(family), static_cast<QWidget*>(born)}) {
            const std::string id = field->objectName().toStdString();
            QLabel* caption = CaptionOf(field);
            ASSERT_NE(caption, nullptr) << id;
            const QRect c = InWindow(caption);
            const QRect f = InWindow(field);
            EXPECT_LE(std::abs(c.center().y() - f.center().y()), 2) << id;
            EXPECT_EQ(c.left() > f.right(), rtl) << id;
            EXPECT_EQ(c.right() < f.left(), !rtl) << id;
            // Side by side: no more than a spacing between a caption and its field.
            EXPECT_LE(rtl ? c.left() - f.right() : f.left() - c.right(), 12) << id;
            EXPECT_LT(f.width(), 600) << id;
        }
        // One grid for every section: fields start at one place.
        EXPECT_EQ(rtl ? InWindow(birth).right() : InWindow(birth).left(),
                  rtl ? InWindow(name).right() : InWindow(name).left());
        EXPECT_EQ(rtl ? InWindow(born).right() : InWindow(born).left(),
                  rtl ? InWindow(name).right() : InWindow(name).left());
        // Each value starts at its own reading start, whatever the sheet's: a date on the left in the Arabic
        // sheet too, a name on the side its first letter reads from.
        EXPECT_EQ(born->text(), QStringLiteral("16-06-1768 G"));
        const auto startsLeft = [](QWidget* value, Qt::Alignment alignment) {
            return bool(QStyle::visualAlignment(value->layoutDirection(), alignment) & Qt::AlignLeft);
        };
        EXPECT_TRUE(startsLeft(born, born->alignment()));
        EXPECT_TRUE(startsLeft(birth, birth->alignment()));
        EXPECT_EQ(startsLeft(family, family->alignment()),
                  !HasArabicLetters(family->text()) && !family->text().isEmpty())
            << family->text().toStdString();
    }
    QApplication::setLayoutDirection(Qt::LeftToRight);
}

} // namespace
} // namespace verdan::test
