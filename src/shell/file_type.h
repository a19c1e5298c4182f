#pragma once

#include "shell/program_updates.h"

#include <QString>

namespace verdan {

// Registers tree files (.vrd) with the desktop for the user, as the package does for the whole system: a
// desktop entry that starts this program file with the file, the MIME type and its icon below the user's
// data folder, the entry made the type's default, then the desktop's caches refreshed. Nothing is written
// when the entry there already starts this program, nor for a program installed in the system, whose
// package registered it. Errors are ignored. True when something was written.
bool RegisterFileType(const QString& programPath, const TCommandRunner& run = SystemCommandRunner());

} // namespace verdan
