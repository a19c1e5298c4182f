#pragma once

#include <QDialog>

class QPushButton;
class QVBoxLayout;

namespace verdan {

// What the dialogs that add persons share: OK and Cancel last in the tab order and under the fields,
// texts that follow the interface language, and whether the last opening ended in OK.
class TAddDialog : public QDialog {
    Q_OBJECT

public:
    explicit TAddDialog(QWidget* parent = nullptr);

    bool Accepted() const { return accepted_; }

public slots:
    void accept() override;
    void reject() override;

protected:
    // Makes OK and Cancel; called after the fields are made, so that the buttons come after them.
    void CreateButtons();
    // The dialog's own layout with its margins; the fields go in it, then AddButtonRow.
    QVBoxLayout* CreateLayout();
    void AddButtonRow(QVBoxLayout* layout);

    // Sets the dialog's texts in the interface language; OK and Cancel are done here.
    virtual void TranslateTexts() = 0;
    // Does the dialog's work on OK; false keeps the dialog open (a failure was reported or the input
    // is not complete).
    virtual bool Commit() = 0;
    // Empties the fields for a new opening and puts the focus in the first.
    virtual void ResetFields() = 0;

    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

    QPushButton* btOk_ = nullptr;
    QPushButton* btCancel_ = nullptr;

private:
    void TranslateAll();

    bool accepted_ = false;
};

} // namespace verdan
