#include "name_utils.h"

#include <array>

namespace verdan {

namespace {

constexpr char16_t kNoBreakSpace = 0x00A0;
constexpr char16_t kTatweel = 0x0640;

// Words that never end a name word: the next word completes them ("عبد الله", "أبو بكر").
const std::array<QString, 10>& PrefixWords() {
    static const std::array<QString, 10> words = {
        QStringLiteral("ابو"), QStringLiteral("أبو"), QStringLiteral("أم"),  QStringLiteral("ام"),
        QStringLiteral("أبي"), QStringLiteral("ابي"), QStringLiteral("عبد"), QStringLiteral("ذو"),
        QStringLiteral("ذي"),  QStringLiteral("ذا")};
    return words;
}

// Connectives of a lineage name ("son of", "daughter of"); they carry no name.
const std::array<QString, 4>& ConnectiveWords() {
    static const std::array<QString, 4> words = {QStringLiteral("بن"), QStringLiteral("ابن"),
                                                 QStringLiteral("إبن"), QStringLiteral("بنت")};
    return words;
}

template <std::size_t N> bool IsOneOf(const QString& word, const std::array<QString, N>& list) {
    for (const QString& entry : list) {
        if (entry == word)
            return true;
    }
    return false;
}

// "أبي" is the genitive of "أبو"; both forms must meet in the name index. Only a word that begins
// with it is rewritten: the same letters inside another name belong to that name.
QString NormaliseAbi(QString word) {
    if (word.startsWith(QStringLiteral("أبي")) || word.startsWith(QStringLiteral("ابي")))
        word[2] = QChar(0x0648);
    return word;
}

char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

bool MatchesAt(const QString& text, const QString& part, qsizetype at, bool caseSensitive) {
    for (qsizetype i = 0; i < part.size(); ++i) {
        char16_t a = text[at + i].unicode();
        char16_t b = part[i].unicode();
        if (!caseSensitive) {
            a = FoldAscii(a);
            b = FoldAscii(b);
        }
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

QString CleanName(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text.trimmed()) {
        if (c != QChar(kNoBreakSpace) && c != QChar(kTatweel))
            kept += c;
    }
    QString out;
    out.reserve(kept.size());
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (kept[i] == u' ' && i + 1 < kept.size() && kept[i + 1] == u' ')
            continue;
        out += kept[i];
    }
    return out.trimmed();
}

QString StripDiacritics(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == kTatweel || u == 0x064B || (u >= 0x064D && u <= 0x0652))
            continue;
        out += c;
    }
    return out;
}

void SplitSearchWords(const QString& text, QStringList& words) {
    QString work = text.trimmed();
    if (work.isEmpty())
        return;
    for (QChar& c : work) {
        if (c == u',' || c == u';' || c == QChar(0x060C) || c == QChar(0x061B))
            c = u' ';
    }
    qsizetype from = 0;
    for (qsizetype i = 0; i < work.size(); ++i) {
        const QChar c = work[i];
        if (c != u' ' && c != u'\r' && c != QChar(kNoBreakSpace))
            continue;
        const QString piece = work.mid(from, i - from).trimmed();
        if (piece.size() >= 2) {
            words.append(piece);
            from = i + 1;
        }
    }
    // A trailing separator leaves nothing; an empty word would match every text.
    const QString rest = work.mid(from).trimmed();
    if (!rest.isEmpty())
        words.append(rest);
}

void SplitNameWords(const QString& text, QStringList& words) {
    const QString work = text.trimmed();
    if (work.isEmpty())
        return;
    qsizetype from = 0;
    for (qsizetype i = 0; i < work.size(); ++i) {
        if (work[i] != u' ' && work[i] != u'\r')
            continue;
        const QString piece = work.mid(from, i - from).trimmed();
        if (piece.size() <= 1 || IsOneOf(piece, PrefixWords()))
            continue;
        if (!IsOneOf(piece, ConnectiveWords()))
            words.append(NormaliseAbi(piece));
        from = i + 1;
    }
    // A lineage typed up to its last connective ("محمد بن") still means the names before it.
    const QString rest = work.mid(from).trimmed();
    if (!rest.isEmpty() && !IsOneOf(rest, ConnectiveWords()))
        words.append(NormaliseAbi(rest));
}

int ContainsText(const QString& text, const QString& part) {
    return FindText(text, part, 1, true, false);
}

int FindText(const QString& text, const QString& part, int start, bool forward, bool caseSensitive) {
    if (part.isEmpty() || part.size() > text.size())
        return -1;
    const qsizetype last = text.size() - part.size(); // last 0-based index an occurrence can begin at
    if (forward) {
        for (qsizetype at = qMax(start, 1) - 1; at <= last; ++at) {
            if (MatchesAt(text, part, at, caseSensitive))
                return int(at + 1);
        }
    } else {
        // An occurrence beginning at 0-based `at` ends at 1-based position at + part.size().
        for (qsizetype at = qMin<qsizetype>(qsizetype(start) - part.size(), last); at >= 0; --at) {
            if (MatchesAt(text, part, at, caseSensitive))
                return int(at + 1);
        }
    }
    return -1;
}

QString Unquote(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() > 1 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
        return trimmed.mid(1, trimmed.size() - 2);
    return text;
}

int IndexOfExact(const QStringList& list, const QString& text) {
    return int(list.indexOf(text));
}

QString UpperText(const QString& text) {
    return text.toUpper();
}

QString LowerText(const QString& text) {
    return text.toLower();
}

} // namespace verdan
