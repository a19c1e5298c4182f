#include "person_fixture.h"

namespace verdan {

void PrintTo(const TDescendantCounts& c, std::ostream* os) {
    *os << "{" << c.Total << ", " << c.Males << ", " << c.Females << "}";
}

namespace test {
namespace {

using PersonIndexTest = PersonStoreTest;

TEST_F(PersonIndexTest, CountsEachDescendantOnce) {
    Put("{F}", "-1", "0", "F");
    Put("{W}", "-1", "0", "W", "f");
    Put("{S1}", "{F}", "{W}", "S1", "M");
    Put("{S2}", "{F}", "0", "S2", QStringLiteral(u"ذكر"));
    Put("{D}", "{S1}", "0", "D", QStringLiteral(u"أنثى"));
    Put("{DC}", "{X}", "{D}", "DC", "F");
    EXPECT_EQ(CountDescendantsDetailed("{F}", false), (TDescendantCounts{3, 2, 1}));
    EXPECT_EQ(CountDescendantsDetailed("{F}", true), (TDescendantCounts{4, 2, 2}));
    EXPECT_EQ(CountDescendants("{F}"), 4);
    // A woman's children count only with includeFemale.
    EXPECT_EQ(CountDescendantsDetailed("{W}", false).Total, 0);
    EXPECT_EQ(CountDescendants("{W}"), 3);
    EXPECT_EQ(CountDescendants("{NOBODY}"), 0);
    EXPECT_EQ(CountDescendants("0"), 0);

    // A wife who is also a descendant: her children are reached twice and counted once.
    Put("{S1W}", "{S2}", "0", "S1W", "f");
    Put("{GC}", "{S1}", "{S1W}", "GC");
    EXPECT_EQ(CountDescendantsDetailed("{F}", true), (TDescendantCounts{6, 3, 3}));
}

// The outline's root stands for the whole tree: every person without parents and their descendants; a
// child only of a woman counts with includeFemale.
TEST_F(PersonIndexTest, TheRootCountsTheWholeTree) {
    const TDescendantCounts before = CountDescendantsDetailed("-1", true);
    Put("{F}", "-1", "0", "F");
    Put("{W}", "", "0", "W", "f");
    Put("{S}", "{F}", "{W}", "S");
    Put("{D}", "{S}", "0", "D", "f");
    Put("{M}", "0", "{W}", "M");
    const TDescendantCounts all = CountDescendantsDetailed("-1", true);
    EXPECT_EQ(all, (TDescendantCounts{before.Total + 5, before.Males + 3, before.Females + 2}));
    EXPECT_EQ(CountDescendantsDetailed("-1", false).Total, before.Total + 4);
    EXPECT_EQ(CountDescendantsDetailed(" -1 ", true), all);
}

TEST_F(PersonIndexTest, CyclesNeverCountTheRoot) {
    Put("{A}", "{C}", "0", "A");
    Put("{B}", "{A}", "0", "B");
    Put("{C}", "{B}", "0", "C");
    EXPECT_EQ(CountDescendants("{A}"), 2);
    Put("{SELF}", "{SELF}", "{SELF}", "Self", "f");
    EXPECT_EQ(CountDescendants("{SELF}"), 0);
}

TEST_F(PersonIndexTest, IndexFollowsEveryChangeOfPersonsParentsAndGenders) {
    Put("{F}", "-1", "0", "F");
    Put("{G}", "-1", "0", "G");
    EXPECT_EQ(CountDescendants("{F}"), 0);
    QString id;
    ASSERT_TRUE(AddPerson("C", "{F}", "0", id, "m"));
    EXPECT_EQ(CountDescendants("{F}"), 1);
    // Rows written by statements built elsewhere are seen too.
    ASSERT_EQ(Dm().ExecInsert("ftPerson", {"Person_Id", "Father_Id", "Gender"}, {"'{R}'", Quote(id), "'f'"}),
              1);
    EXPECT_EQ(CountDescendantsDetailed("{F}", true), (TDescendantCounts{2, 1, 1}));
    ASSERT_TRUE(SetGender("{R}", "m"));
    EXPECT_EQ(CountDescendantsDetailed("{F}", true), (TDescendantCounts{2, 2, 0}));
    ASSERT_TRUE(SetFather(id, "{G}"));
    EXPECT_EQ(CountDescendants("{F}"), 0);
    EXPECT_EQ(CountDescendants("{G}"), 2);
    ASSERT_TRUE(SwapParents(id));
    EXPECT_EQ(CountDescendants("{G}"), 0);
    ASSERT_TRUE(SetParents(id, "{F}", "0"));
    ASSERT_TRUE(DeletePerson("{R}"));
    EXPECT_EQ(CountDescendants("{F}"), 1);
    ASSERT_TRUE(DetachChildrenOfFather("{F}"));
    EXPECT_EQ(CountDescendants("{F}"), 0);
    EXPECT_EQ(CountDescendants(kGlobal), 1);

    // Writes that leave parents and genders alone keep the index.
    BuildPersonIndex();
    SetOrderByFather(id, 4);
    SetPersonNotes(id, "note");
    EXPECT_EQ(CountDescendants(kGlobal), 1);
}

TEST_F(PersonIndexTest, GuidsMatchInEitherLetterCase) {
    const QString father = "{0A1B2C3D-4E5F-6A7B-8C9D-0E1F2A3B4C5D}";
    Put(father, "-1", "0", "F");
    Put("{11111111-2222-3333-4444-55555555AAAA}", father.toLower(), "0", "S");
    Put("{11111111-2222-3333-4444-55555555AAAB}", father, "0", "D", "f");
    Put("{not-quite-a-guid}", father, "0", "X");
    EXPECT_EQ(CountDescendantsDetailed(father.toLower(), false), (TDescendantCounts{3, 2, 1}));
    EXPECT_EQ(CountDescendants("{0A1B2C3D-4E5F-6A7B-8C9D-0E1F2A3B4C5E}"), 0);
}

TEST_F(PersonIndexTest, LinksTellMissingParentsDuplicatesAndBlankIdentifiers) {
    // Files from elsewhere may lack the unique index on identifiers.
    ASSERT_TRUE(Dm().ExecSql("DROP INDEX ftPerson_idx_person_id"));
    Put("{F}", "-1", "0", "F");
    Put("{C}", "{F}", "{GONE}", "C");
    Put("{c}", "{F}", "0", "C again");
    Put(" ", "{F}", "0", "Nobody");
    Put("{ORPHAN}", "{LOST}", " 0 ", "O", "f");
    const TPersonLinks links = PersonLinks();
    ASSERT_EQ(links.Count(), 4); // the global parent, {F}, {C}, {ORPHAN}
    EXPECT_EQ(links.DuplicateRows.size(), 1u);
    EXPECT_EQ(links.BlankIdRows.size(), 1u);
    EXPECT_EQ(links.FatherOf[1], kNoParent);
    EXPECT_EQ(links.FatherOf[2], 1);
    EXPECT_EQ(links.MotherOf[2], kMissingParent);
    EXPECT_EQ(links.FatherOf[3], kMissingParent);
    EXPECT_EQ(links.MotherOf[3], kNoParent);
    EXPECT_EQ(links.Gender[3], 'f');
    EXPECT_EQ(CountDescendants("{F}"), 1);
    CloseTreeFile();
    EXPECT_EQ(PersonLinks().Count(), 0);
}

TEST_F(PersonIndexTest, AnotherTreeNeverSeesTheOldIndex) {
    Put("{F}", "-1", "0", "F");
    Put("{C}", "{F}", "0", "C");
    EXPECT_EQ(CountDescendants("{F}"), 1);
    const QString first = path_;

    // A second tree whose {F} has two children.
    TearDown();
    SetUp();
    Put("{F}", "-1", "0", "F");
    Put("{C1}", "{F}", "0", "C1");
    Put("{C2}", "{F}", "0", "C2");
    EXPECT_EQ(CountDescendants("{F}"), 2);

    // Back to the first file.
    ASSERT_TRUE(OpenTreeFile(first));
    EXPECT_EQ(CountDescendants("{F}"), 1);
    ClearPersonIndex();
    EXPECT_EQ(CountDescendants("{F}"), 1);
    CloseTreeFile();
    EXPECT_EQ(CountDescendants("{F}"), 0);
}

} // namespace
} // namespace test
} // namespace verdan
