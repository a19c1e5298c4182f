#include "reports/name_search.h"
#include "storage/person_fixture.h"

namespace verdan::test {
namespace {

QString Id(int n) {
    return QStringLiteral("{00000000-0000-0000-0000-%1}").arg(n, 12, 10, QLatin1Char('0'));
}

// A father line of four generations ending in محمد, a second محمد with another line, and persons with
// fewer than three fathers in the tree.
class NameSearchTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        Put(Id(1), "-1", "0", u"سالم"_qs);
        Put(Id(2), Id(1), "0", u"عبد الله"_qs);
        Put(Id(3), Id(2), "0", u"أحمد"_qs);
        Put(Id(4), Id(3), "0", u"محمد"_qs);
        SetColumn(Id(3), "Cognomen", u"الكبير"_qs);

        Put(Id(10), "-1", "0", u"ناصر"_qs);
        Put(Id(11), Id(10), "0", u"خالد"_qs);
        Put(Id(12), Id(11), "0", u"سعد"_qs);
        Put(Id(13), Id(12), "0", u"محمد"_qs);

        Put(Id(20), "-1", "0", u"محمد"_qs);  // no fathers: left to the fallback
        Put(Id(21), Id(1), "0", u"يوسف"_qs); // one father
        Put(Id(22), "-1", "0", u"فاطمة"_qs, "f");
        Put(Id(23), Id(21), Id(22), u"حسن"_qs); // mother فاطمة
        Put(Id(24), Id(21), "0", u"حسن"_qs);    // no mother
        Put(Id(25), "-1", "0", u"أسامة"_qs);
        Put(Id(26), "-1", "0", u"حمزه"_qs);
        Put(Id(27), "-1", "0", u"رؤوف"_qs);
    }

    void SetColumn(const QString& id, const QString& column, const QString& value) {
        ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET " + column + " = ? WHERE Person_Id = ?", value, id), 1);
    }

    static QStringList Search(const QString& typed) { return SearchPersonsByName(typed); }
};

TEST_F(NameSearchTest, LineageFormsWithOneToThreeFathers) {
    EXPECT_EQ(Search(u"محمد بن أحمد"_qs), QStringList{Id(4)});
    EXPECT_EQ(Search(u"محمد بن أحمد بن عبد الله"_qs), QStringList{Id(4)});
    EXPECT_EQ(Search(u"محمد بن أحمد بن عبد الله بن سالم"_qs), QStringList{Id(4)});
    EXPECT_EQ(Search(u"محمد سعد"_qs), QStringList{Id(13)});
    // Diacritics and doubled blanks in the typed text do not matter.
    EXPECT_EQ(Search(u"  مُحَمَّد   بن  أحمد "_qs), QStringList{Id(4)});
    // A first name with a farther ancestor's name, or with a father's cognomen, matches on the second walk.
    EXPECT_EQ(Search(u"محمد سالم"_qs), QStringList{Id(4)});
    EXPECT_EQ(Search(u"محمد الكبير"_qs), QStringList{Id(4)});
    // The first name alone finds both lineages, in file order for equal names, and stops there: the محمد
    // without fathers is not listed because the lineage pass found somebody.
    EXPECT_EQ(Search(u"محمد"_qs), (QStringList{Id(4), Id(13)}));
    // A great-grandfather's name reaches the other line.
    EXPECT_EQ(Search(u"محمد ناصر"_qs), QStringList{Id(13)});
    // A father nobody has finds nobody by lineage and nobody by the fallback either.
    EXPECT_TRUE(Search(u"محمد بن يوسف"_qs).isEmpty());
}

TEST_F(NameSearchTest, FallbackRunsOnlyWhenTheLineageFoundNobody) {
    // Fewer than three fathers: the lineage form does not reach the person, the fallback finds the name.
    // Only سالم himself comes back, through the spelling walk (a word is one of its own variants).
    EXPECT_EQ(Search(u"يوسف بن سالم"_qs), QStringList{Id(1)});
    EXPECT_EQ(Search(u"يوسف"_qs), QStringList{Id(21)});
    // Part of a first name.
    EXPECT_EQ(Search(u"وسف"_qs), QStringList{Id(21)});
    // Family name and cognomen count in the fallback.
    SetColumn(Id(25), "Last_Name", u"الحربي"_qs);
    EXPECT_EQ(Search(u"الحربي"_qs), QStringList{Id(25)});
    SetColumn(Id(26), "Cognomen", u"الشهيد"_qs);
    EXPECT_EQ(Search(u"الشهيد"_qs), QStringList{Id(26)});
    // A first name followed by the mother's name: only her child, then the mother through the spelling
    // walk (her own name is one of its variants).
    EXPECT_EQ(Search(u"حسن فاطمة"_qs), (QStringList{Id(23), Id(22)}));
}

