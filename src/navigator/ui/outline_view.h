#pragma once

#include "text/ui/own_end_delegate.h"

#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QPersistentModelIndex>
#include <QTreeView>
#include <functional>

namespace verdan {

// The outline control of TframTree: it tells whether a label is being edited, keeps the modifier keys
// of the last mouse press (they choose what a drag does) and hands drags to its frame, drawing the node a
// drop would land on.
class TOutlineView : public QTreeView {
public:
    explicit TOutlineView(QWidget* parent = nullptr);

    bool IsEditing() const { return state() == EditingState; }
    Qt::KeyboardModifiers PressModifiers() const { return pressModifiers_; }
    // The node framed as the drop target; an invalid index frames none.
    void SetDropTarget(const QModelIndex& index);

    std::function<void()> StartDragging;
    // Decides whether the drop is taken where the pointer is now.
    std::function<bool(const QDropEvent* event)> DragOver;
    std::function<void(QDropEvent* event)> Dropped;

protected:
    // The style paints a selected row's branch area too; mirrored, the view repaints only part of the row
    // when the selection moves, which left a stray block of selection colour at the end of the old row.
    // Rows that change selection or currency are repainted across the whole width.
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override {
        QTreeView::selectionChanged(selected, deselected);
        for (const QItemSelection* selection : {&selected, &deselected})
            for (const QModelIndex& index : selection->indexes())
                RepaintRow(index);
    }
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        QTreeView::currentChanged(current, previous);
        RepaintRow(current);
        RepaintRow(previous);
    }
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void RepaintRow(const QModelIndex& index) {
        const QRect row = visualRect(index);
        if (row.isValid())
            viewport()->update(QRect(0, row.top(), viewport()->width(), row.height()));
    }
    void Decide(QDragMoveEvent* event);

    Qt::KeyboardModifiers pressModifiers_ = Qt::NoModifier;
    QPersistentModelIndex dropTarget_;
};

// The rows of the outline, each text in its own reading order, and its label editor, which stays open while a
// window that shows itself without taking the keys (the second-parent offer) is activated by the platform all
// the same: the name being typed goes on.
class TLabelDelegate : public TOwnEndDelegate {
public:
    using TOwnEndDelegate::TOwnEndDelegate;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        const QWidget* active = QApplication::activeWindow();
        if (event->type() == QEvent::FocusOut && active &&
            active->testAttribute(Qt::WA_ShowWithoutActivating))
            return false;
        return TOwnEndDelegate::eventFilter(editor, event);
    }
};

} // namespace verdan
