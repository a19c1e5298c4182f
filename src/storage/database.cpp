#include "database.h"

#include "read_only_gate.h"
#include "schema.h"
#include "text/localisation.h"
#include "text/message_details.h"
#include "text/messages.h"

#include <QCollator>
#include <QFile>
#include <algorithm>
#include <sqlite3.h>

namespace verdan {

namespace {

struct MessageState {
    StoreMessageSink sink;
    int depth = 0;
    bool shown = false;
};

MessageState& Messages() {
    static MessageState state;
    return state;
}

// The first bytes of every database file; a file without them is no database at all, never a damaged one.
bool HasDatabaseHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(16);
    return head.isEmpty() || head == QByteArrayLiteral("SQLite format 3\0");
}

int OnProgress(void* tdm) {
    const auto& handler = *static_cast<const std::function<bool()>*>(tdm);
    return handler && !handler() ? 1 : 0;
}

QCollator& NameCollator() {
    static QCollator collator;
    return collator;
}

int CompareNames(void*, int size1, const void* text1, int size2, const void* text2) {
    const QStringView a(static_cast<const QChar*>(text1), size1 / 2);
    const QStringView b(static_cast<const QChar*>(text2), size2 / 2);
    return NameCollator().compare(a, b);
}

QString QuoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString ColumnTypeText(const TFieldProp& field) {
    switch (field.type) {
    case 3:
        return field.required ? QStringLiteral("INTEGER NOT NULL DEFAULT 0") : QStringLiteral("INTEGER");
    case 11:
        return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
    case 202:
        return field.required ? QStringLiteral("TEXT COLLATE NOCASE NOT NULL DEFAULT ''")
                              : QStringLiteral("TEXT COLLATE NOCASE");
    case 203:
        return field.required ? QStringLiteral("TEXT NOT NULL DEFAULT ''") : QStringLiteral("TEXT");
    default:
        return QString();
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------------------

void SetNameCollationLocale(const QLocale& locale) {
    NameCollator().setLocale(locale);
}

StoreMessageSink SetStoreMessageSink(StoreMessageSink sink) {
    std::swap(Messages().sink, sink);
    return sink;
}

void ShowStoreMessage(StoreMessage kind, const QString& text) {
    MessageState& state = Messages();
    if (state.depth > 0) {
        if (state.shown)
            return;
        state.shown = true;
    }
    if (state.sink) {
        state.sink(kind, text);
        return;
    }
    switch (kind) {
    case StoreMessage::QueryError:
    case StoreMessage::Error:
        // The program's own headline is in the interface language, so a right-to-left interface reads it
        // right to left; the engine's reason in it is isolated left to right by the caller.
        if (Local().Target.RightToLeft)
            MsgErrorRtl(text);
        else
            MsgError(text);
        break;
    case StoreMessage::ErrorRtl:
        MsgErrorRtl(text);
        break;
    }
}

StoreOperation::StoreOperation() {
    if (Messages().depth++ == 0)
        Messages().shown = false;
}

StoreOperation::~StoreOperation() {
    --Messages().depth;
}

// ---------------------------------------------------------------------------------------------------------

Query::Query(Query&& other) noexcept {
    *this = std::move(other);
}

Query& Query::operator=(Query&& other) noexcept {
    if (this != &other) {
        Release();
        owner_ = std::exchange(other.owner_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        sql_ = std::move(other.sql_);
        cached_ = other.cached_;
        connection_ = other.connection_;
        state_ = std::exchange(other.state_, State::Fresh);
        failed_ = std::exchange(other.failed_, false);
        error_ = std::move(other.error_);
        nextBind_ = std::exchange(other.nextBind_, 1);
        changes_ = std::exchange(other.changes_, 0);
        columns_ = std::move(other.columns_);
        if (stmt_ && owner_) {
            owner_->live_.remove(&other);
            owner_->live_.insert(this);
        }
    }
    return *this;
}

Query::~Query() {
    Release();
}

void Query::Release() {
    if (stmt_) {
        if (owner_)
            owner_->live_.remove(this);
        const bool reusable =
            cached_ && !failed_ && owner_ && owner_->db_ && owner_->connection_ == connection_;
        if (reusable) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
            owner_->idle_[sql_].push_back(stmt_);
        } else {
            sqlite3_finalize(stmt_);
        }
    }
    stmt_ = nullptr;
    owner_ = nullptr;
    sql_.clear();
    state_ = State::Fresh;
    failed_ = false;
    error_.clear();
    nextBind_ = 1;
    changes_ = 0;
    columns_.reset();
}

void Query::Fail(const QString& message) {
    failed_ = true;
    error_ = message;
    state_ = State::Done;
    if (owner_)
        owner_->lastError_ = message;
}

bool Query::CheckBind(int rc) {
    if (rc == SQLITE_OK)
        return true;
    Fail(QStringLiteral("%1|%2\r%3").arg(QString::fromUtf8(sqlite3_errstr(rc))).arg(rc).arg(sql_));
    return false;
}

Query& Query::Bind(const QString& value) {
    if (stmt_ && !failed_)
        CheckBind(sqlite3_bind_text16(stmt_, nextBind_, value.utf16(), int(value.size() * sizeof(QChar)),
                                      SQLITE_TRANSIENT));
    ++nextBind_;
    return *this;
}

Query& Query::Bind(const QByteArray& value) {
    if (stmt_ && !failed_)
        CheckBind(
            sqlite3_bind_blob(stmt_, nextBind_, value.constData(), int(value.size()), SQLITE_TRANSIENT));
    ++nextBind_;
    return *this;
}

Query& Query::Bind(std::nullptr_t) {
    if (stmt_ && !failed_)
        CheckBind(sqlite3_bind_null(stmt_, nextBind_));
    ++nextBind_;
    return *this;
}

Query& Query::BindInteger(qint64 value) {
    if (stmt_ && !failed_)
        CheckBind(sqlite3_bind_int64(stmt_, nextBind_, value));
    ++nextBind_;
    return *this;
}

Query& Query::BindReal(double value) {
    if (stmt_ && !failed_)
        CheckBind(sqlite3_bind_double(stmt_, nextBind_, value));
    ++nextBind_;
    return *this;
}

Query& Query::Bind(const QVariant& value) {
    if (value.isNull())
        return Bind(nullptr);
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return BindInteger(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return BindInteger(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return BindReal(value.toDouble());
    case QMetaType::QByteArray:
        return Bind(value.toByteArray());
    default:
        return Bind(value.toString());
    }
}

Query& Query::BindAt(int index, const QVariant& value) {
    nextBind_ = index;
    return Bind(value);
}

bool Query::Next() {
    if (!stmt_ || failed_ || state_ == State::Done)
        return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        state_ = State::OnRow;
        return true;
    }
    state_ = State::Done;
    if (rc == SQLITE_DONE) {
        changes_ = sqlite3_stmt_readonly(stmt_) ? 0 : sqlite3_changes(sqlite3_db_handle(stmt_));
        return false;
    }
    sqlite3* db = sqlite3_db_handle(stmt_);
    // A statement prepared before the tree turned read-only is refused when the engine prepares it again.
    if ((rc & 0xff) == SQLITE_AUTH && owner_ && owner_->readOnly_) {
        Fail(gate::ReadOnlyReason() + u'|' + sql_);
        return false;
    }
    Fail(QStringLiteral("%1|%2\r%3")
             .arg(QString::fromUtf8(sqlite3_errmsg(db)))
             .arg(sqlite3_extended_errcode(db))
             .arg(sql_));
    if (owner_)
        owner_->NoteFailure(rc);
    return false;
}

bool Query::Exec() {
    if (!stmt_ || failed_)
        return false;
    while (Next()) {
    }
    return !failed_;
}

int Query::ColumnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

QString Query::ColumnName(int column) const {
    if (!stmt_ || column < 0 || column >= ColumnCount())
        return QString();
    return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_name16(stmt_, column)));
}

int Query::ColumnIndex(const QString& name) const {
    if (!stmt_)
        return -1;
    if (!columns_) {
        columns_ = std::make_shared<QHash<QString, int>>();
        const int count = ColumnCount();
        for (int i = 0; i < count; ++i)
            columns_->insert(ColumnName(i).toLower(), i);
    }
    return columns_->value(name.toLower(), -1);
}

bool Query::HasRowColumn(int column) const {
    return stmt_ && state_ == State::OnRow && column >= 0 && column < sqlite3_column_count(stmt_);
}

bool Query::IsNull(int column) const {
    return !HasRowColumn(column) || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QString Query::Text(int column) const {
    if (IsNull(column))
        return QString();
    const void* text = sqlite3_column_text16(stmt_, column);
    const int bytes = sqlite3_column_bytes16(stmt_, column);
    return QString(static_cast<const QChar*>(text), bytes / int(sizeof(QChar)));
}

qint64 Query::Int(int column) const {
    return IsNull(column) ? 0 : sqlite3_column_int64(stmt_, column);
}

bool Query::Bool(int column) const {
    if (IsNull(column))
        return false;
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt_, column) != 0;
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, column) != 0.0;
    default: {
        const QString text = Text(column).trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        return text.toDouble() != 0.0;
    }
    }
}

