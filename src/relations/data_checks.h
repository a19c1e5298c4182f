#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// What the consistency check of a tree's links finds. Files pass between families and programs, so
// links may name persons who are gone, run in a circle or join persons in ways the outline never does.
enum class TFindingKind {
    MotherIsMale,           // the attached mother is male
    FatherIsFemale,         // the attached father is female
    MissingFather,          // the father named is no person of the tree
    MissingMother,          // likewise the mother
    OwnParent,              // the person is his own father or mother
    AncestorCycle,          // the person is his own ancestor through others
    DuplicateId,            // a person row repeats the identifier of an earlier one
    BlankId,                // a person row without an identifier
    RelationMissingPerson,  // a marriage or breastfeeding relation names no person of the tree
    RelationWithItself,     // a relation between a person and himself
    HusbandNotMale,         // a marriage whose husband is not male
    WifeNotFemale,          // a marriage whose wife is not female
    GroupInRelation,        // the outside-the-tree group in a marriage or breastfeeding relation
    MotherBarredToFather,   // the child's father may not marry the child's mother
    MarriageBarred,         // a marriage of a man to a woman he may not marry
    LastingMarriages,       // a woman with more than one marriage that has not ended
    BirthCalendarsDisagree, // a full birth date whose Gregorian and Hijri days lie more than 2 days apart
    DeathCalendarsDisagree, // likewise the death date
    ImplausibleAge,         // a child's or a spouse's age hard to believe; Detail is the whole sentence
};

struct TDataFinding {
    TFindingKind Kind = TFindingKind::MotherIsMale;
    QString PersonId; // the person concerned; empty for a row without identifier
    QString Name;     // his name as stored
    QString Detail;   // the other person's name, the identifier that names nobody, or the circle of names
    QStringList More; // what else the finding's sentence names, in order
};

// Every finding of the open tree: the parent contradictions first (in row order), then the other links
// of persons, then the relations. Empty without an open tree.
QList<TDataFinding> CheckTreeData();

// The finding as one sentence of the interface language.
QString FindingText(const TDataFinding& finding);
// The kind as a fixed word for machines ("mother-is-male" ..).
QString FindingKindName(TFindingKind kind);

} // namespace verdan
