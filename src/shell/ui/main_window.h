#pragma once

#include "shell/ui/damaged_tree_dialog.h"
#include "text/keyboard_layout.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>

class QLabel;
class QSplitter;
class QStackedWidget;

namespace verdan {

// The open dialog's filter of tree files.
QString TreeFileFilter();

struct TTreeProperty;
class TFavouritesStrip;
class TMainMenu;
class TNameSearchBox;
class TframDataSheet;
class TfrmTreeWindow;
class Tfrm_NewTree;
class Tfrm_Options;
class Tfrm_Start_Page;
class TframTree;
class TframWelcome;
class TfrmHelp;
class TfrmReports;
class TfrmImageBrows;
class TfrmQuickInfo;
class TfrmQuiqkData;
class TfrmProperty;
class TfrmNotes;
class TfrmBriefing;
class TfrmBookmark;
class TfrmLastUpdated;
class Tfrm_Help_Add;
class TfrmFind;
class TfrmRelationM;
class TfrmSpousNoChild;
class TfrmRelationB;
class TfrmParenrContradiction;
class TfrmPersonInfo;

// The program's main window: the open tree's outline in the left column, the person's data on the right,
// the favourites strip at the window's edge, the number of persons in the top bar, the tree file in the
// status line and the main menu through which every other window is reached. It owns opening, copying
// and closing trees in the user interface.
class TfrmFamilyMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmFamilyMain(QWidget* parent = nullptr);

    // Closes the current tree and opens `path`; a new tree (isNew) opens at its first node.
    // props comes back with the tree's properties. True only when that tree is open afterwards: a blank
    // path or a missing file changes nothing, a file that cannot be opened leaves no tree open.
    bool LoadTree(const QString& path, bool isNew, TTreeProperty& props);
    bool LoadTree(const QString& path);
    // Takes the current tree out of the window: the data sheet's pending edits and the shown person are
    // written to the tree first, then it is recorded in the recent list and its file closed, which lets
    // other programs at it again.
    void CloseCurrentTree();
    // File > Open: true when a tree was chosen and opened.
    bool OpenTreeDialog();
    // File > New: the new-tree dialog, then the tree is created and opened; true when it is open.
    bool NewTreeCommand();
    // File > Save As: writes a copy of the open tree under a new name while it stays open, then works on
    // the copy. The open file itself is refused as target; when the copy fails the original stays open.
    bool SaveTreeAs();
    void ShowStartPage();
    void ShowOptions();
    // Tools > Import GEDCOM File: reads a chosen GEDCOM file into a new tree and opens it.
    bool ImportGedcom();
    // File > Export GEDCOM File: writes the open tree as a GEDCOM file under a chosen name.
    bool ExportGedcom();
    // File > Export to Web Page: writes the open tree as a static website into a chosen folder.
    bool ExportWebsite();
    // The sample family of the program: brought into the folder of new trees the first time, opened there.
    bool OpenSampleFamily();
    // Tools > Data File Maintainance: compacts the open tree file after a check of every page; a tree
    // found damaged is left as it is and turns read-only.
    bool MaintainTree();
    // File > Rescue a Damaged Tree: a tree file chosen, rescued into a new tree beside it, which opens.
    bool RescueDamagedTree();
    // Rescues the damaged tree into a new one beside it and opens that; false when stopped or failed.
    bool RescueTreeAndOpen(const QString& damaged);
    // Help pages in the program's help folder, opened with the desktop's viewer, or in the program's help
    // window when the desktop has none.
    bool OpenHelp(const QString& page);
    TfrmHelp* HelpWindow() const { return help_; }
    void ShowAbout();
    // Closes every visible window of the program except this one; false when one stayed open (a chart
    // whose changes the user did not want to save or lose).
    bool CloseOtherWindows();
    // After the windows exist: the tree the command line names (a path or a file:// address), else the
    // last tree when the options say so, else the start page when there are recent trees.
    void StartUp(const QString& argument);
    // The left column and the menu entries follow whether a tree is open.
    void UpdateCommandStates();
    void RefreshPersonCount();
    // Reloads the favourites strip from the open tree.
    void FillFavourites();
    // Selects the person in the main outline, which shows it in the data sheet; false when not found.
    bool ShowPersonInMainTree(const QString& personId);
    // A new tree window at the person (blank: none); null when no tree is open.
    TfrmTreeWindow* OpenTreeWindow(const QString& personId);
    // Ctrl+D on an outline person: the date calculator, whose OK writes the estimated dates to the person.
    void EstimateDates(const QString& personId);
    // Reads the person into the data sheet again when it is the one shown there.
    void RefreshDataSheet(const QString& personId);

