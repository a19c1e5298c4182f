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

namespace {

QString NormaliseId(const QString& id) {
    const QString trimmed = id.trimmed();
    return trimmed == u"0" || trimmed == u"-1" ? QString() : trimmed;
}

// One calendar for both texts: the Hijri one when both its dates are known, else the Gregorian one when
// both are known or at least the birth is, else the Hijri one.
void FillDateTexts(const TPerson& person, TPersonObject& item) {
    int birth = person.Date_of_Birth_H;
    int death = person.Date_of_Death_H;
    const bool hijriBoth = person.Date_of_Birth_H != 0 && person.Date_of_Death_H != 0;
    if (!hijriBoth && person.Date_of_Birth_G != 0) {
        birth = person.Date_of_Birth_G;
        death = person.Date_of_Death_G;
    }
    item.BirthText = birth == 0 ? QString() : DateNumberToShortText(std::abs(birth), u'-');
    item.DeathText = death == 0 ? QString() : DateNumberToShortText(std::abs(death), u'-');
}

// The default picture fitted into 200 x 200 on white; null without a readable picture.
QImage LoadItemPicture(const QString& id) {
    TPPicture picture;
    picture.person_id = id;
    if (!ReadPicture(picture) || picture.Image.isNull() || picture.Image.width() <= 0 ||
        picture.Image.height() <= 0)
        return QImage();
    const QSize source = picture.Image.size();
    const float factor = std::min(200.0f / float(source.width()), 200.0f / float(source.height()));
    const QSize size(std::max(1, RoundChart(double(source.width() * factor))),
                     std::max(1, RoundChart(double(source.height() * factor))));
    QImage fitted(size, QImage::Format_RGB32);
    if (fitted.isNull())
        return QImage();
    fitted.fill(Qt::white);
    QPainter painter(&fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture.Image);
    return fitted;
}

} // namespace

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
    const QString normal = NormaliseId(id);
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

bool TChart::LoadItem(const QString& id, TPersonObject& item) const {
    TPerson person;
    if (!ReadPerson(id, person))
        return false;
    item.Id = person.Person_Id;
    item.FatherId = NormaliseId(person.Father_Id);
    item.MotherId = NormaliseId(person.Mother_Id);
    item.Gender = NormaliseGender(person.Gender);
    item.ShortName = person.Person_Name;
    item.ExpandedName = GetNameFatherLast(item.Id);
    FillDateTexts(person, item);
    ListMates(item.Id, item.Mates);
    item.Picture = LoadItemPicture(item.Id);
    return true;
}

int TChart::FindOrAddPerson(const QString& id) {
    const QString normal = NormaliseId(id);
    if (normal.isEmpty())
        return -1;
    if (const int existing = IndexOf(normal); existing >= 0)
        return existing;
    TPersonObject item;
    if (!LoadItem(normal, item))
        return -1;
    // A child takes the look of its parent's item; anybody else the chart's defaults.
    int parent = IndexOf(item.FatherId);
    if (parent < 0)
        parent = IndexOf(item.MotherId);
    if (parent >= 0) {
        item.Options = persons_[parent].Options;
        item.Options.ParentFont = false;
    } else {
        item.Options = Defaults;
        item.Options.ParentFont = true;
    }
    item.ConnectionTo = TConnectionTo::Both;
    item.LinkType = TLinkType::Follow;
    persons_.append(item);
    const int index = int(persons_.size() - 1);
    if (indexValid_)
        index_.insert(ChartIdKey(item.Id), index);
    ApplyOptions(index);
    Modified = true;
    return index;
}

void TChart::ApplyOptions(int index) {
    TPersonObject& item = persons_[index];
    item.DisplayName = item.Options.ShowFullName ? item.ExpandedName : item.ShortName;
    PlaceItem(index, item.TextRect.Left, item.TextRect.Top);
}

int TChart::AddPersonAt(const QString& id, const QPoint& viewPoint) {
    const int index = FindOrAddPerson(id);
    if (index < 0)
        return -1;
    const QPoint p = ChartPoint(viewPoint);
    PlaceItem(index, p.x(), p.y());
    persons_[index].Selected = false;
    Modified = true;
    return index;
}

