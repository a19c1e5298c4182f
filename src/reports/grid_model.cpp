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
    cells_.fill(QStringList(colCount_), kMinRows);
}

void TZelGridModel::SetColCount(int count) {
    count = std::max(count, kMinCols);
    if (count == colCount_)
        return;
    if (count > colCount_) {
        beginInsertColumns(QModelIndex(), colCount_ - kFixedCols, count - kFixedCols - 1);
        for (QStringList& row : cells_)
            row.resize(count);
        colCount_ = count;
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), count - kFixedCols, colCount_ - kFixedCols - 1);
        for (QStringList& row : cells_)
            row.resize(count);
        colCount_ = count;
        endRemoveColumns();
    }
}

void TZelGridModel::SetRowCount(int count) {
    count = std::max(count, kMinRows);
    const int rows = RowCount();
    if (count > rows) {
        beginInsertRows(QModelIndex(), rows - kFixedRows, count - kFixedRows - 1);
        cells_.resize(count, QStringList(colCount_));
        endInsertRows();
    } else if (count < rows) {
        beginRemoveRows(QModelIndex(), count - kFixedRows, rows - kFixedRows - 1);
        cells_.resize(count);
        endRemoveRows();
    }
}

void TZelGridModel::ReplaceCells(QList<QStringList> cells) {
    int count = kMinCols;
    for (const QStringList& row : cells)
        count = std::max(count, static_cast<int>(row.size()));
    while (cells.size() < kMinRows)
        cells << QStringList();
    for (QStringList& row : cells)
        if (row.size() != count)
            row.resize(count);
    beginResetModel();
    cells_ = std::move(cells);
    colCount_ = count;
    endResetModel();
}

void TZelGridModel::KeepRows(const QList<int>& rows) {
    QList<QStringList> kept;
    kept.reserve(kFixedRows + rows.size());
    for (int row = 0; row < kFixedRows; ++row)
        kept << cells_[row];
    for (int row : rows)
        if (row >= kFixedRows && row < RowCount())
            kept << cells_[row];
    if (kept.size() < kMinRows)
        kept << QStringList(colCount_);
    ReplaceCells(std::move(kept));
}

QString TZelGridModel::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount())
        return QString();
    return cells_[row][col];
}

void TZelGridModel::SetCell(int col, int row, const QString& text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount() || cells_[row][col] == text)
        return;
    cells_[row][col] = text;
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
        if (sameTitle(cells_[0][col]))
            return col;
    return -1;
}

void TZelGridModel::DeleteRow(int row) {
    if (row < kFixedRows || row >= RowCount())
        return;
    if (BeforeRowDelete && !BeforeRowDelete(row))
        return;
    if (RowCount() == kMinRows) {
        for (int col = kFixedCols; col < colCount_; ++col)
            cells_[row][col].clear();
        emit dataChanged(index(0, 0), index(0, colCount_ - kFixedCols - 1));
    } else {
        beginRemoveRows(QModelIndex(), row - kFixedRows, row - kFixedRows);
        cells_.removeAt(row);
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
    cells_.insert(row, QStringList(colCount_));
    endInsertRows();
    emit AfterRowInsert(row);
}

void TZelGridModel::MoveRow(int from, int to) {
    if (from == to || from < kFixedRows || to < kFixedRows || from >= RowCount() || to >= RowCount())
        return;
    const int destination = (to > from ? to + 1 : to) - kFixedRows;
    beginMoveRows(QModelIndex(), from - kFixedRows, from - kFixedRows, QModelIndex(), destination);
    cells_.move(from, to);
    endMoveRows();
}

void TZelGridModel::ClearCells() {
    for (int row = kFixedRows; row < RowCount(); ++row)
        for (int col = kFixedCols; col < colCount_; ++col)
            cells_[row][col].clear();
    emit dataChanged(index(0, 0), index(RowCount() - kFixedRows - 1, colCount_ - kFixedCols - 1));
}

void TZelGridModel::ClearAll() {
    DeleteAllRows();
    cells_[0].fill(QString());
    for (QStringList& row : cells_)
        row[0].clear();
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
    QList<QStringList> sorted = cells_.mid(0, kFixedRows);
    QList<int> newRowOf(order.size());
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(cells_[order[i] + kFixedRows]);
        newRowOf[order[i]] = i;
    }
    cells_.swap(sorted);
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
    for (int row = kFixedRows; row < RowCount(); ++row)
        for (int col = kFixedCols; col < colCount_; ++col)
            cells_[row][col].clear();
    int cols = kMinCols;
    for (const QStringList& fields : records)
        cols = std::max(cols, kFixedCols + static_cast<int>(fields.size()));
    SetColCount(cols);
    const int first = header ? 0 : kFixedRows;
    SetRowCount(std::max(RowCount(), first + static_cast<int>(records.size())));
    for (int i = 0; i < records.size(); ++i)
        for (int f = 0; f < records[i].size(); ++f)
            cells_[first + i][kFixedCols + f] = records[i][f];
    AllCellsChanged();
    return true;
}

bool TZelGridModel::SaveToTextFile(const QString& file, bool header) const {
    if (file.trimmed().isEmpty())
        return false;
    const QChar separator = GridSeparator(fieldDelimiter_, file);
    QStringList lines;
    for (int row = header ? 0 : kFixedRows; row < RowCount(); ++row) {
        QStringList fields;
        for (int col = kFixedCols; col < colCount_; ++col) {
            QString text = CellText(col, row);
            if (OnExport && !OnExport(0, col, row, text))
                break;
            fields.append(text);
        }
        lines.append(FormatGridLine(fields, separator, commentDelimiter_));
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(EncodeGridText(lines));
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
    const QList<QStringList>& old = grid.AllCells();
    // The fixed column of each row is kept; the table fills the rest.
    auto place = [&](const QStringList& source, int row) {
        QStringList line;
        line.reserve(colCount);
        for (int col = 0; col < TZelGridModel::kFixedCols; ++col)
            line << (row < old.size() ? old[row].value(col) : QString());
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
        QStringList titles = old[0];
        titles.resize(colCount);
        cells << titles;
    }
    for (int i = 1; i <= valueRows; ++i)
        cells << place(table[i], TZelGridModel::kFixedRows + i - 1);
    if (valueRows == 0)
        cells << place(QStringList(), TZelGridModel::kFixedRows);
    grid.ReplaceCells(std::move(cells));
}

} // namespace verdan
