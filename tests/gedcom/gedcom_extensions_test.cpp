#include "common/testing.h"
#include "gedcom/gedcom_import.h"
#include "gedcom/gedcom_reader.h"
#include "storage/database.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

class Extensions : public ::testing::Test {
protected:
    void SetUp() override {
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult result;
        ASSERT_TRUE(
            ImportGedcomFile(test::TestData(QStringLiteral("gedcom/extensions.ged")), options, result))
            << result.ErrorMessage.toStdString();
        ASSERT_TRUE(Db.Open(result.TreePath));
    }

    QString Column(const char* name, const char* column) {
        return Db.ScalarText(QStringLiteral("SELECT ") + QLatin1String(column) +
                                 QStringLiteral(" FROM ftPerson WHERE person_name = ?"),
                             QString::fromUtf8(name));
    }

    Tdm Db;
};

TEST(GedcomExtensionsRead, AssociationsAndGroupMarksAreCollectedWithTheirIndividual) {
    TGedcomData data;
    ASSERT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/extensions.ged")), data));
    ASSERT_EQ(data.Groups.size(), 1u) << "_GROUP N marks nothing";
    EXPECT_EQ(data.Persons[size_t(data.Groups[0].Person)].Xref, QStringLiteral("G1"));
    EXPECT_EQ(data.Groups[0].Type, QStringLiteral("Clan"));

    ASSERT_EQ(data.Associations.size(), 10u);
    const TGedAssociation& first = data.Associations[0];
    EXPECT_EQ(data.Persons[size_t(first.Person)].Xref, QStringLiteral("I3"));
    EXPECT_EQ(first.Xref, QStringLiteral("I4"));
    EXPECT_EQ(first.Relation, QStringLiteral("Breastfeeding mother"));
    const TGedAssociation& last = data.Associations.back();
    EXPECT_TRUE(last.Xref.isEmpty());
    EXPECT_EQ(last.Value, QStringLiteral("Godfather"));
    EXPECT_TRUE(last.Relation.isEmpty());
}

TEST_F(Extensions, GroupsBecomeGroupPersonsWithTheirKindAtTheTopOfTheirMembers) {
    EXPECT_EQ(Column("Nasser Family", "is_section"), QStringLiteral("1"));
    EXPECT_EQ(Column("Nasser Family", "section_type"), QStringLiteral("Clan"));
    EXPECT_EQ(Column("Nasser Family", "father_id"), QStringLiteral("-1"));
    EXPECT_EQ(Column("Saad", "father_id"), Column("Nasser Family", "person_id"));
    EXPECT_EQ(Column("NotAGroup", "is_section"), QStringLiteral("0"));
}

TEST_F(Extensions, BreastfeedingAssociationsBecomeOneRelationPerPair) {
    const QString fahd = Column("Fahd", "person_id");
    const QString nura = Column("Nura", "person_id");
    const QString salim = Column("Salim", "person_id");
    EXPECT_EQ(Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation WHERE relation_type > 0")), 2)
        << "the mother named twice and the siblings naming each other give one row each";
    EXPECT_EQ(Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation WHERE relation_type = 2 AND "
                                          "person_id_1 = ? AND person_id_2 = ?"),
                           nura, fahd),
              1)
        << "the nursing mother first, the child second";
    EXPECT_EQ(Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation WHERE relation_type = 1 AND "
                                          "((person_id_1 = ?1 AND person_id_2 = ?2) OR "
                                          "(person_id_1 = ?2 AND person_id_2 = ?1))"),
                           fahd, salim),
              1);
    EXPECT_EQ(Db.ScalarText(QStringLiteral("SELECT name_1 FROM ftRelation WHERE relation_type = 2")),
              QStringLiteral("Nura Otaibi"));
    EXPECT_FALSE(Db.ScalarText(QStringLiteral("SELECT date_created FROM ftRelation WHERE relation_type = 1"))
                     .isEmpty());
    EXPECT_EQ(Db.ScalarInt(QStringLiteral("SELECT count(*) FROM ftRelation WHERE relation_type = 0")), 1);
}

// In the file's own words, whatever the interface language.
TEST_F(Extensions, AssociationsThatCannotHoldStayInTheNotes) {
    const QString fahd = Column("Fahd", "notes");
    EXPECT_EQ(fahd, QStringLiteral("Born in the spring.\r\n"
                                   "ASSO Fahd Saad Nasser Family Nasser\r\n  RELA Breastfeeding sibling\r\n" // itself
                                   "ASSO Saad Nasser Family Nasser\r\n  RELA Breastfeeding mother\r\n"       // a man
                                   "ASSO Nasser Family\r\n  RELA Breastfeeding sibling\r\n"                  // a group
                                   "ASSO Nura Otaibi\r\n  RELA Witness\r\n"           // an unknown relation
                                   "ASSO @I99@\r\n  RELA Breastfeeding mother"));       // nobody in the file
    EXPECT_EQ(Column("Salim", "notes"), QStringLiteral("ASSO Godfather"));
    EXPECT_TRUE(Column("Nura", "notes").isEmpty());
}

} // namespace
} // namespace verdan
