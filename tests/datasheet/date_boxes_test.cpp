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
    // A box that holds no day of its calendar is never read as some other day.
    EXPECT_EQ(ReadDateBox({"5-13-1445", false}, TCalendar::Gregorian), 0);
    EXPECT_EQ(ReadDateBox({"5-13-1445", false}, TCalendar::Hijri), 0);
    EXPECT_EQ(ReadDateBox({"١٥-٠٦-١١٥٤", false}, TCalendar::Hijri), 11540615);
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

TEST(DateBoxes, OnlyDaysOfTheirCalendarAreDates) {
    const auto gregorian = [](const char16_t* text, bool era = false) {
        return CheckDateBox({QString::fromUtf16(text), era}, TCalendar::Gregorian);
    };
    const auto hijri = [](const char16_t* text) {
        return CheckDateBox({QString::fromUtf16(text), false}, TCalendar::Hijri);
    };
    for (const char16_t* text :
         {u"", u"  --  ", u"1445", u"03-1445", u"00-00-1445", u"15/3/1445", u"15 3 1445", u"15.3.1445",
          u"29-02-2000", u"29-02-1500", u"04-10-1582", u"15-10-1582"})
        EXPECT_EQ(gregorian(text), TDateProblem::None) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(gregorian(u"45-13-1741"), TDateProblem::NoSuchMonth);
    EXPECT_EQ(gregorian(u"15-3"), TDateProblem::NoSuchMonth) << "month and year: 15 is no month";
    EXPECT_EQ(gregorian(u"31-04-1990"), TDateProblem::NoSuchDay);
    EXPECT_EQ(gregorian(u"29-02-1900"), TDateProblem::NoSuchDay) << "no leap year after 1582";
    EXPECT_EQ(gregorian(u"10-10-1582"), TDateProblem::NoSuchDay) << "skipped by the calendar reform";
    EXPECT_EQ(gregorian(u"32-00-1990"), TDateProblem::NoSuchDay);
    EXPECT_EQ(gregorian(u"01-01-0"), TDateProblem::NoSuchYear);
    EXPECT_EQ(gregorian(u"45/2/20233"), TDateProblem::NoSuchYear) << "never cut to 2023";
    for (const char16_t* text :
         {u"abc", u"15-3-1445x", u"15--3-1445", u"1-2-3-1445", u"-1445", u"१५-०६-११५४"})
        EXPECT_EQ(gregorian(text), TDateProblem::Unreadable) << QString::fromUtf16(text).toStdString();

    EXPECT_EQ(hijri(u"١٥-٠٦-١١٥٤"), TDateProblem::None);
    EXPECT_EQ(hijri(u"۱۵-۰۶-۱۱۵۴"), TDateProblem::None);
    EXPECT_EQ(hijri(u"29-02-1445"), TDateProblem::None);
    EXPECT_EQ(hijri(u"30-02-1445"), TDateProblem::NoSuchDay) << "Safar has 29 days";
    EXPECT_EQ(hijri(u"30-12-1445"), TDateProblem::None) << "a leap year";
    EXPECT_EQ(hijri(u"30-12-1444"), TDateProblem::NoSuchDay);
    EXPECT_EQ(hijri(u"05-13-1445"), TDateProblem::NoSuchMonth);
}

