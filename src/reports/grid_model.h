#pragma once

#include "reports/packed_rows.h"

#include <QAbstractTableModel>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <climits>
#include <functional>
#include <vector>

namespace verdan {

// Called with the rows done and the rows in all; returning false cancels the work.
using TGridProgress = std::function<bool(int done, int total)>;

// The cells of a string grid: row 0 holds the column titles and column 0 the row titles; the rest are
// data cells. Cells are addressed as (column, row) over the whole grid. As an item model it shows the
// data cells, with row 0 and column 0 as its header data.
//
// Rows poured in whole (ReplaceCells, AppendRows) are kept packed, a few bytes of overhead a row, so a
// list of a million persons fits in memory; a row gets a list of its own when one of its cells changes.
// Sorting and filtering move references to rows, never their texts.
class TZelGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kFixedRows = 1;
    static constexpr int kFixedCols = 1;
    // Holds the cell text with its markup, whether or not the grid interprets markup.
    static constexpr int RawTextRole = Qt::UserRole + 1;

    explicit TZelGridModel(QObject* parent = nullptr);

    // Whole-grid counts, header row and column included; a grid keeps at least one data row and column.
    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetColCount(int count);
    void SetRowCount(int count);

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    // The cell text as shown and exported: without its tags when the grid interprets markup.
    QString CellText(int col, int row) const;

    // Cell tags are interpreted only when a grid turns this on; otherwise texts such as "<b>" in a name
    // are shown and exported as they are.
    bool Markup() const { return markup_; }
    void SetMarkup(bool on);
    bool AutoRowNumber() const { return autoRowNumber_; }
    void SetAutoRowNumber(bool on);
    QString FieldDelimiter() const { return fieldDelimiter_; }
    void SetFieldDelimiter(const QString& delimiter) { fieldDelimiter_ = delimiter; }
    QString CommentDelimiter() const { return commentDelimiter_; }
    void SetCommentDelimiter(const QString& delimiter) { commentDelimiter_ = delimiter; }

    // Header cell (i, 0) gets the i-th title; "@" leaves a title as it is.
    void SetColTitles(const QStringList& titles);
    // The first column whose title equals `title` regardless of ASCII case; -1 when none does.
    int ColumnIndexOf(const QString& title) const;

    // The only data row is emptied rather than deleted. Rows outside the data rows are ignored.
    void DeleteRow(int row);
    void DeleteAllRows();
    // Inserts an empty row at `row`, which is raised to the first data row and lowered to the end.
    void InsertRow(int row);
    void MoveRow(int from, int to);
    // Takes whole rows at once (one model reset instead of a change per cell): the columns grow to the
    // widest row and the grid keeps at least one data row and column.
    void ReplaceCells(const QList<QStringList>& cells);
    // Adds rows after the last one; the columns grow to the widest row. A grid whose only data row is
    // empty (as a new grid is) loses that row first.
    void AppendRows(const QList<QStringList>& rows);
    // Keeps only the listed data rows, in the order given; no row left leaves one empty data row.
    void KeepRows(const QList<int>& rows);
    // Every row, titles included, as lists of texts.
    QList<QStringList> AllCells() const;

    // The data rows in their present order, to be put back later without reading them again (the rows
    // before a filter, for instance). An order taken before the cells were last replaced is refused.
    struct TRowOrder {
        quint64 generation = 0;
        std::vector<quint64> rows;
    };
    TRowOrder RowOrder() const;
    bool SetRowOrder(const TRowOrder& order);
    // Empties every data cell; titles stay.
    void ClearCells();
    // Leaves one empty data row and empties the titles too.
    void ClearAll();
    // Orders the data rows by the texts of `column` (stable). Nothing with fewer than two data rows.
    bool SortByColumn(int column, bool descending);

    // The cells of the rectangle in grid coordinates as TAB-separated lines joined by CR LF, without
    // markup; rows start from the title row when the rectangle starts at the first data row. Columns for
    // which `shown` is false are left out.
    QString CellsText(const QRect& cells, const std::function<bool(int col)>& shown) const;
    // Pastes TAB-separated lines from (col, row) rightwards and down; what falls outside the grid is
    // dropped. Returns the number of rows touched.
    int PasteText(int col, int row, const QString& text);

    // Reads a delimited text file into the data rows (and the title row when `header`). The grid is
    // left alone when the file cannot be read.
    bool LoadFromTextFile(const QString& file, bool header);
    // Writes the rows one by one as they are saved, so a large grid needs no second copy in memory;
    // `progress` may cancel, which leaves any earlier file as it was. `columns` names the columns written,
    // in order; without it every data column is, in grid order.
    bool SaveToTextFile(const QString& file, bool header, const TGridProgress& progress = {},
                        const QList<int>& columns = {}) const;

    // Hooks a window may set: returning false vetoes the operation. `OnExport` may change a cell's text;
    // kind 0 is a text save, 2 the spreadsheet export; returning false ends the row.
    std::function<bool(int row)> BeforeRowDelete;
    std::function<bool(int row)> BeforeRowInsert;
    std::function<bool(int column, bool ascending)> BeforeSort;
    std::function<bool(int kind, int col, int row, QString& text)> OnExport;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void AfterRowDelete(int row);
    void AfterRowInsert(int row);
    void AfterSort(int column, bool ascending);

private:
    // A row is a reference into packed_, an index into own_ (with kOwnRow set) or kEmptyRow.
    using Handle = quint64;
    static constexpr Handle kOwnRow = Handle(1) << 63;
    static constexpr Handle kEmptyRow = ~Handle(0);

    void ChangedCell(int col, int row);
    void AllCellsChanged();
    // The row's own list of cells, made from its packed texts at the first change.
    QStringList& OwnRow(int row);
    Handle NewOwnRow(QStringList cells);
    Handle Pack(const QStringList& cells);
    QStringList RowCells(Handle row) const;
    void ResetRows(const QList<QStringList>& cells);

    std::vector<Handle> rows_;
    std::vector<QStringList> own_;
    TPackedRows packed_;
    // Packed rows show no field at or past this column: the columns shrank since they were packed.
    int packedLimit_ = INT_MAX;
    quint64 generation_ = 0;
    int colCount_ = 2;
    bool markup_ = false;
    bool autoRowNumber_ = false;
    QString fieldDelimiter_ = QStringLiteral("TAB");
    QString commentDelimiter_ = QStringLiteral(";");
};

// Pours a text table (row 0 the column names, then the rows of values) into the grid: its columns from
// the first data column on, its rows from the first data row on. A column named `keyColumn` (compared
// trimmed and regardless of case) is left out. With `withHeader` the names become the column titles.
// An empty table leaves the grid alone; a table without value rows leaves one empty data row.
void FillGridFromTable(TZelGridModel& grid, const QList<QStringList>& table, const QString& keyColumn,
                       bool withHeader);

} // namespace verdan
