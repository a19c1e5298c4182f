#include "grid_print.h"

#include "print_preview.h"
#include "reports/grid_pdf.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "work_progress.h"
#include "zel_grid.h"

#include <QPainter>
#include <QPrinter>

namespace verdan {

TZelGridPrintL::TZelGridPrintL(QObject* parent)
    : QObject(parent), LanguageText(DefaultLanguageText()), caption_(QStringLiteral("Preview")) {
}

TZelGridPrintL::~TZelGridPrintL() = default;

// Each line holds the English, Arabic, Persian and Urdu captions, in that order.
QStringList TZelGridPrintL::DefaultLanguageText() {
    return {QStringLiteral("Preview = Preview; معاينة; پیش‌نمایش; پیش منظر"),
            QStringLiteral("Page = Page; صفحة; صفحه; صفحہ"),
            QStringLiteral("From = From; من; از; از"),
            QStringLiteral("Printing = Printing; جاري الآن طباعة; در حال چاپ; پرنٹ ہو رہا ہے"),
            QStringLiteral("Next = &Next ; التا&لي; &بعدی; &اگلا"),
            QStringLiteral("Previous = &Previous; ال&سابق; &قبلی; &پچھلا"),
            QStringLiteral("Zoom = &Zoom; ت&كبير/تصغير; &بزرگ‌نمایی; &زوم"),
            QStringLiteral("Print = &Print; &طباعة; &چاپ; &پرنٹ"),
            QStringLiteral("Setting = &Setting; إع&داد; &تنظیم; &ترتیب"),
            QStringLiteral("Close = &Close; إ&غلاق; ب&ستن; &بند کریں")};
}

QString TZelGridPrintL::PreviewText(const QString& key, bool rightToLeft) const {
    int item = rightToLeft ? LanguageRTLIndex : LanguageIndex;
    // The Persian and Urdu interfaces read their own captions where the line has them, the Arabic else.
    if (rightToLeft && LanguageRTLIndex == 1) {
        const QString language = InterfaceLanguageCode();
        item = language == u"fa" ? 2 : language == u"ur" ? 3 : item;
    }
    for (const QString& line : LanguageText) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || line.left(equals).trimmed().toUpper() != key.trimmed().toUpper())
            continue;
        const QStringList items = line.mid(equals + 1).split(u';');
        if (item >= 0 && item < items.size())
            return items[item].trimmed();
        if (item > LanguageRTLIndex && LanguageRTLIndex >= 0 && LanguageRTLIndex < items.size())
            return items[LanguageRTLIndex].trimmed();
    }
    return key;
}

void TZelGridPrintL::SetActive(bool on) {
    if (!on || active_)
        return;
    active_ = true;
    TfrmGPPreview preview(*this);
    if (preview.PageCount() > 0)
        preview.exec();
    active_ = false;
}

TGridPrintSource TZelGridPrintL::Source() const {
    if (grid_ == nullptr)
        return TGridPrintSource();
    if (SourceProvider)
        return SourceProvider(*grid_);
    QList<int> widths;
    for (int col = 0; col < grid_->ColCount(); ++col)
        widths << grid_->ColWidth(col);
    TGridPrintSource source = GridPrintSource(grid_->Model(), widths, grid_->ColHeaderFont(),
                                              grid_->layoutDirection() == Qt::RightToLeft);
    source.fixedColor = grid_->FixedColor();
    source.backColor = grid_->BackColor();
    return source;
}

void TZelGridPrintL::KeepFittedZoom(const TGridPrintLayout& layout) {
    if (settings_.FitToWidth)
        settings_.PrintZoom = layout.Settings().PrintZoom;
}

std::unique_ptr<TGridPrintLayout> TZelGridPrintL::BeginLayout() {
    auto layout = std::make_unique<TGridPrintLayout>(Source(), settings_);
    layout->Begin(measurer_);
    KeepFittedZoom(*layout);
    return layout;
}

std::unique_ptr<TGridPrintLayout> TZelGridPrintL::MakeLayout(QWidget* parent) {
    auto layout = std::make_unique<TGridPrintLayout>(Source(), settings_);
    if (parent == nullptr) {
        layout->Paginate(measurer_);
    } else {
        TWorkProgress progress(parent, PreviewText(QStringLiteral("Preview"), biDiMode_ == Qt::RightToLeft));
        if (!layout->Paginate(measurer_, [&](int done, int total) { return progress.Step(done, total); }))
            return nullptr;
    }
    KeepFittedZoom(*layout);
    return layout;
}

bool TZelGridPrintL::PrintPages(QPrinter& printer, int first, int last, QWidget* parent) {
    // The printer's paper decides the pages: the user may have chosen another one in the print dialog.
    TGridPrintSettings settings = settings_;
    settings.Paper = printer.pageLayout().pageSize();
    settings.Orientation = printer.pageLayout().orientation() == QPageLayout::Portrait
                               ? TPrintOrientation::Portrait
                               : TPrintOrientation::Landscape;
    TGridPrintLayout layout(Source(), settings);
    const bool rightToLeft = biDiMode_ == Qt::RightToLeft;
    TWorkProgress progress(parent, PreviewText(QStringLiteral("Printing"), rightToLeft));
    if (!layout.Paginate(measurer_, [&](int done, int total) { return progress.Step(done, total); }))
        return false;
    first = std::clamp(first, 1, layout.PageCount());
    last = std::clamp(last, first, layout.PageCount());
    printer.setFullPage(true);
    printer.setDocName(settings_.Title.Caption);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = first; page <= last; ++page) {
        const QString status =
            PreviewText(QStringLiteral("Printing"), rightToLeft) + u' ' +
            PreviewText(QStringLiteral("Page"), rightToLeft) + u' ' + QString::number(page) + u' ' +
            PreviewText(QStringLiteral("From"), rightToLeft) + u' ' + QString::number(last);
        emit PrintingPage(status);
        if (!progress.Step(page - first, last - first + 1) || (OnPrinting && !OnPrinting(page))) {
            printer.abort();
            return false;
        }
        if (page > first)
            printer.newPage();
        painter.resetTransform();
        layout.ScalePainter(painter, printer.resolution(), printer.resolution());
        layout.DrawPage(painter, page, false);
    }
    painter.end();
    return true;
}

bool TZelGridPrintL::ExportPdf(const QString& file, QWidget* parent) {
    const auto layout = MakeLayout(parent);
    if (!layout)
        return false;
    QString error;
    TWorkProgress progress(parent, Translate(QStringLiteral("Writing the PDF file")));
    if (WriteGridPdf(
            *layout, file, [&](int done, int total) { return progress.Step(done, total); }, &error))
        return true;
    if (!progress.Cancelled())
        MsgError(error);
    return false;
}

} // namespace verdan
