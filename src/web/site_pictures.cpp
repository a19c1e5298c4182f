#include "storage/picture_store.h"
#include "web/web_addresses.h"
#include "web/web_export_steps.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace verdan {

namespace {

constexpr int kViewSide = 1024;     // the longest side of a picture as the site shows it
constexpr int kThumbnailSide = 320; // of its thumbnail
// Raised when copies are made differently, so every copy is made again.
constexpr int kCopyVersion = 1;

// A scaled copy as JPEG: never larger than the original, on white where it was transparent. Made anew
// from the pixels, so nothing of the original file's metadata (places, cameras) goes into the site.
QByteArray ScaledCopy(const QImage& image, int side) {
    QImage scaled = image.width() > side || image.height() > side
                        ? image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        : image;
    QImage flat(scaled.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, scaled);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.setOptimizedWrite(true);
    return writer.write(flat) ? bytes : QByteArray();
}

} // namespace

bool WriteSitePictures(TWebSite& site, TSiteOutput& output, const std::function<bool()>& step,
                       QString& error) {
    const TWebTree& tree = site.Tree;
    site.PictureReady.assign(tree.Pictures.size(), 0);
    for (size_t i = 0; i < tree.Pictures.size(); ++i) {
        const TWebPicture& picture = tree.Pictures[i];
        const TWebPerson& person = tree.Persons[size_t(picture.Person)];
        if (!site.Whole(picture.Person) || person.HidePicture)
            continue;
        if (step && !step())
            return false;
        const QString source = PictureFileLocation(picture.FilePath);
        if (source.isEmpty())
            continue;
        const QFileInfo info(source);
        const QByteArray note = QByteArray::number(info.size()) + ':' +
                                QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ':' +
                                QByteArray::number(kCopyVersion);
        const QByteArray view = PicturePath(picture.Hex, false);
        const QByteArray thumbnail = PicturePath(picture.Hex, true);
        output.SetSourceNote(view, note);
        if (output.SourceNote(view) == note && output.Keep(view) && output.Keep(thumbnail)) {
            site.PictureReady[i] = 1;
            continue;
        }
        QImage image;
        if (!LoadImageFile(source, image))
            continue;
        const QByteArray large = ScaledCopy(image, kViewSide);
        const QByteArray small = ScaledCopy(image, kThumbnailSide);
        if (large.isEmpty() || small.isEmpty())
            continue;
        if (!output.Write(view, large, error) || !output.Write(thumbnail, small, error))
            return false;
        site.PictureReady[i] = 1;
    }
    return true;
}

} // namespace verdan
