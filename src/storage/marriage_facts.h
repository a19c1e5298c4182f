#pragma once

#include "calendar/date_value.h"

#include <QString>

namespace verdan {

// What a marriage row knows of the marriage itself: when and where the two married, when and where they
// divorced (both dates in both calendars, with their qualifiers), and its notes. relation_date_1 holds the
// wedding's Gregorian date, relation_date_2 the divorce's.
struct TMarriageFacts {
    TDateValue Married;
    QString Place;
    TDateValue Divorced;
    QString DivorcePlace;
    QString Notes;

    bool operator==(const TMarriageFacts&) const = default;
};

// The facts of the husband's marriage with the wife (in this order); false, with empty facts, without one.
bool ReadMarriageFacts(const QString& husband, const QString& wife, TMarriageFacts& facts);
// Writes them, stamped. A tree the upgrade could not give the columns of the Hijri and qualified dates
// takes nothing (it said so on opening): false.
bool WriteMarriageFacts(const QString& husband, const QString& wife, const TMarriageFacts& facts);

} // namespace verdan
