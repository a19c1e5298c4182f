#include "person_details_store.h"

#include "database.h"
#include "text/localisation.h"

#include <QRegularExpression>

namespace verdan {

namespace {

// The keys of the stored address form, in their order.
struct AddressKey {
    const char* key;
    QString TMail_Address::*field;
};

const AddressKey kAddressKeys[] = {
    {"name", &TMail_Address::name},         {"street_1", &TMail_Address::street_1},
    {"street_2", &TMail_Address::street_2}, {"neighborhood", &TMail_Address::neighborhood},
    {"city", &TMail_Address::city},         {"state", &TMail_Address::state},
    {"country", &TMail_Address::country},   {"postal_code", &TMail_Address::postal_code},
    {"location", &TMail_Address::location},
};

QStringList Lines(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

// One stored line holds one value: line breaks typed into it become blanks.
QString OneLine(QString value) {
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

bool ReadPersonDetails(const QString& id, TPerson_Details& details) {
    details = TPerson_Details();
    details.person_Id = id;
    if (id.trimmed().isEmpty() || !Dm().IsConnected())
        return false;
    Query q = Dm().Prepare(QStringLiteral("SELECT * FROM ftDetails WHERE person_id = ?"), id);
    if (!q.Next())
        return false;
    details.identity_no = q.Text("identity_no");
    details.cell_phone = q.Text("cell_phone");
    details.home_phone = q.Text("home_phone");
    details.email = q.Text("email");
    ParseMailAddress(q.Text("address"), details.Address);
    ParseMailAddress(q.Text("work_address"), details.WorkAddress);
    ParseItemValues(q.Text("net_accounts"), details.NetAccounts);
    return true;
}

bool WritePersonDetails(const QString& id, const TPerson_Details& details) {
    if (id.trimmed().isEmpty() || !Dm().TableExists(QStringLiteral("ftDetails")))
        return false;
    Transaction transaction;
    const bool exists =
        Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftDetails WHERE person_id = ?"), id) > 0;
    const QString sql =
        exists ? QStringLiteral(
                     "UPDATE ftDetails SET identity_no = ?, cell_phone = ?, home_phone = ?, email = ?, "
                     "address = ?, work_address = ?, net_accounts = ?, person_Id = ? "
                     "WHERE person_id = ?")
               : QStringLiteral("INSERT INTO ftDetails (identity_no, cell_phone, home_phone, email, address, "
                                "work_address, net_accounts, person_Id) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    Query q = Dm().Prepare(sql, details.identity_no, details.cell_phone, details.home_phone, details.email,
                           FormatMailAddress(details.Address), FormatMailAddress(details.WorkAddress),
                           FormatItemValues(details.NetAccounts), id);
    if (exists)
        q.Bind(id);
    return q.Exec() && q.Changes() > 0 && transaction.Commit();
}

QString FormatMailAddress(const TMail_Address& address) {
    QStringList lines;
    for (const AddressKey& k : kAddressKeys)
        lines << QLatin1String(k.key) + u'=' + OneLine(address.*k.field);
    return lines.join(u'\n');
}

void ParseMailAddress(const QString& text, TMail_Address& address) {
    address = TMail_Address();
    for (const QString& line : Lines(text)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        for (const AddressKey& k : kAddressKeys)
            if (key == QLatin1String(k.key))
                address.*k.field = line.mid(equals + 1);
    }
}

QString MailAddressText(const TMail_Address& address) {
    QString text;
    for (const QString* part : {&address.name, &address.street_1, &address.street_2, &address.neighborhood,
                                &address.city, &address.state, &address.country})
        text += *part + u'\n';
    if (!address.postal_code.trimmed().isEmpty())
        text += Translate(QStringLiteral("Postal Code")) + u':' + address.postal_code;
    return text.trimmed();
}

QString FormatItemValues(const TItem_Value_List& items) {
    QString text;
    for (const TItem_Value& item : items)
        text += OneLine(item.Name) + u'=' + OneLine(item.Value) + u'\n';
    return text;
}

void ParseItemValues(const QString& text, TItem_Value_List& items) {
    items.clear();
    for (const QString& line : Lines(text)) {
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            items.append({line.trimmed(), QString()});
        else
            items.append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    }
}

QString ItemValuesText(const TItem_Value_List& items) {
    QString text;
    for (const TItem_Value& item : items)
        if (!item.Name.trimmed().isEmpty())
            text += item.Name + QStringLiteral(": ") + item.Value + u'\n';
    return text.trimmed();
}

} // namespace verdan
