#include "calendar/date_value.h"
#include "common/testing.h"
#include "gedcom/gedcom7_validator.h"
#include "gedcom/gedcom_export.h"
#include "gedcom/gedcom_import.h"
#include "gedcom/gedcom_reader.h"
#include "storage/database.h"
#include "storage/date_columns.h"
#include "storage/event_kinds.h"
#include "storage/event_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <gtest/gtest.h>
#include <random>

namespace verdan {
namespace {

// What a round trip must keep of a tree, in a form that compares: persons by identifier, the outside-the-
// tree group as "G", line breaks as the tree stores them, each person's events in a sorted list.
struct Snapshot {
    QMap<QString, QStringList> Persons;
    QSet<QString> Marriages;
    QSet<QString> Breastfeeding;
    QMap<QString, QStringList> Events;
};

QString Breaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

QString DateKey(const TDateValue& v) {
    return QStringList{QString::number(int(v.Qualifier)), QString::number(v.Gregorian),
                       QString::number(v.Hijri),          QString::number(v.Gregorian2),
                       QString::number(v.Hijri2),         QString::number(v.DualYear),
                       QString::number(v.DualYear2),      v.Phrase}
        .join(u'/');
}

QString Parent(const QString& id) {
    return id.isEmpty() ? QStringLiteral("0") : id;
}

Snapshot Take(Tdm& db) {
    Snapshot s;
    const QString global = db.ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo"));
    Query q = db.Prepare(QStringLiteral("SELECT * FROM ftPerson WHERE person_id <> ?"));
    q.Bind(global);
    while (q.Next()) {
        const QString father =
            q.Text("father_id") == global ? QStringLiteral("G") : Parent(q.Text("father_id"));
        const QString mother = Parent(q.Text("mother_id"));
        QStringList row{father, mother, q.Text("gender")};
        for (const char* column : {"person_name", "last_name", "nickname", "cognomen"})
            row << q.Text(QString::fromLatin1(column));
        row << DateKey(ReadDateColumns(q, kBirthDateColumns))
            << DateKey(ReadDateColumns(q, kDeathDateColumns));
        row << q.Text("place_of_birth").trimmed() << q.Text("place_of_death").trimmed();
        row << (father == QLatin1String("G") || father == QLatin1String("-1") || father == QLatin1String("0")
                    ? QStringLiteral("-")
                    : QString::number(q.Int("order_by_father")));
        row << (mother == QLatin1String("0") ? QStringLiteral("-")
                                             : QString::number(q.Int("order_by_mother")));
        row << QString::number(q.Int("is_section")) << q.Text("section_type")
            << QString::number(q.Int("is_dead")) << Breaks(q.Text("notes"));
        s.Persons.insert(q.Text("person_id"), row);
    }
    Query r = db.Prepare(QStringLiteral("SELECT * FROM ftRelation"));
    while (r.Next()) {
        const QString a = r.Text("person_id_1"), b = r.Text("person_id_2");
        const qint64 type = r.Int("relation_type");
        if (type == 0) {
            // A divorce date or place is a divorce.
            const TDateValue divorced = ReadDateColumns(r, kDivorceDateColumns);
            const bool split =
                r.Bool("split") || !IsEmptyDate(divorced) || !r.Text("divorce_place").trimmed().isEmpty();
            s.Marriages.insert(QStringList{
                a, b, QString::number(split), r.Text("relation_order_1"), r.Text("relation_order_2"),
                DateKey(ReadDateColumns(r, kMarriageDateColumns)), r.Text("place").trimmed(),
                DateKey(divorced), r.Text("divorce_place").trimmed(), Breaks(r.Text("notes"))}
                                   .join(u'|'));
        } else {
            QStringList pair{a, b};
            if (type == 1)
                pair.sort(); // siblings: one relation whichever comes first
            s.Breastfeeding.insert(QString::number(type) + u'|' + pair.join(u'|'));
        }
    }
    Query e =
        db.Prepare(QStringLiteral("SELECT e.*, p.person_id AS who, p.age_text AS age FROM ftEvents e JOIN "
                                  "ftEvents_persn p ON p.event_Id = e.event_Id ORDER BY e.oid"));
    while (e.Next()) {
        QStringList event{e.Text("event_type"),
                          e.Text("event_descriptor"),
                          e.Text("event_value"),
                          DateKey(ReadDateColumns(e, kEventDateColumns)),
                          e.Text("event_time"),
                          e.Text("event_place").trimmed(),
                          e.Text("agency"),
                          e.Text("cause"),
                          Breaks(e.Text("notes")),
                          QString::number(e.Int("is_family")),
                          e.Text("age")};
        s.Events[e.Text("who")] << event.join(u'|');
    }
    for (QStringList& events : s.Events)
        events.sort();
    return s;
}

void ExpectSame(const Snapshot& a, const Snapshot& b, const std::string& what) {
    EXPECT_EQ(a.Persons.size(), b.Persons.size()) << what;
    int shown = 0;
    for (auto it = a.Persons.cbegin(); it != a.Persons.cend(); ++it) {
        const QStringList other = b.Persons.value(it.key());
        if (other != *it && shown++ < 5)
            ADD_FAILURE() << what << " person " << it.key().toStdString() << "\n  "
                          << it->join(u'|').toStdString() << "\n  " << other.join(u'|').toStdString();
    }
    const auto missing = [](const QSet<QString>& x, const QSet<QString>& y) {
        QStringList lines(x.begin(), x.end());
        lines.removeIf([&](const QString& line) { return y.contains(line); });
        return lines.join(u'\n').toStdString();
    };
    EXPECT_EQ(missing(a.Marriages, b.Marriages), "") << what;
    EXPECT_EQ(missing(b.Marriages, a.Marriages), "") << what;
    EXPECT_EQ(missing(a.Breastfeeding, b.Breastfeeding), "") << what;
    EXPECT_EQ(missing(b.Breastfeeding, a.Breastfeeding), "") << what;
    shown = 0;
    for (auto it = a.Events.cbegin(); it != a.Events.cend(); ++it)
        if (b.Events.value(it.key()) != *it && shown++ < 5)
            ADD_FAILURE() << what << " events of " << it.key().toStdString() << "\n  "
                          << it->join(QStringLiteral("\n  ")).toStdString() << "\n vs\n  "
                          << b.Events.value(it.key()).join(QStringLiteral("\n  ")).toStdString();
    EXPECT_EQ(a.Events.size(), b.Events.size()) << what;
}

// Exports the open tree to a file, imports it into a new tree and returns both snapshots.
struct RoundTrip {
    Snapshot Before, After;
    QByteArray Text;
    QString ImportedPath;
};

RoundTrip ExportAndImport(TGedcomVersion version = TGedcomVersion::V551) {
    RoundTrip trip;
    trip.Before = Take(Dm());
    const QString folder = test::NewTempDir();
    const QString file = folder + QStringLiteral("/out.ged");
    TGedcomExportSummary summary;
    QString error;
    EXPECT_TRUE(ExportGedcomFile(file, {}, summary, error, version)) << error.toStdString();
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    trip.Text = f.readAll();
    TGedcomImportOptions options;
    options.BaseFolder = folder;
    TGedcomImportResult result;
    EXPECT_TRUE(ImportGedcomFile(file, options, result)) << result.ErrorMessage.toStdString();
    trip.ImportedPath = result.TreePath;
    Tdm db;
    if (db.Open(result.TreePath))
        trip.After = Take(db);
    return trip;
}

// Every line: CR LF at its end, at most 255 bytes, valid UTF-8, a level at most one deeper than the line
// before, and no continuation cut next to a blank.
void ExpectWellFormed(const QByteArray& text) {
    ASSERT_TRUE(text.endsWith("0 TRLR\r\n"));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(text);
    EXPECT_FALSE(decoder.hasError());
    EXPECT_FALSE(decoded.contains(QChar::ReplacementCharacter));
    const QList<QByteArray> lines = text.chopped(1).split('\n');
    int level = 0;
    const QRegularExpression form(QStringLiteral("^(0|[1-9][0-9]?) (@[^@]+@ )?[A-Z_][A-Z0-9_]*( .*)?\r$"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        ASSERT_TRUE(line.endsWith('\r')) << i;
        EXPECT_LE(line.size() - 1, 255) << i;
        const QString s = QString::fromUtf8(line);
        ASSERT_TRUE(form.match(s).hasMatch()) << i << ": " << line.toStdString();
        const int next = s.section(u' ', 0, 0).toInt();
        EXPECT_LE(next, level + 1) << i;
        level = next;
        if (line.contains(" CONC ")) {
            EXPECT_FALSE(line.at(line.indexOf(" CONC ") + 6) == ' ') << i;
            EXPECT_FALSE(lines[i - 1].endsWith(" \r")) << i;
        }
    }
}

class GedcomExport : public ::testing::Test {
protected:
    void SetUp() override {
        props_.BasePath = test::NewTempDir();
        props_.FolderName = QStringLiteral("family");
        props_.FileName = QStringLiteral("family.vrd");
        props_.TreeName = QStringLiteral("Tree");
        props_.OwnerName = QStringLiteral("Owner @ home");
        path_ = CreateNewTree(props_);
        ASSERT_FALSE(path_.isEmpty());
        ASSERT_TRUE(OpenTreeFile(path_));
        global_ = GetGlobalParentId();
    }
    void TearDown() override { CloseTreeFile(); }

    QString AddPerson(const QString& name, const QString& gender, const QString& father,
                      const QString& mother = QStringLiteral("0"), const QString& notes = {}) {
        const QString id = NewGuidText();
        EXPECT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftPerson (person_id, father_id, mother_id, gender, "
                                        "person_name, notes) VALUES (?, ?, ?, ?, ?, ?)"),
                         id, father, mother, gender, name, notes),
            1);
        return id;
    }

