#include "datasheet/mate_children.h"
#include "storage/person_fixture.h"
#include "storage/relation_store.h"
#include "text/localisation.h"

#include <QCollator>

namespace verdan::test {
namespace {

// A man {H} with wives {A} and {B}; children {C1} and {C2} of {A}, {C3} of {B}.
class MateChildrenTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        Put("{H}", "-1", "0", "Hasan", "m");
        Put("{A}", "-1", "0", "Amina", "f");
        Put("{B}", "-1", "0", "Basma", "f");
        Put("{C1}", "{H}", "{A}", "Zaid", "m");
        Put("{C2}", "{H}", "{A}", "Yusuf", "m");
        Put("{C3}", "{H}", "{B}", "Khalid", "m");
        ASSERT_TRUE(AddMarriage("{H}", "{A}"));
        ASSERT_TRUE(AddMarriage("{H}", "{B}"));
        ASSERT_TRUE(SaveMatesOrder("{H}", "m", {"{A}", "{B}"}));
        ASSERT_TRUE(SaveChildrenOrder("m", {"{C1}", "{C2}", "{C3}"}));
    }
    QString Relation(const QString& column, const QString& husband, const QString& wife) {
        return Dm().ScalarText("SELECT " + column +
                                   " FROM ftRelation WHERE person_id_1 = ? AND person_id_2 = ? AND "
                                   "relation_type = 0",
                               husband, wife);
    }
    static QStringList Ids(const TChildEntries& entries) {
        QStringList ids;
        for (const TChildEntry& entry : entries)
            ids << entry.Person_Id;
        return ids;
    }
    static QStringList Texts(const TChildEntries& entries) {
        QStringList texts;
        for (const TChildEntry& entry : entries)
            texts << entry.Text;
        return texts;
    }
};

TEST_F(MateChildrenTest, AManSeesHisWivesInOrderAndTheChildrenOfEach) {
    const TRelationsView view = ReadRelationsView("{H}");
    EXPECT_EQ(view.GenderCode, "m");
    ASSERT_EQ(view.Mates.size(), 2);
    EXPECT_EQ(view.Mates[0].Person_Id, "{A}");
    EXPECT_EQ(view.Mates[1].Person_Id, "{B}");
    EXPECT_EQ(Ids(view.Children), QStringList({"{C1}", "{C2}", "{C3}"}));
    EXPECT_EQ(Texts(view.Children), QStringList({"Zaid", "Yusuf", "Khalid"}));
    QStringList ofB;
    for (const TChildEntry& child : view.Children)
        if (IsChildOfMate(child, "{B}"))
            ofB << child.Person_Id;
    EXPECT_EQ(ofB, QStringList{"{C3}"});
    EXPECT_EQ(MatesCaptionSource("m", 2), "Wives");
    EXPECT_EQ(MatesCaptionSource("m", 1), "Wife");
    EXPECT_EQ(MatesCaptionSource("f", 1), "Husband");
    EXPECT_EQ(MatesCaptionSource("x", 3), "Husbands");

    // A woman's children may have different fathers: they are listed by lineage.
    const TRelationsView mother = ReadRelationsView("{A}");
    EXPECT_EQ(Ids(mother.Children), QStringList({"{C1}", "{C2}"}));
    EXPECT_EQ(mother.Children[0].Text, GetLineageName("{C1}"));
    EXPECT_EQ(mother.FatherText, "");
    EXPECT_FALSE(mother.CanRemoveFather);

    // The outside-the-tree group lists nobody, whoever it fathers.
    Put("{S}", kGlobal, "{A}", "Sami", "m");
    EXPECT_TRUE(ReadRelationsView(kGlobal).Children.isEmpty());
}

