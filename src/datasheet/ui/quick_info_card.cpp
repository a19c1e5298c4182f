#include "quick_info_card.h"

#include "datasheet/quick_cards.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/person_follow.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr QPoint kHomePlace(5, 50);

QLabel* NewLabel(QWidget* parent, const char* name, bool caption) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(!caption);
    if (caption) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(0, 0, 128));
        label->setPalette(colours);
    }
    KeepReadingAlignment(label);
    return label;
}

} // namespace

TfrmQuickInfo::TfrmQuickInfo(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("frmQuickInfo"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowOpacity(240.0 / 255.0);
    resize(340, 206);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    frame_ = new QWidget(this);
    frame_->setObjectName(QStringLiteral("Shape1"));
    frame_->setAutoFillBackground(true);
    QPalette colours = frame_->palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x20));
    frame_->setPalette(colours);
    frame_->setStyleSheet(QStringLiteral("#Shape1 { border: 1px solid #d4d4d4; background: white; }"));
    outer->addWidget(frame_);

    auto* content = new QVBoxLayout(frame_);
    content->setContentsMargins(kWindowMargin, kRowSpacing, kRowSpacing, kWindowMargin);
    content->setSpacing(kRowSpacing);
    auto* top = new QHBoxLayout;
    lblName_ = NewLabel(frame_, "lblName", false);
    QFont bold = lblName_->font();
    bold.setBold(true);
    lblName_->setFont(bold);
    Image1_ = NewSectionButton(frame_, u"window-close", "Image1");
    Image1_->setFocusPolicy(Qt::NoFocus);
    top->addWidget(lblName_, 1);
    top->addWidget(Image1_, 0, Qt::AlignTop);
    content->addLayout(top);
    lblMother_ = NewLabel(frame_, "lblMother", true);
    lblMotherName_ = NewLabel(frame_, "lblMotherName", false);
    lblMate_ = NewLabel(frame_, "lblMate", true);
    scrMates_ = new QScrollArea(frame_);
    scrMates_->setFrameShape(QFrame::NoFrame);
    scrMates_->setWidgetResizable(true);
    scrMates_->setFocusPolicy(Qt::NoFocus);
    lblMateName_ = NewLabel(scrMates_, "lblMateName", false);
    lblMateName_->setAlignment(Qt::AlignTop | Qt::AlignLeading);
    lblMateName_->setAutoFillBackground(true);
    lblMateName_->setPalette(colours);
    scrMates_->setWidget(lblMateName_);
    content->addWidget(lblMother_);
    content->addWidget(lblMotherName_);
    content->addWidget(lblMate_);
    content->addWidget(scrMates_, 1);

    for (QWidget* widget : {static_cast<QWidget*>(frame_), static_cast<QWidget*>(lblName_),
                            static_cast<QWidget*>(lblMother_), static_cast<QWidget*>(lblMotherName_),
                            static_cast<QWidget*>(lblMate_), static_cast<QWidget*>(lblMateName_)})
        widget->installEventFilter(this);
    connect(Image1_, &QToolButton::clicked, this, &QWidget::hide);
    // The card never keeps the keyboard: a window system that activates it anyway is answered by handing
    // the focus back to where it was.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() != this)
            keyboardOwner_ = now;
    });
    connect(&PersonFollow(), &TPersonFollow::Pointed, this,
            [this](const QString& id) { RunSafely([this, id] { RefreshQuickInfo(id); }); });
    connect(&PersonFollow(), &TPersonFollow::Chosen, this,
            [this](const QString& id) { RunSafely([this, id] { RefreshQuickInfo(id); }); });
    TranslateTexts();
    ClearCard();
}

void TfrmQuickInfo::TranslateTexts() {
    SetHint(Image1_, Translate(QStringLiteral("Close")));
    if (!personId_.isEmpty()) {
        const QString shown = personId_;
        personId_.clear();
        RefreshQuickInfo(shown);
    }
}

void TfrmQuickInfo::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, &TfrmQuickInfo::GiveFocusBack, Qt::QueuedConnection);
    QWidget::changeEvent(event);
}

void TfrmQuickInfo::ClearCard() {
    personId_.clear();
    for (QLabel* label : {lblName_, lblMother_, lblMotherName_, lblMate_, lblMateName_})
        label->clear();
}

void TfrmQuickInfo::RefreshQuickInfo(const QString& personId) {
    if (!IsTreeOpen() || !isVisible() || personId.trimmed().isEmpty())
        return;
    const TQuickInfo info = ReadQuickInfo(personId);
    lblName_->setText(info.Name);
    lblMotherName_->setText(info.MotherName);
    lblMother_->setText(info.MotherName.trimmed().isEmpty() ? QString()
                                                            : Translate(QStringLiteral("Mother")) + u':');
    lblMate_->setText(info.Mates.isEmpty() ? QString() : Translate(info.MatesCaptionSource) + u':');
    lblMateName_->setText(info.Mates.join(u'\n'));
    personId_ = personId.trimmed();
}

void TfrmQuickInfo::ShowCard() {
    if (!placed_) {
        const QWidget* host = parentWidget() ? parentWidget()->window() : nullptr;
        move(host ? host->geometry().topLeft() + kHomePlace : kHomePlace);
        placed_ = true;
    }
    lblMother_->setText(Translate(QStringLiteral("Mother")) + u':');
    lblMate_->setText(Translate(QStringLiteral("Spouse")) + u':');
    if (QWidget* focused = QApplication::focusWidget(); focused && focused->window() != this)
        keyboardOwner_ = focused;
    show();
    raise();
    GiveFocusBack();
}

void TfrmQuickInfo::GiveFocusBack() {
    if (!keyboardOwner_ || QApplication::activeWindow() != this)
        return;
    keyboardOwner_->window()->activateWindow();
    keyboardOwner_->setFocus(Qt::OtherFocusReason);
}

void TfrmQuickInfo::Toggle() {
    if (isVisible())
        hide();
    else
        ShowCard();
}

void TfrmQuickInfo::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit VisibilityChanged(true);
}

void TfrmQuickInfo::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit VisibilityChanged(false);
}

bool TfrmQuickInfo::eventFilter(QObject* watched, QEvent* event) {
    // A press anywhere on the card moves it, as its title bar would.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            moving_ = true;
            pressOffset_ = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (moving_) {
            move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pressOffset_);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        moving_ = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace verdan