    TTreeProperty props_;
    QString path_;
    QString global_;
};

// Trees of every shape the tree can hold: several wives whose children interleave, children of a mother
// alone, groups and their members, persons outside the tree and at its top, breastfeeding, dates in either
// calendar down to a year, texts with line breaks of every kind, "@", leading blanks and long lines.
class RandomTree {
public:
    explicit RandomTree(unsigned seed, const QString& global) : Rng(seed), Global(global) {}

    void Fill(int persons) {
        Transaction transaction(Dm());
        Dm().ExecSql(QStringLiteral("DELETE FROM ftPerson WHERE person_id <> '") + Global + u'\'');
        Dm().ExecSql(QStringLiteral("DELETE FROM ftRelation"));
        Dm().ExecSql(QStringLiteral("DELETE FROM ftEvents"));
        Dm().ExecSql(QStringLiteral("DELETE FROM ftEvents_persn"));
        std::vector<QString> males, females, groups;
        for (int i = 0; i < 3; ++i)
            groups.push_back(Insert(true, true, QStringLiteral("-1"), QStringLiteral("0")));
        for (int i = 0; i < persons; ++i) {
            const bool male = Chance(50);
            QString father = QStringLiteral("-1"), mother = QStringLiteral("0");
            if (!males.empty() && Chance(70))
                father = Pick(males);
            else if (Chance(30))
                father = Pick(groups);
            // A group's members have no mother: the group stands for the line they descend in.
            const bool member = std::find(groups.begin(), groups.end(), father) != groups.end();
            if (!member && !females.empty() && Chance(father == QLatin1String("-1") ? 30 : 60))
                mother = Pick(females);
            if (father == QLatin1String("-1"))
                father = mother != QLatin1String("0") ? QStringLiteral("0") : Chance(50) ? Global : father;
            (male ? males : females).push_back(Insert(male, false, father, mother));
        }
        Relate(males, females);
        NumberChildren();
        ASSERT_TRUE(transaction.Commit());
    }

private:
    bool Chance(int percent) { return int(Rng() % 100) < percent; }
    int Below(int n) { return int(Rng() % unsigned(n)); }
    const QString& Pick(const std::vector<QString>& list) { return list[size_t(Below(int(list.size())))]; }

