#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "tree_fixture.h"

namespace verdan {
namespace {

// A new tree with readable persons: a husband, a wife and two more men and women.
class RelationTest : public test::TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        if (HasFatalFailure())
            return;
        global_ = GetGlobalParentId();
        ASSERT_FALSE(global_.isEmpty());
        Put("{H}", "-1", "0", "Hasan", "m");
        Put("{W}", "-1", "0", "Warda", "f");
        Put("{H2}", "-1", "0", "Hamid", "m");
        Put("{W2}", "-1", "0", "Wafa", "f");
    }

    void Put(const QString& id, const QString& father, const QString& mother, const QString& name,
             const QString& gender, bool dead = false) {
        ASSERT_EQ(Dm().Execute("INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender, "
                               "Is_Dead) VALUES (?, ?, ?, ?, ?, ?)",
                               id, father, mother, name, gender, dead ? 1 : 0),
                  1);
    }

    int Rows(const QString& condition = "1") {
        return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftRelation WHERE " + condition));
    }
    QString Field(const QString& column, const QString& first, const QString& second, int type = 0) {
        return Dm().ScalarText("SELECT " + column +
                                   " FROM ftRelation WHERE person_id_1 = ? AND person_id_2 = ? AND "
                                   "relation_type = ?",
                               first, second, type);
    }
    static QStringList Column(const TextTable& table, int column = 0) {
        QStringList values;
        for (qsizetype r = 1; r < table.size(); ++r)
            values << table[r][column];
        return values;
    }
    static QStringList MateIds(const TMateList& mates) {
        QStringList ids;
        for (const TMate& mate : mates)
            ids << mate.Person_Id;
        return ids;
    }

    QString global_;
};

TEST_F(RelationTest, MarriageIsOneRowPerPairWhicheverOrderIsGiven) {
    EXPECT_TRUE(AddMarriage("{H}", "{W}"));
    EXPECT_FALSE(AddMarriage("{H}", "{W}"));
    EXPECT_FALSE(AddMarriage("{W}", "{H}"));
    EXPECT_FALSE(AddMarriage("{h}", "{w}")); // identifiers compare without letter case
    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(MarriageExists("{H}", "{W}"));
    EXPECT_TRUE(MarriageExists("{W}", "{H}"));
    EXPECT_FALSE(MarriageExists("{H}", "{W2}"));

    EXPECT_EQ(Field("relation_order_1", "{H}", "{W}"), "99");
    EXPECT_EQ(Field("relation_order_2", "{H}", "{W}"), "99");
    EXPECT_EQ(Field("is_active", "{H}", "{W}"), "0");
    EXPECT_EQ(Field("split", "{H}", "{W}"), "0");
    EXPECT_EQ(Field("owner_id", "{H}", "{W}"), props_.OwnerId);
    EXPECT_EQ(Field("name_1", "{H}", "{W}"), GetLineageName("{H}"));
    EXPECT_EQ(Field("name_2", "{H}", "{W}"), GetLineageName("{W}"));
    EXPECT_TRUE(ParseStamp(Field("date_created", "{H}", "{W}")).isValid());

    // Breastfeeding links of the same two persons are separate relations and survive the divorce record.
    EXPECT_TRUE(AddBreastfeedingSiblings("{W}", "{H}"));
    EXPECT_TRUE(AddBreastfeedingMother("{W}", "{H}"));
    EXPECT_EQ(DeleteMarriage("{W}", "{H}"), 1);
    EXPECT_FALSE(MarriageExists("{H}", "{W}"));
    EXPECT_TRUE(BreastfeedingSiblingsExist("{H}", "{W}"));
    EXPECT_TRUE(BreastfeedingMotherExists("{W}", "{H}"));
    EXPECT_EQ(DeleteMarriage("{H}", "{W}"), 0);
}

