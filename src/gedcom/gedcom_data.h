#pragma once

#include "calendar/date_value.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <span>
#include <string_view>
#include <vector>

namespace verdan {

// One event or attribute of an individual or a family, as the file has it.
struct TGEvent {
    QString Tag;      // the GEDCOM tag in upper case ("BURI", "OCCU", "EVEN", "_MILT")
    QString Value;    // text on the event line itself ("Y", an occupation, a description)
    QString Type;     // TYPE line under the event
    QString DateText; // the DATE value as written; empty when the event has no date
    TDateValue Date;  // the date in both calendars (see ReadEventDate)
    QString Time;
    QString Place;
    QString Age;     // AGE of the individual; of a family event, the husband's
    QString WifeAge; // AGE under WIFE of a family event
    QString Agency;
    QString Cause;
    QString Notes;    // its NOTE lines (pointers resolved once the file is read)
    QStringList Kept; // the lines under it the tree has no place for, in the file's own words

    bool HasDate() const { return !DateText.isEmpty() || HasDateNumbers(Date); }
    // A date that was written but that the tree holds only as its text.
    bool DateKeptAsText() const { return Date.Qualifier == TDateQualifier::Text; }
};
using TGEvents = QList<TGEvent>;

// Whether a level-1 tag is an event or attribute the reader collects, of an individual or of a family.
bool IsIndividualEventTag(std::string_view tag);
bool IsFamilyEventTag(std::string_view tag);

// The person as the tree will hold it.
struct TPerson_Data {
    QString PersonId;
    QString FatherId;
    QString MotherId;
    QString Sex; // lower case as written ("m", "f", "u", ...); empty when missing
    QString GivenName;
    QString Surname;
    QString Nickname;
    QString FullName; // the preferred NAME as written, slashes included
    QString PersonTitle;
    QString Note;
    QString GedcomXref;
    TGEvents Events;
    // Lines the tree has no place for (other names, name prefixes, unknown tags ..), in the file's own
    // words: the import keeps them in the notes.
    QStringList Kept;
};

// Where a file of our own says a person without parents goes.
enum class TGedPlacement : quint8 { Unmarked, Outside, TopLevel };

struct TGedPerson {
    QString Xref;
    QString Uid;
    TGedPlacement Placement = TGedPlacement::Unmarked; // "_OUTSIDE Y", "_TOP Y"
    int FatherOrder = 0; // "_FORD n": the place among the father's children as the tree had it; 0 = none
    int MotherOrder = 0; // "_MORD n"

    QStringList SpouseFamilyXrefs; // FAMS lines in file order
    QString ChildFamilyXref;       // the last FAMC whose pedigree is birth (or not given)
    // FAMC lines of another pedigree ("adopted", "foster", "_RADA" for the nursing family), as
    // (family, pedigree): the family never gives this person parents.
    std::vector<std::pair<QString, QString>> OtherChildFamilies;
    TPerson_Data Data;

    QString SpouseFamilyXref() const {
        return SpouseFamilyXrefs.isEmpty() ? QString() : SpouseFamilyXrefs.last();
    }
};

struct TGedFamily {
    QString Xref;
    QString HusbandXref;
    QString WifeXref;
    QString HusbandId;
    QString WifeId;
    QString SubmitterXref;
    QStringList ChildXrefs;
    TGEvents Events;
    QString Note;     // its NOTE lines
    QStringList Kept; // lines the tree has no place for, in the file's own words
};

enum class TGedcomError {
    None,
    FileNotFound,
    FileUnreadable,
    UnknownEncoding,
    NotGedcom,
    Cancelled,
};

// Progress of an import: reading counts records, writing counts persons. Returning false cancels.
struct TGedcomProgress {
    qint64 BytesRead = 0;
    qint64 BytesTotal = 0;
    int RecordsRead = 0;
    int PersonsWritten = 0;
    int PersonsTotal = 0;
};
using TGedcomProgressFn = std::function<bool(const TGedcomProgress&)>;

struct TGedcomReadOptions {
    QString Encoding;                                          // forces the encoding; empty = detect
    QString FallbackEncoding = QStringLiteral("windows-1252"); // for undeclared bytes that are not UTF-8
    TGedcomProgressFn Progress;
};

// Lists of positions kept in one array: the entries of item i are Items[Start[i]] .. Items[Start[i + 1] - 1].
struct TGedIndexLists {
    std::vector<int> Start{0};
    std::vector<int> Items;

    void Close() { Start.push_back(int(Items.size())); }
    std::span<const int> Of(size_t i) const {
        return std::span<const int>(Items).subspan(size_t(Start[i]), size_t(Start[i + 1] - Start[i]));
    }
};

// The cross-references of the records resolved once into positions in Persons and Families; -1 where a
// reference names no record.
struct TGedLinks {
    std::vector<int> Husband;      // of each family
    std::vector<int> Wife;         // of each family
    TGedIndexLists Children;       // of each family, in CHIL order
    std::vector<int> ChildFamily;  // of each person: the family it is a child of
    TGedIndexLists SpouseFamilies; // of each person, in FAMS order
};

// An ASSO line of an individual: whom it names and how they are related (its RELA text).
struct TGedAssociation {
    int Person = -1; // position in Persons of the individual whose record holds the line
    QString Xref;    // the associated individual; empty when the value is no pointer
    QString Value;   // the ASSO value as written
    QString Relation;
};

// An individual marked "_GROUP Y": a named branch of the family rather than a person.
struct TGedGroup {
    int Person = -1;
    QString Type; // the kind of group (its TYPE line)
};

// A picture of an individual, brought with the file (a GEDZIP archive's media) into the new tree's photos.
struct TGedPicture {
    int Person = -1;  // position in Persons
    QString FileName; // in the photos folder
    QString Title;
    bool Default = false; // the person's first
};

struct TGedcomData {
    std::vector<TGedPerson> Persons;
    std::vector<TGedFamily> Families;
    QHash<QString, int> PersonIndex; // cross-reference (without "@") -> position in Persons
    QHash<QString, int> FamilyIndex;
    TGedLinks Links;
    // Few files have these, so they are kept apart from the individuals (see gedcom_extensions.h).
    std::vector<TGedAssociation> Associations;
    std::vector<TGedGroup> Groups;
    std::vector<TGedPicture> Pictures;

    // What the tree has no place for and leaves out, by tag: lines under individuals and families, and
    // whole records (sources, media ..).
    std::map<QString, int> NotKept;
    std::map<QString, int> RecordsNotKept;

    QString Encoding; // the encoding the file was read with
    int RecordsRead = 0;
    bool OwnFile = false; // written by this program's export ("1 SOUR VERDAN" in the header)

    TGedcomError Error = TGedcomError::None;
    QString ErrorMessage; // translated, ready to show

    const TGedPerson* FindPerson(const QString& xref) const;
    const TGedFamily* FindFamily(const QString& xref) const;
};

} // namespace verdan
