#include "text_measurer.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <algorithm>
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

// Faces with Arabic, Persian and Urdu letters that the set-up installs, the most complete first.
const char* const kArabicFaces[] = {"Noto Sans Arabic", "Noto Naskh Arabic", "DejaVu Sans"};

bool HasArabicScript(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Arabic; });
}

// Whether the face a family resolves to has every visible character of the text (joiners and direction
// marks are left to the shaper). Raw fonts are kept per family and thread.
bool FaceDraws(const QString& family, const QString& text, bool exactFamily) {
    thread_local QHash<QString, QRawFont> faces;
    auto it = faces.find(family);
    if (it == faces.end())
        it = faces.insert(family, QRawFont::fromFont(QFont(family)));
    if (!it->isValid() || (exactFamily && it->familyName().compare(family, Qt::CaseInsensitive) != 0))
        return false;
    for (const char32_t c : text.toUcs4())
        if (QChar::category(c) != QChar::Other_Format && !it->supportsCharacter(c))
            return false;
    return true;
}

} // namespace

TOFont ChartTextFont(const TOFont& font, const QString& text) {
    if (!HasArabicScript(text))
        return font;
    const QString family = font.Name.isEmpty() ? QStringLiteral("Arial") : font.Name;
    if (FaceDraws(family, text, false))
        return font;
    for (const char* face : kArabicFaces) {
        if (FaceDraws(QString::fromLatin1(face), text, true)) {
            TOFont drawn = font;
            drawn.Name = QString::fromLatin1(face);
            return drawn;
        }
    }
    return font;
}

namespace {

// Metrics are taken on a 96-dpi image, not the screen, so layouts are the same on every display and in
// every export.
class FontMetricsMeasurer final : public TTextMeasurer {
public:
    int TextWidth(const TOFont& font, const QString& text) const override {
        return int(std::ceil(Metrics(ChartTextFont(font, text)).horizontalAdvance(text)));
    }
    int TextHeight(const TOFont& font, const QString& text) const override {
        return int(std::ceil(Metrics(ChartTextFont(font, text)).height()));
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
