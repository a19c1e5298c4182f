#pragma once

#include "gedcom/gedcom_export.h"

#include <QString>

class QWidget;

namespace verdan {

// Asks which GEDCOM version the export writes: 7.0, the current standard, or 5.5.1, which more programs
// read (the answer that starts with the focus). False when the user cancels. The answers' codes:
inline constexpr int kAnswerGedcom7 = 100;
inline constexpr int kAnswerGedcom551 = 101;
bool ChooseGedcomVersion(TGedcomVersion& version);

// Writes the open tree as a GEDCOM file at path while a progress dialog counts the persons and lets the
// user cancel. False when cancelled (the file there, if any, is as it was) or failed (the failure has been
// shown).
bool ExportGedcomWithProgress(QWidget* parent, const QString& path, TGedcomExportSummary& summary,
                              TGedcomVersion version = TGedcomVersion::V551);

} // namespace verdan