TEST_F(RelationTest, BreastfeedingSiblingsAreSymmetric) {
    ASSERT_TRUE(AddMarriage("{H}", "{W}"));
    // A marriage in the other order is no sibling relation: the type holds for both orders.
    EXPECT_FALSE(BreastfeedingSiblingsExist("{W}", "{H}"));

    EXPECT_TRUE(AddBreastfeedingSiblings("{H2}", "{W2}"));
    EXPECT_FALSE(AddBreastfeedingSiblings("{W2}", "{H2}"));
    EXPECT_TRUE(BreastfeedingSiblingsExist("{H2}", "{W2}"));
    EXPECT_TRUE(BreastfeedingSiblingsExist("{W2}", "{H2}"));
    EXPECT_TRUE(AddBreastfeedingSiblings("{H}", "{H2}"));
    EXPECT_EQ(Rows("relation_type = 1"), 2);
    EXPECT_TRUE(Field("relation_order_1", "{H2}", "{W2}", 1).isEmpty());

    TextTable table;
    ListBreastfeedingSiblings("{H2}", table);
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(Column(table), QStringList({"{W2}", "{H}"}));
    ListBreastfeedingSiblings("{W2}", table);
    EXPECT_EQ(Column(table), QStringList({"{H2}"}));

    EXPECT_EQ(DeleteBreastfeedingSiblings("{W2}", "{H2}"), 1);
    EXPECT_FALSE(BreastfeedingSiblingsExist("{H2}", "{W2}"));
    EXPECT_EQ(DeleteBreastfeedingSiblings("{H2}", "{H}"), 1);
    EXPECT_TRUE(MarriageExists("{H}", "{W}"));
}

TEST_F(RelationTest, BreastfeedingMotherIsDirected) {
    EXPECT_TRUE(AddBreastfeedingMother("{W}", "{H}"));
    EXPECT_TRUE(BreastfeedingMotherExists("{W}", "{H}"));
    EXPECT_TRUE(BreastfeedingMotherExists("{H}", "{W}")); // the test looks at both orders
    EXPECT_FALSE(AddBreastfeedingMother("{H}", "{W}"));   // and so does the refusal of a second row
    EXPECT_TRUE(AddBreastfeedingMother("{W2}", "{H}"));
    EXPECT_TRUE(AddBreastfeedingMother("{W}", "{H2}"));

    TextTable table;
    ListBreastfeedingMothers("{H}", table);
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(table[0], QStringList({"person_id_1"}));
    EXPECT_EQ(Column(table), QStringList({"{W}", "{W2}"}));
    ListBreastfeedingChildren("{W}", table);
    EXPECT_EQ(Column(table), QStringList({"{H}", "{H2}"}));

    // Only the row in the order mother, child is removed.
    EXPECT_EQ(DeleteBreastfeedingMother("{H}", "{W}"), 0);
    EXPECT_EQ(DeleteBreastfeedingMother("{W}", "{H}"), 1);
    EXPECT_FALSE(BreastfeedingMotherExists("{W}", "{H}"));

    AddBreastfeedingSiblings("{H}", "{H2}");
    AddMarriage("{H}", "{W}");
    ListBreastfeedingRelations(table);
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table[0], QStringList({"oid", "person_id_1", "person_id_2", "name_1", "relation_type", "name_2",
                                     "notes"}));
    EXPECT_EQ(Column(table, 4), QStringList({"1", "2", "2"})); // by name_1: Hasan, Wafa, Warda
}

