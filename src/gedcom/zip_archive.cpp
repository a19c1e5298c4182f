#include "zip_archive.h"

#include <cstring>
#include <zlib.h>

namespace verdan {

namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr int kEndSize = 22;
constexpr int kCentralSize = 46;
constexpr int kLocalSize = 30;

quint16 U16(const QByteArray& b, qint64 at) {
    return quint16(uchar(b[at]) | (uchar(b[at + 1]) << 8));
}

quint32 U32(const QByteArray& b, qint64 at) {
    return quint32(U16(b, at)) | (quint32(U16(b, at + 2)) << 16);
}

void Put16(QByteArray& b, quint16 v) {
    b += char(v & 0xFF);
    b += char(v >> 8);
}

void Put32(QByteArray& b, quint32 v) {
    Put16(b, quint16(v & 0xFFFF));
    Put16(b, quint16(v >> 16));
}

bool Inflate(const char* data, quint32 packed, quint32 size, QByteArray& out) {
    out.resize(qsizetype(size));
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    stream.avail_in = packed;
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = size;
    const int rc = inflate(&stream, Z_FINISH);
    const bool whole = (rc == Z_STREAM_END || (rc == Z_BUF_ERROR && stream.avail_out == 0 && size == 0)) &&
                       stream.total_out == size;
    inflateEnd(&stream);
    return whole;
}

QByteArray Deflate(const QByteArray& data) {
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int rc = deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return rc == Z_STREAM_END ? out : QByteArray();
}

} // namespace

bool LooksLikeZip(const QByteArray& start) {
    return start.size() >= 4 && U32(start, 0) == kLocalHeader;
}

bool TZipReader::Open(QByteArray bytes) {
    Bytes = std::move(bytes);
    Entries.clear();
    const qint64 n = Bytes.size();
    if (n < kEndSize)
        return false;
    // The end record is last, after a comment of at most 64 KB.
    qint64 end = -1;
    for (qint64 at = n - kEndSize; at >= 0 && at >= n - kEndSize - 0xFFFF; --at)
        if (U32(Bytes, at) == kEndOfDirectory) {
            end = at;
            break;
        }
    if (end < 0)
        return false;
    const quint16 count = U16(Bytes, end + 10);
    const quint32 size = U32(Bytes, end + 12);
    const quint32 start = U32(Bytes, end + 16);
    if (qint64(start) + qint64(size) > end)
        return false;
    qint64 at = start;
    for (int i = 0; i < count; ++i) {
        if (at + kCentralSize > end || U32(Bytes, at) != kCentralHeader)
            return false;
        Entry e;
        e.Method = U16(Bytes, at + 10);
        e.Crc = U32(Bytes, at + 16);
        e.Packed = U32(Bytes, at + 20);
        e.Size = U32(Bytes, at + 24);
        const quint16 nameLength = U16(Bytes, at + 28);
        const quint16 extra = U16(Bytes, at + 30);
        const quint16 comment = U16(Bytes, at + 32);
        e.Offset = U32(Bytes, at + 42);
        if (at + kCentralSize + nameLength > end)
            return false;
        e.Name = QString::fromUtf8(Bytes.constData() + at + kCentralSize, nameLength);
        at += kCentralSize + nameLength + extra + comment;
        if (!e.Name.endsWith(u'/'))
            Entries.push_back(e);
    }
    return true;
}

QStringList TZipReader::Names() const {
    QStringList names;
    for (const Entry& e : Entries)
        names << e.Name;
    return names;
}

bool TZipReader::Contains(const QString& name) const {
    for (const Entry& e : Entries)
        if (e.Name == name)
            return true;
    return false;
}

bool TZipReader::Read(const QString& name, QByteArray& out, qint64 limit) const {
    out.clear();
    for (const Entry& e : Entries) {
        if (e.Name != name)
            continue;
        if (qint64(e.Size) > limit)
            return false;
        const qint64 header = e.Offset;
        if (header + kLocalSize > Bytes.size() || U32(Bytes, header) != kLocalHeader)
            return false;
        const qint64 data = header + kLocalSize + U16(Bytes, header + 26) + U16(Bytes, header + 28);
        if (data + qint64(e.Packed) > Bytes.size())
            return false;
        bool ok = false;
        if (e.Method == 0 && e.Packed == e.Size) {
            out = Bytes.mid(data, e.Size);
            ok = true;
        } else if (e.Method == 8) {
            ok = Inflate(Bytes.constData() + data, e.Packed, e.Size, out);
        }
        if (ok && crc32(0, reinterpret_cast<const Bytef*>(out.constData()), uInt(out.size())) == e.Crc)
            return true;
        out.clear();
        return false;
    }
    return false;
}

QByteArray MakeZip(const std::vector<std::pair<QString, QByteArray>>& files) {
    QByteArray zip, directory;
    for (const auto& file : files) {
        const QByteArray& data = file.second;
        const QByteArray utf8 = file.first.toUtf8();
        const QByteArray packed = Deflate(data);
        const bool stored = packed.isEmpty() && !data.isEmpty();
        const QByteArray& body = stored ? data : packed;
        const quint32 crc = crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
        const quint32 offset = quint32(zip.size());
        const auto header = [&](QByteArray& out, bool central) {
            Put32(out, central ? kCentralHeader : kLocalHeader);
            if (central)
                Put16(out, 20); // made by
            Put16(out, 20);     // needed to extract
            Put16(out, 0x0800); // names in UTF-8
            Put16(out, stored ? 0 : 8);
            Put16(out, 0);    // time
            Put16(out, 0x21); // date: 1 January 1980
            Put32(out, crc);
            Put32(out, quint32(body.size()));
            Put32(out, quint32(data.size()));
            Put16(out, quint16(utf8.size()));
            Put16(out, 0); // extra
            if (central) {
                Put16(out, 0); // comment
                Put16(out, 0); // disk
                Put16(out, 0); // internal attributes
                Put32(out, 0); // external attributes
                Put32(out, offset);
            }
            out += utf8;
        };
        header(zip, false);
        zip += body;
        header(directory, true);
    }
    const quint32 start = quint32(zip.size());
    zip += directory;
    Put32(zip, kEndOfDirectory);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, quint16(files.size()));
    Put16(zip, quint16(files.size()));
    Put32(zip, quint32(directory.size()));
    Put32(zip, start);
    Put16(zip, 0);
    return zip;
}

} // namespace verdan
