#include "calendar/date_numbers.h"
#include "datasheet/date_boxes.h"
#include "text/localisation.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

TDateBoxes Boxes(const QString& birthG, const QString& deathG, const QString& birthH = {},
                 const QString& deathH = {}) {
    TDateBoxes boxes;
    boxes.BirthG.Text = birthG;
    boxes.DeathG.Text = deathG;
    boxes.BirthH.Text = birthH;
    boxes.DeathH.Text = deathH;
    return boxes;
}

TEST(DateBoxes, ShowStoredNumbersWithTheirEraAndReadBackWithTheirOwnReader) {
    EXPECT_EQ(DateBoxOf(-5000101), (TDateBox{"01-01-500", true}));
    EXPECT_EQ(DateBoxOf(19900315), (TDateBox{"15-03-1990", false}));
    EXPECT_EQ(DateBoxOf(0), (TDateBox{"", false}));

    EXPECT_EQ(ReadDateBox({"01-01-500", true}, TCalendar::Gregorian), -5000101);
    EXPECT_EQ(ReadDateBox({"15/3/1990", false}, TCalendar::Gregorian), 19900315);
    // The Gregorian reader repairs a month above 12; the Hijri one keeps what was typed.
    EXPECT_EQ(ReadDateBox({"5-13-1445", false}, TCalendar::Gregorian), 14450305);
    EXPECT_EQ(ReadDateBox({"5-13-1445", false}, TCalendar::Hijri), 14451305);
    EXPECT_EQ(ReadDateBox({"", true}, TCalendar::Hijri), 0);

    TPerson person;
    person.Date_of_Birth_G = -5000101;
    person.Date_of_Death_H = 14450901;
    person.Place_of_Death = "Makkah";
    person.Is_Dead = true;
    TPerson back;
    ApplyDateBoxes(DateBoxesOf(person), back);
    EXPECT_EQ(back.Date_of_Birth_G, -5000101);
    EXPECT_EQ(back.Date_of_Birth_H, 0);
    EXPECT_EQ(back.Date_of_Death_H, 14450901);
    EXPECT_EQ(back.Place_of_Death, "Makkah");
    EXPECT_TRUE(back.Is_Dead);
}

TEST(DateBoxes, ComparisonHonoursErasAndNeverGuessesUnknownParts) {
    EXPECT_LT(CompareDateNumbers(-5000101, -4500101), 0); // 500 before the era comes before 450
    EXPECT_LT(CompareDateNumbers(-5000101, -5001231), 0); // same year: January before December
    EXPECT_LT(CompareDateNumbers(MakeDateNumber(-1, 12, 31), MakeDateNumber(1, 1, 1)), 0);
    EXPECT_GT(CompareDateNumbers(19900315, 19800110), 0);
    EXPECT_EQ(CompareDateNumbers(19900000, 19900315), 0);
    EXPECT_EQ(CompareDateNumbers(19900300, 19900315), 0);
    EXPECT_LT(CompareDateNumbers(19900200, 19900315), 0);

    DateSpan span = SignedDateDifference(MakeDateNumber(-10, 1, 1), MakeDateNumber(10, 1, 1));
    EXPECT_EQ(span.Years, 20);
    span = SignedDateDifference(19900101, 20230515);
    EXPECT_EQ(span.Years, 33);
    EXPECT_EQ(span.Months, 4);
    EXPECT_EQ(span.Days, 14);
}

