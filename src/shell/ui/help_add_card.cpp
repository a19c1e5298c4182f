#include "shell/ui/help_add_card.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr QSize kCardSize(639, 427);
const QColor kChosenLink(0, 0, 255);
const QColor kOtherLink(0, 0, 128);

// The keys of the outline and what they do; the key names are the keyboard's own.
struct Key {
    const char* keys; // "%1" stands for the translated "or"
    const char* command;
};
const Key kKeys[] = {
    {"Insert %1 F4", "Add Son"},
    {"Shift Insert %1 Shift F4", "Add Daughter"},
    {"F2", "Edit Name"},
    {"Delete", "Delete Person"},
    {"F6", "Change Person Gender"},
};

QLabel* Link(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setCursor(Qt::PointingHandCursor);
    QFont font = label->font();
    font.setBold(true);
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

void Paint(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

Tfrm_Help_Add::Tfrm_Help_Add(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      lbl_Edit_(Link(this, "lbl_Edit")), lbl_Move_(Link(this, "lbl_Move")),
      lbl_Close_(Link(this, "lbl_Close")), pages_(new QStackedWidget(this)), lblEditText_(new QLabel),
      lblKeysTitle_(new QLabel), keys_(new QGridLayout), lblMoveTitle_(new QLabel), lblMoveText_(new QLabel) {
    setObjectName(QStringLiteral("frm_Help_Add"));
    setFixedSize(kCardSize);
    setFocusPolicy(Qt::StrongFocus);
    // The frame and its shade stand for the title bar and border the card has not.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    frame->setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* links = new QHBoxLayout;
    links->setSpacing(3 * kSpacing);
    links->addWidget(lbl_Edit_);
    links->addWidget(lbl_Move_);
    links->addStretch(1);
    links->addWidget(lbl_Close_);

    auto* editPage = new QWidget(pages_);
    editPage->setObjectName(QStringLiteral("pnl_Edit"));
    auto* edit = new QVBoxLayout(editPage);
    edit->setSpacing(2 * kRowSpacing);
    lblEditText_->setParent(editPage);
    lblKeysTitle_->setParent(editPage);
    QFont bold = lblKeysTitle_->font();
    bold.setBold(true);
    lblKeysTitle_->setFont(bold);
    edit->addWidget(lblEditText_);
    edit->addWidget(lblKeysTitle_);
    keys_->setHorizontalSpacing(4 * kSpacing);
    keys_->setVerticalSpacing(kRowSpacing);
    for (int row = 0; row < int(std::size(kKeys)); ++row) {
        auto* keyName = new QLabel(editPage);
        keyName->setFont(bold);
        // Key names read left to right in every language.
        keyName->setLayoutDirection(Qt::LeftToRight);
        auto* command = new QLabel(editPage);
        keys_->addWidget(keyName, row, 0);
        keys_->addWidget(command, row, 1);
        keyNames_ << keyName;
        keyCommands_ << command;
    }
    keys_->setColumnStretch(2, 1);
    edit->addLayout(keys_);
    edit->addStretch(1);

    auto* movePage = new QWidget(pages_);
    movePage->setObjectName(QStringLiteral("pnl_Move"));
    auto* move = new QVBoxLayout(movePage);
    move->setSpacing(2 * kRowSpacing);
    lblMoveTitle_->setParent(movePage);
    lblMoveTitle_->setFont(bold);
    lblMoveText_->setParent(movePage);
    move->addWidget(lblMoveTitle_);
    move->addWidget(lblMoveText_);
    move->addStretch(1);
    pages_->addWidget(editPage);
    pages_->addWidget(movePage);

    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(3 * kWindowMargin, 2 * kWindowMargin, 3 * kWindowMargin, 2 * kWindowMargin);
    column->setSpacing(3 * kRowSpacing);
    column->addLayout(links);
    column->addWidget(pages_, 1);

    for (QWidget* widget : findChildren<QWidget*>())
        Watch(widget);
    Watch(this);
    TranslateTexts();
    ShowPage(0);
}

void Tfrm_Help_Add::Watch(QWidget* widget) {
    widget->installEventFilter(this);
}

void Tfrm_Help_Add::TranslateTexts() {
    lbl_Edit_->setText(Translate(QStringLiteral("Add individual and edit its name")));
    lbl_Move_->setText(Translate(QStringLiteral("Reattach individual")));
    lbl_Close_->setText(StripAmpersands(Translate(QStringLiteral("Close"))));
    lblEditText_->setText(
        Translate(QStringLiteral("To add a person or edit its name; select the person in Tree\r\n"
                                 "and right click the mouse for a pop-up menu, then select a\r\n"
                                 "command")));
    lblKeysTitle_->setText(Translate(QStringLiteral("Or use Keyboard Short-cuts")) + u':');
    const QString orWord = Translate(QStringLiteral("or"));
    for (int row = 0; row < int(std::size(kKeys)); ++row) {
        QString keys = QString::fromLatin1(kKeys[row].keys);
        keyNames_[row]->setText(keys.replace(QStringLiteral("%1"), orWord));
        keyCommands_[row]->setText(Translate(QString::fromLatin1(kKeys[row].command)));
    }
    lblMoveTitle_->setText(Translate(QStringLiteral("To reattach person")) + u':');
    lblMoveText_->setText(
        Translate(QStringLiteral("By pressing the left button of the mouse; select person name\r\n"
                                 "and drag it to the individual to be attached to; then drop.")));
}

void Tfrm_Help_Add::ShowCard(QWidget* over) {
    TranslateTexts();
    ShowPage(0);
    QWidget* host = over ? over->window() : parentWidget() ? parentWidget()->window() : nullptr;
    if (host)
        move(host->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    activateWindow();
    setFocus();
}

void Tfrm_Help_Add::ShowPage(int page) {
    pages_->setCurrentIndex(std::clamp(page, 0, 1));
    Paint(lbl_Edit_, page == 0 ? kChosenLink : kOtherLink);
    Paint(lbl_Move_, page == 1 ? kChosenLink : kOtherLink);
}

int Tfrm_Help_Add::CurrentPage() const {
    return pages_->currentIndex();
}

bool Tfrm_Help_Add::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (watched == lbl_Close_) {
            close();
            return true;
        }
        if (watched == lbl_Edit_ || watched == lbl_Move_) {
            ShowPage(watched == lbl_Edit_ ? 0 : 1);
            return true;
        }
        // Anywhere else the card is taken as by a title bar.
        dragging_ = true;
        dragOffset_ = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        return false;
    }
    if (event->type() == QEvent::MouseMove && dragging_) {
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        dragging_ = false;
    return QWidget::eventFilter(watched, event);
}

void Tfrm_Help_Add::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Tfrm_Help_Add::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

} // namespace verdan
