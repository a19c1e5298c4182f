#include "relations/family_checks.h"

#include "calendar/date_value_text.h"
#include "relations/family_rules.h"
#include "storage/database.h"
#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/counted_nouns.h"
#include "text/localisation.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <vector>

namespace verdan {

namespace {

// Walks beyond this many persons give up and leave the answer to the kinship search itself.
constexpr int kWalkLimit = 20000;

struct Row {
    QString id;
    QString name;
};

Row ReadRow(qint64 rowId) {
    Query q = Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE rowid = ?", rowId);
    return q.Next() ? Row{q.Text(0), q.Text(1)} : Row();
}

// Lists of ints per slot, built once and read many times.
struct Lists {
    std::vector<int> start;
    std::vector<int> items;

    void Build(int count, std::vector<std::pair<int, int>>& pairs) {
        std::sort(pairs.begin(), pairs.end());
        pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
        start.assign(static_cast<std::size_t>(count) + 1, 0);
        for (const auto& [slot, item] : pairs)
            ++start[static_cast<std::size_t>(slot) + 1];
        for (int s = 0; s < count; ++s)
            start[s + 1] += start[s];
        items.resize(pairs.size());
        for (std::size_t i = 0; i < pairs.size(); ++i)
            items[i] = pairs[i].second;
    }
    std::span<const int> Of(int slot) const {
        return {items.data() + start[slot], items.data() + start[slot + 1]};
    }
};

// The persons as the kinship answers see them, in memory: the parents of each person that count as kin
// (no group, not the group outside the tree), the breastfeeding ways up (the nursing mother and her
// husbands; for two breastfeeding siblings whose nursing mother is not recorded, a meeting point of their
// own beyond the persons' slots) and each person's spouses.
class KinIndex {
public:
    explicit KinIndex(const TPersonLinks& links) : links_(links), persons_(links.Count()) {
        kin_.assign(static_cast<std::size_t>(persons_), 1);
        Query groups = Dm().Prepare("SELECT Person_Id FROM ftPerson WHERE ifnull(Is_Section, 0) <> 0");
        while (groups.Next())
            Exclude(groups.Utf8(0));
        groups = Query();
        Exclude(GetGlobalParentId().toUtf8());

        std::vector<std::pair<int, int>> spouses;
        std::vector<std::pair<int, int>> husbands; // wife, husband
        std::vector<std::pair<int, int>> nursed;   // child, nursing mother
        std::vector<std::pair<int, int>> ups;
        int meetings = 0;
        Query q = Dm().Prepare("SELECT person_id_1, person_id_2, relation_type, split FROM ftRelation");
        while (q.Next()) {
            const int a = Kin(PersonSlot(q.Utf8(0).trimmed()));
            const int b = Kin(PersonSlot(q.Utf8(1).trimmed()));
            if (a < 0 || b < 0 || a == b)
                continue;
            switch (q.Int(2)) {
            case kMarriage:
                spouses.emplace_back(a, b);
                spouses.emplace_back(b, a);
                husbands.emplace_back(b, a);
                if (!q.Bool(3))
                    unsplit_.emplace_back(b, a);
                break;
            case kBreastfeedingMother:
                nursed.emplace_back(b, a);
                break;
            case kBreastfeedingSiblings:
                ups.emplace_back(a, persons_ + meetings);
                ups.emplace_back(b, persons_ + meetings);
                ++meetings;
                break;
            default:
                break;
            }
        }
        kinSlots_ = persons_ + meetings;
        spouses_.Build(kinSlots_, spouses);
        marriages_ = husbands;
        Lists husbandsOf;
        husbandsOf.Build(kinSlots_, husbands);
        for (const auto& [child, mother] : nursed) {
            ups.emplace_back(child, mother);
            for (int husband : husbandsOf.Of(mother)) {
                if (husband != child)
                    ups.emplace_back(child, husband);
            }
        }
        milkUps_.Build(kinSlots_, ups);
        mark_.assign(static_cast<std::size_t>(kinSlots_), 0);
    }

    // Every marriage between two persons who count as kin, as (wife, husband), each once.
    const std::vector<std::pair<int, int>>& Marriages() const { return marriages_; }
    // The marriages not marked split, as (wife, husband); duplicates possible.
    std::vector<std::pair<int, int>>& Unsplit() { return unsplit_; }

