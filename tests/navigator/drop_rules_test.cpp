#include "navigator/drop_rules.h"
#include "navigator/outline_fixture.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

namespace verdan::test {
namespace {

// A drop onto a person of the same outline who is nobody the dragged person hangs under or over.
TDropFacts Plain() {
    TDropFacts facts;
    facts.TargetExists = true;
    return facts;
}

template <typename F> TDropFacts With(F change) {
    TDropFacts facts = Plain();
    change(facts);
    return facts;
}

TEST(DropRules, ModesFollowTheKeysAndTheTwoNodes) {
    struct Case {
        const char* what;
        TDropFacts facts;
        TDropMode mode;
    };
    const Case cases[] = {
        {"plain move", Plain(), TDropMode::Move},
        {"move onto the root", With([](auto& f) { f.TargetIsRoot = true; }), TDropMode::Move},
        {"move into the outside group", With([](auto& f) { f.TargetIsGlobal = true; }), TDropMode::Move},
        {"empty space", With([](auto& f) { f.TargetExists = false; }), TDropMode::None},
        {"onto itself", With([](auto& f) { f.TargetIsDragged = true; }), TDropMode::None},
        {"onto its parent", With([](auto& f) { f.TargetIsDraggedParent = true; }), TDropMode::None},
        // Taken, so that the move can say why it refuses.
        {"into its own branch", With([](auto& f) { f.TargetInsideDragged = true; }), TDropMode::Move},
        {"ctrl into its own branch", With([](auto& f) { f.Ctrl = f.TargetInsideDragged = true; }),
         TDropMode::Relation},
        {"the outside group dragged", With([](auto& f) { f.DraggedIsGlobal = true; }), TDropMode::None},
        {"read-only outline", With([](auto& f) { f.ReadOnly = true; }), TDropMode::None},
        {"shift onto a sibling", With([](auto& f) { f.Shift = f.SameParent = true; }), TDropMode::Reorder},
        {"shift onto a stranger", With([](auto& f) { f.Shift = true; }), TDropMode::None},
        {"shift, read-only", With([](auto& f) { f.Shift = f.SameParent = f.ReadOnly = true; }),
         TDropMode::None},
        {"ctrl", With([](auto& f) { f.Ctrl = true; }), TDropMode::Relation},
        {"ctrl onto the root", With([](auto& f) { f.Ctrl = f.TargetIsRoot = true; }), TDropMode::None},
        {"ctrl onto the group", With([](auto& f) { f.Ctrl = f.TargetIsGlobal = true; }), TDropMode::None},
        {"ctrl onto its parent", With([](auto& f) { f.Ctrl = f.TargetIsDraggedParent = true; }),
         TDropMode::None},
        {"shift and ctrl", With([](auto& f) { f.Shift = f.Ctrl = f.SameParent = true; }), TDropMode::Reorder},
        {"other outline", With([](auto& f) { f.SameOutline = false; }), TDropMode::Relation},
        {"other outline, read-only", With([](auto& f) { f.SameOutline = false, f.ReadOnly = true; }),
         TDropMode::Relation},
        // From another outline the nodes of this one say nothing about the dragged person's place.
        {"other outline, its parent here",
         With([](auto& f) { f.SameOutline = false, f.TargetIsDraggedParent = true; }), TDropMode::Relation},
        {"other outline, shift", With([](auto& f) { f.SameOutline = false, f.Shift = true; }),
         TDropMode::Relation},
        {"other outline, root", With([](auto& f) { f.SameOutline = false, f.TargetIsRoot = true; }),
         TDropMode::None},
        {"other outline, same person", With([](auto& f) { f.SameOutline = false, f.TargetIsDragged = true; }),
         TDropMode::None},
        {"other outline, group dragged",
         With([](auto& f) { f.SameOutline = false, f.DraggedIsGlobal = true; }), TDropMode::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DropModeOf(c.facts), c.mode) << c.what;
        EXPECT_EQ(AcceptsDrop(c.facts), c.mode != TDropMode::None) << c.what;
    }
}

TEST(DropRules, ReorderingNumbersTheParentsChildrenInTheirNewSequence) {
    const QStringList children{"a", "b", "c", "d", "e"};
    using Numbers = QList<QPair<QString, int>>;
    // The fourth child dropped on the second takes its place.
    EXPECT_EQ(ReorderedChildren(children, "d", "b"),
              (Numbers{{"a", 1}, {"d", 2}, {"b", 3}, {"c", 4}, {"e", 5}}));
    EXPECT_EQ(ReorderedChildren(children, "a", "d"),
              (Numbers{{"b", 1}, {"c", 2}, {"a", 3}, {"d", 4}, {"e", 5}}));
    EXPECT_EQ(ReorderedChildren(children, "e", "a"),
              (Numbers{{"e", 1}, {"a", 2}, {"b", 3}, {"c", 4}, {"d", 5}}));
    EXPECT_TRUE(ReorderedChildren(children, "b", "b").isEmpty());
    EXPECT_TRUE(ReorderedChildren(children, "x", "b").isEmpty());
    EXPECT_TRUE(ReorderedChildren(children, "b", "x").isEmpty());
}

class DropTest : public OutlineTest {
protected:
    QString Orders(const QString& id) {
        return Column(id, "order_by_father") + u'/' + Column(id, "order_by_mother");
    }
};

TEST_F(DropTest, ReorderingWritesOnlyTheParentsOwnChildren) {
    Person("F", "Father", "-1", "0", "m", 1);
    Person("W", "Wife", "-1", "0", "f", 2);
    for (int i = 1; i <= 4; ++i)
        Person(QStringLiteral("C%1").arg(i), "Child", "F", "W", "m", i, 10 + i);
    Person("X", "Hangs on his mother column", "0", "F", "m", 7, 3);
    Person("N", "Nephew elsewhere", "C1", "0", "m", 1);
    ASSERT_TRUE(ReorderChildren("F", {"C1", "C2", "C3", "C4", "X"}, "C4", "C2"));
    EXPECT_EQ(Orders("C1"), "1/11");
    EXPECT_EQ(Orders("C4"), "2/14");
    EXPECT_EQ(Orders("C2"), "3/12");
    EXPECT_EQ(Orders("C3"), "4/13");
    EXPECT_EQ(Orders("X"), "7/3");
    EXPECT_EQ(Orders("N"), "1/99");

    // Under the mother her own column is written.
    ASSERT_TRUE(ReorderChildren("W", {"C1", "C2", "C3", "C4"}, "C1", "C4"));
    EXPECT_EQ(Orders("C1"), "1/3");
    EXPECT_EQ(Orders("C4"), "2/4");
    // The first level is numbered on the father column; a misattached child is no sibling to move.
    ASSERT_TRUE(ReorderChildren("-1", {"F", "W", global_}, "W", "F"));
    EXPECT_EQ(Orders("W"), "1/1"); // an unset mother's order follows, as every order number does
    EXPECT_EQ(Orders("F"), "2/2");
    EXPECT_EQ(Column(global_, "order_by_father"), "1000");
    EXPECT_FALSE(ReorderChildren("F", {"C1", "X"}, "X", "C1"));
    EXPECT_EQ(Orders("X"), "7/3");
}

TEST_F(DropTest, MovingSetsTheColumnOfTheTargetsGenderAndRefusesLoops) {
    Person("G", "Grandfather", "-1", "0");
    Person("F", "Father", "G", "0");
    Person("S", "Son", "F", "0");
    Person("T", "Other man", "-1", "0");
    Person("W", "Woman", "-1", "0", "f");
    EXPECT_EQ(MoveDroppedPersons({"S"}, "T"), QStringList{"S"});
    EXPECT_EQ(Column("S", "father_id"), "T");
    EXPECT_EQ(MoveDroppedPersons({"S"}, "W"), QStringList{"S"});
    EXPECT_EQ(Column("S", "mother_id"), "W");
    EXPECT_EQ(Column("S", "father_id"), "T");
    EXPECT_EQ(MoveDroppedPersons({"T", global_, "T"}, "-1"), QStringList{"T"});
    EXPECT_EQ(Column(global_, "father_id"), "-1");

    // The grandfather onto his grandson's son would be his own ancestor: nothing moves, not even F.
    Person("SS", "Great-grandson", "F", "0");
    EXPECT_TRUE(MoveDroppedPersons({"F", "G"}, "SS").isEmpty());
    EXPECT_EQ(shown_.texts.last().section(u'|', 0, 0), "A person can't become his own ancestor.");
    EXPECT_EQ(Column("F", "father_id"), "G");
    EXPECT_EQ(Column("G", "father_id"), "-1");
    EXPECT_TRUE(MoveDroppedPersons({"S"}, "S").isEmpty());
    EXPECT_TRUE(MoveDroppedPersons({"S"}, "nobody").isEmpty());
}

TEST_F(DropTest, AMoveAsksAboutTheParentTheChildKeepsAndPlacesHimLast) {
    Person("F", "Father", "-1", "0");
    Person("M", "Mother", "-1", "0", "f");
    Marry("F", "M");
    Person("T", "Other man", "-1", "0");
    Person("T1", "His son", "T", "0", "m", 1);
    Person("W", "Other woman", "-1", "0", "f");
    Person("A", "Child of both", "F", "M", "m", 7);
    Person("B", "Her son alone", "0", "M");
    // Onto a man who is not the mother's husband: asked once for both children she keeps; cancelling
    // writes nothing.
    asked_.answers = {kAnswerCancel};
    EXPECT_TRUE(MoveDroppedPersons({"A", "B"}, "T").isEmpty());
    EXPECT_EQ(asked_.Offered(), QStringList{"marry/clear-mother/cancel"});
    EXPECT_EQ(Column("A", "father_id"), "F");
    EXPECT_FALSE(MarriageExists("T", "M"));
    // Recording the marriage asks about her lasting marriage to F next; both children follow T's son.
    asked_.answers = {kAnswerMarry, kAnswerAddAnyway};
    EXPECT_EQ(MoveDroppedPersons({"A", "B"}, "T"), (QStringList{"A", "B"}));
    EXPECT_EQ(asked_.Offered().mid(1),
              (QStringList{"marry/clear-mother/cancel", "end-marriage/add-anyway/cancel"}));
    EXPECT_TRUE(MarriageExists("T", "M"));
    EXPECT_TRUE(MarriageExists("F", "M"));
    EXPECT_EQ(Column("A", "father_id"), "T");
    EXPECT_EQ(Column("A", "order_by_father"), "2");
    EXPECT_EQ(Column("B", "order_by_father"), "3");
    EXPECT_EQ(Column("A", "mother_id"), "M");

    // Onto a woman: the father the child keeps, cleared when so answered.
    asked_.questions.clear();
    asked_.answers = {kAnswerClearFather};
    EXPECT_EQ(MoveDroppedPersons({"A"}, "W"), QStringList{"A"});
    EXPECT_EQ(asked_.Offered(), QStringList{"marry/clear-father/cancel"});
    EXPECT_EQ(Column("A", "mother_id"), "W");
    EXPECT_EQ(Column("A", "father_id"), "0");
    EXPECT_FALSE(MarriageExists("T", "W"));
    // The first level and a couple that is married already ask nothing.
    asked_.questions.clear();
    EXPECT_EQ(MoveDroppedPersons({"B"}, "F"), QStringList{"B"});
    EXPECT_EQ(MoveDroppedPersons({"F"}, "-1"), QStringList{"F"});
    EXPECT_TRUE(asked_.questions.isEmpty());
}

} // namespace
} // namespace verdan::test
