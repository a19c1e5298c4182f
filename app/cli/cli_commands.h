#pragma once

#include <QStringList>
#include <QTextStream>

namespace verdan::cli {

// Standard output and error as UTF-8 text streams.
QTextStream& Out();
QTextStream& Err();

// Runs one command line (without the program name) and returns the exit code.
int Run(const QStringList& args);

// One command: its name, a one-line usage text, and its handler (arguments after the name). Commands with
// sharedLanguage take "--lang ar|en|fa|ur" from Run: their messages, and the names they give new persons,
// come in that language (English when the option is absent).
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
    bool sharedLanguage = false;
};

// Command handlers, each in a file app/cli/cmd_<topic>.cpp of its own.
int Sml(const QStringList& args);
int Hijri(const QStringList& args);
int Gregorian(const QStringList& args);
int CmdTranslate(const QStringList& args);

// Tree files (cmd_tree.cpp).
int TreeNew(const QStringList& args);
int TreeInfo(const QStringList& args);
int TreeCompact(const QStringList& args);
int Import(const QStringList& args);

} // namespace verdan::cli
