#include "grid_delegate.h"

#include "grid_editor.h"
#include "reports/grid_markup.h"
#include "text/bidi_text.h"
#include "zel_grid.h"

#include <QKeyEvent>
#include <QPainter>

namespace verdan {

namespace {

// What a cell's markup changes in its drawing; nothing when the grid does not use markup.
void ApplyMarkup(const TCellMarkup& markup, QFont& font, QColor& textColor, int& alignment) {
    font.setBold(markup.bold);
    font.setItalic(markup.italic);
    if (markup.fontSize)
        font.setPointSize(*markup.fontSize);
    if (markup.fontName)
        font.setFamily(*markup.fontName);
    if (markup.textColor)
        textColor = *markup.textColor;
    if (markup.center)
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignHCenter;
    if (markup.right)
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignRight | Qt::AlignAbsolute;
    if (markup.verticalCenter)
        alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter;
}

} // namespace

TGridDelegate::TGridDelegate(TZelGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {
}

void TGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const int col = index.column() + TZelGridModel::kFixedCols;
    const int row = index.row() + TZelGridModel::kFixedRows;
    const bool focused = option.state & QStyle::State_HasFocus;
    const bool selected = option.state & QStyle::State_Selected;
    const bool rightToLeft = option.direction == Qt::RightToLeft;
    painter->save();

    QColor back = row % 2 == 1 ? grid_->BackColor() : grid_->AlternatingBackColor();
    if (selected && !focused)
        back = grid_->SelectColor();
    QFont font = grid_->font();
    QColor textColor = Qt::black;
    // Left in the painter's layout direction: the right edge when the grid reads right-to-left.
    int alignment = Qt::AlignLeft | Qt::AlignTop;
    QString text = grid_->Model().Cell(col, row);
    TCellMarkup markup;
    if (grid_->Markup()) {
        markup = ParseCellMarkup(text);
        text = markup.text;
        ApplyMarkup(markup, font, textColor, alignment);
        if (markup.backColor)
            back = *markup.backColor;
    }
    // Each value reads in its own direction and starts at its own reading start: a Latin name in an Arabic
    // grid keeps "-of Schleswig" in its order and stands on the left.
    Qt::LayoutDirection direction = ReadingDirection(text, option.direction);
    if (grid_->CellView)
        grid_->CellView(col, row, text, alignment, direction);
    painter->fillRect(option.rect, back);

    const QRect textRect = option.rect.marginsRemoved(TZelGrid::CellTextMargins(option.direction));
    painter->setFont(font);
    painter->setPen(textColor);
    painter->setLayoutDirection(direction);
    const int lineHeight = QFontMetrics(font).height();
    // Only a row at least twice as high as a line wraps; a single-line row clips.
    int flags = alignment;
    if (2 * lineHeight < option.rect.height() && !markup.verticalCenter)
        flags |= Qt::TextWordWrap;
    else
        flags |= Qt::TextSingleLine;
    painter->setClipRect(option.rect);
    painter->drawText(textRect, flags, text);

    if (markup.frameColor || markup.frameWidth) {
        QPen pen(markup.frameColor.value_or(Qt::black));
        pen.setWidth(markup.frameWidth.value_or(1));
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -2));
    }
    if (focused) {
        const int edge = rightToLeft ? option.rect.right() : option.rect.left();
        const int step = rightToLeft ? -1 : 1;
        painter->setPen(Darken(grid_->SelectColor(), 60));
        painter->drawLine(edge, option.rect.top(), edge, option.rect.bottom());
        painter->setPen(Darken(grid_->SelectColor(), 30));
        painter->drawLine(edge + step, option.rect.top(), edge + step, option.rect.bottom());
    }
    painter->restore();
    if (grid_->OnDrawCell) {
        painter->save();
        grid_->OnDrawCell(*painter, option.rect, col, row);
        painter->restore();
    }
}

QWidget* TGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* editor = new TGridEditor(parent);
    editor->setFont(grid_->font());
    editor->setReadOnly(grid_->Readonly());
    editor->setLayoutDirection(grid_->layoutDirection());
    return editor;
}

void TGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* gridEditor = static_cast<TGridEditor*>(editor);
    gridEditor->setPlainText(index.data(Qt::EditRole).toString());
    gridEditor->MoveCaretToEnd();
}

void TGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    const QString text = static_cast<TGridEditor*>(editor)->toPlainText();
    if (grid_->Readonly() || text == index.data(Qt::EditRole).toString())
        return;
    model->setData(index, text, Qt::EditRole);
    emit grid_->AfterEdit(index.column() + TZelGridModel::kFixedCols,
                          index.row() + TZelGridModel::kFixedRows);
}

void TGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex&) const {
    static_cast<TGridEditor*>(editor)->PlaceOver(option.rect);
}

bool TGridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<TGridEditor*>(object);
    if (editor == nullptr || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (key->modifiers() & Qt::AltModifier) {
            editor->insertPlainText(QStringLiteral("\n"));
        } else {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
        return true;
    case Qt::Key_Escape:
        emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
    default:
        return QStyledItemDelegate::eventFilter(object, event);
    }
}

} // namespace verdan
