#pragma once

#include <QString>

namespace verdan {

// An in-memory index of every person's parents and gender, so descendants are counted without a query
// per person. It belongs to the connection it was built on and is rebuilt by the next count after the
// tree is opened anew or after any row of ftPerson gained or lost a person, a parent or a gender (by
// any writer, including statements built elsewhere).

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
// names no person.
TDescendantCounts CountDescendantsDetailed(const QString& id, bool includeFemale);
// The total of CountDescendantsDetailed with includeFemale.
int CountDescendants(const QString& id);

} // namespace verdan