TEST_F(NameSearchTest, AlefHamzaAndTaMarbutaVariants) {
    EXPECT_EQ(Search(u"اسامة"_qs), QStringList{Id(25)});
    EXPECT_TRUE(Search(u"إسامه"_qs).isEmpty()); // two letters differ: one position changes per variant
    EXPECT_EQ(Search(u"حمزة"_qs), QStringList{Id(26)});
    EXPECT_EQ(Search(u"احمد"_qs), QStringList{Id(3)});
    // ؤ is not varied.
    EXPECT_TRUE(Search(u"رءوف"_qs).isEmpty());

    QStringList variants;
    WordVariants(u"أحمد"_qs, variants);
    EXPECT_EQ(variants, (QStringList{u"احمد"_qs, u"أحمد"_qs, u"إحمد"_qs, u"آحمد"_qs, u"ءحمد"_qs}));
    variants.clear();
    WordVariants(u"فاطمة"_qs, variants);
    EXPECT_EQ(variants, (QStringList{u"فاطمة"_qs, u"فأطمة"_qs, u"فإطمة"_qs, u"فآطمة"_qs, u"فءطمة"_qs,
                                     u"فاطمه"_qs, u"فاطمة"_qs}));
    variants.clear();
    WordVariants(u"محمد"_qs, variants);
    EXPECT_TRUE(variants.isEmpty());
}

TEST_F(NameSearchTest, HiddenNicknameFindsNobody) {
    SetColumn(Id(20), "Nickname", u"الأمير"_qs);
    EXPECT_EQ(Search(u"الأمير"_qs), QStringList{Id(20)});
    ASSERT_EQ(Dm().Execute("INSERT INTO ftOption (hide_nickname) VALUES (1)"), 1);
    Reopen();
    EXPECT_TRUE(Search(u"الأمير"_qs).isEmpty());
}

TEST_F(NameSearchTest, EachPersonListedOnce) {
    // محمد أحمد matches the first walk and the second; the list holds it once.
    EXPECT_EQ(Search(u"محمد أحمد"_qs), QStringList{Id(4)});
    // The exact name and the spelling walk both find أسامة.
    EXPECT_EQ(Search(u"أسامة"_qs), QStringList{Id(25)});
    // Identifiers already in the list stay where they are and are not added again.
    QStringList result{Id(13).toLower()};
    NameSearch(u"محمد"_qs, {u"محمد"_qs}, result);
    EXPECT_EQ(result, (QStringList{Id(13).toLower(), Id(4)}));
}

TEST_F(NameSearchTest, BlankTextFindsNobody) {
    EXPECT_TRUE(Search(QString()).isEmpty());
    EXPECT_TRUE(Search(u"  \u0651 "_qs).isEmpty());
    QStringList result;
    NameSearch(QString(), {u"يوسف"_qs}, result);
    EXPECT_EQ(result, QStringList{Id(21)}); // persons with empty cognomens are not "named" by blank text
}

TEST(IdentifierText, OnlyTheFullIdentifierForm) {
    EXPECT_TRUE(IsIdentifierText("{0A1B2C3D-4E5F-6789-ABCD-EF0123456789}"));
    EXPECT_TRUE(IsIdentifierText("{0a1b2c3d-4e5f-6789-abcd-ef0123456789}"));
    EXPECT_FALSE(IsIdentifierText("{0A1B2C3D-4E5F-6789-ABCD-EF012345678}"));  // 37 characters
    EXPECT_FALSE(IsIdentifierText("{0A1B2C3D-4E5F-6789-ABCD-EF01234567890")); // no closing brace
    EXPECT_FALSE(IsIdentifierText("{0A1B2C3D-4E5F-6789-ABCD-EF012345678G}")); // not hexadecimal
    EXPECT_FALSE(IsIdentifierText("{0A1B2C3D4-E5F-6789-ABCD-EF0123456789}")); // dash misplaced
    EXPECT_FALSE(IsIdentifierText(u"{محمد}"_qs));
    EXPECT_FALSE(IsIdentifierText("{' OR 1=1 --}"));
}

} // namespace
} // namespace verdan::test
