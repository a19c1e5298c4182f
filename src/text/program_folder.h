#pragma once

#include <QString>

namespace verdan {

// The program's folder, with a trailing "/". Holds the folders user, app, data and langs. Defaults to the
// XDG data location; tests and portable installs point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

} // namespace verdan
