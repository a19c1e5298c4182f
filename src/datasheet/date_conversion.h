#pragma once

#include "datasheet/date_boxes.h"

#include <QDate>
#include <QString>

namespace verdan {

// A date box converted into the other calendar, as the conversion buttons offer it.
struct TConvertedDate {
    TDateBox Box;  // two-digit day and month and the absolute year; era box checked for a year 0 or less
    QString Shown; // day, month name with its number, year and era, for the user to confirm
};

enum class TConvertResult {
    Converted,
    Empty,   // the box holds no date
    Invalid, // not a date of its calendar, or outside the years the calendars cover
};

// Converts the box of one calendar into the other. A part the box leaves unknown (0) stays unknown.
TConvertResult ConvertDateBox(const TDateBox& box, TCalendar from, TConvertedDate& result);

// What a date typed into one calendar's box does to the other box of the same event. A full date (day,
// month and year) is converted when nothing is lost: the other box is empty, or holds what the box's
// previous date converted to, and it is filled; when the other box holds another date the user typed,
// which stands is asked. A partial date converts nothing.
enum class TPairedAction { Keep, Fill, Ask };
struct TPairedDate {
    TPairedAction Action = TPairedAction::Keep;
    TDateBox Conversion; // Fill and Ask: the typed date in the other calendar
};
TPairedDate PairDateBoxes(const TDateBox& typed, const TDateBox& before, const TDateBox& other,
                          TCalendar typedCalendar);

// The time a user estimates since a birth or a death.
struct TDateEstimate {
    int Years = 0;
    int Months = 0;
    int Days = 0;

    bool IsSet() const { return Years > 0 || Months > 0 || Days > 0; }
    bool operator==(const TDateEstimate&) const = default;
};

// The day that lies the estimated time before today; null when it would lie before the year 1.
QDate EstimatedDate(const QDate& today, const TDateEstimate& estimate);

// The date boxes of both calendars for the estimated day; false when there is no such day.
bool EstimatedDateBoxes(const QDate& today, const TDateEstimate& estimate, TDateBox& gregorian,
                        TDateBox& hijri);

// Preview captions of the estimated day: weekday, day, month name (number) and year in the Gregorian
// calendar, and day, month name (number) and year in the Hijri one; empty when there is no such day.
void EstimatedDateCaptions(const QDate& today, const TDateEstimate& estimate, QString& gregorian,
                           QString& hijri);

enum class TEstimateResult {
    Written,
    NotWritten,    // no such person, no estimate, or the row could not be written
    Contradiction, // with the dates already stored the person would die before being born: nothing written
};

// Writes estimated dates straight into a person's row: the birth dates when the birth estimate is set,
// the death dates when the death estimate is set (which also marks the person deceased). Places and every
// other date stay as stored. Dates that would contradict each other are refused, as the data sheet
// refuses them.
TEstimateResult WriteEstimatedDates(const QString& personId, const TDateEstimate& birth,
                                    const TDateEstimate& death, const QDate& today);

} // namespace verdan