    QString Words(int count) {
        static const QStringList kWords{QStringLiteral("محمد"),   QStringLiteral("عبد الله"),
                                        QStringLiteral("فاطمة"),  QStringLiteral("Ali"),
                                        QStringLiteral("a@b"),    QStringLiteral("الريّان"),
                                        QStringLiteral("Zaynab"), QStringLiteral("@@"),
                                        QStringLiteral("ابن"),    QStringLiteral("(x)")};
        QStringList words;
        for (int i = 0; i < count; ++i)
            words << kWords[Below(int(kWords.size()))];
        return words.join(u' ');
    }

    QString Note() {
        if (Chance(40))
            return {};
        QString note = Chance(20) ? QStringLiteral("   ") : QString();
        const int parts = 1 + Below(5);
        static const QStringList kBreaks{QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r"),
                                         QStringLiteral("\r\n\r\n")};
        for (int p = 0; p < parts; ++p) {
            if (p > 0)
                note += kBreaks[Below(int(kBreaks.size()))] + (Chance(30) ? QStringLiteral("  ") : QString());
            note += Words(1 + Below(Chance(20) ? 200 : 8));
            if (Chance(15))
                note += QString(Below(80), u' ') + u'.'; // runs of blanks where lines are cut
        }
        return note;
    }

