#include "page_file.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace verdan {

namespace {

enum PageType : uchar {
    kIndexInterior = 2,
    kTableInterior = 5,
    kIndexLeaf = 10,
    kTableLeaf = 13,
};

// Nothing in a row is larger than this; a larger size is damage.
constexpr qint64 kMaxPayload = 1'000'000'000;

quint16 U16(const uchar* p) {
    return qFromBigEndian<quint16>(p);
}

quint32 U32(const uchar* p) {
    return qFromBigEndian<quint32>(p);
}

// A variable-length integer of the file format at `at`, which moves past it; false when it runs past end.
bool Varint(const uchar* data, qint64 end, qint64& at, quint64& value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
        if (at >= end)
            return false;
        const uchar byte = data[at++];
        if (i == 8) {
            value = (value << 8) | byte;
            return true;
        }
        value = (value << 7) | (byte & 0x7f);
        if ((byte & 0x80) == 0)
            return true;
    }
    return true;
}

bool IsPowerOfTwoPage(qint64 size) {
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

// Bytes of a value of the serial type, -1 for a type no record holds.
qint64 SerialSize(quint64 type) {
    static const qint64 sizes[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
    if (type < 10)
        return sizes[type];
    if (type < 12)
        return -1;
    return qint64((type - 12) / 2);
}

} // namespace

bool DecodeRecord(const QByteArray& payload, bool complete, TPageRow& values) {
    values.clear();
    const auto* data = reinterpret_cast<const uchar*>(payload.constData());
    const qint64 size = payload.size();
    qint64 at = 0;
    quint64 headerSize = 0;
    if (!Varint(data, size, at, headerSize) || headerSize < quint64(at) || qint64(headerSize) > size)
        return false;
    std::vector<quint64> types;
    while (at < qint64(headerSize)) {
        quint64 type = 0;
        if (!Varint(data, qint64(headerSize), at, type) || SerialSize(type) < 0)
            return false;
        types.push_back(type);
    }
    qint64 body = qint64(headerSize);
    for (const quint64 type : types) {
        const qint64 bytes = SerialSize(type);
        if (bytes > size - body) {
            if (complete)
                return false;
            break; // the rest of the row was on a page that cannot be read
        }
        TPageValue& value = values.emplace_back();
        const uchar* p = data + body;
        if (type == 0) {
            value.Type = TPageValue::Kind::Null;
        } else if (type <= 6) {
            qint64 v = (p[0] & 0x80) ? -1 : 0;
            for (qint64 i = 0; i < bytes; ++i)
                v = qint64((quint64(v) << 8) | p[i]);
            value.Type = TPageValue::Kind::Integer;
            value.Integer = v;
        } else if (type == 7) {
            const quint64 bits = qFromBigEndian<quint64>(p);
            std::memcpy(&value.Real, &bits, sizeof bits);
            value.Type = TPageValue::Kind::Real;
        } else if (type == 8 || type == 9) {
            value.Type = TPageValue::Kind::Integer;
            value.Integer = type == 9 ? 1 : 0;
        } else {
            value.Type = type % 2 == 0 ? TPageValue::Kind::Blob : TPageValue::Kind::Text;
            value.Bytes = QByteArray(reinterpret_cast<const char*>(p), bytes);
        }
        body += bytes;
    }
    // The values of a whole record fill it exactly; anything else is not a record.
    return !complete || body == size;
}

bool TPageFile::Open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = file_.errorString();
        return false;
    }
    size_ = file_.size();
    data_ = size_ > 0 ? file_.map(0, size_) : nullptr;
    if (!data_) {
        // Not mappable (an empty file, a special file): read it instead.
        bytes_ = file_.readAll();
        size_ = bytes_.size();
        data_ = reinterpret_cast<const uchar*>(bytes_.constData());
    }
    return Init();
}

bool TPageFile::OpenBytes(const QByteArray& bytes) {
    bytes_ = bytes;
    size_ = bytes_.size();
    data_ = reinterpret_cast<const uchar*>(bytes_.constData());
    return Init();
}

