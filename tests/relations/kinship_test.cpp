#include "navigator/outline_fixture.h"
#include "relations/kinship.h"
#include "relations/kinship_terms.h"
#include "relations/mahram.h"
#include "storage/database.h"
#include "text/localisation.h"

#include <QLocale>

namespace verdan::test {
namespace {

using A = TMahramAnswer;
using G = TMahramGround;

// Four generations of one family: a grandfather with two wives, a father with a wife, a divorced wife and
// a wife who had been married before, half-brothers and half-sisters on both sides, uncles, aunts and
// cousins on both sides, in-laws, a nursing mother with her husband, his second wife and her family, and
// two breastfeeding siblings without a recorded nursing mother.
class KinshipTest : public OutlineTest {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
        const QString top = QStringLiteral("-1");
        const QString none = QStringLiteral("0");
        const QString f = QStringLiteral("f");
        Person("GF", "Salim", top, none);
        Person("GM1", "Amina", top, none, f);
        Person("GM2", "Huda", top, none, f);
        Person("MGF", "Nasir", top, none);
        Person("MGM", "Layla", top, none, f);
        Marry("GF", "GM1");
        Marry("GF", "GM2");
        Marry("MGF", "MGM");
        Person("F", "Ali", "GF", "GM1");
        Person("U", "Umar", "GF", "GM1");
        Person("HU", "Hamza", "GF", "GM2");
        Person("AU", "Fatima", "GF", "GM1", f);
        Person("M", "Maryam", "MGF", "MGM", f);
        Person("MU", "Khalid", "MGF", "MGM");
        Person("MA", "Zaynab", "MGF", "MGM", f);
        Person("MH", "Bakr", top, none);
        Person("W2", "Sara", top, none, f);
        Person("UW", "Rania", top, none, f);
        Marry("F", "M");
        Marry("F", "W2");
        Split("F", "W2");
        Marry("MH", "M");
        Split("MH", "M");
        Marry("U", "UW");
        Person("P", "Ahmad", "F", "M");
        Person("S", "Aisha", "F", "M", f);
        Person("HB", "Yusuf", "F", "W2");
        Person("HS", "Nur", "MH", "M", f);
        Person("C1", "Hasan", "U", "UW");
        Person("C2", "Salma", "U", "UW", f);
        Person("C3", "Idris", none, "AU");
        Person("C4", "Dalia", none, "MA", f);
        Person("C5", "Tariq", "MU", none);
        Person("SH", "Walid", top, none);
        Marry("SH", "S");
        Person("N1", "Sami", "SH", "S");
        Person("N2", "Ammar", "HB", none);
        Person("CC", "Badr", "C1", none);
        // The wife's family, her daughter by an earlier husband, and a second wife.
        Person("PWF", "Jamal", top, none);
        Person("PWM", "Samira", top, none, f);
        Person("PW", "Rasha", "PWF", "PWM", f);
        Person("PWS", "Hind", "PWF", "PWM", f);
        Person("PWX", "Adel", top, none);
        Person("PWD", "Lina", "PWX", "PW", f);
        Person("PW2", "Nada", top, none, f);
        Marry("P", "PW");
        Marry("P", "PW2");
        Person("K", "Zaid", "P", "PW");
        Person("KD", "Reem", "P", "PW", f);
        Person("KW", "Mona", top, none, f);
        Person("KDH", "Fadi", top, none);
        Marry("K", "KW");
        Marry("KDH", "KD");
        Person("GK", "Omar", "K", "KW");
        // The nursing mother of Ahmad, her husband, their children, her sister, his sister and his daughter
        // by a second wife.
        Person("NMF", "Rashid", top, none);
        Person("NM", "Khadija", "NMF", none, f);
        Person("NA", "Safiya", "NMF", none, f);
        Person("NHF", "Mahmud", top, none);
        Person("NH", "Ibrahim", "NHF", none);
        Person("NHS", "Wafa", "NHF", none, f);
        Person("NHW2", "Ghada", top, none, f);
        Marry("NH", "NM");
        Marry("NH", "NHW2");
        Person("NS", "Asma", "NH", "NM", f);
        Person("NB", "Faris", "NH", "NM");
        Person("NHD", "Hala", "NH", "NHW2", f);
        Nursed("NM", "P");
        // Aisha's breastfeeding brother; the woman who nursed them is not recorded.
        Person("MSB", "Karim", top, none);
        Relation("S", "MSB", 1);
    }

