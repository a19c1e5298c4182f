#include "text/name_utils.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QString kTatweel = QString(QChar(0x0640));
const QString kNoBreak = QString(QChar(0x00A0));

TEST(CleanName, CollapsesBlanksAndDropsTatweelAndNoBreakSpaces) {
    EXPECT_EQ(CleanName(QStringLiteral("  محمد  علي ")), QStringLiteral("محمد علي"));
    EXPECT_EQ(CleanName(QStringLiteral("مـحمد").replace(u'ـ', QChar(0x0640))), QStringLiteral("محمد"));
    EXPECT_EQ(CleanName(QStringLiteral("عبد") + kNoBreak + QStringLiteral("الله")),
              QStringLiteral("عبدالله"));
    // A no-break space between two blanks must not leave a double blank behind.
    EXPECT_EQ(CleanName(QStringLiteral("أحمد ") + kNoBreak + QStringLiteral(" ") + kTatweel +
                        QStringLiteral("سعيد")),
              QStringLiteral("أحمد سعيد"));
    EXPECT_EQ(CleanName(kNoBreak + QStringLiteral(" x ")), QStringLiteral("x"));
    EXPECT_EQ(CleanName(QString()), QString());
}

TEST(StripDiacritics, RemovesVowelsButKeepsDammatan) {
    QString text;
    for (char16_t c = 0x064B; c <= 0x0652; ++c)
        text += QChar(c);
    EXPECT_EQ(StripDiacritics(QStringLiteral("ب") + text + kTatweel + QStringLiteral("ت")),
              QStringLiteral("ب") + QChar(0x064C) + QStringLiteral("ت"));
    EXPECT_EQ(StripDiacritics(QStringLiteral("abc")), QStringLiteral("abc"));
}

TEST(SplitSearchWords, SplitsAtSeparatorsAndJoinsOneLetterPieces) {
    QStringList words;
    SplitSearchWords(QStringLiteral("محمد،علي؛ حسن, زيد;عمر"), words);
    EXPECT_EQ(words, (QStringList{"محمد", "علي", "حسن", "زيد", "عمر"}));

    words.clear();
    SplitSearchWords(QStringLiteral("و محمد علي"), words);
    EXPECT_EQ(words, (QStringList{"و محمد", "علي"}));

    words.clear();
    SplitSearchWords(QStringLiteral("ab\rcd") + kNoBreak + QStringLiteral("ef"), words);
    EXPECT_EQ(words, (QStringList{"ab", "cd", "ef"}));

    // The last piece counts whatever its length, but a trailing separator adds no empty word.
    words.clear();
    SplitSearchWords(QStringLiteral("ab c"), words);
    EXPECT_EQ(words, (QStringList{"ab", "c"}));
    words.clear();
    SplitSearchWords(QStringLiteral("ab,"), words);
    EXPECT_EQ(words, QStringList{"ab"});

    words = QStringList{"kept"};
    SplitSearchWords(QStringLiteral("   "), words);
    EXPECT_EQ(words, QStringList{"kept"});
}

TEST(SplitNameWords, DropsConnectivesAndKeepsCompoundsWhole) {
    QStringList words;
    SplitNameWords(QStringLiteral("محمد بن عبد الله"), words);
    EXPECT_EQ(words, (QStringList{"محمد", "عبد الله"}));

    words.clear();
    SplitNameWords(QStringLiteral("ابن خالد"), words);
    EXPECT_EQ(words, QStringList{"خالد"});

    // A lineage typed up to its last connective: the connective is no name either.
    words.clear();
    SplitNameWords(QStringLiteral("محمد بن"), words);
    EXPECT_EQ(words, QStringList{"محمد"});
    words.clear();
    SplitNameWords(QStringLiteral("محمد بن علي بنت"), words);
    EXPECT_EQ(words, (QStringList{"محمد", "علي"}));

    words.clear();
    SplitNameWords(QStringLiteral("فاطمة بنت أبي بكر"), words);
    EXPECT_EQ(words, (QStringList{"فاطمة", "أبو بكر"}));

    words.clear();
    SplitNameWords(QStringLiteral("ابي طالب"), words);
    EXPECT_EQ(words, QStringList{"ابو طالب"});

    // The same letters inside another name are part of that name.
    words.clear();
    SplitNameWords(QStringLiteral("رابية سعد"), words);
    EXPECT_EQ(words, (QStringList{"رابية", "سعد"}));

    words.clear();
    SplitNameWords(QStringLiteral("ذو  الفقار"), words);
    EXPECT_EQ(words, QStringList{"ذو  الفقار"});

    words.clear();
    SplitNameWords(QStringLiteral("علي  حسن"), words);
    EXPECT_EQ(words, (QStringList{"علي", "حسن"}));
}

TEST(FindText, FindsForwardAndBackwardWithAsciiCaseFolding) {
    EXPECT_EQ(FindText(QStringLiteral("aab"), QStringLiteral("ab"), 1, true, true), 2);
    EXPECT_EQ(FindText(QStringLiteral("abcabc"), QStringLiteral("abc"), 2, true, true), 4);
    EXPECT_EQ(FindText(QStringLiteral("abcabc"), QStringLiteral("abc"), 5, true, true), -1);
    EXPECT_EQ(FindText(QStringLiteral("abcabc"), QStringLiteral("abc"), 6, false, true), 4);
    EXPECT_EQ(FindText(QStringLiteral("abcabc"), QStringLiteral("abc"), 5, false, true), 1);
    EXPECT_EQ(FindText(QStringLiteral("abcabc"), QStringLiteral("abc"), 2, false, true), -1);
    EXPECT_EQ(FindText(QStringLiteral("abc"), QString(), 1, true, true), -1);
    EXPECT_EQ(FindText(QStringLiteral("xABc"), QStringLiteral("abC"), 1, true, false), 2);
    EXPECT_EQ(FindText(QStringLiteral("xABc"), QStringLiteral("abC"), 1, true, true), -1);
    // Only ASCII letters fold.
    EXPECT_EQ(FindText(QStringLiteral("ÄB"), QStringLiteral("äb"), 1, true, false), -1);
    EXPECT_EQ(FindText(QStringLiteral("ab"), QStringLiteral("abc"), 1, true, false), -1);

    EXPECT_EQ(ContainsText(QStringLiteral("Family TREE"), QStringLiteral("tree")), 8);
    EXPECT_LT(ContainsText(QStringLiteral("Family"), QStringLiteral("tree")), 0);
}

TEST(TextHelpers, UnquoteAndExactIndex) {
    EXPECT_EQ(Unquote(QStringLiteral("  \"a b\" ")), QStringLiteral("a b"));
    EXPECT_EQ(Unquote(QStringLiteral("\"\"")), QString());
    EXPECT_EQ(Unquote(QStringLiteral("\"")), QStringLiteral("\""));
    EXPECT_EQ(Unquote(QStringLiteral(" \"a ")), QStringLiteral(" \"a "));

    const QStringList list{"Ali", "ali", "Omar"};
    EXPECT_EQ(IndexOfExact(list, QStringLiteral("ali")), 1);
    EXPECT_EQ(IndexOfExact(list, QStringLiteral("OMAR")), -1);
    EXPECT_EQ(UpperText(QStringLiteral("straße")), QStringLiteral("STRASSE"));
    EXPECT_EQ(LowerText(QStringLiteral("ÀB")), QStringLiteral("àb"));
}

} // namespace
} // namespace verdan