int TChart::MarkOf(const QString& a, const QString& b) const {
    for (int i = 0; i < maritals_.size(); ++i) {
        const TMarital& m = maritals_[i];
        if (m.Removed)
            continue;
        if ((SameId(m.HusbandId, a) && SameId(m.WifeId, b)) ||
            (SameId(m.HusbandId, b) && SameId(m.WifeId, a)))
            return i;
    }
    return -1;
}

int TChart::CoupleMark(const QString& husbandId, const QString& wifeId) const {
    if (husbandId.isEmpty() || wifeId.isEmpty())
        return -1;
    for (int i = 0; i < maritals_.size(); ++i) {
        const TMarital& m = maritals_[i];
        if (!m.Removed && SameId(m.HusbandId, husbandId) && SameId(m.WifeId, wifeId))
            return i;
    }
    return -1;
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
        Modified = true;
    }
}

int TChart::DropPerson(const QString& id, const QPoint& viewPoint, bool fullBuild) {
    if (fullBuild)
        return FullBuild(id, viewPoint);
    int index = IndexOf(id);
    if (index < 0) {
        index = AddPersonAt(id, viewPoint);
    } else {
        MoveItemTo(index, ChartPoint(viewPoint));
    }
    if (index >= 0)
        AddMaritalsFor(persons_[index].Id);
    return index;
}

int TChart::FullBuild(const QString& id, const QPoint& viewPoint) {
    const bool userFullName = Defaults.ShowFullName;
    Defaults.ShowFullName = false;
    int index = AddPersonAt(id, viewPoint);
    if (index < 0) {
        Defaults.ShowFullName = userFullName;
        return -1;
    }
    TShowOption own = persons_[index].Options;
    if (own.ParentFont)
        own.Font = Defaults.Font;
    own.ParentFont = false;
    SetItemOptions(index, own);
    const QString personId = persons_[index].Id;
    ShowChildren(index);
    index = IndexOf(personId);
    own = persons_[index].Options;
    own.Font.Size += 2;
    own.Font.Style = kFontBold;
    SetItemOptions(index, own);
    Defaults.ShowFullName = true;
    ShowParents(index);
    Defaults.ShowFullName = userFullName;
    DeselectAll();
    return IndexOf(personId);
}

void TChart::PlaceBoxAt(int index, int x, int y) {
    const TChartBox& box = persons_[index].Box;
    MoveItem(index, x - box.X, y - box.Y);
}

void TChart::PlaceChildrenRow(int parent, const QList<int>& children) {
    if (children.isEmpty())
        return;
    const QString parentId = persons_[parent].Id;
    const TChartBox p = persons_[parent].Box;
    const int c = p.X + p.Width / 2;
    const bool down = Defaults.RootAtTop;
    if (children.size() == 1) {
        const TChartBox b = persons_[children.first()].Box;
        const int y = down ? p.Y + p.Height + 40 : p.Y - p.Height - 40;
        PlaceBoxAt(children.first(), c - b.Width / 2, y);
        if (y < 0)
            ShiftAll(0, -y + 40);
        return;
    }
    int total = 0;
    int hmax = 0;
    for (int child : children) {
        total += persons_[child].Box.Width + 10;
        hmax = std::max(hmax, persons_[child].Box.Height);
    }
    int x = c - total / 2;
    if (x < 0) {
        ShiftAll(-x + 40, 0);
        x = 40;
    }
    // ShiftAll moves the parent too; rows are placed from its new place.
    const TChartBox moved = persons_[IndexOf(parentId)].Box;
    int y = 0;
    for (qsizetype k = children.size() - 1; k >= 0; --k) {
        const TChartBox b = persons_[children[k]].Box;
        y = down ? moved.Y + moved.Height + 40 + hmax - b.Height
                 : moved.Y - moved.Height - 40 - hmax - b.Height;
        PlaceBoxAt(children[k], x, y);
        x += b.Width + 10;
    }
    if (y < 0)
        ShiftAll(0, -y + 40);
}