    void Split(const QString& husband, const QString& wife) {
        ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftRelation SET split = 1 WHERE person_id_1 = ? AND "
                                              "person_id_2 = ? AND relation_type = 0"),
                               husband, wife),
                  1);
    }
    void Relation(const QString& a, const QString& b, int type) {
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) "
                                        "VALUES (?, ?, ?)"),
                         a, b, type),
            1);
    }
    void Nursed(const QString& mother, const QString& child) { Relation(mother, child, 2); }

    static QString Term(const QString& a, const QString& b) {
        return KinshipTerms(FindKinship(a, b), true).value(0);
    }
};

struct Expected {
    const char* a;
    const char* b;
    const char* term; // what b is to a
    TMahramAnswer answer;
    TMahramGround ground;
};

// Written from the family above and the rulings, not from the program's output.
const Expected kTable[] = {
    // Direct line, both sides.
    {"P", "F", "father", A::Mahram, G::Blood},
    {"P", "M", "mother", A::Mahram, G::Blood},
    {"P", "GF", "paternal grandfather", A::Mahram, G::Blood},
    {"P", "GM1", "paternal grandmother", A::Mahram, G::Blood},
    {"P", "MGF", "maternal grandfather", A::Mahram, G::Blood},
    {"P", "MGM", "maternal grandmother", A::Mahram, G::Blood},
    {"K", "GF", "paternal great-grandfather", A::Mahram, G::Blood},
    {"K", "MGM", "paternal great-grandmother", A::Mahram, G::Blood},
    {"GK", "GF", "paternal forefather, generation 4", A::Mahram, G::Blood},
    {"P", "K", "son", A::Mahram, G::Blood},
    {"P", "KD", "daughter", A::Mahram, G::Blood},
    {"P", "GK", "grandson", A::Mahram, G::Blood},
    {"F", "GK", "great-grandson", A::Mahram, G::Blood},
    {"GF", "GK", "descendant, generation 4", A::Mahram, G::Blood},
    {"MGM", "KD", "great-granddaughter", A::Mahram, G::Blood},
    // Brothers and sisters, full and half.
    {"P", "S", "full sister", A::Mahram, G::Blood},
    {"S", "P", "full brother", A::Mahram, G::Blood},
    {"P", "HB", "half-brother by the father", A::Mahram, G::Blood},
    {"P", "HS", "half-sister by the mother", A::Mahram, G::Blood},
    {"F", "HU", "half-brother by the father", A::Mahram, G::Blood},
    {"C1", "C2", "full sister", A::Mahram, G::Blood},
    // Uncles and aunts on each side, also a half-brother of the father.
    {"P", "U", "paternal uncle", A::Mahram, G::Blood},
    {"P", "HU", "paternal uncle", A::Mahram, G::Blood},
    {"P", "AU", "paternal aunt", A::Mahram, G::Blood},
    {"P", "MU", "maternal uncle", A::Mahram, G::Blood},
    {"P", "MA", "maternal aunt", A::Mahram, G::Blood},
    {"K", "U", "father's paternal uncle", A::Mahram, G::Blood},
    {"K", "MA", "father's maternal aunt", A::Mahram, G::Blood},
    // Nephews and nieces.
    {"P", "N1", "sister's son", A::Mahram, G::Blood},
    {"P", "N2", "brother's son", A::Mahram, G::Blood},
    {"U", "K", "brother's grandson", A::Mahram, G::Blood},
    {"AU", "KD", "brother's granddaughter", A::Mahram, G::Blood},
    // Cousins and their kin: never mahram.
    {"P", "C1", "paternal uncle's son", A::NotMahram, G::None},
    {"P", "C2", "paternal uncle's daughter", A::NotMahram, G::None},
    {"P", "C3", "paternal aunt's son", A::NotMahram, G::None},
    {"P", "C4", "maternal aunt's daughter", A::NotMahram, G::None},
    {"P", "C5", "maternal uncle's son", A::NotMahram, G::None},
    {"N1", "K", "maternal uncle's son", A::NotMahram, G::None},
    {"P", "CC", "paternal uncle's son's son", A::NotMahram, G::None},
    {"K", "C2", "father's paternal uncle's daughter", A::NotMahram, G::None},
    {"K", "CC", "paternal cousin of degree 2", A::NotMahram, G::None},
    // Marriage.
    {"P", "PW", "wife", A::Spouses, G::Marriage},
    {"PW", "P", "husband", A::Spouses, G::Marriage},
    {"F", "W2", "former wife", A::NotMahram, G::None},
    {"P", "PWM", "wife's mother", A::Mahram, G::Marriage},
    {"P", "PWF", "wife's father", A::Mahram, G::Marriage},
    {"P", "PWS", "wife's sister", A::TemporaryBar, G::Marriage},
    {"P", "PWD", "wife's daughter", A::MahramIfConsummated, G::Marriage},
    {"PWD", "P", "mother's husband", A::MahramIfConsummated, G::Marriage},
    {"HS", "F", "mother's husband", A::MahramIfConsummated, G::Marriage},
    {"P", "KW", "son's wife", A::Mahram, G::Marriage},
    {"KW", "P", "husband's father", A::Mahram, G::Marriage},
    {"P", "KDH", "daughter's husband", A::Mahram, G::Marriage},
    {"KDH", "P", "wife's father", A::Mahram, G::Marriage},
    {"M", "HB", "husband's son", A::Mahram, G::Marriage},
    {"HB", "M", "father's wife", A::Mahram, G::Marriage},
    {"P", "W2", "father's wife", A::Mahram, G::Marriage}, // the divorce does not end it
    {"P", "GM2", "paternal grandfather's wife", A::Mahram, G::Marriage},
    {"P", "SH", "sister's husband", A::NotMahram, G::None},
    {"S", "PW", "brother's wife", A::NotMahram, G::None},
    {"PW", "U", "husband's paternal uncle", A::NotMahram, G::None},
    {"PW", "PW2", "co-wife", A::NotMahram, G::None},
    {"PWS", "P", "sister's husband", A::TemporaryBar, G::Marriage},
    {"C1", "UW", "mother", A::Mahram, G::Blood}, // his mother, not his father's wife
    // Breastfeeding: the nursing mother and her husband stand as parents of the nursed child.
    {"P", "NM", "mother by breastfeeding", A::Mahram, G::Breastfeeding},
    {"NM", "P", "son by breastfeeding", A::Mahram, G::Breastfeeding},
    {"P", "NH", "father by breastfeeding", A::Mahram, G::Breastfeeding},
    {"P", "NS", "sister by breastfeeding", A::Mahram, G::Breastfeeding},
    {"NS", "P", "brother by breastfeeding", A::Mahram, G::Breastfeeding},
    {"P", "NHD", "sister by breastfeeding", A::Mahram, G::Breastfeeding},
    {"P", "NA", "maternal aunt by breastfeeding", A::Mahram, G::Breastfeeding},
    {"P", "NHS", "paternal aunt by breastfeeding", A::Mahram, G::Breastfeeding},
    {"K", "NS", "paternal aunt by breastfeeding", A::Mahram, G::Breastfeeding},
    {"S", "MSB", "brother by breastfeeding", A::Mahram, G::Breastfeeding},
    {"MSB", "S", "sister by breastfeeding", A::Mahram, G::Breastfeeding},
    {"PW", "NM", "husband's mother by breastfeeding", A::Mahram, G::Marriage},
    // The nursed child's own sister is nothing to the nursing family.
    {"NB", "S", "", A::NotMahram, G::None},
};