TEST_F(RelationTest, TheGlobalParentAndReservedIdsTakeNoPart) {
    for (const QString& other :
         {global_, global_.toLower(), QString(), QString("0"), QString("-1"), QString(" ")}) {
        EXPECT_FALSE(AddMarriage("{H}", other)) << other.toStdString();
        EXPECT_FALSE(AddMarriage(other, "{H}")) << other.toStdString();
        EXPECT_FALSE(AddBreastfeedingSiblings("{H}", other)) << other.toStdString();
        EXPECT_FALSE(AddBreastfeedingSiblings(other, "{H}")) << other.toStdString();
        EXPECT_FALSE(AddBreastfeedingMother("{W}", other)) << other.toStdString();
        EXPECT_FALSE(AddBreastfeedingMother(other, "{H}")) << other.toStdString();
        EXPECT_FALSE(MarryPersons(other, "{W}")) << other.toStdString();
    }
    // Nobody is related to himself.
    EXPECT_FALSE(AddMarriage("{H}", "{h}"));
    EXPECT_FALSE(AddBreastfeedingSiblings("{W}", "{W}"));
    EXPECT_FALSE(AddBreastfeedingMother("{W}", "{W}"));
    EXPECT_FALSE(MarryPersons("{H}", "{H}"));
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(HasAnyRelation(global_));
}

TEST_F(RelationTest, MarryingMakesTheMarriageActiveAndOffersChildren) {
    QList<QStringList> offered;
    const CoupleChildrenHandler previous =
        SetCoupleChildrenHandler([&offered](const QString& husband, const QString& wife) {
            offered << QStringList{husband, wife};
        });

    EXPECT_TRUE(MarryPersons("{H}", "{W}"));
    EXPECT_EQ(Field("is_active", "{H}", "{W}"), "1");
    EXPECT_EQ(Field("split", "{H}", "{W}"), "0");
    EXPECT_EQ(Field("relation_order_1", "{H}", "{W}"), "99");
    EXPECT_EQ(Field("relation_order_2", "{H}", "{W}"), "99");
    EXPECT_TRUE(offered.isEmpty()); // neither has children

    EXPECT_TRUE(MarryPersons("{H}", "{W}")); // again: still one row
    EXPECT_EQ(Rows(), 1);

    Put("{C}", "0", "{W2}", "Child", "m");
    EXPECT_TRUE(MarryPersons("{H2}", "{W2}"));
    EXPECT_EQ(offered, QList<QStringList>({{"{H2}", "{W2}"}}));
    EXPECT_FALSE(MarryPersons(global_, "{W2}"));
    EXPECT_EQ(offered.size(), 1);

    SetCoupleChildrenHandler(previous);
}

TEST_F(RelationTest, MatesComeInTheirOrderOnTheirSpouseSide) {
    Put("{W3}", "-1", "0", "Wijdan", QStringLiteral(u"أنثى"), true);
    Put("{U}", "-1", "0", "Unknown", "");
    ASSERT_TRUE(AddMarriage("{H}", "{W}"));
    ASSERT_TRUE(AddMarriage("{H}", "{W2}"));
    ASSERT_TRUE(AddMarriage("{H}", "{W3}"));
    ASSERT_TRUE(AddMarriage("{H2}", "{W2}"));
    ASSERT_TRUE(AddMarriage("{H}", "{GONE}"));
    ASSERT_TRUE(AddMarriage("{H2}", "{U}"));
    EXPECT_TRUE(SetWifeOrder("{H}", "{W}", 3));
    EXPECT_TRUE(SetWifeOrder("{H}", "{W2}", 2));
    EXPECT_TRUE(SetWifeOrder("{H}", "{W3}", 1));
    // The wife comes first in SetHusbandOrder.
    EXPECT_TRUE(SetHusbandOrder("{W2}", "{H}", 2));
    EXPECT_TRUE(SetHusbandOrder("{W2}", "{H2}", 1));
    EXPECT_FALSE(SetHusbandOrder("{H}", "{W2}", 5));
    EXPECT_EQ(Field("relation_order_1", "{H}", "{W2}"), "2");
    EXPECT_TRUE(ParseStamp(Field("date_modified", "{H}", "{W2}")).isValid());

    TMateList mates(1); // ListMates empties the list first
    ListMates("{H}", mates);
    EXPECT_EQ(MateIds(mates), QStringList({"{W3}", "{W2}", "{W}"})); // the missing person is left out
    ASSERT_EQ(mates.size(), 3);
    EXPECT_EQ(mates[0].Gender, QStringLiteral(u"أنثى"));
    EXPECT_TRUE(mates[0].Is_Dead);
    EXPECT_FALSE(mates[1].Is_Dead);
    EXPECT_EQ(mates[0].LineageName, GetLineageName("{W3}"));
    ListMates("{W2}", mates);
    EXPECT_EQ(MateIds(mates), QStringList({"{H2}", "{H}"}));
    ListMates("{U}", mates); // unknown gender: as a woman
    EXPECT_EQ(MateIds(mates), QStringList({"{H2}"}));

    TextTable table;
    ListMateIds("{H}", table);
    EXPECT_EQ(Column(table), QStringList({"{W3}", "{W2}", "{W}", "{GONE}"}));
    ListMateIds("{w2}", table);
    EXPECT_EQ(Column(table), QStringList({"{H2}", "{H}"}));
    ListMarriageRows("{W2}", table);
    EXPECT_EQ(Column(table), QStringList({"{H}", "{H2}"}));
    EXPECT_EQ(Column(table, 1), QStringList({"{W2}", "{W2}"}));

    EXPECT_TRUE(HasMarriage("{W3}"));
    EXPECT_FALSE(HasMarriage("{C}"));
}

