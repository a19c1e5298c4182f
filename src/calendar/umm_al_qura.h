#pragma once

#include <cstdint>

namespace verdan {

// The Umm al-Qura calendar of Saudi Arabia, whose months follow observed moon sightings rather than a
// rule. Its month lengths come from ICU's "islamic-umalqura" calendar and are known only for the years
// ICU carries in its table; outside them the tabular calendar stands in (as ICU itself does).

// First and last Hijri year of the table; 0 and -1 when ICU could not provide it.
int UmmAlQuraFirstYear();
int UmmAlQuraLastYear();

// Julian day number of the first day of a month of a covered year; false outside the table.
bool UmmAlQuraMonthStart(int year, int month, int64_t& julianDay);

// The Umm al-Qura date of a Julian day number; false when the day lies outside the table.
bool UmmAlQuraDateOf(int64_t julianDay, int& year, int& month, int& day);

} // namespace verdan
