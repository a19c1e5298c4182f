#include "grid_markup.h"

#include <algorithm>
#include <array>

namespace verdan {

namespace {

struct TFixedColor {
    const char16_t* name;
    quint32 bgr;
};

// The fixed colour names cell tags may use; system colour names do not qualify.
constexpr std::array<TFixedColor, 20> kFixedColors{{
    {u"clBlack", 0x000000},  {u"clMaroon", 0x000080},  {u"clGreen", 0x008000},      {u"clOlive", 0x008080},
    {u"clNavy", 0x800000},   {u"clPurple", 0x800080},  {u"clTeal", 0x808000},       {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0}, {u"clRed", 0x0000FF},     {u"clLime", 0x00FF00},       {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},   {u"clFuchsia", 0xFF00FF}, {u"clAqua", 0xFFFF00},       {u"clWhite", 0xFFFFFF},
    {u"clLtGray", 0xC0C0C0}, {u"clDkGray", 0x808080},  {u"clMoneyGreen", 0xC0DCC0}, {u"clSkyBlue", 0xF0CAA6},
}};

// Removes the first occurrence of a tag. A tag with a value runs from "<" to the next ">" (or the end);
// the value is what lies between the tag name and that ">".
std::optional<QString> TakeTag(QString& text, const QString& tag, bool hasValue) {
    const qsizetype at = text.indexOf(tag, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    if (!hasValue) {
        text.remove(at, tag.size());
        return QString();
    }
    const qsizetype valueStart = at + tag.size();
    qsizetype close = text.indexOf(u'>', valueStart);
    if (close < 0)
        close = text.size();
    const QString value = text.mid(valueStart, close - valueStart);
    text.remove(at, std::min(close + 1, text.size()) - at);
    return value;
}

std::optional<int> FirstNumber(const QString& value, int low, int high) {
    qsizetype i = 0;
    while (i < value.size() && !(value[i] >= u'0' && value[i] <= u'9'))
        ++i;
    qsizetype end = i;
    while (end < value.size() && value[end] >= u'0' && value[end] <= u'9')
        ++end;
    if (end == i)
        return std::nullopt;
    bool ok = false;
    const long long number = value.mid(i, end - i).toLongLong(&ok);
    if (!ok)
        return high;
    return static_cast<int>(std::clamp<long long>(number, low, high));
}

} // namespace

QColor ColorFromBgr(quint32 value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::optional<QColor> ColorFromText(const QString& text) {
    const QString value = text.trimmed();
    for (const TFixedColor& fixed : kFixedColors)
        if (value.compare(QString::fromUtf16(fixed.name), Qt::CaseInsensitive) == 0)
            return ColorFromBgr(fixed.bgr);
    bool ok = false;
    const quint32 number =
        value.startsWith(u'$') ? value.mid(1).toUInt(&ok, 16) : static_cast<quint32>(value.toLongLong(&ok));
    if (!ok)
        return std::nullopt;
    return ColorFromBgr(number);
}

TCellMarkup ParseCellMarkup(const QString& text) {
    TCellMarkup markup;
    markup.text = text;
    QString& t = markup.text;
    markup.bold = TakeTag(t, QStringLiteral("<b>"), false).has_value();
    markup.italic = TakeTag(t, QStringLiteral("<i>"), false).has_value();
    if (const auto value = TakeTag(t, QStringLiteral("<f_size"), true))
        markup.fontSize = FirstNumber(*value, 4, 120);
    if (const auto value = TakeTag(t, QStringLiteral("<f_color"), true))
        markup.textColor = ColorFromText(*value);
    if (const auto value = TakeTag(t, QStringLiteral("<f_name"), true))
        markup.fontName = *value;
    if (const auto value = TakeTag(t, QStringLiteral("<fr_color"), true)) {
        markup.frameColor = ColorFromText(*value);
        if (markup.frameColor)
            markup.frameWidth = 1;
    }
    if (const auto value = TakeTag(t, QStringLiteral("<fr_size"), true))
        if (const auto width = FirstNumber(*value, 1, 10))
            markup.frameWidth = width;
    if (const auto value = TakeTag(t, QStringLiteral("<b_color"), true))
        markup.backColor = ColorFromText(*value);
    markup.center = TakeTag(t, QStringLiteral("<center"), true).has_value();
    markup.verticalCenter = TakeTag(t, QStringLiteral("<v_center"), true).has_value();
    markup.right = TakeTag(t, QStringLiteral("<right"), true).has_value();
    return markup;
}

QString StripMarkup(const QString& text) {
    return ParseCellMarkup(text).text;
}

QColor Lighten(const QColor& color, int percent) {
    const int p = std::clamp(percent, 0, 100);
    auto channel = [p](int c) {
        return c + static_cast<int>((255 - c) * p / 100.0 + 0.5);
    };
    return QColor(channel(color.red()), channel(color.green()), channel(color.blue()));
}

QColor Darken(const QColor& color, int amount) {
    return QColor(std::clamp(color.red() - amount, 0, 255), std::clamp(color.green() - (amount - 2), 0, 255),
                  std::clamp(color.blue() - amount, 0, 255));
}

} // namespace verdan
