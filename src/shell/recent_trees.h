#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace verdan {

struct TTreeProperty;

// One line of user/trees.dat, as stored: texts trimmed, never decorated for display.
struct TRecentTree {
    QString TreeName;
    QString Creator;
    QString File;
    QString LastModified; // yyyy-MM-dd (older lists: the system's short date format); may be empty

    bool operator==(const TRecentTree&) const = default;
};

QString RecentTreesFileName();

// The list of recently opened trees, newest first. There is one list per program folder: it is read from
// user/trees.dat before its first use and written back, atomically, after every change, so no window can
// overwrite the file with a list it never read.
class TRecentTrees : public QObject {
    Q_OBJECT

public:
    const QList<TRecentTree>& Items();
    int Count() { return static_cast<int>(Items().size()); }
    // The row whose file, made absolute, is `path`; -1 when none is.
    int IndexOf(const QString& path);

    // Puts the tree at the top: an existing row of its file takes the new names and date and moves up;
    // otherwise a new first row is added. A blank path changes nothing.
    void Record(const TTreeProperty& props);
    void Remove(int index);
    // Reads the file again, dropping what is only in memory.
    void Reload();
    // Writes the list; false when the file could not be written (the old file then stays as it was).
    bool Save();

    // The lines of a trees.dat text and the text of a list (UTF-8 with a byte-order mark, CR LF).
    static QList<TRecentTree> Parse(const QByteArray& bytes);
    static QByteArray Format(const QList<TRecentTree>& items);

signals:
    void Changed();

private:
    void EnsureLoaded();
    void Commit();

    QList<TRecentTree> items_;
    QString loadedFrom_; // the file the list belongs to; empty before the first use
};

TRecentTrees& RecentTrees();

// True when the list holds at least one tree.
bool RecentTreesExist();
// Puts the tree at the top of the list and saves it.
void RecordRecentTree(const TTreeProperty& props);

} // namespace verdan
