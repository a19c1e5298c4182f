#include "relations/data_checks.h"

#include "relations/family_checks.h"
#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_index.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QSet>
#include <vector>

namespace verdan {

namespace {

struct RowNames {
    QString id;
    QString name;
    QString father;
    QString mother;
};

RowNames ReadRow(qint64 rowId) {
    RowNames row;
    Query q = Dm().Prepare("SELECT Person_Id, Person_Name, Father_Id, Mother_Id FROM ftPerson WHERE oid = ?",
                           rowId);
    if (q.Next())
        row = {q.Text(0), q.Text(1), q.Text(2), q.Text(3)};
    return row;
}

void CheckParentGenders(QList<TDataFinding>& findings) {
    TextTable conflicts;
    ListParentGenderConflicts(conflicts);
    for (qsizetype row = 1; row < conflicts.size(); ++row) {
        const QStringList& r = conflicts[row];
        if (r.value(3) == u"m")
            findings << TDataFinding{TFindingKind::MotherIsMale, r.value(0), r.value(1), r.value(2), {}};
        if (r.value(5) == u"f")
            findings << TDataFinding{TFindingKind::FatherIsFemale, r.value(0), r.value(1), r.value(4), {}};
    }
}

// Ancestor circles through fathers and mothers, found by one depth-first walk with its own stack: a link
// back to a person still on the stack closes a circle, which is reported once, from its first person.
void CheckAncestorCircles(const TPersonLinks& links, QList<TDataFinding>& findings) {
    const int persons = links.Count();
    enum : char { kNew, kOnStack, kDone };
    std::vector<char> state(static_cast<std::size_t>(persons), kNew);
    struct Frame {
        int slot;
        int next; // 0 the father, 1 the mother, 2 done
    };
    std::vector<Frame> stack;
    std::vector<std::vector<int>> circles;
    for (int start = 0; start < persons; ++start) {
        if (state[static_cast<std::size_t>(start)] != kNew)
            continue;
        stack.push_back({start, 0});
        state[static_cast<std::size_t>(start)] = kOnStack;
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.next > 1) {
                state[static_cast<std::size_t>(top.slot)] = kDone;
                stack.pop_back();
                continue;
            }
            const int parent = top.next == 0 ? links.FatherOf[top.slot] : links.MotherOf[top.slot];
            ++top.next;
            // Being one's own parent is a finding of its own.
            if (parent < 0 || parent == top.slot)
                continue;
            const char seen = state[static_cast<std::size_t>(parent)];
            if (seen == kNew) {
                state[static_cast<std::size_t>(parent)] = kOnStack;
                stack.push_back({parent, 0});
            } else if (seen == kOnStack) {
                std::vector<int> circle;
                std::size_t at = stack.size();
                while (at > 0 && stack[at - 1].slot != parent)
                    --at;
                for (std::size_t i = at > 0 ? at - 1 : 0; i < stack.size(); ++i)
                    circle.push_back(stack[i].slot);
                circles.push_back(std::move(circle));
            }
        }
    }
    for (const std::vector<int>& circle : circles) {
        QStringList names;
        RowNames first;
        for (std::size_t i = 0; i < circle.size(); ++i) {
            const RowNames row = ReadRow(links.RowId[circle[i]]);
            if (i == 0)
                first = row;
            names << row.name.trimmed();
        }
        // Up from the person through his ancestors back to him: each name followed by his parent's.
        names << first.name.trimmed();
        findings << TDataFinding{TFindingKind::AncestorCycle, first.id, first.name, names.join(" > "), {}};
    }
}