TEST_F(RelationTest, DivorceIsRecordedOnTheMarriage) {
    ASSERT_TRUE(MarryPersons("{H}", "{W}"));
    EXPECT_TRUE(SetMarriageSplit("{H}", "{W}", true));
    EXPECT_EQ(Field("split", "{H}", "{W}"), "1");
    TMateList mates;
    ListMates("{W}", mates);
    ASSERT_EQ(mates.size(), 1);
    EXPECT_TRUE(mates[0].Split);
    EXPECT_FALSE(SetMarriageSplit("{W}", "{H}", false)); // husband first
    EXPECT_EQ(Field("split", "{H}", "{W}"), "1");
    EXPECT_TRUE(SetMarriageSplit("{H}", "{W}", false));
    ListMates("{H}", mates);
    ASSERT_EQ(mates.size(), 1);
    EXPECT_FALSE(mates[0].Split);
}

TEST_F(RelationTest, ActiveMateIsTakenFromMarriagesOnly) {
    AddBreastfeedingMother("{W}", "{H}");
    EXPECT_TRUE(GetActiveMate("{H}").isEmpty());

    AddMarriage("{H}", "{W}");
    AddMarriage("{H}", "{W2}");
    EXPECT_EQ(GetActiveMate("{H}"), "{W}"); // none active: the first marriage
    SetMarriageActive("{H}", "{W2}");
    EXPECT_EQ(GetActiveMate("{H}"), "{W2}");
    EXPECT_EQ(GetActiveMate("{W2}"), "{H}");

    // An active marriage whose mate no longer exists gives way to the next active one.
    AddMarriage("{H2}", "{GONE}");
    AddMarriage("{H2}", "{W}");
    SetMarriageActive("{H2}", "{GONE}");
    EXPECT_EQ(GetActiveMate("{H2}"), "{GONE}");
    SetMarriageActive("{H2}", "{W}");
    EXPECT_EQ(GetActiveMate("{H2}"), "{W}");
}

TEST_F(RelationTest, ChildlessCoupleListsHoldMarriagesOnly) {
    // Hasan has no child; his wife Warda has one from an earlier husband.
    Put("{HC}", "{H2}", "{W}", "Child of Warda", "m");
    AddMarriage("{H}", "{W}");
    // Wafa has no child; Hamid has one.
    AddMarriage("{H2}", "{W2}");
    // Breastfeeding rows shaped like childless couples must not show up.
    Put("{N}", "-1", "0", "Nursing", "f");
    AddBreastfeedingMother("{N}", "{W}");
    AddBreastfeedingSiblings("{H2}", "{W2}");

    TextTable table;
    ListCouplesHusbandChildless(table);
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(table[0], QStringList({"person_id_1", "person_id_2", "name_1", "name_2"}));
    EXPECT_EQ(Column(table), QStringList({"{H}"}));
    EXPECT_EQ(Column(table, 1), QStringList({"{W}"}));
    ListCouplesWifeChildless(table);
    EXPECT_EQ(Column(table), QStringList({"{H2}"}));
    EXPECT_EQ(Column(table, 1), QStringList({"{W2}"}));

    // Once both have children of their own the couples leave the lists.
    Put("{C1}", "{H}", "{W}", "C1", "m");
    Put("{C2}", "{H2}", "{W2}", "C2", "m");
    ListCouplesHusbandChildless(table);
    EXPECT_EQ(table.size(), 1);
    ListCouplesWifeChildless(table);
    EXPECT_EQ(table.size(), 1);
}

