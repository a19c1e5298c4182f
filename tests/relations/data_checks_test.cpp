#include "navigator/outline_fixture.h"
#include "relations/data_checks.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

namespace verdan::test {
namespace {

class DataChecksTest : public OutlineTest {
protected:
    // Each finding as "kind person: detail", the person by name.
    static QStringList Lines(const QList<TDataFinding>& findings) {
        QStringList lines;
        for (const TDataFinding& f : findings)
            lines << QString::number(static_cast<int>(f.Kind)) + u' ' + f.Name + QStringLiteral(": ") +
                         f.Detail;
        return lines;
    }
    static QString Line(TFindingKind kind, const QString& name, const QString& detail = QString()) {
        return QString::number(static_cast<int>(kind)) + u' ' + name + QStringLiteral(": ") + detail;
    }
    void Relate(const QString& a, const QString& b, int type) {
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) "
                                        "VALUES (?, ?, ?)"),
                         a, b, type),
            1);
    }
};

TEST_F(DataChecksTest, ASoundFamilyHasNoFinding) {
    Person("F", "Father", "-1", "0");
    Person("M", "Mother", "-1", "0", QStringLiteral(u"أنثى"));
    Person("S", "Son", "F", "M", "M");
    Person("D", "Daughter", "F", "M", "F");
    Marry("F", "M");
    Relate("D", "S", kBreastfeedingSiblings);
    EXPECT_TRUE(CheckTreeData().isEmpty());
}

TEST_F(DataChecksTest, ParentsOfTheWrongGenderAndParentsWhoAreNobody) {
    Person("F", "Father", "-1", "0");
    Person("W", "Woman", "-1", "0", "f");
    Person("A", "A", "F", "F");        // a man as mother
    Person("B", "B", "W", "0");        // a woman as father
    Person("C", "C", "{LOST}", " 0 "); // a father nobody is; a blank-padded "0" is no mother
    Person("D", "D", "-1", "{GONE}");  // likewise the mother
    Person("E", "E", "E", "0");        // his own father
    const QStringList lines = Lines(CheckTreeData());
    EXPECT_EQ(lines, (QStringList{Line(TFindingKind::MotherIsMale, "A", "Father"),
                                  Line(TFindingKind::FatherIsFemale, "B", "Woman"),
                                  Line(TFindingKind::MissingFather, "C", "{LOST}"),
                                  Line(TFindingKind::MissingMother, "D", "{GONE}"),
                                  Line(TFindingKind::OwnParent, "E")}));
}

TEST_F(DataChecksTest, EveryCircleOfAncestorsIsFoundOnceWithItsNames) {
    // Through fathers, and through a mother.
    Person("A", "A", "C", "0");
    Person("B", "B", "A", "0");
    Person("C", "C", "B", "0");
    Person("X", "X", "-1", "Y");
    Person("Y", "Y", "X", "0", "f");
    // A long line that ends well is no circle.
    {
        Transaction transaction;
        QString father = QStringLiteral("-1");
        for (int i = 0; i < 3000; ++i) {
            Person(QStringLiteral("L%1").arg(i), QStringLiteral("L%1").arg(i), father, "0");
            father = QStringLiteral("L%1").arg(i);
        }
        ASSERT_TRUE(transaction.Commit());
    }
    const QList<TDataFinding> findings = CheckTreeData();
    ASSERT_EQ(findings.size(), 2);
    EXPECT_EQ(findings[0].Kind, TFindingKind::AncestorCycle);
    EXPECT_EQ(findings[0].PersonId, "A");
    EXPECT_EQ(findings[0].Detail, "A > C > B > A");
    EXPECT_EQ(findings[1].Detail, "X > Y > X");
    EXPECT_TRUE(FindingText(findings[0]).contains("A > C > B > A"));
}

TEST_F(DataChecksTest, RelationsWithNobodyWithThemselvesOrTheWrongGenders) {
    Person("H", "Husband", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("M", "Man", "-1", "0");
    Marry("H", "{NOBODY}");
    Marry("W", "M"); // the husband is a woman, the wife a man
    Relate("M", "M", kBreastfeedingSiblings);
    Relate(global_, "W", kBreastfeedingMother);
    Marry("H", "W");
    const QStringList lines = Lines(CheckTreeData());
    EXPECT_EQ(lines, (QStringList{Line(TFindingKind::RelationMissingPerson, "Husband", "{NOBODY}"),
                                  Line(TFindingKind::HusbandNotMale, "Wife", "Man"),
                                  Line(TFindingKind::WifeNotFemale, "Man", "Wife"),
                                  Line(TFindingKind::RelationWithItself, "Man"),
                                  Line(TFindingKind::GroupInRelation, GetPersonName(global_), "Wife")}));
}

TEST_F(DataChecksTest, RowsWithoutOrWithARepeatedIdentifier) {
    ASSERT_TRUE(Dm().ExecSql("DROP INDEX ftPerson_idx_person_id"));
    Person("P", "First", "-1", "0");
    Person("p", "Second", "-1", "0");
    Person("", "Nameless", "-1", "0");
    const QStringList lines = Lines(CheckTreeData());
    EXPECT_EQ(lines, (QStringList{Line(TFindingKind::DuplicateId, "Second"),
                                  Line(TFindingKind::BlankId, "Nameless")}));
}

TEST_F(DataChecksTest, NoTreeNoFinding) {
    Person("A", "A", "A", "0");
    CloseTreeFile();
    EXPECT_TRUE(CheckTreeData().isEmpty());
}

} // namespace
} // namespace verdan::test