bool TPageFile::Init() {
    if (size_ < 512 || !data_) {
        error_ = QStringLiteral("the file is too small to be a database");
        return false;
    }
    const quint32 raw = U16(data_ + 16);
    qint64 pageSize = raw == 1 ? 65536 : raw;
    // A damaged header: the usual page size, when the file's length fits it.
    if (!IsPowerOfTwoPage(pageSize) || size_ % pageSize != 0)
        pageSize = size_ % 4096 == 0 ? 4096 : (IsPowerOfTwoPage(pageSize) ? pageSize : 4096);
    pageSize_ = int(pageSize);
    const int reserved = data_[20];
    usable_ = pageSize_ - (reserved <= pageSize_ - 480 ? reserved : 0);
    encoding_ = U32(data_ + 56);
    if (encoding_ < 1 || encoding_ > 3)
        encoding_ = 1;
    pageCount_ = quint32(std::min<qint64>(size_ / pageSize_, 0x7fffffff));
    // Pages past the count the header keeps while it is current belong to no database.
    const quint32 counted = U32(data_ + 28);
    if (U32(data_ + 24) == U32(data_ + 92) && counted > 0 && counted < pageCount_)
        pageCount_ = counted;
    return true;
}

QByteArrayView TPageFile::Page(quint32 number) const {
    if (number < 1 || number > pageCount_)
        return {};
    const qint64 at = qint64(number - 1) * pageSize_;
    if (at + pageSize_ > size_)
        return {};
    return QByteArrayView(reinterpret_cast<const char*>(data_ + at), pageSize_);
}

std::vector<quint32> TPageFile::FreePages() const {
    std::vector<quint32> pages;
    quint32 trunk = U32(data_ + 32);
    std::vector<bool> visited(size_t(pageCount_) + 1);
    while (trunk >= 2 && trunk <= pageCount_ && !visited[trunk] && pages.size() < pageCount_) {
        visited[trunk] = true;
        pages.push_back(trunk);
        const auto* page = reinterpret_cast<const uchar*>(Page(trunk).data());
        const quint32 count = std::min<quint32>(U32(page + 4), quint32(usable_ / 4 - 2));
        for (quint32 i = 0; i < count; ++i) {
            const quint32 leaf = U32(page + 8 + 4 * i);
            if (leaf >= 2 && leaf <= pageCount_)
                pages.push_back(leaf);
        }
        trunk = U32(page);
    }
    return pages;
}

bool TPageFile::Payload(QByteArrayView page, qint64 offset, qint64 size, bool index, std::vector<bool>& seen,
                        QByteArray& out, bool& complete, qint64& end) const {
    const qint64 u = usable_;
    const qint64 maxLocal = index ? ((u - 12) * 64 / 255) - 23 : u - 35;
    const qint64 minLocal = ((u - 12) * 32 / 255) - 23;
    qint64 local = size;
    if (size > maxLocal) {
        const qint64 k = minLocal + ((size - minLocal) % (u - 4));
        local = k <= maxLocal ? k : minLocal;
    }
    const bool overflows = local < size;
    end = offset + local + (overflows ? 4 : 0);
    if (local < 0 || end > u)
        return false;
    out = QByteArray(page.data() + offset, local);
    complete = true;
    if (!overflows)
        return true;
    out.reserve(size);
    quint32 next = U32(reinterpret_cast<const uchar*>(page.data()) + offset + local);
    qint64 remaining = size - local;
    while (remaining > 0) {
        if (next < 2 || next > pageCount_ || seen[next]) {
            complete = false;
            break;
        }
        seen[next] = true;
        const QByteArrayView overflow = Page(next);
        const qint64 take = std::min<qint64>(remaining, u - 4);
        out.append(overflow.data() + 4, take);
        remaining -= take;
        next = U32(reinterpret_cast<const uchar*>(overflow.data()));
    }
    return true;
}

