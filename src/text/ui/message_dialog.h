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
// buttons its flags ask for. Lines longer than the dialog wrap; the dialog is never wider than its screen.
// exec() returns the chosen button's code; leaving it any other way returns the refusal code.
class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMsg(const TMessageRequest& request, QWidget* parent = nullptr);

    // Height of the text block, which decides where the buttons stand.
    int TextBlockHeight() const { return textBlockHeight_; }

    void reject() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Choose(int code);
    void MoveCurrent(int step);
    bool Shows(int code) const { return codes_.contains(code); }
    // Lays out the headline and body for the current width, drawing them when a painter is given; returns
    // the text-block height.
    int LayOutTexts(QPainter* painter) const;
    void PlaceButtons();

    TMessageRequest request_;
    QList<int> codes_;            // the buttons in the order the keyboard walks them
    QList<QPushButton*> buttons_; // same order as codes_
    TMsgCloseButton* imgClose_ = nullptr;
    QPixmap icon_;
    int current_ = 1; // 1-based index into codes_ used by Enter and Space
    int textBlockHeight_ = 0;
    bool dragging_ = false;
    QPoint dragOffset_;
};

// Makes every Msg function show a TfrmMsg. Called once by the desktop program.
void InstallMessageDialogs();

} // namespace verdan