double Query::Real(int column) const {
    return IsNull(column) ? 0.0 : sqlite3_column_double(stmt_, column);
}

QByteArray Query::Blob(int column) const {
    if (IsNull(column))
        return QByteArray();
    const void* data = sqlite3_column_blob(stmt_, column);
    return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column));
}

QByteArrayView Query::Utf8(int column) const {
    // Called for every value of whole tables: the engine itself answers null, and nothing, for a null
    // value or a column it does not have.
    if (!stmt_ || state_ != State::OnRow)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(stmt_, column)) : QByteArrayView();
}

QVariant Query::Value(int column) const {
    if (IsNull(column))
        return QVariant();
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, column));
    case SQLITE_BLOB:
        return QVariant(Blob(column));
    default:
        return QVariant(Text(column));
    }
}

// ---------------------------------------------------------------------------------------------------------

Tdm& Dm() {
    static Tdm dm;
    return dm;
}

Tdm::Tdm() = default;

Tdm::~Tdm() {
    Close();
}

bool Tdm::Open(const QString& path, bool create) {
    // Serialised: the name index reads the tree on a thread of its own while the window goes on.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    if (!Connect(path, flags))
        return false;
    // Reading the journal mode reads the file header, so a file that is not a database fails here.
    if (!ExecSql(QStringLiteral("PRAGMA journal_mode=DELETE")) ||
        !ExecSql(QStringLiteral("PRAGMA synchronous=FULL"))) {
        const QString error = lastError_;
        Close();
        lastError_ = error;
        return false;
    }
    return true;
}

