// Times family charts on a family of --persons N (10,000 by default): one founder's descendants over as
// many generations as it takes, with wives, as a real family grows. It times reading the chart from the
// tree, the automatic layout (the geometry alone and the whole placement), repainting a screen-sized view,
// the wall poster written to PDF with the memory it takes, and opening a chart file of 2,000 persons
// (--open-persons N).

#include "bench_support.h"
#include "chart/chart.h"
#include "chart/chart_export.h"
#include "chart/chart_file.h"
#include "chart/chart_layout.h"
#include "chart/chart_painter.h"
#include "chart/chart_poster.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_info.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <cstring>

using namespace verdan;
using verdan::bench::Stopwatch;

namespace {

// A founder's descendants, `persons` in all: each man marries one wife (now and then two), and each couple
// has from one to six children; generation after generation until the count is reached.
QString GenerateBranch(int persons, const QString& name) {
    const QString owner = GetOwnerId();
    const QString person =
        QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, "
                       "person_name, gender, order_by_father, date_of_birth_h, date_created) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QString marriage =
        QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type, "
                       "relation_order_2) VALUES (?, ?, 0, ?)");
    const QString stamp = NowStamp();
    QRandomGenerator random(11);
    Transaction transaction;
    int count = 0;
    auto add = [&](const QString& father, const QString& mother, bool male, int order, int year) {
        const QString id = NewGuidText();
        Dm().Execute(person, owner, id, father, mother,
                     QStringLiteral(u"%1 %2").arg(male ? name : QStringLiteral(u"فاطمة")).arg(++count),
                     male ? QStringLiteral("m") : QStringLiteral("f"), order, year * 10000 + 101, stamp);
        return id;
    };
    const QString root = add(QStringLiteral("-1"), QStringLiteral("0"), true, 1, 1100);
    QList<std::pair<QString, int>> generation{{root, 1100}};
    while (count < persons && !generation.isEmpty()) {
        QList<std::pair<QString, int>> next;
        for (const auto& [man, year] : std::as_const(generation)) {
            const int wives = random.bounded(8) == 0 ? 2 : 1;
            int order = 0;
            for (int w = 0; w < wives && count < persons; ++w) {
                const QString wife = add(QStringLiteral("-1"), QStringLiteral("0"), false, 1, year + 2);
                Dm().Execute(marriage, man, wife, w + 1);
                const int children = 1 + int(random.bounded(6));
                for (int c = 0; c < children && count < persons; ++c) {
                    const bool son = random.bounded(2) == 0;
                    const QString child = add(man, wife, son, ++order, year + 25 + c * 2);
                    if (son)
                        next.append({child, year + 25 + c * 2});
                }
            }
        }
        // A line never dies out before the family has its size: the last man gets a son.
        if (next.isEmpty() && count < persons && !generation.isEmpty())
            next.append(
                {add(generation.last().first, QStringLiteral("0"), true, 99, generation.last().second + 30),
                 generation.last().second + 30});
        generation = next;
    }
    transaction.Commit();
    return root;
}

int Option(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::atoi(argv[i + 1]);
    return fallback;
}

