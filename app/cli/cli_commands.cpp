#include "cli_commands.h"

#include <QCoreApplication>
#include <cstdio>
#include <iterator>

namespace verdan::cli {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

QTextStream& Err() {
    static QTextStream err(stderr);
    return err;
}

namespace {

int Version(const QStringList&) {
    Out() << "verdan-cli " << QCoreApplication::applicationVersion() << Qt::endl;
    return 0;
}

// Each command adds one line here; its handler lives in a file of its own.
const Command kCommands[] = {
    {"--version", "--version", Version},
    {"new", "new PATH --name NAME --owner OWNER", TreeNew},
    {"info", "info PATH", TreeInfo},
    {"compact", "compact PATH", TreeCompact},
    {"sml", "sml FILE", Sml},
    {"hijri", "hijri YYYY-MM-DD [--lang en|ar]   (Gregorian date in, Hijri date out)", Hijri},
    {"gregorian", "gregorian YYYY-MM-DD [--lang en|ar]   (Hijri date in, Gregorian date out)", Gregorian},
    {"translate", "translate SOURCE [--context C|--feminine] [--lang ar|en|fa|ur|--file DOC]", CmdTranslate},
    {"import", "import FILE.ged [--into FOLDER] [--encoding NAME]", Import},
};

void Usage() {
    Err() << "usage:" << Qt::endl;
    for (const Command& c : kCommands)
        Err() << "  verdan-cli " << c.usage << Qt::endl;
}

} // namespace

int Run(const QStringList& args) {
    if (args.isEmpty()) {
        Usage();
        return 2;
    }
    for (const Command& c : kCommands) {
        if (args.first() == QLatin1String(c.name)) {
            const int code = c.run(args.mid(1));
            Out().flush();
            Err().flush();
            return code;
        }
    }
    Err() << "verdan-cli: unknown command " << args.first() << Qt::endl;
    Usage();
    return 2;
}

} // namespace verdan::cli
