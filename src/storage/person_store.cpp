#include "storage/person_store.h"

#include "storage/date_columns.h"
#include "storage/event_store.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/name_utils.h"

#include <QSet>

namespace verdan {

namespace {

bool Blank(const QString& text) {
    return text.trimmed().isEmpty();
}

// An order column that was never set reads as unset, like the explicit 99.
int OrderValue(const Query& q, const QString& column) {
    return q.IsNull(column) ? kUnsetOrder : static_cast<int>(q.Int(column));
}

// One UPDATE of the person row with the stamp folded in; `sets` is a fixed list "col = ?, ...".
template <typename... A> bool UpdatePerson(const QString& id, const QString& sets, const A&... values) {
    if (Blank(id))
        return false;
    const QString sql = QStringLiteral("UPDATE ftPerson SET ") + sets +
                        QStringLiteral(", Date_Modified = ?, User_Modified = ? WHERE Person_Id = ?");
    return Dm().Execute(sql, values..., NowStamp(), CurrentUserName(), id) > 0;
}

// Children re-linking addresses rows by parent; a reserved text would address unrelated persons.
bool RealParent(const QString& id) {
    return !IsReservedParentId(id);
}

const char* FamilyNameColumn(TFamilyNameKind kind) {
    switch (kind) {
    case TFamilyNameKind::LastName:
        return "Last_Name";
    case TFamilyNameKind::FamilyName:
        return "Family_Name";
    case TFamilyNameKind::FamilyNickname:
        return "Family_Nickname";
    }
    return "Last_Name";
}

void ReadIdTable(TextTable& table, const QString& sql, const QString& id) {
    table = {QStringList{QStringLiteral("Person_Id")}};
    Query q = Dm().Prepare(sql, id);
    while (q.Next())
        table << QStringList{q.Text(0)};
}

void ReadIdTable(TextTable& table, const QString& sql, const QString& id, const QString& other) {
    table = {QStringList{QStringLiteral("Person_Id")}};
    Query q = Dm().Prepare(sql, id, other);
    while (q.Next())
        table << QStringList{q.Text(0)};
}

// A parent value that makes two persons siblings: a real person other than the global parent.
bool CountingParent(const QString& id) {
    return !IsReservedParentId(id) && !SameId(id, GetGlobalParentId());
}

} // namespace

QString CurrentUserName() {
    return QString();
}

bool IsReservedParentId(const QString& id) {
    const QString t = id.trimmed();
    return t.isEmpty() || t == u"0" || t == u"-1";
}

bool SameId(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------------------------------------------------

bool PersonExists(const QString& id) {
    return Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Person_Id = ?", id) > 0;
}

bool ReadPerson(const QString& id, TPerson& person) {
    person = TPerson();
    if (!Dm().IsConnected())
        return false;
    Query q = Dm().Prepare("SELECT * FROM ftPerson WHERE Person_Id = ?", id);
    if (!q.Next())
        return false;
    person.OId = q.Int("oid");
    person.Person_Id = q.Text("Person_Id");
    person.Father_Id = q.Text("Father_Id");
    person.Mother_Id = q.Text("Mother_Id");
    person.Gender = q.Text("Gender");
    person.Person_Name = q.Text("Person_Name");
    person.Other_Name = q.Text("Other_Name");
    person.Last_Name = q.Text("Last_Name");
    person.Family_Name = q.Text("Family_Name");
    person.Family_Nickname = q.Text("Family_Nickname");
    person.Nickname = q.Text("Nickname");
    person.Cognomen = q.Text("Cognomen");
    person.Date_of_Birth_G = static_cast<int>(q.Int("Date_of_Birth_G"));
    person.Date_of_Birth_H = static_cast<int>(q.Int("Date_of_Birth_H"));
    person.Place_of_Birth = q.Text("Place_of_Birth");
    person.Date_of_Death_G = static_cast<int>(q.Int("Date_of_Death_G"));
    person.Date_of_Death_H = static_cast<int>(q.Int("Date_of_Death_H"));
    person.Place_of_Death = q.Text("Place_of_Death");
    person.Saved_Date_of_Birth_G = person.Date_of_Birth_G;
    person.Saved_Date_of_Birth_H = person.Date_of_Birth_H;
    person.Saved_Place_of_Birth = person.Place_of_Birth;
    person.Saved_Date_of_Death_G = person.Date_of_Death_G;
    person.Saved_Date_of_Death_H = person.Date_of_Death_H;
    person.Saved_Place_of_Death = person.Place_of_Death;
    person.default_calendar = static_cast<int>(q.Int("default_calendar"));
    person.Notes = q.Text("Notes");
    person.Briefing = q.Text("Briefing");
    person.Display_Order = OrderValue(q, "Display_Order");
    person.Order_By_Father = OrderValue(q, "Order_By_Father");
    person.Order_By_Mother = OrderValue(q, "Order_By_Mother");
    person.Is_Dead = q.Bool("Is_Dead");
    person.Is_Section = q.Bool("Is_Section");
    person.Section_Type = q.Text("Section_Type");
    person.Date_Created = ParseStamp(q.Text("Date_Created"));
    person.Date_Modified = ParseStamp(q.Text("Date_Modified"));
    person.User_Created = q.Text("User_Created");
    person.User_Modified = q.Text("User_Modified");
    q = Query();
    person.LineageName = GetLineageName(person.Person_Id);
    return true;
}

bool ReadPersonNames(const QString& id, TPersonNames& names) {
    names = TPersonNames();
    Query q =
        Dm().Prepare("SELECT Person_Name, Other_Name, Last_Name, Family_Name, Family_Nickname, Nickname, "
                     "Cognomen, Is_Section, Section_Type, Father_Id, Order_By_Father, Order_By_Mother "
                     "FROM ftPerson WHERE Person_Id = ?",
                     id);
    if (!q.Next())
        return false;
    names.Person_Name = q.Text(0);
    names.Other_Name = q.Text(1);
    names.Last_Name = q.Text(2);
    names.Family_Name = q.Text(3);
    names.Family_Nickname = q.Text(4);
    names.Nickname = q.Text(5);
    names.Cognomen = q.Text(6);
    names.Is_Section = q.Bool(7);
    names.Section_Type = q.Text(8);
    const QString fatherId = q.Text(9);
    names.Order_By_Father = OrderValue(q, "Order_By_Father");
    names.Order_By_Mother = OrderValue(q, "Order_By_Mother");
    q = Query();
    // The outside-the-tree group is nobody's father in a composed name.
    if (CountingParent(fatherId))
        names.FatherName = GetPersonName(fatherId);
    return true;
}

bool ReadPersonText(const QString& id, TPersonText& text) {
    text = TPersonText();
    Query q = Dm().Prepare("SELECT Notes, Briefing FROM ftPerson WHERE Person_Id = ?", id);
    if (!q.Next())
        return false;
    text.Notes = q.Text(0);
    text.Briefing = q.Text(1);
    return true;
}

bool GetPersonStamps(const QString& id, TPerson_Record_Log& log) {
    Query q = Dm().Prepare("SELECT Person_Id, Date_Created, User_Created, Date_Modified, User_Modified "
                           "FROM ftPerson WHERE Person_Id = ?",
                           id);
    if (!q.Next())
        return false;
    log.Person_Id = q.Text(0);
    log.Date_Created = ParseStamp(q.Text(1));
    log.User_Created = q.Text(2);
    log.Date_Modified = ParseStamp(q.Text(3));
    log.User_Modified = q.Text(4);
    return true;
}

QString GetPersonName(const QString& id) {
    if (id == u"0")
        return QString();
    return Dm().ScalarText("SELECT Person_Name FROM ftPerson WHERE Person_Id = ?", id);
}

QString GetFatherId(const QString& id) {
    return Dm().ScalarText("SELECT Father_Id FROM ftPerson WHERE Person_Id = ?", id);
}

QString GetMotherId(const QString& id) {
    return Dm().ScalarText("SELECT Mother_Id FROM ftPerson WHERE Person_Id = ?", id);
}

TParent GetParents(const QString& id) {
    TParent parents;
    Query q = Dm().Prepare("SELECT Father_Id, Mother_Id FROM ftPerson WHERE Person_Id = ?", id);
    if (q.Next()) {
        parents.Father_Id = q.Text(0);
        parents.Mother_Id = q.Text(1);
    }
    return parents;
}

QString GetGender(const QString& id) {
    if (id == u"0")
        return QStringLiteral("m");
    return NormaliseGender(Dm().ScalarText("SELECT Gender FROM ftPerson WHERE Person_Id = ?", id));
}

bool ReadParentLinks(const QString& id, TParentLinks& links) {
    links = TParentLinks();
    Query q =
        Dm().Prepare("SELECT Father_Id, Mother_Id, Gender, Is_Section FROM ftPerson WHERE Person_Id = ?", id);
    if (!q.Next())
        return false;
    links.Father_Id = q.Text(0);
    links.Mother_Id = q.Text(1);
    links.Gender = NormaliseGender(q.Text(2));
    links.Is_Section = q.Bool(3);
    return true;
}

// ---------------------------------------------------------------------------------------------------------

bool AddPerson(const QString& name, const QString& fatherId, const QString& motherId, QString& newId,
               const QString& gender) {
    newId.clear();
    const QString id = NewGuidText();
    const int added = Dm().Execute(
        "INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender, Is_Section, Owner_Id, "
        "User_Created, Date_Created) VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?)",
        id, Blank(fatherId) ? QStringLiteral("0") : fatherId,
        Blank(motherId) ? QStringLiteral("0") : motherId, CleanName(name), gender, GetOwnerId(),
        CurrentUserName(), NowStamp());
    if (added <= 0)
        return false;
    newId = id;
    return true;
}

bool WritePersonNames(const QString& id, const TPersonNames& names) {
    // An order that was never stored stays empty when it comes back unchanged as 99, so a load and save
    // of the names never moves the person among its siblings.
    return UpdatePerson(
        id,
        "Person_Name = ?, Other_Name = ?, Last_Name = ?, Family_Name = ?, Family_Nickname = ?, "
        "Nickname = ?, Cognomen = ?, Is_Section = ?, Section_Type = ?, "
        "Order_By_Father = CASE WHEN Order_By_Father IS NULL AND ?10 = 99 THEN NULL ELSE ?10 END, "
        "Order_By_Mother = CASE WHEN Order_By_Mother IS NULL AND ?11 = 99 THEN NULL ELSE ?11 END",
        CleanName(names.Person_Name), CleanName(names.Other_Name), CleanName(names.Last_Name),
        CleanName(names.Family_Name), CleanName(names.Family_Nickname), CleanName(names.Nickname),
        CleanName(names.Cognomen), names.Is_Section ? 1 : 0, names.Section_Type, names.Order_By_Father,
        names.Order_By_Mother);
}

bool WritePersonDates(const TPerson& person) {
    if (Blank(person.Person_Id))
        return false;
    // The first dates as given; the rest of a dated fact (its qualifier, second date ..) stays as stored
    // unless its first dates are cleared here, which clears it with them (WritePersonDateValues writes it
    // all). A date of words alone has no numbers to clear and keeps its words.
    QString sets = QStringLiteral(
        "Date_of_Birth_G = ?1, Date_of_Birth_H = ?2, Date_of_Death_G = ?3, Date_of_Death_H = ?4, "
        "Place_of_Birth = ?5, Place_of_Death = ?6, Is_Dead = ?7, Date_Modified = ?8, User_Modified = ?9");
    if (HasDateDetailColumns(kBirthDateColumns))
        for (const auto& [columns, g, h] :
             {std::tuple{&kBirthDateColumns, 1, 2}, std::tuple{&kDeathDateColumns, 3, 4}})
            for (const char* column :
                 {columns->Qualifier, columns->Gregorian2, columns->Hijri2, columns->Dual, columns->Phrase})
                sets +=
                    QStringLiteral(", %1 = CASE WHEN ifnull(?%2, 0) = 0 AND ifnull(?%3, 0) = 0 AND "
                                   "(ifnull(%4, 0) <> 0 OR ifnull(%5, 0) <> 0) THEN NULL ELSE %1 END")
                        .arg(QString::fromLatin1(column))
                        .arg(g)
                        .arg(h)
                        .arg(QString::fromLatin1(columns->Gregorian), QString::fromLatin1(columns->Hijri));
    return Dm().Execute(QStringLiteral("UPDATE ftPerson SET ") + sets +
                            QStringLiteral(" WHERE Person_Id = ?10"),
                        person.Date_of_Birth_G, person.Date_of_Birth_H, person.Date_of_Death_G,
                        person.Date_of_Death_H, person.Place_of_Birth, person.Place_of_Death,
                        person.Is_Dead ? 1 : 0, NowStamp(), CurrentUserName(), person.Person_Id) > 0;
}

bool WritePersonPlaces(const TPerson& person) {
    return UpdatePerson(person.Person_Id, "Place_of_Birth = ?, Place_of_Death = ?", person.Place_of_Birth,
                        person.Place_of_Death);
}

bool WritePersonText(const QString& id, const TPersonText& text) {
    return UpdatePerson(id, "Notes = ?, Briefing = ?", text.Notes, text.Briefing);
}

bool SetPersonNotes(const QString& id, const QString& notes) {
    return UpdatePerson(id, "Notes = ?", notes);
}

bool SetFather(const QString& id, const QString& fatherId) {
    if (SameId(id, fatherId))
        return false;
    return UpdatePerson(id, "Father_Id = ?", fatherId);
}

bool SetMother(const QString& id, const QString& motherId) {
    if (SameId(id, motherId))
        return false;
    return UpdatePerson(id, "Mother_Id = ?", motherId);
}

bool SetParents(const QString& id, const QString& fatherId, const QString& motherId) {
    if (SameId(id, fatherId) || SameId(id, motherId) || SameId(fatherId, motherId))
        return false;
    return UpdatePerson(id, "Father_Id = ?, Mother_Id = ?", fatherId, motherId);
}

bool SetGender(const QString& id, const QString& code) {
    return UpdatePerson(id, "Gender = ?", code);
}

bool SetGroupFlag(const QString& id, bool isGroup) {
    return UpdatePerson(id, "Is_Section = ?", isGroup ? 1 : 0);
}

bool SetDead(const QString& id, bool isDead) {
    return UpdatePerson(id, "Is_Dead = ?", isDead ? 1 : 0);
}

bool SetDisplayOrder(const QString& id, int order) {
    return UpdatePerson(id, "Display_Order = ?", order);
}

bool SetOrderByFather(const QString& id, int order) {
    return UpdatePerson(
        id,
        "Order_By_Father = ?1, "
        "Order_By_Mother = CASE WHEN ifnull(Order_By_Mother, 99) = 99 THEN ?1 "
        "ELSE Order_By_Mother END, "
        "Display_Order = CASE WHEN ifnull(Display_Order, 99) = 99 THEN ?1 ELSE Display_Order END",
        order);
}

bool SetOrderByMother(const QString& id, int order) {
    if (order > 1000)
        return false;
    return UpdatePerson(
        id,
        "Order_By_Mother = ?1, "
        "Order_By_Father = CASE WHEN ifnull(Order_By_Father, 99) = 99 THEN ?1 "
        "ELSE Order_By_Father END, "
        "Display_Order = CASE WHEN ifnull(Display_Order, 99) = 99 THEN ?1 ELSE Display_Order END",
        order);
}

bool SwapParents(const QString& id) {
    // SQLite evaluates every SET expression on the row as it was, so this is a true swap.
    return UpdatePerson(id, "Father_Id = Mother_Id, Mother_Id = Father_Id");
}

bool SwapParentsOfChildren(const QString& id) {
    if (Blank(id))
        return false;
    Transaction transaction;
    const int swapped = Dm().Execute("UPDATE ftPerson SET Father_Id = Mother_Id, Mother_Id = Father_Id "
                                     "WHERE Father_Id = ?1 OR Mother_Id = ?1",
                                     id);
    if (swapped < 0 || !StampModified(id))
        return false;
    return transaction.Commit();
}

bool InheritFamilyNames(const QString& id) {
    QString lastName, familyName, familyNickname;
    Query q = Dm().Prepare("SELECT f.Last_Name, f.Family_Name, f.Family_Nickname FROM ftPerson p "
                           "JOIN ftPerson f ON f.Person_Id = p.Father_Id WHERE p.Person_Id = ?",
                           id);
    if (q.Next()) {
        lastName = q.Text(0);
        familyName = q.Text(1);
        familyNickname = q.Text(2);
    }
    q = Query();
    return UpdatePerson(id, "Last_Name = ?, Family_Name = ?, Family_Nickname = ?", lastName, familyName,
                        familyNickname);
}

bool PropagateFamilyName(const QString& id, TFamilyNameKind kind, bool overwrite) {
    if (Blank(id))
        return false;
    const QString column = QString::fromLatin1(FamilyNameColumn(kind));
    const QString value = Dm().ScalarText("SELECT " + column + " FROM ftPerson WHERE Person_Id = ?", id);
    QStringList descendants;
    ListFatherLineDescendants(id, descendants);
    const QString sql =
        "UPDATE ftPerson SET " + column +
        " = ?, Date_Modified = ?, User_Modified = ? WHERE Person_Id = ? AND (? OR trim(ifnull(" + column +
        ", '')) = '')";
    const QString stamp = NowStamp();
    Transaction transaction;
    for (const QString& descendant : descendants) {
        if (Dm().Execute(sql, value, stamp, CurrentUserName(), descendant, overwrite ? 1 : 0) < 0)
            return false;
    }
    return transaction.Commit();
}

bool StampModified(const QString& id) {
    if (Blank(id))
        return false;
    return Dm().Execute("UPDATE ftPerson SET Date_Modified = ?, User_Modified = ? WHERE Person_Id = ?",
                        NowStamp(), CurrentUserName(), id) > 0;
}

bool DeletePerson(const QString& id) {
    if (Blank(id))
        return false;
    static const char* const statements[] = {
        "DELETE FROM ftPerson WHERE Person_Id = ?",     "DELETE FROM ftPersonOption WHERE person_id = ?",
        "DELETE FROM ftBookmark WHERE person_id = ?",   "DELETE FROM ftPictures WHERE person_id = ?",
        "DELETE FROM ftRelation WHERE person_id_1 = ?", "DELETE FROM ftRelation WHERE person_id_2 = ?",
    };
    Transaction transaction;
    for (const char* sql : statements) {
        if (Dm().Execute(QString::fromLatin1(sql), id) < 0)
            return false;
    }
    return DeleteEventsOfPerson(id) && transaction.Commit();
}

// ---------------------------------------------------------------------------------------------------------

bool ClearMotherOfCoupleChildren(const QString& fatherId, const QString& motherId) {
    if (!RealParent(fatherId) || !RealParent(motherId))
        return false;
    return Dm().Execute("UPDATE ftPerson SET Mother_Id = '0' WHERE Father_Id = ? AND Mother_Id = ?", fatherId,
                        motherId) >= 0;
}

bool MoveCoupleChildrenToGlobalParent(const QString& fatherId, const QString& motherId) {
    if (!RealParent(fatherId) || !RealParent(motherId))
        return false;
    return Dm().Execute("UPDATE ftPerson SET Father_Id = ? WHERE Father_Id = ? AND Mother_Id = ?",
                        GetGlobalParentId(), fatherId, motherId) >= 0;
}

bool DetachChildrenOfFather(const QString& fatherId) {
    if (!RealParent(fatherId))
        return false;
    Transaction transaction;
    if (Dm().Execute("UPDATE ftPerson SET Mother_Id = '0' WHERE Father_Id = ? AND NOT EXISTS "
                     "(SELECT 1 FROM ftPerson m WHERE m.Person_Id = ftPerson.Mother_Id)",
                     fatherId) < 0)
        return false;
    if (Dm().Execute("UPDATE ftPerson SET Father_Id = ? WHERE Father_Id = ?", GetGlobalParentId(), fatherId) <
        0)
        return false;
    return transaction.Commit();
}

bool DetachChildrenOfMother(const QString& motherId) {
    if (!RealParent(motherId))
        return false;
    return Dm().Execute("UPDATE ftPerson SET Mother_Id = '0' WHERE Mother_Id = ?", motherId) >= 0;
}

// ---------------------------------------------------------------------------------------------------------

int CountChildren(const QString& id) {
    return static_cast<int>(
        Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Father_Id = ?1 OR Mother_Id = ?1", id));
}

int CountChildrenOfFather(const QString& fatherId) {
    return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Father_Id = ?", fatherId));
}

int CountChildrenOfMother(const QString& motherId) {
    return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Mother_Id = ?", motherId));
}

int CountChildrenOfCouple(const QString& fatherId, const QString& motherId) {
    return static_cast<int>(Dm().ScalarInt(
        "SELECT count(*) FROM ftPerson WHERE Father_Id = ? AND Mother_Id = ?", fatherId, motherId));
}

int CountChildrenWithMother(const QString& fatherId) {
    return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Father_Id = ?1 AND "
                                           "Mother_Id <> ?1 AND Mother_Id <> '0' AND Mother_Id IS NOT NULL",
                                           fatherId));
}

int CountChildrenWithFather(const QString& motherId) {
    return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE Mother_Id = ?1 AND "
                                           "Father_Id <> ?1 AND Father_Id <> '0' AND Father_Id IS NOT NULL",
                                           motherId));
}

