#pragma once

#include "cli_commands.h"

#include <QString>

namespace verdan::cli {

// The texts that come from the table of commands: verdan-cli's --help (a line a command), a command's --help
// (its usage and options), the manual pages of verdan-cli and of the program, and the two programs' bash
// completions.
QString GeneralHelp();
QString CommandHelp(const Command& command);
QString CliManualPage();
QString ProgramManualPage();
QString CliCompletion();
QString ProgramCompletion();

// Text set in roff: backslashes, minus signs and a leading dot or quote escaped.
QString RoffText(const QString& text);

} // namespace verdan::cli