void CheckPersonLinks(QList<TDataFinding>& findings) {
    const TPersonLinks links = PersonLinks();
    for (int slot = 0; slot < links.Count(); ++slot) {
        const int father = links.FatherOf[slot];
        const int mother = links.MotherOf[slot];
        if (father != kMissingParent && mother != kMissingParent && father != slot && mother != slot)
            continue;
        const RowNames row = ReadRow(links.RowId[slot]);
        if (father == kMissingParent)
            findings << TDataFinding{TFindingKind::MissingFather, row.id, row.name, row.father.trimmed(), {}};
        if (mother == kMissingParent)
            findings << TDataFinding{TFindingKind::MissingMother, row.id, row.name, row.mother.trimmed(), {}};
        if (father == slot || mother == slot)
            findings << TDataFinding{TFindingKind::OwnParent, row.id, row.name, QString(), {}};
    }
    CheckAncestorCircles(links, findings);
    for (qint64 rowId : links.DuplicateRows) {
        const RowNames row = ReadRow(rowId);
        findings << TDataFinding{TFindingKind::DuplicateId, row.id, row.name, QString(), {}};
    }
    for (qint64 rowId : links.BlankIdRows) {
        const RowNames row = ReadRow(rowId);
        findings << TDataFinding{TFindingKind::BlankId, QString(), row.name, QString(), {}};
    }
}

void CheckRelations(QList<TDataFinding>& findings) {
    const QString group = GetGlobalParentId();
    Query q =
        Dm().Prepare("SELECT r.relation_type, r.person_id_1, r.person_id_2, p1.Person_Id, p2.Person_Id, "
                     "p1.Person_Name, p2.Person_Name, p1.Gender, p2.Gender FROM ftRelation r "
                     "LEFT JOIN ftPerson p1 ON p1.Person_Id = r.person_id_1 "
                     "LEFT JOIN ftPerson p2 ON p2.Person_Id = r.person_id_2 ORDER BY r.oid");
    while (q.Next()) {
        const int type = static_cast<int>(q.Int(0));
        const QString first = q.Text(1).trimmed();
        const QString second = q.Text(2).trimmed();
        const bool firstFound = !q.IsNull(3);
        const bool secondFound = !q.IsNull(4);
        const QString firstName = q.Text(5);
        const QString secondName = q.Text(6);
        if (!firstFound || !secondFound) {
            if (!firstFound)
                findings << TDataFinding{TFindingKind::RelationMissingPerson, second, secondName, first, {}};
            if (!secondFound)
                findings << TDataFinding{TFindingKind::RelationMissingPerson, first, firstName, second, {}};
            continue;
        }
        if (SameId(first, second)) {
            findings << TDataFinding{TFindingKind::RelationWithItself, first, firstName, QString(), {}};
            continue;
        }
        if (!group.isEmpty() && (SameId(first, group) || SameId(second, group))) {
            const bool groupFirst = SameId(first, group);
            findings << TDataFinding{TFindingKind::GroupInRelation,
                                     groupFirst ? first : second,
                                     groupFirst ? firstName : secondName,
                                     groupFirst ? secondName : firstName,
                                     {}};
            continue;
        }
        if (type != kMarriage)
            continue;
        if (!IsMaleGender(q.Text(7)))
            findings << TDataFinding{TFindingKind::HusbandNotMale, first, firstName, secondName, {}};
        if (!IsFemaleGender(q.Text(8)))
            findings << TDataFinding{TFindingKind::WifeNotFemale, second, secondName, firstName, {}};
    }
}

} // namespace

QList<TDataFinding> CheckTreeData() {
    QList<TDataFinding> findings;
    if (!IsTreeOpen())
        return findings;
    CheckParentGenders(findings);
    CheckPersonLinks(findings);
    CheckRelations(findings);
    CheckFamilyRules(findings);
    return findings;
}