void ListChildrenIds(const QString& id, TextTable& table) {
    if (GetGender(id) == u"m")
        ReadIdTable(table, "SELECT Person_Id FROM ftPerson WHERE Father_Id = ? ORDER BY Order_By_Father, oid",
                    id);
    else
        ReadIdTable(table, "SELECT Person_Id FROM ftPerson WHERE Mother_Id = ? ORDER BY Order_By_Mother, oid",
                    id);
}

void ListChildLinks(const QString& id, QList<TChildParents>& children) {
    children.clear();
    const QString columns =
        QStringLiteral("SELECT Person_Id, Person_Name, Father_Id, Mother_Id FROM ftPerson ");
    Query q = Dm().Prepare(
        GetGender(id) == u"m" ? columns + QStringLiteral("WHERE Father_Id = ? ORDER BY Order_By_Father, oid")
                              : columns + QStringLiteral("WHERE Mother_Id = ? ORDER BY Order_By_Mother, oid"),
        id);
    while (q.Next())
        children.append({q.Text(0), q.Text(1), q.Text(2), q.Text(3)});
}

void GetChildrenIds(const QString& id, QStringList& ids) {
    TextTable table;
    ListChildrenIds(id, table);
    ids.clear();
    for (qsizetype row = 1; row < table.size(); ++row)
        ids << table[row].value(0);
}

