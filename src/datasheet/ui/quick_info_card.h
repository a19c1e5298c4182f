#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QLabel;
class QScrollArea;
class QToolButton;

namespace verdan {

// The quick info card: a small borderless card that stays on top and never takes the keyboard focus,
// showing the lineage name, the mother and the mates of the person the user points at or chooses in any
// list of persons. Dragged by pressing anywhere on it; the close button hides it.
class TfrmQuickInfo : public QWidget {
    Q_OBJECT
public:
    explicit TfrmQuickInfo(QWidget* parent = nullptr);

    // Shows the person, while a tree is open and the card is visible; otherwise nothing.
    void RefreshQuickInfo(const QString& personId);
    // Empties the card.
    void ClearCard();
    // Shows the card at its place without taking the focus, or hides it.
    void ShowCard();
    void Toggle();
    QString PersonId() const { return personId_; }
    void TranslateTexts();

    QLabel* NameLabel() const { return lblName_; }
    QLabel* MotherLabel() const { return lblMother_; }
    QLabel* MotherNameLabel() const { return lblMotherName_; }
    QLabel* MateLabel() const { return lblMate_; }
    QLabel* MateNameLabel() const { return lblMateName_; }

signals:
    // Shown or hidden: the menu entry's check follows.
    void VisibilityChanged(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Where the keyboard was before the card showed, so the card can give it back.
    void GiveFocusBack();

    QString personId_;
    QPointer<QWidget> keyboardOwner_;
    QPoint pressOffset_;
    bool moving_ = false;
    bool placed_ = false;

    QWidget* frame_;
    QLabel* lblName_;
    QLabel* lblMother_;
    QLabel* lblMotherName_;
    QLabel* lblMate_;
    QLabel* lblMateName_;
    QScrollArea* scrMates_;
    QToolButton* Image1_;
};

} // namespace verdan
