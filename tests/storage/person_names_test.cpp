#include "common/written_names.h"
#include "person_fixture.h"
#include "storage/person_names.h"

namespace verdan::test {
namespace {

class PersonNamesTest : public PersonStoreTest {
protected:
    void Names(const QString& id, const QString& cognomen, const QString& nickname, const QString& lastName) {
        Dm().Execute("UPDATE ftPerson SET Cognomen = ?, Nickname = ?, Last_Name = ? WHERE Person_Id = ?",
                     cognomen, nickname, lastName, id);
    }
};

TEST_F(PersonNamesTest, LineageNameShowsThreeAncestors) {
    Put("{G3}", "-1", "0", "Great");
    Put("{G2}", "{G3}", "0", "Grand");
    Put("{G1}", "{G2}", "0", "Father");
    Put("{P}", "{G1}", "0", "Person");
    Names("{P}", "Cog", "Nick", "Family");
    Names("{G1}", "FCog", "FNick", "ignored");
    EXPECT_EQ(GetLineageName("{P}"), "Person (Cog) (Nick) Father (FCog) (FNick) Grand Great Family");
    Put("{G4}", "-1", "0", "Oldest");
    SetFather("{G3}", "{G4}");
    EXPECT_EQ(GetLineageName("{P}"), "Person (Cog) (Nick) Father (FCog) (FNick) Grand Great Family");
    EXPECT_TRUE(GetLineageName("0").isEmpty());
    EXPECT_TRUE(GetLineageName("{NOBODY}").isEmpty());

    // Without a father the line continues through the mother.
    Put("{M}", "{G2}", "0", "Mother", "f");
    Put("{Q}", "0", "{M}", "Q");
    EXPECT_EQ(GetLineageName("{Q}"), "Q Mother Grand Great");
    Put("{R}", "", "{M}", "R");
    EXPECT_EQ(GetLineageName("{R}"), "R Mother Grand Great");
    EXPECT_EQ(GetMotherLineageName("{R}"), "Mother Grand Great Oldest");
    EXPECT_TRUE(GetMotherLineageName("{P}").isEmpty());
}

TEST_F(PersonNamesTest, LineageNameOfGroupsGlobalParentAndBrokenLinks) {
    Put("{GRP}", "-1", "0", "Clan", "m", true);
    Put("{F}", "{GRP}", "0", "Father");
    Put("{P}", "{F}", "0", "Person");
    EXPECT_EQ(GetLineageName("{P}"), "Person Father - Clan");
    Put("{U}", kGlobal, "0", "Under");
    Put("{V}", "{U}", "0", "Below");
    EXPECT_EQ(GetLineageName("{U}"), "Under");
    EXPECT_EQ(GetLineageName("{V}"), "Below Under");
    Names("{U}", "Cog", "", "");
    EXPECT_EQ(GetShortName("{U}"), "Under Cog"); // the group is no father's name
    Put("{L}", "{GONE}", "0", "Lost");
    Names("{L}", "", "", "Fam");
    EXPECT_EQ(GetLineageName("{L}"), "Lost Fam");

    // A person who is his own grandfather is named once.
    Put("{A}", "{B}", "0", "A");
    Put("{B}", "{A}", "0", "B");
    EXPECT_EQ(GetLineageName("{A}"), "A B");
    Put("{SELF}", "{SELF}", "0", "Self");
    EXPECT_EQ(GetLineageName("{SELF}"), "Self");
}

TEST_F(PersonNamesTest, HiddenNicknamesStayOutOfComposedNames) {
    Put("{F}", "-1", "0", "Father");
    Put("{P}", "{F}", "0", "Person");
    Names("{P}", "", "Nick", "");
    Names("{F}", "Cog", "FNick", "");
    Dm().Execute("UPDATE ftPerson SET Family_Nickname = 'FamNick' WHERE Person_Id = '{P}'");
    EXPECT_EQ(GetLineageNameWithFamily("{P}", 2), "Person Father (FamNick)");
    Dm().Execute("INSERT INTO ftOption (hide_nickname) VALUES (1)");
    Reopen();
    EXPECT_EQ(GetLineageName("{P}"), "Person Father (Cog)");
    EXPECT_EQ(GetLineageNameWithFamily("{P}", 2), "Person Father");
}

TEST_F(PersonNamesTest, ShortAndGenerationNames) {
    TPersonNames names;
    names.Person_Name = "Ali";
    names.Other_Name = "Other";
    names.Family_Nickname = "FN";
    EXPECT_EQ(ComposeShortName(names), "Ali Other FN");
    names.Cognomen = "Cog";
    names.Family_Name = "Fam";
    EXPECT_EQ(ComposeShortName(names), "Ali Cog Fam");
    names.FatherName = "Hasan";
    names.Last_Name = "Last";
    EXPECT_EQ(ComposeShortName(names), "Ali Hasan Last");

    Put("{G4}", "-1", "0", "G4");
    Put("{G3}", "{G4}", "0", "G3", "m", true);
    Put("{G2}", "{G3}", "0", "G2");
    Put("{G1}", "{G2}", "0", "G1");
    Put("{P}", "{G1}", "0", "P");
    Names("{P}", "", "", "Fam");
    Names("{G4}", "", "", "Fam");
    EXPECT_EQ(GetShortName("{P}"), "P G1 Fam");
    EXPECT_EQ(GetNameFatherLast("{P}"), "P G1 Fam");
    // A group is no father's name: the person directly under a branch or the outside group has none.
    Put("{B}", "{G3}", "0", "B");
    Names("{B}", "", "", "Fam");
    EXPECT_EQ(GetNameFatherLast("{B}"), "B Fam");
    Put("{U}", kGlobal, "0", "Under");
    EXPECT_EQ(GetNameFatherLast("{U}"), "Under");
    EXPECT_EQ(GetFiveGenerationName("{P}"), "P G1 G2 G3 G4 Fam");
    EXPECT_EQ(GetFiveGenerationName("{G1}"), "G1 G2 - G3 G4");
    EXPECT_EQ(GetThreeGenerationName("{G1}"), "G1 G2");
    EXPECT_EQ(GetThreeGenerationName("{P}"), "P G1 G2 Fam");
    EXPECT_EQ(GetThreeGenerationName("{G2}"), "G2 G4");
    EXPECT_TRUE(GetThreeGenerationName("{NOBODY}").isEmpty());
    EXPECT_EQ(GetLineageNameWithFamily("{P}", 3), "P G1 G2 (Fam)");
    Dm().Execute(
        "UPDATE ftPerson SET Family_Name = 'Fam', Family_Nickname = 'Other' WHERE Person_Id = '{P}'");
    EXPECT_EQ(GetLineageNameWithFamily("{P}", 1), "P (Fam) (Other)");

    // A line that turns back on itself is not five generations long.
    SetFather("{G2}", "{P}");
    EXPECT_EQ(GetFiveGenerationName("{P}"), "P G1 G2 Fam");
}

TEST_F(PersonNamesTest, FullLineageAndGroupPath) {
    Put("{A}", "-1", "0", "A");
    Put("{GRP}", "{A}", "0", "Clan", "m", true);
    Put("{B}", "{GRP}", "0", "B");
    Put("{C}", "{B}", "0", "C");
    Put("{D}", "{C}", "0", "D");
    Names("{A}", "", "", "Old");
    Names("{B}", "", "", "New");
    Names("{C}", "", "", "New");
    Names("{D}", "", "", "New");
    EXPECT_EQ(GetFullLineage("{D}"), "D C B (New) [Clan] A (Old)");
    EXPECT_EQ(GetFullLineage("{D}", 2), "D C (New)");
    EXPECT_EQ(GetGroupPath("{D}"), "/ Clan");
    Put("{U}", kGlobal, "0", "Under");
    EXPECT_EQ(GetFullLineage("{U}"), "Under");
    EXPECT_EQ(GetGroupPath("{U}"), QStringLiteral(u"/ خارج الشجرة"));
    SetFather("{A}", "{C}");
    EXPECT_EQ(GetFullLineage("{D}"), "D C B (New) [Clan] A (Old)");
    EXPECT_EQ(GetGroupPath("{D}"), "/ Clan");
}

TEST_F(PersonNamesTest, AncestorLinesAndSiblingLists) {
    Put("{GMA}", "-1", "0", "GrandMother", "f");
    Put("{GFA}", "-1", "0", "GrandFather");
    Put("{MOT}", "{GFA}", "{GMA}", "Mother", "f");
    Put("{FAT}", "-1", "0", "Father");
    Put("{FA2}", "-1", "0", "Father2");
    Put("{PER}", "{FAT}", "{MOT}", "P");
    Put("{SIS}", "{FAT}", "{MOT}", "S");
    Put("{HAL}", "{FAT}", "0", "H");
    Put("{JAN}", "{FA2}", "{MOT}", "J");
    QStringList lines;
    ListFatherLineNames("{PER}", lines);
    EXPECT_EQ(lines, (QStringList{"P", "Father"}));
    lines.clear();
    ListMotherLineNames("{PER}", lines);
    EXPECT_EQ(lines, (QStringList{"P Father", "Mother GrandFather", "GrandMother"}));
    lines.clear();
    ListMothersFatherLineNames("{PER}", lines);
    EXPECT_EQ(lines, (QStringList{"P", "Mother", "GrandFather"}));
    lines.clear();
    ListSiblingNames("{PER}", lines);
    EXPECT_EQ(lines, QStringList{"S"});
    lines.clear();
    ListPaternalHalfSiblingNames("{PER}", lines);
    EXPECT_EQ(lines, QStringList{"H"});
    lines.clear();
    ListMaternalHalfSiblingNames("{PER}", lines);
    EXPECT_EQ(lines, QStringList{"J Father2"});
    lines.clear();
    ListSiblingNames("{GFA}", lines);
    EXPECT_TRUE(lines.isEmpty()); // top-level persons are not siblings of each other
    EXPECT_EQ(GetFatherLineArray("{PER}", 4), (QStringList{"P", "Father"}));

    // Mother links that form a cycle end the walk.
    SetMother("{GMA}", "{PER}");
    lines.clear();
    ListMotherLineNames("{PER}", lines);
    EXPECT_EQ(lines.size(), 3);
}

TEST_F(PersonNamesTest, SearchNeedsEveryWordInThePersonsTexts) {
    Put("{A}", "-1", "0", QStringLiteral(u"محمد"));
    Put("{B}", "-1", "0", "Ali");
    Dm().Execute("UPDATE ftPerson SET Place_of_Birth = ?, Notes = 'born at sea' WHERE Person_Id = '{A}'",
                 QStringLiteral(u"مكة"));
    Dm().Execute("UPDATE ftPerson SET Notes = 'Name of a friend' WHERE Person_Id = '{B}'");
    TFindResultList results;
    SearchPersonTexts(QStringLiteral(u"محمد، مكة"), results);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0].Person_Id, "{A}");
    EXPECT_EQ(results[0].Name, QStringLiteral(u"محمد"));
    EXPECT_EQ(results[0].FoundText, QStringLiteral(u"Name: محمد. Birth Place: مكة. "));
    results.clear();
    SearchPersonTexts(QStringLiteral(u"محمد Ali"), results);
    EXPECT_TRUE(results.isEmpty());
    // A word that only a caption holds is not found.
    SearchPersonTexts("Ali Birth", results);
    EXPECT_TRUE(results.isEmpty());
    SearchPersonTexts("Ali friend", results);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0].FoundText, "Name: Ali. Notes: Name of a friend. ");
    results.clear();
    SearchPersonTexts("ali", results);
    ASSERT_EQ(results.size(), 1) << "Latin letters compare without regard to case";
    EXPECT_EQ(results[0].FoundText, "Name: Ali. ");
    results.clear();
    SearchPersonTexts("  ", results);
    EXPECT_TRUE(results.isEmpty());
    SearchPersonTexts("x'); DELETE FROM ftPerson;--", results);
    EXPECT_TRUE(results.isEmpty());
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPerson"), 3);
}

