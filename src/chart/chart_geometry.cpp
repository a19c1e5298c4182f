// Sizes and positions of the chart's items, marks and sticks, hit tests and the chart's extents.

#include "chart.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"

#include <QSet>
#include <cmath>

namespace verdan {

namespace {

// The text that gives the height of a line of the chart: a tall Latin stroke and an Arabic letter.
const QString kLineHeightSample = QStringLiteral("|\u0623");

} // namespace

QPoint TChartMapping::ToView(const QPoint& p) const {
    return {RoundChart(double(p.x() - ScrollX) * Zoom), RoundChart(double(p.y() - ScrollY) * Zoom)};
}

QPoint TChartMapping::ToChart(const QPoint& v) const {
    return {RoundChart(double(v.x()) / Zoom) + 1 + ScrollX, RoundChart(double(v.y()) / Zoom) + 1 + ScrollY};
}

QRect TChartMapping::ToView(const TChartRect& r) const {
    return QRect(ToView(QPoint(r.Left, r.Top)), ToView(QPoint(r.Right, r.Bottom)) - QPoint(1, 1));
}

QRect TChartMapping::ToView(const TChartBox& b) const {
    return ToView(TChartRect{b.X, b.Y, b.Right(), b.Bottom()});
}

QPoint BorderPoint(const TChartBox& box, const QPoint& point) {
    const int left = box.X;
    const int top = box.Y;
    const int right = box.Right();
    const int bottom = box.Bottom();
    const double cx = left + (right - left) / 2;
    const double cy = top + (bottom - top) / 2;
    const double px = point.x();
    const double py = point.y();
    const double edgeY = py < cy ? top : bottom;
    if (py != cy) {
        const double x = cx + (px - cx) * (edgeY - cy) / (py - cy);
        const int xi = int(std::trunc(x));
        if (xi > left && xi < right)
            return {xi, int(edgeY)};
    } else if (px == cx) {
        // The point is the centre itself: the line runs along no edge and meets none.
        return {right, int(edgeY)};
    }
    const double edgeX = px <= cx ? left : right;
    if (px == cx)
        return {int(edgeX), bottom};
    const double y = cy + (py - cy) * (edgeX - cx) / (px - cx);
    return {int(edgeX), int(std::trunc(std::clamp(y, -2.0e9, 2.0e9)))};
}

void TChart::PlaceItem(int index, int x, int y) {
    TPersonObject& item = persons_[index];
    item.Box = {};
    item.TextRect = {};
    item.PictureRect = {};
    x = std::clamp(x, 0, kMaxChartPosition);
    y = std::clamp(y, 0, kMaxChartPosition);
    const TOFont font = item.Options.ParentFont ? Defaults.Font : item.Options.Font;
    // A line is as high as the face the name is drawn in needs, which may be taller than the sample's.
    int h = measurer_->TextHeight(font, kLineHeightSample);
    if (!item.DisplayName.trimmed().isEmpty())
        h = std::max(h, measurer_->TextHeight(font, item.DisplayName));
    int w = 0;
    if (item.Options.ShowDates) {
        // As wide as the widest date, with its calendar marked.
        TOFont smaller = font;
        smaller.Size -= 1;
        w = measurer_->TextWidth(smaller, QStringLiteral("00-00-0000"));
        for (const QString* text : {&item.BirthText, &item.DeathText})
            if (!text->isEmpty())
                w = std::max(w, measurer_->TextWidth(smaller, *text));
        h = 3 * h + 15;
    } else {
        w = measurer_->TextWidth(font, QStringLiteral("0000"));
        h = h + 10;
    }
    item.TextRect = {x, y, x + w + 20, y + h};
    item.Box = {x, y, w + 20, h};
    if (!item.DisplayName.trimmed().isEmpty()) {
        const int named = measurer_->TextWidth(font, item.DisplayName) + 20;
        if (named > item.TextRect.Width()) {
            item.TextRect.Right = x + named;
            item.Box.Width = named;
        }
    }
    if (item.Options.ShowPicture) {
        // Without a picture the item shows an empty frame of the largest picture's size.
        const QSize picture = item.Picture.isNull() ? QSize(200, 200) : item.Picture.size();
        const int pw = picture.width() / 2;
        const int ph = picture.height() / 2;
        const int tw = item.TextRect.Width();
        const int px = item.TextRect.Left - (pw - tw) / 2;
        item.PictureRect = {px, y - ph - 4, px + pw, y - 4};
        item.Box.Y = item.PictureRect.Top;
        item.Box.Height = ph + h + 4;
        if (px < item.TextRect.Left) {
            item.Box.X = px;
            item.Box.Width = pw;
        }
    }
    if (linkType_ == TLinkType::Stick && !placingMany_)
        ComputePersonStick(index);
}

namespace {

// The stick over a row of children: from the centre of the leftmost child to the centre of the child that
// reaches farthest right; 40 units above the highest child when the children stand below their parents,
// 30 below the lowest when they stand above them. Fewer than two children have none.
bool RowStick(const QList<TPersonObject>& persons, const QList<int>& children, bool below, TChartBox& stick) {
    if (children.size() < 2)
        return false;
    int leftmost = children.first();
    int rightmost = children.first();
    int top = persons[children.first()].Box.Y;
    int bottom = persons[children.first()].Box.Bottom();
    for (int c : children) {
        const TChartBox& b = persons[c].Box;
        if (b.X < persons[leftmost].Box.X)
            leftmost = c;
        if (b.Right() > persons[rightmost].Box.Right())
            rightmost = c;
        top = std::min(top, b.Y);
        bottom = std::max(bottom, b.Bottom());
    }
    stick.X = persons[leftmost].Box.CentreX();
    stick.Width = persons[rightmost].Box.CentreX() - stick.X;
    stick.Y = below ? top - 40 : bottom + 30;
    stick.Height = 10;
    return true;
}

// Whether children stand below their parent (or the parents' mark) at centre y: on the whole, by their
// centres.
bool Below(const QList<TPersonObject>& persons, const QList<int>& children, int centreY) {
    qint64 sum = 0;
    for (int c : children)
        sum += persons[c].Box.CentreY();
    return sum >= qint64(centreY) * children.size();
}

void ClearStick(TChartBox& stick, bool& has) {
    stick = {-1, -1, 0, 0};
    has = false;
}

QString CoupleKey(const QString& husband, const QString& wife) {
    return ChartIdKey(husband) + u'/' + ChartIdKey(wife);
}

} // namespace

const TChildStick* TChart::StickFor(const TPersonObject& parent, const TPersonObject& child) const {
    const QString other = ChartIdKey(SameId(child.FatherId, parent.Id) ? child.MotherId : child.FatherId);
    for (const TChildStick& stick : parent.Sticks)
        if (stick.OtherParent == other)
            return &stick;
    return nullptr;
}

void TChart::ComputePersonStick(int index) {
    if (placingMany_)
        return;
    QList<int> children;
    for (int i = 0; i < persons_.size(); ++i) {
        const TPersonObject& c = persons_[i];
        if (CoupleMark(c.FatherId, c.MotherId) < 0 && LinkParent(c) == index)
            children << i;
    }
    SetSticks(index, children);
}

void TChart::SetSticks(int index, const QList<int>& children) {
    TPersonObject& item = persons_[index];
    item.Sticks.clear();
    if (EffectiveLinkType(item) != TLinkType::Stick)
        return;
    // A group for each other parent, in the order the children come.
    QList<std::pair<QString, QList<int>>> groups;
    for (int c : children) {
        const TPersonObject& child = persons_[c];
        const QString other = ChartIdKey(SameId(child.FatherId, item.Id) ? child.MotherId : child.FatherId);
        auto it = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == other; });
        if (it == groups.end())
            groups.append({other, {c}});
        else
            it->second << c;
    }
    for (const auto& [other, group] : std::as_const(groups)) {
        TChartBox stick;
        const bool below = Below(persons_, group, item.Box.CentreY());
        if (!RowStick(persons_, group, below, stick))
            continue;
        stick.Y = below ? std::max(stick.Y, item.Box.Bottom() + 20) : std::min(stick.Y, item.Box.Y - 30);
        item.Sticks.append({other, stick});
    }
}

