#include "cli_commands.h"
#include "gedcom/gedcom_export.h"
#include "storage/tree_file.h"

#include <unistd.h>

namespace verdan::cli {

// export TREE.vrd OUT.ged: writes the tree as a GEDCOM file and prints what it holds.
int Export(const QStringList& args) {
    const ErrorLines errors;
    if (args.size() != 2 || args[0].startsWith(u'-') || args[1].startsWith(u'-')) {
        Err() << "usage: verdan-cli export TREE.vrd OUT.ged" << Qt::endl;
        return 2;
    }
    if (!OpenTreeFile(args[0]))
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
    const bool ok = ExportGedcomFile(args[1], progress, summary, error);
    if (progress)
        Err() << "\r\033[K" << Qt::flush;
    CloseTreeFile();
    if (!ok) {
        Err() << "verdan-cli export: " << error << Qt::endl;
        return 1;
    }
    Out() << args[1] << Qt::endl << GedcomExportSummaryText(summary) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
