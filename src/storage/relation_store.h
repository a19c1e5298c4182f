#pragma once

#include "storage/database.h"

#include <QList>
#include <QString>
#include <functional>

namespace verdan {

// Links between two persons other than parent and child, one row of ftRelation each. person_id_1 and
// person_id_2 mean, by relation_type:
//   0 marriage:               husband, wife
//   1 breastfeeding siblings: one sibling, the other (symmetric: tests and deletions look at both orders)
//   2 breastfeeding mother:   the nursing mother, the nursed child
// name_1 and name_2 keep the lineage names of the two persons so that lists sort and show without joins.
enum TRelationType { kMarriage = 0, kBreastfeedingSiblings = 1, kBreastfeedingMother = 2 };

// Order number of a mate whose position has not been set.
inline constexpr int kUnsetMateOrder = 99;

// One mate of a person.
struct TMate {
    QString Person_Id;
    QString LineageName;
    QString Gender; // as stored
    bool Split = false;
    bool Is_Dead = false;
};
using TMateList = QList<TMate>;

// The add operations refuse the outside-the-tree group (the global parent), blank and reserved
// identifiers ("0", "-1") and a person paired with itself, and do nothing for a pair already related in
// the same way. Every write binds its values, so names are stored exactly as composed. Reads that find
// nothing give empty results; writes report success as true or a row count.

// ---------------------------------------------------------------------------------------------------------
// Marriages (type 0).

bool MarriageExists(const QString& a, const QString& b); // in either order
// Both order columns start at kUnsetMateOrder. True when a row was added.
bool AddMarriage(const QString& husband, const QString& wife);
// Marks the marriage as the current one of the two.
bool SetMarriageActive(const QString& husband, const QString& wife);

// Called by MarryPersons when the new couple has children to attach (either spouse has a child); the
// program installs the husband-and-wife dialog. Returns the previous handler.
using CoupleChildrenHandler = std::function<void(const QString& husband, const QString& wife)>;
CoupleChildrenHandler SetCoupleChildrenHandler(CoupleChildrenHandler handler);

// Makes the two husband and wife: adds the marriage (when missing), marks it active, and when either has
// children offers them to the couple through the handler. True when the two are married afterwards.
bool MarryPersons(const QString& husband, const QString& wife);
// The two steps of MarryPersons, for callers that write more in the same transaction: the marriage,
// added when missing and marked active (true when the two are married afterwards), and the offer of the
// children (when either has a child and a handler is installed), which belongs after the writes are kept.
bool RecordMarriage(const QString& husband, const QString& wife);
void OfferCoupleChildren(const QString& husband, const QString& wife);

bool HasMarriage(const QString& id); // id is a husband or a wife in some marriage
// The marriages of id: columns person_id_1, person_id_2.
void ListMarriageRows(const QString& id, TextTable& table);
// The marriages of id with the mate in column 0: a man's wives in their order among his wives, a woman's
// husbands in their order among her husbands.
void ListMateIds(const QString& id, TextTable& table);
// The mates of id: the wives of a man (by relation_order_2), the husbands of anybody else (by
// relation_order_1). Mates without a person row are left out. The list is emptied first.
void ListMates(const QString& id, TMateList& mates);
// The mate of id's current marriage: the first marriage marked active whose mate exists, else the last one
// marked active, else the mate of id's first marriage; empty without a marriage.
QString GetActiveMate(const QString& id);

// The position of the wife among the husband's wives (relation_order_2).
bool SetWifeOrder(const QString& husband, const QString& wife, int order);
// The position of the husband among the wife's husbands (relation_order_1). Note the order: wife first.
bool SetHusbandOrder(const QString& wife, const QString& husband, int order);
// Marks the marriage as ended (divorce or separation), or as lasting again.
bool SetMarriageSplit(const QString& husband, const QString& wife, bool split);
// Removes the marriage of the pair in either order; other relations of the two stay. Rows removed, -1 on
// an error.
int DeleteMarriage(const QString& a, const QString& b);

// Every marriage: oid, person_id_1, person_id_2, name_1, name_2, relation_order_1, relation_order_2,
// notes; by husband's name, then the orders.
void ListMarriages(TextTable& table);
// Marriages whose husband has no child while the wife has: person_id_1, person_id_2, name_1, name_2.
void ListCouplesHusbandChildless(TextTable& table);
// Marriages whose wife has no child while the husband has; the same columns.
void ListCouplesWifeChildless(TextTable& table);

// ---------------------------------------------------------------------------------------------------------
// Breastfeeding siblings (type 1).

bool BreastfeedingSiblingsExist(const QString& a, const QString& b); // in either order
bool AddBreastfeedingSiblings(const QString& a, const QString& b);
// The breastfeeding siblings of id: column 0 the other sibling, column 1 person_id_2.
void ListBreastfeedingSiblings(const QString& id, TextTable& table);
int DeleteBreastfeedingSiblings(const QString& a, const QString& b); // either order

// ---------------------------------------------------------------------------------------------------------
// Breastfeeding mother and nursed child (type 2).

bool BreastfeedingMotherExists(const QString& mother, const QString& child); // in either order
bool AddBreastfeedingMother(const QString& mother, const QString& child);
void ListBreastfeedingMothers(const QString& child, TextTable& table);   // column person_id_1
void ListBreastfeedingChildren(const QString& mother, TextTable& table); // column person_id_2
// Removes only the row in the order mother, child.
int DeleteBreastfeedingMother(const QString& mother, const QString& child);
// Every breastfeeding relation: oid, person_id_1, person_id_2, name_1, relation_type, name_2, notes.
void ListBreastfeedingRelations(TextTable& table);

// ---------------------------------------------------------------------------------------------------------
// Any type.

bool HasAnyRelation(const QString& id);
// One relation of a person as a walk over the family reads it.
struct TRelationLink {
    QString Other; // the other person of the row
    int Type = kMarriage;
    bool First = false; // the person is person_id_1 (the husband, or the nursing mother)
    bool Split = false;
};
// Every relation of id, in either column, in row order; a row relating id with itself is left out.
void ListRelationLinks(const QString& id, QList<TRelationLink>& links);
int DeleteRelationsOfPerson(const QString& id);
// Rewrite the stored names from the persons' current lineage names, all rows or none.
bool RefreshAllRelationNames();
bool RefreshBreastfeedingRelationNames();
// After a person's names changed: the rows naming the person take its new lineage name. Nothing when the
// name is empty.
bool RefreshRelationNamesOf(const QString& id);

} // namespace verdan
