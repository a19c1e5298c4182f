#include "jet_values.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace verdan {

namespace {

template <typename T> T Little(QByteArrayView bytes) {
    T value{};
    std::memcpy(&value, bytes.data(), sizeof(T)); // the machines we build for are little-endian
    return value;
}

quint16 Word(QByteArrayView bytes, qsizetype at) {
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

// The stored password of a Jet 4.0 header is masked by these words; a word above 0xFF is masked once more
// by a word that depends on the file. A file without a password stores the masks themselves.
constexpr quint16 kPasswordMask[18] = {0x6ABA, 0x37EC, 0xD561, 0xFA9C, 0xCFFA, 0xE628,
                                       0x272F, 0x608A, 0x0568, 0x367B, 0xE3C9, 0xB1DF,
                                       0x654B, 0x4313, 0x3EF3, 0x33B1, 0xF008, 0x5B79};
constexpr quint16 kFileMask = 0x24AE;
constexpr qsizetype kPasswordAt = 0x42;
constexpr qsizetype kFileMaskAt = 0x66;

} // namespace

TJetHeader ReadJetHeader(QByteArrayView page) {
    TJetHeader header;
    if (page.size() < 19 || page.sliced(4, 15) != QByteArrayView("Standard Jet DB"))
        return header;
    header.Jet = true;
    if (page.size() < 0x18)
        return header;
    header.Version = int(Little<quint32>(page.sliced(0x14, 4)));
    if (header.Version != 1 || page.size() < kFileMaskAt + 2)
        return header;
    const quint16 fileMask = Word(page, kFileMaskAt) ^ kFileMask;
    for (int i = 0; i < 18; ++i) {
        quint16 c = Word(page, kPasswordAt + 2 * i) ^ kPasswordMask[i];
        if (c > 0xFF)
            c ^= fileMask;
        if (c != 0) {
            header.Password = true;
            break;
        }
    }
    return header;
}

QString DecodeJetText(QByteArrayView bytes) {
    const auto* b = reinterpret_cast<const quint8*>(bytes.data());
    const qsizetype n = bytes.size();
    QString text;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        text.reserve(n - 2);
        bool compressed = true;
        for (qsizetype i = 2; i < n;) {
            if (b[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text.append(QChar(b[i]));
                ++i;
            } else if (i + 1 < n) {
                text.append(QChar(char16_t(b[i] | b[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    text.resize(n / 2);
    for (qsizetype i = 0; i + 1 < n; i += 2)
        text[i / 2] = QChar(char16_t(b[i] | b[i + 1] << 8));
    return text;
}

QString JetDateTimeStamp(double days) {
    if (!std::isfinite(days))
        return {};
    const double whole = std::trunc(days);
    // Years 100 to 9999, as the engine allows them.
    if (whole < -657434 || whole > 2958465)
        return {};
    qint64 seconds = std::llround(std::fabs(days - whole) * 86400.0);
    QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    if (seconds >= 86400) {
        seconds -= 86400;
        date = date.addDays(days < 0 ? -1 : 1);
    }
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" %1:%2:%3")
                                                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                                                             .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString JetGuidText(QByteArrayView b) {
    if (b.size() != 16)
        return {};
    auto hex = [](QByteArrayView part) {
        return QByteArray(part.data(), part.size()).toHex().toUpper();
    };
    auto reversed = [](QByteArrayView part) {
        QByteArray r(part.data(), part.size());
        std::reverse(r.begin(), r.end());
        return r;
    };
    const QByteArray text = '{' + hex(reversed(b.sliced(0, 4))) + '-' + hex(reversed(b.sliced(4, 2))) + '-' +
                            hex(reversed(b.sliced(6, 2))) + '-' + hex(b.sliced(8, 2)) + '-' +
                            hex(b.sliced(10, 6)) + '}';
    return QString::fromLatin1(text);
}

bool JetInteger(TJetType type, QByteArrayView bytes, qint64& value) {
    const qsizetype n = bytes.size();
    switch (type) {
    case TJetType::Bool:
    case TJetType::Byte:
        if (n != 1)
            return false;
        value = quint8(bytes[0]);
        return true;
    case TJetType::Int:
        if (n != 2)
            return false;
        value = Little<qint16>(bytes);
        return true;
    case TJetType::LongInt:
        if (n != 4)
            return false;
        value = Little<qint32>(bytes);
        return true;
    default:
        return false;
    }
}

bool JetReal(TJetType type, QByteArrayView bytes, double& value) {
    const qsizetype n = bytes.size();
    switch (type) {
    case TJetType::Money:
        if (n != 8)
            return false;
        value = double(Little<qint64>(bytes)) / 10000.0;
        return true;
    case TJetType::Float:
        if (n != 4)
            return false;
        value = double(Little<float>(bytes));
        return std::isfinite(value);
    case TJetType::Double:
    case TJetType::DateTime:
        if (n != 8)
            return false;
        value = Little<double>(bytes);
        return std::isfinite(value);
    default: {
        qint64 integer = 0;
        if (!JetInteger(type, bytes, integer))
            return false;
        value = double(integer);
        return true;
    }
    }
}

} // namespace verdan
