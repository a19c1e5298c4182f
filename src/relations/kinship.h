#pragma once

#include "relations/lineage_path.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// How two persons of the tree are kin: by blood through father and mother links, by breastfeeding (the
// nursed child counts as a child of the nursing mother and of her husband), and by marriage.

// One step up from a person.
enum class TKinStep {
    Father,
    Mother,
    MilkMother,  // the woman who nursed the person
    MilkFather,  // a husband of that woman
    MilkSibling, // to the meeting point of two breastfeeding siblings whose nursing mother is not recorded
};

// A path between two persons over a common top: Up runs from the first person to the top, Down from the
// second person to the same top. Up.first() and Down.first() are the two persons, Up.last() == Down.last()
// the top. A top that stands for the unrecorded nursing mother of two breastfeeding siblings has an
// identifier starting with "~".
struct TKinPath {
    QStringList Up;
    QStringList Down;
    QList<TKinStep> UpSteps; // UpSteps[i] leads from Up[i] to Up[i + 1]
    QList<TKinStep> DownSteps;
    QStringList UpGenders; // the gender of each person of Up ("m", "f", else unknown; empty for a "~" top)
    QStringList DownGenders;
    bool FullSiblings = false; // one step each side by blood, and the two share father and mother
    int UpCount() const { return static_cast<int>(UpSteps.size()); }
    int DownCount() const { return static_cast<int>(DownSteps.size()); }
    bool Milk() const; // a breastfeeding step on either side
    TKinPath Reversed() const;
};

enum class TKinKind { Blood, Breastfeeding, Marriage };

// One way the second person (B) is kin to the first (A): A, or A's spouse, is joined by Path to B, or to
// B's spouse. Married links join A and B as husband and wife themselves.
struct TKinLink {
    TKinKind Kind = TKinKind::Blood;
    TKinPath Path;       // from A (or SpouseOfA) to B (or SpouseOfB)
    QString SpouseOfA;   // set when the path starts at a spouse of A
    bool SplitA = false; // that marriage is marked split (divorce or separation)
    bool EndedA = false; // that marriage has ended: split, divorced, or a spouse is dead
    QString SpouseOfB;
    bool SplitB = false;
    bool EndedB = false;
    bool Married = false; // A and B are husband and wife; the path is empty
    TKinLink Reversed() const;
};

// What the tree says about a person that the answers rest on.
struct TKinPerson {
    QString Id;
    QString Gender; // "m", "f" or what else is stored
    bool HasFather = false;
    bool HasMother = false;
};

struct TKinship {
    TKinPerson A;
    TKinPerson B;
    bool Found = false;    // both persons are in the tree
    QList<TKinLink> Links; // blood first, then breastfeeding, then marriage; the nearest first within each
};

// Every shortest way B is kin to A. Empty links when the two are not kin by what the tree records, or when
// either is missing (Found false). Links that run in a circle are walked once.
TKinship FindKinship(const QString& a, const QString& b);

// The link's path as a small tree for the window and the command line: the top first, each branch down
// to A and to B (spouses beneath the person they married, marked), every entry after the one above it.
// A and B are the entries marked IsPerson.
TLineagePath KinshipPathTree(const TKinship& kinship, const TKinLink& link);

} // namespace verdan
