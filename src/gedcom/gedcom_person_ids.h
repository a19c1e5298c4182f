#pragma once

#include <QString>

namespace verdan {

// A new identifier for an imported person in the tree's GUID form: random (version 4), upper-case, in braces.
QString NewImportedPersonId();

} // namespace verdan
