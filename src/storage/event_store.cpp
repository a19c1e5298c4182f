#include "event_store.h"

#include "storage/database.h"
#include "storage/date_columns.h"
#include "storage/person_store.h"
#include "storage/sql_literals.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <QHash>

namespace verdan {

namespace {

// The columns EventAt reads (each with the prefix), NULL for those an older table lacks.
constexpr int kEventColumns = 19;
QString EventColumns(const QString& prefix = QString()) {
    QStringList list;
    for (const char* column :
         {"oid", "event_Id", "event_type", "event_descriptor", "event_value", "event_time", "event_place",
          "agency", "cause", "source", "notes", "is_family"})
        list << (Dm().ColumnExists(QStringLiteral("ftEvents"), QString::fromLatin1(column))
                     ? prefix + QString::fromLatin1(column)
                     : QStringLiteral("NULL"));
    return list.join(QStringLiteral(", ")) + QStringLiteral(", ") + DateColumnList(kEventDateColumns, prefix);
}

TEvent EventAt(const Query& q) {
    TEvent event;
    event.OId = q.Int(0);
    event.Event_Id = q.Text(1);
    event.Type = q.Text(2);
    event.Descriptor = q.Text(3);
    event.Value = q.Text(4);
    event.Time = q.Text(5);
    event.Place = q.Text(6);
    event.Agency = q.Text(7);
    event.Cause = q.Text(8);
    event.Source = q.Text(9);
    event.Notes = q.Text(10);
    event.Family = q.Bool(11);
    event.Date = ReadDateColumnsAt(q, 12);
    return event;
}

// The persons of the events in the list, in the order they were added to each.
void ReadPersons(QList<TEvent>& events) {
    QHash<QString, int> index;
    for (int i = 0; i < events.size(); ++i)
        index.insert(events[i].Event_Id.toUpper(), i);
    const QString age = Dm().ColumnExists(QStringLiteral("ftEvents_persn"), QStringLiteral("age_text"))
                            ? QStringLiteral("age_text")
                            : QStringLiteral("NULL");
    const QString sql = QStringLiteral("SELECT event_Id, person_id, ") + age +
                        QStringLiteral(" FROM ftEvents_persn") +
                        (events.size() == 1 ? QStringLiteral(" WHERE event_Id = ? ORDER BY oid")
                                            : QStringLiteral(" ORDER BY oid"));
    Query q = events.size() == 1 ? Dm().Prepare(sql, events[0].Event_Id) : Dm().Prepare(sql);
    while (q.Next()) {
        const auto found = index.constFind(q.Text(0).toUpper());
        if (found != index.constEnd())
            events[*found].Persons.append({q.Text(1), q.Text(2)});
    }
}

// The age in whole years of an age text such as "42y 3m" or "42"; 0 when it names none.
int AgeYears(const QString& age) {
    qsizetype i = 0;
    while (i < age.size() && !age[i].isDigit())
        ++i;
    qsizetype end = i;
    while (end < age.size() && age[end].isDigit())
        ++end;
    const bool years = end == age.size() || age[end] == u'y' || age[end] == u'Y' || age[end].isSpace();
    return years && end > i && end - i < 4 ? age.mid(i, end - i).toInt() : 0;
}

bool WriteFields(const TEvent& event, bool insert) {
    const QString fields =
        QStringLiteral("event_type = ?, event_descriptor = ?, event_value = ?, ") +
        DateAssignments(kEventDateColumns, true) +
        QStringLiteral(", event_time = ?, event_place = ?, agency = ?, cause = ?, source = ?, "
                       "notes = ?, is_family = ?, date_modified = ?, user_modified = ?");
    Query q;
    if (insert) {
        q = Dm().Prepare(QStringLiteral("INSERT INTO ftEvents (owner_id, event_Id) VALUES (?, ?)"),
                         GetOwnerId(), event.Event_Id);
        if (!q.Exec())
            return false;
    }
    q = Dm().Prepare(QStringLiteral("UPDATE ftEvents SET ") + fields + QStringLiteral(" WHERE event_Id = ?"));
    q.BindAll(event.Type.trimmed(), event.Descriptor, event.Value);
    BindDateColumns(q, event.Date, true);
    q.BindAll(event.Time, event.Place, event.Agency, event.Cause, event.Source, event.Notes,
              event.Family ? 1 : 0, NowStamp(), CurrentUserName(), event.Event_Id);
    if (!q.Exec() || q.Changes() != 1)
        return false;
    if (!insert &&
        Dm().Execute(QStringLiteral("DELETE FROM ftEvents_persn WHERE event_Id = ?"), event.Event_Id) < 0)
        return false;
    for (const TEventPerson& person : event.Persons) {
        const int written =
            Dm().Execute(QStringLiteral("INSERT OR IGNORE INTO ftEvents_persn (owner_id, event_Id, "
                                        "person_id, age, age_text, date_modified, user_modified) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                         GetOwnerId(), event.Event_Id, person.Person_Id, AgeYears(person.Age), person.Age,
                         NowStamp(), CurrentUserName());
        if (written < 0)
            return false;
    }
    return true;
}

bool Writable(const TEvent& event) {
    if (!HasEventTables() || event.Type.trimmed().isEmpty() || event.Persons.isEmpty())
        return false;
    for (const TEventPerson& person : event.Persons)
        if (IsReservedParentId(person.Person_Id))
            return false;
    return true;
}

} // namespace

bool HasEventTables() {
    return Dm().IsConnected() && HasDateDetailColumns(kEventDateColumns) &&
           Dm().ColumnExists(QStringLiteral("ftEvents_persn"), QStringLiteral("age_text"));
}

QList<TEvent> ListPersonEvents(const QString& personId) {
    QList<TEvent> events;
    if (personId.trimmed().isEmpty() || !Dm().IsConnected() ||
        !Dm().TableExists(QStringLiteral("ftEvents_persn")))
        return events;
    {
        Query q = Dm().Prepare(QStringLiteral("SELECT ") + EventColumns() +
                                   QStringLiteral(" FROM ftEvents WHERE event_Id IN (SELECT event_Id FROM "
                                                  "ftEvents_persn WHERE person_id = ?) ORDER BY oid"),
                               personId);
        while (q.Next())
            events.append(EventAt(q));
    }
    for (TEvent& event : events) {
        QList<TEvent> one{event};
        ReadPersons(one);
        event.Persons = one[0].Persons;
    }
    return events;
}

void ForEachEvent(const std::function<bool(TEvent&)>& fn) {
    if (!Dm().IsConnected() || !Dm().TableExists(QStringLiteral("ftEvents")) ||
        !Dm().TableExists(QStringLiteral("ftEvents_persn")))
        return;
    // One pass over the events with their persons, each event's rows together.
    const QString age = Dm().ColumnExists(QStringLiteral("ftEvents_persn"), QStringLiteral("age_text"))
                            ? QStringLiteral("p.age_text")
                            : QStringLiteral("NULL");
    Query q = Dm().Prepare(QStringLiteral("SELECT ") + EventColumns(QStringLiteral("e.")) +
                           QStringLiteral(", p.person_id, ") + age +
                           QStringLiteral(" FROM ftEvents e JOIN ftEvents_persn p ON p.event_Id = e.event_Id "
                                          "ORDER BY e.oid, p.oid"));
    TEvent event;
    bool pending = false;
    while (q.Next()) {
        const qint64 oid = q.Int(0);
        if (!pending || oid != event.OId) {
            if (pending && !fn(event))
                return;
            event = EventAt(q);
            pending = true;
        }
        event.Persons.append({q.Text(kEventColumns), q.Text(kEventColumns + 1)});
    }
    if (pending)
        fn(event);
}

bool ReadEvent(const QString& eventId, TEvent& event) {
    event = TEvent();
    if (eventId.trimmed().isEmpty() || !Dm().IsConnected() || !Dm().TableExists(QStringLiteral("ftEvents")))
        return false;
    {
        Query q = Dm().Prepare(QStringLiteral("SELECT ") + EventColumns() +
                                   QStringLiteral(" FROM ftEvents WHERE event_Id = ?"),
                               eventId);
        if (!q.Next())
            return false;
        event = EventAt(q);
    }
    QList<TEvent> one{event};
    ReadPersons(one);
    event = one[0];
    return true;
}

int CountEvents() {
    if (!Dm().IsConnected() || !Dm().TableExists(QStringLiteral("ftEvents")))
        return 0;
    return int(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftEvents")));
}

bool AddEvent(TEvent& event) {
    if (!Writable(event))
        return false;
    Transaction transaction;
    event.Event_Id = NewGuidText();
    if (!WriteFields(event, true) || !transaction.Commit())
        return false;
    event.OId = Dm().ScalarInt(QStringLiteral("SELECT oid FROM ftEvents WHERE event_Id = ?"), event.Event_Id);
    return true;
}

bool WriteEvent(const TEvent& event) {
    if (!Writable(event) || event.Event_Id.trimmed().isEmpty())
        return false;
    Transaction transaction;
    return WriteFields(event, false) && transaction.Commit();
}

bool DeleteEvent(const QString& eventId) {
    if (eventId.trimmed().isEmpty() || !HasEventTables())
        return false;
    Transaction transaction;
    if (Dm().Execute(QStringLiteral("DELETE FROM ftEvents_persn WHERE event_Id = ?"), eventId) < 0)
        return false;
    const int removed = Dm().Execute(QStringLiteral("DELETE FROM ftEvents WHERE event_Id = ?"), eventId);
    return removed > 0 && transaction.Commit();
}

bool DeleteEventsOfPerson(const QString& personId) {
    if (!Dm().TableExists(QStringLiteral("ftEvents_persn")) || !Dm().TableExists(QStringLiteral("ftEvents")))
        return true;
    QStringList events;
    {
        Query q =
            Dm().Prepare(QStringLiteral("SELECT event_Id FROM ftEvents_persn WHERE person_id = ?"), personId);
        while (q.Next())
            events << q.Text(0);
    }
    Transaction transaction;
    if (Dm().Execute(QStringLiteral("DELETE FROM ftEvents_persn WHERE person_id = ?"), personId) < 0)
        return false;
    for (const QString& event : std::as_const(events))
        if (Dm().Execute(
                QStringLiteral("DELETE FROM ftEvents WHERE event_Id = ?1 AND NOT EXISTS (SELECT 1 FROM "
                               "ftEvents_persn WHERE event_Id = ?1)"),
                event) < 0)
            return false;
    return transaction.Commit();
}

} // namespace verdan
