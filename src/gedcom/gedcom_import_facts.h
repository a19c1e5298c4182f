#pragma once

#include "gedcom/gedcom_data.h"
#include "gedcom/gedcom_import.h"

#include <QString>
#include <QStringList>

struct sqlite3;

// What the import writes beside persons and marriages: events, dated facts and the notes that keep what the
// tree has no place for in the file's own words.
namespace verdan {

// "1 DIV N" is how some writers say that there was no divorce.
bool DeniedEvent(const TGEvent& event);
// The first event of the tag: the one whose row has columns of its own (the birth, the marriage ..).
const TGEvent* FirstEvent(const TGEvents& events, const char* tag);

// What a birth, death, marriage or divorce has beside the date and place its row keeps, as lines under its
// tag ("DEAT", "  CAUS pneumonia"); empty when it has nothing more. A family's ages are its spouses'.
QStringList EventLeftovers(const TGEvent& event, bool family);

// Notes followed by lines in the file's words, a blank line between them.
QString NotesWithLines(const QString& notes, const QStringList& lines);

// Counts a dated fact into the summary (the kind's own count, qualified, Hijri and kept-as-text dates).
void CountDate(const TDateValue& date, int& kindCount, TGedcomImportSummary& summary);
// Counts the lines kept in notes, by the tag each starts with.
void CountKeptLines(const QStringList& lines, TGedcomImportSummary& summary);

// Writes event rows and the rows of their persons on the import's connection.
class TGedEventWriter {
public:
    TGedEventWriter(sqlite3* db, const QString& ownerId, const QString& stamp);
    ~TGedEventWriter();
    TGedEventWriter(const TGedEventWriter&) = delete;
    TGedEventWriter& operator=(const TGedEventWriter&) = delete;

    bool Prepared() const;
    // An event of one person, or of a couple (family set, the second person with its age).
    bool Write(const TGEvent& event, bool family, const QString& person, const QString& age,
               const QString& other = QString(), const QString& otherAge = QString());

private:
    struct Statements;
    Statements* S;
    QString OwnerId;
    QString Stamp;
};

} // namespace verdan
