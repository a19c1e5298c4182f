#include "user_options.h"

#include "text/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace verdan {

namespace {

const QString kLanguageFile = QStringLiteral("Language File");
const QString kLastCreatedLocation = QStringLiteral("Last Created Location");
const QString kLastOpenedProject = QStringLiteral("Last Opened Project");
const QString kOpenLastTree = QStringLiteral("Open last Tree on startup");
const QString kTreeFontSize = QStringLiteral("Tree Font Size");
const QString kLevelsHasColors = QStringLiteral("Levels Has Colors");
const QString kMarkIfHasMate = QStringLiteral("Mark If Has Mate");
const QString kDataSections = QStringLiteral("Data Sections");
const QString kReportColumns = QStringLiteral("Report Columns");
const QString kHijriCalendar = QStringLiteral("Hijri Calendar");
const QString kTabular = QStringLiteral("tabular");
const QString kUmmAlQura = QStringLiteral("umm al-qura");

// The language file as the options document keeps it: relative to the program folder.
QString RelativeToProgramFolder(const QString& path) {
    if (path.trimmed().isEmpty())
        return path;
    const QDir folder(ProgramFolder());
    return folder.relativeFilePath(folder.absoluteFilePath(path));
}

} // namespace

TOptions& Options() {
    static TOptions options;
    return options;
}

QString OptionsFileName() {
    return ProgramFolder() + QStringLiteral("user/options.sml");
}

TNode OptionsToNode(const TOptions& options) {
    TNode root;
    root.Name = QStringLiteral("Options");
    root.Add(kLanguageFile, RelativeToProgramFolder(options.LanguageFile));
    root.Add(kLastCreatedLocation, options.LastCreatedLocation);
    root.Add(kLastOpenedProject, options.LastOpenedProject);
    root.AddBool(kOpenLastTree, options.OpenLastTreeOnStartup);
    root.AddInt(kTreeFontSize, options.TreeFontSize);
    root.AddBool(kLevelsHasColors, options.LevelsHasColors);
    root.AddBool(QStringLiteral("Mark IF Has Mate"), options.MarkIfHasMate);
    root.Add(kHijriCalendar, options.UmmAlQura ? kUmmAlQura : kTabular);
    if (!options.DataSections.isEmpty()) {
        TNode sections;
        sections.Name = kDataSections;
        for (const TDataSection& section : options.DataSections)
            sections.AddBool(section.Name, !section.Hidden);
        root.AddNode(sections);
    }
    if (!options.ReportColumns.isEmpty()) {
        TNode reports;
        reports.Name = kReportColumns;
        for (const TReportColumnChoice& choice : options.ReportColumns)
            reports.Add(choice.Report, choice.Fields.join(u','));
        root.AddNode(reports);
    }
    return root;
}

TOptions OptionsFromNode(const TNode& root) {
    TOptions options;
    options.LanguageFile = root.ChildValue(kLanguageFile);
    options.LastCreatedLocation = root.ChildValue(kLastCreatedLocation);
    options.LastOpenedProject = root.ChildValue(kLastOpenedProject);
    options.OpenLastTreeOnStartup = root.Child(kOpenLastTree).AsBoolean();
    options.TreeFontSize = root.Child(kTreeFontSize).AsInteger();
    options.LevelsHasColors = root.Child(kLevelsHasColors).AsBoolean();
    options.MarkIfHasMate = root.Child(kMarkIfHasMate).AsBoolean();
    options.UmmAlQura =
        root.ChildValue(kHijriCalendar).trimmed().compare(kUmmAlQura, Qt::CaseInsensitive) == 0;
    for (const TNode& section : root.Child(kDataSections).Children)
        options.DataSections.append({section.Name, !section.AsBoolean()});
    for (const TNode& report : root.Child(kReportColumns).Children)
        options.ReportColumns.append({report.Name, report.Value.split(u',', Qt::SkipEmptyParts)});
    return options;
}

bool LoadOptions() {
    TSML doc;
    if (!QFile::exists(OptionsFileName()) || !doc.LoadFromFile(OptionsFileName()))
        return false;
    Options() = OptionsFromNode(doc.Root);
    return true;
}

bool SaveOptions() {
    QDir().mkpath(ProgramFolder() + QStringLiteral("user"));
    TSML doc;
    doc.FileName = OptionsFileName();
    doc.Root = OptionsToNode(Options());
    return doc.Save();
}

QString DefaultNewTreeLocation() {
    const QString last = Options().LastCreatedLocation.trimmed();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return ProgramFolder() + QStringLiteral("data");
}

} // namespace verdan