void ListChildrenOfMother(const QString& motherId, TextTable& table) {
    ReadIdTable(table, "SELECT Person_Id FROM ftPerson WHERE Mother_Id = ? ORDER BY Order_By_Mother, oid",
                motherId);
}

void ListChildrenWithoutMother(const QString& fatherId, TextTable& table) {
    ReadIdTable(table,
                "SELECT Person_Id FROM ftPerson WHERE Father_Id = ? AND (Mother_Id = '0' OR Mother_Id = ?)",
                fatherId, GetGlobalParentId());
}

void ListChildrenWithoutFather(const QString& motherId, TextTable& table) {
    ReadIdTable(table,
                "SELECT Person_Id FROM ftPerson WHERE Mother_Id = ? AND (Father_Id = '0' OR Father_Id = ?)",
                motherId, GetGlobalParentId());
}

void ListChildrenNamed(const QString& id, TPersonNameList& persons) {
    Query q =
        Dm().Prepare("SELECT Person_Id, Person_Name FROM ftPerson WHERE Father_Id = ?1 OR Mother_Id = ?1 "
                     "ORDER BY Display_Order, oid",
                     id);
    while (q.Next())
        persons << TPersonNameEntry{q.Text(0), q.Text(1)};
}

void ListChildrenNames(const QString& id, QStringList& lines) {
    TPersonNameList persons;
    ListChildrenNamed(id, persons);
    for (const TPersonNameEntry& person : persons)
        lines << person.Name;
}

