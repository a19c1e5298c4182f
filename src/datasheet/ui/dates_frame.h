#pragma once

#include "datasheet/date_boxes.h"
#include "datasheet/sheet_edits.h"
#include "text/keyboard_layout.h"

#include <QDate>
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace verdan {

class TDateValueRows;
class TfrmDateApproach;

// The dates section of the data sheet: birth and death in the Gregorian and the Hijri calendar with their
// era boxes, the places, the deceased flag, conversions between the calendars, the time since birth and
// death, the lifetime and the death-before-birth warning. Edits stay in the boxes until SaveDates.
class TframDates : public QWidget {
    Q_OBJECT
public:
    explicit TframDates(QWidget* parent = nullptr);

    // Fills the section from the person's record (a record without identifier: nobody); pending edits of
    // the person before are forgotten, so the caller saves them first.
    void LoadDates(const TPerson& person);
    void Clear() { LoadDates(TPerson()); }
    // Writes the pending edits. A death before the birth, or a box that holds no day of its calendar,
    // keeps the dates out of the tree file (the places and the deceased flag are written) and says what is
    // wrong once for each refusal: a second save of the same boxes says nothing more before the user
    // presses a key or a button again.
    TSaveResult SaveDates();
    // The boxes the user changed cannot be written (a date that is none, a death before the birth): what
    // was typed must stay on screen.
    bool HoldsUnsavedDates() const;
    // Why, as SaveDates tells it; empty when they can be written.
    QString UnsavedDatesText() const;
    // Puts typed boxes back after the section was filled again for the same person, as pending edits.
    void ShowTyped(const TDateBoxes& boxes);
    // Recomputes the spans, their texts and the warning from the boxes.
    void UpdateDateInfo();

    QString PersonId() const { return edits_.PersonId(); }
    bool DatesChanged() const { return edits_.Changed(); }
    TDateBoxes Boxes() const;
    const TDateInfo& Info() const { return info_; }
    TfrmDateApproach* Calculator() const { return calculator_; }
    TDateValueRows* BirthDetail() const { return birthDetail_; }
    TDateValueRows* DeathDetail() const { return deathDetail_; }
    void TranslateTexts();

    // Today's date; tests fix it.
    std::function<QDate()> Today = [] {
        return QDate::currentDate();
    };

    // The buttons' commands.
    void bt_Birth_G_to_HClick();
    void bt_Birth_H_to_GClick();
    void bt_Death_G_to_HClick();
    void bt_Death_H_to_GClick();
    void bt_Calc_DateClick();
    void bt_Show_Death_DataClick();

signals:
    void DatesSaved(const QString& personId);
    void Edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct DateRow {
        QLabel* label = nullptr;
        QLineEdit* box = nullptr;
        QCheckBox* era = nullptr;
        QToolButton* convert = nullptr;
    };
    DateRow AddDateRow(QWidget* parent, const char* box, const char* era, const char* button,
                       const char16_t* icon);
    void Convert(const DateRow& from, const DateRow& to, TCalendar calendar);
    void SetBox(const DateRow& row, const TDateBox& value);
    void MarkChanged();
    void ShowInfo();
    void ForgetRefusalOnNextInput();
    void UpdateDeceasedCaption();
    // A full date typed into a box fills the other calendar's box where nothing is lost (asks otherwise).
    void PairAfterTyping(const DateRow& typed, const DateRow& other, TCalendar calendar);

    TDatesEdits edits_;
    bool refusalShown_ = false; // the boxes as they are now were refused with a message
    TDateBox entered_;          // the date box the focus is in, as it was when it got there
    QString gender_;
    TDateInfo info_;
    bool filling_ = false;
    TKeyboardLayout keyboard_;
    TfrmDateApproach* calculator_;

    QLabel* lblDateHead_;
    DateRow birthG_;
    DateRow birthH_;
    DateRow deathG_;
    DateRow deathH_;
    TDateValueRows* birthDetail_;
    TDateValueRows* deathDetail_;
    QLabel* lblPlaceBirth_;
    QLineEdit* txtPlace_of_Birth_;
    QLabel* lblBirthSince_;
    QPushButton* bt_Show_Death_Data_;
    QPushButton* bt_Calc_Date_;
    QWidget* pnlDeathData_;
    QCheckBox* chkIsDead_;
    QLabel* lblPlaceDeath_;
    QLineEdit* txtPlace_of_Dead_;
    QLabel* lblDeathSince_;
    QLabel* lbllived_;
    QLabel* lbl_Error_;
};

} // namespace verdan
