#include "print_preview.h"

#include "grid_print.h"
#include "page_setup_dialog.h"
#include "reports/grid_print_layout.h"
#include "text/localisation.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "work_progress.h"

#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace verdan {

namespace {

constexpr double kSmallestFit = 0.12;
constexpr int kWheelStep = 10;
constexpr int kButtonGap = 10;
constexpr double kLayoutDpi = 96.0;

QPushButton* Button(QWidget* parent, QStringView icon) {
    auto* button = new QPushButton(parent);
    button->setIcon(Icon(icon));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmGPPreview::TfrmGPPreview(TZelGridPrintL& print, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()), print_(print) {
    setObjectName(QStringLiteral("TfrmGPPreview"));
    setWindowTitle(print_.Caption());
    setLayoutDirection(print_.BiDiMode());
    btPrevious_ = Button(this, u"go-previous");
    btNext_ = Button(this, u"go-next");
    btZoom_ = Button(this, u"zoom-in");
    btPrint_ = Button(this, u"document-print");
    btSetting_ = Button(this, u"document-page-setup");
    btPdf_ = Button(this, u"document-send");
    btClose_ = Button(this, u"application-exit");
    btPrevious_->setText(Text("Previous"));
    btNext_->setText(Text("Next"));
    btZoom_->setText(Text("Zoom"));
    btPrint_->setText(Text("Print") + QStringLiteral("..."));
    btSetting_->setText(Text("Setting") + QStringLiteral("..."));
    btPdf_->setText(QStringLiteral("PDF..."));
    btClose_->setText(Text("Close"));

    auto* bar = new QHBoxLayout;
    bar->setSpacing(kButtonGap);
    bar->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* button : {btPrevious_, btNext_, btZoom_, btPrint_, btSetting_, btPdf_, btClose_})
        bar->addWidget(button);
    bar->addStretch();

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    pageView_ = new QLabel;
    pageView_->setObjectName(QStringLiteral("pageView"));
    pageView_->setFrameShape(QFrame::Box);
    scroll_->setWidget(pageView_);
    pageView_->installEventFilter(this);
    scroll_->viewport()->installEventFilter(this);
    pager_ = new QScrollBar(Qt::Vertical, this);
    pager_->setPageStep(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(scroll_, 1);
    middle->addWidget(pager_);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("note"));
    note_->setWordWrap(true);
    note_->hide();
    pageTimer_ = new QTimer(this);
    pageTimer_->setInterval(0);
    connect(pageTimer_, &QTimer::timeout, this, &TfrmGPPreview::PaginateSome);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addLayout(bar);
    column->addWidget(note_);
    column->addLayout(middle, 1);
    column->addWidget(status_);

    connect(btNext_, &QPushButton::clicked, this, &TfrmGPPreview::btNextClick);
    connect(btPrevious_, &QPushButton::clicked, this, &TfrmGPPreview::btPreviousClick);
    connect(btZoom_, &QPushButton::clicked, this, &TfrmGPPreview::btZoomClick);
    connect(btPrint_, &QPushButton::clicked, this, &TfrmGPPreview::btPrintClick);
    connect(btSetting_, &QPushButton::clicked, this, &TfrmGPPreview::btSettingClick);
    connect(btPdf_, &QPushButton::clicked, this, &TfrmGPPreview::btPdfClick);
    connect(btClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(pager_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != page_)
            ShowPage(value);
    });
    connect(&print_, &TZelGridPrintL::PrintingPage, status_, &QLabel::setText);

    resize(1000, 760);
    Paginate();
}

TfrmGPPreview::~TfrmGPPreview() = default;

QString TfrmGPPreview::Text(const char* key) const {
    return print_.PreviewText(QString::fromLatin1(key), print_.BiDiMode() == Qt::RightToLeft);
}

int TfrmGPPreview::PageCount() const {
    return layout_ ? layout_->PageCount() : 0;
}

bool TfrmGPPreview::PageCountKnown() const {
    return layout_ && layout_->Complete();
}