bool Tdm::OpenReadOnly(const QString& path) {
    if (!Connect(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX))
        return false;
    SetReadOnly(true);
    return true;
}

bool Tdm::Connect(const QString& path, int flags) {
    Close();
    lastError_.clear();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        lastError_ = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        return false;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 0);
    // Tree files pass between families: what a file brings along must not be able to act on its own.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_create_collation16(db, u"NAMES", SQLITE_UTF16, nullptr, CompareNames);
    db_ = db;
    path_ = path;
    damaged_ = false;
    damageReason_.clear();
    busy_ = false;
    isDatabaseFile_ = HasDatabaseHeader(path);
    ++connection_;
    return true;
}

void Tdm::EndBackgroundReader() {
    if (const std::function<void()> finish = std::exchange(background_, {}))
        finish();
}

void Tdm::Close() {
    EndBackgroundReader();
    shared_ = Query();
    ClearCache();
    for (Query* query : std::as_const(live_)) {
        sqlite3_finalize(query->stmt_);
        query->stmt_ = nullptr;
        query->owner_ = nullptr;
        query->Fail(QStringLiteral("The tree file was closed."));
    }
    live_.clear();
    if (db_) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
    progress_ = nullptr;
    db_ = nullptr;
    path_.clear();
    savepoints_ = 0;
    savepointChanges_.clear();
    readOnly_ = false;
}

void Tdm::ClearCache() {
    for (auto& statements : idle_)
        for (sqlite3_stmt* stmt : statements)
            sqlite3_finalize(stmt);
    idle_.clear();
}

qint64 Tdm::LastInsertRowId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

qint64 Tdm::TotalChanges() const {
    return db_ ? sqlite3_total_changes64(db_) : 0;
}

void Tdm::SetError(const QString& message) {
    lastError_ = message;
}

void Tdm::SetProgressHandler(std::function<bool()> handler) {
    // The handler would also run on the reading thread.
    EndBackgroundReader();
    progress_ = std::move(handler);
    if (db_)
        sqlite3_progress_handler(db_, progress_ ? 4096 : 0, progress_ ? OnProgress : nullptr, &progress_);
}

