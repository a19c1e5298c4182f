// Times the family links on a generated tree (100,000 persons unless --persons N says otherwise): a drop
// in the outline that makes a man with about 1,000 descendants the son of a man of another branch (the
// check that he does not become his own ancestor included, then the outline refreshed), the drop of the
// same man onto his own deepest descendant, refused, and the lineage path of a person 30 generations deep
// in its three chains, built and shown in its window.
//
//   bench_family_links_window [--persons N]

#include "bench_support.h"
#include "navigator/drop_rules.h"
#include "navigator/tree_model.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/tree_frame.h"
#include "relations/lineage_path.h"
#include "relations/ui/person_path_tree.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/messages.h"

#include <QApplication>
#include <QDropEvent>
#include <QHash>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <cstdio>
#include <memory>

using namespace verdan;
using verdan::bench::ReportTiming;
using verdan::bench::Stopwatch;

namespace {

// Answers every question with its first button (OK, Yes) and keeps the texts.
class Consenting : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        texts << request.text;
        return MsgButtonsOf(request.flags).front();
    }
    QStringList texts;
};

// The father line of the whole tree, read once: each man's sons, each person's depth below the top.
struct TFatherLines {
    QHash<QString, QStringList> Sons;
    QHash<QString, QString> Father;
    QHash<QString, bool> Male;
    QStringList Top;

    int Descendants(const QString& id, QHash<QString, int>& memo) const {
        if (const auto found = memo.constFind(id); found != memo.constEnd())
            return *found;
        int count = 0;
        for (const QString& son : Sons.value(id))
            count += 1 + Descendants(son, memo);
        memo.insert(id, count);
        return count;
    }
    int Depth(const QString& id) const {
        int depth = 0;
        for (QString at = id; Father.contains(at) && depth < 10000; at = Father.value(at))
            ++depth;
        return depth;
    }
    bool IsBelow(const QString& id, const QString& ancestor) const {
        for (QString at = Father.value(id); !at.isEmpty(); at = Father.value(at)) {
            if (at == ancestor)
                return true;
        }
        return false;
    }
};

TFatherLines ReadFatherLines() {
    TFatherLines lines;
    Query q = Dm().Prepare("SELECT Person_Id, Father_Id, Gender FROM ftPerson");
    while (q.Next()) {
        const QString id = q.Text(0);
        const QString father = q.Text(1);
        lines.Male.insert(id, q.Text(2).toLower() != u"f");
        if (IsReservedParentId(father) || father == GetGlobalParentId()) {
            lines.Top << id;
        } else {
            lines.Father.insert(id, father);
            lines.Sons[father] << id;
        }
    }
    return lines;
}

QString AddPerson(const QString& father, const QString& mother, const QString& name, const char* gender,
                  int order) {
    const QString id = NewGuidText();
    Dm().Execute(
        "INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender, Order_By_Father, "
        "Order_By_Mother) VALUES (?, ?, ?, ?, ?, ?, ?)",
        id, father, mother, name, QString::fromLatin1(gender), order, order);
    return id;
}

// The deepest person of the tree, made 30 generations deep when the tree is shallower: sons are added
// below him, each with two brothers. The mothers of the sons come down a line of mothers of their own,
// each the daughter of a man of a third line, so that all three chains of the last son are long.
QString PersonThirtyDeep(const TFatherLines& lines) {
    QString deepest;
    int most = -1;
    for (auto it = lines.Father.constBegin(); it != lines.Father.constEnd(); ++it) {
        const int depth = lines.Depth(it.key());
        if (depth > most) {
            most = depth;
            deepest = it.key();
        }
    }
    if (most >= 29)
        return deepest;
    Transaction transaction;
    QString son = deepest;
    QString mother = AddPerson(QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral(u"أم"), "f", 99);
    QString mothersFather =
        AddPerson(QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral(u"جد"), "m", 99);
    for (int generation = most; generation < 29; ++generation) {
        const QString number = QString::number(generation);
        const QString next = AddPerson(son, mother, QStringLiteral(u"ابن ") + number, "m", 1);
        for (int brother = 2; brother <= 3; ++brother)
            AddPerson(son, mother, QStringLiteral(u"أخ ") + number, "m", brother);
        const QString daughter = AddPerson(mothersFather, mother, QStringLiteral(u"بنت ") + number, "f", 1);
        mothersFather =
            AddPerson(mothersFather, QStringLiteral("0"), QStringLiteral(u"رجل ") + number, "m", 2);
        son = next;
        mother = daughter;
    }
    transaction.Commit();
    std::printf("  the deepest person was %d generations down; 30 made by adding sons\n", most + 1);
    return son;
}

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Opens the outline at the person without selecting him and gives the point of his node.
QPoint At(TframTree* frame, const QString& id) {
    const QModelIndex node = frame->Model()->LocatePerson(id);
    for (QModelIndex up = node.parent(); up.isValid(); up = up.parent())
        frame->View()->expand(up);
    frame->View()->scrollTo(node);
    Settle();
    // Deep nodes are indented far: the point is at the start of the name.
    const QRect rect = frame->View()->visualRect(node);
    const int x = frame->View()->isRightToLeft() ? rect.right() - 8 : rect.left() + 8;
    return {x, rect.center().y()};
}

