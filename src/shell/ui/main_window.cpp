#include "main_window.h"

#include "chart/ui/chart_window.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/date_approach.h"
#include "datasheet/ui/quick_data_card.h"
#include "datasheet/ui/quick_info_card.h"
#include "gedcom/gedcom_export.h"
#include "gedcom/gedcom_import.h"
#include "navigator/tree_model.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/tree_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/kinship_window.h"
#include "relations/ui/person_path_tree.h"
#include "reports/name_search.h"
#include "reports/ui/name_search_box.h"
#include "reports/ui/reports_window.h"
#include "shell/help_pages.h"
#include "shell/recent_trees.h"
#include "shell/startup.h"
#include "shell/ui/favourites_strip.h"
#include "shell/ui/gedcom_export_progress.h"
#include "shell/ui/gedcom_import_progress.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/new_tree_dialog.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/program_updates_window.h"
#include "shell/ui/start_page.h"
#include "shell/ui/tree_file_checks.h"
#include "shell/ui/tree_window.h"
#include "shell/ui/welcome_page.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/photos_copy.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/interface_locale.h"
#include "text/localisation.h"
#include "text/message_details.h"
#include "text/messages.h"
#include "text/program_folder.h"
#include "text/text_utils.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/file_dialogs.h"
#include "text/user_options.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace verdan {

namespace {

constexpr int kTimerInterval = 10000;
constexpr int kStatusMessageTime = 8000;
constexpr int kBottomSpace = 50;

} // namespace

QString TreeFileFilter() {
    return FileFilter(Translate(QStringLiteral("Verdan Data File")), QStringLiteral("*.vrd"));
}

