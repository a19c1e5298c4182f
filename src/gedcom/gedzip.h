#pragma once

#include "gedcom/gedcom_data.h"
#include "gedcom/zip_archive.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace verdan {

struct TGedcomTreeContext;

// GEDZIP: a zip archive holding the GEDCOM data as gedcom.ged and the media files it names by their paths
// in the archive.

// Whether the file at path is a zip archive (whatever its name says).
bool IsZipFile(const QString& path);

// Opens the archive and reads its gedcom.ged. False with a translated reason when it is no such archive.
bool ReadGedzip(const QString& path, TZipReader& zip, QByteArray& gedcom, QString& error);

// A media file of the archive an individual links to: the position in data.Persons, the name in the
// archive, and the title the link gives it.
struct TGedzipPicture {
    int Person = -1;
    QString File;
    QString Title;
};

// Each local FILE of an OBJE record (or of an OBJE under the individual) an individual links to.
std::vector<TGedzipPicture> GedzipPictureFiles(QByteArrayView gedcom, const TGedcomData& data);

// Copies those that are images the program can show into the photos folder, renamed where a file of that
// name is there, and lists them in data.Pictures (each person's first as the default). Returns how many
// media files were left out (no image, missing or damaged).
int PlaceGedzipPictures(const TZipReader& zip, const std::vector<TGedzipPicture>& files,
                        const QString& photosFolder, TGedcomData& data);

// Writes the rows of data.Pictures, inside the tree writer's transaction.
bool WriteGedcomPictures(const TGedcomData& data, const TGedcomTreeContext& context, QString& error);

// The media type of a picture file by its name, as a FORM line gives it.
QByteArray PictureMediaType(const QString& fileName);

} // namespace verdan
