#include "schema.h"

#include "database.h"

#include <QRegularExpression>
#include <QSet>

namespace verdan {

namespace {

// Column types of the tree file. Short texts compare without regard to letter case, as the names in the
// file always have; long texts keep every character as typed ("007" stays "007"); booleans are 1 or 0 and
// never null; stamps are ISO text so that they order correctly.
#define KEY "oid INTEGER PRIMARY KEY AUTOINCREMENT"
#define TXT " TEXT COLLATE NOCASE"
#define MEMO " TEXT"
#define BIT " INTEGER NOT NULL DEFAULT 0"
#define INT " INTEGER"
#define STAMP " TEXT"
#define ORDER " INTEGER DEFAULT 99"

const char* const kDetailsTable =
    "CREATE TABLE IF NOT EXISTS ftDetails (" KEY ", owner_id" TXT ", person_Id" TXT ", identity_no" TXT
    ", cell_phone" TXT ", home_phone" TXT ", email" TXT ", address" MEMO ", work_address" MEMO
    ", net_accounts" MEMO ")";

// The events besides birth and death, and who took part in each: one row per person and event.
const char* const kEventsTable =
    "CREATE TABLE IF NOT EXISTS ftEvents (" KEY ", owner_id" TXT ", event_Id" TXT ", event_type" TXT
    ", event_date" STAMP ", event_place" MEMO ", source_id" TXT ", source" TXT ", agency" TXT ", cause" TXT
    ", notes" MEMO ", date_modified" STAMP ", user_modified" TXT ", event_date_g" INT ", event_date_h" INT
    ", date_qualifier" INT ", event_date_2_g" INT ", event_date_2_h" INT ", date_dual" INT
    ", date_phrase" MEMO ", event_value" MEMO ", event_time" TXT ", event_descriptor" TXT ", is_family" BIT
    ")";
const char* const kEventPersonsTable =
    "CREATE TABLE IF NOT EXISTS ftEvents_persn (" KEY ", owner_id" TXT ", event_Id" TXT ", person_id" TXT
    ", age" INT ", date_modified" STAMP ", user_modified" TXT ", age_text" TXT ")";

const char* const kTables[] = {
    "CREATE TABLE ftBookmark (" KEY ", owner_id" TXT ", person_id" TXT ", b_type INTEGER NOT NULL DEFAULT 0"
    ", display_order" INT ", notes" TXT ")",
    "CREATE TABLE ftOption (" KEY ", hide_nickname" BIT ")",
    "CREATE TABLE ftPerson (" KEY ", owner_id" TXT ", person_id" TXT ", father_id" TXT ", mother_id" TXT
    ", gender" TXT ", person_name" TXT ", other_name" TXT ", last_name" TXT ", nickname" TXT ", cognomen" TXT
    ", family_name" TXT ", family_nickname" TXT ", date_of_birth_g" INT ", date_of_birth_h" INT
    ", date_of_death_g" INT ", date_of_death_h" INT ", place_of_birth" TXT ", place_of_death" TXT
    ", default_calendar" INT ", display_order" ORDER ", order_by_father" ORDER ", order_by_mother" ORDER
    ", is_section" BIT ", section_type" TXT ", is_dead" BIT ", briefing" MEMO ", notes" MEMO
    ", pre_father_id" TXT ", pre_mother_id" TXT ", date_created" STAMP ", user_created" TXT
    ", date_modified" STAMP ", user_modified" TXT ", birth_qualifier" INT ", birth_date_2_g" INT
    ", birth_date_2_h" INT ", birth_dual" INT ", birth_phrase" MEMO ", death_qualifier" INT
    ", death_date_2_g" INT ", death_date_2_h" INT ", death_dual" INT ", death_phrase" MEMO ")",
    "CREATE TABLE ftPersonOption (" KEY ", person_id" TXT ", hide_picture" BIT ", icon_id" INT ", color" INT
    ", title" TXT ", hide_name" BIT ", deny_publish" BIT ", date_created" STAMP ", user_created" TXT
    ", date_modified" STAMP ", user_modified" TXT ")",
    "CREATE TABLE ftPictures (" KEY ", picture_id" TXT ", owner_id" TXT ", person_id" TXT ", file_path" TXT
    ", pic_default" BIT ", picture_date" INT ", pic_description" TXT ", notes" TXT ", date_created" STAMP
    ", user_created" TXT ", date_modified" STAMP ", user_modified" TXT ")",
    "CREATE TABLE ftRelation (" KEY ", owner_id" TXT ", person_id_1" TXT ", person_id_2" TXT ", name_1" TXT
    ", name_2" TXT ", relation_type" INT ", split" BIT ", is_active" BIT ", relation_order_1" INT
    ", relation_order_2" INT ", relation_date_1" INT ", relation_date_2" INT ", notes" TXT ", place" TXT
    ", date_created" STAMP ", user_created" TXT ", date_modified" STAMP ", user_modified" TXT
    ", relation_date_1_h" INT ", relation_date_2_h" INT ", marriage_qualifier" INT ", marriage_date_2_g" INT
    ", marriage_date_2_h" INT ", marriage_dual" INT ", marriage_phrase" MEMO ", divorce_qualifier" INT
    ", divorce_date_2_g" INT ", divorce_date_2_h" INT ", divorce_dual" INT ", divorce_phrase" MEMO
    ", divorce_place" TXT ")",
    "CREATE TABLE ftTreeInfo (" KEY ", owner_id" TXT ", owner_name" TXT ", tree_name" TXT
    ", global_parent_id" TXT ", description BLOB, last_Id" TXT ", hide_about" BIT ")",
    kDetailsTable,
    kEventsTable,
    kEventPersonsTable,
};

// Index names are per file, so each carries its table's name. The (parent, order) pairs serve both the
// child lists and their sort.
const char* const kIndexes[] = {
    "CREATE UNIQUE INDEX IF NOT EXISTS ftBookmark_idx_person_id ON ftBookmark (person_id, b_type)",
    "CREATE UNIQUE INDEX IF NOT EXISTS ftPerson_idx_person_id ON ftPerson (person_id)",
    "CREATE INDEX IF NOT EXISTS ftPerson_idx_father_id ON ftPerson (father_id, order_by_father)",
    "CREATE INDEX IF NOT EXISTS ftPerson_idx_mother_id ON ftPerson (mother_id, order_by_mother)",
    "CREATE UNIQUE INDEX IF NOT EXISTS ftPersonOption_idx_person_id ON ftPersonOption (person_id)",
    "CREATE UNIQUE INDEX IF NOT EXISTS ftPictures_idx_picture_id ON ftPictures (picture_id)",
    "CREATE INDEX IF NOT EXISTS ftPictures_idx_person_id ON ftPictures (person_id)",
    "CREATE INDEX IF NOT EXISTS ftRelation_idx_person_id_1 ON ftRelation (person_id_1)",
    "CREATE INDEX IF NOT EXISTS ftRelation_idx_person_id_2 ON ftRelation (person_id_2)",
    "CREATE UNIQUE INDEX IF NOT EXISTS ftDetails_idx_person_id ON ftDetails (person_id)",
    "CREATE UNIQUE INDEX IF NOT EXISTS ftEvents_idx_event_id ON ftEvents (event_Id)",
    "CREATE INDEX IF NOT EXISTS ftEvents_persn_idx_person ON ftEvents_persn (person_id)",
    ("CREATE UNIQUE INDEX IF NOT EXISTS ftEvents_persn_idx_event_person ON ftEvents_persn (event_Id, "
     "person_id)"),
};

#undef KEY
#undef TXT
#undef MEMO
#undef BIT
#undef INT
#undef STAMP
#undef ORDER

TFieldProp Field(const char* name, int type, int size) {
    TFieldProp field;
    field.name = QString::fromLatin1(name);
    field.type = type;
    field.size = size;
    return field;
}

} // namespace

QStringList SchemaStatements() {
    QStringList statements;
    for (const char* sql : kTables)
        statements << QString::fromLatin1(sql);
    for (const char* sql : kIndexes)
        statements << QString::fromLatin1(sql);
    return statements;
}

bool CreateSchema(Tdm& dm) {
    Transaction transaction(dm);
    if (!transaction.Active())
        return false;
    for (const QString& sql : SchemaStatements())
        if (!dm.ExecSql(sql))
            return false;
    return transaction.Commit();
}

bool CreateDetailsTable(Tdm& dm) {
    if (dm.TableExists(QStringLiteral("ftDetails")))
        return true;
    return dm.ExecSql(QString::fromLatin1(kDetailsTable)) &&
           dm.ExecSql(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS ftDetails_idx_person_id ON ftDetails "
                                     "(person_id)"));
}

