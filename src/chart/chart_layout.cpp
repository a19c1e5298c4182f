#include "chart_layout.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <vector>

namespace verdan {

namespace {

constexpr int kNone = INT_MIN;
constexpr int kLaneStep = 20;   // between the marks of one person's spouses, below his row
constexpr int kLaneOffset = 10; // from the row's texts to the first lane
constexpr int kCrossBand = 20;  // the band of the marks of couples standing apart

// The left and right edges of a subtree on each of its rows. Rows are kept from the deepest to the
// subtree's own row, so that a parent adds its row at the end; stored values are the real ones less
// `offset`, so that a subtree moves in constant time.
struct Contour {
    int first = 0; // the subtree's own row (the least row number)
    int offset = 0;
    std::vector<int> left;
    std::vector<int> right;

    int Size() const { return int(left.size()); }
    int Last() const { return first + Size() - 1; }
    int Slot(int row) const { return Size() - 1 - (row - first); }
    bool Has(int row) const { return row >= first && row <= Last() && left[size_t(Slot(row))] != kNone; }
    int L(int row) const { return left[size_t(Slot(row))] + offset; }
    int R(int row) const { return right[size_t(Slot(row))] + offset; }
    // A row above the subtree's own one.
    void PushTop(int l, int r) {
        left.push_back(l == kNone ? kNone : l - offset);
        right.push_back(r == kNone ? kNone : r - offset);
        --first;
    }
    void Widen(int row, int l, int r) {
        const size_t s = size_t(Slot(row));
        if (left[s] == kNone) {
            left[s] = l - offset;
            right[s] = r - offset;
        } else {
            left[s] = std::min(left[s], l - offset);
            right[s] = std::max(right[s], r - offset);
        }
    }
};

// The least shift of `next` that keeps it `gap` clear of `acc` on every row both hold; the first row gets
// firstGap. Both start on the same row.
std::optional<int> Separation(const Contour& acc, const Contour& next, int firstGap, int gap) {
    std::optional<int> need;
    const int last = std::min(acc.Last(), next.Last());
    for (int row = acc.first; row <= last; ++row) {
        if (!acc.Has(row) || !next.Has(row))
            continue;
        const int n = acc.R(row) + (row == acc.first ? firstGap : gap) - next.L(row);
        need = need ? std::max(*need, n) : n;
    }
    return need;
}

// acc becomes the union of acc and next moved by shift; both start on the same row. The longer of the two
// keeps its storage, so the cost is that of the shorter one.
void Absorb(Contour& acc, Contour&& next, int shift) {
    next.offset += shift;
    if (next.Size() > acc.Size())
        std::swap(acc, next);
    for (int row = next.first; row <= next.Last(); ++row)
        if (next.Has(row))
            acc.Widen(row, next.L(row), next.R(row));
}

struct Block {
    int parent = -1;
    int shift = 0;
};

// A laid-out subtree: its block, its contour in the block's frame, and the x its parent's line comes down to.
struct Sub {
    int block = -1;
    Contour contour;
    int anchor = 0;
};

enum class MarkKind { Classic, Lane, Cross };

struct MarkPlace {
    int first = -1;
    int second = -1;
    MarkKind kind = MarkKind::Cross;
    int block = -1;
    int x = 0; // in the block's frame
    int row = 0;
    int lane = 0;
};

struct Group {
    qint64 key = 0; // the other parent; -1 for the children of the unit's own couple
    std::vector<int> children;
};

class Layout {
public:
    Layout(const QList<TLayoutPerson>& persons, const TLayoutOptions& options)
        : p_(persons), o_(options), n_(int(persons.size())) {}

    TLayoutResult Run() {
        block_.assign(size_t(n_), -1);
        x_.assign(size_t(n_), 0);
        row_.assign(size_t(n_), 0);
        FindAncestors();
        AssignUnits();
        AttachChildren();
        Generations();
        PlaceAll();
        return Finish();
    }

private:
    bool Valid(int i) const { return i >= 0 && i < n_ && !up_[size_t(i)]; }
    bool Married(int a, int b) const {
        return a >= 0 && b >= 0 && a < n_ && b < n_ && p_[a].Spouses.contains(b) && p_[b].Spouses.contains(a);
    }
    int NewBlock() {
        blocks_.push_back({});
        return int(blocks_.size() - 1);
    }
    void Adopt(int child, int parent, int shift) {
        blocks_[size_t(child)].parent = parent;
        blocks_[size_t(child)].shift = shift;
    }
    void Put(int person, int block, int x, int row) {
        block_[size_t(person)] = block;
        x_[size_t(person)] = x;
        row_[size_t(person)] = row;
        placed_[size_t(person)] = true;
    }

