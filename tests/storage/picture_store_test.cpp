#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "tree_fixture.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace verdan {
namespace {

using test::NewTempDir;

// A 1 × 1 GIF: Qt decodes GIF but cannot write it.
const QByteArray kGif =
    QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001"
                        "000002024401003b");

QString WriteImage(const QString& folder, const QString& name, QColor color, const char* format,
                   QSize size = QSize(4, 4)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = folder + u'/' + name;
    EXPECT_TRUE(image.save(path, format)) << path.toStdString();
    return path;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList PhotoFiles() {
    return QDir(PhotosFolder()).entryList(QDir::Files, QDir::Name);
}

int PictureRows() {
    return int(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPictures")));
}

TEST(PictureFiles, DecodedByContentWhateverTheName) {
    const QString dir = NewTempDir();
    QImage image;
    const QString png = WriteImage(dir, QStringLiteral("png.jpg"), Qt::red, "PNG", QSize(5, 3));
    ASSERT_TRUE(LoadImageFile(png, image));
    EXPECT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));

    const QString jpeg = WriteImage(dir, QStringLiteral("jpeg.bmp"), Qt::green, "JPEG", QSize(8, 6));
    ASSERT_TRUE(LoadImageFile(jpeg, image));
    EXPECT_EQ(image.size(), QSize(8, 6));

    const QString bmp = WriteImage(dir, QStringLiteral("bmp"), Qt::blue, "BMP", QSize(2, 7));
    ASSERT_TRUE(LoadImageFile(bmp, image));
    EXPECT_EQ(image.size(), QSize(2, 7));

    WriteBytes(dir + QStringLiteral("/gif.PNG"), kGif);
    ASSERT_TRUE(LoadImageFile(dir + QStringLiteral("/gif.PNG"), image));
    EXPECT_EQ(image.size(), QSize(1, 1));

    // Anything else leaves no image behind and says so.
    WriteBytes(dir + QStringLiteral("/text.jpg"), "not a picture");
    EXPECT_FALSE(LoadImageFile(dir + QStringLiteral("/text.jpg"), image));
    EXPECT_TRUE(image.isNull());
    ASSERT_TRUE(LoadImageFile(png, image));
    EXPECT_FALSE(LoadImageFile(dir + QStringLiteral("/missing.png"), image));
    EXPECT_TRUE(image.isNull());
    const QString ppm = WriteImage(dir, QStringLiteral("other.png"), Qt::red, "PPM");
    EXPECT_FALSE(LoadImageFile(ppm, image));
}

class Pictures : public test::TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        person_ = Dm().ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE is_section = 0"));
        ASSERT_FALSE(person_.isEmpty());
        outside_ = NewTempDir();
    }

    // Saves a new default picture of the person from the file; the identifier or empty.
    QString Save(const QString& file, const QString& person = QString()) {
        TPPicture picture;
        picture.person_id = person.isEmpty() ? person_ : person;
        picture.file_path = file;
        picture.pic_default = true;
        QString id = QStringLiteral("stale");
        const bool saved = SavePicture(picture, id);
        EXPECT_EQ(saved, !id.isEmpty());
        EXPECT_EQ(id, saved ? picture.picture_id : QString());
        return id;
    }

    QRgb StoredColour(const QString& id) {
        TPPicture picture;
        picture.picture_id = id;
        EXPECT_TRUE(ReadPicture(picture));
        return picture.Image.isNull() ? 0 : picture.Image.pixel(0, 0);
    }

    QString person_;
    QString outside_;
};

TEST_F(Pictures, SameNameFromAnotherFolderKeepsBothPictures) {
    QDir().mkpath(outside_ + QStringLiteral("/a"));
    QDir().mkpath(outside_ + QStringLiteral("/b"));
    QDir().mkpath(outside_ + QStringLiteral("/c"));
    const QString red =
        WriteImage(outside_ + QStringLiteral("/a"), QStringLiteral("photo.png"), Qt::red, "PNG");
    const QString blue =
        WriteImage(outside_ + QStringLiteral("/b"), QStringLiteral("photo.png"), Qt::blue, "PNG");
    const QString blueAgain =
        WriteImage(outside_ + QStringLiteral("/c"), QStringLiteral("Photo.PNG"), Qt::blue, "PNG");

    const QString first = Save(red);
    ASSERT_FALSE(first.isEmpty());
    const QString second = Save(blue);
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(PhotoFiles(), (QStringList{QStringLiteral("photo (2).png"), QStringLiteral("photo.png")}));
    EXPECT_EQ(StoredColour(first), qRgb(255, 0, 0));
    EXPECT_EQ(StoredColour(second), qRgb(0, 0, 255));

    // The same bytes again, under either name or a name differing in letter case, reuse the stored file.
    TPPicture again;
    again.person_id = person_;
    again.file_path = blueAgain;
    QString id;
    ASSERT_TRUE(SavePicture(again, id));
    EXPECT_EQ(again.file_path, QStringLiteral("photo (2).png"));
    EXPECT_EQ(CopyPictureToPhotos(red), QStringLiteral("photo.png"));
    EXPECT_EQ(CopyPictureToPhotos(PhotosFolder() + QStringLiteral("photo (2).png")),
              QStringLiteral("photo (2).png"));
    EXPECT_EQ(CopyPictureToPhotos(QStringLiteral("photo.png")), QStringLiteral("photo.png"));
    EXPECT_EQ(PhotoFiles().size(), 2);
    EXPECT_EQ(PictureRows(), 3);

    // A third content under the same name takes the next free name.
    const QString green = WriteImage(outside_, QStringLiteral("photo.png"), Qt::green, "PNG");
    EXPECT_EQ(CopyPictureToPhotos(green), QStringLiteral("photo (3).png"));
}

