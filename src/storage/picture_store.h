#pragma once

#include "person_records.h"

#include <QImage>
#include <QList>
#include <QString>

namespace verdan {

// A picture of a person. The image file lives in the photos folder of the tree;
// the row keeps its name.
struct TPPicture {
    QString picture_id;
    QString person_id;
    QString LineageName; // filled by ListPictures only
    QImage Image;        // filled by ReadPicture only
    qint32 picture_date = 0;
    QString pic_description;
    QString notes;
    bool pic_default = false; // at most one picture of a person is its default
    QString file_path;        // as stored: the file name in the photos folder
};
using TPPictureList = QList<TPPicture>;

// Stores the picture: its file is placed in the photos folder first
// (CopyPictureToPhotos), then a new picture (blank picture_id) gets a new
// identifier and a row, an existing one has its row rewritten; a default
// picture becomes the person's only default. On success the record carries the
// identifier and the stored file name, and id the identifier. When the file
// cannot be placed, the identifier names no row or the row cannot be written,
// nothing is stored, id is empty and the result false.
bool SavePicture(TPPicture& picture, QString& id);
// Writes the default flag, date, description and notes of an existing picture.
bool UpdatePictureInfo(const TPPicture& picture);
// Reads the picture named by picture_id or else the default picture of
// person_id, with its image (a null image when its file cannot be found or
// decoded). False, leaving the record unchanged, when there is no such row.
bool ReadPicture(TPPicture& picture);
// Makes the picture the default of its person and every other picture of the
// person not.
bool SetDefaultPicture(const TPPicture& picture);
// Both remove the row only; the file stays in the photos folder.
bool DeletePicture(const QString& pictureId);
bool DeletePictureRow(const TPPicture& picture);
bool PersonHasPictures(const QString& id);
QString GetPicturePerson(const QString& pictureId);
// The pictures of a person, or of every person (ordered by person) for a blank
// identifier, with lineage names and without images.
void ListPictures(const QString& personId, TPPictureList& list);
// Every person who has a picture, with the lineage name.
void ListPersonsWithPictures(TPersonNameList& list);

// Places a picture file in the photos folder of the open tree and gives the
// name it has there; empty when it cannot. A file already in the folder stays
// where it is. A file of the same name is reused only when it holds the same
// bytes, otherwise the copy gets a free name ("name (2).jpg"); nothing is ever
// overwritten.
QString CopyPictureToPhotos(const QString& file);
// Where the image of a stored file_path is read from: the photos folder, else
// the stored path when it is a full path; empty when neither exists.
QString PictureFileLocation(const QString& filePath);
// Decodes a BMP, JPEG, PNG or GIF file by its content, whatever its name. On
// failure the image is null and the result false.
bool LoadImageFile(const QString& file, QImage& image);
// Fills the target white and draws the person's default picture fitted and
// centred in it; false when the person has no default picture that could be
// read.
bool DrawDefaultPicture(const QString& personId, QImage& target);

} // namespace verdan
