#include "storage/person_index.h"

#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/tree_file.h"

#include <sqlite3.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace verdan {

namespace {

// A person identifier in its usual GUID form as 128 bits, read without regard to letter case.
struct GuidKey {
    quint64 hi = 0;
    quint64 lo = 0;
    bool operator==(const GuidKey&) const = default;
};

// Hexadecimal digits in either letter case; -1 for every other byte.
struct HexDigits {
    signed char value[256];
    constexpr HexDigits() : value() {
        for (int c = 0; c < 256; ++c)
            value[c] = c >= '0' && c <= '9'   ? static_cast<signed char>(c - '0')
                       : c >= 'a' && c <= 'f' ? static_cast<signed char>(c - 'a' + 10)
                       : c >= 'A' && c <= 'F' ? static_cast<signed char>(c - 'A' + 10)
                                              : static_cast<signed char>(-1);
    }
};
constexpr HexDigits kHex;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; false for every other text.
bool ParseGuid(QByteArrayView text, GuidKey& key) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    if (text.size() != 38 || s[0] != '{' || s[37] != '}' || s[9] != '-' || s[14] != '-' || s[19] != '-' ||
        s[24] != '-')
        return false;
    static constexpr int kDigitAt[32] = {1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 12, 13, 15, 16, 17, 18,
                                         20, 21, 22, 23, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};
    quint64 words[2] = {0, 0};
    int bad = 0;
    for (int d = 0; d < 32; ++d) {
        const int value = kHex.value[s[kDigitAt[d]]];
        bad |= value;
        words[d >> 4] = (words[d >> 4] << 4) | quint64(value & 0xF);
    }
    if (bad < 0)
        return false;
    key = {words[0], words[1]};
    return true;
}

std::size_t HashOf(const GuidKey& key) {
    quint64 x = key.hi ^ (key.lo * 0x9E3779B97F4A7C15ull);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    return static_cast<std::size_t>(x);
}

// Identifiers that are not GUIDs (older or hand-made files) are kept as their ASCII upper-cased bytes.
std::string OtherKey(QByteArrayView text) {
    std::string key(text.data(), static_cast<std::size_t>(text.size()));
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return key;
}

// Identifier to slot: GUIDs in an open-addressing table that holds their 128 bits (one memory access per
// lookup, which is what a whole tree's worth of lookups costs), anything else in a map.
class IdTable {
public:
    // Adds the identifier of the next slot; false when it is there already (GUIDs are only checked by
    // Seal).
    bool Add(QByteArrayView text, int slot) {
        GuidKey key;
        if (ParseGuid(text, key)) {
            pending_.push_back({key, slot});
            return true;
        }
        return others_.emplace(OtherKey(text), slot).second;
    }

    // Builds the GUID table; returns the slots whose GUID repeats an earlier one.
    std::vector<int> Seal() {
        std::size_t capacity = 16;
        while (capacity < pending_.size() * 2)
            capacity <<= 1;
        mask_ = capacity - 1;
        table_.assign(capacity, Entry{});
        std::vector<int> repeated;
        for (const Entry& entry : pending_) {
            std::size_t at = HashOf(entry.key) & mask_;
            while (table_[at].slot >= 0 && !(table_[at].key == entry.key))
                at = (at + 1) & mask_;
            if (table_[at].slot >= 0)
                repeated.push_back(entry.slot);
            else
                table_[at] = entry;
        }
        pending_ = {};
        return repeated;
    }

    int Find(QByteArrayView text) const {
        GuidKey key;
        if (ParseGuid(text, key))
            return Find(key);
        const auto found = others_.find(OtherKey(text));
        return found == others_.end() ? -1 : found->second;
    }

    int Find(const GuidKey& key) const {
        if (table_.empty())
            return -1;
        for (std::size_t at = HashOf(key) & mask_; table_[at].slot >= 0; at = (at + 1) & mask_) {
            if (table_[at].key == key)
                return table_[at].slot;
        }
        return -1;
    }

private:
    struct Entry {
        GuidKey key;
        int slot = -1;
    };
    std::vector<Entry> pending_;
    std::vector<Entry> table_;
    std::size_t mask_ = 0;
    std::unordered_map<std::string, int> others_;
};

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
    IdTable ids;
    std::vector<qint64> rowId;
    std::vector<char> gender; // 'm', 'f' or '?' per slot
    std::vector<int> fatherOf;
    std::vector<int> motherOf;
    std::vector<qint64> duplicateRows;
    std::vector<qint64> blankRows;
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

// The few distinct gender texts of a tree are normalised once each.
char GenderSlot(QByteArrayView code, std::unordered_map<std::string, char>& seen) {
    if (code.size() == 1) {
        const char c = static_cast<char>(code[0] | 0x20);
        return c == 'm' ? 'm' : c == 'f' ? 'f' : '?';
    }
    std::string key(code.data(), static_cast<std::size_t>(code.size()));
    const auto known = seen.find(key);
    if (known != seen.end())
        return known->second;
    const QString normal = NormaliseGender(QString::fromUtf8(code));
    const char slot = normal == u"m" ? 'm' : normal == u"f" ? 'f' : '?';
    seen.emplace(std::move(key), slot);
    return slot;
}

