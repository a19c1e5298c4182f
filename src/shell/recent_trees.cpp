#include "recent_trees.h"

#include "reports/grid_text_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSet>

namespace verdan {

namespace {

const QChar kSeparator = u'\t';
const QString kComment = QStringLiteral(";");

QString AbsolutePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Kept as an ISO date, so that the start page can show it in whatever language the interface speaks.
QString StoredDate(const QDateTime& time) {
    return time.isValid() ? time.date().toString(Qt::ISODate) : QString();
}

} // namespace

QString RecentTreesFileName() {
    return ProgramFolder() + QStringLiteral("user/trees.dat");
}

QList<TRecentTree> TRecentTrees::Parse(const QByteArray& bytes) {
    QList<TRecentTree> items;
    QSet<QString> files;
    for (const QStringList& fields : ParseGridText(DecodeGridText(bytes), kSeparator, kComment)) {
        auto field = [&fields](int i) {
            return i < fields.size() ? fields[i].trimmed() : QString();
        };
        const TRecentTree item{field(0), field(1), field(2), field(3)};
        // Rows without a file cannot be opened; a file listed twice keeps its newer (upper) row.
        if (item.File.isEmpty() || files.contains(AbsolutePath(item.File)))
            continue;
        files.insert(AbsolutePath(item.File));
        items.append(item);
    }
    return items;
}

QByteArray TRecentTrees::Format(const QList<TRecentTree>& items) {
    QStringList lines;
    for (const TRecentTree& item : items)
        lines.append(FormatGridLine({item.TreeName, item.Creator, item.File, item.LastModified}, kSeparator,
                                    kComment));
    return EncodeGridText(lines);
}

void TRecentTrees::EnsureLoaded() {
    if (loadedFrom_ != RecentTreesFileName())
        Reload();
}

void TRecentTrees::Reload() {
    loadedFrom_ = RecentTreesFileName();
    QFile file(loadedFrom_);
    items_ = file.open(QIODevice::ReadOnly) ? Parse(file.readAll()) : QList<TRecentTree>();
    emit Changed();
}

const QList<TRecentTree>& TRecentTrees::Items() {
    EnsureLoaded();
    return items_;
}

int TRecentTrees::IndexOf(const QString& path) {
    if (path.trimmed().isEmpty())
        return -1;
    const QString wanted = AbsolutePath(path);
    const QList<TRecentTree>& items = Items();
    for (int i = 0; i < items.size(); ++i)
        if (AbsolutePath(items[i].File) == wanted)
            return i;
    return -1;
}

void TRecentTrees::Record(const TTreeProperty& props) {
    const QString path = props.BasePath.trimmed();
    if (path.isEmpty())
        return;
    const TRecentTree item{props.TreeName.trimmed(), props.OwnerName.trimmed(), AbsolutePath(path),
                           StoredDate(props.LastModified)};
    const int at = IndexOf(path);
    if (at >= 0)
        items_.removeAt(at);
    items_.prepend(item);
    Commit();
}

void TRecentTrees::Remove(int index) {
    EnsureLoaded();
    if (index < 0 || index >= items_.size())
        return;
    items_.removeAt(index);
    Commit();
}

bool TRecentTrees::Save() {
    EnsureLoaded();
    QDir().mkpath(ProgramFolder() + QStringLiteral("user"));
    QSaveFile file(loadedFrom_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(Format(items_));
    return file.commit();
}

void TRecentTrees::Commit() {
    Save();
    emit Changed();
}

TRecentTrees& RecentTrees() {
    static TRecentTrees list;
    return list;
}

bool RecentTreesExist() {
    return RecentTrees().Count() > 0;
}

void RecordRecentTree(const TTreeProperty& props) {
    RecentTrees().Record(props);
}

} // namespace verdan
