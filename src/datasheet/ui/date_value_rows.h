#pragma once

#include "datasheet/date_value_boxes.h"

#include <QObject>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace verdan {

class TFormGrid;

// The box converted into the other calendar once the user confirms the converted day; none, after saying
// why, when the box holds no date that converts, and none when the user cancels.
std::optional<TDateBox> ConvertConfirmed(const TDateBox& box, TCalendar from);

// The rows that edit one dated fact on a form: with the first date, its Gregorian and Hijri boxes with their
// era boxes; then the qualifier, the second date of a range in both calendars and the words, each row shown
// only where the qualifier reads it. Each date box has a button that converts it into the other calendar's
// box, after the user confirms the converted day.
class TDateValueRows : public QObject {
    Q_OBJECT
public:
    // Adds the rows to the grid of `parent`; object names start with `name` ("Married" gives
    // cmbMarriedQualifier, txtMarried_G2 ..).
    TDateValueRows(TFormGrid* grid, QWidget* parent, const QString& name, bool withFirstDate);

    // Fills every box from the value, which Value keeps what the boxes cannot show of (dual years).
    void SetValue(const TDateValue& value);
    // The value the boxes hold (the first date from the caller's boxes when the rows have none).
    TDateValue Value() const;
    TDateValue Value(int gregorian, int hijri) const;
    TDateDetailBoxes DetailBoxes() const;
    void SetDetailBoxes(const TDateDetailBoxes& boxes);
    TDateValueBoxes Boxes() const;
    // What keeps a box from holding a day of its calendar, named after `caption`; empty when every box does.
    QString Problem(const QString& caption) const;
    void SetQualifier(TDateQualifier qualifier);
    void TranslateTexts();

signals:
    void Edited();

private:
    struct DateRow {
        int row = -1;
        QLabel* label = nullptr;
        QLineEdit* box = nullptr;
        QCheckBox* era = nullptr;
        QToolButton* convert = nullptr;
    };
    DateRow AddDateRow(const QString& name, const char16_t* icon);
    void Convert(const DateRow& from, const DateRow& to, TCalendar calendar);
    void ShowRows();

    TFormGrid* grid_;
    QWidget* parent_;
    bool withFirst_;
    bool filling_ = false;
    TDateValue shown_;
    DateRow gregorian_, hijri_, gregorian2_, hijri2_;
    int qualifierRow_ = -1;
    int phraseRow_ = -1;
    QLabel* lblQualifier_;
    QComboBox* cmbQualifier_;
    QLabel* lblPhrase_;
    QLineEdit* txtPhrase_;
};

} // namespace verdan
