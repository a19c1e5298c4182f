#pragma once

#include <QString>
#include <QStringList>

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

// Person_Name of the person; empty for a blank or unknown identifier.
QString CachedName(const QString& id);
// Father_Id of the person; empty when unknown.
QString CachedFatherId(const QString& id);
// Entry 0 the person's own name, entry i the name of the i-th ancestor on the father line; entries past
// the top of the line stay empty. A count of 0 means 250. The walk ends before the person `leaveOut`
// (the outside-the-tree group, which holds persons but fathers none), as it does at the top of the line.
QStringList CachedFatherLine(const QString& id, int count, const QString& leaveOut = QString());

} // namespace verdan
