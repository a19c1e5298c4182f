#pragma once

#include <QString>

namespace verdan {

// A new identifier for an imported person in the tree's GUID form: random (version 4), upper-case, in braces.
QString NewImportedPersonId();

// A new identifier for an imported event in the same form, each one after the one before in the text order
// of identifiers: the event tables' indexes then grow at their end as the rows are written, without a sort.
QString NewImportedEventId();

} // namespace verdan
