#include "navigator/outline_fixture.h"
#include "relations/data_checks.h"
#include "relations/family_rules.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "text/localisation.h"

#include <QRandomGenerator>

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

TEST_F(DataChecksTest, ParentsWhoMayNotMarryBarredMarriagesAndLastingMarriagesAreFoundOnceEach) {
    ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
    Person("F", "Fahd", "-1", "0");
    Person("M", "Muna", "-1", "0", "f");
    Marry("F", "M");
    Person("B", "Bilal", "F", "M");
    Person("S", "Sumaya", "F", "M", "f");
    Person("C1", "Child of siblings", "B", "S");
    Person("C2", "Second child of siblings", "B", "S", "f");
    // His father's wife: his stepmother, through marriage.
    Person("N", "Nasser", "B", "0");
    Person("Z", "Zahra", "-1", "0", "f");
    Marry("B", "Z");
    Person("C3", "Child of a stepmother", "N", "Z");
    // A breastfeeding sister, and a couple of cousins (allowed).
    Person("K", "Khawla", "-1", "0", "f");
    Relate("B", "K", kBreastfeedingSiblings);
    Person("C4", "Child of milk siblings", "B", "K");
    Person("Q", "Qamar", "B", "0", "f");
    Person("R", "Rashid", "F", "0");
    Person("CS", "Cousin", "R", "0");
    Person("C5", "Child of cousins", "CS", "Q");
    // A married aunt, and a woman still married to two men; a third marriage that ended does not count.
    Marry("N", "S");
    Person("W", "Wafa", "-1", "0", "f");
    Person("H1", "Hani", "-1", "0");
    Person("H2", "Hamid", "-1", "0");
    Person("H3", "Hatim", "-1", "0");
    Marry("H1", "W");
    Marry("H2", "W");
    Marry("H3", "W");
    ASSERT_TRUE(SetMarriageSplit("H3", "W", true));
    const QList<TDataFinding> findings = CheckTreeData();
    QStringList lines;
    for (const TDataFinding& f : findings)
        lines << f.Name + QStringLiteral(": ") + FindingText(f);
    EXPECT_EQ(
        lines.join(u'\n').toStdString(),
        (QStringList{"Child of siblings: The father (Bilal) may not marry the mother (Sumaya). Mahram "
                     "through blood: she is his full sister.",
                     "Second child of siblings: The father (Bilal) may not marry the mother (Sumaya). "
                     "Mahram through blood: she is his full sister.",
                     "Child of a stepmother: The father (Nasser) may not marry the mother (Zahra). Mahram "
                     "through marriage: she is his father's wife.",
                     "Child of milk siblings: The father (Bilal) may not marry the mother (Khawla). Mahram "
                     "through breastfeeding: she is his sister by breastfeeding.",
                     "Nasser: He may not marry his wife Sumaya. Mahram through blood: she is his paternal "
                     "aunt.",
                     "Wafa: Her marriages to Hani, Hamid have not ended."})
            .join(u'\n')
            .toStdString());
    EXPECT_EQ(FindingKindName(findings.value(0).Kind), "parents-may-not-marry");
    EXPECT_EQ(FindingKindName(findings.value(4).Kind), "marriage-may-not-be");
    EXPECT_EQ(FindingKindName(findings.value(5).Kind), "lasting-marriages");
    // Her first husband's death ends that marriage.
    ASSERT_EQ(
        Dm().Execute(QStringLiteral("UPDATE ftPerson SET Date_of_Death_H = 14300000 WHERE person_id = 'H1'")),
        1);
    EXPECT_EQ(CheckTreeData().size(), 5);
}

