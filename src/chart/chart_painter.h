#pragma once

#include "chart/chart.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QSize>
#include <QStaticText>

namespace verdan {

// Fonts and laid-out texts of earlier paints, so that a view repaints without shaping its names again.
class TChartPaintCache {
public:
    struct Font {
        QFont font;
        double height = 0; // line height in device units
        int id = 0;
    };
    const Font& FontFor(const TOFont& font, float zoom, int dpi);
    const QStaticText& Text(const QString& text, const Font& font);
    void Clear() {
        fonts_.clear();
        texts_.clear();
    }

private:
    struct FontKey {
        QString name;
        int size;
        quint8 style;
        float zoom;
        int dpi;
        bool operator==(const FontKey&) const = default;
        friend size_t qHash(const FontKey& k, size_t seed) {
            return qHashMulti(seed, k.name, k.size, k.style, k.zoom, k.dpi);
        }
    };
    QHash<FontKey, Font> fonts_;
    QHash<std::pair<int, QString>, QStaticText> texts_;
};

// Paints the chart onto any device through the painter: the view (only the items that meet viewSize), or
// an export (every item; no hint on an empty chart). The mapping gives the zoom and the chart point at the
// device's top-left corner. Sticks are computed afresh first, unless the caller did (a poster's tiles). A
// view keeps a cache across its paints; exports lay every text out on their own device.
void PaintChart(TChart& chart, QPainter& painter, const TChartMapping& mapping, const QSize& viewSize,
                bool exporting, TChartPaintCache* cache = nullptr, bool computeSticks = true);

// The link from a child's parents (their mark, or one parent) to the child, in chart units: the arrow from
// Start to End, and the connector from the parent to its stick when it has one. Not drawn when neither
// parent has an item.
struct TChildLink {
    bool Drawn = false;
    QPoint Start;
    QPoint End;
    bool Connector = false;
    QList<QPoint> ConnectorPath; // from the parent down (or up) to his stick, at right angles
};
TChildLink RouteChildLink(const TChart& chart, const TPersonObject& child);

// One line of the drawing, in chart units.
struct TChartLine {
    enum class Kind { Spouse, Child, Connector, Stick };
    Kind What = Kind::Child;
    QPoint From;
    QPoint To;
};
// The lines from a mark to its spouses: straight to the centre of a spouse's text when the mark stands
// beside it, along and then up (down) to the box when it stands below (above) it, as the marks of a man's
// several wives do, so that no line runs through another wife; and from the mark to its stick.
QList<TChartLine> SpouseLines(const TChart& chart, const TMarital& mark);
// Every line of the chart (with the sticks as computed last): spouse lines, child links with their
// connectors, and sticks.
QList<TChartLine> ChartLines(const TChart& chart);

// The outline of an arrowhead at (x2, y2) on a line from (x1, y1): the base point and, for the three
// strokes of sizes size, size - 1 and size - 2, the two wing points of each.
struct TArrowHead {
    QPoint Base;
    QPoint Wings[3][2];
};
TArrowHead ArrowHead(int x1, int y1, int size, int x2, int y2);

// A line with a filled or open arrowhead at its end, at any coordinates.
void DrawArrow(QPainter& painter, int x1, int y1, quint32 colour, bool filled, int size, int x2, int y2);

} // namespace verdan
