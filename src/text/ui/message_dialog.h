#pragma once

#include "text/messages.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QPixmap>

class QPushButton;

namespace verdan {

// Where a message dialog of `size` opens on `screen`: centred when requested.x() <= 0, otherwise with its
// top-left corner at the requested point, pulled back inside the screen with a 5-pixel margin.
QPoint PlaceMessageDialog(const QPoint& requested, const QSize& size, const QRect& screen);

// The small close picture in the dialog's top-right corner; highlighted while the mouse is over it.
class TMsgCloseButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TMsgCloseButton(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// One message: a borderless white window with caption line, icon, blue headline and black body, and the
// request's buttons. Lines longer than the dialog wrap; the dialog is never wider than its screen.
// The keyboard moves the visible focus among the buttons and Enter or Space presses the focused one;
// exec() returns the chosen button's code, and Escape or leaving it any other way the escape code.
class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMsg(const TMessageRequest& request, QWidget* parent = nullptr);

    // Height of the text block, which decides where the buttons stand.
    int TextBlockHeight() const { return textBlockHeight_; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Choose(int code);
    // Answers a key the dialog knows; false for the others.
    bool HandleKey(const QKeyEvent* event);
    // The button `step` places after the focused one in choice order (Tab, Up, Down) or on the screen
    // (Left, Right), wrapping round.
    void MoveFocus(int step, bool onScreen);
    int FocusedIndex() const;
    bool Shows(int code) const;
    // Lays out the headline and body for the current width, drawing them when a painter is given; returns
    // the text-block height.
    int LayOutTexts(QPainter* painter) const;
    void PlaceButtons();

    TMessageRequest request_;
    QList<QPushButton*> buttons_;  // in the order of request_.answers
    QList<QPushButton*> onScreen_; // the same buttons from left to right
    TMsgCloseButton* imgClose_ = nullptr;
    QPixmap icon_;
    int textBlockHeight_ = 0;
    bool dragging_ = false;
    QPoint dragOffset_;
};

// Makes every Msg function show a TfrmMsg. Called once by the desktop program.
void InstallMessageDialogs();

} // namespace verdan
