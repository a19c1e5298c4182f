#pragma once

#include "event_loop_gaps.h"
#include "gedcom/gedcom_import.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

// Writes a GEDCOM file of `persons` persons with the project's generator; with events, the persons and
// marriages also get events, facts and qualified dates.
inline bool WriteGeneratedGedcom(int persons, const QString& file, bool events = false) {
    QProcess python;
    QStringList args{QStringLiteral(VERDAN_SOURCE_DIR "/scripts/gen_tree.py"),
                     QStringLiteral("--persons"),
                     QString::number(persons),
                     QStringLiteral("--seed"),
                     QStringLiteral("1"),
                     QStringLiteral("--out"),
                     file};
    if (events)
        args << QStringLiteral("--events");
    python.start(QStringLiteral("python3"), args);
    return python.waitForFinished(-1) && python.exitCode() == 0;
}

// "--events" on the command line: trees and files with events.
inline bool EventsArgument() {
    return QCoreApplication::arguments().contains(QStringLiteral("--events"));
}

// A tree made the way a user makes one: a GEDCOM file of `persons` from the project's generator, imported
// into a new tree in `folder`. Empty when either step fails.
inline QString ImportGeneratedTree(int persons, const QTemporaryDir& folder) {
    const QString ged = folder.filePath(QStringLiteral("generated.ged"));
    if (!WriteGeneratedGedcom(persons, ged))
        return {};
    TGedcomImportOptions options;
    options.BaseFolder = folder.path();
    TGedcomImportResult result;
    return ImportGedcomFile(ged, options, result) ? result.TreePath : QString();
}

// The number after "--persons" on the command line, or `fallback` without one.
inline int PersonsArgument(int fallback) {
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--persons"));
    bool ok = false;
    const int persons = at >= 0 ? args.value(at + 1).toInt(&ok) : 0;
    return ok && persons > 0 ? persons : fallback;
}

// The file named after "--tree" on the command line (the last one given), or empty without one.
inline QString TreeArgument() {
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.lastIndexOf(QStringLiteral("--tree"));
    return at >= 1 && at + 1 < args.size() ? args[at + 1] : QString();
}

// A tree of `persons` persons as a user makes one: scripts/gen_tree.py writes a GEDCOM file and the
// GEDCOM import turns it into a tree. Trees are kept in the build folder between runs, since a large one
// takes a while to make; the caller copies one before writing to it. Empty on failure.
inline QString GeneratedTree(int persons, bool events = false) {
    const QString folder = QStringLiteral(VERDAN_BENCH_TREES "/persons-%1%2")
                               .arg(persons)
                               .arg(events ? QStringLiteral("-events") : QString());
    const QString tree = folder + QStringLiteral("/tree/tree.vrd");
    if (QFileInfo::exists(tree))
        return tree;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString gedcom = folder + QStringLiteral("/tree.ged");
    std::printf("making a tree of %d persons in %s\n", persons, qPrintable(folder));
    if (!WriteGeneratedGedcom(persons, gedcom, events)) {
        std::fprintf(stderr, "scripts/gen_tree.py failed\n");
        return QString();
    }
    TGedcomImportOptions options;
    options.BaseFolder = folder;
    TGedcomImportResult result;
    if (!ImportGedcomFile(gedcom, options, result)) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(result.ErrorMessage));
        return QString();
    }
    QFile::remove(gedcom);
    return result.TreePath;
}

// A copy of a generated tree in `folder`, for benchmarks that write.
inline QString CopyOfGeneratedTree(int persons, const QTemporaryDir& folder, bool events = false) {
    const QString source = GeneratedTree(persons, events);
    const QString copy = folder.path() + QStringLiteral("/copy.vrd");
    return !source.isEmpty() && QFile::copy(source, copy) ? copy : QString();
}

inline double Ms(qint64 ns) {
    return static_cast<double>(ns) / 1e6;
}

// A line of /proc/self/status in megabytes: "VmRSS" the memory the process holds now, "VmHWM" the most it
// held so far. -1 where the system does not say.
inline double StatusMegabytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}
inline double ResidentMegabytes() {
    return StatusMegabytes("VmRSS");
}
inline double PeakResidentMegabytes() {
    return StatusMegabytes("VmHWM");
}

// Points the program folder into `folder` and opens a copy of a generated tree of `persons` there,
// telling how many persons it holds.
inline bool OpenCopyOfGeneratedTree(int persons, const QTemporaryDir& folder) {
    SetProgramFolder(folder.path() + QStringLiteral("/program/"));
    const QString tree = CopyOfGeneratedTree(persons, folder);
    if (tree.isEmpty() || !OpenTreeFile(tree))
        return false;
    std::printf("%d persons\n", CountPersons());
    return true;
}

// One line of results: what was timed, its wall and CPU times and the time it should stay under.
inline void ReportTiming(const char* what, const Stopwatch& timer, const char* target) {
    std::printf("%-64s %8.1f ms wall %8.1f ms cpu   (target %s)\n", what, Ms(timer.nsecsElapsed()),
                Ms(timer.cpuNsecs()), target);
}

} // namespace verdan::bench