TEST_F(MateChildrenTest, CheckingAChildGivesItTheSelectedMateAndUncheckingTakesHerAway) {
    TChildEntries children = ListChildEntries("{H}", "m");
    // A child of B checked while A is selected becomes A's.
    EXPECT_EQ(LinkChildToMate("m", "{A}", children[2], true), TChildLinkResult::Written);
    EXPECT_EQ(Column("{C3}", "Mother_Id"), "{A}");
    EXPECT_EQ(children[2].Mother_Id, "{A}");
    EXPECT_EQ(LinkChildToMate("m", "{A}", children[0], false), TChildLinkResult::Written);
    EXPECT_EQ(Column("{C1}", "Mother_Id"), "0");
    EXPECT_EQ(Column("{C1}", "Father_Id"), "{H}");

    // A woman's child that loses its father goes to the outside-the-tree group.
    TChildEntries ofA = ListChildEntries("{A}", "f");
    ASSERT_EQ(ofA.size(), 2);
    EXPECT_EQ(LinkChildToMate("f", "{H}", ofA[0], false), TChildLinkResult::Written);
    EXPECT_EQ(Column(ofA[0].Person_Id, "Father_Id"), kGlobal);
    EXPECT_EQ(LinkChildToMate("f", "{H}", ofA[0], true), TChildLinkResult::Written);
    EXPECT_EQ(Column(ofA[0].Person_Id, "Father_Id"), "{H}");
}

TEST_F(MateChildrenTest, AChildCheckWithoutMateOrGenderWritesNothing) {
    TChildEntries children = ListChildEntries("{H}", "m");
    const QString before = Column("{C2}", "Date_Modified");
    EXPECT_EQ(LinkChildToMate("m", "", children[1], false), TChildLinkResult::NoMate);
    EXPECT_EQ(LinkChildToMate("m", "  ", children[1], true), TChildLinkResult::NoMate);
    EXPECT_EQ(LinkChildToMate("", "{A}", children[1], false), TChildLinkResult::UnknownGender);
    EXPECT_EQ(LinkChildToMate("x", "{A}", children[1], true), TChildLinkResult::UnknownGender);
    EXPECT_EQ(Column("{C2}", "Mother_Id"), "{A}");
    EXPECT_EQ(Column("{C2}", "Date_Modified"), before);
    EXPECT_EQ(children[1].Mother_Id, "{A}");
}

// Removing the father link needs a mother, whichever way the missing mother is stored.
class FatherLinkTest : public MateChildrenTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FatherLinkTest, IsRefusedWithoutAMother) {
    const QString mother = QString::fromLatin1(GetParam());
    Put("{P}", "{H}", "0", "Pasha", "m");
    if (mother == u"NULL")
        ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Mother_Id = NULL WHERE Person_Id = '{P}'"), 1);
    else
        ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Mother_Id = ? WHERE Person_Id = '{P}'", mother), 1);
    TPerson person;
    ASSERT_TRUE(ReadPerson("{P}", person));
    EXPECT_TRUE(ReadRelationsView("{P}").CanRemoveFather);
    EXPECT_EQ(RemoveFatherLink(person), TParentLinkResult::NoOtherParent);
    EXPECT_EQ(Column("{P}", "Father_Id"), "{H}");
    EXPECT_EQ(person.Father_Id, "{H}");
}

INSTANTIATE_TEST_SUITE_P(MissingMothers, FatherLinkTest, ::testing::Values("", "NULL", "0"));

TEST_F(MateChildrenTest, APersonNeverLosesBothParentLinks) {
    TPerson person;
    ASSERT_TRUE(ReadPerson("{C1}", person));
    EXPECT_EQ(RemoveFatherLink(person), TParentLinkResult::Removed);
    EXPECT_EQ(Column("{C1}", "Father_Id"), "0");
    EXPECT_EQ(person.Father_Id, "0");
    EXPECT_EQ(RemoveMotherLink(person), TParentLinkResult::NoOtherParent);
    EXPECT_EQ(Column("{C1}", "Mother_Id"), "{A}");
    // Nothing is left to remove on the father's side.
    EXPECT_EQ(RemoveFatherLink(person), TParentLinkResult::Nothing);

    ASSERT_TRUE(ReadPerson("{C2}", person));
    EXPECT_EQ(RemoveMotherLink(person), TParentLinkResult::Removed);
    EXPECT_EQ(Column("{C2}", "Mother_Id"), "0");
    EXPECT_EQ(RemoveFatherLink(person), TParentLinkResult::NoOtherParent);
}

