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

QStringList TZelGridPrintL::DefaultLanguageText() {
    return {QStringLiteral("Preview = Preview; معاينة"),
            QStringLiteral("Page = Page; صفحة"),
            QStringLiteral("From = From; من"),
            QStringLiteral("Printing = Printing; جاري الآن طباعة"),
            QStringLiteral("Next = &Next ; التا&لي"),
            QStringLiteral("Previous = &Previous; ال&سابق"),
            QStringLiteral("Zoom = &Zoom; ت&كبير/تصغير"),
            QStringLiteral("Print = &Print; &طباعة"),
            QStringLiteral("Setting = &Setting; إع&داد"),
            QStringLiteral("Close = &Close; إ&غلاق")};
}

QString TZelGridPrintL::PreviewText(const QString& key, bool rightToLeft) const {
    const int item = rightToLeft ? LanguageRTLIndex : LanguageIndex;
    for (const QString& line : LanguageText) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || line.left(equals).trimmed().toUpper() != key.trimmed().toUpper())
            continue;
        const QStringList items = line.mid(equals + 1).split(u';');
        if (item >= 0 && item < items.size())
            return items[item].trimmed();
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

std::unique_ptr<TGridPrintLayout> TZelGridPrintL::MakeLayout(QWidget* parent) const {
    auto layout = std::make_unique<TGridPrintLayout>(Source(), settings_);
    if (parent == nullptr) {
        layout->Paginate(TFontMeasurer());
        return layout;
    }
    TWorkProgress progress(parent, PreviewText(QStringLiteral("Preview"), biDiMode_ == Qt::RightToLeft));
    if (!layout->Paginate(TFontMeasurer(), [&](int done, int total) { return progress.Step(done, total); }))
        return nullptr;
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
    if (!layout.Paginate(TFontMeasurer(), [&](int done, int total) { return progress.Step(done, total); }))
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
