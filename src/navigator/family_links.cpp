#include "family_links.h"

#include "navigator/tree_commands.h"
#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

namespace verdan {

namespace {

bool IsGlobalParent(const QString& id) {
    const QString global = GetGlobalParentId();
    return !global.trimmed().isEmpty() && SameId(id, global);
}

// A person who may take part in a link: a real identifier with a row, not the outside-the-tree group.
bool IsLinkable(const QString& id) {
    return !IsReservedParentId(id) && !IsGlobalParent(id) && PersonExists(id);
}

// Questions that replace a parent start on No; those that only add a marriage on Yes.
bool Confirmed(const QString& text, const QString& caption, int focus = IDYES) {
    return MsgYesNo(text, caption, focus) == IDYES;
}

QString Tr(const char* text) {
    return Translate(QString::fromUtf8(text));
}

// The chosen gender as the picker knows it, else as stored.
QString ChosenGender(const TPickedPersons& chosen) {
    return NormaliseGender(chosen.Gender.trimmed().isEmpty() ? GetGender(chosen.Id) : chosen.Gender);
}

} // namespace

bool RefusesParentCycle(const QString& childId, const QString& parentId) {
    if (IsReservedParentId(parentId) || !WouldCreateParentCycle(childId, parentId))
        return false;
    QString text = Tr("A person can't become his own ancestor.");
    if (!SameId(childId, parentId))
        text += u'|' + FillPattern(Tr("%* is an ancestor of %*."),
                                   {GetThreeGenerationName(childId), GetThreeGenerationName(parentId)});
    MsgErrorRtl(text);
    return true;
}

bool AttachExistingMate(const QString& personId, const TPickedPersons& chosen) {
    if (!IsLinkable(personId))
        return false;
    const QString gender = GetGender(personId);
    if (chosen.Id.trimmed().isEmpty() || chosen.Id.trimmed() == u"-1" || !PersonExists(chosen.Id)) {
        MsgInfo(Tr("No person has been chosen."));
        return false;
    }
    if (IsGlobalParent(chosen.Id)) {
        MsgInfo(Tr("The group of persons outside the tree can't be married."));
        return false;
    }
    if (ChosenGender(chosen) == gender || SameId(chosen.Id, personId)) {
        MsgInfo(Tr("Husband and wife can't have same gender."));
        return false;
    }
    const bool man = gender != u"f";
    if (!Confirmed(
            FillPattern(man ? Tr("This will attach %* as a wife.") : Tr("This will attach %* as a husband."),
                        {chosen.Caption}),
            man ? Tr("Attach Wife") : Tr("Attach Husband")))
        return false;
    return man ? MarryByRules(personId, chosen.Id) : MarryByRules(chosen.Id, personId);
}

QString AttachNewMate(const QString& personId, const TNewMate& mate) {
    if (!IsLinkable(personId))
        return {};
    const QString gender = GetGender(personId);
    const QString mateGender = NormaliseGender(mate.Gender);
    if (mateGender == gender) {
        MsgInfo(Tr("Hasbund and wife Can't have the same gender."));
        return {};
    }
    const QString name = StoredPersonName(mate.Name);
    if (name.isEmpty())
        return {};
    if (!Confirmed(FillPattern(gender == u"f" ? Tr("This will attach %* as a husband.")
                                              : Tr("This will attach %* as a wife."),
                               {name}),
                   gender == u"f" ? Tr("Attach Husband") : Tr("Attach Wife")))
        return {};
    QString father = mate.FatherId.trimmed();
    QString mother = mate.MotherId.trimmed();
    if (father.isEmpty() && mother.isEmpty()) {
        father = GetGlobalParentId();
        mother = QStringLiteral("0");
    }
    const bool female = gender == u"f";
    // Asked before anything is written: her lasting marriage, and the marriage of the chosen parents.
    TFamilyPlan plan;
    if (female && !PlanFurtherHusband(personId, Isolate(name), plan))
        return {};
    if (IsLinkable(father) && IsLinkable(mother) && !PlanMarriage(father, mother, plan))
        return {};
    plan.Tell();
    QString newId;
    QString refusal;
    {
        StoreOperation operation;
        Transaction transaction;
        bool written =
            transaction.Active() && AddPerson(name, father, mother, newId,
                                              mateGender == u"f" ? QStringLiteral("f") : QStringLiteral("m"));
        const QString husband = female ? newId : personId;
        const QString wife = female ? personId : newId;
        // Chosen parents can make the new mate one the person may not marry: nothing is kept then.
        const QString reason = written ? MayNotMarryReason(husband, wife) : QString();
        if (!reason.isEmpty()) {
            refusal = FillPattern(Tr("%* may not marry %*."), {Isolate(GetThreeGenerationName(husband)),
                                                               Isolate(GetThreeGenerationName(wife))}) +
                      u'|' + reason;
        } else {
            written = written && (mate.Notes.trimmed().isEmpty() || SetPersonNotes(newId, mate.Notes)) &&
                      WriteFamilyPlan(plan) && RecordMarriage(husband, wife);
            if (!written || !transaction.Commit()) {
                MsgErrorRtl(Tr("Can't set the maariage relationship."));
                return {};
            }
        }
    }
    if (!refusal.isEmpty()) {
        TFamilyRuling ruling;
        ruling.Verdict = TRuleVerdict::Refused;
        ruling.Text = refusal;
        FamilyAsker().Refuse(ruling);
        return {};
    }
    if (female)
        OfferCoupleChildren(newId, personId);
    else
        OfferCoupleChildren(personId, newId);
    return newId;
}

bool AttachChildren(const QString& personId, const QString& caption, const QStringList& chosenIds) {
    if (!IsLinkable(personId))
        return false;
    QStringList children;
    for (const QString& id : chosenIds) {
        if (IsLinkable(id) && !SameId(id, personId) && !children.contains(id, Qt::CaseInsensitive))
            children << id;
    }
    if (children.isEmpty()) {
        MsgInfo(Tr("No person has been chosen."));
        return false;
    }
    const bool man = GetGender(personId) != u"f";
    for (const QString& child : children) {
        if (man && HaveSameMother(child, personId)) {
            MsgErrorRtl(FillPattern(
                Tr("Can't attach as children.|Selected person(s) have same mother as %*."), {caption}));
            return false;
        }
        if (!man && HaveSameFather(child, personId)) {
            MsgErrorRtl(FillPattern(
                Tr("Can't attach as children.|Selected person(s) have same father as %*."), {caption}));
            return false;
        }
    }
    for (const QString& child : children) {
        if (RefusesParentCycle(child, personId))
            return false;
    }
    if (!Confirmed(FillPattern(Tr("Selected person(s) will be attached as children of %*."), {caption}),
                   Tr("Attach Children"), IDNO))
        return false;
    return GiveParent(children, personId, man ? TParentKind::Father : TParentKind::Mother);
}

bool ConfirmOtherParent(TParentKind kind, const TLinkNode& first) {
    if (IsReservedParentId(first.ParentId) || !IsMaleGender(first.ParentGender))
        return true;
    return Confirmed(kind == TParentKind::Father
                         ? Tr("This will attach selected person(s) to other father.| Continue?")
                         : Tr("This will attach selected person(s) to other mother.| Continue?"),
                     Tr("Confirm"), IDNO);
}

bool AttachParent(TParentKind kind, const QList<TLinkNode>& nodes, const TPickedPersons& chosen) {
    const bool father = kind == TParentKind::Father;
    QList<TLinkNode> persons;
    for (const TLinkNode& node : nodes) {
        if (IsLinkable(node.PersonId))
            persons << node;
    }
    const QString parent = chosen.Id.trimmed();
    if (persons.isEmpty() || parent.isEmpty())
        return false;
    const QString confirm = Tr("Confirm");
    if (parent == u"-1") {
        // Only a father can be the root; persons who have a mother keep their father and their place.
        if (!father ||
            !Confirmed(Tr("This will attach selected person(s) to the root of the tree.|Continue?"), confirm,
                       IDNO))
            return false;
        Transaction transaction;
        for (const TLinkNode& node : persons) {
            if (IsReservedParentId(GetMotherId(node.PersonId)) &&
                !SetFather(node.PersonId, QStringLiteral("-1")))
                return false;
        }
        return transaction.Commit();
    }
    if (!PersonExists(parent))
        return false;
    if (ChosenGender(chosen) != (father ? u"m" : u"f")) {
        MsgErrorRtl(father ? Tr("Father's gender must be male.") : Tr("Mother's gender must be female."));
        return false;
    }
    for (const TLinkNode& node : persons) {
        if (AreSiblings(parent, node.PersonId)) {
            MsgWarningCaption(
                father ? Tr("The selected father is a brother of at least one of targeted individuals.")
                       : Tr("The selected mother is a sister of at least one of targeted individuals."),
                confirm);
            return false;
        }
    }
    for (const TLinkNode& node : persons) {
        if (RefusesParentCycle(node.PersonId, parent))
            return false;
    }
    const QString text =
        persons.size() == 1
            ? FillPattern(father ? Tr("This will attach %* as a father of %*.|Please confirm.")
                                 : Tr("This will attach %* as a mother of %*.|Please confirm."),
                          {chosen.Caption, persons.front().Caption})
            : FillPattern(father ? Tr("This will attach %* as a father of selected persons.|Please confirm.")
                                 : Tr("This will attach %* as a mother of selected persons.|Please confirm."),
                          {chosen.Caption});
    if (!Confirmed(text, father ? Tr("Attach Father") : Tr("Attach Mother"), IDNO))
        return false;
    QStringList ids;
    for (const TLinkNode& node : persons)
        ids << node.PersonId;
    return GiveParent(ids, parent, kind);
}

bool SwitchParents(const QString& personId) {
    if (!IsLinkable(personId))
        return false;
    return SwapParents(personId);
}

bool MarryMates(const QString& personId, const QString& mateId) {
    if (!IsLinkable(personId) || !IsLinkable(mateId))
        return false;
    const QString gender = GetGender(personId);
    const QString mateGender = GetGender(mateId);
    if (gender == mateGender)
        return false;
    return gender == u"f" ? MarryByRules(mateId, personId) : MarryByRules(personId, mateId);
}

} // namespace verdan