TfrmFamilyMain::TfrmFamilyMain(QWidget* parent)
    : QMainWindow(parent), ChooseTreeFile(OpenFileDialog), ChooseGedcomFile(OpenFileDialog),
      ChooseSaveFile(SaveFileDialog), AskDamagedTree([this](const QString& path, const QString& reason) {
          return TfrmDamagedTree::Ask(this, path, reason);
      }) {
    setObjectName(QStringLiteral("frmFamilyMain"));
    auto* central = new QWidget(this);
    Panel1_ = new QWidget(central);
    Panel1_->setObjectName(QStringLiteral("Panel1"));
    lbl_Total_ = new QLabel(Panel1_);
    lbl_Total_->setObjectName(QStringLiteral("lbl_Total"));
    QFont totalFont = lbl_Total_->font();
    totalFont.setBold(true);
    lbl_Total_->setFont(totalFont);
    auto* top = new QHBoxLayout(Panel1_);
    top->setContentsMargins(8, 4, 8, 4);
    top->addWidget(lbl_Total_);
    top->addStretch();

    splitter_ = new QSplitter(Qt::Horizontal, central);
    pnl_ = new QWidget(splitter_);
    pnl_->setObjectName(QStringLiteral("pnl"));
    auto* column = new QVBoxLayout(pnl_);
    column->setContentsMargins(0, 0, 0, 0);
    findSplitter_ = new QSplitter(Qt::Vertical, pnl_);
    findSplitter_->setObjectName(QStringLiteral("splt_Find_Result"));
    search_ = new TNameSearchBox(findSplitter_);
    search_->setObjectName(QStringLiteral("pnlFindHost"));
    search_->SetAcceptIdentifiers(true);
    TreeFrame_ = new TframTree(findSplitter_);
    TreeFrame_->setObjectName(QStringLiteral("TreeFrame"));
    TreeFrame_->SetMultiSelect(true);
    if (Options().TreeFontSize > 0 && Options().TreeFontSize < 40)
        TreeFrame_->SetZoom(Options().TreeFontSize);
    findSplitter_->addWidget(search_);
    findSplitter_->addWidget(TreeFrame_);
    findSplitter_->setCollapsible(0, false);
    findSplitter_->setCollapsible(1, false);
    findSplitter_->setStretchFactor(1, 1);
    search_->SetOutline(TreeFrame_->View());
    column->addWidget(findSplitter_);
    pnlHost_ = new QWidget(splitter_);
    pnlHost_->setObjectName(QStringLiteral("pnlHost"));
    auto* host = new QVBoxLayout(pnlHost_);
    host->setContentsMargins(0, 0, 0, 0);
    framDataSheet_ = new TframDataSheet(pnlHost_);
    framDataSheet_->setObjectName(QStringLiteral("framDataSheet"));
    host->addWidget(framDataSheet_);
    splitter_->addWidget(pnl_);
    splitter_->addWidget(pnlHost_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({320, 680});
    favourites_ = new TFavouritesStrip(central);

    // The working area while a tree is open, the welcome page while none is.
    workArea_ = new QWidget(central);
    workArea_->setObjectName(QStringLiteral("workArea"));
    auto* body = new QHBoxLayout(workArea_);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(splitter_, 1);
    body->addWidget(favourites_);
    welcome_ = new TframWelcome(central);
    pages_ = new QStackedWidget(central);
    pages_->addWidget(workArea_);
    pages_->addWidget(welcome_);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1_);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);

    lblStatusPath_ = new QLabel(this);
    lblStatusPath_->setObjectName(QStringLiteral("lblStatusPath"));
    lblStatusPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addPermanentWidget(lblStatusPath_);

    quickInfo_ = new TfrmQuickInfo(this);
    dataCard_ = new TfrmQuiqkData(this);
    menu_ = new TMainMenu(menuBar());
    BuildMenu();

    connect(welcome_, &TframWelcome::NewTreeRequested, this, [this] { NewTreeCommand(); });
    connect(welcome_, &TframWelcome::OpenRequested, this, [this] { OpenTreeDialog(); });
    connect(welcome_, &TframWelcome::ImportRequested, this, [this] { ImportGedcom(); });
    connect(welcome_, &TframWelcome::SampleRequested, this, [this] { OpenSampleFamily(); });
    connect(welcome_, &TframWelcome::RecentTreesRequested, this, &TfrmFamilyMain::ShowStartPage);
    connect(&RecentTrees(), &TRecentTrees::Changed, this,
            [this] { welcome_->SetRecentTreesShown(RecentTrees().Count() > 0); });
    framDataSheet_->ApplySectionLayout();

    connect(TreeFrame_, &TframTree::PersonSelected, framDataSheet_, &TframDataSheet::LoadPerson);
    // The dialogs of the family links belong to this window; every outline shares them.
    TLinkDialogs::Install(this);
    WatchOutline(TreeFrame_);
    sheetReload_.setSingleShot(true);
    sheetReload_.setInterval(0);
    connect(&sheetReload_, &QTimer::timeout, framDataSheet_, &TframDataSheet::ReloadPerson);
    connect(framDataSheet_, &TframDataSheet::NamesSaved, this, &TfrmFamilyMain::RefreshNodeFromSheet);
    connect(framDataSheet_, &TframDataSheet::PersonSaved, this, &TfrmFamilyMain::RefreshNodeFromSheet);
    connect(framDataSheet_, &TframDataSheet::RelationsChanged, this, &TfrmFamilyMain::RefreshNodeFromSheet);
    connect(framDataSheet_, &TframDataSheet::LocatePersonRequested, this,
            &TfrmFamilyMain::ShowPersonInMainTree);
    connect(framDataSheet_, &TframDataSheet::TreeWindowWanted, this,
            [this](const QString& id) { OpenTreeWindow(id); });
    connect(framDataSheet_, &TframDataSheet::PictureBrowserWanted, this, &TfrmFamilyMain::ShowPictureBrowser);
    connect(dataCard_, &TfrmQuiqkData::TreeWindowWanted, this,
            [this](const QString& id) { OpenTreeWindow(id); });
    connect(dataCard_, &TfrmQuiqkData::PersonSaved, this, [this](const QString& id) {
        RefreshNodeFromSheet(id);
        RefreshDataSheet(id);
    });
    connect(quickInfo_, &TfrmQuickInfo::VisibilityChanged, menu_->mnuQuickInfo, &QAction::setChecked);
    // The cards let go of the tree's persons while it can still take the data card's edits.
    connect(this, &TfrmFamilyMain::TreeClosed, this, [this] {
        dataCard_->LoadQuickData(QString());
        quickInfo_->ClearCard();
    });
    connect(TLinkDialogs::Instance()->PathWindow(), &TfrmPersonPathTree::PersonActivated, this,
            &TfrmFamilyMain::ShowPersonInMainTree);
    // The lineage path names persons of the tree: it goes with the tree.
    connect(this, &TfrmFamilyMain::TreeClosed, this, [] {
        if (TfrmPersonPathTree* path = TLinkDialogs::Instance()->PathWindowIfShown())
            path->close();
    });
    // So does the kinship window, which forgets the two persons of the closed tree.
    TfrmKinship* kinship = TLinkDialogs::Instance()->KinshipWindow();
    connect(kinship, &TfrmKinship::PersonActivated, this, &TfrmFamilyMain::ShowPersonInMainTree);
    connect(this, &TfrmFamilyMain::TreeClosed, kinship, [kinship] {
        kinship->close();
        kinship->SetPersons(QString(), QString());
    });
    connect(search_, &TNameSearchBox::personChosen, this, [this](const QString& id) {
        if (ShowPersonInMainTree(id))
            TreeFrame_->View()->setFocus();
    });
    connect(search_, &TNameSearchBox::identifierEntered, this, &TfrmFamilyMain::OpenTreeWindow);
    connect(favourites_, &TFavouritesStrip::PersonChosen, this, &TfrmFamilyMain::ShowPersonInMainTree);
    // A chart still shown when its tree closes is saved or dropped now, while the tree is still open.
    connect(this, &TfrmFamilyMain::TreeClosed, this, [] {
        for (TfrmChart_Window* chart : TfrmChart_Window::ChartWindows())
            if (chart->isVisible())
                chart->CloseChart(false);
    });
    qApp->installEventFilter(this);

    startPage_ = new Tfrm_Start_Page(this);
    startPage_->OpenTree = [this](const QString& path) {
        return LoadTree(path);
    };
    startPage_->OpenTreeDialog = [this] {
        return OpenTreeDialog();
    };
    startPage_->NewTree = [this] {
        return NewTreeCommand();
    };
    newTreeDialog_ = new Tfrm_NewTree(this);
    optionsDialog_ = new Tfrm_Options(this);

    WatchDamage();
    Timer1_.setInterval(kTimerInterval);
    connect(&Timer1_, &QTimer::timeout, this, &TfrmFamilyMain::Timer1Timer);

    TranslateTexts();
    UpdateCommandStates();
    resize(1000, 700);
}

