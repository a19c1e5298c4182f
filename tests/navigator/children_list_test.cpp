#include "navigator/children_list.h"
#include "navigator/outline_fixture.h"
#include "storage/person_store.h"

namespace verdan::test {
namespace {

class ChildrenListTest : public OutlineTest {
protected:
    QString Row(const QString& id) {
        return QStringList{Column(id, "person_name"),     Column(id, "gender"),
                           Column(id, "father_id"),       Column(id, "mother_id"),
                           Column(id, "order_by_father"), Column(id, "order_by_mother")}
            .join(u'/');
    }
};

TEST_F(ChildrenListTest, NumbersSonsThenDaughtersAfterTheChildrenThereAre) {
    Person("F", "Father", "-1", "0");
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET family_name = 'Clan' WHERE person_id = 'F'"), 1);
    Person("A", "First", "F", "0", "m", 1);
    Person("B", "Second", "F", "0", "m", 2);
    const TChildrenListResult result =
        CreateChildrenList("F", QString(), {"أحمد", "فاطمة+", "", "علي"}, {"  زينب ", ""});
    ASSERT_TRUE(result.Written);
    ASSERT_EQ(result.CreatedIds.size(), 4);
    // The blank line keeps its number: علي is 6, not 5; the daughters follow every line of the sons.
    EXPECT_EQ(Row(result.CreatedIds[0]), "أحمد/m/F/0/3/3");
    EXPECT_EQ(Row(result.CreatedIds[1]), "فاطمة/f/F/0/4/4");
    EXPECT_EQ(Row(result.CreatedIds[2]), "علي/m/F/0/6/6");
    EXPECT_EQ(Row(result.CreatedIds[3]), "زينب/f/F/0/7/7");
    EXPECT_EQ(Column(result.CreatedIds[3], "family_name"), "Clan");
}

TEST_F(ChildrenListTest, ACoupleNumbersEachParentsChildrenOnItsOwnColumn) {
    Person("H", "Husband", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("X", "His son", "H", "0", "m", 1);
    Person("Y", "Her son", "0", "W", "m", 99, 1);
    Person("Z", "Her daughter", "0", "W", "f", 99, 2);
    const TChildrenListResult result = CreateChildrenList("H", "W", {"a"}, {"b"});
    ASSERT_EQ(result.CreatedIds.size(), 2);
    EXPECT_EQ(Row(result.CreatedIds[0]), "a/m/H/W/2/3");
    EXPECT_EQ(Row(result.CreatedIds[1]), "b/f/H/W/3/4");

    // A woman alone: her column only, no father.
    const TChildrenListResult hers = CreateChildrenList(QString(), "W", {"c"}, {});
    EXPECT_EQ(Row(hers.CreatedIds[0]), "c/m/0/W/5/5");
}

TEST_F(ChildrenListTest, EmptyListsWriteNothingAndAFailureKeepsNothing) {
    Person("F", "Father", "-1", "0");
    const int before = Count("1");
    TChildrenListResult result = CreateChildrenList("F", QString(), {"", "  ", "+"}, {"\t"});
    EXPECT_TRUE(result.Written);
    EXPECT_TRUE(result.CreatedIds.isEmpty());
    EXPECT_EQ(Count("1"), before);

    result = CreateChildrenList("nobody", QString(), {"a"}, {});
    EXPECT_FALSE(result.Written);
    EXPECT_EQ(Count("1"), before);

    ASSERT_GE(Dm().Execute("CREATE TEMP TRIGGER refuse BEFORE INSERT ON ftPerson WHEN NEW.person_name = 'b' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              0);
    result = CreateChildrenList("F", QString(), {"a", "b", "c"}, {});
    EXPECT_FALSE(result.Written);
    EXPECT_TRUE(result.CreatedIds.isEmpty());
    EXPECT_EQ(Count("1"), before);
    EXPECT_FALSE(messages_.isEmpty());
}

TEST(PastedNames, PunctuationBecomesBlanksAndTheAndLetterBeginsALine) {
    const QString andWord = QStringLiteral("و");
    qsizetype caret = -1;
    EXPECT_EQ(ArrangePastedNames("محمد، علي وحسن", 0, "محمد، علي وحسن", andWord, &caret), "محمد  علي\nحسن");
    EXPECT_EQ(ArrangePastedNames("محمد وعلي وحسن", 0, "محمد وعلي وحسن", andWord), "محمد\nعلي\nحسن");
    // Vowel marks and tatweel of the paste are gone.
    EXPECT_EQ(ArrangePastedNames("مُحَمَّـد", 0, "مُحَمَّـد", andWord), "محمد");
    // Without a one-letter "and" word only the punctuation is cleaned.
    EXPECT_EQ(ArrangePastedNames("Ali and Omar; Hasan", 0, "Ali and Omar; Hasan", "and"),
              "Ali and Omar  Hasan");

    // Pasted between two lines of the list: the caret stands after what was pasted.
    const QString before = QStringLiteral("أحمد\n");
    const QString pasted = QStringLiteral("علي وحسن");
    const QString after = QStringLiteral("\nزيد");
    const QString result =
        ArrangePastedNames(before + pasted + after, before.size(), pasted, andWord, &caret);
    EXPECT_EQ(result.split(u'\n').size(), 4);
    EXPECT_EQ(result.left(caret).split(u'\n').last().trimmed(), "حسن");
    EXPECT_TRUE(result.mid(caret).trimmed().endsWith(QStringLiteral("زيد")));
    // The place of the paste counts, not the first occurrence of the same text.
    EXPECT_EQ(ArrangePastedNames("x y x", 4, "x", andWord, &caret), "x y  x");
    EXPECT_EQ(caret, 6);
}

} // namespace
} // namespace verdan::test
