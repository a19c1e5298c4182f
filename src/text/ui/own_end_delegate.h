#pragma once

#include <QStyledItemDelegate>

namespace verdan {

// Draws the rows of a list, outline or grid column with each text in its own reading order: a Latin name in
// a mirrored outline keeps its punctuation at its end, and a text too long for its row is cut at its own
// end (the right for Latin, the left for Arabic) whichever way the view is mirrored.
class TOwnEndDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace verdan
