#pragma once

#include <QHeaderView>

namespace verdan {

class TZelGrid;

// A grid's title row or title column: flat cells, the current row and column marked, row numbers, and
// the sort triangles whose click sorts a column.
class TGridHeader : public QHeaderView {
    Q_OBJECT

public:
    TGridHeader(Qt::Orientation orientation, TZelGrid* grid);

    // Width of the click area at the trailing end of a column title that sorts the column.
    static constexpr int kSortArea = 20;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintColumnTitle(QPainter* painter, const QRect& rect, int section, const QColor& back) const;
    void PaintRowTitle(QPainter* painter, const QRect& rect, int section, const QColor& back) const;
    void PaintSortMark(QPainter* painter, const QRect& rect, bool sorted) const;
    bool InSortArea(int section, int x) const;

    TZelGrid* grid_;
    bool sizingOrMoving_ = false;
};

} // namespace verdan
