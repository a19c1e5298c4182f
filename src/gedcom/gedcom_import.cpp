#include "gedcom_import.h"

#include "gedcom/gedcom_encoding.h"
#include "gedcom/gedcom_extensions.h"
#include "gedcom/gedcom_import_facts.h"
#include "gedcom/gedcom_internal.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/gedzip.h"
#include "storage/database.h"
#include "storage/date_columns.h"
#include "storage/event_kinds.h"
#include "storage/new_tree_file.h"
#include "storage/schema.h"
#include "storage/tree_file.h"
#include "text/file_names.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "text/user_options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <span>
#include <sqlite3.h>
#include <vector>

namespace verdan {

namespace {

const QString kTopLevel = QStringLiteral("-1");
const QString kNoParent = QStringLiteral("0");
const QString kMale = QStringLiteral("m");
const QString kFemale = QStringLiteral("f");
const QString kLineBreak = QStringLiteral("\r\n");
constexpr int kNoOrder = 99;
constexpr int kGlobalParentOrder = 1000;

// The name cleaning of the person store, without copying names that need none.
QString Cleaned(const QString& name) {
    const bool clean = name.isEmpty() ||
                       (!name.front().isSpace() && !name.back().isSpace() && !name.contains(QChar(0x00A0)) &&
                        !name.contains(QChar(0x0640)) && !name.contains(QStringLiteral("  ")));
    return clean ? name : CleanName(name);
}

struct Names {
    QString Given;
    QString Last;
    QString Nickname;
    QString Cognomen;
};

// GIVN, else the NAME text before its first slash; SURN, else the text between the slashes.
Names NamesOf(const TPerson_Data& p) {
    Names names;
    const qsizetype slash = p.FullName.indexOf(u'/');
    names.Given = Cleaned(!p.GivenName.isEmpty() ? p.GivenName
                          : slash < 0            ? p.FullName
                                                 : p.FullName.left(slash));
    if (!p.Surname.isEmpty()) {
        names.Last = Cleaned(p.Surname);
    } else if (slash >= 0) {
        const qsizetype close = p.FullName.indexOf(u'/', slash + 1);
        names.Last = Cleaned(p.FullName.mid(slash + 1, close < 0 ? -1 : close - slash - 1));
    }
    names.Nickname = Cleaned(p.Nickname);
    names.Cognomen = Cleaned(p.PersonTitle);
    return names;
}

// Who is whose parent, spouse and child in indexes of data.Persons, and where each person goes. Every
// cross-reference is looked up once here; the rest works on indexes.
class TreePlan {
public:
    explicit TreePlan(const TGedcomData& data)
        : N(data.Persons.size()), Husband(data.Links.Husband), Wife(data.Links.Wife),
          ChildFamily(data.Links.ChildFamily), Children(data.Links.Children),
          SpouseFamilies(data.Links.SpouseFamilies), Persons(data.Persons) {
        MarkSpouses();
        FindParents(data);
        BreakParentCycles();
        IsFather.assign(N, false);
        for (size_t i = 0; i < N; ++i)
            if (Father[i] >= 0)
                IsFather[size_t(Father[i])] = true;
        NumberChildren();
        ListMarriages();
    }

    struct Marriage {
        int Family;
        int Husband;
        int Wife;
        int HusbandOrder = 0; // position of the husband among the wife's husbands
        int WifeOrder = 0;    // position of the wife among the husband's wives
    };

    const size_t N;
    std::vector<int> Father, Mother, OrderByFather, OrderByMother;
    std::vector<bool> IsHusband, IsWife, IsFather;
    std::vector<bool> Detached; // placed as if without parents, the mother kept
    std::vector<Marriage> Marriages;
    std::vector<std::vector<int>> MarriagesOf; // each person's marriages, in the person's order

private:
    void MarkSpouses() {
        IsHusband.assign(N, false);
        IsWife.assign(N, false);
        for (size_t f = 0; f < Husband.size(); ++f) {
            if (Husband[f] >= 0)
                IsHusband[size_t(Husband[f])] = true;
            if (Wife[f] >= 0)
                IsWife[size_t(Wife[f])] = true;
        }
    }

