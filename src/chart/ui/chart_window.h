#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QToolButton;

namespace verdan {

class Tfrm_Chart;

// A window for building family charts: the chart view under a bar with the zoom box, and menus to make,
// open, save and export charts. It stays above the main window without blocking it, and is hidden, its
// chart emptied, when closed. Several can be open at once: the main one (View ▸ Family Tree Chart) and one
// per person chart asked for from an outline.
class TfrmChart_Window : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmChart_Window(QWidget* owner = nullptr);
    ~TfrmChart_Window() override;

    // The program's main chart window, made the first time (owner: the main window).
    static TfrmChart_Window* MainChartWindow(QWidget* owner);
    // A new window built around the person, shown; it is deleted when closed.
    static TfrmChart_Window* ShowPersonChart(QWidget* owner, const QString& personId);
    // Closes every chart window with its save prompt; false when the user kept one open.
    static bool CloseAllChartWindows();
    static QList<TfrmChart_Window*> ChartWindows();

    // Sized and placed for the screen, shown and raised.
    void ShowChartWindow();
    // The person with his children and parents at view point (150, 150).
    void BuildPersonChart(const QString& personId);

    // The commands. Those that replace or drop the chart ask to save unsaved work first and stop when
    // the user cancels; the result tells whether the command was carried out.
    bool NewChart();
    bool OpenChart();
    bool OpenChartFile(const QString& path);
    bool SaveChart();
    bool SaveChartAs();
    // Empties the chart and hides the window, after the save prompt (without Cancel when canCancel is
    // false: the tree is closing).
    bool CloseChart(bool canCancel = true);
    bool ExportImageCommand();
    bool ExportPdfCommand();
    // The poster dialog for the chart's root (the tree's largest father line when the chart has none).
    void ExportPosterCommand();
    bool CopyChart();
    // The zoom typed or chosen in the zoom box; the box shows the chart's zoom again on the timer.
    void ApplyZoomText();
    void ShowZoom();
    // The next person on the chart whose name holds the find box's text, selected and centred; false when
    // none does.
    bool FindNext();

    Tfrm_Chart* View() const { return view_; }
    QComboBox* ZoomBox() const { return cmbZoom_; }
    QTimer& ZoomTimer() { return zoomTimer_; }
    QMenu* FileMenu() const { return mnuFile_; }
    QMenu* EditMenu() const { return mnuEdit_; }
    QMenu* OptionsMenu() const { return mnuOptions_; }
    QAction* SaveAction() const { return mnuSave_; }
    QAction* SaveAsImageAction() const { return mnuSaveAsImage_; }
    QAction* RemoveAction() const { return mnuRemove_; }
    QMenu* AlignMenu() const { return mnuAlign_; }
    QSpinBox* GenerationsUpBox() const { return spnUp_; }
    QSpinBox* GenerationsDownBox() const { return spnDown_; }
    QCheckBox* DaughtersBox() const { return chkDaughters_; }
    QLineEdit* FindBox() const { return txtFind_; }
    QAction* FitAction() const { return actFit_; }
    QAction* ArrangeAction() const { return actArrange_; }
    QAction* LeftToRightAction() const { return mnuLeftToRight_; }
    QMenu* DatesMenu() const { return mnuCalendar_; }
    // Updates the enabled states as the menus do when they open.
    void UpdateMenuStates();

    // File choices (filter as for QFileDialog); empty when cancelled. Tests replace them.
    std::function<QString(const QString& filter, const QString& folder)> ChooseOpenFile;
    std::function<QString(const QString& proposed, const QString& filter, const QString& selectedFilter)>
        ChooseSaveFile;
    // Opens a saved PDF with the desktop's viewer.
    std::function<void(const QString& path)> OpenDocument;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void BuildZoomBar();
    void BuildLayoutBar();
    void TranslateTexts();
    void UpdateCaption();
    // Yes saves (false when that was cancelled or failed), No goes on, Cancel stops.
    bool AskToSave(bool canCancel);
    // Empties the chart, with no file and nothing to save.
    void ClearChart();
    bool NeedsSaving() const;
    QString ProposedName(const QString& extension) const;

    Tfrm_Chart* view_;
    QLabel* lblZoom_;
    QComboBox* cmbZoom_;
    QTimer zoomTimer_;
    QLabel* lblUp_;
    QSpinBox* spnUp_;
    QLabel* lblDown_;
    QSpinBox* spnDown_;
    QCheckBox* chkDaughters_;
    QAction* actFit_;
    QAction* actArrange_;
    QLineEdit* txtFind_;
    int found_ = -1;

    QMenu* mnuFile_;
    QAction* mnuNew_;
    QAction* mnuOpen_;
    QAction* mnuSave_;
    QAction* mnuSaveAs_;
    QAction* mnuSaveAsImage_;
    QAction* mnuSaveAsPdf_;
    QAction* mnuExportPoster_;
    QAction* mnuClose_;
    QMenu* mnuEdit_;
    QAction* mnuSelectAll_;
    QAction* mnuRemove_;
    QAction* mnuCopy_;
    QMenu* mnuAlign_;
    QList<QAction*> alignEntries_;
    QMenu* mnuOptions_;
    QMenu* mnuDisplay_;
    QAction* mnuExpandedName_;
    QAction* mnuDates_;
    QAction* mnuPicture_;
    QAction* mnuRootAtTop_;
    QAction* mnuLeftToRight_;
    QMenu* mnuCalendar_;
    QList<QAction*> calendarEntries_;
    QMenu* mnuLinks_;
    QAction* mnuLines_;
    QAction* mnuSticks_;
};

} // namespace verdan
