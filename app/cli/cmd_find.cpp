#include "cli_commands.h"
#include "reports/name_search.h"
#include "storage/database.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

namespace verdan::cli {

// The persons the search box lists for the words, in its order: identifier, a tab, the lineage name.
int Find(const QStringList& args) {
    if (args.size() < 2 || args[0].startsWith(u'-')) {
        Err() << "usage: verdan-cli find TREE.vrd WORDS..." << Qt::endl;
        return 2;
    }
    ErrorLines errors;
    if (!OpenTreeFile(args[0], TOpenAccess::ReadOnly))
        return 1;
    const QStringList found = SearchPersonsByName(args.mid(1).join(u' '));
    for (const QString& id : found)
        Out() << id << '\t' << GetLineageName(id) << Qt::endl;
    CloseTreeFile();
    if (found.isEmpty()) {
        Out() << Translate(QStringLiteral("No person found")) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace verdan::cli
