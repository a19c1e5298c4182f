#include "name_cache.h"

#include "packed_rows.h"
#include "storage/database.h"
#include "storage/tree_file.h"

#include <QElapsedTimer>
#include <QHash>
#include <QUuid>
#include <memory>
#include <vector>

namespace verdan {

namespace {

constexpr int kWholeLine = 250;

// "-1", "0" and nothing stand for no father; no person has them as identifier.
bool IsReservedParent(const QString& id) {
    const QString trimmed = id.trimmed();
    return trimmed.isEmpty() || trimmed == u"0" || trimmed == u"-1";
}
constexpr int kNoEntry = -1;
// Rows read between two looks at the clock.
constexpr int kRowsPerLook = 256;

// Identifiers are GUID texts almost always: those are kept as their 16 bytes, others as their text.
struct TIdIndex {
    QHash<QUuid, int> guids;
    QHash<QString, int> others; // trimmed, upper-cased

    static bool AsGuid(QStringView id, QUuid& guid) {
        if (id.size() != 38 || id.front() != u'{')
            return false;
        guid = QUuid::fromString(id);
        return !guid.isNull();
    }
    int Find(const QString& id) const {
        const QString key = id.trimmed();
        if (key.isEmpty())
            return kNoEntry;
        QUuid guid;
        if (AsGuid(key, guid))
            return guids.value(guid, kNoEntry);
        return others.value(key.toUpper(), kNoEntry);
    }
    // False when the identifier is blank or taken already.
    bool Insert(const QString& id, int entry) {
        const QString key = id.trimmed();
        if (key.isEmpty())
            return false;
        QUuid guid;
        if (AsGuid(key, guid)) {
            if (guids.contains(guid))
                return false;
            guids.insert(guid, entry);
            return true;
        }
        const QString upper = key.toUpper();
        if (others.contains(upper))
            return false;
        others.insert(upper, entry);
        return true;
    }
};

struct TNameCache {
    TIdIndex index;
    TPackedRows names;
    std::vector<TPackedRows::Ref> nameOf;
    std::vector<int> father; // entry of the father; kNoEntry at the top of the line or when unknown
    std::vector<bool> group;
    int rows = 0; // rows read, a duplicate identifier's too

    QString Name(int entry) const { return names.Field(nameOf[entry], 0); }
};

struct TCacheState {
    std::unique_ptr<TNameCache> cache;
    quint64 generation = 0;
    // Grows at every release, so a loader still reading knows that what it read is stale.
    quint64 epoch = 0;
    int registration = 0;
};

TCacheState& State() {
    static TCacheState state;
    return state;
}

const TNameCache* Loaded() {
    const TCacheState& state = State();
    return state.cache && state.generation == TreeGeneration() ? state.cache.get() : nullptr;
}

} // namespace

// The loader reads (identifier, father, name, group) rows into a cache of its own and hands it over
// complete; fathers are resolved to entries once every identifier is known.
struct TNameCacheLoader::TState {
    std::unique_ptr<TNameCache> cache;
    // Fathers met before their own rows, resolved once every identifier is known: (entry, father).
    std::vector<std::pair<int, QString>> pending;
    size_t resolved = 0;
    Query query;
    bool started = false;
    quint64 epoch = 0;
    quint64 generation = 0;
    int done = 0;
    int total = 0;

