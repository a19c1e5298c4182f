#pragma once

#include <QString>

namespace verdan {

// The system writes the gender codes "m" and "f"; rows from imports and older files may hold "M", "F",
// "ذكر" or "أنثى". Every comparison of genders goes through this one mapping: trimmed, lower-cased,
// "ذكر" read as "m" and "أنثى" as "f"; any other text comes back lower-cased.
QString NormaliseGender(const QString& code);

inline bool IsMaleGender(const QString& code) {
    return NormaliseGender(code) == u"m";
}
inline bool IsFemaleGender(const QString& code) {
    return NormaliseGender(code) == u"f";
}

// The same mapping as an SQL expression over a column (or any expression), for statements that compare or
// show genders.
QString SqlGenderCode(const QString& column);

} // namespace verdan
