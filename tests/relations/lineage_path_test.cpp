#include "navigator/outline_fixture.h"
#include "relations/lineage_path.h"
#include "storage/person_store.h"

namespace verdan::test {
namespace {

class LineagePathTest : public OutlineTest {
protected:
    // Every entry as its text with the text of the entry above, "*" marking the person.
    static QStringList Shape(const TLineagePath& path) {
        QStringList lines;
        for (const TPathEntry& entry : path.Entries)
            lines << (entry.IsPerson ? QStringLiteral("*") : QString()) + entry.Text + QStringLiteral(" < ") +
                         (entry.Parent < 0 ? QStringLiteral("top") : path.Entries[entry.Parent].Text);
        return lines;
    }
};

TEST_F(LineagePathTest, TheFatherLineWithChildrenAndSiblingsAtTheirPlaces) {
    // Half-siblings are found by real identifiers only, never by short placeholders.
    Person("GRANDGRANDFATHER", "Salim", "-1", "0");
    Person("GRANDFATHER", "Hasan", "GRANDGRANDFATHER", "0");
    Person("UNCLE", "Uncle", "GRANDFATHER", "0");
    Person("MOTHER", "Mother", "-1", "0", "f");
    Person("FATHER", "Ali", "GRANDFATHER", "0");
    Person("P", "Muhammad", "FATHER", "MOTHER");
    Person("B", "Brother", "FATHER", "MOTHER");
    Person("H", "Half-brother", "FATHER", "0");
    Person("K", "Child", "P", "0");
    const TLineagePath path = BuildLineagePath("P", TLineageKind::FatherLine);
    EXPECT_EQ(path.Caption, "  " + GetLineageName("P"));
    EXPECT_EQ(LineageChainNames(path), (QStringList{"Salim", "Hasan", "Ali", "Muhammad"}));
    EXPECT_EQ(Shape(path), (QStringList{"Salim < top", "Hasan < Salim", "Ali < Hasan", "*Muhammad < Ali",
                                        "Child < Muhammad", "Brother < Ali",
                                        "Half-brother (father's side) < Ali", "Uncle < Hasan"}));
    // Each entry names its person, for the cards that follow what the user points at.
    QStringList ids;
    for (const TPathEntry& entry : path.Entries)
        ids << entry.PersonId;
    EXPECT_EQ(ids, (QStringList{"GRANDGRANDFATHER", "GRANDFATHER", "FATHER", "P", "K", "B", "H", "UNCLE"}));
}

TEST_F(LineagePathTest, TheMothersLinesAndTheTopOfTheTree) {
    Person("MF", "Her father", "-1", "0");
    Person("MM", "Her mother", "-1", "0", "f");
    Person("M", "Mother", "MF", "MM", "f");
    Person("S", "Her sister", "MF", "MM", "f");
    Person("P", "Person", "0", "M");
    EXPECT_EQ(LineageChainNames(BuildLineagePath("P", TLineageKind::MothersFatherLine)),
              (QStringList{"Her father", "Mother", "Person"}));
    const TLineagePath mothers = BuildLineagePath("P", TLineageKind::MothersLine);
    EXPECT_EQ(mothers.Entries.value(0).Text, GetShortName("MM"));
    EXPECT_EQ(mothers.Entries.size(), 4); // her mother, the mother, the person, the mother's sister
    EXPECT_EQ(mothers.Entries.last().Parent, 0);

    // At the top the person stands alone with the children beneath.
    Person("K", "Kid", "MF", "0");
    const TLineagePath top = BuildLineagePath("MF", TLineageKind::FatherLine);
    EXPECT_EQ(Shape(top), (QStringList{"*Her father < top", "Mother < Her father", "Her sister < Her father",
                                       "Kid < Her father"}));
    EXPECT_TRUE(BuildLineagePath("nobody", TLineageKind::FatherLine).Entries.isEmpty());
}

TEST_F(LineagePathTest, LinksInACircleEndTheLine) {
    Person("A", "A", "B", "0");
    Person("B", "B", "A", "0");
    const TLineagePath path = BuildLineagePath("A", TLineageKind::FatherLine);
    EXPECT_EQ(LineageChainNames(path), (QStringList{"B", "A"}));
}

} // namespace
} // namespace verdan::test
