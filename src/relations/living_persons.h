#pragma once

#include "calendar/date_value.h"

#include <QDate>
#include <span>

namespace verdan {

// Who counts as living where the tree is shown to others (a published website): nothing of a living
// person's life should leave the family's hands unless the family asks for it.

// How many years back a birth still makes a person living, and a child's birth the child's parent.
inline constexpr int kLivingBirthYears = 100;
inline constexpr int kLivingChildBirthYears = 80;

// Dead: the dead mark is set or a death date is known in either calendar.
bool IsDeadByFacts(bool deadMark, const TDateValue& death);

// Whether the birth may lie within the last `years` years before `today`, in either calendar: a qualified
// date counts by the latest day it can mean ("before 1950" as 1950, "after 1900" as today). False without a
// birth date.
bool BornWithinYears(const TDateValue& birth, int years, const QDate& today);

// Living: not dead, and born within the last 100 years or, with no birth date, the parent of a child born
// within the last 80.
bool IsLivingPerson(bool deadMark, const TDateValue& birth, const TDateValue& death,
                    std::span<const TDateValue> childrenBirths, const QDate& today);

} // namespace verdan
