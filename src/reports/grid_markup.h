#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace verdan {

// What the tags of a grid cell ask for. Each tag is honoured once (its first occurrence) and removed
// from `text`; later occurrences stay visible.
struct TCellMarkup {
    QString text;
    bool bold = false;
    bool italic = false;
    std::optional<int> fontSize;
    std::optional<QColor> textColor;
    std::optional<QString> fontName;
    std::optional<QColor> frameColor;
    std::optional<int> frameWidth;
    std::optional<QColor> backColor;
    bool center = false;
    bool verticalCenter = false;
    bool right = false;
};

TCellMarkup ParseCellMarkup(const QString& text);

// The cell text without its tags, as exports and the clipboard give it when a grid uses markup.
QString StripMarkup(const QString& text);

// A colour written in a cell tag: "clBlack", another fixed colour name such as "clRed", or an integer
// (decimal, or hexadecimal after "$") holding 0x00BBGGRR. Nothing for any other text.
std::optional<QColor> ColorFromText(const QString& text);

// The 0x00BBGGRR value stored in tree and chart files.
QColor ColorFromBgr(quint32 value);

// Moves every channel towards white by `percent` (at most 100) of its distance.
QColor Lighten(const QColor& color, int percent);
// Takes `amount` from red and blue and two less from green, each clamped at 0.
QColor Darken(const QColor& color, int amount);

} // namespace verdan
