#include "datasheet/ui/collapsible_panel.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/image_browser.h"
#include "datasheet/ui/picture_strip.h"
#include "datasheet/ui/picture_view.h"
#include "datasheet/ui/pictures_frame.h"
#include "reports/ui/zel_grid.h"
#include "sheet_fixture.h"
#include "storage/person_option_store.h"
#include "storage/picture_store.h"
#include "storage/tree_file.h"
#include "text/user_options.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace verdan::test {
namespace {

class PicturesTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Options() = TOptions();
        Put("{A}", "-1", "0", "Ahmad");
        Put("{B}", "-1", "0", "Badr");
        outside_ = NewTempDir() + u'/';
    }
    QString Picture(const QString& name, QColor colour = QColor(20, 140, 60), QSize size = {80, 60}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = outside_ + name;
        EXPECT_TRUE(image.save(file));
        return file;
    }
    int Rows(const QString& person) {
        return static_cast<int>(
            Dm().ScalarInt("SELECT count(*) FROM ftPictures WHERE person_id = ?", person));
    }
    QString outside_;
};

TEST_F(PicturesTest, AnAddedPictureShowsInTheSectionAndTheHeader) {
    TframDataSheet sheet;
    sheet.resize(700, 900);
    sheet.show();
    sheet.Section("Pictures")->SetCollapsed(false);
    sheet.LoadPerson("{A}");
    TframPictures* pictures = sheet.PicturesFrame();
    EXPECT_FALSE(sheet.findChild<QWidget*>("pnlPesonImageSmall")->isVisibleTo(&sheet));
    pictures->ChoosePictureFiles = [this] {
        return QStringList{Picture("first.png", Qt::red)};
    };
    pictures->btOpenPictureFileClick();
    EXPECT_EQ(pictures->Strip()->Count(), 1);
    EXPECT_TRUE(pictures->PictureView()->HasImage());
    EXPECT_TRUE(sheet.findChild<QWidget*>("pnlPesonImageSmall")->isVisibleTo(&sheet));
    EXPECT_FALSE(sheet.findChild<QLabel*>("imgPersonSmall")->pixmap().isNull());
    EXPECT_TRUE(QFileInfo(PhotosFolder() + "first.png").isFile());

    // A file that is no picture is refused: no row, no copy, a message.
    QFile text(outside_ + "notes.jpg");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text");
    text.close();
    pictures->AddPictures({text.fileName()});
    EXPECT_EQ(Rows("{A}"), 1);
    EXPECT_FALSE(QFileInfo(PhotosFolder() + "notes.jpg").exists());
    ASSERT_EQ(sink_.requests.size(), 1);
    EXPECT_EQ(pictures->Strip()->Count(), 1);

    // The picture survives leaving the person and coming back.
    sheet.LoadPerson("{B}");
    EXPECT_FALSE(pictures->PictureView()->HasImage());
    sheet.LoadPerson("{A}");
    EXPECT_EQ(pictures->PictureView()->Image().pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(PicturesTest, ChoosingAPictureMakesItTheDefaultAndSavesTheTextsOfTheOneBefore) {
    TframPictures frame;
    frame.show();
    frame.LoadPictures("{A}");
    frame.AddPictures({Picture("one.png", Qt::red)});
    const QString one = frame.CurrentPicture().picture_id;
    frame.AddPictures({Picture("two.png", Qt::blue)});
    const QString two = frame.CurrentPicture().picture_id;
    Type(frame.findChild<QLineEdit*>("txtPicDescription"), "At the wedding");
    Type(frame.findChild<QLineEdit*>("txtPicDate"), "12-4-1999");
    EXPECT_TRUE(frame.TextsChanged());
    frame.ChoosePicture(one);
    TPPicture read;
    read.picture_id = two;
    ASSERT_TRUE(ReadPicture(read));
    EXPECT_EQ(read.pic_description, "At the wedding");
    EXPECT_EQ(read.picture_date, 19990412);
    EXPECT_EQ(frame.findChild<QLineEdit*>("txtPicDescription")->text(), "");

    frame.LoadPictures("{A}");
    EXPECT_EQ(frame.CurrentPicture().picture_id, one);
    EXPECT_EQ(frame.PictureView()->Image().pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(frame.Strip()->CurrentPictureId(), one);
    EXPECT_EQ(frame.PathLabel()->text(), "  photos/one.png");
    // A press on the strip's second cell chooses it.
    const QRect cell = frame.Strip()->visualRect(frame.Strip()->model()->index(1, 0));
    QTest::mouseClick(frame.Strip()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(frame.CurrentPicture().picture_id, two);
    EXPECT_EQ(frame.findChild<QLineEdit*>("txtPicDate")->text(), "12-04-1999");
}

TEST_F(PicturesTest, APictureIsRemovedOnlyOnAnExplicitYesAndItsFileStays) {
    TframPictures frame;
    frame.show();
    frame.LoadPictures("{A}");
    frame.AddPictures({Picture("one.png")});
    for (int refusal : {IDNO, IDCANCEL}) {
        sink_.answer = refusal;
        frame.btClearPictureClick();
        EXPECT_EQ(Rows("{A}"), 1);
    }
    sink_.answer = IDYES;
    frame.btClearPictureClick();
    EXPECT_EQ(Rows("{A}"), 0);
    EXPECT_TRUE(frame.PictureView()->ShowsPlaceholder());
    EXPECT_EQ(QDir(PhotosFolder()).entryList(QDir::Files), QStringList{"one.png"});
    EXPECT_TRUE(frame.CurrentPicture().picture_id.isEmpty());
}

TEST_F(PicturesTest, AHiddenPictureLeavesTheStripOnly) {
    TframDataSheet sheet;
    sheet.show();
    TPPicture picture;
    picture.person_id = "{A}";
    picture.file_path = Picture("one.png");
    picture.pic_default = true;
    QString id;
    ASSERT_TRUE(SavePicture(picture, id));
    TPersonOption option;
    option.person_id = "{A}";
    option.hide_picture = true;
    ASSERT_TRUE(WritePersonOption(option));
    sheet.Section("Pictures")->SetCollapsed(false);
    sheet.LoadPerson("{A}");
    EXPECT_EQ(sheet.PicturesFrame()->Strip()->Count(), 1);
    EXPECT_FALSE(sheet.PicturesFrame()->PictureView()->HasImage());
    EXPECT_FALSE(sheet.PicturesFrame()->PictureView()->ShowsPlaceholder());
    EXPECT_FALSE(sheet.findChild<QWidget*>("pnlPesonImageSmall")->isVisibleTo(&sheet));
    EXPECT_TRUE(sheet.Section("Pictures")->isVisibleTo(&sheet));
}

TEST_F(PicturesTest, PicturesAreAddedSeveralAtOncePastedAndDroppedOnTheSection) {
    TframPictures frame;
    frame.show();
    frame.activateWindow();
    QApplication::processEvents();
    frame.LoadPictures("{A}");
    EXPECT_EQ(frame.findChild<QToolButton*>("btOpenPictureFile")->text(), "Add Picture..");

    // Several files from one dialog: the last one is shown.
    frame.ChoosePictureFiles = [this] {
        return QStringList{Picture("one.png", Qt::red), Picture("two.png", Qt::blue)};
    };
    frame.btOpenPictureFileClick();
    EXPECT_EQ(Rows("{A}"), 2);
    EXPECT_EQ(frame.Strip()->Count(), 2);
    EXPECT_EQ(frame.PictureView()->Image().pixelColor(1, 1), QColor(Qt::blue));

    // A copied picture, pasted with Ctrl+V on the strip, is written to the photos folder as a PNG.
    QImage copied(30, 20, QImage::Format_RGB32);
    copied.fill(Qt::green);
    QGuiApplication::clipboard()->setImage(copied);
    EXPECT_TRUE(frame.findChild<QToolButton*>("btPastePicture")->isEnabled());
    frame.Strip()->setFocus();
    QTest::keyClick(frame.Strip(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Rows("{A}"), 3);
    EXPECT_EQ(frame.PictureView()->Image().pixelColor(1, 1), QColor(Qt::green));
    const QString pasted = frame.CurrentPicture().file_path;
    EXPECT_TRUE(pasted.endsWith(".png")) << pasted.toStdString();
    EXPECT_EQ(QImage(PhotosFolder() + pasted).size(), QSize(30, 20));

    // Copied files are pasted as files; in a text box Ctrl+V pastes text, never a picture.
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(Picture("three.png", Qt::yellow))});
    QGuiApplication::clipboard()->setMimeData(files);
    frame.PastePictures();
    EXPECT_EQ(Rows("{A}"), 4);
    EXPECT_TRUE(QFileInfo(PhotosFolder() + "three.png").isFile());
    QGuiApplication::clipboard()->setText("At home");
    auto* description = frame.findChild<QLineEdit*>("txtPicDescription");
    description->setFocus();
    QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(description->text(), "At home");
    EXPECT_EQ(Rows("{A}"), 4);
    EXPECT_FALSE(frame.findChild<QToolButton*>("btPastePicture")->isEnabled());

    // A file dropped on the section from a file manager.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(Picture("four.png", Qt::cyan))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    EXPECT_EQ(Rows("{A}"), 5);
    EXPECT_EQ(frame.PictureView()->Image().pixelColor(1, 1), QColor(Qt::cyan));
}

class BrowserTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        browser_ = std::make_unique<TfrmImageBrows>();
        for (const char* person : {"{A}", "{B}"}) {
            TPPicture picture;
            picture.person_id = QString::fromLatin1(person);
            picture.file_path = Picture(QStringLiteral("p%1.png").arg(QString::fromLatin1(person).mid(1, 1)));
            picture.pic_default = true;
            QString id;
            ASSERT_TRUE(SavePicture(picture, id));
        }
    }
    void TearDown() override {
        browser_.reset();
        PicturesTest::TearDown();
    }
    void Drop(const QStringList& files) {
        // The window system hands drops only to widgets that take them.
        EXPECT_TRUE(browser_->Strip()->viewport()->acceptDrops());
        auto* mime = new QMimeData;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        mime->setUrls(urls);
        QWidget* target = browser_->Strip()->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        delete mime;
    }
    std::unique_ptr<TfrmImageBrows> browser_;
};

TEST_F(BrowserTest, ListsThePersonsWithPicturesAndTakesDroppedFiles) {
    browser_->ShowFor("{B}");
    EXPECT_EQ(browser_->PersonsGrid()->RowCount(), 3);
    EXPECT_EQ(browser_->CurrentPersonId(), "{B}");
    EXPECT_EQ(browser_->Strip()->Count(), 1);
    EXPECT_TRUE(browser_->PictureView()->HasImage());
    EXPECT_EQ(browser_->StatusLabel()->text(), "pB.png");

    QFile text(outside_ + "readme.png");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    Drop({Picture("dropped.jpg", Qt::yellow), text.fileName()});
    EXPECT_EQ(Rows("{B}"), 2);
    EXPECT_EQ(browser_->Strip()->Count(), 2);
    ASSERT_EQ(sink_.requests.size(), 1);
    EXPECT_TRUE(sink_.requests[0].text.contains("readme.png"));
    // The dropped picture is the person's default now, as the sheet shows it.
    TPPicture shown;
    shown.person_id = "{B}";
    ASSERT_TRUE(ReadPicture(shown));
    EXPECT_EQ(shown.file_path, "dropped.jpg");
}

TEST_F(BrowserTest, APersonsFirstDroppedPictureGetsHimOnTheList) {
    Put("{C}", "-1", "0", "Camil");
    browser_->ShowFor("{C}");
    EXPECT_EQ(browser_->CurrentPersonId(), "{C}");
    EXPECT_TRUE(browser_->PersonLabel()->text().contains("Camil"));
    EXPECT_EQ(browser_->PersonsGrid()->RowCount(), 3);
    // The source handed its files while the drag moved, and none with the drop itself.
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(Picture("camil.png"))});
    QWidget* target = browser_->Strip()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QMimeData empty;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &empty, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    delete mime;
    EXPECT_EQ(Rows("{C}"), 1);
    EXPECT_EQ(browser_->PersonsGrid()->RowCount(), 4);
    EXPECT_EQ(browser_->CurrentPersonId(), "{C}");
}

