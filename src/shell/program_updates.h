#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace verdan {

// Runs a program with its arguments and gives its standard output; false when it could not be started, ran
// too long or exited with a failure. Tests replace the system's runner.
using TCommandRunner =
    std::function<bool(const QString& program, const QStringList& arguments, QString& output)>;
TCommandRunner SystemCommandRunner();

enum class TUpdateAnswer { UpToDate, Newer, NoAnswer };

struct TUpdateCheck {
    TUpdateAnswer Answer = TUpdateAnswer::NoAnswer;
    QString NewVersion;
};

// Asks the system's package manager for the newest version of the program's package it knows of and
// compares it with the running version. No service of our own is asked: the package manager's lists are
// kept fresh by the desktop. A package manager that does not know the package gives no answer.
TUpdateCheck CheckForUpdate(const QString& runningVersion, const TCommandRunner& run = SystemCommandRunner());

// The desktop's software updater, the first of the known ones that is installed: program and arguments;
// empty when there is none.
QStringList SoftwareUpdaterCommand();

// The address of the project's discussion page, as the build set it; empty when it set none.
QString MailingListAddress();

} // namespace verdan