QList<std::pair<QString, TFieldProp>> UpgradeColumns() {
    const QString person = QStringLiteral("ftPerson");
    const QString option = QStringLiteral("ftPersonOption");
    const QString details = QStringLiteral("ftDetails");
    QList<std::pair<QString, TFieldProp>> columns{
        {person, Field("default_calendar", 3, 20)},
        {person, Field("pre_father_id", 202, 50)},
        {person, Field("pre_mother_id", 202, 50)},
        {QStringLiteral("ftRelation"), Field("place", 202, 255)},
        {option, Field("hide_name", 11, 1)},
        {option, Field("deny_publish", 11, 1)},
        {details, Field("owner_id", 202, 50)},
        {details, Field("person_Id", 202, 50)},
        {details, Field("identity_no", 202, 30)},
        {details, Field("cell_phone", 202, 25)},
        {details, Field("home_phone", 202, 25)},
        {details, Field("email", 202, 30)},
        {details, Field("address", 203, 0)},
        {details, Field("work_address", 203, 0)},
        {details, Field("net_accounts", 203, 0)},
        {option, Field("title", 202, 50)},
        {QStringLiteral("ftTreeInfo"), Field("hide_about", 11, 1)},
    };
    return columns + DatedFactColumns();
}

QList<std::pair<QString, TFieldProp>> DatedFactColumns() {
    const QString person = QStringLiteral("ftPerson");
    const QString relation = QStringLiteral("ftRelation");
    const QString events = QStringLiteral("ftEvents");
    return {
        {person, Field("birth_qualifier", 3, 20)},
        {person, Field("birth_date_2_g", 3, 20)},
        {person, Field("birth_date_2_h", 3, 20)},
        {person, Field("birth_dual", 3, 20)},
        {person, Field("birth_phrase", 203, 0)},
        {person, Field("death_qualifier", 3, 20)},
        {person, Field("death_date_2_g", 3, 20)},
        {person, Field("death_date_2_h", 3, 20)},
        {person, Field("death_dual", 3, 20)},
        {person, Field("death_phrase", 203, 0)},
        {relation, Field("relation_date_1_h", 3, 20)},
        {relation, Field("relation_date_2_h", 3, 20)},
        {relation, Field("marriage_qualifier", 3, 20)},
        {relation, Field("marriage_date_2_g", 3, 20)},
        {relation, Field("marriage_date_2_h", 3, 20)},
        {relation, Field("marriage_dual", 3, 20)},
        {relation, Field("marriage_phrase", 203, 0)},
        {relation, Field("divorce_qualifier", 3, 20)},
        {relation, Field("divorce_date_2_g", 3, 20)},
        {relation, Field("divorce_date_2_h", 3, 20)},
        {relation, Field("divorce_dual", 3, 20)},
        {relation, Field("divorce_phrase", 203, 0)},
        {relation, Field("divorce_place", 202, 255)},
        {events, Field("event_date_g", 3, 20)},
        {events, Field("event_date_h", 3, 20)},
        {events, Field("date_qualifier", 3, 20)},
        {events, Field("event_date_2_g", 3, 20)},
        {events, Field("event_date_2_h", 3, 20)},
        {events, Field("date_dual", 3, 20)},
        {events, Field("date_phrase", 203, 0)},
        {events, Field("event_value", 203, 0)},
        {events, Field("event_time", 202, 50)},
        {events, Field("event_descriptor", 202, 255)},
        {events, Field("is_family", 11, 1)},
        {QStringLiteral("ftEvents_persn"), Field("age_text", 202, 50)},
    };
}