bool TPageFile::ReadPage(quint32 number, int& type, quint32& rightChild, std::vector<Cell>& cells,
                         std::vector<bool>& seen) const {
    cells.clear();
    if (number < 1 || number > pageCount_ || seen[number])
        return false;
    seen[number] = true;
    const QByteArrayView page = Page(number);
    if (page.isEmpty())
        return false;
    const auto* p = reinterpret_cast<const uchar*>(page.data());
    const qint64 header = number == 1 ? 100 : 0;
    type = p[header];
    const bool interior = type == kTableInterior || type == kIndexInterior;
    if (type != kTableInterior && type != kTableLeaf && type != kIndexInterior && type != kIndexLeaf)
        return false;
    const qint64 count = U16(p + header + 3);
    const qint64 contentStart = U16(p + header + 5) == 0 ? 65536 : U16(p + header + 5);
    const qint64 pointers = header + (interior ? 12 : 8);
    const qint64 pointersEnd = pointers + 2 * count;
    if (pointersEnd > usable_ || (count > 0 && (contentStart < pointersEnd || contentStart > usable_)))
        return false;
    rightChild = interior ? U32(p + header + 8) : 0;
    const bool index = type == kIndexInterior || type == kIndexLeaf;
    cells.reserve(size_t(count));
    for (qint64 i = 0; i < count; ++i) {
        qint64 at = U16(p + pointers + 2 * i);
        if (at < pointersEnd || at >= usable_)
            return false;
        Cell& cell = cells.emplace_back();
        if (interior) {
            if (at + 4 > usable_)
                return false;
            cell.child = U32(p + at);
            at += 4;
        }
        quint64 size = 0;
        if (type == kTableInterior) {
            quint64 key = 0;
            if (!Varint(p, usable_, at, key))
                return false;
            cell.rowid = qint64(key);
            continue;
        }
        if (!Varint(p, usable_, at, size) || size > quint64(kMaxPayload))
            return false;
        if (type == kTableLeaf) {
            quint64 rowid = 0;
            if (!Varint(p, usable_, at, rowid))
                return false;
            cell.rowid = qint64(rowid);
        }
        qint64 end = 0;
        if (!Payload(page, at, qint64(size), index, seen, cell.payload, cell.complete, end))
            return false;
    }
    return true;
}

void TPageFile::WalkTable(quint32 root, std::vector<bool>& seen, int& damaged,
                          const std::function<void(qint64 rowid, TPageRow& values)>& row) const {
    std::vector<quint32> stack{root};
    std::vector<Cell> cells;
    TPageRow values;
    while (!stack.empty()) {
        const quint32 number = stack.back();
        stack.pop_back();
        int type = 0;
        quint32 right = 0;
        if (!ReadPage(number, type, right, cells, seen) || (type != kTableInterior && type != kTableLeaf)) {
            ++damaged;
            continue;
        }
        if (type == kTableInterior) {
            // Children go on the stack last first, so the rows come in the order of their keys.
            stack.push_back(right);
            for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell)
                stack.push_back(cell->child);
            continue;
        }
        for (Cell& cell : cells)
            if (DecodeRecord(cell.payload, cell.complete, values))
                row(cell.rowid, values);
    }
}

void TPageFile::WalkIndex(quint32 root, std::vector<bool>& seen, int& damaged,
                          const std::function<void(TPageRow& values)>& entry) const {
    std::vector<quint32> stack{root};
    std::vector<Cell> cells;
    TPageRow values;
    while (!stack.empty()) {
        const quint32 number = stack.back();
        stack.pop_back();
        int type = 0;
        quint32 right = 0;
        if (!ReadPage(number, type, right, cells, seen) || (type != kIndexInterior && type != kIndexLeaf)) {
            ++damaged;
            continue;
        }
        if (type == kIndexInterior) {
            stack.push_back(right);
            for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell)
                stack.push_back(cell->child);
        }
        // Interior cells of an index hold entries too.
        for (Cell& cell : cells)
            if (DecodeRecord(cell.payload, cell.complete, values))
                entry(values);
    }
}

bool TPageFile::LooksLikeTableLeaf(quint32 number) const {
    const QByteArrayView page = Page(number);
    return !page.isEmpty() && uchar(page[number == 1 ? 100 : 0]) == kTableLeaf;
}

bool TPageFile::ReadLeaf(quint32 number, std::vector<bool>& seen,
                         std::vector<std::pair<qint64, TPageRow>>& rows) const {
    rows.clear();
    std::vector<Cell> cells;
    int type = 0;
    quint32 right = 0;
    if (!ReadPage(number, type, right, cells, seen) || type != kTableLeaf)
        return false;
    TPageRow values;
    for (Cell& cell : cells) {
        if (!DecodeRecord(cell.payload, cell.complete, values))
            return false; // a page of garbage that happened to start as a leaf
        rows.emplace_back(cell.rowid, values);
    }
    return true;
}

} // namespace verdan
