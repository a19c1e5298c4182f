#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// What the quick info card shows of a person: the lineage name, the mother's and the mates', and the
// caption over the mates (an English source; empty without mates).
struct TQuickInfo {
    QString Name;
    QString MotherName;
    QString MatesCaptionSource;
    QStringList Mates;
};
TQuickInfo ReadQuickInfo(const QString& personId);

// The text page of the data card: summary, notes and the person's bookmark note.
struct TCardTexts {
    QString Briefing;
    QString Notes;
    QString Bookmark;
    bool operator==(const TCardTexts&) const = default;
};
TCardTexts ReadCardTexts(const QString& personId);
// Writes the texts that differ from what was loaded, each trimmed; an empty bookmark removes the person's
// bookmark. False when a write failed.
bool SaveCardTexts(const QString& personId, const TCardTexts& loaded, const TCardTexts& edited);

} // namespace verdan