TEST_F(KinshipTest, TermsAndMahramAnswersOfTheWholeFamily) {
    for (const Expected& row : kTable) {
        SCOPED_TRACE(std::string(row.a) + " -> " + row.b);
        const TKinship kinship = FindKinship(row.a, row.b);
        ASSERT_TRUE(kinship.Found);
        EXPECT_EQ(KinshipTerms(kinship, true).value(0), QString::fromUtf8(row.term));
        const TMahramRuling ruling = RuleMahram(kinship);
        EXPECT_EQ(static_cast<int>(ruling.Answer), static_cast<int>(row.answer));
        if (row.answer != A::NotMahram) {
            EXPECT_EQ(static_cast<int>(ruling.Ground), static_cast<int>(row.ground));
        }
    }
}

TEST_F(KinshipTest, EachWayAndThePathBetween) {
    const TKinship kinship = FindKinship("P", "C1");
    EXPECT_EQ(KinshipTerms(kinship, false), QStringList{"paternal uncle's son"});
    ASSERT_FALSE(kinship.Links.isEmpty());
    const TLineagePath tree = KinshipPathTree(kinship, kinship.Links.first());
    QStringList shape;
    for (const TPathEntry& entry : tree.Entries)
        shape << (entry.IsPerson ? "*" : "") + entry.Text + " < " +
                     (entry.Parent < 0 ? QStringLiteral("top") : tree.Entries[entry.Parent].Text);
    EXPECT_EQ(shape,
              (QStringList{"Salim < top", "Ali < Salim", "*Ahmad < Ali", "Umar < Salim", "*Hasan < Umar"}));

    // Full siblings meet in both parents; a spouse hangs beneath the person married.
    EXPECT_EQ(KinshipTerms(FindKinship("S", "P"), false), QStringList{"full sister"});
    const TKinship inLaw = FindKinship("P", "PWM");
    ASSERT_FALSE(inLaw.Links.isEmpty());
    const TLineagePath marriage = KinshipPathTree(inLaw, inLaw.Links.first());
    ASSERT_EQ(marriage.Entries.size(), 3);
    EXPECT_EQ(marriage.Entries[0].Text, "Samira");
    EXPECT_TRUE(marriage.Entries[0].IsPerson);
    EXPECT_EQ(marriage.Entries[2].Text, "Ahmad (husband)");
    EXPECT_EQ(marriage.Entries[2].Parent, 1);
    const TKinship nursed = FindKinship("P", "NS");
    const TLineagePath milk = KinshipPathTree(nursed, nursed.Links.first());
    EXPECT_EQ(milk.Entries.value(1).Text, "Ahmad (by breastfeeding)");
}

