#pragma once

#include "text/command_options.h"

#include <QString>
#include <QStringList>

namespace verdan {

// What the command line asks for: "--home DIR" moves the program folder (portable use, tests), the first
// other argument names a tree file to open.
struct TStartupArguments {
    QString Home;
    QString TreeFile;
};

TStartupArguments ParseStartupArguments(const QStringList& arguments);

// The program's options, from which its --help, its manual page and its shell completion are made.
QList<TCommandOption> ProgramOptions();

// What "verdan --help" and "verdan --version" print; empty for any other command line, which starts the
// program.
QString ProgramAnswer(const QStringList& arguments);

// The file a command-line argument names: a path as it is, or the local file of a "file://" address (as
// file managers pass it), percent-escapes decoded.
QString TreePathFromArgument(const QString& argument);

// Creates user, app, data and langs below the program folder.
void CreateAppFolders();

// Installs the built-in language documents and loads the one the options name (Arabic by default).
void StartLanguage();

// Makes the options' Hijri calendar the one every later conversion reckons in.
void ApplyHijriCalendar();

// Everything that runs before the first window: the program folder, the user folder and options, the
// language, the Hijri calendar, the remaining folders, in this order.
void InitialiseProgram(const TStartupArguments& arguments);

// The application's title in the current language.
QString ApplicationTitle();

} // namespace verdan
