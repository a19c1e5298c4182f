#include "gedzip.h"

#include "gedcom/gedcom_extensions.h"
#include "gedcom/gedcom_internal.h"
#include "gedcom/gedcom_reader.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QUrl>
#include <sqlite3.h>

namespace verdan {

namespace {

constexpr qint64 kGedcomLimit = qint64(1) << 30;  // the data file is read whole
constexpr qint64 kPictureLimit = qint64(1) << 28; // each picture

QString Str(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size())).trimmed();
}

// A FILE value that names a file in the archive: no scheme, not absolute, no ".." and no backslash.
QString LocalPath(const QString& value) {
    const QString path = QUrl::fromPercentEncoding(value.toUtf8());
    if (path.isEmpty() || value.contains(QLatin1String("://")) || value.startsWith(QLatin1String("file:")) ||
        path.startsWith(u'/') || path.contains(u'\\') || path.split(u'/').contains(QStringLiteral("..")))
        return {};
    return path;
}

// A name for the file in the photos folder that no file there has yet.
QString FreeName(const QDir& photos, const QString& wanted) {
    QString name = QFileInfo(wanted).fileName();
    if (name.isEmpty())
        name = QStringLiteral("picture");
    const QFileInfo info(name);
    const QString base = info.completeBaseName(), suffix = info.suffix();
    for (int n = 2; photos.exists(name); ++n)
        name = base + QStringLiteral(" (%1)").arg(n) + (suffix.isEmpty() ? QString() : u'.' + suffix);
    return name;
}

} // namespace

bool IsZipFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && LooksLikeZip(file.read(4));
}

bool ReadGedzip(const QString& path, TZipReader& zip, QByteArray& gedcom, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = FillPattern(Translate(QStringLiteral("The file %* could not be read.")), {path});
        return false;
    }
    if (!zip.Open(file.readAll()) || !zip.Read(QStringLiteral("gedcom.ged"), gedcom, kGedcomLimit)) {
        error = FillPattern(Translate(QStringLiteral("The file %* is not a GEDZIP archive with a GEDCOM file "
                                                     "gedcom.ged in it.")),
                            {path});
        return false;
    }
    return true;
}

std::vector<TGedzipPicture> GedzipPictureFiles(QByteArrayView gedcom, const TGedcomData& data) {
    std::vector<TGedLine> lines;
    std::string_view text(gedcom.data(), size_t(gedcom.size()));
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        TGedLine line;
        if (SplitGedcomLine(text.substr(pos, end - pos), line))
            lines.push_back(line);
        pos = end + 1;
    }
    // The first local file of each media record, and each individual's links in file order: the media
    // record, or with "#" the file of an OBJE under the individual (the older form).
    QHash<QString, QString> objects;
    std::vector<TGedzipPicture> links;
    QString record, recordTag;
    int person = -1;
    bool inLink = false; // under an OBJE of the individual
    for (size_t i = 0; i < lines.size(); ++i) {
        const TGedLine& line = lines[i];
        if (line.Level == 0) {
            record = Str(line.Xref);
            recordTag = Str(line.Tag);
            const auto found = data.PersonIndex.constFind(record);
            person = recordTag == u"INDI" && found != data.PersonIndex.constEnd() ? *found : -1;
            inLink = false;
            continue;
        }
        if (recordTag == u"OBJE" && line.Level == 1 && TagIs(line.Tag, "FILE") && !objects.contains(record)) {
            const QString path = LocalPath(Str(line.Value));
            if (!path.isEmpty())
                objects.insert(record, path);
        } else if (person >= 0 && line.Level == 1) {
            inLink = TagIs(line.Tag, "OBJE");
            if (inLink) {
                const QString xref = XrefOf(line.Value);
                links.push_back({person, xref.isEmpty() ? QString() : xref, QString()});
            }
        } else if (person >= 0 && inLink && line.Level == 2 && TagIs(line.Tag, "TITL")) {
            links.back().Title = ReadContinuedValue(lines, i).trimmed();
        } else if (person >= 0 && inLink && line.Level == 2 && TagIs(line.Tag, "FILE") &&
                   links.back().File.isEmpty()) {
            const QString path = LocalPath(Str(line.Value));
            if (!path.isEmpty())
                links.back().File = u'#' + path;
        }
    }
    std::vector<TGedzipPicture> files;
    for (TGedzipPicture& link : links) {
        link.File = link.File.startsWith(u'#') ? link.File.mid(1) : objects.value(link.File);
        if (!link.File.isEmpty())
            files.push_back(std::move(link));
    }
    return files;
}

int PlaceGedzipPictures(const TZipReader& zip, const std::vector<TGedzipPicture>& files,
                        const QString& photosFolder, TGedcomData& data) {
    const QDir photos(photosFolder);
    QHash<QString, QString> placed; // archive name -> name in photos: a file shared by several is copied once
    QSet<QString> failed;
    QSet<int> withDefault;
    for (const TGedzipPicture& file : files) {
        QString stored = placed.value(file.File);
        if (stored.isEmpty()) {
            if (failed.contains(file.File))
                continue;
            QByteArray bytes;
            if (!zip.Read(file.File, bytes, kPictureLimit) || QImage::fromData(bytes).isNull()) {
                failed.insert(file.File);
                continue;
            }
            stored = FreeName(photos, file.File);
            QFile out(photos.filePath(stored));
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
                failed.insert(file.File);
                continue;
            }
            placed.insert(file.File, stored);
        }
        data.Pictures.push_back({file.Person, stored, file.Title, !withDefault.contains(file.Person)});
        withDefault.insert(file.Person);
    }
    return int(failed.size());
}

bool WriteGedcomPictures(const TGedcomData& data, const TGedcomTreeContext& context, QString& error) {
    if (data.Pictures.empty())
        return true;
    TGedStatement insert(context.Db,
                         "INSERT INTO ftPictures (picture_id, owner_id, person_id, file_path, "
                         "pic_default, pic_description, date_created, date_modified) VALUES (?, ?, "
                         "?, ?, ?, ?, ?, ?)");
    for (const TGedPicture& p : data.Pictures) {
        const QString id = NewGuidText();
        if (!insert.Text(id)
                 .Text(context.OwnerId)
                 .Text(data.Persons[size_t(p.Person)].Data.PersonId)
                 .Text(p.FileName)
                 .Int(p.Default ? 1 : 0)
                 .Text(p.Title)
                 .Text(context.Stamp)
                 .Text(context.Stamp)
                 .Run()) {
            error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")),
                                {QString::fromUtf8(sqlite3_errmsg(context.Db))});
            return false;
        }
    }
    return true;
}

QByteArray PictureMediaType(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return "image/jpeg";
    if (suffix == u"png" || suffix == u"gif" || suffix == u"bmp" || suffix == u"webp" || suffix == u"tiff")
        return "image/" + suffix.toLatin1();
    if (suffix == u"tif")
        return "image/tiff";
    return "application/octet-stream";
}

} // namespace verdan
