#include "startup.h"

#include "calendar/date_convert.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QDir>
#include <QUrl>

namespace verdan {

TStartupArguments ParseStartupArguments(const QStringList& arguments) {
    TStartupArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--home") && i + 1 < arguments.size())
            parsed.Home = arguments[++i];
        else if (argument.startsWith(QLatin1String("--home=")))
            parsed.Home = argument.mid(7);
        else if (parsed.TreeFile.isEmpty() && !argument.trimmed().isEmpty())
            parsed.TreeFile = argument;
    }
    return parsed;
}

QList<TCommandOption> ProgramOptions() {
    return {{"--home", "DIR", "keep options, recent trees and language documents below DIR (portable use)"},
            {"--help", "", "what the program takes, then stop"},
            {"--version", "", "the program's version, then stop"}};
}

QString ProgramAnswer(const QStringList& arguments) {
    if (arguments.contains(QStringLiteral("--version")))
        return QStringLiteral("verdan " VERDAN_VERSION "\n");
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
        return QStringLiteral(
                   "usage: verdan [OPTIONS] [TREE.vrd]\n\nopens the tree file, else the start page "
                   "of recent trees\n\noptions:\n") +
               OptionLines(ProgramOptions());
    return QString();
}

QString TreePathFromArgument(const QString& argument) {
    const QString text = argument.trimmed();
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(text);
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return argument;
}

void CreateAppFolders() {
    for (const char* folder : {"user", "app", "data", "langs"})
        QDir().mkpath(ProgramFolder() + QLatin1String(folder));
}

void StartLanguage() {
    InstallLanguageFiles();
    SetLanguage(ResolveLanguageFile(Options().LanguageFile));
}

void ApplyHijriCalendar() {
    SetHijriCalendar(Options().UmmAlQura ? HijriCalendar::UmmAlQura : HijriCalendar::Tabular);
}

void InitialiseProgram(const TStartupArguments& arguments) {
    if (!arguments.Home.trimmed().isEmpty())
        SetProgramFolder(arguments.Home);
    QDir().mkpath(ProgramFolder() + QStringLiteral("user"));
    LoadOptions();
    StartLanguage();
    ApplyHijriCalendar();
    CreateAppFolders();
}

QString ApplicationTitle() {
    return Translate(QStringLiteral("Verdan"));
}

} // namespace verdan
