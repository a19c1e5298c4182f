#pragma once

#include <QString>

namespace verdan {

// Two names of one file or folder: the same one reached through links counts too.
bool SameFile(const QString& a, const QString& b);

// Pictures are stored by their name in the photos folder beside the tree file, so a tree written into
// another folder takes the files along. A file of the same name already there is left as it is. False
// when a file could not be copied; `copied` counts the files copied.
bool CopyPhotosFolder(const QString& from, const QString& to, int* copied = nullptr);

} // namespace verdan
