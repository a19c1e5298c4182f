#pragma once

#include "gedcom/gedcom_export.h"

#include <QString>

namespace verdan {

// Exports the open tree as ExportGedcomFile does; a damaged tree is exported from a copy rescued from it
// (TRescuedReading), so everything that can still be read is written, and `warning` then says, translated,
// how many persons were exported and how many could not be read. False with a translated error.
bool ExportReadableGedcomFile(const QString& path, const TGedcomProgressFn& progress,
                              TGedcomExportSummary& summary, QString& warning, QString& error,
                              TGedcomVersion version = TGedcomVersion::V551);

} // namespace verdan
