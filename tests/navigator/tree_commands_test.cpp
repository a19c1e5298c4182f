#include "navigator/outline_fixture.h"
#include "navigator/tree_commands.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

namespace verdan::test {
namespace {

class TreeCommandsTest : public OutlineTest {
protected:
    // Every person row as "id father mother gender", to tell that a refusal left the file as it was.
    QStringList Snapshot() {
        QStringList rows;
        Query q = Dm().Prepare(QStringLiteral("SELECT person_id, father_id, mother_id, gender, is_section, "
                                              "person_name FROM ftPerson ORDER BY person_id"));
        while (q.Next())
            rows << QStringList{q.Text(0), q.Text(1), q.Text(2), q.Text(3), q.Text(4), q.Text(5)}.join(u' ');
        return rows;
    }
};

TEST_F(TreeCommandsTest, AddingChildrenWritesRowOrderAndNames) {
    Person("A", "Ancestor", "-1", "0");
    Person("B", "Branch", "", "0");
    TMateStatus mates;
    const QString top = AddChildPerson(QString(), "m", mates);
    ASSERT_FALSE(top.isEmpty());
    EXPECT_EQ(top.size(), 38);
    // Counted among the persons whose father is "-1": the ancestor and the outside-the-tree group.
    EXPECT_EQ(Column(top, "person_name"), "ابن 3");
    EXPECT_EQ(Column(top, "father_id"), "-1");
    EXPECT_EQ(Column(top, "mother_id"), "0");
    EXPECT_EQ(Column(top, "gender"), "m");
    EXPECT_EQ(Column(top, "owner_id"), GetOwnerId());
    EXPECT_FALSE(Column(top, "date_created").isEmpty());

    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET family_name = 'Clan' WHERE person_id = 'A'")),
              1);
    Person("S", "Son", "A", "0", "m", 1, 99);
    const QString daughter = AddChildPerson("A", "f", mates);
    EXPECT_EQ(Column(daughter, "person_name"), "ابنة 2");
    EXPECT_EQ(Column(daughter, "father_id"), "A");
    EXPECT_EQ(Column(daughter, "gender"), "f");
    EXPECT_EQ(Column(daughter, "order_by_father"), "2");
    EXPECT_EQ(Column(daughter, "family_name"), "Clan");
    EXPECT_EQ(mates.MateCount, 0);

    Person("W", "Wife", "-1", "0", "f");
    Person("V", "Second wife", "-1", "0", "f");
    ASSERT_TRUE(AddMarriage("A", "W"));
    ASSERT_TRUE(AddMarriage("A", "V"));
    AddChildPerson("A", "m", mates);
    EXPECT_EQ(mates.PersonId, "A");
    EXPECT_EQ(mates.MateCount, 2);
    EXPECT_EQ(mates.MateIds, (QStringList{"W", "V"}));
    EXPECT_FALSE(mates.ActiveMateId.isEmpty());

    // Under a woman the child hangs on the mother column with her count.
    const QString child = AddChildPerson("W", "m", mates);
    EXPECT_EQ(Column(child, "mother_id"), "W");
    EXPECT_EQ(Column(child, "father_id"), "0");
    EXPECT_EQ(Column(child, "order_by_mother"), "1");
    EXPECT_EQ(mates.Gender, "f");
    EXPECT_EQ(mates.MateIds, QStringList{"A"});

