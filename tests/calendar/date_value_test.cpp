#include "calendar/date_convert.h"
#include "calendar/date_value.h"
#include "calendar/date_value_gedcom.h"
#include "calendar/date_value_text.h"
#include "text/localisation.h"

#include <gtest/gtest.h>

using namespace verdan;

namespace {

using Q = TDateQualifier;

TDateValue Value(Q qualifier, int gregorian, int gregorian2 = 0, const QString& phrase = QString()) {
    TDateValue v;
    v.Qualifier = qualifier;
    v.Gregorian = gregorian;
    v.Gregorian2 = gregorian2;
    v.Phrase = phrase;
    return v;
}

TDateValue Hijri(Q qualifier, int hijri, int hijri2 = 0) {
    TDateValue v;
    v.Qualifier = qualifier;
    v.Hijri = hijri;
    v.Hijri2 = hijri2;
    return v;
}

TDateValue Gedcom(const char* text, bool hijri = false) {
    return ReadGedcomDate(QString::fromUtf8(text), hijri);
}

class LanguageRestored : public ::testing::Test {
protected:
    void TearDown() override { LoadLanguage(LangsFolder() + QStringLiteral("english.local")); }
};

} // namespace

// Every form of a 5.5.1 date keeps its day and month, its qualifier and its second date, and is written
// back in the same words.
TEST(DateValueGedcom, ReadsAndWritesEveryForm) {
    struct Case {
        const char* text;
        TDateValue value;
    };
    TDateValue dual = Value(Q::Exact, 16380123);
    dual.DualYear = 1637;
    TDateValue dualRange = Value(Q::Between, 16380000, 17000000);
    dualRange.DualYear = 1637;
    dualRange.DualYear2 = 1699;
    const Case cases[] = {
        {"15 AUG 1316", Value(Q::Exact, 13160815)},
        {"ABT 15 AUG 1316", Value(Q::About, 13160815)},
        {"CAL MAR 1850", Value(Q::Calculated, 18500300)},
        {"EST 1850", Value(Q::Estimated, 18500000)},
        {"BEF 1950", Value(Q::Before, 19500000)},
        {"AFT 2 JAN 1950", Value(Q::After, 19500102)},
        {"BET 1850 AND 3 FEB 1855", Value(Q::Between, 18500000, 18550203)},
        {"FROM 1900 TO 1910", Value(Q::FromTo, 19000000, 19100000)},
        {"FROM 1900", Value(Q::From, 19000000)},
        {"TO 1910", Value(Q::To, 19100000)},
        {"INT 5 JUN 1850 (Whitsunday 1850)",
         Value(Q::Interpreted, 18500605, 0, QStringLiteral("Whitsunday 1850"))},
        {"(in the year of the flood)", Value(Q::Phrase, 0, 0, QStringLiteral("in the year of the flood"))},
        {"23 JAN 1637/38", dual},
        {"BET 1637/38 AND 1699/00", dualRange},
        {"44 B.C.", Value(Q::Exact, -440000)},
        {"ABT 15 MAR 44 B.C.", Value(Q::About, -440315)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Gedcom(c.text), c.value);
        // Dates before the reform are Julian ones and say so; the rest come back as they were.
        QString written = GedcomDateText(c.value);
        written.remove(QStringLiteral("@#DJULIAN@ "));
        EXPECT_EQ(written, QString::fromUtf8(c.text));
        EXPECT_EQ(ReadGedcomDate(GedcomDateText(c.value)), c.value);
    }
}

