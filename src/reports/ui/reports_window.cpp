#include "reports_window.h"

#include "filter_dialog.h"
#include "grid_print.h"
#include "reports/grid_model.h"
#include "reports/grid_pdf.h"
#include "reports/name_cache.h"
#include "reports/report_cells.h"
#include "reports/report_print.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/person_follow.h"
#include "work_progress.h"
#include "zel_grid.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kListWidth = 185;
constexpr int kPersonRowHeight = 20;
const QColor kSelectColor = QColor(0xAD, 0xD6, 0xF2); // 15914157 as 0x00BBGGRR

QString T(const char* text) {
    return Translate(QString::fromLatin1(text));
}

QToolButton* ToolButton(QWidget* parent, QStringView icon) {
    auto* button = new QToolButton(parent);
    button->setIcon(Icon(icon));
    button->setAutoRaise(true);
    return button;
}

} // namespace

TfrmReports::TfrmReports(QWidget* parent) : QMainWindow(parent) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("TfrmReports"));
    setWindowFlag(Qt::Window);
    mnuFile_ = menuBar()->addMenu(QString());
    mnuSaveAsExcel_ = mnuFile_->addAction(Icon(u"x-office-spreadsheet"), QString(), this,
                                          &TfrmReports::mnuSaveAsExcelClick);
    mnuSaveAsText_ =
        mnuFile_->addAction(Icon(u"document-save-as"), QString(), this, &TfrmReports::mnuSaveAsTextClick);
    mnuFile_->addSeparator();
    mnuPreview_ =
        mnuFile_->addAction(Icon(u"document-print-preview"), QString(), this, &TfrmReports::mnuPreviewClick);
    mnuPreview_->setShortcut(QKeySequence::Print);
    mnuPdf_ = mnuFile_->addAction(Icon(u"document-send"), QString(), this, &TfrmReports::mnuPdfClick);
    mnuFile_->addSeparator();
    mnuClose_ = mnuFile_->addAction(Icon(u"application-exit"), QString(), this, &QWidget::close);
    mnuClose_->setShortcut(QKeySequence::Close);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    auto* top = new QHBoxLayout;
    top->setSpacing(kSpacing);
    btExcel_ = ToolButton(central, u"x-office-spreadsheet");
    btPreview_ = ToolButton(central, u"document-print-preview");
    lblFind_ = new QLabel(central);
    txtFind_ = new QLineEdit(central);
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    txtFind_->setClearButtonEnabled(true);
    txtFind_->setMaximumWidth(220);
    btFind_ = ToolButton(central, u"edit-find");
    lbl_Title_ = new QLabel(central);
    QFont titleFont = lbl_Title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lbl_Title_->setFont(titleFont);
    top->addWidget(btExcel_);
    top->addWidget(btPreview_);
    top->addSpacing(2 * kSpacing);
    top->addWidget(lblFind_);
    top->addWidget(txtFind_);
    top->addWidget(btFind_);
    top->addStretch();
    top->addWidget(lbl_Title_);

    splitter_ = new QSplitter(Qt::Horizontal, central);
    lst_Report_ = new QListWidget(splitter_);
    lst_Report_->setObjectName(QStringLiteral("lst_Report"));
    g_ = new TZelGrid(splitter_);
    g_->setObjectName(QStringLiteral("g"));
    splitter_->addWidget(lst_Report_);
    splitter_->addWidget(g_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kListWidth, 900});

    auto* bottom = new QHBoxLayout;
    bt_Filter_ = ToolButton(central, u"view-filter");
    bt_Filter_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bt_Filter_->setAutoRaise(false);
    bt_Filter_->setObjectName(QStringLiteral("bt_Filter"));
    bt_Filter_->setCheckable(true);
    bt_Filter_->setEnabled(false);
    bottom->addWidget(bt_Filter_);
    bottom->addStretch();

    column->addLayout(top);
    column->addWidget(splitter_, 1);
    column->addLayout(bottom);
    setCentralWidget(central);

    // Every report lists persons: the cards follow the row pointed at or chosen.
    FollowPersonView(g_, [this](const QModelIndex& index) {
        const bool persons =
            kind_ && ReportFieldOfColumn(*kind_, 1).compare(u"person_id", Qt::CaseInsensitive) == 0;
        return persons ? g_->Cells(1, index.row() + 1) : QString();
    });
    g_->SetAllowEdit(true);
    g_->SetAllowPaste(false);
    g_->SetAutoRowHeight(true);
    g_->SetSelectColor(kSelectColor);
    g_->SetRowHeaderWidth(35);
    g_->SetColHeaderHeight(17);
    g_->SetReadonly(true);
    g_->CellView = [this](int col, int row, QString& text, int& alignment, Qt::LayoutDirection& direction) {
        ShowCell(col, row, text, alignment, direction);
    };
    g_->setContextMenuPolicy(Qt::CustomContextMenu);
    // A table view reports the point in its viewport's coordinates.
    connect(g_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = g_->indexAt(at);
        if (index.isValid())
            g_->setCurrentIndex(index);
        QMenu menu(this);
        ComposePopup(menu);
        menu.exec(g_->viewport()->mapToGlobal(at));
    });

    gPrint_ = new TZelGridPrintL(this);
    gPrint_->SetGrid(g_);
    gPrint_->SourceProvider = [this](const TZelGrid& grid) {
        QList<int> widths;
        for (int col = 0; col < grid.ColCount(); ++col)
            widths << grid.ColWidth(col);
        TGridPrintSource source = kind_
                                      ? ReportPrintSource(grid.Model(), *kind_, widths, grid.ColHeaderFont(),
                                                          grid.layoutDirection() == Qt::RightToLeft)
                                      : GridPrintSource(grid.Model(), widths, grid.ColHeaderFont(),
                                                        grid.layoutDirection() == Qt::RightToLeft);
        source.fixedColor = grid.FixedColor();
        return source;
    };
    frmFilter_ = new Tfrm_Filter(this);

    connect(btExcel_, &QToolButton::clicked, this, &TfrmReports::mnuSaveAsExcelClick);
    connect(btPreview_, &QToolButton::clicked, this, &TfrmReports::mnuPreviewClick);
    connect(txtFind_, &QLineEdit::textChanged, this, &TfrmReports::FindNext);
    connect(txtFind_, &QLineEdit::returnPressed, this, [this] { FindNext(txtFind_->text()); });
    connect(btFind_, &QToolButton::clicked, this, [this] { FindNext(txtFind_->text()); });
    connect(lst_Report_, &QListWidget::itemActivated, this, [this] { RunSelectedReport(); });
    connect(bt_Filter_, &QToolButton::clicked, this, &TfrmReports::bt_FilterClick);

    TranslateTexts();
    SetFilterState(false);
    bt_Filter_->setEnabled(false);
    resize(1100, 700);
}

