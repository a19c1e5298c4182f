#include "calendar/date_convert.h"
#include "common/fake_keyboard.h"
#include "datasheet/ui/date_approach.h"
#include "datasheet/ui/dates_frame.h"
#include "sheet_fixture.h"
#include "text/localisation.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>

namespace verdan::test {
namespace {

class DatesFrameTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Put("{A}", "-1", "0", "Ahmad");
        Put("{F}", "-1", "0", "Fatima", "f");
        frame_ = std::make_unique<TframDates>();
        frame_->Today = [this] {
            return today_;
        };
        frame_->show();
        // Focus moves, and with it the boxes' leaving, only in the active window.
        QApplication::setActiveWindow(frame_.get());
    }
    void TearDown() override {
        frame_.reset();
        SheetTest::TearDown();
    }

    void Load(const QString& id) {
        TPerson person;
        ASSERT_TRUE(ReadPerson(id, person));
        frame_->LoadDates(person);
    }
    template <typename W> W* Find(const char* name) const {
        W* widget = frame_->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Box(const char* name) const { return Find<QLineEdit>(name); }
    QCheckBox* Check(const char* name) const { return Find<QCheckBox>(name); }
    // Types a date and leaves the box, as a user does.
    void TypeDate(const char* name, const QString& text) {
        Type(Box(name), text);
        Box("txtPlace_of_Birth")->setFocus();
        frame_->UpdateDateInfo();
    }
    // Answers the calculator with the given numbers.
    void Calculate(const QString& years, const QString& yearsDeath) {
        WithDialog<TfrmDateApproach>([years, yearsDeath](TfrmDateApproach* dialog) {
            dialog->findChild<QLineEdit*>("txtYears")->setText(years);
            dialog->findChild<QLineEdit*>("txtMonths")->clear();
            dialog->findChild<QLineEdit*>("txtDays")->clear();
            dialog->findChild<QLineEdit*>("txtYearsDeath")->setText(yearsDeath);
            dialog->findChild<QLineEdit*>("txtMonthsDeath")->clear();
            dialog->findChild<QLineEdit*>("txtDaysDeath")->clear();
            dialog->accept();
        });
        frame_->bt_Calc_DateClick();
    }

    std::unique_ptr<TframDates> frame_;
};

TEST_F(DatesFrameTest, ShowsStoredDatesWithErasAndSpans) {
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Date_of_Birth_G = -5000101, Date_of_Death_H = 14000101 "
                           "WHERE Person_Id = '{A}'"),
              1);
    Load("{A}");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "01-01-500");
    EXPECT_TRUE(Check("chkNegativ_BG")->isChecked());
    EXPECT_FALSE(Check("chkNegativ_BH")->isChecked());
    EXPECT_EQ(Box("txtDate_of_Death_H")->text(), "01-01-1400");
    // A known death checks the box on the screen, but loading alone writes nothing.
    EXPECT_TRUE(Check("chkIsDead")->isChecked());
    EXPECT_FALSE(frame_->DatesChanged());

    Load("{F}");
    TypeDate("txtDate_of_Birth_G", "01-01-1990");
    EXPECT_EQ(Find<QLabel>("lblBirthSince")->text(), "Born 33 years, 4 months, 14 days ago");
    EXPECT_FALSE(Check("chkIsDead")->isChecked());
    TypeDate("txtDate_of_Death_G", "01-01-2020");
    EXPECT_TRUE(Check("chkIsDead")->isChecked());
    EXPECT_EQ(Find<QLabel>("lbllived")->text(), "Lived 30 years");
    EXPECT_TRUE(frame_->DatesChanged());
}

// The deceased box agrees with the person shown, and the texts follow another interface language at once.
TEST_F(DatesFrameTest, WordingAgreesWithThePersonAndTheLanguage) {
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    QApplication::processEvents();
    Load("{F}");
    EXPECT_EQ(Check("chkIsDead")->text(), QStringLiteral(u"متوفاة"));
    TypeDate("txtDate_of_Birth_G", "01-01-1990");
    TypeDate("txtDate_of_Death_G", "01-01-2020");
    EXPECT_EQ(Find<QLabel>("lbllived")->text(), QStringLiteral(u"عاشت 30 سنة"));
    Load("{A}");
    EXPECT_EQ(Check("chkIsDead")->text(), QStringLiteral(u"متوفى"));
    Load("{F}");
    SetLanguage(QStringLiteral(":/langs/english.local"));
    QApplication::processEvents();
    EXPECT_EQ(Check("chkIsDead")->text(), QStringLiteral("Deceased"));
}

