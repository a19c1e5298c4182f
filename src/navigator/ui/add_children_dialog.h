#pragma once

#include "navigator/ui/add_dialog.h"

#include <QStringList>

class QLabel;
class QPlainTextEdit;

namespace verdan {

// Creates many sons and daughters of one person, or of a couple, from two lists of names, one a line; a
// line of the sons ending in "+" is a daughter. Pasted text is cut into names.
class TfrmAddChildren : public TAddDialog {
    Q_OBJECT

public:
    explicit TfrmAddChildren(QWidget* parent = nullptr);

    // Opens the dialog for the father and mother given (either may be empty), showing the name; true when
    // children were created.
    bool Ask(const QString& fatherId, const QString& motherId, const QString& parentName);

    QStringList CreatedIds() const { return created_; }

    QPlainTextEdit* SonsList() const { return txtChildMale_; }
    QPlainTextEdit* DaughtersList() const { return txtChildFemale_; }
    QLabel* PersonNameLabel() const { return lblPersonName_; }

private:
    void TranslateTexts() override;
    bool Commit() override;
    void ResetFields() override;

    QLabel* lblPersonName_;
    QLabel* lblSons_;
    QLabel* lblDaughters_;
    QPlainTextEdit* txtChildMale_;
    QPlainTextEdit* txtChildFemale_;
    QString fatherId_;
    QString motherId_;
    QStringList created_;
};

} // namespace verdan