void TfrmReports::TranslateTexts() {
    setWindowTitle(T("Reports"));
    mnuFile_->setTitle(T("File"));
    mnuSaveAsExcel_->setText(T("Save as Excel file") + QStringLiteral(".."));
    mnuSaveAsText_->setText(T("Save as text file") + QStringLiteral(".."));
    mnuPreview_->setText(T("Print Preview") + QStringLiteral(".."));
    mnuPdf_->setText(T("Save as PDF file") + QStringLiteral(".."));
    mnuClose_->setText(T("Close"));
    // Tool buttons show their picture; the hint says what they do.
    for (QToolButton* button : {btExcel_, btPreview_, btFind_}) {
        button->setToolTip(button == btExcel_     ? T("Save as Excel file")
                           : button == btPreview_ ? T("Print Preview")
                                                  : T("Find next"));
        button->setAccessibleName(button->toolTip());
    }
    lblFind_->setText(T("Find") + u':');
    if (!savedFilter_ && !bt_Filter_->isEnabled()) {
        bt_Filter_->setText(T("No Filter"));
        bt_Filter_->setToolTip(T("There is no current filter"));
    }
}

void TfrmReports::showEvent(QShowEvent* event) {
    TranslateTexts();
    QMainWindow::showEvent(event);
}

void TfrmReports::ShowReportsWindow() {
    SetReports({{T("Person list"),
                 [this] {
                     BuildPersonList();
                 }},
                {T("Contact list"),
                 [this] {
                     BuildContactList();
                 }},
                {T("Address list"), [this] {
                     BuildAddressList();
                 }}});
    // A list made from another tree (or from this one before it changed) is not shown again.
    if (treeGeneration_ != TreeGeneration()) {
        treeGeneration_ = TreeGeneration();
        g_->ClearAll();
        g_->SetCaption(QString());
        lbl_Title_->clear();
        cachedTable_.clear();
        currentReport_ = nullptr;
        kind_.reset();
        savedFilter_.reset();
        SetFilterState(false);
        bt_Filter_->setEnabled(false);
    }
    {
        TBusyCursor busy;
        LoadNameCache();
    }
    TranslateTexts();
    show();
    raise();
    activateWindow();
}

void TfrmReports::SetReports(const TReports& reports) {
    reports_ = reports;
    lst_Report_->clear();
    for (const TReport& report : reports_)
        lst_Report_->addItem(report.Caption.trimmed().isEmpty() ? QStringLiteral("[]") : report.Caption);
    if (lst_Report_->count() > 0)
        lst_Report_->setCurrentRow(0);
}

