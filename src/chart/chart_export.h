#pragma once

#include "chart/chart.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

namespace verdan {

// Exports of a chart: pictures, a vector drawing (SVG), a one-page PDF document. Every export draws the
// whole chart at its zoom, with 30 pixels of margin right and below, and clears the selection first. Each
// writes through a temporary file and reports a failure in error (translated).

// Pictures larger than this are refused: image files and memory cannot hold them.
inline constexpr int kMaxPictureSide = 32767;
inline constexpr qint64 kMaxPicturePixels = 256LL * 1024 * 1024;
// PDF pages larger than this (200 inches) are drawn scaled down to fit it.
inline constexpr double kMaxPdfPagePoints = 14400.0;

// The chart's picture: from the least item edge (pictures may reach above 0) to the greatest, zoomed.
QSize ChartPictureSize(const TChart& chart);
TChartMapping ExportMapping(const TChart& chart);
bool CheckPictureSize(const QSize& size, QString* error);

bool RenderToImage(TChart& chart, QImage& image, QString* error);

enum class TImageFormat { Bmp, Jpeg, Png, Gif };
// By the extension, letter case ignored: ".jpg" (or ".jpeg"), ".png", ".gif"; anything else is BMP.
TImageFormat ImageFormatFor(const QString& extension);
bool ExportImage(TChart& chart, const QString& path, const QString& extension, QString* error);

// Vector drawing with real text, in place of a metafile.
bool ExportSvg(TChart& chart, const QString& path, QString* error);

struct TPdfInfo {
    QString Author;
    QString Creator = QStringLiteral("Verdan");
    QString Title;
    QDateTime Created = QDateTime::currentDateTime();
};
// The tree's owner, else the user's login name.
QString DefaultPdfAuthor();
// One page sized to the chart (1 point per pixel, scaled down past kMaxPdfPagePoints), drawn as vectors,
// with the information entries Title, Author, Creator and CreationDate.
bool ExportPdf(TChart& chart, const QString& path, const TPdfInfo& info, QString* error);
// A PDF document as bytes, for ExportPdf and tests.
bool RenderPdf(TChart& chart, const TPdfInfo& info, QByteArray& pdf, QString* error);

// Any export by the file's extension: .svg, .pdf, .json (the laid-out chart), or a picture.
bool ExportChart(TChart& chart, const QString& path, QString* error);

} // namespace verdan
