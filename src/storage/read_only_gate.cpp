#include "read_only_gate.h"

#include "database.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/message_details.h"

#include <sqlite3.h>

// The read-only gate of the data module and what happens when a connection finds its file damaged.

namespace verdan {

namespace {

DamageHandler& Handler() {
    static DamageHandler handler;
    return handler;
}

int& DamageCount() {
    static int count = 0;
    return count;
}

// Failures that mean the file cannot be read as it was written: damage, or the disk under it.
bool IsReadFailure(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || rc == SQLITE_IOERR_READ ||
           rc == SQLITE_IOERR_SHORT_READ;
}

bool IsTemporaryStore(const char* database) {
    return database && qstrcmp(database, "temp") == 0;
}

// Pragmas that write to the file: with a value, or (the last three) by being run at all.
bool IsWritingPragma(const char* name, bool withValue) {
    static const char* const setters[] = {"application_id", "auto_vacuum",  "journal_mode",   "page_size",
                                          "schema_version", "user_version", "writable_schema"};
    static const char* const actions[] = {"optimize", "incremental_vacuum", "wal_checkpoint"};
    for (const char* pragma : actions)
        if (qstricmp(name, pragma) == 0)
            return true;
    if (withValue)
        for (const char* pragma : setters)
            if (qstricmp(name, pragma) == 0)
                return true;
    return false;
}

// The read-only gate: whatever would change a file is refused while the statement is prepared. The
// connection's temporary store (the undo record, views over the tree) is no file of the tree.
int AuthorizeReadOnly(void*, int action, const char* first, const char* second, const char* database,
                      const char*) {
    switch (action) {
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        // The engine asks about the schema table while it reads the schema for a statement; no statement
        // can change that table (the connection is defensive), and schema changes are refused below.
        if (first && (qstricmp(first, "sqlite_master") == 0 || qstricmp(first, "sqlite_temp_master") == 0))
            return SQLITE_OK;
        return IsTemporaryStore(database) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_DROP_VIEW:
    case SQLITE_REINDEX:
    case SQLITE_ANALYZE:
        return IsTemporaryStore(database) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_ALTER_TABLE:
        return IsTemporaryStore(first) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_VTABLE:
        return SQLITE_DENY;
    case SQLITE_PRAGMA:
        return IsWritingPragma(first, second != nullptr) ? SQLITE_DENY : SQLITE_OK;
    default:
        return SQLITE_OK;
    }
}

void ReportDamage(const QString& path, const QString& reason, bool messageWanted) {
    const DamageHandler handler = Handler();
    if (handler && handler(path, reason, messageWanted))
        return;
    if (messageWanted)
        ShowStoreMessage(StoreMessage::Error, DamageMessageText(path, reason));
}

} // namespace

namespace gate {

// VACUUM rewrites the file without asking the gate; VACUUM INTO only reads it.
bool IsInPlaceVacuum(QStringView sql) {
    const QStringView text = sql.trimmed();
    return text.startsWith(QLatin1String("VACUUM"), Qt::CaseInsensitive) &&
           !text.contains(QLatin1String(" INTO "), Qt::CaseInsensitive);
}

QString ReadOnlyReason() {
    return Translate(QStringLiteral("The tree is open read-only, so nothing can be changed in it."));
}

} // namespace gate

bool DamageSeen() {
    return DamageCount() > 0;
}

QString DamageMessageText(const QString& path, const QString& reason) {
    return Translate(QStringLiteral("The tree file is damaged.")) + u'\r' + IsolatePath(path) + u'|' +
           Translate(QStringLiteral("Parts of it cannot be read. Nothing more is written to it, so nothing "
                                    "more of it is lost. Rescue a copy to get a new tree with everything "
                                    "that can still be read.")) +
           DetailsLine(reason);
}

DamageHandler SetDamageHandler(DamageHandler handler) {
    std::swap(Handler(), handler);
    return handler;
}

// ---------------------------------------------------------------------------------------------------------

void Tdm::NoteFailure(int rc) {
    busy_ = (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
    if (!IsReadFailure(rc) || !isDatabaseFile_ || !db_)
        return;
    NoteDamage(QString::fromUtf8(sqlite3_errmsg(db_)));
}

void Tdm::NoteDamage(const QString& reason) {
    if (!db_)
        return;
    ++DamageCount();
    if (std::exchange(damaged_, true))
        return;
    damageReason_ = reason;
    // A damaged file is never written: what was written of the transaction that met the damage goes too.
    SetReadOnly(true);
    ReportDamage(path_, reason, damageMessages_);
}

void Tdm::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    // Setting the authorizer expires every prepared statement, so the cached ones are checked again.
    if (db_)
        sqlite3_set_authorizer(db_, readOnly ? AuthorizeReadOnly : nullptr, nullptr);
}

} // namespace verdan
