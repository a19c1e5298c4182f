#include "datasheet/ui/collapsible_panel.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/date_approach.h"
#include "datasheet/ui/dates_frame.h"
#include "datasheet/ui/event_dialog.h"
#include "datasheet/ui/events_frame.h"
#include "datasheet/ui/marriage_dialog.h"
#include "datasheet/ui/mate_child_frame.h"
#include "reports/ui/zel_grid.h"
#include "sheet_fixture.h"
#include "storage/event_store.h"
#include "storage/marriage_facts.h"
#include "storage/person_dates.h"
#include "storage/relation_store.h"
#include "storage/tree_rows.h"
#include "text/user_options.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace verdan::test {
namespace {

TDateValue Date(int gregorian, TDateQualifier qualifier = TDateQualifier::Exact, int gregorian2 = 0) {
    TDateValue value;
    value.Gregorian = gregorian;
    value.Qualifier = qualifier;
    value.Gregorian2 = gregorian2;
    return value;
}

template <typename W> W* Child(const QObject* parent, const char* name) {
    W* widget = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Choose(QComboBox* box, const QVariant& data) {
    const int index = box->findData(data);
    ASSERT_GE(index, 0) << data.toString().toStdString();
    box->setCurrentIndex(index);
}

// A man {H} married to {A}, and {S}, a single woman.
class DatedFactsUiTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Options() = TOptions();
        Put("{H}", "-1", "0", "Hasan", "m");
        Put("{A}", "-1", "0", "Amina", "f");
        Put("{S}", "-1", "0", "Sara", "f");
        ASSERT_TRUE(AddMarriage("{H}", "{A}"));
        ASSERT_TRUE(HasEventTables());
    }

    TPersonDates Dates(const QString& id) {
        TPersonDates dates;
        EXPECT_TRUE(ReadPersonDates(id, dates));
        return dates;
    }
    void SetDates(const QString& id, const TPersonDates& dates) {
        TPerson person;
        ASSERT_TRUE(ReadPerson(id, person));
        person.Date_of_Birth_G = dates.Birth.Gregorian;
        person.Date_of_Death_G = dates.Death.Gregorian;
        ASSERT_TRUE(WritePersonDateValues(person, dates));
    }
    // Runs `act` on the event dialog the frame opens for `command`.
    void WithEventDialog(TframEvents& frame, void (TframEvents::*command)(),
                         const std::function<void(TfrmEvent*)>& act) {
        WithDialog<TfrmEvent>(act);
        (frame.*command)();
    }
};

class DatesQualifierTest : public DatedFactsUiTest {
protected:
    void SetUp() override {
        DatedFactsUiTest::SetUp();
        frame_ = std::make_unique<TframDates>();
        frame_->Today = [this] {
            return today_;
        };
        frame_->show();
    }
    void TearDown() override {
        frame_.reset();
        DatedFactsUiTest::TearDown();
    }
    void Load(const QString& id) {
        TPerson person;
        ASSERT_TRUE(ReadPerson(id, person));
        frame_->LoadDates(person);
    }
    QLineEdit* Box(const char* name) const { return Child<QLineEdit>(frame_.get(), name); }
    QComboBox* Qualifier(const char* name) const { return Child<QComboBox>(frame_.get(), name); }
    bool Shown(const char* name) const {
        return Child<QWidget>(frame_.get(), name)->isVisibleTo(frame_.get());
    }

    std::unique_ptr<TframDates> frame_;
};

