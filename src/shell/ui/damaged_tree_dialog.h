#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace verdan {

// What the user wants done with a damaged tree.
enum class TDamageChoice { Rescue, ReadOnly, Cancel };

// Says that a tree file is damaged, in the interface language, with the engine's words only under
// "Details", and offers "Rescue a copy" (which starts with the focus), "Open read-only" and "Cancel".
// Escape and every other way of closing it answer Cancel.
class TfrmDamagedTree : public QDialog {
    Q_OBJECT

public:
    TfrmDamagedTree(const QString& path, const QString& reason, QWidget* parent = nullptr);

    TDamageChoice Choice() const { return choice_; }
    QPushButton* RescueButton() const { return btRescue_; }
    QPushButton* ReadOnlyButton() const { return btReadOnly_; }
    QPushButton* CancelButton() const { return btCancel_; }
    QPushButton* DetailsButton() const { return btDetails_; }
    QPlainTextEdit* DetailsBox() const { return txtDetails_; }

    // Shows the dialog modally and returns the choice.
    static TDamageChoice Ask(QWidget* parent, const QString& path, const QString& reason);

private:
    void Choose(TDamageChoice choice);
    void ToggleDetails();

    TDamageChoice choice_ = TDamageChoice::Cancel;
    QPushButton* btRescue_;
    QPushButton* btReadOnly_;
    QPushButton* btCancel_;
    QPushButton* btDetails_;
    QPlainTextEdit* txtDetails_;
};

} // namespace verdan
