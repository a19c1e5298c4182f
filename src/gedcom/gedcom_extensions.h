#pragma once

#include "gedcom/gedcom_data.h"
#include "gedcom/gedcom_reader.h"

#include <QString>
#include <functional>

struct sqlite3;

namespace verdan {

// Groups and breastfeeding have no GEDCOM tags of their own; the import reads them as
//   1 _GROUP Y / 2 TYPE kind      an individual that stands for a named branch (a group person); its
//                                 members are the children of a family whose husband it is
//   1 ASSO @X@ / 2 RELA Breastfeeding mother    on the nursed child, naming the woman who nursed it
//   1 ASSO @X@ / 2 RELA Breastfeeding sibling   on one breastfeeding sibling, naming the other

// Collects the ASSO and _GROUP lines of the individual record at position `person` of data.Persons.
void ReadIndividualExtensions(TGedLines record, int person, TGedcomData& data);

// What the tree writer hands over once it has written the persons, inside its transaction.
struct TGedcomTreeContext {
    sqlite3* Db = nullptr;
    QString OwnerId;
    QString Stamp;
    std::function<QString(int)> LineageName; // of the individual at a position in data.Persons
};

// Marks the group persons with their kind and writes the breastfeeding relations, each pair once. An
// association that is none of these, or that cannot hold (a person with itself, a group, a man as nursing
// mother, an individual the file does not have), becomes a line in the person's notes, so nothing written
// in the file is lost. False, with the reason in error, when a statement fails.
bool WriteGedcomExtensions(const TGedcomData& data, const TGedcomTreeContext& context, QString& error);

} // namespace verdan
