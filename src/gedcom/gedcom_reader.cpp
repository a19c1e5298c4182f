#include "gedcom_reader.h"

#include "calendar/date_value_gedcom.h"
#include "gedcom/gedcom7_reader.h"
#include "gedcom/gedcom_encoding.h"
#include "gedcom/gedcom_extensions.h"
#include "gedcom/gedcom_internal.h"
#include "gedcom/gedcom_person_ids.h"
#include "text/localisation.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUuid>
#include <array>
#include <cstring>
#include <vector>

namespace verdan {

namespace {

const QString kNoteSeparator = QStringLiteral("\r\n\r\n");

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\0'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

QString FromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// A value that often repeats (a name, a place).
// "@@" is how a value writes one "@".
QString Text(std::string_view s, TGedStrings* strings) {
    s = Trimmed(s);
    if (s.find("@@") != std::string_view::npos)
        return FromUtf8(s).replace(QStringLiteral("@@"), QStringLiteral("@"));
    return strings ? strings->Get(s) : FromUtf8(s);
}

// Short values such as a sex code in lower case, without allocating.
std::string_view Lower(std::string_view s, std::array<char, 16>& buffer) {
    s = Trimmed(s);
    if (s.size() > buffer.size())
        return s;
    for (size_t i = 0; i < s.size(); ++i)
        buffer[i] = s[i] >= 'A' && s[i] <= 'Z' ? char(s[i] - 'A' + 'a') : s[i];
    return std::string_view(buffer.data(), s.size());
}

// Families are referred to before their records come, individuals mostly after theirs.
QString FamilyXref(std::string_view value, TGedStrings* strings) {
    return strings ? strings->Get(XrefView(value)) : XrefOf(value);
}

QString PersonXref(std::string_view value, TGedStrings* strings) {
    return strings ? strings->PersonXref(XrefView(value)) : XrefOf(value);
}

// A value that is mostly unique (a date).
QString Plain(std::string_view s) {
    return FromUtf8(Trimmed(s));
}

// Tags of the standard's events and attributes of an individual, and of a family.
constexpr std::string_view kIndividualEvents[] = {
    "BIRT", "CHR",  "DEAT", "BURI", "CREM", "ADOP", "BAPM", "BARM", "BASM", "BLES", "CHRA",
    "CONF", "FCOM", "ORDN", "NATU", "EMIG", "IMMI", "CENS", "PROB", "WILL", "GRAD", "RETI",
    "EVEN", "BAPL", "CONL", "ENDL", "SLGC", "CAST", "DSCR", "EDUC", "IDNO", "NATI", "NCHI",
    "NMR",  "OCCU", "PROP", "RELI", "RESI", "SSN",  "TITL", "FACT"};
constexpr std::string_view kFamilyEvents[] = {"ANUL", "CENS", "DIV",  "DIVF", "ENGA", "MARB", "MARC",
                                              "MARR", "MARL", "MARS", "RESI", "EVEN", "SLGS", "NCHI"};

// What the tree has no place for and no reader would miss in the notes: sources, media, change stamps,
// record numbers of other programs.
constexpr std::string_view kLeftOut[] = {"SOUR", "OBJE", "CHAN", "RIN",  "REFN", "AFN",
                                         "RFN",  "SUBM", "ANCI", "DESI", "RESN"};

template <size_t N> bool OneOf(std::string_view tag, const std::string_view (&tags)[N]) {
    if (tag.size() < 3 || tag.size() > 4)
        return false;
    for (std::string_view t : tags)
        if (TagIs(tag, t))
            return true;
    return false;
}

bool LeftOut(std::string_view tag) {
    return OneOf(tag, kLeftOut);
}

// The tags of events come from a short list: their texts are made once.
QString TagText(std::string_view tag) {
    thread_local QHash<QByteArray, QString> known;
    const QByteArray bytes = QByteArray::fromRawData(tag.data(), qsizetype(tag.size()));
    const auto found = known.constFind(bytes);
    if (found != known.constEnd())
        return *found;
    QString text = FromUtf8(tag).toUpper();
    if (known.size() < 256)
        known.insert(QByteArray(tag.data(), qsizetype(tag.size())), text);
    return text;
}

void CountLeftOut(std::string_view tag, std::map<QString, int>* notKept) {
    if (notKept)
        ++(*notKept)[TagText(tag)];
}

// Where the block of lines[i] ends: the next line at its level or above.
size_t BlockEnd(TGedLines lines, size_t i) {
    size_t j = i + 1;
    while (j < lines.size() && lines[j].Level > lines[i].Level)
        ++j;
    return j;
}

bool IsContinuation(std::string_view tag) {
    return TagIs(tag, "CONC") || TagIs(tag, "CONT");
}

// A value that may go on in CONC and CONT lines (a long name, a place); the shared copy when it does not.
QString LongValue(TGedLines lines, size_t i, TGedStrings* strings) {
    if (i + 1 < lines.size() && lines[i + 1].Level == lines[i].Level + 1 && IsContinuation(lines[i + 1].Tag))
        return ReadContinuedValue(lines, i).trimmed();
    return Text(lines[i].Value, strings);
}

// lines[i] and everything under it, in the file's own words: "TAG value", deeper lines indented by two
// blanks a level. Continuation lines join their line's value; left-out tags are counted, not kept.
void Keep(TGedLines lines, size_t i, int base, QStringList& out, std::map<QString, int>* notKept) {
    const size_t end = BlockEnd(lines, i);
    for (size_t j = i; j < end; ++j) {
        const TGedLine& line = lines[j];
        if (j > i && IsContinuation(line.Tag))
            continue;
        if (LeftOut(line.Tag)) {
            CountLeftOut(line.Tag, notKept);
            j = BlockEnd(lines, j) - 1;
            continue;
        }
        const QString value = ReadContinuedValue(lines, j).trimmed();
        QString text = QString(std::max(0, line.Level - base) * 2, u' ') + TagText(line.Tag);
        if (!value.isEmpty())
            text += u' ' + value;
        out.append(text);
    }
}

// A pointer value such as "@N12@" (any cross-reference form), as opposed to note text.
bool IsPointer(QStringView value) {
    value = value.trimmed();
    return value.size() > 2 && value.front() == u'@' && value.back() == u'@' &&
           value.indexOf(u'@', 1) == value.size() - 1 && !value.contains(u' ');
}

void SetError(TGedcomData& data, TGedcomError error, const QString& message, const QString& arg) {
    data.Error = error;
    data.ErrorMessage = FillPattern(Translate(message), {arg});
}

// The date of an event: DATE in its calendar, and the Hijri line our export writes under it (_HIJR: the
// tree's own Hijri date, empty for none; _HIJRONLY: the tree holds the Hijri date alone and DATE is only its
// conversion). Without such a line the other calendar is the conversion.
TDateValue EventDate(const QString& dateText, const QString* hijriText, bool hijriOnly) {
    const TDateValue written = ReadGedcomDate(dateText);
    if (!hijriText)
        return WithBothCalendars(written);
    const TDateValue hijri = ReadGedcomDate(*hijriText, true);
    if (hijriOnly)
        return hijri;
    TDateValue value = written;
    if (written.Qualifier != TDateQualifier::Text && written.Qualifier != TDateQualifier::Phrase) {
        value.Hijri = hijri.Hijri;
        value.Hijri2 = hijri.Hijri2;
    }
    return value;
}

TGEvent ReadEvent(TGedLines lines, size_t i, TGedStrings* strings, std::map<QString, int>* notKept) {
    TGEvent event;
    const TGedLine& head = lines[i];
    event.Tag = TagText(head.Tag);
    event.Value = LongValue(lines, i, strings);
    QString hijriText;
    bool hijriGiven = false, hijriOnly = false;
    const int level = head.Level + 1;
    const size_t end = BlockEnd(lines, i);
    for (size_t j = i + 1; j < end; ++j) {
        const TGedLine& line = lines[j];
        if (line.Level != level || IsContinuation(line.Tag))
            continue;
        const size_t block = BlockEnd(lines, j);
        const std::string_view tag = line.Tag;
        if (TagIs(tag, "DATE")) {
            event.DateText = ReadContinuedValue(lines, j).trimmed();
            for (size_t k = j + 1; k < block; ++k) {
                const TGedLine& sub = lines[k];
                if (sub.Level != level + 1 || IsContinuation(sub.Tag))
                    continue;
                if (TagIs(sub.Tag, "TIME")) {
                    event.Time = Plain(sub.Value);
                } else if (TagIs(sub.Tag, "_HIJR") || TagIs(sub.Tag, "_HIJRONLY")) {
                    hijriText = ReadContinuedValue(lines, k).trimmed();
                    hijriGiven = true;
                    hijriOnly = TagIs(sub.Tag, "_HIJRONLY");
                } else {
                    Keep(lines, k, level, event.Kept, notKept);
                }
            }
            j = block - 1;
            continue;
        }
        if (TagIs(tag, "PLAC")) {
            event.Place = LongValue(lines, j, strings);
            for (size_t k = j + 1; k < block; ++k)
                if (lines[k].Level == level + 1 && !IsContinuation(lines[k].Tag))
                    Keep(lines, k, level, event.Kept, notKept);
        } else if (TagIs(tag, "TYPE")) {
            event.Type = LongValue(lines, j, strings);
        } else if (TagIs(tag, "TIME")) {
            event.Time = Plain(line.Value);
        } else if (TagIs(tag, "AGE")) {
            event.Age = Plain(line.Value);
        } else if (TagIs(tag, "AGNC")) {
            event.Agency = ReadContinuedValue(lines, j).trimmed();
        } else if (TagIs(tag, "CAUS")) {
            event.Cause = ReadContinuedValue(lines, j).trimmed();
        } else if (TagIs(tag, "NOTE")) {
            const QString note = ReadContinuedValue(lines, j);
            event.Notes = event.Notes.isEmpty() ? note : event.Notes + kNoteSeparator + note;
        } else if ((TagIs(tag, "HUSB") || TagIs(tag, "WIFE")) && block == j + 2 &&
                   TagIs(lines[j + 1].Tag, "AGE")) {
            (TagIs(tag, "HUSB") ? event.Age : event.WifeAge) = Plain(lines[j + 1].Value);
        } else if (LeftOut(tag)) {
            CountLeftOut(tag, notKept);
        } else {
            Keep(lines, j, level, event.Kept, notKept);
        }
        j = block - 1;
    }
    event.Date = EventDate(event.DateText, hijriGiven ? &hijriText : nullptr, hijriOnly);
    return event;
}

// Reads an individual; note parts come out separately so that pointers can be resolved once all NOTE
// records are known.
TGedPerson ReadIndividual(TGedLines record, TGedStrings* strings, QStringList& noteParts,
                          std::map<QString, int>* notKept) {
    TGedPerson person;
    person.Xref = FromUtf8(record[0].Xref);
    TPerson_Data& data = person.Data;
    data.PersonId = NewImportedPersonId();
    data.GedcomXref = person.Xref;
    // Lists get their exact size at once: grown one entry at a time they would keep unused room.
    qsizetype events = 0, families = 0;
    for (const TGedLine& line : record.subspan(1)) {
        if (line.Level != 1)
            continue;
        if (TagIs(line.Tag, "FAMS"))
            ++families;
        else if (IsIndividualEventTag(line.Tag) || IsFamilyEventTag(line.Tag))
            ++events;
    }
    data.Events.reserve(events);
    person.SpouseFamilyXrefs.reserve(families);
    std::array<char, 16> sex;
    bool named = false;
    bool titled = false; // only the record's first TITL can be the cognomen
    for (size_t i = 1; i < record.size(); ++i) {
        const TGedLine& line = record[i];
        if (line.Level != 1)
            continue;
        const size_t end = BlockEnd(record, i);
        const std::string_view tag = line.Tag;
        if (TagIs(tag, "NAME") && !named) {
            named = true;
            data.FullName = LongValue(record, i, strings);
            for (size_t j = i + 1; j < end; ++j) {
                const TGedLine& part = record[j];
                if (part.Level != 2 || IsContinuation(part.Tag))
                    continue;
                if (TagIs(part.Tag, "GIVN"))
                    data.GivenName = LongValue(record, j, strings);
                else if (TagIs(part.Tag, "SURN"))
                    data.Surname = LongValue(record, j, strings);
                else if (TagIs(part.Tag, "NICK"))
                    data.Nickname = LongValue(record, j, strings);
                else if (LeftOut(part.Tag))
                    CountLeftOut(part.Tag, notKept);
                else
                    Keep(record, j, 2, data.Kept, notKept);
            }
        } else if (TagIs(tag, "SEX")) {
            data.Sex = Text(Lower(line.Value, sex), strings);
        } else if (TagIs(tag, "FAMC")) {
            QString pedigree;
            for (size_t j = i + 1; j < end; ++j)
                if (record[j].Level == 2 && TagIs(record[j].Tag, "PEDI"))
                    pedigree = Plain(record[j].Value);
            if (pedigree.isEmpty() || pedigree.compare(QLatin1String("birth"), Qt::CaseInsensitive) == 0)
                person.ChildFamilyXref = FamilyXref(line.Value, strings);
            else
                person.OtherChildFamilies.emplace_back(FamilyXref(line.Value, strings), pedigree);
        } else if (TagIs(tag, "FAMS")) {
            person.SpouseFamilyXrefs.append(FamilyXref(line.Value, strings));
        } else if (TagIs(tag, "NOTE")) {
            noteParts.append(ReadContinuedValue(record, i));
        } else if (TagIs(tag, "TITL") && !titled && end == i + 1) {
            // A plain first title is the cognomen (an empty one says there is none); later titles and titles
            // with a date or a place are events.
            titled = true;
            data.PersonTitle = Text(line.Value, strings);
        } else if (TagIs(tag, "_UID")) {
            person.Uid = Plain(line.Value);
        } else if (TagIs(tag, "_OUTSIDE") || TagIs(tag, "_TOP")) {
            if (Trimmed(line.Value) == "Y")
                person.Placement = TagIs(tag, "_TOP") ? TGedPlacement::TopLevel : TGedPlacement::Outside;
        } else if (TagIs(tag, "_FORD") || TagIs(tag, "_MORD")) {
            (TagIs(tag, "_FORD") ? person.FatherOrder : person.MotherOrder) =
                std::max(0, Plain(line.Value).toInt());
        } else if (TagIs(tag, "ASSO") || TagIs(tag, "_GROUP")) {
            // Read by ReadIndividualExtensions.
        } else if ((TagIs(tag, "NICK") || TagIs(tag, "GIVN") || TagIs(tag, "SURN")) && end == i + 1) {
            // Some writers put name pieces directly under the record; the preferred name's own win.
            QString& field = TagIs(tag, "NICK")   ? data.Nickname
                             : TagIs(tag, "GIVN") ? data.GivenName
                                                  : data.Surname;
            if (field.isEmpty())
                field = Text(line.Value, strings);
        } else if (IsIndividualEventTag(tag) || IsFamilyEventTag(tag)) {
            // A family's events on a person of their own (written for a family without two spouses) are
            // that person's.
            titled = titled || TagIs(tag, "TITL");
            data.Events.append(ReadEvent(record, i, strings, notKept));
        } else if (LeftOut(tag)) {
            CountLeftOut(tag, notKept);
        } else {
            Keep(record, i, 1, data.Kept, notKept);
        }
        i = end - 1;
    }
    return person;
}

TGedFamily ReadFamily(TGedLines record, TGedStrings* strings, QStringList& noteParts,
                      std::map<QString, int>* notKept) {
    TGedFamily family;
    family.Xref = strings ? strings->Get(record[0].Xref) : FromUtf8(record[0].Xref);
    qsizetype events = 0, children = 0;
    for (const TGedLine& line : record.subspan(1)) {
        if (line.Level != 1)
            continue;
        if (TagIs(line.Tag, "CHIL"))
            ++children;
        else if (IsFamilyEventTag(line.Tag))
            ++events;
    }
    family.Events.reserve(events);
    family.ChildXrefs.reserve(children);
    for (size_t i = 1; i < record.size(); ++i) {
        const TGedLine& line = record[i];
        if (line.Level != 1)
            continue;
        const size_t end = BlockEnd(record, i);
        const std::string_view tag = line.Tag;
        if (TagIs(tag, "HUSB"))
            family.HusbandXref = PersonXref(line.Value, strings);
        else if (TagIs(tag, "WIFE"))
            family.WifeXref = PersonXref(line.Value, strings);
        else if (TagIs(tag, "SUBM"))
            family.SubmitterXref = XrefOf(line.Value);
        else if (TagIs(tag, "CHIL"))
            family.ChildXrefs.append(PersonXref(line.Value, strings));
        else if (TagIs(tag, "NOTE"))
            noteParts.append(ReadContinuedValue(record, i));
        else if (IsFamilyEventTag(tag))
            family.Events.append(ReadEvent(record, i, strings, notKept));
        else if (LeftOut(tag))
            CountLeftOut(tag, notKept);
        else
            Keep(record, i, 1, family.Kept, notKept);
        i = end - 1;
    }
    return family;
}

QString JoinNotes(const QStringList& parts) {
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            kept.append(part);
    return kept.join(kNoteSeparator);
}

class RecordParser {
public:
    RecordParser(TGedcomData& data, const TGedcomProgressFn& progress, qint64 bytesTotal)
        : Data(data), Progress(progress) {
        State.BytesTotal = bytesTotal;
        Strings.SetPersonIndex(&Data.PersonIndex);
    }

