#include "chart/chart.h"
#include "chart/chart_export.h"
#include "chart/chart_file.h"
#include "cli_commands.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/sml.h"
#include "text/typed_numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace verdan::cli {

namespace {

int Fail(const QString& message) {
    Err() << "verdan-cli chart: " << message << Qt::endl;
    return 1;
}

struct ChartArgs {
    QString tree;
    QString person;
    QString open;
    QString out;
    QString save;
    bool parents = false;
    bool children = false;
    bool spouses = false;
    bool dates = false;
    bool pictures = false;
    bool daughters = false;
    bool leftToRight = false;
    bool rootBelow = false;
    bool arrange = false;
    QString calendar;
    int generations = -1;
    int up = -1;
    int down = -1;
    int zoom = 0;
};

bool ParseArgs(const QStringList& args, ChartArgs& a, QString& error) {
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size()) {
                error = arg + QStringLiteral(" needs a value");
                return false;
            }
            into = args[++i];
            return true;
        };
        auto number = [&](int& into, int low, int high) {
            QString text;
            if (!value(text))
                return false;
            const std::optional<int> read = ReadTypedInteger(text);
            into = read.value_or(0);
            if (!read || into < low || into > high) {
                error = arg + QStringLiteral(" needs a number from %1 to %2").arg(low).arg(high);
                return false;
            }
            return true;
        };
        bool ok = true;
        if (arg == u"--open")
            ok = value(a.open);
        else if (arg == u"--out")
            ok = value(a.out);
        else if (arg == u"--save")
            ok = value(a.save);
        else if (arg == u"--generations")
            ok = number(a.generations, 0, 200);
        else if (arg == u"--up")
            ok = number(a.up, 0, 200);
        else if (arg == u"--down")
            ok = number(a.down, 0, 200);
        else if (arg == u"--daughters")
            a.daughters = true;
        else if (arg == u"--ltr")
            a.leftToRight = true;
        else if (arg == u"--root-bottom")
            a.rootBelow = true;
        else if (arg == u"--arrange")
            a.arrange = true;
        else if (arg == u"--calendar")
            ok = value(a.calendar);
        else if (arg == u"--zoom")
            ok = number(a.zoom, 10, 200);
        else if (arg == u"--parents")
            a.parents = true;
        else if (arg == u"--children")
            a.children = true;
        else if (arg == u"--spouses")
            a.spouses = true;
        else if (arg == u"--dates")
            a.dates = true;
        else if (arg == u"--pictures")
            a.pictures = true;
        else if (arg.startsWith(QLatin1String("--")))
            ok = (error = QStringLiteral("unknown option ") + arg, false);
        else
            positional << arg;
        if (!ok)
            return false;
    }
    if (!a.calendar.isEmpty() && a.calendar != u"hijri" && a.calendar != u"gregorian" &&
        a.calendar != u"both") {
        error = QStringLiteral("--calendar takes hijri, gregorian or both");
        return false;
    }
    if (a.out.isEmpty() && a.save.isEmpty()) {
        error = QStringLiteral("--out FILE is needed");
        return false;
    }
    if (a.open.isEmpty()) {
        if (positional.size() != 2) {
            error = QStringLiteral("a tree file and a person identifier are needed");
            return false;
        }
        a.tree = positional[0];
        a.person = positional[1];
    } else if (positional.size() > 1) {
        error = QStringLiteral("unexpected argument ") + positional[1];
        return false;
    } else {
        a.tree = positional.value(0);
    }
    return true;
}

// The tree a chart file belongs to: the one it names, in the chart's folder.
QString TreeOfChart(const QString& chartFile) {
    TSML document;
    if (!document.LoadFromFile(chartFile))
        return QString();
    const QString name =
        document.FindNode(QStringLiteral("Chart")).ChildValue(QStringLiteral("Tree File Name"));
    return name.isEmpty() ? QString() : QFileInfo(chartFile).absoluteDir().filePath(name);
}

// The generations asked for: --up and --down; --generations N alone means N of each, with --parents or
// --children N in that direction only; nothing at all means one of each (the full build).
std::pair<int, int> Generations(const ChartArgs& a) {
    const int n = a.generations >= 0 ? a.generations : 1;
    int up = n;
    int down = n;
    if (a.parents || a.children) {
        up = a.parents ? n : 0;
        down = a.children ? n : 0;
    }
    return {a.up >= 0 ? a.up : up, a.down >= 0 ? a.down : down};
}

// The root's spouses and those of everybody below him, each wife with her children under her.
void ShowSpousesBelow(TChart& chart) {
    if (chart.IndexOf(chart.RootId) < 0)
        return;
    QHash<QString, QStringList> children;
    for (const TPersonObject& item : chart.Persons())
        for (const QString& parent : {item.FatherId, item.MotherId})
            if (!parent.isEmpty())
                children[ChartIdKey(parent)] << item.Id;
    QStringList ids{chart.RootId};
    QSet<QString> seen{ChartIdKey(chart.RootId)};
    for (qsizetype k = 0; k < ids.size(); ++k)
        for (const QString& child : children.value(ChartIdKey(ids[k])))
            if (!seen.contains(ChartIdKey(child))) {
                seen.insert(ChartIdKey(child));
                ids << child;
            }
    chart.ShowSpousesOf(ids);
}

} // namespace

// chart TREE.vrd PERSON_ID [...] --out FILE: draws a chart around a person and exports it; chart [TREE.vrd]
// --open FILE.chart --out FILE: exports a saved chart (its tree is found beside it when not given).
int Chart(const QStringList& args) {
    const ErrorLines errors;
    ChartArgs a;
    QString error;
    if (!ParseArgs(args, a, error))
        return Fail(error);
    if (a.tree.isEmpty())
        a.tree = TreeOfChart(a.open);
    if (a.tree.isEmpty())
        return Fail(QStringLiteral("the chart names no tree file; give one"));
    if (!OpenTreeFile(a.tree, TOpenAccess::ReadOnly))
        return 1;
    TChart chart;
    chart.Defaults.ShowPicture = a.pictures;
    chart.Defaults.ShowDates = a.dates;
    chart.SetLinkType(TLinkType::Stick);
    int status = 0;
    if (!a.open.isEmpty()) {
        if (!ReadChart(chart, a.open).Ok)
            status = 1;
        else if (a.arrange)
            chart.Arrange();
    } else {
        if (!a.calendar.isEmpty())
            chart.SetDatesShown(a.calendar == u"gregorian" ? TDateShown::Gregorian
                                : a.calendar == u"both"    ? TDateShown::Both
                                                           : TDateShown::Hijri,
                                false);
        chart.SetLeftToRight(a.leftToRight);
        chart.SetRootAtTop(!a.rootBelow);
        const auto [up, down] = Generations(a);
        if (chart.BuildGenerations(a.person, up, down, a.daughters) < 0)
            status = Fail(QStringLiteral("no person ") + a.person + QStringLiteral(" in the tree"));
        else if (a.spouses)
            ShowSpousesBelow(chart);
    }
    if (status == 0 && a.zoom > 0)
        chart.SetZoom(float(a.zoom) / 100.0f);
    if (status == 0 && !a.save.isEmpty() && !WriteChart(chart, a.save))
        status = 1;
    if (status == 0 && !a.out.isEmpty()) {
        if (ExportChart(chart, a.out, &error))
            Out() << QDir::toNativeSeparators(a.out) << ' ' << chart.Persons().size() << " persons"
                  << Qt::endl;
        else
            status = Fail(error);
    }
    CloseTreeFile();
    return status;
}

} // namespace verdan::cli
