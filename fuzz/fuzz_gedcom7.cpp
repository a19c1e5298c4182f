#include "calendar/date_value_gedcom7.h"
#include "gedcom/gedcom7_reader.h"
#include "gedcom/gedcom_reader.h"

#include <cstddef>
#include <cstdint>

// Any bytes a GEDCOM 7 file may hold: the header check, the rewriting into the older form and the record
// parser over it, and the current form's date grammar over the first line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(bytes), qsizetype(size));
    verdan::IsGedcom7Header(text);
    verdan::TGedcomData data;
    verdan::ParseGedcomRecords(verdan::Gedcom7ToOlderForm(text), data);
    const QString head = QString::fromUtf8(text.left(80));
    verdan::IsGedcom7DateValue(head);
    verdan::Gedcom7ToOlderDateText(head, u"_HIJRI");
    return 0;
}
