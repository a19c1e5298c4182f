#pragma once

#include <QString>

class QWidget;

namespace verdan {

struct TGedcomExportSummary;

// Writes the open tree as a GEDCOM file at path while a progress dialog counts the persons and lets the
// user cancel. False when cancelled (the file there, if any, is as it was) or failed (the failure has been
// shown).
bool ExportGedcomWithProgress(QWidget* parent, const QString& path, TGedcomExportSummary& summary);

} // namespace verdan
