#include "datasheet/sheet_pictures.h"
#include "storage/person_fixture.h"
#include "storage/tree_file.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

namespace verdan::test {
namespace {

class SheetPicturesTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        Put("{A}", "-1", "0", "Ahmad");
        Put("{B}", "-1", "0", "Badr");
        outside_ = NewTempDir() + u'/';
    }
    // A picture file outside the tree, of the given size.
    QString Picture(const QString& name, int width = 40, int height = 30, const char* format = "PNG") {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 200));
        const QString file = outside_ + name;
        EXPECT_TRUE(image.save(file, format));
        return file;
    }
    int Pictures(const QString& person) {
        return static_cast<int>(
            Dm().ScalarInt("SELECT count(*) FROM ftPictures WHERE person_id = ?", person));
    }
    QStringList PhotosFiles() { return QDir(PhotosFolder()).entryList(QDir::Files); }

    QString outside_;
};

TEST_F(SheetPicturesTest, AnAddedPictureIsCopiedStoredAndMadeTheDefault) {
    TPPicture first;
    ASSERT_EQ(AddPictureFile("{A}", Picture("one.png"), first), TAddPictureResult::Added);
    EXPECT_FALSE(first.picture_id.isEmpty());
    EXPECT_EQ(first.file_path, "one.png");
    EXPECT_EQ(first.Image.size(), QSize(40, 30));
    EXPECT_TRUE(QFileInfo(PhotosFolder() + "one.png").isFile());
    TPPicture second;
    ASSERT_EQ(AddPictureFile("{A}", Picture("two.jpg", 20, 20, "JPEG"), second), TAddPictureResult::Added);
    TPPicture shown;
    shown.person_id = "{A}";
    ASSERT_TRUE(ReadPicture(shown));
    EXPECT_EQ(shown.picture_id, second.picture_id);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPictures WHERE pic_default <> 0"), 1);
    EXPECT_EQ(AddPictureFile("", Picture("three.png"), second), TAddPictureResult::NoPerson);
}

TEST_F(SheetPicturesTest, FilesThatAreNoPicturesOrTooLargeLeaveNoRowAndNoCopy) {
    QFile text(outside_ + "letter.jpg");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Dear family, this is not a picture.");
    text.close();
    TPPicture picture;
    EXPECT_EQ(AddPictureFile("{A}", text.fileName(), picture), TAddPictureResult::Unreadable);
    EXPECT_EQ(AddPictureFile("{A}", outside_ + "missing.png", picture), TAddPictureResult::Unreadable);

    // A sparse file a byte over the limit: refused by its size, never read.
    QFile huge(outside_ + "huge.png");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kMaxPictureFileBytes + 1));
    huge.close();
    EXPECT_EQ(AddPictureFile("{A}", huge.fileName(), picture), TAddPictureResult::TooLarge);

    EXPECT_EQ(Pictures("{A}"), 0);
    EXPECT_TRUE(PhotosFiles().isEmpty());
    EXPECT_TRUE(picture.picture_id.isEmpty());
    EXPECT_TRUE(AddPictureMessage(TAddPictureResult::TooLarge, huge.fileName()).contains("100 MB"));
    EXPECT_TRUE(AddPictureMessage(TAddPictureResult::Added, huge.fileName()).isEmpty());
}

TEST_F(SheetPicturesTest, ASharedFileOutlivesEveryRowThatNamesIt) {
    const QString file = Picture("family.png");
    TPPicture ofA;
    TPPicture ofB;
    ASSERT_EQ(AddPictureFile("{A}", file, ofA), TAddPictureResult::Added);
    ASSERT_EQ(AddPictureFile("{B}", file, ofB), TAddPictureResult::Added);
    EXPECT_EQ(PhotosFiles(), QStringList{"family.png"});
    EXPECT_EQ(ofA.file_path, ofB.file_path);
    ASSERT_TRUE(DeletePictureRow(ofA));
    EXPECT_EQ(Pictures("{A}"), 0);
    EXPECT_EQ(Pictures("{B}"), 1);
    EXPECT_TRUE(QFileInfo(PhotosFolder() + "family.png").isFile());
    EXPECT_TRUE(QFileInfo(file).isFile());

    // A row naming a file elsewhere by its whole path: removing the row leaves the file alone.
    const QString elsewhere = Picture("kept.png");
    ASSERT_EQ(Dm().Execute("INSERT INTO ftPictures (picture_id, person_id, file_path, pic_default) VALUES "
                           "('{P}', '{A}', ?, 1)",
                           elsewhere),
              1);
    EXPECT_TRUE(DeletePicture("{P}"));
    EXPECT_TRUE(QFileInfo(elsewhere).isFile());
}

TEST_F(SheetPicturesTest, PictureTextsAreWrittenWithTheCalendarsReader) {
    TPPicture picture;
    ASSERT_EQ(AddPictureFile("{A}", Picture("one.png"), picture), TAddPictureResult::Added);
    EXPECT_EQ(PictureTextsOf(picture), TPictureTexts());
    ASSERT_TRUE(
        SavePictureTexts(picture, {"Wedding 'day'", "5-3-2020", QStringLiteral(u"في الرياض\nمع العائلة")}));
    TPPicture read;
    read.picture_id = picture.picture_id;
    ASSERT_TRUE(ReadPicture(read));
    EXPECT_EQ(read.picture_date, 20200305);
    EXPECT_EQ(read.pic_description, "Wedding 'day'");
    EXPECT_EQ(PictureTextsOf(read).Date, "05-03-2020");
    EXPECT_EQ(PictureTextsOf(read).Notes, QStringLiteral(u"في الرياض\nمع العائلة"));
    // Digits as an Arabic keyboard types them read the same.
    ASSERT_TRUE(SavePictureTexts(picture, {"", QStringLiteral(u"٥-٣-٢٠٢١"), ""}));
    EXPECT_EQ(picture.picture_date, 20210305);
    ASSERT_TRUE(SavePictureTexts(picture, {"", "", ""}));
    EXPECT_EQ(picture.picture_date, 0);
    TPPicture none;
    EXPECT_FALSE(SavePictureTexts(none, {"x", "", ""}));
}