    int Number(bool hijri) {
        const bool beforeEra = Chance(4);
        const int year = beforeEra ? 1 + Below(600) : hijri ? 900 + Below(560) : 1400 + Below(620);
        const int month = Chance(20) ? 0 : 1 + Below(12);
        const int day = month == 0 || Chance(20) ? 0 : 1 + Below(28);
        return (beforeEra ? -1 : 1) * (year * 10000 + month * 100 + day);
    }

    // Dates of every form: both calendars or one, a Hijri date of its own beside the Gregorian one, every
    // qualifier with its second date or phrase, dual years, words only and forms kept as written.
    TDateValue Date() {
        if (Chance(25))
            return {};
        TDateValue v;
        v.Qualifier = Chance(50) ? TDateQualifier::Exact : TDateQualifier(Below(13));
        if (v.Qualifier == TDateQualifier::Phrase || v.Qualifier == TDateQualifier::Text) {
            static const QStringList kWritten{QStringLiteral("Spring 1850"),
                                              QStringLiteral("@#DHEBREW@ 1 TSH 5700"),
                                              QStringLiteral("at noon @ home"), QStringLiteral("1850?")};
            v.Phrase = v.Qualifier == TDateQualifier::Text ? kWritten[Below(int(kWritten.size()))] : Words(2);
            return v;
        }
        const bool inHijri = Chance(30);
        const int first = Number(inHijri);
        const int second = first + (1 + Below(20)) * 10000; // later even before the era: fewer years back
        (inHijri ? v.Hijri : v.Gregorian) = first;
        if (IsRangeQualifier(v.Qualifier))
            (inHijri ? v.Hijri2 : v.Gregorian2) = second;
        v = WithBothCalendars(v);
        const int calendars = Below(10);
        if (calendars == 0) {
            v.Gregorian = v.Gregorian2 = 0; // the Hijri date alone
        } else if (calendars == 1) {
            v.Hijri = v.Hijri2 = 0; // the Gregorian date alone
        } else if (calendars == 2) {
            v.Hijri = Number(true); // a Hijri date of its own
            v.Hijri2 = v.Hijri2 ? v.Hijri + 10000 : 0;
        }
        if (v.Qualifier == TDateQualifier::Interpreted)
            v.Phrase = Words(2);
        if (v.Gregorian > 0 && Chance(15))
            v.DualYear = v.Gregorian / 10000 - 1;
        if (v.Gregorian2 > 0 && Chance(15))
            v.DualYear2 = v.Gregorian2 / 10000 - 1;
        return NormalisedDate(v);
    }

    void BindDate(Query& q, const TDateValue& v) {
        q.BindAll(v.Gregorian, v.Hijri, int(v.Qualifier), v.Gregorian2, v.Hijri2, DualMarks(v), v.Phrase);
    }

    // A name of any length: some run to hundreds of bytes.
    QString Name() { return Words(Chance(8) ? 40 + Below(20) : 1 + Below(2)); }

