#include "tree_check.h"

#include "database.h"

#include <algorithm>

namespace verdan {

namespace {

QString QuoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

struct Part {
    QString table;
    qint64 steps = 1; // the engine steps the check of the table is expected to take
};

// The engine's check of a table takes about five steps per column and row and twelve per index entry
// (measured on trees of up to a million persons); the estimate only spreads the progress evenly.
qint64 ExpectedSteps(Tdm& dm, const QString& table) {
    const qint64 rows = dm.ScalarInt(QStringLiteral("SELECT count(*) FROM ") + QuoteName(table));
    const qint64 columns = dm.ScalarInt(QStringLiteral("SELECT count(*) FROM pragma_table_info(?)"), table);
    const qint64 indexes = dm.ScalarInt(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = ?"), table);
    return std::max<qint64>(1, rows * (columns + 3 * indexes) * 5 / 4);
}

} // namespace

TTreeCheck CheckTreeFile(Tdm& dm, const TTreeCheckProgress& progress) {
    TTreeCheck check;
    // What is damaged is the check's result, not a message of its own.
    const bool messages = dm.SetDamageMessages(false);
    QList<Part> parts;
    {
        Query q =
            dm.Prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND rootpage > 0 "
                                      "ORDER BY name"));
        q.ForEachRow([&](Query& row) { parts.append({row.Text(0)}); });
        if (q.Failed()) {
            check.Problems << q.Error().section(u'|', 0, 0);
            dm.SetDamageMessages(messages);
            return check;
        }
    }
    parts.prepend({QStringLiteral("sqlite_master")});
    qint64 total = 0;
    for (Part& part : parts)
        total += part.steps = ExpectedSteps(dm, part.table);

    qint64 done = 0;
    qint64 steps = 0;
    qint64 expected = 0;
    bool stopped = false;
    dm.SetProgressHandler([&] {
        steps += 4096;
        if (progress && !progress(double(done + std::min(steps, expected)) / double(total)))
            stopped = true;
        return !stopped;
    });
    for (const Part& part : parts) {
        steps = 0;
        expected = part.steps;
        Query q = dm.Prepare(QStringLiteral("PRAGMA integrity_check(") + QuoteName(part.table) + u')');
        q.ForEachRow([&](Query& row) {
            if (row.Text(0) != u"ok")
                check.Problems << row.Text(0);
        });
        if (stopped)
            break;
        if (q.Failed())
            check.Problems << part.table + QStringLiteral(": ") + q.Error().section(u'|', 0, 0);
        done += part.steps;
    }
    dm.SetProgressHandler({});
    dm.SetDamageMessages(messages);
    check.Problems.removeDuplicates();
    check.Finished = !stopped;
    if (check.Finished && progress)
        progress(1.0);
    return check;
}

} // namespace verdan
