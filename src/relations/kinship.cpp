#include "kinship.h"

#include "relations/family_rules.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <deque>
#include <vector>

namespace verdan {

namespace {

// Bounds that keep a damaged or enormous file from holding the window: far more generations than any
// family records, and more ancestors than two persons have in a real tree.
constexpr int kMaxGenerations = 400;
constexpr int kMaxStates = 400000;
// Shortest paths kept per kind; pedigree collapse can make their number grow fast.
constexpr int kMaxPaths = 8;
// Predecessors kept per person; more only make more paths of the same length.
constexpr int kMaxPreds = 4;

QString Key(const QString& id) {
    return id.trimmed().toUpper();
}

bool IsMilkStep(TKinStep step) {
    return step != TKinStep::Father && step != TKinStep::Mother;
}

struct Edge {
    QString To;
    TKinStep Step;
};

// A marriage of a person as the kinship walk reads it.
struct Spouse {
    QString Key;
    bool Split = false;
    bool Ended = false;
};

struct Node {
    bool Exists = false;
    bool Group = false;
    QString Gender;
    QString Father; // key of a real parent, else empty
    QString Mother;
    bool RelationsRead = false;
    QList<Edge> MilkUps;
    QList<Spouse> Spouses;
};

// The persons met so far, each read once.
class Graph {
public:
    Graph() : global_(Key(GetGlobalParentId())) {}

    const Node& At(const QString& key) {
        auto it = nodes_.find(key);
        if (it != nodes_.end())
            return *it;
        Node node;
        if (key.startsWith(u'~')) {
            node.Exists = true;
            node.RelationsRead = true;
            return *nodes_.insert(key, node);
        }
        TParentLinks links;
        if (!key.isEmpty() && key != global_ && ReadParentLinks(key, links)) {
            node.Exists = true;
            node.Group = links.Is_Section;
            node.Gender = links.Gender;
            node.Father = Parent(links.Father_Id);
            node.Mother = Parent(links.Mother_Id);
        }
        return *nodes_.insert(key, node);
    }

    // A person of the tree that counts as kin: no group, not the outside-the-tree group.
    bool IsPerson(const QString& key) {
        const Node& node = At(key);
        return node.Exists && !node.Group;
    }

    QList<Edge> Ups(const QString& key) {
        QList<Edge> ups;
        const Node node = At(key);
        if (!node.Father.isEmpty() && IsPerson(node.Father))
            ups.append({node.Father, TKinStep::Father});
        if (!node.Mother.isEmpty() && IsPerson(node.Mother))
            ups.append({node.Mother, TKinStep::Mother});
        ups += Relations(key).MilkUps;
        return ups;
    }

    QList<Spouse> Spouses(const QString& key) { return Relations(key).Spouses; }

private:
    QString Parent(const QString& id) const {
        const QString key = Key(id);
        return IsReservedParentId(key) || key == global_ ? QString() : key;
    }

    const Node& Relations(const QString& key) {
        At(key);
        Node& node = nodes_[key];
        if (node.RelationsRead || !node.Exists)
            return node;
        node.RelationsRead = true;
        QList<TRelationLink> links;
        ListRelationLinks(key, links);
        QList<Edge> milk;
        QList<Spouse> spouses;
        const bool dead = IsPersonDead(key);
        for (const TRelationLink& link : links) {
            const QString other = Key(link.Other);
            if (other == global_ || !IsPerson(other))
                continue;
            if (link.Type == kMarriage) {
                spouses.append({other, link.Split, link.Split || dead || IsPersonDead(link.Other)});
            } else if (link.Type == kBreastfeedingMother && !link.First) {
                milk.append({other, TKinStep::MilkMother});
                QList<TRelationLink> hers;
                ListRelationLinks(other, hers);
                for (const TRelationLink& marriage : hers) {
                    const QString husband = Key(marriage.Other);
                    if (marriage.Type == kMarriage && !marriage.First && husband != key &&
                        husband != global_ && IsPerson(husband))
                        milk.append({husband, TKinStep::MilkFather});
                }
            } else if (link.Type == kBreastfeedingSiblings) {
                const QString meeting =
                    QStringLiteral("~") + std::min(key, other) + u'~' + std::max(key, other);
                milk.append({meeting, TKinStep::MilkSibling});
            }
        }
        Node& same = nodes_[key];
        same.MilkUps = milk;
        same.Spouses = spouses;
        return same;
    }