TEST_F(Pictures, NothingIsStoredWhenTheFileCannotBePlaced) {
    EXPECT_TRUE(Save(outside_ + QStringLiteral("/missing.png")).isEmpty());
    EXPECT_TRUE(Save(QStringLiteral("missing.png")).isEmpty());
    EXPECT_EQ(PictureRows(), 0);

    // An identifier that names no row copies nothing.
    const QString file = WriteImage(outside_, QStringLiteral("p.png"), Qt::red, "PNG");
    TPPicture unknown;
    unknown.picture_id = NewGuidText();
    unknown.person_id = person_;
    unknown.file_path = file;
    QString id;
    EXPECT_FALSE(SavePicture(unknown, id));
    EXPECT_TRUE(PhotoFiles().isEmpty());

    // The photos folder cannot be made: a file stands in its place.
    const QString photos = PhotosFolder();
    ASSERT_TRUE(QDir(photos).removeRecursively());
    WriteBytes(photos.chopped(1), "in the way");
    EXPECT_TRUE(Save(file).isEmpty());
    EXPECT_TRUE(CopyPictureToPhotos(file).isEmpty());
    EXPECT_EQ(PictureRows(), 0);
}

TEST_F(Pictures, OneDefaultPerPersonAndTextsAsTyped) {
    const QString other =
        Dm().ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE person_id <> ? "
                                       "ORDER BY oid LIMIT 1"),
                        person_);
    const QString first = Save(WriteImage(outside_, QStringLiteral("1.png"), Qt::red, "PNG"));
    const QString second = Save(WriteImage(outside_, QStringLiteral("2.bmp"), Qt::blue, "BMP"));
    const QString others = Save(WriteImage(outside_, QStringLiteral("3.png"), Qt::green, "PNG"), other);
    ASSERT_FALSE(first.isEmpty() || second.isEmpty() || others.isEmpty());

    TPPicture shown;
    shown.person_id = person_;
    ASSERT_TRUE(ReadPicture(shown));
    EXPECT_EQ(shown.picture_id, second);
    TPPicture chosen;
    chosen.picture_id = first;
    ASSERT_TRUE(SetDefaultPicture(chosen));
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPictures WHERE pic_default <> 0")), 2);
    shown = TPPicture();
    shown.person_id = person_;
    ASSERT_TRUE(ReadPicture(shown));
    EXPECT_EQ(shown.picture_id, first);
    EXPECT_EQ(shown.Image.pixel(0, 0), qRgb(255, 0, 0));

    shown.pic_description = QStringLiteral("x'); DELETE FROM ftPictures;--");
    shown.notes = QStringLiteral("جدّي ـ في\u00A0الحج\n1965 \"O'Hara\"");
    shown.picture_date = 19650312;
    ASSERT_TRUE(UpdatePictureInfo(shown));
    TPPicture read;
    read.picture_id = first;
    ASSERT_TRUE(ReadPicture(read));
    EXPECT_EQ(read.pic_description, shown.pic_description);
    EXPECT_EQ(read.notes, shown.notes);
    EXPECT_EQ(read.picture_date, 19650312);
    EXPECT_TRUE(read.pic_default);

    EXPECT_TRUE(PersonHasPictures(person_));
    EXPECT_FALSE(PersonHasPictures(NewGuidText()));
    EXPECT_EQ(GetPicturePerson(others), other);
    TPPictureList list;
    ListPictures(person_, list);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].picture_id, first);
    EXPECT_EQ(list[0].LineageName, GetLineageName(person_));
    EXPECT_TRUE(list[0].Image.isNull());
    ListPictures(QString(), list);
    EXPECT_EQ(list.size(), 3);
    TPersonNameList persons;
    ListPersonsWithPictures(persons);
    ASSERT_EQ(persons.size(), 2);

    // Removing a row keeps the file.
    EXPECT_TRUE(DeletePictureRow(read));
    EXPECT_TRUE(DeletePicture(second));
    EXPECT_FALSE(DeletePicture(second));
    EXPECT_FALSE(PersonHasPictures(person_));
    EXPECT_EQ(PhotoFiles().size(), 3);
}

TEST_F(Pictures, ReadingAndDrawing) {
    TPPicture untouched;
    untouched.notes = QStringLiteral("kept");
    EXPECT_FALSE(ReadPicture(untouched));
    EXPECT_EQ(untouched.notes, QStringLiteral("kept"));

    QImage target(20, 10, QImage::Format_RGB32);
    target.fill(Qt::black);
    EXPECT_FALSE(DrawDefaultPicture(person_, target));
    EXPECT_EQ(target.pixel(10, 5), qRgb(255, 255, 255));

    const QString id = Save(WriteImage(outside_, QStringLiteral("square.png"), Qt::red, "PNG"));
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(DrawDefaultPicture(person_, target));
    EXPECT_EQ(target.pixel(10, 5), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(2, 5), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(17, 5), qRgb(255, 255, 255));

    // A row whose file went missing reads with a null image, not the image read before.
    ASSERT_TRUE(QFile::remove(PhotosFolder() + QStringLiteral("square.png")));
    TPPicture picture;
    picture.picture_id = id;
    picture.Image = QImage(3, 3, QImage::Format_RGB32);
    ASSERT_TRUE(ReadPicture(picture));
    EXPECT_TRUE(picture.Image.isNull());
    EXPECT_EQ(picture.file_path, QStringLiteral("square.png"));
    EXPECT_TRUE(PictureFileLocation(picture.file_path).isEmpty());
}

} // namespace
} // namespace verdan
