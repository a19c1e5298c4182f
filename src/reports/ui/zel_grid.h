#pragma once

#include "reports/grid_model.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QTableView>
#include <QTimer>
#include <functional>

namespace verdan {

class TGridDelegate;
class TGridHeader;
class TZelGridPrintL;

// The string grid every tabular window uses: one title row and one title column, alternating row
// colours, sorting by the triangles of a column title, an overlaid multi-line editor, copy and paste,
// row operations, delimited text files and spreadsheet export. Cells are addressed as (column, row) over
// the whole grid, titles included, as in TZelGridModel.
class TZelGrid : public QTableView {
    Q_OBJECT

public:
    explicit TZelGrid(QWidget* parent = nullptr);

    TZelGridModel& Model() { return *grid_; }
    const TZelGridModel& Model() const { return *grid_; }

    int ColCount() const { return grid_->ColCount(); }
    int RowCount() const { return grid_->RowCount(); }
    void SetColCount(int count) { grid_->SetColCount(count); }
    void SetRowCount(int count) { grid_->SetRowCount(count); }
    QString Cells(int col, int row) const { return grid_->Cell(col, row); }
    void SetCells(int col, int row, const QString& text) { grid_->SetCell(col, row, text); }

    // The current cell; (0, 0) never is one.
    int Col() const;
    int Row() const;
    void SetCurrentCell(int col, int row);

    // Column 0 is the title column; a width of 0 hides a column.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);

    QColor AlternatingBackColor() const { return alternatingBackColor_; }
    void SetAlternatingBackColor(const QColor& color);
    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& color);
    QColor SelectColor() const { return selectColor_; }
    void SetSelectColor(const QColor& color);
    QColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(const QColor& color);
    QColor GridLineColor() const { return gridLineColor_; }
    void SetGridLineColor(const QColor& color);

    bool AllowSorting() const { return allowSorting_; }
    void SetAllowSorting(bool on);
    bool AllowEdit() const { return allowEdit_; }
    void SetAllowEdit(bool on) { allowEdit_ = on; }
    bool AllowPaste() const { return allowPaste_; }
    void SetAllowPaste(bool on) { allowPaste_ = on; }
    bool AllowNotCopy() const { return allowNotCopy_; }
    void SetAllowNotCopy(bool on) { allowNotCopy_ = on; }
    bool AllowRowDelete() const { return allowRowDelete_; }
    void SetAllowRowDelete(bool on) { allowRowDelete_ = on; }
    bool AllowRowInsert() const { return allowRowInsert_; }
    void SetAllowRowInsert(bool on) { allowRowInsert_ = on; }
    bool AutoRowNumber() const { return grid_->AutoRowNumber(); }
    void SetAutoRowNumber(bool on) { grid_->SetAutoRowNumber(on); }
    bool AutoRowHeight() const { return autoRowHeight_; }
    void SetAutoRowHeight(bool on);
    bool AutoColWidth() const { return autoColWidth_; }
    void SetAutoColWidth(bool on) { autoColWidth_ = on; }
    bool AutoRowIncrement() const { return autoRowIncrement_; }
    void SetAutoRowIncrement(bool on) { autoRowIncrement_ = on; }
    bool Markup() const { return grid_->Markup(); }
    void SetMarkup(bool on) { grid_->SetMarkup(on); }
    bool Readonly() const { return readonly_; }
    void SetReadonly(bool on) { readonly_ = on; }
    QString FieldDelimiter() const { return grid_->FieldDelimiter(); }
    void SetFieldDelimiter(const QString& delimiter) { grid_->SetFieldDelimiter(delimiter); }
    QString CommentDelimiter() const { return grid_->CommentDelimiter(); }
    void SetCommentDelimiter(const QString& delimiter) { grid_->SetCommentDelimiter(delimiter); }
    int RowHeaderWidth() const { return rowHeaderWidth_; }
    void SetRowHeaderWidth(int width) { rowHeaderWidth_ = width; }
    int ColHeaderHeight() const { return colHeaderHeight_; }
    void SetColHeaderHeight(int height) { colHeaderHeight_ = height; }
    QFont RowHeaderFont() const { return rowHeaderFont_; }
    void SetRowHeaderFont(const QFont& font);
    QFont ColHeaderFont() const { return colHeaderFont_; }
    void SetColHeaderFont(const QFont& font);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    // The column sorted last; -1 before any sort.
    int SortedColumn() const { return sortedColumn_; }
    // Forgets the sorted column (new rows came in their own order): no title shows it sorted.
    void ClearSortMark();
    // The columns in the order they stand on the screen (the user may have moved some), from column 1.
    QList<int> VisualColumns() const;

