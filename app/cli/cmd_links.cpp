#include "cli_commands.h"
#include "navigator/lineage_chain.h"
#include "relations/lineage_path.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"

namespace verdan::cli {

namespace {

// The tree named first, open; false after the message. A tree that is to be written is checked whole
// first: the command line never writes to a damaged file.
bool OpenTree(const QString& path, const char* command, TOpenAccess access) {
    if (path.isEmpty() || path.startsWith(u'-')) {
        Err() << "verdan-cli " << command << ": a tree file is needed" << Qt::endl;
        return false;
    }
    return OpenTreeFile(path, access) && (access != TOpenAccess::Write || CheckOpenTreeWhole());
}

} // namespace

int Chain(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional;
    bool list = false;
    for (const QString& arg : args) {
        if (arg == u"--list")
            list = true;
        else
            positional << arg;
    }
    if (positional.size() != 3) {
        Err() << "usage: verdan-cli chain TREE.vrd PERSON_ID|-1 \"NAME son of NAME ..\" [--list]" << Qt::endl;
        return 2;
    }
    if (!OpenTree(positional[0], "chain", TOpenAccess::Write))
        return 1;
    // The list form takes one name a line; "\n" typed on a command line stands for a line break there.
    QString text = positional[2];
    if (list)
        text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    const TChainResult result = CreateLineageChainUnder(positional[1], ChainNames(text, !list));
    for (const QString& id : result.CreatedIds)
        Out() << id << '\t' << GetPersonName(id) << Qt::endl;
    CloseTreeFile();
    return result.Written ? 0 : 1;
}

int Lineage(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional;
    TLineageKind kind = TLineageKind::FatherLine;
    bool tree = false;
    for (const QString& arg : args) {
        if (arg == u"--mother")
            kind = TLineageKind::MothersFatherLine;
        else if (arg == u"--mothers")
            kind = TLineageKind::MothersLine;
        else if (arg == u"--tree")
            tree = true;
        else
            positional << arg;
    }
    if (positional.size() != 2) {
        Err() << "usage: verdan-cli lineage TREE.vrd PERSON_ID [--mother|--mothers] [--tree]" << Qt::endl;
        return 2;
    }
    if (!OpenTree(positional[0], "lineage", TOpenAccess::ReadOnly))
        return 1;
    const TLineagePath path = BuildLineagePath(positional[1].trimmed(), kind);
    CloseTreeFile();
    if (path.Entries.isEmpty()) {
        Err() << "verdan-cli lineage: no person " << positional[1] << " in the tree" << Qt::endl;
        return 1;
    }
    if (!tree) {
        for (const QString& name : LineageChainNames(path))
            Out() << name << Qt::endl;
        return 0;
    }
    // Each entry indented by its depth; entries come after the one above them.
    QList<int> depth;
    for (const TPathEntry& entry : path.Entries) {
        const int level = entry.Parent < 0 ? 0 : depth[entry.Parent] + 1;
        depth << level;
    }
    // Children of an entry follow it directly in the window; print in that order.
    std::function<void(int)> print = [&](int parent) {
        for (qsizetype i = 0; i < path.Entries.size(); ++i) {
            if (path.Entries[i].Parent != parent)
                continue;
            Out() << QString(depth[i] * 2, u' ') << (path.Entries[i].IsPerson ? "* " : "")
                  << path.Entries[i].Text << Qt::endl;
            print(static_cast<int>(i));
        }
    };
    print(-1);
    return 0;
}

} // namespace verdan::cli
