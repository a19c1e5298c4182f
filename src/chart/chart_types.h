#pragma once

#include "calendar/date_value.h"
#include "storage/relation_store.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>

namespace verdan {

// Rectangles of the chart in chart units (one unit is one pixel at zoom 1). TChartBox is a position with a
// size; TChartRect has exclusive right and bottom edges, so its width is Right - Left.
struct TChartBox {
    qint32 X = 0;
    qint32 Y = 0;
    qint32 Width = 0;
    qint32 Height = 0;

    qint32 Right() const { return X + Width; }
    qint32 Bottom() const { return Y + Height; }
    qint32 CentreX() const { return X + Width / 2; }
    qint32 CentreY() const { return Y + Height / 2; }
    bool Contains(const QPoint& p) const {
        return p.x() >= X && p.x() <= Right() && p.y() >= Y && p.y() <= Bottom();
    }
    bool operator==(const TChartBox&) const = default;
};

struct TChartRect {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;

    qint32 Width() const { return Right - Left; }
    qint32 Height() const { return Bottom - Top; }
    qint32 CentreX() const { return Left + (Right - Left) / 2; }
    qint32 CentreY() const { return Top + (Bottom - Top) / 2; }
    bool Contains(const QPoint& p) const {
        return p.x() >= Left && p.x() <= Right && p.y() >= Top && p.y() <= Bottom;
    }
    void Translate(qint32 dx, qint32 dy) {
        Left += dx;
        Right += dx;
        Top += dy;
        Bottom += dy;
    }
    bool operator==(const TChartRect&) const = default;
};

// How links run from a parent to its children: the chart's own style (items only), straight lines, or a bar
// over the row of children.
enum class TLinkType : quint8 { Follow = 0, Line = 1, Stick = 2 };

// Which parent an item's link goes to when its parents have no marriage mark; Both is drawn as Father.
enum class TConnectionTo : quint8 { Father = 0, Mother = 1, Both = 2 };

// Font style bits.
inline constexpr quint8 kFontBold = 1;
inline constexpr quint8 kFontItalic = 2;
inline constexpr quint8 kFontUnderline = 4;
inline constexpr quint8 kFontStrikeOut = 8;

// Colours are kept as 0x00BBGGRR, the way tree files and chart files store them.
inline QColor ChartColor(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

struct TOFont {
    QString Name;
    qint32 Size = 0; // points
    quint32 Color = 0;
    quint8 Style = 0;
    bool operator==(const TOFont&) const = default;
};

// What one person item shows. ParentFont: draw with the chart font instead of Font. HideFrame: a white box
// without frame. FillColor 0 colours the box by gender.
struct TShowOption {
    bool ShowFullName = false;
    bool ShowDates = false;
    bool ShowPicture = false;
    bool RootAtTop = false;
    TOFont Font;
    bool ParentFont = false;
    bool HideFrame = false;
    quint32 FillColor = 0;
    bool operator==(const TShowOption&) const = default;
};

// Chart-wide defaults: the first four flags are those of newly added persons, Font is the chart font and
// RootAtTop is the layout direction (children below their parents).
struct TChartOption : TShowOption {};

// The bar over one group of a parent's children: those whose other parent is OtherParent (an identifier
// key, empty for none), whether that parent is on the chart or not.
struct TChildStick {
    QString OtherParent;
    TChartBox Box;
    bool operator==(const TChildStick&) const = default;
};

// One person on the chart. Positions are those of TextRect's top-left corner; the picture stands above it.
// Pinned items were placed by hand (moved, aligned, dropped at a point, or read from a chart file): the
// automatic layout leaves them where they are until the chart is arranged again.
struct TPersonObject {
    TConnectionTo ConnectionTo = TConnectionTo::Both;
    TMateList Mates;
    QString Gender;           // "m" or "f"
    QImage Picture;           // the default picture fitted into 200 x 200; null without one
    bool PictureRead = false; // pictures are read when an item first shows one
    bool Selected = false;
    QString ShortName;
    QString ExpandedName;
    QString DisplayName;
    TDateValue Birth; // as the tree keeps them
    TDateValue Death;
    QString BirthText; // in the calendar the chart shows (TChart::DatesShown)
    QString DeathText;
    TShowOption Options;
    TLinkType LinkType = TLinkType::Follow;
    TChartBox Box;
    TChartRect PictureRect;
    TChartRect TextRect;
    QList<TChildStick> Sticks; // a bar per group of two or more children
    QString Id;
    QString FatherId; // empty for no parent
    QString MotherId;
    bool DescendantsToggle = false;
    bool Pinned = false;
    int SiblingOrder = 0; // place among the children of the parent the tree lists it under

    QPoint Position() const { return {TextRect.Left, TextRect.Top}; }
};

// A marriage mark between two persons of the chart.
struct TMarital {
    QString HusbandId;
    QString WifeId;
    bool Selected = false;
    bool Removed = false;
    TChartBox Mark;
    TChartBox Stick{-1, -1, 0, 0};
    bool HasStick = false;
};

inline constexpr int kMarkSize = 12;

// Fixed colours of the drawing.
namespace chart_colours {
inline constexpr quint32 kSelectedFrame = 0xFB7D00;
inline constexpr quint32 kFrame = 0xC0C0C0;
inline constexpr quint32 kLink = 0x808080;
inline constexpr quint32 kSelectedLink = 0x000000;
inline constexpr quint32 kSelectedMark = 0xFF0000;
inline constexpr quint32 kMark = 0x008000;
inline constexpr quint32 kDates = 0x383838;
inline constexpr quint32 kMaleFill = 0xFFE6E6;
inline constexpr quint32 kFemaleFill = 0xD8E4FE;
inline constexpr quint32 kBandFill = 0xFFE5CA;
inline constexpr quint32 kBandFrame = 0xFFBF7E;
inline constexpr quint32 kWhite = 0xFFFFFF;
} // namespace chart_colours

} // namespace verdan
