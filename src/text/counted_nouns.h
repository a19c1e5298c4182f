#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace verdan {

// Numbers with the nouns they count, in the forms each language gives them ("1 year", "3 years"; in Arabic
// سنة، سنتين، 3 سنوات، 11 سنة). The forms follow the plural categories of the Unicode CLDR.

enum class TPluralCategory { Zero, One, Two, Few, Many, Other };

// The category of a whole number in a language (two-letter code): Arabic has all six, Persian "one" for 0
// and 1, English and Urdu "one" for 1; any other language is treated like English.
TPluralCategory PluralCategory(const QString& language, qint64 n);
// "zero", "one", "two", "few", "many", "other".
QString PluralCategoryName(TPluralCategory category);

enum class TCountedNoun { Years, Months, Days, HijriYears };

// The number with its noun in the interface language. A language document gives the forms in the list
// unit "[years]" ("[months]", "[days]"): one line per category, "few=%d سنوات", where "%d" stands for the
// number and a form without it names the number by itself ("one=سنة"). A category it lacks takes "other";
// a document without the list shows the English forms. Years of the Hijri calendar have their own list
// "[hijri years]" (سنة هجرية).
QString CountedNoun(qint64 n, TCountedNoun noun);

// A sentence with one placeholder "%*" per counted part ("Born %*, %* ago"), translated with the gendered
// form for a female person and filled with the counted parts.
QString CountedSentence(const QString& source, bool feminine,
                        const QList<std::pair<qint64, TCountedNoun>>& parts);

} // namespace verdan