TEST_F(RelationTest, ReservedParentsNeverMakeSiblings) {
    Put("{A}", "-1", "0", "A", "m");
    Put("{B}", "-1", "0", "B", "m");
    Put("{C}", "", "0", "C", "m");
    Put("{D}", "", "", "D", "m");
    Put("{E}", global_, "0", "E", "m");
    Put("{F}", global_, "0", "F", "m");
    Put("{G}", "-1", "{W}", "G", "m");
    Put("{K}", "{H}", "{W}", "K", "m");
    EXPECT_FALSE(AreSiblings("{A}", "{B}")); // "-1" is the top level, not a father
    EXPECT_FALSE(AreSiblings("{C}", "{D}")); // blank fathers, "0" and blank mothers
    EXPECT_FALSE(AreSiblings("{E}", "{F}")); // the outside-the-tree group
    EXPECT_FALSE(AreSiblings("{A}", "{A}"));
    EXPECT_TRUE(AreSiblings("{G}", "{K}")); // a shared real mother counts
}

TEST_F(RelationTest, StoredNamesAreTheComposedNamesAsTyped) {
    const QStringList names = {QStringLiteral("O'Neil"), QStringLiteral(u"عبد الله"),
                               QStringLiteral("x'); DELETE FROM ftRelation;--"),
                               QStringLiteral(u"مـــحمد \"الحاج\" 50% ?")};
    Put("{P0}", "-1", "0", names[0], "m");
    Put("{P1}", "{P0}", "0", names[1], "f");
    Put("{P2}", "-1", "0", names[2], "m");
    Put("{P3}", "{P2}", "0", names[3], "f");
    for (int i = 0; i < names.size(); ++i)
        ASSERT_TRUE(GetLineageName(QStringLiteral("{P%1}").arg(i)).startsWith(names[i]));
    ASSERT_TRUE(AddMarriage("{P0}", "{P1}"));
    ASSERT_TRUE(AddBreastfeedingSiblings("{P2}", "{P3}"));
    ASSERT_TRUE(AddBreastfeedingMother("{P1}", "{P3}"));
    EXPECT_EQ(Rows(), 3);
    const QString name1 = GetLineageName("{P1}");
    EXPECT_EQ(Field("name_1", "{P0}", "{P1}"), GetLineageName("{P0}"));
    EXPECT_EQ(Field("name_2", "{P0}", "{P1}"), name1);
    EXPECT_EQ(Field("name_1", "{P2}", "{P3}", 1), GetLineageName("{P2}"));
    EXPECT_EQ(Field("name_2", "{P2}", "{P3}", 1), GetLineageName("{P3}"));

    // A renamed person: its own rows follow, on either side.
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Person_Name = ? WHERE Person_Id = '{P0}'",
                           QStringLiteral(u"D'Arcy عبد")),
              1);
    const QString renamed = GetLineageName("{P0}");
    EXPECT_TRUE(renamed.startsWith(QStringLiteral(u"D'Arcy عبد")));
    EXPECT_TRUE(RefreshRelationNamesOf("{P0}"));
    EXPECT_EQ(Field("name_1", "{P0}", "{P1}"), renamed);
    EXPECT_EQ(Field("name_2", "{P0}", "{P1}"), name1); // the wife's name waits for her own refresh
    EXPECT_TRUE(RefreshRelationNamesOf("{P1}"));
    EXPECT_NE(GetLineageName("{P1}"), name1);
    EXPECT_EQ(Field("name_2", "{P0}", "{P1}"), GetLineageName("{P1}"));
    EXPECT_EQ(Field("name_1", "{P1}", "{P3}", 2), GetLineageName("{P1}"));
    EXPECT_FALSE(RefreshRelationNamesOf("{NOBODY}"));

    // The refresh of breastfeeding names leaves marriages alone; the full refresh takes every row.
    ASSERT_EQ(Dm().Execute("UPDATE ftRelation SET name_1 = 'stale', name_2 = 'stale'"), 3);
    EXPECT_TRUE(RefreshBreastfeedingRelationNames());
    EXPECT_EQ(Field("name_1", "{P0}", "{P1}"), "stale");
    EXPECT_EQ(Field("name_2", "{P2}", "{P3}", 1), GetLineageName("{P3}"));
    EXPECT_EQ(Field("name_2", "{P1}", "{P3}", 2), GetLineageName("{P3}"));
    EXPECT_TRUE(RefreshAllRelationNames());
    EXPECT_EQ(Field("name_1", "{P0}", "{P1}"), renamed);
    EXPECT_EQ(Field("name_2", "{P0}", "{P1}"), GetLineageName("{P1}"));
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'\n').toStdString();
}

