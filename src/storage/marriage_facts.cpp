#include "marriage_facts.h"

#include "storage/date_columns.h"
#include "storage/person_store.h"
#include "storage/sql_literals.h"

namespace verdan {

bool ReadMarriageFacts(const QString& husband, const QString& wife, TMarriageFacts& facts) {
    facts = TMarriageFacts();
    if (!Dm().IsConnected())
        return false;
    Query q =
        Dm().Prepare(QStringLiteral("SELECT * FROM ftRelation WHERE person_id_1 = ? AND person_id_2 = ? AND "
                                    "relation_type = 0 ORDER BY oid LIMIT 1"),
                     husband, wife);
    if (!q.Next())
        return false;
    facts.Married = ReadDateColumns(q, kMarriageDateColumns);
    facts.Divorced = ReadDateColumns(q, kDivorceDateColumns);
    // A tree from before the Hijri marriage column kept that date where the divorce date goes now.
    if (MarriageHijriInDivorceColumn()) {
        facts.Married.Hijri = facts.Divorced.Gregorian;
        facts.Divorced = TDateValue();
    }
    facts.Place = q.Text(QStringLiteral("place"));
    facts.DivorcePlace = q.Text(QStringLiteral("divorce_place"));
    facts.Notes = q.Text(QStringLiteral("notes"));
    return true;
}

bool WriteMarriageFacts(const QString& husband, const QString& wife, const TMarriageFacts& facts) {
    if (husband.trimmed().isEmpty() || wife.trimmed().isEmpty() ||
        !HasDateDetailColumns(kMarriageDateColumns) || !HasDateDetailColumns(kDivorceDateColumns))
        return false;
    Query q =
        Dm().Prepare(QStringLiteral("UPDATE ftRelation SET ") + DateAssignments(kMarriageDateColumns, true) +
                     QStringLiteral(", ") + DateAssignments(kDivorceDateColumns, true) +
                     QStringLiteral(", place = ?, divorce_place = ?, notes = ?, date_modified = ?, "
                                    "user_modified = ? WHERE person_id_1 = ? AND person_id_2 = ? AND "
                                    "relation_type = 0"));
    BindDateColumns(q, facts.Married, true);
    BindDateColumns(q, facts.Divorced, true);
    q.BindAll(facts.Place, facts.DivorcePlace, facts.Notes, NowStamp(), CurrentUserName(), husband, wife);
    return q.Exec() && q.Changes() > 0;
}

} // namespace verdan
