#pragma once

#include "web/web_tree.h"

#include <QDate>
#include <vector>

namespace verdan {

// What the site shows of living persons.
enum class TLivingMode {
    Hide,  // neither name nor details: a placeholder where the family's shape needs one
    Names, // the name and the family links, no dates, places, events, notes or pictures
    Show,  // everything
};

// How much of one person the site shows.
enum class TShown : quint8 {
    Absent,   // nowhere: not listed, not found, no page (the person denied publishing)
    Private,  // a placeholder without a name where the family's shape needs one; no page
    NameOnly, // a page with the name and the family links only
    Full,     // everything the tree holds of the person
};

// Decides for every person of the tree: a person denied publishing is absent, and his living descendants
// show no more than their names; living persons follow the mode; a hidden name makes the person private.
// `today` is the day the living rule counts from.
std::vector<TShown> DecideShown(const TWebTree& tree, TLivingMode mode, const QDate& today);

} // namespace verdan
