#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace verdan {

// Dropping persons of an outline onto a person of the same or of another outline. The decisions are
// pure functions of what the two nodes are; the writes are store operations, each in one transaction.

// What a drop does: nothing, reorder the brothers and sisters (Shift held at the press), set a relation
// between the two persons (from another outline, or Ctrl held at the press), or move the dragged persons
// under the target.
enum class TDropMode { None, Reorder, Relation, Move };

// The two ends of a drag as the target outline sees them.
struct TDropFacts {
    bool SameOutline = true;      // the drag started in the outline it is dropped on
    bool Shift = false;           // held when the drag started
    bool Ctrl = false;            // held when the drag started
    bool ReadOnly = false;        // the target outline offers no editing
    bool DraggedIsGlobal = false; // the outside-the-tree group is among the dragged persons
    bool TargetExists = false;    // a node is under the pointer
    bool TargetIsRoot = false;
    bool TargetIsGlobal = false;
    bool TargetIsDragged = false;       // the target is one of the dragged nodes
    bool TargetIsDraggedParent = false; // the node a dragged node is shown under
    bool TargetInsideDragged = false;   // a node below a dragged node
    bool SameParent = false;            // the target and the dragged node are shown under one node
};

// Whether the target outline takes the drop while the pointer moves over it.
bool AcceptsDrop(const TDropFacts& facts);
// What the drop does when released there.
TDropMode DropModeOf(const TDropFacts& facts);

// The order numbers of a parent's children after `dragged` was dropped on `target`: the dragged child
// takes the target's place and the others keep their sequence, numbered from 1. `children` are the
// parent's own children in the order shown; an unknown dragged or target child gives no numbers.
QList<QPair<QString, int>> ReorderedChildren(const QStringList& children, const QString& dragged,
                                             const QString& target);

// Writes the new order of a parent's children ("-1" or blank for the first level) when `dragged` was
// dropped on `target`. Only children recorded on the parent's own column (the father column for a man,
// the root and a group, the mother column for a woman) are numbered. All or nothing; true when written.
bool ReorderChildren(const QString& parentId, const QStringList& shownChildren, const QString& dragged,
                     const QString& target);

// Makes the target ("-1" for the first level) the father of every dragged person (the mother, for a
// woman target), placed after the target's children, under the family rules for the parent each keeps
// (their marriage, or clearing that parent, asked), all in one transaction. The outside-the-tree group and
// the target itself are never moved; a move that would make a person his own ancestor is refused with
// its message before anything is written or asked. The persons moved; empty when nothing was written.
QStringList MoveDroppedPersons(const QStringList& personIds, const QString& targetId);

} // namespace verdan
