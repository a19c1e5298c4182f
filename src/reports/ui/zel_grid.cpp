#include "zel_grid.h"

#include "grid_delegate.h"
#include "grid_editor.h"
#include "grid_header.h"
#include "grid_print.h"
#include "reports/grid_markup.h"
#include "reports/grid_sort.h"
#include "reports/xlsx_export.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "work_progress.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <climits>
#include <cmath>

namespace verdan {

namespace {

constexpr int kDefaultRowHeight = 17;
constexpr int kDefaultColWidth = 64;
// Rows fitted to their text at a time, from the top visible row.
constexpr int kFittedRows = 101;
constexpr int kMinWheelFont = 6;
constexpr int kMaxWheelFont = 18;

} // namespace

TZelGrid::TZelGrid(QWidget* parent)
    : QTableView(parent), grid_(new TZelGridModel(this)), delegate_(new TGridDelegate(this)),
      colHeader_(new TGridHeader(Qt::Horizontal, this)), rowHeader_(new TGridHeader(Qt::Vertical, this)) {
    setHorizontalHeader(colHeader_);
    setVerticalHeader(rowHeader_);
    setModel(grid_);
    setItemDelegate(delegate_);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    colHeader_->setSectionResizeMode(QHeaderView::Interactive);
    colHeader_->setDefaultSectionSize(kDefaultColWidth);
    colHeader_->setMinimumSectionSize(1);
    rowHeader_->setSectionResizeMode(QHeaderView::Fixed);
    rowHeader_->setMinimumSectionSize(1);
    // Rows fit at least one line of the interface's face, which may stand taller than the usual faces the
    // default height was made for.
    SetDefaultRowHeight(std::max(kDefaultRowHeight, QFontMetrics(font()).height()));

    const QPalette colors = palette();
    alternatingBackColor_ = colors.color(QPalette::Base);
    backColor_ = colors.color(QPalette::Base);
    selectColor_ = Lighten(colors.color(QPalette::Highlight), 68);
    fixedColor_ = colors.color(QPalette::Button);
    gridLineColor_ = colors.color(QPalette::Dark);
    ApplyGridLineColor();
    rowHeaderFont_ = font();
    colHeaderFont_ = font();
    SetColWidth(0, rowHeaderWidth_);
    SetRowHeight(0, std::max(colHeaderHeight_, QFontMetrics(colHeaderFont_).height()));

    rowHeightTimer_.setSingleShot(true);
    rowHeightTimer_.setInterval(0);
    connect(&rowHeightTimer_, &QTimer::timeout, this, &TZelGrid::UpdateRowHeights);
    connect(grid_, &QAbstractItemModel::dataChanged, this, &TZelGrid::ScheduleRowHeights);
    connect(grid_, &QAbstractItemModel::rowsInserted, this, &TZelGrid::ScheduleRowHeights);
    // Rows that change places or give way to others get their heights anew from their own texts.
    connect(grid_, &QAbstractItemModel::layoutChanged, this, &TZelGrid::ResetRowHeights);
    connect(grid_, &QAbstractItemModel::modelReset, this, &TZelGrid::ResetRowHeights);
    connect(grid_, &QAbstractItemModel::rowsRemoved, this, &TZelGrid::ResetRowHeights);
    connect(grid_, &QAbstractItemModel::rowsMoved, this, &TZelGrid::ResetRowHeights);
    connect(colHeader_, &QHeaderView::sectionResized, this, &TZelGrid::ScheduleRowHeights);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TZelGrid::ScheduleRowHeights);
}

int TZelGrid::Col() const {
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.column() + TZelGridModel::kFixedCols : TZelGridModel::kFixedCols;
}

int TZelGrid::Row() const {
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.row() + TZelGridModel::kFixedRows : TZelGridModel::kFixedRows;
}

void TZelGrid::SetCurrentCell(int col, int row) {
    const QModelIndex at = grid_->index(row - TZelGridModel::kFixedRows, col - TZelGridModel::kFixedCols);
    if (at.isValid())
        setCurrentIndex(at);
}

