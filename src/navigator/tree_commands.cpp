#include "tree_commands.h"

#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/name_utils.h"

#include <QSet>

namespace verdan {

namespace {

constexpr int kMaxMates = 100;

// The first `length` characters, never splitting a surrogate pair.
QString CutText(const QString& text, int length) {
    if (text.size() <= length)
        return text;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

bool IsGlobalParent(const QString& id) {
    const QString global = GetGlobalParentId();
    return !global.trimmed().isEmpty() && SameId(id, global);
}

// A person the commands may change: a real identifier other than the outside-the-tree group, with a row.
bool IsEditablePerson(const QString& id) {
    return !IsReservedParentId(id) && !IsGlobalParent(id) && PersonExists(id);
}

bool IsFemale(const QString& id) {
    return GetGender(id) == u"f";
}

// Children shown under the person and under a real other parent, one that is neither reserved nor the
// outside-the-tree group: `column` holds the person, `other` the other parent.
int CountChildrenWithRealOtherParent(const QString& id, const char* column, const char* other) {
    const QString sql = QStringLiteral("SELECT count(*) FROM ftPerson WHERE %1 = ?1 AND %2 IS NOT NULL AND "
                                       "trim(%2) NOT IN ('', '0', '-1') AND %2 <> ?1 AND %2 <> ?2")
                            .arg(QLatin1String(column), QLatin1String(other));
    return static_cast<int>(Dm().ScalarInt(sql, id, GetGlobalParentId()));
}

// Children attached to the person alone: a man's children without a mother, a woman's without a father
// (the outside-the-tree group standing in for a missing parent).
int CountExclusiveChildren(const QString& id, bool female) {
    const QString sql =
        female
            ? QStringLiteral("SELECT count(*) FROM ftPerson WHERE mother_id = ?1 AND "
                             "(father_id = '0' OR father_id = ?2)")
            : QStringLiteral("SELECT count(*) FROM ftPerson WHERE father_id = ?1 AND (mother_id IS NULL OR "
                             "trim(mother_id) IN ('', '0', '-1') OR mother_id = ?2)");
    return static_cast<int>(Dm().ScalarInt(sql, id, GetGlobalParentId()));
}

QStringList ChildrenOnEitherColumn(const QString& id) {
    QStringList ids;
    Query q = Dm().Prepare(
        QStringLiteral("SELECT person_id FROM ftPerson WHERE father_id = ?1 OR mother_id = ?1"), id);
    while (q.Next())
        ids << q.Text(0);
    return ids;
}

// Every question here deletes persons or moves their children: Enter pressed at once keeps them.
bool Confirmed(const QString& text, const QString& caption) {
    return MsgYesNo(text, caption, IDNO) == IDYES;
}

// A marriage always joins a man and a woman, so a married person keeps its gender.
bool RefuseWhenMarried(const QString& id) {
    if (!HasMarriage(id))
        return false;
    MsgErrorRtl(
        Translate(QStringLiteral("Can't change the gender of a married person. Remove the marriage first.")));
    return true;
}

} // namespace

TMateStatus ReadMateStatus(const QString& personId) {
    TMateStatus status;
    status.PersonId = personId;
    status.Gender = GetGender(personId);
    TextTable table;
    ListMarriageRows(personId, table);
    const int column = status.Gender == u"f" ? 0 : 1;
    // The outside-the-tree group is never a mate, even where an older file records it as one.
    for (qsizetype row = 1; row < table.size() && status.MateIds.size() < kMaxMates; ++row) {
        const QString mate = table[row].value(column);
        if (!IsReservedParentId(mate) && !IsGlobalParent(mate))
            status.MateIds << mate;
    }
    status.MateCount = static_cast<qint32>(status.MateIds.size());
    if (status.MateCount > 0) {
        status.ActiveMateId = GetActiveMate(personId);
        if (!status.MateIds.contains(status.ActiveMateId, Qt::CaseInsensitive))
            status.ActiveMateId = status.MateIds.front();
    }
    return status;
}

QString StoredPersonName(const QString& text) {
    return CleanName(CutText(text, kMaxPersonNameLength));
}

QString DefaultChildName(const QString& gender, int number) {
    const QString prefix = NormaliseGender(gender) == u"f" ? QStringLiteral("ابنة ") : QStringLiteral("ابن ");
    return prefix + QString::number(number);
}

bool WouldCreateParentCycle(const QString& childId, const QString& parentId) {
    if (SameId(childId, parentId))
        return true;
    // Walks up from the parent through both columns; the child among its ancestors closes a loop.
    QSet<QString> seen;
    QStringList pending{parentId};
    while (!pending.isEmpty()) {
        const QString id = pending.takeLast();
        const TParent parents = GetParents(id);
        for (const QString& parent : {parents.Father_Id, parents.Mother_Id}) {
            if (IsReservedParentId(parent))
                continue;
            if (SameId(parent, childId))
                return true;
            const QString key = parent.trimmed().toUpper();
            if (!seen.contains(key)) {
                seen.insert(key);
                pending << parent;
            }
        }
    }
    return false;
}

QString InsertChildRow(const QString& parentId, const QString& gender) {
    const bool firstLevel = IsReservedParentId(parentId);
    if (!firstLevel && !PersonExists(parentId))
        return {};
    const QString parent = firstLevel ? QStringLiteral("-1") : parentId;
    const bool onMother = !firstLevel && IsFemale(parentId);
    const QString column = onMother ? QStringLiteral("mother_id") : QStringLiteral("father_id");
    const int count = static_cast<int>(Dm().ScalarInt(
        QStringLiteral("SELECT count(person_id) FROM ftPerson WHERE ") + column + " = ?", parent));
    const QString id = NewGuidText();
    const QString name = StoredPersonName(DefaultChildName(gender, count + 1));
    const int added = Dm().Execute(
        QStringLiteral(
            "INSERT INTO ftPerson (person_id, father_id, mother_id, person_name, gender, is_section, "
            "owner_id, date_created, user_created) VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?)"),
        id, onMother ? QStringLiteral("0") : parent, onMother ? parent : QStringLiteral("0"), name,
        NormaliseGender(gender) == u"f" ? QStringLiteral("f") : QStringLiteral("m"), GetOwnerId(), NowStamp(),
        CurrentUserName());
    return added > 0 ? id : QString();
}

QString AddChildPerson(const QString& parentId, const QString& gender, TMateStatus& mates) {
    mates = TMateStatus();
    if (IsReservedParentId(parentId))
        return InsertChildRow(parentId, gender);
    if (!PersonExists(parentId))
        return {};
    mates = ReadMateStatus(parentId);
    const bool female = mates.Gender == u"f";
    const int count = female ? CountChildrenOfMother(parentId) : CountChildrenOfFather(parentId);
    Transaction transaction;
    const QString id = InsertChildRow(parentId, gender);
    if (id.isEmpty())
        return {};
    const bool ordered = female ? SetOrderByMother(id, count + 1) : SetOrderByFather(id, count + 1);
    if (!ordered || !InheritFamilyNames(id) || !transaction.Commit())
        return {};
    return id;
}

QString AddChildWithParent(const QString& parentId, const QString& otherParentId, const QString& gender) {
    if (IsReservedParentId(parentId))
        return InsertChildRow(parentId, gender);
    if (!PersonExists(parentId))
        return {};
    QString other = otherParentId.trimmed();
    if (IsReservedParentId(other))
        other = QStringLiteral("0");
    else if (IsGlobalParent(other) || SameId(other, parentId) || !PersonExists(other))
        return {};
    Transaction transaction;
    const QString id = InsertChildRow(parentId, gender);
    if (id.isEmpty())
        return {};
    const bool female = IsFemale(parentId);
    const QString father = female ? other : parentId;
    const QString mother = female ? parentId : other;
    // A brand-new child has no descendants, so no loop can close; the check guards the rule all the same.
    if (WouldCreateParentCycle(id, father) || WouldCreateParentCycle(id, mother) ||
        !SetParents(id, father, mother))
        return {};
    const int fatherOrder = IsReservedParentId(father) ? 0 : CountChildrenOfFather(father);
    const int motherOrder = IsReservedParentId(mother) ? 0 : CountChildrenOfMother(mother);
    if (!SetOrderByFather(id, fatherOrder) || !SetOrderByMother(id, motherOrder) || !transaction.Commit())
        return {};
    return id;
}

QString AddFather(const QString& personId) {
    if (!IsEditablePerson(personId))
        return {};
    const QString oldFather = GetFatherId(personId).trimmed();
    // Without a father the new man would hang on "0" and be shown nowhere.
    const QString fatherOfNew = IsReservedParentId(oldFather) ? QStringLiteral("-1") : oldFather;
    if (fatherOfNew != u"-1" && WouldCreateParentCycle(personId, fatherOfNew))
        return {};
    Transaction transaction;
    QString newId;
    if (!AddPerson(Translate(QStringLiteral("father")), fatherOfNew, QStringLiteral("0"), newId,
                   QStringLiteral("m")) ||
        !SetFather(personId, newId) || !transaction.Commit())
        return {};
    return newId;
}

bool SavePersonName(const QString& personId, const QString& text) {
    if (IsReservedParentId(personId))
        return false;
    const QString name = StoredPersonName(text);
    if (Dm().Execute(
            QStringLiteral("UPDATE ftPerson SET person_name = ?, date_modified = ?, user_modified = ? "
                           "WHERE person_id = ?"),
            name, NowStamp(), CurrentUserName(), personId) != 1)
        return false;
    RefreshRelationNamesOf(personId);
    return true;
}

TRemoveResult RemovePerson(const QString& personId, const QString& caption, bool ask) {
    if (!IsEditablePerson(personId))
        return {};
    const bool female = IsFemale(personId);
    QString note;
    if (CountChildren(personId) > 0) {
        if (CountExclusiveChildren(personId, female) > 0) {
            MsgErrorRtl(TranslateLines(
                {QStringLiteral("There are children attached exclusively to the current person."),
                 QStringLiteral("You must first rearrange their attachment or delete them.")}));
            return {};
        }
        note = QStringLiteral("\r\n") +
               TranslateLines({female ? QStringLiteral("Children will be attached to the father")
                                      : QStringLiteral("Children will be attached to the mother"),
                               QStringLiteral("or will be moved to Tree Side.")});
    }
    if (ask &&
        !Confirmed(
            Translate(QStringLiteral("This will remove this person and delete all its relationships.")) +
                note + FillPattern(Translate(QStringLiteral("|Continue to remove: %* ?")), {caption}),
            Translate(QStringLiteral("Confirm"))))
        return {};

    const QStringList children = ChildrenOnEitherColumn(personId);
    const QString global = GetGlobalParentId();
    Transaction transaction;
    if (!children.isEmpty() && (!DetachChildrenOfFather(personId) || !DetachChildrenOfMother(personId)))
        return {};
    // A child that kept no parent at all goes under the outside-the-tree group.
    TRemoveResult result;
    for (const QString& child : children) {
        const TParent parents = GetParents(child);
        const QString father = parents.Father_Id.trimmed();
        const QString mother = parents.Mother_Id.trimmed();
        if (father == u"0" && (mother.isEmpty() || mother == u"0" || mother == u"-1") &&
            Dm().Execute(QStringLiteral("UPDATE ftPerson SET father_id = ? WHERE person_id = ?"), global,
                         child) < 0)
            return {};
        if (SameId(GetFatherId(child), global) || SameId(GetMotherId(child), global))
            result.ChildrenMoved = true;
    }
    if (!DeletePerson(personId) || !transaction.Commit())
        return {};
    result.Removed = true;
    return result;
}

QStringList RemovePersons(const QStringList& personIds, bool ask, bool* childrenMoved) {
    if (childrenMoved)
        *childrenMoved = false;
    QStringList removed;
    if (personIds.isEmpty())
        return removed;
    if (ask && !Confirmed(Translate(QStringLiteral("Remove selected persons?")),
                          Translate(QStringLiteral("Confirm"))))
        return removed;
    for (qsizetype i = personIds.size() - 1; i >= 0; --i) {
        if (!PersonExists(personIds[i]))
            continue;
        const TRemoveResult result = RemovePerson(personIds[i], QString(), false);
        if (result.Removed)
            removed << personIds[i];
        if (childrenMoved && result.ChildrenMoved)
            *childrenMoved = true;
    }
    return removed;
}

bool SetMale(const QString& personId) {
    if (!IsEditablePerson(personId))
        return false;
    Transaction transaction;
    if (GetGender(personId) != u"m") {
        if (CountChildrenWithRealOtherParent(personId, "mother_id", "father_id") > 0) {
            MsgWarning(Translate(QStringLiteral("Can't change this person to a father. there are children "
                                                "already attached to other father.")));
            return false;
        }
        if (RefuseWhenMarried(personId))
            return false;
        if (CountChildren(personId) > 0 &&
            !Confirmed(
                Translate(QStringLiteral("This will change children attachment to a father..|Continue?")),
                Translate(QStringLiteral("Change to Father"))))
            return false;
        // Only the children recorded with the person as mother move; those already on the father column stay.
        if (!SetGender(personId, QStringLiteral("m")) ||
            Dm().Execute(
                QStringLiteral("UPDATE ftPerson SET father_id = ?1, mother_id = '0' WHERE mother_id = ?1"),
                personId) < 0)
            return false;
    }
    return SetGroupFlag(personId, false) && transaction.Commit();
}

bool SetFemale(const QString& personId) {
    if (!IsEditablePerson(personId))
        return false;
    if (Dm().ScalarInt(QStringLiteral("SELECT is_section FROM ftPerson WHERE person_id = ?"), personId) !=
        0) {
        MsgErrorRtl(Translate(QStringLiteral("Can't change Group to female.")));
        return false;
    }
    Transaction transaction;
    if (GetGender(personId) != u"f") {
        if (CountChildrenWithRealOtherParent(personId, "father_id", "mother_id") > 0) {
            MsgErrorRtl(Translate(QStringLiteral("Can't change this person to a mother. there are children "
                                                 "already attached to other mother.")));
            return false;
        }
        if (RefuseWhenMarried(personId))
            return false;
        if (CountChildren(personId) > 0 &&
            !Confirmed(
                Translate(QStringLiteral("This will change children attachment to a mother..|Continue?")),
                Translate(QStringLiteral("Change to Mother"))))
            return false;
        // Children recorded with the person as father move to the mother column; one that hung on the
        // outside-the-tree group as mother keeps it, as its father.
        if (Dm().Execute(
                QStringLiteral("UPDATE ftPerson SET mother_id = ?1, father_id = CASE WHEN mother_id = ?2 "
                               "THEN ?2 ELSE '0' END WHERE father_id = ?1"),
                personId, GetGlobalParentId()) < 0 ||
            !SetGender(personId, QStringLiteral("f")))
            return false;
    }
    return SetGroupFlag(personId, false) && transaction.Commit();
}

bool ToggleGroup(const QString& personId) {
    if (!IsEditablePerson(personId))
        return false;
    if (GetGender(personId) != u"m") {
        MsgErrorRtl(Translate(QStringLiteral("Gender must be Male before setting as group.")));
        return false;
    }
    if (HasAnyRelation(personId)) {
        MsgErrorRtl(Translate(QStringLiteral(
            "This person has a marriage or breastfeeding relationship. Can't change to a group.")));
        return false;
    }
    const bool isGroup =
        Dm().ScalarInt(QStringLiteral("SELECT is_section FROM ftPerson WHERE person_id = ?"), personId) != 0;
    Transaction transaction;
    return SetGender(personId, QStringLiteral("m")) && SetGroupFlag(personId, !isGroup) &&
           transaction.Commit();
}

bool ToggleDead(const QString& personId) {
    if (IsReservedParentId(personId) || !PersonExists(personId))
        return false;
    const bool isDead =
        Dm().ScalarInt(QStringLiteral("SELECT is_dead FROM ftPerson WHERE person_id = ?"), personId) != 0;
    return SetDead(personId, !isDead);
}

bool SetOrderByKey(const QString& personId, const QString& parentId, const QString& parentGender, int order) {
    if (order < 1 || order > 9 || IsReservedParentId(personId) || IsReservedParentId(parentId))
        return false;
    return NormaliseGender(parentGender) == u"m" ? SetOrderByFather(personId, order)
                                                 : SetOrderByMother(personId, order);
}

} // namespace verdan