    // Splits the lines of text into records and parses every complete one. Unless final, the last record
    // may continue in the next chunk: the result is where the unparsed rest begins.
    qsizetype Feed(QByteArrayView text, qint64 offset, bool final) {
        const char* bytes = text.data();
        const qsizetype n = text.size();
        qsizetype pos = 0;
        qsizetype recordStart = 0;
        Record.clear();
        while (pos < n) {
            qsizetype end = pos;
            while (end < n && bytes[end] != '\n' && bytes[end] != '\r')
                ++end;
            if (end == n && !final)
                break;
            const qsizetype lineStart = pos;
            TGedLine line;
            const bool ok = SplitGedcomLine(std::string_view(bytes + pos, size_t(end - pos)), line);
            // CR LF, LF, CR and LF CR all end a line; the blank lines a run of them makes are skipped anyway.
            pos = end;
            while (pos < n && (bytes[pos] == '\n' || bytes[pos] == '\r'))
                ++pos;
            if (!ok)
                continue;
            if (line.Level == 0) {
                if (!Record.empty() && !AddRecord(offset + lineStart))
                    return n;
                recordStart = lineStart;
            }
            if (line.Level == 0 || !Record.empty())
                Record.push_back(line);
        }
        if (final) {
            if (!Record.empty())
                AddRecord(offset + n);
            return n;
        }
        return Record.empty() ? pos : recordStart;
    }