    // The root's fathers and mothers, as far as they are on the chart.
    void FindAncestors() {
        up_.assign(size_t(n_), false);
        root_ = o_.Root >= 0 && o_.Root < n_ ? o_.Root : -1;
        if (root_ < 0)
            return;
        std::vector<int> pending{root_};
        while (!pending.empty()) {
            const int i = pending.back();
            pending.pop_back();
            for (int parent : {p_[i].Father, p_[i].Mother}) {
                if (parent >= 0 && parent < n_ && parent != root_ && !up_[size_t(parent)]) {
                    up_[size_t(parent)] = true;
                    pending.push_back(parent);
                }
            }
        }
    }

    // The parent whose line a child hangs from when its parents are not one couple of a unit.
    int LinkParent(int c) const {
        const int f = p_[c].Father;
        const int m = p_[c].Mother;
        int l = -1;
        if (p_[c].LinkToMother && Valid(m))
            l = m;
        else if (Valid(f))
            l = f;
        else if (Valid(m))
            l = m;
        return l == c || c == root_ ? -1 : l;
    }

    // Every person not among the root's ancestors stands in a unit: its principal (a person hanging from
    // his parents, the root, or a man without parents on the chart) and his spouses without parents on it.
    void AssignUnits() {
        unit_.assign(size_t(n_), -1);
        std::vector<bool> anchored(size_t(n_), false);
        for (int i = 0; i < n_; ++i) {
            if (up_[size_t(i)])
                continue;
            anchored[size_t(i)] = i == root_ || LinkParent(i) >= 0;
            if (anchored[size_t(i)])
                unit_[size_t(i)] = i;
        }
        auto firstSpouse = [&](int i, auto&& accept) {
            for (int s : p_[i].Spouses)
                if (s >= 0 && s < n_ && s != i && Valid(s) && accept(s))
                    return s;
            return -1;
        };
        for (int i = 0; i < n_; ++i) {
            if (up_[size_t(i)] || anchored[size_t(i)])
                continue;
            const int s = firstSpouse(i, [&](int s) { return anchored[size_t(s)]; });
            if (s >= 0)
                unit_[size_t(i)] = s;
        }
        for (int i = 0; i < n_; ++i)
            if (!up_[size_t(i)] && unit_[size_t(i)] < 0 && p_[i].Male)
                unit_[size_t(i)] = i;
        for (int i = 0; i < n_; ++i) {
            if (up_[size_t(i)] || unit_[size_t(i)] >= 0)
                continue;
            const int s = firstSpouse(i, [&](int s) { return unit_[size_t(s)] == s && p_[s].Male; });
            unit_[size_t(i)] = s >= 0 ? s : i;
        }
        spouses_.assign(size_t(n_), {});
        for (int i = 0; i < n_; ++i) {
            if (up_[size_t(i)] || unit_[size_t(i)] != i)
                continue;
            for (int s : p_[i].Spouses)
                if (s >= 0 && s < n_ && s != i && !up_[size_t(s)] && unit_[size_t(s)] == i &&
                    std::find(spouses_[size_t(i)].begin(), spouses_[size_t(i)].end(), s) ==
                        spouses_[size_t(i)].end())
                    spouses_[size_t(i)].push_back(s);
        }
    }

