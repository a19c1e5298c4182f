// Times the outline on a generated tree of 100,000 persons: opening the tree with its first level, expanding
// a man with 1,000 children, and expanding every node down to depth 6.

#include "navigator/tree_model.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

using namespace verdan;

namespace {

constexpr int kPersons = 100000;
constexpr int kFounders = 12;
constexpr int kBigFamily = 1000;

// Founders on the first level, then generation by generation every man gets two to seven children, some
// with a wife taken from the women already made; one man gets kBigFamily children. A few persons carry
// display options.
QString GenerateTree() {
    std::mt19937 random(20240607);
    const QString owner = GetOwnerId();
    const QString stamp = NowStamp();
    const QString insert =
        QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, person_name, "
                       "gender, order_by_father, "
                       "order_by_mother, display_order, date_created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int count = 0;
    QStringList women;
    auto add = [&](const QString& father, const QString& mother, bool male, int order) {
        const QString id = NewGuidText();
        Dm().Execute(insert, owner, id, father, mother, QStringLiteral("Person %1").arg(++count),
                     male ? "m" : "f", order, order, order, stamp);
        if (!male)
            women << id;
        return id;
    };
    Transaction transaction;
    QStringList generation;
    for (int f = 1; f <= kFounders; ++f)
        generation << add(QStringLiteral("-1"), QStringLiteral("0"), true, f);
    QString bigFather;
    while (count < kPersons) {
        QStringList next;
        for (const QString& father : generation) {
            if (count >= kPersons)
                break;
            QString mother = QStringLiteral("0");
            if (!women.isEmpty() && random() % 3 != 0) {
                mother = women[random() % women.size()];
                Dm().Execute(QStringLiteral("INSERT INTO ftRelation (owner_id, person_id_1, person_id_2, "
                                            "relation_type, is_active) VALUES (?, ?, ?, 0, 1)"),
                             owner, father, mother);
            }
            const int children = bigFather.isEmpty() && count > 2000 ? kBigFamily : 2 + random() % 6;
            if (children == kBigFamily)
                bigFather = father;
            for (int c = 1; c <= children && count < kPersons; ++c) {
                const bool male = random() % 2 == 0;
                const QString child = add(father, mother, male, c);
                if (male)
                    next << child;
                if (random() % 50 == 0)
                    Dm().Execute(QStringLiteral("INSERT INTO ftPersonOption (person_id, color, title) "
                                                "VALUES (?, 255, 'Sheikh')"),
                                 child);
            }
        }
        generation = next;
    }
    transaction.Commit();
    return bigFather;
}

// Expands every node down to the given level below the root; returns the number of nodes expanded and the
// slowest single expansion.
int ExpandToDepth(TTreeModel& model, const QModelIndex& parent, int depth, qint64& slowestNs) {
    int expanded = 0;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        if (model.Level(child) > depth || !model.hasChildren(child))
            continue;
        QElapsedTimer timer;
        timer.start();
        model.ExpandPersonNode(child);
        slowestNs = std::max(slowestNs, timer.nsecsElapsed());
        ++expanded;
        expanded += ExpandToDepth(model, child, depth, slowestNs);
    }
    return expanded;
}

double Ms(qint64 ns) {
    return static_cast<double>(ns) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    TTreeProperty props;
    props.BasePath = dir.path();
    props.FolderName = QStringLiteral("bench");
    props.FileName = QStringLiteral("bench.vrd");
    props.TreeName = QStringLiteral("Bench");
    const QString path = CreateTreeFolderAndFile(props);
    if (path.isEmpty() || !OpenTreeFile(path) || !InitialiseNewTree(props)) {
        std::fprintf(stderr, "cannot create the tree\n");
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const QString bigFather = GenerateTree();
    std::printf("generated %d persons in %.0f ms\n", CountPersons(), Ms(timer.nsecsElapsed()));
    CloseTreeFile();

    TTreeModel model;
    timer.restart();
    if (!OpenTreeFile(path))
        return 1;
    model.FillTree();
    const qint64 open = timer.nsecsElapsed();
    std::printf("open and first level (%d nodes): %.1f ms (limit 300 ms)\n",
                model.rowCount(model.RootIndex()), Ms(open));

    // Located first, then dropped again, so the timed expansion is a fresh load.
    const QModelIndex big = model.LocatePerson(bigFather);
    model.ResetNode(big);
    timer.restart();
    model.ExpandPersonNode(big);
    const qint64 expand = timer.nsecsElapsed();
    std::printf("expand %d children: %.1f ms (limit 50 ms)\n", model.rowCount(big), Ms(expand));
    model.ClearTree();
    model.FillTree();

    qint64 slowest = 0;
    timer.restart();
    const int nodes = ExpandToDepth(model, model.RootIndex(), 6, slowest);
    const qint64 all = timer.nsecsElapsed();
    std::printf("expand to depth 6: %d expansions in %.0f ms, %.3f ms each, slowest %.1f ms\n", nodes,
                Ms(all), nodes ? Ms(all) / nodes : 0.0, Ms(slowest));
    CloseTreeFile();
    const bool ok = open < 300'000'000 && expand < 50'000'000 && slowest < 50'000'000;
    std::printf("%s\n", ok ? "within limits" : "OVER LIMITS");
    return ok ? 0 : 1;
}
