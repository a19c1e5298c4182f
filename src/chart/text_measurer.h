#pragma once

#include "chart/chart_types.h"

#include <QFont>
#include <QString>
#include <memory>

namespace verdan {

// Chart fonts are sized in points at 96 dots per inch, so one point is 4/3 of a chart unit whatever the
// device: a screen, an image, a PDF page or an SVG document.
inline constexpr int kChartDpi = 96;

// The font of a chart font record at a zoom, for a device of the given logical resolution. A size below
// one point is drawn at one point; the record keeps what it holds.
QFont ChartFont(const TOFont& font, double zoom = 1.0, int deviceDpi = kChartDpi);

// The font record a text is drawn in: the record itself, unless the face its name resolves to lacks a
// letter of an Arabic-script text; then the same record naming one installed face that has every letter of
// it, so that a name is never drawn in pieces of two faces. The chart keeps the record's own name.
TOFont ChartTextFont(const TOFont& font, const QString& text);

// Measures texts in chart units for the layout. The chart sizes its items through this interface, so the
// layout can be computed (and tested) without fonts or a display.
class TTextMeasurer {
public:
    virtual ~TTextMeasurer() = default;
    virtual int TextWidth(const TOFont& font, const QString& text) const = 0;
    virtual int TextHeight(const TOFont& font, const QString& text) const = 0;
};

// A measurer of the real fonts (needs a QGuiApplication); it caches metrics, so each chart keeps its own.
std::shared_ptr<const TTextMeasurer> FontMeasurer();

} // namespace verdan