    // Events of a person or of a couple, of every kind, with everything an event can hold.
    void AddEvent(const QStringList& persons, bool family) {
        const auto& kinds = EventKinds();
        const TEventKind* kind = nullptr;
        while (!kind || kind->Scope == (family ? TEventScope::Person : TEventScope::Family) ||
               HasColumnsOfItsOwn(kind->Code))
            kind = &kinds[Below(int(kinds.size()))];
        TEvent event;
        event.Type = kind->Code;
        // Kinds of our own have their TYPE taken by their name.
        event.Descriptor = !kind->GedcomType && (kind->Code == QLatin1String("EVEN") ||
                                                 kind->Code == QLatin1String("FACT") || Chance(10))
                               ? Words(1 + Below(2))
                               : QString();
        event.Value = kind->TakesValue || Chance(10) ? Words(1 + Below(3)) : QString();
        event.Date = Date();
        event.Time = Chance(10) ? QStringLiteral("10:30") : QString();
        event.Place = Chance(40) ? Words(2) : QString();
        event.Agency = Chance(10) ? Words(1) : QString();
        event.Cause = Chance(10) ? Words(2) : QString();
        event.Notes = Chance(30) ? Note() : QString();
        event.Family = family;
        for (const QString& person : persons)
            event.Persons.append({person, Chance(20) ? QStringLiteral("42y 3m") : QString()});
        ASSERT_TRUE(verdan::AddEvent(event)) << kind->Code.toStdString();
        // A burial or a cremation says the person died (the import marks such persons dead).
        if (kind->Code == QLatin1String("BURI") || kind->Code == QLatin1String("CREM"))
            Dm().Execute(QStringLiteral("UPDATE ftPerson SET is_dead = 1 WHERE person_id = ?"),
                         persons.front());
    }