void TChart::ComputeMaritalStick(int markIndex) {
    TMarital& mark = maritals_[markIndex];
    ClearStick(mark.Stick, mark.HasStick);
    if (linkType_ != TLinkType::Stick || IndexOf(mark.HusbandId) < 0 || IndexOf(mark.WifeId) < 0)
        return;
    QList<int> children;
    for (int i = 0; i < persons_.size(); ++i)
        if (SameId(persons_[i].FatherId, mark.HusbandId) && SameId(persons_[i].MotherId, mark.WifeId))
            children << i;
    SetMarkStick(mark, children);
}

void TChart::SetMarkStick(TMarital& mark, const QList<int>& children) {
    ClearStick(mark.Stick, mark.HasStick);
    TChartBox stick;
    const bool below = Below(persons_, children, mark.Mark.CentreY());
    if (!RowStick(persons_, children, below, stick))
        return;
    stick.Y = below ? std::max(stick.Y, mark.Mark.Y + kMarkSize + 40) : std::min(stick.Y, mark.Mark.Y - 50);
    mark.Stick = stick;
    mark.HasStick = true;
}

void TChart::ComputeAllSticks() {
    // The same rules as ComputePersonStick and ComputeMaritalStick, with the children found through one
    // index instead of a scan of the chart per item.
    QSet<QString> couples;
    for (const TMarital& mark : std::as_const(maritals_))
        if (!mark.Removed)
            couples.insert(CoupleKey(mark.HusbandId, mark.WifeId));
    QHash<int, QList<int>> byParent;
    QHash<QString, QList<int>> byCouple;
    for (int i = 0; i < persons_.size(); ++i) {
        const TPersonObject& c = persons_[i];
        const QString couple = CoupleKey(c.FatherId, c.MotherId);
        if (!c.FatherId.isEmpty() && !c.MotherId.isEmpty() && couples.contains(couple)) {
            byCouple[couple] << i;
        } else if (const int parent = LinkParent(c); parent >= 0) {
            byParent[parent] << i;
        }
    }
    for (int index = 0; index < persons_.size(); ++index)
        SetSticks(index, byParent.value(index));
    for (TMarital& mark : maritals_) {
        ClearStick(mark.Stick, mark.HasStick);
        if (linkType_ != TLinkType::Stick || mark.Removed || IndexOf(mark.HusbandId) < 0 ||
            IndexOf(mark.WifeId) < 0)
            continue;
        SetMarkStick(mark, byCouple.value(CoupleKey(mark.HusbandId, mark.WifeId)));
    }
}