QString FindingText(const TDataFinding& finding) {
    const char* pattern = "";
    switch (finding.Kind) {
    case TFindingKind::MotherIsMale:
        pattern = "The attached mother (%*) is male.";
        break;
    case TFindingKind::FatherIsFemale:
        pattern = "The attached father (%*) is female.";
        break;
    case TFindingKind::MissingFather:
        pattern = "The father %* is no person of the tree.";
        break;
    case TFindingKind::MissingMother:
        pattern = "The mother %* is no person of the tree.";
        break;
    case TFindingKind::OwnParent:
        pattern = "The person is their own father or mother.";
        break;
    case TFindingKind::AncestorCycle:
        pattern = "The person is among their own ancestors: %*";
        break;
    case TFindingKind::DuplicateId:
        pattern = "Another person has the same identifier.";
        break;
    case TFindingKind::BlankId:
        pattern = "The person has no identifier.";
        break;
    case TFindingKind::RelationMissingPerson:
        pattern = "A relation of the person names %*, who is no person of the tree.";
        break;
    case TFindingKind::RelationWithItself:
        pattern = "The person is in a relation with themselves.";
        break;
    case TFindingKind::HusbandNotMale:
        pattern = "The husband in the marriage with %* is not male.";
        break;
    case TFindingKind::WifeNotFemale:
        pattern = "The wife in the marriage with %* is not female.";
        break;
    case TFindingKind::GroupInRelation:
        pattern = "The group outside the tree is in a relation with %*.";
        break;
    case TFindingKind::MotherBarredToFather:
        pattern = "The father (%*) may not marry the mother (%*). %*";
        break;
    case TFindingKind::MarriageBarred:
        pattern = "He may not marry his wife %*. %*";
        break;
    case TFindingKind::LastingMarriages:
        pattern = "Her marriages to %* have not ended.";
        break;
    case TFindingKind::BirthCalendarsDisagree:
        pattern = "The two calendars of the birth date lie %* apart: %* and %*.";
        break;
    case TFindingKind::DeathCalendarsDisagree:
        pattern = "The two calendars of the death date lie %* apart: %* and %*.";
        break;
    case TFindingKind::ImplausibleAge:
        pattern = "%*";
        break;
    }
    return FillPattern(Translate(QString::fromLatin1(pattern)), QStringList{finding.Detail} + finding.More);
}

QString FindingKindName(TFindingKind kind) {
    switch (kind) {
    case TFindingKind::MotherIsMale:
        return QStringLiteral("mother-is-male");
    case TFindingKind::FatherIsFemale:
        return QStringLiteral("father-is-female");
    case TFindingKind::MissingFather:
        return QStringLiteral("missing-father");
    case TFindingKind::MissingMother:
        return QStringLiteral("missing-mother");
    case TFindingKind::OwnParent:
        return QStringLiteral("own-parent");
    case TFindingKind::AncestorCycle:
        return QStringLiteral("ancestor-cycle");
    case TFindingKind::DuplicateId:
        return QStringLiteral("duplicate-id");
    case TFindingKind::BlankId:
        return QStringLiteral("blank-id");
    case TFindingKind::RelationMissingPerson:
        return QStringLiteral("relation-missing-person");
    case TFindingKind::RelationWithItself:
        return QStringLiteral("relation-with-itself");
    case TFindingKind::HusbandNotMale:
        return QStringLiteral("husband-not-male");
    case TFindingKind::WifeNotFemale:
        return QStringLiteral("wife-not-female");
    case TFindingKind::GroupInRelation:
        return QStringLiteral("group-in-relation");
    case TFindingKind::MotherBarredToFather:
        return QStringLiteral("parents-may-not-marry");
    case TFindingKind::MarriageBarred:
        return QStringLiteral("marriage-may-not-be");
    case TFindingKind::LastingMarriages:
        return QStringLiteral("lasting-marriages");
    case TFindingKind::BirthCalendarsDisagree:
        return QStringLiteral("birth-calendars-disagree");
    case TFindingKind::DeathCalendarsDisagree:
        return QStringLiteral("death-calendars-disagree");
    case TFindingKind::ImplausibleAge:
        return QStringLiteral("implausible-age");
    }
    return {};
}

} // namespace verdan
