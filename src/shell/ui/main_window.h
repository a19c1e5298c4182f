#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QSplitter;

namespace verdan {

struct TTreeProperty;
class Tfrm_NewTree;
class Tfrm_Options;
class Tfrm_Start_Page;
class TframTree;

// The program's main window: the open tree's outline in the left column, the File and Tools menus, the
// number of persons in the top bar. It owns opening and closing trees in the user interface.
class TfrmFamilyMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmFamilyMain(QWidget* parent = nullptr);

    // Closes the current tree and opens `path`; with isNew the fresh file gets its first rows from props.
    // props comes back with the tree's properties. True only when that tree is open afterwards: a blank
    // path or a missing file changes nothing, a file that cannot be opened leaves no tree open.
    bool LoadTree(const QString& path, bool isNew, TTreeProperty& props);
    bool LoadTree(const QString& path);
    // Takes the current tree out of the window, records it in the recent list and closes its file.
    void CloseCurrentTree();
    // File > Open: true when a tree was chosen and opened.
    bool OpenTreeDialog();
    // File > New: the new-tree dialog, then the tree is created and opened; true when it is open.
    bool NewTreeCommand();
    void ShowStartPage();
    void ShowOptions();
    // After the windows exist: the tree the command line names (a path or a file:// address), else the
    // last tree when the options say so, else the start page when there are recent trees.
    void StartUp(const QString& argument);
    // The left column and the tree commands follow whether a tree is open.
    void UpdateCommandStates();
    void RefreshPersonCount();

    // The left column and the outline in it.
    QWidget* TreeHost() const { return pnl_; }
    TframTree* TreeFrame() const { return TreeFrame_; }

    Tfrm_Start_Page* StartPage() const { return startPage_; }
    Tfrm_NewTree* NewTreeDialog() const { return newTreeDialog_; }
    Tfrm_Options* OptionsDialog() const { return optionsDialog_; }
    QLabel* TotalLabel() const { return lbl_Total_; }

    // Asks for a tree file to open (filter, starting folder); empty when cancelled. Tests replace it.
    std::function<QString(const QString& filter, const QString& folder)> ChooseTreeFile;

signals:
    // A tree was opened and its outline filled.
    void TreeOpened();
    // The open tree is about to close; everything showing its persons must let go of them.
    void TreeClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void TranslateTexts();
    void UpdateCaption();
    void AfterTreeOpened();
    void Timer1Timer();

    QWidget* Panel1_;
    QLabel* lbl_Total_;
    QSplitter* splitter_;
    QWidget* pnl_;
    TframTree* TreeFrame_;
    QWidget* pnlHost_;
    QMenu* mnuFile_;
    QMenu* mnuTools_;
    QAction* mnuNew_;
    QAction* mnuOpenTreeDb_;
    QAction* mnuStartPage_;
    QAction* mnuExit_;
    QAction* mnuOptions_;
    QTimer Timer1_;
    Tfrm_Start_Page* startPage_;
    Tfrm_NewTree* newTreeDialog_;
    Tfrm_Options* optionsDialog_;
};

} // namespace verdan
