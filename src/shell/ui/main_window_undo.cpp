#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/image_browser.h"
#include "datasheet/ui/quick_data_card.h"
#include "datasheet/ui/quick_info_card.h"
#include "main_window.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/kinship_window.h"
#include "relations/ui/person_list_window.h"
#include "relations/ui/person_path_tree.h"
#include "relations/ui/statistics_window.h"
#include "reports/ui/name_search_box.h"
#include "reports/ui/reports_window.h"
#include "reports/ui/zel_grid.h"
#include "shell/ui/bookmarks_window.h"
#include "shell/ui/favourites_strip.h"
#include "shell/ui/last_updated_window.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/tree_window.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/localisation.h"

#include <QStatusBar>

// The main window's Edit > Undo and Redo: the entries name the step they replay, and every window showing
// the tree shows it as the replay left it.

namespace verdan {

namespace {

// Where the outline goes when the step's person is gone after the replay (a redone delete, an undone
// add): his father line upwards, then his mother. The group outside the tree is no place to land.
QStringList ParentsOf(const QString& personId) {
    QStringList parents;
    if (personId.isEmpty() || !PersonExists(personId))
        return parents;
    const QString outside = GetGlobalParentId();
    // Bounded, so that a father line that loops ends all the same.
    for (QString id = GetFatherId(personId).trimmed(); parents.size() < 100; id = GetFatherId(id).trimmed()) {
        if (id.isEmpty() || id == outside || parents.contains(id) || !PersonExists(id))
            break;
        parents << id;
    }
    const QString mother = GetMotherId(personId).trimmed();
    if (!mother.isEmpty() && mother != outside && PersonExists(mother))
        parents << mother;
    return parents;
}

QString Existing(const QString& personId) {
    return !personId.isEmpty() && PersonExists(personId) ? personId : QString();
}

} // namespace

void TfrmFamilyMain::AttachUndo() {
    TMainMenu& m = *menu_;
    connect(m.mnuUndo, &QAction::triggered, this, [this] { ReplayStep(true); });
    connect(m.mnuRedo, &QAction::triggered, this, [this] { ReplayStep(false); });
    TUndoLog& log = TUndoLog::Instance();
    connect(&log, &TUndoLog::Changed, this, &TfrmFamilyMain::UpdateUndoEntries);
    // Every change to the tree is a step, so the person count follows adds and deletes at once.
    connect(&log, &TUndoLog::Changed, this, &TfrmFamilyMain::RefreshPersonCount);
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
    // Replaying a step writes: a tree that takes no changes has none to replay.
    m.mnuUndo->setEnabled(IsTreeOpen() && !IsTreeReadOnly() && CanUndo());
    m.mnuRedo->setEnabled(IsTreeOpen() && !IsTreeReadOnly() && CanRedo());
}

void TfrmFamilyMain::ReplayStep(bool undo) {
    if (!IsTreeOpen())
        return;
    // Typing not yet written becomes a step of its own first (named by the sheet), so an undo never loses it.
    if (framDataSheet_->HasPendingEdits())
        framDataSheet_->SavePendingEdits();
    replayParents_ = ParentsOf(undo ? UndoPersonId() : RedoPersonId());
    if (undo)
        Undo();
    else
        Redo();
    replayParents_.clear();
    UpdateUndoEntries();
}

void TfrmFamilyMain::AfterReplay(const QString& personId) {
    const QString shown = TreeFrame_->CurrentPersonId();
    TreeFrame_->ReloadTree(true);
    QString target = Existing(personId);
    for (const QString& parent : std::as_const(replayParents_))
        if (target.isEmpty())
            target = Existing(parent);
    // Nobody of the step is left: the person shown stays, else the outline's top (selected by the reload).
    if (target.isEmpty())
        target = Existing(shown);
    if (!target.isEmpty())
        TreeFrame_->LocatePerson(target);
    if (framDataSheet_->CurrentPersonId() == TreeFrame_->CurrentPersonId())
        framDataSheet_->ReloadPerson();
    else
        framDataSheet_->LoadPerson(TreeFrame_->CurrentPersonId());
    ReloadOpenWindows(TreeFrame_->CurrentPersonId());
}

void TfrmFamilyMain::ReloadOpenWindows(const QString& selected) {
    RefreshPersonCount();
    FillFavourites();
    search_->RefreshResults();
    // Hidden windows read the tree when they are shown again; only those on screen read it now.
    for (TfrmTreeWindow* window : findChildren<TfrmTreeWindow*>()) {
        if (!window->isVisible())
            continue;
        TframTree* outline = window->TreeFrame();
        const QString shown = outline->CurrentPersonId();
        outline->ReloadTree(true);
        if (!Existing(shown).isEmpty())
            outline->LocatePerson(shown);
        window->SearchBox()->RefreshResults();
    }
    for (TfrmPersonList* list : findChildren<TfrmPersonList*>())
        if (list->isVisible())
            list->Refresh();
    if (bookmarks_ && bookmarks_->isVisible())
        bookmarks_->Refresh();
    if (lastUpdated_ && lastUpdated_->isVisible())
        lastUpdated_->Fill();
    for (TfrmKinship* kinship : findChildren<TfrmKinship*>())
        if (kinship->isVisible())
            kinship->Refresh();
    for (TfrmPersonPathTree* path : findChildren<TfrmPersonPathTree*>())
        if (path->isVisible()) {
            const QString shown = Existing(path->PersonId());
            path->ShowPath(shown.isEmpty() ? selected : shown);
        }
    if (statistics_ && statistics_->isVisible()) {
        if (Existing(statistics_->PersonId()).isEmpty())
            statistics_->FollowPerson(selected);
        else
            statistics_->Calculate();
    }
    if (quickInfo_->isVisible()) {
        const QString shown = Existing(quickInfo_->PersonId());
        quickInfo_->RefreshQuickInfo(shown.isEmpty() ? selected : shown);
    }
    // The card's own unsaved typing is the user's: it is not thrown away for a reload.
    if (dataCard_->isVisible() && !dataCard_->HasPendingEdits())
        dataCard_->LoadQuickData(Existing(dataCard_->PersonId()));
    if (pictureBrowser_ && pictureBrowser_->isVisible()) {
        pictureBrowser_->FillPersons();
        const QString shown = Existing(pictureBrowser_->CurrentPersonId());
        pictureBrowser_->ChoosePerson(
            shown.isEmpty() ? pictureBrowser_->PersonsGrid()->Cells(TfrmImageBrows::kIdCol, 1) : shown);
    }
    if (reports_ && reports_->isVisible())
        reports_->ReadReportAgain();
}

} // namespace verdan
