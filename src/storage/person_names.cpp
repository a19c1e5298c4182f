#include "storage/person_names.h"

#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "text/search_fold.h"

#include <QSet>
#include <algorithm>
#include <limits>

namespace verdan {

namespace {

constexpr int kDefaultLineDepth = 250;

// Identifiers met on a walk, compared as the tree file compares them.
class Visited {
public:
    // True the first time an id is offered.
    bool Add(const QString& id) {
        const QString key = id.toUpper();
        if (seen_.contains(key))
            return false;
        seen_.insert(key);
        return true;
    }

private:
    QSet<QString> seen_;
};

QString WithAlias(const QString& value) {
    return value.trimmed().isEmpty() ? QString() : " (" + value + ")";
}

struct FatherStep {
    bool found = false;
    QString fatherId;
    QString name;
    QString lastName;
    bool isSection = false;
};

FatherStep ReadFatherStep(const QString& id) {
    FatherStep step;
    Query q = Dm().Prepare(
        "SELECT Father_Id, Person_Name, Last_Name, Is_Section FROM ftPerson WHERE Person_Id = ?", id);
    if (q.Next()) {
        step.found = true;
        step.fatherId = q.Text(0);
        step.name = q.Text(1);
        step.lastName = q.Text(2);
        step.isSection = q.Bool(3);
    }
    return step;
}

// Walks from the person through fathers, calling visit(id, step) for at most max persons; stops at a
// missing row, at a person met before and, when asked, at the global parent as an ancestor.
template <typename F> void WalkFathers(const QString& id, int max, bool stopAtGlobalParent, F&& visit) {
    Visited visited;
    const QString globalParent = GetGlobalParentId();
    QString current = id;
    for (int count = 0; count < max; ++count) {
        if (current.trimmed().isEmpty() || !visited.Add(current))
            return;
        if (stopAtGlobalParent && count > 0 && SameId(current, globalParent))
            return;
        const FatherStep step = ReadFatherStep(current);
        if (!step.found)
            return;
        visit(current, step);
        current = step.fatherId;
    }
}

void AppendNames(QStringList& lines, Query q) {
    while (q.Next())
        lines << q.Text(0);
}

// A parent value that names a real person of the tree rather than a placement.
bool CountingParent(const QString& id) {
    return !IsReservedParentId(id) && !SameId(id, GetGlobalParentId());
}

} // namespace

QString GetLineageName(const QString& id) {
    if (id.trimmed().isEmpty() || id == u"0")
        return QString();
    // One statement reads the person and three ancestors; each step follows the father, or the mother when
    // the father is "0" or blank.
    static const QString sql = QStringLiteral(
        "SELECT p.Person_Id, p.Person_Name, p.Cognomen, p.Nickname, p.Last_Name, "
        "a1.Person_Id, a1.Person_Name, a1.Cognomen, a1.Nickname, a1.Is_Section, "
        "a2.Person_Id, a2.Person_Name, a2.Cognomen, a2.Nickname, a2.Is_Section, "
        "a3.Person_Id, a3.Person_Name, a3.Cognomen, a3.Nickname, a3.Is_Section "
        "FROM ftPerson p "
        "LEFT JOIN ftPerson a1 ON a1.Person_Id = CASE WHEN ifnull(p.Father_Id, '') IN ('', '0') "
        "THEN p.Mother_Id ELSE p.Father_Id END "
        "LEFT JOIN ftPerson a2 ON a2.Person_Id = CASE WHEN ifnull(a1.Father_Id, '') IN ('', '0') "
        "THEN a1.Mother_Id ELSE a1.Father_Id END "
        "LEFT JOIN ftPerson a3 ON a3.Person_Id = CASE WHEN ifnull(a2.Father_Id, '') IN ('', '0') "
        "THEN a2.Mother_Id ELSE a2.Father_Id END "
        "WHERE p.Person_Id = ?");
    Query q = Dm().Prepare(sql, id);
    if (!q.Next())
        return QString();
    const bool hideNickname = HideNicknameOption();
    const QString globalParent = GetGlobalParentId();
    QString line[4] = {q.Text(0)};
    QString result = q.Text(1) + WithAlias(q.Text(2));
    if (!hideNickname)
        result += WithAlias(q.Text(3));
    const QString lastName = q.Text(4);
    for (int step = 1; step <= 3; ++step) {
        const int column = step * 5;
        if (q.IsNull(column))
            break;
        line[step] = q.Text(column);
        // The global parent is no ancestor, and a person met again means the links form a cycle.
        if (SameId(line[step], globalParent) ||
            std::any_of(line, line + step, [&](const QString& id) { return SameId(id, line[step]); }))
            break;
        result = result.trimmed() + (q.Bool(column + 4) ? " - " : " ") + q.Text(column + 1) +
                 WithAlias(q.Text(column + 2));
        if (!hideNickname)
            result += WithAlias(q.Text(column + 3));
    }
    return (result.trimmed() + " " + lastName).trimmed();
}

QString GetMotherLineageName(const QString& id) {
    return GetLineageName(GetMotherId(id));
}

QString ComposeShortName(const TPersonNames& names) {
    QString result = names.Person_Name;
    QString family = names.Last_Name;
    if (family.isEmpty())
        family = names.Family_Name;
    if (family.isEmpty())
        family = names.Family_Nickname;
    QString alias = names.Nickname;
    if (alias.isEmpty())
        alias = names.Cognomen;
    if (alias.isEmpty())
        alias = names.Other_Name;
    if (!names.FatherName.isEmpty())
        result += " " + names.FatherName;
    else if (!alias.isEmpty())
        result += " " + alias;
    if (!family.isEmpty())
        result += " " + family;
    return result;
}

QString GetShortName(const QString& id) {
    TPersonNames names;
    ReadPersonNames(id, names);
    return ComposeShortName(names);
}

QString ComposeNameFatherLast(const QString& name, const QString& fatherName, bool fatherIsGroup,
                              const QString& lastName) {
    QStringList parts;
    for (const QString& part : {name, fatherIsGroup ? QString() : fatherName, lastName})
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    return parts.join(u' ');
}

QString GetNameFatherLast(const QString& id) {
    Query q = Dm().Prepare("SELECT p.Person_Name, f.Person_Name, f.Is_Section, p.Last_Name FROM ftPerson p "
                           "LEFT JOIN ftPerson f ON f.Person_Id = p.Father_Id WHERE p.Person_Id = ?",
                           id);
    if (!q.Next())
        return QString();
    return ComposeNameFatherLast(q.Text(0), q.Text(1), q.Bool(2), q.Text(3));
}

QString GetLineageNameWithFamily(const QString& id, int generations) {
    Query q =
        Dm().Prepare("SELECT Last_Name, Family_Name, Family_Nickname FROM ftPerson WHERE Person_Id = ?", id);
    if (!q.Next())
        return QString();
    const QString lastName = q.Text(0).trimmed();
    QString familyName = q.Text(1).trimmed();
    QString familyNickname = HideNicknameOption() ? QString() : q.Text(2).trimmed();
    q = Query();
    if (familyName == lastName)
        familyName.clear();
    if (familyNickname == lastName || familyNickname == familyName)
        familyNickname.clear();
    QString result;
    WalkFathers(id, qMax(generations, 1), true,
                [&](const QString&, const FatherStep& step) { result += " " + step.name; });
    result = result.trimmed();
    for (const QString& part : {lastName, familyName, familyNickname}) {
        if (!part.isEmpty())
            result += " (" + part + ")";
    }
    return result;
}

QString GetFiveGenerationName(const QString& id) {
    static const QString sql = QStringLiteral(
        "SELECT p.Person_Id, a1.Person_Id, a2.Person_Id, a3.Person_Id, a4.Person_Id, "
        "p.Person_Name, a1.Person_Name, a2.Person_Name, a3.Person_Name, a4.Person_Name, p.Last_Name "
        "FROM ftPerson p "
        "JOIN ftPerson a1 ON a1.Person_Id = p.Father_Id JOIN ftPerson a2 ON a2.Person_Id = a1.Father_Id "
        "JOIN ftPerson a3 ON a3.Person_Id = a2.Father_Id JOIN ftPerson a4 ON a4.Person_Id = a3.Father_Id "
        "WHERE p.Person_Id = ?");
    Query q = Dm().Prepare(sql, id);
    if (q.Next()) {
        // A line that comes back on itself is shorter than five persons.
        Visited visited;
        bool distinct = true;
        for (int column = 0; column < 5; ++column)
            distinct = visited.Add(q.Text(column)) && distinct;
        if (distinct) {
            QStringList parts;
            for (int column = 5; column < 11; ++column)
                parts << q.Text(column);
            return parts.join(u' ').trimmed();
        }
    }
    q = Query();
    return GetLineageName(id);
}

QString GetThreeGenerationName(const QString& id) {
    QString result;
    QString lastName;
    bool found = false;
    int persons = 0;
    WalkFathers(id, 3, false, [&](const QString&, const FatherStep& step) {
        if (persons++ == 0) {
            found = true;
            result = step.name;
            lastName = step.lastName.trimmed();
        } else if (!step.isSection) {
            result += " " + step.name;
        }
    });
    if (!found)
        return QString();
    return (result.trimmed() + " " + lastName).trimmed();
}

QString GetFullLineage(const QString& id, int max) {
    struct Entry {
        QString name;
        QString lastName;
    };
    QList<Entry> line;
    WalkFathers(id, max > 0 ? max : kDefaultLineDepth, true, [&](const QString&, const FatherStep& step) {
        line << Entry{step.isSection ? "[" + step.name + "]" : step.name, step.lastName.trimmed()};
    });
    // Built from the oldest ancestor down, so each family name lands after the oldest one who carries it.
    QString text;
    QString lastShown;
    for (qsizetype i = line.size() - 1; i >= 0; --i) {
        if (!line[i].lastName.isEmpty() && line[i].lastName != lastShown) {
            text = "(" + line[i].lastName + ") " + text;
            lastShown = line[i].lastName;
        }
        text = line[i].name + " " + text;
    }
    return text.trimmed();
}

QString GetGroupPath(const QString& id) {
    QStringList groups;
    WalkFathers(id, 6, false, [&](const QString&, const FatherStep& step) {
        if (step.isSection)
            groups << "/ " + step.name;
    });
    return groups.join(u' ').trimmed();
}

QString GenderCaption(const QString& code) {
    const QString normal = NormaliseGender(code);
    if (normal == u"m")
        return Translate("Male");
    if (normal == u"f")
        return Translate("Female");
    return code;
}

QString FieldCaption(const QString& column) {
    static const QList<QPair<QString, QString>> captions = {
        {"Person_Name", "Name"},
        {"Other_Name", "Other Name"},
        {"Last_Name", "Family Surname"},
        {"Family_Name", "Family Name"},
        {"Family_Nickname", "Family Nickname"},
        {"Nickname", "Nick Name"},
        {"Place_of_Birth", "Birth Place"},
        {"Place_of_Death", "Death Place"},
        {"Cognomen", "Cognomen"},
        {"Briefing", "Summary"},
        {"Notes", "Notes"},
    };
    for (const auto& [name, caption] : captions) {
        if (QString::compare(name, column, Qt::CaseInsensitive) == 0)
            return Translate(caption);
    }
    return column;
}

// ---------------------------------------------------------------------------------------------------------

namespace {

void AppendPersons(TPersonNameList& persons, Query q) {
    while (q.Next())
        persons << TPersonNameEntry{q.Text(0), q.Text(1)};
}

void AppendTexts(QStringList& lines, const TPersonNameList& persons) {
    for (const TPersonNameEntry& person : persons)
        lines << person.Name;
}

} // namespace

void ListFatherLine(const QString& id, TPersonNameList& persons) {
    WalkFathers(id, std::numeric_limits<int>::max(), false,
                [&](const QString& current, const FatherStep& step) {
                    if (!step.name.trimmed().isEmpty())
                        persons << TPersonNameEntry{current, step.name};
                });
}

void ListMotherLine(const QString& id, TPersonNameList& persons) {
    Visited visited;
    QString current = id;
    while (!current.trimmed().isEmpty() && visited.Add(current) && PersonExists(current)) {
        persons << TPersonNameEntry{current, GetShortName(current)};
        current = GetMotherId(current);
    }
}

void ListMothersFatherLine(const QString& id, TPersonNameList& persons) {
    if (!PersonExists(id))
        return;
    persons << TPersonNameEntry{id, GetPersonName(id)};
    const QString mother = GetMotherId(id);
    if (!SameId(mother, id))
        ListFatherLine(mother, persons);
}

void ListPaternalHalfSiblings(const QString& id, TPersonNameList& persons) {
    const TParent parents = GetParents(id);
    if (parents.Father_Id.length() <= 3)
        return;
    AppendPersons(persons, Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE Father_Id = ? AND "
                                        "(Mother_Id <> ? OR Mother_Id IS NULL) AND Person_Id <> ? "
                                        "ORDER BY Order_By_Father, oid",
                                        parents.Father_Id, parents.Mother_Id, id));
}

