#include "calendar/date_value.h"
#include "common/testing.h"
#include "gedcom/gedcom_import.h"
#include "storage/database.h"
#include "text/localisation.h"
#include "text/program_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace verdan {
namespace {

struct Imported {
    bool ok = false;
    TGedcomImportResult result;
};

Imported Import(const QString& file, const QString& base, const TGedcomProgressFn& progress = {}) {
    Imported imported;
    TGedcomImportOptions options;
    options.BaseFolder = base;
    options.Progress = progress;
    imported.ok = ImportGedcomFile(file, options, imported.result);
    return imported;
}

Imported ImportFixture(const char* name, const QString& base = test::NewTempDir()) {
    Imported imported = Import(test::TestData(QStringLiteral("gedcom/") + QLatin1String(name)), base);
    EXPECT_TRUE(imported.ok) << name << ": " << imported.result.ErrorMessage.toStdString();
    return imported;
}

// One person row of the new tree by its given name, as column -> value.
class Tree {
public:
    explicit Tree(const QString& path) { EXPECT_TRUE(Db.Open(path)) << path.toStdString(); }

    QString Person(const QString& name, const char* column) {
        return Db.ScalarText(QStringLiteral("SELECT ") + QLatin1String(column) +
                                 QStringLiteral(" FROM ftPerson WHERE person_name = ?"),
                             name);
    }
    QString IdOf(const QString& name) { return Person(name, "person_id"); }
    QString GlobalParent() {
        return Db.ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo"));
    }

    Tdm Db;
};

TEST(GedcomImport, CreatesANewTreeNamedAfterTheFileAndNeverReusesOne) {
    const QString base = test::NewTempDir();
    const Imported first = ImportFixture("basic.ged", base);
    EXPECT_EQ(first.result.TreePath, base + QStringLiteral("/basic/basic.vrd"));
    EXPECT_TRUE(QDir(base + QStringLiteral("/basic/photos")).exists());
    EXPECT_EQ(first.result.Summary.Individuals, 4);
    EXPECT_EQ(first.result.Summary.Families, 2);
    EXPECT_EQ(first.result.Summary.Marriages, 0);

    TGedcomImportResult byDefault;
    ASSERT_TRUE(ImportGedcomFile(test::TestData(QStringLiteral("gedcom/basic.ged")), {}, byDefault));
    EXPECT_EQ(byDefault.TreePath, ProgramFolder() + QStringLiteral("data/basic/basic.vrd"));

    QFile blocker(base + QStringLiteral("/basic-2"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(ImportFixture("basic.ged", base).result.TreePath,
              base + QStringLiteral("/basic-1/basic-1.vrd"));
    EXPECT_EQ(ImportFixture("basic.ged", base).result.TreePath,
              base + QStringLiteral("/basic-3/basic-3.vrd"));

    Tree tree(first.result.TreePath);
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson")), 5)
        << "the persons and the group";
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE is_section = 1")), 1);
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT tree_name FROM ftTreeInfo WHERE oid = 1")),
              QStringLiteral("basic"));
    EXPECT_TRUE(tree.Db.ScalarText(QStringLiteral("SELECT owner_name FROM ftTreeInfo")).isEmpty());
    const QString global = tree.GlobalParent();
    EXPECT_EQ(
        tree.Db.ScalarText(QStringLiteral("SELECT father_id FROM ftPerson WHERE person_id = ?"), global),
        QStringLiteral("-1"));
    EXPECT_EQ(
        tree.Db.ScalarInt(QStringLiteral("SELECT order_by_father FROM ftPerson WHERE person_id = ?"), global),
        1000);
}

TEST(GedcomImport, PlacesEveryPersonWhereTheOutlineShowsThem) {
    const Imported imported = ImportFixture("placement.ged");
    Tree tree(imported.result.TreePath);
    const QString global = tree.GlobalParent();
    const QString saad = tree.IdOf(QStringLiteral("Saad"));
    const QString hind = tree.IdOf(QStringLiteral("Hind"));

    EXPECT_EQ(tree.Person(QStringLiteral("Saad"), "father_id"), QStringLiteral("-1")) << "a founder";
    EXPECT_EQ(tree.Person(QStringLiteral("Hind"), "father_id"), global) << "a wife who married in";
    EXPECT_EQ(tree.Person(QStringLiteral("Lone"), "father_id"), global);
    EXPECT_EQ(tree.Person(QStringLiteral("Unsure"), "father_id"), global) << "a husband without children";

    EXPECT_EQ(tree.Person(QStringLiteral("Nura"), "father_id"), saad);
    EXPECT_EQ(tree.Person(QStringLiteral("Nura"), "mother_id"), hind);
    EXPECT_EQ(tree.Person(QStringLiteral("Nura"), "order_by_father"), QStringLiteral("1")) << "CHIL order";
    EXPECT_EQ(tree.Person(QStringLiteral("Nura"), "order_by_mother"), QStringLiteral("1"));
    EXPECT_EQ(tree.Person(QStringLiteral("Fahd"), "order_by_father"), QStringLiteral("2"));
    EXPECT_EQ(tree.Person(QStringLiteral("Fahd"), "display_order"), QStringLiteral("2"));

    EXPECT_EQ(tree.Person(QStringLiteral("Child"), "father_id"), QStringLiteral("0"))
        << "shown under his mother";
    EXPECT_EQ(tree.Person(QStringLiteral("Child"), "mother_id"), tree.IdOf(QStringLiteral("Mother")));

    // A circle of fathers is opened so that both persons can be reached.
    const QString cycleB =
        tree.Db.ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE last_name = 'B'"));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT father_id FROM ftPerson WHERE last_name = 'B'")),
              QStringLiteral("-1"));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT father_id FROM ftPerson WHERE last_name = 'A'")),
              cycleB);

    // Likewise a circle of mothers: one of them goes under the group and keeps her mother.
    const QString circleC =
        tree.Db.ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE last_name = 'C'"));
    const QString circleD =
        tree.Db.ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE last_name = 'D'"));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT father_id FROM ftPerson WHERE last_name = 'D'")),
              global);
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT mother_id FROM ftPerson WHERE last_name = 'D'")),
              circleC);
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT father_id FROM ftPerson WHERE last_name = 'C'")),
              QStringLiteral("0"));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT mother_id FROM ftPerson WHERE last_name = 'C'")),
              circleD);

    EXPECT_EQ(tree.Person(QStringLiteral("Unsure"), "gender"), QStringLiteral("m")) << "a husband";
    EXPECT_EQ(tree.Person(QStringLiteral("Mother"), "gender"), QStringLiteral("f")) << "a wife";
    EXPECT_EQ(tree.Person(QStringLiteral("Lone"), "gender"), QStringLiteral("m"));
    EXPECT_TRUE(tree.Person(QStringLiteral("Lone"), "notes").contains(QStringLiteral("SEX ?")));
    EXPECT_TRUE(tree.Person(QStringLiteral("Unsure"), "notes").isEmpty());
}

