#include "main_menu.h"

#include "text/localisation.h"
#include "text/ui/icons.h"
#include "text/ui/menu_captions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <utility>

namespace verdan {

TMainMenu::TMainMenu(QMenuBar* bar) : QObject(bar) {
    mnuFile = bar->addMenu(QString());
    mnuNew = Add(mnuFile, false);
    mnuNew->setShortcut(QKeySequence::New);
    mnuOpenTreeDb = Add(mnuFile, false);
    mnuOpenTreeDb->setShortcut(QKeySequence::Open);
    mnuSaveAs = Add(mnuFile, true);
    mnuExportGedcom = Add(mnuFile, true);
    mnuExportWebsite = Add(mnuFile, true);
    mnuRescueTree = Add(mnuFile, false);
    mnuProperties = Add(mnuFile, true);
    mnuFile->addSeparator();
    mnuStartPage = Add(mnuFile, false);
    mnuFile->addSeparator();
    mnuExit = Add(mnuFile, false);

    mnuEdit = bar->addMenu(QString());
    // Their texts and states follow the steps recorded (TfrmFamilyMain::UpdateUndoEntries).
    mnuUndo = mnuEdit->addAction(QString());
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo = mnuEdit->addAction(QString());
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    mnuEdit->addSeparator();
    mnuGeneralSearch = Add(mnuEdit, true);

    mnuView = bar->addMenu(QString());
    mnuMarriages = Add(mnuView, true);
    mnuChildless = Add(mnuView, true);
    mnuBreastfeeding = Add(mnuView, true);
    mnuView->addSeparator();
    mnuNotes = Add(mnuView, true);
    mnuSummaries = Add(mnuView, true);
    mnuBookmarks = Add(mnuView, true);
    mnuView->addSeparator();
    mnuFamilyChart = Add(mnuView, true);
    mnuPictures = Add(mnuView, true);
    mnuTreeWindow = Add(mnuView, true);
    mnuTreeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuView->addSeparator();
    mnuDataCard = Add(mnuView, true);
    mnuQuickInfo = Add(mnuView, true);

    mnuTools = bar->addMenu(QString());
    mnuMaintenance = mnuTools->addMenu(QString());
    mnuParentalContradiction = Add(mnuMaintenance, true);
    mnuEntryTransactions = Add(mnuMaintenance, true);
    mnuDataFileMaintenance = Add(mnuMaintenance, true);
    mnuTools->addSeparator();
    mnuOptions = Add(mnuTools, false);
    mnuImportGedcom = Add(mnuTools, false);
    needWritable_ << mnuProperties << mnuDataFileMaintenance;

    mnuReports = bar->addMenu(QString());
    mnuBrowseReports = Add(mnuReports, true);

    mnuHelp = bar->addMenu(QString());
    mnuCheckUpdates = Add(mnuHelp, false);
    mnuHelp->addSeparator();
    mnuGettingStarted = Add(mnuHelp, false);
    mnuGettingStarted->setShortcut(QKeySequence::HelpContents);
    mnuKeysGuide = Add(mnuHelp, false);
    mnuDataEntryBasics = Add(mnuHelp, false);
    mnuHelp->addSeparator();
    mnuMailingList = Add(mnuHelp, false);
    mnuAbout = Add(mnuHelp, false);

    // Pictures where desktop programs show them: the commands of files, search, windows, settings, help.
    const std::pair<QAction*, const char16_t*> icons[] = {
        {mnuNew, u"document-new"},
        {mnuOpenTreeDb, u"document-open"},
        {mnuSaveAs, u"document-save-as"},
        {mnuProperties, u"document-properties"},
        {mnuStartPage, u"document-open-recent"},
        {mnuExit, u"application-exit"},
        {mnuGeneralSearch, u"edit-find"},
        {mnuNotes, u"accessories-text-editor"},
        {mnuBookmarks, u"user-bookmarks"},
        {mnuFamilyChart, u"family-chart"},
        {mnuPictures, u"image-x-generic"},
        {mnuTreeWindow, u"window-new"},
        {mnuDataCard, u"x-office-address-book"},
        {mnuQuickInfo, u"user-info"},
        {mnuDataFileMaintenance, u"system-file-manager"},
        {mnuOptions, u"preferences-system"},
        {mnuImportGedcom, u"document-import"},
        {mnuExportGedcom, u"document-export"},
        {mnuExportWebsite, u"document-export"},
        {mnuRescueTree, u"dialog-warning"},
        {mnuBrowseReports, u"x-office-spreadsheet"},
        {mnuCheckUpdates, u"software-update-available"},
        {mnuGettingStarted, u"help-contents"},
        {mnuKeysGuide, u"preferences-desktop-keyboard-shortcuts"},
        {mnuMailingList, u"mail-unread"},
        {mnuAbout, u"help-about"},
    };
    for (const auto& [entry, icon] : icons)
        entry->setIcon(Icon(icon));

    TranslateTexts();
    UpdateStates(false);
}

QAction* TMainMenu::Add(QMenu* menu, bool needsTree) {
    QAction* entry = menu->addAction(QString());
    entries_ << entry;
    if (needsTree)
        needTree_ << entry;
    return entry;
}

void TMainMenu::UpdateStates(bool treeOpen, bool writable) {
    for (QAction* entry : entries_)
        entry->setEnabled(available_.contains(entry) && (treeOpen || !needTree_.contains(entry)) &&
                          (writable || !needWritable_.contains(entry)));
    mnuMaintenance->setEnabled(treeOpen);
}

void TMainMenu::TranslateTexts() {
    mnuFile->setTitle(MenuCaption("&File"));
    mnuNew->setText(MenuOpens("&New"));
    mnuOpenTreeDb->setText(MenuOpens("&Open"));
    mnuSaveAs->setText(MenuOpens("Save &As"));
    mnuProperties->setText(MenuOpens("Properties"));
    mnuStartPage->setText(MenuCaption("Start Page"));
    mnuExit->setText(MenuCaption("E&xit"));

    mnuEdit->setTitle(MenuCaption("&Edit"));
    mnuGeneralSearch->setText(MenuOpens("General Search"));

    mnuView->setTitle(MenuCaption("&View"));
    mnuMarriages->setText(MenuCaption("Marriage Relationships"));
    mnuChildless->setText(MenuCaption("Childless Marriages"));
    mnuBreastfeeding->setText(MenuCaption("Breastfeeding Relationships"));
    mnuNotes->setText(MenuCaption("Notes"));
    mnuSummaries->setText(MenuCaption("Summaries"));
    mnuBookmarks->setText(MenuCaption("Bookmarks"));
    mnuFamilyChart->setText(MenuCaption("Family Tree Chart"));
    mnuPictures->setText(MenuCaption("Pictures"));
    mnuTreeWindow->setText(MenuCaption("Tree Window"));
    mnuDataCard->setText(MenuCaption("Data Card"));
    mnuQuickInfo->setText(MenuCaption("Quick Info Card"));

    mnuTools->setTitle(MenuCaption("&Tools"));
    mnuMaintenance->setTitle(MenuCaption("Data Integrity and Maintenance"));
    mnuParentalContradiction->setText(MenuCaption("Parental Contradiction"));
    mnuEntryTransactions->setText(MenuCaption("Entry Transactions"));
    mnuDataFileMaintenance->setText(MenuCaption("Data File Maintainance"));
    mnuOptions->setText(MenuOpens("Options"));
    mnuImportGedcom->setText(MenuOpens("Import GEDCOM File"));
    mnuExportGedcom->setText(MenuOpens("Export GEDCOM File"));
    mnuExportWebsite->setText(MenuOpens("Export to Web Page"));
    mnuRescueTree->setText(MenuOpens("Rescue a Damaged Tree"));

    mnuReports->setTitle(MenuCaption("&Reports"));
    mnuBrowseReports->setText(MenuOpens("Browse Reports"));

    mnuHelp->setTitle(MenuCaption("&Help"));
    mnuCheckUpdates->setText(MenuOpens("Check for Updates"));
    mnuGettingStarted->setText(MenuCaption("Starting Using Verdan"));
    mnuKeysGuide->setText(MenuCaption("Short-cut Keys Guide"));
    mnuDataEntryBasics->setText(MenuCaption("Data Entry Basics"));
    mnuMailingList->setText(MenuCaption("Mailing List"));
    mnuAbout->setText(MenuCaption("About Verdan"));
    GiveArabicMnemonics(qobject_cast<QMenuBar*>(parent()));
}

} // namespace verdan
