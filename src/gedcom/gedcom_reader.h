#pragma once

#include "gedcom/gedcom_data.h"
#include "gedcom/gedcom_strings.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace verdan {

// One line of a GEDCOM file, as views into the UTF-8 text: "level [@xref@] tag [value]". The value
// starts after the single delimiter that follows the tag and is kept as written.
struct TGedLine {
    int Level = -1;
    std::string_view Xref; // without the "@" signs
    std::string_view Tag;
    std::string_view Value;
};
using TGedLines = std::span<const TGedLine>;

// Splits one line (without its line end); false for a blank line or one without a level and a tag.
bool SplitGedcomLine(std::string_view text, TGedLine& line);

// Reads a GEDCOM file into data; on failure data.Error and data.ErrorMessage say why.
bool ReadGedcomFile(const QString& path, TGedcomData& data, const TGedcomReadOptions& options = {});

// Parses UTF-8 GEDCOM text into individuals and families and resolves their links.
bool ParseGedcomRecords(QByteArrayView utf8, TGedcomData& data, const TGedcomProgressFn& progress = {});

// One INDI or FAM record (its first line included). Note pointers stay unresolved here.
TGedPerson ParseIndividual(TGedLines record, TGedStrings* strings = nullptr);
TGedFamily ParseFamily(TGedLines record, TGedStrings* strings = nullptr);

// The event whose line is lines[i]: DATE, PLAC, TYPE and TIME of its own, not of its citations.
TGEvent ParseGedcomEvent(TGedLines lines, size_t i, TGedStrings* strings = nullptr);

// The value of lines[i] with its CONT (after a line break) and CONC lines one level deeper.
QString ReadContinuedValue(TGedLines lines, size_t i);

// The cross-reference inside a pointer value ("@F1@" -> "F1"); empty when there is none.
std::string_view XrefView(std::string_view value);
QString XrefOf(std::string_view value);

} // namespace verdan
