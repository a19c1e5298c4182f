#include "storage/jet_stream.h"
#include "storage/jet_values.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Reads arbitrary bytes as the stream of the reading process and every value through the decoders of its
// column's type; the header reader gets the same bytes as a first page. Nothing may crash or hang, and a
// stream that did not end properly must say it failed.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    verdan::ReadJetHeader(bytes);
    verdan::TJetStreamReader reader = verdan::TJetStreamReader::FromBytes(bytes, 1 << 20);
    verdan::TJetTable table;
    verdan::TJetRow row;
    while (reader.NextTable(table)) {
        while (reader.NextRow(row)) {
            for (size_t c = 0; c < row.size() && c < size_t(table.Columns.size()); ++c) {
                const verdan::TJetType type = table.Columns[qsizetype(c)].Type;
                qint64 integer;
                double real;
                verdan::DecodeJetText(row[c].Bytes);
                verdan::JetGuidText(row[c].Bytes);
                verdan::JetInteger(type, row[c].Bytes, integer);
                if (verdan::JetReal(type, row[c].Bytes, real))
                    verdan::JetDateTimeStamp(real);
            }
        }
    }
    if (!reader.Finished() && !reader.Failed())
        std::abort();
    return 0;
}
