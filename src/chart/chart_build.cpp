// Adding persons to the chart: items read from the tree, drops, the full build, generations and the Show
// commands. Each command that adds relatives lays them out (AutoPlace, chart_placement.cpp).

#include "chart.h"
#include "chart/chart_tree_reader.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/picture_store.h"

#include <QPainter>
#include <QSet>
#include <cmath>

namespace verdan {

namespace {

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

QString NormaliseChartId(const QString& id) {
    if (id.isEmpty() || (!id.front().isSpace() && !id.back().isSpace()))
        return id == u"0" || id == u"-1" ? QString() : id;
    const QString trimmed = id.trimmed();
    return trimmed == u"0" || trimmed == u"-1" ? QString() : trimmed;
}

QStringList TChart::WithoutGroups(const QStringList& ids) const {
    QStringList wanted;
    QStringList unknown;
    for (const QString& id : ids) {
        const int index = IndexOf(id);
        if (index >= 0)
            wanted << persons_[index].Id;
        else if (!NormaliseChartId(id).isEmpty())
            unknown << NormaliseChartId(id);
    }
    const QHash<QString, TChartPersonRecord> records = ReadChartPersons(unknown);
    for (const QString& id : std::as_const(unknown)) {
        const auto it = records.find(ChartIdKey(id));
        if (it != records.end() && !it->IsSection)
            wanted << id;
    }
    return wanted;
}

void TChart::FillDateTexts(TPersonObject& item) const {
    item.BirthText = DateValueText(WithBothCalendars(item.Birth), datesShown_);
    item.DeathText = DateValueText(WithBothCalendars(item.Death), datesShown_);
}

void TChart::SetDatesShown(TDateShown shown, bool layOut) {
    if (shown == datesShown_)
        return;
    datesShown_ = shown;
    const bool placingMany = placingMany_;
    placingMany_ = true;
    for (int i = 0; i < persons_.size(); ++i) {
        FillDateTexts(persons_[i]);
        ApplyOptions(i);
    }
    placingMany_ = placingMany;
    Modified = true;
    if (layOut)
        AutoPlace(RootId);
    else
        ComputeAllSticks();
}

int TChart::AddItem(TPersonObject item) {
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
    persons_.append(std::move(item));
    const int index = int(persons_.size() - 1);
    if (indexValid_)
        index_.insert(ChartIdKey(persons_[index].Id), index);
    ApplyOptions(index);
    Modified = true;
    return index;
}

int TChart::FindOrAddPerson(const QString& id) {
    return AddPersons({id}).value(0, -1);
}

QList<int> TChart::AddPersons(const QStringList& ids) {
    // Sticks are computed once, by whoever lays the new items out.
    const bool placingMany = placingMany_;
    placingMany_ = true;
    QStringList missing;
    QSet<QString> asked;
    for (const QString& id : ids) {
        const QString normal = NormaliseChartId(id);
        if (!normal.isEmpty() && IndexOf(normal) < 0 && !asked.contains(ChartIdKey(normal))) {
            asked.insert(ChartIdKey(normal));
            missing << normal;
        }
    }
    const QHash<QString, TChartPersonRecord> records = ReadChartPersons(missing);
    QList<int> indices;
    indices.reserve(ids.size());
    for (const QString& id : ids) {
        const QString normal = NormaliseChartId(id);
        int index = normal.isEmpty() ? -1 : IndexOf(normal);
        const auto it = index >= 0 || normal.isEmpty() ? records.end() : records.find(ChartIdKey(normal));
        if (it != records.end()) {
            TPersonObject item;
            item.Id = it->Id;
            item.FatherId = NormaliseChartId(it->FatherId);
            item.MotherId = NormaliseChartId(it->MotherId);
            item.Gender = NormaliseGender(it->Gender);
            item.ShortName = it->Name;
            item.ExpandedName = it->ExpandedName;
            item.SiblingOrder = item.FatherId.isEmpty() ? it->OrderByMother : it->OrderByFather;
            item.Birth = it->Birth;
            item.Death = it->Death;
            FillDateTexts(item);
            item.Mates = it->Mates;
            index = AddItem(std::move(item));
        }
        indices << index;
    }
    placingMany_ = placingMany;
    if (!placingMany && ids.size() == 1 && indices.first() >= 0)
        ComputePersonStick(indices.first());
    return indices;
}

void TChart::ApplyOptions(int index) {
    TPersonObject& item = persons_[index];
    if (item.Options.ShowPicture && !item.PictureRead) {
        item.Picture = LoadItemPicture(item.Id);
        item.PictureRead = true;
    }
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
    persons_[index].Pinned = true;
    Modified = true;
    return index;
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

void TChart::AddMarks(const QList<int>& items) {
    // Their sticks are computed with everybody else's by the layout that follows.
    const bool placingMany = placingMany_;
    placingMany_ = true;
    QSet<QString> pairs;
    for (const TMarital& m : std::as_const(maritals_))
        if (!m.Removed)
            pairs << ChartIdKey(m.HusbandId) + u'/' + ChartIdKey(m.WifeId)
                  << ChartIdKey(m.WifeId) + u'/' + ChartIdKey(m.HusbandId);
    for (int index : items) {
        if (index < 0 || index >= persons_.size())
            continue;
        const QString own = persons_[index].Id;
        for (const TMate& mate : persons_[index].Mates) {
            const int other = IndexOf(mate.Person_Id);
            if (other < 0 || other == index)
                continue;
            const QString pair = ChartIdKey(own) + u'/' + ChartIdKey(persons_[other].Id);
            if (pairs.contains(pair))
                continue;
            pairs << pair << ChartIdKey(persons_[other].Id) + u'/' + ChartIdKey(own);
            maritals_.append(TMarital{});
            ComputeMaritalMark(int(maritals_.size() - 1), own, persons_[other].Id);
            MarksDirty();
            Modified = true;
        }
    }
    placingMany_ = placingMany;
}

int TChart::FullBuild(const QString& id, const QPoint& viewPoint, int up, int down, bool daughters) {
    return Build(id, &viewPoint, up, down, daughters, false);
}

int TChart::BuildGenerations(const QString& id, int up, int down, bool daughters) {
    return Build(id, nullptr, up, down, daughters, true);
}

int TChart::Build(const QString& id, const QPoint* viewPoint, int up, int down, bool daughters, bool trim) {
    const bool userFullName = Defaults.ShowFullName;
    Defaults.ShowFullName = false;
    int index = IndexOf(id);
    const bool fresh = index < 0 || viewPoint;
    if (index < 0)
        index = viewPoint ? AddPersonAt(id, *viewPoint) : FindOrAddPerson(id);
    else if (viewPoint)
        MoveItemTo(index, ChartPoint(*viewPoint));
    if (index < 0) {
        Defaults.ShowFullName = userFullName;
        return -1;
    }
    const QString rootId = persons_[index].Id;
    RootId = rootId;
    persons_[index].Pinned = false;
    if (fresh) {
        TShowOption own = persons_[index].Options;
        if (own.ParentFont)
            own.Font = Defaults.Font;
        own.ParentFont = false;
        SetItemOptions(index, own);
    }
    QList<int> added;
    // Descendants generation by generation; below the root's own children, through sons only unless
    // daughters' children are asked for. Circles in the data end where a person comes round again.
    QSet<QString> below{ChartIdKey(rootId)};
    QStringList generation{rootId};
    for (int level = 0; level < down && !generation.isEmpty(); ++level) {
        QList<std::pair<QString, bool>> parents;
        for (const QString& parent : std::as_const(generation)) {
            const int at = IndexOf(parent);
            if (at < 0 || IsGlobalParent(persons_[at]))
                continue;
            const bool male = IsMaleGender(persons_[at].Gender);
            if (level == 0 || male || daughters)
                parents.append({persons_[at].Id, male});
        }
        const QHash<QString, QStringList> children = ReadChartChildren(parents);
        QStringList next;
        for (const auto& [parent, male] : std::as_const(parents))
            for (const QString& child : children.value(ChartIdKey(parent)))
                if (!below.contains(ChartIdKey(child))) {
                    below.insert(ChartIdKey(child));
                    next << child;
                }
        const QList<int> indices = AddPersons(next);
        generation.clear();
        for (int i : indices) {
            if (i < 0)
                continue;
            added << i;
            persons_[i].Pinned = false;
            generation << persons_[i].Id;
        }
    }
    index = IndexOf(rootId);
    if (fresh) {
        TShowOption own = persons_[index].Options;
        own.Font.Size += 2;
        own.Font.Style = kFontBold;
        SetItemOptions(index, own);
    }
    // Ancestors under their expanded names.
    Defaults.ShowFullName = true;
    QSet<QString> above{ChartIdKey(rootId)};
    generation = {rootId};
    for (int level = 0; level < up && !generation.isEmpty(); ++level) {
        QStringList parents;
        for (const QString& child : std::as_const(generation)) {
            const TPersonObject& item = persons_[IndexOf(child)];
            for (const QString& parent : {item.FatherId, item.MotherId})
                if (!parent.isEmpty() && !above.contains(ChartIdKey(parent))) {
                    above.insert(ChartIdKey(parent));
                    parents << parent;
                }
        }
        generation.clear();
        for (int i : AddPersons(WithoutGroups(parents))) {
            if (i < 0)
                continue;
            added << i;
            persons_[i].Pinned = false;
            generation << persons_[i].Id;
        }
    }
    Defaults.ShowFullName = userFullName;
    if (trim)
        TrimLines(rootId, above, below);
    added << IndexOf(rootId);
    AddMarks(added);
    AutoPlace(rootId);
    DeselectAll();
    return IndexOf(rootId);
}

void TChart::TrimLines(const QString& rootId, const QSet<QString>& above, const QSet<QString>& below) {
    const int root = IndexOf(rootId);
    if (root < 0)
        return;
    QSet<QString> gone;
    // Ancestors on the chart that the generations asked for do not reach.
    QList<int> pending{root};
    QSet<int> seen{root};
    while (!pending.isEmpty()) {
        const TPersonObject& item = persons_[pending.takeLast()];
        for (const QString& parent : {item.FatherId, item.MotherId}) {
            const int at = IndexOf(parent);
            if (at < 0 || seen.contains(at))
                continue;
            seen.insert(at);
            pending << at;
            if (!above.contains(ChartIdKey(persons_[at].Id)))
                gone.insert(ChartIdKey(persons_[at].Id));
        }
    }
    for (int child : Descendants(root))
        if (!below.contains(ChartIdKey(persons_[child].Id)))
            gone.insert(ChartIdKey(persons_[child].Id));
    if (gone.isEmpty())
        return;
    // Spouses who stood on the chart only beside persons that leave it go with them.
    QSet<QString> parents;
    for (const TPersonObject& p : std::as_const(persons_))
        if (!gone.contains(ChartIdKey(p.Id)))
            for (const QString& parent : {p.FatherId, p.MotherId})
                if (!parent.isEmpty())
                    parents.insert(ChartIdKey(parent));
    QSet<QString> spousesOnly;
    for (const TPersonObject& item : std::as_const(persons_)) {
        const QString key = ChartIdKey(item.Id);
        if (gone.contains(key) || SameId(item.Id, rootId) || IndexOf(item.FatherId) >= 0 ||
            IndexOf(item.MotherId) >= 0 || parents.contains(key))
            continue;
        bool beside = false;
        bool otherwise = false;
        for (const TMate& mate : item.Mates) {
            if (IndexOf(mate.Person_Id) < 0)
                continue;
            (gone.contains(ChartIdKey(mate.Person_Id)) ? beside : otherwise) = true;
        }
        if (beside && !otherwise)
            spousesOnly.insert(key);
    }
    gone.unite(spousesOnly);
    RemoveItems(gone);
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
    QSet<QString> before;
    for (const QString& id : ids)
        if (IndexOf(id) >= 0)
            before.insert(ChartIdKey(NormaliseChartId(id)));
    const QList<int> children = AddPersons(ids);
    for (int child : children) {
        if (child < 0)
            continue;
        // Children already on the chart are laid out under their parent again, wherever they stood.
        persons_[child].Pinned = false;
        if (linkToParent && !before.contains(ChartIdKey(persons_[child].Id)))
            persons_[child].ConnectionTo = connection;
    }
    AddMarks(children);
    AutoPlace(parentId);
}

void TChart::ShowParents(int index) {
    if (index < 0 || index >= persons_.size())
        return;
    DeselectAll();
    const QString childId = persons_[index].Id;
    const QList<int> parents =
        AddPersons(WithoutGroups({persons_[index].FatherId, persons_[index].MotherId}));
    for (int parent : parents)
        if (parent >= 0)
            persons_[parent].Pinned = false;
    // The parents' mark, when they are a couple.
    const int father = IndexOf(persons_[IndexOf(childId)].FatherId);
    const int mother = IndexOf(persons_[IndexOf(childId)].MotherId);
    if (father >= 0 && mother >= 0 && CoupleMark(persons_[father].Id, persons_[mother].Id) < 0)
        AddMaritalsFor(persons_[mother].Id);
    AutoPlace(childId);
}

void TChart::ShowSpouses(int index) {
    if (index < 0 || index >= persons_.size() || IsGlobalParent(persons_[index]) ||
        persons_[index].Mates.isEmpty())
        return;
    ShowSpousesOf({persons_[index].Id});
}

void TChart::ShowSpousesOf(const QStringList& ids) {
    DeselectAll();
    QStringList mates;
    QList<int> persons;
    for (const QString& id : ids) {
        const int index = IndexOf(id);
        if (index < 0 || IsGlobalParent(persons_[index]))
            continue;
        persons << index;
        for (const TMate& mate : persons_[index].Mates)
            mates << mate.Person_Id;
    }
    if (persons.isEmpty())
        return;
    const QString anchor = persons_[persons.first()].Id;
    QStringList personIds;
    for (int index : std::as_const(persons))
        personIds << persons_[index].Id;
    QList<int> added = AddPersons(mates);
    for (int spouse : added)
        if (spouse >= 0)
            persons_[spouse].Pinned = false;
    for (const QString& id : std::as_const(personIds))
        added << IndexOf(id);
    AddMarks(added);
    AutoPlace(anchor);
}

} // namespace verdan
