#pragma once

#include "storage/picture_store.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

namespace verdan {

// The pictures of a person as the data sheet and the picture browser handle them.

// A larger picture file is refused before it is read.
inline constexpr qint64 kMaxPictureFileBytes = 100LL * 1024 * 1024;

enum class TAddPictureResult {
    Added,      // copied into the photos folder (when it was not there), stored and made the default
    NoPerson,   // no person to add it to
    TooLarge,   // larger than kMaxPictureFileBytes: nothing read, copied or stored
    Unreadable, // not a picture the program can show: nothing copied or stored
    NotStored,  // the file could not be placed in the photos folder or the row not written
};

// Adds a picture file as the person's new default picture, with empty texts and no date. On success
// `picture` holds the stored picture with its image.
TAddPictureResult AddPictureFile(const QString& personId, const QString& file, TPPicture& picture);
// Adds a picture that has no file of its own (a pasted one): it is written as a PNG file named after the
// moment (`pastedAt`), then added as a file is, so the photos folder holds it like any other picture.
TAddPictureResult AddPictureImage(const QString& personId, const QImage& image, const QDateTime& pastedAt,
                                  TPPicture& picture);
// The message for a refusal (translated, "|" before the file); empty for Added.
QString AddPictureMessage(TAddPictureResult result, const QString& file);

// The texts of a picture as its boxes show them: the date as "dd-mm-yyyy" (empty for none).
struct TPictureTexts {
    QString Description;
    QString Date;
    QString Notes;
    bool operator==(const TPictureTexts&) const = default;
};
TPictureTexts PictureTextsOf(const TPPicture& picture);
// Writes typed texts to the picture (the date read with the Gregorian date reader); the record follows.
bool SavePictureTexts(TPPicture& picture, const TPictureTexts& texts);

// Where the picture's file is, for the line under the picture.
enum class TPicturePlace {
    None,          // no file named
    InPhotos,      // a bare name, found in the photos folder
    MissingPhotos, // a bare name the photos folder does not hold
    PhotosPath,    // a whole path into a folder of the photos folder's name
    OtherFolder,   // a whole path elsewhere
};
struct TPicturePath {
    QString Text;
    TPicturePlace Place = TPicturePlace::None;
};
TPicturePath PicturePathOf(const QString& storedPath);

enum class TSaveImageResult { Written, UnsupportedEnding, Failed };
// Writes the image in the format its file name's ending names, when the program can write that format.
TSaveImageResult SaveImageFile(const QImage& image, const QString& file);
// A file name for saving a person's picture: the name without the characters file systems refuse,
// with ".jpg".
QString ProposedImageFileName(const QString& personName);

// One zoom step of the picture browser (3 per cent). Zooming in stops when the picture grows beyond the
// screen; zooming out stops once a side is below 100 pixels. The size is returned unchanged at a stop.
QSize ZoomedIn(const QSize& shown, const QSize& image, const QSize& screen);
QSize ZoomedOut(const QSize& shown);

// Small pictures of files for strips, made when first asked for and kept in memory; a file that changed
// on disk is read again.
class TThumbnailCache {
public:
    // The picture fitted into `box`, never larger than the file's own size; a null image when the file
    // cannot be read.
    QImage Thumbnail(const QString& file, const QSize& box);
    void Clear();
    int Made() const { return made_; }

private:
    QHash<QString, QImage> images_;
    QStringList order_; // oldest first, for dropping the oldest beyond the limit
    int made_ = 0;
};
TThumbnailCache& Thumbnails();

} // namespace verdan