void TfrmFamilyMain::BuildMenu() {
    TMainMenu& m = *menu_;
    m.Attach(m.mnuNew, [this] { NewTreeCommand(); });
    m.Attach(m.mnuOpenTreeDb, [this] { OpenTreeDialog(); });
    m.Attach(m.mnuSaveAs, [this] { SaveTreeAs(); });
    m.Attach(m.mnuStartPage, [this] { ShowStartPage(); });
    m.Attach(m.mnuExit, [this] { close(); });
    m.Attach(m.mnuTreeWindow, [this] { OpenTreeWindow(QString()); });
    m.mnuQuickInfo->setCheckable(true);
    m.Attach(m.mnuDataCard, [this] { ShowDataCard(TreeFrame_->CurrentPersonId()); });
    m.Attach(m.mnuQuickInfo, [this] { ToggleQuickInfo(); });
    m.Attach(m.mnuPictures, [this] { ShowPictureBrowser(framDataSheet_->CurrentPersonId()); });
    m.Attach(m.mnuFamilyChart, [this] { TfrmChart_Window::MainChartWindow(this)->ShowChartWindow(); });
    m.Attach(m.mnuDataFileMaintenance, [this] { MaintainTree(); });
    m.Attach(m.mnuOptions, [this] { ShowOptions(); });
    m.Attach(m.mnuImportGedcom, [this] { ImportGedcom(); });
    m.Attach(m.mnuExportGedcom, [this] { ExportGedcom(); });
    m.Attach(m.mnuRescueTree, [this] { RescueDamagedTree(); });
    m.Attach(m.mnuBrowseReports, [this] { ReportsWindow()->ShowReportsWindow(); });
    m.Attach(m.mnuGettingStarted, [this] { OpenHelp(QString::fromLatin1(kGetStartedPage)); });
    m.Attach(m.mnuKeysGuide, [this] { OpenHelp(QString::fromLatin1(kKeysPage)); });
    m.Attach(m.mnuAbout, [this] { ShowAbout(); });
    m.Attach(m.mnuCheckUpdates, [this] { CheckForUpdatesCommand(this); });
    if (!MailingListAddress().isEmpty())
        m.Attach(m.mnuMailingList, [] { QDesktopServices::openUrl(QUrl(MailingListAddress())); });
    AttachTreeWindows();
    AttachUndo();
}

