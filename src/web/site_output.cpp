#include "web/site_output.h"

#include "text/localisation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace verdan {

const char* const TSiteOutput::kManifestName = ".verdan-site";

namespace {

const QByteArray kHeader = "verdan-site 1";
// An export that began writing and has not finished: the digests may no longer match the files.
const QByteArray kUnfinished = "verdan-site 1 unfinished";

quint64 Mix(quint64 h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

QString Message(const char* source, const QString& path) {
    return FillPattern(Translate(QString::fromUtf8(source)), {QDir::toNativeSeparators(path)});
}

} // namespace

quint64 TSiteOutput::Digest(QByteArrayView bytes) {
    quint64 h = 0x9E3779B97F4A7C15ULL ^ quint64(bytes.size());
    const char* data = bytes.data();
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        h = (h ^ Mix(word)) * 0x100000001B3ULL;
    }
    quint64 tail = 0;
    std::memcpy(&tail, data + i, size_t(bytes.size() - i));
    return Mix(h ^ Mix(tail + 1));
}

TSiteOutput::TSiteOutput(const QString& folder) : folder_(QDir::cleanPath(QDir(folder).absolutePath())) {
}

bool TSiteOutput::Open(QString& error) {
    const QDir dir(folder_);
    const QFileInfo info(folder_);
    if (info.exists() && !info.isDir()) {
        error = Message("%* is a file, not a folder.", folder_);
        return false;
    }
    QFile manifest(dir.filePath(QString::fromLatin1(kManifestName)));
    if (manifest.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = manifest.readAll().split('\n');
        const bool finished = !lines.isEmpty() && lines.front() == kHeader;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray& line = lines[i];
            const qsizetype space = line.indexOf(' ');
            if (space <= 0)
                continue;
            const QByteArray path = line.mid(space + 1);
            if (path.isEmpty() || path.startsWith('/') || path.contains("..") || path.contains('\\'))
                continue;
            if (line.startsWith('=')) {
                // "=note path": what the file was made from.
                oldSources_.insert(path, line.mid(1, space - 1));
                continue;
            }
            bool ok = false;
            const quint64 digest = line.left(space).toULongLong(&ok, 16);
            // An unfinished export's files are still ours to replace or remove, but none counts as
            // unchanged.
            old_.insert(path, ok && finished ? digest : 0);
        }
        if (!finished)
            oldSources_.clear();
        return true;
    }
    if (info.exists() &&
        !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        error = Message("The folder %* holds other files. Choose an empty folder, or the folder of a website "
                        "made before, which is brought up to date.",
                        folder_);
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        error = Message("The folder %* could not be made.", folder_);
        return false;
    }
    return true;
}

bool TSiteOutput::EnsureFolder(const QByteArray& path, QString& error) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return true;
    const QByteArray folder = path.left(slash);
    if (folders_.contains(folder))
        return true;
    const QString full = folder_ + u'/' + QString::fromUtf8(folder);
    if (!QDir().mkpath(full)) {
        error = Message("The folder %* could not be made.", full);
        return false;
    }
    folders_.insert(folder);
    return true;
}

bool TSiteOutput::WriteFile(const QString& file, const QByteArray& bytes) {
    // Never through a link someone put in the folder: the site writes inside its folder only.
    const int fd = ::open(QFile::encodeName(file).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            ::close(fd);
            return false;
        }
        done += n;
    }
    return ::close(fd) == 0;
}

bool TSiteOutput::Write(const QByteArray& path, const QByteArray& bytes, QString& error) {
    const quint64 digest = Digest(bytes);
    new_.insert(path, digest);
    const QString file = folder_ + u'/' + QString::fromUtf8(path);
    const auto found = old_.constFind(path);
    if (found != old_.constEnd() && *found == digest && digest != 0 && QFileInfo::exists(file)) {
        ++unchanged_;
        return true;
    }
    if (written_ == 0 && !old_.isEmpty()) {
        // From the first write on, the list no longer tells which files are as it says.
        QSaveFile manifest(folder_ + u'/' + QString::fromLatin1(kManifestName));
        QByteArray text = kUnfinished + '\n';
        for (auto it = old_.cbegin(); it != old_.cend(); ++it)
            text += "0 " + it.key() + '\n';
        if (!manifest.open(QIODevice::WriteOnly) || manifest.write(text) != text.size() ||
            !manifest.commit()) {
            error = Message("The file %* could not be written.", manifest.fileName());
            return false;
        }
    }
    if (!EnsureFolder(path, error))
        return false;
    if (!WriteFile(file, bytes)) {
        error = Message("The file %* could not be written.", file);
        return false;
    }
    ++written_;
    return true;
}

bool TSiteOutput::Keep(const QByteArray& path) {
    const auto found = old_.constFind(path);
    if (found == old_.constEnd() || *found == 0 ||
        !QFileInfo::exists(folder_ + u'/' + QString::fromUtf8(path)))
        return false;
    new_.insert(path, *found);
    ++unchanged_;
    return true;
}

bool TSiteOutput::Finish(QString& error) {
    QSet<QByteArray> emptied;
    for (auto it = old_.cbegin(); it != old_.cend(); ++it) {
        if (new_.contains(it.key()))
            continue;
        const QString file = folder_ + u'/' + QString::fromUtf8(it.key());
        if (QFile::remove(file) || !QFileInfo::exists(file))
            ++removed_;
        const qsizetype slash = it.key().lastIndexOf('/');
        if (slash > 0)
            emptied.insert(it.key().left(slash));
    }
    // Folders left empty go too, the deepest first; a folder with anything else in it stays.
    QList<QByteArray> folders(emptied.begin(), emptied.end());
    std::sort(folders.begin(), folders.end(),
              [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
    for (QByteArray folder : folders) {
        while (!folder.isEmpty() && QDir().rmdir(folder_ + u'/' + QString::fromUtf8(folder))) {
            const qsizetype slash = folder.lastIndexOf('/');
            folder = slash > 0 ? folder.left(slash) : QByteArray();
        }
    }
    QList<QByteArray> paths = new_.keys();
    std::sort(paths.begin(), paths.end());
    QByteArray text = kHeader + '\n';
    for (const QByteArray& path : paths) {
        text += QByteArray::number(new_.value(path), 16) + ' ' + path + '\n';
        const QByteArray note = newSources_.value(path);
        if (!note.isEmpty())
            text += '=' + note + ' ' + path + '\n';
    }
    QSaveFile manifest(folder_ + u'/' + QString::fromLatin1(kManifestName));
    if (!manifest.open(QIODevice::WriteOnly) || manifest.write(text) != text.size() || !manifest.commit()) {
        error = Message("The file %* could not be written.", manifest.fileName());
        return false;
    }
    return true;
}

} // namespace verdan
