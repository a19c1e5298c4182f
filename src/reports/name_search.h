#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// Finding the persons a typed name means, the way Arabic lineage names are written: a first name followed
// by the names of the father, grandfather and great-grandfather, a first name followed by the mother's
// name, or a single name, cognomen, nickname or family name. Texts compare folded for searching
// (SearchFold): «ريان» finds «ريّان», a Persian ی finds an Arabic ي, "victoria" finds Victoria; the tree's
// hide-nickname option makes every nickname count as empty. Reads the open tree through its name index,
// never writes.

// Appends to `result` the identifiers of the persons found for the search text `text` (diacritics already
// removed) and its name words `words` (as SplitNameWords gives them), each once, in the order found: first
// the persons whose lineage matches, then those whose own names, mother's name or spelling variants match
// (each pass in name order). Identifiers already in `result` are not added again.
void NameSearch(const QString& text, const QStringList& words, QStringList& result);

// Appends the spelling variants of a word: for each alef or hamza form (ء آ أ إ ا) the word with that one
// letter written as ا, أ, إ, آ and ء in turn; for each ة or ه the word with it written as ه and as ة.
// A word without such letters has no variants.
void WordVariants(const QString& word, QStringList& list);

// The persons found for a text as the user typed it: folded, cleaned, split into name words and searched.
// Blank text finds nobody.
QStringList SearchPersonsByName(const QString& typed);

// Starts reading the open tree's names on a thread of their own, ahead of the first search, which then
// answers at once also in a tree of a million persons; a search made before they are read waits for them.
void PrepareNameSearch();

// True for a text in the 38-character identifier form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal
// digits in either letter case).
bool IsIdentifierText(const QString& text);

} // namespace verdan
