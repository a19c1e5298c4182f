#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace verdan {

// Every person's name and father as one in-memory index of the open tree, so a list of all persons can
// show four generations of names per row without a query per row. Identifiers are looked up without
// regard to letter case. The cache is emptied whenever a tree is opened or closed and after writes that
// change persons elsewhere; readers that need it call EnsureNameCache.

// Reads the cache anew from the open tree (empty when no tree is open).
void LoadNameCache();
// Loads the cache unless it holds the open tree already.
void EnsureNameCache();
void ReleaseNameCache();
bool NameCacheLoaded();

// Reads the cache a little at a time, so a window stays responsive while a large tree is read: each Step
// reads until `budgetMs` passed. Another load or a release in between makes the loader start over.
class TNameCacheLoader {
public:
    TNameCacheLoader();
    ~TNameCacheLoader();
    TNameCacheLoader(const TNameCacheLoader&) = delete;
    TNameCacheLoader& operator=(const TNameCacheLoader&) = delete;

    // True once the cache holds the open tree (at once when it held it already).
    bool Step(int budgetMs);
    // Persons read and persons in all, for a progress bar.
    int Done() const;
    int Total() const;

private:
    struct TState;
    TState* state_;
};

// The rows of the person table the cache was read from; 0 when it holds no tree.
int CachedRowCount();
// Person_Name of the person; empty for a blank or unknown identifier.
QString CachedName(const QString& id);
// Father_Id of the person; empty when unknown.
QString CachedFatherId(const QString& id);
// True when the person is a group (a named branch, or the group outside the tree).
bool CachedIsGroup(const QString& id);
// Entry 0 the person's own name, entry i the name of the i-th ancestor on the father line; entries past
// the top of the line stay empty. A count of 0 means 250. A group is nobody's father in a name: the walk
// ends before a father that is a group (a named branch, or the group outside the tree), as it does at the
// top of the line.
QStringList CachedFatherLine(const QString& id, int count);

} // namespace verdan