    void Start() {
        *this = TState();
        started = true;
        epoch = State().epoch;
        generation = TreeGeneration();
        if (!Dm().IsConnected())
            return;
        cache = std::make_unique<TNameCache>();
        total = static_cast<int>(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson")));
        cache->nameOf.reserve(total);
        cache->father.reserve(total);
        cache->group.reserve(total);
        cache->index.guids.reserve(total);
        Dm().OpenQuery(
            query, QStringLiteral(
                       "SELECT person_id, father_id, person_name, is_section FROM ftPerson ORDER BY oid"));
    }

    // True when the query ran out (or never ran). The query stands on the row to read next.
    bool Read(const QElapsedTimer& clock, int budgetMs) {
        if (!query.IsPrepared())
            return true;
        for (int looked = 0;; ++looked, query.Next()) {
            if (looked == kRowsPerLook) {
                if (clock.elapsed() >= budgetMs)
                    return false;
                looked = 0;
            }
            if (query.AtEnd())
                return true;
            ++done;
            const int entry = static_cast<int>(cache->nameOf.size());
            if (!cache->index.Insert(query.Text(0), entry))
                continue;
            // Fathers mostly come before their children: most are found at once.
            const QString father = query.Text(1);
            const int found = cache->index.Find(father);
            cache->father.push_back(found);
            if (found == kNoEntry && !IsReservedParent(father))
                pending.emplace_back(entry, father);
            cache->nameOf.push_back(cache->names.Append({query.Text(2)}));
            cache->group.push_back(query.Bool(3));
        }
    }

    // Resolves the fathers left pending until the time is up; true when every one is.
    bool Resolve(const QElapsedTimer& clock, int budgetMs) {
        for (; resolved < pending.size(); ++resolved) {
            if (resolved % kRowsPerLook == 0 && clock.elapsed() >= budgetMs)
                return false;
            cache->father[pending[resolved].first] = cache->index.Find(pending[resolved].second);
        }
        return true;
    }

    void Finish() {
        cache->rows = done;
        // The group outside the tree holds persons but fathers none, whatever its row says.
        const int outside = cache->index.Find(GetGlobalParentId());
        if (outside != kNoEntry)
            cache->group[outside] = true;
        TCacheState& state = State();
        if (state.registration == 0)
            state.registration = RegisterStoreCache(ReleaseNameCache);
        state.cache = std::move(cache);
        state.generation = generation;
        pending = {};
        query = Query();
    }
};

TNameCacheLoader::TNameCacheLoader() : state_(new TState) {
}

TNameCacheLoader::~TNameCacheLoader() {
    delete state_;
}

bool TNameCacheLoader::Step(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    if (state_->started && (state_->epoch != State().epoch || state_->generation != TreeGeneration()))
        state_->started = false;
    if (!state_->started) {
        if (Loaded())
            return true;
        state_->Start();
    }
    if (!state_->cache)
        return true;
    if (!state_->Read(clock, budgetMs) || !state_->Resolve(clock, budgetMs))
        return false;
    state_->Finish();
    return true;
}

int TNameCacheLoader::Done() const {
    return state_->done;
}

int TNameCacheLoader::Total() const {
    return state_->total;
}

void ReleaseNameCache() {
    State().cache.reset();
    ++State().epoch;
}

void LoadNameCache() {
    ReleaseNameCache();
    TNameCacheLoader loader;
    while (!loader.Step(1000)) {
    }
}

void EnsureNameCache() {
    if (!NameCacheLoaded())
        LoadNameCache();
}

bool NameCacheLoaded() {
    return Loaded() != nullptr;
}

int CachedRowCount() {
    const TNameCache* cache = Loaded();
    return cache ? cache->rows : 0;
}

QString CachedName(const QString& id) {
    const TNameCache* cache = Loaded();
    const int entry = cache ? cache->index.Find(id) : kNoEntry;
    return entry == kNoEntry ? QString() : cache->Name(entry);
}

bool CachedIsGroup(const QString& id) {
    const TNameCache* cache = Loaded();
    const int entry = cache ? cache->index.Find(id) : kNoEntry;
    return entry != kNoEntry && cache->group[entry];
}

QStringList CachedFatherLine(const QString& id, int count) {
    const int n = count <= 0 ? kWholeLine : count;
    QStringList line(n);
    const TNameCache* cache = Loaded();
    if (!cache)
        return line;
    // The walk is bounded by the count, so a father line that loops ends all the same.
    int entry = cache->index.Find(id);
    for (int i = 0; i < n && entry != kNoEntry; ++i) {
        line[i] = cache->Name(entry);
        entry = cache->father[entry];
        if (entry != kNoEntry && cache->group[entry])
            break;
    }
    return line;
}

} // namespace verdan
