#pragma once

#include "storage/sql_literals.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <concepts>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace verdan {

class Tdm;

// The process-wide data module.
Tdm& Dm();

// Text ordering of names: the collation "NAMES" of every connection sorts by the rules of this locale (the
// interface language), so Arabic and Persian letters come in the order readers expect.
void SetNameCollationLocale(const QLocale& locale);

// ---------------------------------------------------------------------------------------------------------
// Messages of the storage layer. They go to the message dialogs (MsgInfoLtr, MsgError, MsgErrorRtl) unless
// a sink is installed, as tests do to record them.

enum class StoreMessage {
    QueryError, // a statement given to RunQuery failed (shown left-to-right: it is engine text)
    Error,      // an error with an engine reason, e.g. a tree file that cannot be opened
    ErrorRtl,   // an error in the interface language only
};

using StoreMessageSink = std::function<void(StoreMessage kind, const QString& text)>;

// Installs the sink; an empty sink restores the message dialogs. Returns the previous one.
StoreMessageSink SetStoreMessageSink(StoreMessageSink sink);

// Shows a message through the sink, unless a message was already shown in the current StoreOperation.
void ShowStoreMessage(StoreMessage kind, const QString& text);

// Marks one top-level operation: while the outermost guard lives, at most one message reaches the user, so
// a failing file does not flood the user with one dialog per statement. Guards nest.
class StoreOperation {
public:
    StoreOperation();
    ~StoreOperation();
    StoreOperation(const StoreOperation&) = delete;
    StoreOperation& operator=(const StoreOperation&) = delete;
};

// True once any connection found its tree file damaged (see Tdm::Damaged) since the process started; the
// command line fails after such a command.
bool DamageSeen();

// The message that says a tree file is damaged: the headline and body in the interface language, the path,
// and the engine's reason only as details.
QString DamageMessageText(const QString& path, const QString& reason);

// Told once per connection when a statement finds the file damaged, after the connection has turned
// read-only; `messageWanted` is false while the connection's damage messages are off. Returns true when it
// told the user itself, else the damage message goes through the store messages. An empty handler removes
// it. Returns the previous one.
using DamageHandler = std::function<bool(const QString& path, const QString& reason, bool messageWanted)>;
DamageHandler SetDamageHandler(DamageHandler handler);

// A query result as rows of texts; row 0 holds the column names.
using TextTable = QList<QStringList>;

// Column description for AddColumn; type is 3 integer, 11 boolean, 202 text, 203 long text.
struct TFieldProp {
    QString name;
    int type = 202;
    int size = 0;
    bool required = false;
    bool autoIncrement = false;
};

// ---------------------------------------------------------------------------------------------------------
// One statement over the connection of a Tdm. Prepared statements from Tdm::Prepare come from a cache keyed
// by the SQL text and go back to it when the Query ends. Closing the connection ends every Query on it.
//
//     Query q = Dm().Prepare("SELECT person_name FROM ftPerson WHERE father_id = ?", fatherId);
//     while (q.Next())
//         names << q.Text("person_name");
class Query {
public:
    Query() = default;
    Query(Query&& other) noexcept;
    Query& operator=(Query&& other) noexcept;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    ~Query();

    bool IsPrepared() const { return stmt_ != nullptr; }
    bool Failed() const { return failed_; }
    QString Error() const { return error_; }

    // Parameters bind in order of the "?" marks; BindAt takes a 1-based index.
    Query& Bind(const QString& value);
    Query& Bind(const char* value) { return Bind(QString::fromUtf8(value)); }
    Query& Bind(const QByteArray& value);
    Query& Bind(std::nullptr_t);
    Query& Bind(const QVariant& value);
    template <typename T>
    requires std::integral<T> Query& Bind(T value) { return BindInteger(static_cast<qint64>(value)); }
    template <typename T>
    requires std::floating_point<T> Query& Bind(T value) { return BindReal(static_cast<double>(value)); }
    template <typename... A> Query& BindAll(const A&... values) {
        (Bind(values), ...);
        return *this;
    }
    Query& BindAt(int index, const QVariant& value);

    // Moves to the next row (the first one on a fresh query); false at the end or on an error.
    bool Next();
    // True when there is no current row.
    bool AtEnd() const { return state_ != State::OnRow; }
    // Runs the statement to its end; false on an error. Changes() then tells the rows written.
    bool Exec();
    int Changes() const { return changes_; }
    // Calls fn(query) for every row from the current one (or from the first on a fresh query).
    template <typename F> void ForEachRow(F&& fn) {
        if (state_ == State::Fresh)
            Next();
        while (state_ == State::OnRow) {
            fn(*this);
            Next();
        }
    }

