#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

namespace verdan {

// Rows of texts packed one after another in large blocks, for lists of a million rows: a text whose
// characters all fit in one byte takes one byte a character, any other two, and every text a byte or two
// of length. A QStringList would take some 600 bytes a row in headers alone. Rows are only appended;
// a row is reached through the reference Append gave, which stays valid until Clear.
class TPackedRows {
public:
    using Ref = quint64;

    Ref Append(const QStringList& fields);
    // The number of fields of a row.
    int FieldCount(Ref row) const;
    // The text of a field; empty past the row's last field.
    QString Field(Ref row, int field) const;
    // Every field of the row.
    QStringList Fields(Ref row) const;
    void Clear();
    // The bytes taken by the blocks.
    qsizetype Bytes() const;

    static constexpr qsizetype kBlockSize = 1 << 20;

private:
    struct TBlock {
        std::unique_ptr<unsigned char[]> data;
        qsizetype size = 0;
        qsizetype used = 0;
    };
    // Where a field starts and how it is stored.
    struct TFieldAt {
        const unsigned char* text = nullptr;
        qsizetype length = 0;
        bool wide = false;
    };
    const unsigned char* RowStart(Ref row) const;
    static const unsigned char* ReadField(const unsigned char* at, TFieldAt& field);
    static QString Decode(const TFieldAt& field);

    std::vector<TBlock> blocks_;
};

} // namespace verdan
