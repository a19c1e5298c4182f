#pragma once

#include <QList>
#include <QString>

namespace verdan {

// A postal address, stored as "key=value" lines (FormatMailAddress).
struct TMail_Address {
    QString name;
    QString street_1;
    QString street_2;
    QString neighborhood;
    QString city;
    QString state;
    QString country;
    QString postal_code;
    QString location; // map coordinates or a place to search for
    bool operator==(const TMail_Address&) const = default;
};

// An account kind and its address, e.g. a messenger and a user name.
struct TItem_Value {
    QString Name;
    QString Value;
    bool operator==(const TItem_Value&) const = default;
};
using TItem_Value_List = QList<TItem_Value>;

// Contact details of one person.
struct TPerson_Details {
    QString person_Id;
    QString identity_no;
    QString cell_phone;
    QString home_phone;
    QString email;
    TMail_Address Address;
    TMail_Address WorkAddress;
    TItem_Value_List NetAccounts;
    bool operator==(const TPerson_Details&) const = default;
};

// Clears the record (keeping the person) and fills it from the person's row; false when there is none.
bool ReadPersonDetails(const QString& id, TPerson_Details& details);
// Stores the details as the person's row, added when missing. The record itself is left as it is.
bool WritePersonDetails(const QString& id, const TPerson_Details& details);

// The stored form: the nine "key=value" lines separated by line feeds. A line break inside a value
// would end its line, so it is stored as a blank.
QString FormatMailAddress(const TMail_Address& address);
// Reads the known keys of a stored address (a later line wins); other lines are ignored.
void ParseMailAddress(const QString& text, TMail_Address& address);
// The address for display: one line per part, then the translated postal code caption and code.
QString MailAddressText(const TMail_Address& address);

// The stored form: "Name=Value" and a line feed for each item.
QString FormatItemValues(const TItem_Value_List& items);
// One item per non-empty line, name and value trimmed.
void ParseItemValues(const QString& text, TItem_Value_List& items);
// "Name: Value" lines of the items that have a name.
QString ItemValuesText(const TItem_Value_List& items);

} // namespace verdan
