#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace verdan {

// Setting a relation between two persons: the dragged one (the source) and the one it was dropped on
// (the target). Each option is phrased from the source's side: the source is the father, son, husband ..
// of the target.
enum class TRelationOption {
    FatherMother,
    SonDaughter,
    HusbandWife,
    FeederMother,   // only a woman nurses
    BrotherSisterX, // breastfeeding siblings
    BrotherSister,  // never offered
    UncleAunt,      // never offered
    UncleAunt2,     // never offered
};
inline constexpr int kRelationOptionCount = 8;

// What the two persons are and how they are joined already.
struct TRelationFacts {
    bool SourceMale = true; // a gender other than male counts as female
    bool TargetMale = true;
    bool SourceIsGroup = false;
    bool TargetIsGroup = false;
    bool Siblings = false;              // a real father or mother in common
    bool BreastfeedingSiblings = false; // recorded as such
    bool BreastfeedingMother = false;   // one nursed the other
    bool ParentAndChild = false;        // one is the father or mother of the other
};

struct TOptionState {
    bool Visible = true;
    bool Enabled = true;
};

// The options of the dialog for two persons: each option's state, the lines naming the relations that
// join the two already (translation sources, with two "%*" for the two names), and whether OK may be
// pressed. Persons already related get no further relation.
struct TRelationChoice {
    std::array<TOptionState, kRelationOptionCount> Options{};
    QStringList ExistingLines;
    bool OkAllowed = true;

    const TOptionState& State(TRelationOption option) const { return Options[static_cast<int>(option)]; }
};

TRelationChoice RelationChoiceFor(const TRelationFacts& facts);

// The facts of two persons as the tree file holds them.
TRelationFacts ReadRelationFacts(const QString& sourceId, const QString& targetId);

// The option's caption for a male or female source, translated.
QString RelationOptionCaption(TRelationOption option, bool sourceMale);
// "is a father of" .. for the option and the source's gender, translated; empty for the hidden options.
QString RelationSentence(TRelationOption option, bool sourceMale);

// Writes the relation of the option, all of it or nothing: a parent link (with what the family rules ask
// about the child's other parent), a marriage under the family rules (then the couple's children are
// offered), or a
// breastfeeding relation (a nursing mother also makes the nursed child a breastfeeding sibling of each of
// her children). A parent link that would make a person his own ancestor is refused with its message.
// Steps that would join the outside-the-tree group are skipped. True when the relation may have changed
// the tree (the dialog then closes), false when it was refused or failed.
bool ApplyRelation(TRelationOption option, const QString& sourceId, const QString& targetId);

} // namespace verdan