TEST_F(DatesFrameTest, ConflictingDatesAreWarnedAndKeptOut) {
    Load("{A}");
    TypeDate("txtDate_of_Birth_G", "15-03-1990");
    TypeDate("txtDate_of_Death_G", "10-01-1980");
    EXPECT_EQ(Find<QLabel>("lbl_Error")->text(), "Gregorian Dates: Birth date greater than death date.");
    Type(Box("txtPlace_of_Dead"), "Cairo");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Conflict);
    EXPECT_EQ(sink_.Texts(),
              QStringList({"The Gregorian death date 10-01-1980 lies before the birth date 15-03-1990."}));
    EXPECT_TRUE(frame_->HoldsUnsavedDates());
    EXPECT_EQ(Box("txtDate_of_Death_G")->text(), "10-01-1980");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "0");
    EXPECT_EQ(Column("{A}", "Place_of_Death"), "Cairo");
    EXPECT_EQ(Column("{A}", "Is_Dead"), "1");

    // The era boxes count: 500 before the era is before 450 before it.
    Type(Box("txtDate_of_Birth_G"), "01-01-500");
    Check("chkNegativ_BG")->click();
    Type(Box("txtDate_of_Death_G"), "01-01-450");
    Check("chkNegativ_DG")->click();
    frame_->UpdateDateInfo();
    EXPECT_TRUE(Find<QLabel>("lbl_Error")->text().isEmpty());
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Death_G"), "-4500101");
}

TEST_F(DatesFrameTest, ArabicDigitsAreDatesAndAnImpossibleDateIsRefusedByName) {
    Load("{A}");
    TypeDate("txtDate_of_Birth_H", u"١٥-٠٦-١١٥٤"_qs);
    EXPECT_EQ(Box("txtDate_of_Birth_H")->text(), u"١٥-٠٦-١١٥٤"_qs);
    EXPECT_TRUE(Find<QLabel>("lblBirthSince")->text().startsWith("Born ")) << "read as a date";
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_H"), "11540615");
    EXPECT_TRUE(sink_.Texts().isEmpty());

    TypeDate("txtDate_of_Birth_G", "45-13-1741");
    const QString problem = StripBidiControls(Find<QLabel>("lbl_Error")->text());
    EXPECT_TRUE(problem.startsWith("Birth Date (Gregorian): ")) << problem.toStdString();
    EXPECT_TRUE(frame_->HoldsUnsavedDates());
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Invalid);
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Invalid);
    EXPECT_EQ(sink_.Texts(), QStringList{problem}) << "told once for the refusal";
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "45-13-1741");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "17410828") << "the Hijri date's conversion, stored before";
    TypeDate("txtDate_of_Birth_G", "45-14-1741");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Invalid);
    EXPECT_EQ(sink_.Texts().size(), 2) << "a new refusal is told again";
    TypeDate("txtDate_of_Birth_G", u"٠٥-٠٣-١٧٤١"_qs);
    EXPECT_TRUE(Find<QLabel>("lbl_Error")->text().isEmpty());
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "17410305");

    // The calculator takes Arabic digits as well.
    Calculate(u"٦٠"_qs, "");
    EXPECT_TRUE(Box("txtDate_of_Birth_G")->text().endsWith("-1963"))
        << Box("txtDate_of_Birth_G")->text().toStdString();
}

TEST_F(DatesFrameTest, AContradictionIsToldOncePerRefusal) {
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Date_of_Death_G = 19800110 WHERE Person_Id = '{A}'"), 1);
    Load("{A}");
    TypeDate("txtDate_of_Birth_G", "15-03-1990");
    // Leaving the person saves twice (the outline is pressed, then its selection moves).
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Conflict);
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Conflict);
    EXPECT_EQ(sink_.Texts(),
              QStringList({"The Gregorian death date 10-01-1980 lies before the birth date 15-03-1990."}));
    TypeDate("txtDate_of_Birth_G", "16-03-1990");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Conflict);
    EXPECT_EQ(sink_.Texts().size(), 2);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "0");
}

