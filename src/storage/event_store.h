#pragma once

#include "calendar/date_value.h"

#include <QList>
#include <QString>
#include <functional>

namespace verdan {

// Events and facts besides birth, death, marriage and divorce (burial, Hajj, an occupation ..): one row of
// ftEvents each, and one row of ftEvents_persn for every person it belongs to (both spouses of a family
// event). Trees without the tables (an older file opened without its upgrade) read as having no events.

struct TEventPerson {
    QString Person_Id;
    QString Age; // the person's age at the event as the source gave it ("42y 3m"); empty when unknown

    bool operator==(const TEventPerson&) const = default;
};

struct TEvent {
    qint64 OId = 0;
    QString Event_Id;   // a GUID text
    QString Type;       // the kind's code (event_kinds.h), or a tag another program made up
    QString Descriptor; // words that name the event further (an EVEN's own name, a further kind); none for
                        // kinds of our own, whose name the file's TYPE line carries
    QString Value;      // an attribute's value: the occupation, the education ..
    TDateValue Date;
    QString Time;
    QString Place;
    QString Agency;
    QString Cause;
    QString Source;
    QString Notes;
    bool Family = false; // an event of a couple rather than of each of its persons
    QList<TEventPerson> Persons;

    bool operator==(const TEvent&) const = default;
};

bool HasEventTables();

// The events a person belongs to, in the order they were recorded.
QList<TEvent> ListPersonEvents(const QString& personId);
// Every event with its persons, in the order they were recorded (an event of nobody is left out); fn may
// take the event's contents and returns false to stop.
void ForEachEvent(const std::function<bool(TEvent&)>& fn);
bool ReadEvent(const QString& eventId, TEvent& event);
int CountEvents();

// Adds the event with its persons in one transaction; event.Event_Id and OId receive the new row's.
// False without a person or a kind.
bool AddEvent(TEvent& event);
// Writes the event's fields and its persons as given, in one transaction.
bool WriteEvent(const TEvent& event);
bool DeleteEvent(const QString& eventId);
// The person leaves every event; events left without anybody go as well.
bool DeleteEventsOfPerson(const QString& personId);

} // namespace verdan