    // The reader has decided which parents are known; here they become indexes.
    void FindParents(const TGedcomData& data) {
        Father.assign(N, -1);
        Mother.assign(N, -1);
        for (size_t i = 0; i < N; ++i) {
            const TPerson_Data& p = data.Persons[i].Data;
            const int family = ChildFamily[i];
            if (family < 0)
                continue;
            if (p.FatherId != kTopLevel)
                Father[i] = Husband[size_t(family)];
            if (p.MotherId != kNoParent)
                Mother[i] = Wife[size_t(family)];
        }
    }

    // The outline reaches a person through the father, or without one through the mother. A chain of
    // such parents that returns to itself has no top, so its persons could never be reached: the person
    // closing the circle loses the father link and is placed as if it had no parents.
    void BreakParentCycles() {
        Detached.assign(N, false);
        std::vector<char> state(N, 0); // 0 unseen, 1 on the current path, 2 done
        std::vector<size_t> path;
        for (size_t start = 0; start < N; ++start) {
            size_t current = start;
            while (state[current] == 0) {
                state[current] = 1;
                path.push_back(current);
                const int parent = Father[current] >= 0 ? Father[current] : Mother[current];
                if (parent < 0)
                    break;
                if (state[size_t(parent)] == 1) {
                    Father[current] = -1;
                    Detached[current] = true;
                    break;
                }
                current = size_t(parent);
            }
            for (size_t p : path)
                state[p] = 2;
            path.clear();
        }
    }

    // Numbers the children of one family under one of its parents, in CHIL order.
    void NumberFamily(size_t family, std::vector<int>& parentOf, std::vector<int>& order,
                      std::vector<int>& count) {
        for (int child : Children.Of(family)) {
            if (child < 0 || ChildFamily[size_t(child)] != int(family))
                continue;
            const size_t c = size_t(child);
            if (parentOf[c] >= 0 && order[c] == 0)
                order[c] = ++count[size_t(parentOf[c])];
        }
    }

    // Children count under each parent in the order of the parent's FAMS lines and of each family's CHIL
    // lines; families the parent does not list, then children that no CHIL line lists, follow in file
    // order.
    void NumberChildren() {
        OrderByFather.assign(N, 0);
        OrderByMother.assign(N, 0);
        std::vector<int> fatherCount(N, 0), motherCount(N, 0);
        for (size_t i = 0; i < N; ++i) {
            for (int family : SpouseFamilies.Of(i)) {
                if (family >= 0 && Husband[size_t(family)] == int(i))
                    NumberFamily(size_t(family), Father, OrderByFather, fatherCount);
                if (family >= 0 && Wife[size_t(family)] == int(i))
                    NumberFamily(size_t(family), Mother, OrderByMother, motherCount);
            }
        }
        for (size_t f = 0; f + 1 < Children.Start.size(); ++f) {
            NumberFamily(f, Father, OrderByFather, fatherCount);
            NumberFamily(f, Mother, OrderByMother, motherCount);
        }
        for (size_t c = 0; c < N; ++c) {
            if (Father[c] >= 0 && OrderByFather[c] == 0)
                OrderByFather[c] = ++fatherCount[size_t(Father[c])];
            if (Mother[c] >= 0 && OrderByMother[c] == 0)
                OrderByMother[c] = ++motherCount[size_t(Mother[c])];
        }
        // Our own files say the places as the tree had them: children of several wives interleave.
        for (size_t c = 0; c < N; ++c) {
            if (Father[c] >= 0 && Persons[c].FatherOrder > 0)
                OrderByFather[c] = Persons[c].FatherOrder;
            if (Mother[c] >= 0 && Persons[c].MotherOrder > 0)
                OrderByMother[c] = Persons[c].MotherOrder;
        }
    }

    // One marriage per family with two different partners; each partner's marriages count in the order
    // of the partner's FAMS lines, then those only the family names.
    void ListMarriages() {
        MarriagesOf.assign(N, {});
        std::vector<int> marriageOfFamily(Husband.size(), -1);
        for (size_t f = 0; f < Husband.size(); ++f) {
            if (Husband[f] < 0 || Wife[f] < 0 || Husband[f] == Wife[f])
                continue;
            marriageOfFamily[f] = int(Marriages.size());
            Marriages.push_back({int(f), Husband[f], Wife[f]});
        }
        std::vector<bool> placed(Marriages.size() * 2, false);
        auto add = [&](size_t person, int marriage, bool asHusband) {
            const size_t slot = size_t(marriage) * 2 + (asHusband ? 0 : 1);
            if (placed[slot])
                return;
            placed[slot] = true;
            MarriagesOf[person].push_back(marriage);
            Marriage& m = Marriages[size_t(marriage)];
            (asHusband ? m.WifeOrder : m.HusbandOrder) = int(MarriagesOf[person].size());
        };
        for (size_t i = 0; i < N; ++i) {
            for (int family : SpouseFamilies.Of(i)) {
                const int marriage = family < 0 ? -1 : marriageOfFamily[size_t(family)];
                if (marriage < 0)
                    continue;
                if (Marriages[size_t(marriage)].Husband == int(i))
                    add(i, marriage, true);
                if (Marriages[size_t(marriage)].Wife == int(i))
                    add(i, marriage, false);
            }
        }
        for (size_t m = 0; m < Marriages.size(); ++m) {
            add(size_t(Marriages[m].Husband), int(m), true);
            add(size_t(Marriages[m].Wife), int(m), false);
        }
    }

