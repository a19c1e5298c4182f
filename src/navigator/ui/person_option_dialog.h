#pragma once

#include "storage/person_option_store.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace verdan {

// How the outline shows one person: its icon, the colour of its name, a title after the name, and
// whether its picture and name are hidden and it is kept out of what is published.
class TfrmPersonOption : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPersonOption(QWidget* parent = nullptr);

    // Shows the person's options modally; true when OK wrote them. Nothing for a blank identifier.
    bool Edit(const QString& personId);
    // The options as the dialog holds them now.
    TPersonOption Options() const;
    void SetColor(qint32 bgr);

    QComboBox* IconBox() const { return cmbIcon_; }
    QComboBox* TitleBox() const { return cmbTitle_; }
    QLabel* ColorLabel() const { return lblColor_; }
    QCheckBox* HidePictureBox() const { return chkHidePicture_; }
    QCheckBox* HideNameBox() const { return chkHideName_; }
    QCheckBox* DenyPublishBox() const { return chkDenyPublish_; }
    QPushButton* OkButton() const { return btOk_; }

    // The icon identifiers the box offers after "Default" (0): the outline's images 11 to 17.
    static constexpr int kFirstIcon = 11;
    static constexpr int kLastIcon = 17;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TranslateTexts();
    void Load(const TPersonOption& option);
    void ChooseColor();

    QString personId_;
    int storedIcon_ = 0;
    bool iconChanged_ = false;
    bool loading_ = false;
    qint32 color_ = 0;
    QLabel* lblColorCaption_;
    QLabel* lblIconCaption_;
    QLabel* lblTitleCaption_;
    QLabel* lblColor_;
    QToolButton* btNoColor_;
    QComboBox* cmbIcon_;
    QComboBox* cmbTitle_;
    QCheckBox* chkHidePicture_;
    QCheckBox* chkHideName_;
    QCheckBox* chkDenyPublish_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
