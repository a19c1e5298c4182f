#include "jet_isolated_reader.h"

#include "jet_mdb_reader.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define VERDAN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VERDAN_ASAN 1
#endif
#endif

namespace verdan {

namespace {

// The child: nothing but the library and the pipe, then out without running the program's exit code.
[[noreturn]] void RunChild(const QByteArray& path, int fd, long long maxValue, bool tablesOnly) {
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        // The library reports problems on standard error; the program tells them in its own words.
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
#ifndef VERDAN_ASAN
    // Memory the child may take: far more than any tree needs, far less than a runaway allocation. The
    // address sanitizer reserves far more address space than that, so its builds go without the limit.
    constexpr rlim_t kChildMemory = rlim_t(2) << 30;
    const rlimit memory{kChildMemory, kChildMemory};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    ::signal(SIGPIPE, SIG_DFL);
    StreamJetTables(path.constData(), fd, maxValue, tablesOnly);
    ::_exit(0);
}

} // namespace

TIsolatedJetReader::TIsolatedJetReader(const QString& path, int silenceMs, bool tablesOnly)
    : path_(path), silenceMs_(silenceMs), tablesOnly_(tablesOnly) {
}

TIsolatedJetReader::~TIsolatedJetReader() {
    Stop();
}

bool TIsolatedJetReader::Start() {
    const QFileInfo info(path_);
    if (!info.isFile()) {
        error_ = QStringLiteral("the file was not found");
        return false;
    }
    // Nothing in the file can be larger than the file (texts and pictures are stored as they are read).
    const long long maxValue = std::max<long long>(info.size(), 1 << 16);
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    child_ = ::fork();
    if (child_ < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (child_ == 0) {
        ::close(pipeFds[0]);
        RunChild(native, pipeFds[1], maxValue, tablesOnly_);
    }
    ::close(pipeFds[1]);
    fd_ = pipeFds[0];
    stream_ = std::make_unique<TJetStreamReader>(
        [this](char* to, qint64 size, QString& reason) { return Receive(to, size, reason); }, maxValue);
    return true;
}

qint64 TIsolatedJetReader::Receive(char* to, qint64 size, QString& reason) {
    if (fd_ < 0)
        return 0;
    for (;;) {
        pollfd wait{fd_, POLLIN, 0};
        const int ready = ::poll(&wait, 1, silenceMs_);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            reason = QStringLiteral("reading the file got stuck");
            Stop();
            return -1;
        }
        const ssize_t n = ::read(fd_, to, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n > 0)
            return n;
        // The child is gone: it finished, or the file made it crash.
        Stop();
        return 0;
    }
}

void TIsolatedJetReader::Stop() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (child_ > 0) {
        ::kill(child_, SIGKILL);
        while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
        }
        child_ = -1;
    }
}

bool TIsolatedJetReader::NextTable(TJetTable& table) {
    return stream_ && stream_->NextTable(table);
}

bool TIsolatedJetReader::NextRow(TJetRow& row) {
    return stream_ && stream_->NextRow(row);
}

bool TIsolatedJetReader::Failed() const {
    return !stream_ || stream_->Failed();
}

QString TIsolatedJetReader::Error() const {
    return stream_ ? stream_->Error() : error_;
}

} // namespace verdan
