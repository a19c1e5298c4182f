#pragma once

#include <QString>

namespace verdan {

// Longest person name the tree file keeps; a longer typed name is cut.
inline constexpr int kMaxPersonNameLength = 50;

// Writes a name typed in the outline: cut to kMaxPersonNameLength, cleaned and stamped. True when the row
// was written.
bool SavePersonName(const QString& personId, const QString& text);

} // namespace verdan