    // The reader's links (TGedLinks).
    const std::vector<int>& Husband;
    const std::vector<int>& Wife;
    const std::vector<int>& ChildFamily;
    const TGedIndexLists& Children;
    const TGedIndexLists& SpouseFamilies;
    const std::vector<TGedPerson>& Persons;
};

class TreeWriter {
public:
    TreeWriter(const TGedcomData& data, sqlite3* db, const TGedcomProgressFn& progress)
        : Data(data), Plan(data), Db(db), Progress(progress), MarriageOfFamily(data.Families.size(), false),
          FamiliesWithoutMarriage(data.Persons.size()) {
        for (const TreePlan::Marriage& m : Plan.Marriages)
            MarriageOfFamily[size_t(m.Family)] = true;
        for (size_t f = 0; f < data.Families.size(); ++f) {
            const TGedFamily& family = data.Families[f];
            if (MarriageOfFamily[f] || (family.Note.isEmpty() && family.Kept.isEmpty()))
                continue;
            for (int spouse : {data.Links.Husband[f], data.Links.Wife[f]})
                if (spouse >= 0)
                    FamiliesWithoutMarriage[size_t(spouse)].push_back(int(f));
        }
    }

    bool Write(const QString& treeName, TGedcomImportSummary& summary, QString& error) {
        summary.NotKept = Data.NotKept;
        summary.RecordsNotKept = Data.RecordsNotKept;
        Stamp = NowStamp();
        OwnerId = NewGuidText();
        GlobalParentId = NewGuidText();
        TGedStatement info(Db,
                           "INSERT INTO ftTreeInfo (oid, owner_id, owner_name, tree_name, global_parent_id, "
                           "hide_about) VALUES (1, ?, '', ?, ?, 0)");
        TGedStatement group(
            Db, "INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, person_name, gender, "
                "is_section, display_order, order_by_father, order_by_mother, date_created, "
                "user_created) VALUES (?, ?, '-1', '0', ?, 'm', 1, ?, ?, ?, ?, '')");
        if (!info.Prepared() || !group.Prepared() ||
            !info.Text(OwnerId).Text(treeName).Text(GlobalParentId).Run() ||
            !group.Text(OwnerId)
                 .Text(GlobalParentId)
                 .Text(Translate(QStringLiteral("Other Ancestries")))
                 .Int(kGlobalParentOrder)
                 .Int(kGlobalParentOrder)
                 .Int(kGlobalParentOrder)
                 .Text(Stamp)
                 .Run())
            return Fail(error);
        TGedcomTreeContext context{Db, OwnerId, Stamp, {}};
        context.LineageName = [this](int i) {
            return LineageName(i).trimmed();
        };
        if (!WritePersons(summary, error) || !WriteMarriages(summary, error) ||
            !WriteGedcomExtensions(Data, context, error) || !WriteGedcomPictures(Data, context, error))
            return false;
        summary.Individuals = int(Data.Persons.size());
        summary.Families = int(Data.Families.size());
        return true;
    }

private:
    bool Fail(QString& error) {
        error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")),
                            {QString::fromUtf8(sqlite3_errmsg(Db))});
        return false;
    }

    bool Cancelled(QString& error) {
        error = Translate(QStringLiteral("The import was cancelled."));
        return false;
    }

    const QString& IdOf(int index) const {
        return index < 0 ? kNoParent : Data.Persons[size_t(index)].Data.PersonId;
    }

