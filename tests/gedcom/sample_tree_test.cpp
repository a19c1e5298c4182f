#include "common/testing.h"
#include "gedcom/gedcom_import.h"
#include "gedcom/gedcom_reader.h"
#include "storage/database.h"

#include <QHash>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// The sample family that the first run of the program opens, imported as a newcomer's first run does.
class SampleTree : public ::testing::Test {
protected:
    static QString SampleFile() {
        return test::TestData(QStringLiteral("../../resources/sample/sample-family.ged"));
    }

    static void SetUpTestSuite() {
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult result;
        ASSERT_TRUE(ImportGedcomFile(SampleFile(), options, result)) << result.ErrorMessage.toStdString();
        Path = new QString(result.TreePath);
    }
    static void TearDownTestSuite() {
        delete Path;
        Path = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(Path, nullptr);
        ASSERT_TRUE(Db.Open(*Path));
        Global = Db.ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo"));
    }

    qint64 Count(const char* sql) { return Db.ScalarInt(QString::fromUtf8(sql)); }

    static QString* Path;
    Tdm Db;
    QString Global;
};

QString* SampleTree::Path = nullptr;

TEST_F(SampleTree, HoldsAFewHundredPersonsInNamedGroups) {
    TGedcomData data;
    ASSERT_TRUE(ReadGedcomFile(SampleFile(), data));
    EXPECT_EQ(Count("SELECT count(*) FROM ftPerson"), qint64(data.Persons.size()) + 1)
        << "every individual and the outside-the-tree group";
    const qint64 persons = Count("SELECT count(*) FROM ftPerson WHERE is_section = 0");
    EXPECT_GE(persons, 250);
    EXPECT_LE(persons, 400);

    TextTable groups;
    Db.QueryToTable(QStringLiteral("SELECT person_name, section_type FROM ftPerson WHERE is_section = 1 AND "
                                   "person_id <> '") +
                        Global + QStringLiteral("' ORDER BY oid"),
                    groups);
    ASSERT_EQ(groups.size(), 4) << "the column names and three groups";
    EXPECT_EQ(groups[1], (QStringList{QStringLiteral("آل الريّان"), QStringLiteral("عائلة")}));
    EXPECT_EQ(groups[2], (QStringList{QStringLiteral("الحمادنة"), QStringLiteral("فخذ")}));
    EXPECT_EQ(groups[3], (QStringList{QStringLiteral("آل نصّار"), QStringLiteral("بيت")}));
    EXPECT_EQ(Db.ScalarText(QStringLiteral("SELECT father_id FROM ftPerson WHERE person_name = 'الحمادنة'")),
              Db.ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE person_name = 'آل الريّان'")))
        << "a branch within the family";
}

TEST_F(SampleTree, EveryPersonHangsInTheOutlineAlongEightOrMoreGenerations) {
    QHash<QString, QString> father;
    QHash<QString, bool> group;
    Query q = Db.Prepare(QStringLiteral("SELECT person_id, father_id, is_section FROM ftPerson"));
    q.ForEachRow([&](Query& row) {
        father.insert(row.Text(0), row.Text(1));
        group.insert(row.Text(0), row.Bool(2));
    });
    int deepest = 0;
    for (auto it = father.cbegin(); it != father.cend(); ++it) {
        int generations = 0;
        int steps = 0;
        QString id = it.key();
        // A person is visible when the father line climbs to the top level through known persons.
        while (id != QLatin1String("-1") && steps++ <= father.size()) {
            ASSERT_TRUE(father.contains(id)) << "unknown father " << id.toStdString();
            generations += group.value(id) ? 0 : 1;
            id = father.value(id);
        }
        ASSERT_EQ(id, QStringLiteral("-1")) << it.key().toStdString() << " is out of sight";
        deepest = std::max(deepest, generations);
    }
    EXPECT_GE(deepest, 8);
    EXPECT_GT(
        Count("SELECT count(*) FROM ftPerson WHERE father_id = (SELECT global_parent_id FROM ftTreeInfo)"), 0)
        << "wives who married in";
}

TEST_F(SampleTree, HasSeveralWivesADivorceAndBreastfeedingRelations) {
    EXPECT_GE(Count("SELECT max(n) FROM (SELECT count(*) AS n FROM ftRelation WHERE relation_type = 0 "
                    "GROUP BY person_id_1)"),
              3);
    EXPECT_EQ(Count("SELECT count(*) FROM ftRelation WHERE relation_type = 0 AND split = 1"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM ftRelation r WHERE relation_type = 0 AND EXISTS (SELECT 1 FROM "
                    "ftRelation d WHERE d.split = 1 AND d.person_id_2 = r.person_id_2 AND d.oid <> r.oid)"),
              1)
        << "the divorced wife married again";

    EXPECT_GE(Count("SELECT count(*) FROM ftRelation WHERE relation_type = 1"), 1);
    EXPECT_GE(Count("SELECT count(*) FROM ftRelation WHERE relation_type = 2"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM ftRelation r JOIN ftPerson m ON m.person_id = r.person_id_1 "
                    "JOIN ftPerson c ON c.person_id = r.person_id_2 WHERE r.relation_type = 2 AND "
                    "(m.gender <> 'f' OR c.mother_id = m.person_id)"),
              0)
        << "a nursing mother is a woman other than the child's mother";
    EXPECT_EQ(Count("SELECT count(*) FROM ftRelation WHERE relation_type > 0 AND "
                    "(coalesce(name_1, '') = '' OR coalesce(name_2, '') = '')"),
              0);
}

TEST_F(SampleTree, DatesArriveInBothCalendarsWithPlacesNamesAndNotes) {
    const QString founder = QStringLiteral("SELECT %1 FROM ftPerson WHERE father_id = (SELECT person_id FROM "
                                           "ftPerson WHERE person_name = 'آل الريّان') AND is_section = 0");
    EXPECT_EQ(Db.ScalarInt(founder.arg(QStringLiteral("date_of_death_h"))), 11951012) << "12 Shawwal 1195";
    EXPECT_EQ(Db.ScalarInt(founder.arg(QStringLiteral("date_of_death_g"))), 17811001);
    EXPECT_EQ(Db.ScalarInt(founder.arg(QStringLiteral("date_of_birth_h"))), 11300000) << "about 1130";
    EXPECT_EQ(Db.ScalarInt(founder.arg(QStringLiteral("date_of_birth_g"))), 17180000);
    EXPECT_EQ(Db.ScalarText(founder.arg(QStringLiteral("cognomen"))), QStringLiteral("الشيخ"));
    EXPECT_TRUE(Db.ScalarText(founder.arg(QStringLiteral("nickname"))).startsWith(QStringLiteral("أبو ")));

    EXPECT_EQ(Count("SELECT count(*) FROM ftPerson WHERE (date_of_birth_h = 0) <> (date_of_birth_g = 0) OR "
                    "(date_of_death_h = 0) <> (date_of_death_g = 0)"),
              0)
        << "every date in both calendars";
    EXPECT_GT(Count("SELECT count(*) FROM ftPerson WHERE date_of_birth_h BETWEEN 1 AND 12999999"), 50)
        << "older generations";
    EXPECT_GT(Count("SELECT count(*) FROM ftPerson WHERE date_of_birth_g >= 19500000"), 50);
    EXPECT_GT(Count("SELECT count(*) FROM ftPerson WHERE is_dead = 1 AND date_of_death_g = 0"), 0)
        << "deaths without a date";
    EXPECT_EQ(
        Count("SELECT count(*) FROM ftPerson WHERE is_section = 0 AND coalesce(place_of_birth, '') = ''"), 0);
    EXPECT_GT(Count("SELECT count(*) FROM ftPerson WHERE nickname LIKE 'أم %'"), 10);
    EXPECT_GT(Count("SELECT count(*) FROM ftPerson WHERE coalesce(cognomen, '') <> ''"), 5);
    EXPECT_GT(Count("SELECT count(*) FROM ftPerson WHERE coalesce(notes, '') <> ''"), 50);
}

} // namespace
} // namespace verdan
