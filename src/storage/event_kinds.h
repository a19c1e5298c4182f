#pragma once

#include <QList>
#include <QString>

namespace verdan {

// The kinds of events and facts the tree keeps besides birth, death, marriage and divorce. A kind is stored
// by its code in ftEvents.event_type: the GEDCOM tag where the standard has one, else a code of our own.
enum class TEventScope { Person, Family, Both };

struct TEventKind {
    QString Code;     // "BURI", "OCCU", "HAJJ" ..
    const char* Name; // English source text of its name, shown through TranslateContext(.., "event_kind")
    TEventScope Scope;
    bool TakesValue;        // an attribute with a value of its own (OCCU "farmer", EDUC "law")
    const char* GedcomTag;  // the tag it is written with: its code, or EVEN / FACT for kinds of our own
    const char* GedcomType; // the TYPE line that names a kind of our own; nullptr for the standard ones
};

// Every kind, in the order a list offers them.
const QList<TEventKind>& EventKinds();
// The kind of a code in any letter case; nullptr for a code no kind has (a tag another program made up,
// kept as it came).
const TEventKind* FindEventKind(const QString& code);
// The kind of our own an EVEN or FACT with this TYPE stands for (matched in any letter case); nullptr when
// none.
const TEventKind* EventKindOfType(const QString& gedcomTag, const QString& type);

// Birth, death, marriage and divorce: a person's or a marriage's first one has columns of its own, so lists
// of kinds to add leave them out; only further ones (a file's second BIRT) are events.
bool HasColumnsOfItsOwn(const QString& code);

// The name of a kind as lists show it, translated; a code no kind has shows as it is.
QString EventKindName(const QString& code);

} // namespace verdan
