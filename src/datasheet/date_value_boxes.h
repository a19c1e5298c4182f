#pragma once

#include "calendar/date_value.h"
#include "datasheet/date_boxes.h"

#include <QString>
#include <optional>

namespace verdan {

// Every box of one dated fact.
struct TDateValueBoxes {
    TDateBox Gregorian;
    TDateBox Hijri;
    TDateDetailBoxes Detail;

    bool operator==(const TDateValueBoxes&) const = default;
};

TDateDetailBoxes DateDetailBoxesOf(const TDateValue& value);
TDateValueBoxes DateValueBoxesOf(const TDateValue& value);

// Which boxes a qualifier shows beside the first date: the second date's, the words', or both of the
// first date's (a date of words alone has none).
bool ShowsSecondDate(TDateQualifier qualifier);
bool ShowsPhrase(TDateQualifier qualifier);
bool ShowsFirstDate(TDateQualifier qualifier);

// The second date's box that holds no day of its calendar, with the problem; none when both are empty or
// hold days (they are read only for a range).
struct TSecondDateProblem {
    bool Hijri = false;
    TDateProblem Problem = TDateProblem::None;
    QString Text;
};
std::optional<TSecondDateProblem> FindSecondDateProblem(const TDateDetailBoxes& boxes);

// The value the boxes hold: first date numbers, then the detail. The dual years of `shown` (the value the
// boxes were filled from) stay while the date they belong to is unchanged; boxes that hold no day read as
// no date (check them first).
TDateValue ReadDateValue(int gregorian, int hijri, const TDateDetailBoxes& boxes, const TDateValue& shown);
TDateValue ReadDateValueBoxes(const TDateValueBoxes& boxes, const TDateValue& shown = TDateValue());

} // namespace verdan
