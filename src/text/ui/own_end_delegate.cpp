#include "own_end_delegate.h"

#include "text/bidi_text.h"

#include <QApplication>
#include <QStyle>

namespace verdan {

void TOwnEndDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->features & QStyleOptionViewItem::HasDisplay) || option->text.isEmpty())
        return;
    const QWidget* widget = option->widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // The style keeps this margin on both sides of the text when it draws it.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int width = style->subElementRect(QStyle::SE_ItemViewItemText, option, widget).width() - 2 * margin;
    // Sizing asks without a row to fit: then the text stays whole.
    option->text =
        width > 0 ? ElideAtOwnEnd(option->text, option->fontMetrics, width) : Isolate(option->text);
    option->textElideMode = Qt::ElideNone;
}

} // namespace verdan
