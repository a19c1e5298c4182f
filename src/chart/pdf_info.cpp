#include "pdf_info.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <cctype>

namespace verdan {

namespace {

// A text string in UTF-16 with its byte-order mark, written in hexadecimal.
QByteArray PdfText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (QChar c : text)
        hex += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    return hex + '>';
}

QString DecodeHexString(const QByteArray& hex) {
    const QByteArray bytes = QByteArray::fromHex(hex);
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFE && uchar(bytes[1]) == 0xFF) {
        QString text;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            text += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
        return text;
    }
    return QString::fromLatin1(bytes);
}

QString DecodeLiteral(const QByteArray& body) {
    QByteArray out;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 >= body.size()) {
            out += body[i];
            continue;
        }
        const char next = body[++i];
        switch (next) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        default:
            out += next;
            break;
        }
    }
    if (out.size() >= 2 && uchar(out[0]) == 0xFE && uchar(out[1]) == 0xFF)
        return DecodeHexString(out.toHex());
    return QString::fromLatin1(out);
}

struct Trailer {
    QByteArray dictionary;
    qint64 startXref = -1;
};

Trailer LastTrailer(const QByteArray& pdf) {
    Trailer t;
    const qsizetype start = pdf.lastIndexOf("startxref");
    const qsizetype trailer = pdf.lastIndexOf("trailer", start);
    if (start < 0 || trailer < 0)
        return t;
    bool ok = false;
    t.startXref = pdf.mid(start + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok)
        t.startXref = -1;
    t.dictionary = pdf.mid(trailer + 7, start - trailer - 7);
    return t;
}

QByteArray Reference(const QByteArray& dictionary, const char* key) {
    const QRegularExpression re(QStringLiteral("/%1\\s+(\\d+\\s+\\d+\\s+R)").arg(QLatin1String(key)));
    const auto match = re.match(QString::fromLatin1(dictionary));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

} // namespace

QByteArray PdfDate(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    QByteArray date = "D:" + local.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    date += offset < 0 ? '-' : '+';
    date += QByteArray::number(std::abs(offset) / 60).rightJustified(2, '0') + '\'' +
            QByteArray::number(std::abs(offset) % 60).rightJustified(2, '0') + '\'';
    return date;
}

QList<std::pair<QString, QString>> ReadPdfInformation(const QByteArray& pdf) {
    QList<std::pair<QString, QString>> entries;
    const Trailer trailer = LastTrailer(pdf);
    const QByteArray info = Reference(trailer.dictionary, "Info");
    if (info.isEmpty())
        return entries;
    const QByteArray objectHead = info.left(info.lastIndexOf('R')).trimmed() + " obj";
    qsizetype at = pdf.size();
    do
        at = pdf.lastIndexOf(objectHead, at - 1);
    while (at > 0 && std::isdigit(uchar(pdf[at - 1])));
    const qsizetype open = at < 0 ? -1 : pdf.indexOf("<<", at);
    const qsizetype close = open < 0 ? -1 : pdf.indexOf(">>", open);
    if (close < 0)
        return entries;
    const QByteArray body = pdf.mid(open + 2, close - open - 2);
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '/')
            continue;
        qsizetype j = i + 1;
        while (j < body.size() && QByteArrayView(" \r\n\t/(<").indexOf(body[j]) < 0)
            ++j;
        const QString key = QString::fromLatin1(body.mid(i + 1, j - i - 1));
        while (j < body.size() && QByteArrayView(" \r\n\t").indexOf(body[j]) >= 0)
            ++j;
        if (j >= body.size())
            break;
        if (body[j] == '<') {
            const qsizetype end = body.indexOf('>', j);
            entries.append({key, DecodeHexString(body.mid(j + 1, end - j - 1))});
            i = end;
        } else if (body[j] == '(') {
            qsizetype end = j + 1;
            for (int depth = 1; end < body.size() && depth > 0; ++end) {
                if (body[end] == '\\')
                    ++end;
                else if (body[end] == '(')
                    ++depth;
                else if (body[end] == ')')
                    --depth;
            }
            entries.append({key, DecodeLiteral(body.mid(j + 1, end - j - 2))});
            i = end - 1;
        } else {
            i = j - 1;
        }
    }
    return entries;
}