void TfrmReports::RunSelectedReport() {
    savedFilter_.reset();
    filterColumnTitle_.clear();
    const int selected = lst_Report_->currentRow();
    if (selected >= 0 && selected < reports_.size() && reports_[selected].Build) {
        reuseCachedTable_ = false;
        reports_[selected].Build();
        currentReport_ = reports_[selected].Build;
    }
    bt_Filter_->setEnabled(false);
    g_->SetReadonly(true);
}

void TfrmReports::BuildPersonList() {
    BuildReport(TReportKind::Persons);
}

void TfrmReports::BuildContactList() {
    BuildReport(TReportKind::Contacts);
}

void TfrmReports::BuildAddressList() {
    BuildReport(TReportKind::Addresses);
}

void TfrmReports::BuildReport(TReportKind kind) {
    TextTable table;
    if (kind == TReportKind::Persons && reuseCachedTable_ && kind_ == kind) {
        table = cachedTable_;
    } else {
        TWorkProgress progress(this, Translate(ReportCaptionSource(kind)));
        table = ReadReportTable(kind, [&](int done, int total) { return progress.Step(done, total); });
        // No tree, a query that cannot run or a cancel: the grid keeps what it showed.
        if (table.isEmpty())
            return;
        ++tableReads_;
    }
    cachedTable_ = table;
    kind_ = kind;
    TBusyCursor busy;
    const QString caption = Translate(ReportCaptionSource(kind));
    if (kind == TReportKind::Persons)
        g_->SetDefaultRowHeight(kPersonRowHeight);
    FillReportGrid(g_->Model(), kind, table);
    ExportReportCellsAsShown(g_->Model(), kind);
    g_->SetCaption(caption);
    lbl_Title_->setText(caption);
    g_->SetAutoRowNumber(true);
    g_->SetAllowSorting(true);
    QList<int> widths = ReportColumnWidths(kind);
    if (kind == TReportKind::Persons)
        widths[0] =
            g_->fontMetrics().horizontalAdvance(QString::number(g_->RowCount() - 1) + QStringLiteral("  ")) +
            8;
    g_->SetColWidths(widths);
    // Column 1 holds the hidden identifier: the cursor starts on the name.
    g_->SetCurrentCell(2, 1);
}

void TfrmReports::ShowCell(int col, int row, QString& text, int& alignment,
                           Qt::LayoutDirection& direction) const {
    if (!kind_ || row == 0)
        return;
    const QString field = ReportFieldOfColumn(*kind_, col);
    const TReportCellView view = ReportCellView(*kind_, field, text);
    text = view.text;
    if (view.align == TReportCellView::Align::Centre)
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignHCenter;
    if (view.leftToRight) {
        direction = Qt::LeftToRight;
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

QString TfrmReports::ShownText(int col, int row) const {
    QString text = g_->Model().CellText(col, row);
    if (kind_ && row > 0)
        text = ReportCellView(*kind_, ReportFieldOfColumn(*kind_, col), text).text;
    return text;
}

void TfrmReports::mnuSaveAsExcelClick() {
    const QString caption = g_->Caption().isEmpty() ? T("Reports") : g_->Caption();
    const QString file = SaveFileDialog(caption + QStringLiteral(".xlsx"), QStringLiteral("Excel (*.xlsx)"));
    if (file.isEmpty())
        return;
    g_->ExportToExcel(file, caption, true, T("Verdan"));
}

void TfrmReports::mnuSaveAsTextClick() {
    const QString caption = g_->Caption().isEmpty() ? T("Reports") : g_->Caption();
    const QString file = SaveFileDialog(caption + QStringLiteral(".csv"),
                                        T("CSV file") + QStringLiteral(" (*.csv);;") +
                                            T("Tab-delimited text") + QStringLiteral(" (*.txt)"));
    if (file.isEmpty())
        return;
    TBusyCursor busy;
    g_->SetFieldDelimiter(QFileInfo(file).suffix().compare(u"csv", Qt::CaseInsensitive) == 0
                              ? QStringLiteral("COMMA")
                              : QStringLiteral("TAB"));
    g_->SaveToTextFile(file, true);
}

void TfrmReports::mnuPreviewClick() {
    TGridPrintSettings& settings = gPrint_->Settings();
    PrepareReportPrint(settings, g_->Caption());
    gPrint_->SetCaption(T("Print Preview"));
    gPrint_->SetBiDiMode(layoutDirection());
    gPrint_->SetActive(true);
}

void TfrmReports::mnuPdfClick() {
    const QString caption = g_->Caption().isEmpty() ? T("Reports") : g_->Caption();
    const QString file = SaveFileDialog(caption + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty())
        return;
    PrepareReportPrint(gPrint_->Settings(), g_->Caption());
    gPrint_->ExportPdf(file, this);
}

void TfrmReports::mnuSortClick() {
    sortDescending_ = !sortDescending_;
    TBusyCursor busy;
    g_->SortColumn(g_->Col(), sortDescending_);
}

} // namespace verdan
