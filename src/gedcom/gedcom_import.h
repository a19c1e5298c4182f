#pragma once

#include "gedcom/gedcom_data.h"

#include <QString>

namespace verdan {

// What an import brought into the new tree.
struct TGedcomImportSummary {
    int Individuals = 0;
    int Families = 0;
    int Marriages = 0;
    int DatesKeptAsText = 0; // birth, death and marriage dates that only the notes hold
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

// Reads a GEDCOM file into a tree file of its own, in a new folder named after it. Creates nothing when the
// file cannot be read, and removes the new folder again when writing fails or is cancelled. The tree file
// appears only once complete, so an import killed at any moment leaves no tree or a whole one.
bool ImportGedcomFile(const QString& path, const TGedcomImportOptions& options, TGedcomImportResult& result);

// Writes a whole tree into an empty file (the temporary file of a TNewTreeFile): the schema, then in one
// transaction the tree information, the outside-the-tree group, one row per person and one marriage per
// couple. The data is released once its rows are written.
bool WriteGedcomTree(TGedcomData& data, const QString& filePath, const QString& treeName,
                     const TGedcomProgressFn& progress, TGedcomImportSummary& summary, QString& error);

// The summary as lines to show, translated.
QString GedcomSummaryText(const TGedcomImportSummary& summary);

} // namespace verdan
