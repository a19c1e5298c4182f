#include "gedcom/zip_archive.h"

#include <cstddef>
#include <cstdint>

// Any bytes offered as a GEDZIP archive: the central directory, the local headers and every entry read
// (stored or deflated, its checksum checked), with a small limit so that no input asks for much memory.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    verdan::LooksLikeZip(data);
    verdan::TZipReader zip;
    if (!zip.Open(data))
        return 0;
    QByteArray out;
    for (const QString& name : zip.Names())
        zip.Read(name, out, 1 << 20);
    return 0;
}
