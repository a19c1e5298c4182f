#include "gedcom_encoding.h"

#include <QStringDecoder>
#include <QStringList>
#include <cstring>

namespace verdan {

namespace {

bool StartsWith(QByteArrayView bytes, const char* prefix, qsizetype n) {
    return bytes.size() >= n && std::memcmp(bytes.data(), prefix, size_t(n)) == 0;
}

bool HasUtf8Bom(QByteArrayView b) {
    return StartsWith(b, "\xEF\xBB\xBF", 3);
}
bool HasUtf16LeBom(QByteArrayView b) {
    return StartsWith(b, "\xFF\xFE", 2);
}
bool HasUtf16BeBom(QByteArrayView b) {
    return StartsWith(b, "\xFE\xFF", 2);
}

// UTF-16 written without a byte order mark still starts with the level digit "0" and a NUL beside it.
QString Utf16WithoutBom(QByteArrayView b) {
    if (b.size() < 4)
        return {};
    if (b[0] != '\0' && b[1] == '\0' && b[2] != '\0' && b[3] == '\0')
        return QString::fromLatin1(kGedUtf16Le);
    if (b[0] == '\0' && b[1] != '\0' && b[2] == '\0' && b[3] != '\0')
        return QString::fromLatin1(kGedUtf16Be);
    return {};
}

bool HasHighBytes(QByteArrayView b) {
    for (char c : b)
        if (uchar(c) >= 0x80)
            return true;
    return false;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

// The value of the level-1 CHAR line inside the HEAD record, read from the raw bytes: header lines are
// plain ASCII in every 8-bit encoding.
QByteArray DeclaredCharset(QByteArrayView b) {
    qsizetype i = HasUtf8Bom(b) ? 3 : 0;
    const qsizetype limit = std::min<qsizetype>(b.size(), 1 << 16);
    bool inHead = false;
    while (i < limit) {
        qsizetype e = i;
        while (e < b.size() && b[e] != '\r' && b[e] != '\n')
            ++e;
        QByteArrayView line = b.sliced(i, e - i).trimmed();
        i = e;
        while (i < b.size() && (b[i] == '\r' || b[i] == '\n'))
            ++i;
        if (line.isEmpty())
            continue;
        if (line.startsWith("0")) {
            if (inHead)
                break;
            inHead = line.size() >= 6 && IsSpace(line[1]) && line.sliced(2).trimmed() == "HEAD";
            if (!inHead)
                break;
            continue;
        }
        if (line.size() > 7 && line[0] == '1' && IsSpace(line[1]) &&
            line.sliced(2, 4).compare("CHAR", Qt::CaseInsensitive) == 0 && IsSpace(line[6]))
            return line.sliced(7).trimmed().toByteArray().toUpper();
    }
    return {};
}

QString CodecForCharset(const QByteArray& charset) {
    if (charset == "IBMPC" || charset == "IBM PC" || charset == "DOS")
        return QStringLiteral("IBM437");
    if (charset == "MACINTOSH" || charset == "MAC")
        return QStringLiteral("macintosh");
    const QString name = QString::fromLatin1(charset);
    return QStringDecoder(name.toLatin1().constData()).isValid() ? name : QString();
}

// Combining marks of ANSEL (0xE0-0xFE) and the spacing characters of its upper half (0xA1-0xCF).
char16_t AnselCombining(uchar c) {
    static constexpr char16_t kMarks[31] = {
        0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, // E0-E7
        0x0308, 0x030C, 0x030A, 0xFE20, 0xFE21, 0x0315, 0x030B, 0x0310, // E8-EF
        0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333, 0x0332, 0x0326, // F0-F7
        0x031C, 0x032E, 0xFE22, 0xFE23, 0,      0,      0x0313,         // F8-FE
    };
    return c >= 0xE0 && c <= 0xFE ? kMarks[c - 0xE0] : 0;
}

char16_t AnselSpacing(uchar c) {
    static constexpr char16_t kChars[47] = {
        0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9, 0x00B7, // A1-A8
        0x266D, 0x00AE, 0x00B1, 0x01A0, 0x01AF, 0x02BC, 0,      0x02BB, // A9-B0
        0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153, 0x02BA, 0x0131, // B1-B8
        0x00A3, 0x00F0, 0,      0x01A1, 0x01B0, 0x25A1, 0x25A0, 0x00B0, // B9-C0
        0x2113, 0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1, 0x00DF, 0x20AC, // C1-C8
        0,      0,      0,      0,      0x0065, 0x006F, 0x00DF,         // C9-CF
    };
    return c >= 0xA1 && c <= 0xCF ? kChars[c - 0xA1] : 0;
}

} // namespace

QString GedcomFallbackEncoding(const QString& interfaceLanguage) {
    static const QStringList kArabicScript = {QStringLiteral("Arabic"), QStringLiteral("Persian"),
                                              QStringLiteral("Urdu")};
    return kArabicScript.contains(interfaceLanguage, Qt::CaseInsensitive) ? QStringLiteral("windows-1256")
                                                                          : QStringLiteral("windows-1252");
}

bool IsValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Plain ASCII runs dominate real files: skip them eight bytes at a time.
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        char32_t min;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

QString DeclaredGedcomEncoding(QByteArrayView start, const QString& fallback) {
    if (HasUtf8Bom(start))
        return QString::fromLatin1(kGedUtf8);
    if (HasUtf16LeBom(start))
        return QString::fromLatin1(kGedUtf16Le);
    if (HasUtf16BeBom(start))
        return QString::fromLatin1(kGedUtf16Be);
    const QString wide = Utf16WithoutBom(start);
    if (!wide.isEmpty())
        return wide;
    const QByteArray charset = DeclaredCharset(start);
    if (charset == "UTF-8" || charset == "UTF8")
        return QString::fromLatin1(kGedUtf8);
    if (charset == "ANSEL")
        return QString::fromLatin1(kGedAnsel);
    if (charset == "ANSI")
        return fallback;
    // UNICODE or ASCII without wide bytes, undeclared or unknown: the bytes decide.
    if (charset.isEmpty() || charset == "UNICODE" || charset == "UTF-16" || charset == "ASCII")
        return {};
    return CodecForCharset(charset);
}

QString DetectGedcomEncoding(QByteArrayView bytes, const QString& fallback) {
    const QString declared = DeclaredGedcomEncoding(bytes, fallback);
    if (!declared.isEmpty())
        return declared;
    return IsValidUtf8(bytes) ? QString::fromLatin1(kGedUtf8) : fallback;
}

QString NormaliseGedcomEncoding(const QString& name, const QString& fallback) {
    const QString upper = name.trimmed().toUpper();
    if (upper == QLatin1String("UTF-8") || upper == QLatin1String("UTF8") || upper == QLatin1String("ASCII"))
        return QString::fromLatin1(kGedUtf8);
    if (upper == QLatin1String("UTF-16") || upper == QLatin1String("UTF-16LE") ||
        upper == QLatin1String("UNICODE"))
        return QString::fromLatin1(kGedUtf16Le);
    if (upper == QLatin1String("UTF-16BE"))
        return QString::fromLatin1(kGedUtf16Be);
    if (upper == QLatin1String("ANSEL"))
        return QString::fromLatin1(kGedAnsel);
    if (upper == QLatin1String("ANSI"))
        return fallback;
    return upper.isEmpty() ? QString() : CodecForCharset(name.trimmed().toLatin1());
}

void ConvertToUtf8(QByteArray& bytes, const QString& encoding) {
    if (encoding == QLatin1String(kGedUtf8)) {
        if (HasUtf8Bom(bytes))
            bytes.remove(0, 3);
        return;
    }
    if (encoding == QLatin1String(kGedUtf16Le) || encoding == QLatin1String(kGedUtf16Be)) {
        const bool le = encoding == QLatin1String(kGedUtf16Le);
        QByteArrayView body(bytes);
        if (le ? HasUtf16LeBom(body) : HasUtf16BeBom(body))
            body = body.sliced(2);
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        bytes = QString(decoder(body)).toUtf8();
        return;
    }
    if (HasUtf8Bom(bytes))
        bytes.remove(0, 3);
    if (encoding == QLatin1String(kGedAnsel)) {
        bytes = DecodeAnsel(bytes).toUtf8();
        return;
    }
    if (!HasHighBytes(bytes))
        return; // ASCII reads the same in every 8-bit code page
    QStringDecoder decoder(encoding.toLatin1().constData());
    bytes = QString(decoder(bytes)).toUtf8();
}

QString DecodeAnsel(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    QString marks; // marks waiting for their base letter
    for (char ch : bytes) {
        const uchar c = uchar(ch);
        if (const char16_t mark = AnselCombining(c)) {
            marks += QChar(mark);
            continue;
        }
        if (c == '\r' || c == '\n') {
            out += marks; // a mark at the end of a line has no letter left to sit on
            marks.clear();
            out += QLatin1Char(char(c));
            continue;
        }
        if (c < 0x80)
            out += QLatin1Char(char(c));
        else if (const char16_t spacing = AnselSpacing(c))
            out += QChar(spacing);
        else
            out += QChar(QChar::ReplacementCharacter);
        out += marks;
        marks.clear();
    }
    out += marks;
    return out.normalized(QString::NormalizationForm_C);
}

} // namespace verdan
