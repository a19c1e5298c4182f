#include "gedcom/gedcom_date.h"
#include "gedcom/gedcom_encoding.h"
#include "gedcom/gedcom_reader.h"

#include <cstddef>
#include <cstdint>

// Any bytes a file may hold: encoding detection and conversion, then the record parser and the date
// readers.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    QByteArray text(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QString encoding = verdan::DetectGedcomEncoding(text, QStringLiteral("windows-1256"));
    verdan::ConvertToUtf8(text, encoding);
    verdan::TGedcomData data;
    verdan::ParseGedcomRecords(text, data);
    verdan::ParseGedcomDate(QString::fromUtf8(text.left(64)));
    verdan::ReadableGedcomDate(QString::fromUtf8(text.left(64)));
    return 0;
}