TEST(GedcomImport, WritesNamePartsAndKeepsTheRestInTheNotes) {
    const Imported imported = ImportFixture("names.ged");
    Tree tree(imported.result.TreePath);
    const QString fatima = QStringLiteral("Fatima");
    EXPECT_EQ(tree.Person(fatima, "last_name"), QStringLiteral("Al-Zahra"));
    EXPECT_EQ(tree.Person(fatima, "nickname"), QStringLiteral("Umm Hasan"));
    EXPECT_EQ(tree.Person(fatima, "cognomen"), QStringLiteral("Lady"));
    EXPECT_EQ(tree.Person(fatima, "gender"), QStringLiteral("f"));
    // What has no column stays in the notes in the file's own words; occupations are events.
    EXPECT_EQ(tree.Person(fatima, "notes"),
              QStringLiteral("NPFX Sayyida\r\nNAME Fatma /Hasan/\r\n  GIVN Fatma\r\n"
                             "  SURN Hasan\r\n  NICK other\r\nNAME فاطمة /الزهراء/"));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT group_concat(event_value, '; ') FROM ftEvents WHERE "
                                                "event_type = 'OCCU' ORDER BY oid")),
              QStringLiteral("teacher; poet"));

    // Without GIVN and SURN the NAME's parts give the names.
    const Imported basic = ImportFixture("basic.ged");
    Tree basicTree(basic.result.TreePath);
    EXPECT_EQ(basicTree.Person(QStringLiteral("Robert Eugene"), "last_name"), QStringLiteral("Williams"));
}

