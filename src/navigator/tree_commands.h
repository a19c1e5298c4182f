#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// The editing commands of the outline as store operations: each checks its preconditions in a fixed
// order, stops at the first failure with its message (questions count as consent only when answered Yes),
// and writes everything or nothing. The outline patches its nodes from the results.

// Longest person name the tree file keeps; a longer typed name is cut.
inline constexpr int kMaxPersonNameLength = 50;

// A typed name as the tree file keeps it: cut to kMaxPersonNameLength (never inside a surrogate pair) and
// cleaned.
QString StoredPersonName(const QString& text);

// The parent of the last child added with the add keys or buttons, with its mates.
struct TMateStatus {
    QString PersonId;
    QString Gender; // normalised: "m", "f" or another lower-case text
    QString ActiveMateId;
    qint32 MateCount = 0;
    QStringList MateIds; // a man's wives, a woman's husbands
};

// Describes the person's mates now; the active mate is the one of the current marriage, or the first.
TMateStatus ReadMateStatus(const QString& personId);

// "ابن N" for a son, "ابنة N" for a daughter.
QString DefaultChildName(const QString& gender, int number);

// True when making parentId a parent of childId would close a loop of parent links: the same person, or
// childId already an ancestor of parentId (through fathers and mothers alike).
bool WouldCreateParentCycle(const QString& childId, const QString& parentId);

// Writes a child row under a person (on the father column unless the parent is a woman) or, with a blank
// or reserved parent, at the first level; named by DefaultChildName from the parent's child count. The
// new identifier, empty when nothing was written.
QString InsertChildRow(const QString& parentId, const QString& gender);

// Adds a son or daughter: under a person also its order among the parent's children and the father's
// family names. `mates` receives the parent's mates (empty on the first level). The new identifier, empty
// when nothing was written.
QString AddChildPerson(const QString& parentId, const QString& gender, TMateStatus& mates);

// Adds a son or daughter of the person with a chosen other parent ("0" for none) and both order numbers.
// Refuses an other parent that is the outside-the-tree group or would close a parent loop.
QString AddChildWithParent(const QString& parentId, const QString& otherParentId, const QString& gender);

// Puts a new man named "father" between the person and its father; where the person had no father the new
// man stands on the first level. Refuses the outside-the-tree group and blank or reserved identifiers. The
// new identifier, empty when nothing was written.
QString AddFather(const QString& personId);

// Writes a name typed in the outline: cut to kMaxPersonNameLength, cleaned and stamped; the names kept in
// the person's marriage rows follow. True when the row was written.
bool SavePersonName(const QString& personId, const QString& text);

struct TRemoveResult {
    bool Removed = false;
    bool ChildrenMoved = false; // children went to the outside-the-tree group
};

// Removes a person after the checks (and, with ask, the question); `caption` names it in the question.
// Children attached to the person alone refuse the removal; the others keep their other parent, and a child
// left with neither parent goes under the outside-the-tree group, so nobody becomes invisible.
TRemoveResult RemovePerson(const QString& personId, const QString& caption, bool ask);
// Removes several persons: one question (unless ask is false), then each from the last to the first; a
// person already gone is skipped. The identifiers removed.
QStringList RemovePersons(const QStringList& personIds, bool ask, bool* childrenMoved = nullptr);

// Gender and group changes. Each refuses the outside-the-tree group silently; true when the person's row
// changed as asked (or already was so).
// Makes the person a man; children recorded with the person as mother move to the father column.
bool SetMale(const QString& personId);
// Makes the person a woman; children recorded with the person as father move to the mother column.
bool SetFemale(const QString& personId);
// Turns a man into a group or a group back into a man.
bool ToggleGroup(const QString& personId);
// Flips the dead flag; true when it was written.
bool ToggleDead(const QString& personId);
// Writes the order number of the person under the parent it is shown under; nothing for the first level.
bool SetOrderByKey(const QString& personId, const QString& parentId, const QString& parentGender, int order);

} // namespace verdan
