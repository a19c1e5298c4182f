#include "drop_rules.h"

#include "navigator/family_links.h"
#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"

namespace verdan {

namespace {

bool IsGlobalParent(const QString& id) {
    const QString global = GetGlobalParentId();
    return !global.trimmed().isEmpty() && SameId(id, global);
}

bool IsMovable(const QString& id) {
    return !IsReservedParentId(id) && !IsGlobalParent(id) && PersonExists(id);
}

} // namespace

TDropMode DropModeOf(const TDropFacts& facts) {
    if (facts.DraggedIsGlobal || !facts.TargetExists || facts.TargetIsDragged)
        return TDropMode::None;
    // Within one outline a person dropped on the node he hangs under changes nothing. A drop into his own
    // branch is taken, so that the move can say why it refuses to make him his own ancestor.
    if (facts.SameOutline && facts.TargetIsDraggedParent)
        return TDropMode::None;
    if (facts.SameOutline && facts.Shift)
        return facts.SameParent && !facts.TargetInsideDragged && !facts.ReadOnly ? TDropMode::Reorder
                                                                                 : TDropMode::None;
    if (!facts.SameOutline || facts.Ctrl)
        return facts.TargetIsRoot || facts.TargetIsGlobal ? TDropMode::None : TDropMode::Relation;
    return facts.ReadOnly ? TDropMode::None : TDropMode::Move;
}

bool AcceptsDrop(const TDropFacts& facts) {
    return DropModeOf(facts) != TDropMode::None;
}

QList<QPair<QString, int>> ReorderedChildren(const QStringList& children, const QString& dragged,
                                             const QString& target) {
    QStringList order = children;
    const qsizetype from = order.indexOf(dragged);
    if (from < 0 || !order.contains(target) || dragged == target)
        return {};
    order.removeAt(from);
    order.insert(order.indexOf(target), dragged);
    QList<QPair<QString, int>> numbers;
    for (qsizetype i = 0; i < order.size(); ++i)
        numbers.append({order[i], static_cast<int>(i + 1)});
    return numbers;
}

bool ReorderChildren(const QString& parentId, const QStringList& shownChildren, const QString& dragged,
                     const QString& target) {
    const bool firstLevel = IsReservedParentId(parentId);
    const bool onMother = !firstLevel && GetGender(parentId) == u"f";
    // Only the parent's own children: one shown there through the other column keeps its numbers.
    QStringList children;
    for (const QString& child : shownChildren) {
        const TParent parents = GetParents(child);
        const QString column = (onMother ? parents.Mother_Id : parents.Father_Id).trimmed();
        const bool own = firstLevel ? (column.isEmpty() || column == u"-1") : SameId(column, parentId);
        // The outside-the-tree group keeps its place after everybody else.
        if (own && !IsGlobalParent(child) && !children.contains(child))
            children << child;
    }
    const QList<QPair<QString, int>> numbers = ReorderedChildren(children, dragged, target);
    if (numbers.isEmpty())
        return false;
    Transaction transaction;
    for (const auto& [child, order] : numbers) {
        if (!(onMother ? SetOrderByMother(child, order) : SetOrderByFather(child, order)))
            return false;
    }
    return transaction.Commit();
}

QStringList MoveDroppedPersons(const QStringList& personIds, const QString& targetId) {
    const bool firstLevel = IsReservedParentId(targetId);
    if (!firstLevel && !PersonExists(targetId))
        return {};
    const QString target = firstLevel ? QStringLiteral("-1") : targetId.trimmed();
    const bool onMother = !firstLevel && GetGender(target) == u"f";
    QStringList moved;
    for (const QString& id : personIds) {
        if (IsMovable(id) && !SameId(id, target) && !moved.contains(id, Qt::CaseInsensitive))
            moved << id;
    }
    for (const QString& id : std::as_const(moved)) {
        if (RefusesParentCycle(id, target))
            return {};
    }
    if (moved.isEmpty())
        return {};
    if (!firstLevel)
        return GiveParent(moved, target, onMother ? TParentKind::Mother : TParentKind::Father)
                   ? moved
                   : QStringList();
    Transaction transaction;
    for (const QString& id : std::as_const(moved)) {
        if (!SetFather(id, target))
            return {};
    }
    return transaction.Commit() ? moved : QStringList();
}

} // namespace verdan
