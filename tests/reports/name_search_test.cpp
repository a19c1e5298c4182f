#include "common/written_names.h"
#include "reports/name_search.h"
#include "storage/name_index.h"
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

    // The numbers of the persons found, in order: readable when a test fails.
    static std::vector<int> Search(const QString& typed) { return Numbers(SearchPersonsByName(typed)); }
    static std::vector<int> Numbers(const QStringList& ids) {
        std::vector<int> numbers;
        for (const QString& id : ids)
            numbers.push_back(id.mid(25, 12).toInt());
        return numbers;
    }
    using N = std::vector<int>;
};

TEST_F(NameSearchTest, LineageFormsWithOneToThreeFathers) {
    EXPECT_EQ(Search(u"محمد بن أحمد بن عبد الله"_qs).front(), 4);
    EXPECT_EQ(Search(u"محمد بن أحمد بن عبد الله بن سالم"_qs).front(), 4);
    EXPECT_EQ(Search(u"محمد سعد"_qs), N{13});
    // Diacritics and doubled blanks in the typed text do not matter.
    EXPECT_EQ(Search(u"  مُحَمَّد   بن  أحمد "_qs), Search(u"محمد بن أحمد"_qs));
    // A first name with a farther ancestor's name, or with a father's cognomen, matches on the second walk.
    EXPECT_EQ(Search(u"محمد سالم"_qs).front(), 4);
    EXPECT_EQ(Search(u"محمد الكبير"_qs).front(), 4);
    // A great-grandfather's name reaches the other line.
    EXPECT_EQ(Search(u"محمد ناصر"_qs).front(), 13);
    // A father nobody has finds nobody by lineage and nobody by the fallback either.
    EXPECT_TRUE(Search(u"محمد بن يوسف"_qs).empty());
}

// The fallback passes follow the lineage passes every time: a person named as typed whose father line is
// short in the tree is listed after those found by lineage, not left out because they were found.
TEST_F(NameSearchTest, FallbackPassesAlwaysFollowTheLineagePasses) {
    // Both lineages in file order for equal names, then the محمد without fathers.
    EXPECT_EQ(Search(u"محمد"_qs), (N{4, 13, 20}));
    // After the lineage, the names typed are spelling variants of themselves: أحمد, then سالم and عبد الله in
    // name order.
    EXPECT_EQ(Search(u"محمد بن أحمد"_qs), (N{4, 3}));
    EXPECT_EQ(Search(u"محمد بن أحمد بن عبد الله بن سالم"_qs), (N{4, 3, 1, 2}));
    EXPECT_EQ(Search(u"محمد الكبير"_qs), (N{4, 3})) << "the cognomen الكبير is his father's";
    EXPECT_EQ(Search(u"محمد ناصر"_qs), (N{13, 10}));
    // Fewer than three fathers: the lineage does not reach the person, the fallback finds the names.
    EXPECT_EQ(Search(u"يوسف بن سالم"_qs), N{1});
    EXPECT_EQ(Search(u"يوسف"_qs), N{21});
    // Part of a first name.
    EXPECT_EQ(Search(u"وسف"_qs), N{21});
    // Family name and cognomen count in the fallback.
    SetColumn(Id(25), "Last_Name", u"الحربي"_qs);
    EXPECT_EQ(Search(u"الحربي"_qs), N{25});
    SetColumn(Id(26), "Cognomen", u"الشهيد"_qs);
    EXPECT_EQ(Search(u"الشهيد"_qs), N{26});
    // A first name followed by the mother's name: only her child, then the mother through the spelling
    // walk (her own name is one of its variants).
    EXPECT_EQ(Search(u"حسن فاطمة"_qs), (N{23, 22}));
}