TEST_F(BrowserTest, SavesCopiesAndRemovesTheShownPicture) {
    browser_->ShowFor("{A}");
    const QString dir = NewTempDir() + u'/';
    QString proposed;
    browser_->ChooseSaveFile = [&](const QString& name) {
        proposed = name;
        return dir + "saved.PNG";
    };
    browser_->bt_Save_ImageClick();
    EXPECT_EQ(proposed, "Ahmad.jpg");
    EXPECT_FALSE(QImage(dir + "saved.PNG").isNull());
    browser_->ChooseSaveFile = [&](const QString&) {
        return dir + "saved.xyz";
    };
    browser_->bt_Save_ImageClick();
    EXPECT_FALSE(QFileInfo::exists(dir + "saved.xyz"));
    ASSERT_EQ(sink_.requests.size(), 1);

    browser_->bt_Copy_ImageClick();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(80, 60));

    sink_.answer = IDCANCEL;
    browser_->bt_Delete_ImageClick();
    EXPECT_EQ(Rows("{A}"), 1);
    EXPECT_EQ(sink_.requests.last().focus, IDCANCEL) << "Enter at once must keep the picture";
    sink_.answer = IDOK;
    browser_->bt_Delete_ImageClick();
    EXPECT_EQ(Rows("{A}"), 0);
    EXPECT_TRUE(QFileInfo(PhotosFolder() + "pA.png").isFile());
    EXPECT_EQ(browser_->Strip()->Count(), 0);
}

