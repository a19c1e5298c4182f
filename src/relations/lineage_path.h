#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// A person's line of ancestors as a nested tree: the most distant ancestor at the top, each generation the
// only child of the one above, down to the person; the person's children beneath, the brothers and
// sisters beside the person, and those of the parent beside the parent.
enum class TLineageKind {
    FatherLine,        // the person, the father, his father ..
    MothersFatherLine, // the person, the mother, her father, his father ..
    MothersLine,       // the person, the mother, her mother ..
};

struct TPathEntry {
    QString Text;
    QString PersonId;      // the person the entry names
    int Parent = -1;       // index of the entry above; -1 for the top
    bool IsPerson = false; // the person the path is of
    bool InChain = false;  // one of the line of ancestors (the person included)
};

struct TLineagePath {
    QString Caption;           // the window's caption: the person's lineage name
    QList<TPathEntry> Entries; // every entry after the one above it
};

// The path of a person; empty entries when there is no such person. Links that run in a circle end the
// line where a person comes round again.
TLineagePath BuildLineagePath(const QString& personId, TLineageKind kind);

// The names of the line of ancestors, the most distant first and the person last.
QStringList LineageChainNames(const TLineagePath& path);

} // namespace verdan