void TChart::ComputeMaritalMark(int markIndex, const QString& idA, const QString& idB) {
    const int a = IndexOf(idA);
    const int b = IndexOf(idB);
    if (a < 0 || b < 0)
        return;
    const TPersonObject& A = persons_[a];
    const TPersonObject& B = persons_[b];
    TMarital& mark = maritals_[markIndex];
    MarksDirty();
    if (IsMaleGender(A.Gender)) {
        mark.HusbandId = A.Id;
        mark.WifeId = B.Id;
    } else {
        mark.WifeId = A.Id;
        mark.HusbandId = B.Id;
    }
    const TChartRect& L = A.TextRect.Left < B.TextRect.Left ? A.TextRect : B.TextRect;
    const TChartRect& R = &L == &A.TextRect ? B.TextRect : A.TextRect;
    const int cx = L.Right + (R.Left - L.Right) / 2;
    int cy = 0;
    if (A.TextRect.Top == B.TextRect.Top) {
        cy = A.TextRect.Top + A.TextRect.Height() / 2;
    } else {
        const TChartRect& U = A.TextRect.Top < B.TextRect.Top ? A.TextRect : B.TextRect;
        const TChartRect& D = &U == &A.TextRect ? B.TextRect : A.TextRect;
        cy = U.Bottom + (D.Top - U.Bottom) / 2;
    }
    mark.Mark = {cx - kMarkSize / 2, cy - kMarkSize / 2, kMarkSize, kMarkSize};
    ClearStick(mark.Stick, mark.HasStick);
    if (linkType_ == TLinkType::Stick && !placingMany_)
        ComputeMaritalStick(markIndex);
}

int TChart::HitPerson(const QPoint& p) const {
    for (qsizetype i = persons_.size() - 1; i >= 0; --i) {
        const TPersonObject& item = persons_[i];
        if (!item.Box.Contains(p))
            continue;
        const bool inPicture = item.PictureRect.Width() > 0 && item.PictureRect.Contains(p);
        if (inPicture || item.TextRect.Contains(p))
            return int(i);
    }
    return -1;
}

int TChart::HitMark(const QPoint& p) const {
    for (qsizetype i = maritals_.size() - 1; i >= 0; --i)
        if (!maritals_[i].Removed && maritals_[i].Mark.Contains(p))
            return int(i);
    return -1;
}

QSize TChart::Extents() const {
    int width = 0;
    int height = 0;
    for (const TPersonObject& item : persons_) {
        width = std::max(width, item.Box.Right());
        height = std::max(height, item.Box.Bottom());
    }
    // A wife's mark can stand below the last row, with the lines that reach it.
    for (const TMarital& mark : maritals_)
        if (!mark.Removed) {
            width = std::max(width, mark.Mark.Right());
            height = std::max(height, mark.Mark.Bottom());
        }
    return {width, height};
}

QPoint TChart::Origin() const {
    int left = 0;
    int top = 0;
    for (const TPersonObject& item : persons_) {
        left = std::min(left, item.Box.X);
        top = std::min(top, item.Box.Y);
    }
    for (const TMarital& mark : maritals_)
        if (!mark.Removed) {
            left = std::min(left, mark.Mark.X);
            top = std::min(top, mark.Mark.Y);
        }
    return {left, top};
}

} // namespace verdan
