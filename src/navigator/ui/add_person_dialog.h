#pragma once

#include "navigator/family_links.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace verdan {

class TfrmTreeDialog;

// Takes the name, notes and, when the user wants, the father and mother of a new wife or husband before
// the mate is created. The parents are chosen in the person picker.
class TfrmAddPerson : public QDialog {
    Q_OBJECT

public:
    TfrmAddPerson(TfrmTreeDialog* picker, QWidget* parent = nullptr);

    // Opens the dialog for a new person of the gender ("f" a wife, "m" a husband); true after OK.
    bool Ask(const QString& gender);

    bool Accepted() const { return accepted_; }
    // The mate as typed, with the parents chosen in this opening.
    TNewMate Mate() const;

    QLineEdit* NameEdit() const { return txtName_; }
    QPlainTextEdit* NotesEdit() const { return txtNotes_; }
    QPushButton* OkButton() const { return btOk_; }
    QLabel* FatherLabel() const { return lblFather_; }
    QLabel* MotherLabel() const { return lblMother_; }

    // The father and mother buttons: the picker, then the choice checked.
    void AssignFatherClick();
    void AssignMotherClick();

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void AssignParent(bool father);

    TfrmTreeDialog* picker_;
    QLabel* lblName_;
    QLineEdit* txtName_;
    QLabel* lblNotes_;
    QPlainTextEdit* txtNotes_;
    QPushButton* btAssignFather_;
    QPushButton* btAssignMother_;
    QLabel* lblFather_;
    QLabel* lblMother_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
    QString gender_;
    QString fatherId_;
    QString motherId_;
    bool accepted_ = false;
};

} // namespace verdan
