#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace verdan {

// Creates many sons and daughters of one person, or of a couple, from two lists of names, one a line; a
// line of the sons ending in "+" is a daughter. Pasted text is cut into names.
class TfrmAddChildren : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAddChildren(QWidget* parent = nullptr);

    // Opens the dialog for the father and mother given (either may be empty), showing the name; true when
    // children were created.
    bool Ask(const QString& fatherId, const QString& motherId, const QString& parentName);

    bool Accepted() const { return accepted_; }
    QStringList CreatedIds() const { return created_; }

    QPlainTextEdit* SonsList() const { return txtChildMale_; }
    QPlainTextEdit* DaughtersList() const { return txtChildFemale_; }
    QLabel* PersonNameLabel() const { return lblPersonName_; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();

    QLabel* lblPersonName_;
    QLabel* lblSons_;
    QLabel* lblDaughters_;
    QPlainTextEdit* txtChildMale_;
    QPlainTextEdit* txtChildFemale_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
    QString fatherId_;
    QString motherId_;
    QStringList created_;
    bool accepted_ = false;
};

} // namespace verdan
