#include "new_tree_file.h"

#include "text/localisation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace verdan {

namespace {

// ".family.vrd.1A2B3C4D.vrdpart": hidden, and never matched by a "*.vrd" filter.
const QString kSuffix = QStringLiteral(".vrdpart");

const QRegularExpression& TemporaryName() {
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.[0-9A-F]{8}\\.vrdpart$"));
    return pattern;
}

QString SystemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// The engine's side files of a database file.
void RemoveWithSideFiles(const QString& path) {
    for (const char* side : {"", "-journal", "-wal", "-shm"})
        ::unlink(Native(path + QLatin1String(side)).constData());
}

// Renames without ever replacing a file at the target; false with errno set.
bool RenameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the flag: a hard link fails just as well when the target exists.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

} // namespace

bool SyncToDisk(const QString& path) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool IsTemporaryTreeFile(const QString& path) {
    return TemporaryName().match(QFileInfo(path).fileName()).hasMatch();
}

int RemoveStaleTemporaryTrees(const QString& folder) {
    int removed = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QLatin1Char('*') + kSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (!IsTemporaryTreeFile(name))
            continue;
        const QString path = dir.filePath(name);
        const int fd = ::open(Native(path).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A writer holds its file locked for as long as it runs; the system drops the lock of a killed one.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            RemoveWithSideFiles(path);
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}

TNewTreeFile::TNewTreeFile(const QString& target, Mode mode)
    : target_(QFileInfo(target).absoluteFilePath()), mode_(mode) {
}

TNewTreeFile::~TNewTreeFile() {
    Discard();
}

void TNewTreeFile::Fail(const QString& reason) {
    error_ = reason;
    Discard();
}

bool TNewTreeFile::Begin() {
    Discard();
    error_.clear();
    const QFileInfo target(target_);
    if (mode_ == Mode::NewFile && target.exists()) {
        error_ = Translate(QStringLiteral("The file already exists."));
        return false;
    }
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        error_ = Translate(QStringLiteral("The folder does not exist."));
        return false;
    }
    RemoveStaleTemporaryTrees(folder);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = u'.' + target.fileName() + u'.' +
                             QStringLiteral("%1")
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                                 .toUpper() +
                             kSuffix;
        const QString path = folder + u'/' + name;
        const int fd = ::open(Native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            error_ = SystemReason();
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            error_ = SystemReason();
            ::close(fd);
            ::unlink(Native(path).constData());
            return false;
        }
        fd_ = fd;
        temporary_ = path;
        return true;
    }
    error_ = Translate(QStringLiteral("The file already exists."));
    return false;
}

bool TNewTreeFile::Commit() {
    if (fd_ < 0) {
        error_ = Translate(QStringLiteral("The file could not be written."));
        return false;
    }
    if (::fsync(fd_) != 0) {
        Fail(SystemReason());
        return false;
    }
    const QByteArray from = Native(temporary_);
    const QByteArray to = Native(target_);
    const bool renamed = mode_ == Mode::NewFile ? RenameNoReplace(from, to)
                                                : std::rename(from.constData(), to.constData()) == 0;
    if (!renamed) {
        Fail(errno == EEXIST ? Translate(QStringLiteral("The file already exists.")) : SystemReason());
        return false;
    }
    ::close(fd_);
    fd_ = -1;
    temporary_.clear();
    // The file is complete on disk whatever happens to its name now, so a folder that cannot be flushed
    // is no reason to call the tree unwritten. A folder made for the tree is recorded in its parent too.
    const QString folder = QFileInfo(target_).absolutePath();
    SyncToDisk(folder);
    SyncToDisk(QFileInfo(folder).absolutePath());
    return true;
}

void TNewTreeFile::Discard() {
    if (!temporary_.isEmpty())
        RemoveWithSideFiles(temporary_);
    temporary_.clear();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace verdan
