#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace verdan {

// The number of a person's descendants, males and females: through the sons and daughters, and with
// "Include female descendants" also through the children of the women among them. It stays above the
// other windows and follows the person selected in the outline while it is shown.
class TfrmPersonInfo : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPersonInfo(QWidget* parent = nullptr);

    // Shows the window for the person, the box set as given, and counts.
    void ShowPersonStatistics(const QString& personId, bool includeFemale);
    // Another person, the box as the user left it; nothing while the window is hidden.
    void FollowPerson(const QString& personId);
    void Calculate();

    QString PersonId() const { return personId_; }
    QLabel* NameLabel() const { return lblName_; }
    QLineEdit* MalesBox() const { return txtMales_; }
    QLineEdit* FemalesBox() const { return txtFemales_; }
    QLineEdit* TotalBox() const { return txtTotal_; }
    QCheckBox* IncludeFemaleBox() const { return chkIncludeFemale_; }
    QPushButton* CalculateButton() const { return btCalculate_; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void TranslateTexts();

    QString personId_;
    QLabel* lblName_;
    QLabel* lblMales_;
    QLabel* lblFemales_;
    QLabel* lblTotal_;
    QLineEdit* txtMales_;
    QLineEdit* txtFemales_;
    QLineEdit* txtTotal_;
    QCheckBox* chkIncludeFemale_;
    QPushButton* btCalculate_;
    QPushButton* btClose_;
};

} // namespace verdan
