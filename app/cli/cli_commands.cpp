#include "cli_commands.h"

#include "storage/database.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QCoreApplication>

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

int Version(const QStringList&) {
    Out() << "verdan-cli " << QCoreApplication::applicationVersion() << Qt::endl;
    return 0;
}

// Each command adds one line here; its handler lives in a file of its own.
const Command kCommands[] = {
    {"--version", "--version", Version},
    {"new", "new PATH --name NAME --owner OWNER [--lang ar|en|fa|ur]", TreeNew, true},
    {"info", "info PATH [--lang ar|en|fa|ur]", TreeInfo, true},
    {"compact", "compact PATH [--lang ar|en|fa|ur]", TreeCompact, true},
    {"check",
     "check PATH [--lang ar|en|fa|ur]   (damage, parent contradictions and links that name nobody or run "
     "in a circle)",
     TreeCheck, true},
    {"sml", "sml FILE", Sml},
    {"hijri", "hijri YYYY-MM-DD [--lang en|ar|fa|ur] [--umalqura]   (Gregorian date in, Hijri date out)",
     Hijri},
    {"gregorian",
     "gregorian YYYY-MM-DD [--lang en|ar|fa|ur] [--umalqura]   (Hijri date in, Gregorian date out)",
     Gregorian},
    {"translate", "translate SOURCE [--context C|--feminine] [--lang ar|en|fa|ur|--file DOC]", CmdTranslate},
    {"import", "import FILE.ged [--into FOLDER] [--encoding NAME] [--lang ar|en|fa|ur]", Import, true},
    {"convert",
     "convert OLD.vrd [NEW.vrd] [--lang ar|en|fa|ur]   (a tree file of the old format into a new tree)",
     Convert, true},
    {"export", "export TREE.vrd OUT.ged [--lang ar|en|fa|ur]   (GEDCOM 5.5.1, UTF-8)", Export, true},
    {"report",
     "report persons|contacts|addresses TREE.vrd --out FILE.csv|.txt|.xlsx|.pdf [--lang ar|en|fa|ur]", Report,
     true, true},
    {"chart",
     "chart TREE.vrd PERSON_ID [--parents] [--children] [--spouses] [--generations N] [--dates] [--pictures] "
     "[--zoom PERCENT] [--save FILE.chart] --out FILE.png|svg|pdf|jpg|gif|bmp\n"
     "             chart [TREE.vrd] --open FILE.chart [--zoom PERCENT] --out FILE   [--lang ar|en|fa|ur]",
     Chart, true, true},
    {"find", "find TREE.vrd WORDS... [--lang ar|en|fa|ur]   (persons as the search box lists them)", Find,
     true},
    {"chain", "chain TREE.vrd PERSON_ID|-1 \"NAME son of NAME ..\" [--list] [--lang ar|en|fa|ur]", Chain,
     true},
    {"stats",
     "stats TREE.vrd PERSON_ID [--female|--no-female] [--lang ar|en|fa|ur]   (descendants by gender)", Stats,
     true},
    {"search", "search TREE.vrd WORDS... [--lang ar|en|fa|ur]   (names, places, notes and briefings)", Search,
     true},
    {"lineage", "lineage TREE.vrd PERSON_ID [--mother|--mothers] [--tree] [--lang ar|en|fa|ur]", Lineage,
     true},
    {"kinship", "kinship TREE.vrd PERSON_A PERSON_B [--lang ar|en|fa|ur]   (terms both ways, path, mahram)",
     Kinship, true},
};

void Usage() {
    Err() << "usage:" << Qt::endl;
    for (const Command& c : kCommands)
        Err() << "  verdan-cli " << c.usage << Qt::endl;
}

// Takes "--lang CODE" (or "--lang=CODE") out of args and loads that built-in language document.
bool TakeLanguage(QStringList& args) {
    QString code = QStringLiteral("en");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lang")) {
            if (i + 1 >= args.size()) {
                Err() << "verdan-cli: --lang needs a language: ar, en, fa or ur" << Qt::endl;
                return false;
            }
            code = args[i + 1];
            args.remove(i, 2);
            break;
        }
        if (args[i].startsWith(QLatin1String("--lang="))) {
            code = args[i].mid(7);
            args.remove(i);
            break;
        }
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

} // namespace

bool NeedsGui(const QStringList& args) {
    for (const Command& c : kCommands)
        if (!args.isEmpty() && args.first() == QLatin1String(c.name))
            return c.gui;
    return false;
}

int Run(const QStringList& args) {
    if (args.isEmpty()) {
        Usage();
        return 2;
    }
    for (const Command& c : kCommands) {
        if (args.first() == QLatin1String(c.name)) {
            QStringList rest = args.mid(1);
            if (c.sharedLanguage && !TakeLanguage(rest))
                return 2;
            int code = c.run(rest);
            Out().flush();
            Err().flush();
            // Whatever a command made of it, a damaged tree file is a failure.
            if (code == 0 && DamageSeen())
                code = 1;
            return code;
        }
    }
    Err() << "verdan-cli: unknown command " << args.first() << Qt::endl;
    Usage();
    return 2;
}

} // namespace verdan::cli