    QString GenderOf(size_t i, bool& unknown) const {
        const QString& sex = Data.Persons[i].Data.Sex;
        unknown = false;
        if (sex == kMale || sex == kFemale)
            return sex;
        if (Plan.IsHusband[i])
            return kMale;
        if (Plan.IsWife[i])
            return kFemale;
        unknown = true;
        return kMale;
    }

    // Father first; without one the mother's node shows the person; a man who heads a line of his own
    // starts at the top; anybody else would be out of sight and goes under the outside-the-tree group.
    void Placement(size_t i, const QString& gender, QString& father, QString& mother) const {
        const int f = Plan.Father[i];
        const int m = Plan.Mother[i];
        mother = IdOf(m);
        const TGedPlacement mark = Data.Persons[i].Placement;
        if (f >= 0)
            father = IdOf(f);
        else if (mark == TGedPlacement::Outside)
            father = GlobalParentId;
        else if (mark == TGedPlacement::TopLevel)
            father = kTopLevel;
        else if (m >= 0 && !Plan.Detached[i])
            father = kNoParent;
        else if (gender == kMale && Plan.IsFather[i])
            father = kTopLevel;
        else
            father = GlobalParentId;
    }

    // The file's notes, then in its own words what the tree has no place for: other names, name pieces,
    // an unknown sex, what a birth or death has beyond its date and place, tags the tree does not know,
    // and the notes and leftovers of families without a marriage to keep them.
    QString NotesOf(size_t i, bool unknownSex, TGedcomImportSummary& summary) const {
        const TPerson_Data& p = Data.Persons[i].Data;
        QStringList lines = p.Kept;
        if (unknownSex)
            lines << QStringLiteral("SEX ") + (p.Sex.isEmpty() ? QStringLiteral("?") : p.Sex.toUpper());
        for (const char* tag : {"BIRT", "DEAT"})
            if (const TGEvent* event = FirstEvent(p.Events, tag))
                lines << EventLeftovers(*event, false);
        for (int f : FamiliesWithoutMarriage[i]) {
            const TGedFamily& family = Data.Families[size_t(f)];
            QStringList familyLines;
            if (!family.Note.isEmpty())
                familyLines << QStringLiteral("  NOTE ") + family.Note;
            for (const QString& kept : family.Kept)
                familyLines << QStringLiteral("  ") + kept;
            if (!familyLines.isEmpty())
                lines << QStringLiteral("FAM") << familyLines;
        }
        CountKeptLines(lines, summary);
        return NotesWithLines(p.Note, lines);
    }

    // The events of a person besides the birth and the death its row keeps, each to ftEvents.
    bool WritePersonEvents(size_t i, TGedEventWriter& events, TGedcomImportSummary& summary) {
        const TPerson_Data& p = Data.Persons[i].Data;
        const TGEvent* birth = FirstEvent(p.Events, "BIRT");
        const TGEvent* death = FirstEvent(p.Events, "DEAT");
        for (const TGEvent& event : p.Events) {
            if (&event == birth || &event == death)
                continue;
            if (!events.Write(event, false, p.PersonId, event.Age))
                return false;
            ++summary.Events;
            ++summary.EventsByKind[event.Tag];
            CountDate(event.Date, summary.EventDates, summary);
        }
        return true;
    }