int TZelGrid::ColWidth(int col) const {
    if (col == 0)
        return rowHeader_->isHidden() ? 0 : rowHeader_->maximumWidth();
    const int section = col - TZelGridModel::kFixedCols;
    return isColumnHidden(section) ? 0 : columnWidth(section);
}

void TZelGrid::SetColWidth(int col, int width) {
    if (col == 0) {
        rowHeader_->setHidden(width <= 0);
        rowHeader_->setFixedWidth(std::max(width, 0));
        return;
    }
    const int section = col - TZelGridModel::kFixedCols;
    setColumnHidden(section, width <= 0);
    if (width > 0)
        setColumnWidth(section, width);
}

int TZelGrid::RowHeight(int row) const {
    return row == 0 ? colHeader_->maximumHeight() : rowHeight(row - TZelGridModel::kFixedRows);
}

void TZelGrid::SetRowHeight(int row, int height) {
    if (row == 0)
        colHeader_->setFixedHeight(std::max(height, 0));
    else
        setRowHeight(row - TZelGridModel::kFixedRows, height);
}

int TZelGrid::DefaultRowHeight() const {
    return rowHeader_->defaultSectionSize();
}

void TZelGrid::SetDefaultRowHeight(int height) {
    rowHeader_->setDefaultSectionSize(height);
}

void TZelGrid::SetAlternatingBackColor(const QColor& color) {
    alternatingBackColor_ = color;
    viewport()->update();
}

void TZelGrid::SetBackColor(const QColor& color) {
    backColor_ = color;
    viewport()->update();
}

void TZelGrid::SetSelectColor(const QColor& color) {
    selectColor_ = color;
    viewport()->update();
    colHeader_->viewport()->update();
    rowHeader_->viewport()->update();
}

void TZelGrid::SetFixedColor(const QColor& color) {
    fixedColor_ = color;
    colHeader_->viewport()->update();
    rowHeader_->viewport()->update();
}

void TZelGrid::SetGridLineColor(const QColor& color) {
    gridLineColor_ = color;
    ApplyGridLineColor();
}

void TZelGrid::ApplyGridLineColor() {
    // The table draws its lines in the palette's mid colour.
    QPalette colors = palette();
    colors.setColor(QPalette::Mid, gridLineColor_);
    setPalette(colors);
}

void TZelGrid::SetAllowSorting(bool on) {
    allowSorting_ = on;
    colHeader_->viewport()->update();
}

void TZelGrid::SetAutoRowHeight(bool on) {
    autoRowHeight_ = on;
    if (on)
        UpdateRowHeights();
    else
        ResetRowHeights();
}

void TZelGrid::ResetRowHeights() {
    // Setting the default height gives it to every row at once, whatever height a row had.
    rowHeader_->setDefaultSectionSize(rowHeader_->defaultSectionSize());
    ScheduleRowHeights();
}

void TZelGrid::SetRowHeaderFont(const QFont& font) {
    rowHeaderFont_ = font;
    rowHeader_->viewport()->update();
}

void TZelGrid::SetColHeaderFont(const QFont& font) {
    colHeaderFont_ = font;
    colHeader_->viewport()->update();
}

void TZelGrid::SetColWidths(const QList<int>& widths) {
    for (int col = 0; col < widths.size() && col < ColCount(); ++col)
        if (widths[col] != -2)
            SetColWidth(col, widths[col]);
}

void TZelGrid::DeleteRow(int row) {
    grid_->DeleteRow(row);
    if (row < RowCount())
        SetCurrentCell(Col(), row);
}

void TZelGrid::InsertRow(int row) {
    grid_->InsertRow(row);
}

void TZelGrid::ClearCells() {
    grid_->ClearCells();
    ResetRowHeights();
}

void TZelGrid::ClearAll() {
    grid_->ClearAll();
    setRowHeight(0, DefaultRowHeight());
}

void TZelGrid::ClearSortMark() {
    sortedColumn_ = -1;
    colHeader_->viewport()->update();
}

