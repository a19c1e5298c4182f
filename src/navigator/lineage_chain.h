#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// Lineage chains: a sentence "Name son of Name son of Name .." (or the same names one a line) becomes a
// line of fathers and sons under one person, the last name of the sentence the oldest.

// The separator words of the interface language, in their order; none when the language lists none.
QStringList NameSeparators();

// Cuts a sentence at every separator word standing between two blanks (letter case not counting) and at
// every comma. The pieces are trimmed; empty ones are kept, in text order.
QStringList SplitLineage(const QString& text, const QStringList& separators);
QStringList SplitLineage(const QString& text);

// The genitive and accusative kunya ("أبي", "أبا" ..) put into the nominative ("أبو") wherever they
// stand before a blank.
QString NominativeKunya(const QString& name);

// The names of a chain as the dialog reads them, youngest first: the sentence split and its kunya forms
// put right, or the lines of the list as typed. Blank names are left out.
QStringList ChainNames(const QString& text, bool sentence);

struct TChainResult {
    bool Written = false;   // false when something could not be written: then nothing was
    QStringList CreatedIds; // oldest first; the last one is the youngest, whom the outline selects
};

// Creates the persons of a chain, all of them or none: the oldest (the last name) as a child of the
// father and mother given (blank for none; "-1" for the first level), each younger one as the son of the
// one before. Every person is a man with his father's family names and no order number. A failure is
// reported; nothing of the chain stays then.
TChainResult CreateLineageChain(const QString& fatherId, const QString& motherId, const QStringList& names);

// The chain under a person (a man's sons, a woman's sons through her) or, for "-1", on the first level.
TChainResult CreateLineageChainUnder(const QString& personId, const QStringList& names);

} // namespace verdan
