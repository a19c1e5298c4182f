#include "search_fold.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace verdan {

namespace {

// What the fold does with the characters it names, besides Latin letters and case. A rule without
// `becomes` drops its characters.
struct TFoldRule {
    char32_t first;
    char32_t last;
    const char16_t* becomes;
};

constexpr TFoldRule kFoldRules[] = {
    // Arabic marks: tanween, short vowels, shadda, sukun, the hamza and madda marks no letter took, and
    // the small marks after them; the superscript alef; tatweel.
    {0x064B, 0x065F, nullptr},
    {0x0670, 0x0670, nullptr},
    {0x0640, 0x0640, nullptr},
    // Persian and Urdu letter forms read as the Arabic letters.
    {0x0649, 0x0649, u"\u064A"}, // alef maksura ى
    {0x06CC, 0x06CC, u"\u064A"}, // Farsi yeh ی
    {0x06A9, 0x06A9, u"\u0643"}, // keheh ک
    {0x06C1, 0x06C1, u"\u0647"}, // heh goal ہ
    // Invisible format characters: soft hyphen, Arabic letter mark, zero-width space and joiners, direction
    // marks, embeddings and isolates, word joiner, byte order mark.
    {0x00AD, 0x00AD, nullptr},
    {0x061C, 0x061C, nullptr},
    {0x200B, 0x200F, nullptr},
    {0x202A, 0x202E, nullptr},
    {0x2060, 0x2060, nullptr},
    {0x2066, 0x2069, nullptr},
    {0xFEFF, 0xFEFF, nullptr},
};

// Latin letters that carry their accent in the letter itself (no decomposition), and letters written
// as two, each as the plain letters a reader types for it.
constexpr std::pair<char16_t, const char16_t*> kLatinLetters[] = {
    {u'ß', u"ss"}, {u'æ', u"ae"}, {u'œ', u"oe"}, {u'ø', u"o"}, {u'đ', u"d"},
    {u'ł', u"l"},  {u'ħ', u"h"},  {u'ı', u"i"},  {u'ŧ', u"t"},
};

constexpr char32_t kLatinMarksFirst = 0x0300;
constexpr char32_t kLatinMarksLast = 0x036F;

enum class TKind : quint8 {
    Keep,
    KeepLatin, // a Latin letter the fold leaves as it is
    Drop,
    Replace,
    ReplaceLatin,
    LatinMark, // dropped after a Latin letter, kept elsewhere
};

struct TCell {
    quint16 replacement = 0; // index into TFoldData::replacements
    TKind kind = TKind::Keep;
    // Composing the text may change the character or the one before it: texts holding it are composed
    // before they are folded.
    bool composes = false;
};

struct TFoldData {
    std::array<TCell, 0x10000> cells;
    QList<QString> replacements{QString()};
    QList<TSearchFoldEntry> table;
    std::array<bool, 0x10000> folded{}; // some other character folds to this one

    void Set(char32_t c, TKind kind, const QString& folded = QString()) {
        TCell& cell = cells[c];
        cell.kind = kind;
        cell.replacement = 0;
        if (kind == TKind::Replace || kind == TKind::ReplaceLatin) {
            cell.replacement = quint16(replacements.size());
            replacements << folded;
        }
    }
};

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

QString FoldLatinLetter(char32_t c) {
    QString letters = QString(QChar(c)).normalized(QString::NormalizationForm_D);
    letters.removeIf([](QChar m) { return m.category() == QChar::Mark_NonSpacing; });
    letters = letters.toCaseFolded();
    QString out;
    for (const QChar l : letters) {
        const auto* plain = std::find_if(std::begin(kLatinLetters), std::end(kLatinLetters),
                                         [l](const auto& entry) { return entry.first == l.unicode(); });
        out += plain != std::end(kLatinLetters) ? QString::fromUtf16(plain->second) : QString(l);
    }
    return out;
}

std::unique_ptr<TFoldData> MakeFoldData() {
    auto data = std::make_unique<TFoldData>();
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (IsSurrogate(c))
            continue;
        const QChar ch(c);
        if (ch.isLetter() && ch.script() == QChar::Script_Latin) {
            const QString folded = FoldLatinLetter(c);
            if (folded == QString(ch))
                data->Set(c, TKind::KeepLatin);
            else
                data->Set(c, TKind::ReplaceLatin, folded);
        } else if (ch.isLetter() && ch.toCaseFolded() != ch) {
            data->Set(c, TKind::Replace, QString(ch.toCaseFolded()));
        }
    }
    for (char32_t c = kLatinMarksFirst; c <= kLatinMarksLast; ++c)
        data->Set(c, TKind::LatinMark);
    for (const TFoldRule& rule : kFoldRules)
        for (char32_t c = rule.first; c <= rule.last; ++c)
            data->Set(c, rule.becomes ? TKind::Replace : TKind::Drop,
                      rule.becomes ? QString::fromUtf16(rule.becomes) : QString());
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (IsSurrogate(c))
            continue;
        const QChar ch(c);
        TCell& cell = data->cells[c];
        // Marks the fold drops in any case do not matter, unless they join a letter (the madda and hamza
        // marks make آ أ إ ؤ ئ).
        const bool droppedMark = cell.kind == TKind::Drop && !(c >= 0x0653 && c <= 0x0655);
        cell.composes = (ch.combiningClass() != 0 && !droppedMark) ||
                        QString(ch).normalized(QString::NormalizationForm_C) != QString(ch);
        if (cell.kind == TKind::Drop) {
            data->table.append({c, QString()});
        } else if (cell.kind == TKind::Replace || cell.kind == TKind::ReplaceLatin) {
            data->table.append({c, data->replacements[cell.replacement]});
            for (const QChar r : data->replacements[cell.replacement])
                data->folded[r.unicode()] = true;
        }
    }
    return data;
}

