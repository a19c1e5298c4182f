#pragma once

#include "calendar/date_value.h"

#include <QByteArray>
#include <map>

// How GEDCOM 7.0 lines are written: no length limit and no CONC, a leading "@" doubled, no banned
// characters, dates in their calendars with phrases, ages in the standard's form.
namespace verdan {

// One line; line breaks in the value become blanks.
void Ged7Line(QByteArray& out, int level, const char* tag, const QByteArray& value = {});

// A text of any length whose line breaks go on in CONT lines.
void Ged7Text(QByteArray& out, int level, const char* tag, const QByteArray& text);

// A date in its calendar with its phrase, and the time under it. A date the tree holds in the Hijri
// calendar alone goes in the Hijri calendar with the date in words as its phrase and the Gregorian days it
// spans as the sort date beside it; a Hijri date of its own beside the Gregorian one (not its conversion)
// follows the Gregorian date as _HIJRIDATE, and _NOHIJRI says the tree has none where a reader would
// convert one. A date kept as written that is no date of the grammar is its phrase, marked _ASWRITTEN; a
// time the grammar does not take goes beside the date as _TIME.
void Ged7DateLines(QByteArray& out, int level, const TDateValue& value, const QByteArray& time = {});

// An age in the standard's form, or in words as its phrase.
void Ged7Age(QByteArray& out, int level, const QByteArray& age);

// A given name or surname as a NAME line holds it: no slashes but the two around the surname, no breaks.
QByteArray Ged7NamePart(QByteArray part);

// The tag an event is written with under an individual or a family: its own where the standard allows it
// there, else an extension tag it declares (a couple's event relocated under one of them, or, with own,
// a kind of the tree's own, as for a count the tree holds in words).
QByteArray Ged7PlacedTag(const QByteArray& tag, bool family, bool own,
                         std::map<QByteArray, QByteArray>& declared);

// The lines under an event (from level 2 on) and the value of its first line. Events whose standard payload
// is only "Y" carry their text in _VALUE; EVEN, FACT and IDNO get the type the standard asks for, and a
// title with nothing under it its tag as type, so that no reader takes it for the cognomen.
struct TGed7EventLines {
    QByteArray Value, Body;
    bool OwnTag = false; // a count the tree holds in words: written under a tag of the tree's own kinds
};
TGed7EventLines Ged7EventLines(const QByteArray& tag, QByteArray type, const QByteArray& value,
                               const QByteArray& time, const QByteArray& place, const QByteArray& agency,
                               const QByteArray& cause, const QByteArray& notes, const TDateValue& date);

// The header: version, every extension declared (ours and those in declared), the program and the
// submitter.
void Ged7Head(QByteArray& out, std::map<QByteArray, QByteArray>& declared, const QByteArray& submitter);

} // namespace verdan
