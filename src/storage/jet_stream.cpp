#include "jet_stream.h"

#include <cstring>
#include <memory>

namespace verdan {

namespace {

constexpr qint64 kChunk = 1 << 16;

} // namespace

TJetStreamReader::TJetStreamReader(Source source, qint64 maxValue)
    : source_(std::move(source)), maxValue_(maxValue) {
}

TJetStreamReader TJetStreamReader::FromBytes(const QByteArray& bytes, qint64 maxValue) {
    auto offset = std::make_shared<qint64>(0);
    return TJetStreamReader(
        [bytes, offset](char* to, qint64 size, QString&) {
            const qint64 n = std::min(size, qint64(bytes.size()) - *offset);
            std::memcpy(to, bytes.constData() + *offset, size_t(n));
            *offset += n;
            return n;
        },
        maxValue);
}

bool TJetStreamReader::Fail(const QString& reason) {
    if (!failed_) {
        failed_ = true;
        error_ = reason;
    }
    inTable_ = false;
    return false;
}

bool TJetStreamReader::Need(qint64 bytes) {
    if (failed_)
        return false;
    if (qint64(buffer_.size()) - pos_ >= bytes)
        return true;
    buffer_.remove(0, pos_);
    pos_ = 0;
    while (qint64(buffer_.size()) < bytes) {
        const qint64 have = buffer_.size();
        const qint64 want = std::max(kChunk, bytes - have);
        buffer_.resize(have + want);
        QString reason;
        const qint64 got = source_(buffer_.data() + have, want, reason);
        buffer_.resize(have + std::max<qint64>(got, 0));
        if (got < 0)
            return Fail(reason);
        if (got == 0)
            return Fail(QStringLiteral("the reading ended before the end of the file"));
    }
    return true;
}

bool TJetStreamReader::Byte(char& value) {
    if (!Need(1))
        return false;
    value = buffer_[pos_++];
    return true;
}

bool TJetStreamReader::U32(quint32& value) {
    if (!Need(4))
        return false;
    const auto* b = reinterpret_cast<const uchar*>(buffer_.constData() + pos_);
    value = quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
    pos_ += 4;
    return true;
}

bool TJetStreamReader::U64(quint64& value) {
    quint32 low = 0, high = 0;
    if (!U32(low) || !U32(high))
        return false;
    value = quint64(high) << 32 | low;
    return true;
}

bool TJetStreamReader::Bytes(QByteArray& value, qint64 length) {
    if (!Need(length))
        return false;
    value = buffer_.mid(pos_, length);
    pos_ += length;
    return true;
}

bool TJetStreamReader::Text(QString& value) {
    quint32 length = 0;
    if (!U32(length))
        return false;
    if (length > jet_stream::kMaxName)
        return Fail(QStringLiteral("a name is too long"));
    QByteArray bytes;
    if (!Bytes(bytes, length))
        return false;
    value = QString::fromUtf8(bytes);
    return true;
}

bool TJetStreamReader::NextTable(TJetTable& table) {
    TJetRow skipped;
    while (inTable_ && NextRow(skipped)) {
    }
    while (!failed_ && !finished_) {
        char tag = 0;
        if (!Byte(tag))
            return false;
        switch (tag) {
        case jet_stream::kCatalog: {
            quint64 rows = 0;
            if (!U64(rows))
                return false;
            totalRows_ = qint64(std::min<quint64>(rows, quint64(1) << 62));
            break;
        }
        case jet_stream::kTable: {
            table = TJetTable();
            quint32 count = 0;
            if (!Text(table.Name) || !U32(count))
                return false;
            if (count == 0 || count > jet_stream::kMaxColumns)
                return Fail(QStringLiteral("a table has no columns or too many"));
            for (quint32 i = 0; i < count; ++i) {
                TJetColumn column;
                char type = 0;
                quint32 size = 0;
                if (!Text(column.Name) || !Byte(type) || !U32(size))
                    return false;
                column.Type = TJetType(quint8(type));
                column.Size = int(std::min<quint32>(size, 1u << 30));
                table.Columns.append(column);
            }
            quint64 rows = 0;
            if (!U64(rows))
                return false;
            table.RowCount = qint64(std::min<quint64>(rows, quint64(1) << 62));
            columns_ = int(count);
            inTable_ = true;
            return true;
        }
        case jet_stream::kFail: {
            QString message;
            if (Text(message))
                Fail(message);
            return false;
        }
        case jet_stream::kDone:
            finished_ = true;
            return false;
        default:
            return Fail(QStringLiteral("the reading sent garbled data"));
        }
    }
    return false;
}

bool TJetStreamReader::NextRow(TJetRow& row) {
    if (!inTable_ || failed_)
        return false;
    char tag = 0;
    if (!Byte(tag))
        return false;
    if (tag == jet_stream::kEnd) {
        inTable_ = false;
        return false;
    }
    if (tag == jet_stream::kFail) {
        QString message;
        if (Text(message))
            Fail(message);
        return false;
    }
    if (tag != jet_stream::kRow)
        return Fail(QStringLiteral("the reading sent garbled data"));
    row.resize(size_t(columns_));
    for (TJetValue& value : row) {
        char present = 0;
        if (!Byte(present))
            return false;
        value.Null = present == 0;
        value.Bytes.clear();
        if (value.Null)
            continue;
        quint32 length = 0;
        if (!U32(length))
            return false;
        if (qint64(length) > maxValue_)
            return Fail(QStringLiteral("a value is larger than the file"));
        if (!Bytes(value.Bytes, length))
            return false;
    }
    return true;
}

} // namespace verdan