    EXPECT_TRUE(AddChildPerson("missing", "m", mates).isEmpty());
    EXPECT_EQ(Invisible(), 0);
}

TEST_F(TreeCommandsTest, AddingWithAChosenOtherParentSetsBothParents) {
    Person("H", "Husband", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("X", "Other child of W", "0", "W", "m", 99, 1);
    const QString child = AddChildWithParent("H", "W", "f");
    ASSERT_FALSE(child.isEmpty());
    EXPECT_EQ(Column(child, "father_id"), "H");
    EXPECT_EQ(Column(child, "mother_id"), "W");
    EXPECT_EQ(Column(child, "order_by_father"), "1");
    EXPECT_EQ(Column(child, "order_by_mother"), "2");

    const QString later = AddChildWithParent("W", "0", "m");
    EXPECT_EQ(Column(later, "father_id"), "0");
    EXPECT_EQ(Column(later, "mother_id"), "W");
    EXPECT_EQ(Column(later, "order_by_father"), "0");

    const QStringList before = Snapshot();
    EXPECT_TRUE(AddChildWithParent("H", global_, "m").isEmpty()); // the group is nobody's parent
    EXPECT_TRUE(AddChildWithParent("H", "H", "m").isEmpty());
    EXPECT_TRUE(AddChildWithParent("H", "nobody", "m").isEmpty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(TreeCommandsTest, AddingAFatherNeverHidesAnybody) {
    Person("A", "Ancestor", "-1", "0");
    Person("S", "Son", "A", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("C", "Child of mother", "0", "M");

    const QString between = AddFather("S");
    ASSERT_FALSE(between.isEmpty());
    EXPECT_EQ(Column("S", "father_id"), between);
    EXPECT_EQ(Column(between, "father_id"), "A");
    EXPECT_EQ(Column(between, "person_name"), "father");
    EXPECT_EQ(Column(between, "gender"), "m");

    const QString top = AddFather("A");
    EXPECT_EQ(Column(top, "father_id"), "-1"); // a first-level person's new father stands on the first level
    EXPECT_EQ(Column("A", "father_id"), top);

    const QString forChild = AddFather("C");
    EXPECT_EQ(Column(forChild, "father_id"), "-1");
    EXPECT_EQ(Column("C", "mother_id"), "M");
    EXPECT_EQ(Invisible(), 0);

    const QStringList before = Snapshot();
    EXPECT_TRUE(AddFather("-1").isEmpty()); // the root node
    EXPECT_TRUE(AddFather(QString()).isEmpty());
    EXPECT_TRUE(AddFather(global_).isEmpty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(TreeCommandsTest, NoParentLoops) {
    Person("A", "Ancestor", "-1", "0");
    Person("M", "Mother", "A", "0", "f");
    Person("B", "Grandchild", "0", "M");
    Person("L", "Loop one", "K", "0");
    Person("K", "Loop two", "L", "0");
    EXPECT_TRUE(WouldCreateParentCycle("A", "A"));
    EXPECT_TRUE(WouldCreateParentCycle("A", "B"));  // A is B's ancestor through the mother
    EXPECT_TRUE(WouldCreateParentCycle("a", "B"));  // identifiers compare without letter case
    EXPECT_FALSE(WouldCreateParentCycle("B", "A")); // making A a parent of B again is no loop
    EXPECT_FALSE(WouldCreateParentCycle("A", "L")); // an existing loop elsewhere still ends the walk
    EXPECT_TRUE(WouldCreateParentCycle("L", "K"));
}

TEST_F(TreeCommandsTest, RenamingCutsCleansAndKeepsMarriageNames) {
    Person("H", "Husband", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    ASSERT_TRUE(AddMarriage("H", "W"));
    EXPECT_TRUE(SavePersonName("H", QString(55, u'س')));
    EXPECT_EQ(Column("H", "person_name"), QString(50, u'س'));
    EXPECT_TRUE(SavePersonName("H", "  Zayd\u0640  ibn Am\u00a0r "));
    EXPECT_EQ(Column("H", "person_name"), "Zayd ibn Amr");
    EXPECT_FALSE(Column("H", "date_modified").isEmpty());
    EXPECT_TRUE(Dm().ScalarText(QStringLiteral("SELECT name_1 FROM ftRelation")).startsWith("Zayd ibn Amr"));
    EXPECT_FALSE(SavePersonName("nobody", "Name"));
    EXPECT_FALSE(SavePersonName("0", "Name"));
}

TEST_F(TreeCommandsTest, RemovingRefusesExclusiveChildrenAndAsksFirst) {
    Person("F", "Father", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("C", "Child without mother", "F", "");
    QStringList before = Snapshot();
    EXPECT_FALSE(RemovePerson("F", "Father", true).Removed);
    ASSERT_EQ(shown_.texts.size(), 1);
    EXPECT_TRUE(shown_.texts[0].startsWith("There are children attached exclusively to the current person."));
    EXPECT_EQ(Snapshot(), before);

    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET mother_id = 'W' WHERE person_id = 'C'")), 1);
    before = Snapshot();
    for (int refusal : {IDNO, IDCANCEL, 0}) {
        shown_.texts.clear();
        shown_.captions.clear();
        shown_.answer = refusal;
        EXPECT_FALSE(RemovePerson("F", "Father", true).Removed);
        ASSERT_EQ(shown_.texts.size(), 1);
        EXPECT_TRUE(
            shown_.texts[0].startsWith("This will remove this person and delete all its relationships.\r\n"));
        EXPECT_TRUE(shown_.texts[0].contains("Children will be attached to the mother"));
        EXPECT_TRUE(shown_.texts[0].endsWith("|Continue to remove: Father ?"));
        EXPECT_EQ(shown_.captions[0], "Confirm");
        EXPECT_EQ(shown_.focuses.last(), IDNO) << "Enter at once must keep the person";
        EXPECT_EQ(Snapshot(), before);
    }
    EXPECT_FALSE(RemovePerson(global_, "Other", false).Removed);
    EXPECT_FALSE(RemovePerson("0", "", false).Removed);
}

TEST_F(TreeCommandsTest, RemovingAManMovesHisChildrenAndLeavesNobodyInvisible) {
    Person("F", "Father", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("C", "Child", "F", "W");
    Person("E", "Recorded on the wrong column", "0", "F"); // the man stands in the mother column
    ASSERT_TRUE(AddMarriage("F", "W"));
    DisplayOptions("F", 2, 0, "T");

    shown_.answer = IDYES;
    const TRemoveResult result = RemovePerson("F", "Father", true);
    EXPECT_TRUE(result.Removed);
    EXPECT_TRUE(result.ChildrenMoved);
    EXPECT_FALSE(PersonExists("F"));
    EXPECT_EQ(Column("C", "father_id"), global_);
    EXPECT_EQ(Column("C", "mother_id"), "W");
    EXPECT_EQ(Column("E", "father_id"), global_);
    EXPECT_EQ(Column("E", "mother_id"), "0");
    EXPECT_EQ(Invisible(), 0);
    EXPECT_FALSE(HasMarriage("W"));
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPersonOption WHERE person_id = 'F'")), 0);

    // A woman whose children have fathers leaves them with their fathers; a child that hangs on the
    // outside-the-tree group as father counts as hers alone.
    Person("H", "Husband", "-1", "0");
    Person("D", "Daughter", "H", "W", "f");
    EXPECT_FALSE(RemovePerson("W", "Wife", false).Removed);
    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET father_id = 'H' WHERE person_id = 'C'")), 1);
    EXPECT_TRUE(RemovePerson("W", "Wife", false).Removed);
    EXPECT_EQ(Column("D", "father_id"), "H");
    EXPECT_EQ(Column("D", "mother_id"), "0");
    EXPECT_EQ(Column("C", "mother_id"), "0");
    EXPECT_EQ(Invisible(), 0);
}

TEST_F(TreeCommandsTest, RemovingSeveralAsksOnceAndSkipsThoseGone) {
    Person("A", "A", "-1", "0");
    Person("B", "B", "-1", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("C", "C", "A", "M");
    shown_.answer = IDNO;
    EXPECT_TRUE(RemovePersons({"A", "B"}, true).isEmpty());
    EXPECT_EQ(shown_.texts, QStringList{"Remove selected persons?"});
    EXPECT_TRUE(PersonExists("A"));

    shown_.texts.clear();
    shown_.answer = IDYES;
    bool moved = false;
    // The same person selected twice and a parent with its child: each goes once, the last selected first.
    EXPECT_EQ(RemovePersons({"A", "C", "B", "b", global_}, true, &moved), (QStringList{"b", "C", "A"}));
    EXPECT_EQ(shown_.texts.size(), 1);
    EXPECT_FALSE(moved);
    EXPECT_TRUE(PersonExists(global_));
    EXPECT_EQ(Count("1"), 2);
}

TEST_F(TreeCommandsTest, BecomingAManMovesTheMothersChildren) {
    Person("W", "Woman", "-1", "0", "f");
    Person("C", "Child", "0", "W");
    Person("T", "Top child", "-1", "W");
    Person("E", "Already on the father column", "W", "0");
    shown_.answer = IDNO;
    QStringList before = Snapshot();
    EXPECT_FALSE(SetMale("W"));
    EXPECT_EQ(shown_.texts, QStringList{"This will change children attachment to a father..|Continue?"});
    EXPECT_EQ(shown_.captions, QStringList{"Change to Father"});
    EXPECT_EQ(Snapshot(), before);

    shown_.answer = IDYES;
    EXPECT_TRUE(SetMale("W"));
    EXPECT_EQ(Column("W", "gender"), "m");
    EXPECT_EQ(Column("C", "father_id"), "W");
    EXPECT_EQ(Column("C", "mother_id"), "0");
    EXPECT_EQ(Column("T", "father_id"), "W");
    EXPECT_EQ(Column("E", "father_id"), "W");
    EXPECT_EQ(Column("E", "mother_id"), "0");

    // A group man becomes a plain man without a question.
    Person("G", "Group", "-1", "0", "m", 99, 99, true);
    shown_.texts.clear();
    EXPECT_TRUE(SetMale("G"));
    EXPECT_EQ(Column("G", "is_section"), "0");
    EXPECT_TRUE(shown_.texts.isEmpty());
    EXPECT_FALSE(SetMale(global_));
}

TEST_F(TreeCommandsTest, GenderChangesRefuseOtherParentsAndMarriages) {
    Person("H", "Husband", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("X", "Man", "-1", "0");
    Person("C", "Child of both", "H", "W");
    const QStringList before = Snapshot();
    EXPECT_FALSE(SetMale("W"));
    EXPECT_EQ(shown_.texts.value(0),
              "Can't change this person to a father. there are children already attached to other father.");
    EXPECT_FALSE(SetFemale("H"));
    EXPECT_EQ(shown_.texts.value(1),
              "Can't change this person to a mother. there are children already attached to other mother.");
    EXPECT_EQ(Snapshot(), before);

    // Married persons keep their gender, so no marriage ever joins two men or two women.
    Person("Y", "Woman", "-1", "0", "f");
    ASSERT_TRUE(AddMarriage("X", "Y"));
    shown_.texts.clear();
    EXPECT_FALSE(SetFemale("X"));
    EXPECT_FALSE(SetMale("Y"));
    EXPECT_EQ(shown_.texts.size(), 2);
    EXPECT_EQ(Column("X", "gender"), "m");
    EXPECT_EQ(Column("Y", "gender"), "f");

    Person("G", "Group", "-1", "0", "m", 99, 99, true);
    shown_.texts.clear();
    EXPECT_FALSE(SetFemale("G"));
    EXPECT_EQ(shown_.texts, QStringList{"Can't change Group to female."});
}

TEST_F(TreeCommandsTest, BecomingAWomanMovesTheFathersChildren) {
    Person("M", "Man", "-1", "0");
    Person("C", "Child", "M", "0");
    Person("O", "Outside child", "M", global_);
    Person("E", "Already on the mother column", "0", "M");
    shown_.answer = IDYES;
    EXPECT_TRUE(SetFemale("M"));
    EXPECT_EQ(Column("M", "gender"), "f");
    EXPECT_EQ(Column("C", "father_id"), "0");
    EXPECT_EQ(Column("C", "mother_id"), "M");
    EXPECT_EQ(Column("O", "father_id"), global_);
    EXPECT_EQ(Column("O", "mother_id"), "M");
    EXPECT_EQ(Column("E", "mother_id"), "M");
    EXPECT_EQ(Invisible(), 0);
    shown_.texts.clear();
    EXPECT_TRUE(SetFemale("M")); // already a woman: nothing to ask
    EXPECT_TRUE(shown_.texts.isEmpty());
    EXPECT_FALSE(SetFemale(global_));
}

TEST_F(TreeCommandsTest, GroupDeadAndOrderToggles) {
    Person("A", "Ancestor", "-1", "0", "M");
    Person("W", "Woman", "-1", "0", "f");
    Person("H", "Husband", "-1", "0");
    ASSERT_TRUE(AddMarriage("H", "W"));
    EXPECT_FALSE(ToggleGroup("W"));
    EXPECT_EQ(shown_.texts.value(0), "Gender must be Male before setting as group.");
    EXPECT_FALSE(ToggleGroup("H"));
    EXPECT_EQ(shown_.texts.value(1),
              "This person has a marriage or breastfeeding relationship. Can't change to a group.");
    EXPECT_EQ(Column("H", "is_section"), "0");
    EXPECT_TRUE(ToggleGroup("A"));
    EXPECT_EQ(Column("A", "is_section"), "1");
    EXPECT_EQ(Column("A", "gender"), "m");
    EXPECT_TRUE(ToggleGroup("A"));
    EXPECT_EQ(Column("A", "is_section"), "0");
    EXPECT_FALSE(ToggleGroup(global_));
    EXPECT_EQ(Column(global_, "is_section"), "1");

    EXPECT_TRUE(ToggleDead("A"));
    EXPECT_EQ(Column("A", "is_dead"), "1");
    EXPECT_TRUE(ToggleDead("A"));
    EXPECT_EQ(Column("A", "is_dead"), "0");

    Person("C", "Child", "0", "W");
    EXPECT_TRUE(SetOrderByKey("C", "W", "f", 5));
    EXPECT_EQ(Column("C", "order_by_mother"), "5");
    EXPECT_EQ(Column("C", "order_by_father"), "5"); // the unset columns take it too
    EXPECT_TRUE(SetOrderByKey("C", "H", "M", 3));
    EXPECT_EQ(Column("C", "order_by_father"), "3");
    EXPECT_EQ(Column("C", "order_by_mother"), "5");
    EXPECT_FALSE(SetOrderByKey("C", "W", "f", 0));
    EXPECT_FALSE(SetOrderByKey("A", "-1", "", 4)); // first level: nothing written
    EXPECT_EQ(Column("A", "order_by_father"), "99");
}

} // namespace
} // namespace verdan::test
