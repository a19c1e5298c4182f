// Times the record of changes kept for undo on a generated tree of 20,000 persons (--persons N for another
// size): the extra cost of one edit with the record on against off, and the undo and redo of deleting
// 1,000 persons at once.

#include "bench_support.h"
#include "navigator/tree_commands.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;
using verdan::bench::Ms;
using verdan::bench::Stopwatch;

namespace {

constexpr int kEdits = 2000;
constexpr int kDeleted = 1000;

QStringList PersonIds(int limit) {
    QStringList ids;
    Query q = Dm().Prepare("SELECT person_id FROM ftPerson WHERE is_section = 0 AND father_id <> '-1' "
                           "ORDER BY oid DESC LIMIT ?",
                           limit);
    q.ForEachRow([&](Query& row) { ids << row.Text(0); });
    return ids;
}

// CPU time of kEdits edits of names and notes, each one step.
qint64 TimeEdits(const QStringList& ids, bool recorded) {
    Stopwatch watch;
    for (int i = 0; i < kEdits; ++i) {
        const QString& id = ids[i % ids.size()];
        if (recorded) {
            UndoStep step(QStringLiteral("Edit"), id);
            SetPersonNotes(id, QStringLiteral("note %1").arg(i));
        } else {
            SetPersonNotes(id, QStringLiteral("note %1").arg(i));
        }
    }
    return watch.cpuNsecs();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int persons = verdan::bench::PersonsArgument(20000);
    QTemporaryDir folder;
    const QString tree = verdan::bench::CopyOfGeneratedTree(persons, folder);
    if (tree.isEmpty() || !OpenTreeFile(tree))
        return 1;
    // The edits are timed, not the disk.
    Dm().ExecSql("PRAGMA synchronous = OFF");
    const QStringList ids = PersonIds(kEdits);

    StopUndoLog();
    const qint64 plain = TimeEdits(ids, false);
    StartUndoLog(Dm());
    const qint64 recorded = TimeEdits(ids, true);
    std::printf("edit without the record: %.3f ms, with it: %.3f ms, extra per edit: %.3f ms (%d edits, "
                "%d persons)\n",
                Ms(plain) / kEdits, Ms(recorded) / kEdits, Ms(recorded - plain) / kEdits, kEdits, persons);

    ClearUndoLog();
    const QStringList doomed = PersonIds(kDeleted);
    Stopwatch watch;
    {
        UndoStep step(QStringLiteral("Delete"));
        RemovePersons(doomed, false);
    }
    const qint64 removed = watch.nsecsElapsed();
    const qint64 removedCpu = watch.cpuNsecs();
    const qint64 left = Dm().ScalarInt("SELECT count(*) FROM ftPerson");
    const qint64 entries = Dm().ScalarInt("SELECT count(*) FROM temp.verdan_undo_log");
    watch.restart();
    const bool undone = Undo();
    const qint64 undoTime = watch.nsecsElapsed();
    const qint64 undoCpu = watch.cpuNsecs();
    const qint64 back = Dm().ScalarInt("SELECT count(*) FROM ftPerson");
    watch.restart();
    const bool redone = Redo();
    const qint64 redoTime = watch.nsecsElapsed();
    const qint64 redoCpu = watch.cpuNsecs();
    std::printf("delete %d persons: %.1f ms (cpu %.1f ms, %lld rows recorded)\n", int(doomed.size()),
                Ms(removed), Ms(removedCpu), entries);
    std::printf("undo: %.1f ms (cpu %.1f ms)%s, %lld -> %lld persons; redo: %.1f ms (cpu %.1f ms)%s\n",
                Ms(undoTime), Ms(undoCpu), undone ? "" : " FAILED", left, back, Ms(redoTime), Ms(redoCpu),
                redone ? "" : " FAILED");
    CloseTreeFile();
    return undone && redone ? 0 : 1;
}