TEST(DateValueGedcom, CalendarsAndOtherSpellings) {
    // The Hijri calendar fills the Hijri numbers; the Julian one from the reform on becomes Gregorian.
    EXPECT_EQ(Gedcom("@#DHIJRI@ 1 RAMAD 1445"), Hijri(Q::Exact, 14450901));
    EXPECT_EQ(Gedcom("ABT @#DHIJRI@ 1130"), Hijri(Q::About, 11300000));
    EXPECT_EQ(Gedcom("@#DJULIAN@ 1 JAN 1700"), Value(Q::Exact, 17000111));
    EXPECT_EQ(Gedcom("@#DJULIAN@ 1 JAN 1500"), Value(Q::Exact, 15000101));
    EXPECT_EQ(Gedcom("BET @#DJULIAN@ 1 JAN 1500 AND @#DGREGORIAN@ 1600"),
              Value(Q::Between, 15000101, 16000000));
    // The Hijri line beside a DATE names no calendar.
    EXPECT_EQ(Gedcom("1 RAMAD 1445", true), Hijri(Q::Exact, 14450901));
    EXPECT_EQ(Gedcom("BET 5 B.C. AND 3", true), Hijri(Q::Between, -50000, 30000));
    // Letter case and the spelled-out qualifiers some writers use.
    EXPECT_EQ(Gedcom("abt 3 feb 1901"), Value(Q::About, 19010203));
    EXPECT_EQ(Gedcom("Abt. 1901"), Value(Q::About, 19010000));
    EXPECT_EQ(Gedcom("between 1850 and 1860"), Value(Q::Between, 18500000, 18600000));
    EXPECT_EQ(Gedcom("1699/1700"), [] {
        TDateValue v = Value(Q::Exact, 17000000);
        v.DualYear = 1699;
        return v;
    }());
}

TEST(DateValueGedcom, WhatIsNoDateIsKeptAsWritten) {
    for (const char* text :
         {"30 FEB 1950", "@#DHEBREW@ 1 TSH 5700", "Spring 1850", "BET 1850", "ABT", "1950/51 B.C.", "1637/39",
          "INT 1850 (unclosed", "32 JAN 1900", "1 RAMAD 1445", "0 JAN 1900", "1850 AND 1860"}) {
        SCOPED_TRACE(text);
        const TDateValue v = Gedcom(text);
        EXPECT_EQ(v.Qualifier, Q::Text);
        EXPECT_EQ(v.Phrase, QString::fromUtf8(text));
        EXPECT_FALSE(HasDateNumbers(v));
        EXPECT_EQ(GedcomDateText(v), QString::fromUtf8(text));
    }
    EXPECT_TRUE(IsEmptyDate(Gedcom("  ")));
}

TEST(DateValueGedcom, HijriSideAndStandIn) {
    TDateValue both = Value(Q::About, 20240311);
    both.Hijri = 14450901;
    EXPECT_EQ(GedcomDateText(both), QStringLiteral("ABT 11 MAR 2024"));
    EXPECT_EQ(GedcomDateText(both, true), QStringLiteral("ABT 1 RAMAD 1445"));
    EXPECT_EQ(GedcomDateText(Hijri(Q::Exact, -30000), true), QStringLiteral("3 B.C."));
    EXPECT_EQ(GedcomDateText(Hijri(Q::Exact, 14450901)), QString());

    // A Hijri date alone becomes the Gregorian days it spans, which every reader understands.
    const auto standIn = [](const TDateValue& v) {
        return GedcomDateText(GregorianStandIn(v));
    };
    EXPECT_EQ(standIn(Hijri(Q::Exact, 14450901)), QStringLiteral("11 MAR 2024"));
    EXPECT_EQ(standIn(Hijri(Q::Exact, 14450900)), QStringLiteral("BET 11 MAR 2024 AND 9 APR 2024"));
    EXPECT_EQ(standIn(Hijri(Q::Exact, 11300000)), QStringLiteral("BET 1717 AND 1718"));
    EXPECT_EQ(standIn(Hijri(Q::About, 11300000)), QStringLiteral("ABT 1718"));
    EXPECT_EQ(standIn(Hijri(Q::Before, 11300000)), QStringLiteral("BEF 5 DEC 1717"));
    EXPECT_EQ(standIn(Hijri(Q::After, 11300000)), QStringLiteral("AFT 23 NOV 1718"));
    EXPECT_EQ(standIn(Hijri(Q::Between, 11300000, 11320000)), QStringLiteral("BET 1717 AND 1720"));
    // The stand-in and the Hijri date name the same days.
    for (const TDateValue& v :
         {Hijri(Q::Exact, 11300000), Hijri(Q::Exact, 14450900), Hijri(Q::Before, 11300000)})
        EXPECT_TRUE(CouldBeSameDay(v, GregorianStandIn(v)));
}