// A full date typed fills the other calendar's box with the same day where nothing is lost; a date the
// user typed there is asked about; a partial date converts nothing.
TEST_F(DatesFrameTest, AFullDateFillsTheOtherCalendarWhereNothingIsLost) {
    Load("{A}");
    TypeDate("txtDate_of_Birth_H", "01-09-1445");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "11-03-2024");
    EXPECT_FALSE(Check("chkNegativ_BG")->isChecked());
    // The Gregorian box held the conversion of the date before: it follows the new one.
    TypeDate("txtDate_of_Birth_H", "02-09-1445");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "12-03-2024");
    EXPECT_TRUE(sink_.requests.isEmpty());
    // A date before the Hijra sets the era box of the Hijri date it fills.
    TypeDate("txtDate_of_Death_G", "01-01-600");
    EXPECT_TRUE(Check("chkNegativ_DH")->isChecked());
    // A Hijri year alone converts nothing; a full Gregorian date of that year completes it silently.
    Load("{F}");
    TypeDate("txtDate_of_Birth_H", "1420");
    EXPECT_TRUE(Box("txtDate_of_Birth_G")->text().isEmpty());
    TypeDate("txtDate_of_Birth_G", "01-01-2000");
    EXPECT_EQ(Box("txtDate_of_Birth_H")->text(), "24-09-1420");
    EXPECT_TRUE(sink_.requests.isEmpty());
    // A date the user typed that names another day is asked about: it stands when so answered, else the
    // new date's conversion takes its place.
    TypeDate("txtDate_of_Death_H", "1440");
    sink_.answer = 2;
    TypeDate("txtDate_of_Death_G", "01-01-2000");
    ASSERT_EQ(sink_.requests.size(), 1);
    EXPECT_EQ(sink_.Texts()[0], "The Gregorian date 01-01-2000 and the Hijri date 1440 are not the same day.|"
                                "Which date stands?");
    EXPECT_EQ(sink_.requests[0].focus, 2) << "the date there stays unless the user says otherwise";
    EXPECT_EQ(Box("txtDate_of_Death_H")->text(), "1440");
    sink_.answer = 1;
    TypeDate("txtDate_of_Death_G", "02-01-2000");
    EXPECT_EQ(Box("txtDate_of_Death_H")->text(), "25-09-1420");
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Column("{F}", "Date_of_Death_H"), "14200925");
}

TEST_F(DatesFrameTest, ConversionsAskFirstAndRefuseWhatTheyCannotConvert) {
    Load("{A}");
    sink_.answer = IDOK;
    Find<QToolButton>("bt_Birth_G_to_H")->click();
    EXPECT_EQ(sink_.Texts(), QStringList({"There is no date to convert."}));
    EXPECT_TRUE(Box("txtDate_of_Birth_H")->text().isEmpty());
    EXPECT_FALSE(frame_->DatesChanged());

    Type(Box("txtDate_of_Death_H"), "01-13-1445");
    Find<QToolButton>("bt_Death_H_to_G")->click();
    EXPECT_TRUE(sink_.Texts().last().startsWith("This date cannot be converted"));
    EXPECT_TRUE(Box("txtDate_of_Death_G")->text().isEmpty());

    Type(Box("txtDate_of_Birth_G"), "01-01-0600");
    sink_.answer = IDCANCEL;
    Find<QToolButton>("bt_Birth_G_to_H")->click();
    EXPECT_TRUE(Box("txtDate_of_Birth_H")->text().isEmpty());
    EXPECT_EQ(sink_.requests.last().caption, "Convert Date to Hijri");
    EXPECT_TRUE(sink_.requests.last().text.startsWith("Hijri Date:|"));
    sink_.answer = IDOK;
    Find<QToolButton>("bt_Birth_G_to_H")->click();
    EXPECT_FALSE(Box("txtDate_of_Birth_H")->text().isEmpty());
    EXPECT_FALSE(Box("txtDate_of_Birth_H")->text().contains(u"--"));
    EXPECT_TRUE(Check("chkNegativ_BH")->isChecked());
    EXPECT_TRUE(sink_.requests.last().text.endsWith(" B.h"));

    // Back to the Gregorian calendar: the same day, in the era, so its era box is cleared.
    Check("chkNegativ_BG")->setChecked(true);
    Find<QToolButton>("bt_Birth_H_to_G")->click();
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "01-01-600");
    EXPECT_FALSE(Check("chkNegativ_BG")->isChecked());
}

TEST_F(DatesFrameTest, CalculatorFillsDatesAndOnlyEverChecksDeceased) {
    Load("{A}");
    Calculate("60", "");
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "15-05-1963");
    EXPECT_EQ(ReadDateBox({Box("txtDate_of_Birth_H")->text(), false}, TCalendar::Hijri), 13821221);
    EXPECT_TRUE(Box("txtDate_of_Death_G")->text().isEmpty());
    EXPECT_FALSE(Check("chkIsDead")->isChecked());
    EXPECT_TRUE(frame_->DatesChanged());

    // A deceased person without death dates stays deceased.
    ASSERT_TRUE(SetDead("{F}", true));
    Load("{F}");
    ASSERT_TRUE(Check("chkIsDead")->isChecked());
    Calculate("70", "");
    EXPECT_TRUE(Check("chkIsDead")->isChecked());
    Calculate("70", "3");
    EXPECT_EQ(Box("txtDate_of_Death_G")->text(), "15-05-2020");
    EXPECT_TRUE(Check("chkIsDead")->isChecked());
    EXPECT_EQ(frame_->SaveDates(), TSaveResult::Written);
    EXPECT_EQ(Column("{F}", "Date_of_Death_G"), "20200515");

    // OK without a change leaves an exact date as it is.
    Type(Box("txtDate_of_Birth_G"), "31-01-1990");
    frame_->UpdateDateInfo();
    WithDialog<TfrmDateApproach>([](TfrmDateApproach* dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit*>("txtYears")->text(), "33");
        dialog->accept();
    });
    frame_->bt_Calc_DateClick();
    EXPECT_EQ(Box("txtDate_of_Birth_G")->text(), "31-01-1990");
}

