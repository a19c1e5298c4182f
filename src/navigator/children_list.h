#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// Many sons and daughters of one person, or of a couple, typed as two lists of names.

struct TChildrenListResult {
    bool Written = false;   // false when something could not be written: then nothing was
    QStringList CreatedIds; // in list order, sons first
};

// Creates the children of the lists, all of them or none. A line of the sons list ending in "+" is a
// daughter; blank lines are skipped but keep their place in the numbering. Each child is numbered after
// the children its parents have already: under the father from his count, under the mother from hers
// (both for a couple), sons first, then daughters; it takes the father's family names. A blank parent is
// none ("0"). A failure is reported; nothing of the lists stays then.
TChildrenListResult CreateChildrenList(const QString& fatherId, const QString& motherId,
                                       const QStringList& sons, const QStringList& daughters);

// The text of a children list after a paste: `pasted` (the text the paste put in at `at` of `text`) is
// set apart from its neighbours, the punctuation becomes blanks, and each name that starts with the
// "and" word after a blank begins a line. `caret` receives the place after the pasted part.
QString ArrangePastedNames(const QString& text, qsizetype at, const QString& pasted, const QString& andWord,
                           qsizetype* caret = nullptr);

} // namespace verdan
