#pragma once

#include <QString>

namespace verdan {

// Writes a whole new tree file so that a crash, a power cut or a kill at any moment leaves either no tree
// or a complete one: the content goes into a temporary file beside the target, which is flushed to disk
// and only then renamed to the target's name (and the folder flushed, so the new name survives too).
//
//     TNewTreeFile file(target);
//     if (!file.Begin()) ... file.Error()
//     ... write the tree into file.TemporaryPath() and close it ...
//     if (!file.Commit()) ... file.Error()
//
// Every writer of a new tree uses it: GEDCOM import, Save As, the new-tree dialog and the command line.
// The temporary file is hidden and never ends in ".vrd", so it is never offered as a tree. A writer
// holds a lock on it while it lives; temporary files nobody holds any more are leftovers of killed runs
// and are removed by the next writer into the same folder.
class TNewTreeFile {
public:
    enum class Mode {
        NewFile,     // the target must not exist; a file that appears meanwhile is never replaced
        ReplaceFile, // an existing target is replaced in one step (Save As over a file the user chose)
    };

    explicit TNewTreeFile(const QString& target, Mode mode = Mode::NewFile);
    // Removes the temporary file unless it was committed.
    ~TNewTreeFile();
    TNewTreeFile(const TNewTreeFile&) = delete;
    TNewTreeFile& operator=(const TNewTreeFile&) = delete;

    // Clears leftovers of killed runs from the target's folder (which must exist) and creates an empty
    // temporary file there; false with Error() set.
    bool Begin();
    // The file to write the tree into; empty before Begin.
    QString TemporaryPath() const { return temporary_; }
    QString TargetPath() const { return target_; }

    // Flushes the finished temporary file, gives it the target's name and flushes the folder. Whoever
    // wrote the file has closed it. On failure the temporary file is removed and nothing is at the target
    // that was not there before.
    bool Commit();
    // Gives up: removes the temporary file.
    void Discard();

    // Why Begin or Commit failed: translated where it is ours, else the system's words.
    QString Error() const { return error_; }

private:
    void Fail(const QString& reason);

    QString target_;
    Mode mode_;
    QString temporary_;
    int fd_ = -1;
    QString error_;
};

// True for the name of a temporary tree file of TNewTreeFile.
bool IsTemporaryTreeFile(const QString& path);

// Removes the temporary tree files in the folder that no running writer holds (with the engine's side
// files beside them); the number removed.
int RemoveStaleTemporaryTrees(const QString& folder);

// Flushes a file's or folder's entry and contents to disk; false when the system refuses.
bool SyncToDisk(const QString& path);

} // namespace verdan