bool Tdm::Prepared(Query& query, const QString& sql, bool cached) {
    query.Release();
    query.owner_ = this;
    query.sql_ = sql;
    query.cached_ = cached;
    query.connection_ = connection_;
    if (!db_) {
        query.Fail(QStringLiteral("No tree file is open.|%1").arg(sql));
        return false;
    }
    if (cached) {
        auto found = idle_.find(sql);
        if (found != idle_.end() && !found->empty()) {
            query.stmt_ = found->back();
            found->pop_back();
            live_.insert(&query);
            return true;
        }
    }
    if (readOnly_ && gate::IsInPlaceVacuum(sql)) {
        query.Fail(gate::ReadOnlyReason() + u'|' + sql);
        return false;
    }
    sqlite3_stmt* stmt = nullptr;
    const void* tail = nullptr;
    const unsigned int prepareFlags = cached ? SQLITE_PREPARE_PERSISTENT : 0;
    const int rc =
        sqlite3_prepare16_v3(db_, sql.utf16(), int(sql.size() * sizeof(QChar)), prepareFlags, &stmt, &tail);
    if (rc == SQLITE_AUTH && readOnly_) {
        query.Fail(gate::ReadOnlyReason() + u'|' + sql);
        return false;
    }
    if (rc != SQLITE_OK) {
        query.Fail(QStringLiteral("%1|%2\r%3")
                       .arg(QString::fromUtf8(sqlite3_errmsg(db_)))
                       .arg(sqlite3_extended_errcode(db_))
                       .arg(sql));
        NoteFailure(rc);
        return false;
    }
    const QChar* rest = static_cast<const QChar*>(tail);
    const QStringView remainder =
        rest ? QStringView(rest, sql.constData() + sql.size()).trimmed() : QStringView();
    if (!stmt || !remainder.isEmpty()) {
        sqlite3_finalize(stmt);
        query.Fail(QStringLiteral("Exactly one SQL statement is expected.|%1").arg(sql));
        return false;
    }
    query.stmt_ = stmt;
    live_.insert(&query);
    return true;
}

Query Tdm::Prepare(const QString& sql) {
    Query query;
    Prepared(query, sql, true);
    return query;
}

bool Tdm::RunQuery(Query& query, const QString& sql) {
    lastError_.clear();
    if (!db_)
        return false;
    if (Prepared(query, sql, false))
        query.Next();
    if (query.Failed()) {
        // Damage has been reported in words of its own; the engine's words are only details.
        if (!damaged_)
            ShowStoreMessage(StoreMessage::QueryError,
                             Translate(QStringLiteral("The tree file could not be read.")) + u'|' +
                                 Translate(QStringLiteral("A request to the tree file failed, so what is "
                                                          "shown may be incomplete.")) +
                                 DetailsLine(QString(query.Error()).replace(u'|', u'\n')));
        return false;
    }
    return !query.AtEnd();
}

bool Tdm::OpenQuery(Query& query, const QString& sql) {
    lastError_.clear();
    if (!db_)
        return false;
    if (Prepared(query, sql, false))
        query.Next();
    if (query.Failed()) {
        query = Query();
        return false;
    }
    return true;
}

bool Tdm::RunSharedQuery(const QString& sql) {
    return RunQuery(shared_, sql);
}

void Tdm::QueryToTable(const QString& sql, TextTable& table) {
    table.clear();
    Query query;
    RunQuery(query, sql);
    if (!query.IsPrepared() || query.Failed())
        return;
    const int columns = query.ColumnCount();
    QStringList header;
    std::vector<bool> boolean(columns);
    for (int c = 0; c < columns; ++c) {
        header << query.ColumnName(c);
        boolean[c] = IsBooleanColumn(header.last());
    }
    table << header;
    query.ForEachRow([&](const Query& row) {
        QStringList values;
        values.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            if (boolean[c] && !row.IsNull(c))
                values << SqlBool(row.Bool(c));
            else
                values << row.Text(c);
        }
        table << values;
    });
}

bool Tdm::QueryToPairs(QStringList& lines, const QString& sql) {
    lines.clear();
    Query query;
    RunQuery(query, sql);
    const int columns = query.ColumnCount();
    for (int c = 0; c < columns; ++c)
        lines << query.ColumnName(c) + u'=' + query.Text(c);
    return true;
}

bool Tdm::TableExists(const QString& name) {
    Query q = Prepare(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), name);
    return q.Next();
}

bool Tdm::ColumnExists(const QString& table, const QString& column) {
    Query q = Prepare(QStringLiteral("SELECT 1 FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE"),
                      table, column);
    return q.Next();
}

int Tdm::ExecUpdate(const QString& table, const QStringList& fields, const QString& where,
                    const QStringList& values) {
    const qsizetype count = std::min(fields.size(), values.size());
    QStringList assignments;
    for (qsizetype i = 0; i < count; ++i)
        assignments << fields[i] + QStringLiteral(" = ") + values[i];
    QString sql = QStringLiteral("UPDATE ") + table + QStringLiteral("\r\nSET ") + assignments.join(u", ");
    if (!where.trimmed().isEmpty())
        sql += QStringLiteral("\r\nWHERE ") + where;
    Query q;
    if (!Prepared(q, sql, false) || !q.Exec())
        return 0;
    return q.Changes();
}

