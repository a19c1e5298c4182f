#include "calendar/date_value_gedcom.h"
#include "common/testing.h"
#include "gedcom/gedcom_reader.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

int Number(const char* text) {
    const TDateValue v = ReadGedcomDate(QString::fromUtf8(text));
    return v.Gregorian != 0 ? v.Gregorian : v.Hijri;
}

TEST(GedcomDate, JulianDatesBecomeGregorianFromTheReformOn) {
    EXPECT_EQ(Number("@#DJULIAN@ 4 OCT 1582"), 15821004) << "before the reform the column is Julian";
    EXPECT_EQ(Number("@#DJULIAN@ 5 OCT 1582"), 15821015);
    EXPECT_EQ(Number("@#DJULIAN@ 1 MAR 1200"), 12000301);
    EXPECT_EQ(Number("@#DJULIAN@ 29 FEB 1700"), 17000311) << "a Julian leap day";
    EXPECT_EQ(Number("@#DJULIAN@ FEB 1700"), 17000200);
    EXPECT_EQ(Number("@#DJULIAN@ 1700"), 17000000);
    EXPECT_EQ(Number("BEF @#DJULIAN@ 1 JAN 1700"), 17000111);
    EXPECT_EQ(Number("29 FEB 2000"), 20000229);
    EXPECT_EQ(Number("@#DHIJRI@ DHUAH 1400"), 14001200);
    for (const char* text : {"29 FEB 1900", "31 FEB 1950", "@#DHIJRI@ 1 JAN 1400", "@#DJULIAN", "0", "12345",
                             "1 2 3 1950", "12 JAN 1950 IF", "@#DFRENCH R@ 1 VEND 1"})
        EXPECT_EQ(ReadGedcomDate(QString::fromUtf8(text)).Qualifier, TDateQualifier::Text) << text;
}

// Every DATE of an event is kept: in numbers with its qualifier, or as written.
TEST(GedcomDate, EventsKeepEveryDate) {
    TGedcomData data;
    ASSERT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/dates.ged")), data));
    ASSERT_EQ(data.Persons.size(), 1u);
    QStringList kept;
    int qualified = 0;
    for (const TGEvent& event : data.Persons[0].Data.Events) {
        EXPECT_TRUE(event.HasDate());
        if (event.DateKeptAsText()) {
            kept << event.Date.Phrase;
            continue;
        }
        if (event.Date.Qualifier == TDateQualifier::Phrase)
            continue;
        EXPECT_NE(event.Date.Gregorian, 0) << event.DateText.toStdString();
        EXPECT_NE(event.Date.Hijri, 0) << event.DateText.toStdString();
        qualified += event.Date.Qualifier != TDateQualifier::Exact;
    }
    EXPECT_EQ(kept, (QStringList{"SPRING 1950", "31 FEB 1950", "29 FEB 1900", "@#DHEBREW@ 1 TSH 5780"}));
    EXPECT_EQ(qualified, 8);
}

// Our export's Hijri line gives back both numbers as the tree had them.
TEST(GedcomDate, TheHijriLineUnderADateIsTheTreesOwn) {
    const QByteArray text =
        "0 HEAD\n1 SOUR VERDAN\n0 @I1@ INDI\n"
        "1 BIRT\n2 DATE 11 MAR 2024\n"                               // converted
        "1 DEAT\n2 DATE 11 MAR 2024\n3 _HIJR\n"                      // no Hijri date
        "1 BURI\n2 DATE ABT 11 MAR 2024\n3 _HIJR ABT 2 RAMAD 1445\n" // a Hijri date of its own
        "1 EVEN\n2 DATE BET 1717 AND 1718\n3 _HIJRONLY 1130\n"       // only the Hijri date
        "1 EVEN\n2 DATE (spring)\n3 _HIJR 1130\n"
        "0 TRLR\n";
    TGedcomData data;
    ASSERT_TRUE(ParseGedcomRecords(text, data));
    const TGEvents& events = data.Persons[0].Data.Events;
    ASSERT_EQ(events.size(), 5);
    EXPECT_EQ(events[0].Date.Gregorian, 20240311);
    EXPECT_EQ(events[0].Date.Hijri, 14450901);
    EXPECT_EQ(events[1].Date.Gregorian, 20240311);
    EXPECT_EQ(events[1].Date.Hijri, 0);
    EXPECT_EQ(events[2].Date.Qualifier, TDateQualifier::About);
    EXPECT_EQ(events[2].Date.Hijri, 14450902);
    EXPECT_EQ(events[3].Date.Gregorian, 0);
    EXPECT_EQ(events[3].Date.Hijri, 11300000);
    EXPECT_EQ(events[3].Date.Qualifier, TDateQualifier::Exact);
    EXPECT_EQ(events[4].Date.Qualifier, TDateQualifier::Phrase);
    EXPECT_EQ(events[4].Date.Hijri, 0);
}

} // namespace
} // namespace verdan
