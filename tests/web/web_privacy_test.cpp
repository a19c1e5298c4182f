#include "web/web_privacy.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QDate kToday(2025, 6, 15);

// A small family built in memory: a founder, his son, grandson and great-grandson, each born a generation
// later, and a daughter of the founder.
class WebPrivacy : public ::testing::Test {
protected:
    void SetUp() override {
        Add(18900000, 19600000);   // 0 founder, dead
        Add(19200000, 0, 0);       // 1 son, dead by the mark
        Add(19550000, 0, 1);       // 2 grandson, living
        Add(19900000, 0, 2);       // 3 great-grandson, living
        Add(19250000, 0, 0, true); // 4 daughter, living
        Tree.Persons[1].DeadMark = true;
    }

    int Add(int born, int died, int father = -1, bool female = false) {
        TWebPerson& p = Tree.Persons.emplace_back();
        p.Birth.Gregorian = born;
        p.Death.Gregorian = died;
        p.Father = father;
        p.Female = female;
        const int at = int(Tree.Persons.size()) - 1;
        if (father >= 0)
            Tree.Persons[size_t(father)].Children.push_back(at);
        return at;
    }

    std::vector<TShown> Decide(TLivingMode mode) const { return DecideShown(Tree, mode, kToday); }

    TWebTree Tree;
};

TEST_F(WebPrivacy, LivingPersonsFollowTheModeAndTheDeadAreShownWhole) {
    const auto hide = Decide(TLivingMode::Hide);
    EXPECT_EQ(hide, (std::vector<TShown>{TShown::Full, TShown::Full, TShown::Private, TShown::Private,
                                         TShown::Private}));
    const auto names = Decide(TLivingMode::Names);
    EXPECT_EQ(names[2], TShown::NameOnly);
    EXPECT_EQ(names[4], TShown::NameOnly);
    const auto show = Decide(TLivingMode::Show);
    EXPECT_EQ(show, std::vector<TShown>(5, TShown::Full));
}

TEST_F(WebPrivacy, ADeniedPersonIsAbsentAndHisLivingDescendantsShowNoMoreThanTheirNames) {
    Tree.Persons[1].DenyPublish = true;
    const auto show = Decide(TLivingMode::Show);
    EXPECT_EQ(show[1], TShown::Absent);
    EXPECT_EQ(show[2], TShown::NameOnly);
    EXPECT_EQ(show[3], TShown::NameOnly);
    EXPECT_EQ(show[0], TShown::Full); // his father
    EXPECT_EQ(show[4], TShown::Full); // his sister, not below him
    // The dead below him are shown as they are.
    Tree.Persons[2].DeadMark = true;
    EXPECT_EQ(Decide(TLivingMode::Show)[2], TShown::Full);
    EXPECT_EQ(Decide(TLivingMode::Hide)[3], TShown::Private);
}

TEST_F(WebPrivacy, AHiddenNameMakesThePersonPrivateWhateverTheMode) {
    Tree.Persons[0].HideName = true;
    EXPECT_EQ(Decide(TLivingMode::Show)[0], TShown::Private);
    Tree.Persons[0].DenyPublish = true;
    EXPECT_EQ(Decide(TLivingMode::Show)[0], TShown::Absent);
}

TEST_F(WebPrivacy, GroupsAreNeverLivingAndLinksInACircleEnd) {
    const int group = Add(0, 0);
    Tree.Persons[size_t(group)].Section = true;
    EXPECT_EQ(Decide(TLivingMode::Hide)[size_t(group)], TShown::Full);
    // Two persons each the other's child: the walk below a denied one still ends.
    Tree.Persons[3].Children.push_back(1);
    Tree.Persons[1].DenyPublish = true;
    const auto shown = Decide(TLivingMode::Names);
    EXPECT_EQ(shown[1], TShown::Absent);
    EXPECT_EQ(shown[3], TShown::NameOnly);
}

} // namespace
} // namespace verdan
