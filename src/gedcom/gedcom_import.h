#pragma once

#include "gedcom/gedcom_data.h"

#include <QString>
#include <map>

namespace verdan {

// What an import brought into the new tree, kind by kind, and what it could not keep.
struct TGedcomImportSummary {
    int Individuals = 0;
    int Families = 0;
    int Marriages = 0;
    int BirthDates = 0;
    int DeathDates = 0;
    int MarriageDates = 0;
    int Divorces = 0;
    int DivorceDates = 0;
    int Events = 0;                      // besides birth, death, marriage and divorce
    std::map<QString, int> EventsByKind; // by kind code
    int EventDates = 0;
    int QualifiedDates = 0;             // about, before, between .. of any of these dates
    int HijriDates = 0;                 // dates known in the Hijri calendar alone
    int DatesKeptAsText = 0;            // dates of another calendar or of free words, kept as written
    int NoteLines = 0;                  // lines of the file the notes keep in its own words
    std::map<QString, int> KeptInNotes; // by tag
    std::map<QString, int> NotKept;     // lines left out, by tag
    std::map<QString, int> RecordsNotKept;
    int Pictures = 0;        // brought from a GEDZIP archive into the tree's photos
    int PicturesLeftOut = 0; // media of the archive that are no picture the program can show, or damaged
};

struct TGedcomImportOptions {
    QString BaseFolder;       // the new tree's folder goes in here; empty = where new trees go by default
    QString Encoding;         // forces the file's encoding; empty = detect
    QString FallbackEncoding; // for undeclared 8-bit text; empty = by the interface language
    TGedcomProgressFn Progress;
};

struct TGedcomImportResult {
    QString TreePath; // the new tree file
    TGedcomImportSummary Summary;
    QString ErrorMessage; // translated, set on failure
};

// Reads a GEDCOM file (5.5.1 or 7.0, by its header) or a GEDZIP archive (with the pictures of individuals
// among its media) into a tree file of its own, in a new folder named after it. Creates nothing when the
// file cannot be read, and removes the new folder again when writing fails or is cancelled. The tree file
// appears only once complete, so an import killed at any moment leaves no tree or a whole one.
bool ImportGedcomFile(const QString& path, const TGedcomImportOptions& options, TGedcomImportResult& result);

// Writes a whole tree into an empty file (the temporary file of a TNewTreeFile): the schema, then in one
// transaction the tree information, the outside-the-tree group, one row per person and one marriage per
// couple. The data is released once its rows are written.
bool WriteGedcomTree(TGedcomData& data, const QString& filePath, const QString& treeName,
                     const TGedcomProgressFn& progress, TGedcomImportSummary& summary, QString& error);

// The summary as lines to show, translated: the counts, then what the notes keep and what was left out.
QString GedcomSummaryText(const TGedcomImportSummary& summary);

} // namespace verdan
