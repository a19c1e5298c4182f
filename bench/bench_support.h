#pragma once

#include "gedcom/gedcom_import.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"

#include <QElapsedTimer>
#include <QProcess>
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

// A tree made the way a user makes one: a GEDCOM file of `persons` from the project's generator, imported
// into a new tree in `folder`. Empty when either step fails.
inline QString ImportGeneratedTree(int persons, const QTemporaryDir& folder) {
    const QString ged = folder.filePath(QStringLiteral("generated.ged"));
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(VERDAN_SOURCE_DIR "/scripts/gen_tree.py"), QStringLiteral("--persons"),
                  QString::number(persons), QStringLiteral("--seed"), QStringLiteral("1"),
                  QStringLiteral("--out"), ged});
    if (!python.waitForFinished(-1) || python.exitCode() != 0)
        return {};
    TGedcomImportOptions options;
    options.BaseFolder = folder.path();
    TGedcomImportResult result;
    return ImportGedcomFile(ged, options, result) ? result.TreePath : QString();
}

} // namespace verdan::bench
