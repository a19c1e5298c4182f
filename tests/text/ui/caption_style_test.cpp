#include "text/ui/caption_style.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// A button with the caption, drawn by the style.
QImage Drawn(QStyle* style, const QString& caption) {
    QPushButton button(caption);
    button.setStyle(style);
    button.resize(90, 30);
    QImage image(button.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    button.render(&image);
    return image;
}

// Arabic captions lose the accelerator's underline, which would cut their joined letters apart; Latin
// captions keep it.
TEST(CaptionStyle, NoUnderlineInArabicScriptCaptions) {
    TCaptionStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    QStyleOptionButton option;
    option.text = QStringLiteral("&نعم");
    EXPECT_EQ(style.styleHint(QStyle::SH_UnderlineShortcut, &option), 0);
    option.text = QStringLiteral("&Yes");
    EXPECT_EQ(style.styleHint(QStyle::SH_UnderlineShortcut, &option),
              style.baseStyle()->styleHint(QStyle::SH_UnderlineShortcut, &option));
    QStyleOptionMenuItem item;
    item.text = QStringLiteral("&ملف");
    EXPECT_EQ(style.styleHint(QStyle::SH_UnderlineShortcut, &item), 0);

    EXPECT_EQ(Drawn(&style, QStringLiteral("&لا")), Drawn(&style, QStringLiteral("لا")));
    // Text the style draws with an accelerator to show keeps it only in a Latin caption.
    const auto text = [&style](const QString& caption) {
        QImage image(90, 30, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        style.drawItemText(&painter, image.rect(), Qt::AlignCenter | Qt::TextShowMnemonic, QPalette(), true,
                           caption, QPalette::ButtonText);
        return image;
    };
    EXPECT_EQ(text(QStringLiteral("&لا")), text(QStringLiteral("لا")));
    EXPECT_NE(text(QStringLiteral("&No")), text(QStringLiteral("No")));
}

// A combo box's text reads in the box's direction, whatever the direction of the painter the window
// hands it: a path in a box kept left to right inside a mirrored window keeps its slashes in place.
TEST(CaptionStyle, ComboBoxTextReadsInTheBoxDirection) {
    TCaptionStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    const auto label = [](const QStyle& drawing, Qt::LayoutDirection box, Qt::LayoutDirection window) {
        QImage image(200, 24, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setLayoutDirection(window);
        QStyleOptionComboBox option;
        option.rect = image.rect();
        option.direction = box;
        option.palette = QPalette();
        option.currentText = QStringLiteral("/tmp/trees");
        drawing.drawControl(QStyle::CE_ComboBoxLabel, &option, &painter);
        EXPECT_EQ(painter.layoutDirection(), window) << "the painter is left as it was";
        return image;
    };
    const QImage ltr = label(style, Qt::LeftToRight, Qt::LeftToRight);
    EXPECT_EQ(label(style, Qt::LeftToRight, Qt::RightToLeft), ltr);
    EXPECT_NE(label(*style.baseStyle(), Qt::LeftToRight, Qt::RightToLeft), ltr)
        << "the toolkit's style alone moves the slash";
    EXPECT_EQ(label(style, Qt::RightToLeft, Qt::LeftToRight), label(style, Qt::RightToLeft, Qt::RightToLeft));
}

} // namespace
} // namespace verdan
