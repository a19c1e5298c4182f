#include "common/written_names.h"
#include "text/search_fold.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace verdan {
namespace {

struct FoldCase {
    const char16_t* written;
    const char16_t* folded;
};

// How names are written and what every search compares them as.
const FoldCase kCases[] = {
    // harakat, tanween, sukun, shadda, superscript alef, tatweel
    {u"رَيَّان", u"ريان"},
    {u"ريّان", u"ريان"},
    {u"نصّار", u"نصار"},
    {u"عمّار", u"عمار"},
    {u"مُحَمَّدٌ", u"محمد"},
    {u"كِتابًا", u"كتابا"},
    {u"رحمٰن", u"رحمن"},
    {u"محـــمد", u"محمد"},
    // Persian and Urdu letter forms
    {u"علی", u"علي"},
    {u"مصطفى", u"مصطفي"},
    {u"کریم", u"كريم"},
    {u"عائشہ", u"عائشه"},
    {u"عیسیٰ", u"عيسي"},
    // hamza seats and ta marbuta stay
    {u"أحمد إبراهيم آمنة", u"أحمد إبراهيم آمنة"},
    {u"مؤمن هانئ", u"مؤمن هانئ"},
    {u"فاطمة", u"فاطمة"},
    // a hamza written as a mark after its seat is the seat with its hamza
    {u"\u0627\u0654حمد", u"أحمد"},
    {u"\u0627\u0655براهيم", u"إبراهيم"},
    // invisible format characters
    {u"محمد\u200Cعلی", u"محمدعلي"},
    {u"\u2067Hasan\u2069 \u200Fبن", u"hasan بن"},
    // Latin case and accents, letters written apart
    {u"Victoria", u"victoria"},
    {u"ÉMILE Zoë", u"emile zoe"},
    {u"Søren Łukasz Straße", u"soren lukasz strasse"},
    {u"Æthelred Œdipe İlhan", u"aethelred oedipe ilhan"},
    {u"Muḥammad ʿAlī", u"muhammad ʿali"},
    {u"e\u0301mile", u"emile"},
    // other scripts lose their case only; an accent after a letter of theirs stays
    {u"ΣΟΦΊΑ Йосиф", u"σοφία йосиф"},
    {u"\u0430\u0301", u"\u0430\u0301"},
    // digits and punctuation stay
    {u"+966 50-123", u"+966 50-123"},
};

TEST(SearchFold, FoldsNamesHoweverTheyAreWritten) {
    for (const FoldCase& c : kCases) {
        const QString written = QString::fromUtf16(c.written);
        const QString folded = QString::fromUtf16(c.folded);
        EXPECT_EQ(SearchFold(written), folded) << written.toStdString();
        EXPECT_EQ(SearchFold(folded), folded) << "folding twice changes nothing: " << folded.toStdString();
        // The quick paths over texts and stored bytes agree with the fold.
        EXPECT_TRUE(FoldedContains(written, folded)) << written.toStdString();
        EXPECT_TRUE(FoldedContainsUtf8(written.toUtf8(), folded)) << written.toStdString();
        std::u16string bytesFolded;
        SearchFoldUtf8(written.toUtf8(), bytesFolded);
        EXPECT_EQ(QString::fromStdU16String(bytesFolded), folded) << written.toStdString();
    }
}

TEST(SearchFold, ContainsComparesFoldedTextsAndNeverFindsNothing) {
    EXPECT_TRUE(FoldedContains(u"عبد الرَّحمٰن بن عوف"_qs, SearchFold(u"رحمن"_qs)));
    EXPECT_FALSE(FoldedContains(u"عبد الرحمن"_qs, SearchFold(u"أحمد"_qs)));
    EXPECT_FALSE(FoldedContains(u"ريان"_qs, QString()));
    EXPECT_FALSE(FoldedContainsUtf8("abc", QString()));
    EXPECT_TRUE(FoldedContainsUtf8(u"Queen VICTORIA of the United Kingdom"_qs.toUtf8(), u"victoria"_qs));
    // Bytes that are no UTF-8 are read as the text they give, not as a match.
    EXPECT_FALSE(FoldedContainsUtf8(QByteArrayView("\xff\xfe", 2), u"a"_qs));
    // Beyond the Basic Multilingual Plane the text is folded as a whole.
    EXPECT_TRUE(FoldedContainsUtf8(u"😀 Zayd"_qs.toUtf8(), u"zayd"_qs));
    EXPECT_EQ(SearchFold(QString()), QString());
}

// A stored text lacking the anchor of a part never holds the part once folded.
TEST(SearchFold, AnchorsAreLettersEveryWritingOfThePartHolds) {
    EXPECT_EQ(SearchFoldAnchor(SearchFold(u"نصار"_qs)), u"ن"_qs.toUtf8());
    EXPECT_EQ(SearchFoldAnchor(SearchFold(u"يس"_qs)), u"س"_qs.toUtf8()) << "ي has Persian and Urdu forms";
    EXPECT_EQ(SearchFoldAnchor(SearchFold(u"أحمد"_qs)), u"ح"_qs.toUtf8()) << "أ may be written composed";
    EXPECT_TRUE(SearchFoldAnchor(SearchFold(u"Victoria"_qs)).isEmpty()) << "Latin letters have capitals";
    EXPECT_EQ(SearchFoldAnchor(u"1445"_qs), QByteArray("1"));
    for (const test::TWrittenName& name : test::WrittenNames()) {
        const QByteArray anchor = SearchFoldAnchor(SearchFold(name.Typed));
        EXPECT_TRUE(anchor.isEmpty() || name.Stored.toUtf8().contains(anchor)) << name.What;
    }
}

TEST(SearchFold, TableListsEveryCharacterTheFoldChanges) {
    const QList<TSearchFoldEntry>& table = SearchFoldTable();
    ASSERT_FALSE(table.isEmpty());
    char32_t previous = 0;
    bool first = true;
    for (const TSearchFoldEntry& entry : table) {
        EXPECT_TRUE(first || entry.Character > previous) << "in code-point order";
        first = false;
        previous = entry.Character;
        const QString c = QString(QChar(entry.Character));
        // A character the fold would compose with nothing folds on its own as the table says.
        if (c.normalized(QString::NormalizationForm_C) == c && !LatinMarkDropped(entry.Character)) {
            EXPECT_EQ(SearchFold(c), entry.Folded) << int(entry.Character);
        }
    }
    const auto folds = [&](char32_t c, const QString& to) {
        return std::find(table.begin(), table.end(), TSearchFoldEntry{c, to}) != table.end();
    };
    EXPECT_TRUE(folds(0x0651, QString())) << "shadda dropped";
    EXPECT_TRUE(folds(0x0640, QString())) << "tatweel dropped";
    EXPECT_TRUE(folds(0x06CC, u"ي"_qs));
    EXPECT_TRUE(folds(0x06A9, u"ك"_qs));
    EXPECT_TRUE(folds(0x06C1, u"ه"_qs));
    EXPECT_TRUE(folds(u'É', u"e"_qs));
    const auto listed = [&](char32_t c) {
        return std::any_of(table.begin(), table.end(), [c](const auto& e) { return e.Character == c; });
    };
    for (const char32_t kept : {U'أ', U'إ', U'آ', U'ؤ', U'ئ', U'ء', U'ة', U'ه', U'a', U'0', U'١'})
        EXPECT_FALSE(listed(kept)) << int(kept);
}

} // namespace
} // namespace verdan