    QString Insert(bool male, bool group, const QString& father, const QString& mother) {
        const QString id = NewGuidText();
        const TDateValue birth = Date();
        const TDateValue death = Chance(50) ? Date() : TDateValue();
        const QString deathPlace = Chance(30) ? Words(2) : QString();
        const bool dead = !IsEmptyDate(death) || !deathPlace.isEmpty() || Chance(10);
        Query q = Dm().Prepare(QStringLiteral(
            "INSERT INTO ftPerson (person_id, father_id, mother_id, gender, person_name, last_name, "
            "nickname, cognomen, place_of_birth, place_of_death, is_section, section_type, is_dead, "
            "notes, date_of_birth_g, date_of_birth_h, birth_qualifier, birth_date_2_g, "
            "birth_date_2_h, birth_dual, birth_phrase, date_of_death_g, date_of_death_h, "
            "death_qualifier, death_date_2_g, death_date_2_h, death_dual, death_phrase) VALUES "
            "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        q.BindAll(id, father, mother, QString(male ? QStringLiteral("m") : QStringLiteral("f")), Name(),
                  Chance(50) ? Name() : QString(), Chance(30) ? Words(1) : QString(),
                  Chance(20) ? Words(1) : QString(), Chance(50) ? Words(1 + Below(3)) : QString(), deathPlace,
                  group ? 1 : 0, group && Chance(70) ? Words(1) : QString(), dead ? 1 : 0, Note());
        BindDate(q, birth);
        BindDate(q, death);
        EXPECT_TRUE(q.Exec()) << q.Error().toStdString();
        if (!group)
            for (int n = Below(4); n > 0 && Chance(60); --n)
                AddEvent({id}, false);
        return id;
    }

    void Relate(const std::vector<QString>& males, const std::vector<QString>& females) {
        // The parents of every child are married; some couples have no children.
        QSet<QString> couples;
        Query q =
            Dm().Prepare(QStringLiteral("SELECT DISTINCT f.person_id, m.person_id FROM ftPerson c "
                                        "JOIN ftPerson f ON f.person_id = c.father_id AND f.is_section = 0 "
                                        "JOIN ftPerson m ON m.person_id = c.mother_id"));
        while (q.Next())
            couples.insert(q.Text(0) + u'|' + q.Text(1));
        for (int i = 0; i < int(males.size()) / 3 && !females.empty(); ++i)
            couples.insert(Pick(males) + u'|' + Pick(females));
        QHash<QString, int> wives, husbands;
        QStringList sorted(couples.begin(), couples.end());
        sorted.sort();
        std::shuffle(sorted.begin(), sorted.end(), Rng);
        for (const QString& couple : sorted) {
            const QString husband = couple.section(u'|', 0, 0), wife = couple.section(u'|', 1, 1);
            const bool split = Chance(20);
            Query q = Dm().Prepare(QStringLiteral(
                "INSERT INTO ftRelation (person_id_1, person_id_2, relation_type, split, is_active, "
                "relation_order_1, "
                "relation_order_2, place, divorce_place, notes, relation_date_1, relation_date_1_h, "
                "marriage_qualifier, marriage_date_2_g, marriage_date_2_h, marriage_dual, marriage_phrase, "
                "relation_date_2, relation_date_2_h, divorce_qualifier, divorce_date_2_g, divorce_date_2_h, "
                "divorce_dual, divorce_phrase) VALUES (?, ?, 0, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?, "
                "?, ?, ?)"));
            q.BindAll(husband, wife, split ? 1 : 0, ++husbands[wife], ++wives[husband],
                      Chance(30) ? Words(2) : QString(), split && Chance(30) ? Words(2) : QString(),
                      Chance(20) ? Note() : QString());
            BindDate(q, Chance(60) ? Date() : TDateValue());
            BindDate(q, split && Chance(50) ? Date() : TDateValue());
            EXPECT_TRUE(q.Exec()) << q.Error().toStdString();
            if (Chance(25))
                AddEvent({husband, wife}, true);
        }
        for (int i = 0; i < 4 && males.size() > 1 && females.size() > 1; ++i) {
            const QString a = Pick(males), b = Pick(females);
            Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) "
                                        "VALUES (?, ?, ?)"),
                         i % 2 ? a : b, i % 2 ? b : Pick(males), i % 2 ? 1 : 2);
        }
    }

    // Each parent's children in a shuffled order, so those of several wives interleave.
    void NumberChildren() {
        for (const char* column : {"father_id", "mother_id"}) {
            const QString order = QLatin1String(column) == QLatin1String("father_id")
                                      ? QStringLiteral("order_by_father")
                                      : QStringLiteral("order_by_mother");
            QHash<QString, QStringList> children;
            Query q = Dm().Prepare(QStringLiteral("SELECT person_id, ") + QLatin1String(column) +
                                   QStringLiteral(" FROM ftPerson ORDER BY oid"));
            while (q.Next())
                children[q.Text(1)] << q.Text(0);
            for (auto it = children.begin(); it != children.end(); ++it) {
                std::shuffle(it->begin(), it->end(), Rng);
                for (qsizetype i = 0; i < it->size(); ++i)
                    Dm().Execute(QStringLiteral("UPDATE ftPerson SET ") + order +
                                     QStringLiteral(" = ? WHERE person_id = ?"),
                                 int(i + 1), it->at(i));
            }
        }
    }

    std::mt19937 Rng;
    QString Global;
};

TEST_F(GedcomExport, RandomTreesComeBackWhole) {
    // Every form the trees hold shows up in some file, so the round trips cover them.
    QSet<QByteArray> forms;
    const QByteArray kForms[] = {"1 NAME ",      "\r\n2 CONC ",
                                 "3 _HIJRONLY ", "3 _HIJR ",
                                 "3 _HIJR\r\n",  "DATE BET ",
                                 "DATE FROM ",   "DATE INT ",
                                 "DATE ABT ",    "/",
                                 "B.C.",         "2 TYPE Hajj",
                                 "1 FACT ",      "2 HUSB\r\n3 AGE",
                                 "PEDI _RADA",   "1 DIV\r\n2 DATE ",
                                 "0 @F"};
    for (unsigned seed = 1; seed <= 12; ++seed) {
        RandomTree(seed, global_).Fill(80);
        const RoundTrip trip = ExportAndImport();
        const std::string what = "seed " + std::to_string(seed);
        ExpectSame(trip.Before, trip.After, what);
        ExpectWellFormed(trip.Text);
        if (HasFailure())
            return;
        for (const QByteArray& form : kForms)
            if (trip.Text.contains(form))
                forms.insert(form);
        // A name of hundreds of bytes goes on in CONC lines rather than being cut.
        if (trip.Text.contains("\r\n1 NAME ") && trip.Text.contains("\r\n2 CONC "))
            forms.insert("long name");
    }
    for (const QByteArray& form : kForms)
        EXPECT_TRUE(forms.contains(form)) << form.toStdString();
}

