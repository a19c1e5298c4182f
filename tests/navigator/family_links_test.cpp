#include "navigator/family_links.h"
#include "navigator/outline_fixture.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

namespace verdan::test {
namespace {

class FamilyLinksTest : public OutlineTest {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        previousHandler_ = SetCoupleChildrenHandler(
            [this](const QString& husband, const QString& wife) { offered_ << husband + u'+' + wife; });
    }
    void TearDown() override {
        SetCoupleChildrenHandler(previousHandler_);
        OutlineTest::TearDown();
    }
    // Every person's parents and every relation, to tell that a refusal left the file as it was.
    QStringList Snapshot() {
        QStringList rows;
        Query q = Dm().Prepare("SELECT person_id, father_id, mother_id FROM ftPerson ORDER BY person_id");
        while (q.Next())
            rows << q.Text(0) + u' ' + q.Text(1) + u' ' + q.Text(2);
        Query r = Dm().Prepare("SELECT person_id_1, person_id_2, relation_type FROM ftRelation ORDER BY oid");
        while (r.Next())
            rows << r.Text(0) + u'~' + r.Text(1) + u'~' + r.Text(2);
        return rows;
    }
    static TPickedPersons Picked(const QString& id, const QString& gender = QString()) {
        return {id, id + QStringLiteral(" caption"), gender, {id}};
    }
    static TLinkNode Node(const QString& id, const QString& parent = QString(),
                          const QString& parentGender = "m") {
        return {id, id, parent, parent, parentGender};
    }
    QStringList offered_;
    CoupleChildrenHandler previousHandler_;
};

TEST_F(FamilyLinksTest, AttachingAnExistingMateMarriesTheManToTheWoman) {
    Person("H", "Husband", "-1", "0", "M"); // stored "M" and "ذكر" are men like "m"
    Person("K", "Kid", "H", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("V", "Other man", "-1", "0", "ذكر");
    shown_.answer = IDNO;
    EXPECT_FALSE(AttachExistingMate("H", Picked("W")));
    EXPECT_FALSE(MarriageExists("H", "W"));
    shown_.answer = IDYES;
    ASSERT_TRUE(AttachExistingMate("W", Picked("H", "m")));
    EXPECT_TRUE(MarriageExists("H", "W"));
    EXPECT_EQ(Dm().ScalarText("SELECT person_id_1 FROM ftRelation"), "H");
    EXPECT_EQ(offered_, QStringList{"H+W"}); // the husband has a child
    EXPECT_EQ(shown_.captions.last(), "Attach Husband");

    const QStringList before = Snapshot();
    shown_.texts.clear();
    EXPECT_FALSE(AttachExistingMate("H", Picked("V")));
    EXPECT_FALSE(AttachExistingMate("H", Picked("V", "M")));
    EXPECT_FALSE(AttachExistingMate("H", Picked("H")));
    EXPECT_FALSE(AttachExistingMate("W", Picked(global_)));
    EXPECT_FALSE(AttachExistingMate("W", Picked(QString())));
    EXPECT_FALSE(AttachExistingMate("W", Picked("-1")));
    EXPECT_FALSE(AttachExistingMate(global_, Picked("W")));
    EXPECT_EQ(shown_.texts, (QStringList{"Husband and wife can't have same gender.",
                                         "Husband and wife can't have same gender.",
                                         "Husband and wife can't have same gender.",
                                         "The group of persons outside the tree can't be married.",
                                         "No person has been chosen.", "No person has been chosen."}));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FamilyLinksTest, ANewMateHangsUnderTheGroupOrUnderHerMarriedParents) {
    Person("H", "Husband", "-1", "0");
    TNewMate mate{"  Amina  ", "met in Cairo", QString(), QString(), "f"};
    const QString wife = AttachNewMate("H", mate);
    ASSERT_FALSE(wife.isEmpty());
    EXPECT_EQ(Column(wife, "person_name"), "Amina");
    EXPECT_EQ(Column(wife, "father_id"), global_);
    EXPECT_EQ(Column(wife, "mother_id"), "0");
    EXPECT_EQ(Column(wife, "gender"), "f");
    EXPECT_EQ(Column(wife, "notes"), "met in Cairo");
    EXPECT_TRUE(MarriageExists("H", wife));
    EXPECT_TRUE(offered_.isEmpty()); // neither has a child

    Person("PF", "Her father", "-1", "0");
    Person("PM", "Her mother", "-1", "0", "f");
    Person("W", "Wife", "-1", "0", "f");
    Person("C", "Her child", "0", "W");
    const QString husband = AttachNewMate("W", {"Omar", "", "PF", "PM", "m"});
    ASSERT_FALSE(husband.isEmpty());
    EXPECT_EQ(Column(husband, "father_id"), "PF");
    EXPECT_EQ(Column(husband, "mother_id"), "PM");
    EXPECT_TRUE(MarriageExists(husband, "W"));
    EXPECT_EQ(Dm().ScalarText("SELECT person_id_1 FROM ftRelation WHERE person_id_2 = 'W'"), husband);
    EXPECT_TRUE(MarriageExists("PF", "PM"));
    EXPECT_EQ(offered_, QStringList{husband + "+W"});

    const QStringList before = Snapshot();
    EXPECT_TRUE(AttachNewMate("H", {"Ali", "", "", "", "m"}).isEmpty());
    EXPECT_EQ(shown_.texts.last(), "Hasbund and wife Can't have the same gender.");
    EXPECT_TRUE(AttachNewMate(global_, {"Ali", "", "", "", "f"}).isEmpty());
    shown_.answer = IDNO;
    EXPECT_TRUE(AttachNewMate("H", {"Salma", "", "", "", "f"}).isEmpty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FamilyLinksTest, AttachingChildrenChecksEveryChosenPerson) {
    Person("M", "Mother", "-1", "0", "f");
    Person("H", "Man", "-1", "M");
    Person("B", "Maternal half-brother", "-1", "M");
    Person("X", "Stranger", "-1", "0");
    Person("Y", "Other stranger", "-1", "0", "f");
    const QStringList before = Snapshot();
    EXPECT_FALSE(AttachChildren("H", "Man", {"B", "X"}));
    // The half-brother chosen second is refused as well.
    EXPECT_FALSE(AttachChildren("H", "Man", {"X", "B"}));
    EXPECT_EQ(shown_.texts.last(), "Can't attach as children.|Selected person(s) have same mother as Man.");
    EXPECT_EQ(Snapshot(), before);

    ASSERT_TRUE(AttachChildren("H", "Man", {"X", global_, "H", "Y"}));
    EXPECT_EQ(Column("X", "father_id"), "H");
    EXPECT_EQ(Column("Y", "father_id"), "H");
    EXPECT_EQ(Column(global_, "father_id"), "-1"); // the group is nobody's child
    EXPECT_EQ(shown_.texts.last(), "Selected person(s) will be attached as children of Man.");

    // A woman's children go on the mother column; her father's line may not come back below her.
    ASSERT_TRUE(AttachChildren("Y", "Y", {"B"}));
    EXPECT_EQ(Column("B", "mother_id"), "Y");
    const QStringList linked = Snapshot();
    shown_.texts.clear();
    EXPECT_FALSE(AttachChildren("X", "X", {"H"})); // H is X's father
    EXPECT_EQ(shown_.texts.value(0).section(u'|', 0, 0), "A person can't become his own ancestor.");
    EXPECT_FALSE(AttachChildren("X", "X", {global_}));
    EXPECT_EQ(shown_.texts.last(), "No person has been chosen.");
    EXPECT_EQ(Snapshot(), linked);
}

TEST_F(FamilyLinksTest, SettingTheFatherChecksGenderSiblingsAndAncestry) {
    Person("G", "Grandfather", "-1", "0");
    Person("F", "Father", "G", "0");
    Person("S", "Son", "F", "0");
    Person("T", "Top", "-1", "0");
    Person("W", "Woman", "-1", "0", "f");
    Person("D", "Her daughter", "0", "W", "f");
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("S", "F")}, Picked("W")));
    EXPECT_EQ(shown_.texts.last(), "Father's gender must be male.");
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("G")}, Picked("S", "m"))); // his own grandson
    EXPECT_EQ(shown_.texts.last().section(u'|', 0, 0), "A person can't become his own ancestor.");
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("S", "F")}, Picked("S", "m")));
    Person("B", "Brother of S", "F", "0");
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("T"), Node("S", "F")}, Picked("B", "m")));
    EXPECT_EQ(shown_.texts.last(),
              "The selected father is a brother of at least one of targeted individuals.");
    EXPECT_FALSE(AttachParent(TParentKind::Mother, {Node("S", "F")}, Picked("T", "m")));
    EXPECT_EQ(shown_.texts.last(), "Mother's gender must be female.");
    EXPECT_EQ(Column("S", "father_id"), "F");
    EXPECT_EQ(Column("G", "father_id"), "-1");

    // A daughter shown under her mother gets a father and, when agreed, the parents' marriage.
    shown_.texts.clear();
    ASSERT_TRUE(AttachParent(TParentKind::Father, {Node("D", "W", "f")}, Picked("T", "m")));
    EXPECT_EQ(Column("D", "father_id"), "T");
    EXPECT_TRUE(MarriageExists("T", "W"));
    EXPECT_EQ(shown_.texts, QStringList{"This will attach T caption as a father of D.|Please confirm."});
    ASSERT_EQ(asked_.questions.size(), 1);
    EXPECT_EQ(asked_.questions[0].Text.section(u'|', 0, 0).toStdString(),
              "Top is not married to Woman, the mother of Her daughter.");

    ASSERT_TRUE(AttachParent(TParentKind::Father, {Node("S", "F"), Node("B", "F")}, Picked("T", "m")));
    EXPECT_EQ(Column("S", "father_id"), "T");
    EXPECT_EQ(Column("B", "father_id"), "T");
    EXPECT_EQ(shown_.texts.last(),
              "This will attach T caption as a father of selected persons.|Please confirm.");
}

