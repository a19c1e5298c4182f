#include "grid_header.h"

#include "reports/grid_markup.h"
#include "zel_grid.h"

#include <QMouseEvent>
#include <QPainter>

namespace verdan {

namespace {
// Distance from a column border within which a press resizes the column.
constexpr int kGripMargin = 4;
constexpr int kMarkWidth = 10;
} // namespace

TGridHeader::TGridHeader(Qt::Orientation orientation, TZelGrid* grid)
    : QHeaderView(orientation, grid), grid_(grid) {
    setSectionsClickable(false);
    setHighlightSections(false);
    connect(this, &QHeaderView::sectionResized, this, [this] { sizingOrMoving_ = true; });
    connect(this, &QHeaderView::sectionMoved, this, [this] { sizingOrMoving_ = true; });
}

void TGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QModelIndex current = grid_->currentIndex();
    const bool isCurrent =
        current.isValid() &&
        (orientation() == Qt::Horizontal ? current.column() == logicalIndex : current.row() == logicalIndex);
    const QColor back = isCurrent ? grid_->SelectColor() : grid_->FixedColor();
    painter->save();
    painter->fillRect(rect, back);
    painter->setPen(grid_->GridLineColor());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setLayoutDirection(grid_->layoutDirection());
    if (orientation() == Qt::Horizontal)
        PaintColumnTitle(painter, rect, logicalIndex, back);
    else
        PaintRowTitle(painter, rect, logicalIndex, back);
    painter->restore();
}

void TGridHeader::PaintColumnTitle(QPainter* painter, const QRect& rect, int section,
                                   const QColor& back) const {
    const bool isCurrent = grid_->currentIndex().isValid() && grid_->currentIndex().column() == section;
    QFont font = grid_->ColHeaderFont();
    QColor color = Qt::black;
    QString text = model()->headerData(section, Qt::Horizontal, TZelGridModel::RawTextRole).toString();
    if (grid_->Markup()) {
        const TCellMarkup markup = ParseCellMarkup(text);
        text = markup.text;
        font.setBold(markup.bold);
        font.setItalic(markup.italic);
        if (markup.fontSize)
            font.setPointSize(*markup.fontSize);
        if (markup.textColor)
            color = *markup.textColor;
    }
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    QRect textRect = rect.adjusted(2, 1, -2, -1);
    if (grid_->AllowSorting())
        textRect = grid_->isRightToLeft() ? textRect.adjusted(kMarkWidth + 2, 0, 0, 0)
                                          : textRect.adjusted(0, 0, -(kMarkWidth + 2), 0);
    painter->setFont(font);
    painter->setPen(Darken(back, isCurrent ? 90 : 3));
    painter->drawText(textRect.translated(0, 1), flags, text);
    painter->setPen(color);
    painter->drawText(textRect, flags, text);
    if (grid_->AllowSorting())
        PaintSortMark(painter, rect, grid_->SortedColumn() == section + TZelGridModel::kFixedCols);
}

void TGridHeader::PaintRowTitle(QPainter* painter, const QRect& rect, int section, const QColor& back) const {
    const bool isCurrent = grid_->currentIndex().isValid() && grid_->currentIndex().row() == section;
    const QColor base = Lighten(back, 30);
    painter->setFont(grid_->RowHeaderFont());
    painter->setPen(Darken(base, isCurrent ? 80 : 30));
    const QString text = model()->headerData(section, Qt::Vertical, Qt::DisplayRole).toString();
    painter->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                      text);
}

void TGridHeader::PaintSortMark(QPainter* painter, const QRect& rect, bool sorted) const {
    const int x = grid_->isRightToLeft() ? rect.left() + 4 : rect.right() - kMarkWidth - 4;
    const int middle = rect.center().y();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(sorted ? QColor(Qt::black) : QColor(128, 128, 128));
    const QPolygon up(
        {QPoint(x, middle - 1), QPoint(x + kMarkWidth, middle - 1), QPoint(x + kMarkWidth / 2, middle - 5)});
    const QPolygon down(
        {QPoint(x, middle + 1), QPoint(x + kMarkWidth, middle + 1), QPoint(x + kMarkWidth / 2, middle + 5)});
    painter->drawPolygon(up);
    painter->drawPolygon(down);
}

bool TGridHeader::InSortArea(int section, int x) const {
    const int start = sectionViewportPosition(section);
    const int end = start + sectionSize(section);
    // The triangles sit at the trailing end: the right in left-to-right, the left when mirrored.
    const int fromEnd = grid_->isRightToLeft() ? x - start : end - x;
    return fromEnd >= kGripMargin && fromEnd <= kSortArea;
}

void TGridHeader::mousePressEvent(QMouseEvent* event) {
    sizingOrMoving_ = false;
    QHeaderView::mousePressEvent(event);
}

void TGridHeader::mouseReleaseEvent(QMouseEvent* event) {
    QHeaderView::mouseReleaseEvent(event);
    if (orientation() != Qt::Horizontal || !grid_->AllowSorting() || sizingOrMoving_ ||
        event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    const int section = logicalIndexAt(x);
    if (section >= 0 && InSortArea(section, x))
        grid_->HeaderSortClick(section + TZelGridModel::kFixedCols);
}

} // namespace verdan