void TfrmGPPreview::Paginate() {
    layout_ = print_.BeginLayout();
    layout_->Reach(1);
    const bool continued = layout_->ColumnPages() > 1;
    note_->setVisible(continued);
    if (continued)
        note_->setText(
            FillPattern(Translate(QStringLiteral(
                            "The columns do not fit across the paper: they take %# pages across, each "
                            "after the first starting again with the name.")),
                        {QString::number(layout_->ColumnPages())}));
    ShowPage(1);
    if (!layout_->Complete())
        pageTimer_->start();
}

void TfrmGPPreview::PaginateSome() {
    // Slices short enough for the window to stay responsive while the pages are counted.
    constexpr int kSliceMs = 20;
    if (!layout_ || layout_->Continue(kSliceMs)) {
        pageTimer_->stop();
        // The page shown so far did not know the page count its header band shows.
        Redraw();
    }
    pager_->setRange(1, std::max(PageCount(), 1));
    btNext_->setEnabled(page_ < PageCount());
    UpdateStatus();
}

bool TfrmGPPreview::PaginateAll() {
    if (!layout_ || layout_->Complete())
        return true;
    TWorkProgress progress(this, Text("Preview"));
    const int rows = layout_->Source().rowCount;
    while (!layout_->Continue(50))
        if (!progress.Step(layout_->MeasuredRows(), rows))
            return false;
    PaginateSome();
    return true;
}

void TfrmGPPreview::ShowPage(int page) {
    if (!layout_)
        return;
    page = std::max(page, 1);
    if (page > PageCount())
        layout_->Reach(page);
    page_ = std::clamp(page, 1, std::max(PageCount(), 1));
    {
        const QSignalBlocker quiet(pager_);
        pager_->setRange(1, std::max(PageCount(), 1));
        pager_->setValue(page_);
    }
    btNext_->setEnabled(page_ < PageCount() || !layout_->Complete());
    btPrevious_->setEnabled(page_ > 1);
    Redraw();
    UpdateStatus();
}

QString TfrmGPPreview::StatusText() const {
    return status_->text();
}

QString TfrmGPPreview::NoteText() const {
    return note_->isVisible() ? note_->text() : QString();
}

void TfrmGPPreview::UpdateStatus() {
    // The page count is shown once every page is laid out.
    QString text = Text("Preview") + QStringLiteral(" : ") + Text("Page") + u' ' + QString::number(page_);
    if (PageCountKnown())
        text += u' ' + Text("From") + u' ' + QString::number(PageCount());
    status_->setText(text);
}

double TfrmGPPreview::Scale() const {
    if (!fit_ || !layout_)
        return 1.0;
    const QSizeF paper = layout_->Page() * layout_->Settings().PrintZoom;
    const double height = std::max(scroll_->viewport()->height() - 4, 10);
    const double width = std::max(scroll_->viewport()->width() - 4, 10);
    // Two decimals, and never so small that nothing can be made out.
    const double fit = std::min(height / paper.height(), width / paper.width());
    return std::max(std::floor(fit * 100) / 100, kSmallestFit);
}

QImage TfrmGPPreview::PageImage() const {
    return image_;
}

