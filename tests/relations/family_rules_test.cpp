#include "calendar/date_value.h"
#include "navigator/family_links.h"
#include "navigator/outline_fixture.h"
#include "relations/family_rules.h"
#include "storage/database.h"
#include "storage/relation_store.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

namespace verdan::test {
namespace {

// A father F with his wife M and their sons A and B; A's son G; a man T of another family with a son of
// his own, and a woman W of yet another.
class FamilyRulesTest : public OutlineTest {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
        Person("F", "Faris", "-1", "0");
        Person("M", "Maha", "-1", "0", "f");
        Marry("F", "M");
        Person("A", "Amr", "F", "M", "m", 1);
        Person("B", "Badr", "F", "M", "m", 2);
        Person("G", "Ghanim", "A", "0", "m", 1);
        Person("T", "Tamim", "-1", "0");
        Person("T1", "Tariq", "T", "0", "m", 1);
        Person("W", "Wafa", "-1", "0", "f");
    }
    void Split(const QString& husband, const QString& wife) {
        ASSERT_TRUE(SetMarriageSplit(husband, wife, true));
    }
    void Set(const QString& id, const QString& assignment) {
        ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET ") + assignment +
                                   QStringLiteral(" WHERE person_id = ?"),
                               id),
                  1);
    }
    // Every person's parents and orders and every relation, to tell that nothing was written.
    QStringList Snapshot() {
        QStringList rows;
        Query q = Dm().Prepare("SELECT person_id, father_id, mother_id, order_by_father, order_by_mother "
                               "FROM ftPerson ORDER BY person_id");
        while (q.Next())
            rows << q.Text(0) + u' ' + q.Text(1) + u' ' + q.Text(2) + u' ' + q.Text(3) + u' ' + q.Text(4);
        Query r = Dm().Prepare("SELECT person_id_1, person_id_2, relation_type, split FROM ftRelation "
                               "ORDER BY oid");
        while (r.Next())
            rows << r.Text(0) + u'~' + r.Text(1) + u'~' + r.Text(2) + u'~' + r.Text(3);
        return rows;
    }
};

TEST_F(FamilyRulesTest, DeadMeansTheMarkOrADeathDateAndEndedMeansSplitOrASpouseDead) {
    EXPECT_FALSE(IsPersonDead("F"));
    EXPECT_FALSE(MarriageHasEnded("F", "M"));
    EXPECT_EQ(HusbandsInLastingMarriage("M"), QStringList{"F"});
    Set("F", "Date_of_Death_H = 14010000"); // a Hijri year alone is enough
    EXPECT_TRUE(IsPersonDead("F"));
    EXPECT_TRUE(MarriageHasEnded("M", "F"));
    EXPECT_TRUE(HusbandsInLastingMarriage("M").isEmpty());
    Set("F", "Date_of_Death_H = 0, Date_of_Death_G = -5000101"); // before the era still counts
    EXPECT_TRUE(IsPersonDead("F"));
    Set("F", "Date_of_Death_G = 0, Is_Dead = 1");
    EXPECT_TRUE(IsPersonDead("F"));
    Set("F", "Is_Dead = 0");
    Set("M", "Is_Dead = 1"); // the wife's death ends it too
    EXPECT_TRUE(MarriageHasEnded("F", "M"));
    Set("M", "Is_Dead = 0");
    Split("F", "M");
    EXPECT_TRUE(MarriageHasEnded("F", "M"));
    EXPECT_FALSE(IsPersonDead("nobody"));
}

TEST_F(FamilyRulesTest, ANewFatherNotTheMothersHusbandIsAskedAboutWithNamedAnswers) {
    const TFamilyRuling ruling = RuleNewParent("A", "T", TParentKind::Father);
    ASSERT_EQ(ruling.Verdict, TRuleVerdict::Ask);
    EXPECT_EQ(StripBidiControls(ruling.Text),
              "Tamim is not married to Maha, the mother of Amr Faris.|Record their marriage, or "
              "clear the mother of Amr Faris?");
    EXPECT_EQ(ruling.Focus, kAnswerCancel);
    EXPECT_EQ(ruling.Persons, QStringList{"M"});
    ASSERT_EQ(ruling.Answers.size(), 3);
    EXPECT_EQ(ruling.Answers[0].Caption, "Record their marriage");
    EXPECT_EQ(ruling.Answers[1].Caption, "Clear the mother");
    EXPECT_EQ(ruling.Answers[2].Caption, "Cancel");
    // Mirrored for a new mother and the father the child keeps.
    EXPECT_EQ(RuleNewParent("A", "W", TParentKind::Mother).Answers.value(1).Name, kAnswerClearFather);
    // Nothing to ask: the husband already, no mother kept, the parent he has, a group as father.
    EXPECT_EQ(RuleNewParent("T1", "F", TParentKind::Father).Verdict, TRuleVerdict::Allowed);
    EXPECT_EQ(RuleNewParent("A", "F", TParentKind::Father).Verdict, TRuleVerdict::Allowed);
    Marry("T", "M");
    EXPECT_EQ(RuleNewParent("A", "T", TParentKind::Father).Verdict, TRuleVerdict::Allowed);
    Person("GR", "Clan", "-1", "0", "m", 99, 99, true);
    EXPECT_EQ(RuleNewParent("B", "GR", TParentKind::Father).Verdict, TRuleVerdict::Allowed);
    EXPECT_EQ(RuleNewParent("B", global_, TParentKind::Father).Verdict, TRuleVerdict::Allowed);
}

