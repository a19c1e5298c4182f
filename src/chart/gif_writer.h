#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

namespace verdan {

// Reduces the image to at most 256 colours: its own colours when it has no more, otherwise a median-cut
// palette over its colour histogram. The result is an indexed image.
QImage ReduceToPalette(const QImage& image);

// Writes the image as a GIF file (through a temporary file); false with the reason in error.
bool WriteGif(const QImage& image, const QString& path, QString* error);

} // namespace verdan
