#pragma once

#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace verdan::bench {

// Wall time and the CPU time of this thread: on a machine shared with other work the CPU time tells what
// the code itself costs.
class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart() {
        wall_.start();
        cpu_ = CpuNow();
    }
    qint64 nsecsElapsed() const { return wall_.nsecsElapsed(); }
    qint64 cpuNsecs() const { return CpuNow() - cpu_; }

private:
    static qint64 CpuNow() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    QElapsedTimer wall_;
    qint64 cpu_ = 0;
};

// Points the program folder into folder and opens a new, initialised tree file there.
inline bool OpenBenchTree(const QTemporaryDir& folder) {
    SetProgramFolder(folder.path() + QStringLiteral("/program/"));
    const QString path = folder.path() + QStringLiteral("/bench.vrd");
    TTreeProperty props;
    props.TreeName = QStringLiteral("Bench");
    if (!CreateTreeFile(path) || !OpenTreeFile(path) || !InitialiseNewTree(props)) {
        std::fprintf(stderr, "could not create the tree file\n");
        return false;
    }
    return true;
}

} // namespace verdan::bench
