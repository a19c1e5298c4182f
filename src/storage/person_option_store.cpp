#include "person_option_store.h"

#include "database.h"
#include "person_store.h"

namespace verdan {

namespace {

bool HasOptionTable() {
    return Dm().TableExists(QStringLiteral("ftPersonOption"));
}

} // namespace

bool TPersonOption::IsEmpty() const {
    return !hide_picture && !hide_name && !deny_publish && icon_id == 0 && color == 0 &&
           title.trimmed().isEmpty();
}

bool ReadPersonOption(const QString& id, TPersonOption& option) {
    option = TPersonOption();
    option.person_id = id;
    if (id.trimmed().isEmpty() || !Dm().IsConnected())
        return false;
    Query q = Dm().Prepare(QStringLiteral("SELECT * FROM ftPersonOption WHERE person_id = ?"), id);
    if (!q.Next())
        return false;
    option.hide_picture = q.Bool("hide_picture");
    option.hide_name = q.Bool("hide_name");
    option.deny_publish = q.Bool("deny_publish");
    option.icon_id = int(q.Int("icon_id"));
    option.title = q.Text("title");
    option.color = qint32(q.Int("color"));
    return true;
}

bool WritePersonOption(const TPersonOption& option) {
    const QString& id = option.person_id;
    if (id.trimmed().isEmpty() || !HasOptionTable())
        return false;
    if (option.IsEmpty())
        return Dm().Execute(QStringLiteral("DELETE FROM ftPersonOption WHERE person_id = ?"), id) > 0;
    Transaction transaction;
    const bool exists =
        Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPersonOption WHERE person_id = ?"), id) > 0;
    const QString sql = exists ? QStringLiteral("UPDATE ftPersonOption SET hide_picture = ?, "
                                                "icon_id = ?, title = ?, color = ?, "
                                                "hide_name = ?, deny_publish = ?, date_modified "
                                                "= ?, user_modified = ? "
                                                "WHERE person_id = ?")
                               : QStringLiteral("INSERT INTO ftPersonOption (hide_picture, icon_id, title, "
                                                "color, hide_name, "
                                                "deny_publish, date_created, user_created, person_id) "
                                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const bool written =
        Dm().Execute(sql, option.hide_picture, option.icon_id, option.title, option.color, option.hide_name,
                     option.deny_publish, NowStamp(), CurrentUserName(), id) > 0;
    return written && transaction.Commit();
}

void ListOptionTitles(QStringList& lines) {
    lines.clear();
    lines << QString();
    if (!Dm().IsConnected() || !HasOptionTable())
        return;
    Query q =
        Dm().Prepare(QStringLiteral("SELECT title FROM ftPersonOption WHERE trim(ifnull(title, '')) <> '' "
                                    "GROUP BY title ORDER BY title COLLATE NAMES"));
    while (q.Next())
        lines << q.Text(0);
}

} // namespace verdan