QList<int> TZelGrid::VisualColumns() const {
    QList<int> columns;
    for (int visual = 0; visual < colHeader_->count(); ++visual)
        columns << colHeader_->logicalIndex(visual) + TZelGridModel::kFixedCols;
    return columns;
}

bool TZelGrid::SortByColumn(int column) {
    if (RowCount() - TZelGridModel::kFixedRows < 2)
        return true;
    setEnabled(false);
    bool sorted = false;
    {
        TBusyCursor busy;
        sorted = grid_->SortByColumn(column, SortDescending());
    }
    if (sorted)
        SetCurrentCell(std::max(Col(), TZelGridModel::kFixedCols), TZelGridModel::kFixedRows);
    setEnabled(true);
    colHeader_->viewport()->update();
    return sorted;
}

void TZelGrid::SortColumn(int column, bool descending) {
    // A sort that was refused (the user cancelled it) leaves the marks as they were.
    const bool wasDescending = SortDescending();
    const int wasSorted = sortedColumn_;
    SetSortDescending(descending);
    sortedColumn_ = column;
    if (!SortByColumn(column)) {
        SetSortDescending(wasDescending);
        sortedColumn_ = wasSorted;
        colHeader_->viewport()->update();
    }
}

void TZelGrid::HeaderSortClick(int column) {
    SortColumn(column, column == sortedColumn_ ? !SortDescending() : false);
    setFocus();
}

void TZelGrid::SelectAll() {
    selectAll();
}

QRect TZelGrid::SelectedCells() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return QRect(QPoint(Col(), Row()), QPoint(Col(), Row()));
    }
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (const QModelIndex& at : selected) {
        left = std::min(left, at.column());
        right = std::max(right, at.column());
        top = std::min(top, at.row());
        bottom = std::max(bottom, at.row());
    }
    return QRect(QPoint(left + TZelGridModel::kFixedCols, top + TZelGridModel::kFixedRows),
                 QPoint(right + TZelGridModel::kFixedCols, bottom + TZelGridModel::kFixedRows));
}

void TZelGrid::CopyToClipboard() {
    if (allowNotCopy_)
        return;
    const QString text = grid_->CellsText(SelectedCells(), [this](int col) { return ColWidth(col) > 0; });
    QGuiApplication::clipboard()->setText(text);
}

void TZelGrid::PasteFromClipboard() {
    if (!allowPaste_ || readonly_)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        grid_->PasteText(Col(), Row(), text);
}

void TZelGrid::EmptySelection() {
    const QRect cells = SelectedCells();
    for (int row = cells.top(); row <= cells.bottom(); ++row)
        for (int col = cells.left(); col <= cells.right(); ++col)
            grid_->SetCell(col, row, QString());
}

QPoint TZelGrid::CellAtMouse() const {
    const QPoint point = mapFromGlobal(QCursor::pos());
    const int row = RowAt(point);
    const QPoint inView = viewport()->mapFrom(this, point);
    int col = -1;
    if (rowHeader_->isVisible() && rowHeader_->geometry().contains(point))
        col = 0;
    else if (const int section = columnAt(inView.x()); section >= 0)
        col = section + TZelGridModel::kFixedCols;
    if (col < 0 || row < 0)
        return QPoint(-1, -1);
    return QPoint(col, row);
}

int TZelGrid::RowAt(const QPoint& point) const {
    if (colHeader_->geometry().contains(point))
        return 0;
    const int section = rowAt(viewport()->mapFrom(this, point).y());
    return section < 0 ? -1 : section + TZelGridModel::kFixedRows;
}

bool TZelGrid::LoadFromTextFile(const QString& file, bool header) {
    TBusyCursor busy;
    if (!grid_->LoadFromTextFile(file, header))
        return false;
    ResetRowHeights();
    AdjustLayout();
    return true;
}