TEST_F(KinshipTest, ReasonsAsSentences) {
    const auto text = [](const char* a, const char* b) {
        const TKinship kinship = FindKinship(a, b);
        return MahramText(kinship, RuleMahram(kinship)).toStdString();
    };
    EXPECT_EQ(text("C2", "U"), "Mahram through blood: he is her father.");
    EXPECT_EQ(text("C2", "P"), "Not mahram: he is her paternal uncle's son.");
    EXPECT_EQ(text("P", "PWM"), "Mahram through marriage: she is his wife's mother.");
    EXPECT_EQ(text("P", "NM"), "Mahram through breastfeeding: she nursed him.");
    EXPECT_EQ(text("NM", "P"), "Mahram through breastfeeding: he was nursed by her.");
    EXPECT_EQ(
        text("P", "PWD"),
        "Mahram through marriage once the marriage is consummated: she is his wife's daughter. The tree "
        "does not record whether the marriage was consummated.");
    EXPECT_EQ(text("P", "PWS"), "Not mahram; marriage between them is barred for a time: she is his wife's "
                                "sister. The bar lasts only while that marriage lasts.");
    // Links the answer would need are named instead of a plain "not mahram".
    Person("X1", "Stranger", "-1", "0", "f");
    EXPECT_EQ(text("P", "X1"),
              "Cannot tell whether they are mahram: no kinship was found in the tree. The tree "
              "does not record the father of \u2068Stranger\u2069, the mother of \u2068Stranger\u2069.");
    EXPECT_EQ(text("NB", "S"), "Not mahram: no kinship was found in the tree.");
    EXPECT_EQ(RuleMahram(FindKinship("P", "nobody")).Answer, A::NoPerson);
    EXPECT_EQ(RuleMahram(FindKinship("P", "p")).Answer, A::SamePerson);
}