void TfrmFamilyMain::TranslateTexts() {
    menu_->TranslateTexts();
    favourites_->TranslateTexts();
    search_->TranslateTexts();
    framDataSheet_->TranslateTexts();
    welcome_->TranslateTexts();
    lbl_Total_->setToolTip(Translate(QStringLiteral("Total Entries")));
    UpdateCaption();
}

// Another interface language: every text of the window at once (its outline, search box and the open
// tree windows follow the same event themselves).
void TfrmFamilyMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        SetMessageTitle(ApplicationTitle());
        TranslateTexts();
        if (isVisible())
            UseInterfaceKeyboard();
        RefreshPersonCount();
        // Values the sheet words itself (gender, spans, the overview) read again in the new language.
        if (!framDataSheet_->CurrentPersonId().isEmpty())
            ScheduleSheetReload();
    }
    QMainWindow::changeEvent(event);
}

void TfrmFamilyMain::UpdateCaption() {
    const QString path = CurrentTreePath();
    QString title = ApplicationTitle();
    if (!path.isEmpty())
        title += QStringLiteral(" - ") + QFileInfo(path).fileName();
    if (IsTreeReadOnly())
        title += u' ' + Translate(QStringLiteral("(read-only)"));
    setWindowTitle(title);
    lblStatusPath_->setText(IsolatePath(path));
}

void TfrmFamilyMain::UseInterfaceKeyboard() {
    const QString own = Local().Target.KeyboardLayout;
    if (keyboard_.Offers(own))
        keyboard_.SetEnglishName(own);
}

void TfrmFamilyMain::showEvent(QShowEvent* event) {
    if (keyboardBefore_.isEmpty() && !event->spontaneous()) {
        keyboardBefore_ = keyboard_.EnglishName();
        UseInterfaceKeyboard();
    }
    TranslateTexts();
    TfrmTreeWindow::ResetCascade();
    TfrmTreeDialog::ResetCascade();
    search_->CollapseResults();
    UpdateCommandStates();
    QMainWindow::showEvent(event);
}

void TfrmFamilyMain::closeEvent(QCloseEvent* event) {
    // Dates that cannot be written, or a chart whose changes the user keeps by cancelling its save prompt,
    // keep the program open.
    if (!framDataSheet_->MayLeaveTree() || !CloseOtherWindows()) {
        event->ignore();
        return;
    }
    CloseCurrentTree();
    ReleaseStoreCaches();
    if (!keyboardBefore_.isEmpty() && keyboard_.Offers(keyboardBefore_))
        keyboard_.SetEnglishName(keyboardBefore_);
    event->accept();
}

void TfrmFamilyMain::UpdateCommandStates() {
    const bool open = !CurrentTreePath().isEmpty();
    // A tree that takes no changes keeps every editing command where it is, greyed.
    const bool writable = !open || !IsTreeReadOnly();
    pnl_->setEnabled(open);
    favourites_->setEnabled(open);
    welcome_->SetRecentTreesShown(RecentTrees().Count() > 0);
    pages_->setCurrentWidget(open ? workArea_ : welcome_);
    menu_->UpdateStates(open, writable);
    TreeFrame_->SetTreeWritable(writable);
    for (TfrmTreeWindow* window : findChildren<TfrmTreeWindow*>())
        window->TreeFrame()->SetTreeWritable(writable);
    framDataSheet_->SetWritable(writable);
    UpdateUndoEntries();
    UpdateCaption();
    if (open && isVisible())
        TreeFrame_->View()->setFocus();
}

bool TfrmFamilyMain::LoadTree(const QString& path) {
    TTreeProperty props;
    return LoadTree(path, false, props);
}