    bool IsKin(int slot) const {
        return slot >= 0 && slot < persons_ && kin_[static_cast<std::size_t>(slot)];
    }

    // Whether the kinship search could find the two may not marry: some person at most one step above
    // one of them (or above a spouse of theirs other than each other) is an ancestor of the other or of
    // that one's other spouses. Mahram, marriage bars and bars for a time all need such a person.
    bool MayBeBarred(int man, int woman) {
        return NearReachesFull(man, woman) || NearReachesFull(woman, man);
    }

private:
    void Exclude(QByteArrayView id) {
        const int slot = PersonSlot(id.trimmed());
        if (slot >= 0 && slot < persons_)
            kin_[static_cast<std::size_t>(slot)] = 0;
    }
    int Kin(int slot) const { return IsKin(slot) ? slot : -1; }

    template <typename F> void ForEachUp(int slot, F&& f) const {
        if (slot < persons_) {
            for (const int parent : {links_.FatherOf[slot], links_.MotherOf[slot]}) {
                if (IsKin(parent))
                    f(parent);
            }
        }
        for (int up : milkUps_.Of(slot))
            f(up);
    }

    // Marks the person and every ancestor with the current stamp; false when the walk grew past its limit.
    bool MarkAncestors(int start) {
        stack_.clear();
        if (mark_[static_cast<std::size_t>(start)] == stamp_)
            return true;
        mark_[static_cast<std::size_t>(start)] = stamp_;
        stack_.push_back(start);
        int walked = 0;
        while (!stack_.empty()) {
            const int at = stack_.back();
            stack_.pop_back();
            if (++walked > kWalkLimit)
                return false;
            ForEachUp(at, [&](int up) {
                if (mark_[static_cast<std::size_t>(up)] != stamp_) {
                    mark_[static_cast<std::size_t>(up)] = stamp_;
                    stack_.push_back(up);
                }
            });
        }
        return true;
    }

    bool Marked(int slot) const { return mark_[static_cast<std::size_t>(slot)] == stamp_; }

    // Some person near `near` (itself, a spouse other than `other`, or one step above either) is an
    // ancestor of `other` or of one of other's spouses but `near`.
    bool NearReachesFull(int near, int other) {
        ++stamp_;
        bool whole = MarkAncestors(other);
        for (int spouse : spouses_.Of(other)) {
            if (spouse != near)
                whole = MarkAncestors(spouse) && whole;
        }
        if (!whole)
            return true;
        bool found = false;
        auto test = [&](int slot) {
            found = found || Marked(slot);
            ForEachUp(slot, [&](int up) { found = found || Marked(up); });
        };
        test(near);
        for (int spouse : spouses_.Of(near)) {
            if (spouse != other)
                test(spouse);
        }
        return found;
    }

