#include "chart_export.h"

#include "chart/chart_json.h"
#include "chart/chart_painter.h"
#include "chart/gif_writer.h"
#include "chart/pdf_info.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace verdan {

namespace {

bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Fail(error, file.errorString());
    return true;
}

void PaintExport(TChart& chart, QPainter& painter, const QSize& size) {
    chart.DeselectAll();
    PaintChart(chart, painter, ExportMapping(chart), size, true);
}

} // namespace

TChartMapping ExportMapping(const TChart& chart) {
    const QPoint origin = chart.Origin();
    return {chart.Zoom(), origin.x(), origin.y()};
}

QSize ChartPictureSize(const TChart& chart) {
    const QSize extents = chart.Extents();
    const QPoint origin = chart.Origin();
    const double zoom = chart.Zoom();
    return {RoundChart(double(extents.width() - origin.x()) * zoom) + 30,
            RoundChart(double(extents.height() - origin.y()) * zoom) + 30};
}

bool CheckPictureSize(const QSize& size, QString* error) {
    if (size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide &&
        qint64(size.width()) * size.height() <= kMaxPicturePixels)
        return true;
    return Fail(error, FillPattern(Translate(QStringLiteral("The chart is too large for a picture: %d x %d "
                                                            "pixels. Zoom out and export again.")),
                                   {QString::number(size.width()), QString::number(size.height())}));
}

bool RenderToImage(TChart& chart, QImage& image, QString* error) {
    const QSize size = ChartPictureSize(chart);
    if (!CheckPictureSize(size, error))
        return false;
    image = QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return Fail(error, Translate(QStringLiteral("There is not enough memory for the picture.")));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintExport(chart, painter, size);
    return true;
}

TImageFormat ImageFormatFor(const QString& extension) {
    QString ext = extension.trimmed().toLower();
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    if (ext == u"jpg" || ext == u"jpeg")
        return TImageFormat::Jpeg;
    if (ext == u"png")
        return TImageFormat::Png;
    if (ext == u"gif")
        return TImageFormat::Gif;
    return TImageFormat::Bmp;
}

bool ExportImage(TChart& chart, const QString& path, const QString& extension, QString* error) {
    if (path.trimmed().isEmpty())
        return Fail(error, Translate(QStringLiteral("No file name was given.")));
    QImage image;
    if (!RenderToImage(chart, image, error))
        return false;
    const TImageFormat format = ImageFormatFor(extension);
    if (format == TImageFormat::Gif)
        return WriteGif(image, path, error);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const char* name = format == TImageFormat::Jpeg ? "JPG" : format == TImageFormat::Png ? "PNG" : "BMP";
    if (!image.save(&buffer, name, format == TImageFormat::Jpeg ? 90 : -1))
        return Fail(error, Translate(QStringLiteral("The picture could not be encoded.")));
    return WriteBytes(path, bytes, error);
}

bool ExportSvg(TChart& chart, const QString& path, QString* error) {
    const QSize size = ChartPictureSize(chart);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kChartDpi);
    svg.setTitle(QFileInfo(chart.ChartFileName).completeBaseName());
    svg.setDescription(Translate(QStringLiteral("Family Tree Chart")));
    QPainter painter;
    if (!painter.begin(&svg))
        return Fail(error, Translate(QStringLiteral("The drawing could not be made.")));
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    PaintExport(chart, painter, size);
    painter.end();
    return WriteBytes(path, bytes, error);
}

QString DefaultPdfAuthor() {
    const QString owner = CurrentOwnerName().trimmed();
    if (!owner.isEmpty())
        return owner;
    return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
}

bool RenderPdf(TChart& chart, const TPdfInfo& info, QByteArray& pdf, QString* error) {
    const QSize size = ChartPictureSize(chart);
    const double scale = std::min(1.0, kMaxPdfPagePoints / double(std::max(size.width(), size.height())));
    const QSizeF page(size.width() * scale, size.height() * scale);
    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setCreator(info.Creator);
        writer.setTitle(info.Title);
        writer.setPageLayout(QPageLayout(QPageSize(page, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return Fail(error, Translate(QStringLiteral("The PDF document could not be made.")));
        painter.scale(scale, scale);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        PaintExport(chart, painter, size);
        painter.end();
    }
    if (!SetPdfInformation(pdf,
                           {{QStringLiteral("Author"), info.Author},
                            {QStringLiteral("Creator"), info.Creator},
                            {QStringLiteral("Title"), info.Title}},
                           info.Created))
        return Fail(error, Translate(QStringLiteral("The PDF document could not be made.")));
    return true;
}

bool ExportPdf(TChart& chart, const QString& path, const TPdfInfo& info, QString* error) {
    QByteArray pdf;
    return RenderPdf(chart, info, pdf, error) && WriteBytes(path, pdf, error);
}

bool ExportChart(TChart& chart, const QString& path, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"svg")
        return ExportSvg(chart, path, error);
    if (suffix == u"json")
        return ExportChartJson(chart, path, error);
    if (suffix == u"pdf") {
        TPdfInfo info;
        info.Author = DefaultPdfAuthor();
        info.Title = QFileInfo(chart.ChartFileName).completeBaseName();
        return ExportPdf(chart, path, info, error);
    }
    return ExportImage(chart, path, suffix, error);
}

} // namespace verdan
