#include "collapsible_panel.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kArrowSize = 9;
constexpr int kMargin = 6;

} // namespace

const char* const TCollapsiblePanel::kPanelMimeType = "application/x-verdan-section";

TPanelTitle::TPanelTitle(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void TPanelTitle::SetText(const QString& text) {
    text_ = text;
    setAccessibleName(text.trimmed());
    updateGeometry();
    update();
}

void TPanelTitle::SetCollapsed(bool collapsed) {
    collapsed_ = collapsed;
    update();
}

QRect TPanelTitle::ArrowRect() const {
    const int top = (height() - kArrowSize) / 2;
    const int left = isRightToLeft() ? width() - kMargin - kArrowSize : kMargin;
    return {left, top, kArrowSize, kArrowSize};
}

QSize TPanelTitle::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text_) + 3 * kMargin + kArrowSize, metrics.height() + 8};
}

QSize TPanelTitle::minimumSizeHint() const {
    return {3 * kMargin + kArrowSize, QFontMetrics(font()).height() + 8};
}

void TPanelTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const QColor base = palette().color(QPalette::Button);
    painter.fillRect(rect(), underMouse() ? base.lighter(106) : base);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());

    // A folded panel points along the reading direction, an open one down.
    option.rect = ArrowRect();
    QStyle::PrimitiveElement arrow = QStyle::PE_IndicatorArrowDown;
    if (collapsed_)
        arrow = isRightToLeft() ? QStyle::PE_IndicatorArrowLeft : QStyle::PE_IndicatorArrowRight;
    style()->drawPrimitive(arrow, &option, &painter, this);

    QRect textRect = rect().adjusted(2 * kMargin + kArrowSize, 0, -kMargin, 0);
    if (isRightToLeft())
        textRect = rect().adjusted(kMargin, 0, -(2 * kMargin + kArrowSize), 0);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeading | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(text_, Qt::ElideRight, textRect.width()));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TPanelTitle::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        pressPos_ = event->position().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void TPanelTitle::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        pressed_ = false;
        emit DragStarted();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void TPanelTitle::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Clicked();
    QWidget::mouseReleaseEvent(event);
}

void TPanelTitle::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit Clicked();
        return;
    case Qt::Key_Plus:
        emit ExpandRequested(true);
        return;
    case Qt::Key_Minus:
        emit ExpandRequested(false);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // The key that points along the reading direction opens the panel.
        emit ExpandRequested((event->key() == Qt::Key_Right) != isRightToLeft());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

TCollapsiblePanel::TCollapsiblePanel(QWidget* parent) : QWidget(parent) {
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    title_ = new TPanelTitle(this);
    layout_->addWidget(title_);
    connect(title_, &TPanelTitle::Clicked, this, &TCollapsiblePanel::Toggle);
    connect(title_, &TPanelTitle::ExpandRequested, this, [this](bool expand) { SetCollapsed(!expand); });
    connect(title_, &TPanelTitle::DragStarted, this, &TCollapsiblePanel::StartDrag);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

void TCollapsiblePanel::SetTitle(const QString& title) {
    title_->SetText(u' ' + title);
}

QString TCollapsiblePanel::Title() const {
    return title_->Text();
}

void TCollapsiblePanel::SetContent(QWidget* content) {
    delete content_;
    content_ = content;
    if (!content_)
        return;
    content_->setParent(this);
    layout_->addWidget(content_);
    content_->setVisible(!collapsed_);
}

void TCollapsiblePanel::SetCollapsed(bool collapsed) {
    if (collapsed == collapsed_)
        return;
    if (!collapsed)
        emit Expanding();
    collapsed_ = collapsed;
    title_->SetCollapsed(collapsed);
    if (content_)
        content_->setVisible(!collapsed);
    emit CollapsedChanged(collapsed);
}

void TCollapsiblePanel::StartDrag() {
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kPanelMimeType), objectName().toUtf8());
    drag->setMimeData(mime);
    drag->setPixmap(title_->grab());
    drag->exec(Qt::MoveAction);
}

} // namespace verdan
