#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <vector>

namespace verdan {

// One value of a row as the file stores it.
struct TPageValue {
    enum class Kind : quint8 { Null, Integer, Real, Text, Blob };
    Kind Type = Kind::Null;
    qint64 Integer = 0;
    double Real = 0;
    QByteArray Bytes; // text in the file's encoding, or blob bytes
};

using TPageRow = std::vector<TPageValue>;

// A database file read page by page without the engine, trusting nothing in it: every page is checked
// before it is used, so damaged pages are skipped and the rows on sound pages are still found. Reads only.
class TPageFile {
public:
    TPageFile() = default;
    TPageFile(const TPageFile&) = delete;
    TPageFile& operator=(const TPageFile&) = delete;

    // Maps the file; false with Error() when it cannot be read or is no database of a size the format
    // allows (a damaged header page size is read from the file's length where possible).
    bool Open(const QString& path);
    // For files held in memory (tests, fuzzing).
    bool OpenBytes(const QByteArray& bytes);
    QString Error() const { return error_; }

    quint32 PageCount() const { return pageCount_; }
    int PageSize() const { return pageSize_; }
    int UsableSize() const { return usable_; }
    // 1 UTF-8, 2 UTF-16 little endian, 3 UTF-16 big endian.
    int TextEncoding() const { return encoding_; }
    // The page, or empty when it is beyond the file.
    QByteArrayView Page(quint32 number) const;
    // Pages of the free list, which hold no rows even when they still look like it.
    std::vector<quint32> FreePages() const;

    // Walks the table tree at `root`; calls `row` for each row of a sound page (rowid, values) and `page`
    // for every page of the tree it reaches (overflow pages included). A page that fails its checks is
    // counted in `damaged` and its subtree skipped. Pages in `seen` are not entered again.
    void WalkTable(quint32 root, std::vector<bool>& seen, int& damaged,
                   const std::function<void(qint64 rowid, TPageRow& values)>& row) const;
    // Walks the index tree at `root` the same way; `entry` gets each index record (its last value is the
    // rowid of the table's row).
    void WalkIndex(quint32 root, std::vector<bool>& seen, int& damaged,
                   const std::function<void(TPageRow& values)>& entry) const;
    // The rows of one table leaf page found outside every tree (its parent was damaged), when the page
    // passes its checks; false otherwise. Its overflow pages are marked in `seen`.
    bool ReadLeaf(quint32 number, std::vector<bool>& seen,
                  std::vector<std::pair<qint64, TPageRow>>& rows) const;
    // True for a page that starts as a table leaf.
    bool LooksLikeTableLeaf(quint32 number) const;

private:
    bool Init();
    struct Cell {
        qint64 rowid = 0;
        quint32 child = 0;
        QByteArray payload;
        bool complete = true;
    };
    // Checks a tree page and reads its cells; false when the page is damaged.
    bool ReadPage(quint32 number, int& type, quint32& rightChild, std::vector<Cell>& cells,
                  std::vector<bool>& seen) const;
    bool Payload(QByteArrayView page, qint64 offset, qint64 size, bool index, std::vector<bool>& seen,
                 QByteArray& out, bool& complete, qint64& end) const;

    QFile file_;
    QByteArray bytes_;
    const uchar* data_ = nullptr;
    qint64 size_ = 0;
    int pageSize_ = 0;
    int usable_ = 0;
    int encoding_ = 1;
    quint32 pageCount_ = 0;
    QString error_;
};

// Decodes a record (header of serial types, then the values); false when it does not hold together.
// A record cut short keeps the values that are whole and ends there.
bool DecodeRecord(const QByteArray& payload, bool complete, TPageRow& values);

} // namespace verdan
