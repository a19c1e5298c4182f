#include "grid_text_file.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <array>

namespace verdan {

namespace {

// Characters of windows-1256 bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kWindows1256{
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0679, 0x2039, 0x0152,
    0x0686, 0x0698, 0x0688, 0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x06A9, 0x2122,
    0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA, 0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F, 0x06C1,
    0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627, 0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D,
    0x062E, 0x062F, 0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7, 0x0637, 0x0638, 0x0639,
    0x063A, 0x0640, 0x0641, 0x0642, 0x0643, 0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF, 0x064B, 0x064C, 0x064D, 0x064E, 0x00F4,
    0x064F, 0x0650, 0x00F7, 0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,
};

QString DecodeWindows1256(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += b < 0x80 ? QChar(b) : QChar(kWindows1256[b - 0x80]);
    }
    return text;
}

QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    // The mark was already taken off: a second one is text and stays.
    QStringDecoder decoder(encoding,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool IsLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

qsizetype SkipLineBreak(const QString& text, qsizetype pos) {
    if (pos < text.size() && text[pos] == u'\r')
        ++pos;
    if (pos < text.size() && text[pos] == u'\n')
        ++pos;
    return pos;
}

// Reads one field from `pos`; leaves `pos` on the separator, the line break or the end after it.
QString ReadField(const QString& text, qsizetype& pos, QChar separator) {
    const qsizetype n = text.size();
    if (pos < n && text[pos] == u'"') {
        QString field;
        qsizetype j = pos + 1;
        while (j < n) {
            if (text[j] != u'"') {
                field += text[j++];
            } else if (j + 1 < n && text[j + 1] == u'"') {
                field += u'"';
                j += 2;
            } else {
                ++j;
                if (j == n || text[j] == separator || IsLineBreak(text[j])) {
                    pos = j;
                    return field;
                }
                break;
            }
        }
        // Not a well-formed quoted field: older files hold such texts as they are.
    }
    qsizetype end = pos;
    while (end < n && text[end] != separator && !IsLineBreak(text[end]))
        ++end;
    const QString field = text.mid(pos, end - pos);
    pos = end;
    return field;
}

bool NeedsQuotes(const QString& field, QChar separator, const QString& commentDelimiter) {
    for (const QChar c : field)
        if (c == separator || c == u'"' || IsLineBreak(c))
            return true;
    return !commentDelimiter.isEmpty() && field.startsWith(commentDelimiter);
}

QString Quoted(QString field) {
    field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

} // namespace

QChar GridSeparator(const QString& fieldDelimiter, const QString& fileName) {
    if (QFileInfo(fileName).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0)
        return u',';
    const QString name = fieldDelimiter.toUpper();
    if (name.isEmpty() || name == QStringLiteral("TAB"))
        return u'\t';
    if (name == QStringLiteral("SEMICOLON"))
        return u';';
    if (name == QStringLiteral("SPACE"))
        return u' ';
    if (name == QStringLiteral("COMMA"))
        return u',';
    return fieldDelimiter[0];
}

QString DecodeGridText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Decode(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return Decode(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return Decode(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1256(bytes);
}

QList<QStringList> ParseGridText(const QString& text, QChar separator, const QString& commentDelimiter) {
    QList<QStringList> records;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        if (IsLineBreak(text[pos])) {
            pos = SkipLineBreak(text, pos);
            continue;
        }
        if (!commentDelimiter.isEmpty() && QStringView(text).mid(pos).startsWith(commentDelimiter)) {
            while (pos < n && !IsLineBreak(text[pos]))
                ++pos;
            pos = SkipLineBreak(text, pos);
            continue;
        }
        QStringList fields;
        for (;;) {
            fields.append(ReadField(text, pos, separator));
            if (pos < n && text[pos] == separator)
                ++pos;
            else
                break;
        }
        pos = SkipLineBreak(text, pos);
        records.append(fields);
    }
    return records;
}

QString FormatGridLine(const QStringList& fields, QChar separator, const QString& commentDelimiter) {
    QStringList parts;
    parts.reserve(fields.size());
    for (const QString& field : fields)
        parts.append(NeedsQuotes(field, separator, commentDelimiter) ? Quoted(field) : field);
    QString line = parts.join(separator);
    const bool readAsComment = !commentDelimiter.isEmpty() && line.startsWith(commentDelimiter);
    if (!fields.isEmpty() && (line.isEmpty() || readAsComment) && parts[0] == fields[0]) {
        parts[0] = Quoted(fields[0]);
        line = parts.join(separator);
    }
    return line;
}

QByteArray EncodeGridText(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace verdan
