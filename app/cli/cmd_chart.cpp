#include "chart/chart.h"
#include "chart/chart_export.h"
#include "chart/chart_file.h"
#include "cli_commands.h"
#include "storage/tree_file.h"
#include "text/sml.h"
#include "text/typed_numbers.h"

#include <QDir>
#include <QFileInfo>

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
    int generations = 1;
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
            ok = number(a.generations, 1, 50);
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

// Adds the asked relatives around the item, generation by generation.
void BuildAround(TChart& chart, QString id, const ChartArgs& a) {
    QStringList down{id};
    QStringList up{id};
    for (int generation = 0; generation < a.generations; ++generation) {
        QStringList nextDown;
        QStringList nextUp;
        if (a.children) {
            for (const QString& parent : std::as_const(down)) {
                const qsizetype before = chart.Persons().size();
                chart.ShowChildren(chart.IndexOf(parent));
                for (qsizetype k = before; k < chart.Persons().size(); ++k)
                    nextDown << chart.Person(int(k)).Id;
            }
        }
        if (a.parents) {
            for (const QString& child : std::as_const(up)) {
                const int index = chart.IndexOf(child);
                if (index < 0)
                    continue;
                chart.ShowParents(index);
                for (const QString& parent : {chart.Person(chart.IndexOf(child)).FatherId,
                                              chart.Person(chart.IndexOf(child)).MotherId})
                    if (chart.IndexOf(parent) >= 0)
                        nextUp << chart.Person(chart.IndexOf(parent)).Id;
            }
        }
        down = nextDown;
        up = nextUp;
    }
    if (a.spouses)
        chart.ShowSpouses(chart.IndexOf(id));
    chart.DeselectAll();
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
    } else if (!a.parents && !a.children && !a.spouses) {
        if (chart.FullBuild(a.person, QPoint(40, 40)) < 0)
            status = Fail(QStringLiteral("no person ") + a.person + QStringLiteral(" in the tree"));
    } else {
        const int index = chart.AddPersonAt(a.person, QPoint(40, 40));
        if (index < 0)
            status = Fail(QStringLiteral("no person ") + a.person + QStringLiteral(" in the tree"));
        else
            BuildAround(chart, chart.Person(index).Id, a);
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
