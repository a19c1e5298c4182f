#include "sheet_pictures.h"

#include "calendar/date_numbers.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/file_names.h"
#include "text/localisation.h"
#include "text/typed_numbers.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QTemporaryDir>

namespace verdan {

namespace {

constexpr int kThumbnailLimit = 4000;

QString FileNamePart(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

// The last folder of a stored path; paths kept by older versions may use "\".
QString LastFolder(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (slash <= 0)
        return {};
    const QString folders = path.left(slash);
    const qsizetype before = std::max(folders.lastIndexOf(u'/'), folders.lastIndexOf(u'\\'));
    return folders.mid(before + 1);
}

QString PhotosFolderName() {
    return QFileInfo(QDir::cleanPath(PhotosFolder())).fileName();
}

} // namespace

TAddPictureResult AddPictureFile(const QString& personId, const QString& file, TPPicture& picture) {
    if (personId.trimmed().isEmpty())
        return TAddPictureResult::NoPerson;
    const QFileInfo info(file);
    if (!info.isFile())
        return TAddPictureResult::Unreadable;
    if (info.size() > kMaxPictureFileBytes)
        return TAddPictureResult::TooLarge;
    QImage image;
    if (!LoadImageFile(info.absoluteFilePath(), image) || image.isNull())
        return TAddPictureResult::Unreadable;
    TPPicture added;
    added.person_id = personId.trimmed();
    added.file_path = info.absoluteFilePath();
    added.pic_default = true;
    QString id;
    if (!SavePicture(added, id))
        return TAddPictureResult::NotStored;
    added.Image = image;
    picture = added;
    return TAddPictureResult::Added;
}

TAddPictureResult AddPictureImage(const QString& personId, const QImage& image, const QDateTime& pastedAt,
                                  TPPicture& picture) {
    if (personId.trimmed().isEmpty())
        return TAddPictureResult::NoPerson;
    if (image.isNull())
        return TAddPictureResult::Unreadable;
    const QTemporaryDir folder;
    const QString file =
        folder.filePath(QStringLiteral("pasted-") + pastedAt.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                        QStringLiteral(".png"));
    if (!folder.isValid() || !image.save(file, "PNG"))
        return TAddPictureResult::NotStored;
    return AddPictureFile(personId, file, picture);
}

QString AddPictureMessage(TAddPictureResult result, const QString& file) {
    const QString path = IsolatePath(file);
    switch (result) {
    case TAddPictureResult::Added:
    case TAddPictureResult::NoPerson:
        return {};
    case TAddPictureResult::TooLarge:
        return Translate(QStringLiteral("The picture file is larger than 100 MB.")) + u'|' + path;
    case TAddPictureResult::Unreadable:
        return Translate(QStringLiteral("The file is not a picture that can be shown.")) + u'|' + path;
    case TAddPictureResult::NotStored:
        return Translate(
                   QStringLiteral("The picture could not be placed in the photos folder of the tree.")) +
               u'|' + path;
    }
    return {};
}

TPictureTexts PictureTextsOf(const TPPicture& picture) {
    return {picture.pic_description,
            picture.picture_date == 0 ? QString() : DateNumberToText(picture.picture_date), picture.notes};
}

bool SavePictureTexts(TPPicture& picture, const TPictureTexts& texts) {
    if (picture.picture_id.trimmed().isEmpty())
        return false;
    TPPicture changed = picture;
    changed.pic_description = texts.Description;
    changed.notes = texts.Notes;
    changed.picture_date =
        texts.Date.trimmed().isEmpty() ? 0 : GregorianTextToDateNumber(NormaliseDigits(texts.Date));
    if (!UpdatePictureInfo(changed))
        return false;
    picture.pic_description = changed.pic_description;
    picture.notes = changed.notes;
    picture.picture_date = changed.picture_date;
    return true;
}

TPicturePath PicturePathOf(const QString& storedPath) {
    const QString path = storedPath.trimmed();
    if (path.isEmpty())
        return {};
    const QString name = FileNamePart(path);
    const QString folder = LastFolder(path);
    if (folder.isEmpty() && !path.startsWith(u'/')) {
        const bool found = !PhotosFolder().isEmpty() && QFileInfo(PhotosFolder() + name).isFile();
        return {QStringLiteral("  ") + PhotosFolderName() + u'/' + name,
                found ? TPicturePlace::InPhotos : TPicturePlace::MissingPhotos};
    }
    if (!folder.isEmpty() && folder.compare(PhotosFolderName(), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("  ") + QDir::toNativeSeparators(path), TPicturePlace::PhotosPath};
    return {QStringLiteral("  ") + folder + u'/' + name, TPicturePlace::OtherFolder};
}

TSaveImageResult SaveImageFile(const QImage& image, const QString& file) {
    const QByteArray ending = QFileInfo(file).suffix().toLower().toLatin1();
    if (ending.isEmpty() || !QImageWriter::supportedImageFormats().contains(ending))
        return TSaveImageResult::UnsupportedEnding;
    if (image.isNull())
        return TSaveImageResult::Failed;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return TSaveImageResult::Failed;
    QImageWriter writer(&out, ending);
    if (!writer.write(image)) {
        out.cancelWriting();
        return TSaveImageResult::Failed;
    }
    return out.commit() ? TSaveImageResult::Written : TSaveImageResult::Failed;
}

QString ProposedImageFileName(const QString& personName) {
    QString name = CleanFileName(personName.simplified()).trimmed();
    // A name of dots alone would name a folder.
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return (name.isEmpty() ? QStringLiteral("picture") : name) + QStringLiteral(".jpg");
}

QSize ZoomedIn(const QSize& shown, const QSize& image, const QSize& screen) {
    if (shown.width() > screen.width() && image.width() < screen.width())
        return shown;
    if (qint64(shown.width()) * shown.height() > qint64(screen.width()) * screen.height())
        return shown;
    return {qRound(shown.width() * 1.03), qRound(shown.height() * 1.03)};
}

QSize ZoomedOut(const QSize& shown) {
    if (shown.width() < 100 || shown.height() < 100)
        return shown;
    return {std::max(30, shown.width() - qRound(shown.width() * 0.03)),
            std::max(40, shown.height() - qRound(shown.height() * 0.03))};
}

QImage TThumbnailCache::Thumbnail(const QString& file, const QSize& box) {
    if (file.isEmpty() || box.isEmpty())
        return {};
    const QFileInfo info(file);
    const QString key = file + u'|' + QString::number(info.lastModified().toMSecsSinceEpoch()) + u'|' +
                        QString::number(info.size()) + u'|' + QString::number(box.width()) + u'x' +
                        QString::number(box.height());
    const auto found = images_.constFind(key);
    if (found != images_.constEnd())
        return *found;
    QImage thumbnail;
    if (info.isFile() && info.size() <= kMaxPictureFileBytes) {
        QImageReader reader(file);
        reader.setDecideFormatFromContent(true);
        reader.setAutoTransform(true);
        const QSize full = reader.size();
        if (full.isValid() && (full.width() > box.width() || full.height() > box.height()))
            reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio));
        reader.read(&thumbnail);
        ++made_;
    }
    images_.insert(key, thumbnail);
    order_.append(key);
    if (order_.size() > kThumbnailLimit)
        images_.remove(order_.takeFirst());
    return thumbnail;
}

void TThumbnailCache::Clear() {
    images_.clear();
    order_.clear();
}

TThumbnailCache& Thumbnails() {
    static TThumbnailCache cache;
    return cache;
}

} // namespace verdan
