#include "text_measurer.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <cmath>

namespace verdan {

QFont ChartFont(const TOFont& font, double zoom, int deviceDpi) {
    QFont f(font.Name.isEmpty() ? QStringLiteral("Arial") : font.Name);
    const double points = std::max(1.0, double(font.Size) * zoom);
    f.setPointSizeF(points * kChartDpi / std::max(1, deviceDpi));
    f.setBold(font.Style & kFontBold);
    f.setItalic(font.Style & kFontItalic);
    f.setUnderline(font.Style & kFontUnderline);
    f.setStrikeOut(font.Style & kFontStrikeOut);
    return f;
}

namespace {

// Metrics are taken on a 96-dpi image, not the screen, so layouts are the same on every display and in
// every export.
class FontMetricsMeasurer final : public TTextMeasurer {
public:
    int TextWidth(const TOFont& font, const QString& text) const override {
        return int(std::ceil(Metrics(font).horizontalAdvance(text)));
    }
    int TextHeight(const TOFont& font, const QString&) const override {
        return int(std::ceil(Metrics(font).height()));
    }

private:
    const QFontMetricsF& Metrics(const TOFont& font) const {
        const QString key =
            font.Name + u'/' + QString::number(font.Size) + u'/' + QString::number(font.Style);
        auto it = cache_.find(key);
        if (it == cache_.end())
            it = cache_.insert(key, QFontMetricsF(ChartFont(font), &reference_));
        return *it;
    }
    QImage reference_{1, 1, QImage::Format_RGB32};
    mutable QHash<QString, QFontMetricsF> cache_;
};

} // namespace

std::shared_ptr<const TTextMeasurer> FontMeasurer() {
    return std::make_shared<const FontMetricsMeasurer>();
}

} // namespace verdan