TEST_F(DataChecksTest, CalendarsThatDisagreeAndAgesHardToBelieveAreFoundOnceEach) {
    ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
    const auto dates = [](const QString& id, int birthG, int birthH, int deathG, int deathH) {
        ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET Date_of_Birth_G = ?, Date_of_Birth_H = ?, "
                                              "Date_of_Death_G = ?, Date_of_Death_H = ? WHERE person_id = ?"),
                               birthG, birthH, deathG, deathH, id),
                  1);
    };
    Person("F", "Fahd", "-1", "0");
    Person("M", "Muna", "-1", "0", "f");
    Marry("F", "M");
    Person("A", "Amal", "F", "M", "f");
    Person("B", "Badr", "F", "M");
    // 15 March 1990 is 18 Sha'ban 1410; 1 Muharram 1410 is 4 August 1989. Partial dates are never compared.
    dates("F", 19000101, 0, 19900315, 14100818);
    dates("M", 19100315, 13280101, 19700000, 13000000);
    dates("A", 19300000, 0, 0, 0);
    dates("B", 19910601, 0, 0, 0); // after his mother's death and long after his father's
    const QList<TDataFinding> findings = CheckTreeData();
    QStringList lines;
    for (const TDataFinding& f : findings)
        lines << f.Name + QStringLiteral(": ") + FindingText(f) + QStringLiteral(" [") +
                     FindingKindName(f.Kind) + u']';
    EXPECT_EQ(lines.join(u'\n').toStdString(),
              "Muna: The two calendars of the birth date lie 61 days apart: 15-03-1910 G and 01-01-1328 H. "
              "[birth-calendars-disagree]\n"
              "Badr: Badr was born more than a year after Fahd died. [implausible-age]\n"
              "Badr: Badr was born after Muna died. [implausible-age]");
    dates("F", 19000101, 0, 19900315, 14100101);
    dates("M", 19100315, 13280101, 0, 0);
    dates("A", 19800000, 0, 0, 0); // when her mother was 70
    Marry("B", "A");               // and a brother married to his sister
    const QStringList kinds = [] {
        QStringList names;
        for (const TDataFinding& f : CheckTreeData())
            names << f.Name + u' ' + FindingKindName(f.Kind);
        return names;
    }();
    EXPECT_EQ(kinds, (QStringList{"Badr marriage-may-not-be", "Fahd death-calendars-disagree",
                                  "Muna birth-calendars-disagree", "Amal implausible-age",
                                  "Badr implausible-age", "Badr implausible-age"}));
}

// The check asks the kinship search only about the couples its own index cannot clear: on random families
// with breastfeeding and many marriages it must find exactly the couples the search finds when asked about
// every couple.
TEST_F(DataChecksTest, TheCheckFindsTheCouplesTheKinshipSearchFindsInRandomFamilies) {
    QRandomGenerator random(26);
    qsizetype barred = 0;
    for (int round = 0; round < 4; ++round) {
        ASSERT_GE(Dm().Execute(QStringLiteral("DELETE FROM ftPerson WHERE person_id <> ?"), global_), 0);
        ASSERT_GE(Dm().Execute(QStringLiteral("DELETE FROM ftRelation")), 0);
        QStringList men;
        QStringList women;
        for (int i = 0; i < 30; ++i) {
            const bool male = random.bounded(2) == 0;
            const QString id = QStringLiteral("P%1").arg(i);
            // Parents only among the persons before, so nobody is his own ancestor.
            const QString father =
                !men.isEmpty() && random.bounded(3) ? men[random.bounded(men.size())] : "-1";
            const QString mother =
                !women.isEmpty() && random.bounded(3) ? women[random.bounded(women.size())] : "0";
            Person(id, id, father, mother, male ? "m" : "f");
            (male ? men : women) << id;
        }
        for (int i = 0; i < 20; ++i) {
            const QString man = men[random.bounded(men.size())];
            const QString woman = women[random.bounded(women.size())];
            const int kind = random.bounded(8);
            if (kind < 6)
                Marry(man, woman);
            else if (kind == 6)
                Relate(woman, men[random.bounded(men.size())], kBreastfeedingMother);
            else
                Relate(man, women[random.bounded(women.size())], kBreastfeedingSiblings);
        }
        QStringList expected;
        Query q =
            Dm().Prepare("SELECT c.person_id, c.father_id, c.mother_id FROM ftPerson c JOIN ftPerson f ON "
                         "f.person_id = c.father_id JOIN ftPerson m ON m.person_id = c.mother_id "
                         "ORDER BY c.rowid");
        while (q.Next()) {
            if (!MayNotMarryReason(q.Text(1), q.Text(2)).isEmpty())
                expected << q.Text(0);
        }
        q = Query();
        QStringList found;
        for (const TDataFinding& f : CheckTreeData()) {
            if (f.Kind == TFindingKind::MotherBarredToFather)
                found << f.PersonId;
        }
        EXPECT_EQ(found, expected) << "round " << round;
        barred += expected.size();
    }
    EXPECT_GE(barred, 4); // the families hold barred couples to find
}

TEST_F(DataChecksTest, NoTreeNoFinding) {
    Person("A", "A", "A", "0");
    CloseTreeFile();
    EXPECT_TRUE(CheckTreeData().isEmpty());
}

} // namespace
} // namespace verdan::test
