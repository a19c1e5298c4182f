#include "photos_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace verdan {

bool SameFile(const QString& a, const QString& b) {
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

bool CopyPhotosFolder(const QString& from, const QString& to, int* copied) {
    if (copied)
        *copied = 0;
    const QDir source(from);
    if (from.isEmpty() || !source.exists() || SameFile(from, to))
        return true;
    const QStringList files = source.entryList(QDir::Files | QDir::Hidden);
    if (files.isEmpty())
        return true;
    if (!QDir().mkpath(to))
        return false;
    const QDir target(to);
    bool complete = true;
    for (const QString& file : files) {
        if (target.exists(file))
            continue;
        if (QFile::copy(source.filePath(file), target.filePath(file))) {
            if (copied)
                ++*copied;
        } else {
            complete = false;
        }
    }
    return complete;
}

} // namespace verdan