// Every stored way of writing a name is found by every typed one, in any column and inside longer texts;
// the found text shows the value as it is stored.
TEST_F(PersonNamesTest, SearchFindsNamesHoweverTheyAreWritten) {
    int n = 0;
    for (const TWrittenName& name : WrittenNames()) {
        const QString id = QStringLiteral("{W%1}").arg(n++);
        Put(id, "-1", "0", u"x"_qs);
        Dm().Execute("UPDATE ftPerson SET Notes = ? WHERE Person_Id = ?", u"سافر مع "_qs + name.Stored, id);
        for (const QString& typed : {name.Typed, name.Stored}) {
            TFindResultList results;
            SearchPersonTexts(typed, results);
            ASSERT_EQ(results.size(), 1) << name.What;
            EXPECT_EQ(results[0].Person_Id, id) << name.What;
            EXPECT_EQ(results[0].FoundText, u"Notes: سافر مع "_qs + name.Stored + u". "_qs) << name.What;
        }
    }
    // A word of marks alone is no word.
    TFindResultList results;
    SearchPersonTexts(u"\u0651\u064E"_qs, results);
    EXPECT_TRUE(results.isEmpty());
}

TEST_F(PersonNamesTest, Captions) {
    EXPECT_EQ(GenderCaption("M"), "Male");
    EXPECT_EQ(GenderCaption(QStringLiteral(u"أنثى")), "Female");
    EXPECT_EQ(GenderCaption("x"), "x");
    EXPECT_EQ(FieldCaption("place_of_birth"), "Birth Place");
    EXPECT_EQ(FieldCaption("Briefing"), "Summary");
    EXPECT_EQ(FieldCaption("Gender"), "Gender");
}

} // namespace
} // namespace verdan::test
