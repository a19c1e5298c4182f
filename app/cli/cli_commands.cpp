#include "cli_commands.h"

#include "cli_help.h"
#include "storage/database.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

namespace verdan::cli {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

QTextStream& Err() {
    static QTextStream err(stderr);
    return err;
}

QString OptionValue(const QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

ErrorLines::ErrorLines() {
    previous_ = SetStoreMessageSink([](StoreMessage, const QString& text) {
        // A terminal draws no isolates: the marks that keep paths in order in a mirrored window are dropped.
        QString lines = StripBidiControls(text);
        lines.replace(u'|', u'\n').replace(u'\r', u'\n');
        Err() << lines << Qt::endl;
    });
}

ErrorLines::~ErrorLines() {
    SetStoreMessageSink(previous_);
}

namespace {

const TCommandOption kSharedLanguage = {"--lang", "ar|en|fa|ur",
                                        "messages, and names given to new persons, in that language"};

// Each command is one entry here; its handler lives in a file of its own.
const Command kCommands[] = {
    {"new",
     "PATH",
     "make a new tree file in a folder of its own, with its photos folder and first persons",
     TreeNew,
     {{"--name", "NAME", "the tree's name"}, {"--owner", "OWNER", "the name of its owner"}},
     true},
    {"info",
     "PATH",
     "print the tree's properties and how many persons, marriages and pictures it holds",
     TreeInfo,
     {},
     true},
    {"compact", "PATH", "compact the tree file in place", TreeCompact, {}, true},
    {"check",
     "PATH",
     "look for damage, then for parent contradictions, links that name nobody or run in a circle, parents "
     "and couples who may not marry, and women with more than one lasting marriage",
     TreeCheck,
     {{"--json", "", "print the findings as one JSON document"}},
     true},
    {"sml", "FILE", "read an SML document and write it back as the program saves it", Sml},
    {"hijri",
     "YYYY-MM-DD",
     "print the Hijri date of a Gregorian date",
     Hijri,
     {{"--lang", "en|ar|fa|ur", "names of days and months in that language"},
      {"--umalqura", "", "the Umm al-Qura calendar instead of the tabular one"}}},
    {"gregorian",
     "YYYY-MM-DD",
     "print the Gregorian date of a Hijri date",
     Gregorian,
     {{"--lang", "en|ar|fa|ur", "names of days and months in that language"},
      {"--umalqura", "", "the Umm al-Qura calendar instead of the tabular one"}}},
    {"translate",
     "SOURCE",
     "print an English source text as the interface shows it",
     CmdTranslate,
     {{"--context", "CONTEXT", "the text as shown in that context"},
      {"--feminine", "", "its feminine form"},
      {"--lang", "ar|en|fa|ur", "in that built-in language (Arabic when absent)"},
      {"--file", "DOC", "in the language document at that path"}}},
    {"import",
     "FILE.ged|FILE.gdz",
     "read a GEDCOM file (5.5.1 or 7.0) or a GEDZIP archive with its pictures into a new tree and print what "
     "it holds",
     Import,
     {{"--into", "FOLDER", "make the new tree's folder there"},
      {"--encoding", "NAME", "read the file in that encoding, whatever it says of itself"}},
     true},
    {"convert", "OLD.vrd [NEW.vrd]", "copy a tree file of the old format into a new tree", Convert, {}, true},
    {"export",
     "TREE.vrd OUT.ged|OUT.gdz",
     "write the tree as a GEDCOM file in UTF-8 (5.5.1 unless asked for 7.0), or as a GEDZIP archive (7.0) "
     "with the pictures; of a damaged tree, what can still be read",
     Export,
     {{"--version", "5.5.1|7.0", "the GEDCOM version to write (5.5.1)"}},
     true},
    {"recover",
     "BAD.vrd [NEW.vrd]",
     "write a new tree with everything a damaged one still holds (NAME (recovered) beside it when not given)",
     Recover,
     {},
     true},
    {"report",
     "persons|contacts|addresses TREE.vrd",
     "write a list of the tree as a table or as pages",
     Report,
     {{"--out", "FILE", "the file to write: .csv, .txt, .tsv, .xlsx or .pdf"},
      {"--columns", "FIELD,FIELD,...",
       "the columns to write, in order, by field name whatever the interface language (Name1, gender, "
       "date_of_birth_g, ...)"}},
     true,
     true},
    {"chart",
     "TREE.vrd PERSON_ID | [TREE.vrd] --open FILE.chart",
     "draw a family chart around a person, laid out by itself, or a saved chart, and export it",
     Chart,
     {{"--out", "FILE",
       "the file to write: .png, .svg, .pdf, .jpg, .gif, .bmp, or .json (the laid-out chart)"},
      {"--generations", "N",
       "N generations up and N down (0 to 200); with --parents or --children, that way only"},
      {"--up", "N", "N generations of fathers and mothers above him"},
      {"--down", "N", "N generations of descendants below him"},
      {"--parents", "", "go up (with --generations)"},
      {"--children", "", "go down (with --generations)"},
      {"--daughters", "", "below his own children, the daughters' children too"},
      {"--spouses", "", "the spouses of him and of everybody below him, each wife with her children"},
      {"--dates", "", "show the dates in the boxes"},
      {"--calendar", "hijri|gregorian|both", "the dates' calendar, converted where needed (hijri)"},
      {"--pictures", "", "show the pictures in the boxes"},
      {"--ltr", "", "read left to right (the father left of his wife, the first child leftmost)"},
      {"--root-bottom", "", "his descendants above him and his ancestors below"},
      {"--zoom", "PERCENT", "draw at that size (10 to 200)"},
      {"--save", "FILE.chart", "keep the chart as a chart file"},
      {"--open", "FILE.chart", "draw a saved chart (its tree is found beside it when not given)"},
      {"--arrange", "", "with --open: lay the saved chart out afresh"}},
     true,
     true},
    {"poster",
     "TREE.vrd [PERSON_ID]",
     "draw a person's descendants (by default the tree's largest father line) as a framed wall poster",
     Poster,
     {{"--out", "FILE", "the file to write: .pdf, .svg or .png (tiles: one file each beside it)"},
      {"--up", "N", "N generations of fathers and mothers above him (0)"},
      {"--down", "N", "N generations of descendants (every one)"},
      {"--paper", "A4|A3|A2|A1|A0", "the paper of the tiles (A3)"},
      {"--landscape", "", "the tiles' paper turned"},
      {"--tiles", "", "cut into tiles of the paper, with crop marks, names and an assembly sheet"},
      {"--daughters", "", "below his own children, the daughters' children too"},
      {"--spouses", "", "each person's spouses beside him"},
      {"--pictures", "", "the persons' pictures"},
      {"--no-dates", "", "no dates in the boxes"},
      {"--calendar", "hijri|gregorian|both", "the dates' calendar (hijri)"},
      {"--ltr", "", "read left to right"}},
     true,
     true},
    {"find", "TREE.vrd WORDS...", "list the persons the name search box finds for the words", Find, {}, true},
    {"chain",
     "TREE.vrd PERSON_ID|-1 NAMES",
     "add a lineage chain (\"NAME son of NAME ..\") under a person (-1: at the first level)",
     Chain,
     {{"--list", "", "one name a line (\\n between them), the youngest first"}},
     true},
    {"stats",
     "TREE.vrd PERSON_ID",
     "count a person's descendants by gender",
     Stats,
     {{"--female", "", "count through the daughters' children too"},
      {"--no-female", "", "count through the sons only"}},
     true},
    {"search",
     "TREE.vrd WORDS...",
     "list the persons whose names, places, notes and briefings hold every word",
     Search,
     {},
     true},
    {"lineage",
     "TREE.vrd PERSON_ID",
     "print a person's father line, the oldest ancestor first",
     Lineage,
     {{"--mother", "", "his mother's father line"},
      {"--mothers", "", "the line of his mothers"},
      {"--tree", "", "the whole lineage window, with children and brothers and sisters"}},
     true},
    {"kinship",
     "TREE.vrd PERSON_A PERSON_B",
     "print the kinship terms both ways, the path of the nearest tie and the mahram answer",
     Kinship,
     {},
     true},
    {"link",
     "TREE.vrd CHILD",
     "give a child a father or a mother, as Attach Father or Attach Mother does; a question the given answers "
     "do not answer fails and names its answers",
     Link,
     {{"--father", "ID", "the new father"},
      {"--mother", "ID", "the new mother"},
      {"--answer", "NAME", "answer a question by its answer's name (marry, clear-mother, end-marriage ..); "
                           "may be given again for the next question"}},
     true},
    {"marry",
     "TREE.vrd MAN WOMAN",
     "marry a man to a woman, as Attach Wife does; a question the given answers do not answer fails and "
     "names its answers",
     Marry,
     {{"--answer", "NAME", "answer a question by its answer's name (end-marriage, add-anyway ..)"}},
     true},
    {"web",
     "TREE.vrd OUTDIR",
     "write the tree as a static website that works from a folder, a USB stick or any static host",
     Web,
     {{"--living", "hide|names|show", "living persons: details hidden (the default), names only, or everything"},
      {"--title", "T", "the site's title (the tree's name when absent)"}},
     true},
};

const Command* FindCommand(const QString& name) {
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// Takes "--lang CODE" out of args and loads that built-in language document.
bool TakeLanguage(QStringList& args) {
    QString code = QStringLiteral("en");
    const qsizetype at = args.indexOf(QStringLiteral("--lang"));
    if (at >= 0) {
        code = args.value(at + 1);
        args.remove(at, 2);
    }
    static const QHash<QString, QString> documents = {{QStringLiteral("ar"), QStringLiteral("arabic.local")},
                                                      {QStringLiteral("en"), QStringLiteral("english.local")},
                                                      {QStringLiteral("fa"), QStringLiteral("persian.local")},
                                                      {QStringLiteral("ur"), QStringLiteral("urdu.local")}};
    const QString document = documents.value(code);
    if (document.isEmpty() || !LoadLanguage(QStringLiteral(":/langs/") + document)) {
        Err() << "verdan-cli: unknown language \"" << code << "\" (use ar, en, fa or ur)" << Qt::endl;
        return false;
    }
    return true;
}

// The arguments after the command's name as its handler reads them: "--option=value" split in two, every
// option known to the command and followed by its value. False, after saying why, for anything else.
bool ReadOptions(const Command& command, const QStringList& args, QStringList& out) {
    const QList<TCommandOption> options = CommandOptions(command);
    auto fail = [&](const QString& why) {
        Err() << "verdan-cli " << command.name << ": " << why << Qt::endl
              << "(verdan-cli " << command.name << " --help lists its options)" << Qt::endl;
        return false;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            out << arg;
            continue;
        }
        const qsizetype equals = arg.indexOf(u'=');
        const QString name = equals < 0 ? arg : arg.left(equals);
        const auto option = std::find_if(options.begin(), options.end(), [&](const TCommandOption& o) {
            return name == QLatin1String(o.Name);
        });
        if (option == options.end())
            return fail(QStringLiteral("unknown option ") + name);
        out << name;
        if (!*option->Value) {
            if (equals >= 0)
                return fail(name + QStringLiteral(" takes no value"));
        } else if (equals >= 0) {
            out << arg.mid(equals + 1);
        } else if (i + 1 < args.size()) {
            out << args[++i];
        } else {
            return fail(name + QStringLiteral(" needs a value: ") + QString::fromUtf8(option->Value));
        }
    }
    return true;
}

bool AsksForHelp(const QStringList& args) {
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const TCommandOption& SharedLanguageOption() {
    return kSharedLanguage;
}

QList<TCommandOption> CommandOptions(const Command& command) {
    QList<TCommandOption> options(command.options.begin(), command.options.end());
    if (command.sharedLanguage)
        options << kSharedLanguage;
    return options;
}

bool NeedsGui(const QStringList& args) {
    const Command* command = FindCommand(args.value(0));
    return command && command->gui && !AsksForHelp(args);
}

int Run(const QStringList& args) {
    const QString first = args.value(0);
    if (args.isEmpty()) {
        Err() << GeneralHelp();
        return 2;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        const Command* command = FindCommand(args.value(1));
        Out() << (command ? CommandHelp(*command) : GeneralHelp());
        return 0;
    }
    if (first == QLatin1String("--version")) {
        Out() << "verdan-cli " << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    }
    const Command* command = FindCommand(first);
    if (!command) {
        Err() << "verdan-cli: unknown command " << first << Qt::endl << GeneralHelp();
        return 2;
    }
    if (AsksForHelp(args.mid(1))) {
        Out() << CommandHelp(*command);
        return 0;
    }
    QStringList rest;
    if (!ReadOptions(*command, args.mid(1), rest))
        return 2;
    if (command->sharedLanguage && !TakeLanguage(rest))
        return 2;
    // The damaged file is remembered, so the way to rescue it can be named.
    QString damaged;
    const DamageHandler previous = SetDamageHandler([&](const QString& path, const QString&, bool) {
        damaged = path;
        return false;
    });
    int code = command->run(rest);
    SetDamageHandler(previous);
    const bool recovering = first == QLatin1String("recover");
    if (!damaged.isEmpty() && !recovering)
        Err() << StripBidiControls(FillPattern(
                     Translate(QStringLiteral("Rescue what can still be read with: %*")),
                     {QStringLiteral("verdan-cli recover \"") + QDir::toNativeSeparators(damaged) + u'"'}))
              << Qt::endl;
    Out().flush();
    Err().flush();
    // Whatever a command made of it, a damaged tree file is a failure; rescuing one is the way out of it.
    if (code == 0 && DamageSeen() && !recovering)
        code = 1;
    return code;
}

} // namespace verdan::cli