    // Column i gets the i-th width; -2 leaves a column as it is.
    void SetColWidths(const QList<int>& widths);
    void SetColTitles(const QStringList& titles) { grid_->SetColTitles(titles); }
    int ColumnIndexOf(const QString& title) const { return grid_->ColumnIndexOf(title); }
    void DeleteRow(int row);
    void DeleteAllRows() { grid_->DeleteAllRows(); }
    void InsertRow(int row);
    void MoveRow(int from, int to) { grid_->MoveRow(from, to); }
    // Empties the data cells and gives the rows their default height back.
    void ClearCells();
    void ClearAll();
    // Sets the direction shared by every grid and sorts by `column`; a sort refused by BeforeSort
    // leaves the direction and the sorted column as they were.
    void SortColumn(int column, bool descending);
    // Sorts by the column in the shared direction; false when the sort was refused (BeforeSort).
    bool SortByColumn(int column);
    void SelectAll();
    void CopyToClipboard();
    void PasteFromClipboard();
    // The cell under the mouse pointer, titles included; (-1, -1) outside the cells.
    QPoint CellAtMouse() const;
    // The row at a point of the grid (0 for the title row); -1 when none.
    int RowAt(const QPoint& point) const;
    bool LoadFromTextFile(const QString& file, bool header);
    bool SaveToTextFile(const QString& file, bool header) const {
        return grid_->SaveToTextFile(file, header);
    }
    // Writes the grid as an .xlsx file (a temporary one when `file` is blank) and, when `visible`, opens
    // it with the system's spreadsheet program. The columns go in the order they stand on the screen; a
    // long export shows progress and may be cancelled. A failure is reported to the user and leaves no
    // file.
    bool ExportToExcel(const QString& file, const QString& title, bool visible, const QString& footer);
    // Row height from the bold font, title sizes, at least two columns, titles widened with AutoColWidth,
    // and the cursor on the first data cell.
    void AdjustLayout();
    // Opens the print preview of the grid's cells (also Ctrl+P), titled with the grid's caption or its
    // window's title.
    void ShowPrintPreview();
    // Height a cell needs for its wrapped text when rows grow to fit.
    int CellTextHeight(int col, int row) const;
    // The room a cell leaves around its text: the text wraps within the column's width less these.
    static QMargins CellTextMargins(Qt::LayoutDirection direction) {
        return direction == Qt::RightToLeft ? QMargins(3, 2, 5, 1) : QMargins(5, 2, 4, 1);
    }

    // Fills `rect` with the painter's brush and draws the text a little inset; for windows' own drawing.
    static void DrawCellText(QPainter& painter, const QRect& rect, const QString& text, int flags);
    // Draws the text with `flags` (an "&" shows as it is) and returns the height it took.
    static int DrawCellString(QPainter& painter, const QString& text, const QRect& rect, int flags);

    // Lets a window show a data cell's stored text its own way: it may change the text, its alignment
    // (horizontal flags, with Qt::AlignAbsolute for a fixed side) and its reading order.
    std::function<void(int col, int row, QString& text, int& alignment, Qt::LayoutDirection& direction)>
        CellView;
    // Replaces the grid's own print preview (Ctrl+P) by a window's.
    std::function<void()> OnPrintPreview;
    // Draws over a data cell after the grid has drawn it.
    std::function<void(QPainter& painter, const QRect& rect, int col, int row)> OnDrawCell;

signals:
    void AfterEdit(int col, int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class TGridHeader;
    friend class TGridDelegate;

    void HeaderSortClick(int column);
    void EmptySelection();
    QRect SelectedCells() const;
    void ScheduleRowHeights();
    void UpdateRowHeights();
    // Gives every row the default height, then fits the rows in sight to their texts.
    void ResetRowHeights();
    void ApplyGridLineColor();

    TZelGridModel* grid_;
    TGridDelegate* delegate_;
    TGridHeader* colHeader_;
    TGridHeader* rowHeader_;
    QTimer rowHeightTimer_;
    TZelGridPrintL* print_ = nullptr;

    QColor alternatingBackColor_;
    QColor backColor_;
    QColor selectColor_;
    QColor fixedColor_;
    QColor gridLineColor_;
    QFont rowHeaderFont_;
    QFont colHeaderFont_;
    QString caption_;
    int rowHeaderWidth_ = 35;
    int colHeaderHeight_ = 17;
    int sortedColumn_ = -1;
    bool allowSorting_ = false;
    bool allowEdit_ = false;
    bool allowPaste_ = false;
    bool allowNotCopy_ = false;
    bool allowRowDelete_ = false;
    bool allowRowInsert_ = false;
    bool autoRowHeight_ = false;
    bool autoColWidth_ = false;
    bool autoRowIncrement_ = false;
    bool readonly_ = false;
};

// Pours a text table into a grid; see the model's FillGridFromTable.
void FillGridFromTable(TZelGrid& grid, const QList<QStringList>& table, const QString& keyColumn,
                       bool withHeader);

} // namespace verdan
