#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// What a file offered as a tree is.
enum class TFileKind {
    Missing,       // no such file
    Unreadable,    // the system refuses to read it
    Busy,          // another program, or another connection of this one, holds it
    Unfinished,    // the temporary file of a tree that was being written
    Empty,         // a file of no bytes
    Tree,          // a tree file (see Damaged)
    LegacyTree,    // a tree file of the old format
    LegacyNoTree,  // a database of the old format that holds no tree
    LegacyDamaged, // a file of the old format whose tables cannot be listed
    Database,      // a database that holds no tree
    Gedcom,        // a GEDCOM file
    Other,         // anything else
};

struct TTreeProbe {
    TFileKind Kind = TFileKind::Other;
    // A tree, or a database whose schema cannot be read far enough to tell, with parts that cannot be read.
    bool Damaged = false;
    // The file or its folder cannot be written: the tree can only be read.
    bool ReadOnlyFile = false;
    // Triggers, views and virtual tables the tree holds (translated kind and name).
    QStringList Foreign;
    // The engine's or the system's words, for the details of a message only.
    QString Reason;

    // A tree that can be opened as it is.
    bool Sound() const { return Kind == TFileKind::Tree && !Damaged && Foreign.isEmpty(); }
};

// Tells what the file is without writing to it and without reading more than an open reads first: the
// header, the schema, the first and the last entry of every table and index, the tree information, the
// option row, the group outside the tree, the person shown last and the first level of the outline; never
// the whole file, so a tree of a million persons is probed at once. The tree open in this program is told
// as it is. An interrupted write the file still carries is completed by the engine first, as any open does.
TTreeProbe ProbeTreeFile(const QString& path);

// Says what the file is, in the interface language: headline "|" body, the path in the body, the engine's
// or system's words only as details. Empty for a sound tree.
QString ProbeMessage(const TTreeProbe& probe, const QString& path);

} // namespace verdan
