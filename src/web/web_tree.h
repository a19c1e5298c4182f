#pragma once

#include "calendar/date_value.h"
#include "storage/event_store.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace verdan {

// The open tree read whole for publishing: every person with the rows that hang off it, in memory, so the
// site is made from a handful of statements however large the tree is. Persons are referred to by their
// position in Persons; -1 is nobody.

struct TWebPerson {
    QString Id;      // as stored
    QByteArray Hex;  // its address: the identifier's hexadecimal digits (see web_addresses.h)
    int Father = -1; // positions of the parents
    int Mother = -1;
    bool TopLevel = false; // heads a line of its own in the outline
    bool Female = false;
    bool Section = false; // a group person: a named branch of the family
    bool DeadMark = false;
    QString Name, Other, Last, Nickname, Cognomen, FamilyName, FamilyNickname, SectionType, Title;
    TDateValue Birth, Death;
    QString BirthPlace, DeathPlace;
    QString Notes, Briefing;
    int OrderByFather = 0, OrderByMother = 0;
    bool HideName = false, HidePicture = false, DenyPublish = false;
    std::vector<int> Children;  // as the outline lists them under this person
    std::vector<int> Marriages; // positions in TWebTree::Marriages, in the person's order of mates
    std::vector<int> NursedBy;  // breastfeeding mothers
    std::vector<int> Nursed;    // children this woman breastfed
    std::vector<int> MilkSiblings;
    std::vector<int> Pictures; // positions in TWebTree::Pictures, the default first
    std::vector<int> Events;   // positions in TWebTree::Events
};

struct TWebMarriage {
    int Husband = -1, Wife = -1;
    int HusbandOrder = 0, WifeOrder = 0; // her place among his wives, his among her husbands
    bool Split = false;
    TDateValue Married, Divorced;
    QString Place, DivorcePlace;
};

struct TWebPicture {
    QString Id;
    QByteArray Hex;
    int Person = -1;
    QString FilePath; // as stored
    bool Default = false;
    int Date = 0; // a Gregorian date number
    QString Description;
};

struct TWebTree {
    QString TreeName, OwnerName;
    QByteArray Description; // as ftTreeInfo keeps it
    bool HideNickname = false;
    int GlobalParent = -1; // the group of persons outside the tree
    std::vector<TWebPerson> Persons;
    std::vector<int> TopLevel; // the outline's first level, in its order
    std::vector<TWebMarriage> Marriages;
    std::vector<TWebPicture> Pictures;
    std::vector<TEvent> Events;
    std::vector<std::vector<int>> EventPersons; // the persons of each event, by position
};

// Reads the open tree; false with `error` (translated) when a statement fails.
bool ReadWebTree(TWebTree& tree, QString& error);

// The address of an identifier: its 32 hexadecimal digits in upper case for a GUID, otherwise a
// digest of the whole text, so any identifier has one of a fixed shape.
QByteArray AddressOfId(const QString& id);

} // namespace verdan