bool AreSiblings(const QString& a, const QString& b) {
    if (Blank(a) || Blank(b) || SameId(a, b))
        return false;
    const TParent pa = GetParents(a);
    const TParent pb = GetParents(b);
    return (CountingParent(pa.Father_Id) && SameId(pa.Father_Id, pb.Father_Id)) ||
           (CountingParent(pa.Mother_Id) && SameId(pa.Mother_Id, pb.Mother_Id));
}

bool HaveSameFather(const QString& a, const QString& b) {
    const QString father = GetFatherId(a);
    return CountingParent(father) && SameId(father, GetFatherId(b));
}

bool HaveSameMother(const QString& a, const QString& b) {
    const QString mother = GetMotherId(a);
    return CountingParent(mother) && SameId(mother, GetMotherId(b));
}

void ListFatherLineDescendants(const QString& id, QStringList& ids) {
    if (Blank(id))
        return;
    // Iterative depth-first walk: a stack of children still to visit, each pushed in reverse order so the
    // first child comes out first.
    QSet<QString> visited{id.toUpper()};
    QStringList stack;
    auto pushChildren = [&](const QString& parent) {
        QStringList children;
        Query q = Dm().Prepare(
            "SELECT Person_Id FROM ftPerson WHERE Father_Id = ? ORDER BY Order_By_Father, oid", parent);
        while (q.Next())
            children << q.Text(0);
        for (qsizetype i = children.size() - 1; i >= 0; --i)
            stack << children[i];
    };
    pushChildren(id);
    while (!stack.isEmpty()) {
        const QString child = stack.takeLast();
        if (visited.contains(child.toUpper()))
            continue;
        visited.insert(child.toUpper());
        ids << child;
        pushChildren(child);
    }
}

