#include "gedcom_import_facts.h"

#include "gedcom/gedcom_internal.h"
#include "gedcom/gedcom_person_ids.h"
#include "storage/date_columns.h"
#include "storage/event_kinds.h"

namespace verdan {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString Indented(const QString& line) {
    return QStringLiteral("  ") + line;
}

void AddLine(QStringList& lines, const char* tag, const QString& value) {
    if (!value.isEmpty())
        lines << Indented(QString::fromLatin1(tag) + u' ' + value);
}

} // namespace

struct TGedEventWriter::Statements {
    Statements(sqlite3* db)
        : Event(db, "INSERT INTO ftEvents (owner_id, event_Id, event_type, event_descriptor, event_value, "
                    "event_date_g, event_date_h, date_qualifier, event_date_2_g, event_date_2_h, date_dual, "
                    "date_phrase, event_time, event_place, agency, cause, notes, is_family, date_modified, "
                    "user_modified) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
          Person(db, "INSERT OR IGNORE INTO ftEvents_persn (owner_id, event_Id, person_id, age, age_text, "
                     "date_modified, user_modified) VALUES (?, ?, ?, ?, ?, ?, '')") {}
    TGedStatement Event;
    TGedStatement Person;
};

TGedEventWriter::TGedEventWriter(sqlite3* db, const QString& ownerId, const QString& stamp)
    : S(new Statements(db)), OwnerId(ownerId), Stamp(stamp) {
}

TGedEventWriter::~TGedEventWriter() {
    delete S;
}

bool TGedEventWriter::Prepared() const {
    return S->Event.Prepared() && S->Person.Prepared();
}

bool TGedEventWriter::Write(const TGEvent& event, bool family, const QString& person, const QString& age,
                            const QString& other, const QString& otherAge) {
    // Kinds of our own travel as an EVEN or FACT whose TYPE names them.
    QString code = event.Tag;
    QString descriptor = event.Type;
    if (const TEventKind* kind = EventKindOfType(event.Tag, event.Type)) {
        code = kind->Code;
        descriptor.clear();
    }
    const TDateValue date = NormalisedDate(event.Date);
    // "1 BURI Y" only says that the burial took place, which the event itself says.
    const QString value = event.Value == QLatin1String("Y") ? QString() : event.Value;
    const QString id = NewImportedEventId();
    const QString notes = NotesWithLines(event.Notes, event.Kept);
    const auto ageYears = [](const QString& text) {
        return text.section(u'y', 0, 0).trimmed().toInt();
    };
    if (!S->Event.Text(OwnerId)
             .Text(id)
             .Text(code)
             .Text(descriptor)
             .Text(value)
             .Int(date.Gregorian)
             .Int(date.Hijri)
             .Int(int(date.Qualifier))
             .Int(date.Gregorian2)
             .Int(date.Hijri2)
             .Int(DualMarks(date))
             .Text(date.Phrase)
             .Text(event.Time)
             .Text(event.Place)
             .Text(event.Agency)
             .Text(event.Cause)
             .Text(notes)
             .Int(family ? 1 : 0)
             .Text(Stamp)
             .Run())
        return false;
    if (!S->Person.Text(OwnerId).Text(id).Text(person).Int(ageYears(age)).Text(age).Text(Stamp).Run())
        return false;
    return other.isEmpty() || S->Person.Text(OwnerId)
                                  .Text(id)
                                  .Text(other)
                                  .Int(ageYears(otherAge))
                                  .Text(otherAge)
                                  .Text(Stamp)
                                  .Run();
}

bool DeniedEvent(const TGEvent& event) {
    return event.Value.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0;
}

const TGEvent* FirstEvent(const TGEvents& events, const char* tag) {
    for (const TGEvent& event : events)
        if (event.Tag == QLatin1String(tag))
            return &event;
    return nullptr;
}

QStringList EventLeftovers(const TGEvent& event, bool family) {
    QStringList lines;
    const bool value = !event.Value.isEmpty() && event.Value != QLatin1String("Y");
    if (!value && event.Type.isEmpty() && event.Time.isEmpty() && event.Age.isEmpty() &&
        event.WifeAge.isEmpty() && event.Agency.isEmpty() && event.Cause.isEmpty() && event.Notes.isEmpty() &&
        event.Kept.isEmpty())
        return lines;
    AddLine(lines, "TYPE", event.Type);
    AddLine(lines, "TIME", event.Time);
    if (family) {
        for (const auto& [tag, age] : {std::pair{"HUSB", event.Age}, std::pair{"WIFE", event.WifeAge}})
            if (!age.isEmpty())
                lines << Indented(QString::fromLatin1(tag))
                      << Indented(Indented(QStringLiteral("AGE ") + age));
    } else {
        AddLine(lines, "AGE", event.Age);
    }
    AddLine(lines, "AGNC", event.Agency);
    AddLine(lines, "CAUS", event.Cause);
    AddLine(lines, "NOTE", event.Notes);
    for (const QString& kept : event.Kept)
        lines << Indented(kept);
    if (!lines.isEmpty() || value)
        lines.prepend(value ? event.Tag + u' ' + event.Value : event.Tag);
    return lines;
}

QString NotesWithLines(const QString& notes, const QStringList& lines) {
    if (lines.isEmpty())
        return notes;
    const QString text = lines.join(kLineBreak);
    return notes.isEmpty() ? text : notes + kLineBreak + kLineBreak + text;
}

void CountDate(const TDateValue& date, int& kindCount, TGedcomImportSummary& summary) {
    if (IsEmptyDate(date))
        return;
    ++kindCount;
    if (date.Qualifier == TDateQualifier::Text)
        ++summary.DatesKeptAsText;
    else if (date.Qualifier != TDateQualifier::Exact)
        ++summary.QualifiedDates;
    if (date.Gregorian == 0 && date.Hijri != 0)
        ++summary.HijriDates;
}

void CountKeptLines(const QStringList& lines, TGedcomImportSummary& summary) {
    for (const QString& line : lines) {
        ++summary.NoteLines;
        if (!line.startsWith(u' '))
            ++summary.KeptInNotes[line.section(u' ', 0, 0)];
    }
}

} // namespace verdan
