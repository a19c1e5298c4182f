#include "cli_commands.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "web/web_export.h"

#include <unistd.h>

namespace verdan::cli {

// web TREE.vrd OUTDIR: writes the tree as a static website and prints what the export did.
int Web(const QStringList& args) {
    const ErrorLines errors;
    QStringList rest = args;
    TWebOptions options;
    const QString living = OptionValue(args, QStringLiteral("--living"));
    options.Title = OptionValue(args, QStringLiteral("--title"));
    for (const char* option : {"--living", "--title"}) {
        const qsizetype at = rest.indexOf(QString::fromLatin1(option));
        if (at >= 0)
            rest.remove(at, 2);
    }
    // The site is written in the language the command was given (Run loaded its document).
    options.Language = InterfaceLanguageCode();
    if (living.isEmpty() || living == u"hide") {
        options.Living = TLivingMode::Hide;
    } else if (living == u"names") {
        options.Living = TLivingMode::Names;
    } else if (living == u"show") {
        options.Living = TLivingMode::Show;
    } else {
        Err() << "verdan-cli web: --living takes hide, names or show" << Qt::endl;
        return 2;
    }
    if (rest.size() != 2 || rest[0].startsWith(u'-') || rest[1].startsWith(u'-')) {
        Err() << "usage: verdan-cli web TREE.vrd OUTDIR [--lang ar|en|fa|ur] [--living hide|names|show] "
                 "[--title T]"
              << Qt::endl;
        return 2;
    }
    if (!OpenTreeFile(rest[0], TOpenAccess::ReadOnly))
        return 1;
    TWebProgressFn progress;
    if (isatty(STDERR_FILENO)) {
        progress = [](const TWebProgress& p) {
            Err() << "\r" << p.Done << " / " << p.Total << Qt::flush;
            return true;
        };
    }
    TWebExportSummary summary;
    QString error;
    const bool ok = ExportWebsite(rest[1], options, progress, summary, error);
    if (progress)
        Err() << "\r\033[K" << Qt::flush;
    CloseTreeFile();
    if (!ok) {
        Err() << "verdan-cli web: " << error << Qt::endl;
        return 1;
    }
    Out() << rest[1] << Qt::endl << WebExportSummaryText(summary) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