    bool Cancelled() const { return Data.Error == TGedcomError::Cancelled; }
    bool LooksLikeGedcom() const { return HeadFirst || GedcomRecords > 0; }

    void Finish() {
        ResolveNotes();
        AdoptIdentifiers();
        ResolveParents();
        ReadOtherChildFamilies();
    }

private:
    bool AddRecord(qint64 bytesRead) {
        Add(Record);
        Record.clear();
        if (Progress && (Data.RecordsRead & 4095) == 0) {
            State.BytesRead = bytesRead;
            State.RecordsRead = Data.RecordsRead;
            if (!Progress(State)) {
                Data.Error = TGedcomError::Cancelled;
                return false;
            }
        }
        return true;
    }

    void Add(TGedLines record) {
        ++Data.RecordsRead;
        const TGedLine& first = record[0];
        if (first.Tag == "INDI") {
            QStringList parts;
            Data.Persons.push_back(ReadIndividual(record, &Strings, parts, &Data.NotKept));
            const int index = int(Data.Persons.size() - 1);
            TGedPerson& person = Data.Persons.back();
            if (!person.Xref.isEmpty() && !Data.PersonIndex.contains(person.Xref))
                Data.PersonIndex.insert(person.Xref, index);
            ReadIndividualExtensions(record, index, Data);
            bool pointers = false;
            for (const QString& part : parts)
                pointers = pointers || IsPointer(part);
            if (pointers)
                PendingNotes.emplace_back(index, parts);
            else
                person.Data.Note = JoinNotes(parts);
            ++GedcomRecords;
        } else if (first.Tag == "FAM") {
            QStringList parts;
            Data.Families.push_back(ReadFamily(record, &Strings, parts, &Data.NotKept));
            TGedFamily& family = Data.Families.back();
            family.Note = JoinNotes(parts);
            if (!family.Xref.isEmpty() && !Data.FamilyIndex.contains(family.Xref))
                Data.FamilyIndex.insert(family.Xref, int(Data.Families.size() - 1));
            ++GedcomRecords;
        } else if (first.Tag == "NOTE" && !first.Xref.empty()) {
            const QString xref = FromUtf8(first.Xref);
            if (!Notes.contains(xref))
                Notes.insert(xref, ReadContinuedValue(record, 0));
        } else if (first.Tag == "HEAD" && Data.RecordsRead == 1) {
            HeadFirst = true;
            for (const TGedLine& line : record.subspan(1))
                if (line.Level == 1 && TagIs(line.Tag, "SOUR"))
                    Data.OwnFile = Trimmed(line.Value) == "VERDAN";
        } else if (first.Tag != "HEAD" && first.Tag != "TRLR" && first.Tag != "SUBM" && first.Tag != "SUBN" &&
                   first.Tag != "NOTE") {
            ++Data.RecordsNotKept[TagText(first.Tag)];
        }
    }

