#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// Trims, drops no-break spaces and tatweel, and collapses runs of blanks to one blank.
QString CleanName(const QString& text);

// Removes tatweel, fathatan and the short vowels, shadda and sukun; dammatan is kept.
QString StripDiacritics(const QString& text);

// Appends the words of a free-text search to `words`. Commas and semicolons (Latin or Arabic), blanks,
// carriage returns and no-break spaces separate words; a one-letter piece is joined to what follows.
void SplitSearchWords(const QString& text, QStringList& words);

// Appends the words of a typed name to `words`: connectives such as "بن" are dropped, and a prefix word
// such as "عبد" or "أبو" stays joined to the following word, and a connective at the end is dropped too. A
// leading "أبي" is stored as "أبو".
void SplitNameWords(const QString& text, QStringList& words);

// Text positions below are 1-based, as in every text position the user or a file sees; -1 means none.

// Position of `part` in `text` ignoring ASCII letter case.
int ContainsText(const QString& text, const QString& part);

// Forward: first occurrence beginning at or after `start`. Backward: last occurrence ending at or before
// `start`. Without case sensitivity only the ASCII letters fold together.
int FindText(const QString& text, const QString& part, int start, bool forward, bool caseSensitive);

// The trimmed text without its surrounding double quotes, when it has both; otherwise the text unchanged.
QString Unquote(const QString& text);

// First entry equal to `text` (letter case counting), or -1.
int IndexOfExact(const QStringList& list, const QString& text);

QString UpperText(const QString& text);
QString LowerText(const QString& text);

} // namespace verdan