TEST(DateBoxes, ConflictComparesSignedDatesOfEachCalendar) {
    TDateBoxes boxes = Boxes("15-03-1990", "10-01-1980");
    TPerson person;
    ApplyDateBoxes(boxes, person);
    EXPECT_EQ(FindDateConflict(person), TDateConflict::Gregorian);

    // Born 500 before the era, died 450 before it: no conflict, though 4500101 < 5000101.
    boxes = Boxes("01-01-500", "01-01-450");
    boxes.BirthG.BeforeEra = boxes.DeathG.BeforeEra = true;
    ApplyDateBoxes(boxes, person);
    EXPECT_EQ(FindDateConflict(person), TDateConflict::None);
    boxes.BirthG.BeforeEra = false;
    ApplyDateBoxes(boxes, person);
    EXPECT_EQ(FindDateConflict(person), TDateConflict::Gregorian);

    // Hijri boxes read with the Hijri reader: a five-digit year is kept, so 10-1-14450 is after 1445.
    boxes = Boxes("", "", "01-01-14450", "10-01-1445");
    ApplyDateBoxes(boxes, person);
    EXPECT_EQ(FindDateConflict(person), TDateConflict::Hijri);
    boxes = Boxes("", "", "10-01-5", "01-01-3");
    boxes.BirthH.BeforeEra = true;
    ApplyDateBoxes(boxes, person);
    EXPECT_EQ(FindDateConflict(person), TDateConflict::None);

    // A death year without month does not contradict a birth in that year.
    EXPECT_EQ(FindDateConflict(19900315, 19900000, 0, 0), TDateConflict::None);
    EXPECT_EQ(FindDateConflict(19900315, 0, 14100101, 14000101), TDateConflict::Hijri);
}

class DateInfoTest : public ::testing::Test {
protected:
    void TearDown() override { LoadLanguage(LangsFolder() + QStringLiteral("english.local")); }
    const QDate today{2023, 5, 15};
};

TEST_F(DateInfoTest, SpansAndWarningsFollowTheBoxes) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    TDateInfo info = ComputeDateInfo(Boxes("01-01-1990", ""), "m", today);
    EXPECT_TRUE(info.ShowBirthSince);
    EXPECT_EQ(info.Born.Years, 33);
    EXPECT_EQ(info.Born.Months, 4);
    EXPECT_EQ(info.Born.Days, 14);
    EXPECT_EQ(info.BirthSince, "Born 33 year(s), 4 month(s), 14 day(s) ago");
    EXPECT_FALSE(info.ShowDeathSince);
    EXPECT_FALSE(info.DeathKnown);
    EXPECT_TRUE(info.Error.isEmpty());

    info = ComputeDateInfo(Boxes("15-03-1990", "10-01-1980"), "m", today);
    EXPECT_EQ(info.Error, "Gregorian Dates: Birth date greater than death date.");
    EXPECT_TRUE(info.DeathKnown);
    EXPECT_TRUE(info.Lived.isEmpty());

    info = ComputeDateInfo(Boxes("01-03-1900", "01-01-1960"), "m", today);
    EXPECT_EQ(info.Lived, "Lived 59 Year 10 Month");
    EXPECT_EQ(info.DeathSince, "Died 63 year(s), 4 month(s), 14 day(s) ago");

    // Only a Hijri birth: counted against today's Hijri date (24 Shawwal 1444).
    info = ComputeDateInfo(Boxes("", "", "24-10-1434"), "m", today);
    EXPECT_TRUE(info.ShowBirthSince);
    EXPECT_EQ(info.BirthSince, "Born 10 year(s) ago");

    TDateBoxes placeOnly;
    placeOnly.Place_of_Death = " Cairo ";
    EXPECT_TRUE(ComputeDateInfo(placeOnly, "m", today).DeathKnown);
    EXPECT_FALSE(ComputeDateInfo(TDateBoxes(), "m", today).ShowBirthSince);
}

TEST_F(DateInfoTest, WomenGetTheFeminineTexts) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    const TDateBoxes boxes = Boxes("01-01-1990", "");
    EXPECT_EQ(ComputeDateInfo(boxes, "f", today).BirthSince,
              QStringLiteral(u"ولدت قبل 33 سنة و4 شهر و14 يوم"));
    EXPECT_EQ(ComputeDateInfo(boxes, "m", today).BirthSince,
              QStringLiteral(u"ولد قبل 33 سنة و4 شهر و14 يوم"));
    EXPECT_EQ(TodayHijriNumber(today), 14441024);
    EXPECT_EQ(TodayGregorianNumber(today), 20230515);
}

} // namespace
} // namespace verdan
