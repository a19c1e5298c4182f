#pragma once

#include "relations/kinship.h"

#include <QList>
#include <QString>

namespace verdan {

// Whether two persons are mahram to each other (may never marry), from the ties the tree records, by the
// common rulings: blood — ascendants, descendants, siblings and their descendants, the siblings of
// ascendants; marriage — the spouse's ascendants and descendants, the ascendants' and descendants'
// spouses; breastfeeding — as blood, through the nursing mother and her husband.
enum class TMahramAnswer {
    NoPerson, // either person is not in the tree
    SamePerson,
    Mahram,
    MahramIfConsummated, // a wife's daughter, a mother's husband: the tree does not record consummation
    Spouses,
    TemporaryBar, // not mahram, but may not marry while a marriage lasts (a wife's sister)
    NotMahram,
    Unknown, // no tie found while links it would need are missing
};

enum class TMahramGround { None, Blood, Breastfeeding, Marriage };

// A link the tree lacks: the father (or the mother) of a person.
struct TMissingLink {
    QString PersonId;
    bool Father = true;
};

struct TMahramRuling {
    TMahramAnswer Answer = TMahramAnswer::NoPerson;
    TMahramGround Ground = TMahramGround::None;
    int Link = -1;               // the link of the kinship the answer rests on; -1 for none
    QList<TMissingLink> Missing; // where the answer is not mahram or unknown
};

TMahramRuling RuleMahram(const TKinship& kinship);

// "Mahram through blood", "Not mahram" .. in the interface language.
QString MahramHeadline(const TMahramRuling& ruling);
// Why, as one sentence about B to A ("he is her paternal uncle"); empty without a link.
QString MahramReason(const TKinship& kinship, const TMahramRuling& ruling);
// The headline, the reason and what the answer cannot know (consummation, missing links), as one text.
QString MahramText(const TKinship& kinship, const TMahramRuling& ruling);

} // namespace verdan