void ListParentGenderConflicts(TextTable& table) {
    // The whole tree is examined in memory; only the rows found are read again, for their names.
    const TPersonLinks links = PersonLinks();
    table = {
        {"Person_Id", "Person Name", "Attached Mother", "Mother Gender", "Attached Father", "Father Gender"}};
    const QString sql = "SELECT p.Person_Id, p.Person_Name, m.Person_Name, m.Gender, f.Person_Name, f.Gender "
                        "FROM ftPerson p LEFT JOIN ftPerson m ON m.Person_Id = p.Mother_Id "
                        "LEFT JOIN ftPerson f ON f.Person_Id = p.Father_Id WHERE p.oid = ?";
    for (int slot = 0; slot < links.Count(); ++slot) {
        const int mother = links.MotherOf[slot];
        const int father = links.FatherOf[slot];
        if (!(mother >= 0 && links.Gender[mother] == 'm') && !(father >= 0 && links.Gender[father] == 'f'))
            continue;
        Query q = Dm().Prepare(sql, links.RowId[slot]);
        if (q.Next())
            table << QStringList{q.Text(0), q.Text(1),
                                 q.Text(2), NormaliseGender(q.Text(3)),
                                 q.Text(4), NormaliseGender(q.Text(5))};
    }
}

void ListFullNames(QStringList& names, QStringList& ids, const QString& gender) {
    const QString sql =
        "SELECT p.Person_Id, p.Person_Name, f.Person_Name, g.Person_Name, p.Last_Name, p.Family_Name "
        "FROM ftPerson p LEFT JOIN ftPerson f ON f.Person_Id = p.Father_Id "
        "LEFT JOIN ftPerson g ON g.Person_Id = f.Father_Id "
        "WHERE ? = '' OR " +
        SqlGenderCode("p.Gender") +
        " = ? ORDER BY p.Person_Name COLLATE NAMES, f.Person_Name COLLATE NAMES, p.oid";
    const QString code = Blank(gender) ? QString("") : NormaliseGender(gender);
    Query q = Dm().Prepare(sql, code, code);
    while (q.Next()) {
        QStringList parts;
        for (int column = 1; column <= 5; ++column) {
            const QString part = q.Text(column).trimmed();
            if (!part.isEmpty())
                parts << part;
        }
        ids << q.Text(0);
        names << parts.join(u' ');
    }
}

