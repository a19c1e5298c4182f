// Times the outline on a tree made by scripts/gen_tree.py (100,000 persons unless --persons N says
// otherwise): opening the tree with its first level, expanding a man given 1,000 children, and expanding
// every node down to depth 6.

#include "bench_support.h"
#include "navigator/tree_model.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;
using verdan::bench::Ms;

namespace {

constexpr int kBigFamily = 1000;
constexpr qint64 kOpenLimitNs = 300'000'000;
constexpr qint64 kExpandLimitNs = 50'000'000;

// One man of the tree gets kBigFamily more children, half of them with his first wife.
QString AddBigFamily() {
    const QString father = Dm().ScalarText(QStringLiteral(
        "SELECT Person_Id FROM ftPerson WHERE Gender = 'm' AND Father_Id NOT IN ('-1', '0', '') LIMIT 1 "
        "OFFSET 1000"));
    const QString mother =
        Dm().ScalarText(QStringLiteral("SELECT Mother_Id FROM ftPerson WHERE Father_Id = ? LIMIT 1"), father);
    const QString insert = QStringLiteral(
        "INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, person_name, gender, "
        "order_by_father, order_by_mother, display_order, date_created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?)");
    Transaction transaction;
    for (int c = 1; c <= kBigFamily; ++c)
        Dm().Execute(insert, GetOwnerId(), NewGuidText(), father, c % 2 ? mother : QStringLiteral("0"),
                     QStringLiteral("Child %1").arg(c), c % 3 ? "m" : "f", 100 + c, 100 + c, 100 + c,
                     NowStamp());
    transaction.Commit();
    return father;
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int persons = bench::PersonsArgument(100000);
    QTemporaryDir work;
    SetProgramFolder(work.path() + QStringLiteral("/program/"));
    const QString path = bench::CopyOfGeneratedTree(persons, work);
    if (path.isEmpty() || !OpenTreeFile(path)) {
        std::fprintf(stderr, "cannot make the tree\n");
        return 1;
    }
    const QString bigFather = AddBigFamily();
    CloseTreeFile();

    TTreeModel model;
    QElapsedTimer timer;
    timer.start();
    if (!OpenTreeFile(path))
        return 1;
    model.FillTree();
    const qint64 open = timer.nsecsElapsed();
    std::printf("%d persons; open and first level (%d nodes): %.1f ms (limit 300 ms)\n", CountPersons(),
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
    const bool ok = open < kOpenLimitNs && expand < kExpandLimitNs;
    std::printf("%s\n", ok ? "within limits" : "OVER LIMITS");
    return ok ? 0 : 1;
}