TEST_F(FamilyRulesTest, ABrotherAsFatherNeverMarriesTheirMotherAndClearingHerLeavesHimFather) {
    // B dragged onto his brother A: A may not marry his own mother, so only clearing her is offered.
    const TFamilyRuling ruling = RuleNewParent("B", "A", TParentKind::Father);
    ASSERT_EQ(ruling.Verdict, TRuleVerdict::Ask);
    EXPECT_EQ(StripBidiControls(ruling.Text.section(u'|', 0, 0)),
              "Amr Faris may not marry Maha, the mother of Badr Faris.");
    EXPECT_TRUE(ruling.Text.section(u'|', 1).startsWith("Mahram through blood: she is his mother."))
        << qPrintable(ruling.Text);
    EXPECT_EQ(asked_.Offered(), QStringList()); // a ruling alone asks nothing
    const QStringList before = Snapshot();
    asked_.answers = {kAnswerCancel};
    EXPECT_FALSE(GiveParent({"B"}, "A", TParentKind::Father));
    EXPECT_EQ(Snapshot(), before);
    asked_.answers = {kAnswerClearMother};
    ASSERT_TRUE(GiveParent({"B"}, "A", TParentKind::Father));
    EXPECT_EQ(asked_.Offered(), (QStringList{"clear-mother/cancel", "clear-mother/cancel"}));
    EXPECT_EQ(Column("B", "father_id"), "A");
    EXPECT_EQ(Column("B", "mother_id"), "0");
    EXPECT_EQ(Column("B", "order_by_father"), "2"); // after Ghanim, as a newly added child
    EXPECT_FALSE(MarriageExists("A", "M"));
}

