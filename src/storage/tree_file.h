#pragma once

#include <QString>
#include <functional>

namespace verdan {

struct TTreeProperty;

// A new random identifier in the 38-character form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
QString NewGuidText();

// Size of the file in bytes; 0 when there is none.
qint64 GetFileSize(const QString& path);

// True for a tree file of the old format that must be converted before it can be opened.
bool IsLegacyTreeFile(const QString& path);

// Creates a tree file with every table and no rows; refuses a path that exists. The file appears only
// once complete (see TNewTreeFile). A failure shows why and leaves no file behind. The open tree, if any,
// stays open.
bool CreateTreeFile(const QString& path);
// Creates BasePath/FolderName/FileName with the folder "photos" beside the file; the file's path or empty.
QString CreateTreeFolderAndFile(const TTreeProperty& props);
// As CreateTreeFolderAndFile, with the first rows of InitialiseNewTree written before the file appears,
// so no moment exists at which a tree without them lies at the path.
QString CreateNewTree(TTreeProperty& props);
// Writes the first rows of a freshly created and opened tree: the tree information (new owner and global
// parent identifiers, stored into props), a family group with one person under it and the group of
// persons outside the tree. All or nothing.
bool InitialiseNewTree(TTreeProperty& props);

// How a tree is opened.
enum class TOpenAccess {
    Write,       // to work on it; a file that cannot be written opens read-only
    ReadOnly,    // to read it only: nothing is added to it, not even what older files lack
    ReadDamaged, // as ReadOnly, and a damaged tree opens too, as far as it can be read
};

// Opens a tree file: probes it first (ProbeTreeFile) and, when it is no tree that can be opened so, says
// what it is and leaves the tree open before as it was. Otherwise closes that tree, opens this one and
// holds it until it is closed: for this process alone, or, read-only, against every writer. Only an open
// to write adds what older files lack; a read-only one shows absent columns and tables as empty. Refuses
// a tree file that holds triggers, views or virtual tables (see ForeignSchemaObjects) and, unless asked
// for, a damaged one, before anything is written to it.
bool OpenTreeFile(const QString& path, TOpenAccess access = TOpenAccess::Write);
void CloseTreeFile();
// True while the open tree takes no changes: opened so, or found damaged since (see Tdm::SetReadOnly).
bool IsTreeReadOnly();
// True when the open tree was found damaged.
bool IsTreeDamaged();
// Reads every page of the open tree, for a writer that must not start on a damaged file (the command
// line's). Damage found turns the tree read-only and is told as any damage is; false then.
bool CheckOpenTreeWhole();

// The triggers, views and virtual tables of a tree file, which the tree schema never defines and which
// could change the tree on their own, as translated kind and name ("trigger wipe"); empty for a sound
// tree and for a file that cannot be read.
QStringList ForeignSchemaObjects(const QString& path);
// Writes a copy of the tree file without those objects beside it ("family-cleaned.vrd", numbered when
// the name is taken); the file itself is never written. The copy's path, or empty after a message.
QString WriteCleanedCopy(const QString& path);
bool IsTreeOpen();

// State of the open tree; empty when no tree is open.
QString CurrentTreePath();
QString PhotosFolder(); // folder of the tree file + "photos/"
bool HideNicknameOption();
QString CurrentTreeName();
QString CurrentOwnerName();
void SetCurrentTreeNames(const QString& treeName, const QString& ownerName);

// Changes each time a tree is opened or closed; caches keyed to one tree compare it.
quint64 TreeGeneration();
// Caches of the stores register a function that empties them; it runs whenever a tree is opened or
// closed, on ReleaseStoreCaches and on InvalidateStoreCaches (after writes that change persons or their
// parents outside the person store).
// Registration returns a key for UnregisterStoreCache.
int RegisterStoreCache(std::function<void()> clear);
void UnregisterStoreCache(int key);
void InvalidateStoreCaches();
void ReleaseStoreCaches();

// The group that holds persons placed outside the tree.
QString GetGlobalParentId();
// Makes sure the group exists and the tree information names it.
bool EnsureGlobalParent();
// Puts the group back at the top level, last in order; writes only when its placement differs.
bool ResetGlobalParentPlacement();

bool GetHideNicknameOption();
void EnsureDetailsTable();
// Adds the columns and indexes that files made by earlier versions lack; each one on its own.
bool UpgradeSchema();

// Compacts the open tree file in place; on failure the file stays as it was and a message says so. A
// read-only tree is never compacted.
bool MaintainTreeFile();
// Compacts a tree file that is not open.
bool CompactDatabase(const QString& path);
// Writes a compacted copy of the open tree to target (replacing a file there only once the copy is
// complete) and leaves the open tree as it is. On failure `reason` says why, translated where the reason is
// ours (a damaged tree), else in the engine's or the system's words.
bool SaveTreeCopy(const QString& target, QString* reason = nullptr);

} // namespace verdan
