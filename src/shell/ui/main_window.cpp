#include "main_window.h"

#include "navigator/ui/tree_frame.h"
#include "shell/options.h"
#include "shell/recent_trees.h"
#include "shell/startup.h"
#include "shell/ui/new_tree_dialog.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/start_page.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/program_folder.h"
#include "text/ui/file_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kTimerInterval = 10000;

} // namespace

TfrmFamilyMain::TfrmFamilyMain(QWidget* parent) : QMainWindow(parent), ChooseTreeFile(OpenFileDialog) {
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
    TreeFrame_ = new TframTree(pnl_);
    TreeFrame_->setObjectName(QStringLiteral("TreeFrame"));
    TreeFrame_->SetMultiSelect(true);
    if (Options().TreeFontSize > 0 && Options().TreeFontSize < 40)
        TreeFrame_->SetZoom(Options().TreeFontSize);
    column->addWidget(TreeFrame_);
    pnlHost_ = new QWidget(splitter_);
    pnlHost_->setObjectName(QStringLiteral("pnlHost"));
    splitter_->addWidget(pnl_);
    splitter_->addWidget(pnlHost_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({320, 680});

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1_);
    layout->addWidget(splitter_, 1);
    setCentralWidget(central);

    mnuFile_ = menuBar()->addMenu(QString());
    mnuNew_ = mnuFile_->addAction(QString(), this, [this] { NewTreeCommand(); });
    mnuOpenTreeDb_ = mnuFile_->addAction(QString(), this, [this] { OpenTreeDialog(); });
    mnuOpenTreeDb_->setShortcut(QKeySequence::Open);
    mnuStartPage_ = mnuFile_->addAction(QString(), this, &TfrmFamilyMain::ShowStartPage);
    mnuFile_->addSeparator();
    mnuExit_ = mnuFile_->addAction(QString(), this, &QWidget::close);
    mnuTools_ = menuBar()->addMenu(QString());
    mnuOptions_ = mnuTools_->addAction(QString(), this, &TfrmFamilyMain::ShowOptions);

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
    connect(optionsDialog_, &Tfrm_Options::LanguageChanged, this, [this] {
        QApplication::setApplicationDisplayName(ApplicationTitle());
        TranslateTexts();
    });

    Timer1_.setInterval(kTimerInterval);
    connect(&Timer1_, &QTimer::timeout, this, &TfrmFamilyMain::Timer1Timer);

    TranslateTexts();
    UpdateCommandStates();
    resize(1000, 700);
}

void TfrmFamilyMain::TranslateTexts() {
    mnuFile_->setTitle(Translate(QStringLiteral("File")));
    mnuNew_->setText(Translate(QStringLiteral("&New")) + QStringLiteral(".."));
    mnuOpenTreeDb_->setText(Translate(QStringLiteral("&Open")) + QStringLiteral(".."));
    mnuStartPage_->setText(Translate(QStringLiteral("Start Page")));
    mnuExit_->setText(Translate(QStringLiteral("E&xit")));
    mnuTools_->setTitle(Translate(QStringLiteral("Tools")));
    mnuOptions_->setText(Translate(QStringLiteral("Options")) + QStringLiteral(".."));
    lbl_Total_->setToolTip(Translate(QStringLiteral("Total Entries")));
    UpdateCaption();
}

void TfrmFamilyMain::UpdateCaption() {
    const QString path = CurrentTreePath();
    setWindowTitle(path.isEmpty() ? ApplicationTitle()
                                  : ApplicationTitle() + QStringLiteral(" - ") + QFileInfo(path).fileName());
}

void TfrmFamilyMain::showEvent(QShowEvent* event) {
    TranslateTexts();
    UpdateCommandStates();
    QMainWindow::showEvent(event);
}

void TfrmFamilyMain::closeEvent(QCloseEvent* event) {
    CloseCurrentTree();
    ReleaseStoreCaches();
    event->accept();
}

void TfrmFamilyMain::UpdateCommandStates() {
    const bool open = !CurrentTreePath().isEmpty();
    pnl_->setEnabled(open);
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
        MsgErrorRtl(Translate(QStringLiteral("File not found.")) + u'|' + QDir::toNativeSeparators(path));
        return false;
    }
    CloseCurrentTree();
    if (!OpenTreeFile(path)) {
        CloseTreeFile();
        UpdateCommandStates();
        UpdateCaption();
        return false;
    }
    if (isNew)
        InitialiseNewTree(props);
    ReadTreeProperties(props);
    AfterTreeOpened();
    UpdateCaption();
    // A new tree starts at its first node; a known one at the person shown when it was closed.
    if (!isNew && !GetLastId().trimmed().isEmpty())
        TreeFrame_->LocatePerson(GetLastId().trimmed());
    UpdateCommandStates();
    RecordRecentTree(props);
    Options().LastOpenedProject = CurrentTreePath();
    activateWindow();
    return IsTreeOpen();
}

void TfrmFamilyMain::AfterTreeOpened() {
    EnsureGlobalParent();
    SetCurrentTreeNames(GetTreeName(), GetOwnerName());
    TreeFrame_->OpenTree(false);
    emit TreeOpened();
    RefreshPersonCount();
    Timer1_.start();
}

void TfrmFamilyMain::CloseCurrentTree() {
    Timer1_.stop();
    if (IsTreeOpen()) {
        const QString shown = TreeFrame_->CurrentPersonId();
        if (!shown.isEmpty())
            SetLastId(shown);
        TTreeProperty props;
        ReadTreeProperties(props);
        RecordRecentTree(props);
        emit TreeClosed();
        TreeFrame_->ReloadTree(false);
    }
    CloseTreeFile();
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
    const QString file =
        ChooseTreeFile(Translate(QStringLiteral("Verdan Data File")) + QStringLiteral(" (*.vrd)"), folder);
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
        path = CreateTreeFolderAndFile(props);
        if (path.isEmpty())
            ShowStoreMessage(StoreMessage::ErrorRtl,
                             Translate(QStringLiteral("Could not create the tree file.")) + u'|' +
                                 QDir::toNativeSeparators(props.BasePath + u'/' + props.FolderName));
    }
    return !path.isEmpty() && LoadTree(path, true, props);
}

void TfrmFamilyMain::ShowStartPage() {
    startPage_->exec();
    UpdateCommandStates();
}

void TfrmFamilyMain::ShowOptions() {
    optionsDialog_->exec();
}

void TfrmFamilyMain::StartUp(const QString& argument) {
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

void TfrmFamilyMain::RefreshPersonCount() {
    const int count = IsTreeOpen() ? CountPersons() : 0;
    lbl_Total_->setText(count > 0 ? QLocale::system().toString(count) : QString());
}

void TfrmFamilyMain::Timer1Timer() {
    if (!IsTreeOpen())
        return;
    ResetGlobalParentPlacement();
    RefreshPersonCount();
}

} // namespace verdan
