#pragma once

#include <QString>

class QWidget;

namespace verdan {

struct TGedcomImportSummary;

// Reads a GEDCOM file into a new tree of its own while a progress dialog shows how far it got and lets
// the user cancel. Returns the new tree's path; empty when cancelled (nothing is left behind) or failed
// (the failure has been shown).
QString ImportGedcomWithProgress(QWidget* parent, const QString& gedcomPath, TGedcomImportSummary& summary);

} // namespace verdan
