#pragma once

#include "storage/jet_table_reader.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace verdan {

// The tables of a Jet file as the reading process sends them, message after message:
//   'C' rows(u64)                                            all rows of all tables, once the catalog is read
//   'T' name columns(u32) {name type(u8) size(u32)} rows(u64)  a table starts
//   'R' {present(u8) [length(u32) bytes]}                     a row: one value per column, 0 = null
//   'E'                                                       the table ends
//   'F' message                                               reading failed
//   'Z'                                                       the whole file was read
// Names and messages are a length (u32) and UTF-8 bytes; numbers are little-endian.
namespace jet_stream {
inline constexpr char kCatalog = 'C';
inline constexpr char kTable = 'T';
inline constexpr char kRow = 'R';
inline constexpr char kEnd = 'E';
inline constexpr char kFail = 'F';
inline constexpr char kDone = 'Z';
inline constexpr quint32 kMaxName = 4096;
inline constexpr quint32 kMaxColumns = 4096;
} // namespace jet_stream

// Reads that stream. Whatever arrives is checked, so garbled bytes end the reading as a failure.
class TJetStreamReader : public TJetTableReader {
public:
    // Puts up to `size` bytes into `to`: the number put, 0 at the end of the stream, -1 on a failure with
    // the reason.
    using Source = std::function<qint64(char* to, qint64 size, QString& reason)>;

    // `maxValue` bounds one value's bytes: nothing in a file is larger than the file.
    TJetStreamReader(Source source, qint64 maxValue);
    // Reads from bytes held in memory.
    static TJetStreamReader FromBytes(const QByteArray& bytes, qint64 maxValue);

    bool NextTable(TJetTable& table) override;
    bool NextRow(TJetRow& row) override;
    bool Failed() const override { return failed_; }
    QString Error() const override { return error_; }

    qint64 TotalRows() const { return totalRows_; } // -1 until the catalog was read
    bool Finished() const { return finished_; }     // the stream said the file was read to its end

private:
    bool Fail(const QString& reason);
    bool Need(qint64 bytes);
    bool Byte(char& value);
    bool U32(quint32& value);
    bool U64(quint64& value);
    bool Text(QString& value);
    bool Bytes(QByteArray& value, qint64 length);

    Source source_;
    qint64 maxValue_;
    QByteArray buffer_;
    qint64 pos_ = 0;
    bool failed_ = false;
    bool finished_ = false;
    bool inTable_ = false;
    int columns_ = 0;
    qint64 totalRows_ = -1;
    QString error_;
};

} // namespace verdan
