#include "picture_store.h"

#include "database.h"
#include "person_store.h"
#include "text/text_utils.h"
#include "tree_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>

namespace verdan {

namespace {

constexpr qint64 kChunk = 64 * 1024;

bool IsBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

// The last component of a stored path; paths kept by older versions may use
// "\".
QString FileNamePart(const QString& path) {
    const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

bool SameContent(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) ||
        !second.open(QIODevice::ReadOnly))
        return false;
    while (!first.atEnd()) {
        const QByteArray chunk = first.read(kChunk);
        if (chunk.isEmpty() || chunk != second.read(kChunk))
            return false;
    }
    return true;
}

bool CopyFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            break;
        }
    }
    return out.commit();
}

// "name.jpg", "name (2).jpg", "name (3).jpg", ...
QString NumberedName(const QString& name, int number) {
    if (number < 2)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString suffix = dot > 0 ? name.mid(dot) : QString();
    return name.left(name.size() - suffix.size()) + QStringLiteral(" (") + QString::number(number) + u')' +
           suffix;
}

// Places the file and tells whether a new copy was made, so a failed row write
// can take it back.
QString PlaceInPhotos(const QString& file, bool& copied) {
    copied = false;
    const QString photos = PhotosFolder();
    if (photos.isEmpty() || IsBlank(file))
        return QString();
    const QFileInfo source(file);
    if (!source.isAbsolute() || !source.isFile()) {
        // A stored name: the file is in the photos folder already, or nowhere.
        const QString name = FileNamePart(file);
        return !name.isEmpty() && QFileInfo(photos + name).isFile() ? name : QString();
    }
    if (QFileInfo(source.absolutePath()).canonicalFilePath() == QFileInfo(photos).canonicalFilePath())
        return source.fileName();
    if (!QDir().mkpath(photos))
        return QString();
    // Names are compared without letter case, so the folder still works on a
    // system that ignores it.
    QHash<QString, QString> taken;
    for (const QString& entry :
         QDir(photos).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        taken.insert(entry.toLower(), entry);
    for (int number = 1;; ++number) {
        const QString name = NumberedName(source.fileName(), number);
        const auto found = taken.constFind(name.toLower());
        if (found == taken.constEnd()) {
            if (!CopyFile(source.absoluteFilePath(), photos + name))
                return QString();
            copied = true;
            return name;
        }
        if (QFileInfo(photos + *found).isFile() && SameContent(source.absoluteFilePath(), photos + *found))
            return *found;
    }
}

void FillPicture(const Query& q, TPPicture& picture) {
    picture.picture_id = q.Text("picture_id");
    picture.person_id = q.Text("person_id");
    picture.picture_date = qint32(q.Int("picture_date"));
    picture.pic_description = q.Text("pic_description");
    picture.notes = q.Text("notes");
    picture.pic_default = q.Bool("pic_default");
    picture.file_path = q.Text("file_path");
}

bool PictureExists(const QString& pictureId) {
    return Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPictures WHERE picture_id = ?"), pictureId) >
           0;
}

bool MakeDefault(const QString& pictureId) {
    return Dm().Execute(QStringLiteral("UPDATE ftPictures SET pic_default = (picture_id = ?1) WHERE "
                                       "person_id = "
                                       "(SELECT person_id FROM ftPictures WHERE picture_id = ?1)"),
                        pictureId) > 0;
}

} // namespace