TEST(GedcomImport, WritesQualifiedDatesInBothCalendarsAndMarriages) {
    const Imported imported = ImportFixture("life.ged");
    EXPECT_EQ(imported.result.Summary.Marriages, 1);
    EXPECT_EQ(imported.result.Summary.MarriageDates, 1);
    EXPECT_EQ(imported.result.Summary.Divorces, 0) << "DIV N denies a divorce";
    EXPECT_EQ(imported.result.Summary.QualifiedDates, 2) << "BEF 2030, ABT 2040";
    EXPECT_EQ(imported.result.Summary.DatesKeptAsText, 0);
    Tree tree(imported.result.TreePath);
    const QString ahmad = QStringLiteral("Ahmad");
    EXPECT_EQ(tree.Person(ahmad, "date_of_birth_h"), QStringLiteral("14450901"));
    EXPECT_EQ(tree.Person(ahmad, "date_of_birth_g"), QStringLiteral("20240311"));
    EXPECT_EQ(tree.Person(ahmad, "place_of_birth"), QStringLiteral("Makkah"));
    EXPECT_EQ(tree.Person(ahmad, "date_of_death_g"), QStringLiteral("20300000"));
    EXPECT_EQ(tree.Person(ahmad, "death_qualifier"), QString::number(int(TDateQualifier::Before)));
    EXPECT_EQ(tree.Person(ahmad, "place_of_death"), QStringLiteral("Madinah"));
    EXPECT_EQ(tree.Person(ahmad, "is_dead"), QStringLiteral("1"));
    EXPECT_TRUE(tree.Person(ahmad, "notes").isEmpty()) << "every fact has its place";

    const QString amina = QStringLiteral("Amina");
    EXPECT_EQ(tree.Person(amina, "date_of_birth_g"), QStringLiteral("20230719"));
    EXPECT_EQ(tree.Person(amina, "date_of_birth_h"), QStringLiteral("14450101"));
    EXPECT_EQ(tree.Person(amina, "is_dead"), QStringLiteral("1")) << "a burial without a date";
    EXPECT_EQ(tree.Db.ScalarText(
                  QStringLiteral("SELECT event_type || ' ' || ifnull(event_value, '') FROM ftEvents")),
              QStringLiteral("BURI "));

    EXPECT_EQ(
        tree.Db.ScalarText(QStringLiteral("SELECT person_id_1 FROM ftRelation WHERE relation_type = 0")),
        tree.IdOf(ahmad));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT person_id_2 FROM ftRelation")), tree.IdOf(amina));
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT split FROM ftRelation")), 0);
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT is_active FROM ftRelation")), 1);
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT name_1 FROM ftRelation")),
              QStringLiteral("Ahmad Saleh"));
    EXPECT_EQ(tree.Db.ScalarText(QStringLiteral("SELECT place FROM ftRelation")), QStringLiteral("Jeddah"));
    // The wedding's date in both calendars with its qualifier; the divorce columns stay empty.
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT relation_date_1 FROM ftRelation")), 20400000);
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT marriage_qualifier FROM ftRelation")),
              int(TDateQualifier::About));
    const qint64 hijri = tree.Db.ScalarInt(QStringLiteral("SELECT relation_date_1_h FROM ftRelation"));
    EXPECT_GE(hijri, 14620000);
    EXPECT_LT(hijri, 14640000);
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT ifnull(relation_date_2, 0) FROM ftRelation")), 0);
}

TEST(GedcomImport, OrdersRemarriagesAndMarksDivorces) {
    const Imported imported =
        Import(test::SampleData(QStringLiteral("gedcom/REMARR.GED")), test::NewTempDir());
    ASSERT_TRUE(imported.ok);
    EXPECT_EQ(imported.result.Summary.Marriages, 3);
    Tree tree(imported.result.TreePath);
    TextTable rows;
    tree.Db.QueryToTable(
        QStringLiteral("SELECT p1.person_name, p2.person_name, r.relation_order_1, r.relation_order_2, "
                       "r.split FROM ftRelation r JOIN ftPerson p1 ON p1.person_id = r.person_id_1 "
                       "JOIN ftPerson p2 ON p2.person_id = r.person_id_2 ORDER BY r.oid"),
        rows);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[1], (QStringList{"Peter", "Mary", "1", "1", "1"}));
    EXPECT_EQ(rows[2], (QStringList{"Juan", "Mary", "2", "1", "1"}));
    EXPECT_EQ(rows[3], (QStringList{"Peter", "Mary", "3", "2", "0"})) << "the couple married again";
}