// Version 7.0: the same trees come back whole, and every file is valid by the standard with every extension
// it uses declared.
TEST_F(GedcomExport, RandomTreesComeBackWholeFromVersion7) {
    QSet<QByteArray> forms;
    const QByteArray kForms[] = {"DATE _HIJRI ",
                                 "2 SDATE ",
                                 "_HIJRIDATE ",
                                 "3 PHRASE ",
                                 "DATE BET ",
                                 "JULIAN ",
                                 " BCE",
                                 "0 @I1@ _GROUP",
                                 "_HUSBGROUP @I",
                                 "PEDI OTHER\r\n3 PHRASE Breastfeeding",
                                 "ROLE OTHER\r\n3 PHRASE Breastfeeding",
                                 "2 CONT @@",
                                 "1 UID ",
                                 "2 _VALUE "};
    for (unsigned seed = 1; seed <= 12; ++seed) {
        RandomTree(seed, global_).Fill(80);
        const RoundTrip trip = ExportAndImport(TGedcomVersion::V70);
        const std::string what = "7.0 seed " + std::to_string(seed);
        ExpectSame(trip.Before, trip.After, what);
        const QStringList faults = test::ValidateGedcom7(trip.Text, true);
        EXPECT_TRUE(faults.isEmpty()) << what << "\n" << faults.mid(0, 10).join(u'\n').toStdString();
        EXPECT_FALSE(trip.Text.contains("CONC"));
        if (HasFailure())
            return;
        for (const QByteArray& form : kForms)
            if (trip.Text.contains(form))
                forms.insert(form);
    }
    for (const QByteArray& form : kForms)
        EXPECT_TRUE(forms.contains(form)) << form.toStdString();
}

TEST_F(GedcomExport, WritesTheFormTheReadersExpect) {
    const QString father = AddPerson(QStringLiteral("Ahmad"), QStringLiteral("m"), QStringLiteral("-1"));
    const QString son = AddPerson(QStringLiteral("Salim"), QStringLiteral("m"), father, QStringLiteral("0"),
                                  QStringLiteral("line one\nsecond @ line"));
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET last_name = 'Ali', nickname = 'Abu Salim', "
                                "date_of_birth_h = 14450901, place_of_birth = 'Makkah' WHERE person_id = ?"),
                 son);
    QByteArray text;
    TGedcomExportSummary summary;
    QString error;
    ASSERT_TRUE(ExportGedcomText(text, summary, error)) << error.toStdString();
    ExpectWellFormed(text);
    EXPECT_TRUE(text.contains("1 GEDC\r\n2 VERS 5.5.1\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR UTF-8\r\n"));
    EXPECT_TRUE(text.contains("1 NAME Salim /Ali/\r\n2 GIVN Salim\r\n2 SURN Ali\r\n2 NICK Abu Salim\r\n"));
    // A date known only in the Hijri calendar: its Gregorian day for every reader, the Hijri date for ours.
    EXPECT_TRUE(
        text.contains("1 BIRT\r\n2 DATE 11 MAR 2024\r\n3 _HIJRONLY 1 RAMAD 1445\r\n2 PLAC Makkah\r\n"));
    EXPECT_TRUE(text.contains("1 NOTE line one\r\n2 CONT second @@ line\r\n"));
    EXPECT_TRUE(text.contains("1 _UID " + son.toUtf8() + "\r\n"));
    EXPECT_FALSE(text.contains(global_.toUtf8())) << "the outside-the-tree group is no record";
    EXPECT_TRUE(text.contains("0 @U1@ SUBM\r\n1 NAME Owner @@ home\r\n"));
    // Our reader reads the file back with the person's own identifier.
    TGedcomData data;
    ASSERT_TRUE(ParseGedcomRecords(text, data));
    bool found = false;
    for (const TGedPerson& p : data.Persons)
        if (p.Data.PersonId == son) {
            found = true;
            EXPECT_EQ(p.Data.Note, QStringLiteral("line one\r\nsecond @ line"));
            EXPECT_EQ(p.Data.Nickname, QStringLiteral("Abu Salim"));
        }
    EXPECT_TRUE(found);
}