    // The left column with the name search above the outline, and the data sheet on the right.
    QWidget* TreeHost() const { return pnl_; }
    TframTree* TreeFrame() const { return TreeFrame_; }
    TNameSearchBox* SearchBox() const { return search_; }
    TframDataSheet* DataSheet() const { return framDataSheet_; }

    TMainMenu* Menu() const { return menu_; }
    TframWelcome* WelcomePage() const { return welcome_; }
    // The welcome page while no tree is open, the outline and data sheet while one is.
    bool ShowsWelcomePage() const;
    TFavouritesStrip* Favourites() const { return favourites_; }
    Tfrm_Start_Page* StartPage() const { return startPage_; }
    Tfrm_NewTree* NewTreeDialog() const { return newTreeDialog_; }
    Tfrm_Options* OptionsDialog() const { return optionsDialog_; }
    // The reports window, made when first asked for (Reports ▸ Browse Reports).
    TfrmReports* ReportsWindow();
    // The picture browser, made when first asked for (View ▸ Pictures, the sheet's pictures button).
    TfrmImageBrows* PictureBrowser();
    void ShowPictureBrowser(const QString& personId);
    // The data card at the person, shown (View ▸ Data Card, the outline's "Data Card").
    void ShowDataCard(const QString& personId);
    // The quick info card shown without taking the focus, or hidden when it is shown.
    void ToggleQuickInfo();
    TfrmQuickInfo* QuickInfoCard() const { return quickInfo_; }

    // The windows of the whole tree (main_window_windows.cpp), each made when first asked for.
    // File > Properties: the tree properties modally, written back when confirmed; a failed write is
    // reported and leaves the tree's properties as they were. True when they were written.
    bool ShowTreeProperties();
    // Tools > Parental Contradiction: the list, or a message when there is none.
    void ShowParentalContradictions();
    void ShowPersonStatistics(const QString& personId, bool includeFemale);
    // Help > Data Entry Basics, and after a new tree.
    void ShowDataEntryHelp();
    TfrmProperty* PropertiesDialog();
    TfrmNotes* NotesWindow();
    TfrmBriefing* BriefingWindow();
    TfrmBookmark* BookmarksWindow();
    TfrmLastUpdated* LastUpdatedWindow();
    Tfrm_Help_Add* DataEntryHelp();
    TfrmFind* FindWindow();
    TfrmRelationM* MarriagesWindow();
    TfrmSpousNoChild* ChildlessWindow();
    TfrmRelationB* BreastfeedingWindow();
    TfrmParenrContradiction* ContradictionWindow();
    TfrmPersonInfo* StatisticsWindow();
    // Shows a window of the whole tree without blocking, in front.
    static void Present(QWidget* window);
    TfrmQuiqkData* DataCard() const { return dataCard_; }
    QLabel* TotalLabel() const { return lbl_Total_; }
    QLabel* StatusPathLabel() const { return lblStatusPath_; }
    QTimer& PersonCountTimer() { return Timer1_; }