// The qualifier beside each date is loaded, shows the second date's boxes only for a range, and is written
// with the dates; a second date that is no date is refused by its name, and one no longer read is not kept.
TEST_F(DatesQualifierTest, QualifiersAndSecondDatesAreShownCheckedAndWritten) {
    SetDates("{H}", {Date(15050000, TDateQualifier::About), Date(15370000, TDateQualifier::Before)});
    Load("{H}");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "00-00-1505");
    EXPECT_EQ(TDateQualifier(Qualifier("cmbBirthQualifier")->currentIndex()), TDateQualifier::About);
    EXPECT_EQ(TDateQualifier(Qualifier("cmbDeathQualifier")->currentIndex()), TDateQualifier::Before);
    EXPECT_FALSE(Shown("txtBirth_G2"));
    EXPECT_FALSE(Shown("txtBirthPhrase"));
    EXPECT_FALSE(frame_->DatesChanged());

    Qualifier("cmbBirthQualifier")->setCurrentIndex(int(TDateQualifier::Between));
    EXPECT_TRUE(frame_->DatesChanged());
    EXPECT_TRUE(Shown("txtBirth_G2"));
    EXPECT_TRUE(Shown("txtBirth_H2"));
    Type(Box("txtBirth_G2"), "45-13-1741");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Invalid);
    ASSERT_FALSE(sink_.Texts().isEmpty());
    EXPECT_TRUE(sink_.Texts().last().startsWith("Birth Date, Second date (Gregorian):"))
        << sink_.Texts().last().toStdString();
    EXPECT_EQ(Dates("{H}").Birth.Qualifier, TDateQualifier::About);

    Type(Box("txtBirth_G2"), "1510");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Dates("{H}").Birth, Date(15050000, TDateQualifier::Between, 15100000));
    EXPECT_EQ(Dates("{H}").Death, Date(15370000, TDateQualifier::Before));

    // Back to "about": the second date stays in its hidden box but is neither checked nor kept.
    Load("{H}");
    Type(Box("txtBirth_G2"), "99-99-9999");
    Qualifier("cmbBirthQualifier")->setCurrentIndex(int(TDateQualifier::About));
    EXPECT_FALSE(Shown("txtBirth_G2"));
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Dates("{H}").Birth, Date(15050000, TDateQualifier::About));
}

// What the boxes cannot show survives edits that leave it alone: a dual year while its year stays, a
// date of words alone that gets a date (then the words explain the date).
TEST_F(DatesQualifierTest, EditsKeepWhatTheBoxesCannotShow) {
    TDateValue dual = Date(16380211);
    dual.DualYear = 1637;
    TDateValue words;
    words.Qualifier = TDateQualifier::Phrase;
    words.Phrase = "the year of the flood";
    SetDates("{H}", {dual, words});
    ASSERT_TRUE(SetDead("{H}", true));
    Load("{H}");
    EXPECT_TRUE(Shown("txtDeathPhrase"));
    EXPECT_EQ(Box("txtDeathPhrase")->text(), "the year of the flood");

    Type(Box("txtPlace_of_Birth"), "Mecca");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Dates("{H}").Birth.DualYear, 1637);
    EXPECT_EQ(Dates("{H}").Death, words);

    Load("{H}");
    Type(Box("txtDate_of_Birth_G"), "12-02-1640");
    Type(Box("txtDate_of_Death_G"), "1700");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Dates("{H}").Birth, Date(16400212));
    const TDateValue death = Dates("{H}").Death;
    EXPECT_EQ(death.Qualifier, TDateQualifier::Interpreted);
    EXPECT_EQ(death.Gregorian, 17000000);
    EXPECT_EQ(death.Phrase, "the year of the flood");
}

// Dates the calculator works out are marked calculated, on the sheet and in the tree.
TEST_F(DatesQualifierTest, CalculatedDatesAreMarkedSo) {
    Load("{S}");
    WithDialog<TfrmDateApproach>([](TfrmDateApproach* dialog) {
        dialog->findChild<QLineEdit*>("txtYears")->setText("60");
        dialog->accept();
    });
    frame_->bt_Calc_DateClick();
    EXPECT_EQ(TDateQualifier(Qualifier("cmbBirthQualifier")->currentIndex()), TDateQualifier::Calculated);
    EXPECT_EQ(TDateQualifier(Qualifier("cmbDeathQualifier")->currentIndex()), TDateQualifier::Exact);
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Dates("{S}").Birth.Qualifier, TDateQualifier::Calculated);
    EXPECT_EQ(Dates("{S}").Birth.Gregorian, 19630515);
    EXPECT_TRUE(IsEmptyDate(Dates("{S}").Death));
}

