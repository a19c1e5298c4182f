#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QCollatorSortKey;

namespace verdan {

// The names of every person of the open tree with the links to the parents, held in memory for the name
// search. The person table is read once after a tree was opened, on a thread of its own when the opening
// asks for it (StartReading); after that, temporary triggers of the connection record the rows that any
// writer inserts, changes or deletes, and the next use reads only those again. So a search in a tree of a
// million persons never waits for the whole table, and the window never waits while it is read.
//
// Names are kept as tokens: texts equal once folded for searching (SearchFold: letter case, accents,
// Arabic marks and letter forms) share one token, so the search compares integers ("Victoria" and
// "victoria", «ريّان» and «ريان» are one token). The stored names stay as they were written.
namespace name_index {

constexpr int kNoName = -1;  // an empty value
constexpr int kUnknown = -2; // a text no person of the tree carries

struct TRow {
    qint64 oid = 0;
    QByteArray id;   // Person_Id as stored
    int father = -1; // row positions of the parents in the tree; -1 when there is no such row
    int mother = -1;
    int name = kNoName;
    int other = kNoName;
    int cognomen = kNoName;
    int nickname = kNoName;
    int last = kNoName;
    bool alive = true; // false for a deleted row, which keeps its position
};

// The text as the index compares it.
QString Fold(const QString& text);

// Brings the index up to date with the open tree, waiting for a reading started by StartReading; false
// when no tree is open or it cannot be read.
bool Sync();
// Starts reading the open tree's names on another thread, unless they are read already.
void StartReading();
// True while that reading runs (until the next Sync takes it over).
bool IsReading();
// Frees the index (ending a reading); the next Sync reads the whole table again.
void Clear();

const std::vector<TRow>& Rows();
// The token of a folded text: kNoName for the empty text, kUnknown when nobody carries it.
int TokenOf(const QString& folded);
// The folded text of a token; the empty text for kNoName and kUnknown.
const QString& TextOf(int token);
int TokenCount();
// The order of a token's text among names (the current locale's collation).
const QCollatorSortKey& SortKey(int token);

} // namespace name_index

} // namespace verdan
