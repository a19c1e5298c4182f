#include "text/sml.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Reads arbitrary bytes as a document; whatever it gives must write out and read back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const verdan::TNode root = verdan::ParseSml(verdan::DecodeSmlBytes(bytes));
    const QString written = verdan::WriteSml(root);
    if (!root.Name.trimmed().isEmpty() && verdan::ParseSml(written) != root)
        std::abort();
    return 0;
}