void TChart::ShowChildren(int index) {
    if (index < 0 || index >= persons_.size())
        return;
    QStringList ids;
    GetChildrenIds(persons_[index].Id, ids);
    AddChildren(index, ids, false);
}

void TChart::ShowChildrenFrom(int index, const QStringList& ids) {
    AddChildren(index, ids, true);
}

void TChart::AddChildren(int index, const QStringList& ids, bool linkToParent) {
    if (index < 0 || index >= persons_.size() || IsGlobalParent(persons_[index]) || ids.isEmpty())
        return;
    const QString parentId = persons_[index].Id;
    const TConnectionTo connection =
        IsMaleGender(persons_[index].Gender) ? TConnectionTo::Father : TConnectionTo::Mother;
    DeselectAll();
    QList<int> added;
    QStringList addedIds;
    placingMany_ = true;
    for (qsizetype k = 0; k < ids.size(); ++k) {
        if (IndexOf(ids[k]) >= 0)
            continue;
        const int child = FindOrAddPerson(ids[k]);
        if (child < 0)
            continue;
        const TChartBox p = persons_[IndexOf(parentId)].Box;
        PlaceItem(child, p.X + int(k + 1) * 10, p.Y + p.Height + 10);
        if (linkToParent)
            persons_[child].ConnectionTo = connection;
        added << child;
        addedIds << persons_[child].Id;
    }
    placingMany_ = false;
    PlaceChildrenRow(IndexOf(parentId), added);
    for (const QString& id : std::as_const(addedIds))
        AddMaritalsFor(id);
    ComputeAllSticks();
}

void TChart::ShowParents(int index) {
    if (index < 0 || index >= persons_.size())
        return;
    DeselectAll();
    const QString childId = persons_[index].Id;
    const bool down = Defaults.RootAtTop;
    auto child = [&]() -> const TPersonObject& {
        return persons_[IndexOf(childId)];
    };
    auto clampRight = [&](int& x) {
        if (x < 0) {
            ShiftAll(40 - x, 0);
            x = 40;
        }
    };
    const QString fatherId = child().FatherId;
    const QString motherId = child().MotherId;
    if (!fatherId.isEmpty() && IndexOf(fatherId) < 0) {
        const int father = FindOrAddPerson(fatherId);
        if (father >= 0) {
            const TChartBox c = child().Box;
            PlaceItem(father, c.X + c.Width, c.Y - 50);
            int x = child().MotherId.isEmpty() ? c.X : c.X + c.Width / 2 + 30;
            clampRight(x);
            const TChartBox c2 = child().Box;
            const int height = persons_[IndexOf(fatherId)].Box.Height;
            int y = down ? c2.Y - height - 40 : c2.Y + height + 40;
            if (const int mother = IndexOf(motherId); mother >= 0)
                y = persons_[mother].Position().y();
            PlaceBoxAt(IndexOf(fatherId), x, y);
            if (y < 0)
                ShiftAll(0, 40 - y);
        }
    }
    if (!motherId.isEmpty() && IndexOf(motherId) < 0) {
        const int mother = FindOrAddPerson(motherId);
        if (mother >= 0) {
            const TChartBox c = child().Box;
            PlaceItem(mother, c.X, c.Y - 50);
            const int width = persons_[mother].Box.Width;
            int x = child().FatherId.isEmpty() ? c.X : c.X + c.Width / 2 - width - 25;
            clampRight(x);
            const TChartBox c2 = child().Box;
            const TPersonObject& m = persons_[IndexOf(motherId)];
            int y = down ? c2.Y - m.Box.Height - 40 : c2.Y + m.Box.Height + 40;
            if (const int father = IndexOf(fatherId); father >= 0 && m.Picture.width() == 0)
                y = persons_[father].Position().y();
            PlaceBoxAt(IndexOf(motherId), x, y);
            if (y < 0)
                ShiftAll(0, 40 - y);
        }
    }
    const int father = IndexOf(fatherId);
    const int mother = IndexOf(motherId);
    if (father < 0 || mother < 0)
        return;
    if (CoupleMark(persons_[father].Id, persons_[mother].Id) < 0)
        AddMaritalsFor(motherId);
    const int mark = CoupleMark(persons_[father].Id, persons_[mother].Id);
    if (mark >= 0) {
        const TChartBox c = child().Box;
        maritals_[mark].Mark.X = c.X + c.Width / 2 - maritals_[mark].Mark.Width / 2;
        ComputeMaritalStick(mark);
    }
}

