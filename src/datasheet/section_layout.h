#pragma once

#include "text/user_options.h"

#include <QList>
#include <QString>

namespace verdan {

// A data-sheet section: its key, the English title that the options document also names it by, and
// whether it is collapsed.
struct TSectionState {
    QString Key;
    bool Collapsed = false;

    bool operator==(const TSectionState&) const = default;
};

// Whether a name from the options document names the section of `key`: the English title itself, or its
// translation (documents of older versions hold the title as it was shown).
bool SectionNameMatches(const QString& storedName, const QString& key);

// The sections in the stored order with the stored collapse states. A section the stored layout does not
// name keeps its default state and stands after the section it follows by default; stored names of
// sections that do not exist are passed over.
QList<TSectionState> ArrangeSections(const QList<TSectionState>& defaults, const QList<TDataSection>& stored);

// The layout to keep in the options: the sections as they stand, then the entries of `previous` that name
// none of them, so sections this build does not show keep their place.
QList<TDataSection> SectionLayoutToStore(const QList<TSectionState>& current,
                                         const QList<TDataSection>& previous);

} // namespace verdan
