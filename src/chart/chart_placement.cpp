// The automatic placement of the chart's items: the family layout over every item, then the items not
// placed by hand moved to it, and mirroring for the reading order.

#include "chart.h"
#include "chart/chart_layout.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"

#include <QHash>
#include <QRect>
#include <QSet>

namespace verdan {

namespace {

constexpr int kClearance = 10; // between a family placed beside items placed by hand and those items
constexpr int kStep = 40;      // the steps in which such a family looks for room

// Rectangles already taken, found by a grid of cells so that a family of any size finds room quickly.
class Taken {
public:
    void Add(const QRect& r) {
        rects_.append(r);
        ForCells(r, [&](qint64 cell) { cells_[cell].append(int(rects_.size() - 1)); });
        bottom_ = std::max(bottom_, r.bottom());
    }
    bool Free(const QList<QRect>& rects, const QPoint& by) const {
        for (const QRect& r : rects) {
            const QRect moved = r.translated(by).adjusted(-kClearance, -kClearance, kClearance, kClearance);
            bool clash = false;
            ForCells(moved, [&](qint64 cell) {
                if (clash)
                    return;
                const auto it = cells_.find(cell);
                if (it == cells_.end())
                    return;
                for (int k : *it)
                    if (rects_[k].intersects(moved)) {
                        clash = true;
                        return;
                    }
            });
            if (clash)
                return false;
        }
        return true;
    }
    int Bottom() const { return bottom_; }

private:
    static constexpr int kCell = 256;
    template <typename F> static void ForCells(const QRect& r, F&& f) {
        for (qint64 cx = qint64(r.left()) / kCell; cx <= qint64(r.right()) / kCell; ++cx)
            for (qint64 cy = qint64(r.top()) / kCell; cy <= qint64(r.bottom()) / kCell; ++cy)
                f(cx * 4000000 + cy);
    }
    QList<QRect> rects_;
    QHash<qint64, QList<int>> cells_;
    int bottom_ = 0;
};

QRect BoxRect(const TChartBox& b) {
    return QRect(b.X, b.Y, std::max(1, b.Width), std::max(1, b.Height));
}

QRect MarkRect(const QPoint& at) {
    return QRect(at, QSize(kMarkSize, kMarkSize));
}

// Groups of indices joined by links, kept by their least member.
class Families {
public:
    explicit Families(int n) : up_(n) {
        for (int i = 0; i < n; ++i)
            up_[i] = i;
    }
    int Find(int i) {
        while (up_[i] != i)
            i = up_[i] = up_[up_[i]];
        return i;
    }
    void Join(int a, int b) {
        a = Find(a);
        b = Find(b);
        if (a != b)
            up_[std::max(a, b)] = std::min(a, b);
    }

private:
    QList<int> up_;
};

} // namespace

int TChart::LinkParent(const TPersonObject& child) const {
    if (child.ConnectionTo == TConnectionTo::Mother)
        return IndexOf(child.MotherId);
    const int father = IndexOf(child.FatherId);
    return father >= 0 ? father : IndexOf(child.MotherId);
}

void TChart::PinAll() {
    for (TPersonObject& item : persons_)
        item.Pinned = true;
}

void TChart::Arrange() {
    for (TPersonObject& item : persons_)
        item.Pinned = false;
    AutoPlace(QString());
}

void TChart::SetLeftToRight(bool on, bool mirror) {
    if (on == leftToRight_)
        return;
    leftToRight_ = on;
    if (mirror)
        MirrorPositions(true);
}

void TChart::SetRootAtTop(bool on, bool mirror) {
    if (on == Defaults.RootAtTop)
        return;
    Defaults.RootAtTop = on;
    if (mirror)
        MirrorPositions(false);
}

void TChart::MirrorPositions(bool horizontal) {
    if (persons_.isEmpty())
        return;
    int low = INT_MAX;
    int high = INT_MIN;
    for (const TPersonObject& item : std::as_const(persons_)) {
        low = std::min(low, horizontal ? item.Box.X : item.Box.Y);
        high = std::max(high, horizontal ? item.Box.Right() : item.Box.Bottom());
    }
    for (int i = 0; i < persons_.size(); ++i) {
        const TChartBox b = persons_[i].Box;
        if (horizontal)
            PlaceBoxAt(i, low + high - b.Right(), b.Y);
        else
            PlaceBoxAt(i, b.X, low + high - b.Bottom());
    }
    for (TMarital& m : maritals_) {
        if (horizontal)
            m.Mark.X = low + high - m.Mark.Right();
        else
            m.Mark.Y = low + high - m.Mark.Bottom();
    }
    ComputeAllSticks();
    Modified = true;
}

void TChart::AutoPlace(const QString& anchorId) {
    const int n = int(persons_.size());
    if (n == 0)
        return;
    // The layout's view of the chart: boxes, parents, and the couples that have a mark.
    QHash<QString, qint64> keys;
    auto key = [&](const QString& id) -> qint64 {
        if (id.isEmpty())
            return 0;
        return *keys.insert(ChartIdKey(id), keys.value(ChartIdKey(id), qint64(keys.size()) + 1));
    };
    QHash<QString, int> markOfPair;
    QList<TLayoutPerson> input(n);
    for (int m = 0; m < maritals_.size(); ++m) {
        const TMarital& mark = maritals_[m];
        const int a = IndexOf(mark.HusbandId);
        const int b = IndexOf(mark.WifeId);
        if (mark.Removed || a < 0 || b < 0 || a == b)
            continue;
        markOfPair.insert(QString::number(std::min(a, b)) + u'/' + QString::number(std::max(a, b)), m);
        input[a].Spouses << b;
        input[b].Spouses << a;
    }
    for (int i = 0; i < n; ++i) {
        const TPersonObject& item = persons_[i];
        TLayoutPerson& p = input[i];
        p.Width = item.Box.Width;
        p.Above = item.TextRect.Top - item.Box.Y;
        p.Height = item.TextRect.Height();
        p.Male = !IsFemaleGender(item.Gender);
        p.Father = IndexOf(item.FatherId);
        p.Mother = IndexOf(item.MotherId);
        p.FatherKey = key(item.FatherId);
        p.MotherKey = key(item.MotherId);
        p.LinkToMother = item.ConnectionTo == TConnectionTo::Mother;
        p.SiblingOrder = item.SiblingOrder;
        // Spouses in the order of the person's marriages.
        auto rank = [&](int other) {
            const QString id = persons_[other].Id;
            for (qsizetype k = 0; k < item.Mates.size(); ++k)
                if (SameId(item.Mates[k].Person_Id, id))
                    return int(k);
            return int(item.Mates.size());
        };
        std::stable_sort(p.Spouses.begin(), p.Spouses.end(), [&](int a, int b) { return rank(a) < rank(b); });
    }
    TLayoutOptions options;
    options.Root = IndexOf(RootId);
    options.RootAtTop = Defaults.RootAtTop;
    options.LeftToRight = leftToRight_;
    const TLayoutResult layout = LayOutFamilies(input, options);
    auto markAt = [&](const TLayoutMark& m) {
        return markOfPair.value(QString::number(std::min(m.First, m.Second)) + u'/' +
                                    QString::number(std::max(m.First, m.Second)),
                                -1);
    };

    const bool anyPinned =
        std::any_of(persons_.begin(), persons_.end(), [](const auto& p) { return p.Pinned; });
    const int anchor = IndexOf(anchorId);
    if (!anyPinned) {
        // Everything moves; the anchor stays where it stood.
        const QPoint by = anchor >= 0
                              ? QPoint(persons_[anchor].Box.X, persons_[anchor].Box.Y) - layout.Boxes[anchor]
                              : QPoint();
        for (int i = 0; i < n; ++i)
            PlaceBoxAt(i, layout.Boxes[i].x() + by.x(), layout.Boxes[i].y() + by.y());
        for (const TLayoutMark& m : layout.Marks)
            if (const int mark = markAt(m); mark >= 0)
                maritals_[mark].Mark = {m.TopLeft.x() + by.x(), m.TopLeft.y() + by.y(), kMarkSize, kMarkSize};
    } else {
        PlaceBesidePinned(layout, anchor, markAt);
    }
    // Nothing stands left of or above the chart's edge.
    int left = INT_MAX;
    int top = INT_MAX;
    for (const TPersonObject& item : std::as_const(persons_)) {
        left = std::min(left, item.Box.X);
        top = std::min(top, item.Box.Y);
    }
    for (const TMarital& m : std::as_const(maritals_)) {
        left = std::min(left, m.Mark.X);
        top = std::min(top, m.Mark.Y);
    }
    if (left < 0 || top < 0)
        ShiftAll(left < 0 ? 40 - left : 0, top < 0 ? 40 - top : 0);
    ComputeAllSticks();
    Modified = true;
}

void TChart::PlaceBesidePinned(const TLayoutResult& layout, int anchor,
                               const std::function<int(const TLayoutMark&)>& markAt) {
    const int n = int(persons_.size());
    // Items placed by hand, and the marks between two of them, stay and take their room.
    Taken taken;
    for (const TPersonObject& item : std::as_const(persons_))
        if (item.Pinned)
            taken.Add(BoxRect(item.Box));
    auto pinned = [&](int i) {
        return i >= 0 && persons_[i].Pinned;
    };
    QList<QList<int>> marksOf(n);
    for (int k = 0; k < layout.Marks.size(); ++k) {
        const TLayoutMark& m = layout.Marks[k];
        if (pinned(m.First) && pinned(m.Second)) {
            if (const int mark = markAt(m); mark >= 0)
                taken.Add(BoxRect(maritals_[mark].Mark));
        } else {
            marksOf[pinned(m.First) ? m.Second : m.First] << k;
        }
    }
    // The others in families joined by their links, each placed as the layout has it beside the item
    // placed by hand it is linked to (the anchor first), then moved sideways until it is clear.
    Families families(n);
    QHash<QString, QList<int>> childrenOf;
    for (int i = 0; i < n; ++i) {
        const TPersonObject& item = persons_[i];
        for (const QString& parent : {item.FatherId, item.MotherId}) {
            const int p = IndexOf(parent);
            if (p < 0)
                continue;
            childrenOf[ChartIdKey(persons_[p].Id)] << i;
            if (!item.Pinned && !persons_[p].Pinned)
                families.Join(i, p);
        }
    }
    for (const TLayoutMark& m : layout.Marks)
        if (!pinned(m.First) && !pinned(m.Second))
            families.Join(m.First, m.Second);
    QMap<int, QList<int>> members;
    for (int i = 0; i < n; ++i)
        if (!persons_[i].Pinned)
            members[families.Find(i)] << i;
    QList<int> order = members.keys();
    if (anchor >= 0 && !persons_[anchor].Pinned) {
        order.removeAll(families.Find(anchor));
        order.prepend(families.Find(anchor));
    }
    for (int family : std::as_const(order)) {
        const QList<int>& list = members[family];
        auto offsetTo = [&](int i) {
            return QPoint(persons_[i].Box.X, persons_[i].Box.Y) - layout.Boxes[i];
        };
        QPoint by = offsetTo(list.first());
        bool found = false;
        if (anchor >= 0 && (list.contains(anchor) || persons_[anchor].Pinned)) {
            // Linked to the anchor placed by hand, or holding it.
            for (int i : list) {
                const TPersonObject& item = persons_[i];
                const bool linked =
                    i == anchor || IndexOf(item.FatherId) == anchor || IndexOf(item.MotherId) == anchor ||
                    SameId(persons_[anchor].FatherId, item.Id) ||
                    SameId(persons_[anchor].MotherId, item.Id) ||
                    std::any_of(marksOf[i].begin(), marksOf[i].end(), [&](int k) {
                        return layout.Marks[k].First == anchor || layout.Marks[k].Second == anchor;
                    });
                if (linked) {
                    by = offsetTo(anchor);
                    found = true;
                    break;
                }
            }
        }
        for (qsizetype k = 0; k < list.size() && !found; ++k) {
            const TPersonObject& item = persons_[list[k]];
            QList<int> near{IndexOf(item.FatherId), IndexOf(item.MotherId)};
            near += childrenOf.value(ChartIdKey(item.Id));
            for (int m : marksOf[list[k]])
                near << (layout.Marks[m].First == list[k] ? layout.Marks[m].Second : layout.Marks[m].First);
            for (int other : std::as_const(near))
                if (pinned(other)) {
                    by = offsetTo(other);
                    found = true;
                    break;
                }
        }
        QList<QRect> rects;
        for (int i : list)
            rects << QRect(layout.Boxes[i],
                           QSize(std::max(1, persons_[i].Box.Width), std::max(1, persons_[i].Box.Height)));
        QList<int> marks;
        for (int i : list)
            marks += marksOf[i];
        for (int k : std::as_const(marks))
            rects << MarkRect(layout.Marks[k].TopLeft);
        if (!taken.Free(rects, by)) {
            int width = 0;
            for (const QRect& r : std::as_const(rects))
                width = std::max(width, r.right());
            const QSize extents = Extents();
            const int tries = (extents.width() + width) / kStep + 2;
            bool placed = false;
            for (int t = 1; t <= tries && !placed; ++t)
                for (int sign : {1, -1})
                    if (!placed && taken.Free(rects, by + QPoint(sign * t * kStep, 0))) {
                        by += QPoint(sign * t * kStep, 0);
                        placed = true;
                    }
            if (!placed) {
                int top = INT_MAX;
                for (const QRect& r : std::as_const(rects))
                    top = std::min(top, r.top());
                by.setY(taken.Bottom() + 80 - top);
            }
        }
        for (int i : list)
            PlaceBoxAt(i, layout.Boxes[i].x() + by.x(), layout.Boxes[i].y() + by.y());
        for (int k : std::as_const(marks)) {
            const TLayoutMark& m = layout.Marks[k];
            if (const int mark = markAt(m); mark >= 0)
                maritals_[mark].Mark = {m.TopLeft.x() + by.x(), m.TopLeft.y() + by.y(), kMarkSize, kMarkSize};
        }
        for (const QRect& r : std::as_const(rects))
            taken.Add(r.translated(by));
    }
}

} // namespace verdan
