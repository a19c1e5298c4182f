#include "report_tables.h"

#include "grid_model.h"
#include "name_cache.h"
#include "storage/person_details_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

namespace verdan {

namespace {

// Rows read between two progress reports.
constexpr int kProgressStep = 2000;

const QString kNames = QStringLiteral("'' AS Name1, '' AS Name2, '' AS Name3, '' AS Name4");

QString PersonQuery() {
    return QStringLiteral("SELECT oid, person_id, ") + kNames +
           QStringLiteral(
               ", other_name, last_name, nickname, cognomen, family_name, family_nickname, gender, "
               "date_of_birth_g, date_of_birth_h, date_of_death_g, date_of_death_h, place_of_birth, "
               "place_of_death, is_dead, section_type, briefing, notes, date_modified, user_modified "
               "FROM ftPerson ORDER BY oid");
}

QString ContactQuery() {
    return QStringLiteral("SELECT ftPerson.oid, ftPerson.person_id, ") + kNames +
           QStringLiteral(
               ", ftPerson.last_name, ftDetails.cell_phone, ftDetails.home_phone, ftDetails.email, "
               "ftDetails.identity_no FROM ftPerson INNER JOIN ftDetails ON ftPerson.person_id = "
               "ftDetails.person_Id ORDER BY ftPerson.oid");
}

QString AddressQuery() {
    return QStringLiteral("SELECT ftPerson.oid, ftPerson.person_id, ") + kNames +
           QStringLiteral(
               ", ftPerson.last_name, ftDetails.address, '' AS City, '' AS Country, "
               "ftDetails.work_address, ftDetails.net_accounts FROM ftPerson INNER JOIN ftDetails ON "
               "ftPerson.person_id = ftDetails.person_Id ORDER BY ftPerson.oid");
}

// What a report does to a row after the names are in.
using TRowFix = std::function<void(QStringList& row)>;

int ColumnOf(const QStringList& header, const char* name) {
    for (int c = 0; c < header.size(); ++c)
        if (header[c].compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

TextTable ReadTable(const QString& sql, const TReportProgress& progress,
                    const std::function<TRowFix(const QStringList& header)>& makeFix) {
    TextTable table;
    if (!Dm().IsConnected())
        return table;
    EnsureNameCache();
    const int total = static_cast<int>(
        Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM (") + sql + QStringLiteral(")")));
    Query query;
    if (!Dm().OpenQuery(query, sql) || !query.IsPrepared())
        return table;
    const int columns = query.ColumnCount();
    QStringList header;
    for (int c = 0; c < columns; ++c)
        header << query.ColumnName(c);
    const int idColumn = 1;
    const int names[4] = {ColumnOf(header, "Name1"), ColumnOf(header, "Name2"), ColumnOf(header, "Name3"),
                          ColumnOf(header, "Name4")};
    const int deadColumn = ColumnOf(header, "is_dead");
    const TRowFix fix = makeFix ? makeFix(header) : TRowFix();
    // The outside-the-tree group holds persons that belong nowhere; it is nobody's father.
    const QString outside = GetGlobalParentId();
    table.reserve(total + 1);
    table << header;
    bool cancelled = false;
    int done = 0;
    if (progress && !progress(0, total))
        return {};
    query.ForEachRow([&](const Query& record) {
        if (cancelled)
            return;
        QStringList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            if (c == deadColumn)
                row << (record.IsNull(c) ? QString()
                        : record.Bool(c) ? QStringLiteral("True")
                                         : QStringLiteral("False"));
            else
                row << record.Text(c);
        }
        const QStringList line = CachedFatherLine(row[idColumn], 4, outside);
        for (int i = 0; i < 4; ++i)
            if (names[i] >= 0)
                row[names[i]] = line[i];
        if (fix)
            fix(row);
        table << row;
        if (++done % kProgressStep == 0 && progress && !progress(done, total))
            cancelled = true;
    });
    if (cancelled)
        return {};
    if (progress)
        progress(total, total);
    return table;
}

} // namespace

QList<TReportColumn> ReportColumns(TReportKind kind) {
    auto c = [](const char* field, std::initializer_list<const char*> title, int width) {
        TReportColumn column;
        column.field = QString::fromLatin1(field);
        for (const char* part : title)
            column.title << QString::fromLatin1(part);
        column.width = width;
        return column;
    };
    switch (kind) {
    case TReportKind::Persons:
        return {c("person_id", {"Person Id"}, -1),
                c("Name1", {"Name"}, 100),
                c("Name2", {"Father"}, 100),
                c("Name3", {"Grandfather"}, 100),
                c("Name4", {"Great grandfather"}, 100),
                c("other_name", {"Other Name"}, 100),
                c("last_name", {"Family Name"}, 100),
                c("nickname", {"Nickname"}, 100),
                c("cognomen", {"Cognomen"}, 100),
                c("family_name", {"Older Family Name"}, 100),
                c("family_nickname", {"Family Nickname"}, 124),
                c("gender", {"Gender"}, 100),
                c("date_of_birth_g", {"Date of Birth", "G"}, 130),
                c("date_of_birth_h", {"Date of Birth", "H"}, 138),
                c("date_of_death_g", {"Date of Death", "G"}, 130),
                c("date_of_death_h", {"Date of Death", "H"}, 130),
                c("place_of_birth", {"Birth Place"}, 140),
                c("place_of_death", {"Death Place"}, 140),
                c("is_dead", {"Deceased"}, 64),
                c("section_type", {"Family Group"}, 100),
                c("briefing", {"Summary"}, 250),
                c("notes", {"Notes"}, 250),
                c("date_modified", {"Last Modified Date"}, 130),
                c("user_modified", {"Last Modified By"}, 120)};
    case TReportKind::Contacts:
        return {c("person_id", {"Person Id"}, -1),
                c("Name1", {"Name"}, 70),
                c("Name2", {"Father"}, 70),
                c("Name3", {"Grandfather"}, 70),
                c("Name4", {"Great grandfather"}, 70),
                c("last_name", {"Family Name"}, 70),
                c("cell_phone", {"Cell Phone"}, 100),
                c("home_phone", {"Home Phone"}, 100),
                c("email", {"Email"}, 200),
                c("identity_no", {"Identity No"}, 100)};
    case TReportKind::Addresses:
        return {c("person_id", {"Person Id"}, -1),
                c("Name1", {"Name"}, 70),
                c("Name2", {"Father"}, 70),
                c("Name3", {"Grandfather"}, 70),
                c("Name4", {"Great grandfather"}, 70),
                c("last_name", {"Family Name"}, 70),
                c("address", {"Address"}, 200),
                c("City", {"City"}, 100),
                c("Country", {"Country"}, 100),
                c("work_address", {"Work Address"}, 200),
                c("net_accounts", {"Net Accounts"}, 200)};
    }
    return {};
}

QString ReportCaptionSource(TReportKind kind) {
    switch (kind) {
    case TReportKind::Persons:
        return QStringLiteral("Person list");
    case TReportKind::Contacts:
        return QStringLiteral("Contact list");
    case TReportKind::Addresses:
        return QStringLiteral("Address list");
    }
    return {};
}

bool ReportKindFromName(const QString& name, TReportKind& kind) {
    static const QHash<QString, TReportKind> kinds = {{QStringLiteral("persons"), TReportKind::Persons},
                                                      {QStringLiteral("contacts"), TReportKind::Contacts},
                                                      {QStringLiteral("addresses"), TReportKind::Addresses}};
    const auto found = kinds.find(name.trimmed().toLower());
    if (found == kinds.end())
        return false;
    kind = *found;
    return true;
}

TextTable ReadPersonReportTable(const TReportProgress& progress) {
    return ReadTable(PersonQuery(), progress, {});
}

TextTable ReadContactReportTable(const TReportProgress& progress) {
    return ReadTable(ContactQuery(), progress, {});
}

TextTable ReadAddressReportTable(const TReportProgress& progress) {
    return ReadTable(AddressQuery(), progress, [](const QStringList& header) -> TRowFix {
        const int address = ColumnOf(header, "address");
        const int work = ColumnOf(header, "work_address");
        const int city = ColumnOf(header, "City");
        const int country = ColumnOf(header, "Country");
        const int accounts = ColumnOf(header, "net_accounts");
        return [=](QStringList& row) {
            TMail_Address home;
            ParseMailAddress(row[address], home);
            row[address] = MailAddressText(home);
            row[city] = home.city;
            row[country] = home.country;
            TMail_Address office;
            ParseMailAddress(row[work], office);
            row[work] = MailAddressText(office);
            TItem_Value_List items;
            ParseItemValues(row[accounts], items);
            row[accounts] = ItemValuesText(items);
        };
    });
}

TextTable ReadReportTable(TReportKind kind, const TReportProgress& progress) {
    switch (kind) {
    case TReportKind::Persons:
        return ReadPersonReportTable(progress);
    case TReportKind::Contacts:
        return ReadContactReportTable(progress);
    case TReportKind::Addresses:
        return ReadAddressReportTable(progress);
    }
    return {};
}

QString ReportColumnTitle(const TReportColumn& column) {
    QStringList parts;
    for (const QString& part : column.title)
        parts << Translate(part);
    return parts.join(u' ');
}

void FillReportGrid(TZelGridModel& grid, TReportKind kind, const TextTable& table) {
    FillGridFromTable(grid, table, QStringLiteral("oid"), true);
    grid.SetAutoRowNumber(true);
    const QList<TReportColumn> columns = ReportColumns(kind);
    // The query names its columns in the order of the report's columns, from grid column 1 on.
    for (int i = 0; i < columns.size() && i + 1 < grid.ColCount(); ++i)
        grid.SetCell(i + 1, 0, ReportColumnTitle(columns[i]));
    if (kind != TReportKind::Persons)
        grid.SetCell(0, 0, QString());
}

QList<int> ReportColumnWidths(TReportKind kind) {
    QList<int> widths{kind == TReportKind::Persons ? -2 : 40};
    for (const TReportColumn& column : ReportColumns(kind))
        widths << column.width;
    return widths;
}

QString ReportFieldOfColumn(TReportKind kind, int col) {
    const QList<TReportColumn> columns = ReportColumns(kind);
    return col >= 1 && col <= columns.size() ? columns[col - 1].field : QString();
}

} // namespace verdan
