#include "cli_commands.h"
#include "relations/kinship.h"
#include "relations/kinship_terms.h"
#include "relations/mahram.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

#include <functional>

namespace verdan::cli {

namespace {

QString JoinTerms(const QStringList& terms) {
    QString text = terms.value(0);
    for (qsizetype i = 1; i < terms.size(); ++i)
        text = FillPattern(Translate(QStringLiteral("%*, %*")), {text, terms[i]});
    return text;
}

void PrintTree(const TLineagePath& tree) {
    std::function<void(int, int)> print = [&](int parent, int depth) {
        for (qsizetype i = 0; i < tree.Entries.size(); ++i) {
            if (tree.Entries[i].Parent != parent)
                continue;
            Out() << QString(2 + depth * 2, u' ') << (tree.Entries[i].IsPerson ? "* " : "")
                  << tree.Entries[i].Text << Qt::endl;
            print(static_cast<int>(i), depth + 1);
        }
    };
    print(-1, 0);
}

} // namespace

// Both terms, the path of the nearest tie as an indented tree (the two persons marked "*") and the
// mahram answer with its reason.
int Kinship(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional;
    for (const QString& arg : args)
        positional << arg;
    if (positional.size() != 3 || positional[0].startsWith(u'-')) {
        Err() << "usage: verdan-cli kinship TREE.vrd PERSON_A PERSON_B [--lang ar|en|fa|ur]" << Qt::endl;
        return 2;
    }
    if (!OpenTreeFile(positional[0], TOpenAccess::ReadOnly))
        return 1;
    const QString a = positional[1].trimmed();
    const QString b = positional[2].trimmed();
    for (const QString& id : {a, b}) {
        if (!PersonExists(id)) {
            CloseTreeFile();
            Err() << "verdan-cli kinship: no person " << id << " in the tree" << Qt::endl;
            return 1;
        }
    }
    const TKinship kinship = FindKinship(a, b);
    const TMahramRuling ruling = RuleMahram(kinship);
    const QString nameA = GetLineageName(a);
    const QString nameB = GetLineageName(b);
    if (kinship.Links.isEmpty()) {
        if (ruling.Answer != TMahramAnswer::SamePerson)
            Out() << Translate(QStringLiteral("No kinship was found in the tree.")) << Qt::endl;
    } else {
        Out() << FillPattern(Translate(QStringLiteral("%* to %*: %*")),
                             {nameB, nameA, JoinTerms(KinshipTerms(kinship, true))})
              << Qt::endl
              << FillPattern(Translate(QStringLiteral("%* to %*: %*")),
                             {nameA, nameB, JoinTerms(KinshipTerms(kinship, false))})
              << Qt::endl;
        Out() << Translate(QStringLiteral("Kinship path:")) << Qt::endl;
        PrintTree(KinshipPathTree(kinship, kinship.Links.first()));
    }
    // The window keeps the names in the sentence isolated; a terminal shows no marks.
    Out() << StripBidiControls(MahramText(kinship, ruling)) << Qt::endl;
    CloseTreeFile();
    return 0;
}

} // namespace verdan::cli