    bool WritePersons(TGedcomImportSummary& summary, QString& error) {
        TGedStatement insert(
            Db,
            "INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, gender, person_name, "
            "last_name, nickname, cognomen, date_of_birth_g, date_of_birth_h, birth_qualifier, "
            "birth_date_2_g, "
            "birth_date_2_h, birth_dual, birth_phrase, date_of_death_g, date_of_death_h, death_qualifier, "
            "death_date_2_g, death_date_2_h, death_dual, death_phrase, place_of_birth, place_of_death, "
            "display_order, order_by_father, order_by_mother, is_section, is_dead, notes, date_created, "
            "user_created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, "
            "?, ?, ?, 0, ?, ?, ?, '')");
        TGedEventWriter events(Db, OwnerId, Stamp);
        if (!insert.Prepared() || !events.Prepared())
            return Fail(error);
        const auto date = [&insert](const TGEvent* event) {
            const TDateValue v = event ? NormalisedDate(event->Date) : TDateValue();
            insert.Int(v.Gregorian)
                .Int(v.Hijri)
                .Int(int(v.Qualifier))
                .Int(v.Gregorian2)
                .Int(v.Hijri2)
                .Int(DualMarks(v))
                .Text(v.Phrase);
        };
        TGedcomProgress state;
        state.PersonsTotal = int(Plan.N);
        state.RecordsRead = Data.RecordsRead;
        for (size_t i = 0; i < Plan.N; ++i) {
            const TPerson_Data& p = Data.Persons[i].Data;
            bool unknownSex;
            const QString gender = GenderOf(i, unknownSex);
            QString father, mother;
            Placement(i, gender, father, mother);
            const Names names = NamesOf(p);
            const TGEvent* birth = FirstEvent(p.Events, "BIRT");
            const TGEvent* death = FirstEvent(p.Events, "DEAT");
            const bool dead = (death && !DeniedEvent(*death)) || FirstEvent(p.Events, "BURI") ||
                              FirstEvent(p.Events, "CREM");
            const int byFather = Plan.OrderByFather[i] ? Plan.OrderByFather[i] : kNoOrder;
            const int byMother = Plan.OrderByMother[i] ? Plan.OrderByMother[i] : kNoOrder;
            const int display = Plan.OrderByFather[i] ? byFather : byMother;
            if (birth)
                CountDate(birth->Date, summary.BirthDates, summary);
            if (death)
                CountDate(death->Date, summary.DeathDates, summary);
            insert.Text(OwnerId)
                .Text(p.PersonId)
                .Text(father)
                .Text(mother)
                .Text(gender)
                .Text(names.Given)
                .Text(names.Last)
                .Text(names.Nickname)
                .Text(names.Cognomen);
            date(birth);
            date(death);
            const bool written = insert.Text(birth ? birth->Place : QString())
                                     .Text(death ? death->Place : QString())
                                     .Int(display)
                                     .Int(byFather)
                                     .Int(byMother)
                                     .Int(dead ? 1 : 0)
                                     .Text(NotesOf(i, unknownSex, summary))
                                     .Text(Stamp)
                                     .Run();
            if (!written || !WritePersonEvents(i, events, summary))
                return Fail(error);
            if (Progress && (i + 1) % 2048 == 0) {
                state.PersonsWritten = int(i + 1);
                if (!Progress(state))
                    return Cancelled(error);
            }
        }
        if (Progress) {
            state.PersonsWritten = state.PersonsTotal;
            if (!Progress(state))
                return Cancelled(error);
        }
        return true;
    }

    // The name lists and relation rows show: the person, three forebears through fathers (or mothers), and
    // the person's last name, with cognomens and nicknames in parentheses.
    QString LineageName(int index) const {
        const Names own = NamesOf(Data.Persons[size_t(index)].Data);
        QString result = own.Given;
        if (!own.Cognomen.isEmpty())
            result += QStringLiteral(" (") + own.Cognomen + u')';
        if (!own.Nickname.isEmpty())
            result += QStringLiteral(" (") + own.Nickname + QStringLiteral(") ");
        int next = Plan.Father[size_t(index)] >= 0 ? Plan.Father[size_t(index)] : Plan.Mother[size_t(index)];
        for (int step = 0; step < 3; ++step) {
            QString name;
            if (next >= 0) {
                const Names names = NamesOf(Data.Persons[size_t(next)].Data);
                name = names.Given;
                if (!names.Cognomen.isEmpty())
                    name += QStringLiteral(" (") + names.Cognomen + u')';
                if (!names.Nickname.isEmpty())
                    name += QStringLiteral(" (") + names.Nickname + u')';
                const size_t n = size_t(next);
                next = Plan.Father[n] >= 0 ? Plan.Father[n] : Plan.Mother[n];
            }
            result = result.trimmed() + u' ' + name;
        }
        return result.trimmed() + u' ' + own.Last;
    }

