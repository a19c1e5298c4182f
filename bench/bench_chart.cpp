// Times family charts: a man's descendants over five generations (500 persons; --persons N) built, laid out
// and exported to PNG; repainting a screen-sized view of it at several zooms; and opening a chart file of
// 2,000 persons (--open-persons N).

#include "bench_support.h"
#include "chart/chart.h"
#include "chart/chart_export.h"
#include "chart/chart_file.h"
#include "chart/chart_painter.h"
#include "storage/database.h"
#include "storage/person_store.h"

#include <QGuiApplication>
#include <cmath>
#include <cstring>

using namespace verdan;
using verdan::bench::Stopwatch;

namespace {

// A man whose descendants over five generations make `persons` persons in all: every person of the first
// four generations gets the same number of children, give or take one. Returns the man.
QString GenerateFamily(int persons, const QString& name) {
    const QString owner = GetOwnerId();
    const QString insert = QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, "
                                          "person_name, gender, order_by_father, date_created) "
                                          "VALUES (?, ?, ?, '0', ?, ?, ?, ?)");
    const QString stamp = NowStamp();
    double branching = 1.0;
    while (1 + branching + std::pow(branching, 2) + std::pow(branching, 3) + std::pow(branching, 4) < persons)
        branching += 0.01;
    Transaction transaction;
    int count = 0;
    auto add = [&](const QString& father, int order) {
        const QString id = NewGuidText();
        Dm().Execute(insert, owner, id, father, QStringLiteral(u"%1 %2 بن فلان").arg(name).arg(++count),
                     QStringLiteral("m"), order, stamp);
        return id;
    };
    const QString root = add(QStringLiteral("-1"), 1);
    QStringList generation{root};
    for (int depth = 1; depth <= 4 && count < persons; ++depth) {
        const int wanted = depth == 4 ? persons - count : int(std::round(std::pow(branching, depth)));
        QStringList next;
        for (int k = 0; k < wanted && count < persons; ++k)
            next << add(generation[k % generation.size()], int(k / generation.size()) + 1);
        generation = next;
    }
    transaction.Commit();
    return root;
}

// The root with every generation of children below it, as a user opens them one by one.
void BuildDescendants(TChart& chart, const QString& root) {
    chart.FullBuild(root, QPoint(150, 150));
    QStringList generation;
    for (const TPersonObject& item : chart.Persons())
        if (SameId(item.FatherId, root))
            generation << item.Id;
    while (!generation.isEmpty()) {
        QStringList next;
        for (const QString& id : std::as_const(generation)) {
            const qsizetype before = chart.Persons().size();
            chart.ShowChildren(chart.IndexOf(id));
            for (qsizetype k = before; k < chart.Persons().size(); ++k)
                next << chart.Person(int(k)).Id;
        }
        generation = next;
    }
    chart.DeselectAll();
}

int Option(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::atoi(argv[i + 1]);
    return fallback;
}

void Report(const char* what, const Stopwatch& timer, const char* target) {
    std::printf("%-58s %9.1f ms wall %9.1f ms cpu   (target %s)\n", what, double(timer.nsecsElapsed()) / 1e6,
                double(timer.cpuNsecs()) / 1e6, target);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int persons = Option(argc, argv, "--persons", 500);
    const int openPersons = Option(argc, argv, "--open-persons", 2000);
    QTemporaryDir dir;
    if (!bench::OpenBenchTree(dir))
        return 1;
    const QString root = GenerateFamily(persons, QStringLiteral(u"محمد"));
    const QString big = GenerateFamily(openPersons, QStringLiteral(u"علي"));

    Stopwatch timer;
    TChart chart;
    chart.Defaults.ShowPicture = false;
    BuildDescendants(chart, root);
    QString error;
    const bool exported = ExportImage(chart, dir.path() + QStringLiteral("/chart.png"), ".png", &error);
    Report("build, lay out and export to PNG", timer, "< 500 ms");
    std::printf("  %lld persons, picture %d x %d%s\n", static_cast<long long>(chart.Persons().size()),
                ChartPictureSize(chart).width(), ChartPictureSize(chart).height(),
                exported ? "" : qPrintable(QStringLiteral(", export failed: ") + error));

    // The view is 1600 x 900 pixels, scrolled to the middle of the chart. The first paint at a zoom lays its
    // texts out; repaints (scrolling, selecting, moving) reuse them.
    QImage view(1600, 900, QImage::Format_RGB32);
    TChartPaintCache cache;
    double slowestFirst = 0;
    double slowestRepaint = 0;
    for (float zoom : {0.1f, 0.3f, 0.5f, 1.0f, 2.0f}) {
        chart.SetZoom(zoom);
        const QSize extents = chart.Extents();
        chart.ScrollX = std::max(0, extents.width() / 2 - int(800 / zoom));
        chart.ScrollY = std::max(0, extents.height() / 2 - int(450 / zoom));
        double first = 0;
        double repaint = 0;
        for (int repeat = 0; repeat < 10; ++repeat) {
            view.fill(Qt::white);
            Stopwatch paint;
            QPainter painter(&view);
            PaintChart(chart, painter, chart.Mapping(), view.size(), false, &cache);
            painter.end();
            const double ms = double(paint.cpuNsecs()) / 1e6;
            if (repeat == 0)
                first = ms;
            else
                repaint = std::max(repaint, ms);
        }
        std::printf("  zoom %3.0f %%: first paint %5.1f ms cpu, repaint %5.1f ms cpu\n", double(zoom) * 100,
                    first, repaint);
        slowestFirst = std::max(slowestFirst, first);
        slowestRepaint = std::max(slowestRepaint, repaint);
    }
    std::printf("%-58s %9.1f ms cpu                     (target < 16 ms)\n",
                "slowest repaint of the view, zoom 10 % to 200 %", slowestRepaint);
    std::printf("%-58s %9.1f ms cpu\n", "slowest first paint after a zoom change", slowestFirst);

    TChart large;
    large.Defaults.ShowPicture = false;
    BuildDescendants(large, big);
    const QString file = dir.path() + QStringLiteral("/large.chart");
    if (!WriteChart(large, file))
        return 1;
    TChart opened;
    timer.restart();
    const TChartReadResult read = ReadChartQuietly(opened, file);
    Report("open a chart file", timer, "< 1000 ms");
    std::printf("  %lld persons%s\n", static_cast<long long>(opened.Persons().size()),
                read.Ok ? "" : ", failed");
    CloseTreeFile();
    return exported && read.Ok ? 0 : 1;
}
