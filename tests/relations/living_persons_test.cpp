#include "relations/living_persons.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QDate kToday(2025, 6, 15);

TDateValue Gregorian(int number, TDateQualifier qualifier = TDateQualifier::Exact) {
    TDateValue v;
    v.Gregorian = number;
    v.Qualifier = qualifier;
    return v;
}

TDateValue Hijri(int number) {
    TDateValue v;
    v.Hijri = number;
    return v;
}

bool Living(const TDateValue& birth, const TDateValue& death = {}, bool mark = false,
            std::initializer_list<TDateValue> children = {}) {
    return IsLivingPerson(mark, birth, death, std::span<const TDateValue>(children.begin(), children.size()),
                          kToday);
}

TEST(LivingPersons, DeadByTheMarkOrADeathDateInEitherCalendar) {
    EXPECT_FALSE(Living(Gregorian(19900101), {}, true));
    EXPECT_FALSE(Living(Gregorian(19900101), Gregorian(20200000)));
    EXPECT_FALSE(Living(Gregorian(19900101), Hijri(14400000)));
    // A death told only in words is no death date: the birth decides.
    TDateValue words;
    words.Qualifier = TDateQualifier::Phrase;
    words.Phrase = QStringLiteral("young");
    EXPECT_TRUE(Living(Gregorian(19900101), words));
}

TEST(LivingPersons, BornWithinAHundredYearsInEitherCalendar) {
    EXPECT_TRUE(Living(Gregorian(19250616)));
    EXPECT_FALSE(Living(Gregorian(19250614)));
    EXPECT_TRUE(Living(Gregorian(19250000))); // any day of 1925 may be after 15 June
    EXPECT_FALSE(Living(Gregorian(19240000)));
    EXPECT_TRUE(Living(Hijri(14000000)));  // 1979
    EXPECT_FALSE(Living(Hijri(13000000))); // 1882
    // Calendars that disagree: either one within the years is enough.
    TDateValue both = Gregorian(18800000);
    both.Hijri = 14000000;
    EXPECT_TRUE(Living(both));
}

TEST(LivingPersons, QualifiedBirthsCountByTheLatestDayTheyMayMean) {
    EXPECT_TRUE(Living(Gregorian(19500000, TDateQualifier::Before)));
    EXPECT_FALSE(Living(Gregorian(19000000, TDateQualifier::Before)));
    EXPECT_TRUE(Living(Gregorian(18000000, TDateQualifier::After)));
    EXPECT_TRUE(Living(Gregorian(19230000, TDateQualifier::About))); // within five years either side
    TDateValue between = Gregorian(18900000, TDateQualifier::Between);
    between.Gregorian2 = 19300000;
    EXPECT_TRUE(Living(between));
}

TEST(LivingPersons, WithoutABirthDateTheChildrenDecide) {
    EXPECT_FALSE(Living({}));
    EXPECT_TRUE(Living({}, {}, false, {Gregorian(19700000)}));
    EXPECT_FALSE(Living({}, {}, false, {Gregorian(19400000)}));
    EXPECT_TRUE(Living({}, {}, false, {Gregorian(19400000), Hijri(14100000)}));
    // A birth date of his own is what counts, whatever the children's.
    EXPECT_FALSE(Living(Gregorian(19000000), {}, false, {Gregorian(19700000)}));
}

} // namespace
} // namespace verdan