TEST(DateBoxes, AProblemNamesTheBoxWhatWasTypedAndWhy) {
    TDateBoxes loaded = Boxes("", "", "", "");
    loaded.DeathH.Text = "30-02-1400"; // stored long ago: not the user's typing
    TDateBoxes edited = loaded;
    EXPECT_FALSE(FindDateProblem(loaded, edited).has_value());

    edited.DeathG.Text = "45-13-1741";
    std::optional<TDateBoxProblem> problem = FindDateProblem(loaded, edited);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->Box, TDateBoxId::DeathG);
    EXPECT_EQ(problem->Problem, TDateProblem::NoSuchMonth);
    const QString text = DateProblemText(*problem);
    EXPECT_TRUE(text.startsWith("Death Date (Gregorian): \"")) << text.toStdString();
    EXPECT_TRUE(text.contains("45-13-1741"));
    EXPECT_TRUE(text.endsWith("is not a date: a year has 12 months."));

    edited.DeathG.Text.clear();
    edited.BirthH.Text = "30-02-1445";
    problem = FindDateProblem(loaded, edited);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(DateProblemText(*problem).startsWith("Birth Date (Hijri): "));
    EXPECT_TRUE(DateProblemText(*problem).endsWith("this month has 29 days."));
    edited.BirthH.Text = "10-10-1582";
    edited.BirthG.Text = "10-10-1582";
    EXPECT_TRUE(DateProblemText(*FindDateProblem(loaded, edited)).contains("5 to 14 October 1582"));
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

    // The Hijri boxes are compared when the Gregorian ones do not tell.
    boxes = Boxes("", "", "01-01-1446", "10-01-1445");
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
    EXPECT_EQ(info.BirthSince, "Born 33 years, 4 months, 14 days ago");
    EXPECT_FALSE(info.ShowDeathSince);
    EXPECT_FALSE(info.DeathKnown);
    EXPECT_TRUE(info.Error.isEmpty());

    info = ComputeDateInfo(Boxes("15-03-1990", "10-01-1980"), "m", today);
    EXPECT_EQ(info.Error, "Gregorian Dates: Birth date greater than death date.");
    EXPECT_TRUE(info.DeathKnown);
    EXPECT_TRUE(info.Lived.isEmpty());

    info = ComputeDateInfo(Boxes("01-03-1900", "01-01-1960"), "m", today);
    EXPECT_EQ(info.Lived, "Lived 59 years 10 months");
    EXPECT_EQ(info.DeathSince, "Died 63 years, 4 months, 14 days ago");

    // Only a Hijri birth: counted against today's Hijri date (24 Shawwal 1444), in Hijri years.
    info = ComputeDateInfo(Boxes("", "", "24-10-1434"), "m", today);
    EXPECT_TRUE(info.ShowBirthSince);
    EXPECT_EQ(info.BirthSince, "Born 10 Hijri years ago");
    info = ComputeDateInfo(Boxes("14-04-2022", ""), "m", today);
    EXPECT_EQ(info.BirthSince, "Born 1 year, 1 month, 1 day ago");

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
              QStringLiteral(u"ولدت قبل 33 سنة و4 أشهر و14 يوماً"));
    EXPECT_EQ(ComputeDateInfo(boxes, "m", today).BirthSince,
              QStringLiteral(u"ولد قبل 33 سنة و4 أشهر و14 يوماً"));
    // A gender stored in Arabic counts too; a lifetime reads with its counted nouns.
    EXPECT_EQ(ComputeDateInfo(Boxes("01-03-1900", "01-01-1960"), u"أنثى"_qs, today).Lived,
              QStringLiteral(u"عاشت 59 سنة و10 أشهر"));
    EXPECT_EQ(ComputeDateInfo(Boxes("01-03-1900", "01-05-1902"), "m", today).Lived,
              QStringLiteral(u"عاش سنتين وشهرين"));
    EXPECT_EQ(TodayHijriNumber(today), 14441024);
    EXPECT_EQ(TodayGregorianNumber(today), 20230515);
}

TEST_F(DateInfoTest, UnknownPartsOnEitherSideCountNothingAndHijriYearsSaySo) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    // A death in an unknown day or month: no days, or no months and days, though the birth knows them.
    EXPECT_EQ(ComputeDateInfo(Boxes("14-01-1700", "00-03-1751"), "m", today).Lived,
              QStringLiteral(u"عاش 51 سنة وشهرين"));
    EXPECT_EQ(ComputeDateInfo(Boxes("14-01-1700", "1751"), "m", today).Lived, QStringLiteral(u"عاش 51 سنة"));
    EXPECT_EQ(ComputeDateInfo(Boxes("1700", "20-11-1751"), "f", today).Lived, QStringLiteral(u"عاشت 51 سنة"));
    // Only Hijri dates: the years are Hijri years, in the line since the birth and in the lifetime.
    EXPECT_EQ(ComputeDateInfo(Boxes("", "", "1150"), "m", today).BirthSince,
              QStringLiteral(u"ولد قبل 294 سنة هجرية"));
    EXPECT_EQ(ComputeDateInfo(Boxes("", "", "1150", "02-1220"), "f", today).Lived,
              QStringLiteral(u"عاشت 70 سنة هجرية"));
    EXPECT_EQ(ComputeDateInfo(Boxes("", "", "", "10-1442"), "f", today).DeathSince,
              QStringLiteral(u"توفيت قبل سنتين هجريتين"));
    // A Gregorian date known beside it keeps the years plain.
    EXPECT_EQ(ComputeDateInfo(Boxes("1730", "", "1150"), "m", today).BirthSince,
              QStringLiteral(u"ولد قبل 293 سنة"));
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    EXPECT_EQ(ComputeDateInfo(Boxes("", "", "1150"), "m", today).BirthSince, "Born 294 Hijri years ago");
}

} // namespace
} // namespace verdan