bool TZelGrid::ExportToExcel(const QString& file, const QString& title, bool visible, const QString& footer) {
    QString target = file.trimmed();
    if (target.isEmpty()) {
        if (!visible)
            return false;
        target = QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QStringLiteral("/verdan-") +
                 QString::number(QDateTime::currentMSecsSinceEpoch()) + QStringLiteral(".xlsx");
    }
    TSheetExport sheet;
    sheet.title = title.isEmpty() ? caption_ : title;
    sheet.footer = footer;
    sheet.rightToLeft = layoutDirection() == Qt::RightToLeft;
    for (int col = 0; col < ColCount(); ++col)
        sheet.colWidths.append(ColWidth(col));
    sheet.columns = VisualColumns();
    QString error;
    bool written = false;
    bool cancelled = false;
    {
        TWorkProgress progress(this, Translate(QStringLiteral("Save as Excel file")));
        const auto writer = NewXlsxWriter(DateSeparator());
        written = ExportGridToXlsx(*grid_, sheet, target, *writer, &error,
                                   [&](int done, int total) { return progress.Step(done, total); });
        cancelled = progress.Cancelled();
    }
    if (!written) {
        if (!cancelled)
            MsgError(error);
        return false;
    }
    if (visible)
        QDesktopServices::openUrl(QUrl::fromLocalFile(target));
    return true;
}

void TZelGrid::AdjustLayout() {
    QFont bold = font();
    bold.setBold(true);
    SetDefaultRowHeight(QFontMetrics(bold).height() + 6);
    SetColWidth(0, rowHeaderWidth_);
    // The title row never clips a line of its own font.
    SetRowHeight(0, std::max(colHeaderHeight_, QFontMetrics(colHeaderFont_).height() + 4));
    SetColCount(std::max(ColCount(), 2));
    if (autoColWidth_) {
        const QFontMetrics metrics(colHeaderFont_);
        for (int col = TZelGridModel::kFixedCols; col < ColCount(); ++col) {
            const int wanted = metrics.horizontalAdvance(grid_->CellText(col, 0)) + 10;
            if (ColWidth(col) > 0 && ColWidth(col) < wanted)
                SetColWidth(col, wanted);
        }
    }
    SetCurrentCell(TZelGridModel::kFixedCols, TZelGridModel::kFixedRows);
}

int TZelGrid::CellTextHeight(int col, int row) const {
    QFont bold = font();
    bold.setBold(true);
    // The text as the cell shows it: a window may show stored texts its own way.
    QString text = grid_->CellText(col, row);
    if (CellView && row >= TZelGridModel::kFixedRows) {
        int alignment = 0;
        Qt::LayoutDirection direction = layoutDirection();
        CellView(col, row, text, alignment, direction);
    }
    if (text.isEmpty())
        return DefaultRowHeight();
    // Wrapped as the cell draws it, within its margins.
    const QMargins margins = CellTextMargins(layoutDirection());
    const QRect bounds(0, 0, std::max(ColWidth(col) - margins.left() - margins.right(), 1), INT_MAX / 2);
    const int height = QFontMetrics(bold).boundingRect(bounds, Qt::TextWordWrap, text).height();
    if (height <= DefaultRowHeight())
        return DefaultRowHeight();
    return static_cast<int>(std::lround(bold.pointSizeF() * 1.5)) + height;
}

void TZelGrid::ScheduleRowHeights() {
    if (autoRowHeight_)
        rowHeightTimer_.start();
}

void TZelGrid::UpdateRowHeights() {
    if (!autoRowHeight_)
        return;
    const int top = std::max(rowAt(0), 0);
    const int last = std::min(grid_->rowCount(), top + kFittedRows);
    for (int section = top; section < last; ++section) {
        int height = DefaultRowHeight();
        for (int col = TZelGridModel::kFixedCols; col < ColCount(); ++col)
            if (ColWidth(col) > 0)
                height = std::max(height, CellTextHeight(col, section + TZelGridModel::kFixedRows));
        if (rowHeight(section) != height)
            setRowHeight(section, height);
    }
}

