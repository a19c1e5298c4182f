#include "cli_help.h"

#include "shell/startup.h"

#include <QStringList>

namespace verdan::cli {

namespace {

const TCommandOption kHelp = {"--help", "", "what the program or the command takes, then stop"};
const TCommandOption kVersion = {"--version", "", "the program's version, then stop"};

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QString Version() {
    return QStringLiteral(VERDAN_VERSION);
}

// "\fB--out\fR \fIFILE\fR" for the head of an option's paragraph.
QString RoffOption(const TCommandOption& option) {
    QString head = QStringLiteral("\\fB") + RoffText(Utf8(option.Name)) + QStringLiteral("\\fR");
    if (*option.Value)
        head += QStringLiteral(" \\fI") + RoffText(Utf8(option.Value)) + QStringLiteral("\\fR");
    return head;
}

QString RoffOptions(const QList<TCommandOption>& options) {
    QString text;
    for (const TCommandOption& option : options)
        text += QStringLiteral(".TP\n") + RoffOption(option) + u'\n' + RoffText(Utf8(option.Help)) + u'\n';
    return text;
}

QString RoffHeader(const QString& name, const QString& summary) {
    return QStringLiteral(".TH %1 1 \"\" \"Verdan %2\" \"User Commands\"\n.SH NAME\n%3 \\- %4\n")
        .arg(name.toUpper(), Version(), RoffText(name), RoffText(summary));
}

// Bash words: the alternatives of a list of words, quoted once for the script.
QString Words(const QStringList& words) {
    return u'"' + words.join(u' ') + u'"';
}

} // namespace

QString RoffText(const QString& text) {
    QString out;
    for (const QString& line : text.split(u'\n')) {
        QString escaped = line;
        escaped.replace(u'\\', QStringLiteral("\\e")).replace(u'-', QStringLiteral("\\-"));
        if (escaped.startsWith(u'.') || escaped.startsWith(u'\''))
            escaped.prepend(QStringLiteral("\\&"));
        out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + escaped;
    }
    return out;
}

QString GeneralHelp() {
    qsizetype width = 0;
    for (const Command& command : Commands())
        width = qMax(width, qsizetype(qstrlen(command.name)));
    QString text = QStringLiteral("usage: verdan-cli COMMAND [ARGUMENTS] [OPTIONS]\n"
                                  "       verdan-cli COMMAND --help   (what the command takes)\n"
                                  "       verdan-cli --version\n\ncommands:\n");
    for (const Command& command : Commands())
        text +=
            QStringLiteral("  ") + Utf8(command.name).leftJustified(width + 2) + Utf8(command.help) + u'\n';
    return text;
}

QString CommandHelp(const Command& command) {
    const QList<TCommandOption> options = CommandOptions(command);
    QString text = QStringLiteral("usage: verdan-cli %1 %2").arg(Utf8(command.name), Utf8(command.arguments));
    if (!options.isEmpty())
        text += QStringLiteral(" [OPTIONS]");
    text += QStringLiteral("\n\n") + Utf8(command.help) + u'\n';
    if (!options.isEmpty())
        text += QStringLiteral("\noptions:\n") + OptionLines(options);
    return text;
}

QString CliManualPage() {
    QString page =
        RoffHeader(QStringLiteral("verdan-cli"), QStringLiteral("family trees of Verdan from a shell"));
    page += QStringLiteral(".SH SYNOPSIS\n\\fBverdan\\-cli\\fR \\fICOMMAND\\fR [\\fIARGUMENTS\\fR] "
                           "[\\fIOPTIONS\\fR]\n.br\n\\fBverdan\\-cli\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR\n"
                           ".br\n\\fBverdan\\-cli \\-\\-version\\fR\n");
    page += QStringLiteral(
        ".SH DESCRIPTION\n\\fBverdan\\-cli\\fR does from a shell what a user of \\fBverdan\\fR(1) scripts: "
        "it "
        "makes, checks and compacts tree files, imports and exports GEDCOM files, writes lists and charts, "
        "and answers questions of kinship and of the two calendars. A tree file that another program holds "
        "open cannot be used.\n");
    page += QStringLiteral(".SH OPTIONS\n") + RoffOptions({kHelp, kVersion});
    page += QStringLiteral(".SH COMMANDS\n");
    for (const Command& command : Commands()) {
        page += QStringLiteral(".TP\n\\fB%1\\fR \\fI%2\\fR\n%3\n")
                    .arg(RoffText(Utf8(command.name)), RoffText(Utf8(command.arguments)),
                         RoffText(Utf8(command.help)));
        const QList<TCommandOption> options = CommandOptions(command);
        if (!options.isEmpty())
            page += QStringLiteral(".RS\n") + RoffOptions(options) + QStringLiteral(".RE\n");
    }
    page += QStringLiteral(".SH EXIT STATUS\n0 when the command did what it was asked; 1 when it failed, and "
                           "whenever it met a damaged tree file; 2 for a command line it does not take.\n"
                           ".SH SEE ALSO\n\\fBverdan\\fR(1)\n");
    return page;
}

QString ProgramManualPage() {
    QString page = RoffHeader(QStringLiteral("verdan"), QStringLiteral("editor of Arabic family trees"));
    page += QStringLiteral(".SH SYNOPSIS\n\\fBverdan\\fR [\\fIOPTIONS\\fR] [\\fITREE.vrd\\fR]\n");
    page += QStringLiteral(
        ".SH DESCRIPTION\n\\fBverdan\\fR is a desktop editor for Arabic patrilineal family trees: one tree a "
        "\\fI.vrd\\fR file, browsed as an outline that follows father lines, with Hijri and Gregorian dates, "
        "marriages, breastfeeding relations, charts and lists, in Arabic, English, Persian or Urdu. It opens "
        "the tree file named on its command line, else the start page of recent trees.\n");
    page += QStringLiteral(".SH OPTIONS\n") + RoffOptions(ProgramOptions());
    page +=
        QStringLiteral(".SH FILES\n.TP\n\\fI~/.local/share/verdan\\fR\nthe program folder: \\fIuser\\fR "
                       "(options, recent trees), \\fIlangs\\fR (language documents) and \\fIdata\\fR (new "
                       "trees), unless \\fB\\-\\-home\\fR names another.\n"
                       ".SH SEE ALSO\n\\fBverdan\\-cli\\fR(1)\n");
    return page;
}

QString CliCompletion() {
    QStringList names;
    for (const Command& command : Commands())
        names << Utf8(command.name);
    QString options;
    QString choices;
    QString positional;
    for (const Command& command : Commands()) {
        QStringList all;
        QStringList taking;
        for (const TCommandOption& option : CommandOptions(command)) {
            all << Utf8(option.Name);
            if (*option.Value)
                taking << Utf8(option.Name);
            if (const QStringList words = ValueChoices(option.Value); !words.isEmpty())
                choices +=
                    QStringLiteral("        \"%1 %2\") COMPREPLY=($(compgen -W %3 -- \"$cur\")); return ;;\n")
                        .arg(Utf8(command.name), Utf8(option.Name), Words(words));
        }
        all << QStringLiteral("--help");
        options += QStringLiteral("        %1) options=%2; taking=%3 ;;\n")
                       .arg(Utf8(command.name), Words(all), Words(taking));
        const QStringList arguments = Utf8(command.arguments).split(u' ', Qt::SkipEmptyParts);
        for (qsizetype k = 0; k < arguments.size(); ++k)
            if (const QStringList words = ValueChoices(arguments[k].toUtf8().constData()); !words.isEmpty())
                positional +=
                    QStringLiteral("        \"%1 %2\") COMPREPLY=($(compgen -W %3 -- \"$cur\")) ;;\n")
                        .arg(Utf8(command.name))
                        .arg(k)
                        .arg(Words(words));
    }
    return QStringLiteral("# bash completion for verdan-cli; made from its table of commands, do not edit\n"
                          "_verdan_cli() {\n"
                          "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                          "    local options= taking= word i n=0\n"
                          "    COMPREPLY=()\n"
                          "    if [[ $COMP_CWORD -eq 1 ]]; then\n"
                          "        COMPREPLY=($(compgen -W %1 -- \"$cur\"))\n"
                          "        return\n"
                          "    fi\n"
                          "    case ${COMP_WORDS[1]} in\n%2"
                          "        *) return ;;\n"
                          "    esac\n"
                          "    case \"${COMP_WORDS[1]} $prev\" in\n%3"
                          "    esac\n"
                          "    # the value of an option: a file, unless the option names its choices\n"
                          "    [[ \" $taking \" == *\" $prev \"* ]] && return\n"
                          "    if [[ $cur == -* ]]; then\n"
                          "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
                          "        return\n"
                          "    fi\n"
                          "    for ((i = 2; i < COMP_CWORD; i++)); do\n"
                          "        word=${COMP_WORDS[i]}\n"
                          "        if [[ $word == -* ]]; then\n"
                          "            [[ \" $taking \" == *\" $word \"* ]] && ((i++))\n"
                          "        else\n"
                          "            ((n++))\n"
                          "        fi\n"
                          "    done\n"
                          "    case \"${COMP_WORDS[1]} $n\" in\n%4"
                          "    esac\n"
                          "}\n"
                          "complete -o bashdefault -o default -F _verdan_cli verdan-cli\n")
        .arg(Words(names + QStringList{QStringLiteral("--help"), QStringLiteral("--version")}), options,
             choices, positional);
}

QString ProgramCompletion() {
    QStringList all;
    QStringList taking;
    for (const TCommandOption& option : ProgramOptions()) {
        all << Utf8(option.Name);
        if (*option.Value)
            taking << Utf8(option.Name);
    }
    return QStringLiteral("# bash completion for verdan; made from its table of options, do not edit\n"
                          "_verdan() {\n"
                          "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                          "    COMPREPLY=()\n"
                          "    [[ \" %1 \" == *\" $prev \"* ]] && return\n"
                          "    if [[ $cur == -* ]]; then\n"
                          "        COMPREPLY=($(compgen -W %2 -- \"$cur\"))\n"
                          "    fi\n"
                          "}\n"
                          "complete -o bashdefault -o default -F _verdan verdan\n")
        .arg(taking.join(u' '), Words(all));
}

} // namespace verdan::cli