void Memory(const char* when) {
    std::printf("  memory %s: %.0f MB resident, %.0f MB at most\n", when, bench::ResidentMegabytes(),
                bench::PeakResidentMegabytes());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int persons = bench::PersonsArgument(10000);
    const int openPersons = Option(argc, argv, "--open-persons", 2000);
    QTemporaryDir dir;
    if (!bench::OpenBenchTree(dir))
        return 1;
    const QString root = GenerateBranch(persons, QStringLiteral(u"محمد"));
    std::printf("a branch of %d persons\n", CountPersons());
    Memory("with the tree open");

    Stopwatch timer;
    TChart chart;
    chart.Defaults.ShowPicture = false;
    chart.Defaults.ShowDates = true;
    chart.BuildGenerations(root, 0, 200, true);
    QStringList everybody;
    for (const TPersonObject& item : chart.Persons())
        everybody << item.Id;
    chart.ShowSpousesOf(everybody);
    bench::ReportTiming("read the chart from the tree and lay it out", timer, "-");
    std::printf("  %lld persons, %lld marks\n", static_cast<long long>(chart.Persons().size()),
                static_cast<long long>(chart.Maritals().size()));

    // The layout alone: boxes and links in, positions out.
    QList<TLayoutPerson> input;
    {
        QHash<QString, int> index;
        for (int i = 0; i < chart.Persons().size(); ++i)
            index.insert(ChartIdKey(chart.Person(i).Id), i);
        for (const TPersonObject& item : chart.Persons()) {
            TLayoutPerson p;
            p.Width = item.Box.Width;
            p.Height = item.TextRect.Height();
            p.Male = item.Gender != u"f";
            p.Father = index.value(ChartIdKey(item.FatherId), -1);
            p.Mother = index.value(ChartIdKey(item.MotherId), -1);
            input << p;
        }
        for (const TMarital& m : chart.Maritals()) {
            const int a = index.value(ChartIdKey(m.HusbandId), -1);
            const int b = index.value(ChartIdKey(m.WifeId), -1);
            if (a >= 0 && b >= 0) {
                input[a].Spouses << b;
                input[b].Spouses << a;
            }
        }
    }
    TLayoutOptions options;
    options.Root = chart.IndexOf(root);
    double slowest = 0;
    for (int repeat = 0; repeat < 5; ++repeat) {
        timer.restart();
        const TLayoutResult result = LayOutFamilies(input, options);
        slowest = std::max(slowest, bench::Ms(timer.cpuNsecs()));
    }
    std::printf("%-64s %8.1f ms cpu                   (target 200 ms)\n",
                "layout of the chart (geometry, slowest of 5)", slowest);
    timer.restart();
    chart.Arrange();
    bench::ReportTiming("arrange the chart (layout, marks, sticks)", timer, "200 ms");
    const QSize extents = chart.Extents();
    std::printf("  %d x %d chart units\n", extents.width(), extents.height());

    // A screen-sized view in the middle of the chart, at several zooms.
    QImage view(1600, 900, QImage::Format_RGB32);
    TChartPaintCache cache;
    double slowestRepaint = 0;
    for (float zoom : {0.1f, 0.5f, 1.0f, 2.0f}) {
        chart.SetZoom(zoom);
        chart.ScrollX = std::max(0, extents.width() / 2 - int(800 / zoom));
        chart.ScrollY = std::max(0, extents.height() / 2 - int(450 / zoom));
        for (int repeat = 0; repeat < 5; ++repeat) {
            view.fill(Qt::white);
            Stopwatch paint;
            QPainter painter(&view);
            PaintChart(chart, painter, chart.Mapping(), view.size(), false, &cache);
            painter.end();
            if (repeat > 0)
                slowestRepaint = std::max(slowestRepaint, bench::Ms(paint.cpuNsecs()));
        }
    }
    std::printf("%-64s %8.1f ms cpu\n", "slowest repaint of a 1600 x 900 view, zoom 10 % to 200 %",
                slowestRepaint);

    // The wall poster of the whole branch, to PDF.
    Memory("before the poster");
    timer.restart();
    TChart posterChart;
    TPosterOptions posterOptions;
    posterOptions.PersonId = root;
    posterOptions.Spouses = true;
    posterOptions.Daughters = true;
    QString error;
    const QString pdf = dir.filePath(QStringLiteral("poster.pdf"));
    const bool built = BuildPosterChart(posterChart, posterOptions) >= 0;
    const bool written = built && ExportPoster(TPoster(posterChart, posterOptions), pdf, &error);
    bench::ReportTiming("poster of the branch to PDF (read, lay out, draw, write)", timer,
                        persons > 50000 ? "30 s" : "3 s");
    std::printf("  %lld persons, %.1f MB PDF%s\n", static_cast<long long>(posterChart.Persons().size()),
                QFileInfo(pdf).size() / 1e6, written ? "" : qPrintable(QStringLiteral(", failed: ") + error));
    Memory("after the poster");
    // Tiles of a poster that size would be thousands of sheets; they are timed on smaller families.
    if (persons <= 20000) {
        const QString tiles = dir.filePath(QStringLiteral("tiles.pdf"));
        posterOptions.Tiles = true;
        timer.restart();
        const TPoster tiledPoster(posterChart, posterOptions);
        const bool tiled = ExportPoster(tiledPoster, tiles, &error);
        bench::ReportTiming("the same poster in A3 tiles with the assembly sheet", timer, "-");
        std::printf("  %d sheets, %.1f MB PDF%s\n", tiledPoster.TileCount() + 1, QFileInfo(tiles).size() / 1e6,
                    tiled ? "" : ", failed");
    }

    // A chart file read back.
    TChart large;
    large.Defaults.ShowPicture = false;
    large.AddPersons(everybody.mid(0, openPersons));
    large.Arrange();
    const QString file = dir.filePath(QStringLiteral("large.chart"));
    if (!WriteChart(large, file))
        return 1;
    TChart opened;
    timer.restart();
    const TChartReadResult read = ReadChartQuietly(opened, file);
    bench::ReportTiming("open a chart file", timer, "1000 ms");
    std::printf("  %lld persons%s\n", static_cast<long long>(opened.Persons().size()),
                read.Ok ? "" : ", failed");
    CloseTreeFile();
    return written && read.Ok ? 0 : 1;
}
