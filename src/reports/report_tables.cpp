#include "report_tables.h"

#include "grid_model.h"
#include "name_cache.h"
#include "report_cells.h"
#include "storage/date_columns.h"
#include "storage/person_details_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QElapsedTimer>
#include <climits>

namespace verdan {

namespace {

// Rows read between two progress reports.
constexpr int kProgressStep = 2000;
// Rows read between two looks at the clock.
constexpr int kRowsPerLook = 64;

const QString kNames = QStringLiteral("'' AS Name1, '' AS Name2, '' AS Name3, '' AS Name4");

// The birth's and the death's whole date columns (qualifier, second date, dual years, phrase) come last;
// the reader turns each seven into one inner column.
QString PersonQuery() {
    return QStringLiteral("SELECT oid, person_id, ") + kNames +
           QStringLiteral(
               ", other_name, last_name, nickname, cognomen, family_name, family_nickname, gender, "
               "date_of_birth_g, date_of_birth_h, date_of_death_g, date_of_death_h, place_of_birth, "
               "place_of_death, is_dead, section_type, briefing, notes, date_modified, user_modified, "
               "is_section, ") +
           DateColumnList(kBirthDateColumns) + QStringLiteral(", ") + DateColumnList(kDeathDateColumns) +
           QStringLiteral(" FROM ftPerson ORDER BY oid");
}

constexpr int kDateColumns = 7;

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

TRowFix AddressFix(const QStringList& header) {
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
}

// The person list's date details: the fourteen date columns after is_section become birth_detail and
// death_detail.
TRowFix PersonFix(const QStringList& header) {
    const int first = ColumnOf(header, "is_section") + 1;
    return [first](QStringList& row) {
        auto detail = [&](int at) {
            return DateDetailText(row[at + 2].toInt(), row[at + 3].toInt(), row[at + 4].toInt(),
                                  row[at + 5].toInt(), row[at + 6]);
        };
        const QString birth = detail(first);
        const QString death = detail(first + kDateColumns);
        row.resize(first);
        row << birth << death;
    };
}

QString QueryOf(TReportKind kind) {
    switch (kind) {
    case TReportKind::Persons:
        return PersonQuery();
    case TReportKind::Contacts:
        return ContactQuery();
    case TReportKind::Addresses:
        return AddressQuery();
    }
    return {};
}

} // namespace

namespace {

QList<TReportColumn> MakeReportColumns(TReportKind kind) {
    auto c = [](const char* field, std::initializer_list<const char*> title, int width) {
        TReportColumn column;
        column.field = QString::fromLatin1(field);
        for (const char* part : title)
            column.title << QString::fromLatin1(part);
        column.width = width;
        return column;
    };
    // Whether the person is a group (a group's row shows no gender), and the rest of the birth's and the
    // death's dates beside their first dates.
    auto inner = [&](const char* field, const char* title) {
        TReportColumn column = c(field, {title}, -1);
        column.inner = true;
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
                c("user_modified", {"Last Modified By"}, 120),
                inner("is_section", "Group"),
                inner("birth_detail", "Date of Birth"),
                inner("death_detail", "Date of Death")};
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

} // namespace

const QList<TReportColumn>& ReportColumns(TReportKind kind) {
    static const QList<TReportColumn> columns[3] = {MakeReportColumns(TReportKind::Persons),
                                                    MakeReportColumns(TReportKind::Contacts),
                                                    MakeReportColumns(TReportKind::Addresses)};
    return columns[static_cast<int>(kind)];
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

QString ReportKindName(TReportKind kind) {
    switch (kind) {
    case TReportKind::Persons:
        return QStringLiteral("persons");
    case TReportKind::Contacts:
        return QStringLiteral("contacts");
    case TReportKind::Addresses:
        return QStringLiteral("addresses");
    }
    return {};
}

bool ReportKindFromName(const QString& name, TReportKind& kind) {
    for (const TReportKind each : {TReportKind::Persons, TReportKind::Contacts, TReportKind::Addresses})
        if (name.trimmed().compare(ReportKindName(each), Qt::CaseInsensitive) == 0) {
            kind = each;
            return true;
        }
    return false;
}

struct TReportReader::TState {
    TReportKind kind = TReportKind::Persons;
    Query query;
    QStringList header;
    int names[4] = {-1, -1, -1, -1};
    int deadColumn = -1;
    TRowFix fix;
    int done = 0;
    int total = 0;
    bool atEnd = true;
};

TReportReader::TReportReader(TReportKind kind) : state_(std::make_unique<TState>()) {
    state_->kind = kind;
}

TReportReader::~TReportReader() = default;

bool TReportReader::Start() {
    TState& s = *state_;
    const TReportKind kind = s.kind;
    s = TState();
    s.kind = kind;
    if (!Dm().IsConnected())
        return false;
    EnsureNameCache();
    const QString sql = QueryOf(kind);
    // The person list has a row for every row the name cache read; the others are counted on their
    // tables (counting the report's own query would read every row twice).
    s.total = kind == TReportKind::Persons
                  ? CachedRowCount()
                  : static_cast<int>(Dm().ScalarInt(QStringLiteral(
                        "SELECT count(*) FROM ftPerson INNER JOIN ftDetails ON ftPerson.person_id = "
                        "ftDetails.person_Id")));
    if (!Dm().OpenQuery(s.query, sql) || !s.query.IsPrepared())
        return false;
    for (int c = 0; c < s.query.ColumnCount(); ++c)
        s.header << s.query.ColumnName(c);
    const char* names[4] = {"Name1", "Name2", "Name3", "Name4"};
    for (int i = 0; i < 4; ++i)
        s.names[i] = ColumnOf(s.header, names[i]);
    s.deadColumn = ColumnOf(s.header, "is_dead");
    if (kind == TReportKind::Addresses)
        s.fix = AddressFix(s.header);
    if (kind == TReportKind::Persons) {
        s.fix = PersonFix(s.header);
        s.header.resize(ColumnOf(s.header, "is_section") + 1);
        s.header << QStringLiteral("birth_detail") << QStringLiteral("death_detail");
    }
    s.atEnd = false;
    return true;
}

QStringList TReportReader::Header() const {
    return state_->header;
}

int TReportReader::Done() const {
    return state_->done;
}

int TReportReader::Total() const {
    return std::max(state_->total, state_->done);
}

bool TReportReader::AtEnd() const {
    return state_->atEnd;
}

QList<QStringList> TReportReader::Read(int budgetMs, int maxRows) {
    TState& s = *state_;
    QList<QStringList> rows;
    if (s.atEnd)
        return rows;
    QElapsedTimer clock;
    clock.start();
    const int columns = s.query.ColumnCount();
    // The person's identifier is the second column of every report.
    constexpr int kIdColumn = 1;
    // The query stands on the row to read next.
    while (rows.size() < maxRows) {
        if (rows.size() % kRowsPerLook == kRowsPerLook - 1 && clock.elapsed() >= budgetMs)
            break;
        if (s.query.AtEnd()) {
            s.atEnd = true;
            s.query = Query();
            break;
        }
        QStringList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            if (c == s.deadColumn)
                row << (s.query.IsNull(c) ? QString()
                        : s.query.Bool(c) ? QStringLiteral("True")
                                          : QStringLiteral("False"));
            else
                row << s.query.Text(c);
        }
        const QStringList line = CachedFatherLine(row[kIdColumn], 4);
        for (int i = 0; i < 4; ++i)
            if (s.names[i] >= 0)
                row[s.names[i]] = line[i];
        if (s.fix)
            s.fix(row);
        rows << row;
        s.query.Next();
    }
    s.done += static_cast<int>(rows.size());
    return rows;
}

TextTable ReadReportTable(TReportKind kind, const TReportProgress& progress) {
    TReportReader reader(kind);
    if (!reader.Start())
        return {};
    TextTable table{reader.Header()};
    table.reserve(reader.Total() + 1);
    if (progress && !progress(0, reader.Total()))
        return {};
    while (!reader.AtEnd()) {
        table << reader.Read(INT_MAX, kProgressStep);
        if (!reader.AtEnd() && progress && !progress(reader.Done(), reader.Total()))
            return {};
    }
    if (progress)
        progress(reader.Done(), reader.Total());
    return table;
}

TextTable ReadPersonReportTable(const TReportProgress& progress) {
    return ReadReportTable(TReportKind::Persons, progress);
}

TextTable ReadContactReportTable(const TReportProgress& progress) {
    return ReadReportTable(TReportKind::Contacts, progress);
}

TextTable ReadAddressReportTable(const TReportProgress& progress) {
    return ReadReportTable(TReportKind::Addresses, progress);
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

void AppendReportRows(TZelGridModel& grid, const QList<QStringList>& rows) {
    // Every report's key column "oid" comes first; the grid's column 0 holds the row numbers instead.
    QList<QStringList> placed;
    placed.reserve(rows.size());
    for (const QStringList& row : rows) {
        QStringList cells = row;
        if (!cells.isEmpty())
            cells[0].clear();
        placed << cells;
    }
    grid.AppendRows(placed);
}

QList<int> ReportColumnWidths(TReportKind kind) {
    QList<int> widths{kind == TReportKind::Persons ? -2 : 40};
    for (const TReportColumn& column : ReportColumns(kind))
        widths << column.width;
    return widths;
}

QString ReportFieldOfColumn(TReportKind kind, int col) {
    const QList<TReportColumn>& columns = ReportColumns(kind);
    return col >= 1 && col <= columns.size() ? columns[col - 1].field : QString();
}

int ReportColumnOfField(TReportKind kind, const QString& field) {
    const QList<TReportColumn>& columns = ReportColumns(kind);
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].field.compare(field.trimmed(), Qt::CaseInsensitive) == 0)
            return i + 1;
    return -1;
}

QStringList ReportChoosableFields(TReportKind kind) {
    QStringList fields;
    for (const TReportColumn& column : ReportColumns(kind))
        if (!column.inner)
            fields << column.field;
    return fields;
}

QList<int> DefaultReportColumns(TReportKind kind) {
    QList<int> columns;
    const QList<TReportColumn>& all = ReportColumns(kind);
    for (int i = 0; i < all.size(); ++i)
        if (!all[i].inner && all[i].width > 0)
            columns << i + 1;
    return columns;
}

QList<int> ReportColumnsOfFields(TReportKind kind, const QStringList& fields, QString* unknown) {
    QList<int> columns;
    for (const QString& field : fields) {
        const int col = ReportColumnOfField(kind, field);
        if (col < 1 || ReportColumns(kind)[col - 1].inner) {
            if (unknown && unknown->isEmpty())
                *unknown = field.trimmed();
            continue;
        }
        if (!columns.contains(col))
            columns << col;
    }
    return columns;
}

QStringList ReportColumnFields(TReportKind kind, const QList<int>& columns) {
    QStringList fields;
    for (const int col : columns)
        if (const QString field = ReportFieldOfColumn(kind, col); !field.isEmpty())
            fields << field;
    return fields;
}

} // namespace verdan