int Tdm::ExecInsert(const QString& table, const QStringList& fields, const QStringList& values) {
    const qsizetype count = std::min(fields.size(), values.size());
    const QString sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral("\r\n(") +
                        fields.mid(0, count).join(u", ") + QStringLiteral(")\r\nVALUES (") +
                        values.mid(0, count).join(u", ") + u')';
    Query q;
    if (!Prepared(q, sql, false) || !q.Exec())
        return 0;
    return q.Changes();
}

int Tdm::ExecDelete(const QString& table, const QString& where) {
    if (!db_)
        return -1;
    QString sql = QStringLiteral("DELETE FROM ") + table;
    if (!where.trimmed().isEmpty())
        sql += QStringLiteral("\r\nWHERE ") + where;
    Query q;
    if (!Prepared(q, sql, false) || !q.Exec())
        return -1;
    return q.Changes();
}

bool Tdm::ExecSql(const QString& sql) {
    if (sql.trimmed().isEmpty())
        return false;
    Query q;
    return Prepared(q, sql, false) && q.Exec();
}

bool Tdm::AddTable(const QString& name) {
    if (TableExists(name))
        return true;
    return ExecSql(QStringLiteral("CREATE TABLE ") + QuoteIdentifier(name) +
                   QStringLiteral(" (oid INTEGER PRIMARY KEY AUTOINCREMENT)"));
}

bool Tdm::AddColumn(const QString& table, const TFieldProp& field) {
    if (ColumnExists(table, field.name))
        return true;
    const QString type = ColumnTypeText(field);
    if (field.autoIncrement || type.isEmpty()) {
        // The engine cannot add a key column to an existing table.
        SetError(QStringLiteral("Cannot add the column %1 to %2.").arg(field.name, table));
        return false;
    }
    return ExecSql(QStringLiteral("ALTER TABLE ") + QuoteIdentifier(table) + QStringLiteral(" ADD COLUMN ") +
                   QuoteIdentifier(field.name) + u' ' + type);
}

bool Tdm::Vacuum() {
    EndBackgroundReader();
    shared_ = Query(); // a statement still on a row would block the rewrite
    if (readOnly_) {
        SetError(gate::ReadOnlyReason());
        return false;
    }
    return ExecSql(QStringLiteral("VACUUM"));
}

bool Tdm::VacuumInto(const QString& path) {
    EndBackgroundReader();
    shared_ = Query();
    Query q;
    if (!Prepared(q, QStringLiteral("VACUUM INTO ?"), false))
        return false;
    q.Bind(path);
    return q.Exec();
}

bool Tdm::HoldExclusive() {
    // In exclusive locking mode the lock taken by the first write transaction is kept until the connection
    // closes, so other processes can neither read nor write the file meanwhile. A connection that only
    // reads keeps its read lock instead: others may read, none may write.
    if (!ExecSql(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")))
        return false;
    if (readOnly_) {
        Query q;
        return Prepared(q, QStringLiteral("SELECT count(*) FROM sqlite_master"), false) && q.Exec();
    }
    return ExecSql(QStringLiteral("BEGIN EXCLUSIVE")) && ExecSql(QStringLiteral("COMMIT"));
}

QString Tdm::BeginSavepoint() {
    const QString name = QStringLiteral("verdan_sp%1").arg(++savepoints_);
    if (!ExecSql(QStringLiteral("SAVEPOINT ") + name))
        return QString();
    savepointChanges_.insert(name, TotalChanges());
    return name;
}

bool Tdm::ReleaseSavepoint(const QString& name) {
    // Once the tree turned read-only nothing a transaction wrote may reach it.
    const qint64 before = savepointChanges_.take(name);
    if (readOnly_ && TotalChanges() != before) {
        RollbackSavepoint(name);
        return false;
    }
    return ExecSql(QStringLiteral("RELEASE ") + name);
}

void Tdm::RollbackSavepoint(const QString& name) {
    savepointChanges_.remove(name);
    ExecSql(QStringLiteral("ROLLBACK TO ") + name);
    ExecSql(QStringLiteral("RELEASE ") + name);
}

// ---------------------------------------------------------------------------------------------------------

Transaction::Transaction(Tdm& dm) : dm_(dm), name_(dm.BeginSavepoint()) {
}

Transaction::~Transaction() {
    if (!name_.isEmpty())
        dm_.RollbackSavepoint(name_);
}

bool Transaction::Commit() {
    if (name_.isEmpty())
        return false;
    const QString name = std::exchange(name_, QString());
    if (dm_.ReleaseSavepoint(name))
        return true;
    dm_.RollbackSavepoint(name);
    return false;
}

} // namespace verdan
