#include "outline_view.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace verdan {

namespace {

// A pointer this close to the top or bottom edge scrolls the outline while dragging.
constexpr int kScrollMargin = 30;

} // namespace

TOutlineView::TOutlineView(QWidget* parent) : QTreeView(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setAutoScroll(true);
    setAutoScrollMargin(kScrollMargin);
}

void TOutlineView::SetDropTarget(const QModelIndex& index) {
    if (dropTarget_ == index)
        return;
    dropTarget_ = index;
    viewport()->update();
}

void TOutlineView::mousePressEvent(QMouseEvent* event) {
    pressModifiers_ = event->modifiers();
    QTreeView::mousePressEvent(event);
}

void TOutlineView::startDrag(Qt::DropActions) {
    if (StartDragging)
        StartDragging();
}

void TOutlineView::Decide(QDragMoveEvent* event) {
    const bool taken = DragOver && DragOver(event);
    if (taken) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TOutlineView::dragEnterEvent(QDragEnterEvent* event) {
    // Taken on entering so that the moves follow; each move decides for its own place.
    if (!DragOver) {
        event->ignore();
        return;
    }
    QTreeView::dragEnterEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TOutlineView::dragMoveEvent(QDragMoveEvent* event) {
    // The view's own handling scrolls near the edges; the frame decides about the drop.
    QTreeView::dragMoveEvent(event);
    Decide(event);
}

void TOutlineView::dragLeaveEvent(QDragLeaveEvent* event) {
    SetDropTarget(QModelIndex());
    QTreeView::dragLeaveEvent(event);
}

void TOutlineView::dropEvent(QDropEvent* event) {
    SetDropTarget(QModelIndex());
    stopAutoScroll();
    setState(NoState);
    if (Dropped)
        Dropped(event);
    else
        event->ignore();
}

void TOutlineView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (!dropTarget_.isValid())
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(visualRect(dropTarget_).adjusted(1, 1, -1, -1));
}

} // namespace verdan
