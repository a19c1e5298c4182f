#pragma once

#include "datasheet/date_conversion.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace verdan {

// The date calculator: turns an estimated time since birth and since death (years, months, days) into
// dates, previewed in both calendars while the user types. Given a person, OK also writes the estimated
// dates into that person's row.
class TfrmDateApproach : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDateApproach(QWidget* parent = nullptr);

    // The person whose row OK writes; empty: the caller takes the result.
    void SetPersonId(const QString& personId) { personId_ = personId; }
    QString PersonId() const { return personId_; }
    // The numbers the boxes start with.
    void SetEstimates(const TDateEstimate& birth, const TDateEstimate& death);

    // The numbers of the last OK; a box that held no number counts 0.
    TDateEstimate Birth() const { return birth_; }
    TDateEstimate Death() const { return death_; }
    bool Accepted() const { return accepted_; }

    // Today's date; tests fix it.
    std::function<QDate()> Today = [] {
        return QDate::currentDate();
    };

    void accept() override;
    void done(int result) override;

signals:
    // A person's dates were written by OK.
    void DatesWritten(const QString& personId);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* NumberBox(const char* name, int digits);
    TDateEstimate Read(QLineEdit* years, QLineEdit* months, QLineEdit* days) const;
    void UpdatePreview();
    void TranslateTexts();

    QString personId_;
    TDateEstimate birth_;
    TDateEstimate death_;
    bool accepted_ = false;
    QLabel* lblBirth_;
    QLabel* lblDeath_;
    QList<QLabel*> heads_;
    QLineEdit* txtYears_;
    QLineEdit* txtMonths_;
    QLineEdit* txtDays_;
    QLineEdit* txtYearsDeath_;
    QLineEdit* txtMonthsDeath_;
    QLineEdit* txtDaysDeath_;
    QLabel* lbl_Birth_G_;
    QLabel* lbl_Birth_H_;
    QLabel* lbl_Death_G_;
    QLabel* lbl_Death_H_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
