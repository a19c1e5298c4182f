#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace verdan {

// Column types of a Jet 4.0 database file, by the codes the file itself uses.
enum class TJetType : quint8 {
    Bool = 0x01,
    Byte = 0x02,
    Int = 0x03,     // 16-bit
    LongInt = 0x04, // 32-bit, also the auto-numbers
    Money = 0x05,   // 64-bit, in ten-thousandths
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08, // days since 30 December 1899, the time of day as the fraction
    Binary = 0x09,
    Text = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
    Guid = 0x0f,
    Numeric = 0x10, // delivered as its decimal text
    Complex = 0x12,
};

struct TJetColumn {
    QString Name;
    TJetType Type = TJetType::Text;
    int Size = 0; // bytes of a fixed column, the largest size of a text
};

struct TJetTable {
    QString Name;
    QList<TJetColumn> Columns;
    qint64 RowCount = -1; // as the file's table definition says; -1 when unknown
};

// One value as the file stores it: integers and reals little-endian in their width, a boolean as one byte
// 0 or 1, texts in the file's Unicode form (UCS-2, or the compressed form that starts with FF FE), binary
// columns and pictures as their bytes.
struct TJetValue {
    bool Null = true;
    QByteArray Bytes;
};
using TJetRow = std::vector<TJetValue>;

// The tables of a Jet database file one after the other, each with its rows. Reading the old tree files
// goes through it, so the conversion can be tested without such files.
class TJetTableReader {
public:
    virtual ~TJetTableReader() = default;
    // Moves to the next user table, skipping what is left of the current one; false when there is none
    // left or reading failed.
    virtual bool NextTable(TJetTable& table) = 0;
    // The next row of the current table, one value per column; false at the table's end or on a failure.
    virtual bool NextRow(TJetRow& row) = 0;
    // Reading stopped before the end of the file: it is damaged (or not what it claims to be).
    virtual bool Failed() const = 0;
    // What went wrong, in the reader's words; may be empty.
    virtual QString Error() const = 0;
};

} // namespace verdan
