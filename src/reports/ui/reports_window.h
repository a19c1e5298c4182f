#pragma once

#include "reports/report_filter.h"
#include "reports/report_tables.h"

#include <QMainWindow>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSplitter;
class QToolButton;

namespace verdan {

class TZelGrid;
class TZelGridPrintL;
class Tfrm_Filter;

// One report of the list: its translated name and the procedure that fills the report grid.
struct TReport {
    QString Caption;
    std::function<void()> Build;
};
using TReports = QList<TReport>;

// The person, contact and address lists of the open tree: one row per person with the names of his
// father, grandfather and great-grandfather, quick and custom filters on a column, a find box, sorting,
// copy, export to a workbook or a text file, and printing with a preview.
class TfrmReports : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmReports(QWidget* parent = nullptr);

    // Gives the window its three reports, loads the name cache and shows the window.
    void ShowReportsWindow();
    void SetReports(const TReports& reports);
    void RunSelectedReport();
    // Reads the report shown from the tree again (after an undo or redo), with its filter when it is on.
    void ReadReportAgain();
    void BuildPersonList();
    void BuildContactList();
    void BuildAddressList();

    void FilterCurrentColumn(const TFilter& filter);
    void ApplyFilter(const TFilter& filter, int column);
    void SetFilterState(bool filtered);
    void FindNext(const QString& text);
    // The grid's popup menu for its current cell, composed anew each time.
    void ComposePopup(QMenu& menu);

    void mnuSaveAsExcelClick();
    void mnuSaveAsTextClick();
    void mnuPreviewClick();
    void mnuPdfClick();
    void mnuSortClick();
    void bt_FilterClick(bool down);

    TZelGrid* Grid() const { return g_; }
    QListWidget* ReportList() const { return lst_Report_; }
    QToolButton* FilterButton() const { return bt_Filter_; }
    QLineEdit* FindBox() const { return txtFind_; }
    TZelGridPrintL* GridPrint() const { return gPrint_; }
    Tfrm_Filter* FilterDialog() const { return frmFilter_; }
    std::optional<TReportKind> CurrentKind() const { return kind_; }
    // The table the last report read; the filter button shows it again without reading the tree.
    const TextTable& CachedReportTable() const { return cachedTable_; }
    // The number of times a report table was read from the tree.
    int TableReads() const { return tableReads_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildReport(TReportKind kind);
    void TranslateTexts();
    void ShowCell(int col, int row, QString& text, int& alignment, Qt::LayoutDirection& direction) const;
    QString ShownText(int col, int row) const;
    void AddFilterEntries(QMenu& menu, const QString& value, const QString& shown);
    void CustomFilter(const char* pattern, const char* kind, quint8 operation);

    TReports reports_;
    std::function<void()> currentReport_;
    std::optional<TReportKind> kind_;
    bool sortDescending_ = false;
    std::optional<TFilter> savedFilter_;
    QString filterColumnTitle_;
    TextTable cachedTable_;
    bool reuseCachedTable_ = false;
    int tableReads_ = 0;
    quint64 treeGeneration_ = 0;

    QMenu* mnuFile_;
    QAction* mnuSaveAsExcel_;
    QAction* mnuSaveAsText_;
    QAction* mnuPreview_;
    QAction* mnuPdf_;
    QAction* mnuClose_;
    QToolButton* btExcel_;
    QToolButton* btPreview_;
    QLabel* lblFind_;
    QLineEdit* txtFind_;
    QToolButton* btFind_;
    QLabel* lbl_Title_;
    QSplitter* splitter_;
    QListWidget* lst_Report_;
    TZelGrid* g_;
    QToolButton* bt_Filter_;
    TZelGridPrintL* gPrint_;
    Tfrm_Filter* frmFilter_;
};

} // namespace verdan
