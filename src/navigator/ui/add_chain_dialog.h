#pragma once

#include "navigator/ui/add_dialog.h"

#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;

namespace verdan {

// Lineage chain entry: the user types a sentence "Name son of Name son of Name .." or the same names one
// a line, and the dialog creates them all as a line of fathers and sons under one person, the last name
// the oldest.
class TfrmAddChain : public TAddDialog {
    Q_OBJECT

public:
    explicit TfrmAddChain(QWidget* parent = nullptr);

    // Opens the dialog for a chain under the person ("-1": on the first level); true when persons were
    // created.
    bool Ask(const QString& personId);

    // The youngest person created (the first name), whom the outline selects; empty when none.
    QString ResultId() const { return created_.isEmpty() ? QString() : created_.last(); }
    QStringList CreatedIds() const { return created_; }

    QRadioButton* PathButton() const { return rbPath_; }
    QRadioButton* ListButton() const { return rbList_; }
    QPlainTextEdit* PathEdit() const { return txtChainPath_; }
    QPlainTextEdit* ListEdit() const { return txtChainList_; }
    bool SentenceForm() const;

private:
    void TranslateTexts() override;
    bool Commit() override;
    void ResetFields() override;
    void ShowForm();

    QRadioButton* rbPath_;
    QRadioButton* rbList_;
    QStackedWidget* pages_;
    QPlainTextEdit* txtChainPath_;
    QPlainTextEdit* txtChainList_;
    QLabel* lbl_Help_;
    QString personId_;
    QStringList created_;
};

} // namespace verdan
