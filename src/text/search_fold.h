#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <string>

namespace verdan {

// How every search of the program compares texts: both sides pass through SearchFold, so a name is found
// however it was written. The fold is for comparing only; no stored text is ever rewritten with it.
//
// On the composed (NFC) text it
// - drops the Arabic short vowels, tanween, shadda, sukun and the other marks U+064B..U+065F, the
//   superscript alef U+0670 and tatweel U+0640 («ريّان» and «ريان», «محـمد» and «محمد» meet);
// - reads the Persian and Urdu letter forms as the Arabic ones: ی and ى as ي, ک as ك, ہ as ه;
// - drops invisible format characters (zero-width joiners, direction marks and isolates, soft hyphen);
// - writes every letter of the Latin script in lower case without its accents ("Émile" as "emile",
//   "Søren" as "soren", "Straße" as "strasse"), and drops an accent that no letter took after a Latin
//   letter; letters of other cased scripts only lose their case.
// Hamza seats (أ إ آ ؤ ئ) and ة stay as they are: the name search tries those spellings in a pass of its
// own. Folding a folded text changes nothing.
QString SearchFold(const QString& text);

// True when the folded `text` holds `foldedPart` (which the caller folded once); an empty part is never
// found.
bool FoldedContains(const QString& text, const QString& foldedPart);

// The same for a text given as its UTF-8 bytes, as the tree file stores it.
bool FoldedContainsUtf8(QByteArrayView utf8, const QString& foldedPart);

// Folds a text given as its UTF-8 bytes into `out`, whose storage is reused: for searching many stored
// values without making a text of each.
void SearchFoldUtf8(QByteArrayView utf8, std::u16string& out);

// A letter of `foldedPart` as a stored text must hold it to hold the part once folded: one that no other
// character folds to and that no composition makes (an Arabic letter such as م, a digit), as UTF-8; empty
// when the part has none (Latin letters, for one, have their capitals). Lets a search pass over the texts
// that lack it without folding them.
QByteArray SearchFoldAnchor(const QString& foldedPart);

// One entry of the fold table: a character and what the fold makes of it (empty when it is dropped).
struct TSearchFoldEntry {
    char32_t Character;
    QString Folded;
    bool operator==(const TSearchFoldEntry&) const = default;
};

// Every character of the Basic Multilingual Plane that the fold changes, in code-point order: the table a
// search written in another language reproduces the fold from, after composing the text (NFC). Besides
// the table, one rule depends on the text around a character: a mark of U+0300..U+036F directly after a
// Latin letter is dropped (LatinMarkDropped).
const QList<TSearchFoldEntry>& SearchFoldTable();

// True for a combining accent the fold drops when it follows a Latin letter.
bool LatinMarkDropped(char32_t c);

} // namespace verdan
