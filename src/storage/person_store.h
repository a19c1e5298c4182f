#pragma once

// The person store: every access to ftPerson. This header brings the whole of it: records, reading and
// writing persons, children and siblings (here), composed names, ancestor lines and search
// (person_names.h), and the descendant count (person_index.h).

#include "storage/database.h"
#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/person_records.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// The user name written into the User_Created and User_Modified stamps. Nothing sets it; it stays empty.
QString CurrentUserName();

// True for the texts that never name a parent: blank, "0" and "-1".
bool IsReservedParentId(const QString& id);

// Identifiers compare as the tree file compares them: without regard to ASCII letter case.
bool SameId(const QString& a, const QString& b);

// ---------------------------------------------------------------------------------------------------------
// Reading one person. Reads that find no row give empty texts, zeros and false.

bool PersonExists(const QString& id);
// False, with every field cleared, when there is no such row or no tree is open.
bool ReadPerson(const QString& id, TPerson& person);
bool ReadPersonNames(const QString& id, TPersonNames& names);
bool ReadPersonText(const QString& id, TPersonText& text);
// Leaves the log unchanged when there is no such row.
bool GetPersonStamps(const QString& id, TPerson_Record_Log& log);
QString GetPersonName(const QString& id); // empty for "0"
QString GetFatherId(const QString& id);
QString GetMotherId(const QString& id);
TParent GetParents(const QString& id);
QString GetGender(const QString& id); // normalised (NormaliseGender); "m" for "0"
// The parents, gender and group flag in one read; false, with the fields cleared, without such a row.
bool ReadParentLinks(const QString& id, TParentLinks& links);

// ---------------------------------------------------------------------------------------------------------
// Writing one person. Every writer except AddPerson and DeletePerson stamps the row (Date_Modified,
// User_Modified) in the same statement, and does nothing for a blank id. Free text is stored exactly as
// given; name parts are cleaned first (CleanName). The result tells whether a row was written.

// Inserts a person with the created stamps; newId receives its new identifier, or stays empty on failure.
// A blank father or mother is written as "0". No order number is written.
bool AddPerson(const QString& name, const QString& fatherId, const QString& motherId, QString& newId,
               const QString& gender);
bool WritePersonNames(const QString& id, const TPersonNames& names);
bool WritePersonDates(const TPerson& person);
bool WritePersonPlaces(const TPerson& person);
bool WritePersonText(const QString& id, const TPersonText& text);
bool SetPersonNotes(const QString& id, const QString& notes);
bool SetFather(const QString& id, const QString& fatherId); // only when id and fatherId differ
bool SetMother(const QString& id, const QString& motherId); // only when id and motherId differ
// Only when the three texts are pairwise different, so SetParents(id, "0", "0") changes nothing.
bool SetParents(const QString& id, const QString& fatherId, const QString& motherId);
bool SetGender(const QString& id, const QString& code);
bool SetGroupFlag(const QString& id, bool isGroup);
bool SetDead(const QString& id, bool isDead);
bool SetDisplayOrder(const QString& id, int order);
// Sets Order_By_Father; Order_By_Mother and Display_Order take the same number while they are unset
// (99 or empty).
bool SetOrderByFather(const QString& id, int order);
// The mirror image of SetOrderByFather; refuses a number above 1000 (the global parent's place).
bool SetOrderByMother(const QString& id, int order);
bool SwapParents(const QString& id);
// Swaps the parents of every child of id; stamps id.
bool SwapParentsOfChildren(const QString& id);
// Copies the father's Last_Name, Family_Name and Family_Nickname; without a father they become empty.
bool InheritFamilyNames(const QString& id);
// Copies the person's family name of the given kind to every father-line descendant whose value is empty
// (or to all of them with overwrite), stamping each one written. All or nothing.
bool PropagateFamilyName(const QString& id, TFamilyNameKind kind, bool overwrite);
bool StampModified(const QString& id);
// Removes the person with its options, bookmarks, pictures and relations, all or nothing. The contact
// details row stays, and children keep their links: callers re-link them first.
bool DeletePerson(const QString& id);

// ---------------------------------------------------------------------------------------------------------
// Re-linking children (not stamped). Reserved parent texts ("", "0", "-1") are refused.

bool ClearMotherOfCoupleChildren(const QString& fatherId, const QString& motherId);
bool MoveCoupleChildrenToGlobalParent(const QString& fatherId, const QString& motherId);
// Children whose mother does not exist lose the mother link; then all move under the global parent.
bool DetachChildrenOfFather(const QString& fatherId);
bool DetachChildrenOfMother(const QString& motherId);

// ---------------------------------------------------------------------------------------------------------
// Children, siblings and lists.

int CountChildren(const QString& id); // as father or as mother
int CountChildrenOfFather(const QString& fatherId);
int CountChildrenOfMother(const QString& motherId);
int CountChildrenOfCouple(const QString& fatherId, const QString& motherId);
int CountChildrenWithMother(const QString& fatherId); // children of the father that have a mother
int CountChildrenWithFather(const QString& motherId); // children of the mother that have a father

// Children of a man in his order, of anybody else (a woman) in her order; one column Person_Id.
void ListChildrenIds(const QString& id, TextTable& table);
void GetChildrenIds(const QString& id, QStringList& ids);
// The same children in the same order with their names and both parent columns, read at once.
void ListChildLinks(const QString& id, QList<TChildParents>& children);
void ListChildrenOfMother(const QString& motherId, TextTable& table);
// Children of the father whose mother is "0" or the global parent.
void ListChildrenWithoutMother(const QString& fatherId, TextTable& table);
void ListChildrenWithoutFather(const QString& motherId, TextTable& table);
void ListChildrenNames(const QString& id, QStringList& lines);
// The same children with their identifiers.
void ListChildrenNamed(const QString& id, TPersonNameList& persons);

// True when the two different persons share a father or a mother; "-1", blank, "0" and the global parent
// are never shared parents.
bool AreSiblings(const QString& a, const QString& b);
bool HaveSameFather(const QString& a, const QString& b);
bool HaveSameMother(const QString& a, const QString& b);

// All father-line descendants, depth first, each child followed by its own descendants. A person met a
// second time (a cycle in the stored links) is not walked again.
void ListFatherLineDescendants(const QString& id, QStringList& ids);

// Persons whose attached mother is male or attached father is female: Person_Id, [Person Name],
// [Attached Mother], [Mother Gender], [Attached Father], [Father Gender]; the genders normalised.
void ListParentGenderConflicts(TextTable& table);

// Every person (of one gender when gender is not blank) with the full name: own, father's and
// grandfather's names, Last_Name and Family_Name; ordered by the name, then the father's name.
void ListFullNames(QStringList& names, QStringList& ids, const QString& gender = QString());

// One TPerson per person (OId, Person_Id, Mother_Id, Person_Name, the stamps; LineageName receives
// Person_Name) in OId order; with newest above 0 at most that many, the newest by the filter's stamp first.
// False when no tree is open.
bool ListPersonRecords(QList<TPerson>& list, TPersonRecordFilter filter = TPersonRecordFilter::All,
                       const QDate& since = QDate(), int newest = 0);
// How many persons ListPersonRecords would give without a limit.
int CountPersonRecords(TPersonRecordFilter filter, const QDate& since);

// For each data row of a one-column table of identifiers, its lineage name (or its Person_Name).
void FillPersonList(const TextTable& table, TPersonNameList& lines, bool lineage);

} // namespace verdan