TEST_F(BrowserTest, AddsSeveralFilesAndPastesAPicture) {
    Put("{C}", "-1", "0", "Camil");
    browser_->ShowFor("{C}");
    auto* add = browser_->findChild<QPushButton*>("bt_Add_Image");
    ASSERT_TRUE(add && add->isEnabled());
    browser_->ChoosePictureFiles = [this] {
        return QStringList{Picture("c1.png", Qt::red), Picture("c2.png", Qt::blue)};
    };
    add->click();
    EXPECT_EQ(Rows("{C}"), 2);
    EXPECT_EQ(browser_->Strip()->Count(), 2);
    // His first pictures put him on the list.
    EXPECT_EQ(browser_->PersonsGrid()->RowCount(), 4);

    QImage copied(40, 30, QImage::Format_RGB32);
    copied.fill(Qt::magenta);
    QGuiApplication::clipboard()->setImage(copied);
    browser_->PastePictures();
    EXPECT_EQ(Rows("{C}"), 3);
    EXPECT_EQ(browser_->PictureView()->Image().size(), QSize(40, 30));
    EXPECT_TRUE(sink_.requests.isEmpty());
}

TEST_F(BrowserTest, CtrlAndTheWheelZoomInSteps) {
    browser_->resize(900, 700);
    browser_->ShowFor("{A}");
    TPictureView* view = browser_->PictureView();
    const QSize before = view->ShownSize();
    QWheelEvent out(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &out);
    // 80 x 60 is below 100 already: nothing happens.
    EXPECT_EQ(view->ShownSize(), before);
    QWheelEvent in(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &in);
    EXPECT_GT(view->ShownSize().width(), before.width());
}

} // namespace
} // namespace verdan::test