TEST_F(MateChildrenTest, OrdersAreStoredOnThePersonsSide) {
    ASSERT_TRUE(SaveMatesOrder("{H}", "m", {"{B}", "{A}"}));
    EXPECT_EQ(Relation("relation_order_2", "{H}", "{B}"), "1");
    EXPECT_EQ(Relation("relation_order_2", "{H}", "{A}"), "2");
    EXPECT_EQ(ReadRelationsView("{H}").Mates[0].Person_Id, "{B}");

    // A wife orders her husbands on the other column; so does a person of unknown gender.
    Put("{H2}", "-1", "0", "Hamid", "m");
    ASSERT_TRUE(AddMarriage("{H2}", "{A}"));
    ASSERT_TRUE(SaveMatesOrder("{A}", "f", {"{H2}", "{H}"}));
    EXPECT_EQ(Relation("relation_order_1", "{H2}", "{A}"), "1");
    EXPECT_EQ(Relation("relation_order_1", "{H}", "{A}"), "2");
    EXPECT_EQ(Relation("relation_order_2", "{H}", "{A}"), "2");

    ASSERT_TRUE(SaveChildrenOrder("m", {"{C3}", "{C1}", "{C2}"}));
    EXPECT_EQ(Ids(ListChildEntries("{H}", "m")), QStringList({"{C3}", "{C1}", "{C2}"}));
    ASSERT_TRUE(SaveChildrenOrder("f", {"{C2}", "{C1}"}));
    EXPECT_EQ(Column("{C2}", "Order_By_Mother"), "1");
    EXPECT_EQ(Column("{C2}", "Order_By_Father"), "3");
}

TEST_F(MateChildrenTest, ChildrenSortAsReadersOfTheLanguageExpect) {
    // By code point the Persian peh would come after every Arabic letter; readers place it after beh.
    TChildEntries children = {{"{1}", "", "", QStringLiteral(u"تامر")},
                              {"{2}", "", "", QStringLiteral(u"پرویز")},
                              {"{3}", "", "", QStringLiteral(u"بدر")}};
    SortChildEntries(children, QCollator(QLocale(QLocale::Persian)));
    EXPECT_EQ(Texts(children),
              QStringList({QStringLiteral(u"بدر"), QStringLiteral(u"پرویز"), QStringLiteral(u"تامر")}));

    TChildEntries latin = {
        {"{1}", "", "", "carl"}, {"{2}", "", "", "Bilal"}, {"{3}", "", "", "adam"}, {"{4}", "", "", "Adam"}};
    SortChildEntries(latin, QCollator(QLocale(QLocale::English)));
    EXPECT_EQ(Texts(latin).mid(2), QStringList({"Bilal", "carl"}));
    EXPECT_EQ(Texts(latin).first(2).join(u'|').toLower(), "adam|adam");
}

TEST_F(MateChildrenTest, ChildrenOfARemovedMarriageLeaveTheCouple) {
    EXPECT_EQ(CountChildrenWithMate("{H}", "m", "{A}"), 2);
    EXPECT_EQ(CountChildrenWithMate("{A}", "f", "{H}"), 2);
    ASSERT_GT(DeleteMarriage("{H}", "{A}"), 0);
    ASSERT_TRUE(DetachChildrenOfMarriage("{H}", "m", "{A}"));
    EXPECT_EQ(Column("{C1}", "Mother_Id"), "0");
    EXPECT_EQ(Column("{C1}", "Father_Id"), "{H}");
    EXPECT_EQ(Column("{C3}", "Mother_Id"), "{B}");

    // From the wife's side the children keep her and go to the outside-the-tree group.
    ASSERT_GT(DeleteMarriage("{B}", "{H}"), 0);
    ASSERT_TRUE(DetachChildrenOfMarriage("{B}", "f", "{H}"));
    EXPECT_EQ(Column("{C3}", "Father_Id"), kGlobal);
    EXPECT_EQ(Column("{C3}", "Mother_Id"), "{B}");
    EXPECT_FALSE(DetachChildrenOfMarriage("{H}", "", "{B}"));
}

TEST_F(MateChildrenTest, TheSplitMarkIsWrittenOnTheMarriageWhicheverSideShowsIt) {
    ASSERT_TRUE(SetMateSplit("{H}", "m", "{B}", true));
    EXPECT_EQ(Relation("split", "{H}", "{B}"), "1");
    EXPECT_TRUE(ReadRelationsView("{B}").Mates[0].Split);
    ASSERT_TRUE(SetMateSplit("{B}", "f", "{H}", false));
    EXPECT_EQ(Relation("split", "{H}", "{B}"), "0");
}

} // namespace
} // namespace verdan::test