// Latin letters compare without regard to case in every pass.
TEST_F(NameSearchTest, LatinNamesIgnoreLetterCase) {
    Put(Id(30), "-1", "0", u"Albert"_qs);
    Put(Id(31), Id(30), "0", u"Edward"_qs);
    Put(Id(32), Id(31), "0", u"George"_qs);
    Put(Id(33), Id(32), "0", u"Victoria"_qs);
    Put(Id(34), "-1", "0", u"victoria"_qs, "f");
    Put(Id(35), "-1", "0", u"VICTORIA"_qs, "f");
    SetColumn(Id(34), "Other_Name", u"Alexandrina"_qs);
    EXPECT_EQ(Search(u"victoria"_qs), (N{33, 34, 35}));
    EXPECT_EQ(Search(u"Victoria George"_qs), N{33});
    EXPECT_EQ(Search(u"victoria ALBERT"_qs), N{33}) << "a great-grandfather on the second walk";
    EXPECT_EQ(Search(u"ALBERT"_qs), N{30});
    EXPECT_EQ(Search(u"ICTOR"_qs), (N{33, 34, 35})) << "part of a first name";
    EXPECT_EQ(Search(u"alexandrina"_qs), N{34});
}

// The index behind the search follows every write to the person table, whoever makes it, and gives what a
// fresh read of the table would.
TEST_F(NameSearchTest, FollowsEveryChangeOfThePersonTable) {
    const QStringList queries = {u"عيسى"_qs, u"موسى"_qs, u"موسى بن محمد"_qs, u"محمد"_qs, u"محمد بن أحمد"_qs};
    EXPECT_TRUE(Search(u"عيسى"_qs).empty());
    Put(Id(40), "-1", "0", u"عيسى"_qs);
    EXPECT_EQ(Search(u"عيسى"_qs), N{40});
    SetColumn(Id(40), "Person_Name", u"موسى"_qs);
    EXPECT_TRUE(Search(u"عيسى"_qs).empty());
    EXPECT_EQ(Search(u"موسى"_qs), N{40});
    EXPECT_TRUE(Search(u"موسى بن محمد"_qs).empty());
    SetColumn(Id(40), "Father_Id", Id(4));
    EXPECT_EQ(Search(u"موسى بن محمد"_qs), N{40}) << "a new father gives a lineage";
    ASSERT_EQ(Dm().Execute("DELETE FROM ftPerson WHERE Person_Id = ?", Id(4)), 1);
    EXPECT_TRUE(Search(u"موسى بن محمد"_qs).empty()) << "a deleted father ends the lineage";
    EXPECT_EQ(Search(u"محمد"_qs), (N{13, 20}));
    Put(Id(4), Id(3), "0", u"محمد"_qs);
    EXPECT_EQ(Search(u"موسى بن محمد"_qs), N{40}) << "the father's row is back";
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Person_Id = ? WHERE Person_Id = ?", Id(50), Id(3)), 1);
    EXPECT_EQ(Search(u"محمد بن أحمد"_qs), N{50}) << "his son no longer names him as father";
    {
        Transaction undone;
        Put(Id(41), "-1", "0", u"هارون"_qs);
        EXPECT_EQ(Search(u"هارون"_qs), N{41});
    }
    EXPECT_TRUE(Search(u"هارون"_qs).empty()) << "a write that was rolled back";

    std::vector<std::vector<int>> followed;
    for (const QString& query : queries)
        followed.push_back(Search(query));
    Reopen();
    for (qsizetype i = 0; i < queries.size(); ++i)
        EXPECT_EQ(Search(queries[i]), followed[size_t(i)]) << queries[i].toStdString();
}

// A name is found however it was written or typed: marks, tatweel, Persian and Urdu letters, Latin case
// and accents, on either side. The stored names stay as written.
TEST_F(NameSearchTest, FindsNamesHoweverTheyAreWritten) {
    int n = 60;
    for (const TWrittenName& name : WrittenNames()) {
        // Written as stored, past the name cleaning of the store, like an imported tree.
        Put(Id(n), "-1", "0", name.Stored);
        EXPECT_EQ(Search(name.Typed), N{n}) << name.What;
        EXPECT_EQ(Search(name.Stored), N{n}) << name.What;
        EXPECT_EQ(GetPersonName(Id(n)), name.Stored) << "the stored name is never rewritten";
        ++n;
    }
    // A lineage typed with its father's name in another spelling.
    Put(Id(80), Id(60), "0", u"زيد"_qs);
    Put(Id(81), Id(80), "0", u"بكر"_qs);
    Put(Id(82), Id(81), "0", u"عمرو"_qs);
    EXPECT_EQ(Search(u"عمرو بن بَكْر بن زيد بن نصار"_qs).front(), 82);
}

