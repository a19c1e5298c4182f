#pragma once

#include "storage/person_records.h"
#include "storage/relation_store.h"

#include <QCollator>
#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// The relationships section: a person's parents, mates and children, and the commands on them. Every
// command writes at once; nothing waits for the sheet to leave the person.

// A child as the section lists it: the text shown (the name, or the lineage name for a woman's children,
// who may have different fathers) and both parents as the section knows them.
struct TChildEntry {
    QString Person_Id;
    QString Father_Id;
    QString Mother_Id;
    QString Text;
};
using TChildEntries = QList<TChildEntry>;

// Everything the section shows of one person.
struct TRelationsView {
    TPerson Person;     // Person_Id empty: nobody
    QString GenderCode; // "m", "f" or another code as normalised
    QString FatherText; // lineage names; empty for no parent
    QString MotherText;
    bool CanRemoveFather = false;
    bool CanRemoveMother = false;
    TMateList Mates;
    TChildEntries Children;
};

// Reads the section for a person (blank: nobody). The outside-the-tree group lists no children.
TRelationsView ReadRelationsView(const QString& personId);

// The children in the order they are listed.
TChildEntries ListChildEntries(const QString& personId, const QString& genderCode);
// Whether a child is one of the mate's: the mate is its father or its mother.
bool IsChildOfMate(const TChildEntry& child, const QString& mateId);

// The caption over the mates: wife/wives for a man, husband/husbands for anybody else (English source).
QString MatesCaptionSource(const QString& genderCode, int mateCount);

enum class TChildLinkResult {
    Written,       // the child's other parent is now the mate, or no longer
    NoMate,        // no mate is selected: nothing written
    UnknownGender, // the person is neither a man nor a woman: nothing written
    Failed,        // the tree file refused the write
};

// Checking (linked) or unchecking a child of the person while `mateId` is the selected mate. A man's child
// takes the mate as mother or loses its mother ("0"); a woman's child takes the mate as father or goes to
// the outside-the-tree group. The entry follows what was written.
TChildLinkResult LinkChildToMate(const QString& genderCode, const QString& mateId, TChildEntry& child,
                                 bool linked);

// Stores the order of the listed mates (1 for the first), all or nothing.
bool SaveMatesOrder(const QString& personId, const QString& genderCode, const QStringList& mateIds);
// Stores the order of the listed children as their birth order on the person's side, all or nothing.
bool SaveChildrenOrder(const QString& genderCode, const QStringList& childIds);
// Orders the entries by their texts as the collator compares them; equal texts keep their order.
void SortChildEntries(TChildEntries& children, const QCollator& collator);

// The marriage's split flag, the husband and wife taken from the person's gender.
bool SetMateSplit(const QString& personId, const QString& genderCode, const QString& mateId, bool split);

// The children the person and the mate have together.
int CountChildrenWithMate(const QString& personId, const QString& genderCode, const QString& mateId);
// After the marriage was removed, its children leave the couple: a man's keep him and lose their mother,
// a woman's keep her and go to the outside-the-tree group as father. Nothing for another gender.
bool DetachChildrenOfMarriage(const QString& personId, const QString& genderCode, const QString& mateId);

enum class TParentLinkResult {
    Removed,       // the link is gone, the record follows
    Nothing,       // no person, or no such parent to remove
    NoOtherParent, // refused: the person would have no parent left
    Failed,        // the tree file refused the write
};

// Removing the father or the mother link, refused while the other parent is missing ("", "0" or a
// person row without the column alike), so that no person loses the last of its two parents here.
TParentLinkResult RemoveFatherLink(TPerson& person);
TParentLinkResult RemoveMotherLink(TPerson& person);

} // namespace verdan