    // Asks for a file to open (filter, starting folder); empty when cancelled. Tests replace them.
    std::function<QString(const QString& filter, const QString& folder)> ChooseTreeFile;
    std::function<QString(const QString& filter, const QString& folder)> ChooseGedcomFile;
    // Asks for the name of a tree copy (proposed path, filter); empty when cancelled. Tests replace it.
    std::function<QString(const QString& proposed, const QString& filter)> ChooseSaveFile;
    // Asks what to do with a damaged tree (path, the engine's words): rescue a copy, read it, or leave it.
    // Tests replace it.
    std::function<TDamageChoice(const QString& path, const QString& reason)> AskDamagedTree;

signals:
    // A tree was opened and its outline filled.
    void TreeOpened();
    // The open tree is about to close; everything showing its persons must let go of them.
    void TreeClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Writes the data sheet's edits before a key or click reaches an outline, so that its commands
    // work on what the user typed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void TranslateTexts();
    void UpdateCaption();
    void AfterTreeOpened();
    // Writes what the user typed about the shown person and remembers that person in the tree.
    void SaveShownPerson();
    // Shows a person's node again after the data sheet wrote the person.
    void RefreshNodeFromSheet(const QString& personId);
    // Commands of this outline that change the shown person make the data sheet read it again.
    void WatchOutline(TframTree* outline);
    // The menu entries and outline commands of the windows of the whole tree.
    void AttachTreeWindows();
    // Edit > Undo and Redo (main_window_undo.cpp).
    void AttachUndo();
    void UpdateUndoEntries();
    void ReplayStep(bool undo);
    // The outline at the step's person (or, when he is gone, at his father or mother), then every open
    // window of the tree read again.
    void AfterReplay(const QString& personId);
    void ReloadOpenWindows(const QString& selected);
    void WatchOutlineWindows(TframTree* outline);
    // What a window listing persons asks for: tree windows, the main outline, the data card.
    template <typename Window> void ServePersonWishes(Window* window);
    // An outline command changed the shown person: the sheet reads it again once the command is done.
    void ScheduleSheetReload();
    void Timer1Timer();
    // The keyboard layout of the interface language, where the desktop offers it.
    void UseInterfaceKeyboard();
    // Damage found in the open tree: it is read-only already; the user is asked what to do (ask).
    void WatchDamage();
    void TreeFoundDamaged(const QString& reason, bool ask);

    QWidget* Panel1_;
    QLabel* lbl_Total_;
    QSplitter* splitter_;
    QWidget* pnl_;
    QSplitter* findSplitter_;
    TNameSearchBox* search_;
    TframTree* TreeFrame_;
    TframDataSheet* framDataSheet_;
    QTimer sheetReload_;
    bool sheetWriting_ = false;
    bool askingAboutDamage_ = false;
    QStringList replayParents_; // of the step's person, while a step is replayed
    QWidget* pnlHost_;
    QWidget* workArea_;
    TframWelcome* welcome_;
    QStackedWidget* pages_;
    TfrmHelp* help_ = nullptr;
    TFavouritesStrip* favourites_;
    QLabel* lblStatusPath_;
    TMainMenu* menu_;
    QTimer Timer1_;
    // The layout the user had before the window was first shown, given back when it closes.
    TKeyboardLayout keyboard_;
    QString keyboardBefore_;
    Tfrm_Start_Page* startPage_;
    Tfrm_NewTree* newTreeDialog_;
    TfrmReports* reports_ = nullptr;
    TfrmImageBrows* pictureBrowser_ = nullptr;
    TfrmQuickInfo* quickInfo_;
    TfrmQuiqkData* dataCard_;
    TfrmProperty* properties_ = nullptr;
    TfrmNotes* notes_ = nullptr;
    TfrmBriefing* briefing_ = nullptr;
    TfrmBookmark* bookmarks_ = nullptr;
    TfrmLastUpdated* lastUpdated_ = nullptr;
    Tfrm_Help_Add* helpAdd_ = nullptr;
    TfrmFind* find_ = nullptr;
    TfrmRelationM* marriages_ = nullptr;
    TfrmSpousNoChild* childless_ = nullptr;
    TfrmRelationB* breastfeeding_ = nullptr;
    TfrmParenrContradiction* contradictions_ = nullptr;
    TfrmPersonInfo* statistics_ = nullptr;
    Tfrm_Options* optionsDialog_;
};

} // namespace verdan
