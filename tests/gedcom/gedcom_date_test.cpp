#include "common/testing.h"
#include "gedcom/gedcom_date.h"
#include "gedcom/gedcom_reader.h"
#include "text/localisation.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

qint32 Number(const char* text) {
    return ParseGedcomDate(QString::fromUtf8(text)).Number;
}

TEST(GedcomDate, ReadsExactAndApproximateDates) {
    EXPECT_EQ(Number("12 JAN 1950"), 19500112);
    EXPECT_EQ(Number("5 mar 1950"), 19500305);
    EXPECT_EQ(Number("JAN 1950"), 19500100);
    EXPECT_EQ(Number("1950"), 19500000);
    EXPECT_EQ(Number("  850 "), 8500000);
    EXPECT_EQ(Number("ABT 1950"), 19500000);
    EXPECT_EQ(Number("ABT    1950"), 19500000);
    EXPECT_EQ(Number("CAL 12 MAR 1950"), 19500000);
    EXPECT_EQ(Number("EST 1950"), 19500000);
    EXPECT_EQ(Number("29 FEB 2000"), 20000229);
    EXPECT_EQ(Number("@#DGREGORIAN@ 1 JAN 2000"), 20000101);
}

TEST(GedcomDate, GivesNoNumberForWhatANumberCannotHold) {
    for (const char* text : {"BEF 1950",
                             "AFT 1950",
                             "BET 1950 AND 1960",
                             "FROM 1950 TO 1960",
                             "TO 1960",
                             "INT 1950 (about then)",
                             "(sometime in spring)",
                             "1750/51",
                             "10 JAN 1750/51",
                             "44 B.C.",
                             "44 BC",
                             "SPRING 1950",
                             "31 FEB 1950",
                             "29 FEB 1900",
                             "0 JAN 1950",
                             "0",
                             "12345",
                             "1 2 3 1950",
                             "",
                             "@#DHEBREW@ 1 TSH 5780",
                             "@#DFRENCH R@ 1 VEND 1",
                             "@#DJULIAN",
                             "ABT",
                             "12 JAN 1950 IF"})
        EXPECT_EQ(Number(text), 0) << text;
}

TEST(GedcomDate, KeepsHijriDatesInTheirCalendarAndConvertsJulianDates) {
    const TVerdan_Date hijri = ParseGedcomDate(u"@#DHIJRI@ 1 RAMAD 1445");
    EXPECT_EQ(hijri.Calendar, TGedCalendar::Hijri);
    EXPECT_EQ(hijri.Number, 14450901);
    EXPECT_EQ(Number("@#DHIJRI@ DHUAH 1400"), 14001200);
    EXPECT_EQ(Number("ABT @#DHIJRI@ MUHAR 1400"), 14000000);
    EXPECT_EQ(Number("@#DHIJRI@ 1 JAN 1400"), 0) << "a Gregorian month in a Hijri date";
    EXPECT_EQ(ParseGedcomDate(u"12 JAN 1950").Calendar, TGedCalendar::Gregorian);

    EXPECT_EQ(Number("@#DJULIAN@ 4 OCT 1582"), 15821004) << "before the reform the column is Julian";
    EXPECT_EQ(Number("@#DJULIAN@ 5 OCT 1582"), 15821015);
    EXPECT_EQ(Number("@#DJULIAN@ 1 MAR 1200"), 12000301);
    EXPECT_EQ(Number("@#DJULIAN@ 1 JAN 1700"), 17000111);
    EXPECT_EQ(Number("@#DJULIAN@ 29 FEB 1700"), 17000311) << "a Julian leap day";
    EXPECT_EQ(Number("@#DJULIAN@ FEB 1700"), 17000200);
    EXPECT_EQ(Number("@#DJULIAN@ 1700"), 17000000);

    int year = 1582, month = 10, day = 5;
    JulianToGregorian(year, month, day);
    EXPECT_EQ(year * 10000 + month * 100 + day, 15821015);
}

TEST(GedcomDate, EventsKeepTheTextOfDatesWithoutNumber) {
    TGedcomData data;
    ASSERT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/dates.ged")), data));
    ASSERT_EQ(data.Persons.size(), 1u);
    int kept = 0;
    for (const TGEvent& event : data.Persons[0].Data.Events) {
        EXPECT_TRUE(event.HasDate());
        if (event.DateKeptAsText())
            ++kept;
        else
            EXPECT_GT(event.Date.Number, 0) << event.DateText.toStdString();
    }
    EXPECT_EQ(kept, 12);
}

TEST(GedcomDate, NotesShowDatesReadablyWithTheirEraAndNoEscapes) {
    const auto readable = [](const char* text) {
        return ReadableGedcomDate(QString::fromUtf8(text));
    };
    EXPECT_EQ(readable("@#DHIJRI@ 1180"), "1180 AH");
    EXPECT_EQ(readable("@#DHIJRI@ 1 RAMAD 1445"), "01-09-1445 AH");
    EXPECT_EQ(readable("12 JAN 1950"), "12-01-1950 AD");
    EXPECT_EQ(readable("@#DJULIAN@ 5 OCT 1582"), "15-10-1582 AD");
    EXPECT_EQ(readable("BEF 1950"), "before 1950 AD");
    EXPECT_EQ(readable("ABT MAR 1950"), "about 03-1950 AD");
    EXPECT_EQ(readable("BET 1950 AND 1960"), "between 1950 AD and 1960 AD");
    EXPECT_EQ(readable("FROM @#DHIJRI@ 1400 TO @#DHIJRI@ 1410"), "from 1400 AH to 1410 AH");
    EXPECT_EQ(readable("INT 1950 (about then)"), "interpreted 1950 AD (about then)");
    // What is no date of either calendar stays as written, without its escape.
    EXPECT_EQ(readable("(sometime in spring)"), "(sometime in spring)");
    EXPECT_EQ(readable("44 B.C."), "44 B.C.");
    EXPECT_EQ(readable("1750/51"), "1750/51");
    EXPECT_EQ(readable("@#DHEBREW@ 1 TSH 5780"), "1 TSH 5780");
    EXPECT_EQ(readable(""), "");

    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/arabic.local")));
    EXPECT_EQ(readable("@#DHIJRI@ 1180"), u"1180 هـ"_qs);
    EXPECT_EQ(readable("BEF 1950"), u"قبل 1950 م"_qs);
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/english.local")));
}

} // namespace
} // namespace verdan
