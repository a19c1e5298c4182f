#include "cli_commands.h"
#include "gedcom/gedcom_import.h"

#include <unistd.h>

namespace verdan::cli {

namespace {

int Fail(const QString& message) {
    Err() << "verdan-cli import: " << message << Qt::endl;
    return 1;
}

} // namespace

// import FILE.ged [--into FOLDER] [--encoding NAME]: reads a GEDCOM file into a new tree and prints the new
// tree's path and what it holds.
int Import(const QStringList& args) {
    QString file;
    TGedcomImportOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--into") || arg == QLatin1String("--encoding")) {
            if (i + 1 >= args.size())
                return Fail(arg + QStringLiteral(" needs a value"));
            (arg == QLatin1String("--into") ? options.BaseFolder : options.Encoding) = args[++i];
        } else if (file.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            file = arg;
        } else {
            return Fail(QStringLiteral("unexpected argument ") + arg);
        }
    }
    if (file.isEmpty())
        return Fail(QStringLiteral("a GEDCOM file is needed"));
    // A progress line only where someone watches it.
    if (isatty(STDERR_FILENO)) {
        options.Progress = [](const TGedcomProgress& p) {
            if (p.PersonsTotal > 0)
                Err() << "\rwriting " << p.PersonsWritten << " of " << p.PersonsTotal << " persons"
                      << Qt::flush;
            else
                Err() << "\rreading " << p.RecordsRead << " records" << Qt::flush;
            return true;
        };
    }
    TGedcomImportResult result;
    const bool ok = ImportGedcomFile(file, options, result);
    if (options.Progress)
        Err() << "\r\033[K" << Qt::flush;
    if (!ok)
        return Fail(result.ErrorMessage);
    Out() << result.TreePath << Qt::endl << GedcomSummaryText(result.Summary) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
