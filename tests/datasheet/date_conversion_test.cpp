#include "datasheet/date_conversion.h"
#include "storage/person_fixture.h"
#include "text/localisation.h"

namespace verdan {
namespace {

TEST(DateConversion, ConvertsBoxesBetweenCalendarsKeepingUnknownParts) {
    TConvertedDate converted;
    ASSERT_EQ(ConvertDateBox({"11-03-2024", false}, TCalendar::Gregorian, converted),
              TConvertResult::Converted);
    EXPECT_EQ(converted.Box, (TDateBox{"01-09-1445", false}));
    EXPECT_EQ(converted.Shown, "1 Ramadan (9) 1445");

    ASSERT_EQ(ConvertDateBox({"01-09-1445", false}, TCalendar::Hijri, converted), TConvertResult::Converted);
    EXPECT_EQ(converted.Box, (TDateBox{"11-03-2024", false}));
    EXPECT_EQ(converted.Shown, "11 March (3) 2024");

    // A year before the Hijra: the absolute year in the box and the era box checked.
    ASSERT_EQ(ConvertDateBox({"01-01-0600", false}, TCalendar::Gregorian, converted),
              TConvertResult::Converted);
    EXPECT_TRUE(converted.Box.BeforeEra);
    EXPECT_FALSE(converted.Box.Text.contains(u"--"));
    EXPECT_TRUE(converted.Shown.endsWith(" B.h"));
    TConvertedDate back;
    ASSERT_EQ(ConvertDateBox(converted.Box, TCalendar::Hijri, back), TConvertResult::Converted);
    EXPECT_EQ(back.Box, (TDateBox{"01-01-600", false}));

    // The era box of the typed date counts.
    ASSERT_EQ(ConvertDateBox({"01-01-0600", true}, TCalendar::Gregorian, converted),
              TConvertResult::Converted);
    EXPECT_TRUE(converted.Box.BeforeEra);
    EXPECT_GT(converted.Box.Text.section(u'-', 2).toInt(), 1200);

    // Only a year known: only a year converted.
    ASSERT_EQ(ConvertDateBox({"1990", false}, TCalendar::Gregorian, converted), TConvertResult::Converted);
    EXPECT_TRUE(converted.Box.Text.startsWith("00-00-14"));
}

TEST(DateConversion, EmptyOrImpossibleBoxesConvertNothing) {
    TConvertedDate converted;
    EXPECT_EQ(ConvertDateBox({"", false}, TCalendar::Gregorian, converted), TConvertResult::Empty);
    EXPECT_EQ(ConvertDateBox({"  --  ", true}, TCalendar::Hijri, converted), TConvertResult::Empty);
    EXPECT_EQ(ConvertDateBox({"01-13-1445", false}, TCalendar::Hijri, converted), TConvertResult::Invalid);
    EXPECT_EQ(ConvertDateBox({"31-01-1445", false}, TCalendar::Hijri, converted), TConvertResult::Invalid);
    EXPECT_EQ(ConvertDateBox({"01-01-99999", false}, TCalendar::Hijri, converted), TConvertResult::Invalid);
    EXPECT_TRUE(converted.Box.Text.isEmpty());
}

TEST(DateConversion, AFullDateFillsTheOtherBoxOnlyWhenNothingIsLost) {
    using A = TPairedAction;
    const auto pair = [](const char* typed, const char* before, const char* other,
                         TCalendar calendar = TCalendar::Hijri) {
        return PairDateBoxes({typed, false}, {before, false}, {other, false}, calendar);
    };
    // An empty other box takes the conversion; 1 Ramadan 1445 is 11 March 2024.
    TPairedDate paired = pair("01-09-1445", "", "");
    EXPECT_EQ(paired.Action, A::Fill);
    EXPECT_EQ(paired.Conversion, (TDateBox{"11-03-2024", false}));
    // The other box held the conversion of the date typed before: it follows.
    EXPECT_EQ(pair("02-09-1445", "01-09-1445", "11-03-2024").Action, A::Fill);
    EXPECT_EQ(pair("02-09-1445", "01-09-1445", "11-3-2024").Action, A::Fill);
    // It holds another date the user typed: asked. It agrees already, or nothing changed: kept.
    EXPECT_EQ(pair("02-09-1445", "01-09-1445", "01-01-2000").Action, A::Ask);
    EXPECT_EQ(pair("02-09-1445", "", "01-01-2000").Action, A::Ask);
    EXPECT_EQ(pair("02-09-1445", "", "12-03-2024").Action, A::Keep);
    EXPECT_EQ(pair("01-09-1445", "01-09-1445", "").Action, A::Keep);
    // Partial dates, dates that are none and empty boxes convert nothing.
    EXPECT_EQ(pair("09-1445", "", "").Action, A::Keep);
    EXPECT_EQ(pair("1445", "", "").Action, A::Keep);
    EXPECT_EQ(pair("31-02-1445", "", "").Action, A::Keep);
    EXPECT_EQ(pair("", "01-09-1445", "11-03-2024").Action, A::Keep);
    // The other way round, with the era boxes: 1 January 600 lies before the Hijra.
    paired = PairDateBoxes({"01-01-600", false}, {}, {}, TCalendar::Gregorian);
    EXPECT_EQ(paired.Action, A::Fill);
    EXPECT_TRUE(paired.Conversion.BeforeEra);
    // A partial date before a full one: the other box held its partial conversion, and follows.
    EXPECT_EQ(pair("01-09-1445", "1445", "00-00-2024").Action, A::Fill);
    // A year, or month and year, the new date agrees with only gains its day; one it disagrees with is asked.
    EXPECT_EQ(pair("01-09-1445", "", "2024").Action, A::Fill);
    EXPECT_EQ(pair("01-09-1445", "", "03-2024").Action, A::Fill);
    EXPECT_EQ(pair("01-09-1445", "", "04-2024").Action, A::Ask);
    EXPECT_EQ(pair("01-09-1445", "", "2023").Action, A::Ask);
    // An other box that holds no date is the user's too: asked.
    EXPECT_EQ(pair("01-09-1445", "", "45-13-1741").Action, A::Ask);
}

TEST(DateCalculator, EstimatesDaysBeforeToday) {
    const QDate today(2023, 5, 15);
    EXPECT_EQ(EstimatedDate(today, {60, 0, 0}), QDate(1963, 5, 15));
    EXPECT_EQ(EstimatedDate(today, {0, 5, 14}), QDate(2022, 12, 1));
    EXPECT_FALSE(EstimatedDate(today, {3000, 0, 0}).isValid());

    TDateBox gregorian;
    TDateBox hijri;
    ASSERT_TRUE(EstimatedDateBoxes(today, {1, 0, 0}, gregorian, hijri));
    EXPECT_EQ(gregorian, (TDateBox{"15-05-2022", false}));
    // The Hijri box holds the same day as the Gregorian one.
    EXPECT_EQ(ReadDateBox(hijri, TCalendar::Hijri), 14431013);
    EXPECT_FALSE(hijri.BeforeEra);
    ASSERT_TRUE(EstimatedDateBoxes(today, {1500, 0, 0}, gregorian, hijri));
    EXPECT_TRUE(hijri.BeforeEra);

    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    QString g;
    QString h;
    EstimatedDateCaptions(today, {1, 0, 0}, g, h);
    EXPECT_EQ(g, "Sunday 15 May (5) 2022");
    EXPECT_EQ(h, "    13 Shawwal (10) 1443");
    EstimatedDateCaptions(today, {5000, 0, 0}, g, h);
    EXPECT_TRUE(g.isEmpty());
    EXPECT_TRUE(h.isEmpty());
}

class EstimatedDatesTest : public test::PersonStoreTest {};

TEST_F(EstimatedDatesTest, WritesTheEstimatedEventOnly) {
    const QDate today(2023, 5, 15);
    Put("{P}", "-1", "0", "P");
    Dm().Execute(
        "UPDATE ftPerson SET Date_of_Birth_G = 19000101, Place_of_Birth = 'Taif' WHERE Person_Id = '{P}'");
    ASSERT_EQ(WriteEstimatedDates("{P}", {}, {3, 0, 0}, today), TEstimateResult::Written);
    EXPECT_EQ(Column("{P}", "Date_of_Death_G"), "20200515");
    EXPECT_EQ(Column("{P}", "Date_of_Death_H"), "14410922");
    EXPECT_EQ(Column("{P}", "Is_Dead"), "1");
    EXPECT_EQ(Column("{P}", "Date_of_Birth_G"), "19000101");
    EXPECT_EQ(Column("{P}", "Place_of_Birth"), "Taif");

    ASSERT_EQ(WriteEstimatedDates("{P}", {60, 0, 0}, {}, today), TEstimateResult::Written);
    EXPECT_EQ(Column("{P}", "Date_of_Birth_G"), "19630515");
    EXPECT_EQ(Column("{P}", "Date_of_Death_G"), "20200515");

    // A birth estimated after the stored death is refused, and nothing of it is written.
    EXPECT_EQ(WriteEstimatedDates("{P}", {1, 0, 0}, {}, today), TEstimateResult::Contradiction);
    EXPECT_EQ(Column("{P}", "Date_of_Birth_G"), "19630515");

    EXPECT_EQ(WriteEstimatedDates("{P}", {}, {}, today), TEstimateResult::NotWritten);
    EXPECT_EQ(WriteEstimatedDates("{NOBODY}", {1, 0, 0}, {}, today), TEstimateResult::NotWritten);
    EXPECT_FALSE(PersonExists("{NOBODY}"));
}

} // namespace
} // namespace verdan
