#include "storage/relation_store.h"

#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <QHash>

namespace verdan {

namespace {

// The rows of one type for the pair in either order.
const QString kPairCondition =
    QStringLiteral("((person_id_1 = ?1 AND person_id_2 = ?2) OR (person_id_1 = ?2 AND person_id_2 = ?1)) "
                   "AND relation_type = ?3");

CoupleChildrenHandler& ChildrenHandler() {
    static CoupleChildrenHandler handler;
    return handler;
}

// A person that may take part in a relation: a real identifier, not the outside-the-tree group.
bool Relatable(const QString& id) {
    return !IsReservedParentId(id) && !SameId(id, GetGlobalParentId());
}

bool RelatablePair(const QString& a, const QString& b) {
    return Relatable(a) && Relatable(b) && !SameId(a, b);
}

bool PairExists(const QString& a, const QString& b, TRelationType type) {
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return false;
    Query q = Dm().Prepare(QStringLiteral("SELECT oid FROM ftRelation WHERE ") + kPairCondition, a, b,
                           static_cast<int>(type));
    return q.Next();
}

int DeletePair(const QString& a, const QString& b, TRelationType type) {
    return Dm().Execute(QStringLiteral("DELETE FROM ftRelation WHERE ") + kPairCondition, a, b,
                        static_cast<int>(type));
}

// Inserts one relation row with the names of both persons and the created stamps; marriages also start
// with both orders unset.
bool InsertRelation(const QString& first, const QString& second, TRelationType type) {
    if (!RelatablePair(first, second) || PairExists(first, second, type))
        return false;
    const QVariant order = type == kMarriage ? QVariant(kUnsetMateOrder) : QVariant();
    return Dm().Execute(QStringLiteral("INSERT INTO ftRelation (owner_id, person_id_1, person_id_2, "
                                       "relation_type, name_1, name_2, relation_order_1, relation_order_2, "
                                       "date_created, user_created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                        GetOwnerId(), first, second, static_cast<int>(type), GetLineageName(first),
                        GetLineageName(second), order, order, NowStamp(), CurrentUserName()) == 1;
}

// One column of a marriage row with its stamp, addressed by husband and wife.
bool UpdateMarriage(const QString& husband, const QString& wife, const QString& column, int value) {
    if (husband.trimmed().isEmpty() || wife.trimmed().isEmpty())
        return false;
    return Dm().Execute(QStringLiteral("UPDATE ftRelation SET ") + column +
                            QStringLiteral(" = ?, date_modified = ?, user_modified = ? WHERE "
                                           "person_id_1 = ? AND person_id_2 = ? AND relation_type = 0"),
                        value, NowStamp(), CurrentUserName(), husband, wife) > 0;
}

// The rows of a bound query as a text table, row 0 the column names.
void ReadTable(Query& q, TextTable& table) {
    table.clear();
    QStringList header;
    for (int c = 0; c < q.ColumnCount(); ++c)
        header << q.ColumnName(c);
    table << header;
    while (q.Next()) {
        QStringList row;
        for (int c = 0; c < header.size(); ++c)
            row << q.Text(c);
        table << row;
    }
}

// Rows of (person_id_1, person_id_2) with column 0 turned into the other person of id.
void ReadOtherPersons(Query& q, const QString& id, TextTable& table) {
    ReadTable(q, table);
    for (qsizetype r = 1; r < table.size(); ++r) {
        if (SameId(table[r][0], id))
            table[r][0] = table[r][1];
    }
}

// Rewrites name_1 and name_2 of the rows the statement selects (oid, person_id_1, person_id_2), all or
// nothing. Each person's name is composed once.
bool RefreshNames(const QString& select) {
    struct Row {
        qint64 oid;
        QString first;
        QString second;
    };
    QList<Row> rows;
    {
        Query q = Dm().Prepare(select);
        while (q.Next())
            rows.append({q.Int(0), q.Text(1), q.Text(2)});
        if (q.Failed())
            return false;
    }
    QHash<QString, QString> names;
    auto nameOf = [&names](const QString& id) {
        const QString key = id.toUpper();
        auto it = names.constFind(key);
        if (it == names.constEnd())
            it = names.insert(key, GetLineageName(id));
        return *it;
    };
    Transaction transaction;
    for (const Row& row : rows) {
        if (Dm().Execute(QStringLiteral("UPDATE ftRelation SET name_1 = ?, name_2 = ? WHERE oid = ?"),
                         nameOf(row.first), nameOf(row.second), row.oid) < 0)
            return false;
    }
    return transaction.Commit();
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Marriages

bool MarriageExists(const QString& a, const QString& b) {
    return PairExists(a, b, kMarriage);
}

bool AddMarriage(const QString& husband, const QString& wife) {
    return InsertRelation(husband, wife, kMarriage);
}

bool SetMarriageActive(const QString& husband, const QString& wife) {
    return UpdateMarriage(husband, wife, QStringLiteral("is_active"), 1);
}

CoupleChildrenHandler SetCoupleChildrenHandler(CoupleChildrenHandler handler) {
    std::swap(ChildrenHandler(), handler);
    return handler;
}

bool RecordMarriage(const QString& husband, const QString& wife) {
    if (!RelatablePair(husband, wife))
        return false;
    Transaction transaction;
    AddMarriage(husband, wife);
    SetMarriageActive(husband, wife);
    return transaction.Commit() && MarriageExists(husband, wife);
}

void OfferCoupleChildren(const QString& husband, const QString& wife) {
    if (ChildrenHandler() && RelatablePair(husband, wife) &&
        (CountChildren(husband) > 0 || CountChildren(wife) > 0))
        ChildrenHandler()(husband, wife);
}

bool MarryPersons(const QString& husband, const QString& wife) {
    if (!RecordMarriage(husband, wife))
        return false;
    OfferCoupleChildren(husband, wife);
    return true;
}

bool HasMarriage(const QString& id) {
    if (id.trimmed().isEmpty())
        return false;
    Query q = Dm().Prepare(QStringLiteral("SELECT oid FROM ftRelation WHERE (person_id_1 = ?1 OR "
                                          "person_id_2 = ?1) AND relation_type = 0"),
                           id);
    return q.Next();
}

void ListMarriageRows(const QString& id, TextTable& table) {
    Query q = Dm().Prepare(QStringLiteral("SELECT person_id_1, person_id_2 FROM ftRelation WHERE "
                                          "(person_id_1 = ?1 OR person_id_2 = ?1) AND relation_type = 0 "
                                          "ORDER BY oid"),
                           id);
    ReadTable(q, table);
}

void ListMateIds(const QString& id, TextTable& table) {
    // A husband's rows follow the wives' order on his side, a wife's rows the husbands' order on hers.
    Query q = Dm().Prepare(QStringLiteral("SELECT person_id_1, person_id_2 FROM ftRelation WHERE "
                                          "(person_id_1 = ?1 OR person_id_2 = ?1) AND relation_type = 0 "
                                          "ORDER BY CASE WHEN person_id_1 = ?1 THEN relation_order_2 "
                                          "ELSE relation_order_1 END, oid"),
                           id);
    ReadOtherPersons(q, id, table);
}

void ListMates(const QString& id, TMateList& mates) {
    mates.clear();
    if (id.trimmed().isEmpty())
        return;
    const bool man = IsMaleGender(GetGender(id));
    const QString sql =
        man ? QStringLiteral("SELECT r.person_id_2, r.split, p.gender, p.is_dead FROM ftRelation r JOIN "
                             "ftPerson p ON p.person_id = r.person_id_2 WHERE r.person_id_1 = ? AND "
                             "r.relation_type = 0 ORDER BY r.relation_order_2, r.oid")
            : QStringLiteral("SELECT r.person_id_1, r.split, p.gender, p.is_dead FROM ftRelation r JOIN "
                             "ftPerson p ON p.person_id = r.person_id_1 WHERE r.person_id_2 = ? AND "
                             "r.relation_type = 0 ORDER BY r.relation_order_1, r.oid");
    QList<TMate> rows;
    {
        Query q = Dm().Prepare(sql, id);
        while (q.Next())
            rows.append({q.Text(0), QString(), q.Text(2), q.Bool(1), q.Bool(3)});
    }
    for (TMate& mate : rows)
        mate.LineageName = GetLineageName(mate.Person_Id);
    mates = rows;
}

QString GetActiveMate(const QString& id) {
    if (id.trimmed().isEmpty())
        return QString();
    struct Row {
        QString mate;
        bool active;
    };
    QList<Row> rows;
    {
        Query q = Dm().Prepare(QStringLiteral("SELECT person_id_1, person_id_2, is_active FROM ftRelation "
                                              "WHERE (person_id_1 = ?1 OR person_id_2 = ?1) AND "
                                              "relation_type = 0 ORDER BY oid"),
                               id);
        while (q.Next())
            rows.append({SameId(q.Text(0), id) ? q.Text(1) : q.Text(0), q.Bool(2)});
    }
    if (rows.isEmpty())
        return QString();
    QString result = rows.first().mate;
    for (const Row& row : rows) {
        if (!row.active)
            continue;
        result = row.mate;
        if (PersonExists(result))
            break;
    }
    return result;
}

bool SetWifeOrder(const QString& husband, const QString& wife, int order) {
    return UpdateMarriage(husband, wife, QStringLiteral("relation_order_2"), order);
}

bool SetHusbandOrder(const QString& wife, const QString& husband, int order) {
    return UpdateMarriage(husband, wife, QStringLiteral("relation_order_1"), order);
}

bool SetMarriageSplit(const QString& husband, const QString& wife, bool split) {
    return UpdateMarriage(husband, wife, QStringLiteral("split"), split ? 1 : 0);
}

int DeleteMarriage(const QString& a, const QString& b) {
    return DeletePair(a, b, kMarriage);
}

void ListMarriages(TextTable& table) {
    Query q = Dm().Prepare(QStringLiteral(
        "SELECT oid, person_id_1, person_id_2, name_1, name_2, relation_order_1, relation_order_2, notes "
        "FROM ftRelation WHERE relation_type = 0 ORDER BY name_1 COLLATE NAMES, relation_order_1, "
        "relation_order_2, person_id_1"));
    ReadTable(q, table);
}

void ListCouplesHusbandChildless(TextTable& table) {
    Query q = Dm().Prepare(QStringLiteral(
        "SELECT r.person_id_1, r.person_id_2, r.name_1, r.name_2 FROM ftRelation r WHERE r.relation_type = 0 "
        "AND NOT EXISTS (SELECT 1 FROM ftPerson WHERE father_id = r.person_id_1) "
        "AND EXISTS (SELECT 1 FROM ftPerson WHERE mother_id = r.person_id_2) ORDER BY r.person_id_2, r.oid"));
    ReadTable(q, table);
}

void ListCouplesWifeChildless(TextTable& table) {
    Query q = Dm().Prepare(QStringLiteral(
        "SELECT r.person_id_1, r.person_id_2, r.name_1, r.name_2 FROM ftRelation r WHERE r.relation_type = 0 "
        "AND NOT EXISTS (SELECT 1 FROM ftPerson WHERE mother_id = r.person_id_2) "
        "AND EXISTS (SELECT 1 FROM ftPerson WHERE father_id = r.person_id_1) ORDER BY r.person_id_1, r.oid"));
    ReadTable(q, table);
}

// ---------------------------------------------------------------------------------------------------------
// Breastfeeding siblings

bool BreastfeedingSiblingsExist(const QString& a, const QString& b) {
    return PairExists(a, b, kBreastfeedingSiblings);
}

bool AddBreastfeedingSiblings(const QString& a, const QString& b) {
    return InsertRelation(a, b, kBreastfeedingSiblings);
}

void ListBreastfeedingSiblings(const QString& id, TextTable& table) {
    Query q = Dm().Prepare(QStringLiteral("SELECT person_id_1, person_id_2 FROM ftRelation WHERE "
                                          "(person_id_1 = ?1 OR person_id_2 = ?1) AND relation_type = 1 "
                                          "ORDER BY oid"),
                           id);
    ReadOtherPersons(q, id, table);
}

int DeleteBreastfeedingSiblings(const QString& a, const QString& b) {
    return DeletePair(a, b, kBreastfeedingSiblings);
}

// ---------------------------------------------------------------------------------------------------------
// Breastfeeding mother

bool BreastfeedingMotherExists(const QString& mother, const QString& child) {
    return PairExists(mother, child, kBreastfeedingMother);
}

bool AddBreastfeedingMother(const QString& mother, const QString& child) {
    return InsertRelation(mother, child, kBreastfeedingMother);
}

void ListBreastfeedingMothers(const QString& child, TextTable& table) {
    Query q = Dm().Prepare(
        QStringLiteral(
            "SELECT person_id_1 FROM ftRelation WHERE person_id_2 = ? AND relation_type = 2 ORDER BY oid"),
        child);
    ReadTable(q, table);
}

void ListBreastfeedingChildren(const QString& mother, TextTable& table) {
    Query q = Dm().Prepare(
        QStringLiteral(
            "SELECT person_id_2 FROM ftRelation WHERE person_id_1 = ? AND relation_type = 2 ORDER BY oid"),
        mother);
    ReadTable(q, table);
}

int DeleteBreastfeedingMother(const QString& mother, const QString& child) {
    return Dm().Execute(QStringLiteral("DELETE FROM ftRelation WHERE person_id_1 = ? AND person_id_2 = ? "
                                       "AND relation_type = 2"),
                        mother, child);
}

void ListBreastfeedingRelations(TextTable& table) {
    Query q = Dm().Prepare(QStringLiteral(
        "SELECT oid, person_id_1, person_id_2, name_1, relation_type, name_2, notes FROM "
        "ftRelation WHERE relation_type IN (1, 2) ORDER BY name_1 COLLATE NAMES, person_id_1"));
    ReadTable(q, table);
}

// ---------------------------------------------------------------------------------------------------------
// Any type

void ListRelationLinks(const QString& id, QList<TRelationLink>& links) {
    links.clear();
    if (id.trimmed().isEmpty())
        return;
    Query q =
        Dm().Prepare(QStringLiteral("SELECT person_id_1, person_id_2, relation_type, split FROM ftRelation "
                                    "WHERE person_id_1 = ?1 OR person_id_2 = ?1 ORDER BY oid"),
                     id);
    while (q.Next()) {
        const bool first = SameId(q.Text(0), id);
        const QString other = first ? q.Text(1) : q.Text(0);
        if (SameId(other, id))
            continue;
        links.append({other, static_cast<int>(q.Int(2)), first, q.Bool(3)});
    }
}

bool HasAnyRelation(const QString& id) {
    if (id.trimmed().isEmpty())
        return false;
    Query q = Dm().Prepare(
        QStringLiteral("SELECT oid FROM ftRelation WHERE person_id_1 = ?1 OR person_id_2 = ?1"), id);
    return q.Next();
}

int DeleteRelationsOfPerson(const QString& id) {
    if (id.trimmed().isEmpty())
        return 0;
    return Dm().Execute(QStringLiteral("DELETE FROM ftRelation WHERE person_id_1 = ?1 OR person_id_2 = ?1"),
                        id);
}

bool RefreshAllRelationNames() {
    return RefreshNames(QStringLiteral("SELECT oid, person_id_1, person_id_2 FROM ftRelation"));
}

bool RefreshBreastfeedingRelationNames() {
    return RefreshNames(
        QStringLiteral("SELECT oid, person_id_1, person_id_2 FROM ftRelation WHERE relation_type > 0"));
}

bool RefreshRelationNamesOf(const QString& id) {
    if (id.trimmed().isEmpty())
        return false;
    const QString name = GetLineageName(id);
    if (name.isEmpty())
        return false;
    Transaction transaction;
    if (Dm().Execute(QStringLiteral("UPDATE ftRelation SET name_1 = ? WHERE person_id_1 = ?"), name, id) <
            0 ||
        Dm().Execute(QStringLiteral("UPDATE ftRelation SET name_2 = ? WHERE person_id_2 = ?"), name, id) < 0)
        return false;
    return transaction.Commit();
}

} // namespace verdan
