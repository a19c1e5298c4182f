#include "cli_commands.h"
#include "storage/jet_convert.h"

namespace verdan::cli {

// convert OLD.vrd [NEW.vrd]: writes a tree file of the old format into a new tree beside it and prints what
// it read.
int Convert(const QStringList& args) {
    const ErrorLines errors;
    if (args.isEmpty() || args.size() > 2 || args[0].startsWith(u'-') || args.value(1).startsWith(u'-')) {
        Err() << "usage: verdan-cli convert OLD.vrd [NEW.vrd]" << Qt::endl;
        return 2;
    }
    const QString target = args.size() == 2 ? args[1] : DefaultConvertedPath(args[0]);
    TJetConvertSummary summary;
    QString error;
    if (!ConvertLegacyTreeFile(args[0], target, {}, summary, error)) {
        Err() << "verdan-cli convert: " << error << Qt::endl;
        return 1;
    }
    Out() << target << Qt::endl << JetConvertSummaryText(summary) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