bool IsReservedParent(QByteArrayView text) {
    const QByteArrayView t = text.trimmed();
    return t.isEmpty() || t == "0" || t == "-1";
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

// A parent column as read: a GUID, a reserved text, or another text kept aside until every person is known.
struct ParentRef {
    GuidKey guid;
    int other = kParentIsGuid;
    static constexpr int kParentIsGuid = -1;
    static constexpr int kParentReserved = -2;
};

ParentRef ReadParent(QByteArrayView text, std::vector<QByteArray>& others) {
    ParentRef ref;
    if (IsReservedParent(text))
        ref.other = ParentRef::kParentReserved;
    else if (!ParseGuid(text, ref.guid)) {
        ref.other = static_cast<int>(others.size());
        others.emplace_back(text.toByteArray());
    }
    return ref;
}

// One pass over the table; parents are resolved once every person is known, since they may name persons
// of later rows. Values are read as their stored bytes (tree files keep text in UTF-8): a whole tree is
// read at once, and this spares a text conversion and an allocation per value.
bool LoadIndex(PersonIndex& index) {
    std::vector<ParentRef> fathers;
    std::vector<ParentRef> mothers;
    std::vector<QByteArray> otherParents;
    std::unordered_map<std::string, char> genders;
    Query q = Dm().Prepare("SELECT oid, Person_Id, Gender, Father_Id, Mother_Id FROM ftPerson");
    while (q.Next()) {
        const QByteArrayView id = q.Utf8(1);
        if (id.trimmed().isEmpty()) {
            index.blankRows.push_back(q.Int(0));
            continue;
        }
        if (!index.ids.Add(id, static_cast<int>(index.rowId.size()))) {
            index.duplicateRows.push_back(q.Int(0));
            continue;
        }
        index.rowId.push_back(q.Int(0));
        index.gender.push_back(GenderSlot(q.Utf8(2), genders));
        fathers.push_back(ReadParent(q.Utf8(3), otherParents));
        mothers.push_back(ReadParent(q.Utf8(4), otherParents));
    }
    if (q.Failed())
        return false;
    q = Query();
    // A GUID met twice (in another letter case) keeps its first row; the later one is nobody's parent and
    // has none itself.
    const std::vector<int> repeated = index.ids.Seal();
    const auto persons = static_cast<int>(index.rowId.size());
    std::vector<char> dropped(static_cast<std::size_t>(persons), 0);
    for (int slot : repeated) {
        dropped[static_cast<std::size_t>(slot)] = 1;
        index.duplicateRows.push_back(index.rowId[static_cast<std::size_t>(slot)]);
    }
    auto resolve = [&](const ParentRef& ref) {
        if (ref.other == ParentRef::kParentReserved)
            return kNoParent;
        const int slot = ref.other == ParentRef::kParentIsGuid
                             ? index.ids.Find(ref.guid)
                             : index.ids.Find(otherParents[static_cast<std::size_t>(ref.other)]);
        return slot >= 0 ? slot : kMissingParent;
    };
    index.fatherOf.assign(static_cast<std::size_t>(persons), kNoParent);
    index.motherOf.assign(static_cast<std::size_t>(persons), kNoParent);
    for (std::size_t s = 0; s < dropped.size(); ++s) {
        if (dropped[s])
            continue;
        index.fatherOf[s] = resolve(fathers[s]);
        index.motherOf[s] = resolve(mothers[s]);
    }
    index.byFather.Build(index.fatherOf, persons);
    index.byMother.Build(index.motherOf, persons);
    return true;
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
    if (!LoadIndex(index)) {
        index.Clear();
        return;
    }
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
    std::vector<char> visited(index.gender.size(), 0);
    std::vector<int> pending;
    auto count = [&](int person) {
        visited[person] = 1;
        ++counts.Total;
        if (index.gender[person] == 'm')
            ++counts.Males;
        else
            ++counts.Females;
        pending.push_back(person);
    };
    if (id.trimmed() == u"-1") {
        // The outline's root: every person without a father or a mother stands under it.
        for (std::size_t person = 0; person < index.gender.size(); ++person) {
            if (index.fatherOf[person] == kNoParent && index.motherOf[person] == kNoParent)
                count(int(person));
        }
    } else {
        const QByteArray key = id.toUtf8();
        const int root = key.isEmpty() ? -1 : index.ids.Find(key);
        if (root < 0)
            return counts;
        // The root is visited before the walk starts, so a cycle back to it never counts it.
        visited[root] = 1;
        pending.push_back(root);
    }
    auto take = [&](const ChildLists& lists, int parent) {
        for (int i = lists.start[parent]; i < lists.start[parent + 1]; ++i) {
            if (!visited[lists.children[i]])
                count(lists.children[i]);
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

TPersonLinks PersonLinks() {
    if (!EnsureIndex())
        return {};
    const PersonIndex& index = Index();
    return {index.rowId, index.fatherOf, index.motherOf, index.gender, index.duplicateRows, index.blankRows};
}

int PersonSlot(QByteArrayView id) {
    if (!Index().built || id.trimmed().isEmpty())
        return -1;
    return Index().ids.Find(id);
}

} // namespace verdan