    // A note that is a pointer to a NOTE record becomes that record's text.
    void Resolve(QString& part) const {
        if (!IsPointer(part))
            return;
        const QString pointer = part.trimmed();
        const auto found = Notes.constFind(pointer.mid(1, pointer.size() - 2));
        if (found != Notes.constEnd())
            part = *found;
    }

    void ResolveNotes() {
        for (auto& [index, parts] : PendingNotes) {
            for (QString& part : parts)
                Resolve(part);
            Data.Persons[size_t(index)].Data.Note = JoinNotes(parts);
        }
        if (Notes.isEmpty())
            return;
        for (TGedFamily& family : Data.Families) {
            Resolve(family.Note);
            for (TGEvent& event : family.Events)
                Resolve(event.Notes);
        }
        for (TGedPerson& person : Data.Persons)
            for (TGEvent& event : person.Data.Events)
                Resolve(event.Notes);
    }

    // FAMC lines of another pedigree than birth: the nursing family names the woman who nursed the person
    // (kept as a breastfeeding relation, like the ASSO beside it); any other is kept in the person's notes
    // with the names of the family's parents.
    void ReadOtherChildFamilies() {
        for (size_t i = 0; i < Data.Persons.size(); ++i) {
            TGedPerson& person = Data.Persons[i];
            for (const auto& [xref, pedigree] : person.OtherChildFamilies) {
                const TGedFamily* family = Data.FindFamily(xref);
                if (pedigree.compare(QLatin1String("_RADA"), Qt::CaseInsensitive) == 0 && family &&
                    !family->WifeXref.isEmpty()) {
                    Data.Associations.push_back({int(i), family->WifeXref, u'@' + family->WifeXref + u'@',
                                                 QStringLiteral("Breastfeeding mother")});
                    continue;
                }
                QStringList parents;
                if (family)
                    for (const QString& parent : {family->HusbandXref, family->WifeXref})
                        if (const TGedPerson* p = Data.FindPerson(parent))
                            parents << p->Data.FullName;
                person.Data.Kept << QStringLiteral("FAMC ") + parents.join(QStringLiteral(", "))
                                 << QStringLiteral("  PEDI ") + pedigree;
            }
        }
    }

