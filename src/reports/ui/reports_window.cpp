#include "reports_window.h"

#include "column_chooser.h"
#include "filter_dialog.h"
#include "grid_print.h"
#include "reports/grid_model.h"
#include "reports/grid_pdf.h"
#include "reports/name_cache.h"
#include "reports/report_cells.h"
#include "reports/report_print.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/menu_captions.h"
#include "text/ui/person_follow.h"
#include "text/user_options.h"
#include "work_progress.h"
#include "zel_grid.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kListWidth = 185;
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
    mnuColumns_ = mnuFile_->addAction(Icon(u"view-columns"), QString(), this, &TfrmReports::mnuColumnsClick);
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
    btColumns_ = ToolButton(central, u"view-columns");
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
    top->addWidget(btColumns_);
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
    fillLabel_ = new QLabel(central);
    fillBar_ = new QProgressBar(central);
    fillBar_->setMaximumWidth(260);
    fillBar_->setTextVisible(false);
    fillLabel_->hide();
    fillBar_->hide();
    bottom->addWidget(fillLabel_);
    bottom->addWidget(fillBar_);

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
        if (kind_) {
            source.order = ShownColumns();
            // Pages of columns that did not fit start again with the person's name.
            source.repeatColumn = ReportColumnOfField(*kind_, QStringLiteral("Name1"));
        }
        return source;
    };
    g_->OnPrintPreview = [this] {
        mnuPreviewClick();
    };
    // Sorting, by the menu or a title's triangles, takes the whole list.
    g_->Model().BeforeSort = [this](int, bool) {
        return WaitForFill();
    };
    connect(&g_->Model(), &TZelGridModel::AfterSort, this,
            [this](int column, bool ascending) { lastSort_ = std::make_pair(column, !ascending); });
    connect(g_->horizontalHeader(), &QHeaderView::sectionResized, this, &TfrmReports::ColumnResized);
    connect(g_->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
        if (!applyingColumns_)
            RememberColumns();
    });
    fillTimer_ = new QTimer(this);
    fillTimer_->setInterval(0);
    connect(fillTimer_, &QTimer::timeout, this, &TfrmReports::FillStep);
    findTimer_ = new QTimer(this);
    findTimer_->setInterval(0);
    connect(findTimer_, &QTimer::timeout, this, &TfrmReports::FindSome);
    frmFilter_ = new Tfrm_Filter(this);
    frmColumns_ = new TfrmColumns(this);

    connect(btExcel_, &QToolButton::clicked, this, &TfrmReports::mnuSaveAsExcelClick);
    connect(btPreview_, &QToolButton::clicked, this, &TfrmReports::mnuPreviewClick);
    connect(btColumns_, &QToolButton::clicked, this, &TfrmReports::mnuColumnsClick);
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
    mnuColumns_->setText(T("Columns") + QStringLiteral(".."));
    mnuClose_->setText(T("Close"));
    GiveArabicMnemonics(menuBar());
    // Tool buttons show their picture; the hint says what they do.
    for (QToolButton* button : {btExcel_, btPreview_, btColumns_, btFind_}) {
        button->setToolTip(button == btExcel_     ? T("Save as Excel file")
                           : button == btPreview_ ? T("Print Preview")
                           : button == btColumns_ ? T("Columns")
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

TfrmReports::~TfrmReports() = default;

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
        StopFill();
        treeGeneration_ = TreeGeneration();
        g_->ClearAll();
        g_->SetCaption(QString());
        lbl_Title_->clear();
        allRows_ = {};
        currentReport_ = nullptr;
        kind_.reset();
        savedFilter_.reset();
        lastSort_.reset();
        SetFilterState(false);
        bt_Filter_->setEnabled(false);
    }
    // The names are read anew each time, in the background: the window shows at once.
    if (!fill_) {
        ReleaseNameCache();
        StartFill(std::nullopt);
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
    afterFill_ = nullptr;
    savedFilter_.reset();
    filterColumnTitle_.clear();
    const int selected = lst_Report_->currentRow();
    if (selected >= 0 && selected < reports_.size() && reports_[selected].Build) {
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

void TfrmReports::ShowCell(int col, int row, QString& text, int& alignment,
                           Qt::LayoutDirection& direction) const {
    if (!kind_ || row == 0)
        return;
    const TReportCellView view = ReportGridCellView(g_->Model(), *kind_, col, row);
    text = view.text;
    if (view.align == TReportCellView::Align::Centre)
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignHCenter;
    if (view.leftToRight) {
        direction = Qt::LeftToRight;
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

QString TfrmReports::ShownText(int col, int row) const {
    // Most columns show what they hold; only a few go through the report's rule.
    if (kind_ && row > 0 && ReportColumnIsConverted(*kind_, col))
        return ReportGridCellView(g_->Model(), *kind_, col, row).text;
    return g_->Model().CellText(col, row);
}

void TfrmReports::mnuSaveAsExcelClick() {
    if (!WaitForFill())
        return;
    const QString caption = g_->Caption().isEmpty() ? T("Reports") : g_->Caption();
    const QString file = SaveFileDialog(caption + QStringLiteral(".xlsx"), QStringLiteral("Excel (*.xlsx)"));
    if (file.isEmpty())
        return;
    g_->ExportToExcel(file, caption, true, T("Verdan"));
}

void TfrmReports::mnuSaveAsTextClick() {
    if (!WaitForFill())
        return;
    const QString caption = g_->Caption().isEmpty() ? T("Reports") : g_->Caption();
    const QString file = SaveFileDialog(caption + QStringLiteral(".csv"),
                                        T("CSV file") + QStringLiteral(" (*.csv);;") +
                                            T("Tab-delimited text") + QStringLiteral(" (*.txt)"));
    if (file.isEmpty())
        return;
    g_->SetFieldDelimiter(QFileInfo(file).suffix().compare(u"csv", Qt::CaseInsensitive) == 0
                              ? QStringLiteral("COMMA")
                              : QStringLiteral("TAB"));
    TWorkProgress progress(this, T("Save as text file"));
    const bool written = g_->Model().SaveToTextFile(
        file, true, [&](int done, int total) { return progress.Step(done, total); },
        kind_ ? ShownColumns() : g_->VisualColumns());
    if (!written && !progress.Cancelled())
        MsgError(FillPattern(T("The file %* could not be written."), {IsolatePath(file)}));
}

void TfrmReports::mnuPreviewClick() {
    if (!WaitForFill())
        return;
    TGridPrintSettings& settings = gPrint_->Settings();
    PrepareReportPrint(settings, g_->Caption());
    gPrint_->SetCaption(T("Print Preview"));
    gPrint_->SetBiDiMode(layoutDirection());
    gPrint_->SetActive(true);
}

void TfrmReports::mnuPdfClick() {
    if (!WaitForFill())
        return;
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

void TfrmReports::ReapplySort() {
    if (lastSort_)
        g_->SortColumn(lastSort_->first, lastSort_->second);
}

} // namespace verdan
