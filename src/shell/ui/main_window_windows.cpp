#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/image_browser.h"
#include "datasheet/ui/quick_data_card.h"
#include "datasheet/ui/quick_info_card.h"
#include "main_window.h"
#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/breastfeeding_window.h"
#include "relations/ui/childless_window.h"
#include "relations/ui/find_window.h"
#include "relations/ui/marriages_window.h"
#include "relations/ui/parent_contradiction_window.h"
#include "relations/ui/statistics_window.h"
#include "reports/ui/reports_window.h"
#include "shell/recent_trees.h"
#include "shell/ui/bookmarks_window.h"
#include "shell/ui/help_add_card.h"
#include "shell/ui/last_updated_window.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/person_texts_window.h"
#include "shell/ui/tree_properties_dialog.h"
#include "shell/ui/tree_window.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "web/ui/web_export_dialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QStatusBar>
#include <QUrl>

// The main window's windows of the whole tree: properties, notes, summaries, bookmarks, entry
// transactions, the data-entry help, the lists of relations, checks, statistics and search, the reports,
// the picture browser and the cards.

namespace verdan {

void TfrmFamilyMain::AttachTreeWindows() {
    TMainMenu& m = *menu_;
    m.Attach(m.mnuProperties, [this] { ShowTreeProperties(); });
    m.Attach(m.mnuExportWebsite, [this] { ExportWebsite(); });
    m.Attach(m.mnuGeneralSearch, [this] { Present(FindWindow()); });
    m.Attach(m.mnuMarriages, [this] { Present(MarriagesWindow()); });
    m.Attach(m.mnuChildless, [this] { Present(ChildlessWindow()); });
    m.Attach(m.mnuBreastfeeding, [this] { Present(BreastfeedingWindow()); });
    m.Attach(m.mnuNotes, [this] { Present(NotesWindow()); });
    m.Attach(m.mnuSummaries, [this] { Present(BriefingWindow()); });
    m.Attach(m.mnuBookmarks, [this] { Present(BookmarksWindow()); });
    m.Attach(m.mnuParentalContradiction, [this] { ShowParentalContradictions(); });
    m.Attach(m.mnuEntryTransactions, [this] { Present(LastUpdatedWindow()); });
    m.Attach(m.mnuDataEntryBasics, [this] { ShowDataEntryHelp(); });
}

void TfrmFamilyMain::WatchOutlineWindows(TframTree* outline) {
    connect(outline, &TframTree::TreePropertiesWanted, this, [this] { ShowTreeProperties(); });
    connect(outline, &TframTree::TreeWindowWanted, this, &TfrmFamilyMain::OpenTreeWindow);
    connect(outline, &TframTree::StatisticsWanted, this, &TfrmFamilyMain::ShowPersonStatistics);
    // While the statistics are shown, they follow the person selected.
    connect(outline, &TframTree::PersonSelected, this, [this](const QString& id) {
        if (statistics_)
            statistics_->FollowPerson(id);
    });
}

void TfrmFamilyMain::Present(QWidget* window) {
    if (window->isVisible()) {
        // Shown already: read again, as a new showing would.
        window->hide();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

template <typename Window> void TfrmFamilyMain::ServePersonWishes(Window* window) {
    connect(window, &Window::TreeWindowWanted, this, &TfrmFamilyMain::OpenTreeWindow);
    connect(window, &Window::MainTreeWanted, this, [this](const QString& id) {
        if (ShowPersonInMainTree(id))
            activateWindow();
    });
    connect(window, &Window::DataCardWanted, this, &TfrmFamilyMain::ShowDataCard);
    // Windows of one tree go with it.
    connect(this, &TfrmFamilyMain::TreeClosed, window, &QWidget::close);
}

TfrmImageBrows* TfrmFamilyMain::PictureBrowser() {
    if (pictureBrowser_ == nullptr) {
        pictureBrowser_ = new TfrmImageBrows(this);
        connect(pictureBrowser_, &TfrmImageBrows::LocatePersonRequested, this,
                &TfrmFamilyMain::ShowPersonInMainTree);
        connect(pictureBrowser_, &TfrmImageBrows::PicturesChanged, this, &TfrmFamilyMain::RefreshDataSheet);
    }
    return pictureBrowser_;
}

void TfrmFamilyMain::ShowDataCard(const QString& personId) {
    if (!IsTreeOpen())
        return;
    dataCard_->LoadQuickData(personId);
    dataCard_->show();
    dataCard_->raise();
    dataCard_->activateWindow();
}

void TfrmFamilyMain::ToggleQuickInfo() {
    if (quickInfo_->isVisible()) {
        quickInfo_->hide();
        return;
    }
    quickInfo_->ShowCard();
    // The card never takes the keyboard: the main window keeps it.
    activateWindow();
    quickInfo_->RefreshQuickInfo(TreeFrame_->CurrentPersonId());
}

void TfrmFamilyMain::ShowPictureBrowser(const QString& personId) {
    if (IsTreeOpen())
        PictureBrowser()->ShowFor(personId);
}

TfrmReports* TfrmFamilyMain::ReportsWindow() {
    if (reports_ == nullptr)
        reports_ = new TfrmReports(this);
    return reports_;
}

bool TfrmFamilyMain::ExportWebsite() {
    if (!IsTreeOpen())
        return false;
    framDataSheet_->SavePendingEdits();
    TfrmWebExport dialog(this);
    dialog.Prepare(CurrentTreeName(), CurrentTreePath());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    TWebExportSummary summary;
    if (!ExportWebsiteWithProgress(this, dialog.Folder(), dialog.Options(), summary))
        return false;
    statusBar()->showMessage(WebExportSummaryText(summary).replace(u'\n', QStringLiteral("   ")), 8000);
    if (dialog.OpenAfterwards())
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(dialog.Folder()).filePath(QStringLiteral("index.html"))));
    return true;
}

bool TfrmFamilyMain::ShowTreeProperties() {
    if (!IsTreeOpen())
        return false;
    TTreeProperty props;
    props.WithDescription = true;
    ReadTreeProperties(props);
    Timer1_.stop();
    const bool confirmed = PropertiesDialog()->Edit(props);
    if (IsTreeOpen())
        Timer1_.start();
    if (!confirmed)
        return false;
    bool written = false;
    {
        TBusyCursor busy;
        UndoStep step(StepText("Change the tree properties"));
        written = WriteTreeProperties(props);
    }
    if (!written) {
        MsgError(Translate(QStringLiteral("The tree properties could not be written.")) + u'|' +
                 Translate(QStringLiteral("The tree keeps its name, owner and description.")));
        return false;
    }
    TreeFrame_->Model()->SetTreeCaption(props.TreeName);
    for (TfrmTreeWindow* window : findChildren<TfrmTreeWindow*>())
        window->TreeFrame()->Model()->SetTreeCaption(props.TreeName);
    RecordRecentTree(props);
    return true;
}

void TfrmFamilyMain::ShowParentalContradictions() {
    if (!IsTreeOpen())
        return;
    TextTable conflicts;
    {
        TBusyCursor busy;
        ListParentGenderConflicts(conflicts);
    }
    if (conflicts.size() <= 1) {
        MsgInfo(Translate(QStringLiteral("No contradiction found in data.")));
        return;
    }
    Present(ContradictionWindow());
}

void TfrmFamilyMain::ShowPersonStatistics(const QString& personId, bool includeFemale) {
    if (IsTreeOpen() && !personId.trimmed().isEmpty())
        StatisticsWindow()->ShowPersonStatistics(personId, includeFemale);
}

void TfrmFamilyMain::ShowDataEntryHelp() {
    DataEntryHelp()->ShowCard(this);
}

TfrmProperty* TfrmFamilyMain::PropertiesDialog() {
    if (!properties_)
        properties_ = new TfrmProperty(this);
    return properties_;
}

TfrmNotes* TfrmFamilyMain::NotesWindow() {
    if (!notes_) {
        notes_ = new TfrmNotes(this);
        ServePersonWishes(notes_);
    }
    return notes_;
}

TfrmBriefing* TfrmFamilyMain::BriefingWindow() {
    if (!briefing_) {
        briefing_ = new TfrmBriefing(this);
        ServePersonWishes(briefing_);
    }
    return briefing_;
}

TfrmBookmark* TfrmFamilyMain::BookmarksWindow() {
    if (!bookmarks_) {
        bookmarks_ = new TfrmBookmark(this);
        ServePersonWishes(bookmarks_);
    }
    return bookmarks_;
}

TfrmLastUpdated* TfrmFamilyMain::LastUpdatedWindow() {
    if (!lastUpdated_) {
        lastUpdated_ = new TfrmLastUpdated(this);
        connect(lastUpdated_, &TfrmLastUpdated::TreeWindowWanted, this, &TfrmFamilyMain::OpenTreeWindow);
        connect(this, &TfrmFamilyMain::TreeClosed, lastUpdated_, &QWidget::close);
    }
    return lastUpdated_;
}

Tfrm_Help_Add* TfrmFamilyMain::DataEntryHelp() {
    if (!helpAdd_)
        helpAdd_ = new Tfrm_Help_Add(this);
    return helpAdd_;
}

TfrmFind* TfrmFamilyMain::FindWindow() {
    if (!find_) {
        find_ = new TfrmFind(this);
        ServePersonWishes(find_);
    }
    return find_;
}

TfrmRelationM* TfrmFamilyMain::MarriagesWindow() {
    if (!marriages_) {
        marriages_ = new TfrmRelationM(this);
        ServePersonWishes(marriages_);
    }
    return marriages_;
}

TfrmSpousNoChild* TfrmFamilyMain::ChildlessWindow() {
    if (!childless_) {
        childless_ = new TfrmSpousNoChild(this);
        ServePersonWishes(childless_);
    }
    return childless_;
}

TfrmRelationB* TfrmFamilyMain::BreastfeedingWindow() {
    if (!breastfeeding_) {
        breastfeeding_ = new TfrmRelationB(this);
        ServePersonWishes(breastfeeding_);
    }
    return breastfeeding_;
}

TfrmParenrContradiction* TfrmFamilyMain::ContradictionWindow() {
    if (!contradictions_) {
        contradictions_ = new TfrmParenrContradiction(this);
        ServePersonWishes(contradictions_);
    }
    return contradictions_;
}

TfrmPersonInfo* TfrmFamilyMain::StatisticsWindow() {
    if (!statistics_) {
        statistics_ = new TfrmPersonInfo(this);
        connect(this, &TfrmFamilyMain::TreeClosed, statistics_, &QWidget::close);
    }
    return statistics_;
}

} // namespace verdan