TEST_F(GedcomExport, ParentCycleExportsEveryPersonOnce) {
    const QString a = AddPerson(QStringLiteral("A"), QStringLiteral("m"), QStringLiteral("-1"));
    const QString b = AddPerson(QStringLiteral("B"), QStringLiteral("m"), a);
    const QString c = AddPerson(QStringLiteral("C"), QStringLiteral("m"), b);
    Dm().Execute(QStringLiteral("UPDATE ftPerson SET father_id = ? WHERE person_id = ?"), c, a);
    const qint64 persons =
        Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE person_id <> ?"), global_);
    QByteArray text;
    TGedcomExportSummary summary;
    QString error;
    ASSERT_TRUE(ExportGedcomText(text, summary, error));
    EXPECT_EQ(summary.Individuals, persons);
    EXPECT_EQ(text.count(" INDI\r\n"), persons);
    for (const QString& id : {a, b, c})
        EXPECT_EQ(text.count(id.toUtf8()), 1);
    // And the import still reaches all of them.
    const RoundTrip trip = ExportAndImport();
    EXPECT_EQ(trip.After.Persons.size(), trip.Before.Persons.size());
}

TEST_F(GedcomExport, CancelledOrFailedExportLeavesTheOldFile) {
    const QString file = test::NewTempDir() + QStringLiteral("/old.ged");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("kept");
    }
    TGedcomExportSummary summary;
    QString error;
    EXPECT_FALSE(ExportGedcomFile(
        file, [](const TGedcomProgress&) { return false; }, summary, error));
    EXPECT_FALSE(error.isEmpty());
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("kept"));
    EXPECT_FALSE(ExportGedcomFile(file + QStringLiteral("/inside-a-file.ged"), {}, summary, error));
    CloseTreeFile();
    QByteArray text;
    EXPECT_FALSE(ExportGedcomText(text, summary, error));
    EXPECT_FALSE(error.isEmpty());
}

// Trees from files of other programs and the sample family: imported, exported and imported again.
TEST(GedcomExportSamples, SampleFamilyAndEveryPublicFileComeBackWhole) {
    QStringList files{test::TestData(QStringLiteral("../../resources/sample/sample-family.ged"))};
    const QDir samples(test::SampleData(QStringLiteral("gedcom")));
    for (const QString& name :
         samples.entryList({QStringLiteral("*.ged"), QStringLiteral("*.GED")}, QDir::Files))
        files << samples.filePath(name);
    ASSERT_GE(files.size(), 13);
    for (const QString& file : std::as_const(files)) {
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult first;
        ASSERT_TRUE(ImportGedcomFile(file, options, first)) << first.ErrorMessage.toStdString();
        ASSERT_TRUE(OpenTreeFile(first.TreePath));
        const RoundTrip trip = ExportAndImport();
        const RoundTrip seven = ExportAndImport(TGedcomVersion::V70);
        CloseTreeFile();
        ExpectSame(trip.Before, trip.After, file.toStdString());
        ExpectWellFormed(trip.Text);
        ExpectSame(seven.Before, seven.After, "7.0 " + file.toStdString());
        const QStringList faults = test::ValidateGedcom7(seven.Text, true);
        EXPECT_TRUE(faults.isEmpty()) << file.toStdString() << "\n"
                                      << faults.mid(0, 10).join(u'\n').toStdString();
        if (file.endsWith(QLatin1String("royal92.ged"))) {
            EXPECT_EQ(trip.After.Persons.size(), 3010);
        }
    }
}

} // namespace
} // namespace verdan
