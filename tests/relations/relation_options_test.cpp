#include "navigator/outline_fixture.h"
#include "relations/relation_options.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

namespace verdan::test {
namespace {

using O = TRelationOption;

// Which options a user can choose: visible and enabled.
QList<O> Choosable(const TRelationChoice& choice) {
    QList<O> options;
    for (int i = 0; i < kRelationOptionCount; ++i) {
        const TOptionState& state = choice.Options[i];
        if (state.Visible && state.Enabled)
            options << static_cast<O>(i);
    }
    return options;
}

TEST(RelationChoice, OptionsFollowGendersGroupsAndExistingRelations) {
    struct Case {
        const char* what;
        TRelationFacts facts;
        QList<O> choosable;
        int lines;
    };
    auto facts = [](bool sourceMale, bool targetMale) {
        TRelationFacts f;
        f.SourceMale = sourceMale;
        f.TargetMale = targetMale;
        return f;
    };
    auto with = [](TRelationFacts f, bool TRelationFacts::*flag) {
        f.*flag = true;
        return f;
    };
    const QList<O> parentChildMarriage{O::FatherMother, O::SonDaughter, O::HusbandWife, O::BrotherSisterX};
    const Case cases[] = {
        {"man onto woman", facts(true, false), parentChildMarriage, 0},
        {"man onto man", facts(true, true), {O::FatherMother, O::SonDaughter, O::BrotherSisterX}, 0},
        {"woman onto man",
         facts(false, true),
         {O::FatherMother, O::SonDaughter, O::HusbandWife, O::FeederMother, O::BrotherSisterX},
         0},
        {"woman onto woman",
         facts(false, false),
         {O::FatherMother, O::SonDaughter, O::FeederMother, O::BrotherSisterX},
         0},
        {"group source",
         with(facts(true, false), &TRelationFacts::SourceIsGroup),
         {O::FatherMother, O::SonDaughter},
         0},
        {"group target",
         with(facts(false, true), &TRelationFacts::TargetIsGroup),
         {O::FatherMother, O::SonDaughter},
         0},
        {"siblings", with(facts(true, false), &TRelationFacts::Siblings), {}, 1},
        {"breastfeeding siblings", with(facts(true, false), &TRelationFacts::BreastfeedingSiblings), {}, 1},
        {"nursed", with(facts(false, true), &TRelationFacts::BreastfeedingMother), {}, 1},
        {"parent and child", with(facts(true, true), &TRelationFacts::ParentAndChild), {}, 1},
        {"two relations",
         with(with(facts(true, true), &TRelationFacts::ParentAndChild),
              &TRelationFacts::BreastfeedingSiblings),
         {},
         2},
    };
    for (const Case& c : cases) {
        const TRelationChoice choice = RelationChoiceFor(c.facts);
        EXPECT_EQ(Choosable(choice), c.choosable) << c.what;
        EXPECT_EQ(choice.ExistingLines.size(), c.lines) << c.what;
        EXPECT_EQ(choice.OkAllowed, c.lines == 0) << c.what;
        // A man never nurses: the option is not even shown.
        EXPECT_EQ(choice.State(O::FeederMother).Visible, !c.facts.SourceMale) << c.what;
        EXPECT_FALSE(choice.State(O::BrotherSister).Visible) << c.what;
    }
    const TRelationChoice both = RelationChoiceFor(
        with(with(facts(true, true), &TRelationFacts::ParentAndChild), &TRelationFacts::Siblings));
    EXPECT_EQ(both.ExistingLines,
              (QStringList{"%* and %* are siblings", "%* and %* have a parent/child relationship"}));
}

TEST(RelationChoice, CaptionsAndSentencesFollowTheSourcesGender) {
    EXPECT_EQ(RelationOptionCaption(O::FatherMother, false), "Mother");
    EXPECT_EQ(RelationOptionCaption(O::HusbandWife, false), "Wife");
    EXPECT_EQ(RelationOptionCaption(O::BrotherSisterX, true), "Breastfeeding Brother");
    EXPECT_EQ(RelationSentence(O::FeederMother, false), "is a breastfeeding mother of");
    EXPECT_EQ(RelationSentence(O::SonDaughter, true), "is a son of");
    EXPECT_TRUE(RelationSentence(O::UncleAunt, true).isEmpty());
}

class RelationApplyTest : public OutlineTest {};

TEST_F(RelationApplyTest, ReadsTheFactsOfTwoPersons) {
    Person("F", "Father", "-1", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("A", "Son", "F", "M");
    Person("B", "Half-brother by the mother", "0", "M");
    Person("C", "Unknown parents", "0", "0");
    Person("D", "Unknown parents too", "0", "0", "ذكر");
    Person("G", "Group", "-1", "0", "m", 99, 99, true);
    EXPECT_TRUE(ReadRelationFacts("A", "B").Siblings);
    EXPECT_FALSE(ReadRelationFacts("C", "D").Siblings); // "0" is nobody in common
    EXPECT_TRUE(ReadRelationFacts("A", "F").ParentAndChild);
    EXPECT_TRUE(ReadRelationFacts("M", "A").ParentAndChild);
    EXPECT_FALSE(ReadRelationFacts("M", "C").SourceMale);
    EXPECT_TRUE(ReadRelationFacts("M", "D").TargetMale);
    EXPECT_TRUE(ReadRelationFacts("G", "C").SourceIsGroup);
    ASSERT_TRUE(AddBreastfeedingMother("M", "C"));
    EXPECT_TRUE(ReadRelationFacts("C", "M").BreastfeedingMother);
}

TEST_F(RelationApplyTest, AParentLinkMarriesTheOtherParentAndNeverClosesALoop) {
    Person("G", "Grandfather", "-1", "0");
    Person("F", "Father", "G", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("C", "Child of the mother", "0", "M");
    Person("X", "A man", "-1", "0");
    // X dropped on C as "Father": C's father, and married to C's mother.
    ASSERT_TRUE(ApplyRelation(O::FatherMother, "X", "C"));
    EXPECT_EQ(Column("C", "father_id"), "X");
    EXPECT_TRUE(MarriageExists("X", "M"));
    // C dropped on a woman as "Son": her son, and his father married to her.
    Person("W", "A woman", "-1", "0", "f");
    ASSERT_TRUE(ApplyRelation(O::SonDaughter, "C", "W"));
    EXPECT_EQ(Column("C", "mother_id"), "W");
    EXPECT_TRUE(MarriageExists("X", "W"));
    EXPECT_FALSE(MarriageExists("M", "W"));
    // The grandfather as "Son" of his grandson: refused, nothing written.
    Person("S", "Grandson", "F", "0");
    EXPECT_FALSE(ApplyRelation(O::SonDaughter, "G", "S"));
    EXPECT_EQ(Column("G", "father_id"), "-1");
    EXPECT_EQ(shown_.texts.last().section(u'|', 0, 0), "A person can't become his own ancestor.");
    EXPECT_FALSE(ApplyRelation(O::FatherMother, "S", "G"));
    EXPECT_EQ(Column("G", "father_id"), "-1");
    // "Son" re-attaches a person to another man.
    ASSERT_TRUE(ApplyRelation(O::SonDaughter, "S", "X"));
    EXPECT_EQ(Column("S", "father_id"), "X");
}

TEST_F(RelationApplyTest, MarriagesAndBreastfeedingRelations) {
    Person("H", "Man", "-1", "0");
    Person("W", "Woman", "-1", "0", "f");
    Person("K1", "Her child", "0", "W");
    Person("K2", "Her second child", "0", "W", "f");
    Person("K3", "Her third child", "0", "W");
    Person("N", "Nursed child", "-1", "0");
    QStringList offered;
    const CoupleChildrenHandler previous = SetCoupleChildrenHandler(
        [&](const QString& husband, const QString& wife) { offered << husband + u'+' + wife; });
    ASSERT_TRUE(ApplyRelation(O::HusbandWife, "W", "H"));
    SetCoupleChildrenHandler(previous);
    EXPECT_EQ(Dm().ScalarText("SELECT person_id_1 FROM ftRelation WHERE relation_type = 0"), "H");
    EXPECT_EQ(offered, QStringList{"H+W"});
    EXPECT_FALSE(ApplyRelation(O::HusbandWife, "H", "N")); // two men

    ASSERT_TRUE(ApplyRelation(O::FeederMother, "W", "N"));
    EXPECT_TRUE(BreastfeedingMotherExists("W", "N"));
    for (const char* child : {"K1", "K2", "K3"})
        EXPECT_TRUE(BreastfeedingSiblingsExist("N", child)) << child;
    // Again: nothing doubles.
    ASSERT_TRUE(ApplyRelation(O::FeederMother, "W", "N"));
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftRelation WHERE relation_type > 0"), 4);
    EXPECT_FALSE(ApplyRelation(O::FeederMother, "H", "N")); // a man never nurses

    ASSERT_TRUE(ApplyRelation(O::BrotherSisterX, "H", "N"));
    EXPECT_TRUE(BreastfeedingSiblingsExist("N", "H"));
    // The outside-the-tree group is skipped, the hidden options do nothing.
    EXPECT_TRUE(ApplyRelation(O::BrotherSisterX, "H", global_));
    EXPECT_FALSE(BreastfeedingSiblingsExist("H", global_));
    EXPECT_FALSE(ApplyRelation(O::UncleAunt, "H", "N"));
}

} // namespace
} // namespace verdan::test
