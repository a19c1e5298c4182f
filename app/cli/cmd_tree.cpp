#include "cli_commands.h"
#include "storage/database.h"
#include "storage/tree_check.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/localisation.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace verdan::cli {

namespace {

QString Label(const char* text, const char* context) {
    return TranslateContext(QString::fromUtf8(text), QString::fromUtf8(context)) + u':';
}

QString TimeText(const QDateTime& time) {
    return time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : QString();
}

} // namespace

int TreeNew(const QStringList& args) {
    const ErrorLines errors;
    const QString path = args.value(0);
    const QString name = OptionValue(args, QStringLiteral("--name"));
    const QString owner = OptionValue(args, QStringLiteral("--owner"));
    if (path.isEmpty() || path.startsWith(u'-')) {
        Err() << "usage: verdan-cli new PATH --name NAME --owner OWNER" << Qt::endl;
        return 2;
    }
    const QFileInfo file(path);
    TTreeProperty props;
    props.BasePath = file.absolutePath();
    props.FileName = file.fileName();
    props.TreeName = name;
    props.OwnerName = owner;
    const QString created = CreateNewTree(props);
    if (created.isEmpty())
        return 1;
    Out() << QDir::toNativeSeparators(created) << Qt::endl;
    return 0;
}

int TreeInfo(const QStringList& args) {
    const ErrorLines errors;
    if (args.size() != 1) {
        Err() << "usage: verdan-cli info PATH" << Qt::endl;
        return 2;
    }
    if (!OpenTreeFile(args[0], TOpenAccess::ReadOnly))
        return 1;
    TTreeProperty props;
    ReadTreeProperties(props);
    // Counts of a file that could not be read whole would mislead: the damage has been told instead.
    const bool damaged = IsTreeDamaged();
    CloseTreeFile();
    if (damaged)
        return 1;
    const QList<std::pair<QString, QString>> lines = {
        {Label("Tree", "properties"), props.TreeName},
        {Label("Owner", "properties"), props.OwnerName},
        {Label("File", "properties"), props.FileName},
        {Label("Location", "properties"), QDir::toNativeSeparators(props.BasePath)},
        {Label("Size", "properties"), props.SizeText},
        {Label("Last added", "properties"), TimeText(props.LastCreated)},
        {Label("Last modified", "properties"), TimeText(props.LastModified)},
        {Label("Records", "properties"), QString::number(props.PersonCount)},
        {Label("Sections", "relationships"), QString::number(props.GroupCount)},
        {Label("Persons", "relationships"), QString::number(props.NonGroupCount)},
        {Label("Males", "relationships"), QString::number(props.MaleCount)},
        {Label("Females", "relationships"), QString::number(props.FemaleCount)},
        {Label("Mariage Relationships", "relationships"), QString::number(props.MarriageCount)},
        {Label("Pictures", "properties"), QString::number(props.PictureCount)},
    };
    for (const auto& [label, value] : lines)
        Out() << label << ' ' << value << Qt::endl;
    return 0;
}

int TreeCompact(const QStringList& args) {
    const ErrorLines errors;
    if (args.size() != 1) {
        Err() << "usage: verdan-cli compact PATH" << Qt::endl;
        return 2;
    }
    // Compaction rewrites every page: a file that is not whole is left as it is.
    if (!OpenTreeFile(args[0]) || !CheckOpenTreeWhole()) {
        CloseTreeFile();
        return 1;
    }
    const qint64 before = GetFileSize(CurrentTreePath());
    const bool compacted = MaintainTreeFile();
    const QString path = CurrentTreePath();
    CloseTreeFile();
    if (!compacted)
        return 1;
    Out() << QDir::toNativeSeparators(path) << ' ' << before << " -> " << GetFileSize(path) << Qt::endl;
    return 0;
}

int TreeCheck(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional = args;
    const bool json = positional.removeAll(QStringLiteral("--json")) > 0;
    if (positional.size() != 1) {
        Err() << "usage: verdan-cli check PATH [--json]" << Qt::endl;
        return 2;
    }
    const QString path = positional[0];
    QJsonObject report;
    {
        // Not opened as a tree: a damaged file, or one that is refused for what it holds, is checked too.
        Tdm dm;
        if (!QFileInfo(path).isFile() || !dm.OpenReadOnly(path)) {
            Err() << Translate(QStringLiteral("Could not recognize the database.")) << '\n'
                  << QDir::toNativeSeparators(path) << Qt::endl;
            return 1;
        }
        const TTreeCheck check = CheckTreeFile(dm);
        if (json) {
            report.insert(QStringLiteral("damaged"), !check.Problems.isEmpty());
            report.insert(QStringLiteral("problems"), QJsonArray::fromStringList(check.Problems));
        }
        if (!check.Problems.isEmpty()) {
            if (json) {
                report.insert(QStringLiteral("findings"), QJsonArray());
                Out() << QJsonDocument(report).toJson(QJsonDocument::Indented);
                return 1;
            }
            Out() << Translate(QStringLiteral("The tree file is damaged.")) << Qt::endl;
            for (const QString& problem : check.Problems)
                Out() << problem << Qt::endl;
            return 1;
        }
        if (!json)
            Out() << Translate(QStringLiteral("No damage was found in the tree file.")) << Qt::endl;
    }
    // A sound file is then checked as a tree: the links between its persons.
    return CheckTreeLinks(path, json ? &report : nullptr);
}

} // namespace verdan::cli