bool UpgradeSchemaOf(Tdm& dm) {
    bool all = dm.ExecSql(QString::fromLatin1(kEventsTable));
    all = dm.ExecSql(QString::fromLatin1(kEventPersonsTable)) && all;
    // The first import wrote a marriage's Hijri date into relation_date_2, which holds the divorce date now.
    const bool hijriMarriageColumn =
        dm.ColumnExists(QStringLiteral("ftRelation"), QStringLiteral("relation_date_1_h"));
    for (const auto& [table, field] : UpgradeColumns())
        all = dm.AddColumn(table, field) && all;
    if (!hijriMarriageColumn &&
        dm.ColumnExists(QStringLiteral("ftRelation"), QStringLiteral("relation_date_1_h")))
        all = dm.ExecSql(QStringLiteral(
                  "UPDATE ftRelation SET relation_date_1_h = relation_date_2, relation_date_2 = 0 "
                  "WHERE relation_type = 0 AND ifnull(relation_date_2, 0) <> 0")) &&
              all;
    // A person once had room for one event only.
    all = dm.ExecSql(QStringLiteral("DROP INDEX IF EXISTS ftEvents_persn_idx_person_id")) && all;
    for (const char* sql : kIndexes)
        all = dm.ExecSql(QString::fromLatin1(sql)) && all;
    return all;
}

