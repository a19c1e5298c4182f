#pragma once

#include "shell/ui/damaged_tree_dialog.h"
#include "storage/tree_file.h"

#include <QString>
#include <functional>

class QWidget;

namespace verdan {

// What to open when the user offers a file, and how.
struct TTreeToOpen {
    QString Path; // empty: nothing is to be opened
    TOpenAccess Access = TOpenAccess::Write;
};

// Asks what to do with a damaged tree (its path, the engine's words). Windows show TfrmDamagedTree;
// tests answer themselves.
using TAskDamagedTree = std::function<TDamageChoice(const QString& path, const QString& reason)>;

// Probes `path` before anything of the open tree is touched and decides, asking the user where needed: a
// sound tree opens as it is (read-only when the file cannot be written); a damaged one, as the user
// chooses, read-only or as a copy rescued beside it; a tree file of the old format as a tree converted
// beside it, one holding triggers, views or virtual tables as a cleaned copy, each when the user agrees
// (the file itself stays as it is). Anything else is named in the interface language and nothing is
// opened. The open tree is never closed here.
TTreeToOpen TreeFileToOpen(QWidget* parent, const QString& path, const TAskDamagedTree& askDamaged);

// Checks the open tree file for damage while a progress dialog shows how far it got and lets the user
// stop. True when the check went through and found nothing; false when it was stopped or found damage,
// whose engine words then go to `problems`.
bool CheckOpenTreeWithProgress(QWidget* parent, QString* problems = nullptr);

} // namespace verdan