TEST(DateValue, CouldBeTheSameDay) {
    const TDateValue ramadan = Hijri(Q::Exact, 14450901);
    EXPECT_TRUE(CouldBeSameDay(ramadan, Value(Q::Exact, 20240311)));
    EXPECT_FALSE(CouldBeSameDay(ramadan, Value(Q::Exact, 20240312)));
    EXPECT_TRUE(CouldBeSameDay(ramadan, Value(Q::Exact, 20240312), 1));
    EXPECT_TRUE(CouldBeSameDay(ramadan, Value(Q::Exact, 20240300)));
    EXPECT_TRUE(CouldBeSameDay(Value(Q::Before, 18000000), Value(Q::Exact, 17500101)));
    EXPECT_TRUE(CouldBeSameDay(Value(Q::Before, 18000000), Value(Q::Exact, 18001231)));
    EXPECT_FALSE(CouldBeSameDay(Value(Q::Before, 18000000), Value(Q::Exact, 18010101)));
    EXPECT_TRUE(CouldBeSameDay(Value(Q::After, 18000000), Value(Q::Exact, 19000101)));
    EXPECT_FALSE(CouldBeSameDay(Value(Q::After, 18000000), Value(Q::Exact, 17991231)));
    EXPECT_TRUE(CouldBeSameDay(Value(Q::About, 18000000), Value(Q::Exact, 18040000)));
    EXPECT_FALSE(CouldBeSameDay(Value(Q::About, 18000000), Value(Q::Exact, 18070000)));
    EXPECT_TRUE(CouldBeSameDay(Value(Q::Between, 18000000, 18100000), Value(Q::Exact, 18101231)));
    EXPECT_FALSE(CouldBeSameDay(Value(Q::Between, 18000000, 18100000), Value(Q::Exact, 18110101)));
    EXPECT_TRUE(
        CouldBeSameDay(Value(Q::Phrase, 0, 0, QStringLiteral("long ago")), Value(Q::Exact, 18110101)));
    EXPECT_TRUE(CouldBeSameDay(TDateValue(), Value(Q::Exact, 18110101)));
    // Before the era years count back: 10 B.C. lies before 5 B.C.
    EXPECT_FALSE(CouldBeSameDay(Value(Q::Before, -100000), Value(Q::Exact, -50000)));
    EXPECT_TRUE(CouldBeSameDay(Value(Q::After, -100000), Value(Q::Exact, -50000)));

    TDateValue disagree = Value(Q::Exact, 20240311);
    disagree.Hijri = 14450902;
    EXPECT_FALSE(CalendarsAgree(disagree));
    EXPECT_TRUE(CalendarsAgree(disagree, 1));
    disagree.Hijri = 14450900;
    EXPECT_TRUE(CalendarsAgree(disagree));
}

TEST(DateValue, SortsByTheFirstDate) {
    const TDateValue values[] = {
        Value(Q::Before, 17990000),
        Value(Q::Exact, 18000000),
        Value(Q::Exact, 18000315),
        Hijri(Q::Exact, 12150000), // 1800-05-25 .. 1801-05-13
        Value(Q::After, 18010000),
        TDateValue(),
        Value(Q::Phrase, 0, 0, QStringLiteral("x")),
    };
    for (size_t i = 0; i + 1 < std::size(values); ++i)
        EXPECT_LE(DateSortKey(values[i]), DateSortKey(values[i + 1])) << i;
    EXPECT_LT(DateSortKey(values[2]), DateSortKey(values[3]));
    EXPECT_EQ(DateSortKey(TDateValue()), kUndatedSortKey);
}