void TfrmGPPreview::Redraw() {
    if (!layout_)
        return;
    const double scale = Scale();
    const double ratio = devicePixelRatioF();
    const QSizeF paper = layout_->Page() * layout_->Settings().PrintZoom * scale;
    image_ = QImage((paper * ratio).toSize(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::white);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    layout_->ScalePainter(painter, kLayoutDpi * scale, kLayoutDpi * scale);
    layout_->DrawPage(painter, page_, true);
    painter.end();
    pageView_->setPixmap(QPixmap::fromImage(image_));
    pageView_->resize(paper.toSize() + QSize(2, 2));
    scroll_->setHorizontalScrollBarPolicy(fit_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    scroll_->setVerticalScrollBarPolicy(fit_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    pager_->setVisible(fit_);
}

void TfrmGPPreview::SetFitMode(bool fit) {
    fit_ = fit;
    btZoom_->setIcon(Icon(fit_ ? u"zoom-in" : u"zoom-fit-best"));
    Redraw();
}

void TfrmGPPreview::btNextClick() {
    ShowPage(page_ + 1);
}

void TfrmGPPreview::btPreviousClick() {
    ShowPage(page_ - 1);
}

void TfrmGPPreview::btZoomClick() {
    SetFitMode(!fit_);
}

void TfrmGPPreview::btPrintClick() {
    if (!PaginateAll())
        return;
    QPrinter printer(QPrinter::HighResolution);
    const TGridPrintSettings& settings = print_.Settings();
    printer.setPageLayout(QPageLayout(
        settings.Paper,
        settings.Orientation == TPrintOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
        QMarginsF()));
    printer.setDocName(settings.Title.Caption);
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintToFile);
    dialog.setMinMax(1, PageCount());
    const int end = print_.PageEnd() > 0 ? std::min(print_.PageEnd(), PageCount()) : PageCount();
    printer.setFromTo(std::clamp(print_.PageStart(), 1, end), end);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int first = 1;
    int last = PageCount();
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage();
        last = printer.toPage();
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = page_;
    }
    print_.PrintPages(printer, first, last, this);
    UpdateStatus();
}

void TfrmGPPreview::btSettingClick() {
    TfrmZelSetup setup(print_, this);
    if (setup.exec() != QDialog::Accepted)
        return;
    Paginate();
}

void TfrmGPPreview::btPdfClick() {
    QString name = print_.Settings().Title.Caption.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("grid");
    const QString file = SaveFileDialog(name + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"));
    if (!file.isEmpty())
        print_.ExportPdf(file, this);
}

void TfrmGPPreview::keyPressEvent(QKeyEvent* event) {
    if (fit_) {
        switch (event->key()) {
        case Qt::Key_PageUp:
            ShowPage(page_ - 1);
            return;
        case Qt::Key_PageDown:
            ShowPage(page_ + 1);
            return;
        case Qt::Key_Home:
            ShowPage(1);
            return;
        case Qt::Key_End:
            if (PaginateAll())
                ShowPage(PageCount());
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

bool TfrmGPPreview::eventFilter(QObject* object, QEvent* event) {
    if (object != pageView_ && object != scroll_->viewport())
        return QDialog::eventFilter(object, event);
    switch (event->type()) {
    case QEvent::Resize:
        // The fitted page follows the room the window gives it.
        if (object == scroll_->viewport() && fit_)
            Redraw();
        break;
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int steps = wheel->angleDelta().y() / 120;
        if (fit_ && steps != 0) {
            ShowPage(page_ - steps);
        } else {
            QScrollBar* bar = scroll_->verticalScrollBar();
            bar->setValue(bar->value() - steps * kWheelStep);
        }
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const qint64 second = QDateTime::currentSecsSinceEpoch();
        const QPoint global = mouse->globalPosition().toPoint();
        if (fit_) {
            // Zoom in at the point clicked: the same spot of the page stays under the pointer.
            const QPointF at = pageView_->mapFromGlobal(global);
            const double before = Scale();
            SetFitMode(false);
            const QPoint target = (at / before).toPoint();
            const QPoint inView = scroll_->viewport()->mapFromGlobal(global);
            scroll_->horizontalScrollBar()->setValue(target.x() - inView.x());
            scroll_->verticalScrollBar()->setValue(target.y() - inView.y());
        } else if (second == lastPressSecond_) {
            SetFitMode(true);
            lastPressSecond_ = -1;
            return true;
        }
        lastPressSecond_ = second;
        dragFrom_ = global;
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (fit_ || !(mouse->buttons() & Qt::LeftButton))
            break;
        const QPoint global = mouse->globalPosition().toPoint();
        const QPoint delta = global - dragFrom_;
        dragFrom_ = global;
        scroll_->horizontalScrollBar()->setValue(scroll_->horizontalScrollBar()->value() - delta.x());
        scroll_->verticalScrollBar()->setValue(scroll_->verticalScrollBar()->value() - delta.y());
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(object, event);
}

} // namespace verdan
