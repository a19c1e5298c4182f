#include "outline_images.h"

#include <QPainter>
#include <QPixmap>

namespace verdan {

namespace {

constexpr int kSize = 16;

enum class Shape { Tree, Folder, Person, Star };

QIcon Draw(Shape shape, const QColor& fill, bool ring) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fill.darker(160), 1));
    painter.setBrush(fill);
    switch (shape) {
    case Shape::Tree:
        painter.drawEllipse(QRectF(2, 1, 12, 10));
        painter.fillRect(QRectF(7, 10, 2, 5), QColor(0x80, 0x50, 0x20));
        break;
    case Shape::Folder:
        painter.drawRect(QRectF(1.5, 4.5, 13, 9));
        painter.drawRect(QRectF(1.5, 2.5, 6, 2));
        break;
    case Shape::Person:
        painter.drawEllipse(QRectF(5, 1.5, 6, 6));
        painter.drawRoundedRect(QRectF(3, 8.5, 10, 6), 3, 3);
        break;
    case Shape::Star: {
        const QPolygonF star{{8, 1},    {10, 6},   {15, 6},  {11, 9.5}, {12.5, 15},
                             {8, 11.5}, {3.5, 15}, {5, 9.5}, {1, 6},    {6, 6}};
        painter.drawPolygon(star);
        break;
    }
    }
    if (ring) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0xD4, 0xA0, 0x17), 1.5));
        painter.drawEllipse(QRectF(10, 10, 5, 5));
    }
    return QIcon(pixmap);
}

} // namespace

const QList<QIcon>& OutlineImages() {
    static const QList<QIcon> images = [] {
        const QColor blue(0x4A, 0x7E, 0xC8);
        const QColor pink(0xE0, 0x6C, 0x9F);
        return QList<QIcon>{
            Draw(Shape::Tree, QColor(0x3C, 0xA0, 0x3C), false),   // 0 root
            Draw(Shape::Folder, QColor(0xE8, 0xC0, 0x50), false), // 1 group
            Draw(Shape::Star, QColor(0xF0, 0xD0, 0x40), false),   // 2
            Draw(Shape::Person, QColor(0xA0, 0xA0, 0xA0), false), // 3 no gender
            Draw(Shape::Person, blue, false),                     // 4 man
            Draw(Shape::Person, pink, false),                     // 5 woman
            Draw(Shape::Person, blue, true),                      // 6 married man
            Draw(Shape::Person, pink, true),                      // 7 married woman
            Draw(Shape::Folder, QColor(0x80, 0xB0, 0xE0), false), // 8
            Draw(Shape::Star, QColor(0xE0, 0x50, 0x40), false),   // 9
            Draw(Shape::Person, QColor(0x50, 0x50, 0x50), false), // 10
            Draw(Shape::Star, QColor(0x50, 0xA0, 0x70), false),   // 11
        };
    }();
    return images;
}

} // namespace verdan
