#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

namespace verdan {

// Writes the files of a site into its folder, and only those that changed: the folder keeps a list of
// the files this program wrote there, each with a digest of its bytes, so a second export of a tree with
// a few edits rewrites a few files. Files of the earlier export that this one no longer makes are removed;
// nothing else in the folder is ever touched.
class TSiteOutput {
public:
    // The name of the list in the site's folder.
    static const char* const kManifestName;

    explicit TSiteOutput(const QString& folder);

    // Checks the folder: it may be missing, empty or hold an earlier site; anything else is refused (a
    // folder of other files is no place to write a site into), with `error` translated.
    bool Open(QString& error);

    // Writes the file unless the earlier export wrote the same bytes there and the file is still there.
    bool Write(const QByteArray& path, const QByteArray& bytes, QString& error);
    // Keeps a file of the earlier export as it is (a scaled picture whose original did not change); false
    // when there was none, or it is gone.
    bool Keep(const QByteArray& path);

    // What the earlier export noted about a file's source, and the note for this one (kept in the list).
    QByteArray SourceNote(const QByteArray& path) const { return oldSources_.value(path); }
    void SetSourceNote(const QByteArray& path, const QByteArray& note) { newSources_.insert(path, note); }

    // Removes what the earlier export wrote and this one did not, then writes the list.
    bool Finish(QString& error);

    int Written() const { return written_; }
    int Unchanged() const { return unchanged_; }
    int Removed() const { return removed_; }

    // The digest the list keeps of a file's bytes.
    static quint64 Digest(QByteArrayView bytes);

private:
    bool EnsureFolder(const QByteArray& path, QString& error);
    bool WriteFile(const QString& file, const QByteArray& bytes);

    QString folder_;
    QHash<QByteArray, quint64> old_, new_;
    QHash<QByteArray, QByteArray> oldSources_, newSources_;
    QSet<QByteArray> folders_;
    int written_ = 0, unchanged_ = 0, removed_ = 0;
};

} // namespace verdan