    // A person identifier carried as _UID or UID (as our exports write it) is kept, so identities survive a
    // round trip; one that is no GUID, or that more than one individual of the file carries, gives way to a
    // new one for each of them.
    void AdoptIdentifiers() {
        QHash<QString, int> uses;
        std::vector<QString> ids(Data.Persons.size());
        for (size_t i = 0; i < Data.Persons.size(); ++i) {
            const QString& uid = Data.Persons[i].Uid;
            if (uid.isEmpty())
                continue;
            const QUuid parsed = QUuid::fromString(uid);
            if (parsed.isNull())
                continue;
            ids[i] = parsed.toString(QUuid::WithBraces).toUpper();
            ++uses[ids[i]];
        }
        for (size_t i = 0; i < Data.Persons.size(); ++i)
            if (!ids[i].isEmpty() && uses.value(ids[i]) == 1)
                Data.Persons[i].Data.PersonId = ids[i];
    }

    // Every cross-reference is looked up once; parents follow from the family each person is a child of.
    void ResolveParents() {
        auto person = [&](const QString& xref) {
            const auto found = Data.PersonIndex.constFind(xref);
            return found == Data.PersonIndex.constEnd() ? -1 : *found;
        };
        auto family = [&](const QString& xref) {
            const auto found = Data.FamilyIndex.constFind(xref);
            return found == Data.FamilyIndex.constEnd() ? -1 : *found;
        };
        TGedLinks& links = Data.Links;
        const size_t families = Data.Families.size();
        links.Husband.resize(families);
        links.Wife.resize(families);
        for (size_t f = 0; f < families; ++f) {
            TGedFamily& fam = Data.Families[f];
            links.Husband[f] = person(fam.HusbandXref);
            links.Wife[f] = person(fam.WifeXref);
            if (links.Husband[f] >= 0)
                fam.HusbandId = Data.Persons[size_t(links.Husband[f])].Data.PersonId;
            if (links.Wife[f] >= 0)
                fam.WifeId = Data.Persons[size_t(links.Wife[f])].Data.PersonId;
            for (const QString& child : fam.ChildXrefs)
                links.Children.Items.push_back(person(child));
            links.Children.Close();
        }
        links.ChildFamily.resize(Data.Persons.size());
        for (size_t i = 0; i < Data.Persons.size(); ++i) {
            const TGedPerson& p = Data.Persons[i];
            links.ChildFamily[i] = family(p.ChildFamilyXref);
            for (const QString& xref : p.SpouseFamilyXrefs)
                links.SpouseFamilies.Items.push_back(family(xref));
            links.SpouseFamilies.Close();
        }
        // Some writers list children only under the family: the first family naming a child without a
        // known family of its own becomes that family.
        const auto nonBirth = [&](int child, size_t f) {
            for (const auto& other : Data.Persons[size_t(child)].OtherChildFamilies)
                if (other.first == Data.Families[f].Xref)
                    return true;
            return false;
        };
        for (size_t f = 0; f < families; ++f) {
            for (int child : links.Children.Of(f)) {
                if (child >= 0 && links.ChildFamily[size_t(child)] < 0 && !nonBirth(child, f)) {
                    links.ChildFamily[size_t(child)] = int(f);
                    Data.Persons[size_t(child)].ChildFamilyXref = Data.Families[f].Xref;
                }
            }
        }
        const QString noFather = QStringLiteral("-1");
        const QString noMother = QStringLiteral("0");
        for (size_t i = 0; i < Data.Persons.size(); ++i) {
            const int f = links.ChildFamily[i];
            const int father = f < 0 ? -1 : links.Husband[size_t(f)];
            const int mother = f < 0 ? -1 : links.Wife[size_t(f)];
            TPerson_Data& p = Data.Persons[i].Data;
            p.FatherId =
                father >= 0 && size_t(father) != i ? Data.Persons[size_t(father)].Data.PersonId : noFather;
            p.MotherId =
                mother >= 0 && size_t(mother) != i ? Data.Persons[size_t(mother)].Data.PersonId : noMother;
        }
    }

