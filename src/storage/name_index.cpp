#include "storage/name_index.h"

#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/search_fold.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <memory>
#include <sqlite3.h>
#include <thread>
#include <utility>

namespace verdan::name_index {

namespace {

const char* const kWatchFunction = "verdan_name_row_changed";
const char* const kWatchTrigger = "ftPerson_name_watch_update";
const QString kColumns = QStringLiteral(
    "oid, Person_Id, Father_Id, Mother_Id, Person_Name, Other_Name, Cognomen, Nickname, Last_Name");

// Row numbers below this are looked up in a vector; larger ones (rare: written by other programs) in a hash.
constexpr qint64 kDenseOids = qint64(1) << 26;

// Past this share of the table, reading the whole table again is quicker than row by row.
constexpr int kRebuildDivisor = 8;

struct Index {
    bool built = false;
    QSet<qint64> changed; // rows the triggers reported since the last Sync
    // Read while a transaction was open, which may still be rolled back without a trigger telling: read
    // again once it has ended.
    QSet<qint64> provisional;
    bool builtProvisionally = false;
    std::vector<TRow> rows;
    std::vector<int> positionOfOid;     // oid -> position, -1 when none
    QHash<qint64, int> sparsePositions; // for the rare oids too large for the vector
    QHash<QString, int> tokenOf;
    QStringList texts;
    QHash<QByteArray, int> rawToken; // stored bytes -> token, spares a conversion per value while reading
    std::vector<std::unique_ptr<QCollatorSortKey>> keys;
    QString keysLocale;
    // Two identifiers share a hash: the parents are linked by their texts once the rows are in.
    bool linkExactly = false;

