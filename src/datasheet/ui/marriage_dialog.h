#pragma once

#include "storage/marriage_facts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace verdan {

class TDateValueRows;

// The facts of one marriage: the wedding's date (both calendars, with its qualifier) and place, the
// divorce's date and place, and the marriage's notes.
class TfrmMarriage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMarriage(QWidget* parent = nullptr);

    // Starts with the facts of the marriage of the two named persons.
    void Edit(const TMarriageFacts& facts, const QString& husbandName, const QString& wifeName);
    TMarriageFacts Result() const;
    // What keeps a date box from holding a day; empty when they all do.
    QString Problem() const;
    void TranslateTexts();

    void accept() override;

private:
    TMarriageFacts facts_;
    QString names_;
    QLabel* lblCouple_;
    QLabel* lblMarried_;
    TDateValueRows* married_;
    QLabel* lblPlace_;
    QLineEdit* txtPlace_;
    QLabel* lblDivorced_;
    TDateValueRows* divorced_;
    QLabel* lblDivorcePlace_;
    QLineEdit* txtDivorcePlace_;
    QLabel* lblNotes_;
    QPlainTextEdit* txtNotes_;
};

} // namespace verdan
