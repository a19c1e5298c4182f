#pragma once

#include "relations/family_rules.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// The commands of the outline that change the links between persons who exist already, or add a mate:
// marrying, attaching children, setting the father or the mother, switching parents. Like the editing
// commands they check their preconditions in a fixed order, stop at the first failure with its message
// (a question counts as consent only when answered Yes), and write everything or nothing. Genders are
// compared normalised. No command makes a person his own ancestor, and the outside-the-tree group is
// never married, never made a child and never moved.

// What the person picker reports.
struct TPickedPersons {
    QString Id;      // the person chosen; "-1" for the root node; empty for none or for several
    QString Caption; // the chosen node's caption or list entry's name
    QString Gender;  // as the chosen node holds it; empty when chosen from a list
    QStringList Ids; // every person chosen, in order
};

// A person node the command works on, with the person of the node it is shown under.
struct TLinkNode {
    QString PersonId;
    QString Caption;
    QString ParentId; // empty under the root
    QString ParentCaption;
    QString ParentGender;
};

// True, after the message, when making parentId a parent of childId would make a person his own ancestor.
bool RefusesParentCycle(const QString& childId, const QString& parentId);

// Marries the person to the chosen one, the man as husband, after the checks, the question and the family
// rules (never a woman he may not marry; a wife's lasting marriage asked about). True when the marriage
// was recorded.
bool AttachExistingMate(const QString& personId, const TPickedPersons& chosen);

// The mate typed in the add-person dialog.
struct TNewMate {
    QString Name;
    QString Notes;
    QString FatherId; // empty when none was chosen
    QString MotherId;
    QString Gender; // "f" for a new wife, "m" for a new husband
};

// Creates the mate (under the chosen parents, or under the outside-the-tree group) and marries the two;
// parents chosen both are married to each other too, each marriage under the family rules. The new
// mate's identifier, empty when nothing was written.
QString AttachNewMate(const QString& personId, const TNewMate& mate);

// Makes the chosen persons children of the person (a man's through the father column, anybody else's
// through the mother column) after the checks, the question and the family rules for the parent each
// keeps. Every chosen person is checked. True when the links were written.
bool AttachChildren(const QString& personId, const QString& caption, const QStringList& chosenIds);

// The question before the picker opens, when the first node is shown under a man; true to go on.
bool ConfirmOtherParent(TParentKind kind, const TLinkNode& first);

// Sets the chosen person as father (or mother) of every node, after the checks, the question and the
// family rules for the parent each keeps (their marriage, or clearing that parent); a father chosen on
// the root puts the persons without a mother on the first level. True when the links were written.
bool AttachParent(TParentKind kind, const QList<TLinkNode>& nodes, const TPickedPersons& chosen);

// Exchanges the father and mother of a child recorded on the wrong columns.
bool SwitchParents(const QString& personId);

// Marries two persons of different genders, the man as husband, under the family rules; the couple's
// children are offered afterwards. The outside-the-tree group and two persons of one gender are refused
// without a message.
bool MarryMates(const QString& personId, const QString& mateId);

} // namespace verdan
