#include "text/rtf_reader.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Reads arbitrary bytes as a description of an older tree file. Whatever they are, the reader ends, and
// the document it gives holds no more text than the input could carry and turns into HTML.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const verdan::TRtfDocument document = verdan::ReadRtf(bytes);
    qsizetype characters = 0;
    for (const verdan::TRtfParagraph& paragraph : document.Paragraphs)
        for (const verdan::TRtfRun& run : paragraph.Runs)
            characters += run.Text.size();
    if (characters > bytes.size() || document.Paragraphs.size() > bytes.size())
        std::abort();
    if (verdan::RtfDocumentToHtml(document).isEmpty())
        std::abort();
    return 0;
}
