// Times the name search on a generated tree of 100,000 persons whose first names repeat, as they do in
// real families: a full lineage, a name with a father, a common first name found thousands of times, and
// names that only the fallback passes find (part of a name, a spelling variant, a name with its mother).

#include "bench_support.h"
#include "reports/name_search.h"
#include "storage/database.h"
#include "storage/tree_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

using namespace verdan;

namespace {

constexpr int kPersons = 100000;

const QStringList& FirstNames() {
    static const QStringList names = {u"محمد"_qs,       u"أحمد"_qs, u"علي"_qs,  u"حسن"_qs,     u"عمر"_qs,
                                      u"خالد"_qs,       u"سعد"_qs,  u"يوسف"_qs, u"إبراهيم"_qs, u"عبد الله"_qs,
                                      u"عبد الرحمن"_qs, u"سالم"_qs, u"ناصر"_qs, u"فهد"_qs,     u"حمزة"_qs,
                                      u"أسامة"_qs,      u"فيصل"_qs, u"ماجد"_qs, u"طلال"_qs,    u"بدر"_qs,
                                      u"زيد"_qs,        u"مالك"_qs, u"هاني"_qs, u"وليد"_qs,    u"ياسر"_qs,
                                      u"جابر"_qs,       u"صالح"_qs, u"راشد"_qs, u"مشعل"_qs,    u"نايف"_qs};
    return names;
}

const QStringList& WomenNames() {
    static const QStringList names = {u"فاطمة"_qs, u"عائشة"_qs, u"مريم"_qs, u"خديجة"_qs, u"نورة"_qs,
                                      u"سارة"_qs,  u"هند"_qs,   u"ليلى"_qs, u"أمل"_qs,   u"زينب"_qs};
    return names;
}

// Generation by generation, each man with two to six children of a wife from the women already made.
void GenerateTree() {
    std::mt19937 random(20240601);
    const QString sql =
        "INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender, Last_Name, "
        "Nickname) VALUES (?, ?, ?, ?, ?, ?, ?)";
    QStringList women;
    int count = 0;
    auto add = [&](const QString& father, const QString& mother, bool male) {
        const QString id = NewGuidText();
        const QStringList& names = male ? FirstNames() : WomenNames();
        const QString nickname = random() % 20 == 0 ? u"أبو "_qs + FirstNames()[random() % 30] : QString();
        Dm().Execute(sql, id, father, mother, names[random() % names.size()], male ? "m" : "f", u"آل سالم"_qs,
                     nickname);
        ++count;
        if (!male)
            women << id;
        return id;
    };
    Transaction transaction;
    QStringList generation{add("-1", "0", true)};
    while (count < kPersons) {
        QStringList next;
        for (const QString& father : generation) {
            const QString mother = women.isEmpty() ? QString("0") : women[random() % women.size()];
            const int children = 2 + random() % 5;
            for (int c = 0; c < children && count < kPersons; ++c) {
                const bool male = random() % 2 == 0;
                const QString child = add(father, mother, male);
                if (male)
                    next << child;
            }
        }
        generation = next;
    }
    transaction.Commit();
}

// Wall time and the CPU time of this thread: on a shared machine the CPU time tells what the search costs.
void Time(const QString& typed) {
    const bench::Stopwatch timer;
    const QStringList found = SearchPersonsByName(typed);
    std::printf("%6lld found %8.1f ms wall %8.1f ms cpu (target < 500 ms)  %s\n",
                static_cast<long long>(found.size()), timer.nsecsElapsed() / 1e6, timer.cpuNsecs() / 1e6,
                typed.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!bench::OpenBenchTree(folder))
        return 1;
    GenerateTree();
    Time(u"محمد بن أحمد بن علي بن حسن"_qs);
    Time(u"يوسف بن عبد الله"_qs);
    Time(u"محمد"_qs);
    Time(u"ابراهيم"_qs);
    Time(u"براهي"_qs);
    Time(u"زيد هند"_qs);
    CloseTreeFile();
    return 0;
}
