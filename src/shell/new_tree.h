#pragma once

#include <QString>

namespace verdan {

struct TTreeProperty;

// The names of a tree being created. The folder name follows the tree name, and the file name the tree
// name or the folder name, for as long as the user has not made them differ.
struct TNewTreeNames {
    QString TreeName;
    QString FolderName;
    QString FileName;

    // A tree called `treeName`: folder and file named after it.
    static TNewTreeNames For(const QString& treeName);

    void SetTreeName(const QString& text);
    void SetFolderName(const QString& text);
    void SetFileName(const QString& text) { FileName = text; }
};

// The path the names give below `location`.
struct TNewTreePath {
    bool Valid = false;
    QString FolderName; // cleaned; empty when the file goes straight into the location
    QString FileName;   // cleaned, with its extension, numbered so that no file of the name exists
    QString Path;       // location / folder / file
};

// Composes the path of a new tree: separators and characters that file names may not hold are dropped
// from the folder and file names, a missing extension becomes ".vrd", a blank file name "New_Tree", and
// a taken name gets "-1", "-2", ... before its extension. A blank location is the current folder. Names
// that lead outside the location ("." or "..") or that the file system refuses make the path invalid.
TNewTreePath ComposeNewTreePath(const QString& location, const QString& folderName, const QString& fileName);

// What the new-tree dialog's OK accepts. The path is composed afresh, so a file that appeared since the
// names were typed is never chosen. Fails when the tree name or owner name is blank, the location does not
// exist or the path is invalid; otherwise fills the tree name, owner name and location (BasePath,
// FolderName, FileName) of `props`.
bool AcceptNewTree(const QString& location, const TNewTreeNames& names, const QString& ownerName,
                   TTreeProperty& props);

} // namespace verdan
