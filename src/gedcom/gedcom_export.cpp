#include "gedcom_export.h"

#include "calendar/date_value_gedcom.h"
#include "gedcom/gedcom7_export_lines.h"
#include "gedcom/gedcom7_schema.h"
#include "gedcom/gedzip.h"
#include "storage/database.h"
#include "storage/date_columns.h"
#include "storage/event_kinds.h"
#include "storage/event_store.h"
#include "storage/picture_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <map>
#include <vector>

namespace verdan {

namespace {

constexpr qsizetype kMaxLine = 255;        // bytes of a line without its line end
constexpr qsizetype kFlushBytes = 1 << 20; // written out to the file in pieces of about this size

// The pedigree phrase of the family of the woman who nursed a child.
constexpr const char* kNursingPhrase = "Breastfeeding";

constexpr const char* kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// An event as it is written under one record: the event and, for a person, the person's age at it; for a
// family, the husband's and the wife's.
struct EventEntry {
    int Event = -1;
    QString Age, WifeAge;
};

// An event's lines as written, and its kind's code. Version 7.0 writes the first line by where the event
// goes (a couple's event under one of them is relocated): Tag and Value are that line's, Body the rest.
struct RenderedEvent {
    QByteArray Code;
    QByteArray Tag, Value;
    QByteArray PersonTag, FamilyTag; // the tag under an individual, under a family
    bool OwnTag = false;             // written under a tag of the tree's own kinds wherever it goes
    QByteArray Body;
};

struct Person {
    QByteArray Id, Given, Last, Nickname, Cognomen, BirthPlace, DeathPlace, SectionType, Notes;
    int Father = -1, Mother = -1; // positions of the parents; -1 for none
    bool Outside = false;         // under the outside-the-tree group
    bool TopLevel = false;        // heads a line of its own
    bool Female = false, Section = false, Dead = false;
    TDateValue Birth, Death;
    int OrderByFather = 0, OrderByMother = 0;
    std::vector<int> Families;                // as husband or wife, in the order of the person's mates
    std::vector<std::pair<int, bool>> Nursed; // breastfeeding: (other person, true = mother of this one)
    std::vector<int> NursingFamilies;         // the families of the women who nursed this person
    std::vector<EventEntry> Events;
    std::vector<std::pair<int, QByteArray>> Pictures; // GEDZIP: media record and title
};

struct Family {
    int Husband = -1, Wife = -1;
    bool Marriage = false, Divorced = false;
    TDateValue Married, DivorceDate;
    QByteArray Place, DivorcePlace, Notes;
    std::vector<int> Children;
    std::vector<int> Nursed; // children nursed by the wife, listed after her own
    std::vector<EventEntry> Events;
};

QByteArray Utf8(const Query& q, int column) {
    const QByteArrayView view = q.Utf8(column);
    return QByteArray(view.data(), view.size());
}

// Identifiers compare without regard to case or surrounding blanks, as the tree file compares them.
QByteArray Key(QByteArrayView id) {
    for (const char c : id)
        if ((c >= 'a' && c <= 'z') || c == ' ' || c == '\t')
            return id.toByteArray().trimmed().toUpper();
    return id.toByteArray();
}

// "@" is doubled in GEDCOM values; a pointer is the only single one.
QByteArray Escaped(const QByteArray& value) {
    if (!value.contains('@'))
        return value;
    QByteArray copy = value;
    return copy.replace("@", "@@");
}

// A date kept as written: its calendar escapes ("@#DHEBREW@") stay as they are, any other "@" is doubled.
QByteArray EscapedDate(const QByteArray& value) {
    if (!value.contains('@'))
        return value;
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '@' && i + 1 < value.size() && value[i + 1] == '#') {
            const qsizetype close = value.indexOf('@', i + 2);
            const qsizetype end = close < 0 ? value.size() : close + 1;
            out += value.mid(i, end - i);
            i = end - 1;
        } else {
            out += value[i];
            if (value[i] == '@')
                out += '@';
        }
    }
    return out;
}

// Cutting text here leaves a whole character on both sides, no blank at the seam (readers that trim
// lines would lose it) and no doubled "@" split in two.
bool GoodCut(const QByteArray& text, qsizetype at) {
    const char before = text[at - 1], after = text[at];
    return (uchar(after) & 0xC0) != 0x80 && before != ' ' && after != ' ' && before != '@';
}

