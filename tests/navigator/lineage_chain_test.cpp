#include "navigator/lineage_chain.h"
#include "navigator/outline_fixture.h"
#include "storage/person_store.h"
#include "text/localisation.h"

namespace verdan::test {
namespace {

const QStringList kArabic = {"إبن", "ابن", "بن", "ين", "إبنة", "ابنة", "بنت"};
const QStringList kEnglish = {"son of", "daughter of"};

struct SplitCase {
    const char* text;
    QStringList separators;
    QStringList names;
};

TEST(LineageSplit, CutsAtSeparatorsBetweenBlanksAndAtCommas) {
    const SplitCase cases[] = {
        {"محمد بن علي بن حسن", kArabic, {"محمد", "علي", "حسن"}},
        {"محمد ابن علي", kArabic, {"محمد", "علي"}},
        {"محمد إبن علي", kArabic, {"محمد", "علي"}},
        {"فاطمة بنت محمد", kArabic, {"فاطمة", "محمد"}},
        {"محمد بنعلي", kArabic, {"محمد بنعلي"}},
        // The blank between two separators belongs to the first match.
        {"a بن بن b", kArabic, {"a", "بن b"}},
        // Only between two blanks: at the very start or end a separator stays part of the name.
        {"بن محمد بن", kArabic, {"بن محمد بن"}},
        {"a son of b son of c", kEnglish, {"a", "b", "c"}},
        {"Ali SON OF Hasan Daughter Of x", kEnglish, {"Ali", "Hasan", "x"}},
        {"a, b, c", {}, {"a", "b", "c"}},
        {"a,,b", kArabic, {"a", "", "b"}},
        // Arabic separators mean nothing to Latin names, and the reverse.
        {"John bin Smith", kEnglish, {"John bin Smith"}},
        {"محمد son of علي", kEnglish, {"محمد", "علي"}},
        {"", kArabic, {""}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitLineage(QString::fromUtf8(c.text), c.separators), c.names) << c.text;
}

// The Persian and Urdu documents cut at their own lineage words and at the English ones.
TEST(LineageSplit, PersianAndUrduLineageWords) {
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/persian.local")));
    EXPECT_EQ(SplitLineage(QStringLiteral("حسن پسر علی بن محمد")), QStringList({"حسن", "علی", "محمد"}));
    EXPECT_EQ(SplitLineage(QStringLiteral("زهرا دختر رضا son of Ali")), QStringList({"زهرا", "رضا", "Ali"}));
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/urdu.local")));
    EXPECT_EQ(SplitLineage(QStringLiteral("احمد ولد اکبر بن اسلم")), QStringList({"احمد", "اکبر", "اسلم"}));
    EXPECT_EQ(SplitLineage(QStringLiteral("عائشہ بنت اکبر")), QStringList({"عائشہ", "اکبر"}));
    EXPECT_EQ(SplitLineage(QStringLiteral("مریم دختر اکبر")), QStringList({"مریم", "اکبر"}));
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/english.local")));
}

TEST(LineageSplit, PutsTheKunyaIntoTheNominativeInTheSentenceOnly) {
    EXPECT_EQ(NominativeKunya("أبي بكر"), "أبو بكر");
    EXPECT_EQ(NominativeKunya("ابا زيد"), "ابو زيد");
    EXPECT_EQ(NominativeKunya("عبد الله أبي طالب"), "عبد الله أبو طالب");
    EXPECT_EQ(NominativeKunya("أبي"), "أبي"); // no blank after it
    EXPECT_EQ(NominativeKunya("حسن"), "حسن");

    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    EXPECT_EQ(ChainNames("سالم بن أبي زيد", true), (QStringList{"سالم", "أبو زيد"}));
    EXPECT_EQ(ChainNames("أبي بكر\n\n  \nعمر", false), (QStringList{"أبي بكر", "عمر"}));
    EXPECT_EQ(ChainNames("a,, ,b", true), (QStringList{"a", "b"}));
    EXPECT_EQ(ChainNames("محمد\nبن علي\r\nبن  حسن", true), (QStringList{"محمد", "علي", "حسن"}));
    // A piece longer than a stored name is cut to it.
    EXPECT_EQ(ChainNames(QString(80, u'x'), true), QStringList{QString(50, u'x')});
    ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
    EXPECT_EQ(NameSeparators(), kEnglish);
    EXPECT_EQ(ChainNames("محمد بن علي", true), QStringList{"محمد بن علي"});
}

class LineageChainTest : public OutlineTest {
protected:
    void TearDown() override {
        LoadLanguage(":/langs/english.local");
        OutlineTest::TearDown();
    }
    QStringList Line(const QStringList& ids) {
        QStringList rows;
        for (const QString& id : ids)
            rows << Column(id, "person_name") + u'/' + Column(id, "father_id") + u'/' +
                        Column(id, "mother_id") + u'/' + Column(id, "gender");
        return rows;
    }
};

TEST_F(LineageChainTest, CreatesTheLineOldestFirstUnderThePerson) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    Person("P", "صالح", "-1", "0");
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET last_name = 'الريان' WHERE person_id = 'P'"), 1);
    const TChainResult result = CreateLineageChainUnder("P", ChainNames("محمد بن علي بن حسن", true));
    ASSERT_TRUE(result.Written);
    ASSERT_EQ(result.CreatedIds.size(), 3);
    const QString hasan = result.CreatedIds[0];
    const QString ali = result.CreatedIds[1];
    const QString muhammad = result.CreatedIds[2];
    EXPECT_EQ(Line(result.CreatedIds),
              (QStringList{"حسن/P/0/m", "علي/" + hasan + "/0/m", "محمد/" + ali + "/0/m"}));
    EXPECT_EQ(Column(muhammad, "last_name"), "الريان");
    EXPECT_EQ(Column(muhammad, "order_by_father"), "99"); // no order number
}

TEST_F(LineageChainTest, HangsTheOldestOnAWomanTheRootOrNobody) {
    Person("W", "Amina", "-1", "0", "F"); // a stored "F" is a woman too
    TChainResult result = CreateLineageChainUnder("W", {"b", "a"});
    ASSERT_EQ(result.CreatedIds.size(), 2);
    EXPECT_EQ(Line(result.CreatedIds), (QStringList{"a/0/W/m", "b/" + result.CreatedIds[0] + "/0/m"}));

    result = CreateLineageChainUnder("-1", {"top"});
    EXPECT_EQ(Line(result.CreatedIds), QStringList{"top/-1/0/m"});

    const int before = Count("1");
    result = CreateLineageChainUnder("W", {});
    EXPECT_TRUE(result.Written);
    EXPECT_TRUE(result.CreatedIds.isEmpty());
    result = CreateLineageChainUnder("nobody", {"x"});
    EXPECT_FALSE(result.Written);
    EXPECT_EQ(Count("1"), before);
    EXPECT_EQ(messages_.size(), 1);
}

TEST_F(LineageChainTest, LongChainsAndProseAreWrittenWholeOrNotAtAll) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    Person("P", "جد", "-1", "0");
    QStringList parts;
    for (int i = 0; i < 200; ++i)
        parts << QStringLiteral("اسم%1").arg(i);
    TChainResult result = CreateLineageChainUnder("P", ChainNames(parts.join(" بن "), true));
    ASSERT_TRUE(result.Written);
    ASSERT_EQ(result.CreatedIds.size(), 200);
    EXPECT_EQ(Column(result.CreatedIds.last(), "person_name"), "اسم0");
    EXPECT_EQ(Column(result.CreatedIds.first(), "father_id"), "P");

    // A pasted paragraph: every piece becomes a name no longer than the tree file keeps.
    QString prose;
    for (int i = 0; i < 300; ++i)
        prose += QStringLiteral("وكان هذا الرجل من أهل العلم والفضل، وقد روى عنه ابن فلان وغيره من الرواة. ");
    const QStringList names = ChainNames(prose, true);
    ASSERT_GT(names.size(), 250);
    for (const QString& name : names)
        ASSERT_LE(name.size(), 50);
    result = CreateLineageChainUnder("P", names);
    EXPECT_EQ(result.CreatedIds.size(), names.size());

    // A failure half-way keeps nothing of the chain: a trigger refuses the third person.
    ASSERT_GE(Dm().Execute("CREATE TEMP TRIGGER refuse BEFORE INSERT ON ftPerson WHEN NEW.person_name = 'c' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              0);
    const int before = Count("1");
    result = CreateLineageChainUnder("P", {"a", "b", "c", "d"});
    EXPECT_FALSE(result.Written);
    EXPECT_TRUE(result.CreatedIds.isEmpty());
    EXPECT_EQ(Count("1"), before);
    EXPECT_FALSE(messages_.isEmpty());
}

} // namespace
} // namespace verdan::test
