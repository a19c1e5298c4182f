#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace verdan {

// Asks for the value of a custom filter, or two values for a range. The boxes keep what was typed at
// the previous use.
class Tfrm_Filter : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_Filter(QWidget* parent = nullptr);

    // Shows the dialog with the prompt (or "Value" when it is blank); true on OK.
    bool Ask(const QString& prompt, bool between);
    QString Value1() const;
    QString Value2() const;

    QLineEdit* txt_Value_1;
    QLineEdit* txt_Value_2;

private:
    QLabel* lbl_Prompt_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
