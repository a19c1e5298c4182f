#pragma once

#include <QString>

class QWidget;

namespace verdan {

// The file to open for `path`: the path itself; for a tree file of the old format a tree converted beside
// it; for a tree file holding triggers, views or virtual tables a cleaned copy beside it; each when the
// user agrees to it (the file itself stays as it is). Empty when
// nothing is to be opened: the user declined, or the copy could not be written (which has been shown).
QString TreeFileToOpen(QWidget* parent, const QString& path);

// Checks the open tree file for damage while a progress dialog shows how far it got and lets the user
// stop. True when the check went through and found nothing; what it found otherwise has been shown.
bool CheckOpenTreeWithProgress(QWidget* parent);

} // namespace verdan
