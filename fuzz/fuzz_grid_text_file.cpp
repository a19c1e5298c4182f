#include "reports/grid_text_file.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Reads arbitrary bytes as a grid text file (the recent-trees list, exported lists); whatever records it
// gives must write out and read back unchanged, unless the file itself held broken UTF-16, which no UTF-8
// file can carry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QChar separator = size > 0 && data[0] % 2 ? QChar(u',') : QChar(u'\t');
    const QString comment = QStringLiteral(";");
    const QString text = verdan::DecodeGridText(bytes);
    const QList<QStringList> records = verdan::ParseGridText(text, separator, comment);
    if (!text.isValidUtf16())
        return 0;
    QStringList lines;
    for (const QStringList& record : records)
        lines << verdan::FormatGridLine(record, separator, comment);
    const QString written = verdan::DecodeGridText(verdan::EncodeGridText(lines));
    if (verdan::ParseGridText(written, separator, comment) != records)
        std::abort();
    return 0;
}
