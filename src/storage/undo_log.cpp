#include "undo_log.h"

#include "database.h"
#include "person_store.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "tree_file.h"

#include <QMetaObject>
#include <algorithm>
#include <sqlite3.h>

namespace verdan {

namespace {

const char kLogTable[] = "verdan_undo_log";

struct TStep {
    QString description;
    QString personId;
    qint64 first = 0; // range of log entries (seq), inclusive
    qint64 last = 0;
};

struct TRange {
    qint64 first = 0;
    qint64 last = 0;
    bool Empty() const { return first == 0; }
    void Add(qint64 seq) {
        first = first == 0 ? seq : std::min(first, seq);
        last = std::max(last, seq);
    }
    void Add(const TRange& other) {
        if (other.Empty())
            return;
        Add(other.first);
        Add(other.last);
    }
};

struct TLogState {
    Tdm* dm = nullptr;
    QList<TStep> undo;
    QList<TStep> redo;
    QList<TRange> garbage; // entries of forgotten steps, deleted once no transaction is open
    int depth = 0;
    QString description;
    QString personId;
    TRange step;    // entries committed inside the explicit step being recorded
    TRange pending; // entries of the transaction under way
    bool replaying = false;
    bool changedQueued = false;
};

TLogState& State() {
    static TLogState state;
    return state;
}

QString QuoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString Literal(const QString& text) {
    return Quote(text);
}

void Settle();

// Changed is sent from the event loop: the engine's hooks, where steps are made, must not let a slot
// run statements.
void QueueChanged() {
    TLogState& state = State();
    if (std::exchange(state.changedQueued, true))
        return;
    QMetaObject::invokeMethod(
        &TUndoLog::Instance(),
        [] {
            State().changedQueued = false;
            Settle();
            emit TUndoLog::Instance().Changed();
        },
        Qt::QueuedConnection);
}

void Forget(QList<TStep>& steps) {
    for (const TStep& step : std::as_const(steps))
        State().garbage.append({step.first, step.last});
    steps.clear();
}

void PushStep(const TStep& step) {
    TLogState& state = State();
    Forget(state.redo);
    state.undo.append(step);
    while (state.undo.size() > kUndoStepLimit) {
        state.garbage.append({state.undo.first().first, state.undo.first().last});
        state.undo.removeFirst();
    }
    QueueChanged();
}

void OnUpdate(void*, int op, const char* database, const char* table, sqlite3_int64 rowid) {
    if (op == SQLITE_INSERT && qstrcmp(table, kLogTable) == 0 && qstrcmp(database, "temp") == 0)
        State().pending.Add(rowid);
}

int OnCommit(void*) {
    TLogState& state = State();
    if (state.replaying || state.pending.Empty())
        return 0;
    if (state.depth > 0) {
        state.step.Add(state.pending);
    } else {
        // A transaction outside any step is a step of its own.
        TStep step;
        step.first = state.pending.first;
        step.last = state.pending.last;
        PushStep(step);
    }
    state.pending = {};
    return 0;
}

void OnRollback(void*) {
    State().pending = {};
}

bool InTransaction() {
    const TLogState& state = State();
    return state.dm && state.dm->Handle() && !sqlite3_get_autocommit(state.dm->Handle());
}

// Deletes the entries of forgotten steps; only between transactions, so a rollback cannot bring them back.
void Settle() {
    TLogState& state = State();
    if (!state.dm || state.garbage.isEmpty() || InTransaction())
        return;
    const QList<TRange> garbage = std::exchange(state.garbage, {});
    const bool replaying = std::exchange(state.replaying, true);
    Transaction transaction(*state.dm);
    for (const TRange& range : garbage)
        state.dm->Execute(QStringLiteral("DELETE FROM temp.verdan_undo_log WHERE seq BETWEEN ? AND ?"),
                          range.first, range.last);
    transaction.Commit();
    state.replaying = replaying;
}

bool HasEntries(const TRange& range) {
    return !range.Empty() &&
           State().dm->ScalarInt(
               QStringLiteral("SELECT count(*) FROM temp.verdan_undo_log WHERE seq BETWEEN ? AND ?"),
               range.first, range.last) > 0;
}

// The triggers of one table: each writes the statement that puts the row back as it was.
QStringList TriggerStatements(Tdm& dm, int number, const QString& table) {
    QStringList columns;
    QString personColumn;
    {
        Query q =
            dm.Prepare(QStringLiteral("SELECT name FROM pragma_table_info(?, 'main') ORDER BY cid"), table);
        q.ForEachRow([&](Query& row) { columns << row.Text(0); });
    }
    for (const char* name : {"person_id", "person_id_1"})
        for (const QString& column : std::as_const(columns))
            if (personColumn.isEmpty() && column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                personColumn = column;
    if (columns.isEmpty())
        return {};
    const QString target = QuoteIdentifier(table);
    const QString name = QStringLiteral("verdan_undo_%1_").arg(number);
    auto person = [&](const char* row) {
        return personColumn.isEmpty() ? QStringLiteral("NULL")
                                      : QString::fromLatin1(row) + u'.' + QuoteIdentifier(personColumn);
    };
    auto trigger = [&](const char* suffix, const char* event, const QString& sql, const QString& who) {
        return QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1 AFTER %2 ON main.%3 BEGIN INSERT INTO "
                              "verdan_undo_log "
                              "(sql, person) VALUES (%4, %5); END")
            .arg(QuoteIdentifier(name + QString::fromLatin1(suffix)), QString::fromLatin1(event), target, sql,
                 who);
    };
    QStringList values;  // quote(old."a")||','||quote(old."b")...
    QStringList assigns; // '"a"='||quote(old."a")...
    QString names;
    for (const QString& column : std::as_const(columns)) {
        const QString id = QuoteIdentifier(column);
        values << QStringLiteral("quote(old.%1)").arg(id);
        assigns << Literal(id + u'=') + QStringLiteral("||quote(old.%1)").arg(id);
        names += u',' + id;
    }
    const QString insertSql =
        Literal(QStringLiteral("DELETE FROM ") + target + QStringLiteral(" WHERE rowid=")) +
        QStringLiteral("||new.rowid");
    const QString deleteSql = Literal(QStringLiteral("INSERT INTO ") + target + QStringLiteral("(rowid") +
                                      names + QStringLiteral(") VALUES (")) +
                              QStringLiteral("||old.rowid||','||") + values.join(QStringLiteral("||','||")) +
                              QStringLiteral("||')'");
    const QString updateSql = Literal(QStringLiteral("UPDATE ") + target + QStringLiteral(" SET rowid=")) +
                              QStringLiteral("||old.rowid||','||") + assigns.join(QStringLiteral("||','||")) +
                              QStringLiteral("||' WHERE rowid='||new.rowid");
    return {trigger("i", "INSERT", insertSql, person("new")),
            trigger("u", "UPDATE", updateSql, person("new")),
            trigger("d", "DELETE", deleteSql, person("old"))};
}

bool CreateTriggers(Tdm& dm) {
    QStringList tables;
    {
        Query q = dm.Prepare(
            QStringLiteral("SELECT name FROM main.sqlite_master WHERE type = 'table' AND "
                           "rootpage > 0 AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
        q.ForEachRow([&](Query& row) { tables << row.Text(0); });
    }
    Transaction transaction(dm);
    if (!dm.ExecSql(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS verdan_undo_log (seq INTEGER PRIMARY KEY "
                                   "AUTOINCREMENT, sql TEXT NOT NULL, person TEXT)")))
        return false;
    int number = 0;
    for (const QString& table : std::as_const(tables)) {
        // Tables without row numbers cannot be addressed row by row; the tree schema has none.
        Query probe;
        if (!dm.OpenQuery(probe, QStringLiteral("SELECT rowid FROM main.") + QuoteIdentifier(table) +
                                     QStringLiteral(" LIMIT 0")))
            continue;
        probe = Query();
        for (const QString& sql : TriggerStatements(dm, ++number, table))
            if (!dm.ExecSql(sql))
                return false;
    }
    return transaction.Commit();
}

void DropTriggers(Tdm& dm) {
    QStringList triggers;
    {
        Query q = dm.Prepare(QStringLiteral("SELECT name FROM temp.sqlite_master WHERE type = 'trigger' AND "
                                            "name LIKE 'verdan\\_undo\\_%' ESCAPE '\\'"));
        q.ForEachRow([&](Query& row) { triggers << row.Text(0); });
    }
    for (const QString& trigger : std::as_const(triggers))
        dm.ExecSql(QStringLiteral("DROP TRIGGER temp.") + QuoteIdentifier(trigger));
    dm.ExecSql(QStringLiteral("DROP TABLE IF EXISTS temp.verdan_undo_log"));
}

// The step's own person, else the first person it wrote.
QString StepPerson(const QList<TStep>& steps) {
    if (steps.isEmpty() || !State().dm)
        return QString();
    const TStep& step = steps.last();
    if (!step.personId.isEmpty())
        return step.personId;
    return State().dm->ScalarText(
        QStringLiteral("SELECT person FROM temp.verdan_undo_log WHERE seq BETWEEN ? AND "
                       "? AND person IS NOT NULL ORDER BY seq LIMIT 1"),
        step.first, step.last);
}

bool Replay(QList<TStep>& from, QList<TStep>& to, bool undoing) {
    TLogState& state = State();
    Settle();
    if (!state.dm || from.isEmpty() || state.depth > 0 || InTransaction())
        return false;
    StoreOperation operation;
    TStep step = from.last();
    const QString person = StepPerson(from);
    QStringList statements;
    {
        Query q = state.dm->Prepare(
            QStringLiteral(
                "SELECT sql FROM temp.verdan_undo_log WHERE seq BETWEEN ? AND ? ORDER BY seq DESC"),
            step.first, step.last);
        q.ForEachRow([&](Query& row) { statements << row.Text(0); });
    }
    state.replaying = true;
    state.pending = {};
    bool done;
    QString reason;
    {
        Transaction transaction(*state.dm);
        done = transaction.Active();
        for (const QString& sql : std::as_const(statements)) {
            if (!state.dm->ExecSql(sql)) {
                reason = state.dm->LastError().section(u'|', 0, 0);
                done = false;
                break;
            }
        }
        done = done &&
               state.dm->Execute(QStringLiteral("DELETE FROM temp.verdan_undo_log WHERE seq BETWEEN ? AND ?"),
                                 step.first, step.last) >= 0 &&
               transaction.Commit();
    }
    const TRange written = std::exchange(state.pending, {});
    state.replaying = false;
    if (!done) {
        ShowStoreMessage(StoreMessage::Error,
                         Translate(undoing ? QStringLiteral("The change could not be undone.")
                                           : QStringLiteral("The change could not be redone.")) +
                             u'|' + IsolateLtr(reason));
        return false;
    }
    from.removeLast();
    step.first = written.first;
    step.last = written.last;
    step.personId = person;
    // A step that wrote nothing back (its rows were already as recorded) has nothing to replay again.
    if (!written.Empty())
        to.append(step);
    InvalidateStoreCaches();
    emit TUndoLog::Instance().Replayed(step.personId, undoing);
    emit TUndoLog::Instance().Changed();
    return true;
}

} // namespace

TUndoLog& TUndoLog::Instance() {
    static TUndoLog log;
    return log;
}

bool StartUndoLog(Tdm& dm) {
    StopUndoLog();
    if (!dm.IsConnected())
        return false;
    // Rows a REPLACE removes are recorded too.
    dm.ExecSql(QStringLiteral("PRAGMA recursive_triggers = ON"));
    if (!CreateTriggers(dm) || dm.Execute(QStringLiteral("DELETE FROM temp.verdan_undo_log")) < 0)
        return false;
    State().dm = &dm;
    sqlite3_update_hook(dm.Handle(), OnUpdate, nullptr);
    sqlite3_commit_hook(dm.Handle(), OnCommit, nullptr);
    sqlite3_rollback_hook(dm.Handle(), OnRollback, nullptr);
    return true;
}

void StopUndoLog() {
    TLogState& state = State();
    const bool had = !state.undo.isEmpty() || !state.redo.isEmpty();
    if (state.dm && state.dm->Handle()) {
        sqlite3_update_hook(state.dm->Handle(), nullptr, nullptr);
        sqlite3_commit_hook(state.dm->Handle(), nullptr, nullptr);
        sqlite3_rollback_hook(state.dm->Handle(), nullptr, nullptr);
        DropTriggers(*state.dm);
    }
    state = TLogState();
    if (had)
        emit TUndoLog::Instance().Changed();
}

bool UndoLogActive() {
    return State().dm != nullptr;
}

bool ClearUndoLog(bool announce) {
    TLogState& state = State();
    const bool had = !state.undo.isEmpty() || !state.redo.isEmpty();
    Forget(state.undo);
    Forget(state.redo);
    Settle();
    if (had) {
        if (announce)
            emit TUndoLog::Instance().Cleared();
        emit TUndoLog::Instance().Changed();
    }
    return had;
}

void BeginUndoStep(const QString& description, const QString& personId) {
    TLogState& state = State();
    if (state.depth++ > 0)
        return;
    Settle();
    state.description = description;
    state.personId = personId;
    state.step = {};
    // Entries of a transaction that was under way before the step belong to the step.
    state.step.Add(std::exchange(state.pending, {}));
}

void EndUndoStep() {
    TLogState& state = State();
    if (state.depth == 0 || --state.depth > 0)
        return;
    if (state.dm && HasEntries(state.step)) {
        TStep step;
        step.description = state.description;
        step.personId = state.personId;
        step.first = state.step.first;
        step.last = state.step.last;
        PushStep(step);
    }
    state.step = {};
    state.description.clear();
    state.personId.clear();
    Settle();
}

QString StepText(const char* pattern, const QStringList& personIds) {
    QStringList names;
    for (const QString& id : personIds)
        names << GetPersonName(id);
    return FillPattern(Translate(QString::fromUtf8(pattern)), names);
}

bool CanUndo() {
    return !State().undo.isEmpty();
}

bool CanRedo() {
    return !State().redo.isEmpty();
}

int UndoCount() {
    return int(State().undo.size());
}

int RedoCount() {
    return int(State().redo.size());
}

QString UndoDescription() {
    return CanUndo() ? State().undo.last().description : QString();
}

QString RedoDescription() {
    return CanRedo() ? State().redo.last().description : QString();
}

QString UndoPersonId() {
    return StepPerson(State().undo);
}

QString RedoPersonId() {
    return StepPerson(State().redo);
}

bool Undo() {
    return Replay(State().undo, State().redo, true);
}

bool Redo() {
    return Replay(State().redo, State().undo, false);
}

} // namespace verdan