TEST_F(FamilyLinksTest, TheRootAsFatherMovesOnlyPersonsWithoutAMother) {
    Person("F", "Father", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("A", "Without mother", "F", "0");
    Person("B", "With mother", "F", "W");
    ASSERT_TRUE(
        AttachParent(TParentKind::Father, {Node("A", "F"), Node("B", "F"), Node(global_)}, Picked("-1")));
    EXPECT_EQ(Column("A", "father_id"), "-1");
    EXPECT_EQ(Column("B", "father_id"), "F");
    // No root for a mother, and nobody chosen ends the command without a word.
    shown_.texts.clear();
    EXPECT_FALSE(AttachParent(TParentKind::Mother, {Node("B", "F")}, Picked("-1")));
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("B", "F")}, Picked(QString())));
    EXPECT_TRUE(shown_.texts.isEmpty());

    // The question before the picker: only a person shown under a man is asked about.
    EXPECT_TRUE(ConfirmOtherParent(TParentKind::Mother, Node("A")));
    EXPECT_TRUE(ConfirmOtherParent(TParentKind::Father, Node("B", "W", "f")));
    EXPECT_TRUE(shown_.texts.isEmpty());
    shown_.answer = IDNO;
    EXPECT_FALSE(ConfirmOtherParent(TParentKind::Father, Node("B", "F", "M")));
    EXPECT_EQ(shown_.texts.last(), "This will attach selected person(s) to other father.| Continue?");
}

