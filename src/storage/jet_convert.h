#pragma once

#include "storage/jet_table_reader.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace verdan {

// What a conversion read from the old file.
struct TJetConvertSummary {
    QList<std::pair<QString, qint64>> Tables; // tables of the tree read, with their rows
    QStringList SkippedTables;                // tables the tree does not know
    int PicturesFound = 0;                    // old picture paths rewritten to a file of the photos folder
    int PicturesMissing = 0;                  // old picture paths whose file the photos folder lacks
};

// Rows read so far and rows in the file (-1 when unknown); returning false cancels.
using TJetProgressFn = std::function<bool(qint64 rows, qint64 total)>;

// Writes every table the tree knows from reader into the empty file at filePath (a TNewTreeFile's
// temporary file): the schema first, then in one transaction each row with the columns the tree has, oid
// values kept. Texts arrive decoded, booleans as 1 or 0, dates as stamps, numbers as numbers, binary
// values as they are. False with a translated error when reading or writing fails.
bool WriteJetTree(TJetTableReader& reader, const QString& filePath, const TJetProgressFn& progress,
                  TJetConvertSummary& summary, QString& error);

// What a file of the old format holds, read from its list of tables alone.
enum class TLegacyContent {
    Tree,       // the tables of a tree: its persons or its tree information
    NoTree,     // a database of the old format without them
    Unreadable, // the list of tables cannot be read: damaged, or no such database
};
TLegacyContent LegacyFileContent(const QString& legacyPath, QString& reason);
// The message for an old-format database that holds no tree, in the interface language.
QString LegacyNoTreeText();

// Where a conversion writes by default: "NAME (converted).vrd" beside the old file, numbered when taken.
QString DefaultConvertedPath(const QString& legacyPath);

// Converts a tree file of the old format into a new tree at target (which must not exist); the old file
// is never written. The new file appears only once complete; then FinishConvertedTree runs on it. A file that
// is no Jet 4.0 database, holds no tree, is protected by a password or is damaged gives a translated error
// and leaves nothing behind.
bool ConvertLegacyTreeFile(const QString& legacyPath, const QString& target, const TJetProgressFn& progress,
                           TJetConvertSummary& summary, QString& error);

// The normal open of a converted tree at path (the columns and the outside-the-tree group old trees lack),
// then the picture paths of the old system ("C:\..\photos\x.jpg") become the names of files in the photos
// folder beside the tree where it has them. Closes the tree again.
void FinishConvertedTree(const QString& path, TJetConvertSummary& summary);

// The summary as lines to show, translated.
QString JetConvertSummaryText(const TJetConvertSummary& summary);

} // namespace verdan