    // Children into the groups of the persons they hang from: a couple's children under the spouse of the
    // unit, the others under their link parent, a group per other parent.
    void AttachChildren() {
        groups_.assign(size_t(n_), {});
        std::vector<int> order(static_cast<size_t>(n_));
        for (int i = 0; i < n_; ++i)
            order[size_t(i)] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return p_[a].SiblingOrder < p_[b].SiblingOrder; });
        for (int c : order) {
            if (up_[size_t(c)] || c == root_ || unit_[size_t(c)] != c)
                continue;
            const int f = p_[c].Father;
            const int m = p_[c].Mother;
            int slot = -1;
            qint64 key = -1;
            if (Valid(f) && Valid(m) && Married(f, m) && unit_[size_t(f)] == unit_[size_t(m)] && f != c &&
                m != c) {
                const int principal = unit_[size_t(f)];
                slot = principal == f ? m : principal == m ? f : -1;
            }
            if (slot < 0) {
                slot = LinkParent(c);
                if (slot < 0)
                    continue;
                key = slot == f ? p_[c].MotherKey : p_[c].FatherKey;
                if (key == -1)
                    key = -2;
            }
            auto& groups = groups_[size_t(slot)];
            auto it =
                std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.key == key; });
            if (it == groups.end()) {
                groups.push_back({key, {}});
                it = groups.end() - 1;
            }
            it->children.push_back(c);
            attached_.push_back(c);
        }
        // The couple's own children come first under a spouse.
        for (auto& groups : groups_)
            std::stable_partition(groups.begin(), groups.end(), [](const Group& g) { return g.key == -1; });
        hasParent_.assign(size_t(n_), false);
        for (int c : attached_)
            hasParent_[size_t(c)] = true;
    }

    // Rows by generation, counted from the root over parents, children and spouses; persons the root does
    // not reach count from the first of their own relatives.
    void Generations() {
        gen_.assign(size_t(n_), INT_MIN);
        std::vector<std::vector<std::pair<int, int>>> edges(static_cast<size_t>(n_));
        for (int i = 0; i < n_; ++i) {
            for (int parent : {p_[i].Father, p_[i].Mother}) {
                if (parent >= 0 && parent < n_ && parent != i) {
                    edges[size_t(i)].push_back({parent, -1});
                    edges[size_t(parent)].push_back({i, 1});
                }
            }
            for (int s : p_[i].Spouses) {
                if (s >= 0 && s < n_ && s != i) {
                    edges[size_t(i)].push_back({s, 0});
                    edges[size_t(s)].push_back({i, 0});
                }
            }
        }
        auto walk = [&](int start) {
            gen_[size_t(start)] = 0;
            std::vector<int> queue{start};
            for (size_t k = 0; k < queue.size(); ++k) {
                const int i = queue[k];
                for (auto [j, step] : edges[size_t(i)]) {
                    if (gen_[size_t(j)] == INT_MIN) {
                        gen_[size_t(j)] = gen_[size_t(i)] + step;
                        queue.push_back(j);
                    }
                }
            }
        };
        if (root_ >= 0)
            walk(root_);
        for (int i = 0; i < n_; ++i)
            if (gen_[size_t(i)] == INT_MIN)
                walk(i);
    }

    // ------------------------------------------------------------------------------------------------------
    // Descendants.

    Sub LayOutChildren(const std::vector<int>& children, int row) {
        Sub group;
        group.block = NewBlock();
        int firstAnchor = 0;
        int lastAnchor = 0;
        bool any = false;
        for (int c : children) {
            if (placed_[size_t(c)])
                continue;
            Sub s = LayOutUnit(c, row);
            int shift = 0;
            if (any)
                shift = Separation(group.contour, s.contour, o_.SiblingGap, o_.GroupGap).value_or(0);
            Adopt(s.block, group.block, shift);
            if (!any) {
                group.contour = std::move(s.contour);
                firstAnchor = s.anchor + shift;
            } else {
                Absorb(group.contour, std::move(s.contour), shift);
            }
            lastAnchor = s.anchor + shift;
            any = true;
        }
        if (!any)
            return {};
        group.anchor = (firstAnchor + lastAnchor) / 2;
        return group;
    }

    Sub LayOutGroups(const std::vector<Group>& groups, int row) {
        Sub all;
        all.block = NewBlock();
        int firstAnchor = 0;
        int lastAnchor = 0;
        bool any = false;
        for (const Group& g : groups) {
            Sub s = LayOutChildren(g.children, row);
            if (s.block < 0)
                continue;
            int shift = 0;
            if (any)
                shift = Separation(all.contour, s.contour, o_.GroupGap, o_.GroupGap).value_or(0);
            Adopt(s.block, all.block, shift);
            if (!any) {
                all.contour = std::move(s.contour);
                firstAnchor = s.anchor + shift;
            } else {
                Absorb(all.contour, std::move(s.contour), shift);
            }
            lastAnchor = s.anchor + shift;
            any = true;
        }
        if (!any)
            return {};
        all.anchor = (firstAnchor + lastAnchor) / 2;
        return all;
    }

    // A column of the unit: one person of its row with the families that hang from him, centred over them.
    Sub Column(int person, int row, int block) {
        Sub column;
        column.block = block;
        const int w = p_[person].Width;
        Sub below = LayOutGroups(groups_[size_t(person)], row + 1);
        if (below.block >= 0) {
            Adopt(below.block, block, w / 2 - below.anchor);
            column.contour = std::move(below.contour);
            column.contour.offset += w / 2 - below.anchor;
            column.contour.PushTop(0, w);
        } else {
            column.contour.first = row + 1;
            column.contour.PushTop(0, w);
        }
        Put(person, block, 0, row);
        column.anchor = w / 2;
        return column;
    }

    Sub LayOutUnit(int principal, int row) {
        Sub unit;
        unit.block = NewBlock();
        placed_[size_t(principal)] = true;
        std::vector<int> spouses;
        for (int s : spouses_[size_t(principal)])
            if (!placed_[size_t(s)]) {
                placed_[size_t(s)] = true;
                spouses.push_back(s);
            }
        const bool male = p_[principal].Male;
        const auto& own = groups_[size_t(principal)];
        const bool classic =
            spouses.size() == 1 && own.empty() &&
            std::all_of(groups_[size_t(spouses[0])].begin(), groups_[size_t(spouses[0])].end(),
                        [](const Group& g) { return g.key == -1; });
        if (spouses.empty()) {
            Sub c = Column(principal, row, unit.block);
            unit.contour = std::move(c.contour);
            unit.anchor = c.anchor;
            return unit;
        }
        if (classic) {
            // The couple side by side, the mark between them and their children under the mark.
            const int spouse = spouses[0];
            const int a = male ? principal : spouse;
            const int b = male ? spouse : principal;
            const int wa = p_[a].Width;
            const int gapCentre = wa + o_.SpouseGap / 2;
            Put(a, unit.block, 0, row);
            Put(b, unit.block, wa + o_.SpouseGap, row);
            marks_.push_back({a, b, MarkKind::Classic, unit.block, gapCentre - kLayoutMarkSize / 2, row, 0});
            const int right = wa + o_.SpouseGap + p_[b].Width;
            Sub below = LayOutGroups(groups_[size_t(spouse)], row + 1);
            if (below.block >= 0) {
                Adopt(below.block, unit.block, gapCentre - below.anchor);
                unit.contour = std::move(below.contour);
                unit.contour.offset += gapCentre - below.anchor;
            } else {
                unit.contour.first = row + 1;
            }
            unit.contour.PushTop(0, right);
            unit.anchor = x_[size_t(principal)] + p_[principal].Width / 2;
            return unit;
        }
        // Several spouses, or children of the person's own beside a spouse's: every spouse over her
        // children, her mark under her on a lane of its own, the farthest spouse's lane nearest the row.
        std::vector<int> order;
        if (male) {
            order.push_back(principal);
            order.insert(order.end(), spouses.begin(), spouses.end());
        } else {
            order.insert(order.end(), spouses.rbegin(), spouses.rend());
            order.push_back(principal);
        }
        const int count = int(spouses.size());
        lanes_[row] = std::max(lanes_[row], count);
        bool any = false;
        for (int person : order) {
            const int block = NewBlock();
            Sub c = Column(person, row, block);
            int shift = 0;
            if (any)
                shift = Separation(unit.contour, c.contour, o_.SpouseGap, o_.GroupGap).value_or(0);
            Adopt(block, unit.block, shift);
            if (!any)
                unit.contour = std::move(c.contour);
            else
                Absorb(unit.contour, std::move(c.contour), shift);
            any = true;
            if (person == principal) {
                unit.anchor = shift + p_[person].Width / 2;
            } else {
                const int k = int(std::find(spouses.begin(), spouses.end(), person) - spouses.begin());
                marks_.push_back({principal, person, MarkKind::Lane, block,
                                  p_[person].Width / 2 - kLayoutMarkSize / 2, row, count - 1 - k});
            }
        }
        return unit;
    }

    // ------------------------------------------------------------------------------------------------------
    // Ancestors: each person's father and mother above him, the father first. Rows are counted upward
    // from the person (depth 0).

    Sub LayOutAncestors(int person, int depth, bool own) {
        Sub sub;
        sub.block = NewBlock();
        std::vector<Sub> parents;
        std::vector<int> ids;
        for (int parent : {p_[person].Father, p_[person].Mother}) {
            if (parent < 0 || parent >= n_ || !up_[size_t(parent)] || placed_[size_t(parent)])
                continue;
            placed_[size_t(parent)] = true;
            parents.push_back(LayOutAncestors(parent, depth + 1, true));
            ids.push_back(parent);
        }
        const int w = p_[person].Width;
        int anchor = w / 2;
        if (!parents.empty()) {
            Adopt(parents[0].block, sub.block, 0);
            sub.contour = std::move(parents[0].contour);
            const int first = ids[0];
            const int firstRight = x_[size_t(first)] + p_[first].Width;
            anchor = x_[size_t(first)] + p_[first].Width / 2;
            if (parents.size() == 2) {
                const int shift =
                    Separation(sub.contour, parents[1].contour, o_.SpouseGap, o_.GroupGap).value_or(0);
                Adopt(parents[1].block, sub.block, shift);
                Absorb(sub.contour, std::move(parents[1].contour), shift);
                const int secondLeft = x_[size_t(ids[1])] + shift;
                anchor = firstRight + (secondLeft - firstRight) / 2;
                if (Married(ids[0], ids[1]))
                    marks_.push_back({ids[0], ids[1], MarkKind::Classic, sub.block,
                                      anchor - kLayoutMarkSize / 2, -(depth + 1), 0});
            }
            sub.contour.PushTop(anchor - w / 2, anchor + w / 2 + w % 2);
        } else {
            sub.contour.first = depth + 1;
            sub.contour.PushTop(0, w);
            anchor = w / 2;
        }
        if (own)
            Put(person, sub.block, anchor - w / 2, -depth);
        sub.anchor = anchor;
        return sub;
    }

    // ------------------------------------------------------------------------------------------------------
    // The whole chart: the root's hourglass, then every family it does not reach beside it.

    void MergeTop(Sub&& sub) {
        // Rows of the whole chart so far are kept by number; a family is placed right of everything it meets.
        std::optional<int> need;
        for (int r = sub.contour.first; r <= sub.contour.Last(); ++r) {
            if (!sub.contour.Has(r))
                continue;
            auto it = rows_.find(r);
            if (it == rows_.end())
                continue;
            const int n = it->second.second + o_.GroupGap - sub.contour.L(r);
            need = need ? std::max(*need, n) : n;
        }
        int shift = 0;
        if (need) {
            shift = *need;
        } else if (!rows_.empty()) {
            int right = INT_MIN;
            for (const auto& [r, e] : rows_)
                right = std::max(right, e.second);
            int left = INT_MAX;
            for (int r = sub.contour.first; r <= sub.contour.Last(); ++r)
                if (sub.contour.Has(r))
                    left = std::min(left, sub.contour.L(r));
            shift = right + o_.GroupGap - left;
        }
        Adopt(sub.block, top_, shift);
        for (int r = sub.contour.first; r <= sub.contour.Last(); ++r) {
            if (!sub.contour.Has(r))
                continue;
            const int l = sub.contour.L(r) + shift;
            const int rr = sub.contour.R(r) + shift;
            auto [it, fresh] = rows_.insert({r, {l, rr}});
            if (!fresh)
                it->second = {std::min(it->second.first, l), std::max(it->second.second, rr)};
        }
    }

    void PlaceAll() {
        placed_.assign(size_t(n_), false);
        top_ = NewBlock();
        if (root_ >= 0) {
            Sub down = LayOutUnit(root_, 0);
            Sub up = LayOutAncestors(root_, 0, false);
            // The root stands once, where his descendants put him; his ancestors are moved over him.
            const int upShift = down.anchor - up.anchor;
            Adopt(up.block, down.block, upShift);
            MergeTop(std::move(down));
            // The ancestors' contour counts rows upward from the root; here they become chart rows.
            const Contour& c = up.contour;
            for (int depth = c.first + 1; depth <= c.Last(); ++depth) {
                if (!c.Has(depth))
                    continue;
                const int l = c.L(depth) + upShift;
                const int r = c.R(depth) + upShift;
                auto [it, fresh] = rows_.insert({-depth, {l, r}});
                if (!fresh)
                    it->second = {std::min(it->second.first, l), std::max(it->second.second, r)};
            }
        }
        // Families beside the root's: first those whose eldest hangs from nobody, then any left in a circle
        // of links, each on the rows of its generation.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < n_; ++i) {
                if (placed_[size_t(i)] || up_[size_t(i)] || unit_[size_t(i)] != i)
                    continue;
                if (pass == 0 && hasParent_[size_t(i)])
                    continue;
                MergeTop(LayOutUnit(i, gen_[size_t(i)]));
            }
        }
        // Anybody still left (spouses whose unit was taken apart by a circle) stands alone.
        for (int i = 0; i < n_; ++i) {
            if (placed_[size_t(i)])
                continue;
            placed_[size_t(i)] = true;
            Sub s;
            s.block = NewBlock();
            s.contour.first = gen_[size_t(i)] + 1;
            s.contour.PushTop(0, p_[i].Width);
            Put(i, s.block, 0, gen_[size_t(i)]);
            MergeTop(std::move(s));
        }
    }

    int AbsoluteShift(int block) {
        if (abs_[size_t(block)] != kNone)
            return abs_[size_t(block)];
        std::vector<int> chain;
        int b = block;
        while (b >= 0 && abs_[size_t(b)] == kNone) {
            chain.push_back(b);
            b = blocks_[size_t(b)].parent;
        }
        int base = b >= 0 ? abs_[size_t(b)] : 0;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            base += blocks_[size_t(*it)].shift;
            abs_[size_t(*it)] = base;
        }
        return abs_[size_t(block)];
    }

    TLayoutResult Finish() {
        abs_.assign(blocks_.size(), kNone);
        std::vector<int> xs(static_cast<size_t>(n_));
        int minRow = INT_MAX;
        int maxRow = INT_MIN;
        for (int i = 0; i < n_; ++i) {
            xs[size_t(i)] = x_[size_t(i)] + (block_[size_t(i)] >= 0 ? AbsoluteShift(block_[size_t(i)]) : 0);
            minRow = std::min(minRow, row_[size_t(i)]);
            maxRow = std::max(maxRow, row_[size_t(i)]);
        }
        TLayoutResult result;
        if (n_ == 0)
            return result;
        // Row heights: pictures above the texts, texts, and below them the lanes and the band of marks
        // of couples that stand apart.
        const int rows = maxRow - minRow + 1;
        std::vector<int> above(size_t(rows), 0), height(size_t(rows), 0), cross(size_t(rows), 0);
        for (int i = 0; i < n_; ++i) {
            const size_t r = size_t(row_[size_t(i)] - minRow);
            above[r] = std::max(above[r], p_[i].Above);
            height[r] = std::max(height[r], p_[i].Height);
        }
        std::vector<MarkPlace> marks = marks_;
        std::map<std::pair<int, int>, bool> has;
        for (const MarkPlace& m : marks)
            has[{std::min(m.first, m.second), std::max(m.first, m.second)}] = true;
        for (int i = 0; i < n_; ++i)
            for (int s : p_[i].Spouses)
                if (s > i && s < n_ && Married(i, s) && !has.count({i, s})) {
                    has[{i, s}] = true;
                    marks.push_back(
                        {i, s, MarkKind::Cross, -1, 0, std::max(row_[size_t(i)], row_[size_t(s)]), 0});
                    cross[size_t(std::max(row_[size_t(i)], row_[size_t(s)]) - minRow)] = 1;
                }
        std::vector<int> top(size_t(rows), 0);
        int y = 0;
        for (int r = 0; r < rows; ++r) {
            y += above[size_t(r)];
            top[size_t(r)] = y;
            const auto lanes = lanes_.find(r + minRow);
            const int laneCount = lanes == lanes_.end() ? 0 : lanes->second;
            y += height[size_t(r)] + o_.RowGap + laneCount * kLaneStep + cross[size_t(r)] * kCrossBand;
        }
        auto textTop = [&](int row) {
            return top[size_t(row - minRow)];
        };
        auto textBottom = [&](int row) {
            return textTop(row) + height[size_t(row - minRow)];
        };
        auto laneCount = [&](int row) {
            const auto it = lanes_.find(row);
            return it == lanes_.end() ? 0 : it->second;
        };
        result.Boxes.resize(n_);
        result.Rows.resize(n_);
        for (int i = 0; i < n_; ++i) {
            result.Boxes[i] = QPoint(xs[size_t(i)], textTop(row_[size_t(i)]) - p_[i].Above);
            result.Rows[i] = row_[size_t(i)];
        }
        // Marks of couples standing apart: below the lower spouse's row, midway between them, kept apart.
        std::map<int, std::vector<size_t>> bands;
        for (size_t k = 0; k < marks.size(); ++k) {
            MarkPlace& m = marks[k];
            QPoint at;
            switch (m.kind) {
            case MarkKind::Classic:
                at = QPoint(m.x + AbsoluteShift(m.block),
                            textTop(m.row) + std::min(p_[m.first].Height, p_[m.second].Height) / 2 -
                                kLayoutMarkSize / 2);
                break;
            case MarkKind::Lane:
                at = QPoint(m.x + AbsoluteShift(m.block),
                            textBottom(m.row) + kLaneOffset + m.lane * kLaneStep);
                break;
            case MarkKind::Cross: {
                const int a = xs[size_t(m.first)] + p_[m.first].Width / 2;
                const int b = xs[size_t(m.second)] + p_[m.second].Width / 2;
                at = QPoint(a + (b - a) / 2 - kLayoutMarkSize / 2,
                            textBottom(m.row) + kLaneOffset + laneCount(m.row) * kLaneStep);
                bands[m.row].push_back(k);
                break;
            }
            }
            result.Marks.append({m.first, m.second, at});
        }
        for (auto& [row, list] : bands) {
            std::sort(list.begin(), list.end(), [&](size_t a, size_t b) {
                return result.Marks[a].TopLeft.x() < result.Marks[b].TopLeft.x();
            });
            for (size_t k = 1; k < list.size(); ++k) {
                QPoint& at = result.Marks[list[k]].TopLeft;
                at.setX(std::max(at.x(), result.Marks[list[k - 1]].TopLeft.x() + kLayoutMarkSize + 8));
            }
        }
        Normalise(result);
        return result;
    }

    // Mirrors for right-to-left reading and for the root at the bottom, then moves the whole to the margin.
    void Normalise(TLayoutResult& r) const {
        int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
        auto take = [&](int x, int y, int w, int h) {
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x + w);
            maxY = std::max(maxY, y + h);
        };
        for (int i = 0; i < n_; ++i)
            take(r.Boxes[i].x(), r.Boxes[i].y(), p_[i].Width, p_[i].Above + p_[i].Height);
        for (const TLayoutMark& m : r.Marks)
            take(m.TopLeft.x(), m.TopLeft.y(), kLayoutMarkSize, kLayoutMarkSize);
        auto place = [&](QPoint& at, int w, int h) {
            int x = at.x();
            int y = at.y();
            if (!o_.LeftToRight)
                x = minX + maxX - x - w;
            if (!o_.RootAtTop)
                y = minY + maxY - y - h;
            at = QPoint(x - minX + o_.Margin, y - minY + o_.Margin);
        };
        for (int i = 0; i < n_; ++i)
            place(r.Boxes[i], p_[i].Width, p_[i].Above + p_[i].Height);
        for (TLayoutMark& m : r.Marks)
            place(m.TopLeft, kLayoutMarkSize, kLayoutMarkSize);
    }

    const QList<TLayoutPerson>& p_;
    const TLayoutOptions& o_;
    const int n_;
    int root_ = -1;
    int top_ = -1;
    std::vector<bool> up_;
    std::vector<int> unit_;
    std::vector<std::vector<int>> spouses_;
    std::vector<std::vector<Group>> groups_;
    std::vector<int> attached_;
    std::vector<bool> hasParent_;
    std::vector<int> gen_;
    std::vector<bool> placed_;
    std::vector<Block> blocks_;
    std::vector<int> abs_;
    std::vector<int> block_;
    std::vector<int> x_;
    std::vector<int> row_;
    std::vector<MarkPlace> marks_;
    std::map<int, int> lanes_;
    std::map<int, std::pair<int, int>> rows_;
};

} // namespace

TLayoutResult LayOutFamilies(const QList<TLayoutPerson>& persons, const TLayoutOptions& options) {
    return Layout(persons, options).Run();
}

} // namespace verdan
