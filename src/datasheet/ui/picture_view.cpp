#include "picture_view.h"

#include "datasheet/sheet_pictures.h"
#include "text/ui/icons.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

namespace verdan {

namespace {

constexpr int kPressZoom = 10; // pixels per side a press grows or shrinks the picture
constexpr int kEdgeKeep = 10;  // pixels of a dragged picture that stay inside the view
constexpr int kZoomSteps = 10;

} // namespace

TPictureView::TPictureView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    setMinimumSize(60, 60);
}

QSize TPictureView::sizeHint() const {
    return {220, 220};
}

void TPictureView::SetImage(const QImage& image) {
    image_ = image;
    placeholder_ = false;
    Fit();
}

void TPictureView::Clear(bool placeholder) {
    image_ = QImage();
    placeholder_ = placeholder;
    Fit();
}

QSize TPictureView::FittedSize() const {
    if (image_.isNull())
        return size();
    const QSize room = size().shrunkBy(QMargins(2, 2, 2, 2));
    // Small pictures are not blown up to fill the view.
    return image_.width() <= room.width() && image_.height() <= room.height()
               ? image_.size()
               : image_.size().scaled(room, Qt::KeepAspectRatio);
}

void TPictureView::Fit() {
    fitted_ = true;
    shown_ = FittedSize();
    centre_ = rect().center();
    update();
}

void TPictureView::resizeEvent(QResizeEvent* event) {
    if (fitted_)
        Fit();
    QWidget::resizeEvent(event);
}

void TPictureView::GrowBy(int pixels) {
    if (image_.isNull())
        return;
    const QSize grown(shown_.width() + 2 * pixels, shown_.height() + 2 * pixels);
    if (grown.width() < 20 || grown.height() < 20)
        return;
    fitted_ = false;
    shown_ = grown;
    update();
}

void TPictureView::ZoomSteps(bool in) {
    if (image_.isNull())
        return;
    const QScreen* screen = this->screen();
    const QSize room = screen ? screen->size() : QSize(1920, 1080);
    for (int step = 0; step < kZoomSteps; ++step) {
        const QSize next = in ? ZoomedIn(shown_, image_.size(), room) : ZoomedOut(shown_);
        if (next == shown_)
            break;
        fitted_ = false;
        shown_ = next;
        repaint();
    }
}

void TPictureView::KeepInside() {
    const int halfW = shown_.width() / 2;
    const int halfH = shown_.height() / 2;
    centre_.setX(std::clamp(centre_.x(), kEdgeKeep - halfW, width() - kEdgeKeep + halfW));
    centre_.setY(std::clamp(centre_.y(), kEdgeKeep - halfH, height() - kEdgeKeep + halfH));
}

void TPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (image_.isNull()) {
        if (placeholder_) {
            const int side = std::min(width(), height()) * 2 / 3;
            const QRect box(rect().center() - QPoint(side / 2, side / 2), QSize(side, side));
            Icon(u"avatar-default").paint(&painter, box, Qt::AlignCenter, QIcon::Disabled);
        }
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QRect target(QPoint(0, 0), shown_);
    target.moveCenter(centre_);
    painter.drawImage(target, image_);
    painter.setPen(QColor(0xc0, 0xc0, 0xc0));
    painter.drawRect(target.adjusted(0, 0, -1, -1));
}

void TPictureView::mousePressEvent(QMouseEvent* event) {
    pressPos_ = event->position().toPoint();
    pressCentre_ = centre_;
    dragging_ = false;
    if (pressZooms_ && !image_.isNull()) {
        if (event->button() == Qt::LeftButton)
            GrowBy(kPressZoom);
        else if (event->button() == Qt::RightButton && shown_.width() > width())
            GrowBy(-kPressZoom);
    }
    QWidget::mousePressEvent(event);
}

void TPictureView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || image_.isNull())
        return;
    const QPoint moved = event->position().toPoint() - pressPos_;
    if (!dragging_ && moved.manhattanLength() < QApplication::startDragDistance())
        return;
    dragging_ = true;
    fitted_ = false;
    centre_ = pressCentre_ + moved;
    KeepInside();
    setCursor(Qt::ClosedHandCursor);
    update();
}

void TPictureView::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    unsetCursor();
    QWidget::mouseReleaseEvent(event);
}

void TPictureView::mouseDoubleClickEvent(QMouseEvent* event) {
    emit DoubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

void TPictureView::wheelEvent(QWheelEvent* event) {
    if (!wheelZooms_ || !(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    ZoomSteps(event->angleDelta().y() > 0);
    event->accept();
}

} // namespace verdan
