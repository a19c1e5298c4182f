#include "text/counted_nouns.h"
#include "text/localisation.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

// The CLDR plural categories as letters, for 0..30 and then 100..111: z zero, o one, t two, f few, m many,
// x other.
struct Categories {
    const char* upToThirty;
    const char* fromHundred;
};
const Categories kArabic{"zotffffffffmmmmmmmmmmmmmmmmmmmm", "xxxffffffffm"};
const Categories kEnglish{"xoxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "xxxxxxxxxxxx"};

QList<qint64> Numbers() {
    QList<qint64> numbers;
    for (qint64 n = 0; n <= 30; ++n)
        numbers << n;
    for (qint64 n = 100; n <= 111; ++n)
        numbers << n;
    return numbers;
}

char Letter(const Categories& table, qint64 n) {
    return n <= 30 ? table.upToThirty[n] : table.fromHundred[n - 100];
}

// The forms of each category, "#" where the number goes.
struct Forms {
    TCountedNoun noun;
    QString zero, one, two, few, many, other;
    QString For(char letter, qint64 n) const {
        const QString& form = letter == 'z'   ? zero
                              : letter == 'o' ? one
                              : letter == 't' ? two
                              : letter == 'f' ? few
                              : letter == 'm' ? many
                                              : other;
        return QString(form).replace(u'#', QString::number(n));
    }
};

TEST(CountedNouns, PluralCategoriesOfEachLanguage) {
    const auto letter = [](TPluralCategory c) {
        return c == TPluralCategory::Other ? 'x' : PluralCategoryName(c).at(0).toLatin1();
    };
    for (const qint64 n : Numbers()) {
        EXPECT_EQ(letter(PluralCategory("ar", n)), Letter(kArabic, n)) << n;
        EXPECT_EQ(letter(PluralCategory("en", n)), Letter(kEnglish, n)) << n;
    }
    EXPECT_EQ(PluralCategory("ar", 103), TPluralCategory::Few);
    EXPECT_EQ(PluralCategory("ar", 100), TPluralCategory::Other);
    EXPECT_EQ(PluralCategory("fa", 0), TPluralCategory::One);
    EXPECT_EQ(PluralCategory("ur", 0), TPluralCategory::Other);
}

// Years, months and days over 0..30 and 100..111, as the Arabic and English documents count them.
TEST(CountedNouns, ArabicAndEnglishFormsOverTheTable) {
    const QList<Forms> arabic = {
        {TCountedNoun::Years, "# سنة", "سنة", "سنتين", "# سنوات", "# سنة", "# سنة"},
        {TCountedNoun::Months, "# شهر", "شهر", "شهرين", "# أشهر", "# شهراً", "# شهر"},
        {TCountedNoun::Days, "# يوم", "يوم", "يومين", "# أيام", "# يوماً", "# يوم"},
    };
    const QList<Forms> english = {
        {TCountedNoun::Years, "", "# year", "", "", "", "# years"},
        {TCountedNoun::Months, "", "# month", "", "", "", "# months"},
        {TCountedNoun::Days, "", "# day", "", "", "", "# days"},
    };
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    for (const Forms& forms : arabic)
        for (const qint64 n : Numbers())
            EXPECT_EQ(CountedNoun(n, forms.noun), forms.For(Letter(kArabic, n), n)) << n;
    ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
    for (const Forms& forms : english)
        for (const qint64 n : Numbers())
            EXPECT_EQ(CountedNoun(n, forms.noun), forms.For(Letter(kEnglish, n), n)) << n;
}

// Persian keeps the noun singular after every number, written in Persian digits; Urdu has a plural for
// months from 2 on.
TEST(CountedNouns, PersianAndUrduForms) {
    ASSERT_TRUE(LoadLanguage(":/langs/persian.local"));
    EXPECT_EQ(CountedNoun(0, TCountedNoun::Years), u"۰ سال"_qs);
    EXPECT_EQ(CountedNoun(1, TCountedNoun::Months), u"۱ ماه"_qs);
    EXPECT_EQ(CountedNoun(103, TCountedNoun::Days), u"۱۰۳ روز"_qs);
    EXPECT_EQ(CountedSentence("Lived %* %*", true, {{87, TCountedNoun::Years}, {10, TCountedNoun::Months}}),
              u"۸۷ سال و ۱۰ ماه زیست"_qs);
    ASSERT_TRUE(LoadLanguage(":/langs/urdu.local"));
    EXPECT_EQ(CountedNoun(1, TCountedNoun::Months), u"1 مہینہ"_qs);
    EXPECT_EQ(CountedNoun(5, TCountedNoun::Months), u"5 مہینے"_qs);
    EXPECT_EQ(CountedNoun(0, TCountedNoun::Days), u"0 دن"_qs);
    EXPECT_EQ(CountedSentence("Born %* ago", false, {{3, TCountedNoun::Years}}), u"3 سال پہلے پیدا ہوا"_qs);
    EXPECT_EQ(CountedSentence("Born %* ago", true, {{3, TCountedNoun::Years}}), u"3 سال پہلے پیدا ہوئی"_qs);
}

TEST(CountedNouns, SentencesCountTheirPartsAndAgreeWithThePerson) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    const QList<std::pair<qint64, TCountedNoun>> life{{87, TCountedNoun::Years}, {10, TCountedNoun::Months}};
    EXPECT_EQ(CountedSentence("Lived %* %*", false, life), u"عاش 87 سنة و10 أشهر"_qs);
    EXPECT_EQ(CountedSentence("Lived %* %*", true, life), u"عاشت 87 سنة و10 أشهر"_qs);
    EXPECT_EQ(
        CountedSentence("Born %*, %* ago", false, {{1, TCountedNoun::Years}, {2, TCountedNoun::Months}}),
        u"ولد قبل سنة وشهرين"_qs);
    EXPECT_EQ(CountedSentence("Died %* ago", true, {{285, TCountedNoun::Years}}), u"توفيت قبل 285 سنة"_qs);
    ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
    EXPECT_EQ(CountedSentence("Lived %* %*", false, life), u"Lived 87 years 10 months"_qs);
    EXPECT_EQ(CountedSentence("Born %*, %*, %* ago", true,
                              {{1, TCountedNoun::Years}, {1, TCountedNoun::Months}, {3, TCountedNoun::Days}}),
              u"Born 1 year, 1 month, 3 days ago"_qs);
}

} // namespace
} // namespace verdan