TEST_F(KinshipTest, ArabicTermsTakeTheGenderAndTheSide) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    const QStringList terms = {Term("P", "C1"), Term("P", "C2"),   Term("P", "C4"), Term("P", "HB"),
                               Term("P", "HS"), Term("P", "S"),    Term("P", "GF"), Term("P", "MGM"),
                               Term("K", "U"),  Term("P", "NS"),   Term("P", "NM"), Term("S", "PW"),
                               Term("P", "KW"), Term("PW", "PW2"), Term("K", "CC"), Term("C2", "K"),
                               Term("P", "PWM")};
    EXPECT_EQ(terms, (QStringList{"ابن عم", "بنت عم", "بنت خالة", "أخ لأب", "أخت لأم", "أخت شقيقة", "جد لأب",
                                  "جدة لأم", "عم الأب", "أخت من الرضاعة", "أم من الرضاعة", "زوجة الأخ",
                                  "زوجة الابن", "ضرة", "ابن عم من الدرجة " + QLocale().toString(2),
                                  "ابن ابن العم", "حماة (والدة الزوجة)"}));
    const TKinship kinship = FindKinship("S", "MSB");
    EXPECT_EQ(MahramText(kinship, RuleMahram(kinship)), "محرم بالرضاعة: هو أخ من الرضاعة لها.");
    ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
}

TEST_F(KinshipTest, CirclesAndGroupsEndTheWalk) {
    // A father line that runs in a circle, and a named branch that is no common ancestor.
    Person("C_A", "Circle A", "C_B", "0");
    Person("C_B", "Circle B", "C_A", "0");
    // Each is the other's father and son; the walk ends.
    EXPECT_EQ(KinshipTerms(FindKinship("C_A", "C_B"), true), (QStringList{"son", "father"}));
    Person("GRP", "Branch", "-1", "0", "m", 99, 99, true);
    Person("G1", "One", "GRP", "0");
    Person("G2", "Two", "GRP", "0");
    EXPECT_TRUE(FindKinship("G1", "G2").Links.isEmpty());
    EXPECT_FALSE(FindKinship("G1", "GRP").Found);
    EXPECT_FALSE(FindKinship("G1", global_).Found);
}

TEST_F(KinshipTest, DeepLinesAreNamedByGeneration) {
    QString above = QStringLiteral("P");
    for (int i = 1; i <= 40; ++i) {
        const QString id = QStringLiteral("D%1").arg(i);
        Person(id, id, above, "0", i == 40 ? QStringLiteral("f") : QStringLiteral("m"));
        above = id;
    }
    EXPECT_EQ(Term("P", "D40"), "descendant, generation 40");
    EXPECT_EQ(Term("D40", "GF"), "paternal forefather, generation 42");
    EXPECT_EQ(Term("D40", "S"), "sister of a paternal forefather, generation 40");
    EXPECT_EQ(Term("S", "D40"), "descendant of a brother, generation 40");
    EXPECT_EQ(Term("D40", "C1"), "relative by blood (42 generations up, 2 down)");
    EXPECT_EQ(RuleMahram(FindKinship("S", "D40")).Answer, A::Mahram);
}

} // namespace
} // namespace verdan::test