    QString global_;
    QHash<QString, Node> nodes_;
};

// Every ancestor of a person by the shortest ways, once along blood links only (Milk false) and once
// along ways with a breastfeeding step (Milk true).
struct State {
    QString Key;
    bool Milk = false;
    int Dist = 0;
    QList<QPair<int, TKinStep>> Preds; // state below, step from it
};

struct Reach {
    std::vector<State> States;
    QHash<QString, int> Index; // key + "|0" or "|1"

    int Find(const QString& key, bool milk) const {
        return Index.value(key + (milk ? QStringLiteral("|1") : QStringLiteral("|0")), -1);
    }
};

Reach Ancestors(Graph& graph, const QString& start) {
    Reach reach;
    reach.States.push_back({start, false, 0, {}});
    reach.Index.insert(start + QStringLiteral("|0"), 0);
    for (size_t at = 0; at < reach.States.size(); ++at) {
        if (reach.States[at].Dist >= kMaxGenerations || reach.States.size() >= size_t(kMaxStates))
            continue;
        const QString key = reach.States[at].Key;
        const bool milk = reach.States[at].Milk;
        const int dist = reach.States[at].Dist;
        for (const Edge& edge : graph.Ups(key)) {
            const bool nextMilk = milk || IsMilkStep(edge.Step);
            const QString index = edge.To + (nextMilk ? QStringLiteral("|1") : QStringLiteral("|0"));
            const int found = reach.Index.value(index, -1);
            if (found < 0) {
                reach.Index.insert(index, static_cast<int>(reach.States.size()));
                reach.States.push_back({edge.To, nextMilk, dist + 1, {{static_cast<int>(at), edge.Step}}});
            } else if (reach.States[found].Dist == dist + 1 && reach.States[found].Preds.size() < kMaxPreds) {
                reach.States[found].Preds.append({static_cast<int>(at), edge.Step});
            }
        }
    }
    return reach;
}

// The ways from the start up to a state: keys from the start to the state and the steps between.
struct Chain {
    QStringList Keys;
    QList<TKinStep> Steps;
};

void Chains(const Reach& reach, int state, QList<Chain>& out, Chain& below) {
    if (out.size() >= kMaxPaths)
        return;
    const State& s = reach.States[state];
    below.Keys.prepend(s.Key);
    if (s.Preds.isEmpty()) {
        out.append(below);
    } else {
        for (const auto& [pred, step] : s.Preds) {
            below.Steps.prepend(step);
            Chains(reach, pred, out, below);
            below.Steps.removeFirst();
        }
    }
    below.Keys.removeFirst();
}

QList<Chain> ChainsTo(const Reach& reach, int state) {
    QList<Chain> out;
    Chain below;
    Chains(reach, state, out, below);
    return out;
}

struct Best {
    int Sum = -1;
    QList<QPair<int, int>> Meetings; // state of A, state of B
};

TKinPath MakePath(Graph& graph, const Chain& up, const Chain& down) {
    TKinPath path;
    path.Up = up.Keys;
    path.UpSteps = up.Steps;
    path.Down = down.Keys;
    path.DownSteps = down.Steps;
    for (const QString& key : path.Up)
        path.UpGenders << graph.At(key).Gender;
    for (const QString& key : path.Down)
        path.DownGenders << graph.At(key).Gender;
    if (path.UpCount() == 1 && path.DownCount() == 1 && !path.Milk()) {
        const Node a = graph.At(path.Up.first());
        const Node b = graph.At(path.Down.first());
        path.FullSiblings =
            !a.Father.isEmpty() && !a.Mother.isEmpty() && a.Father == b.Father && a.Mother == b.Mother;
    }
    return path;
}

// The shortest paths by blood and with breastfeeding between two persons.
struct Paths {
    QList<TKinPath> Blood;
    QList<TKinPath> Milk;
};

Paths FindPaths(Graph& graph, const QString& a, const QString& b) {
    const Reach fromA = Ancestors(graph, a);
    const Reach fromB = Ancestors(graph, b);
    Best blood, milk;
    for (size_t i = 0; i < fromA.States.size(); ++i) {
        const State& s = fromA.States[i];
        for (const bool otherMilk : {false, true}) {
            const int j = fromB.Find(s.Key, otherMilk);
            if (j < 0)
                continue;
            Best& best = s.Milk || otherMilk ? milk : blood;
            const int sum = s.Dist + fromB.States[j].Dist;
            if (best.Sum < 0 || sum < best.Sum) {
                best.Sum = sum;
                best.Meetings.clear();
            }
            if (sum == best.Sum)
                best.Meetings.append({static_cast<int>(i), j});
        }
    }
    const auto build = [&](const Best& best) {
        QList<TKinPath> paths;
        for (const auto& [i, j] : best.Meetings) {
            for (const Chain& up : ChainsTo(fromA, i))
                for (const Chain& down : ChainsTo(fromB, j))
                    if (paths.size() < kMaxPaths)
                        paths.append(MakePath(graph, up, down));
        }
        return paths;
    };
    Paths paths;
    paths.Blood = build(blood);
    // A breastfeeding tie counts only where it is nearer than the blood tie.
    if (milk.Sum >= 0 && (blood.Sum < 0 || milk.Sum < blood.Sum))
        paths.Milk = build(milk);
    return paths;
}

// The nearest path between two persons, blood before breastfeeding at the same length.
bool NearestPath(Graph& graph, const QString& a, const QString& b, TKinPath& path) {
    const Paths paths = FindPaths(graph, a, b);
    if (!paths.Blood.isEmpty() &&
        (paths.Milk.isEmpty() || paths.Blood.first().UpCount() + paths.Blood.first().DownCount() <=
                                     paths.Milk.first().UpCount() + paths.Milk.first().DownCount())) {
        path = paths.Blood.first();
        return true;
    }
    if (!paths.Milk.isEmpty()) {
        path = paths.Milk.first();
        return true;
    }
    return false;
}

// In-laws named by the family: the spouse's ascendants and descendants to any depth, and the spouse's
// near relatives (two generations either way).
bool IsNamedInLaw(const TKinPath& path) {
    return path.UpCount() == 0 || path.DownCount() == 0 || (path.UpCount() <= 2 && path.DownCount() <= 2);
}

TKinPerson Describe(Graph& graph, const QString& key) {
    const Node node = graph.At(key);
    return {key, node.Gender, !node.Father.isEmpty() && graph.IsPerson(node.Father),
            !node.Mother.isEmpty() && graph.IsPerson(node.Mother)};
}

} // namespace

bool TKinPath::Milk() const {
    return std::any_of(UpSteps.begin(), UpSteps.end(), IsMilkStep) ||
           std::any_of(DownSteps.begin(), DownSteps.end(), IsMilkStep);
}

TKinPath TKinPath::Reversed() const {
    TKinPath path = *this;
    std::swap(path.Up, path.Down);
    std::swap(path.UpSteps, path.DownSteps);
    std::swap(path.UpGenders, path.DownGenders);
    return path;
}

TKinLink TKinLink::Reversed() const {
    TKinLink link = *this;
    link.Path = Path.Reversed();
    std::swap(link.SpouseOfA, link.SpouseOfB);
    std::swap(link.SplitA, link.SplitB);
    std::swap(link.EndedA, link.EndedB);
    return link;
}

TKinship FindKinship(const QString& a, const QString& b) {
    TKinship kinship;
    Graph graph;
    const QString ka = Key(a);
    const QString kb = Key(b);
    if (!graph.IsPerson(ka) || !graph.IsPerson(kb))
        return kinship;
    kinship.Found = true;
    kinship.A = Describe(graph, ka);
    kinship.B = Describe(graph, kb);
    if (ka == kb)
        return kinship;

    const Paths paths = FindPaths(graph, ka, kb);
    const auto add = [&](TKinKind kind, const TKinPath& path) {
        TKinLink link;
        link.Kind = kind;
        link.Path = path;
        kinship.Links.append(link);
        return &kinship.Links.last();
    };
    for (const TKinPath& path : paths.Blood)
        add(TKinKind::Blood, path);
    for (const TKinPath& path : paths.Milk)
        add(TKinKind::Breastfeeding, path);

    // A marriage is named after the blood tie it may shadow, and no in-law name is given to one's own
    // ancestor or descendant (a wife's son who is one's own son).
    for (const Spouse& spouse : graph.Spouses(ka)) {
        if (spouse.Key == kb) {
            TKinLink link;
            link.Kind = TKinKind::Marriage;
            link.Married = true;
            link.SplitA = link.SplitB = spouse.Split;
            link.EndedA = link.EndedB = spouse.Ended;
            link.Path.Up = link.Path.Down = QStringList{ka};
            kinship.Links.append(link);
        }
    }
    const bool lineal = std::any_of(paths.Blood.begin(), paths.Blood.end(), [](const TKinPath& path) {
        return path.UpCount() == 0 || path.DownCount() == 0;
    });
    if (lineal)
        return kinship;
    for (const Spouse& spouse : graph.Spouses(ka)) {
        TKinPath path;
        if (spouse.Key != kb && NearestPath(graph, spouse.Key, kb, path) && IsNamedInLaw(path)) {
            TKinLink* link = add(TKinKind::Marriage, path);
            link->SpouseOfA = spouse.Key;
            link->SplitA = spouse.Split;
            link->EndedA = spouse.Ended;
        }
    }
    for (const Spouse& spouse : graph.Spouses(kb)) {
        TKinPath path;
        if (spouse.Key != ka && NearestPath(graph, ka, spouse.Key, path) && IsNamedInLaw(path)) {
            TKinLink* link = add(TKinKind::Marriage, path);
            link->SpouseOfB = spouse.Key;
            link->SplitB = spouse.Split;
            link->EndedB = spouse.Ended;
        }
    }
    // Two wives of one husband.
    if (IsFemaleGender(kinship.A.Gender) && IsFemaleGender(kinship.B.Gender)) {
        for (const Spouse& ofA : graph.Spouses(ka)) {
            for (const Spouse& ofB : graph.Spouses(kb)) {
                if (ofA.Key != ofB.Key)
                    continue;
                const QString& husband = ofA.Key;
                TKinLink link;
                link.Kind = TKinKind::Marriage;
                link.Path.Up = link.Path.Down = QStringList{husband};
                link.Path.UpGenders = link.Path.DownGenders = QStringList{graph.At(husband).Gender};
                link.SpouseOfA = link.SpouseOfB = husband;
                link.SplitA = ofA.Split;
                link.SplitB = ofB.Split;
                link.EndedA = ofA.Ended;
                link.EndedB = ofB.Ended;
                kinship.Links.append(link);
            }
        }
    }
    return kinship;
}

// ---------------------------------------------------------------------------------------------------------

namespace {

QString EntryName(const QString& key) {
    if (key.startsWith(u'~'))
        return Translate(QStringLiteral("(nursed by the same woman)"));
    return GetPersonName(key);
}

QString SpouseEntry(const QString& key, const QString& gender, bool split) {
    const bool wife = IsFemaleGender(gender);
    const QString pattern =
        split ? (wife ? QStringLiteral("%* (former wife)") : QStringLiteral("%* (former husband)"))
              : (wife ? QStringLiteral("%* (wife)") : QStringLiteral("%* (husband)"));
    return FillPattern(Translate(pattern), {GetPersonName(key)});
}

// Appends the chain below the top (keys from the person up to the top, without the top) under `parent`
// and gives the index of the last entry, the person's own.
int AddBranch(TLineagePath& tree, int parent, const QStringList& keys, const QList<TKinStep>& steps) {
    for (qsizetype i = keys.size() - 2; i >= 0; --i) {
        QString text = EntryName(keys[i]);
        if (steps[i] == TKinStep::MilkMother || steps[i] == TKinStep::MilkFather)
            text = FillPattern(Translate(QStringLiteral("%* (by breastfeeding)")), {text});
        tree.Entries.append({text, keys[i], parent, false, true});
        parent = static_cast<int>(tree.Entries.size()) - 1;
    }
    return parent;
}

} // namespace

TLineagePath KinshipPathTree(const TKinship& kinship, const TKinLink& link) {
    TLineagePath tree;
    const TKinPath& path = link.Path;
    if (!kinship.Found || path.Up.isEmpty() || path.Down.isEmpty())
        return tree;
    tree.Caption = GetLineageName(kinship.A.Id) + QStringLiteral(" \u2014 ") + GetLineageName(kinship.B.Id);
    const QString top = path.Up.last();
    tree.Entries.append({EntryName(top), top.startsWith(u'~') ? QString() : top, -1, false, true});
    const int x = AddBranch(tree, 0, path.Up, path.UpSteps);
    const int y = AddBranch(tree, 0, path.Down, path.DownSteps);
    if (link.Married) {
        tree.Entries[0].IsPerson = true;
        tree.Entries.append(
            {SpouseEntry(kinship.B.Id, kinship.B.Gender, link.SplitB), kinship.B.Id, 0, true, true});
        return tree;
    }
    if (link.SpouseOfA.isEmpty())
        tree.Entries[x].IsPerson = true;
    else
        tree.Entries.append(
            {SpouseEntry(kinship.A.Id, kinship.A.Gender, link.SplitA), kinship.A.Id, x, true, true});
    if (link.SpouseOfB.isEmpty())
        tree.Entries[y].IsPerson = true;
    else
        tree.Entries.append(
            {SpouseEntry(kinship.B.Id, kinship.B.Gender, link.SplitB), kinship.B.Id, y, true, true});
    return tree;
}

} // namespace verdan