// «محمد بن», a lineage typed up to its last connective, means the persons named محمد.
TEST_F(NameSearchTest, LineageTypedUpToItsLastConnective) {
    EXPECT_EQ(Search(u"محمد بن"_qs), Search(u"محمد"_qs));
    EXPECT_EQ(Search(u"محمد بن أحمد بن"_qs), Search(u"محمد بن أحمد"_qs));
}

// The names are read on a thread of their own when a tree opens; a search made meanwhile waits for them and
// writes made meanwhile are not lost.
TEST_F(NameSearchTest, NamesReadInTheBackgroundFollowWritesMadeMeanwhile) {
    const std::vector<int> before = Search(u"محمد"_qs);
    name_index::Clear();
    PrepareNameSearch();
    EXPECT_TRUE(name_index::IsReading());
    Put(Id(45), "-1", "0", u"محمد"_qs);
    SetColumn(Id(20), "Person_Name", u"محمود"_qs);
    EXPECT_EQ(Search(u"محمد"_qs), (N{4, 13, 45}));
    EXPECT_FALSE(name_index::IsReading());
    EXPECT_EQ(Search(u"محمود"_qs), N{20});
    EXPECT_NE(Search(u"محمد"_qs), before);

    // Closing the tree while its names are read ends the reading.
    name_index::Clear();
    PrepareNameSearch();
    Reopen();
    EXPECT_FALSE(name_index::IsReading());
    EXPECT_EQ(Search(u"محمد"_qs), (N{4, 13, 45}));
}

TEST_F(NameSearchTest, AlefHamzaAndTaMarbutaVariants) {
    EXPECT_EQ(Search(u"اسامة"_qs), N{25});
    EXPECT_TRUE(Search(u"إسامه"_qs).empty()); // two letters differ: one position changes per variant
    EXPECT_EQ(Search(u"حمزة"_qs), N{26});
    EXPECT_EQ(Search(u"احمد"_qs), N{3});
    // ؤ is not varied.
    EXPECT_TRUE(Search(u"رءوف"_qs).empty());

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
    EXPECT_EQ(Search(u"الأمير"_qs), N{20});
    ASSERT_EQ(Dm().Execute("INSERT INTO ftOption (hide_nickname) VALUES (1)"), 1);
    Reopen();
    EXPECT_TRUE(Search(u"الأمير"_qs).empty());
}

TEST_F(NameSearchTest, EachPersonListedOnce) {
    // محمد أحمد matches the first walk and the second; the list holds him once, then his father.
    EXPECT_EQ(Search(u"محمد أحمد"_qs), (N{4, 3}));
    // The exact name and the spelling walk both find أسامة.
    EXPECT_EQ(Search(u"أسامة"_qs), N{25});
    // Identifiers already in the list stay where they are and are not added again.
    QStringList result{Id(13).toLower()};
    NameSearch(u"محمد"_qs, {u"محمد"_qs}, result);
    EXPECT_EQ(Numbers(result), (N{13, 4, 20}));
    EXPECT_EQ(result.front(), Id(13).toLower());
}

TEST_F(NameSearchTest, BlankTextFindsNobody) {
    EXPECT_TRUE(Search(QString()).empty());
    EXPECT_TRUE(Search(u"  \u0651 "_qs).empty());
    QStringList result;
    NameSearch(QString(), {u"يوسف"_qs}, result);
    EXPECT_EQ(Numbers(result), N{21}); // persons with empty cognomens are not "named" by blank text
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
