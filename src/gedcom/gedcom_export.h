#pragma once

#include "gedcom/gedcom_data.h"

#include <QByteArray>
#include <QString>

namespace verdan {

// The GEDCOM version an export writes.
enum class TGedcomVersion { V551, V70 };

// What an export wrote.
struct TGedcomExportSummary {
    int Individuals = 0;  // group persons included
    int Families = 0;     // marriages and the parents of children without one
    int Associations = 0; // breastfeeding relations
    int Events = 0;       // besides birth, death, marriage and divorce
    int Pictures = 0;     // in a GEDZIP archive
};

// Writes the open tree as a GEDCOM 5.5.1 file in UTF-8 with CR LF line ends and lines of at most 255
// bytes (CONC and CONT carry the rest). Every person once: given name, surname, nickname, cognomen, sex,
// birth and death with date and place, notes; a family per marriage (husband, wife, children in their
// order, divorce) and per pair of parents without one; groups and breastfeeding in the forms the import
// reads; the person identifier as _UID. The outside-the-tree group is no record: its members carry
// "_OUTSIDE Y". The file at path is replaced only once the new one is complete; progress counts persons
// and returning false cancels. False with a translated error on failure.
//
// Version 7.0 writes UTF-8 without CONC and without a length limit, dates in their calendars (the Hijri
// calendar as the extension _HIJRI with a phrase in the interface language and a Gregorian sort date),
// groups as records of their own, and declares every extension in HEAD.SCHMA. A path ending in .gdz gets
// a GEDZIP archive: the 7.0 file as gedcom.ged with the pictures of the persons it names.
bool ExportGedcomFile(const QString& path, const TGedcomProgressFn& progress, TGedcomExportSummary& summary,
                      QString& error, TGedcomVersion version = TGedcomVersion::V551);

// The tree as GEDCOM text, for tests and small trees.
bool ExportGedcomText(QByteArray& text, TGedcomExportSummary& summary, QString& error,
                      TGedcomVersion version = TGedcomVersion::V551);

// The summary as lines to show, translated.
QString GedcomExportSummaryText(const TGedcomExportSummary& summary);

} // namespace verdan
