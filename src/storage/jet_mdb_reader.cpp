#include "jet_mdb_reader.h"

#include "jet_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mdbtools.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace verdan {

namespace {

// The offset bits of a row's entry in a data page; the high bits are flags.
constexpr int kRowOffsetMask = 0x1fff;
constexpr size_t kMemoHeader = 12;
constexpr uint32_t kInlineMemo = 0x80000000u;
constexpr uint32_t kMemoLengthMask = 0x3fffffffu;

class Writer {
public:
    explicit Writer(int fd) : fd_(fd) { buffer_.reserve(kFlushAt * 2); }

    void Byte(char c) { buffer_.push_back(c); }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            buffer_.push_back(char(v >> (8 * i)));
    }
    void U64(uint64_t v) {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    void Bytes(const void* data, size_t n) {
        const char* p = static_cast<const char*>(data);
        buffer_.insert(buffer_.end(), p, p + n);
        if (buffer_.size() >= kFlushAt)
            Flush();
    }
    void Text(const char* text) {
        const size_t n = std::min(std::strlen(text), size_t(jet_stream::kMaxName));
        U32(uint32_t(n));
        Bytes(text, n);
    }
    void Fail(const char* reason) {
        Byte(jet_stream::kFail);
        Text(reason);
        Flush();
    }
    // False once the program stopped listening.
    bool Flush() {
        size_t done = 0;
        while (ok_ && done < buffer_.size()) {
            const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ok_ = false;
            else
                done += size_t(n);
        }
        buffer_.clear();
        return ok_;
    }
    bool Ok() const { return ok_; }

private:
    static constexpr size_t kFlushAt = 1 << 16;
    int fd_;
    bool ok_ = true;
    std::vector<char> buffer_;
};

uint32_t Le32(const void* p) {
    const auto* b = static_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// A memo or OLE value: the row holds a header that tells where the bytes are, in the row itself or on
// pages of their own. False when the value cannot be read or is larger than maxValue.
bool ReadLongValue(MdbHandle* mdb, MdbColumn* col, const MdbField& field, long long maxValue,
                   std::vector<char>& chunk, std::string& value) {
    if (field.siz < int(kMemoHeader))
        return false;
    const uint32_t header = Le32(field.value);
    if ((header & kInlineMemo) && (header & kMemoLengthMask) > uint32_t(field.siz) - kMemoHeader)
        return false;
    col->bind_ptr = chunk.data();
    size_t n = mdb_ole_read(mdb, col, field.value, chunk.size());
    while (n > 0) {
        if (n > chunk.size() || value.size() + n > size_t(maxValue)) {
            col->bind_ptr = nullptr;
            return false;
        }
        value.append(chunk.data(), n);
        n = mdb_ole_read_next(mdb, col, field.value);
    }
    col->bind_ptr = nullptr;
    return true;
}

// One row: the values of the columns in order. False when the row cannot be read.
bool WriteRow(Writer& out, MdbTableDef* table, MdbField* fields, long long maxValue,
              std::vector<char>& chunk) {
    MdbHandle* mdb = table->entry->mdb;
    int start = 0;
    size_t length = 0;
    if (mdb_find_row(mdb, int(table->cur_row) - 1, &start, &length) != 0)
        return false;
    if (mdb_crack_row(table, start & kRowOffsetMask, length, fields) != int(table->num_cols))
        return false;
    out.Byte(jet_stream::kRow);
    std::string value;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        const MdbField& field = fields[c];
        value.clear();
        switch (col->col_type) {
        case MDB_BOOL:
            // A boolean lives in the row's null bits: a set bit is true.
            value.push_back(field.is_null ? 0 : 1);
            break;
        case MDB_MEMO:
        case MDB_OLE:
            if (field.is_null)
                break;
            if (!ReadLongValue(mdb, col, field, maxValue, chunk, value))
                return false;
            break;
        case MDB_NUMERIC:
            if (field.is_null)
                break;
            if (char* text = mdb_numeric_to_string(mdb, field.start, col->col_scale, col->col_prec)) {
                value = text;
                g_free(text);
            }
            break;
        case MDB_COMPLEX:
            break;
        default:
            if (field.is_null)
                break;
            if (field.siz < 0 || field.siz > maxValue)
                return false;
            value.assign(static_cast<const char*>(field.value), size_t(field.siz));
            break;
        }
        const bool null = col->col_type != MDB_BOOL && (field.is_null || col->col_type == MDB_COMPLEX ||
                                                        (col->col_type == MDB_NUMERIC && value.empty()));
        out.Byte(null ? 0 : 1);
        if (!null) {
            out.U32(uint32_t(value.size()));
            out.Bytes(value.data(), value.size());
        }
    }
    return out.Ok();
}

void WriteTables(Writer& out, MdbHandle* mdb, long long maxValue, bool tablesOnly) {
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        return out.Fail("the list of tables could not be read");
    std::vector<MdbTableDef*> tables;
    uint64_t rows = 0;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        MdbTableDef* table = mdb_read_table(entry);
        if (!table || !mdb_read_columns(table) || table->num_cols == 0 ||
            table->num_cols > jet_stream::kMaxColumns) {
            if (table)
                mdb_free_tabledef(table);
            for (MdbTableDef* t : tables)
                mdb_free_tabledef(t);
            return out.Fail("a table could not be read");
        }
        tables.push_back(table);
        rows += table->num_rows;
    }
    out.Byte(jet_stream::kCatalog);
    out.U64(rows);
    std::vector<MdbField> fields(std::max<size_t>(MDB_MAX_COLS, jet_stream::kMaxColumns));
    std::vector<char> chunk(1 << 16);
    bool ok = true;
    for (MdbTableDef* table : tables) {
        if (!ok)
            break;
        out.Byte(jet_stream::kTable);
        out.Text(table->name);
        out.U32(table->num_cols);
        for (unsigned c = 0; c < table->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            out.Text(col->name);
            out.Byte(char(col->col_type));
            out.U32(uint32_t(std::max(col->col_size, 0)));
        }
        out.U64(table->num_rows);
        mdb_rewind_table(table);
        while (ok && !tablesOnly && mdb_fetch_row(table))
            ok = WriteRow(out, table, fields.data(), maxValue, chunk);
        if (ok)
            out.Byte(jet_stream::kEnd);
        else if (out.Ok())
            out.Fail("a row could not be read");
    }
    for (MdbTableDef* table : tables)
        mdb_free_tabledef(table);
    if (ok)
        out.Byte(jet_stream::kDone);
}

} // namespace

void StreamJetTables(const char* path, int fd, long long maxValue, bool tablesOnly) {
    Writer out(fd);
    MdbHandle* mdb = mdb_open(path, MDB_NOFLAGS);
    if (!mdb) {
        out.Fail("the file could not be opened as a database");
        return;
    }
    WriteTables(out, mdb, maxValue, tablesOnly);
    out.Flush();
    mdb_close(mdb);
}

} // namespace verdan