TEST(DateValue, ConversionAndNormalising) {
    const TDateValue both = WithBothCalendars(Value(Q::Between, 20240311, 20240400));
    EXPECT_EQ(both.Hijri, 14450901);
    EXPECT_EQ(both.Hijri2, 14450900);
    EXPECT_EQ(WithBothCalendars(Hijri(Q::Exact, 11300000)).Gregorian, 17180000);

    TDateValue v = Value(Q::Before, 19500000, 19600000, QStringLiteral("words"));
    v.DualYear = 1900;
    const TDateValue n = NormalisedDate(v);
    EXPECT_EQ(n.Gregorian2, 0);
    EXPECT_TRUE(n.Phrase.isEmpty());
    EXPECT_EQ(n.DualYear, 0);
    TDateValue dual = Value(Q::Exact, 16380000);
    dual.DualYear = 1637;
    EXPECT_EQ(NormalisedDate(dual), dual);
    EXPECT_EQ(NormalisedDate(Value(Q::About, 0)), TDateValue());
    EXPECT_EQ(QualifierOf(99), Q::Exact);
    EXPECT_EQ(QualifierOf(6), Q::Between);
}

TEST_F(LanguageRestored, DisplayTextMarksQualifierCalendarAndEra) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    TDateValue v = WithBothCalendars(Value(Q::About, 20240311));
    EXPECT_EQ(DateValueText(v, TDateShown::Gregorian), QStringLiteral("about 11-03-2024 G"));
    EXPECT_EQ(DateValueText(v, TDateShown::Hijri), QStringLiteral("about 01-09-1445 H"));
    EXPECT_EQ(DateValueText(v), QStringLiteral("about 11-03-2024 G / about 01-09-1445 H"));
    EXPECT_EQ(DateValueShownText(v), DateValueText(v));
    EXPECT_EQ(DateValueText(Value(Q::Between, 18500000, 18550203), TDateShown::Gregorian),
              QStringLiteral("between 1850 G and 03-02-1855 G"));
    EXPECT_EQ(DateValueText(Value(Q::Exact, -440000)), QStringLiteral("44 B.c"));
    TDateValue dual = Value(Q::Exact, 16380123);
    dual.DualYear = 1637;
    EXPECT_EQ(DateValueText(dual), QStringLiteral("23-01-1637/38 G"));
    EXPECT_EQ(DateValueText(Value(Q::Phrase, 0, 0, QStringLiteral("spring"))), QStringLiteral("(spring)"));
    EXPECT_EQ(DateValueText(Value(Q::Text, 0, 0, QStringLiteral("@#DHEBREW@ 5700"))),
              QStringLiteral("@#DHEBREW@ 5700"));
    EXPECT_EQ(DateValueText(TDateValue()), QString());

    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    EXPECT_EQ(DateValueText(v, TDateShown::Gregorian), QStringLiteral("حوالي 11-03-2024 م"));
    EXPECT_EQ(DateValueText(Value(Q::Before, 19500000)), QStringLiteral("قبل 1950 م"));
    // On screen, a mark keeps day, month and year in their order after an Arabic word; data texts have none.
    EXPECT_EQ(DateValueShownText(v), QStringLiteral("حوالي \u200E11-03-2024 م / حوالي \u200E01-09-1445 هـ"));
    EXPECT_EQ(DateValueShownText(Value(Q::Before, 19500000)), QStringLiteral("قبل 1950 م"));
    EXPECT_EQ(DateValueText(Hijri(Q::Exact, -50000)), QStringLiteral("5 ق.هـ"));
    EXPECT_EQ(DateQualifierName(Q::About), QStringLiteral("حوالي"));
}