void ListMaternalHalfSiblings(const QString& id, TPersonNameList& persons) {
    const TParent parents = GetParents(id);
    if (parents.Mother_Id.length() <= 3)
        return;
    QStringList ids;
    AppendNames(ids, Dm().Prepare("SELECT Person_Id FROM ftPerson WHERE Mother_Id = ? AND "
                                  "(Father_Id <> ? OR Father_Id IS NULL) AND Person_Id <> ? "
                                  "ORDER BY Order_By_Mother, oid",
                                  parents.Mother_Id, parents.Father_Id, id));
    for (const QString& sibling : ids)
        persons << TPersonNameEntry{sibling, GetLineageName(sibling)};
}

void ListSiblings(const QString& id, TPersonNameList& persons) {
    const TParent parents = GetParents(id);
    const QString globalParent = GetGlobalParentId();
    const bool fatherPlaced = SameId(parents.Father_Id, globalParent);
    const bool motherPlaced = SameId(parents.Mother_Id, globalParent);
    // A placement ("-1", "0", the global parent) is never a shared parent.
    if (!fatherPlaced && !motherPlaced) {
        // The search goes by the parent that is a person: a "0" on the other column is shared by a large
        // part of the tree (the unary plus keeps that column's index out of the search).
        if (CountingParent(parents.Father_Id))
            AppendPersons(persons,
                          Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE Father_Id = ? AND "
                                       "+Mother_Id = ? AND Person_Id <> ? ORDER BY Display_Order, oid",
                                       parents.Father_Id, parents.Mother_Id, id));
        else if (CountingParent(parents.Mother_Id))
            AppendPersons(persons,
                          Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE +Father_Id = ? AND "
                                       "Mother_Id = ? AND Person_Id <> ? ORDER BY Display_Order, oid",
                                       parents.Father_Id, parents.Mother_Id, id));
    } else if (!fatherPlaced) {
        if (CountingParent(parents.Father_Id))
            AppendPersons(persons,
                          Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE Father_Id = ? AND "
                                       "Person_Id <> ? ORDER BY Display_Order, oid",
                                       parents.Father_Id, id));
    } else if (CountingParent(parents.Mother_Id)) {
        AppendPersons(persons,
                      Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE Mother_Id = ? AND "
                                   "Person_Id <> ? ORDER BY Display_Order, oid",
                                   parents.Mother_Id, id));
    }
}

void ListFatherLineNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListFatherLine(id, persons);
    AppendTexts(lines, persons);
}

void ListMotherLineNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListMotherLine(id, persons);
    AppendTexts(lines, persons);
}

void ListMothersFatherLineNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListMothersFatherLine(id, persons);
    AppendTexts(lines, persons);
}

void ListPaternalHalfSiblingNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListPaternalHalfSiblings(id, persons);
    AppendTexts(lines, persons);
}

void ListMaternalHalfSiblingNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListMaternalHalfSiblings(id, persons);
    AppendTexts(lines, persons);
}

void ListSiblingNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListSiblings(id, persons);
    AppendTexts(lines, persons);
}

QStringList GetFatherLineArray(const QString& id, int max) {
    QStringList names;
    WalkFathers(id, max > 0 ? max : kDefaultLineDepth, false,
                [&](const QString&, const FatherStep& step) { names << step.name; });
    return names;
}

// ---------------------------------------------------------------------------------------------------------

void SearchPersonTexts(const QString& text, TFindResultList& results) {
    QStringList typed;
    SplitSearchWords(text, typed);
    // Both sides are folded for searching, so «نصار» finds «نصّار» and "victoria" finds Victoria. A word
    // of marks alone folds to nothing and is no word.
    std::vector<std::u16string> words;
    std::vector<QByteArray> anchors; // per word, a letter its stored text must hold (or none)
    for (const QString& word : typed) {
        const QString folded = SearchFold(word);
        if (folded.isEmpty())
            continue;
        words.emplace_back(reinterpret_cast<const char16_t*>(folded.constData()), size_t(folded.size()));
        anchors.push_back(SearchFoldAnchor(folded));
    }
    if (words.empty())
        return;
    static const QStringList columns = {"Person_Name",     "Other_Name",     "Last_Name",      "Family_Name",
                                        "Cognomen",        "Place_of_Birth", "Place_of_Death", "Briefing",
                                        "Family_Nickname", "Nickname",       "Notes"};
    const auto count = static_cast<std::size_t>(columns.size());
    Query q = Dm().Prepare("SELECT Person_Id, " + columns.join(", ") + " FROM ftPerson ORDER BY oid");
    QList<TFindResult> found;
    // Each value is folded once per row from its stored UTF-8 bytes; only the rows holding every word are
    // turned into texts.
    std::vector<std::u16string> values(count);
    std::vector<char> holds(count);
    while (q.Next()) {
        // Most rows lack a letter some word needs, which their stored bytes tell without folding them.
        const bool possible = std::all_of(anchors.begin(), anchors.end(), [&](const QByteArray& anchor) {
            if (anchor.isEmpty())
                return true;
            for (std::size_t column = 0; column < count; ++column)
                if (q.Utf8(int(column) + 1).contains(anchor))
                    return true;
            return false;
        });
        if (!possible)
            continue;
        for (std::size_t column = 0; column < count; ++column)
            SearchFoldUtf8(q.Utf8(int(column) + 1), values[column]);
        const bool holdsAll = std::all_of(words.begin(), words.end(), [&](const std::u16string& word) {
            return std::any_of(values.begin(), values.end(), [&](const std::u16string& value) {
                return value.find(word) != std::u16string::npos;
            });
        });
        if (!holdsAll)
            continue;
        for (std::size_t column = 0; column < count; ++column)
            holds[column] = std::any_of(words.begin(), words.end(), [&](const std::u16string& word) {
                return values[column].find(word) != std::u16string::npos;
            });
        QString foundText;
        for (std::size_t column = 0; column < count; ++column)
            if (holds[column])
                foundText += FieldCaption(columns[qsizetype(column)]) + ": " + q.Text(int(column) + 1) + ". ";
        found << TFindResult{q.Text(0), QString(), foundText};
    }
    q = Query();
    for (TFindResult& result : found)
        result.Name = GetFiveGenerationName(result.Person_Id);
    results << found;
}

} // namespace verdan
