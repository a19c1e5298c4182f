#include "datasheet/ui/data_sheet.h"
#include "main_window.h"
#include "navigator/ui/tree_frame.h"
#include "shell/ui/main_menu.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/localisation.h"

#include <QStatusBar>

// The main window's Edit > Undo and Redo: the entries name the step they replay, and the outline and the
// data sheet show the tree as the replay left it.

namespace verdan {

void TfrmFamilyMain::AttachUndo() {
    TMainMenu& m = *menu_;
    connect(m.mnuUndo, &QAction::triggered, this, [this] { ReplayStep(true); });
    connect(m.mnuRedo, &QAction::triggered, this, [this] { ReplayStep(false); });
    TUndoLog& log = TUndoLog::Instance();
    connect(&log, &TUndoLog::Changed, this, &TfrmFamilyMain::UpdateUndoEntries);
    connect(&log, &TUndoLog::Replayed, this, [this](const QString& personId) { AfterReplay(personId); });
    connect(&log, &TUndoLog::Cleared, this, [this] {
        statusBar()->showMessage(
            Translate(QStringLiteral("The changes made before can no longer be undone.")));
    });
    UpdateUndoEntries();
}

void TfrmFamilyMain::UpdateUndoEntries() {
    TMainMenu& m = *menu_;
    const auto text = [](const char* plain, const char* named, const QString& description) {
        return description.isEmpty() ? Translate(QString::fromLatin1(plain))
                                     : FillPattern(Translate(QString::fromLatin1(named)), {description});
    };
    m.mnuUndo->setText(text("&Undo", "&Undo %*", UndoDescription()));
    m.mnuRedo->setText(text("&Redo", "&Redo %*", RedoDescription()));
    m.mnuUndo->setEnabled(IsTreeOpen() && CanUndo());
    m.mnuRedo->setEnabled(IsTreeOpen() && CanRedo());
}

void TfrmFamilyMain::ReplayStep(bool undo) {
    if (!IsTreeOpen())
        return;
    // Typing not yet written becomes a step of its own first, so an undo never loses it.
    if (framDataSheet_->HasPendingEdits()) {
        const QString personId = framDataSheet_->CurrentPersonId();
        UndoStep step(FillPattern(Translate(QStringLiteral("Edit «%*»")), {GetPersonName(personId)}),
                      personId);
        framDataSheet_->SavePendingEdits();
    }
    if (undo)
        Undo();
    else
        Redo();
    UpdateUndoEntries();
}

void TfrmFamilyMain::AfterReplay(const QString& personId) {
    const QString shown = TreeFrame_->CurrentPersonId();
    TreeFrame_->ReloadTree(true);
    const QString target = !personId.isEmpty() && PersonExists(personId) ? personId : shown;
    if (!target.isEmpty() && PersonExists(target))
        TreeFrame_->LocatePerson(target);
    if (framDataSheet_->CurrentPersonId() == TreeFrame_->CurrentPersonId())
        framDataSheet_->ReloadPerson();
    else
        framDataSheet_->LoadPerson(TreeFrame_->CurrentPersonId());
}

} // namespace verdan