const TFoldData& Data() {
    static const std::unique_ptr<TFoldData> data = MakeFoldData();
    return *data;
}

bool Changes(TKind kind) {
    return kind != TKind::Keep && kind != TKind::KeepLatin;
}

// Folds composed UTF-16 text, appending to `out`.
template <typename Out> void FoldComposed(const QChar* text, qsizetype size, Out& out) {
    const TFoldData& data = Data();
    bool afterLatin = false;
    for (qsizetype i = 0; i < size; ++i) {
        const TCell& cell = data.cells[text[i].unicode()];
        switch (cell.kind) {
        case TKind::Keep:
            out += text[i];
            afterLatin = false;
            break;
        case TKind::KeepLatin:
            out += text[i];
            afterLatin = true;
            break;
        case TKind::Drop:
            break;
        case TKind::Replace:
            out += data.replacements[cell.replacement];
            afterLatin = false;
            break;
        case TKind::ReplaceLatin:
            out += data.replacements[cell.replacement];
            afterLatin = true;
            break;
        case TKind::LatinMark:
            if (!afterLatin)
                out += text[i];
            break;
        }
    }
}

// Appends one code point's fold to `out`; false when the text must be composed first (or lies beyond the
// Basic Multilingual Plane), which the quick paths leave to SearchFold.
bool FoldQuickly(char32_t c, std::u16string& out) {
    if (c >= 0x10000)
        return false;
    const TFoldData& data = Data();
    const TCell& cell = data.cells[c];
    if (cell.composes)
        return false;
    switch (cell.kind) {
    case TKind::Keep:
    case TKind::KeepLatin:
        out += char16_t(c);
        return true;
    case TKind::Drop:
        return true;
    case TKind::Replace:
    case TKind::ReplaceLatin: {
        const QString& r = data.replacements[cell.replacement];
        out.append(reinterpret_cast<const char16_t*>(r.constData()), size_t(r.size()));
        return true;
    }
    case TKind::LatinMark:
        return false;
    }
    return false;
}

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.constData()), size_t(text.size())};
}

} // namespace

QString SearchFold(const QString& text) {
    const TFoldData& data = Data();
    bool changes = false;
    bool compose = false;
    for (const QChar c : text) {
        const TCell& cell = data.cells[c.unicode()];
        changes = changes || Changes(cell.kind);
        compose = compose || cell.composes || IsSurrogate(c.unicode());
    }
    if (!changes && !compose)
        return text;
    const QString composed = compose ? text.normalized(QString::NormalizationForm_C) : text;
    QString out;
    out.reserve(composed.size());
    FoldComposed(composed.constData(), composed.size(), out);
    return out;
}

bool FoldedContains(const QString& text, const QString& foldedPart) {
    if (foldedPart.isEmpty())
        return false;
    thread_local std::u16string folded;
    folded.clear();
    for (const QChar c : text) {
        if (!FoldQuickly(c.unicode(), folded))
            return SearchFold(text).contains(foldedPart);
    }
    return folded.find(View(foldedPart)) != std::u16string::npos;
}

void SearchFoldUtf8(QByteArrayView utf8, std::u16string& out) {
    out.clear();
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const qsizetype size = utf8.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char b = bytes[i];
        char32_t c = 0;
        if (b < 0x80) {
            c = b;
            i += 1;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < size) {
            c = (char32_t(b & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
            i += 2;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < size) {
            c = (char32_t(b & 0x0F) << 12) | (char32_t(bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
            i += 3;
        } else {
            c = 0x10000; // four bytes or a broken sequence: the whole text is read as a text instead
        }
        if (IsSurrogate(c) || !FoldQuickly(c, out)) {
            const QString folded = SearchFold(QString::fromUtf8(utf8));
            out.assign(View(folded));
            return;
        }
    }
}

bool FoldedContainsUtf8(QByteArrayView utf8, const QString& foldedPart) {
    if (foldedPart.isEmpty())
        return false;
    thread_local std::u16string folded;
    SearchFoldUtf8(utf8, folded);
    return folded.find(View(foldedPart)) != std::u16string::npos;
}

QByteArray SearchFoldAnchor(const QString& foldedPart) {
    const TFoldData& data = Data();
    for (const QChar c : foldedPart) {
        const char16_t u = c.unicode();
        if (IsSurrogate(u) || c.isSpace() || data.folded[u] || data.cells[u].kind != TKind::Keep ||
            c.decompositionTag() == QChar::Canonical)
            continue;
        return QString(c).toUtf8();
    }
    return QByteArray();
}

const QList<TSearchFoldEntry>& SearchFoldTable() {
    return Data().table;
}

bool LatinMarkDropped(char32_t c) {
    return c >= kLatinMarksFirst && c <= kLatinMarksLast;
}

} // namespace verdan
