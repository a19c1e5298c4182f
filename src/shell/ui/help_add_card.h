#pragma once

#include <QWidget>

class QGridLayout;
class QLabel;
class QStackedWidget;

namespace verdan {

// The data-entry help card: a small window without a title bar, above the others, that tells a new user
// how to add persons and edit their names, and how to attach a person elsewhere. It is moved by dragging
// it anywhere and closed by its "Close" link or Escape.
class Tfrm_Help_Add : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_Help_Add(QWidget* parent = nullptr);

    // Shows the card centred on `over` (its parent window when null) at its first page.
    void ShowCard(QWidget* over = nullptr);
    // 0 the page on adding and names, 1 the page on attaching.
    void ShowPage(int page);
    int CurrentPage() const;

    QLabel* EditLink() const { return lbl_Edit_; }
    QLabel* MoveLink() const { return lbl_Move_; }
    QLabel* CloseLink() const { return lbl_Close_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void TranslateTexts();
    void Watch(QWidget* widget);

    QLabel* lbl_Edit_;
    QLabel* lbl_Move_;
    QLabel* lbl_Close_;
    QStackedWidget* pages_;
    QLabel* lblEditText_;
    QLabel* lblKeysTitle_;
    QGridLayout* keys_;
    QList<QLabel*> keyNames_;
    QList<QLabel*> keyCommands_;
    QLabel* lblMoveTitle_;
    QLabel* lblMoveText_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

} // namespace verdan
