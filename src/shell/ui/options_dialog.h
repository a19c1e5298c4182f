#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace verdan {

// The options a user sets by hand: opening the last tree at start, level colours in the outline and the
// interface language. OK saves the options document; a changed language takes effect at once.
class Tfrm_Options : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_Options(QWidget* parent = nullptr);

    QCheckBox* OpenLastTreeBox() const { return chkOpenLastTree_; }
    QCheckBox* LevelColorsBox() const { return chkLevelColors_; }
    QComboBox* LanguageList() const { return cmbLanguage_; }

    void accept() override;

signals:
    // After OK switched the interface language; windows retranslate themselves.
    void LanguageChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lblLanguage_;
    QComboBox* cmbLanguage_;
    QCheckBox* chkOpenLastTree_;
    QCheckBox* chkLevelColors_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
