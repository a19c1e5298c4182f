#include "cli_commands.h"
#include "gedcom/readable_export.h"
#include "storage/tree_file.h"

#include <unistd.h>

namespace verdan::cli {

// export TREE.vrd OUT.ged [--version 5.5.1|7.0]: writes the tree as a GEDCOM file and prints what it holds.
int Export(const QStringList& args) {
    const ErrorLines errors;
    QStringList files;
    TGedcomVersion version = TGedcomVersion::V551;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--version") && i + 1 < args.size()) {
            const QString value = args[++i];
            if (value == QLatin1String("7.0") || value == QLatin1String("7"))
                version = TGedcomVersion::V70;
            else if (value != QLatin1String("5.5.1"))
                files << QStringLiteral("-"); // an unknown version is a usage error
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2 || files[0].startsWith(u'-') || files[1].startsWith(u'-')) {
        Err() << "usage: verdan-cli export TREE.vrd OUT.ged [--version 5.5.1|7.0]" << Qt::endl;
        return 2;
    }
    // A damaged tree gives what can still be read, with a warning that says how much that was.
    if (!OpenTreeFile(files[0], TOpenAccess::ReadDamaged))
        return 1;
    TGedcomProgressFn progress;
    if (isatty(STDERR_FILENO)) {
        progress = [](const TGedcomProgress& p) {
            Err() << "\rwriting " << p.PersonsWritten << " of " << p.PersonsTotal << " persons" << Qt::flush;
            return true;
        };
    }
    TGedcomExportSummary summary;
    QString error;
    QString warning;
    const bool ok = ExportReadableGedcomFile(files[1], progress, summary, warning, error, version);
    if (progress)
        Err() << "\r\033[K" << Qt::flush;
    CloseTreeFile();
    if (!ok) {
        Err() << "verdan-cli export: " << error << Qt::endl;
        return 1;
    }
    if (!warning.isEmpty())
        Err() << QString(warning).replace(u'|', u'\n') << Qt::endl;
    Out() << files[1] << Qt::endl << GedcomExportSummaryText(summary) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
