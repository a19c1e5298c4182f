#include "cli_commands.h"
#include "relations/data_checks.h"
#include "storage/person_index.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace verdan::cli {

namespace {

QString Caption(const char* text) {
    return Translate(QString::fromLatin1(text)) + QStringLiteral(": ");
}

} // namespace

// One line a finding: the person's identifier, his name and what was found, tab-separated. With a JSON
// report the findings join it as objects instead and the whole report is printed.
int CheckTreeLinks(const QString& path, QJsonObject* json) {
    if (!OpenTreeFile(path, TOpenAccess::ReadOnly))
        return 1;
    const QList<TDataFinding> findings = CheckTreeData();
    CloseTreeFile();
    if (json) {
        QJsonArray list;
        for (const TDataFinding& finding : findings) {
            list.append(QJsonObject{{QStringLiteral("id"), finding.PersonId},
                                    {QStringLiteral("name"), finding.Name},
                                    {QStringLiteral("kind"), FindingKindName(finding.Kind)},
                                    {QStringLiteral("text"), FindingText(finding)}});
        }
        json->insert(QStringLiteral("findings"), list);
        Out() << QJsonDocument(*json).toJson(QJsonDocument::Indented);
        return findings.isEmpty() ? 0 : 1;
    }
    if (findings.isEmpty()) {
        Out() << Translate(QStringLiteral("No contradiction found in data.")) << Qt::endl;
        return 0;
    }
    for (const TDataFinding& finding : findings)
        Out() << finding.PersonId << '\t' << finding.Name << '\t' << FindingText(finding) << Qt::endl;
    Out() << FillPattern(Translate(QStringLiteral("Findings: %#")), {QLocale().toString(findings.size())})
          << Qt::endl;
    return 1;
}

// The lineage name, then males, females and the total, as the statistics window shows them. Female
// descendants count through a woman's children by default, as the outline's "Statistics" sets it.
int Stats(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional;
    int female = -1;
    for (const QString& arg : args) {
        if (arg == u"--female")
            female = 1;
        else if (arg == u"--no-female")
            female = 0;
        else
            positional << arg;
    }
    if (positional.size() != 2 || positional[0].startsWith(u'-')) {
        Err() << "usage: verdan-cli stats TREE.vrd PERSON_ID [--female|--no-female]" << Qt::endl;
        return 2;
    }
    if (!OpenTreeFile(positional[0], TOpenAccess::ReadOnly))
        return 1;
    const QString id = positional[1].trimmed();
    if (!PersonExists(id)) {
        CloseTreeFile();
        Err() << "verdan-cli stats: no person " << id << " in the tree" << Qt::endl;
        return 1;
    }
    const bool includeFemale = female < 0 ? GetGender(id) == u"f" : female == 1;
    const TDescendantCounts counts = CountDescendantsDetailed(id, includeFemale);
    const QLocale locale;
    Out() << GetLineageName(id) << Qt::endl
          << Caption("Males") << locale.toString(counts.Males) << Qt::endl
          << Caption("Females") << locale.toString(counts.Females) << Qt::endl
          << Caption("Total") << locale.toString(counts.Total) << Qt::endl;
    CloseTreeFile();
    return 0;
}

// The persons whose texts hold every word, in the search window's order: identifier, lineage name and the
// texts found on one line, tab-separated.
int Search(const QStringList& args) {
    const ErrorLines errors;
    if (args.size() < 2 || args[0].startsWith(u'-')) {
        Err() << "usage: verdan-cli search TREE.vrd WORDS..." << Qt::endl;
        return 2;
    }
    if (!OpenTreeFile(args[0], TOpenAccess::ReadOnly))
        return 1;
    TFindResultList results;
    SearchPersonTexts(args.mid(1).join(u' '), results);
    for (const TFindResult& result : results)
        Out() << result.Person_Id << '\t' << GetLineageName(result.Person_Id) << '\t'
              << result.FoundText.simplified() << Qt::endl;
    CloseTreeFile();
    if (results.isEmpty()) {
        Out() << Translate(QStringLiteral("No person found")) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace verdan::cli
