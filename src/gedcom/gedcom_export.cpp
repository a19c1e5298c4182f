#include "gedcom_export.h"

#include "calendar/date_numbers.h"
#include "gedcom/gedcom_date.h"
#include "storage/database.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QDate>
#include <QHash>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace verdan {

namespace {

constexpr qsizetype kMaxLine = 255;        // bytes of a line without its line end
constexpr qsizetype kFlushBytes = 1 << 20; // written out to the file in pieces of about this size
constexpr int kGregorianReform = 15821015; // earlier dates in the Gregorian columns are Julian

constexpr const char* kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* kHijriMonths[12] = {"MUHAR", "SAFAR", "RABIA", "RABIT", "JUMAA", "JUMAT",
                                          "RAJAB", "SHAAB", "RAMAD", "SHAWW", "DHUAQ", "DHUAH"};

struct Person {
    QByteArray Id, Given, Last, Nickname, Cognomen, BirthPlace, DeathPlace, SectionType, Notes;
    int Father = -1, Mother = -1; // positions of the parents; -1 for none
    bool Outside = false;         // under the outside-the-tree group
    bool TopLevel = false;        // heads a line of its own
    bool Female = false, Section = false, Dead = false;
    int BirthG = 0, BirthH = 0, DeathG = 0, DeathH = 0;
    int OrderByFather = 0, OrderByMother = 0;
    std::vector<int> Families;                // as husband or wife, in the order of the person's mates
    std::vector<std::pair<int, bool>> Nursed; // breastfeeding: (other person, true = mother of this one)
};

struct Family {
    int Husband = -1, Wife = -1;
    bool Marriage = false, Divorced = false;
    int DateG = 0, DateH = 0;
    QByteArray Place;
    std::vector<int> Children;
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

QByteArray DateValue(int number, bool hijri) {
    if (number == 0)
        return {};
    int year, month, day;
    SplitDateNumber(number, year, month, day);
    QByteArray text;
    if (hijri)
        text = "@#DHIJRI@ ";
    else if (number > 0 && number < kGregorianReform)
        text = "@#DJULIAN@ ";
    if (month >= 1 && month <= 12) {
        if (day > 0)
            text += QByteArray::number(day) + ' ';
        text += QByteArray(hijri ? kHijriMonths[month - 1] : kMonths[month - 1]) + ' ';
    }
    text += QByteArray::number(number < 0 ? 1 - year : year);
    if (number < 0)
        text += " B.C.";
    return text;
}

// A date is written in one calendar; the import computes the other. Hijri when the tree has no Gregorian
// date, or when the Gregorian one follows from the Hijri one but not the other way round (a date entered
// in the Hijri calendar, or only a year of it).
QByteArray EventDate(int gregorian, int hijri) {
    if (gregorian == 0 || hijri == 0)
        return gregorian != 0 ? DateValue(gregorian, false) : DateValue(hijri, true);
    if (gregorian > 0 && GedcomDateInBothCalendars({TGedCalendar::Gregorian, gregorian}).Hijri == hijri)
        return DateValue(gregorian, false);
    if (hijri > 0 && GedcomDateInBothCalendars({TGedCalendar::Hijri, hijri}).Gregorian == gregorian)
        return DateValue(hijri, true);
    return DateValue(gregorian, false);
}

class Writer {
public:
    explicit Writer(std::function<bool(const QByteArray&)> flush) : Flush(std::move(flush)) {
        Out.reserve(kFlushBytes + 4096);
    }

    bool Read(QString& error) {
        Tdm& dm = Dm();
        const QByteArray global = Key(dm.ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo "
                                                                   "ORDER BY oid LIMIT 1"))
                                          .toUtf8());
        Owner =
            dm.ScalarText(QStringLiteral("SELECT owner_name FROM ftTreeInfo ORDER BY oid LIMIT 1")).toUtf8();
        Query q = dm.Prepare(QStringLiteral(
            "SELECT person_id, father_id, mother_id, gender, person_name, last_name, nickname, cognomen, "
            "date_of_birth_g, date_of_birth_h, date_of_death_g, date_of_death_h, place_of_birth, "
            "place_of_death, order_by_father, order_by_mother, is_section, section_type, is_dead, notes "
            "FROM ftPerson ORDER BY oid"));
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
            p.BirthG = int(q.Int(8));
            p.BirthH = int(q.Int(9));
            p.DeathG = int(q.Int(10));
            p.DeathH = int(q.Int(11));
            p.BirthPlace = Utf8(q, 12);
            p.DeathPlace = Utf8(q, 13);
            p.OrderByFather = int(q.Int(14));
            p.OrderByMother = int(q.Int(15));
            p.Section = q.Bool(16);
            p.SectionType = Utf8(q, 17);
            p.Dead = q.Bool(18);
            p.Notes = Utf8(q, 19);
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
        return ReadRelations(find, error);
    }

