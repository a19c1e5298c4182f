#pragma once

#include <QAction>
#include <QList>
#include <QObject>

class QMenu;
class QMenuBar;

namespace verdan {

// The main window's menu bar. An entry works only once a handler is attached to it (Attach); an entry
// without one belongs to a window the program does not have yet and stays disabled, so no click is
// ever lost. Entries that need an open tree are enabled only while one is.
class TMainMenu : public QObject {
    Q_OBJECT

public:
    explicit TMainMenu(QMenuBar* bar);

    // Runs `handler` when the entry is chosen and makes the entry available.
    template <typename Handler> void Attach(QAction* entry, Handler handler) {
        connect(entry, &QAction::triggered, this, handler);
        available_ << entry;
    }
    bool IsAvailable(QAction* entry) const { return available_.contains(entry); }
    bool NeedsTree(QAction* entry) const { return needTree_.contains(entry); }
    // Entries that need an open tree follow treeOpen; those that change the tree also need it writable.
    void UpdateStates(bool treeOpen, bool writable = true);
    void TranslateTexts();

    QMenu* mnuFile;
    QAction* mnuNew;
    QAction* mnuOpenTreeDb;
    QAction* mnuSaveAs;
    QAction* mnuExportGedcom;
    QAction* mnuExportWebsite;
    QAction* mnuRescueTree;
    QAction* mnuProperties;
    QAction* mnuStartPage;
    QAction* mnuExit;

    QMenu* mnuEdit;
    QAction* mnuUndo;
    QAction* mnuRedo;
    QAction* mnuGeneralSearch;

    QMenu* mnuView;
    QAction* mnuMarriages;
    QAction* mnuChildless;
    QAction* mnuBreastfeeding;
    QAction* mnuNotes;
    QAction* mnuSummaries;
    QAction* mnuBookmarks;
    QAction* mnuFamilyChart;
    QAction* mnuPictures;
    QAction* mnuTreeWindow;
    QAction* mnuDataCard;
    QAction* mnuQuickInfo;

    QMenu* mnuTools;
    QMenu* mnuMaintenance;
    QAction* mnuParentalContradiction;
    QAction* mnuEntryTransactions;
    QAction* mnuDataFileMaintenance;
    QAction* mnuOptions;
    QAction* mnuImportGedcom;

    QMenu* mnuReports;
    QAction* mnuBrowseReports;

    QMenu* mnuHelp;
    QAction* mnuCheckUpdates;
    QAction* mnuGettingStarted;
    QAction* mnuKeysGuide;
    QAction* mnuDataEntryBasics;
    QAction* mnuMailingList;
    QAction* mnuAbout;

private:
    QAction* Add(QMenu* menu, bool needsTree);

    QList<QAction*> entries_;
    QList<QAction*> needTree_;
    QList<QAction*> needWritable_;
    QList<QAction*> available_;
};

} // namespace verdan
