#include "grid_model.h"

#include "grid_markup.h"
#include "grid_sort.h"
#include "grid_text_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

namespace verdan {

namespace {
constexpr int kMinRows = TZelGridModel::kFixedRows + 1;
constexpr int kMinCols = TZelGridModel::kFixedCols + 1;
} // namespace

TZelGridModel::TZelGridModel(QObject* parent) : QAbstractTableModel(parent) {
    rows_.assign(kMinRows, kEmptyRow);
    rows_[0] = NewOwnRow(QStringList(colCount_));
}

TZelGridModel::Handle TZelGridModel::NewOwnRow(QStringList cells) {
    own_.push_back(std::move(cells));
    return kOwnRow | Handle(own_.size() - 1);
}

TZelGridModel::Handle TZelGridModel::Pack(const QStringList& cells) {
    for (const QString& cell : cells)
        if (!cell.isEmpty())
            return packed_.Append(cells);
    return kEmptyRow;
}

QStringList TZelGridModel::RowCells(Handle row) const {
    QStringList cells;
    if (row == kEmptyRow)
        cells = QStringList(colCount_);
    else if (row & kOwnRow)
        cells = own_[row & ~kOwnRow];
    else
        cells = packed_.Fields(row);
    if (!(row & kOwnRow) && cells.size() > packedLimit_)
        cells.resize(packedLimit_);
    cells.resize(colCount_);
    return cells;
}

QStringList& TZelGridModel::OwnRow(int row) {
    Handle& handle = rows_[row];
    if (!(handle & kOwnRow) || handle == kEmptyRow)
        handle = NewOwnRow(RowCells(handle));
    QStringList& cells = own_[handle & ~kOwnRow];
    if (cells.size() < colCount_)
        cells.resize(colCount_);
    return cells;
}

void TZelGridModel::ResetRows(const QList<QStringList>& cells) {
    packed_.Clear();
    own_.clear();
    rows_.clear();
    packedLimit_ = INT_MAX;
    ++generation_;
    int count = kMinCols;
    for (const QStringList& row : cells)
        count = std::max(count, static_cast<int>(row.size()));
    colCount_ = count;
    rows_.reserve(std::max<qsizetype>(cells.size(), kMinRows));
    for (qsizetype row = 0; row < cells.size(); ++row)
        rows_.push_back(row < kFixedRows ? NewOwnRow(cells[row]) : Pack(cells[row]));
    while (rows_.size() < kMinRows)
        rows_.push_back(rows_.empty() ? NewOwnRow(QStringList(colCount_)) : kEmptyRow);
}

void TZelGridModel::SetColCount(int count) {
    count = std::max(count, kMinCols);
    if (count == colCount_)
        return;
    if (count > colCount_) {
        beginInsertColumns(QModelIndex(), colCount_ - kFixedCols, count - kFixedCols - 1);
        colCount_ = count;
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), count - kFixedCols, colCount_ - kFixedCols - 1);
        for (QStringList& row : own_)
            if (row.size() > count)
                row.resize(count);
        packedLimit_ = std::min(packedLimit_, count);
        colCount_ = count;
        endRemoveColumns();
    }
}

void TZelGridModel::SetRowCount(int count) {
    count = std::max(count, kMinRows);
    const int rows = RowCount();
    if (count > rows) {
        beginInsertRows(QModelIndex(), rows - kFixedRows, count - kFixedRows - 1);
        rows_.resize(count, kEmptyRow);
        endInsertRows();
    } else if (count < rows) {
        beginRemoveRows(QModelIndex(), count - kFixedRows, rows - kFixedRows - 1);
        rows_.resize(count);
        endRemoveRows();
    }
}

void TZelGridModel::ReplaceCells(const QList<QStringList>& cells) {
    beginResetModel();
    ResetRows(cells);
    endResetModel();
}

void TZelGridModel::AppendRows(const QList<QStringList>& rows) {
    if (rows.isEmpty())
        return;
    int count = colCount_;
    for (const QStringList& row : rows)
        count = std::max(count, static_cast<int>(row.size()));
    SetColCount(count);
    // A grid holds one data row at least: an empty one stands in until rows come.
    if (RowCount() == kMinRows && rows_[kFixedRows] == kEmptyRow) {
        beginRemoveRows(QModelIndex(), 0, 0);
        rows_.pop_back();
        endRemoveRows();
    }
    const int first = RowCount();
    beginInsertRows(QModelIndex(), first - kFixedRows, first - kFixedRows + int(rows.size()) - 1);
    rows_.reserve(rows_.size() + rows.size());
    for (const QStringList& row : rows)
        rows_.push_back(Pack(row));
    endInsertRows();
}