    const TPersonLinks& links_;
    int persons_ = 0;
    int kinSlots_ = 0;
    std::vector<char> kin_;
    Lists spouses_;
    Lists milkUps_;
    std::vector<std::pair<int, int>> marriages_;
    std::vector<std::pair<int, int>> unsplit_;
    std::vector<int> mark_;
    int stamp_ = 0;
    std::vector<int> stack_;
};

// Couples who may not marry: the couples are gathered from the parent links and the marriages, and the few
// the kinship index cannot clear are asked of the kinship search, as a user's link would be. A finding for
// each child of such a couple, in the order of the rows, then for each such marriage, on the husband.
void CheckCouples(const TPersonLinks& links, KinIndex& kin, QList<TDataFinding>& findings) {
    // (father << 32 | mother), and the child, or -1 for a marriage
    std::vector<std::pair<quint64, int>> couples;
    auto key = [](int man, int woman) {
        return (quint64(quint32(man)) << 32) | quint32(woman);
    };
    for (int child = 0; child < links.Count(); ++child) {
        const int father = links.FatherOf[child];
        const int mother = links.MotherOf[child];
        if (kin.IsKin(father) && kin.IsKin(mother) && links.Gender[father] == 'm' &&
            links.Gender[mother] == 'f')
            couples.emplace_back(key(father, mother), child);
    }
    for (const auto& [wife, husband] : kin.Marriages()) {
        if (links.Gender[husband] == 'm' && links.Gender[wife] == 'f')
            couples.emplace_back(key(husband, wife), -1);
    }
    std::sort(couples.begin(), couples.end());
    struct Barred {
        int child; // -1 for the marriage
        QString reason;
        Row man;
        Row woman;
    };
    std::vector<Barred> barred;
    for (std::size_t at = 0; at < couples.size();) {
        std::size_t end = at;
        while (end < couples.size() && couples[end].first == couples[at].first)
            ++end;
        const int man = int(couples[at].first >> 32);
        const int woman = int(couples[at].first & 0xFFFFFFFFu);
        if (kin.MayBeBarred(man, woman)) {
            const Row husband = ReadRow(links.RowId[man]);
            const Row wife = ReadRow(links.RowId[woman]);
            const QString reason = MayNotMarryReason(husband.id, wife.id);
            if (!reason.isEmpty()) {
                for (std::size_t i = at; i < end; ++i) {
                    // One finding for a marriage recorded twice.
                    if (couples[i].second >= 0 || i == at || couples[i - 1].second >= 0)
                        barred.push_back({couples[i].second, reason, husband, wife});
                }
            }
        }
        at = end;
    }
    // The marriages (child -1) sort first; they are listed after the children.
    std::stable_sort(barred.begin(), barred.end(), [](const Barred& a, const Barred& b) {
        return a.child >= 0 && b.child >= 0 ? a.child < b.child : a.child >= 0 && b.child < 0;
    });
    for (const Barred& b : barred) {
        if (b.child < 0) {
            findings << TDataFinding{
                TFindingKind::MarriageBarred, b.man.id, b.man.name, b.woman.name.trimmed(), {b.reason}};
            continue;
        }
        const Row child = ReadRow(links.RowId[b.child]);
        findings << TDataFinding{TFindingKind::MotherBarredToFather,
                                 child.id,
                                 child.name,
                                 b.man.name.trimmed(),
                                 {b.woman.name.trimmed(), b.reason}};
    }
}

// Women with more than one marriage that has not ended, each once, in the order of their rows. Only the few
// women with two marriages not marked split are looked at closer.
void CheckLastingMarriages(const TPersonLinks& links, KinIndex& kin, QList<TDataFinding>& findings) {
    std::vector<std::pair<int, int>>& marriages = kin.Unsplit();
    std::sort(marriages.begin(), marriages.end());
    marriages.erase(std::unique(marriages.begin(), marriages.end()), marriages.end());
    for (std::size_t at = 0; at < marriages.size();) {
        std::size_t end = at;
        while (end < marriages.size() && marriages[end].first == marriages[at].first)
            ++end;
        if (end - at > 1) {
            const Row wife = ReadRow(links.RowId[marriages[at].first]);
            const QStringList husbands = HusbandsInLastingMarriage(wife.id);
            if (husbands.size() > 1) {
                QString names;
                for (const QString& husband : husbands) {
                    const QString name = GetThreeGenerationName(husband).trimmed();
                    names = names.isEmpty() ? name
                                            : FillPattern(Translate(QStringLiteral("%*, %*")), {names, name});
                }
                findings << TDataFinding{TFindingKind::LastingMarriages, wife.id, wife.name, names, {}};
            }
        }
        at = end;
    }
}

// A date known to the day in both calendars.
bool FullInBoth(int gregorian, int hijri) {
    const auto full = [](int number) {
        return number != 0 && std::abs(number) % 100 != 0 && std::abs(number) / 100 % 100 != 0;
    };
    return full(gregorian) && full(hijri);
}

// Days between the two calendars' readings of a date, for the finding's sentence.
qint64 DaysApart(int gregorian, int hijri) {
    TDayRange g, h;
    if (!DayRangeOfNumber(gregorian, false, g) || !DayRangeOfNumber(hijri, true, h))
        return 0;
    return std::abs(g.First - h.First);
}

// Dates: full dates whose two calendars disagree by more than two days, and ages hard to believe between
// a child and each parent and between husband and wife, compared within their qualifiers.
void CheckDates(const TPersonLinks& links, KinIndex& kin, QList<TDataFinding>& findings) {
    const int persons = links.Count();
    std::vector<TLifeDays> days(static_cast<std::size_t>(persons));
    std::vector<int> disagreeing; // slot * 2 + 0 for the birth, + 1 for the death
    std::vector<std::array<int, 4>> numbers;
    {
        Query q =
            Dm().Prepare("SELECT rowid, Date_of_Birth_G, Date_of_Birth_H, Date_of_Death_G, Date_of_Death_H "
                         "FROM ftPerson ORDER BY rowid");
        while (q.Next()) {
            const auto at = std::lower_bound(links.RowId.begin(), links.RowId.end(), q.Int(0));
            if (at == links.RowId.end() || *at != q.Int(0))
                continue;
            const int slot = int(at - links.RowId.begin());
            TLifeDates dates;
            dates.Birth.Gregorian = int(q.Int(1));
            dates.Birth.Hijri = int(q.Int(2));
            dates.Death.Gregorian = int(q.Int(3));
            dates.Death.Hijri = int(q.Int(4));
            days[static_cast<std::size_t>(slot)] = LifeDaysOf(dates);
            for (int which = 0; which < 2; ++which) {
                const TDateValue& value = which == 0 ? dates.Birth : dates.Death;
                if (FullInBoth(value.Gregorian, value.Hijri) && !CalendarsAgree(value, 2)) {
                    disagreeing.push_back(slot * 2 + which);
                    numbers.push_back({value.Gregorian, value.Hijri, 0, 0});
                }
            }
        }
    }
    for (std::size_t i = 0; i < disagreeing.size(); ++i) {
        const int slot = disagreeing[i] / 2;
        const bool birth = disagreeing[i] % 2 == 0;
        const Row row = ReadRow(links.RowId[slot]);
        TDateValue value;
        value.Gregorian = numbers[i][0];
        value.Hijri = numbers[i][1];
        findings << TDataFinding{
            birth ? TFindingKind::BirthCalendarsDisagree : TFindingKind::DeathCalendarsDisagree,
            row.id,
            row.name,
            CountedNoun(DaysApart(value.Gregorian, value.Hijri), TCountedNoun::Days),
            {DateValueText(value, TDateShown::Gregorian), DateValueText(value, TDateShown::Hijri)}};
    }

    for (int child = 0; child < persons; ++child) {
        const TDayRange& birth = days[static_cast<std::size_t>(child)].Birth;
        if (birth.IsOpen())
            continue;
        for (const TParentKind kind : {TParentKind::Father, TParentKind::Mother}) {
            const int parent = kind == TParentKind::Father ? links.FatherOf[child] : links.MotherOf[child];
            if (!kin.IsKin(parent))
                continue;
            const TAgeDoubt doubt = ParentAgeDoubt(birth, days[static_cast<std::size_t>(parent)], kind);
            if (doubt == TAgeDoubt::None)
                continue;
            const Row row = ReadRow(links.RowId[child]);
            const Row other = ReadRow(links.RowId[parent]);
            findings << TDataFinding{TFindingKind::ImplausibleAge,
                                     row.id,
                                     row.name,
                                     AgeDoubtText(doubt, row.name.trimmed(), other.name.trimmed()),
                                     {}};
        }
    }
    for (const auto& [wife, husband] : kin.Marriages()) {
        const TAgeDoubt doubt =
            MarriageAgeDoubt(days[static_cast<std::size_t>(husband)], days[static_cast<std::size_t>(wife)]);
        if (doubt == TAgeDoubt::None)
            continue;
        const Row man = ReadRow(links.RowId[husband]);
        const Row woman = ReadRow(links.RowId[wife]);
        findings << TDataFinding{TFindingKind::ImplausibleAge,
                                 man.id,
                                 man.name,
                                 AgeDoubtText(doubt, man.name.trimmed(), woman.name.trimmed()),
                                 {}};
    }
}

} // namespace

void CheckFamilyRules(QList<TDataFinding>& findings) {
    const TPersonLinks links = PersonLinks();
    KinIndex kin(links);
    CheckCouples(links, kin, findings);
    CheckLastingMarriages(links, kin, findings);
    CheckDates(links, kin, findings);
}

} // namespace verdan
