#include "bidi_text.h"

#include <QDir>
#include <QFontMetrics>
#include <algorithm>
#include <optional>

namespace verdan {

namespace {

constexpr char16_t kLri = u'\u2066';
constexpr char16_t kFsi = u'\u2068';
constexpr char16_t kPdi = u'\u2069';

bool IsBidiControl(char16_t c) {
    return (c >= 0x2066 && c <= 0x2069) || (c >= 0x202A && c <= 0x202E) || c == 0x200E || c == 0x200F ||
           c == 0x061C;
}

// Each line on its own: a line break ends every isolate, so a text of several lines is isolated line by
// line.
QString Wrapped(char16_t open, const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        if (end > start) {
            out += QChar(open);
            out += QStringView(text).mid(start, end - start);
            out += QChar(kPdi);
        }
        if (end < text.size())
            out += text[end];
        start = end + 1;
    }
    return out;
}

} // namespace

QString Isolate(const QString& text) {
    return Wrapped(kFsi, text);
}

QString IsolateLtr(const QString& text) {
    return Wrapped(kLri, text);
}

QString IsolatePath(const QString& path) {
    return IsolateLtr(QDir::toNativeSeparators(path));
}

QString FileFilter(const QString& description, const QString& patterns) {
    return description + QStringLiteral(" \u200E(") + patterns + u')';
}

QString StripBidiControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!IsBidiControl(c.unicode()))
            out += c;
    return out;
}

Qt::LayoutDirection ReadingDirection(const QString& text, Qt::LayoutDirection empty) {
    // The first letter outside isolates gives the order, as in a paragraph: a sentence that starts with an
    // isolated name of the other script reads in its own words' order. A text that is all isolated
    // takes its first letter's.
    int depth = 0;
    bool any = false;
    std::optional<Qt::LayoutDirection> inside;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x2066 && u <= 0x2068) {
            ++depth;
            continue;
        }
        if (u == kPdi) {
            depth = std::max(0, depth - 1);
            continue;
        }
        std::optional<Qt::LayoutDirection> letter;
        switch (c.direction()) {
        case QChar::DirL:
            letter = Qt::LeftToRight;
            break;
        case QChar::DirR:
        case QChar::DirAL:
            letter = Qt::RightToLeft;
            break;
        default:
            any = any || (!c.isSpace() && !IsBidiControl(u));
        }
        if (letter && depth == 0)
            return *letter;
        if (letter && !inside)
            inside = letter;
    }
    if (inside)
        return *inside;
    return any ? Qt::LeftToRight : empty;
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