void TZelGridModel::KeepRows(const QList<int>& rows) {
    beginResetModel();
    std::vector<Handle> kept(rows_.begin(), rows_.begin() + kFixedRows);
    kept.reserve(kFixedRows + rows.size());
    for (int row : rows)
        if (row >= kFixedRows && row < RowCount())
            kept.push_back(rows_[row]);
    if (kept.size() < kMinRows)
        kept.push_back(kEmptyRow);
    rows_.swap(kept);
    endResetModel();
}

QList<QStringList> TZelGridModel::AllCells() const {
    QList<QStringList> cells;
    cells.reserve(RowCount());
    for (const Handle row : rows_)
        cells << RowCells(row);
    return cells;
}

TZelGridModel::TRowOrder TZelGridModel::RowOrder() const {
    return TRowOrder{generation_, std::vector<quint64>(rows_.begin() + kFixedRows, rows_.end())};
}

bool TZelGridModel::SetRowOrder(const TRowOrder& order) {
    if (order.generation != generation_)
        return false;
    beginResetModel();
    rows_.resize(kFixedRows);
    rows_.insert(rows_.end(), order.rows.begin(), order.rows.end());
    if (rows_.size() < kMinRows)
        rows_.push_back(kEmptyRow);
    endResetModel();
    return true;
}

QString TZelGridModel::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount())
        return QString();
    const Handle handle = rows_[row];
    if (handle == kEmptyRow)
        return QString();
    if (handle & kOwnRow)
        return own_[handle & ~kOwnRow].value(col);
    return col < packedLimit_ ? packed_.Field(handle, col) : QString();
}

void TZelGridModel::SetCell(int col, int row, const QString& text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount() || Cell(col, row) == text)
        return;
    OwnRow(row)[col] = text;
    ChangedCell(col, row);
}

QString TZelGridModel::CellText(int col, int row) const {
    return markup_ ? StripMarkup(Cell(col, row)) : Cell(col, row);
}

void TZelGridModel::ChangedCell(int col, int row) {
    if (row < kFixedRows) {
        if (col >= kFixedCols)
            emit headerDataChanged(Qt::Horizontal, col - kFixedCols, col - kFixedCols);
    } else if (col < kFixedCols) {
        emit headerDataChanged(Qt::Vertical, row - kFixedRows, row - kFixedRows);
    } else {
        const QModelIndex at = index(row - kFixedRows, col - kFixedCols);
        emit dataChanged(at, at);
    }
}

void TZelGridModel::SetMarkup(bool on) {
    if (markup_ == on)
        return;
    markup_ = on;
    AllCellsChanged();
}

void TZelGridModel::AllCellsChanged() {
    emit dataChanged(index(0, 0), index(RowCount() - kFixedRows - 1, colCount_ - kFixedCols - 1));
    emit headerDataChanged(Qt::Horizontal, 0, colCount_ - kFixedCols - 1);
    emit headerDataChanged(Qt::Vertical, 0, RowCount() - kFixedRows - 1);
}

void TZelGridModel::SetAutoRowNumber(bool on) {
    if (autoRowNumber_ == on)
        return;
    autoRowNumber_ = on;
    emit headerDataChanged(Qt::Vertical, 0, RowCount() - kFixedRows - 1);
}

void TZelGridModel::SetColTitles(const QStringList& titles) {
    for (int i = 0; i < titles.size() && i < colCount_; ++i)
        if (titles[i] != QStringLiteral("@"))
            SetCell(i, 0, titles[i]);
}

int TZelGridModel::ColumnIndexOf(const QString& title) const {
    auto asciiLower = [](QChar c) {
        return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
    };
    auto sameTitle = [&](const QString& a) {
        if (a.size() != title.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i)
            if (asciiLower(a[i]) != asciiLower(title[i]))
                return false;
        return true;
    };
    for (int col = 0; col < colCount_; ++col)
        if (sameTitle(Cell(col, 0)))
            return col;
    return -1;
}