bool ShowAbsentSchemaAsEmpty(Tdm& dm) {
    // The schema a tree has after every upgrade, made where it costs nothing.
    Tdm full;
    if (!full.Open(QStringLiteral(":memory:"), true) || !CreateSchema(full) || !UpgradeSchemaOf(full))
        return false;
    QList<std::pair<QString, QString>> tables; // name, statement
    {
        Query q = full.Prepare(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND "
                                              "name NOT LIKE 'sqlite_%' ORDER BY name"));
        q.ForEachRow([&](Query& row) { tables.append({row.Text(0), row.Text(1)}); });
    }
    bool all = true;
    for (const auto& [table, statement] : tables) {
        QSet<QString> present;
        Query columns = dm.Prepare(QStringLiteral("SELECT name FROM pragma_table_info(?, 'main')"), table);
        columns.ForEachRow([&](Query& row) { present.insert(row.Text(0).toLower()); });
        if (present.isEmpty()) {
            QString temporary = statement;
            temporary.replace(QRegularExpression(QStringLiteral("^CREATE TABLE( IF NOT EXISTS)?"),
                                                 QRegularExpression::CaseInsensitiveOption),
                              QStringLiteral("CREATE TEMP TABLE"));
            all = dm.ExecSql(temporary) && all;
            continue;
        }
        QStringList added;
        Query wanted =
            full.Prepare(QStringLiteral("SELECT name, dflt_value FROM pragma_table_info(?)"), table);
        wanted.ForEachRow([&](Query& row) {
            if (!present.contains(row.Text(0).toLower()))
                added << (row.IsNull(1) ? QStringLiteral("NULL") : row.Text(1)) + QStringLiteral(" AS \"") +
                             row.Text(0) + u'"';
        });
        if (!added.isEmpty())
            all = dm.ExecSql(QStringLiteral("CREATE TEMP VIEW \"%1\" AS SELECT *, %2 FROM main.\"%1\"")
                                 .arg(table, added.join(QStringLiteral(", ")))) &&
                  all;
    }
    return all;
}

QStringList MissingDatedFactColumns(Tdm& dm) {
    QStringList missing;
    for (const auto& [table, field] : DatedFactColumns())
        if (!dm.ColumnExists(table, field.name))
            missing << table + u'.' + field.name;
    return missing;
}

bool IsBooleanColumn(const QString& column) {
    static const QSet<QString> columns = {
        QStringLiteral("is_section"),   QStringLiteral("is_dead"),     QStringLiteral("hide_nickname"),
        QStringLiteral("hide_picture"), QStringLiteral("pic_default"), QStringLiteral("split"),
        QStringLiteral("is_active"),    QStringLiteral("hide_about"),  QStringLiteral("hide_name"),
        QStringLiteral("deny_publish"), QStringLiteral("is_family"),
    };
    return columns.contains(column.toLower());
}

} // namespace verdan