// A question that replaces parents starts on No, so Enter pressed at once, like closing it, changes nothing;
// one that only records a marriage starts on Yes.
TEST_F(FamilyLinksTest, QuestionsThatReplaceParentsStartOnNo) {
    Person("F", "Father", "-1", "0");
    Person("G", "Other man", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Person("A", "Son", "F", "0");
    const QStringList before = Snapshot();
    shown_.answer = 0; // closed without a choice
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("A", "F")}, Picked("-1")));
    EXPECT_FALSE(AttachParent(TParentKind::Father, {Node("A", "F")}, Picked("G", "m")));
    EXPECT_FALSE(AttachChildren("G", "Other man", {"A"}));
    EXPECT_FALSE(ConfirmOtherParent(TParentKind::Father, Node("A", "F")));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(shown_.focuses, (QList<int>{IDNO, IDNO, IDNO, IDNO}));
    shown_.focuses.clear();
    EXPECT_FALSE(AttachExistingMate("G", Picked("W", "f")));
    EXPECT_EQ(shown_.focuses, QList<int>{IDYES});
}

TEST_F(FamilyLinksTest, MarryingMatesAndSwitchingParents) {
    Person("H", "Man", "-1", "0");
    Person("W", "Woman", "-1", "0", "أنثى");
    Person("V", "Other man", "-1", "0", "m");
    EXPECT_TRUE(MarryMates("W", "H"));
    EXPECT_EQ(Dm().ScalarText("SELECT person_id_1 FROM ftRelation"), "H");
    EXPECT_FALSE(MarryMates("H", "V"));
    EXPECT_FALSE(MarryMates("W", global_));
    EXPECT_TRUE(shown_.texts.isEmpty());

    Person("C", "Misattached", "W", "H");
    ASSERT_TRUE(SwitchParents("C"));
    EXPECT_EQ(Column("C", "father_id"), "H");
    EXPECT_EQ(Column("C", "mother_id"), "W");
    EXPECT_FALSE(SwitchParents(global_));
}

} // namespace
} // namespace verdan::test
