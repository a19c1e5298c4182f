#include "text/text_utils.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace verdan {
namespace {

TEST(DrawTextRight, TextEndsAtTheGivenX) {
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    DrawTextRight(painter, 150, 5, QStringLiteral("محمد"));
    painter.end();
    int rightmost = -1;
    int leftmost = 200;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                rightmost = qMax(rightmost, x);
                leftmost = qMin(leftmost, x);
            }
        }
    }
    ASSERT_GE(rightmost, 0) << "nothing drawn";
    EXPECT_LE(rightmost, 150);
    EXPECT_GE(rightmost, 140);
    EXPECT_LT(leftmost, 140);
}

} // namespace
} // namespace verdan