bool SetPdfInformation(QByteArray& pdf, const QList<std::pair<QString, QString>>& entries,
                       const QDateTime& created) {
    const Trailer trailer = LastTrailer(pdf);
    const QByteArray root = Reference(trailer.dictionary, "Root");
    const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    const auto sizeMatch = sizeRe.match(QString::fromLatin1(trailer.dictionary));
    if (trailer.startXref < 0 || root.isEmpty() || !sizeMatch.hasMatch())
        return false;
    const qint64 object = sizeMatch.captured(1).toLongLong();
    if (!pdf.endsWith('\n'))
        pdf += '\n';
    const qint64 offset = pdf.size();
    QByteArray dictionary = QByteArray::number(object) + " 0 obj\n<<\n";
    for (const auto& [key, value] : entries)
        if (!value.isEmpty())
            dictionary += '/' + key.toLatin1() + ' ' + PdfText(value) + '\n';
    dictionary += "/CreationDate (" + PdfDate(created) + ")\n>>\nendobj\n";
    pdf += dictionary;
    const qint64 xref = pdf.size();
    pdf += "xref\n" + QByteArray::number(object) + " 1\n" +
           QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(object + 1) + " /Root " + root + " /Info " +
           QByteArray::number(object) + " 0 R /Prev " + QByteArray::number(trailer.startXref) + " >>\n";
    pdf += "startxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return true;
}

} // namespace verdan

namespace verdan {

bool SetPdfUserUnit(QByteArray& pdf, double unit) {
    const Trailer trailer = LastTrailer(pdf);
    const QByteArray root = Reference(trailer.dictionary, "Root");
    const QByteArray info = Reference(trailer.dictionary, "Info");
    const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    const auto sizeMatch = sizeRe.match(QString::fromLatin1(trailer.dictionary));
    if (trailer.startXref < 0 || root.isEmpty() || !sizeMatch.hasMatch())
        return false;
    // Every page object ("/Type /Page", not "/Pages"), rewritten with the unit first in its dictionary.
    QList<std::pair<qint64, QByteArray>> pages;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1)) {
        const char next = at + 11 < pdf.size() ? pdf[at + 11] : ' ';
        if (std::isalpha(uchar(next)))
            continue;
        const qsizetype head = pdf.lastIndexOf(" 0 obj", at);
        const qsizetype open = pdf.indexOf("<<", head);
        const qsizetype end = pdf.indexOf("endobj", at);
        if (head < 0 || open < 0 || open > at || end < 0)
            return false;
        qsizetype digits = head;
        while (digits > 0 && std::isdigit(uchar(pdf[digits - 1])))
            --digits;
        pages.append({pdf.mid(digits, head - digits).toLongLong(),
                      QByteArray("<< /UserUnit ") + QByteArray::number(unit, 'f', 4) + ' ' +
                          pdf.mid(open + 2, end - open - 2)});
    }
    if (pages.isEmpty())
        return false;
    if (!pdf.endsWith('\n'))
        pdf += '\n';
    QByteArray xref = "xref\n";
    for (const auto& [object, body] : pages) {
        xref += QByteArray::number(object) + " 1\n" + QByteArray::number(pdf.size()).rightJustified(10, '0') +
                " 00000 n \n";
        pdf += QByteArray::number(object) + " 0 obj\n" + body + "endobj\n";
    }
    const qint64 start = pdf.size();
    pdf += xref;
    pdf += "trailer\n<< /Size " + sizeMatch.captured(1).toLatin1() + " /Root " + root +
           (info.isEmpty() ? QByteArray() : " /Info " + info) + " /Prev " +
           QByteArray::number(trailer.startXref) + " >>\n";
    pdf += "startxref\n" + QByteArray::number(start) + "\n%%EOF\n";
    return true;
}

} // namespace verdan