    int ColumnCount() const;
    QString ColumnName(int column) const;
    int ColumnIndex(const QString& name) const; // case-insensitive; -1 when absent
    bool HasColumn(const QString& name) const { return ColumnIndex(name) >= 0; }

    // Values of the current row; a missing column or no current row reads as null.
    bool IsNull(int column) const;
    QString Text(int column) const;
    qint64 Int(int column) const;
    bool Bool(int column) const; // any non-zero number (or the text "true") is true
    double Real(int column) const;
    QByteArray Blob(int column) const;
    // The value as the UTF-8 bytes of its text, without a copy: valid until the next row. For scans of
    // whole tables.
    QByteArrayView Utf8(int column) const;
    QVariant Value(int column) const;
    bool IsNull(const QString& name) const { return IsNull(ColumnIndex(name)); }
    QString Text(const QString& name) const { return Text(ColumnIndex(name)); }
    qint64 Int(const QString& name) const { return Int(ColumnIndex(name)); }
    bool Bool(const QString& name) const { return Bool(ColumnIndex(name)); }
    double Real(const QString& name) const { return Real(ColumnIndex(name)); }
    QByteArray Blob(const QString& name) const { return Blob(ColumnIndex(name)); }
    QVariant Value(const QString& name) const { return Value(ColumnIndex(name)); }

private:
    friend class Tdm;
    enum class State { Fresh, OnRow, Done };

    Query& BindInteger(qint64 value);
    Query& BindReal(double value);
    bool CheckBind(int rc);
    bool HasRowColumn(int column) const;
    void Fail(const QString& message);
    void Release();

    Tdm* owner_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
    bool cached_ = false;
    quint64 connection_ = 0; // the connection the statement belongs to
    State state_ = State::Fresh;
    bool failed_ = false;
    QString error_;
    int nextBind_ = 1;
    int changes_ = 0;
    mutable std::shared_ptr<QHash<QString, int>> columns_;
};

// ---------------------------------------------------------------------------------------------------------
// The data module: owns the one connection to the current tree file.
class Tdm {
public:
    Tdm();
    ~Tdm();
    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    // Opens an existing file (never creates one) or, with create, a new one; false with LastError set.
    // Every connection is defensive: the file's own schema cannot load extensions, call functions that
    // are not harmless or be edited behind the engine's back.
    bool Open(const QString& path, bool create = false);
    // Opens an existing file that this connection never writes: the engine itself refuses every write,
    // and the read-only gate (SetReadOnly) is closed from the start. Reads nothing yet.
    bool OpenReadOnly(const QString& path);
    void Close();
    bool IsConnected() const { return db_ != nullptr; }
    sqlite3* Handle() const { return db_; }
    QString Path() const { return path_; }
    QString LastError() const { return lastError_; }
    qint64 LastInsertRowId() const;
    // Rows changed by the connection since it opened; grows with every successful write.
    qint64 TotalChanges() const;
    // True once a statement found the file damaged: the engine called it corrupt or not a database
    // although it is one, or the system could not read it. The first time the connection turns read-only
    // and the damage handler, else a store message, says so with the path.
    bool Damaged() const { return damaged_; }
    // The engine's words for the damage first found; empty while none was.
    QString DamageReason() const { return damageReason_; }
    // Damage found by other means (an integrity check): treated as a statement meeting it.
    void NoteDamage(const QString& reason);
    // For statements run on Handle() directly: tells the connection how one failed, so damage is noted.
    void NoteFailure(int rc);