bool TfrmFamilyMain::LoadTree(const QString& path, bool isNew, TTreeProperty& props) {
    if (path.trimmed().isEmpty())
        return false;
    if (!QFileInfo(path).isFile()) {
        MsgErrorRtl(Translate(QStringLiteral("File not found.")) + u'|' + IsolatePath(path));
        return false;
    }
    // What the file is and what of it to open is settled before the tree open now is touched: a file that
    // is no tree, or a damaged one the user leaves alone, keeps that tree open.
    const TTreeToOpen open = TreeFileToOpen(this, path, AskDamagedTree);
    if (open.Path.isEmpty())
        return false;
    if (open.Path != path)
        return LoadTree(open.Path, isNew, props);
    // Dates that cannot be written, and charts, belong to the open tree: either kept keeps the tree open.
    if (!framDataSheet_->MayLeaveTree() || !CloseOtherWindows())
        return false;
    CloseCurrentTree();
    if (!OpenTreeFile(path, open.Access)) {
        CloseTreeFile();
        UpdateCommandStates();
        UpdateCaption();
        return false;
    }
    CloseOtherWindows();
    ReadTreeProperties(props);
    AfterTreeOpened();
    UpdateCaption();
    framDataSheet_->LoadPerson(QString());
    // A new tree starts at its first node; a known one at the person shown when it was closed. Selecting
    // the node shows its person in the data sheet.
    if (isNew) {
        const QModelIndex first = TreeFrame_->Model()->index(0, 0, TreeFrame_->Model()->RootIndex());
        if (first.isValid())
            TreeFrame_->View()->setCurrentIndex(first);
    } else if (!GetLastId().trimmed().isEmpty()) {
        TreeFrame_->LocatePerson(GetLastId().trimmed());
    }
    framDataSheet_->LoadPerson(TreeFrame_->CurrentPersonId());
    UpdateCommandStates();
    RecordRecentTree(props);
    Options().LastOpenedProject = CurrentTreePath();
    activateWindow();
    // A file that cannot be written opens read-only: the title says so, the status line says why.
    if (IsTreeReadOnly() && !IsTreeDamaged())
        statusBar()->showMessage(
            Translate(QStringLiteral("The tree file cannot be written, so it is open read-only.")),
            kStatusMessageTime);
    // A new tree is the moment to learn how persons are added.
    if (isNew && IsTreeOpen() && isVisible())
        ShowDataEntryHelp();
    return IsTreeOpen();
}

void TfrmFamilyMain::AfterTreeOpened() {
    // Mending the opened tree's own group outside the tree (made, or put back in place) is part of opening
    // it: no step the user could undo, so the group is never taken away by a first Ctrl+Z.
    const bool hadSteps = CanUndo() || CanRedo();
    EnsureGlobalParent();
    ResetGlobalParentPlacement();
    if (!hadSteps)
        ClearUndoLog(false);
    SetCurrentTreeNames(GetTreeName(), GetOwnerName());
    TreeFrame_->OpenTree(false);
    emit TreeOpened();
    FillFavourites();
    RefreshPersonCount();
    Timer1_.start();
    // The names are read for the search box on a thread of their own while the user looks at the tree; a
    // search typed before they are in waits for them.
    PrepareNameSearch();
}

void TfrmFamilyMain::CloseCurrentTree() {
    Timer1_.stop();
    sheetReload_.stop();
    if (IsTreeOpen()) {
        // The tree must still be open for these: nothing typed is lost, and the tree reopens at the
        // person shown now.
        SaveShownPerson();
        framDataSheet_->LoadPerson(QString());
        TTreeProperty props;
        ReadTreeProperties(props);
        RecordRecentTree(props);
        emit TreeClosed();
        // Both belong to the closed tree: the next tree starts with an empty search.
        search_->ClearResults();
        search_->SearchEdit()->clear();
        TreeFrame_->ReloadTree(false);
    }
    // Clears the tree path and closes the connection, which releases the file.
    CloseTreeFile();
    favourites_->FillFavourites();
    lbl_Total_->clear();
    UpdateCaption();
    UpdateCommandStates();
}

bool TfrmFamilyMain::OpenTreeDialog() {
    const QString last = Options().LastOpenedProject.trimmed();
    QString folder = last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
    if (folder.isEmpty()) {
        folder = ProgramFolder() + QStringLiteral("data");
        QDir::setCurrent(folder);
    }
    const QString file = ChooseTreeFile(TreeFileFilter(), folder);
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).fileName().compare(QStringLiteral("template.vrd"), Qt::CaseInsensitive) == 0) {
        MsgErrorRtl(Translate(QStringLiteral("Internal application file. Please choose another file.")));
        return false;
    }
    return LoadTree(file);
}

