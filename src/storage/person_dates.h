#pragma once

#include "calendar/date_value.h"
#include "storage/person_records.h"

#include <QString>

namespace verdan {

// A person's birth and death as whole date values: the first dates of ftPerson's date columns with their
// qualifiers, second dates, dual years and phrases.
struct TPersonDates {
    TDateValue Birth;
    TDateValue Death;

    bool operator==(const TPersonDates&) const = default;
};

// False, with empty values, without such a person. A tree without the qualifier columns reads the first
// dates alone.
bool ReadPersonDates(const QString& personId, TPersonDates& dates);
// The dates as a person record's date numbers hold them, without the rest.
TPersonDates PersonDatesOf(const TPerson& person);
// Writes the values whole (normalised), with the places and the deceased flag of the record, stamped. A
// tree the upgrade could not give the qualifier columns takes the first dates alone (it said so on opening).
bool WritePersonDateValues(const TPerson& person, const TPersonDates& dates);

} // namespace verdan
