#include "common/testing.h"
#include "gedcom/gedcom7_validator.h"
#include "gedcom/gedcom_export.h"
#include "gedcom/gedcom_import.h"
#include "gedcom/zip_archive.h"
#include "storage/database.h"
#include "storage/picture_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace verdan {
namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The standard's largest archive comes in with its media: the individuals that link the picture get it in
// their photos, the sound and text files and the web addresses are left out.
TEST(Gedzip, MaximalArchiveImportsWithItsPicture) {
    TGedcomImportOptions options;
    options.BaseFolder = test::NewTempDir();
    TGedcomImportResult result;
    ASSERT_TRUE(ImportGedcomFile(test::TestData(QStringLiteral("gedcom7/maximal70.gdz")), options, result))
        << result.ErrorMessage.toStdString();
    EXPECT_EQ(result.Summary.Individuals, 4);
    EXPECT_GE(result.Summary.Pictures, 1);
    const QDir photos(QFileInfo(result.TreePath).dir().filePath(QStringLiteral("photos")));
    const QString picture = photos.filePath(QStringLiteral("CharlotteBrontë.jpg"));
    ASSERT_TRUE(QFile::exists(picture)) << photos.entryList().join(u' ').toStdString();
    EXPECT_FALSE(QImage(picture).isNull());
    EXPECT_EQ(photos.entryList(QDir::Files).size(), 1) << "one copy of a file several link";
    Tdm db;
    ASSERT_TRUE(db.Open(result.TreePath));
    EXPECT_EQ(db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPictures")), result.Summary.Pictures);
    EXPECT_EQ(
        db.ScalarInt(QStringLiteral("SELECT count(DISTINCT person_id) FROM ftPictures WHERE pic_default")),
        result.Summary.Pictures);
}

// A tree with pictures written as an archive comes back with the same pictures, byte for byte, each still
// its person's default; the data file in it is valid with every extension declared.
TEST(Gedzip, TreeWithPicturesComesBackWhole) {
    TTreeProperty props;
    props.BasePath = test::NewTempDir();
    props.FolderName = QStringLiteral("family");
    props.FileName = QStringLiteral("family.vrd");
    props.TreeName = QStringLiteral("Tree");
    const QString tree = CreateNewTree(props);
    ASSERT_TRUE(OpenTreeFile(tree));
    const QString id = NewGuidText();
    ASSERT_EQ(Dm().Execute(QStringLiteral("INSERT INTO ftPerson (person_id, father_id, mother_id, gender, "
                                          "person_name) VALUES (?, '-1', '0', 'm', 'Salim')"),
                           id),
              1);
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString source = test::NewTempDir() + QStringLiteral("/صورة سالم.png");
    ASSERT_TRUE(image.save(source));
    TPPicture picture;
    picture.person_id = id;
    picture.file_path = source;
    picture.pic_default = true;
    picture.pic_description = QStringLiteral("سالم في مكة\nسنة ١٣٨٠");
    QString pictureId;
    ASSERT_TRUE(SavePicture(picture, pictureId));
    const QString archive = test::NewTempDir() + QStringLiteral("/out.gdz");
    TGedcomExportSummary summary;
    QString error;
    ASSERT_TRUE(ExportGedcomFile(archive, {}, summary, error)) << error.toStdString();
    CloseTreeFile();
    EXPECT_EQ(summary.Pictures, 1);
    TZipReader zip;
    ASSERT_TRUE(zip.Open(Read(archive)));
    QByteArray gedcom;
    ASSERT_TRUE(zip.Read(QStringLiteral("gedcom.ged"), gedcom));
    const QStringList faults = test::ValidateGedcom7(gedcom, true);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();

    TGedcomImportOptions options;
    options.BaseFolder = test::NewTempDir();
    TGedcomImportResult result;
    ASSERT_TRUE(ImportGedcomFile(archive, options, result)) << result.ErrorMessage.toStdString();
    EXPECT_EQ(result.Summary.Pictures, 1);
    Tdm db;
    ASSERT_TRUE(db.Open(result.TreePath));
    Query q = db.Prepare(
        QStringLiteral("SELECT person_id, file_path, pic_default, pic_description FROM ftPictures"));
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text(0), id);
    EXPECT_TRUE(q.Bool(2));
    EXPECT_EQ(q.Text(3).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), picture.pic_description);
    const QString copied = QFileInfo(result.TreePath).dir().filePath(QStringLiteral("photos/") + q.Text(1));
    EXPECT_EQ(Read(copied), Read(source));
}

// A damaged archive, or one without its data file, stops the import with a message and leaves no tree.
TEST(Gedzip, DamagedArchiveLeavesNoTree) {
    QByteArray whole = Read(test::TestData(QStringLiteral("gedcom7/minimal70.gdz")));
    ASSERT_FALSE(whole.isEmpty());
    const QString folder = test::NewTempDir();
    QByteArray flipped = whole;
    flipped[40] = char(flipped[40] ^ 0x55); // inside the stored data file: its checksum no longer fits
    const std::pair<const char*, QByteArray> cases[] = {
        {"cut.gdz", whole.left(whole.size() - 10)},
        {"flipped.gdz", flipped},
        {"nodata.gdz", MakeZip({{QStringLiteral("media/a.jpg"), QByteArray("x")}})},
    };
    for (const auto& [name, bytes] : cases) {
        const QString path = folder + u'/' + QLatin1String(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult result;
        EXPECT_FALSE(ImportGedcomFile(path, options, result)) << name;
        EXPECT_TRUE(result.ErrorMessage.contains(path)) << result.ErrorMessage.toStdString();
        EXPECT_TRUE(QDir(options.BaseFolder).isEmpty()) << name;
    }
}

} // namespace
} // namespace verdan