bool TfrmFamilyMain::NewTreeCommand() {
    if (newTreeDialog_->exec() != QDialog::Accepted)
        return false;
    TTreeProperty props = newTreeDialog_->Result();
    QString path;
    {
        // One message at most: the file layer explains its own failures, a folder that cannot be made
        // is explained here.
        StoreOperation operation;
        path = CreateNewTree(props);
        if (path.isEmpty())
            ShowStoreMessage(StoreMessage::ErrorRtl,
                             Translate(QStringLiteral("Could not create the tree file.")) + u'|' +
                                 IsolatePath(props.BasePath + u'/' + props.FolderName));
    }
    return !path.isEmpty() && LoadTree(path, true, props);
}

bool TfrmFamilyMain::SaveTreeAs() {
    if (!IsTreeOpen())
        return false;
    const QString current = CurrentTreePath();
    QDir::setCurrent(QFileInfo(current).absolutePath());
    QString target = current;
    // The open tree's own name is refused, and the dialog asks again.
    for (;;) {
        target = ChooseSaveFile(target, TreeFileFilter());
        if (target.trimmed().isEmpty())
            return false;
        if (QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".vrd");
        target = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
        if (!SameFile(target, current))
            break;
        MsgErrorRtl(Translate(QStringLiteral("The open tree cannot be saved over itself.")) + u'|' +
                    Translate(QStringLiteral("Choose another file name.")));
    }
    // The copy takes what the user typed, and opens at the person shown now.
    SaveShownPerson();
    bool copied = false;
    bool picturesCopied = true;
    QString reason;
    {
        TBusyCursor busy;
        copied = SaveTreeCopy(target, &reason);
        if (copied)
            picturesCopied = CopyPhotosFolder(PhotosFolder(),
                                              QFileInfo(target).absolutePath() + QStringLiteral("/photos/"));
    }
    if (!copied) {
        // The original stays open and unchanged: the user goes on working on it.
        // Why, in the program's words where they are its own, the engine's or the system's as details.
        MsgErrorRtl(Translate(QStringLiteral("The copy of the tree could not be written.")) + u'|' +
                    IsolatePath(target) + (IsTreeDamaged() ? u'\n' + reason : DetailsLine(reason)));
        return false;
    }
    if (!picturesCopied)
        MsgWarning(Translate(QStringLiteral("Some pictures could not be copied beside the new tree file.")) +
                   u'|' + IsolatePath(QFileInfo(target).absolutePath() + QStringLiteral("/photos")));
    // The copy starts a record of its own: what was done before cannot be undone there.
    const bool hadSteps = CanUndo() || CanRedo();
    if (LoadTree(target)) {
        QString message = FillPattern(Translate(QStringLiteral("Saved as %*")), {IsolatePath(target)});
        if (hadSteps)
            message += QStringLiteral(". ") +
                       Translate(QStringLiteral("The changes made before can no longer be undone."));
        statusBar()->showMessage(message, kStatusMessageTime);
        UpdateUndoEntries();
        return true;
    }
    // The copy was written but will not open: carry on with the original.
    LoadTree(current);
    return false;
}

void TfrmFamilyMain::ShowStartPage() {
    startPage_->exec();
    UpdateCommandStates();
}

void TfrmFamilyMain::ShowOptions() {
    optionsDialog_->exec();
}

bool TfrmFamilyMain::ImportGedcom() {
    const QString file = ChooseGedcomFile(
        FileFilter(QStringLiteral("GEDCOM"), QStringLiteral("*.ged *.GED *.gdz *.GDZ")), QString());
    if (file.isEmpty())
        return false;
    TGedcomImportSummary summary;
    const QString tree = ImportGedcomWithProgress(this, file, summary);
    if (tree.isEmpty() || !LoadTree(tree))
        return false;
    statusBar()->showMessage(GedcomSummaryText(summary).replace(u'\n', QStringLiteral("   ")));
    return true;
}