    // One row per marriage with its wedding and divorce; the family's other events go to both spouses.
    bool WriteMarriages(TGedcomImportSummary& summary, QString& error) {
        TGedStatement insert(
            Db, "INSERT INTO ftRelation (owner_id, person_id_1, person_id_2, name_1, name_2, relation_type, "
                "split, "
                "is_active, relation_order_1, relation_order_2, relation_date_1, relation_date_1_h, "
                "marriage_qualifier, marriage_date_2_g, marriage_date_2_h, marriage_dual, marriage_phrase, "
                "relation_date_2, relation_date_2_h, divorce_qualifier, divorce_date_2_g, divorce_date_2_h, "
                "divorce_dual, divorce_phrase, notes, place, divorce_place, date_created, user_created) "
                "VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "'')");
        TGedEventWriter events(Db, OwnerId, Stamp);
        if (!insert.Prepared() || !events.Prepared())
            return Fail(error);
        const auto date = [&insert](const TGEvent* event) {
            const TDateValue v = event ? NormalisedDate(event->Date) : TDateValue();
            insert.Int(v.Gregorian)
                .Int(v.Hijri)
                .Int(int(v.Qualifier))
                .Int(v.Gregorian2)
                .Int(v.Hijri2)
                .Int(DualMarks(v))
                .Text(v.Phrase);
        };
        for (const TreePlan::Marriage& m : Plan.Marriages) {
            const TGedFamily& family = Data.Families[size_t(m.Family)];
            const TGEvent* wedding = FirstEvent(family.Events, "MARR");
            const TGEvent* divorceLine = FirstEvent(family.Events, "DIV");
            // "1 DIV N" says there was none.
            const TGEvent* divorce = divorceLine && !DeniedEvent(*divorceLine) ? divorceLine : nullptr;
            if (wedding)
                CountDate(wedding->Date, summary.MarriageDates, summary);
            if (divorce) {
                ++summary.Divorces;
                CountDate(divorce->Date, summary.DivorceDates, summary);
            }
            QStringList lines = family.Kept;
            for (const TGEvent* event : {wedding, divorce})
                if (event)
                    lines << EventLeftovers(*event, true);
            CountKeptLines(lines, summary);
            insert.Text(OwnerId)
                .Text(IdOf(m.Husband))
                .Text(IdOf(m.Wife))
                .Text(LineageName(m.Husband).trimmed())
                .Text(LineageName(m.Wife).trimmed())
                .Int(divorce ? 1 : 0)
                .Int(divorce ? 0 : 1)
                .Int(m.HusbandOrder)
                .Int(m.WifeOrder);
            date(wedding);
            date(divorce);
            const bool written = insert.Text(NotesWithLines(family.Note, lines))
                                     .Text(wedding ? wedding->Place : QString())
                                     .Text(divorce ? divorce->Place : QString())
                                     .Text(Stamp)
                                     .Run();
            if (!written)
                return Fail(error);
            ++summary.Marriages;
            for (const TGEvent& event : family.Events) {
                if (&event == wedding || &event == divorce ||
                    (event.Tag == QLatin1String("DIV") && DeniedEvent(event)))
                    continue;
                if (!events.Write(event, true, IdOf(m.Husband), event.Age, IdOf(m.Wife), event.WifeAge))
                    return Fail(error);
                ++summary.Events;
                ++summary.EventsByKind[event.Tag];
                CountDate(event.Date, summary.EventDates, summary);
            }
        }
        // A family without two spouses has no marriage row: its events belong to the spouse it has.
        for (size_t f = 0; f < Data.Families.size(); ++f) {
            if (MarriageOfFamily[f])
                continue;
            const int spouse = Data.Links.Husband[f] >= 0 ? Data.Links.Husband[f] : Data.Links.Wife[f];
            for (const TGEvent& event : Data.Families[f].Events) {
                if (spouse < 0 || (event.Tag == QLatin1String("DIV") && DeniedEvent(event))) {
                    ++summary.NotKept[event.Tag];
                    continue;
                }
                if (!events.Write(event, false, IdOf(spouse),
                                  spouse == Data.Links.Husband[f] ? event.Age : event.WifeAge))
                    return Fail(error);
                ++summary.Events;
                ++summary.EventsByKind[event.Tag];
                CountDate(event.Date, summary.EventDates, summary);
            }
        }
        return true;
    }

