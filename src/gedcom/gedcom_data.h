#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <vector>

namespace verdan {

// Calendars a date read from GEDCOM can land in; Julian dates arrive converted to Gregorian.
enum class TGedCalendar : qint32 { Gregorian = 1, Hijri = 2 };

// One date: the calendar whose column it belongs to and its date number (0 = none or not convertible).
struct TVerdan_Date {
    TGedCalendar Calendar = TGedCalendar::Gregorian;
    qint32 Number = 0;
};

// The events the reader collects, in the order of the event table.
enum class TGEventKind : quint8 {
    EVEN,
    ANUL,
    ENDL,
    DIV,
    DIVF,
    ENGA,
    MARR,
    MARB,
    MARC,
    MARL,
    MARS,
    BIRT,
    CHR,
    DEAT,
    BURI,
    CREM,
    ADOP,
    BAPM,
    BARM,
    BASM,
    BLES,
    CHRA,
    CONF,
    FCOM,
    ORDN,
    NATU,
    EMIG,
    IMMI,
    CENS,
    PROB,
    WILL,
    GRAD,
    RETI,
    RESI,
    CHAN,
};

// One event of an individual or a family.
struct TGEvent {
    TGEventKind Kind = TGEventKind::EVEN;
    TVerdan_Date Date;
    QString Value;    // text on the event line itself ("Y", a description)
    QString Type;     // TYPE line under the event
    QString DateText; // the DATE value as written; empty when the event has no date
    QString Time;
    QString Place;

    QString Tag() const;  // the GEDCOM tag in upper case
    QString Name() const; // the long name of the event table, else the tag
    bool HasDate() const { return !DateText.isEmpty(); }
    // A date that was written but could not become a date number.
    bool DateKeptAsText() const { return HasDate() && Date.Number == 0; }
};
using TGEvents = QList<TGEvent>;

// The person as the tree will hold it.
struct TPerson_Data {
    QString PersonId;
    QString FatherId;
    QString MotherId;
    QString Sex; // lower case as written ("m", "f", "u", ...); empty when missing
    QString NamePrefix;
    QString NameSuffix;
    QString GivenName;
    QString Alias;
    QString Surname;
    QString Nickname;
    QString FullName; // the preferred NAME as written, slashes included
    QStringList OtherNames;
    QString PersonTitle;
    QString Occupation;
    QString Note;
    QString GedcomXref;
    TGEvents Events;
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
    QString ChildFamilyXref;
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

struct TGedcomData {
    std::vector<TGedPerson> Persons;
    std::vector<TGedFamily> Families;
    QHash<QString, int> PersonIndex; // cross-reference (without "@") -> position in Persons
    QHash<QString, int> FamilyIndex;
    TGedLinks Links;
    // Few files have these, so they are kept apart from the individuals (see gedcom_extensions.h).
    std::vector<TGedAssociation> Associations;
    std::vector<TGedGroup> Groups;

    QString Encoding; // the encoding the file was read with
    int RecordsRead = 0;
    bool OwnFile = false; // written by this program's export ("1 SOUR VERDAN" in the header)

    TGedcomError Error = TGedcomError::None;
    QString ErrorMessage; // translated, ready to show

    const TGedPerson* FindPerson(const QString& xref) const;
    const TGedFamily* FindFamily(const QString& xref) const;
};

} // namespace verdan
