#include "text/ui/icons.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <gtest/gtest.h>

namespace verdan {
namespace {

QImage Picture(const QIcon& icon, int side, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(side, side), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

// Two pictures alike but for the smoothing of their edges.
bool Alike(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            different += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))) > 96;
    return different * 50 < a.width() * a.height();
}

class Icons : public ::testing::Test {
protected:
    void TearDown() override {
        QApplication::setLayoutDirection(Qt::LeftToRight);
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
};

// Every picture of the set draws something at the sizes the windows use, and at twice them for 200 %
// scaling, where it is drawn afresh rather than blown up.
TEST_F(Icons, EveryPictureDrawsAtEverySize) {
    const QStringList names = IconNames();
    ASSERT_GE(names.size(), 60);
    for (const QString& name : names) {
        const QIcon icon = Icon(name);
        ASSERT_FALSE(icon.isNull()) << name.toStdString();
        for (int side : {16, 22, 32, 48}) {
            const QImage image = Picture(icon, side);
            EXPECT_EQ(image.size(), QSize(side, side)) << name.toStdString();
            EXPECT_GT(OpaquePixels(image), side * side / 40) << name.toStdString() << " at " << side;
        }
    }
}

// The set every window draws on: the outline's, the menus', the messages' and those the chart and report
// windows need.
TEST_F(Icons, HoldsThePicturesTheWindowsName) {
    for (const char16_t* name : {u"person-add-male",
                                 u"person-add-female",
                                 u"group-add",
                                 u"set-male",
                                 u"set-female",
                                 u"set-group",
                                 u"mark-ancestors",
                                 u"outline-expand",
                                 u"object-flip-horizontal",
                                 u"zoom-in",
                                 u"zoom-out",
                                 u"zoom-fit-best",
                                 u"document-print",
                                 u"document-print-preview",
                                 u"document-page-setup",
                                 u"document-send",
                                 u"document-save",
                                 u"document-open",
                                 u"document-new",
                                 u"edit-copy",
                                 u"edit-find",
                                 u"view-filter",
                                 u"go-first",
                                 u"go-previous",
                                 u"go-next",
                                 u"go-last",
                                 u"format-justify-left",
                                 u"format-justify-center",
                                 u"format-justify-right",
                                 u"dialog-information",
                                 u"dialog-warning",
                                 u"dialog-question",
                                 u"dialog-error",
                                 u"document-import",
                                 u"system-users",
                                 u"verdan"})
        EXPECT_TRUE(HasIcon(name)) << QString::fromUtf16(name).toStdString();
}

TEST_F(Icons, UnknownNamesAndRightToLeftFilesAreNoIcons) {
    EXPECT_TRUE(Icon(u"no-such-picture").isNull());
    EXPECT_TRUE(Icon(u"").isNull());
    EXPECT_FALSE(HasIcon(u"go-next-rtl"));
    EXPECT_TRUE(Icon(u"go-next-rtl").isNull());
    for (const QString& name : IconNames())
        EXPECT_FALSE(name.endsWith(QStringLiteral("-rtl"))) << name.toStdString();
}

// An arrow set on a button turns around when the interface starts reading right to left, without being
// set again; a picture without direction stays as it is.
TEST_F(Icons, DirectionalPicturesFollowTheReadingDirection) {
    const QIcon next = Icon(u"go-next");
    const QIcon drawn = Icon(u"outline-expand");
    const QIcon plain = Icon(u"document-open");
    ASSERT_TRUE(IsDirectionalIcon(u"go-next"));
    ASSERT_TRUE(IsDirectionalIcon(u"outline-expand"));
    ASSERT_FALSE(IsDirectionalIcon(u"document-open"));

    QApplication::setLayoutDirection(Qt::LeftToRight);
    const QImage nextLtr = Picture(next, 32);
    const QImage drawnLtr = Picture(drawn, 32);
    const QImage plainLtr = Picture(plain, 32);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const QImage nextRtl = Picture(next, 32);
    const QImage drawnRtl = Picture(drawn, 32);

    EXPECT_FALSE(Alike(nextLtr, nextRtl));
    EXPECT_TRUE(Alike(nextRtl, nextLtr.mirrored(true, false)));
    EXPECT_FALSE(Alike(drawnLtr, drawnRtl));
    EXPECT_TRUE(Alike(drawnRtl, drawnLtr.mirrored(true, false)));
    EXPECT_EQ(Picture(plain, 32), plainLtr);

    QApplication::setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(Picture(next, 32), nextLtr);
}

// On a selected row a coloured picture gets a light rim, a dark one turns light, so neither vanishes in the
// selection's colour.
TEST_F(Icons, SelectedPicturesStandOutFromTheSelection) {
    const QImage man = Picture(Icon(u"person-male"), 32);
    const QImage selectedMan = Picture(Icon(u"person-male"), 32, QIcon::Selected);
    EXPECT_GT(OpaquePixels(selectedMan), OpaquePixels(man));
    const QColor light = QApplication::palette().color(QPalette::HighlightedText);
    const QImage find = Picture(Icon(u"edit-find"), 32, QIcon::Selected);
    for (int y = 0; y < find.height(); ++y) {
        for (int x = 0; x < find.width(); ++x) {
            if (qAlpha(find.pixel(x, y)) == 255) {
                ASSERT_EQ(QColor(find.pixel(x, y)).rgb(), light.rgb());
            }
        }
    }
}

TEST_F(Icons, DisabledPicturesLookDifferent) {
    const QIcon icon = Icon(u"person-add-male");
    EXPECT_NE(Picture(icon, 16, QIcon::Disabled), Picture(icon, 16));
}

// Dark pictures take the palette's text colour under a dark palette; coloured ones keep their colours.
TEST_F(Icons, DarkPalettesLightenTheTextColouredPictures) {
    const QImage darkOnLight = Picture(Icon(u"edit-find"), 32);
    const QImage manOnLight = Picture(Icon(u"person-male"), 32);
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    const QImage lightOnDark = Picture(Icon(u"edit-find"), 32);
    EXPECT_EQ(OpaquePixels(lightOnDark), OpaquePixels(darkOnLight));
    const auto brightest = [](const QImage& image) {
        int best = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    best = std::max(best, qGray(image.pixel(x, y)));
        return best;
    };
    EXPECT_LT(brightest(darkOnLight), 100);
    EXPECT_GT(brightest(lightOnDark), 200);
    EXPECT_EQ(Picture(Icon(u"person-male"), 32), manOnLight);
}

} // namespace
} // namespace verdan
