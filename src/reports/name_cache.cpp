#include "name_cache.h"

#include "storage/database.h"
#include "storage/tree_file.h"

#include <QHash>
#include <vector>

namespace verdan {

namespace {

constexpr int kInitialCapacity = 2000;
constexpr int kWholeLine = 250;

struct TNameCache {
    QHash<QString, int> index; // upper-cased identifier -> entry
    std::vector<QString> names;
    std::vector<QString> fathers;
    bool loaded = false;
    quint64 generation = 0;
    int registration = 0;
};

TNameCache& Cache() {
    static TNameCache cache;
    return cache;
}

int EntryOf(const QString& id) {
    const QString key = id.trimmed().toUpper();
    if (key.isEmpty())
        return -1;
    return Cache().index.value(key, -1);
}

} // namespace

void ReleaseNameCache() {
    TNameCache& cache = Cache();
    cache.index = QHash<QString, int>();
    cache.names = std::vector<QString>();
    cache.fathers = std::vector<QString>();
    cache.loaded = false;
}

void LoadNameCache() {
    TNameCache& cache = Cache();
    if (cache.registration == 0)
        cache.registration = RegisterStoreCache(ReleaseNameCache);
    ReleaseNameCache();
    if (!Dm().IsConnected())
        return;
    cache.index.reserve(kInitialCapacity);
    cache.names.reserve(kInitialCapacity);
    cache.fathers.reserve(kInitialCapacity);
    Query query;
    Dm().OpenQuery(query,
                   QStringLiteral("SELECT person_id, father_id, person_name FROM ftPerson ORDER BY oid"));
    query.ForEachRow([&](const Query& row) {
        const QString key = row.Text(0).trimmed().toUpper();
        if (key.isEmpty() || cache.index.contains(key))
            return;
        cache.index.insert(key, static_cast<int>(cache.names.size()));
        cache.fathers.push_back(row.Text(1));
        cache.names.push_back(row.Text(2));
    });
    cache.loaded = true;
    cache.generation = TreeGeneration();
}

void EnsureNameCache() {
    if (!NameCacheLoaded())
        LoadNameCache();
}

bool NameCacheLoaded() {
    return Cache().loaded && Cache().generation == TreeGeneration();
}

QString CachedName(const QString& id) {
    const int entry = EntryOf(id);
    return entry < 0 ? QString() : Cache().names[entry];
}

QString CachedFatherId(const QString& id) {
    const int entry = EntryOf(id);
    return entry < 0 ? QString() : Cache().fathers[entry];
}

QStringList CachedFatherLine(const QString& id, int count, const QString& leaveOut) {
    const int n = count <= 0 ? kWholeLine : count;
    QStringList line(n);
    int entry = EntryOf(id);
    const int stop = EntryOf(leaveOut);
    // The walk is bounded by the count, so a father line that loops ends all the same.
    for (int i = 0; i < n && entry >= 0; ++i) {
        line[i] = Cache().names[entry];
        entry = EntryOf(Cache().fathers[entry]);
        if (entry == stop)
            break;
    }
    return line;
}

} // namespace verdan
