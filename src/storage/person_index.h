#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <span>

namespace verdan {

// An in-memory index of every person's parents and gender, so descendants are counted and the whole tree
// is checked without a query per person. It belongs to the connection it was built on and is rebuilt by
// the next use after the tree is opened anew or after any row of ftPerson gained or lost a person, a
// parent or a gender (by any writer, including statements built elsewhere).

struct TDescendantCounts {
    int Total = 0;
    int Males = 0;
    int Females = 0; // every descendant whose gender is not male
    bool operator==(const TDescendantCounts&) const = default;
};

// Loads the index from the open tree now (a count builds it on demand).
void BuildPersonIndex();
// Frees the index; the next count builds it again.
void ClearPersonIndex();

// Descendants through fathers and, with includeFemale, through a female person's children as mother.
// Each person is counted once, the root never (also when the links form a cycle). Zero for an id that
// names no person. "-1", the outline's root, counts every person without parents and their descendants.
TDescendantCounts CountDescendantsDetailed(const QString& id, bool includeFemale);
// The total of CountDescendantsDetailed with includeFemale.
int CountDescendants(const QString& id);

// The parent links of every person as the index holds them, one slot per person row, for checks of the
// whole tree. Valid until the next write to ftPerson or the next tree is opened.
inline constexpr int kNoParent = -1;      // blank, "0" or "-1"
inline constexpr int kMissingParent = -2; // a text that names no person
struct TPersonLinks {
    std::span<const qint64> RowId;
    std::span<const int> FatherOf; // a slot, kNoParent or kMissingParent
    std::span<const int> MotherOf;
    std::span<const char> Gender; // 'm', 'f' or '?' once normalised
    // Rows whose identifier repeats one met before (letter case aside); they have no slot.
    std::span<const qint64> DuplicateRows;
    // Rows without an identifier; they have no slot either.
    std::span<const qint64> BlankIdRows;
    int Count() const { return static_cast<int>(RowId.size()); }
};
// Builds the index when needed; an empty view when no tree is open or the table cannot be read.
TPersonLinks PersonLinks();
// The slot of a person by its identifier as stored (letter case aside), while a view PersonLinks gave is
// valid; -1 for none.
int PersonSlot(QByteArrayView id);

} // namespace verdan
