#include "calendar/date_value_gedcom.h"
#include "gedcom/gedcom_encoding.h"
#include "gedcom/gedcom_reader.h"

#include <cstddef>
#include <cstdint>

// Any bytes a file may hold: encoding detection and conversion, then the record parser and the date
// reader, in both calendars, and the date written back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    QByteArray text(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QString encoding = verdan::DetectGedcomEncoding(text, QStringLiteral("windows-1256"));
    verdan::ConvertToUtf8(text, encoding);
    verdan::TGedcomData data;
    verdan::ParseGedcomRecords(text, data);
    const QString head = QString::fromUtf8(text.left(64));
    for (bool hijri : {false, true}) {
        const verdan::TDateValue date = verdan::ReadGedcomDate(head, hijri);
        verdan::GedcomDateText(date, hijri);
        verdan::GedcomDateText(verdan::GregorianStandIn(date));
    }
    return 0;
}
