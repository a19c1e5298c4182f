#include "chart.h"

#include "calendar/date_numbers.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QPainter>
#include <QSet>
#include <cmath>

namespace verdan {

int RoundChart(double value) {
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(std::nearbyint(value), -2147483648.0, 2147483647.0));
}

QString ChartIdKey(const QString& id) {
    return id.toUpper();
}

TChart::TChart(std::shared_ptr<const TTextMeasurer> measurer) : measurer_(std::move(measurer)) {
    Defaults.Font = TOFont{QStringLiteral("Arial"), 14, 0, 0};
    Defaults.RootAtTop = true;
}

const QHash<QString, int>& TChart::Index() const {
    if (!indexValid_) {
        index_.clear();
        index_.reserve(persons_.size());
        for (int i = 0; i < persons_.size(); ++i)
            index_.insert(ChartIdKey(persons_[i].Id), i);
        indexValid_ = true;
    }
    return index_;
}

int TChart::IndexOf(const QString& id) const {
    const QString normal = NormaliseChartId(id);
    return normal.isEmpty() ? -1 : Index().value(ChartIdKey(normal), -1);
}

int TChart::SelectedPersonCount() const {
    return int(std::count_if(persons_.begin(), persons_.end(), [](const auto& p) { return p.Selected; }));
}

int TChart::SelectedMarkCount() const {
    return int(std::count_if(maritals_.begin(), maritals_.end(), [](const auto& m) { return m.Selected; }));
}

bool TChart::SetZoom(float zoom) {
    // A little tolerance, so that steps of 0.05 that add up to 0.1 or 2 in floating point are taken.
    if (!(zoom >= kMinChartZoom - 1e-4f && zoom <= kMaxChartZoom + 1e-4f))
        return false;
    zoom_ = std::clamp(zoom, kMinChartZoom, kMaxChartZoom);
    return true;
}

void TChart::SetLinkType(TLinkType type) {
    linkType_ = type == TLinkType::Line ? TLinkType::Line : TLinkType::Stick;
    ComputeAllSticks();
}

TLinkType TChart::EffectiveLinkType(const TPersonObject& item) const {
    return item.LinkType == TLinkType::Follow ? linkType_ : item.LinkType;
}

bool TChart::IsGlobalParent(const TPersonObject& item) const {
    const QString global = GetGlobalParentId();
    return !global.isEmpty() && SameId(global, item.Id);
}

// ---------------------------------------------------------------------------------------------------------
// Adding persons.

const QHash<QString, int>& TChart::CoupleIndex() const {
    if (!coupleIndexValid_) {
        coupleIndex_.clear();
        coupleIndex_.reserve(maritals_.size());
        for (int i = 0; i < maritals_.size(); ++i)
            if (!maritals_[i].Removed)
                coupleIndex_.insert(ChartIdKey(maritals_[i].HusbandId) + u'/' +
                                        ChartIdKey(maritals_[i].WifeId),
                                    std::min(i, coupleIndex_.value(ChartIdKey(maritals_[i].HusbandId) + u'/' +
                                                                       ChartIdKey(maritals_[i].WifeId),
                                                                   i)));
        coupleIndexValid_ = true;
    }
    return coupleIndex_;
}

int TChart::MarkOf(const QString& a, const QString& b) const {
    const int one = CoupleMark(a, b);
    const int other = CoupleMark(b, a);
    return one < 0 ? other : other < 0 ? one : std::min(one, other);
}

int TChart::CoupleMark(const QString& husbandId, const QString& wifeId) const {
    if (husbandId.isEmpty() || wifeId.isEmpty())
        return -1;
    return CoupleIndex().value(ChartIdKey(husbandId) + u'/' + ChartIdKey(wifeId), -1);
}

