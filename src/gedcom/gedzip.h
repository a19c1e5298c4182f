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

// The media of the archive that are pictures of individuals: each local FILE of an OBJE record (or of an
// OBJE under the individual) an individual links to, as (position in data.Persons, name in the archive).
std::vector<std::pair<int, QString>> GedzipPictureFiles(QByteArrayView gedcom, const TGedcomData& data);

// Copies those that are images the program can show into the photos folder, renamed where a file of that
// name is there, and lists them in data.Pictures (each person's first as the default). Returns how many
// media files were left out (no image, missing or damaged).
int PlaceGedzipPictures(const TZipReader& zip, const std::vector<std::pair<int, QString>>& files,
                        const QString& photosFolder, TGedcomData& data);

// Writes the rows of data.Pictures, inside the tree writer's transaction.
bool WriteGedcomPictures(const TGedcomData& data, const TGedcomTreeContext& context, QString& error);

// The media type of a picture file by its name, as a FORM line gives it.
QByteArray PictureMediaType(const QString& fileName);

} // namespace verdan
