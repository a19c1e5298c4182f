// Times the data sheet's heaviest windows on a generated tree (20,000 persons unless --persons N says
// otherwise): the relationships section of a man with 20 wives and 1,000 children, filled and painted, and
// the picture browser of a tree with 2,000 pictures (1,000 of one person, the others of 400 more) up to
// its first screen.
//
//   bench_datasheet_window [--persons N]

#include "bench_support.h"
#include "datasheet/mate_children.h"
#include "datasheet/sheet_pictures.h"
#include "datasheet/ui/image_browser.h"
#include "datasheet/ui/mate_child_frame.h"
#include "datasheet/ui/picture_strip.h"
#include "reports/ui/zel_grid.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

using namespace verdan;

namespace {

void Report(const char* what, const bench::Stopwatch& timer, double targetMs) {
    std::printf("%-48s %8.1f ms wall %8.1f ms cpu  (target < %.0f ms)\n", what, timer.nsecsElapsed() / 1e6,
                timer.cpuNsecs() / 1e6, targetMs);
}

QString Id(const char* kind, int n) {
    return QStringLiteral("{BENCH-%1-%2}").arg(QLatin1String(kind)).arg(n, 6, 10, QLatin1Char('0'));
}

bool Insert(const QString& id, const QString& father, const QString& mother, const QString& name,
            const char* gender) {
    return Dm().Execute(
               QStringLiteral("INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, "
                              "Gender, Order_By_Father, Order_By_Mother) VALUES (?, ?, ?, ?, ?, 99, 99)"),
               id, father, mother, name, QString::fromLatin1(gender)) == 1;
}

// A man with 20 wives and 1,000 children spread over them.
QString AddLargeFamily() {
    Transaction transaction;
    const QString man = Id("MAN", 0);
    bool ok = Insert(man, QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral(u"عبد الله"), "m");
    for (int w = 0; w < 20 && ok; ++w)
        ok = Insert(Id("WIFE", w), QStringLiteral("-1"), QStringLiteral("0"),
                    QStringLiteral(u"زوجة %1").arg(w + 1), "f") &&
             AddMarriage(man, Id("WIFE", w)) && SetWifeOrder(man, Id("WIFE", w), w + 1);
    for (int c = 0; c < 1000 && ok; ++c)
        ok = Insert(Id("CHILD", c), man, Id("WIFE", c % 20), QStringLiteral(u"ابن %1").arg(c + 1),
                    c % 2 ? "f" : "m");
    return ok && transaction.Commit() ? man : QString();
}

// 2,000 picture rows, half of them of the first person and the others of 400 more, each file a
// photograph-sized JPEG in the photos folder.
bool AddPictures() {
    QDir().mkpath(PhotosFolder());
    QImage photo(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    QStringList persons;
    Query q = Dm().Prepare(QStringLiteral("SELECT Person_Id FROM ftPerson ORDER BY oid LIMIT 401"));
    while (q.Next())
        persons << q.Text(0);
    Transaction transaction;
    for (int i = 0; i < 2000; ++i) {
        const QString name = QStringLiteral("photo-%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        if (i < 40 && !photo.save(PhotosFolder() + name, "JPEG", 85))
            return false;
        if (i >= 40 &&
            !QFile::copy(PhotosFolder() + QStringLiteral("photo-%1.jpg").arg(i % 40, 4, 10, QLatin1Char('0')),
                         PhotosFolder() + name))
            return false;
        if (Dm().Execute(
                QStringLiteral("INSERT INTO ftPictures (picture_id, person_id, file_path, pic_default) "
                               "VALUES (?, ?, ?, ?)"),
                Id("PIC", i), i % 2 == 0 ? persons[0] : persons[1 + (i / 2) % 400], name, i < 3 ? 1 : 0) != 1)
            return false;
    }
    return transaction.Commit();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    int persons = 20000;
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--persons"))
            persons = args[i + 1].toInt();
    QTemporaryDir work;
    SetProgramFolder(work.path() + QStringLiteral("/program/"));
    const QString tree = bench::ImportGeneratedTree(persons, work);
    if (tree.isEmpty() || !OpenTreeFile(tree)) {
        std::fprintf(stderr, "no tree to time\n");
        return 1;
    }
    const QString man = AddLargeFamily();
    if (man.isEmpty()) {
        std::fprintf(stderr, "could not add the family\n");
        return 1;
    }

    TframMateChild frame;
    frame.resize(800, 400);
    frame.show();
    QApplication::processEvents();
    // The first fill warms the statement cache, as the sheet's first person does.
    frame.LoadRelations(Id("WIFE", 0));
    QApplication::processEvents();
    bench::Stopwatch timer;
    const TRelationsView view = ReadRelationsView(man);
    Report("  of which reading the tree", timer, 30);
    timer.restart();
    frame.LoadRelations(man);
    frame.repaint();
    QApplication::processEvents();
    Report("relationships: 20 wives, 1,000 children", timer, 30);
    std::printf("  %d wives, %d children\n", frame.MatesGrid()->RowCount() - 1,
                frame.ChildrenList()->count());
    timer.restart();
    frame.LoadRelations(Id("WIFE", 3));
    frame.repaint();
    QApplication::processEvents();
    Report("relationships: a wife of him (lineage names)", timer, 30);

    if (!AddPictures()) {
        std::fprintf(stderr, "could not add the pictures\n");
        return 1;
    }
    TfrmImageBrows browser;
    browser.resize(1000, 700);
    const QString keeper = Dm().ScalarText(
        QStringLiteral("SELECT person_id FROM ftPictures GROUP BY person_id ORDER BY count(*) DESC LIMIT 1"));
    timer.restart();
    browser.ShowFor(keeper);
    browser.repaint();
    QApplication::processEvents();
    Report("picture browser: first screen of 2,000 pictures", timer, 300);
    std::printf("  %d persons listed, %d pictures in the strip, %d small pictures made\n",
                browser.PersonsGrid()->RowCount() - 1, browser.Strip()->Count(), Thumbnails().Made());
    timer.restart();
    browser.ChoosePerson(browser.PersonsGrid()->Cells(TfrmImageBrows::kIdCol, 2));
    browser.repaint();
    QApplication::processEvents();
    Report("picture browser: the next person", timer, 300);
    CloseTreeFile();
    return 0;
}
