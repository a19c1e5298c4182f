#include "mate_children.h"

#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"

#include <algorithm>

namespace verdan {

namespace {

bool IsMan(const QString& genderCode) {
    return genderCode == u"m";
}

bool IsWoman(const QString& genderCode) {
    return genderCode == u"f";
}

// The husband and the wife of the person's marriage with the mate: the person is the husband when a man,
// the wife otherwise, as the mates are listed.
std::pair<QString, QString> Spouses(const QString& personId, const QString& genderCode,
                                    const QString& mateId) {
    return IsMan(genderCode) ? std::pair(personId, mateId) : std::pair(mateId, personId);
}

} // namespace

TRelationsView ReadRelationsView(const QString& personId) {
    TRelationsView view;
    const QString id = personId.trimmed();
    if (id.isEmpty() || !ReadPerson(id, view.Person))
        return view;
    view.GenderCode = NormaliseGender(view.Person.Gender);
    const TPerson& p = view.Person;
    if (p.Father_Id.trimmed() != u"-1")
        view.FatherText = GetLineageName(p.Father_Id);
    if (p.Mother_Id.trimmed() != u"0")
        view.MotherText = GetLineageName(p.Mother_Id);
    view.CanRemoveFather = !IsReservedParentId(p.Father_Id);
    view.CanRemoveMother = !IsReservedParentId(p.Mother_Id);
    ListMates(p.Person_Id, view.Mates);
    view.Children = ListChildEntries(p.Person_Id, view.GenderCode);
    return view;
}

TChildEntries ListChildEntries(const QString& personId, const QString& genderCode) {
    TChildEntries entries;
    if (personId.trimmed().isEmpty() || SameId(personId, GetGlobalParentId()))
        return entries;
    QList<TChildParents> links;
    ListChildLinks(personId, links);
    entries.reserve(links.size());
    const bool woman = IsWoman(genderCode);
    for (const TChildParents& link : links)
        entries.append({link.Person_Id, link.Father_Id, link.Mother_Id,
                        woman ? GetLineageName(link.Person_Id) : link.Person_Name});
    return entries;
}

bool IsChildOfMate(const TChildEntry& child, const QString& mateId) {
    return !mateId.trimmed().isEmpty() &&
           (SameId(child.Father_Id, mateId) || SameId(child.Mother_Id, mateId));
}

QString MatesCaptionSource(const QString& genderCode, int mateCount) {
    if (IsMan(genderCode))
        return mateCount < 2 ? QStringLiteral("Wife") : QStringLiteral("Wives");
    return mateCount < 2 ? QStringLiteral("Husband") : QStringLiteral("Husbands");
}

TChildLinkResult LinkChildToMate(const QString& genderCode, const QString& mateId, TChildEntry& child,
                                 bool linked) {
    if (!IsMan(genderCode) && !IsWoman(genderCode))
        return TChildLinkResult::UnknownGender;
    if (mateId.trimmed().isEmpty() || child.Person_Id.trimmed().isEmpty())
        return TChildLinkResult::NoMate;
    if (IsMan(genderCode)) {
        const QString mother = linked ? mateId : QStringLiteral("0");
        if (!SetMother(child.Person_Id, mother))
            return TChildLinkResult::Failed;
        child.Mother_Id = mother;
    } else {
        const QString father = linked ? mateId : GetGlobalParentId();
        if (father.isEmpty() || !SetFather(child.Person_Id, father))
            return TChildLinkResult::Failed;
        child.Father_Id = father;
    }
    return TChildLinkResult::Written;
}

bool SaveMatesOrder(const QString& personId, const QString& genderCode, const QStringList& mateIds) {
    if (personId.trimmed().isEmpty())
        return false;
    Transaction transaction;
    for (qsizetype i = 0; i < mateIds.size(); ++i) {
        const int order = static_cast<int>(i) + 1;
        // Unknown genders list their mates as husbands do, so their order is kept there too.
        const bool written = IsMan(genderCode) ? SetWifeOrder(personId, mateIds[i], order)
                                               : SetHusbandOrder(personId, mateIds[i], order);
        if (!written)
            return false;
    }
    return transaction.Commit();
}

bool SaveChildrenOrder(const QString& genderCode, const QStringList& childIds) {
    Transaction transaction;
    for (qsizetype i = 0; i < childIds.size(); ++i) {
        const int order = static_cast<int>(i) + 1;
        const bool written =
            IsMan(genderCode) ? SetOrderByFather(childIds[i], order) : SetOrderByMother(childIds[i], order);
        if (!written)
            return false;
    }
    return transaction.Commit();
}

void SortChildEntries(TChildEntries& children, const QCollator& collator) {
    std::stable_sort(children.begin(), children.end(),
                     [&collator](const TChildEntry& a, const TChildEntry& b) {
                         return collator.compare(a.Text, b.Text) < 0;
                     });
}

bool SetMateSplit(const QString& personId, const QString& genderCode, const QString& mateId, bool split) {
    const auto [husband, wife] = Spouses(personId, genderCode, mateId);
    return SetMarriageSplit(husband, wife, split);
}

int CountChildrenWithMate(const QString& personId, const QString& genderCode, const QString& mateId) {
    const auto [father, mother] = Spouses(personId, genderCode, mateId);
    return CountChildrenOfCouple(father, mother);
}

bool DetachChildrenOfMarriage(const QString& personId, const QString& genderCode, const QString& mateId) {
    if (IsMan(genderCode))
        return ClearMotherOfCoupleChildren(personId, mateId);
    if (IsWoman(genderCode))
        return MoveCoupleChildrenToGlobalParent(mateId, personId);
    return false;
}

TParentLinkResult RemoveFatherLink(TPerson& person) {
    if (person.Person_Id.trimmed().isEmpty() || IsReservedParentId(person.Father_Id))
        return TParentLinkResult::Nothing;
    if (IsReservedParentId(person.Mother_Id))
        return TParentLinkResult::NoOtherParent;
    if (!SetFather(person.Person_Id, QStringLiteral("0")))
        return TParentLinkResult::Failed;
    person.Father_Id = QStringLiteral("0");
    return TParentLinkResult::Removed;
}

TParentLinkResult RemoveMotherLink(TPerson& person) {
    if (person.Person_Id.trimmed().isEmpty() || IsReservedParentId(person.Mother_Id))
        return TParentLinkResult::Nothing;
    if (IsReservedParentId(person.Father_Id))
        return TParentLinkResult::NoOtherParent;
    if (!SetMother(person.Person_Id, QStringLiteral("0")))
        return TParentLinkResult::Failed;
    person.Mother_Id = QStringLiteral("0");
    return TParentLinkResult::Removed;
}

} // namespace verdan