// Drags `dragged` in the outline and drops him on `target`; the drop's own work (its questions answered)
// is timed until the outline has been refreshed.
void TimeDrop(TframTree* frame, const QString& dragged, const QString& target, const char* what,
              const char* goal) {
    At(frame, dragged);
    const QModelIndex node = frame->FindPersonNode(dragged);
    frame->View()->setCurrentIndex(node);
    frame->View()->selectionModel()->select(node, QItemSelectionModel::ClearAndSelect);
    Settle();
    std::unique_ptr<QMimeData> mime(frame->DragData());
    const QPoint point = At(frame, target);
    QDragEnterEvent enter(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame->View()->viewport(), &enter);
    Stopwatch timer;
    QDropEvent drop(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame->View()->viewport(), &drop);
    Settle();
    ReportTiming(what, timer, goal);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int persons = bench::PersonsArgument(100000);
    QTemporaryDir folder;
    if (!bench::OpenCopyOfGeneratedTree(persons, folder))
        return 1;
    Consenting consent;
    InstallMessageSink(&consent);

    TFatherLines lines = ReadFatherLines();
    const QString deep = PersonThirtyDeep(lines);
    lines = ReadFatherLines();

    // The man whose father line holds 1,000 descendants, and the deepest man of another branch to receive
    // him.
    QHash<QString, int> memo;
    QString man;
    int descendants = 0;
    for (auto it = lines.Male.constBegin(); it != lines.Male.constEnd(); ++it) {
        if (!it.value() || !lines.Father.contains(it.key()))
            continue;
        // At least 1,000 and as few above that as there are; in a small tree, the most there are.
        const int count = lines.Descendants(it.key(), memo);
        const bool closer = descendants < 1000 ? count > descendants : count >= 1000 && count < descendants;
        if (man.isEmpty() || closer) {
            man = it.key();
            descendants = count;
        }
    }
    QString target;
    QString deepestBelow;
    int targetDepth = -1;
    int belowDepth = -1;
    for (auto it = lines.Male.constBegin(); it != lines.Male.constEnd(); ++it) {
        if (!it.value() || it.key() == man)
            continue;
        const int depth = lines.Depth(it.key());
        if (lines.IsBelow(it.key(), man)) {
            if (depth > belowDepth) {
                belowDepth = depth;
                deepestBelow = it.key();
            }
        } else if (depth > targetDepth && !lines.IsBelow(man, it.key())) {
            targetDepth = depth;
            target = it.key();
        }
    }
    if (man.isEmpty() || target.isEmpty() || deepestBelow.isEmpty()) {
        std::fprintf(stderr, "no man with descendants in this tree\n");
        return 1;
    }
    std::printf("  the man: %d descendants; the new father %d generations down; his deepest descendant %d "
                "generations down\n",
                descendants, targetDepth + 1, belowDepth + 1);

    // The store's part alone: the cycle check and the write.
    const QString formerFather = GetFatherId(man);
    Stopwatch timer;
    const bool moved = !MoveDroppedPersons({man}, target).isEmpty();
    ReportTiming("Re-parenting the man, cycle check included (store)", timer, "< 50 ms");
    timer.restart();
    const bool refused = MoveDroppedPersons({man}, deepestBelow).isEmpty();
    ReportTiming("Refusing his drop onto his deepest descendant (store)", timer, "< 50 ms");
    MoveDroppedPersons({man}, formerFather);
    if (!moved || !refused || GetFatherId(man) != formerFather) {
        std::fprintf(stderr, "the store did not move and refuse as it should\n");
        return 1;
    }

    QWidget host;
    host.resize(1200, 800);
    TLinkDialogs::Install(&host);
    auto* frame = new TframTree(&host);
    frame->resize(1200, 800);
    frame->OpenTree(false);
    host.show();
    Settle();
    TimeDrop(frame, man, target, "Drop of the man onto the new father, outline refreshed", "< 50 ms");
    const bool droppedWell = SameId(GetFatherId(man), target);
    const qsizetype messages = consent.texts.size();
    TimeDrop(frame, man, deepestBelow, "Drop of the man onto his deepest descendant, refused", "< 50 ms");
    std::printf("  refused with: %s\n", qPrintable(consent.texts.value(messages).section(u'|', 0, 0)));
    if (!droppedWell || !SameId(GetFatherId(man), target) || consent.texts.size() <= messages) {
        std::fprintf(stderr, "the outline did not move and refuse as it should\n");
        return 1;
    }

    const char* kinds[] = {"father line", "mother's father line", "line of mothers"};
    for (int kind = 0; kind < 3; ++kind) {
        timer.restart();
        const TLineagePath path = BuildLineagePath(deep, static_cast<TLineageKind>(kind));
        const QByteArray what = QByteArray("Lineage path, ") + kinds[kind] + " (built)";
        ReportTiming(what.constData(), timer, "< 50 ms");
        std::printf("  %lld entries, %lld in the chain\n", static_cast<long long>(path.Entries.size()),
                    static_cast<long long>(LineageChainNames(path).size()));
    }
    TfrmPersonPathTree* window = TLinkDialogs::Instance()->PathWindow();
    window->show();
    Settle();
    QRadioButton* buttons[] = {window->FatherPathButton(), window->MotherPathButton(),
                               window->MothersChainButton()};
    for (int kind = 0; kind < 3; ++kind) {
        buttons[kind]->setChecked(true);
        timer.restart();
        window->ShowPath(deep);
        window->PathTree()->viewport()->repaint();
        const QByteArray what = QByteArray("Lineage path window, ") + kinds[kind] + ", painted";
        ReportTiming(what.constData(), timer, "< 50 ms");
    }
    InstallMessageSink(nullptr);
    CloseTreeFile();
    return 0;
}
