#pragma once

#include "storage/person_records.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// Composed names and ancestor lines. Every walk through fathers or mothers stops at a missing row and at
// a person it has already met, so links that form a cycle never repeat a name or run without end. The
// outside-the-tree group (the global parent) is not an ancestor: lineage names leave it out.

// The name shown in lists and captions: the person with cognomen and nickname, then father, grandfather
// and great-grandfather (each through the mother when the father is "0" or blank), a group ancestor
// after " - ", and the person's Last_Name at the end. Nicknames are left out while the tree hides them.
QString GetLineageName(const QString& id);
QString GetMotherLineageName(const QString& id);
// Person_Name, then the father's name or else an alias, then the family part.
QString ComposeShortName(const TPersonNames& names);
QString GetShortName(const QString& id);
// Person_Name, the father's Person_Name and Last_Name, blank-separated. A father that is a group (a named
// branch, or the outside-the-tree group) is no name of the person's and is left out.
QString GetNameFatherLast(const QString& id);
// The same from the values read; fatherIsGroup leaves the father's name out.
QString ComposeNameFatherLast(const QString& name, const QString& fatherName, bool fatherIsGroup,
                              const QString& lastName);
// Person_Name and the names of generations - 1 fathers, then the distinct family names in parentheses.
QString GetLineageNameWithFamily(const QString& id, int generations);
// The person and four fathers with the Last_Name; GetLineageName when the line is shorter than that.
QString GetFiveGenerationName(const QString& id);
// The person, father and grandfather (group persons left out) and the Last_Name; empty for no person.
QString GetThreeGenerationName(const QString& id);
// The whole father line (at most max persons, 250 when 0), group names in brackets, each family name in
// parentheses after the oldest ancestor who carries it.
QString GetFullLineage(const QString& id, int max = 0);
// "/ group / group" for the group persons among the person and its five nearest fathers.
QString GetGroupPath(const QString& id);

// "Male" or "Female" translated for a male or female code; any other code unchanged.
QString GenderCaption(const QString& code);
// The translated caption of a person column; any other column name unchanged.
QString FieldCaption(const QString& column);

// Ancestor lines and siblings, appended to lines.
void ListFatherLineNames(const QString& id, QStringList& lines); // each non-blank Person_Name
void ListMotherLineNames(const QString& id, QStringList& lines); // GetShortName of each mother
void ListMothersFatherLineNames(const QString& id, QStringList& lines);
void ListPaternalHalfSiblingNames(const QString& id, QStringList& lines);
void ListMaternalHalfSiblingNames(const QString& id, QStringList& lines); // lineage names
void ListSiblingNames(const QString& id, QStringList& lines);
// The same lines with the person each entry names.
void ListFatherLine(const QString& id, TPersonNameList& persons);
void ListMotherLine(const QString& id, TPersonNameList& persons);
void ListMothersFatherLine(const QString& id, TPersonNameList& persons);
void ListPaternalHalfSiblings(const QString& id, TPersonNameList& persons);
void ListMaternalHalfSiblings(const QString& id, TPersonNameList& persons);
void ListSiblings(const QString& id, TPersonNameList& persons);
// Person_Name of the person and its fathers, at most max (250 when 0); entry 1 is the father.
QStringList GetFatherLineArray(const QString& id, int max = 0);

struct TFindResult {
    QString Person_Id;
    QString Name;      // five-generation name
    QString FoundText; // caption: value. for each column holding a word
};
using TFindResultList = QList<TFindResult>;

// Persons whose name, place, briefing or note columns together hold every word of the text (words as
// SplitSearchWords makes them; both sides folded for searching, SearchFold).
void SearchPersonTexts(const QString& text, TFindResultList& results);

} // namespace verdan