TEST_F(DatesFrameTest, CalculatorGivenAPersonWritesItsRow) {
    TfrmDateApproach calculator;
    calculator.Today = [this] {
        return today_;
    };
    calculator.SetPersonId("{A}");
    calculator.SetEstimates({}, {3, 0, 0});
    QSignalSpy written(&calculator, &TfrmDateApproach::DatesWritten);
    QTimer::singleShot(0, &calculator, [&calculator] {
        EXPECT_FALSE(calculator.findChild<QLabel*>("lbl_Death_G")->text().isEmpty());
        calculator.accept();
    });
    EXPECT_EQ(calculator.exec(), QDialog::Accepted);
    EXPECT_EQ(written.count(), 1);
    EXPECT_EQ(Column("{A}", "Date_of_Death_G"), "20200515");
    EXPECT_EQ(Column("{A}", "Is_Dead"), "1");
    EXPECT_TRUE(calculator.findChild<QLabel*>("lbl_Death_G")->text().isEmpty());

    // A birth estimated after that death is refused as the sheet refuses it: told once, nothing written,
    // and the calculator stays open for another estimate.
    calculator.SetEstimates({1, 0, 0}, {});
    QTimer::singleShot(0, &calculator, [&calculator] {
        calculator.accept();
        EXPECT_TRUE(calculator.isVisible());
        calculator.reject();
    });
    EXPECT_EQ(calculator.exec(), QDialog::Rejected);
    EXPECT_EQ(sink_.Texts(), QStringList({"The dates were not saved because they contradict each other."}));
    EXPECT_EQ(written.count(), 1);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "0");
}

// Choosing Umm al-Qura changes the conversions made from then on; the dates the tree holds stay as they were.
// Entering a date box switches to a Latin layout and leaving it back to the interface language's, where the
// desktop offers both; with only one of them the keyboard stays as the user set it.
TEST_F(DatesFrameTest, DateBoxesAreTypedOnALatinLayout) {
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    auto focus = [](QWidget* box, QEvent::Type type) {
        QFocusEvent event(type, Qt::TabFocusReason);
        QApplication::sendEvent(box, &event);
    };
    {
        TFakeKeyboardGroups desktop({kArabicLayout, kFrenchLayout});
        focus(Box("txtDate_of_Birth_H"), QEvent::FocusIn);
        EXPECT_EQ(desktop.CurrentName(), QStringLiteral("French"));
        focus(Box("txtDate_of_Birth_H"), QEvent::FocusOut);
        EXPECT_EQ(desktop.CurrentName(), QStringLiteral("Arabic"));
        // A place is typed in the interface language: its box switches nothing.
        focus(Box("txtPlace_of_Birth"), QEvent::FocusIn);
        EXPECT_EQ(desktop.switches, 2);
    }
    for (const QList<TKeyboardGroup>& offered :
         {QList<TKeyboardGroup>{kArabicLayout, kPersianLayout}, QList<TKeyboardGroup>{kUsLayout}}) {
        TFakeKeyboardGroups desktop(offered);
        focus(Box("txtDate_of_Death_G"), QEvent::FocusIn);
        focus(Box("txtDate_of_Death_G"), QEvent::FocusOut);
        EXPECT_EQ(desktop.switches, 0) << offered.size();
    }
    // Without switchable layouts (Wayland) nothing is asked of the desktop.
    focus(Box("txtDate_of_Birth_G"), QEvent::FocusIn);
    focus(Box("txtDate_of_Birth_G"), QEvent::FocusOut);
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
}

TEST_F(DatesFrameTest, UmmAlQuraConvertsFromThenOnAndKeepsStoredDates) {
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Date_of_Birth_G = 20200101, Date_of_Birth_H = 14410505 "
                           "WHERE Person_Id = '{A}'"),
              1);
    SetHijriCalendar(HijriCalendar::UmmAlQura);
    Load("{A}");
    EXPECT_EQ(Box("txtDate_of_Birth_H")->text(), "05-05-1441");
    frame_->SaveDates();
    EXPECT_EQ(Column("{A}", "Date_of_Birth_H"), "14410505");

    sink_.answer = IDOK;
    frame_->bt_Birth_G_to_HClick();
    EXPECT_EQ(Box("txtDate_of_Birth_H")->text(), "06-05-1441");
    frame_->SaveDates();
    EXPECT_EQ(Column("{A}", "Date_of_Birth_H"), "14410506");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "20200101");
    SetHijriCalendar(HijriCalendar::Tabular);
}

} // namespace
} // namespace verdan::test
