#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace verdan {

// Reads the files of a zip archive held in memory (stored or deflated entries; archives of more than 4 GB
// are not read). Every offset and size comes from outside and is checked before use.
class TZipReader {
public:
    // False when the bytes are no zip archive this reader can read.
    bool Open(QByteArray bytes);
    // The names of the files, directories left out, in the archive's order.
    QStringList Names() const;
    bool Contains(const QString& name) const;
    // The bytes of the named file; false when it is missing, damaged, of an unknown compression, or larger
    // than limit bytes.
    bool Read(const QString& name, QByteArray& out, qint64 limit = qint64(1) << 31) const;

private:
    struct Entry {
        QString Name;
        quint16 Method = 0;
        quint32 Crc = 0;
        quint32 Packed = 0, Size = 0;
        quint32 Offset = 0; // of its local header
    };
    QByteArray Bytes;
    std::vector<Entry> Entries;
};

// Whether the bytes start as a zip archive does.
bool LooksLikeZip(const QByteArray& start);

// A zip archive of these files (name, bytes), each deflated; names are written as UTF-8.
QByteArray MakeZip(const std::vector<std::pair<QString, QByteArray>>& files);

} // namespace verdan
