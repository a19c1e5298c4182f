#pragma once

#include <QByteArray>
#include <QString>

namespace verdan {

// The built-in language documents are written into the langs folder once; a user may have edited his copy
// since. Each document's header names the version of its units (units_version, a fingerprint of the units
// it holds). When the program's version differs from that of the user's copy, the copy gets the units it
// lacks appended; a unit it has is never changed, so a user's own targets stay. The language's native name
// in the header follows the program's.

// The units_version a document text names in its header, read without parsing the whole text; empty when
// it names none.
QString LanguageUnitsVersion(const QString& text);

// Brings the document file up to the built-in document `builtIn` (its bytes) as described above. Returns
// how many units were added (0 when the versions agree); -1 when the file cannot be read, is no language
// document, is one of another language or cannot be written, in which case it is left as it was.
int UpdateLanguageDocument(const QString& fileName, const QByteArray& builtIn);

} // namespace verdan