TEST_F(FamilyRulesTest, ChildrenAreAskedAboutOncePerParentTheyKeepAndWrittenInOneGo) {
    Person("C", "Child of W", "0", "W", "f");
    asked_.answers = {kAnswerMarry, kAnswerAddAnyway, kAnswerClearMother};
    // A and B keep Maha, C keeps Wafa: one question for each mother, and Maha's lasting marriage.
    ASSERT_TRUE(GiveParent({"A", "B", "C"}, "T", TParentKind::Father));
    EXPECT_EQ(asked_.Offered(), (QStringList{"marry/clear-mother/cancel", "end-marriage/add-anyway/cancel",
                                             "marry/clear-mother/cancel"}));
    EXPECT_EQ(asked_.questions[1].Text,
              "Maha is still married to Faris.|Mark that marriage ended, or add Tamim as a further husband?");
    EXPECT_TRUE(MarriageExists("T", "M"));
    EXPECT_FALSE(MarriageHasEnded("F", "M"));
    EXPECT_FALSE(MarriageExists("T", "W"));
    EXPECT_EQ(Column("A", "order_by_father"), "2");
    EXPECT_EQ(Column("B", "order_by_father"), "3");
    EXPECT_EQ(Column("C", "order_by_father"), "4");
    EXPECT_EQ(Column("C", "mother_id"), "0");
    EXPECT_EQ(Column("A", "mother_id"), "M");

    // Cancelling the second mother's question keeps everything as it was, the first answers too.
    Person("Y", "Yusra", "-1", "0", "f");
    Person("E", "Child of W", "0", "W");
    Person("H", "Child of Y", "0", "Y");
    const QStringList before = Snapshot();
    asked_.answers = {kAnswerMarry, kAnswerCancel};
    EXPECT_FALSE(GiveParent({"E", "H"}, "F", TParentKind::Father));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FamilyRulesTest, MarriagesAMManMayNotMakeAreRefusedWithTheReason) {
    Person("D", "Dana", "F", "M", "f", 3);
    Person("N", "Nada", "A", "0", "f", 2);
    Person("CS", "Cousin", "T", "0", "f", 2);
    for (const auto& [man, woman] : std::initializer_list<std::pair<const char*, const char*>>{
             {"A", "D"}, // his sister
             {"F", "D"}, // his daughter
             {"B", "N"}, // his brother's daughter
             {"G", "D"}, // his father's sister
         }) {
        const TFamilyRuling ruling = RuleMarriage(man, woman);
        EXPECT_EQ(ruling.Verdict, TRuleVerdict::Refused) << man << " " << woman;
        EXPECT_TRUE(ruling.Text.contains("Mahram through blood"))
            << qPrintable(StripBidiControls(ruling.Text));
    }
    EXPECT_EQ(RuleMarriage("A", "CS").Verdict, TRuleVerdict::Allowed); // no kin
    // Through marriage: his wife's sister while that marriage lasts, his father's wife.
    Person("SP", "Their father", "-1", "0");
    Person("S1", "Salwa", "SP", "0", "f");
    Person("S2", "Sawsan", "SP", "0", "f");
    Marry("T", "S1");
    EXPECT_EQ(RuleMarriage("T", "S2").Verdict, TRuleVerdict::Refused);
    Set("S1", "Date_of_Death_G = 19900000"); // her death ends the bar
    EXPECT_EQ(RuleMarriage("T", "S2").Verdict, TRuleVerdict::Allowed);
    EXPECT_EQ(RuleMarriage("A", "M").Verdict, TRuleVerdict::Refused);

    // MarryByRules shows the refusal and writes nothing.
    const QStringList before = Snapshot();
    EXPECT_FALSE(MarryByRules("A", "D"));
    ASSERT_EQ(asked_.refusals.size(), 1);
    EXPECT_TRUE(asked_.refusals[0].startsWith("Amr Faris may not marry Dana Faris.|Mahram through blood: "
                                              "she is his full sister."))
        << qPrintable(asked_.refusals[0]);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FamilyRulesTest, ASecondHusbandIsAskedAboutWhileHerMarriageLasts) {
    const QStringList before = Snapshot();
    asked_.answers = {kAnswerCancel};
    EXPECT_FALSE(MarryByRules("T", "M"));
    EXPECT_EQ(Snapshot(), before);
    asked_.answers = {kAnswerEndMarriage};
    ASSERT_TRUE(MarryByRules("T", "M"));
    EXPECT_TRUE(MarriageHasEnded("F", "M"));
    EXPECT_FALSE(MarriageHasEnded("T", "M"));
    EXPECT_EQ(Dm().ScalarText("SELECT is_active FROM ftRelation WHERE person_id_1 = 'T'"), "1");
    // Her marriage to T lasts; add-anyway keeps both.
    Person("U", "Usama", "-1", "0");
    asked_.answers = {kAnswerAddAnyway};
    ASSERT_TRUE(MarryByRules("U", "M"));
    EXPECT_EQ(HusbandsInLastingMarriage("M"), (QStringList{"T", "U"}));
    EXPECT_EQ(asked_.questions.size(), 3);
    // Married already, or her husband dead: no question.
    EXPECT_TRUE(MarryByRules("U", "M"));
    Person("V", "Walid", "-1", "0");
    Set("T", "Is_Dead = 1");
    Set("U", "Date_of_Death_H = 14300101");
    ASSERT_TRUE(MarryByRules("V", "M"));
    EXPECT_EQ(asked_.questions.size(), 3);
}

TEST_F(FamilyRulesTest, ANewMateWhomChosenParentsMakeKinIsRefusedAndNothingIsKept) {
    // A new wife for A whose chosen father is A himself would be his daughter.
    const QStringList before = Snapshot();
    const QString count = Dm().ScalarText("SELECT count(*) FROM ftPerson");
    EXPECT_TRUE(AttachNewMate("A", {"Huda", QString(), "A", QString(), "f"}).isEmpty());
    ASSERT_EQ(asked_.refusals.size(), 1);
    EXPECT_TRUE(asked_.refusals[0].startsWith("Amr Faris may not marry Huda Amr Faris.|"))
        << qPrintable(asked_.refusals[0]);
    EXPECT_EQ(Dm().ScalarText("SELECT count(*) FROM ftPerson"), count);
    EXPECT_EQ(Snapshot(), before);
    // A new husband for a married woman asks first.
    asked_.answers = {kAnswerCancel};
    EXPECT_TRUE(AttachNewMate("M", {"Kamal", QString(), QString(), QString(), "m"}).isEmpty());
    EXPECT_EQ(asked_.Offered(), QStringList{"end-marriage/add-anyway/cancel"});
    EXPECT_EQ(Snapshot(), before);
}

