#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace verdan {

// The options a user sets by hand: opening the last tree at start, level colours in the outline, the
// interface language and the Hijri calendar. OK saves the options document; a changed language takes
// effect at once, a changed calendar for the conversions made from then on (stored dates stay as they are).
class Tfrm_Options : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_Options(QWidget* parent = nullptr);

    QCheckBox* OpenLastTreeBox() const { return chkOpenLastTree_; }
    QCheckBox* LevelColorsBox() const { return chkLevelColors_; }
    QComboBox* LanguageList() const { return cmbLanguage_; }
    // Tabular (0) or Umm al-Qura (1).
    QComboBox* HijriCalendarList() const { return cmbHijriCalendar_; }

    void accept() override;

signals:
    // After OK switched the interface language; windows retranslate themselves.
    void LanguageChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lblLanguage_;
    QComboBox* cmbLanguage_;
    QLabel* lblHijriCalendar_;
    QComboBox* cmbHijriCalendar_;
    QCheckBox* chkOpenLastTree_;
    QCheckBox* chkLevelColors_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
