#pragma once

#include "reports/grid_model.h"
#include "reports/name_cache.h"
#include "reports/report_filter.h"
#include "reports/report_tables.h"

#include <QMainWindow>
#include <climits>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QSplitter;
class QTimer;
class QToolButton;

namespace verdan {

class TZelGrid;
class TZelGridPrintL;
class Tfrm_Filter;
class TfrmColumns;

// One report of the list: its translated name and the procedure that fills the report grid.
struct TReport {
    QString Caption;
    std::function<void()> Build;
};
using TReports = QList<TReport>;

// The person, contact and address lists of the open tree: one row per person with the names of his
// father, grandfather and great-grandfather, quick and custom filters on a column, a find box, sorting,
// copy, the columns to show, export to a workbook or a text file, and printing with a preview.
//
// A list fills in the background, a little at a time between the window's other work, with its progress
// below the grid: the first rows show at once and the window stays responsive on the largest trees.
// Find, filters, sorting, printing and exports work on the whole list: started while it fills, they wait
// for it with progress (or not at all when the user cancels).
class TfrmReports : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmReports(QWidget* parent = nullptr);
    ~TfrmReports() override;

    // Gives the window its three reports, starts reading the name cache and shows the window.
    void ShowReportsWindow();
    void SetReports(const TReports& reports);
    void RunSelectedReport();
    // Reads the report shown from the tree again (after an undo or redo), with its filter when it is on
    // and its sort.
    void ReadReportAgain();
    void BuildPersonList();
    void BuildContactList();
    void BuildAddressList();

    // True while a list is being read into the grid.
    bool Filling() const;
    // True while the names or a list are being read.
    bool Reading() const;
    // Waits with progress until the list is read whole; false when the user cancelled.
    bool WaitForFill();

    void FilterCurrentColumn(const TFilter& filter);
    void ApplyFilter(const TFilter& filter, int column);
    void SetFilterState(bool filtered);
    // Starts looking for the next cell holding the text; a long search goes on between the window's
    // other work.
    void FindNext(const QString& text);
    bool Finding() const;
    // The grid's popup menu for its current cell, composed anew each time.
    void ComposePopup(QMenu& menu);

    // The grid columns shown, in the order shown; the print and every export take these.
    QList<int> ShownColumns() const;
    // Shows these columns in this order and remembers them for the report.
    void SetShownColumns(const QList<int>& columns);

    void mnuSaveAsExcelClick();
    void mnuSaveAsTextClick();
    void mnuPreviewClick();
    void mnuPdfClick();
    void mnuSortClick();
    void mnuColumnsClick();
    void bt_FilterClick(bool down);

    TZelGrid* Grid() const { return g_; }
    QListWidget* ReportList() const { return lst_Report_; }
    QToolButton* FilterButton() const { return bt_Filter_; }
    QLineEdit* FindBox() const { return txtFind_; }
    TZelGridPrintL* GridPrint() const { return gPrint_; }
    Tfrm_Filter* FilterDialog() const { return frmFilter_; }
    TfrmColumns* ColumnsDialog() const { return frmColumns_; }
    QProgressBar* FillBar() const { return fillBar_; }
    std::optional<TReportKind> CurrentKind() const { return kind_; }
    // The number of times a report table was read from the tree.
    int TableReads() const { return tableReads_; }
    // The most rows read in one slice of the background reading; tests make it small.
    int FillSliceRows = INT_MAX;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The names first, then the report: both a slice at a time.
    struct TFill {
        std::optional<TReportKind> kind;
        TNameCacheLoader names;
        bool namesRead = false;
        std::unique_ptr<TReportReader> reader;
        bool shown = false; // the first rows are in the grid

        int Done() const;
        int Total() const;
    };

    void BuildReport(TReportKind kind);
    // Starts reading the name cache and, with a kind, that report into the grid.
    void StartFill(std::optional<TReportKind> kind);
    void FillStep();
    void FinishFill();
    void StopFill();
    void ShowFillProgress(const QString& label, int done, int total);
    void TranslateTexts();
    void ShowCell(int col, int row, QString& text, int& alignment, Qt::LayoutDirection& direction) const;
    QString ShownText(int col, int row) const;
    void AddFilterEntries(QMenu& menu, const QString& value, const QString& shown);
    void CustomFilter(const char* pattern, const char* kind, quint8 operation);
    void FindSome();
    void ShowFound(const QPoint& hit);
    void ApplyColumns(const QList<int>& columns);
    void RememberColumns();
    void ReapplySort();
    void ColumnResized(int section, int oldSize, int newSize);

    TReports reports_;
    std::function<void()> currentReport_;
    std::optional<TReportKind> kind_;
    bool sortDescending_ = false;
    std::optional<TFilter> savedFilter_;
    QString filterColumnTitle_;
    // Every row of the list in the order read, to show them again when a filter is lifted.
    TZelGridModel::TRowOrder allRows_;
    // The last sort (column, descending), made again when the rows come back.
    std::optional<std::pair<int, bool>> lastSort_;
    int tableReads_ = 0;
    quint64 treeGeneration_ = 0;
    std::unique_ptr<TFill> fill_;
    // Work that waits for the list being read (a filter made again after an undo).
    std::function<void()> afterFill_;
    std::unique_ptr<TCellFinder> finder_;
    bool applyingColumns_ = false;

    QMenu* mnuFile_;
    QAction* mnuSaveAsExcel_;
    QAction* mnuSaveAsText_;
    QAction* mnuPreview_;
    QAction* mnuPdf_;
    QAction* mnuColumns_;
    QAction* mnuClose_;
    QToolButton* btExcel_;
    QToolButton* btPreview_;
    QToolButton* btColumns_;
    QLabel* lblFind_;
    QLineEdit* txtFind_;
    QToolButton* btFind_;
    QLabel* lbl_Title_;
    QSplitter* splitter_;
    QListWidget* lst_Report_;
    TZelGrid* g_;
    QToolButton* bt_Filter_;
    QLabel* fillLabel_;
    QProgressBar* fillBar_;
    QTimer* fillTimer_;
    QTimer* findTimer_;
    TZelGridPrintL* gPrint_;
    Tfrm_Filter* frmFilter_;
    TfrmColumns* frmColumns_;
};

} // namespace verdan
