#pragma once

#include <QList>
#include <QString>

namespace verdan {

// One option of a command line, as --help, the manual pages and the shell's completion show it.
struct TCommandOption {
    const char* Name;  // "--home"
    const char* Value; // what it takes ("DIR", "ar|en|fa|ur"); empty for a switch
    const char* Help;  // one line
};

// A value whose alternatives are all plain words ("ar|en|fa|ur", "persons|contacts") is a choice among them;
// anything else ("FILE", "PERSON_ID|-1") names what to give.
QStringList ValueChoices(const char* value);

// "  --home DIR    help" lines, aligned, for a --help text.
QString OptionLines(const QList<TCommandOption>& options);

} // namespace verdan