    TGedcomData& Data;
    const TGedcomProgressFn& Progress;
    TGedcomProgress State;
    std::vector<TGedLine> Record;
    TGedStrings Strings;
    QHash<QString, QString> Notes; // NOTE records by cross-reference
    std::vector<std::pair<int, QStringList>> PendingNotes;
    bool HeadFirst = false;
    int GedcomRecords = 0;
};

// Counts INDI and FAM record lines so that the lists are allocated once.
struct RecordCounter {
    size_t Persons = 0;
    size_t Families = 0;

    void Count(QByteArrayView utf8) {
        const std::string_view text(utf8.data(), size_t(utf8.size()));
        Persons += CountEnding(text, " INDI");
        Families += CountEnding(text, " FAM");
    }

    // With some room: a tag split between two chunks is not counted.
    void Reserve(TGedcomData& data) const {
        data.Persons.reserve(Persons + Persons / 64 + 16);
        data.Families.reserve(Families + Families / 64 + 16);
    }

private:
    static size_t CountEnding(std::string_view text, std::string_view tag) {
        size_t count = 0;
        for (size_t pos = text.find(tag); pos != std::string_view::npos;
             pos = text.find(tag, pos + tag.size())) {
            const size_t next = pos + tag.size();
            if (next == text.size() || text[next] == '\r' || text[next] == '\n')
                ++count;
        }
        return count;
    }
};

} // namespace

bool IsIndividualEventTag(std::string_view tag) {
    return OneOf(tag, kIndividualEvents);
}

bool IsFamilyEventTag(std::string_view tag) {
    return OneOf(tag, kFamilyEvents);
}

const TGedPerson* TGedcomData::FindPerson(const QString& xref) const {
    const auto found = PersonIndex.constFind(xref);
    return found == PersonIndex.constEnd() ? nullptr : &Persons[size_t(*found)];
}

const TGedFamily* TGedcomData::FindFamily(const QString& xref) const {
    const auto found = FamilyIndex.constFind(xref);
    return found == FamilyIndex.constEnd() ? nullptr : &Families[size_t(*found)];
}

bool SplitGedcomLine(std::string_view text, TGedLine& line) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i == n || !IsDigit(text[i]))
        return false;
    int level = 0;
    while (i < n && IsDigit(text[i])) {
        level = std::min(level * 10 + (text[i] - '0'), 1 << 20);
        ++i;
    }
    if (i == n || !IsBlank(text[i]))
        return false;
    while (i < n && IsBlank(text[i]))
        ++i;
    std::string_view xref;
    if (i < n && text[i] == '@') {
        const size_t close = text.find('@', i + 1);
        if (close == std::string_view::npos)
            return false;
        xref = text.substr(i + 1, close - i - 1);
        i = close + 1;
        while (i < n && IsBlank(text[i]))
            ++i;
    }
    const size_t tagStart = i;
    while (i < n && !IsBlank(text[i]))
        ++i;
    if (i == tagStart)
        return false;
    line.Level = level;
    line.Xref = xref;
    line.Tag = text.substr(tagStart, i - tagStart);
    line.Value = i < n ? text.substr(i + 1) : std::string_view();
    return true;
}

