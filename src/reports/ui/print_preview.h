#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QTimer;

namespace verdan {

class TGridPrintLayout;
class TZelGridPrintL;

// The modal preview of a grid print: one page at a time, fitted to the window or at full size.
// Page Up, Page Down, Home and End turn the pages when the page is fitted; a click zooms in where it
// points, dragging pans and a double click returns to the fitted page. Pages are laid out as they are
// shown: the first one shows at once, and the rest are counted meanwhile, a little at a time.
class TfrmGPPreview : public QDialog {
    Q_OBJECT

public:
    explicit TfrmGPPreview(TZelGridPrintL& print, QWidget* parent = nullptr);
    ~TfrmGPPreview() override;

    int CurrentPage() const { return page_; }
    // The pages laid out so far; all of them once PageCountKnown.
    int PageCount() const;
    bool PageCountKnown() const;
    QString StatusText() const;
    // The note shown when the columns continue on following pages; empty when they fit.
    QString NoteText() const;
    bool FitMode() const { return fit_; }
    void ShowPage(int page);
    void SetFitMode(bool fit);
    // The page as the preview shows it now.
    QImage PageImage() const;

    void btNextClick();
    void btPreviousClick();
    void btZoomClick();
    void btPrintClick();
    void btSettingClick();
    void btPdfClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void Paginate();
    void PaginateSome();
    // Lays out every page, with progress; false when the user cancelled.
    bool PaginateAll();
    void Redraw();
    void UpdateStatus();
    double Scale() const;
    QString Text(const char* key) const;

    TZelGridPrintL& print_;
    std::unique_ptr<TGridPrintLayout> layout_;
    int page_ = 1;
    bool fit_ = true;
    QPoint dragFrom_;
    qint64 lastPressSecond_ = -1;
    QImage image_;
    QTimer* pageTimer_;

    QPushButton* btNext_;
    QPushButton* btPrevious_;
    QPushButton* btZoom_;
    QPushButton* btPrint_;
    QPushButton* btSetting_;
    QPushButton* btPdf_;
    QPushButton* btClose_;
    QScrollArea* scroll_;
    QLabel* pageView_;
    QScrollBar* pager_;
    QLabel* status_;
    QLabel* note_;
};

} // namespace verdan
