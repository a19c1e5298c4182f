#include "grid_pdf.h"

#include "grid_model.h"
#include "text/localisation.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace verdan {

namespace {

constexpr int kPdfResolution = 600;

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

} // namespace

TGridPrintSource GridPrintSource(const TZelGridModel& grid, const QList<int>& colWidths, const QFont& font,
                                 bool rightToLeft) {
    TGridPrintSource source;
    source.colCount = grid.ColCount();
    source.rowCount = grid.RowCount();
    source.colWidths = colWidths;
    source.font = font;
    source.rightToLeft = rightToLeft;
    source.cell = [&grid](int col, int row) {
        TPrintCell cell;
        cell.text = grid.CellText(col, row);
        return cell;
    };
    return source;
}

bool WriteGridPdf(const TGridPrintLayout& layout, const QString& file, const TPrintProgress& progress,
                  QString* error) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return Fail(error, out.errorString());
    const TGridPrintSettings& settings = layout.Settings();
    {
        QPdfWriter writer(&out);
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("Verdan"));
        writer.setTitle(settings.Title.Caption);
        writer.setPageLayout(QPageLayout(settings.Paper,
                                         settings.Orientation == TPrintOrientation::Portrait
                                             ? QPageLayout::Portrait
                                             : QPageLayout::Landscape,
                                         QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return Fail(error, Translate(QStringLiteral("The PDF file could not be written.")));
        const int pages = layout.PageCount();
        for (int page = 1; page <= pages; ++page) {
            if (progress && !progress(page - 1, pages)) {
                painter.end();
                out.cancelWriting();
                return Fail(error, Translate(QStringLiteral("Cancelled.")));
            }
            if (page > 1)
                writer.newPage();
            painter.resetTransform();
            layout.ScalePainter(painter, writer.resolution(), writer.resolution());
            layout.DrawPage(painter, page, false);
        }
        painter.end();
        if (progress)
            progress(pages, pages);
    }
    if (!out.commit())
        return Fail(error, out.errorString());
    return true;
}

} // namespace verdan