void TZelGridModel::DeleteRow(int row) {
    if (row < kFixedRows || row >= RowCount())
        return;
    if (BeforeRowDelete && !BeforeRowDelete(row))
        return;
    if (RowCount() == kMinRows) {
        QStringList& cells = OwnRow(row);
        for (int col = kFixedCols; col < colCount_; ++col)
            cells[col].clear();
        emit dataChanged(index(0, 0), index(0, colCount_ - kFixedCols - 1));
    } else {
        beginRemoveRows(QModelIndex(), row - kFixedRows, row - kFixedRows);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
    emit AfterRowDelete(row);
}

void TZelGridModel::DeleteAllRows() {
    for (int row = RowCount() - 1; row >= kFixedRows; --row)
        DeleteRow(row);
}

void TZelGridModel::InsertRow(int row) {
    row = std::clamp(row, kFixedRows, RowCount());
    if (BeforeRowInsert && !BeforeRowInsert(row))
        return;
    beginInsertRows(QModelIndex(), row - kFixedRows, row - kFixedRows);
    rows_.insert(rows_.begin() + row, kEmptyRow);
    endInsertRows();
    emit AfterRowInsert(row);
}

void TZelGridModel::MoveRow(int from, int to) {
    if (from == to || from < kFixedRows || to < kFixedRows || from >= RowCount() || to >= RowCount())
        return;
    const int destination = (to > from ? to + 1 : to) - kFixedRows;
    beginMoveRows(QModelIndex(), from - kFixedRows, from - kFixedRows, QModelIndex(), destination);
    const Handle moved = rows_[from];
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, moved);
    endMoveRows();
}

void TZelGridModel::ClearCells() {
    // Only the row titles stay.
    for (int row = kFixedRows; row < RowCount(); ++row) {
        const QString title = Cell(0, row);
        rows_[row] = title.isEmpty() ? kEmptyRow : NewOwnRow(QStringList{title});
    }
    emit dataChanged(index(0, 0), index(RowCount() - kFixedRows - 1, colCount_ - kFixedCols - 1));
}

void TZelGridModel::ClearAll() {
    DeleteAllRows();
    rows_[0] = NewOwnRow(QStringList(colCount_));
    for (int row = kFixedRows; row < RowCount(); ++row)
        rows_[row] = kEmptyRow;
    AllCellsChanged();
}

bool TZelGridModel::SortByColumn(int column, bool descending) {
    if (RowCount() - kFixedRows < 2 || column < kFixedCols || column >= colCount_)
        return false;
    if (BeforeSort && !BeforeSort(column, !descending))
        return false;
    QStringList keys;
    keys.reserve(RowCount() - kFixedRows);
    for (int row = kFixedRows; row < RowCount(); ++row)
        keys.append(CellText(column, row));
    const QList<int> order = GridSortOrder(keys, descending, ShortDateFormat());
    // A layout change, not a reset, so that views keep their column widths and the current cell's row.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Handle> sorted(rows_.begin(), rows_.begin() + kFixedRows);
    sorted.reserve(rows_.size());
    QList<int> newRowOf(order.size());
    for (int i = 0; i < order.size(); ++i) {
        sorted.push_back(rows_[order[i] + kFixedRows]);
        newRowOf[order[i]] = i;
    }
    rows_.swap(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& at : before)
        after.append(index(newRowOf[at.row()], at.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit AfterSort(column, !descending);
    return true;
}

QString TZelGridModel::CellsText(const QRect& cells, const std::function<bool(int col)>& shown) const {
    const int top = cells.top() == kFixedRows ? 0 : cells.top();
    QStringList lines;
    for (int row = std::max(top, 0); row <= cells.bottom() && row < RowCount(); ++row) {
        QStringList fields;
        for (int col = std::max(cells.left(), 0); col <= cells.right() && col < colCount_; ++col)
            if (shown(col))
                fields.append(CellText(col, row));
        lines.append(fields.join(u'\t'));
    }
    return lines.join(QStringLiteral("\r\n"));
}

int TZelGridModel::PasteText(int col, int row, const QString& text) {
    if (col < kFixedCols || row < kFixedRows)
        return 0;
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    int touched = 0;
    for (int k = 0; k < lines.size() && row + k < RowCount(); ++k, ++touched) {
        const QStringList fields = lines[k].split(u'\t');
        for (int i = 0; i < fields.size() && col + i < colCount_; ++i)
            SetCell(col + i, row + k, fields[i]);
    }
    return touched;
}

bool TZelGridModel::LoadFromTextFile(const QString& file, bool header) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QList<QStringList> records =
        ParseGridText(DecodeGridText(in.readAll()), GridSeparator(fieldDelimiter_, file), commentDelimiter_);
    for (int row = kFixedRows; row < RowCount(); ++row) {
        const QString title = Cell(0, row);
        rows_[row] = title.isEmpty() ? kEmptyRow : NewOwnRow(QStringList{title});
    }
    int cols = kMinCols;
    for (const QStringList& fields : records)
        cols = std::max(cols, kFixedCols + static_cast<int>(fields.size()));
    SetColCount(cols);
    const int first = header ? 0 : kFixedRows;
    SetRowCount(std::max(RowCount(), first + static_cast<int>(records.size())));
    for (int i = 0; i < records.size(); ++i) {
        QStringList& cells = OwnRow(first + i);
        for (int f = 0; f < records[i].size(); ++f)
            cells[kFixedCols + f] = records[i][f];
    }
    AllCellsChanged();
    return true;
}

bool TZelGridModel::SaveToTextFile(const QString& file, bool header, const TGridProgress& progress,
                                   const QList<int>& columns) const {
    if (file.trimmed().isEmpty())
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QChar separator = GridSeparator(fieldDelimiter_, file);
    QList<int> written;
    for (const int col : columns)
        if (col >= kFixedCols && col < colCount_)
            written << col;
    if (columns.isEmpty())
        for (int col = kFixedCols; col < colCount_; ++col)
            written << col;
    constexpr int kProgressStep = 2000;
    constexpr qsizetype kFlushAt = 1 << 16;
    QByteArray pending("\xEF\xBB\xBF");
    const int total = RowCount() - kFixedRows;
    for (int row = header ? 0 : kFixedRows; row < RowCount(); ++row) {
        if (progress && row % kProgressStep == 0 && !progress(std::max(row - kFixedRows, 0), total)) {
            out.cancelWriting();
            return false;
        }
        QStringList fields;
        for (const int col : written) {
            QString text = CellText(col, row);
            if (OnExport && !OnExport(0, col, row, text))
                break;
            fields.append(text);
        }
        pending += FormatGridLine(fields, separator, commentDelimiter_).toUtf8();
        pending += "\r\n";
        if (pending.size() >= kFlushAt) {
            out.write(pending);
            pending.clear();
        }
    }
    out.write(pending);
    if (progress)
        progress(total, total);
    return out.commit();
}

int TZelGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount() - kFixedRows;
}

int TZelGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount_ - kFixedCols;
}

QVariant TZelGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    const int col = index.column() + kFixedCols;
    const int row = index.row() + kFixedRows;
    switch (role) {
    case Qt::DisplayRole:
        return CellText(col, row);
    case Qt::EditRole:
    case RawTextRole:
        return Cell(col, row);
    default:
        return QVariant();
    }
}

bool TZelGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetCell(index.column() + kFixedCols, index.row() + kFixedRows, value.toString());
    return true;
}

QVariant TZelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != RawTextRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return role == RawTextRole ? Cell(section + kFixedCols, 0) : CellText(section + kFixedCols, 0);
    if (autoRowNumber_)
        return QString::number(section + 1);
    return role == RawTextRole ? Cell(0, section + kFixedRows) : CellText(0, section + kFixedRows);
}

Qt::ItemFlags TZelGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void FillGridFromTable(TZelGridModel& grid, const QList<QStringList>& table, const QString& keyColumn,
                       bool withHeader) {
    if (table.isEmpty() || table[0].isEmpty())
        return;
    const QStringList& names = table[0];
    const int c = static_cast<int>(names.size());
    int hidden = -1;
    const QString key = keyColumn.trimmed().toUpper();
    if (!key.isEmpty())
        for (int i = 0; i < c && hidden < 0; ++i)
            if (names[i].trimmed().toUpper() == key)
                hidden = i;
    const int shownColumns = c - (hidden >= 0 ? 1 : 0);
    const int valueRows = static_cast<int>(table.size()) - 1;
    const int colCount = std::max(TZelGridModel::kFixedCols + shownColumns, TZelGridModel::kFixedCols + 1);
    // The fixed column of each row is kept; the table fills the rest.
    auto place = [&](const QStringList& source, int row) {
        QStringList line;
        line.reserve(colCount);
        for (int col = 0; col < TZelGridModel::kFixedCols; ++col)
            line << grid.Cell(col, row);
        for (int i = 0; i < c; ++i)
            if (i != hidden)
                line << source.value(i);
        line.resize(colCount);
        return line;
    };
    QList<QStringList> cells;
    cells.reserve(TZelGridModel::kFixedRows + std::max(valueRows, 1));
    if (withHeader) {
        cells << place(names, 0);
    } else {
        QStringList titles;
        for (int col = 0; col < colCount; ++col)
            titles << grid.Cell(col, 0);
        cells << titles;
    }
    for (int i = 1; i <= valueRows; ++i)
        cells << place(table[i], TZelGridModel::kFixedRows + i - 1);
    if (valueRows == 0)
        cells << place(QStringList(), TZelGridModel::kFixedRows);
    grid.ReplaceCells(cells);
}

} // namespace verdan