std::string_view XrefView(std::string_view value) {
    const size_t at = value.find('@');
    if (at == std::string_view::npos)
        return {};
    const size_t close = value.find('@', at + 1);
    return value.substr(at + 1, close == std::string_view::npos ? std::string_view::npos : close - at - 1);
}

QString XrefOf(std::string_view value) {
    return FromUtf8(XrefView(value));
}

QString ReadContinuedValue(TGedLines lines, size_t i) {
    const int level = lines[i].Level;
    QByteArray text(lines[i].Value.data(), qsizetype(lines[i].Value.size()));
    bool started = !text.isEmpty(); // an empty first line gives no leading line break
    for (size_t j = i + 1; j < lines.size() && lines[j].Level > level; ++j) {
        const TGedLine& line = lines[j];
        if (line.Level != level + 1)
            continue;
        if (TagIs(line.Tag, "CONT")) {
            if (started)
                text += "\r\n";
        } else if (!TagIs(line.Tag, "CONC")) {
            continue;
        }
        text.append(line.Value.data(), qsizetype(line.Value.size()));
        started = true;
    }
    if (text.contains("@@"))
        text.replace("@@", "@");
    return QString::fromUtf8(text);
}

TGEvent ParseGedcomEvent(TGedLines lines, size_t i, TGedStrings* strings) {
    return ReadEvent(lines, i, strings, nullptr);
}

TGedPerson ParseIndividual(TGedLines record, TGedStrings* strings) {
    QStringList parts;
    TGedPerson person = ReadIndividual(record, strings, parts, nullptr);
    person.Data.Note = JoinNotes(parts);
    return person;
}

TGedFamily ParseFamily(TGedLines record, TGedStrings* strings) {
    QStringList parts;
    TGedFamily family = ReadFamily(record, strings, parts, nullptr);
    family.Note = JoinNotes(parts);
    return family;
}

bool ParseGedcomRecords(QByteArrayView utf8, TGedcomData& data, const TGedcomProgressFn& progress) {
    RecordCounter counter;
    counter.Count(utf8);
    counter.Reserve(data);
    RecordParser parser(data, progress, utf8.size());
    parser.Feed(utf8, 0, true);
    if (parser.Cancelled())
        return false;
    if (!parser.LooksLikeGedcom()) {
        data.Error = TGedcomError::NotGedcom;
        return false;
    }
    parser.Finish();
    return true;
}