TEST_F(SheetPicturesTest, ThePathLineTellsWhereTheFileIs) {
    Picture("x.png");
    TPPicture picture;
    ASSERT_EQ(AddPictureFile("{A}", outside_ + "x.png", picture), TAddPictureResult::Added);
    EXPECT_EQ(PicturePathOf("x.png").Place, TPicturePlace::InPhotos);
    EXPECT_EQ(PicturePathOf("x.png").Text, "  photos/x.png");
    EXPECT_EQ(PicturePathOf("gone.jpg").Place, TPicturePlace::MissingPhotos);
    EXPECT_EQ(PicturePathOf("/home/u/tree/photos/a.jpg").Place, TPicturePlace::PhotosPath);
    const TPicturePath windows = PicturePathOf("C:\\Users\\u\\Pictures\\a.jpg");
    EXPECT_EQ(windows.Place, TPicturePlace::OtherFolder);
    EXPECT_EQ(windows.Text, "  Pictures/a.jpg");
    EXPECT_EQ(PicturePathOf("  ").Place, TPicturePlace::None);
}

TEST_F(SheetPicturesTest, SavingTakesTheFormatFromTheEndingOrSaysItCannot) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString dir = NewTempDir() + u'/';
    ASSERT_EQ(SaveImageFile(image, dir + "a.PNG"), TSaveImageResult::Written);
    QFile png(dir + "a.PNG");
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.read(4), QByteArray("\x89PNG"));
    ASSERT_EQ(SaveImageFile(image, dir + "b.jpg"), TSaveImageResult::Written);
    EXPECT_EQ(QImage(dir + "b.jpg").size(), QSize(30, 20));
    EXPECT_EQ(SaveImageFile(image, dir + "c.bmp"), TSaveImageResult::Written);
    EXPECT_EQ(SaveImageFile(image, dir + "d.xyz"), TSaveImageResult::UnsupportedEnding);
    EXPECT_EQ(SaveImageFile(image, dir + "noending"), TSaveImageResult::UnsupportedEnding);
    EXPECT_FALSE(QFileInfo::exists(dir + "d.xyz"));
    EXPECT_EQ(SaveImageFile(image, dir + "no/such/folder/e.png"), TSaveImageResult::Failed);
    EXPECT_EQ(SaveImageFile(QImage(), dir + "f.png"), TSaveImageResult::Failed);

    EXPECT_EQ(ProposedImageFileName("Ali/Hasan: \"Abu Zaid\""), "AliHasan Abu Zaid.jpg");
    EXPECT_EQ(ProposedImageFileName(QStringLiteral(u"علي بن حسن")), QStringLiteral(u"علي بن حسن.jpg"));
    EXPECT_EQ(ProposedImageFileName("../.."), "picture.jpg");
    EXPECT_EQ(ProposedImageFileName(""), "picture.jpg");
}

TEST(PictureZoom, StepsAreThreePerCentAndStopAtTheirLimits) {
    QSize size(200, 300);
    for (int step = 0; step < 10; ++step) {
        const QSize next = ZoomedOut(size);
        EXPECT_EQ(next, QSize(size.width() - qRound(size.width() * 0.03),
                              size.height() - qRound(size.height() * 0.03)));
        size = next;
    }
    EXPECT_EQ(size.width(), 147);
    EXPECT_EQ(ZoomedOut(QSize(99, 300)), QSize(99, 300));
    EXPECT_EQ(ZoomedOut(QSize(300, 99)), QSize(300, 99));

    const QSize screen(1600, 1000);
    EXPECT_EQ(ZoomedIn(QSize(200, 100), QSize(400, 200), screen), QSize(206, 103));
    EXPECT_EQ(ZoomedIn(QSize(1700, 500), QSize(400, 200), screen), QSize(1700, 500));
    EXPECT_EQ(ZoomedIn(QSize(1500, 1100), QSize(3000, 2000), screen), QSize(1500, 1100));
}

TEST_F(SheetPicturesTest, ThumbnailsAreMadeOnceAndAgainWhenTheFileChanges) {
    TThumbnailCache cache;
    const QString file = Picture("big.png", 600, 400);
    const QImage small = cache.Thumbnail(file, QSize(60, 60));
    EXPECT_EQ(small.size(), QSize(60, 40));
    cache.Thumbnail(file, QSize(60, 60));
    EXPECT_EQ(cache.Made(), 1);
    EXPECT_EQ(cache.Thumbnail(Picture("tiny.png", 10, 8), QSize(60, 60)).size(), QSize(10, 8));
    QFile::remove(file);
    Picture("big.png", 300, 600);
    EXPECT_EQ(cache.Thumbnail(file, QSize(60, 60)).size(), QSize(30, 60));
    EXPECT_TRUE(cache.Thumbnail(outside_ + "none.png", QSize(60, 60)).isNull());
}

} // namespace
} // namespace verdan::test
