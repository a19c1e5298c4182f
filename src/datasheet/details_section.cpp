#include "details_section.h"

#include "storage/person_store.h"

#include <QRegularExpression>
#include <QUrlQuery>

namespace verdan {

namespace {

template <typename T> T Pick(const T& loaded, const T& edited, const T& stored) {
    return edited == loaded ? stored : edited;
}

TMail_Address MergeAddress(const TMail_Address& loaded, const TMail_Address& edited,
                           const TMail_Address& stored) {
    TMail_Address address;
    address.name = Pick(loaded.name, edited.name, stored.name);
    address.street_1 = Pick(loaded.street_1, edited.street_1, stored.street_1);
    address.street_2 = Pick(loaded.street_2, edited.street_2, stored.street_2);
    address.neighborhood = Pick(loaded.neighborhood, edited.neighborhood, stored.neighborhood);
    address.city = Pick(loaded.city, edited.city, stored.city);
    address.state = Pick(loaded.state, edited.state, stored.state);
    address.country = Pick(loaded.country, edited.country, stored.country);
    address.postal_code = Pick(loaded.postal_code, edited.postal_code, stored.postal_code);
    address.location = Pick(loaded.location, edited.location, stored.location);
    return address;
}

// A text that names its scheme: letters before a colon, not a host name with a port ("example.com:80").
const QRegularExpression& SchemePattern() {
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+\\-]*):"));
    return pattern;
}

} // namespace

bool IsWellFormedEmail(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$"));
    return pattern.match(text.trimmed()).hasMatch();
}

bool IsWellFormedWebAddress(const QString& text) {
    // Top-level domains are no longer two or three letters only (".info", ".online").
    static const QRegularExpression pattern(
        QStringLiteral("^(http|https|ftp|)\\://[a-zA-Z0-9\\-\\.]+\\.[a-zA-Z]{2,}(:[a-zA-Z0-9]*)?/?"
                       "([a-zA-Z0-9\\-\\._\\?\\,\\'/\\\\\\+&%\\$#\\=~])*[^\\.\\,\\)\\(\\s]$"),
        QRegularExpression::CaseInsensitiveOption);
    QString address = text.trimmed();
    if (!address.contains(QLatin1String("http"), Qt::CaseInsensitive))
        address.prepend(QStringLiteral("http://"));
    return pattern.match(address).hasMatch();
}

QStringList AccountKindSources() {
    return {QStringLiteral("Personal Site"), QStringLiteral("Facebook"),  QStringLiteral("Twitter"),
            QStringLiteral("Google +"),      QStringLiteral("LinkedIn"),  QStringLiteral("WhatsApp"),
            QStringLiteral("Skype"),         QStringLiteral("Instagram"), QStringLiteral("Viber")};
}

QString AccountAddressPrefix(const QString& kind) {
    static const QList<std::pair<QString, QString>> prefixes = {
        {QStringLiteral("Facebook"), QStringLiteral("https://www.facebook.com/")},
        {QStringLiteral("LinkedIn"), QStringLiteral("https://www.linkedin.com/in/")},
        {QStringLiteral("Google +"), QStringLiteral("https://plus.google.com/")},
        {QStringLiteral("Twitter"), QStringLiteral("https://twitter.com/")},
        {QStringLiteral("Instagram"), QStringLiteral("https://www.instagram.com/")},
    };
    for (const auto& [name, prefix] : prefixes)
        if (name.compare(kind.trimmed(), Qt::CaseInsensitive) == 0)
            return prefix;
    return {};
}

QUrl AccountUrl(const QString& address) {
    QString text = address.trimmed();
    if (text.isEmpty())
        return {};
    const QRegularExpressionMatch scheme = SchemePattern().match(text);
    static const QRegularExpression port(QStringLiteral("^[0-9]+(/|$)"));
    // "localhost:8080" names a host and its port, not a scheme.
    if (!scheme.hasMatch() || port.match(text.mid(scheme.capturedEnd())).hasMatch())
        text.prepend(IsWellFormedEmail(text) ? QStringLiteral("mailto:") : QStringLiteral("http://"));
    const QUrl url(text, QUrl::StrictMode);
    const QString name = url.scheme().toLower();
    if (!url.isValid() || (name != u"http" && name != u"https" && name != u"mailto"))
        return {};
    if (name != u"mailto" && url.host().isEmpty())
        return {};
    if (name == u"mailto" && url.path().isEmpty())
        return {};
    return url;
}

QUrl MapSearchUrl(const QString& location) {
    const QString text = location.trimmed();
    if (text.isEmpty())
        return {};
    QUrl url(QStringLiteral("https://www.google.com/maps/search/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("api"), QStringLiteral("1"));
    // A "+" in a query reads as a blank to the server unless it is encoded.
    query.addQueryItem(QStringLiteral("query"), QString(text).replace(u'+', QStringLiteral("%2B")));
    url.setQuery(query);
    return url;
}

TPerson_Details MergeDetails(const TPerson_Details& loaded, const TPerson_Details& edited,
                             const TPerson_Details& stored) {
    TPerson_Details details = stored;
    details.person_Id = edited.person_Id;
    details.identity_no = Pick(loaded.identity_no, edited.identity_no, stored.identity_no);
    details.cell_phone = Pick(loaded.cell_phone, edited.cell_phone, stored.cell_phone);
    details.home_phone = Pick(loaded.home_phone, edited.home_phone, stored.home_phone);
    details.email = Pick(loaded.email, edited.email, stored.email);
    details.Address = MergeAddress(loaded.Address, edited.Address, stored.Address);
    details.WorkAddress = MergeAddress(loaded.WorkAddress, edited.WorkAddress, stored.WorkAddress);
    details.NetAccounts = Pick(loaded.NetAccounts, edited.NetAccounts, stored.NetAccounts);
    return details;
}

TPerson_Details StartDetailsEdits(TDetailsEdits& edits, const QString& personId) {
    TPerson_Details details;
    details.person_Id = personId;
    if (!personId.isEmpty())
        ReadPersonDetails(personId, details);
    edits.Start(personId, details);
    return details;
}

TSaveResult SaveDetailsEdits(TDetailsEdits& edits, const TPerson_Details& boxes) {
    if (!edits.Changed())
        return TSaveResult::Nothing;
    const QString id = edits.PersonId();
    if (!PersonExists(id)) {
        edits.Reset();
        return TSaveResult::Gone;
    }
    TPerson_Details stored;
    stored.person_Id = id;
    const bool hasRow = ReadPersonDetails(id, stored);
    TPerson_Details merged = MergeDetails(edits.Loaded(), boxes, stored);
    merged.person_Id = id;
    if (hasRow && merged == stored) {
        edits.ClearChanged();
        return TSaveResult::Nothing;
    }
    if (!WritePersonDetails(id, merged))
        return TSaveResult::Failed;
    edits.ClearChanged();
    return TSaveResult::Written;
}

} // namespace verdan