    const TGedcomData& Data;
    const TreePlan Plan;
    sqlite3* Db;
    const TGedcomProgressFn& Progress;
    QString Stamp;
    QString OwnerId;
    QString GlobalParentId;
    std::vector<bool> MarriageOfFamily;
    std::vector<std::vector<int>> FamiliesWithoutMarriage; // of each person, those with notes to keep
};

// A folder left by an import that was killed before its tree was complete: nothing in it but an empty
// "photos" folder once the unfinished file is gone.
bool HoldsNoTree(const QDir& folder) {
    RemoveStaleTemporaryTrees(folder.path());
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (entries.isEmpty())
        return true;
    return entries == QStringList{QStringLiteral("photos")} &&
           QDir(folder.filePath(QStringLiteral("photos")))
               .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
               .isEmpty();
}

// A new folder for the tree inside base, named after the file, with "-1", "-2" … until the name is free.
// Creating the folder reserves the name, so a folder or file in use is never reused; only a folder that
// an interrupted import left without a tree is taken again.
QString MakeTreeFolder(const QString& base, const QString& name, QString& error) {
    QDir dir(base);
    if (!dir.mkpath(QStringLiteral("."))) {
        error = FillPattern(Translate(QStringLiteral("The folder %* could not be created.")), {base});
        return {};
    }
    for (int n = 0; n < 10000; ++n) {
        const QString candidate = n == 0 ? name : name + u'-' + QString::number(n);
        if (dir.exists(candidate)) {
            if (QFileInfo(dir.filePath(candidate)).isDir() && HoldsNoTree(QDir(dir.filePath(candidate))))
                return candidate;
            continue;
        }
        if (dir.mkdir(candidate))
            return candidate;
        if (!dir.exists(candidate))
            break;
    }
    error =
        FillPattern(Translate(QStringLiteral("The folder %* could not be created.")), {dir.filePath(name)});
    return {};
}

} // namespace

bool WriteGedcomTree(TGedcomData& data, const QString& filePath, const QString& treeName,
                     const TGedcomProgressFn& progress, TGedcomImportSummary& summary, QString& error) {
    Tdm dm;
    if (!dm.Open(filePath)) {
        error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")), {dm.LastError()});
        return false;
    }
    // The file becomes a tree only once it is complete and flushed (TNewTreeFile); a crash before that
    // costs nothing, so the engine's own crash safety is not needed while it is written.
    dm.ExecSql(QStringLiteral("PRAGMA synchronous=OFF"));
    dm.ExecSql(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    if (!CreateSchema(dm)) {
        error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")), {dm.LastError()});
        return false;
    }
    Transaction transaction(dm);
    summary = TGedcomImportSummary();
    // Filling the tables first and building their indexes afterwards is much faster than keeping the
    // indexes up to date row by row; only the indexes by event identifier, written in their order, grow as
    // the rows come.
    QStringList indexes;
    {
        Query q = dm.Prepare(QStringLiteral(
            "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
            "tbl_name IN ('ftPerson', 'ftRelation', 'ftEvents', 'ftEvents_persn') AND sql IS NOT NULL AND "
            "name NOT IN ('ftEvents_idx_event_id', 'ftEvents_persn_idx_event_person')"));
        QStringList names;
        q.ForEachRow([&](Query& row) {
            names << row.Text(0);
            indexes << row.Text(1);
        });
        for (const QString& name : names)
            dm.ExecSql(QStringLiteral("DROP INDEX \"") + name + u'"');
    }
    bool ok = transaction.Active();
    if (ok) {
        TreeWriter writer(data, dm.Handle(), progress);
        ok = writer.Write(treeName, summary, error);
    }
    // The data's memory serves the index building: sorting the keys in memory instead of through
    // temporary files keeps the time growing linearly with the file.
    data = TGedcomData();
    dm.ExecSql(QStringLiteral("PRAGMA cache_size=-65536"));
    for (const QString& sql : indexes)
        ok = ok && dm.ExecSql(sql);
    if (ok && !transaction.Commit()) {
        error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")), {dm.LastError()});
        ok = false;
    }
    if (!ok && error.isEmpty())
        error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")), {dm.LastError()});
    return ok;
}

bool ImportGedcomFile(const QString& path, const TGedcomImportOptions& options, TGedcomImportResult& result) {
    result = TGedcomImportResult();
    TGedcomReadOptions read;
    read.Encoding = options.Encoding;
    read.FallbackEncoding = options.FallbackEncoding.isEmpty() ? GedcomFallbackEncoding(Local().Target.Name)
                                                               : options.FallbackEncoding;
    read.Progress = options.Progress;
    TGedcomData data;
    // A GEDZIP archive: its data file is read from a copy, its pictures once the tree's folder is made.
    TZipReader zip;
    QByteArray archived;
    QTemporaryDir unpacked;
    QString readPath = path;
    const bool gedzip = IsZipFile(path);
    if (gedzip) {
        if (!ReadGedzip(path, zip, archived, result.ErrorMessage))
            return false;
        readPath = unpacked.filePath(FileTitle(path) + QStringLiteral(".ged"));
        QFile copy(readPath);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(archived) != archived.size()) {
            result.ErrorMessage =
                FillPattern(Translate(QStringLiteral("The file %* could not be read.")), {path});
            return false;
        }
    }
    if (!ReadGedcomFile(readPath, data, read)) {
        result.ErrorMessage = data.ErrorMessage.replace(readPath, path);
        return false;
    }
    const QString base = options.BaseFolder.isEmpty() ? DefaultNewTreeLocation() : options.BaseFolder;
    QString name = CleanFileName(FileTitle(path)).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("GEDCOM");
    const QString folderName = MakeTreeFolder(base, name, result.ErrorMessage);
    if (folderName.isEmpty())
        return false;
    const QString folder = QDir(base).absoluteFilePath(folderName);
    const QString treePath = folder + u'/' + folderName + QStringLiteral(".vrd");
    QDir(folder).mkdir(QStringLiteral("photos"));
    const int picturesLeftOut =
        gedzip ? PlaceGedzipPictures(zip, GedzipPictureFiles(archived, data),
                                     QDir(folder).filePath(QStringLiteral("photos")), data)
               : 0;
    const int pictures = int(data.Pictures.size());
    TNewTreeFile file(treePath);
    if (!file.Begin()) {
        QDir(folder).removeRecursively();
        result.ErrorMessage =
            FillPattern(Translate(QStringLiteral("The tree file %* could not be created.")), {treePath}) +
            u'\n' + file.Error();
        return false;
    }
    if (!WriteGedcomTree(data, file.TemporaryPath(), FileTitle(path), options.Progress, result.Summary,
                         result.ErrorMessage)) {
        file.Discard();
        QDir(folder).removeRecursively();
        return false;
    }
    if (!file.Commit()) {
        QDir(folder).removeRecursively();
        result.ErrorMessage =
            FillPattern(Translate(QStringLiteral("The tree could not be written: %*")), {file.Error()});
        return false;
    }
    result.TreePath = treePath;
    result.Summary.Pictures = pictures;
    result.Summary.PicturesLeftOut = picturesLeftOut;
    return true;
}

