#pragma once

#include <QStyledItemDelegate>

namespace verdan {

class TZelGrid;

// Draws a grid's data cells (row colours, markup when the grid uses it, wrapping in tall rows, the focus
// edge) and runs its overlaid editor.
class TGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TGridDelegate(TZelGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TZelGrid* grid_;
};

} // namespace verdan