TEST(GedcomImport, CreatesNothingForAnUnreadableFileAndRemovesACancelledTree) {
    const QString base = test::NewTempDir();
    for (const char* bad : {"garbage.ged", "missing.ged", "empty.ged"}) {
        const Imported imported =
            Import(test::TestData(QStringLiteral("gedcom/") + QLatin1String(bad)), base);
        EXPECT_FALSE(imported.ok) << bad;
        EXPECT_FALSE(imported.result.ErrorMessage.isEmpty()) << bad;
        EXPECT_TRUE(imported.result.TreePath.isEmpty()) << bad;
    }
    EXPECT_TRUE(QDir(base).isEmpty());

    bool wrote = false;
    const Imported cancelled = Import(test::TestData(QStringLiteral("gedcom/basic.ged")), base,
                                      [&](const TGedcomProgress& progress) {
                                          wrote = wrote || progress.PersonsTotal > 0;
                                          return progress.PersonsTotal == 0;
                                      });
    EXPECT_TRUE(wrote);
    EXPECT_FALSE(cancelled.ok);
    EXPECT_FALSE(cancelled.result.ErrorMessage.isEmpty());
    EXPECT_TRUE(QDir(base).isEmpty()) << "the new folder is removed again";
}

TEST(GedcomImport, ImportsThePublicSamples) {
    const QString base = test::NewTempDir();
    const Imported royal = Import(test::SampleData(QStringLiteral("gedcom/royal92.ged")), base);
    ASSERT_TRUE(royal.ok) << royal.result.ErrorMessage.toStdString();
    EXPECT_EQ(royal.result.Summary.Individuals, 3010);
    EXPECT_GT(royal.result.Summary.Marriages, 1000);
    Tree tree(royal.result.TreePath);
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE is_section = 0")), 3010);
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation")),
              royal.result.Summary.Marriages);
    // Every person hangs somewhere: at the top, under the group, or under a parent in the tree.
    EXPECT_EQ(tree.Db.ScalarInt(QStringLiteral(
                  "SELECT count(*) FROM ftPerson p WHERE p.father_id NOT IN ('-1', '0') AND NOT EXISTS "
                  "(SELECT 1 FROM ftPerson f WHERE f.person_id = p.father_id)")),
              0);

    auto names = [&](const char* sample) {
        const Imported imported =
            Import(test::SampleData(QStringLiteral("gedcom/") + QLatin1String(sample)), base);
        EXPECT_TRUE(imported.ok) << sample;
        Tree sampleTree(imported.result.TreePath);
        TextTable table;
        sampleTree.Db.QueryToTable(
            QStringLiteral("SELECT person_name, last_name FROM ftPerson WHERE is_section = 0 ORDER BY oid"),
            table);
        return table;
    };
    const TextTable utf8 = names("555SAMPLE.GED");
    EXPECT_EQ(utf8.size(), 4);
    EXPECT_EQ(names("555SAMPLE16LE.GED"), utf8);
    EXPECT_EQ(names("555SAMPLE16BE.GED"), utf8);
}

// An English file imported while the interface speaks Arabic gets no Arabic word into its data: notes,
// events and names hold the file's own words.
TEST(GedcomImport, InterfaceLanguageNeverReachesTheData) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    const Imported royal = Import(test::SampleData(QStringLiteral("gedcom/royal92.ged")), test::NewTempDir());
    const Imported fixtures = ImportFixture("names.ged");
    const Imported life = ImportFixture("life.ged");
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    ASSERT_TRUE(royal.ok);
    EXPECT_GT(royal.result.Summary.Events, 150);
    const QRegularExpression arabic(QStringLiteral("[\\x{0600}-\\x{06FF}]"));
    for (const Imported* imported : {&royal, &life}) {
        Tree tree(imported->result.TreePath);
        for (const char* sql :
             {"SELECT person_name || ifnull(last_name, '') || ifnull(nickname, '') || ifnull(cognomen, '') "
              "|| "
              "ifnull(notes, '') || ifnull(place_of_birth, '') || ifnull(place_of_death, '') || "
              "ifnull(birth_phrase, '') || ifnull(death_phrase, '') FROM ftPerson WHERE is_section = 0",
              "SELECT ifnull(event_type, '') || ifnull(event_descriptor, '') || ifnull(event_value, '') || "
              "ifnull(event_place, '') || ifnull(notes, '') || ifnull(date_phrase, '') FROM ftEvents",
              "SELECT ifnull(notes, '') || ifnull(place, '') || ifnull(marriage_phrase, '') || "
              "ifnull(divorce_phrase, '') FROM ftRelation"}) {
            Query q = tree.Db.Prepare(QString::fromLatin1(sql));
            while (q.Next())
                ASSERT_FALSE(q.Text(0).contains(arabic)) << q.Text(0).toStdString();
        }
        EXPECT_GT(tree.Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE is_section = 0")), 1);
    }
    // The Arabic the file itself holds stays.
    Tree names(fixtures.result.TreePath);
    EXPECT_TRUE(names.Person(QStringLiteral("Fatima"), "notes").contains(QStringLiteral("فاطمة")));
}

} // namespace
} // namespace verdan