TDateValue Gregorian(int number, TDateQualifier qualifier = TDateQualifier::Exact) {
    TDateValue value;
    value.Gregorian = number;
    value.Qualifier = qualifier;
    return value;
}

TLifeDays Life(const TDateValue& birth, const TDateValue& death = {}) {
    return LifeDaysOf({birth, death});
}

TEST(AgeDoubts, ParentsAndSpousesAreDoubtedOnlyWhenEveryDayTheDatesCanMeanAgrees) {
    using D = TAgeDoubt;
    const auto child = [](const TDateValue& value) {
        return DayRangeOf(value);
    };
    const TLifeDays parent = Life(Gregorian(19000615), Gregorian(19500501));
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19050101)), parent, TParentKind::Father), D::ParentUnderTen);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(18990101)), parent, TParentKind::Mother), D::ParentUnderTen);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19110101)), parent, TParentKind::Father), D::None);
    // A year alone may mean its last day: a child of 1910 may have been born after the parent's tenth year.
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19100000)), parent, TParentKind::Father), D::None);
    // After the death: a mother never, a father up to a year.
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19500601)), parent, TParentKind::Mother), D::AfterMothersDeath);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19501201)), parent, TParentKind::Father), D::None);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19510601)), parent, TParentKind::Father),
              D::LongAfterFathersDeath);
    // Over sixty: only a mother.
    const TLifeDays old = Life(Gregorian(19000101));
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19610601)), old, TParentKind::Mother), D::MotherOverSixty);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19610601)), old, TParentKind::Father), D::None);
    // Within qualifiers: "about 1905" may be 1910 or later; "before 1905" is surely before the tenth year.
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19050000, TDateQualifier::About)), parent, TParentKind::Father),
              D::None);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19050000, TDateQualifier::Before)), parent, TParentKind::Father),
              D::ParentUnderTen);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19050000, TDateQualifier::After)), parent, TParentKind::Father),
              D::None);
    // Across calendars: a Hijri birth of 1300 (1882/83) against a father born in 1880.
    TDateValue hijri;
    hijri.Hijri = 13000000;
    EXPECT_EQ(ParentAgeDoubt(child(hijri), Life(Gregorian(18800000)), TParentKind::Father),
              D::ParentUnderTen);
    // Nothing known, nothing doubted.
    EXPECT_EQ(ParentAgeDoubt(child(TDateValue()), parent, TParentKind::Mother), D::None);
    EXPECT_EQ(ParentAgeDoubt(child(Gregorian(19050101)), Life(TDateValue()), TParentKind::Mother), D::None);

    // A man born 1747 "married" to a woman born 1868, after his death; 55 years apart is believed.
    const TLifeDays man = Life(Gregorian(17470000), Gregorian(18100000));
    EXPECT_EQ(MarriageAgeDoubt(man, Life(Gregorian(18680000))), D::WifeBornAfterHusbandDied);
    EXPECT_EQ(MarriageAgeDoubt(Life(Gregorian(17470000)), Life(Gregorian(18680000))), D::BirthsFarApart);
    EXPECT_EQ(MarriageAgeDoubt(Life(Gregorian(18680000)), Life(Gregorian(17470000), Gregorian(18000000))),
              D::HusbandBornAfterWifeDied);
    EXPECT_EQ(MarriageAgeDoubt(Life(Gregorian(19000000)), Life(Gregorian(19550000))), D::None);
    EXPECT_EQ(AgeDoubtText(D::WifeBornAfterHusbandDied, "Umar", "Hind"), "Hind was born after Umar died.");
}

TEST_F(FamilyRulesTest, ImplausibleAgesAreToldOnceAndNeverRefuse) {
    Set("T", "Date_of_Birth_G = 19000101, Date_of_Death_G = 19300101");
    Set("A", "Date_of_Birth_G = 19050101");
    Set("B", "Date_of_Birth_H = 14000101"); // 1979, long after T died
    asked_.answers = {kAnswerMarry, kAnswerAddAnyway};
    ASSERT_TRUE(GiveParent({"A", "B"}, "T", TParentKind::Father));
    EXPECT_EQ(asked_.notices, (QStringList{"Amr Faris was born before Tamim was 10 years old.",
                                           "Badr Faris was born more than a year after Tamim died."}));
    EXPECT_EQ(Column("B", "father_id"), "T");
    asked_.notices.clear();
    Set("W", "Date_of_Birth_G = 19800000");
    ASSERT_TRUE(MarryByRules("T", "W"));
    EXPECT_EQ(asked_.notices, QStringList{"Wafa was born after Tamim died."});
}

} // namespace
} // namespace verdan::test
