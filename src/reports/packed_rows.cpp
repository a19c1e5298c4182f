#include "packed_rows.h"

#include <cstring>

namespace verdan {

namespace {

qsizetype VarintSize(quint64 value) {
    qsizetype size = 1;
    while (value >= 0x80) {
        value >>= 7;
        ++size;
    }
    return size;
}

unsigned char* WriteVarint(unsigned char* at, quint64 value) {
    while (value >= 0x80) {
        *at++ = static_cast<unsigned char>(value | 0x80);
        value >>= 7;
    }
    *at++ = static_cast<unsigned char>(value);
    return at;
}

const unsigned char* ReadVarint(const unsigned char* at, quint64& value) {
    value = 0;
    int shift = 0;
    while (*at & 0x80) {
        value |= quint64(*at++ & 0x7F) << shift;
        shift += 7;
    }
    value |= quint64(*at++) << shift;
    return at;
}

bool Narrow(QStringView text) {
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

} // namespace

TPackedRows::Ref TPackedRows::Append(const QStringList& fields) {
    qsizetype size = VarintSize(quint64(fields.size()));
    for (const QString& field : fields) {
        const bool wide = !Narrow(field);
        const qsizetype length = field.size();
        size += VarintSize(quint64(length) << 1) + (wide ? 2 * length : length);
    }
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < size) {
        TBlock block;
        block.size = std::max(kBlockSize, size);
        block.data = std::make_unique_for_overwrite<unsigned char[]>(block.size);
        blocks_.push_back(std::move(block));
    }
    TBlock& block = blocks_.back();
    const Ref ref = (Ref(blocks_.size() - 1) << 32) | Ref(block.used);
    unsigned char* at = WriteVarint(block.data.get() + block.used, quint64(fields.size()));
    for (const QString& field : fields) {
        const bool wide = !Narrow(field);
        const qsizetype length = field.size();
        at = WriteVarint(at, (quint64(length) << 1) | (wide ? 1 : 0));
        if (wide) {
            std::memcpy(at, field.constData(), 2 * length);
            at += 2 * length;
        } else {
            for (const QChar c : field)
                *at++ = static_cast<unsigned char>(c.unicode());
        }
    }
    block.used += size;
    return ref;
}

const unsigned char* TPackedRows::RowStart(Ref row) const {
    return blocks_[row >> 32].data.get() + (row & 0xFFFFFFFFu);
}

const unsigned char* TPackedRows::ReadField(const unsigned char* at, TFieldAt& field) {
    quint64 header = 0;
    at = ReadVarint(at, header);
    field.wide = header & 1;
    field.length = qsizetype(header >> 1);
    field.text = at;
    return at + (field.wide ? 2 * field.length : field.length);
}

QString TPackedRows::Decode(const TFieldAt& field) {
    if (field.length == 0)
        return {};
    if (!field.wide)
        return QString::fromLatin1(reinterpret_cast<const char*>(field.text), field.length);
    QString text(field.length, Qt::Uninitialized);
    std::memcpy(text.data(), field.text, 2 * field.length);
    return text;
}

int TPackedRows::FieldCount(Ref row) const {
    quint64 count = 0;
    ReadVarint(RowStart(row), count);
    return int(count);
}

QString TPackedRows::Field(Ref row, int field) const {
    quint64 count = 0;
    const unsigned char* at = ReadVarint(RowStart(row), count);
    if (field < 0 || quint64(field) >= count)
        return {};
    TFieldAt found;
    for (int i = 0; i <= field; ++i)
        at = ReadField(at, found);
    return Decode(found);
}

QStringList TPackedRows::Fields(Ref row) const {
    quint64 count = 0;
    const unsigned char* at = ReadVarint(RowStart(row), count);
    QStringList fields;
    fields.reserve(qsizetype(count));
    TFieldAt found;
    for (quint64 i = 0; i < count; ++i) {
        at = ReadField(at, found);
        fields << Decode(found);
    }
    return fields;
}

void TPackedRows::Clear() {
    blocks_.clear();
}

qsizetype TPackedRows::Bytes() const {
    qsizetype bytes = 0;
    for (const TBlock& block : blocks_)
        bytes += block.size;
    return bytes;
}

} // namespace verdan