void TChart::ShowSpouses(int index) {
    if (index < 0 || index >= persons_.size() || IsGlobalParent(persons_[index]) ||
        persons_[index].Mates.isEmpty())
        return;
    DeselectAll();
    const QString personId = persons_[index].Id;
    const TMateList mates = persons_[index].Mates;
    const bool male = IsMaleGender(persons_[index].Gender);
    const int y0 = mates.size() < 2 ? persons_[index].Position().y()
                                    : persons_[index].Position().y() - int(mates.size() * 20) / 2;
    QStringList added;
    int k = 0;
    for (const TMate& mate : mates) {
        if (IndexOf(mate.Person_Id) >= 0)
            continue;
        const int spouse = FindOrAddPerson(mate.Person_Id);
        if (spouse < 0)
            continue;
        // A man's wives stand 60 units right of him, a woman's husbands end 60 units left of her; a
        // husband who would stand left of the chart's edge shifts the chart right.
        const TChartBox own = persons_[IndexOf(personId)].Box;
        int x = male ? own.Right() + 60 : own.X - 60 - persons_[spouse].Box.Width;
        x += 30 * k;
        if (x < 0) {
            ShiftAll(40 - x, 0);
            x = 40;
        }
        PlaceItem(IndexOf(mate.Person_Id), x, std::max(0, y0 + 30 * k));
        added << persons_[IndexOf(mate.Person_Id)].Id;
        ++k;
    }
    for (const QString& id : std::as_const(added))
        AddMaritalsFor(id);
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

void TChart::MoveItemTo(int index, const QPoint& position) {
    if (index < 0 || index >= persons_.size())
        return;
    const int x = std::clamp(position.x(), 0, kMaxChartPosition);
    const int y = std::clamp(position.y(), 0, kMaxChartPosition);
    const TPersonObject& item = persons_[index];
    MoveItem(index, x - item.TextRect.Left, y - item.TextRect.Top);
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
    QSet<int> parents;
    for (int i = 0; i < persons_.size(); ++i) {
        if (!persons_[i].Selected)
            continue;
        MoveItem(i, dx, dy);
        if (single)
            RecomputeMarksOf(i);
        int parent = IndexOf(persons_[i].FatherId);
        if (parent < 0)
            parent = IndexOf(persons_[i].MotherId);
        if (parent >= 0 && EffectiveLinkType(persons_[parent]) == TLinkType::Stick)
            parents.insert(parent);
    }
    for (TMarital& m : maritals_) {
        if (m.Selected) {
            m.Mark.X += dx;
            m.Mark.Y += dy;
        }
    }
    for (int parent : std::as_const(parents))
        ComputePersonStick(parent);
    if (linkType_ == TLinkType::Stick)
        for (int m = 0; m < maritals_.size(); ++m)
            ComputeMaritalStick(m);
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
    persons_.removeIf([](const TPersonObject& p) { return p.Selected; });
    maritals_.removeIf([&](const TMarital& m) {
        return removed.contains(ChartIdKey(m.HusbandId)) || removed.contains(ChartIdKey(m.WifeId));
    });
    IndexDirty();
    current_ = -1;
    ComputeAllSticks();
    Modified = true;
    return true;
}

void TChart::RemoveSelectedMarks() {
    if (SelectedMarkCount() == 0)
        return;
    maritals_.removeIf([](const TMarital& m) { return m.Selected; });
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
        if (p.HasStick) {
            p.Stick.X += dx;
            p.Stick.Y += dy;
        }
    }
    Modified = true;
}

void TChart::Clear() {
    persons_.clear();
    maritals_.clear();
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
    return true;
}

} // namespace verdan
