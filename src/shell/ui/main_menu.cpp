#include "main_menu.h"

#include "text/localisation.h"
#include "text/ui/icons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <utility>

namespace verdan {

namespace {

// An entry that opens a further window carries ".." after its caption.
QString Opens(const char* text) {
    return Translate(QString::fromLatin1(text)) + QStringLiteral("..");
}

QString Caption(const char* text) {
    return Translate(QString::fromLatin1(text));
}

} // namespace

TMainMenu::TMainMenu(QMenuBar* bar) : QObject(bar) {
    mnuFile = bar->addMenu(QString());
    mnuNew = Add(mnuFile, false);
    mnuNew->setShortcut(QKeySequence::New);
    mnuOpenTreeDb = Add(mnuFile, false);
    mnuOpenTreeDb->setShortcut(QKeySequence::Open);
    mnuSaveAs = Add(mnuFile, true);
    mnuExportGedcom = Add(mnuFile, true);
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

void TMainMenu::UpdateStates(bool treeOpen) {
    for (QAction* entry : entries_)
        entry->setEnabled(available_.contains(entry) && (treeOpen || !needTree_.contains(entry)));
    mnuMaintenance->setEnabled(treeOpen);
}

void TMainMenu::TranslateTexts() {
    mnuFile->setTitle(Caption("&File"));
    mnuNew->setText(Opens("&New"));
    mnuOpenTreeDb->setText(Opens("&Open"));
    mnuSaveAs->setText(Opens("Save &As"));
    mnuProperties->setText(Opens("Properties"));
    mnuStartPage->setText(Caption("Start Page"));
    mnuExit->setText(Caption("E&xit"));

    mnuEdit->setTitle(Caption("&Edit"));
    mnuGeneralSearch->setText(Opens("General Search"));

    mnuView->setTitle(Caption("&View"));
    mnuMarriages->setText(Caption("Marriage Relationships"));
    mnuChildless->setText(Caption("Childless Marriages"));
    mnuBreastfeeding->setText(Caption("Breastfeeding Relationships"));
    mnuNotes->setText(Caption("Notes"));
    mnuSummaries->setText(Caption("Summaries"));
    mnuBookmarks->setText(Caption("Bookmarks"));
    mnuFamilyChart->setText(Caption("Family Tree Chart"));
    mnuPictures->setText(Caption("Pictures"));
    mnuTreeWindow->setText(Caption("Tree Window"));
    mnuDataCard->setText(Caption("Data Card"));
    mnuQuickInfo->setText(Caption("Quick Info Card"));

    mnuTools->setTitle(Caption("&Tools"));
    mnuMaintenance->setTitle(Caption("Data Integrity and Maintenance"));
    mnuParentalContradiction->setText(Caption("Parental Contradiction"));
    mnuEntryTransactions->setText(Caption("Entry Transactions"));
    mnuDataFileMaintenance->setText(Caption("Data File Maintainance"));
    mnuOptions->setText(Opens("Options"));
    mnuImportGedcom->setText(Opens("Import GEDCOM File"));
    mnuExportGedcom->setText(Opens("Export GEDCOM File"));

    mnuReports->setTitle(Caption("&Reports"));
    mnuBrowseReports->setText(Opens("Browse Reports"));

    mnuHelp->setTitle(Caption("&Help"));
    mnuCheckUpdates->setText(Opens("Check for Updates"));
    mnuGettingStarted->setText(Caption("Starting Using Verdan"));
    mnuKeysGuide->setText(Caption("Short-cut Keys Guide"));
    mnuDataEntryBasics->setText(Caption("Data Entry Basics"));
    mnuMailingList->setText(Caption("Mailing List"));
    mnuAbout->setText(Caption("About Verdan"));
}

} // namespace verdan
