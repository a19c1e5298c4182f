#pragma once

#include <QObject>
#include <QString>

namespace verdan {

class Tdm;

// The record of every change to the open tree, for undo and redo. Triggers of the connection (temporary,
// never part of the tree file) write, for each row inserted, changed or deleted, the statement that
// reverses it into a temporary table. Changes are grouped into steps: everything between BeginUndoStep
// and the matching EndUndoStep is one step; a write outside any step becomes a step of its own with each
// transaction, so nothing escapes the record. The record lives while the tree is open.
//
//     UndoStep step(StepText("Delete «%*»", {id}), id);
//     DeletePerson(id);

// Steps kept; the oldest go beyond it.
constexpr int kUndoStepLimit = 1000;

// Notifications for windows that show the tree: they reload after a replay.
class TUndoLog : public QObject {
    Q_OBJECT
public:
    static TUndoLog& Instance();

signals:
    // The steps changed: a step was added, undone, redone or the record was cleared.
    void Changed();
    // An undo (undone) or redo changed the tree; personId is the person the step touched, or empty.
    void Replayed(const QString& personId, bool undone);
    // The record was emptied by a change that cannot be undone.
    void Cleared();
};

// Starts the record on the connection (OpenTreeFile does, once the file is upgraded); false when the
// triggers cannot be made, and the tree then has no undo.
bool StartUndoLog(Tdm& dm);
// Ends the record and forgets every step; the triggers go, so the tables can be altered again.
void StopUndoLog();
bool UndoLogActive();
// Forgets every step, as after a change that cannot be undone; true when there were steps to forget.
// Unless announced, Cleared is not sent (the steps were no change of the user's).
bool ClearUndoLog(bool announce = true);

// Steps nest; only the outermost one names the step. personId is the person the step is about (selected
// after an undo or redo); without one, the first person the step wrote is taken.
void BeginUndoStep(const QString& description, const QString& personId = QString());
void EndUndoStep();

// A step's name: the translated pattern with the name of each person given in place of its "%*", in
// order. Called before the step writes, so a rename or a deletion is named after the person as they were.
QString StepText(const char* pattern, const QStringList& personIds = {});

class UndoStep {
public:
    explicit UndoStep(const QString& description, const QString& personId = QString()) {
        BeginUndoStep(description, personId);
    }
    ~UndoStep() { EndUndoStep(); }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;
};

bool CanUndo();
bool CanRedo();
int UndoCount();
int RedoCount();
// Descriptions of the steps Undo and Redo would replay; empty for an unnamed step or none.
QString UndoDescription();
QString RedoDescription();
// The person the step Undo or Redo would replay is about (as Replayed will name him); empty for none.
QString UndoPersonId();
QString RedoPersonId();

// Reverses the last step (or replays the last undone one) in one transaction: on a failure nothing of it
// is applied, a message says why and the steps stay as they were.
bool Undo();
bool Redo();

} // namespace verdan