qsizetype CutPoint(const QByteArray& text, qsizetype from, qsizetype room) {
    const qsizetype end = from + room;
    if (end >= text.size())
        return text.size();
    for (qsizetype at = end; at > from + room / 2; --at)
        if (GoodCut(text, at))
            return at;
    qsizetype at = end;
    while (at > from + 1 && (uchar(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

QByteArray Text(const QString& text) {
    return text.toUtf8();
}

// A tag another program made up is written as it came when it is one; otherwise the event is an EVEN.
bool IsTag(const QString& code) {
    if (code.isEmpty() || code.size() > 31)
        return false;
    for (QChar c : code)
        if (!(c.isDigit() || (c >= u'A' && c <= u'Z') || c == u'_'))
            return false;
    return true;
}

class Writer {
public:
    Writer(std::function<bool(const QByteArray&)> flush, TGedcomVersion version, bool media = false)
        : Flush(std::move(flush)), Seven(version == TGedcomVersion::V70 || media), Media(media) {
        Out.reserve(kFlushBytes + 4096);
    }

    bool Read(QString& error) {
        Tdm& dm = Dm();
        const QByteArray global = Key(dm.ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo "
                                                                   "ORDER BY oid LIMIT 1"))
                                          .toUtf8());
        Owner =
            dm.ScalarText(QStringLiteral("SELECT owner_name FROM ftTreeInfo ORDER BY oid LIMIT 1")).toUtf8();
        Query q = dm.Prepare(
            QStringLiteral(
                "SELECT person_id, father_id, mother_id, gender, person_name, last_name, nickname, "
                "cognomen, place_of_birth, place_of_death, order_by_father, order_by_mother, "
                "is_section, section_type, is_dead, notes, ") +
            DateColumnList(kBirthDateColumns) + QStringLiteral(", ") + DateColumnList(kDeathDateColumns) +
            QStringLiteral(" FROM ftPerson ORDER BY oid"));
        std::vector<std::pair<QByteArray, QByteArray>> parents;
        QHash<QByteArray, int> index;
        while (q.Next()) {
            const QByteArray id = Key(q.Utf8(0));
            if (id.isEmpty() || id == global || index.contains(id))
                continue;
            index.insert(id, int(Persons.size()));
            Person& p = Persons.emplace_back();
            p.Id = Utf8(q, 0).trimmed();
            const QByteArray father = Key(q.Utf8(1));
            p.Outside = father == global;
            p.TopLevel = father == "-1";
            parents.emplace_back(father, Key(q.Utf8(2)));
            p.Female = q.Utf8(3).trimmed().compare("f", Qt::CaseInsensitive) == 0;
            p.Given = Utf8(q, 4);
            p.Last = Utf8(q, 5);
            p.Nickname = Utf8(q, 6);
            p.Cognomen = Utf8(q, 7);
            p.BirthPlace = Utf8(q, 8);
            p.DeathPlace = Utf8(q, 9);
            p.OrderByFather = int(q.Int(10));
            p.OrderByMother = int(q.Int(11));
            p.Section = q.Bool(12);
            p.SectionType = Utf8(q, 13);
            p.Dead = q.Bool(14);
            p.Notes = Utf8(q, 15);
            p.Birth = ReadDateColumnsAt(q, 16);
            p.Death = ReadDateColumnsAt(q, 23);
        }
        if (q.Failed())
            return Fail(q.Error(), error);
        const auto find = [&](const QByteArray& id) {
            return index.value(id, -1);
        };
        for (size_t i = 0; i < Persons.size(); ++i) {
            Persons[i].Father = find(parents[i].first);
            Persons[i].Mother = find(parents[i].second);
            if (Persons[i].Father == int(i))
                Persons[i].Father = -1;
            if (Persons[i].Mother == int(i))
                Persons[i].Mother = -1;
        }
        return ReadRelations(find, error) && ReadEvents(find, error) && (!Media || ReadPictures(find));
    }

    bool Write(const TGedcomProgressFn& progress, TGedcomExportSummary& summary, QString& error) {
        if (Seven) {
            PlaceEvents();
            Head7();
        } else {
            Head();
        }
        TGedcomProgress state;
        state.PersonsTotal = int(Persons.size());
        for (size_t i = 0; i < Persons.size(); ++i) {
            Individual(int(i));
            if (Out.size() >= kFlushBytes && !FlushOut(error))
                return false;
            if (progress && (i + 1) % 2048 == 0) {
                state.PersonsWritten = int(i + 1);
                if (!progress(state))
                    return Cancelled(error);
            }
        }
        for (size_t f = 0; f < Families.size(); ++f) {
            FamilyRecord(int(f));
            if (Out.size() >= kFlushBytes && !FlushOut(error))
                return false;
        }
        for (size_t m = 0; m < MediaFiles.size(); ++m) {
            Out += "0 @M";
            Number(int(m) + 1);
            Out += "@ OBJE\r\n";
            Line(1, "FILE", QUrl::toPercentEncoding(MediaFiles[m].first, "/"));
            Line(2, "FORM", PictureMediaType(MediaFiles[m].first));
        }
        Out += "0 TRLR\r\n";
        if (!FlushOut(error))
            return false;
        if (progress) {
            state.PersonsWritten = state.PersonsTotal;
            if (!progress(state))
                return Cancelled(error);
        }
        summary.Individuals = int(Persons.size());
        summary.Families = int(Families.size());
        summary.Associations = Associations;
        summary.Events = EventCount;
        return true;
    }

    // GEDZIP: the archive's names of the pictures the file names, and where each is read from.
    const std::vector<std::pair<QString, QString>>& Pictures() const { return MediaFiles; }

private:
    // Each person's pictures that can be found, the default first; a file several rows share is one record.
    template <typename Find> bool ReadPictures(const Find& find) {
        Query q = Dm().Prepare(QStringLiteral("SELECT person_id, file_path, pic_description FROM ftPictures "
                                              "ORDER BY pic_default DESC, oid"));
        QHash<QString, int> records;
        while (q.Next()) {
            const int p = find(Key(q.Utf8(0)));
            const QString stored = q.Text(1).trimmed();
            const QString source = PictureFileLocation(stored);
            if (p < 0 || source.isEmpty())
                continue;
            auto found = records.constFind(source);
            if (found == records.constEnd()) {
                QString name = QStringLiteral("media/") + QFileInfo(source).fileName();
                for (int n = 2; std::any_of(MediaFiles.begin(), MediaFiles.end(),
                                            [&](const auto& m) { return m.first == name; });
                     ++n)
                    name = QStringLiteral("media/%1-").arg(n) + QFileInfo(source).fileName();
                found = records.insert(source, int(MediaFiles.size()));
                MediaFiles.emplace_back(name, source);
            }
            Persons[size_t(p)].Pictures.emplace_back(*found, Utf8(q, 2).trimmed());
        }
        return !q.Failed();
    }

    template <typename Find> bool ReadRelations(const Find& find, QString& error) {
        struct Mate {
            int Order, Row, Family;
        };
        std::vector<std::vector<Mate>> mates(Persons.size());
        QHash<quint64, int> familyOfCouple;
        const bool divorcePlace =
            Dm().ColumnExists(QStringLiteral("ftRelation"), QStringLiteral("divorce_place"));
        const bool oldDates = MarriageHijriInDivorceColumn();
        Query q = Dm().Prepare(
            QStringLiteral(
                "SELECT person_id_1, person_id_2, relation_type, split, relation_order_1, relation_order_2, "
                "place, ") +
            (divorcePlace ? QStringLiteral("divorce_place") : QStringLiteral("NULL")) +
            QStringLiteral(", notes, ") + DateColumnList(kMarriageDateColumns) + QStringLiteral(", ") +
            DateColumnList(kDivorceDateColumns) + QStringLiteral(" FROM ftRelation ORDER BY oid"));
        int row = 0;
        while (q.Next()) {
            ++row;
            const int a = find(Key(q.Utf8(0)));
            const int b = find(Key(q.Utf8(1)));
            if (a < 0 || b < 0 || a == b)
                continue;
            const qint64 type = q.Int(2);
            if (type == kBreastfeedingMother || type == kBreastfeedingSiblings) {
                Persons[size_t(b)].Nursed.emplace_back(a, type == kBreastfeedingMother);
                ++Associations;
                continue;
            }
            if (type != kMarriage)
                continue;
            const quint64 couple = (quint64(quint32(a)) << 32) | quint32(b);
            const int f = int(Families.size());
            Family& family = Families.emplace_back();
            family.Husband = a;
            family.Wife = b;
            family.Marriage = true;
            family.Place = Utf8(q, 6);
            family.DivorcePlace = Utf8(q, 7);
            family.Notes = Utf8(q, 8);
            family.Married = ReadDateColumnsAt(q, 9);
            family.DivorceDate = ReadDateColumnsAt(q, 16);
            // A tree from before the Hijri marriage column kept that date where the divorce date goes now.
            if (oldDates) {
                family.Married.Hijri = family.DivorceDate.Gregorian;
                family.DivorceDate = TDateValue();
            }
            // A divorce date or place is a divorce, whatever the mark says.
            family.Divorced =
                q.Bool(3) || !IsEmptyDate(family.DivorceDate) || !family.DivorcePlace.trimmed().isEmpty();
            if (!familyOfCouple.contains(couple))
                familyOfCouple.insert(couple, f);
            // The husband's marriages count in the order of his wives, hers in the order of her husbands.
            mates[size_t(a)].push_back({int(q.Int(5)), row, f});
            mates[size_t(b)].push_back({int(q.Int(4)), row, f});
        }
        if (q.Failed())
            return Fail(q.Error(), error);
        for (size_t i = 0; i < Persons.size(); ++i) {
            std::sort(mates[i].begin(), mates[i].end(), [](const Mate& x, const Mate& y) {
                return x.Order != y.Order ? x.Order < y.Order : x.Row < y.Row;
            });
            for (const Mate& m : mates[i])
                Persons[i].Families.push_back(m.Family);
        }
        // A child belongs to the marriage of its parents, or to a family of its own parents without one.
        ChildFamily.assign(Persons.size(), -1);
        for (size_t i = 0; i < Persons.size(); ++i) {
            const Person& p = Persons[i];
            if (p.Father < 0 && p.Mother < 0)
                continue;
            const quint64 couple = (quint64(quint32(p.Father)) << 32) | quint32(p.Mother);
            auto found = familyOfCouple.constFind(couple);
            if (found == familyOfCouple.constEnd()) {
                found = familyOfCouple.insert(couple, int(Families.size()));
                Family& family = Families.emplace_back();
                family.Husband = p.Father;
                family.Wife = p.Mother;
                for (int parent : {p.Father, p.Mother})
                    if (parent >= 0)
                        Persons[size_t(parent)].Families.push_back(*found);
            }
            Families[size_t(*found)].Children.push_back(int(i));
            ChildFamily[i] = *found;
        }
        // A nursed child names its nursing mother's family too: the family of hers without a husband.
        for (size_t i = 0; i < Persons.size(); ++i) {
            for (const auto& [nurse, mother] : Persons[i].Nursed) {
                if (!mother)
                    continue;
                const quint64 key = (quint64(quint32(-1)) << 32) | quint32(nurse);
                auto found = familyOfCouple.constFind(key);
                if (found == familyOfCouple.constEnd()) {
                    found = familyOfCouple.insert(key, int(Families.size()));
                    Families.emplace_back().Wife = nurse;
                    Persons[size_t(nurse)].Families.push_back(*found);
                }
                Families[size_t(*found)].Nursed.push_back(int(i));
                Persons[i].NursingFamilies.push_back(*found);
            }
        }
        FamilyOfCouple = std::move(familyOfCouple);
        for (Family& family : Families) {
            const bool byFather = family.Husband >= 0;
            std::stable_sort(family.Children.begin(), family.Children.end(), [&](int x, int y) {
                const Person& a = Persons[size_t(x)];
                const Person& b = Persons[size_t(y)];
                return byFather ? a.OrderByFather < b.OrderByFather : a.OrderByMother < b.OrderByMother;
            });
        }
        return true;
    }

    // Events of one person go under that person; an event of a couple under the couple's marriage (or,
    // without one, under the first of them). Each event is written out as it is read, so that only its
    // text is kept until its person's record comes.
    template <typename Find> bool ReadEvents(const Find& find, QString& error) {
        if (!HasEventTables())
            return true;
        Query q = Dm().Prepare(
            QStringLiteral("SELECT e.oid, e.event_type, e.event_descriptor, e.event_value, e.event_time, "
                           "e.event_place, e.agency, e.cause, e.notes, e.is_family, ") +
            DateColumnList(kEventDateColumns, QStringLiteral("e.")) +
            QStringLiteral(", p.person_id, p.age_text FROM ftEvents e JOIN ftEvents_persn p ON p.event_Id = "
                           "e.event_Id ORDER BY e.oid, p.oid"));
        qint64 current = -1;
        bool family = false;
        std::vector<std::pair<int, QString>> persons;
        const auto attach = [&] {
            if (current < 0 || persons.empty())
                return;
            const int e = int(AllEvents.size()) - 1;
            if (family && persons.size() == 2) {
                for (const auto& [h, w] : {std::pair{0, 1}, std::pair{1, 0}}) {
                    const int husband = persons[size_t(h)].first, wife = persons[size_t(w)].first;
                    const auto found =
                        FamilyOfCouple.constFind((quint64(quint32(husband)) << 32) | quint32(wife));
                    if (found != FamilyOfCouple.constEnd() && Families[size_t(*found)].Marriage) {
                        Families[size_t(*found)].Events.push_back(
                            {e, persons[size_t(h)].second, persons[size_t(w)].second});
                        ++EventCount;
                        return;
                    }
                }
                persons.resize(1);
            }
            for (const auto& [p, age] : persons) {
                Persons[size_t(p)].Events.push_back({e, age, QString()});
                ++EventCount;
            }
        };
        while (q.Next()) {
            if (q.Int(0) != current) {
                attach();
                current = q.Int(0);
                family = q.Bool(9);
                persons.clear();
                AllEvents.push_back(RenderEvent(q));
            }
            const int p = find(Key(q.Utf8(17)));
            if (p >= 0)
                persons.emplace_back(p, q.Text(18));
        }
        attach();
        return q.Failed() ? Fail(q.Error(), error) : true;
    }

    // An event's lines but for the ages, which each record it goes under adds: kinds of our own as an EVEN
    // or FACT whose TYPE names them.
    RenderedEvent RenderEvent(const Query& q) {
        RenderedEvent rendered;
        const QString code = q.Text(1).trimmed().toUpper();
        rendered.Code = code.toUtf8();
        const TEventKind* kind = FindEventKind(code);
        QByteArray tag = kind ? QByteArray(kind->GedcomTag) : rendered.Code;
        QByteArray type = kind && kind->GedcomType ? QByteArray(kind->GedcomType) : Utf8(q, 2);
        if (!kind && !IsTag(code)) {
            tag = "EVEN";
            type = Utf8(q, 1);
        }
        const QByteArray value = Utf8(q, 3).trimmed(), time = Utf8(q, 4), place = Utf8(q, 5).trimmed(),
                         agency = Utf8(q, 6), cause = Utf8(q, 7), notes = Utf8(q, 8);
        const TDateValue date = ReadDateColumnsAt(q, 10);
        QByteArray outer;
        std::swap(Out, outer);
        if (Seven) {
            rendered.Tag = tag;
            TGed7EventLines lines = Ged7EventLines(tag, type, value, time, place, agency, cause, notes, date);
            rendered.Value = std::move(lines.Value);
            rendered.Body = std::move(lines.Body);
            rendered.OwnTag = lines.OwnTag;
            std::swap(Out, outer);
            return rendered;
        }
        const bool more = !IsEmptyDate(date) || !place.isEmpty() || !type.isEmpty() || !agency.isEmpty() ||
                          !cause.isEmpty() || !notes.isEmpty() || !time.isEmpty();
        LongText(1, tag.constData(), value.isEmpty() && !more ? QByteArray("Y") : value);
        if (!type.isEmpty())
            LongText(2, "TYPE", type);
        DateLines(2, date);
        if (!time.isEmpty())
            Line(IsEmptyDate(date) ? 2 : 3, "TIME", time);
        if (!place.isEmpty())
            LongText(2, "PLAC", place);
        if (!agency.isEmpty())
            LongText(2, "AGNC", agency);
        if (!cause.isEmpty())
            LongText(2, "CAUS", cause);
        if (!notes.isEmpty())
            LongText(2, "NOTE", notes);
        rendered.Body = std::move(Out);
        Out = std::move(outer);
        return rendered;
    }

    void PlaceEvents() {
        std::vector<std::pair<int, bool>> placed;
        for (const Person& p : Persons)
            for (const EventEntry& entry : p.Events)
                placed.emplace_back(entry.Event, false);
        for (const Family& f : Families)
            for (const EventEntry& entry : f.Events)
                placed.emplace_back(entry.Event, true);
        for (const auto& [e, family] : placed) {
            RenderedEvent& event = AllEvents[size_t(e)];
            (family ? event.FamilyTag : event.PersonTag) =
                Ged7PlacedTag(event.Tag, family, event.OwnTag, Declared);
        }
    }

    bool Fail(const QString& reason, QString& error) {
        error = FillPattern(Translate(QStringLiteral("The tree could not be read: %*")), {reason});
        return false;
    }

    bool Cancelled(QString& error) {
        error = Translate(QStringLiteral("The export was cancelled."));
        return false;
    }

    bool FlushOut(QString& error) {
        if (Out.isEmpty())
            return true;
        if (!Flush(Out)) {
            error = Translate(QStringLiteral("The file could not be written."));
            return false;
        }
        Out.clear();
        return true;
    }

    // Levels stay below 10.
    void Start(int level, const char* tag) {
        Out += char('0' + level);
        Out += ' ';
        Out += tag;
    }

    // One line, cut to the longest a line may be (7.0 has no such limit but no line breaks in a line).
    void Line(int level, const char* tag, const QByteArray& value = {}) {
        if (Seven) {
            Ged7Line(Out, level, tag, value);
            return;
        }
        const qsizetype start = Out.size();
        Start(level, tag);
        if (!value.isEmpty()) {
            Out += ' ';
            const qsizetype room = kMaxLine - (Out.size() - start);
            Out += value.size() <= room ? QByteArrayView(value)
                                        : QByteArrayView(value).first(CutPoint(value, 0, room));
        }
        Out += "\r\n";
    }

    void Number(int n) {
        char digits[12];
        int count = 0;
        do {
            digits[count++] = char('0' + n % 10);
            n /= 10;
        } while (n > 0);
        while (count > 0)
            Out += digits[--count];
    }

    void Pointer(int level, const char* tag, char kind, int n) {
        Start(level, tag);
        Out += " @";
        Out += kind;
        Number(n + 1);
        Out += "@\r\n";
    }

    // A text of any length and any line breaks: CONT starts a new line, CONC continues a long one.
    void LongText(int level, const char* tag, const QByteArray& value, bool escape = true) {
        if (Seven) {
            Ged7Text(Out, level, tag, value);
            return;
        }
        const QByteArray text = escape ? Escaped(value) : value;
        const qsizetype tagLength = qsizetype(qstrlen(tag));
        if (text.size() + tagLength + 3 <= kMaxLine && !text.contains('\r') && !text.contains('\n')) {
            Start(level, tag);
            if (!text.isEmpty()) {
                Out += ' ';
                Out += text;
            }
            Out += "\r\n";
            return;
        }
        const char* lineTag = tag;
        int lineLevel = level;
        qsizetype pos = 0;
        while (true) {
            qsizetype end = pos;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n')
                ++end;
            const QByteArray line = text.mid(pos, end - pos);
            qsizetype from = 0;
            do {
                const qsizetype head =
                    QByteArray::number(lineLevel).size() + 1 + qsizetype(qstrlen(lineTag)) + 1;
                const qsizetype cut = CutPoint(line, from, kMaxLine - head);
                Out += QByteArray::number(lineLevel) + ' ' + lineTag;
                if (cut > from)
                    Out += ' ' + line.mid(from, cut - from);
                Out += "\r\n";
                from = cut;
                lineTag = "CONC";
                lineLevel = level + 1;
            } while (from < line.size());
            if (end >= text.size())
                break;
            // CR LF, LF and CR each end one line.
            pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
            lineTag = "CONT";
            lineLevel = level + 1;
        }
    }

    // A date, and under it the Hijri date where the tree's is not simply the conversion of DATE: _HIJR with
    // the tree's own (empty when it has none), or _HIJRONLY when the tree has the Hijri date alone and DATE
    // is only its conversion into the Gregorian days it spans.
    void DateLines(int level, const TDateValue& value) {
        if (Seven) {
            Ged7DateLines(Out, level, value);
            return;
        }
        if (IsEmptyDate(value))
            return;
        if (!HasDateNumbers(value)) {
            LongText(level, "DATE", EscapedDate(Text(GedcomDateText(value))), false);
            return;
        }
        if (value.Gregorian == 0) {
            Line(level, "DATE", EscapedDate(Text(GedcomDateText(GregorianStandIn(value)))));
            Line(level + 1, "_HIJRONLY", EscapedDate(Text(GedcomDateText(value, true))));
            return;
        }
        Line(level, "DATE", EscapedDate(Text(GedcomDateText(value))));
        TDateValue gregorian = value;
        gregorian.Hijri = gregorian.Hijri2 = 0;
        const TDateValue converted = WithBothCalendars(gregorian);
        if (converted.Hijri != value.Hijri || converted.Hijri2 != value.Hijri2)
            Line(level + 1, "_HIJR", EscapedDate(Text(GedcomDateText(value, true))));
    }

    // Birth, death, marriage and divorce; "Y" says that it happened when nothing more is known.
    void Event(const char* tag, const TDateValue& date, const QByteArray& place, bool bare) {
        const bool hasPlace = !place.trimmed().isEmpty();
        if (IsEmptyDate(date) && !hasPlace) {
            if (bare)
                Line(1, tag, "Y");
            return;
        }
        Line(1, tag);
        DateLines(2, date);
        if (hasPlace)
            LongText(2, "PLAC", place.trimmed());
    }

    bool HasEventOfKind(const std::vector<EventEntry>& events, const char* code) const {
        return std::any_of(events.begin(), events.end(), [&](const EventEntry& entry) {
            return AllEvents[size_t(entry.Event)].Code == code;
        });
    }

    // Any other event, with the ages of the record it goes under.
    void OtherEvent(const EventEntry& entry, bool family) {
        if (Seven) {
            OtherEvent7(entry, family);
            return;
        }
        Out += AllEvents[size_t(entry.Event)].Body;
        if (family) {
            for (const auto& [spouse, age] :
                 {std::pair{"HUSB", entry.Age}, std::pair{"WIFE", entry.WifeAge}}) {
                if (age.isEmpty())
                    continue;
                Line(2, spouse);
                Line(3, "AGE", Text(age));
            }
        } else if (!entry.Age.isEmpty()) {
            Line(2, "AGE", Text(entry.Age));
        }
    }

    void OtherEvent7(const EventEntry& entry, bool family) {
        const RenderedEvent& event = AllEvents[size_t(entry.Event)];
        Line(1, (family ? event.FamilyTag : event.PersonTag).constData(), event.Value);
        Out += event.Body;
        if (family) {
            for (const auto& [spouse, age] :
                 {std::pair{"HUSB", entry.Age}, std::pair{"WIFE", entry.WifeAge}}) {
                if (age.isEmpty())
                    continue;
                Line(2, spouse);
                Ged7Age(Out, 3, Text(age));
            }
        } else if (!entry.Age.isEmpty()) {
            Ged7Age(Out, 2, Text(entry.Age));
        }
    }

    void Head7() {
        Ged7Head(Out, Declared, Owner.trimmed().isEmpty() ? QByteArray("Unknown") : Owner.trimmed());
    }

    void Head() {
        Out += "0 HEAD\r\n1 SOUR VERDAN\r\n2 VERS " VERDAN_VERSION "\r\n2 NAME Verdan\r\n";
        const QDate today = QDate::currentDate();
        Line(1, "DATE",
             QByteArray::number(today.day()) + ' ' + kMonths[today.month() - 1] + ' ' +
                 QByteArray::number(today.year()));
        Out += "1 SUBM @U1@\r\n1 GEDC\r\n2 VERS 5.5.1\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR UTF-8\r\n";
        Out += "0 @U1@ SUBM\r\n";
        Line(1, "NAME", Owner.trimmed().isEmpty() ? QByteArray("Unknown") : Escaped(Owner.trimmed()));
    }

    void Individual(int i) {
        const Person& p = Persons[size_t(i)];
        Out += "0 @I";
        Number(i + 1);
        // 7.0: a group is a record of its own, not an individual.
        Out += Seven && p.Section ? "@ _GROUP\r\n" : "@ INDI\r\n";
        const QByteArray given = p.Given.trimmed();
        const QByteArray last = p.Last.trimmed();
        QByteArray name = Seven ? Ged7NamePart(given) : given;
        if (!last.isEmpty())
            name += (name.isEmpty() ? "/" : " /") + (Seven ? Ged7NamePart(last) : last) + '/';
        // Names of any length: CONC carries what does not fit on the line. 7.0 has no empty NAME: a nickname
        // alone goes under "//".
        if (Seven && name.isEmpty() && !p.Nickname.trimmed().isEmpty())
            name = "//";
        if (!Seven || !name.isEmpty())
            LongText(1, "NAME", name);
        if (!given.isEmpty())
            LongText(2, "GIVN", given);
        if (!last.isEmpty())
            LongText(2, "SURN", last);
        if (!p.Nickname.trimmed().isEmpty())
            LongText(2, "NICK", p.Nickname.trimmed());
        // The cognomen is the first TITL; an empty one stands in when only titles of another kind follow.
        if (!p.Cognomen.trimmed().isEmpty() || (!Seven && HasEventOfKind(p.Events, "TITL")))
            LongText(1, "TITL", p.Cognomen.trimmed());
        Line(1, "SEX", p.Female ? "F" : "M");
        // A further birth or death follows the person's own, which a reader takes first; "Y" holds the place
        // of an own one the tree does not know.
        Event("BIRT", p.Birth, p.BirthPlace, HasEventOfKind(p.Events, "BIRT"));
        Event("DEAT", p.Death, p.DeathPlace, p.Dead || HasEventOfKind(p.Events, "DEAT"));
        for (const EventEntry& entry : p.Events)
            OtherEvent(entry, false);
        if (p.Section && Seven) {
            if (!p.SectionType.trimmed().isEmpty())
                LongText(1, "TYPE", p.SectionType.trimmed());
        } else if (p.Section) {
            Line(1, "_GROUP", "Y");
            if (!p.SectionType.trimmed().isEmpty())
                Line(2, "TYPE", Escaped(p.SectionType.trimmed()));
        }
        if (p.Outside)
            Line(1, "_OUTSIDE", "Y");
        else if (p.TopLevel)
            Line(1, "_TOP", "Y");
        // The nursing families first: a reader that takes the last FAMC for the parents finds the birth one.
        for (int f : p.NursingFamilies) {
            Pointer(1, "FAMC", 'F', f);
            if (Seven) {
                Line(2, "PEDI", "OTHER");
                Line(3, "PHRASE", kNursingPhrase);
            } else {
                Line(2, "PEDI", "_RADA");
            }
        }
        if (ChildFamily[size_t(i)] >= 0) {
            Pointer(1, "FAMC", 'F', ChildFamily[size_t(i)]);
            if (p.Father >= 0)
                Line(1, "_FORD", QByteArray::number(p.OrderByFather));
            if (p.Mother >= 0)
                Line(1, "_MORD", QByteArray::number(p.OrderByMother));
        }
        for (int f : p.Families)
            Pointer(1, "FAMS", 'F', f);
        for (const auto& [other, mother] : p.Nursed) {
            Pointer(1, "ASSO", 'I', other);
            if (Seven) {
                Line(2, "ROLE", "OTHER");
                Line(3, "PHRASE", mother ? "Breastfeeding mother" : "Breastfeeding sibling");
            } else {
                Line(2, "RELA", mother ? "Breastfeeding mother" : "Breastfeeding sibling");
            }
        }
        if (!p.Notes.isEmpty())
            LongText(1, "NOTE", p.Notes);
        for (const auto& [m, title] : p.Pictures) {
            Pointer(1, "OBJE", 'M', m);
            if (!title.isEmpty())
                LongText(2, "TITL", title);
        }
        if (Seven) {
            QByteArray uid = p.Id;
            if (uid.startsWith('{') && uid.endsWith('}'))
                uid = uid.mid(1, uid.size() - 2);
            Line(1, "UID", uid);
        } else {
            Line(1, "_UID", p.Id);
        }
    }

    void FamilyRecord(int f) {
        const Family& family = Families[size_t(f)];
        Out += "0 @F";
        Number(f + 1);
        Out += "@ FAM\r\n";
        // 7.0: a group names its members as a family's father names his children, in a line of its own.
        const auto group = [&](int person) {
            return Seven && Persons[size_t(person)].Section;
        };
        if (family.Husband >= 0)
            Pointer(1, group(family.Husband) ? "_HUSBGROUP" : "HUSB", 'I', family.Husband);
        if (family.Wife >= 0)
            Pointer(1, group(family.Wife) ? "_WIFEGROUP" : "WIFE", 'I', family.Wife);
        if (family.Marriage)
            Event("MARR", family.Married, family.Place, true);
        if (family.Divorced)
            Event("DIV", family.DivorceDate, family.DivorcePlace, true);
        else if (HasEventOfKind(family.Events, "DIV"))
            Line(1, Seven ? "NO" : "DIV",
                 Seven ? "DIV" : "N"); // a further divorce's event is not the marriage's own
        for (const EventEntry& entry : family.Events)
            OtherEvent(entry, true);
        if (!family.Notes.isEmpty())
            LongText(1, "NOTE", family.Notes);
        for (int child : family.Children)
            Pointer(1, group(child) ? "_CHILGROUP" : "CHIL", 'I', child);
        for (int child : family.Nursed)
            Pointer(1, "CHIL", 'I', child);
    }

    std::function<bool(const QByteArray&)> Flush;
    const bool Seven;                                    // GEDCOM 7.0
    const bool Media;                                    // GEDZIP: the pictures too
    std::vector<std::pair<QString, QString>> MediaFiles; // (name in the archive, file)
    std::map<QByteArray, QByteArray> Declared;           // 7.0: extension tags and their URIs
    QByteArray Out;
    QByteArray Owner;
    std::vector<Person> Persons;
    std::vector<Family> Families;
    std::vector<int> ChildFamily;       // of each person; -1 for none
    QHash<quint64, int> FamilyOfCouple; // (husband << 32 | wife) -> family
    std::vector<RenderedEvent> AllEvents;
    int Associations = 0;
    int EventCount = 0;
};

bool Export(const std::function<bool(const QByteArray&)>& flush, const TGedcomProgressFn& progress,
            TGedcomExportSummary& summary, QString& error, TGedcomVersion version,
            std::vector<std::pair<QString, QString>>* pictures = nullptr) {
    summary = TGedcomExportSummary();
    if (!IsTreeOpen() || !Dm().IsConnected()) {
        error = Translate(QStringLiteral("No tree is open."));
        return false;
    }
    Writer writer(flush, version, pictures != nullptr);
    if (!writer.Read(error) || !writer.Write(progress, summary, error))
        return false;
    if (pictures)
        *pictures = writer.Pictures();
    return true;
}

// A GEDZIP archive: the 7.0 file as gedcom.ged and the pictures it names.
bool ExportGedzip(const QString& path, const TGedcomProgressFn& progress, TGedcomExportSummary& summary,
                  QString& error) {
    QByteArray text;
    std::vector<std::pair<QString, QString>> pictures;
    const auto collect = [&text](const QByteArray& bytes) {
        text += bytes;
        return true;
    };
    if (!Export(collect, progress, summary, error, TGedcomVersion::V70, &pictures))
        return false;
    std::vector<std::pair<QString, QByteArray>> files{{QStringLiteral("gedcom.ged"), text}};
    for (const auto& [name, source] : pictures) {
        QFile picture(source);
        if (!picture.open(QIODevice::ReadOnly)) {
            error = FillPattern(Translate(QStringLiteral("The file %* could not be read.")), {source});
            return false;
        }
        files.emplace_back(name, picture.readAll());
    }
    summary.Pictures = int(pictures.size());
    QSaveFile file(path);
    const QByteArray zip = MakeZip(files);
    if (!file.open(QIODevice::WriteOnly) || file.write(zip) != zip.size() || !file.commit()) {
        error = FillPattern(Translate(QStringLiteral("The file %* could not be written.")), {path}) + u'\n' +
                file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool ExportGedcomFile(const QString& path, const TGedcomProgressFn& progress, TGedcomExportSummary& summary,
                      QString& error, TGedcomVersion version) {
    if (path.endsWith(QLatin1String(".gdz"), Qt::CaseInsensitive))
        return ExportGedzip(path, progress, summary, error);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = FillPattern(Translate(QStringLiteral("The file %* could not be written.")), {path}) + u'\n' +
                file.errorString();
        return false;
    }
    const auto flush = [&file](const QByteArray& bytes) {
        return file.write(bytes) == bytes.size();
    };
    if (!Export(flush, progress, summary, error, version)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = FillPattern(Translate(QStringLiteral("The file %* could not be written.")), {path}) + u'\n' +
                file.errorString();
        return false;
    }
    return true;
}

bool ExportGedcomText(QByteArray& text, TGedcomExportSummary& summary, QString& error,
                      TGedcomVersion version) {
    text.clear();
    return Export(
        [&text](const QByteArray& bytes) {
            text += bytes;
            return true;
        },
        {}, summary, error, version);
}

QString GedcomExportSummaryText(const TGedcomExportSummary& summary) {
    const auto line = [](const char* text, int n) {
        return FillPattern(Translate(QString::fromLatin1(text)), {QString::number(n)});
    };
    return QStringList{line("Individuals: %#", summary.Individuals), line("Families: %#", summary.Families),
                       line("Breastfeeding relations: %#", summary.Associations),
                       line("Events: %#", summary.Events)}
               .join(u'\n') +
           (summary.Pictures > 0 ? u'\n' + line("Pictures: %#", summary.Pictures) : QString());
}

} // namespace verdan
