#pragma once

#include "storage/database.h"
#include "text/command_options.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <span>

namespace verdan::cli {

// Standard output and error as UTF-8 text streams.
QTextStream& Out();
QTextStream& Err();

// The value after an option such as "--name"; empty when the option is missing.
QString OptionValue(const QStringList& args, const QString& option);

// While it lives, store messages go to standard error as plain lines.
class ErrorLines {
public:
    ErrorLines();
    ~ErrorLines();
    ErrorLines(const ErrorLines&) = delete;
    ErrorLines& operator=(const ErrorLines&) = delete;

private:
    StoreMessageSink previous_;
};

// True when the command line's command draws text (PDF pages) and so needs the GUI application.
bool NeedsGui(const QStringList& args);

// Runs one command line (without the program name) and returns the exit code.
int Run(const QStringList& args);

// One command of the table from which Run, --help, the manual page and the shell's completion all come:
// its name, its arguments as a usage line shows them, a line of help, its handler (given the arguments after
// the name, each option's value as the word after it), and its options. Run refuses an option the table does
// not give the command. Commands with sharedLanguage take "--lang ar|en|fa|ur" from Run: their messages, and
// the names they give new persons, come in that language (English when the option is absent).
struct Command {
    const char* name;
    const char* arguments;
    const char* help;
    int (*run)(const QStringList& args);
    std::initializer_list<TCommandOption> options = {};
    bool sharedLanguage = false;
    bool gui = false;
};

// Every command, in the order --help lists them.
std::span<const Command> Commands();

// The "--lang" option Run takes for commands with sharedLanguage.
const TCommandOption& SharedLanguageOption();

// The options a command's --help lists: its own, then the shared language.
QList<TCommandOption> CommandOptions(const Command& command);

// Command handlers, each in a file app/cli/cmd_<topic>.cpp of its own.
int Sml(const QStringList& args);
int Hijri(const QStringList& args);
int Gregorian(const QStringList& args);
int CmdTranslate(const QStringList& args);

// Tree files (cmd_tree.cpp).
int TreeNew(const QStringList& args);
int TreeInfo(const QStringList& args);
int TreeCompact(const QStringList& args);
int TreeCheck(const QStringList& args);
int Import(const QStringList& args);
// Tree files of the old format (cmd_convert.cpp).
int Convert(const QStringList& args);
// GEDCOM export (cmd_export.cpp).
int Export(const QStringList& args);

// Lists of the tree (cmd_report.cpp).
int Report(const QStringList& args);

// Family charts (cmd_chart.cpp).
int Chart(const QStringList& args);
// Wall posters (cmd_poster.cpp).
int Poster(const QStringList& args);

// The name search (cmd_find.cpp).
int Find(const QStringList& args);

// Consistency of the links, descendant statistics and the general search (cmd_relations.cpp). TreeCheck
// ends with CheckTreeLinks on a file without damage; with a JSON report it adds its findings there and
// prints the report.
int CheckTreeLinks(const QString& path, QJsonObject* json = nullptr);
int Stats(const QStringList& args);
int Search(const QStringList& args);

// What can still be read of a damaged tree, into a new one (cmd_recover.cpp).
int Recover(const QStringList& args);

// Lineage chains and paths (cmd_links.cpp).
int Chain(const QStringList& args);
int Lineage(const QStringList& args);

// Kinship terms both ways and the mahram answer (cmd_kinship.cpp).
int Kinship(const QStringList& args);

// A father or mother for a child, and marriages, under the family rules (cmd_family.cpp).
int Link(const QStringList& args);
int Marry(const QStringList& args);

// The tree as a static website (cmd_web.cpp).
int Web(const QStringList& args);

} // namespace verdan::cli