TEST_F(RelationTest, NameRefreshIsAllOrNothing) {
    ASSERT_TRUE(AddMarriage("{H}", "{W}"));
    ASSERT_TRUE(AddMarriage("{H2}", "{H}")); // a row with the person on the wife's side
    const QString before = Field("name_1", "{H}", "{W}");
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Person_Name = 'Husam' WHERE Person_Id = '{H}'"), 1);
    ASSERT_TRUE(Dm().ExecSql("CREATE TEMP TRIGGER refuse_name_2 BEFORE UPDATE OF name_2 ON ftRelation "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(RefreshRelationNamesOf("{H}"));
    EXPECT_EQ(Field("name_1", "{H}", "{W}"), before);
    EXPECT_FALSE(RefreshAllRelationNames());
    EXPECT_EQ(Field("name_1", "{H}", "{W}"), before);
    ASSERT_TRUE(Dm().ExecSql("DROP TRIGGER refuse_name_2"));
    EXPECT_TRUE(RefreshAllRelationNames());
    EXPECT_EQ(Field("name_1", "{H}", "{W}"), GetLineageName("{H}"));
    EXPECT_EQ(Field("name_2", "{H2}", "{H}"), GetLineageName("{H}"));
    EXPECT_TRUE(GetLineageName("{H}").startsWith("Husam"));
}

TEST_F(RelationTest, RelationsOfOnePerson) {
    AddMarriage("{H}", "{W}");
    AddBreastfeedingSiblings("{W2}", "{H}");
    AddBreastfeedingMother("{W2}", "{H2}");
    EXPECT_TRUE(HasAnyRelation("{H}"));
    EXPECT_TRUE(HasAnyRelation("{h2}"));
    EXPECT_FALSE(HasAnyRelation(""));
    EXPECT_EQ(DeleteRelationsOfPerson(""), 0);
    EXPECT_EQ(DeleteRelationsOfPerson("{H}"), 2);
    EXPECT_FALSE(HasAnyRelation("{H}"));
    EXPECT_EQ(Rows(), 1);

    AddMarriage("{H2}", "{W}");
    AddMarriage("{H}", "{W2}");
    TextTable table;
    ListMarriages(table);
    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(table[0], QStringList({"oid", "person_id_1", "person_id_2", "name_1", "name_2",
                                     "relation_order_1", "relation_order_2", "notes"}));
    EXPECT_EQ(Column(table, 1), QStringList({"{H2}", "{H}"})); // Hamid before Hasan
}

} // namespace
} // namespace verdan
