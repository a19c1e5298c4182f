#pragma once

#include "reports/grid_print_layout.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace verdan {

class TZelGrid;

// Prints a grid as paginated pages and shows them in a preview window first. Setting Active opens the
// preview (modal); from it the user pages through, zooms, prints through the system's print dialog or
// changes the page set-up. The pages of the preview, the printer and a PDF file come from one layout.
class TZelGridPrintL : public QObject {
    Q_OBJECT

public:
    explicit TZelGridPrintL(QObject* parent = nullptr);
    ~TZelGridPrintL() override;

    bool Active() const { return active_; }
    // True opens the preview and returns when it closes; Active is false again then.
    void SetActive(bool on);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    Qt::LayoutDirection BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(Qt::LayoutDirection mode) { biDiMode_ = mode; }
    TZelGrid* Grid() const { return grid_; }
    void SetGrid(TZelGrid* grid) { grid_ = grid; }
    int PageStart() const { return pageStart_; }
    int PageEnd() const { return pageEnd_; }
    void SetPageRange(int start, int end) {
        pageStart_ = start;
        pageEnd_ = end;
    }
    // Which item of each caption line serves a left-to-right and a right-to-left preview.
    int LanguageIndex = 0;
    int LanguageRTLIndex = 1;
    // Caption lines "Key = English item; Arabic item" that override the preview's captions.
    QStringList LanguageText;

    TGridPrintSettings& Settings() { return settings_; }
    const TGridPrintSettings& Settings() const { return settings_; }

    // What is printed; by default the grid's cells as they are, a window may show them its own way.
    std::function<TGridPrintSource(const TZelGrid& grid)> SourceProvider;
    // Called before each printed page; returning false aborts the print.
    std::function<bool(int page)> OnPrinting;

    // The layout of the grid's pages on the current paper, paginated; with a parent, a long pagination
    // shows progress and may be cancelled, which gives no layout.
    std::unique_ptr<TGridPrintLayout> MakeLayout(QWidget* parent = nullptr);
    // The layout with its columns placed and no row measured yet, for a preview that paginates as it
    // shows pages. A zoom fitted to the page width becomes the print zoom.
    std::unique_ptr<TGridPrintLayout> BeginLayout();
    // Prints pages first..last (1-based) of a layout on a printer set up already, with progress and a
    // Cancel that aborts the job; false when aborted.
    bool PrintPages(QPrinter& printer, int first, int last, QWidget* parent);
    // Writes every page to a PDF file with progress; false when cancelled or failed (said why).
    bool ExportPdf(const QString& file, QWidget* parent);

    // The caption of the preview named by `key` in the reading order's language.
    QString PreviewText(const QString& key, bool rightToLeft) const;

    static QStringList DefaultLanguageText();

signals:
    // The status line of a page being printed.
    void PrintingPage(const QString& status);

private:
    TGridPrintSource Source() const;
    void KeepFittedZoom(const TGridPrintLayout& layout);

    bool active_ = false;
    QString caption_;
    Qt::LayoutDirection biDiMode_ = Qt::LeftToRight;
    TZelGrid* grid_ = nullptr;
    int pageStart_ = 1;
    int pageEnd_ = 0;
    TGridPrintSettings settings_;
    // Layouts measure with it as long as they paginate.
    const TFontMeasurer measurer_;
};

} // namespace verdan
