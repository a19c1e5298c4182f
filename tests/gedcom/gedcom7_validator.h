#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace verdan::test {

// Checks a GEDCOM 7 document against the standard, independently of the program's own reader: the line
// grammar (levels, cross-references, tags, "@" escapes, banned characters, CONT placement, no CONC), the
// header and trailer, which substructures each structure allows and how many (read from the standard's own
// structure definitions in tests/data/gedcom7/structures.txt), payload types (dates, ages, times, names,
// enumerations and the rest), pointer targets, and, when declaredOnly is set, that every extension tag used
// (as a tag, calendar, month, era or enumeration value) is declared in HEAD.SCHMA. Returns the faults found,
// one line each ("line 12: ..."); empty for a valid document.
QStringList ValidateGedcom7(const QByteArray& document, bool declaredOnly = false);

} // namespace verdan::test