    void Reset() { *this = Index(); }
};

Index& Current() {
    static Index index;
    return index;
}

// The whole table read on a thread of its own, so a large tree opens without the window waiting for its
// names. The connection is shared, which the engine serialises; the rows other statements change while it
// reads are reported by the triggers and read again once the rows are taken over.
struct Reading {
    std::thread thread;
    std::atomic<bool> stop{false};
    Index index;
    bool ok = false;
    int failure = SQLITE_OK;
};

// Never destroyed: closing the connection, which the data module does even at the program's end, still
// finds the reading to end it.
std::unique_ptr<Reading>& Background() {
    static auto* reading = new std::unique_ptr<Reading>();
    return *reading;
}

void RowChanged(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc == 1)
        Current().changed.insert(sqlite3_value_int64(argv[0]));
    sqlite3_result_null(context);
}

// Temporary triggers live only in the connection that made them, so their absence also tells that the
// tree was opened anew since the index was built.
bool ConnectionIsWatched() {
    return Dm().ScalarInt("SELECT count(*) FROM sqlite_temp_master WHERE type = 'trigger' AND name = ?",
                          QString::fromLatin1(kWatchTrigger)) > 0;
}

bool WatchConnection() {
    if (sqlite3_create_function_v2(Dm().Handle(), kWatchFunction, 1, SQLITE_UTF8 | SQLITE_INNOCUOUS, nullptr,
                                   RowChanged, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    const QString body = QStringLiteral(" ON ftPerson BEGIN SELECT %1(%2.oid); END").arg(kWatchFunction);
    return Dm().ExecSql("CREATE TEMP TRIGGER IF NOT EXISTS ftPerson_name_watch_insert AFTER INSERT" +
                        body.arg(QStringLiteral("new"))) &&
           Dm().ExecSql("CREATE TEMP TRIGGER IF NOT EXISTS ftPerson_name_watch_delete AFTER DELETE" +
                        body.arg(QStringLiteral("old"))) &&
           Dm().ExecSql(QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1 AFTER UPDATE OF Person_Id, "
                                       "Father_Id, Mother_Id, Person_Name, Other_Name, Cognomen, Nickname, "
                                       "Last_Name")
                            .arg(kWatchTrigger) +
                        body.arg(QStringLiteral("new")));
}

int Intern(Index& index, const QString& text) {
    const QString folded = Fold(text);
    if (folded.isEmpty())
        return kNoName;
    const auto known = index.tokenOf.constFind(folded);
    if (known != index.tokenOf.constEnd())
        return *known;
    const int token = int(index.texts.size());
    index.tokenOf.insert(folded, token);
    index.texts.append(folded);
    return token;
}

int InternRaw(Index& index, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return kNoName;
    const auto known = index.rawToken.constFind(bytes);
    if (known != index.rawToken.constEnd())
        return *known;
    const int token = Intern(index, QString::fromUtf8(bytes));
    // The bytes may be borrowed from the statement: the key keeps a copy of its own.
    index.rawToken.insert(QByteArray(bytes.constData(), bytes.size()), token);
    return token;
}

void ReadNames(Index& index, const Query& q, TRow& row) {
    row.name = InternRaw(index, q.Blob(4));
    row.other = InternRaw(index, q.Blob(5));
    row.cognomen = InternRaw(index, q.Blob(6));
    row.nickname = InternRaw(index, q.Blob(7));
    row.last = InternRaw(index, q.Blob(8));
}

// The text of a column as stored, borrowed from the statement until it steps on.
QByteArray Borrowed(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QByteArray::fromRawData(text, sqlite3_column_bytes(stmt, column)) : QByteArray();
}

// Identifiers compare as the tree file compares them, ASCII letters without regard to case; reading a
// whole tree, their hashes spare a map of a million identifier texts.
quint64 IdHash(const QByteArray& id) {
    quint64 hash = 14695981039346656037ull;
    for (const char c : id) {
        hash ^= quint8(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        hash *= 1099511628211ull;
    }
    return hash;
}

void SetPosition(Index& index, qint64 oid, int position) {
    if (oid < 0 || oid >= kDenseOids) {
        index.sparsePositions.insert(oid, position);
        return;
    }
    if (size_t(oid) >= index.positionOfOid.size())
        index.positionOfOid.resize(size_t(oid) + 1 + index.positionOfOid.size() / 4, -1);
    index.positionOfOid[size_t(oid)] = position;
}

int PositionOfOid(const Index& index, qint64 oid) {
    if (oid < 0 || oid >= kDenseOids)
        return index.sparsePositions.value(oid, -1);
    return size_t(oid) < index.positionOfOid.size() ? index.positionOfOid[size_t(oid)] : -1;
}

bool InTransaction() {
    return sqlite3_get_autocommit(Dm().Handle()) == 0;
}

bool IsReserved(const QByteArray& parent) {
    return parent.isEmpty() || parent == "0" || parent == "-1";
}

void LinkParentsExactly(Index& index);

// Reads the whole table with one statement of its own, whose values are read in place, into `index`.
// Touches nothing but `index` and the connection, so it may run on another thread; `stop` ends it early.
// A statement that fails leaves its code in `failure`, for the interface thread to tell.
bool ReadTable(sqlite3* db, size_t expected, Index& index, const std::atomic<bool>& stop, int& failure) {
    index.rows.reserve(expected);
    std::vector<quint64> parents; // hashes of father and mother per row; 0 for none
    parents.reserve(2 * expected);
    std::vector<std::pair<quint64, int>> ids;
    ids.reserve(expected);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = "SELECT " + kColumns.toUtf8() + " FROM ftPerson";
    int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        failure = rc;
        return false;
    }
    const auto parentHash = [](const QByteArray& parent) {
        return IsReserved(parent) ? 0 : IdHash(parent);
    };
    while (!stop.load(std::memory_order_relaxed) && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        TRow& row = index.rows.emplace_back();
        row.oid = sqlite3_column_int64(stmt, 0);
        const QByteArray id = Borrowed(stmt, 1);
        row.id = QByteArray(id.constData(), id.size());
        row.name = InternRaw(index, Borrowed(stmt, 4));
        row.other = InternRaw(index, Borrowed(stmt, 5));
        row.cognomen = InternRaw(index, Borrowed(stmt, 6));
        row.nickname = InternRaw(index, Borrowed(stmt, 7));
        row.last = InternRaw(index, Borrowed(stmt, 8));
        parents.push_back(parentHash(Borrowed(stmt, 2)));
        parents.push_back(parentHash(Borrowed(stmt, 3)));
        const int position = int(index.rows.size()) - 1;
        if (!row.id.isEmpty())
            ids.emplace_back(IdHash(row.id), position);
        SetPosition(index, row.oid, position);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        failure = rc;
        return false;
    }
    std::sort(ids.begin(), ids.end());
    index.linkExactly = std::adjacent_find(ids.begin(), ids.end(), [](const auto& a, const auto& b) {
                            return a.first == b.first;
                        }) != ids.end();
    if (!index.linkExactly) {
        const auto find = [&ids](quint64 hash) {
            const auto at = std::lower_bound(ids.begin(), ids.end(), std::pair<quint64, int>(hash, -1));
            return hash != 0 && at != ids.end() && at->first == hash ? at->second : -1;
        };
        for (size_t i = 0; i < index.rows.size(); ++i) {
            index.rows[i].father = find(parents[2 * i]);
            index.rows[i].mother = find(parents[2 * i + 1]);
        }
    }
    return true;
}

size_t PersonCount() {
    return size_t(std::max<qint64>(0, Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson"))));
}

// Opening or closing a tree empties the index at once, so no memory of another tree lingers.
void RegisterClear() {
    static const bool registered = [] {
        RegisterStoreCache(Clear);
        return true;
    }();
    Q_UNUSED(registered);
}

// Starts a new index of the open tree: the triggers report every change from here on.
bool BeginBuild() {
    Index& index = Current();
    index.Reset();
    if (!Dm().IsConnected() || !WatchConnection())
        return false;
    index.builtProvisionally = InTransaction();
    return true;
}

// Takes over the rows read since BeginBuild, keeping the changes reported meanwhile.
void EndBuild(Index&& read) {
    Index& index = Current();
    QSet<qint64> changed = std::move(index.changed);
    const bool provisional = index.builtProvisionally;
    index = std::move(read);
    index.changed = std::move(changed);
    index.builtProvisionally = provisional;
    if (index.linkExactly)
        LinkParentsExactly(index);
    index.built = true;
}

bool Build() {
    if (!BeginBuild())
        return false;
    Index read;
    const std::atomic<bool> never{false};
    int failure = SQLITE_OK;
    if (!ReadTable(Dm().Handle(), PersonCount(), read, never, failure)) {
        Dm().NoteFailure(failure);
        Current().Reset();
        return false;
    }
    EndBuild(std::move(read));
    // Everything written meanwhile was read with the table.
    Current().changed.clear();
    return true;
}

// Waits for the reading thread; true when its rows are taken over.
bool FinishBackground() {
    std::unique_ptr<Reading> reading = std::move(Background());
    if (!reading)
        return false;
    reading->thread.join();
    Dm().SetBackgroundReader({});
    if (!reading->ok) {
        Dm().NoteFailure(reading->failure);
        return false;
    }
    EndBuild(std::move(reading->index));
    return true;
}

void StopBackground() {
    std::unique_ptr<Reading> reading = std::move(Background());
    if (!reading)
        return;
    reading->stop = true;
    reading->thread.join();
    Dm().SetBackgroundReader({});
}

// The position of the living row of that identifier, -1 for none.
int ResolveParent(const Index& index, const QByteArray& parent) {
    if (IsReserved(parent))
        return -1;
    Query q = Dm().Prepare(QStringLiteral("SELECT oid FROM ftPerson WHERE Person_Id = ?"),
                           QString::fromUtf8(parent));
    return q.Next() ? PositionOfOid(index, q.Int(0)) : -1;
}

void RelinkRow(Index& index, int position, const QByteArray& father, const QByteArray& mother) {
    index.rows[size_t(position)].father = ResolveParent(index, father);
    index.rows[size_t(position)].mother = ResolveParent(index, mother);
}

void LinkParentsExactly(Index& index) {
    Query q = Dm().Prepare(QStringLiteral("SELECT oid, Father_Id, Mother_Id FROM ftPerson"));
    while (q.Next()) {
        const int position = PositionOfOid(index, q.Int(0));
        if (position >= 0)
            RelinkRow(index, position, q.Blob(1), q.Blob(2));
    }
}

// Every row whose father or mother is `id` links to that parent again, as the table now says.
void RelinkChildrenOf(Index& index, const QByteArray& id) {
    Query q = Dm().Prepare(
        QStringLiteral(
            "SELECT oid, Father_Id, Mother_Id FROM ftPerson WHERE Father_Id = ?1 OR Mother_Id = ?1"),
        QString::fromUtf8(id));
    while (q.Next()) {
        const int position = PositionOfOid(index, q.Int(0));
        if (position >= 0)
            RelinkRow(index, position, q.Blob(1), q.Blob(2));
    }
}

// Reads the rows the triggers reported: new rows are appended, changed ones read again, deleted ones
// marked. Identifiers that appeared or went away relink the rows that name them as parents.
bool ApplyChanges() {
    Index& index = Current();
    QSet<qint64> changed = std::exchange(index.changed, {});
    changed.unite(std::exchange(index.provisional, {}));
    if (InTransaction())
        index.provisional = changed;
    if (changed.isEmpty())
        return true;
    if (qsizetype(changed.size()) > qsizetype(index.rows.size()) / kRebuildDivisor + 64)
        return Build();
    QList<QByteArray> identifiers; // appeared or went away
    for (const qint64 oid : changed) {
        Query row = Dm().Prepare(
            QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM ftPerson WHERE oid = ?"), oid);
        int position = PositionOfOid(index, oid);
        if (!row.Next()) {
            if (row.Failed())
                return Build();
            if (position >= 0) {
                index.rows[size_t(position)].alive = false;
                identifiers << index.rows[size_t(position)].id;
                SetPosition(index, oid, -1);
            }
            continue;
        }
        const QByteArray id = row.Blob(1);
        if (position < 0) {
            position = int(index.rows.size());
            index.rows.emplace_back().oid = oid;
            SetPosition(index, oid, position);
            identifiers << id;
        } else if (index.rows[size_t(position)].id.toUpper() != id.toUpper()) {
            identifiers << index.rows[size_t(position)].id << id;
        }
        TRow& entry = index.rows[size_t(position)];
        entry.id = id;
        entry.alive = true;
        ReadNames(index, row, entry);
        RelinkRow(index, position, row.Blob(2), row.Blob(3));
    }
    for (const QByteArray& id : identifiers)
        RelinkChildrenOf(index, id);
    return true;
}

} // namespace

QString Fold(const QString& text) {
    return SearchFold(text);
}

bool Sync() {
    RegisterClear();
    Index& index = Current();
    if (!Dm().IsConnected()) {
        StopBackground();
        index.Reset();
        return false;
    }
    if (Background() && !FinishBackground())
        return Build();
    if (!index.built || (index.builtProvisionally && !InTransaction()) || !ConnectionIsWatched())
        return Build();
    return ApplyChanges();
}

void StartReading() {
    if (Current().built || Background() || !Dm().IsConnected())
        return;
    RegisterClear();
    if (!sqlite3_threadsafe() || !BeginBuild())
        return;
    auto reading = std::make_unique<Reading>();
    Reading* r = reading.get();
    sqlite3* db = Dm().Handle();
    const size_t expected = PersonCount();
    Background() = std::move(reading);
    // Closing or compacting the tree, or watching its statements, ends the reading first.
    Dm().SetBackgroundReader(StopBackground);
    r->thread =
        std::thread([r, db, expected] { r->ok = ReadTable(db, expected, r->index, r->stop, r->failure); });
}

bool IsReading() {
    return Background() != nullptr;
}

void Clear() {
    StopBackground();
    Current().Reset();
}

const std::vector<TRow>& Rows() {
    return Current().rows;
}

int TokenOf(const QString& folded) {
    if (folded.isEmpty())
        return kNoName;
    return Current().tokenOf.value(folded, kUnknown);
}

const QString& TextOf(int token) {
    static const QString none;
    const Index& index = Current();
    return token >= 0 && token < index.texts.size() ? index.texts[token] : none;
}

int TokenCount() {
    return int(Current().texts.size());
}

const QCollatorSortKey& SortKey(int token) {
    Index& index = Current();
    static QCollator collator;
    if (index.keysLocale != QLocale().name()) {
        collator = QCollator(QLocale());
        index.keys.clear();
        index.keysLocale = QLocale().name();
    }
    if (token < 0) {
        static const QCollatorSortKey empty = collator.sortKey(QString());
        return empty;
    }
    if (index.keys.size() < size_t(index.texts.size()))
        index.keys.resize(size_t(index.texts.size()));
    std::unique_ptr<QCollatorSortKey>& key = index.keys[size_t(token)];
    if (!key)
        key = std::make_unique<QCollatorSortKey>(collator.sortKey(index.texts[token]));
    return *key;
}

} // namespace verdan::name_index