bool TfrmFamilyMain::ExportGedcom() {
    if (!IsTreeOpen())
        return false;
    framDataSheet_->SavePendingEdits();
    TGedcomVersion version;
    if (!ChooseGedcomVersion(version))
        return false;
    const QFileInfo tree(CurrentTreePath());
    QDir::setCurrent(tree.absolutePath());
    const QString target = ChooseSaveFile(
        tree.completeBaseName() + QStringLiteral(".ged"),
        version == TGedcomVersion::V70
            ? FileFilter(QStringLiteral("GEDCOM"), QStringLiteral("*.ged *.GED")) + QStringLiteral(";;") +
                  FileFilter(QStringLiteral("GEDZIP"), QStringLiteral("*.gdz *.GDZ"))
            : FileFilter(QStringLiteral("GEDCOM"), QStringLiteral("*.ged *.GED")));
    if (target.trimmed().isEmpty())
        return false;
    TGedcomExportSummary summary;
    if (!ExportGedcomWithProgress(this, target, summary, version))
        return false;
    statusBar()->showMessage(GedcomExportSummaryText(summary).replace(u'\n', QStringLiteral("   ")),
                             kStatusMessageTime);
    return true;
}

bool TfrmFamilyMain::OpenSampleFamily() {
    // The sample lives in the folder of new trees once it was brought in, and is worked on there.
    const QString tree =
        QDir(DefaultNewTreeLocation()).filePath(QStringLiteral("sample-family/sample-family.vrd"));
    if (QFileInfo(tree).isFile())
        return LoadTree(tree);
    QTemporaryDir folder;
    const QString gedcom = folder.filePath(QStringLiteral("sample-family.ged"));
    if (!folder.isValid() || !QFile::copy(QStringLiteral(":/sample/sample-family.ged"), gedcom)) {
        MsgErrorRtl(Translate(QStringLiteral("The sample family could not be prepared.")));
        return false;
    }
    TGedcomImportSummary summary;
    const QString imported = ImportGedcomWithProgress(this, gedcom, summary);
    return !imported.isEmpty() && LoadTree(imported);
}

bool TfrmFamilyMain::OpenHelp(const QString& page) {
    // Without a viewer on the desktop the page opens in a window of the program.
    const QPointer<TfrmFamilyMain> self(this);
    return OpenHelpPage(page, [self](const QString& path) {
        if (!self)
            return;
        if (!self->help_)
            self->help_ = new TfrmHelp(self);
        self->help_->ShowPage(path);
    });
}

void TfrmFamilyMain::ShowAbout() {
    MsgInfo(ApplicationTitle() + u'|' + Translate(QStringLiteral("Version")) + QStringLiteral(": ") +
            Isolate(QStringLiteral(VERDAN_VERSION)) + u'\n' + Translate(QStringLiteral("Build time")) +
            QStringLiteral(": ") + Isolate(InterfaceLocale().toString(BuildTime(), QLocale::ShortFormat)));
}

bool TfrmFamilyMain::CloseOtherWindows() {
    // Modal windows are left alone: whoever showed one is still waiting for it.
    bool closed = true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window != this && window->isVisible() && !window->isModal() && window->isWindow() &&
            !window->inherits("QMenu") && !window->close())
            closed = false;
    return closed;
}

void TfrmFamilyMain::StartUp(const QString& argument) {
    // The whole width of the screen, a little short of its height so the task bar stays in reach.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width(), std::max(area.height() - kBottomSpace, minimumHeight()));
        move(area.topLeft() + QPoint(0, 1));
    }
    show();
    const QString path = TreePathFromArgument(argument);
    if (!path.trimmed().isEmpty()) {
        LoadTree(path);
        return;
    }
    const QString last = Options().LastOpenedProject;
    if (Options().OpenLastTreeOnStartup && QFileInfo(last).isFile() && LoadTree(last))
        return;
    QCoreApplication::processEvents();
    if (RecentTreesExist())
        ShowStartPage();
}

bool TfrmFamilyMain::ShowsWelcomePage() const {
    return pages_->currentWidget() == welcome_;
}

void TfrmFamilyMain::RefreshPersonCount() {
    const int count = IsTreeOpen() ? CountPersons() : 0;
    lbl_Total_->setText(
        count > 0 ? FillPattern(Translate(QStringLiteral("Persons: %#")), {QLocale::system().toString(count)})
                  : QString());
}

void TfrmFamilyMain::FillFavourites() {
    favourites_->FillFavourites();
}

void TfrmFamilyMain::SaveShownPerson() {
    framDataSheet_->SavePendingEdits();
    QString shown = framDataSheet_->CurrentPersonId();
    if (shown.isEmpty())
        shown = TreeFrame_->CurrentPersonId();
    if (!shown.isEmpty() && !IsTreeReadOnly() && PersonExists(shown))
        SetLastId(shown);
}

