#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// ProgramFolder() without its trailing "/".
QString ProgramDir();

// The file name without folder and without its final extension ("a.b.vrd" → "a.b"). Both "/" and "\"
// separate folders, since paths kept in older tree files use "\".
QString FileTitle(const QString& path);

// True for an existing file the user may not write.
bool IsReadOnlyFile(const QString& path);

// Appends folder + name of every entry matching the wildcard `pattern` (files and folders, hidden ones
// included; letter case ignored, as in the photos folders users bring from other systems). With
// `recursive`, descends into every sub-folder, but never through a symbolic link. `folder` ends in "/".
// Returns how many entries were appended.
int ListFiles(QStringList& list, const QString& folder, const QString& pattern, bool recursive);

// A file name made from user input: drops the characters " * / : < > ? \ | and control characters,
// and turns a reserved device name (con, nul, prn, com1..com9, lpt1..lpt9) into name + "X", so the file
// can be copied to any system.
QString CleanFileName(const QString& text);

// The text without the characters " * < > ? | and control characters (separators and the drive colon
// stay).
QString CleanPathText(const QString& text);

// True when every component of the path is a name the file system accepts.
bool IsValidPathName(const QString& path);

} // namespace verdan