namespace {

// The condition of a filter on ftPerson, its one parameter the day as ISO text, and the stamp it is about.
QString RecordCondition(TPersonRecordFilter filter) {
    switch (filter) {
    case TPersonRecordFilter::All:
        return QStringLiteral("?1 = ?1");
    case TPersonRecordFilter::CreatedSince:
        return QStringLiteral("Date_Created >= ?1");
    case TPersonRecordFilter::ModifiedSince:
        return QStringLiteral("(Date_Created < ?1 OR Date_Created IS NULL) AND Date_Modified >= ?1");
    }
    return QString();
}

QString RecordStamp(TPersonRecordFilter filter) {
    return filter == TPersonRecordFilter::ModifiedSince  ? QStringLiteral("Date_Modified")
           : filter == TPersonRecordFilter::CreatedSince ? QStringLiteral("Date_Created")
                                                         : QStringLiteral("oid");
}

} // namespace

bool ListPersonRecords(QList<TPerson>& list, TPersonRecordFilter filter, const QDate& since, int newest) {
    if (!Dm().IsConnected())
        return false;
    // Stamps are ISO text, so a day compares as the start of that day.
    const QString day = since.toString(Qt::ISODate);
    const QString order =
        newest > 0
            ? QStringLiteral(" ORDER BY %1 DESC, oid DESC LIMIT %2").arg(RecordStamp(filter)).arg(newest)
            : QStringLiteral(" ORDER BY oid");
    Query q = Dm().Prepare("SELECT oid, Person_Id, Mother_Id, Person_Name, Date_Created, Date_Modified, "
                           "User_Created, User_Modified FROM ftPerson WHERE " +
                               RecordCondition(filter) + order,
                           day);
    while (q.Next()) {
        TPerson person;
        person.OId = q.Int(0);
        person.Person_Id = q.Text(1);
        person.Mother_Id = q.Text(2);
        person.Person_Name = q.Text(3);
        person.LineageName = person.Person_Name;
        person.Date_Created = ParseStamp(q.Text(4));
        person.Date_Modified = ParseStamp(q.Text(5));
        person.User_Created = q.Text(6);
        person.User_Modified = q.Text(7);
        list << person;
    }
    return true;
}

int CountPersonRecords(TPersonRecordFilter filter, const QDate& since) {
    return static_cast<int>(Dm().ScalarInt("SELECT count(*) FROM ftPerson WHERE " + RecordCondition(filter),
                                           since.toString(Qt::ISODate)));
}

void FillPersonList(const TextTable& table, TPersonNameList& lines, bool lineage) {
    for (qsizetype row = 1; row < table.size(); ++row) {
        const QString id = table[row].value(0);
        lines << TPersonNameEntry{id, lineage ? GetLineageName(id) : GetPersonName(id)};
    }
}

} // namespace verdan
