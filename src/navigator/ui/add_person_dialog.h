#pragma once

#include "navigator/family_links.h"
#include "navigator/ui/add_dialog.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace verdan {

class TfrmTreeDialog;

// Takes the name, notes and, when the user wants, the father and mother of a new wife or husband before
// the mate is created. The parents are chosen in the person picker.
class TfrmAddPerson : public TAddDialog {
    Q_OBJECT

public:
    TfrmAddPerson(TfrmTreeDialog* picker, QWidget* parent = nullptr);

    // Opens the dialog for a new person of the gender ("f" a wife, "m" a husband); true after OK.
    bool Ask(const QString& gender);

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

private:
    void TranslateTexts() override;
    bool Commit() override;
    void ResetFields() override;
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
    QString gender_;
    QString fatherId_;
    QString motherId_;
};

} // namespace verdan
