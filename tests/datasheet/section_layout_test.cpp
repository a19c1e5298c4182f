#include "datasheet/section_layout.h"
#include "text/localisation.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QList<TSectionState> kDefaults = {
    {"Overview", true}, {"Names", false}, {"Dates", true}, {"Summary", true}, {"Notes", true}};

QStringList Keys(const QList<TSectionState>& sections) {
    QStringList keys;
    for (const TSectionState& s : sections)
        keys << s.Key;
    return keys;
}

TEST(SectionLayout, StoredOrderAndStatesWinAndNewSectionsKeepTheirPlace) {
    EXPECT_EQ(ArrangeSections(kDefaults, {}), kDefaults);

    // Notes moved to the top and collapsed; Dates expanded; a section this build lacks is passed over.
    const QList<TDataSection> stored = {{"Notes", true},  {"Relationships", false}, {"Overview", true},
                                        {"Names", false}, {"Dates", false},         {"Notes", false}};
    const QList<TSectionState> arranged = ArrangeSections(kDefaults, stored);
    EXPECT_EQ(Keys(arranged), QStringList({"Notes", "Overview", "Names", "Dates", "Summary"}));
    EXPECT_TRUE(arranged[0].Collapsed);
    EXPECT_FALSE(arranged[3].Collapsed);
    EXPECT_TRUE(arranged[4].Collapsed); // Summary: default state, after Dates as by default

    // Storing keeps the unknown section's entry for builds that show it.
    const QList<TDataSection> kept = SectionLayoutToStore(arranged, stored);
    ASSERT_EQ(kept.size(), 6);
    EXPECT_EQ(kept[0], (TDataSection{"Notes", true}));
    EXPECT_EQ(kept[4], (TDataSection{"Summary", true}));
    EXPECT_EQ(kept[5], (TDataSection{"Relationships", false}));
}

TEST(SectionLayout, TranslatedTitlesOfOlderDocumentsStillMatch) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    EXPECT_TRUE(SectionNameMatches(QStringLiteral(u" ملاحظات "), "Notes"));
    EXPECT_TRUE(SectionNameMatches("Notes", "Notes"));
    EXPECT_FALSE(SectionNameMatches("Names", "Notes"));
    EXPECT_FALSE(SectionNameMatches("", "Notes"));
    const QList<TSectionState> arranged = ArrangeSections(kDefaults, {{QStringLiteral(u"التواريخ"), false}});
    EXPECT_EQ(Keys(arranged), QStringList({"Overview", "Names", "Dates", "Summary", "Notes"}));
    EXPECT_FALSE(arranged[2].Collapsed);
    LoadLanguage(LangsFolder() + QStringLiteral("english.local"));
}

} // namespace
} // namespace verdan
