#include "bookmark_store.h"

#include <optional>

namespace verdan {

namespace {

constexpr int kNewOrder = 999;
constexpr int kBookmark = 0;
constexpr int kFavourite = 1;

// Bookmarks written by earlier versions may carry no type at all.
const char* const kIsBookmark = "(b_type = 0 OR b_type IS NULL)";

std::optional<qint64> ParseOid(const QString& text) {
    const QString trimmed = text.trimmed();
    for (QChar c : trimmed)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    bool ok = false;
    const qint64 oid = trimmed.toLongLong(&ok);
    if (!ok || oid <= 0)
        return std::nullopt;
    return oid;
}

bool IsBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

QString BookmarkOf(const char* select) {
    return QLatin1String(select) + QStringLiteral(" FROM ftBookmark WHERE person_id = ? AND ") +
           QLatin1String(kIsBookmark);
}

bool Insert(const QString& id, const QString& note, int type) {
    return Dm().Execute(QStringLiteral("INSERT INTO ftBookmark (person_id, notes, display_order, b_type) "
                                       "VALUES (?, ?, ?, ?)"),
                        id, note, kNewOrder, type) == 1;
}

void ListPersonsWithText(const char* column, TextTable& table) {
    const QString c = QLatin1String(column);
    Dm().QueryToTable(
        QStringLiteral("SELECT Person_Id, Person_Name, ") + c +
            QStringLiteral(", substr(Date_Modified, 1, 10) AS Date_Modified FROM ftPerson WHERE ") + c +
            QStringLiteral(" IS NOT NULL AND ") + c +
            QStringLiteral(" <> '' ORDER BY ftPerson.Date_Modified, ftPerson.oid"),
        table);
}

} // namespace

void ListBookmarks(TextTable& table) {
    Dm().QueryToTable(QStringLiteral("SELECT oid, person_id, '' AS name, notes FROM ftBookmark WHERE ") +
                          QLatin1String(kIsBookmark) + QStringLiteral(" ORDER BY oid DESC"),
                      table);
}

QString GetBookmarkNote(const QString& oid) {
    const auto key = ParseOid(oid);
    if (!key)
        return QString();
    return Dm().ScalarText(QStringLiteral("SELECT notes FROM ftBookmark WHERE oid = ?"), *key);
}

QString GetPersonBookmarkNote(const QString& id) {
    return Dm().ScalarText(BookmarkOf("SELECT notes"), id);
}

bool GetPersonBookmark(const QString& id, QString& oid, QString& note) {
    oid.clear();
    note.clear();
    Query q = Dm().Prepare(BookmarkOf("SELECT oid, notes"), id);
    if (!q.Next())
        return false;
    oid = q.Text(0);
    note = q.Text(1);
    return true;
}

bool SetPersonBookmark(const QString& id, const QString& note) {
    if (IsBlank(id))
        return false;
    Transaction transaction;
    const bool exists = Dm().ScalarInt(BookmarkOf("SELECT count(*)"), id) > 0;
    const bool written =
        exists ? Dm().Execute(QStringLiteral("UPDATE ftBookmark SET notes = ? WHERE person_id = ? AND ") +
                                  QLatin1String(kIsBookmark),
                              note, id) > 0
               : Insert(id, note, kBookmark);
    return written && transaction.Commit();
}

bool SetBookmarkNote(const QString& oid, const QString& note) {
    const auto key = ParseOid(oid);
    return key &&
           Dm().Execute(QStringLiteral("UPDATE ftBookmark SET notes = ? WHERE oid = ?"), note, *key) > 0;
}

bool SetBookmarkOrder(const QString& oid, int order) {
    const auto key = ParseOid(oid);
    return key && Dm().Execute(QStringLiteral("UPDATE ftBookmark SET display_order = ? WHERE oid = ?"), order,
                               *key) > 0;
}

bool DeleteBookmark(const QString& oid) {
    const auto key = ParseOid(oid);
    return key && Dm().Execute(QStringLiteral("DELETE FROM ftBookmark WHERE oid = ?"), *key) > 0;
}

bool DeletePersonBookmark(const QString& id) {
    if (IsBlank(id))
        return false;
    return Dm().Execute(QStringLiteral("DELETE FROM ftBookmark WHERE person_id = ? AND ") +
                            QLatin1String(kIsBookmark),
                        id) > 0;
}

void ListFavourites(TextTable& table) {
    Dm().QueryToTable(QStringLiteral("SELECT oid, person_id, notes FROM ftBookmark WHERE b_type = 1 "
                                     "ORDER BY display_order, oid"),
                      table);
}

bool AddFavourite(const QString& id, const QString& note) {
    if (IsBlank(id))
        return false;
    if (Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftBookmark WHERE person_id = ? AND b_type = 1"),
                       id) > 0)
        return false;
    return Insert(id, note, kFavourite);
}

bool DeleteFavourite(const QString& oid) {
    const auto key = ParseOid(oid);
    return key &&
           Dm().Execute(QStringLiteral("DELETE FROM ftBookmark WHERE oid = ? AND b_type = 1"), *key) > 0;
}

void ListPersonsWithNotes(TextTable& table) {
    ListPersonsWithText("Notes", table);
}

void ListPersonsWithBriefing(TextTable& table) {
    ListPersonsWithText("Briefing", table);
}

} // namespace verdan