void TZelGrid::ShowPrintPreview() {
    if (OnPrintPreview) {
        OnPrintPreview();
        return;
    }
    if (print_ == nullptr) {
        print_ = new TZelGridPrintL(this);
        print_->SetGrid(this);
    }
    const QString title = caption_.isEmpty() ? window()->windowTitle() : caption_;
    print_->Settings().Title.Caption = title;
    print_->Settings().Footer.Caption = Translate(QStringLiteral("Verdan"));
    print_->SetCaption(Translate(QStringLiteral("Print Preview")));
    print_->SetBiDiMode(layoutDirection());
    print_->SetActive(true);
}

void TZelGrid::DrawCellText(QPainter& painter, const QRect& rect, const QString& text, int flags) {
    painter.fillRect(rect, painter.brush());
    painter.drawText(rect.adjusted(1, 3, -3, -2), flags, text);
}

int TZelGrid::DrawCellString(QPainter& painter, const QString& text, const QRect& rect, int flags) {
    QRect used;
    painter.drawText(rect, flags & ~Qt::TextShowMnemonic, text, &used);
    return used.height();
}

void TZelGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    // A modifier key's own press does not carry its modifier; the three together still count.
    if (key == Qt::Key_Shift)
        mods |= Qt::ShiftModifier;
    else if (key == Qt::Key_Control)
        mods |= Qt::ControlModifier;
    else if (key == Qt::Key_Alt)
        mods |= Qt::AltModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    const bool shift = mods == Qt::ShiftModifier;
    const bool alt = mods == Qt::AltModifier;
    if (mods == (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) {
        if (!event->isAutoRepeat())
            setLayoutDirection(layoutDirection() == Qt::RightToLeft ? Qt::LeftToRight : Qt::RightToLeft);
        return;
    }
    if (key == Qt::Key_Down && mods == Qt::NoModifier && autoRowIncrement_ && Row() == RowCount() - 1) {
        SetRowCount(RowCount() + 1);
    } else if (key == Qt::Key_Delete && shift) {
        EmptySelection();
        return;
    } else if (key == Qt::Key_Delete && ctrl) {
        if (allowRowDelete_)
            DeleteRow(Row());
        return;
    } else if (key == Qt::Key_Insert && alt) {
        if (allowRowInsert_)
            InsertRow(Row());
        return;
    } else if ((key == Qt::Key_Insert || key == Qt::Key_C) && ctrl) {
        CopyToClipboard();
        return;
    } else if ((key == Qt::Key_Insert && shift) || (key == Qt::Key_V && ctrl)) {
        PasteFromClipboard();
        return;
    } else if (key == Qt::Key_P && ctrl) {
        ShowPrintPreview();
        return;
    } else if (key == Qt::Key_A && ctrl) {
        SelectAll();
        return;
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) &&
               mods == Qt::NoModifier) {
        if (allowEdit_ && currentIndex().isValid())
            edit(currentIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}

void TZelGrid::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QTableView::wheelEvent(event);
        return;
    }
    // Alt turns the wheel sideways on some platforms.
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (delta == 0)
        return;
    QFont larger = font();
    const int size = larger.pointSize() > 0 ? larger.pointSize() : 9;
    larger.setPointSize(std::clamp(size + (delta > 0 ? 1 : -1), kMinWheelFont, kMaxWheelFont));
    setFont(larger);
    SetDefaultRowHeight(QFontMetrics(larger).height() + 10);
    event->accept();
}

void TZelGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!allowEdit_ || !at.isValid()) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    setCurrentIndex(at);
    edit(at);
    // The caret goes where the user clicked.
    if (auto* editor = qobject_cast<TGridEditor*>(QApplication::focusWidget()))
        editor->setTextCursor(
            editor->cursorForPosition(editor->mapFrom(viewport(), event->position().toPoint())));
}

void TZelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    colHeader_->viewport()->update();
    rowHeader_->viewport()->update();
}

void FillGridFromTable(TZelGrid& grid, const QList<QStringList>& table, const QString& keyColumn,
                       bool withHeader) {
    FillGridFromTable(grid.Model(), table, keyColumn, withHeader);
}

} // namespace verdan
