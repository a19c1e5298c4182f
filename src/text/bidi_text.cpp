#include "bidi_text.h"

#include <QFontMetrics>

namespace verdan {

namespace {

constexpr char16_t kLri = u'\u2066';
constexpr char16_t kFsi = u'\u2068';
constexpr char16_t kPdi = u'\u2069';

bool IsBidiControl(char16_t c) {
    return (c >= 0x2066 && c <= 0x2069) || (c >= 0x202A && c <= 0x202E) || c == 0x200E || c == 0x200F ||
           c == 0x061C;
}

QString Wrapped(char16_t open, const QString& text) {
    if (text.isEmpty())
        return text;
    QString out;
    out.reserve(text.size() + 2);
    out += QChar(open);
    out += text;
    out += QChar(kPdi);
    return out;
}

} // namespace

QString Isolate(const QString& text) {
    return Wrapped(kFsi, text);
}

QString IsolateLtr(const QString& text) {
    return Wrapped(kLri, text);
}

QString StripBidiControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!IsBidiControl(c.unicode()))
            out += c;
    return out;
}

bool HasArabicLetters(const QString& text) {
    for (const QChar c : text) {
        const QChar::Script script = c.script();
        if (script == QChar::Script_Arabic && c.isLetter())
            return true;
    }
    return false;
}

QString ElideAtOwnEnd(const QString& text, const QFontMetrics& metrics, int width) {
    const QString plain = StripBidiControls(text);
    // elidedText cuts at the logical end, which is the text's own end in either reading order.
    return Isolate(metrics.elidedText(plain, Qt::ElideRight, width));
}

} // namespace verdan
