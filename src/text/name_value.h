#pragma once

#include <QList>
#include <QString>

namespace verdan {

// A (name, value) pair of texts, as produced by SML nodes and used by the text helpers.
struct TName_String_Value {
    QString Name;
    QString Value;

    bool operator==(const TName_String_Value&) const = default;
};

using TName_String_Value_Array = QList<TName_String_Value>;

} // namespace verdan