bool TfrmFamilyMain::ShowPersonInMainTree(const QString& personId) {
    if (!IsTreeOpen() || personId.trimmed().isEmpty())
        return false;
    return TreeFrame_->LocatePerson(personId.trimmed());
}

TfrmTreeWindow* TfrmFamilyMain::OpenTreeWindow(const QString& personId) {
    if (!IsTreeOpen())
        return nullptr;
    TfrmTreeWindow* window = TfrmTreeWindow::Open(this, personId);
    window->TreeFrame()->SetTreeWritable(!IsTreeReadOnly());
    WatchOutline(window->TreeFrame());
    // A name changed there shows here too.
    connect(window->TreeFrame(), &TframTree::PersonRenamed, this, &TfrmFamilyMain::RefreshNodeFromSheet);
    return window;
}

void TfrmFamilyMain::EstimateDates(const QString& personId) {
    if (!IsTreeOpen() || personId.isEmpty())
        return;
    // What was typed about the person goes first, so the estimate is not overwritten by it later.
    framDataSheet_->SavePendingEdits();
    TfrmDateApproach dialog(this);
    dialog.SetPersonId(personId);
    connect(&dialog, &TfrmDateApproach::DatesWritten, this, [this](const QString& id) {
        RefreshDataSheet(id);
        RefreshNodeFromSheet(id);
    });
    dialog.exec();
}

void TfrmFamilyMain::WatchOutline(TframTree* outline) {
    connect(outline, &TframTree::PersonChartWanted, this,
            [this](const QString& id) { TfrmChart_Window::ShowPersonChart(this, id); });
    TTreeModel* model = outline->Model();
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this, model](const QModelIndex& first, const QModelIndex& last) {
                const QString shown = framDataSheet_->CurrentPersonId();
                if (sheetWriting_ || shown.isEmpty())
                    return;
                for (int row = first.row(); row <= last.row(); ++row) {
                    const TPersonNode* node = model->Record(first.siblingAtRow(row));
                    if (node && node->PersonId == shown)
                        ScheduleSheetReload();
                }
            });
    connect(outline, &TframTree::PersonRenamed, this, &TfrmFamilyMain::RefreshDataSheet);
    connect(outline, &TframTree::DataCardWanted, this, &TfrmFamilyMain::ShowDataCard);
    connect(outline, &TframTree::QuickInfoToggleWanted, this, &TfrmFamilyMain::ToggleQuickInfo);
    // Ctrl+D: the estimated dates go straight into the person's row.
    connect(outline, &TframTree::DateApproximationWanted, this, &TfrmFamilyMain::EstimateDates);
    connect(outline, &TframTree::LinksChanged, this, [this, outline](const QStringList& ids) {
        // Links set in a tree window show in the main outline too.
        if (outline != TreeFrame_)
            TreeFrame_->RefreshLinkedPersons(ids);
        for (const QString& id : ids)
            RefreshDataSheet(id);
    });
    WatchOutlineWindows(outline);
}

void TfrmFamilyMain::RefreshDataSheet(const QString& personId) {
    if (isVisible() && !personId.isEmpty() && framDataSheet_->CurrentPersonId() == personId)
        ScheduleSheetReload();
}

void TfrmFamilyMain::RefreshNodeFromSheet(const QString& personId) {
    sheetWriting_ = true;
    TreeFrame_->RefreshPersonNode(personId);
    sheetWriting_ = false;
}

void TfrmFamilyMain::ScheduleSheetReload() {
    sheetReload_.start();
}

bool TfrmFamilyMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::ContextMenu ||
         type == QEvent::Drop) &&
        watched->isWidgetType() && framDataSheet_->HasPendingEdits()) {
        auto* widget = static_cast<QWidget*>(watched);
        bool inOutline = false;
        for (QWidget* w = widget; w && !inOutline; w = w->parentWidget())
            inOutline = qobject_cast<TframTree*>(w) != nullptr;
        if (inOutline && !framDataSheet_->isAncestorOf(widget))
            framDataSheet_->SavePendingEdits();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmFamilyMain::Timer1Timer() {
    if (!IsTreeOpen())
        return;
    // Writes only when the group of persons outside the tree was moved; the count is only read.
    ResetGlobalParentPlacement();
    RefreshPersonCount();
}

} // namespace verdan