namespace {

constexpr qint64 kChunk = 1 << 20;

bool OpenGedcomFile(QFile& file, TGedcomData& data) {
    const QFileInfo info(file.fileName());
    if (!info.exists() || info.isDir()) {
        SetError(data, TGedcomError::FileNotFound, QStringLiteral("The file %* was not found."),
                 file.fileName());
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(data, TGedcomError::FileUnreadable, QStringLiteral("The file %* could not be read."),
                 file.fileName());
        return false;
    }
    return true;
}

bool ReadAll(QFile& file, QByteArray& bytes, TGedcomData& data) {
    file.seek(0);
    bytes = file.readAll();
    if (file.error() == QFileDevice::NoError)
        return true;
    SetError(data, TGedcomError::FileUnreadable, QStringLiteral("The file %* could not be read."),
             file.fileName());
    return false;
}

// The encoding asked for, else the one the file's start declares; empty when only all of the bytes can
// tell (false when the encoding asked for is unknown).
bool ChooseEncoding(QFile& file, const TGedcomReadOptions& options, QString& encoding, TGedcomData& data) {
    if (!options.Encoding.isEmpty()) {
        encoding = NormaliseGedcomEncoding(options.Encoding, options.FallbackEncoding);
        if (encoding.isEmpty())
            SetError(data, TGedcomError::UnknownEncoding, QStringLiteral("The encoding %* is not known."),
                     options.Encoding);
        return !encoding.isEmpty();
    }
    encoding = DeclaredGedcomEncoding(file.peek(1 << 16), options.FallbackEncoding);
    return true;
}

// Large UTF-8 files are parsed a chunk at a time, so the whole file never sits in memory.
bool StreamUtf8(QFile& file, TGedcomData& data, const TGedcomProgressFn& progress) {
    RecordCounter counter;
    QByteArray buffer;
    file.seek(0);
    while (!file.atEnd()) {
        buffer = file.read(kChunk);
        counter.Count(buffer);
    }
    counter.Reserve(data);
    file.seek(0);
    RecordParser parser(data, progress, file.size());
    // The rest of a record cut by a chunk's end moves to the front, and the next chunk is read behind it.
    buffer.reserve(kChunk + kChunk / 4);
    buffer.clear();
    qint64 offset = 0; // file position of buffer[0]
    bool first = true;
    for (;;) {
        const qsizetype kept = buffer.size();
        buffer.resize(kept + kChunk);
        const qint64 read = file.read(buffer.data() + kept, kChunk);
        if (read < 0) {
            SetError(data, TGedcomError::FileUnreadable, QStringLiteral("The file %* could not be read."),
                     file.fileName());
            return false;
        }
        buffer.resize(kept + qsizetype(read));
        if (first && buffer.startsWith("\xEF\xBB\xBF")) {
            buffer.remove(0, 3);
            offset = 3;
        }
        first = false;
        const bool final = read == 0;
        const qsizetype used = parser.Feed(buffer, offset, final);
        if (parser.Cancelled())
            return false;
        if (final)
            break;
        std::memmove(buffer.data(), buffer.constData() + used, size_t(buffer.size() - used));
        buffer.resize(buffer.size() - used);
        offset += used;
    }
    if (!parser.LooksLikeGedcom()) {
        data.Error = TGedcomError::NotGedcom;
        return false;
    }
    parser.Finish();
    return true;
}

} // namespace

bool ReadGedcomFile(const QString& path, TGedcomData& data, const TGedcomReadOptions& options) {
    QFile file(path);
    QString encoding;
    if (!OpenGedcomFile(file, data))
        return false;
    // A GEDCOM 7 file (always UTF-8) is rewritten into the older form and read by the same reader.
    const bool seven = IsGedcom7Header(file.peek(1 << 16));
    if (!seven && !ChooseEncoding(file, options, encoding, data))
        return false;
    bool ok;
    if (seven) {
        QByteArray bytes;
        if (!ReadAll(file, bytes, data))
            return false;
        data.Encoding = QLatin1String(kGedUtf8);
        ok = ParseGedcomRecords(Gedcom7ToOlderForm(bytes), data, options.Progress);
    } else if (encoding == QLatin1String(kGedUtf8)) {
        data.Encoding = encoding;
        ok = StreamUtf8(file, data, options.Progress);
    } else {
        QByteArray utf8;
        if (!ReadAll(file, utf8, data))
            return false;
        if (encoding.isEmpty())
            encoding = DetectGedcomEncoding(utf8, options.FallbackEncoding);
        ConvertToUtf8(utf8, encoding);
        data.Encoding = encoding;
        ok = ParseGedcomRecords(utf8, data, options.Progress);
    }
    if (ok)
        return true;
    if (data.Error == TGedcomError::NotGedcom)
        SetError(data, TGedcomError::NotGedcom, QStringLiteral("The file %* is not a GEDCOM file."), path);
    else if (data.Error == TGedcomError::Cancelled)
        SetError(data, TGedcomError::Cancelled, QStringLiteral("The import was cancelled."), QString());
    return false;
}

} // namespace verdan