QString GedcomSummaryText(const TGedcomImportSummary& summary) {
    const auto line = [](const char* text, int n) {
        return FillPattern(Translate(QString::fromLatin1(text)), {QString::number(n)});
    };
    const auto tags = [](const std::map<QString, int>& counts) {
        QStringList parts;
        for (const auto& [tag, n] : counts)
            parts << tag + QStringLiteral(" ×") + QString::number(n);
        return parts.join(QStringLiteral(", "));
    };
    QStringList lines{line("Individuals: %#", summary.Individuals),
                      line("Families: %#", summary.Families),
                      line("Marriages: %#", summary.Marriages),
                      line("Divorces: %#", summary.Divorces),
                      line("Birth dates: %#", summary.BirthDates),
                      line("Death dates: %#", summary.DeathDates),
                      line("Marriage dates: %#", summary.MarriageDates),
                      line("Divorce dates: %#", summary.DivorceDates),
                      line("Events: %#", summary.Events)};
    for (const auto& [kind, n] : summary.EventsByKind)
        lines << QStringLiteral("  ") + EventKindName(kind) + QStringLiteral(": ") + QString::number(n);
    lines << line("Event dates: %#", summary.EventDates)
          << line("Qualified dates: %#", summary.QualifiedDates)
          << line("Dates known in the Hijri calendar only: %#", summary.HijriDates)
          << line("Dates kept as written: %#", summary.DatesKeptAsText)
          << line("Lines kept in the notes in the file's words: %#", summary.NoteLines);
    if (!summary.KeptInNotes.empty())
        lines << QStringLiteral("  ") + tags(summary.KeptInNotes);
    if (!summary.NotKept.empty())
        lines << FillPattern(Translate(QStringLiteral("Not kept: %*")), {tags(summary.NotKept)});
    if (!summary.RecordsNotKept.empty())
        lines << FillPattern(Translate(QStringLiteral("Records not kept: %*")),
                             {tags(summary.RecordsNotKept)});
    if (summary.Pictures > 0 || summary.PicturesLeftOut > 0)
        lines << line("Pictures: %#", summary.Pictures);
    if (summary.PicturesLeftOut > 0)
        lines << line("Media files that are no picture, left out: %#", summary.PicturesLeftOut);
    return lines.join(u'\n');
}

} // namespace verdan