    bool Write(const TGedcomProgressFn& progress, TGedcomExportSummary& summary, QString& error) {
        Head();
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
        return true;
    }

private:
    template <typename Find> bool ReadRelations(const Find& find, QString& error) {
        struct Mate {
            int Order, Row, Family;
        };
        std::vector<std::vector<Mate>> mates(Persons.size());
        QHash<quint64, int> familyOfCouple;
        Query q = Dm().Prepare(QStringLiteral(
            "SELECT person_id_1, person_id_2, relation_type, split, relation_order_1, relation_order_2, "
            "relation_date_1, relation_date_2, place FROM ftRelation ORDER BY oid"));
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
            family.Divorced = q.Bool(3);
            family.DateG = int(q.Int(6));
            family.DateH = int(q.Int(7));
            family.Place = Utf8(q, 8);
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

    // One line, cut to the longest a line may be.
    void Line(int level, const char* tag, const QByteArray& value = {}) {
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
    void LongText(int level, const char* tag, const QByteArray& value) {
        const QByteArray text = Escaped(value);
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

    void Event(const char* tag, int gregorian, int hijri, const QByteArray& place, bool bare) {
        const QByteArray date = EventDate(gregorian, hijri);
        if (date.isEmpty() && place.trimmed().isEmpty()) {
            if (bare)
                Line(1, tag, "Y");
            return;
        }
        Line(1, tag);
        if (!date.isEmpty())
            Line(2, "DATE", date);
        if (!place.trimmed().isEmpty())
            Line(2, "PLAC", Escaped(place.trimmed()));
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
        Out += "@ INDI\r\n";
        const QByteArray given = Escaped(p.Given.trimmed());
        const QByteArray last = Escaped(p.Last.trimmed());
        QByteArray name = given;
        if (!last.isEmpty())
            name += (name.isEmpty() ? "/" : " /") + last + '/';
        Line(1, "NAME", name);
        if (!given.isEmpty())
            Line(2, "GIVN", given);
        if (!last.isEmpty())
            Line(2, "SURN", last);
        if (!p.Nickname.trimmed().isEmpty())
            Line(2, "NICK", Escaped(p.Nickname.trimmed()));
        if (!p.Cognomen.trimmed().isEmpty())
            Line(1, "TITL", Escaped(p.Cognomen.trimmed()));
        Line(1, "SEX", p.Female ? "F" : "M");
        Event("BIRT", p.BirthG, p.BirthH, p.BirthPlace, false);
        Event("DEAT", p.DeathG, p.DeathH, p.DeathPlace, p.Dead);
        if (p.Section) {
            Line(1, "_GROUP", "Y");
            if (!p.SectionType.trimmed().isEmpty())
                Line(2, "TYPE", Escaped(p.SectionType.trimmed()));
        }
        if (p.Outside)
            Line(1, "_OUTSIDE", "Y");
        else if (p.TopLevel)
            Line(1, "_TOP", "Y");
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
            Line(2, "RELA", mother ? "Breastfeeding mother" : "Breastfeeding sibling");
        }
        if (!p.Notes.isEmpty())
            LongText(1, "NOTE", p.Notes);
        Line(1, "_UID", p.Id);
    }

    void FamilyRecord(int f) {
        const Family& family = Families[size_t(f)];
        Out += "0 @F";
        Number(f + 1);
        Out += "@ FAM\r\n";
        if (family.Husband >= 0)
            Pointer(1, "HUSB", 'I', family.Husband);
        if (family.Wife >= 0)
            Pointer(1, "WIFE", 'I', family.Wife);
        if (family.Marriage)
            Event("MARR", family.DateG, family.DateH, family.Place, true);
        if (family.Divorced)
            Line(1, "DIV", "Y");
        for (int child : family.Children)
            Pointer(1, "CHIL", 'I', child);
    }

    std::function<bool(const QByteArray&)> Flush;
    QByteArray Out;
    QByteArray Owner;
    std::vector<Person> Persons;
    std::vector<Family> Families;
    std::vector<int> ChildFamily; // of each person; -1 for none
    int Associations = 0;
};

bool Export(const std::function<bool(const QByteArray&)>& flush, const TGedcomProgressFn& progress,
            TGedcomExportSummary& summary, QString& error) {
    summary = TGedcomExportSummary();
    if (!IsTreeOpen() || !Dm().IsConnected()) {
        error = Translate(QStringLiteral("No tree is open."));
        return false;
    }
    Writer writer(flush);
    return writer.Read(error) && writer.Write(progress, summary, error);
}

} // namespace

bool ExportGedcomFile(const QString& path, const TGedcomProgressFn& progress, TGedcomExportSummary& summary,
                      QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = FillPattern(Translate(QStringLiteral("The file %* could not be written.")), {path}) + u'\n' +
                file.errorString();
        return false;
    }
    const auto flush = [&file](const QByteArray& bytes) {
        return file.write(bytes) == bytes.size();
    };
    if (!Export(flush, progress, summary, error)) {
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

bool ExportGedcomText(QByteArray& text, TGedcomExportSummary& summary, QString& error) {
    text.clear();
    return Export(
        [&text](const QByteArray& bytes) {
            text += bytes;
            return true;
        },
        {}, summary, error);
}

QString GedcomExportSummaryText(const TGedcomExportSummary& summary) {
    const auto line = [](const char* text, int n) {
        return FillPattern(Translate(QString::fromLatin1(text)), {QString::number(n)});
    };
    return QStringList{line("Individuals: %#", summary.Individuals), line("Families: %#", summary.Families),
                       line("Breastfeeding relations: %#", summary.Associations)}
        .join(u'\n');
}

} // namespace verdan
