#pragma once

#include "text/ui/own_end_delegate.h"

#include <QApplication>
#include <QEvent>
#include <QTreeView>

namespace verdan {

// The outline control of TframTree; it tells whether a label is being edited.
class TOutlineView : public QTreeView {
public:
    using QTreeView::QTreeView;
    bool IsEditing() const { return state() == EditingState; }

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

private:
    void RepaintRow(const QModelIndex& index) {
        const QRect row = visualRect(index);
        if (row.isValid())
            viewport()->update(QRect(0, row.top(), viewport()->width(), row.height()));
    }
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