    // The read-only gate: while closed, every statement that would write to the file (or to any file
    // but the connection's own temporary store) is refused before the engine runs it, whoever prepares
    // it, and a transaction that wrote anything before is rolled back when it would be committed.
    // Statements prepared before keep to it.
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return readOnly_; }
    // True when the last failed statement failed only because the file was busy: another connection, in
    // this program or another, holds it.
    bool Busy() const { return busy_; }
    // Whether damage is told through the store messages (by default); a caller that reports it in its own
    // words turns that off. Returns the previous setting.
    bool SetDamageMessages(bool shown) { return std::exchange(damageMessages_, shown); }
    // Called every few thousand engine steps of the statements that run meanwhile; returning false
    // interrupts the statement. An empty function removes the handler.
    void SetProgressHandler(std::function<bool()> handler);
    // Work that reads the connection from a thread of its own (the engine serialises the calls) names how
    // it is ended: closing the connection, compacting the file and watching its statements' progress end
    // it first. An empty function says it has ended.
    void SetBackgroundReader(std::function<void()> finish) { background_ = std::move(finish); }

    // Current tree path as the shell shows it; set by OpenTreeFile.
    QString CurrentTreePath() const { return treePath_; }
    void SetCurrentTreePath(const QString& path) { treePath_ = path; }

    // A statement with its parameters bound; prepared once per SQL text and reused.
    Query Prepare(const QString& sql);
    template <typename... A> Query Prepare(const QString& sql, const A&... values) {
        Query q = Prepare(sql);
        q.BindAll(values...);
        return q;
    }
    // Runs a bound write; the number of rows changed, -1 on an error.
    template <typename... A> int Execute(const QString& sql, const A&... values) {
        Query q = Prepare(sql, values...);
        return q.Exec() ? q.Changes() : -1;
    }
    // The first column of the first row; empty text or 0 when there is no row or on an error.
    template <typename... A> QString ScalarText(const QString& sql, const A&... values) {
        Query q = Prepare(sql, values...);
        return q.Next() ? q.Text(0) : QString();
    }
    template <typename... A> qint64 ScalarInt(const QString& sql, const A&... values) {
        Query q = Prepare(sql, values...);
        return q.Next() ? q.Int(0) : 0;
    }

    // Query operations for callers that build statement text. Both leave the query on its first row.
    // RunQuery shows an engine error through the store message sink; OpenQuery stays silent and empties
    // the query.
    bool RunQuery(Query& query, const QString& sql);
    bool OpenQuery(Query& query, const QString& sql);
    bool RunSharedQuery(const QString& sql);
    Query& SharedQuery() { return shared_; }
    Query NewQuery() { return Query(); }
    void QueryToTable(const QString& sql, TextTable& table);
    bool QueryToPairs(QStringList& lines, const QString& sql);
    bool TableExists(const QString& name);
    bool ColumnExists(const QString& table, const QString& column);
    bool IsServerProvider() const { return false; }

    // Statement builders; values are SQL literals. A blank condition addresses every row.
    int ExecUpdate(const QString& table, const QStringList& fields, const QString& where,
                   const QStringList& values); // rows changed, 0 on an error
    int ExecInsert(const QString& table, const QStringList& fields,
                   const QStringList& values);                  // rows added, 0 on an error
    int ExecDelete(const QString& table, const QString& where); // rows removed, -1 on an error
    bool ExecSql(const QString& sql);

    // Schema edits of an existing file; both skip what exists and return false only on a failure.
    bool AddTable(const QString& name);
    bool AddColumn(const QString& table, const TFieldProp& field);

    // Compacts the open file in place (atomic through the journal); false leaves the file as it was.
    bool Vacuum();
    // Writes a compacted copy of the open file to a path that must not exist yet.
    bool VacuumInto(const QString& path);
    // Takes the file for this connection alone: no other connection may read or write it until Close; a
    // read-only connection keeps others from writing it.
    bool HoldExclusive();

    // Savepoints for grouped writes; Release and Rollback name the savepoint Begin returned.
    QString BeginSavepoint();
    bool ReleaseSavepoint(const QString& name);
    void RollbackSavepoint(const QString& name);

private:
    friend class Query;
    bool Prepared(Query& query, const QString& sql, bool cached);
    void Recycle(Query& query);
    void ClearCache();
    void SetError(const QString& message);
    bool Connect(const QString& path, int flags);
    void EndBackgroundReader();

    sqlite3* db_ = nullptr;
    bool damaged_ = false;
    bool readOnly_ = false;
    bool busy_ = false;
    QString damageReason_;
    bool damageMessages_ = true;
    bool isDatabaseFile_ = false;
    std::function<bool()> progress_;
    std::function<void()> background_;
    QString path_;
    QString treePath_;
    QString lastError_;
    quint64 connection_ = 0;
    int savepoints_ = 0;
    QHash<QString, qint64> savepointChanges_; // rows changed by the connection when each savepoint began
    Query shared_;
    QHash<QString, std::vector<sqlite3_stmt*>> idle_;
    QSet<Query*> live_; // queries holding a statement, ended on Close so none keeps the file locked
};

// Groups writes: everything between construction and Commit() is kept, or on an early return or failure
// nothing of it is.
class Transaction {
public:
    explicit Transaction(Tdm& dm = Dm());
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool Active() const { return !name_.isEmpty(); }
    bool Commit();

private:
    Tdm& dm_;
    QString name_;
};

} // namespace verdan
