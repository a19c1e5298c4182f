// Times the person store on a generated tree of 100,000 persons (--persons N for another size): lineage names of everyone, the children
// of a man with 1,000 children, a descendant count over the whole tree, a two-word search and 10,000 new
// children with their order.

#include "bench_support.h"
#include "storage/database.h"
#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

using namespace verdan;
using verdan::bench::Stopwatch;

namespace {

int kPersons = 100000;
constexpr int kBigFamily = 1000;
constexpr int kNewChildren = 10000;

struct Generated {
    QString root;
    QString bigFather;
    QStringList ids;
};

// Generation by generation: every man gets a wife taken from the women already made (or none) and two to
// six children, until the tree holds kPersons persons. One man gets kBigFamily children.
Generated GenerateTree() {
    Generated tree;
    std::mt19937 random(20240601);
    const QString owner = GetOwnerId();
    const QString stamp = NowStamp();
    const QString sql =
        "INSERT INTO ftPerson (Owner_Id, Person_Id, Father_Id, Mother_Id, Person_Name, Gender, "
        "Last_Name, Notes, Order_By_Father, Order_By_Mother, Display_Order, Date_Created) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    const QStringList firstNames = {QStringLiteral(u"محمد"), QStringLiteral(u"أحمد"), QStringLiteral(u"علي"),
                                    QStringLiteral(u"حسن"),  QStringLiteral(u"عمر"),  QStringLiteral(u"خالد"),
                                    QStringLiteral(u"سعد"),  QStringLiteral(u"يوسف")};
    const QStringList notes = {"born in the old quarter", "merchant", "teacher at the school", "", "", ""};
    QStringList women;
    QStringList men;
    auto add = [&](const QString& father, const QString& mother, bool male, int order) {
        const QString id = NewGuidText();
        const QString name = firstNames[random() % firstNames.size()] + QString::number(tree.ids.size());
        Dm().Execute(sql, owner, id, father, mother, name, male ? "m" : "f", "Family",
                     notes[random() % notes.size()], order, order, order, stamp);
        tree.ids << id;
        (male ? men : women) << id;
        return id;
    };
    Transaction transaction;
    tree.root = add("-1", "0", true, 1);
    QStringList generation{tree.root};
    while (tree.ids.size() < kPersons) {
        QStringList next;
        for (const QString& father : generation) {
            if (tree.ids.size() >= kPersons)
                break;
            const QString mother =
                women.isEmpty() || random() % 4 == 0 ? QString("0") : women[random() % women.size()];
            const int children =
                tree.bigFather.isEmpty() && tree.ids.size() > 1000 ? kBigFamily : 2 + random() % 5;
            if (children == kBigFamily)
                tree.bigFather = father;
            for (int c = 1; c <= children && tree.ids.size() < kPersons; ++c) {
                const bool male = random() % 2 == 0;
                const QString child = add(father, mother, male, c);
                if (male)
                    next << child;
            }
        }
        if (next.isEmpty())
            next = men;
        generation = next;
    }
    transaction.Commit();
    return tree;
}

void Report(const char* what, const Stopwatch& timer, const char* target, int repeats = 1) {
    std::printf("%-56s %9.1f ms wall %9.1f ms cpu   (target %s)\n", what,
                timer.nsecsElapsed() / 1e6 / repeats, timer.cpuNsecs() / 1e6 / repeats, target);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    kPersons = bench::PersonsArgument(kPersons);
    QTemporaryDir folder;
    if (!bench::OpenBenchTree(folder))
        return 1;
    Stopwatch timer;
    const Generated tree = GenerateTree();
    std::printf("generated %lld persons in %.1f s\n", static_cast<long long>(tree.ids.size()),
                timer.nsecsElapsed() / 1e9);

    timer.restart();
    qint64 characters = 0;
    for (const QString& id : tree.ids)
        characters += GetLineageName(id).size();
    Report("GetLineageName of every person", timer, "< 2000 ms in total");
    if (characters == 0)
        return 1;

    TextTable table;
    timer.restart();
    ListChildrenIds(tree.bigFather, table);
    Report("ListChildrenIds of a man with 1,000 children (first)", timer, "< 20 ms");
    timer.restart();
    for (int i = 0; i < 20; ++i)
        ListChildrenIds(tree.bigFather, table);
    Report("ListChildrenIds of a man with 1,000 children (repeated)", timer, "< 20 ms", 20);
    if (table.size() != kBigFamily + 1)
        std::printf("  unexpected: %lld children listed\n", static_cast<long long>(table.size() - 1));

    ClearPersonIndex();
    timer.restart();
    const int descendants = CountDescendants(tree.root);
    Report("CountDescendants of the root, index built on the way", timer, "< 300 ms");
    timer.restart();
    CountDescendants(tree.root);
    Report("CountDescendants of the root, index ready", timer, "< 300 ms");
    std::printf("  %d descendants\n", descendants);

    TFindResultList results;
    timer.restart();
    SearchPersonTexts(QStringLiteral(u"محمد merchant"), results);
    Report("SearchPersonTexts for two words", timer, "-");
    std::printf("  %lld persons found\n", static_cast<long long>(results.size()));

    timer.restart();
    {
        Transaction transaction;
        for (int i = 0; i < kNewChildren; ++i) {
            QString id;
            AddPerson("New child", tree.bigFather, "0", id, "m");
            SetOrderByFather(id, kBigFamily + i);
        }
        transaction.Commit();
    }
    Report("AddPerson + SetOrderByFather of 10,000 children, grouped", timer, "< 2000 ms");

    // Each command of the outline writes on its own, every write made durable before it returns.
    constexpr int kSingles = 100;
    timer.restart();
    for (int i = 0; i < kSingles; ++i) {
        QString id;
        AddPerson("Single child", tree.bigFather, "0", id, "m");
        SetOrderByFather(id, i);
    }
    Report("AddPerson + SetOrderByFather, durable each (per child)", timer, "-", kSingles);
    CloseTreeFile();
    return 0;
}