// A person's events are added, edited and removed from the sheet, each as one undo step, and listed by
// their dates with the translated kind and what the event says.
TEST_F(DatedFactsUiTest, EventsAreAddedEditedAndRemovedOneStepEach) {
    TframEvents frame;
    frame.show();
    frame.LoadEvents("{H}");
    EXPECT_EQ(frame.List()->topLevelItemCount(), 0);
    const auto fill = [](TfrmEvent* dialog, const char* kind, const QString& value, const QString& date) {
        Choose(Child<QComboBox>(dialog, "cmbEventKind"), QString::fromLatin1(kind));
        EXPECT_TRUE(Child<QLineEdit>(dialog, "txtEventValue")->isVisibleTo(dialog));
        Child<QLineEdit>(dialog, "txtEventValue")->setText(value);
        Child<QLineEdit>(dialog, "txtEvent_G")->setText(date);
        dialog->accept();
    };
    ExpectOneUndoStep("Add an event of «Hasan»", [&] {
        WithEventDialog(frame, &TframEvents::btAddEventClick,
                        [&](TfrmEvent* dialog) { fill(dialog, "OCCU", "farmer", "1950"); });
    });
    ASSERT_EQ(frame.Events().size(), 1);
    WithEventDialog(frame, &TframEvents::btAddEventClick, [&](TfrmEvent* dialog) {
        Choose(Child<QComboBox>(dialog, "cmbEventKind"), "HAJJ");
        EXPECT_FALSE(Child<QLineEdit>(dialog, "txtEventValue")->isVisibleTo(dialog));
        Child<QLineEdit>(dialog, "txtEvent_G")->setText("03-1940");
        Child<QComboBox>(dialog, "cmbEventQualifier")->setCurrentIndex(int(TDateQualifier::About));
        Child<QLineEdit>(dialog, "txtEventPlace")->setText("Mecca");
        dialog->accept();
    });
    WithEventDialog(frame, &TframEvents::btAddEventClick, [&](TfrmEvent* dialog) {
        Choose(Child<QComboBox>(dialog, "cmbEventKind"), "EDUC");
        Child<QLineEdit>(dialog, "txtEventValue")->setText("Al-Azhar");
        dialog->accept();
    });
    // By date, the undated last.
    ASSERT_EQ(frame.List()->topLevelItemCount(), 3);
    EXPECT_EQ(frame.List()->topLevelItem(0)->text(0), "Hajj");
    EXPECT_EQ(frame.List()->topLevelItem(0)->text(1), "about 03-1940 G");
    EXPECT_EQ(frame.List()->topLevelItem(0)->text(2), "Mecca");
    EXPECT_EQ(frame.List()->topLevelItem(1)->text(0), "Occupation: farmer");
    EXPECT_EQ(frame.List()->topLevelItem(2)->text(0), "Education: Al-Azhar");
    EXPECT_EQ(ListPersonEvents("{H}").size(), 3);

    frame.List()->setCurrentItem(frame.List()->topLevelItem(1));
    ExpectOneUndoStep("Edit an event of «Hasan»", [&] {
        WithEventDialog(frame, &TframEvents::btEditEventClick, [](TfrmEvent* dialog) {
            EXPECT_EQ(Child<QLineEdit>(dialog, "txtEventValue")->text(), "farmer");
            EXPECT_EQ(Child<QLineEdit>(dialog, "txtEvent_G")->text(), "00-00-1950");
            Child<QLineEdit>(dialog, "txtEventAge")->setText("30y");
            dialog->accept();
        });
    });
    TEvent edited;
    ASSERT_TRUE(ReadEvent(frame.Events()[1].Event_Id, edited));
    EXPECT_EQ(edited.Value, "farmer");
    ASSERT_EQ(edited.Persons.size(), 1);
    EXPECT_EQ(edited.Persons[0].Age, "30y");

    // OK without a change and Cancel write nothing; removing asks first, starting on No.
    frame.List()->setCurrentItem(frame.List()->topLevelItem(1));
    ClearUndoLog();
    WithEventDialog(frame, &TframEvents::btEditEventClick, [](TfrmEvent* dialog) { dialog->accept(); });
    WithEventDialog(frame, &TframEvents::btEditEventClick, [](TfrmEvent* dialog) {
        Child<QLineEdit>(dialog, "txtEventValue")->setText("trader");
        dialog->reject();
    });
    sink_.answer = IDNO;
    frame.btDeleteEventClick();
    EXPECT_EQ(UndoCount(), 0);
    EXPECT_EQ(sink_.requests.last().focus, IDNO);
    EXPECT_EQ(sink_.Texts().last(), "Remove the event «Occupation: farmer»?");
    sink_.answer = IDYES;
    frame.List()->setCurrentItem(frame.List()->topLevelItem(1));
    ExpectOneUndoStep("Remove an event of «Hasan»", [&] { frame.btDeleteEventClick(); });
    EXPECT_EQ(ListPersonEvents("{H}").size(), 2);
}

