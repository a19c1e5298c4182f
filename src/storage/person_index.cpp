#include "storage/person_index.h"

#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/tree_file.h"

#include <QHash>
#include <sqlite3.h>
#include <vector>

namespace verdan {

namespace {

// Children of each person as a compact adjacency list: the children of slot s are
// children[start[s] .. start[s + 1]).
struct ChildLists {
    std::vector<int> start;
    std::vector<int> children;

    void Build(const std::vector<int>& parentOf, int persons) {
        start.assign(persons + 1, 0);
        for (int parent : parentOf) {
            if (parent >= 0)
                ++start[parent + 1];
        }
        for (int s = 0; s < persons; ++s)
            start[s + 1] += start[s];
        children.assign(start[persons], 0);
        std::vector<int> next(start.begin(), start.end() - 1);
        for (int child = 0; child < static_cast<int>(parentOf.size()); ++child) {
            if (parentOf[child] >= 0)
                children[next[parentOf[child]]++] = child;
        }
    }
};

struct PersonIndex {
    bool built = false;
    // Set by the watch triggers whenever ftPerson gains or loses a person, a parent or a gender.
    bool stale = false;
    QHash<QByteArray, int> slotOf; // Person_Id in UTF-8, ASCII letters upper-cased as the file compares them
    std::vector<char> gender;      // 'm', 'f' or '?' per slot
    ChildLists byFather;
    ChildLists byMother;

    void Clear() { *this = PersonIndex(); }
};

PersonIndex& Index() {
    static PersonIndex index;
    return index;
}

const char* const kWatchFunction = "verdan_person_rows_changed";
const char* const kWatchTrigger = "ftPerson_index_watch_update";

void MarkIndexStale(sqlite3_context* context, int, sqlite3_value**) {
    Index().stale = true;
    sqlite3_result_null(context);
}

// Temporary triggers live only in the connection that made them, so their absence also tells that the
// tree was opened anew since the index was built.
bool ConnectionIsWatched() {
    return Dm().ScalarInt("SELECT count(*) FROM sqlite_temp_master WHERE type = 'trigger' AND name = ?",
                          QString::fromLatin1(kWatchTrigger)) > 0;
}

bool WatchConnection() {
    if (sqlite3_create_function_v2(Dm().Handle(), kWatchFunction, 0, SQLITE_UTF8 | SQLITE_INNOCUOUS, nullptr,
                                   MarkIndexStale, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    const QString call = QStringLiteral(" ON ftPerson BEGIN SELECT %1(); END").arg(kWatchFunction);
    return Dm().ExecSql("CREATE TEMP TRIGGER IF NOT EXISTS ftPerson_index_watch_insert AFTER INSERT" +
                        call) &&
           Dm().ExecSql("CREATE TEMP TRIGGER IF NOT EXISTS ftPerson_index_watch_delete AFTER DELETE" +
                        call) &&
           Dm().ExecSql(QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1 AFTER UPDATE OF Person_Id, "
                                       "Father_Id, Mother_Id, Gender")
                            .arg(kWatchTrigger) +
                        call);
}

char GenderSlot(const QByteArray& code, QHash<QByteArray, char>& seen) {
    const auto known = seen.constFind(code);
    if (known != seen.constEnd())
        return *known;
    const QString normal = NormaliseGender(QString::fromUtf8(code));
    const char slot = normal == u"m" ? 'm' : normal == u"f" ? 'f' : '?';
    seen.insert(code, slot);
    return slot;
}

// Identifiers are read as their stored bytes (tree files keep text in UTF-8): a whole tree is read at
// once, and this spares a text conversion per value.
QByteArray IdKey(const Query& q, int column) {
    return q.Blob(column).toUpper();
}

bool EnsureIndex() {
    PersonIndex& index = Index();
    if (!Dm().IsConnected()) {
        index.Clear();
        return false;
    }
    if (!index.built || index.stale || !ConnectionIsWatched())
        BuildPersonIndex();
    return index.built;
}

} // namespace

void BuildPersonIndex() {
    // Opening or closing a tree empties the index at once, so no memory of another tree lingers.
    static const bool registered = [] {
        RegisterStoreCache(ClearPersonIndex);
        return true;
    }();
    Q_UNUSED(registered);
    PersonIndex& index = Index();
    index.Clear();
    if (!Dm().IsConnected() || !WatchConnection())
        return;
    std::vector<QByteArray> fathers;
    std::vector<QByteArray> mothers;
    QHash<QByteArray, char> genders;
    Query q = Dm().Prepare("SELECT Person_Id, Father_Id, Mother_Id, Gender FROM ftPerson");
    while (q.Next()) {
        QByteArray id = IdKey(q, 0);
        if (id.isEmpty() || index.slotOf.contains(id))
            continue;
        index.slotOf.insert(std::move(id), static_cast<int>(index.gender.size()));
        index.gender.push_back(GenderSlot(q.Blob(3), genders));
        fathers.push_back(IdKey(q, 1));
        mothers.push_back(IdKey(q, 2));
    }
    if (q.Failed()) {
        index.Clear();
        return;
    }
    const int persons = static_cast<int>(index.gender.size());
    std::vector<int> fatherOf(persons);
    std::vector<int> motherOf(persons);
    for (int s = 0; s < persons; ++s) {
        fatherOf[s] = index.slotOf.value(fathers[s], -1);
        motherOf[s] = index.slotOf.value(mothers[s], -1);
    }
    index.byFather.Build(fatherOf, persons);
    index.byMother.Build(motherOf, persons);
    index.built = true;
}

void ClearPersonIndex() {
    Index().Clear();
}

TDescendantCounts CountDescendantsDetailed(const QString& id, bool includeFemale) {
    TDescendantCounts counts;
    if (!EnsureIndex())
        return counts;
    const PersonIndex& index = Index();
    const int root = index.slotOf.value(id.toUtf8().toUpper(), -1);
    if (root < 0)
        return counts;
    // The root is visited before the walk starts, so a cycle back to it never counts it.
    std::vector<char> visited(index.gender.size(), 0);
    visited[root] = 1;
    std::vector<int> pending{root};
    auto take = [&](const ChildLists& lists, int parent) {
        for (int i = lists.start[parent]; i < lists.start[parent + 1]; ++i) {
            const int child = lists.children[i];
            if (visited[child])
                continue;
            visited[child] = 1;
            ++counts.Total;
            if (index.gender[child] == 'm')
                ++counts.Males;
            else
                ++counts.Females;
            pending.push_back(child);
        }
    };
    while (!pending.empty()) {
        const int parent = pending.back();
        pending.pop_back();
        take(index.byFather, parent);
        if (includeFemale && index.gender[parent] == 'f')
            take(index.byMother, parent);
    }
    return counts;
}

int CountDescendants(const QString& id) {
    return CountDescendantsDetailed(id, true).Total;
}

} // namespace verdan