void TChart::AddMaritalsFor(const QString& id) {
    const int index = IndexOf(id);
    if (index < 0)
        return;
    const TMateList mates = persons_[index].Mates;
    const QString own = persons_[index].Id;
    for (const TMate& mate : mates) {
        const int other = IndexOf(mate.Person_Id);
        if (other < 0 || other == index || MarkOf(own, persons_[other].Id) >= 0)
            continue;
        maritals_.append(TMarital{});
        ComputeMaritalMark(int(maritals_.size() - 1), own, persons_[other].Id);
        MarksDirty();
        Modified = true;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Editing.

void TChart::SelectAll() {
    for (TPersonObject& p : persons_)
        p.Selected = true;
    for (TMarital& m : maritals_)
        m.Selected = true;
}

void TChart::DeselectAll() {
    for (TPersonObject& p : persons_)
        p.Selected = false;
    for (TMarital& m : maritals_)
        m.Selected = false;
}

void TChart::SetPersonSelected(int index, bool selected) {
    if (index >= 0 && index < persons_.size())
        persons_[index].Selected = selected;
}

void TChart::SelectOnlyMark(int index) {
    if (index < 0 || index >= maritals_.size())
        return;
    DeselectAll();
    maritals_[index].Selected = true;
}

QList<int> TChart::Descendants(int index) const {
    // Children by parent, built once; the visited set keeps cyclic data from walking forever.
    QHash<QString, QList<int>> children;
    for (int i = 0; i < persons_.size(); ++i) {
        if (!persons_[i].FatherId.isEmpty())
            children[ChartIdKey(persons_[i].FatherId)] << i;
        if (!persons_[i].MotherId.isEmpty())
            children[ChartIdKey(persons_[i].MotherId)] << i;
    }
    QList<int> result;
    QSet<int> seen{index};
    QList<int> pending{index};
    while (!pending.isEmpty()) {
        const int next = pending.takeLast();
        for (int child : children.value(ChartIdKey(persons_[next].Id))) {
            if (seen.contains(child))
                continue;
            seen.insert(child);
            result << child;
            pending << child;
        }
    }
    return result;
}

void TChart::SelectDescendants(int index, bool selected) {
    if (index < 0 || index >= persons_.size())
        return;
    for (int child : Descendants(index))
        persons_[child].Selected = selected;
}

void TChart::MoveItem(int index, int dx, int dy) {
    TPersonObject& item = persons_[index];
    item.Box.X += dx;
    item.Box.Y += dy;
    item.TextRect.Translate(dx, dy);
    item.PictureRect.Translate(dx, dy);
    if (dx != 0 || dy != 0)
        Modified = true;
}

void TChart::PlaceBoxAt(int index, int x, int y) {
    const TChartBox& box = persons_[index].Box;
    MoveItem(index, x - box.X, y - box.Y);
}

void TChart::MoveItemTo(int index, const QPoint& position) {
    if (index < 0 || index >= persons_.size())
        return;
    const int x = std::clamp(position.x(), 0, kMaxChartPosition);
    const int y = std::clamp(position.y(), 0, kMaxChartPosition);
    const TPersonObject& item = persons_[index];
    MoveItem(index, x - item.TextRect.Left, y - item.TextRect.Top);
    persons_[index].Pinned = true;
}

void TChart::RecomputeMarksOf(int index) {
    const QString id = persons_[index].Id;
    for (int m = 0; m < maritals_.size(); ++m) {
        const TMarital& mark = maritals_[m];
        if (mark.Removed)
            continue;
        QString other;
        if (SameId(mark.HusbandId, id))
            other = mark.WifeId;
        else if (SameId(mark.WifeId, id))
            other = mark.HusbandId;
        if (!other.isEmpty() && IndexOf(other) >= 0)
            ComputeMaritalMark(m, id, other);
    }
}

void TChart::MoveSelected(int dx, int dy) {
    // Nothing selected is pushed past the chart's edges: the move stops where the first item would.
    int minX = kMaxChartPosition;
    int minY = kMaxChartPosition;
    int maxX = 0;
    int maxY = 0;
    bool any = false;
    auto take = [&](int x, int y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
        any = true;
    };
    for (const TPersonObject& p : std::as_const(persons_))
        if (p.Selected)
            take(p.TextRect.Left, p.TextRect.Top);
    for (const TMarital& m : std::as_const(maritals_))
        if (m.Selected)
            take(m.Mark.X, m.Mark.Y);
    if (!any)
        return;
    dx = std::clamp(dx, std::min(0, -minX), std::max(0, kMaxChartPosition - maxX));
    dy = std::clamp(dy, std::min(0, -minY), std::max(0, kMaxChartPosition - maxY));
    if (dx == 0 && dy == 0)
        return;
    const bool single = SelectedPersonCount() == 1;
    for (int i = 0; i < persons_.size(); ++i) {
        if (!persons_[i].Selected)
            continue;
        MoveItem(i, dx, dy);
        persons_[i].Pinned = true;
        if (single)
            RecomputeMarksOf(i);
    }
    for (TMarital& m : maritals_) {
        if (m.Selected) {
            m.Mark.X += dx;
            m.Mark.Y += dy;
        }
    }
    ComputeAllSticks();
    Modified = true;
}

void TChart::AlignSelected(int mode) {
    const auto first =
        std::find_if(persons_.begin(), persons_.end(), [](const auto& p) { return p.Selected; });
    if (first == persons_.end())
        return;
    const TChartBox ref = first->Box;
    const int cx = ref.X + ref.Width / 2;
    const int cy = ref.Y + ref.Height / 2;
    for (int i = 0; i < persons_.size(); ++i) {
        if (!persons_[i].Selected)
            continue;
        const TChartBox b = persons_[i].Box;
        int x = b.X;
        int y = b.Y;
        switch (mode) {
        case 0:
            x = ref.X;
            break;
        case 1:
            x = cx - b.Width / 2;
            break;
        case 2:
            x = ref.X + ref.Width - b.Width;
            break;
        case 3:
            y = ref.Y;
            break;
        case 4:
            y = cy - b.Height / 2;
            break;
        case 5:
            y = ref.Y + ref.Height - b.Height;
            break;
        default:
            return;
        }
        PlaceBoxAt(i, x, y);
        persons_[i].Pinned = true;
    }
    ComputeAllSticks();
    Modified = true;
}

bool TChart::RemoveSelected() {
    const int count = SelectedPersonCount();
    if (count > 3) {
        const QString text =
            FillPattern(Translate(QStringLiteral("Remove %d item(s) from chart. | Remove Item(s)?")),
                        {QString::number(count)});
        if (MsgOkCancel(text, Translate(QStringLiteral("Confirm")), IDCANCEL) != IDOK)
            return false;
    }
    QSet<QString> removed;
    for (const TPersonObject& p : std::as_const(persons_))
        if (p.Selected)
            removed.insert(ChartIdKey(p.Id));
    RemoveItems(removed);
    return true;
}

void TChart::RemoveItems(const QSet<QString>& removed) {
    persons_.removeIf([&](const TPersonObject& p) { return removed.contains(ChartIdKey(p.Id)); });
    maritals_.removeIf([&](const TMarital& m) {
        return removed.contains(ChartIdKey(m.HusbandId)) || removed.contains(ChartIdKey(m.WifeId));
    });
    MarksDirty();
    IndexDirty();
    current_ = -1;
    ComputeAllSticks();
    Modified = true;
}

void TChart::RemoveSelectedMarks() {
    if (SelectedMarkCount() == 0)
        return;
    maritals_.removeIf([](const TMarital& m) { return m.Selected; });
    MarksDirty();
    Modified = true;
}

void TChart::ShiftAll(int dx, int dy) {
    for (int i = 0; i < persons_.size(); ++i)
        MoveItem(i, dx, dy);
    for (TMarital& m : maritals_) {
        m.Mark.X += dx;
        m.Mark.Y += dy;
        if (m.HasStick) {
            m.Stick.X += dx;
            m.Stick.Y += dy;
        }
    }
    for (TPersonObject& p : persons_) {
        for (TChildStick& stick : p.Sticks) {
            stick.Box.X += dx;
            stick.Box.Y += dy;
        }
    }
    Modified = true;
}

void TChart::Clear() {
    RootId.clear();
    persons_.clear();
    maritals_.clear();
    MarksDirty();
    IndexDirty();
    current_ = -1;
    dragKind_ = DragKind::None;
    Modified = true;
}

void TChart::SetItemOptions(int index, const TShowOption& options) {
    if (index < 0 || index >= persons_.size())
        return;
    persons_[index].Options = options;
    ApplyOptions(index);
    Modified = true;
}

void TChart::SetItemLinkType(int index, TLinkType type) {
    if (index < 0 || index >= persons_.size())
        return;
    persons_[index].LinkType = type;
    ComputePersonStick(index);
    Modified = true;
}

void TChart::SetItemConnection(int index, TConnectionTo connection) {
    if (index >= 0 && index < persons_.size()) {
        persons_[index].ConnectionTo = connection;
        Modified = true;
    }
}

void TChart::SetSelectedShowFlag(TShowFlag flag, bool on) {
    for (int i = 0; i < persons_.size(); ++i) {
        if (!persons_[i].Selected)
            continue;
        TShowOption options = persons_[i].Options;
        switch (flag) {
        case TShowFlag::FullName:
            options.ShowFullName = on;
            break;
        case TShowFlag::Dates:
            options.ShowDates = on;
            break;
        case TShowFlag::Picture:
            options.ShowPicture = on;
            break;
        }
        SetItemOptions(i, options);
    }
    ComputeAllSticks();
}

void TChart::SetSelectedLinkType(TLinkType type) {
    for (int i = 0; i < persons_.size(); ++i)
        if (persons_[i].Selected)
            SetItemLinkType(i, type);
}

void TChart::EndPlacing() {
    placingMany_ = false;
    ComputeAllSticks();
}

bool TChart::AddSavedMark(const QString& husbandId, const QString& wifeId, const QPoint& position) {
    const int husband = IndexOf(husbandId);
    const int wife = IndexOf(wifeId);
    if (husband < 0 || wife < 0 || husband == wife || MarkOf(husbandId, wifeId) >= 0)
        return false;
    TMarital mark;
    mark.HusbandId = persons_[husband].Id;
    mark.WifeId = persons_[wife].Id;
    mark.Mark = {std::clamp(position.x(), 0, kMaxChartPosition),
                 std::clamp(position.y(), 0, kMaxChartPosition), kMarkSize, kMarkSize};
    maritals_.append(mark);
    MarksDirty();
    return true;
}

} // namespace verdan