// A couple's event is shared with a mate, the first one unless the user picks another, and shows on the
// mate's list; without a mate, or with a date that is none, the dialog says why and stays open.
TEST_F(DatedFactsUiTest, ACouplesEventIsSharedWithAMate) {
    TframEvents frame;
    frame.show();
    frame.LoadEvents("{H}");
    WithEventDialog(frame, &TframEvents::btAddEventClick, [&](TfrmEvent* dialog) {
        Choose(Child<QComboBox>(dialog, "cmbEventKind"), "MARC");
        auto* mate = Child<QComboBox>(dialog, "cmbEventMate");
        EXPECT_TRUE(mate->isVisibleTo(dialog));
        EXPECT_EQ(mate->currentData().toString(), "{A}");
        mate->setCurrentIndex(0);
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(sink_.Texts().last(), "Choose the spouse this event is shared with.");
        mate->setCurrentIndex(1);
        Child<QLineEdit>(dialog, "txtEvent_G")->setText("31-02-1990");
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(sink_.Texts().last().startsWith("Date (Gregorian): \"31-02-1990\" is not a date"))
            << sink_.Texts().last().toStdString();
        Child<QLineEdit>(dialog, "txtEvent_G")->setText("28-02-1990");
        dialog->accept();
    });
    const QList<TEvent> wife = ListPersonEvents("{A}");
    ASSERT_EQ(wife.size(), 1);
    EXPECT_TRUE(wife[0].Family);
    EXPECT_EQ(wife[0].Date.Gregorian, 19900228);
    frame.LoadEvents("{A}");
    ASSERT_EQ(frame.List()->topLevelItemCount(), 1);
    EXPECT_EQ(frame.List()->topLevelItem(0)->text(0), "Marriage contract");
    EXPECT_TRUE(frame.List()->topLevelItem(0)->text(3).contains("Hasan"));

    // Nobody to share it with: a woman without a husband cannot record a couple's event.
    frame.LoadEvents("{S}");
    WithEventDialog(frame, &TframEvents::btAddEventClick, [&](TfrmEvent* dialog) {
        Choose(Child<QComboBox>(dialog, "cmbEventKind"), "MARC");
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    EXPECT_TRUE(ListPersonEvents("{S}").isEmpty());
}

// The marriage's dates and places are edited from the mate grid as one step, shown in the grid from both
// sides, and a divorce date marks the couple divorced.
TEST_F(DatedFactsUiTest, MarriageFactsAreEditedFromTheMateGrid) {
    TframMateChild frame;
    frame.resize(900, 300);
    frame.show();
    frame.LoadRelations("{A}");
    frame.MatesGrid()->SetCurrentCell(TframMateChild::kNameCol, 1);
    ExpectOneUndoStep("Edit the marriage of «Hasan» and «Amina»", [&] {
        WithDialog<TfrmMarriage>([](TfrmMarriage* dialog) {
            Child<QLineEdit>(dialog, "txtMarried_G")->setText("12-03-1990");
            Child<QComboBox>(dialog, "cmbMarriedQualifier")->setCurrentIndex(int(TDateQualifier::About));
            Child<QLineEdit>(dialog, "txtMarriagePlace")->setText("Mecca");
            Child<QLineEdit>(dialog, "txtDivorced_G")->setText("1995");
            dialog->accept();
        });
        frame.btMarriageClick();
    });
    TMarriageFacts facts;
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{A}", facts));
    EXPECT_EQ(facts.Married, Date(19900312, TDateQualifier::About));
    EXPECT_EQ(facts.Place, "Mecca");
    EXPECT_EQ(facts.Divorced, Date(19950000));
    EXPECT_EQ(
        Dm().ScalarText("SELECT split FROM ftRelation WHERE person_id_1 = '{H}' AND person_id_2 = '{A}'"),
        "1");
    EXPECT_EQ(frame.MatesGrid()->Cells(TframMateChild::kMarriedCol, 1), "about 12-03-1990 G — Mecca");
    frame.LoadRelations("{H}");
    EXPECT_EQ(frame.MatesGrid()->Cells(TframMateChild::kMarriedCol, 1), "about 12-03-1990 G — Mecca");
    EXPECT_EQ(frame.MatesGrid()->Cells(TframMateChild::kDivorceCol, 1), "1995 G");

    // The dialog opens with the facts; a date that is none keeps it open, Cancel writes nothing.
    ClearUndoLog();
    WithDialog<TfrmMarriage>([this](TfrmMarriage* dialog) {
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtMarriagePlace")->text(), "Mecca");
        EXPECT_EQ(Child<QComboBox>(dialog, "cmbMarriedQualifier")->currentIndex(),
                  int(TDateQualifier::About));
        Child<QLineEdit>(dialog, "txtDivorced_H")->setText("30-13-1415");
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(sink_.Texts().last().startsWith("Divorce Date (Hijri):")) << sink_.Texts().last().toStdString();
        dialog->reject();
    });
    frame.btMarriageClick();
    EXPECT_EQ(UndoCount(), 0);

    // A date converts into the other calendar once the user confirms the day; an empty box says so.
    WithDialog<TfrmMarriage>([this](TfrmMarriage* dialog) {
        Child<QLineEdit>(dialog, "txtMarried_G")->setText("11-03-2024");
        sink_.answer = IDCANCEL;
        Child<QToolButton>(dialog, "btMarried_G_Convert")->click();
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtMarried_H")->text(), "");
        sink_.answer = IDOK;
        Child<QToolButton>(dialog, "btMarried_G_Convert")->click();
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtMarried_H")->text(), "01-09-1445");
        Child<QToolButton>(dialog, "btDivorced_H_Convert")->click();
        EXPECT_EQ(sink_.Texts().last(), "There is no date to convert.");
        dialog->accept();
    });
    frame.btMarriageClick();
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{A}", facts));
    EXPECT_EQ(facts.Married.Hijri, 14450901);
    EXPECT_EQ(facts.Married.Gregorian, 20240311);
}

// The sheet has an Events section, and the overview lists the events with their dates and shows the
// birth date with its qualifier.
TEST_F(DatedFactsUiTest, TheSheetShowsEventsAndQualifiedDates) {
    SetDates("{H}", {Date(19000000, TDateQualifier::About), TDateValue()});
    TEvent burial;
    burial.Type = "BURI";
    burial.Date = Date(19700000);
    burial.Persons = {{"{H}", {}}};
    ASSERT_TRUE(AddEvent(burial));
    TframDataSheet sheet;
    sheet.Today = [this] {
        return today_;
    };
    sheet.resize(600, 900);
    for (const char* key : {"Overview", "Events"})
        sheet.Section(QString::fromLatin1(key))->SetCollapsed(false);
    sheet.show();
    sheet.LoadPerson("{H}");
    EXPECT_EQ(Child<QLabel>(&sheet, "lblOverviewBirthG")->text(), "about 1900 G");
    EXPECT_EQ(Child<QLabel>(&sheet, "lblOverviewEvents")->text(), "Burial — 1970 G");
    EXPECT_EQ(sheet.EventsFrame()->List()->topLevelItemCount(), 1);
    sheet.LoadPerson("{A}");
    EXPECT_EQ(sheet.EventsFrame()->List()->topLevelItemCount(), 0);
    EXPECT_TRUE(Child<QLabel>(&sheet, "lblOverviewEvents")->text().isEmpty());
}

} // namespace
} // namespace verdan::test