bool SavePicture(TPPicture& picture, QString& id) {
    id.clear();
    if (IsBlank(picture.person_id) || !Dm().IsConnected())
        return false;
    const bool isNew = IsBlank(picture.picture_id);
    if (!isNew && !PictureExists(picture.picture_id))
        return false;
    bool copied = false;
    const QString stored = PlaceInPhotos(picture.file_path, copied);
    if (stored.isEmpty())
        return false;
    const QString pictureId = isNew ? NewGuidText() : picture.picture_id;
    const QString now = NowStamp();
    Transaction transaction;
    bool written = false;
    if (isNew)
        written = Dm().Execute(QStringLiteral("INSERT INTO ftPictures (picture_id, person_id, file_path, "
                                              "pic_default, picture_date, pic_description, notes, "
                                              "date_created, "
                                              "user_created, date_modified, user_modified) "
                                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                               pictureId, picture.person_id, stored, picture.pic_default,
                               picture.picture_date, picture.pic_description, picture.notes, now,
                               CurrentUserName(), now, CurrentUserName()) == 1;
    else
        written = Dm().Execute(QStringLiteral("UPDATE ftPictures SET person_id = ?, "
                                              "file_path = ?, pic_default = ?, "
                                              "picture_date = ?, pic_description = ?, "
                                              "notes = ?, date_modified = ?, "
                                              "user_modified = ? WHERE picture_id = ?"),
                               picture.person_id, stored, picture.pic_default, picture.picture_date,
                               picture.pic_description, picture.notes, now, CurrentUserName(), pictureId) > 0;
    if (written && picture.pic_default)
        written = MakeDefault(pictureId);
    if (!written || !transaction.Commit()) {
        if (copied)
            QFile::remove(PhotosFolder() + stored);
        return false;
    }
    picture.picture_id = pictureId;
    picture.file_path = stored;
    id = pictureId;
    return true;
}

bool UpdatePictureInfo(const TPPicture& picture) {
    if (IsBlank(picture.picture_id))
        return false;
    Transaction transaction;
    bool written = Dm().Execute(QStringLiteral("UPDATE ftPictures SET pic_default = ?, picture_date = ?, "
                                               "pic_description = ?, notes = ?, date_modified = ?, "
                                               "user_modified = ? WHERE picture_id = ?"),
                                picture.pic_default, picture.picture_date, picture.pic_description,
                                picture.notes, NowStamp(), CurrentUserName(), picture.picture_id) > 0;
    if (written && picture.pic_default)
        written = MakeDefault(picture.picture_id);
    return written && transaction.Commit();
}

bool ReadPicture(TPPicture& picture) {
    Query q;
    if (!IsBlank(picture.picture_id))
        q = Dm().Prepare(QStringLiteral("SELECT * FROM ftPictures WHERE picture_id = ?"), picture.picture_id);
    else if (!IsBlank(picture.person_id))
        q = Dm().Prepare(QStringLiteral("SELECT * FROM ftPictures WHERE person_id = ? AND pic_default <> 0 "
                                        "ORDER BY oid LIMIT 1"),
                         picture.person_id);
    else
        return false;
    if (!q.Next())
        return false;
    FillPicture(q, picture);
    LoadImageFile(PictureFileLocation(picture.file_path), picture.Image);
    return true;
}

bool SetDefaultPicture(const TPPicture& picture) {
    return !IsBlank(picture.picture_id) && MakeDefault(picture.picture_id);
}

bool DeletePicture(const QString& pictureId) {
    return !IsBlank(pictureId) &&
           Dm().Execute(QStringLiteral("DELETE FROM ftPictures WHERE picture_id = ?"), pictureId) > 0;
}

bool DeletePictureRow(const TPPicture& picture) {
    return DeletePicture(picture.picture_id);
}

bool PersonHasPictures(const QString& id) {
    return Dm().IsConnected() &&
           Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPictures WHERE person_id = ?"), id) > 0;
}

QString GetPicturePerson(const QString& pictureId) {
    if (!Dm().IsConnected())
        return QString();
    return Dm().ScalarText(QStringLiteral("SELECT person_id FROM ftPictures WHERE picture_id = ?"),
                           pictureId);
}

void ListPictures(const QString& personId, TPPictureList& list) {
    list.clear();
    if (!Dm().IsConnected())
        return;
    const QString columns =
        QStringLiteral("SELECT person_id, picture_id, picture_date, pic_description, notes, "
                       "pic_default, file_path FROM ftPictures ");
    Query q = IsBlank(personId)
                  ? Dm().Prepare(columns + QStringLiteral("ORDER BY person_id, oid"))
                  : Dm().Prepare(columns + QStringLiteral("WHERE person_id = ? ORDER BY oid"), personId);
    QHash<QString, QString> names;
    while (q.Next()) {
        TPPicture picture;
        FillPicture(q, picture);
        auto name = names.find(picture.person_id);
        if (name == names.end())
            name = names.insert(picture.person_id, GetLineageName(picture.person_id));
        picture.LineageName = *name;
        list << picture;
    }
}

void ListPersonsWithPictures(TPersonNameList& list) {
    list.clear();
    if (!Dm().IsConnected())
        return;
    Query q = Dm().Prepare(QStringLiteral("SELECT person_id FROM ftPictures GROUP BY person_id"));
    while (q.Next()) {
        TPersonNameEntry entry;
        entry.Person_Id = q.Text(0);
        entry.Name = GetLineageName(entry.Person_Id);
        list << entry;
    }
}

QString CopyPictureToPhotos(const QString& file) {
    bool copied = false;
    return PlaceInPhotos(file, copied);
}

QString PictureFileLocation(const QString& filePath) {
    const QString name = FileNamePart(filePath);
    const QString photos = PhotosFolder();
    if (!name.isEmpty() && !photos.isEmpty() && QFileInfo(photos + name).isFile())
        return photos + name;
    if (QFileInfo(filePath).isAbsolute() && QFileInfo(filePath).isFile())
        return filePath;
    return QString();
}

bool LoadImageFile(const QString& file, QImage& image) {
    image = QImage();
    if (file.isEmpty())
        return false;
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    static const QList<QByteArray> formats = {"bmp", "jpeg", "jpg", "png", "gif"};
    if (!formats.contains(reader.format().toLower()))
        return false;
    QImage decoded;
    if (!reader.read(&decoded))
        return false;
    image = decoded;
    return true;
}

bool DrawDefaultPicture(const QString& personId, QImage& target) {
    if (IsBlank(personId) || target.isNull())
        return false;
    target.fill(Qt::white);
    TPPicture picture;
    picture.person_id = personId;
    if (!ReadPicture(picture) || picture.Image.isNull())
        return false;
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FitRect(target.rect(), picture.Image.size()), picture.Image);
    return true;
}

} // namespace verdan
