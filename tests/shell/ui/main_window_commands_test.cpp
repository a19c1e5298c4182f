#include "common/testing.h"
#include "datasheet/ui/data_sheet.h"
#include "reports/ui/reports_window.h"
#include "reports/ui/zel_grid.h"
#include "shell/help_pages.h"
#include "shell/program_updates.h"
#include "shell/recent_trees.h"
#include "shell/startup.h"
#include "shell/ui/favourites_strip.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell_ui_testing.h"
#include "storage/bookmark_store.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/bidi_text.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class MainWindowCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
    }
    void TearDown() override { CloseTreeFile(); }

    static QByteArray FileHash(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                   : QByteArray();
    }

    test::RecordedMessages messages_;
};

// Records the addresses the desktop is asked to open.
// Every progress dialog that appears, and optionally cancels it.
class ProgressWatcher : public QObject {
public:
    explicit ProgressWatcher(bool cancel) : cancel_(cancel) { qApp->installEventFilter(this); }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* progress = qobject_cast<QProgressDialog*>(watched)) {
                ++shown;
                if (cancel_)
                    progress->cancel();
            }
        return false;
    }

private:
    bool cancel_;
};

} // namespace

TEST_F(MainWindowCommandsTest, MenuEntriesFollowTheOpenTree) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    TMainMenu& menu = *window.Menu();
    const QList<QAction*> always{
        menu.mnuNew,          menu.mnuOpenTreeDb,     menu.mnuStartPage, menu.mnuExit,  menu.mnuOptions,
        menu.mnuImportGedcom, menu.mnuGettingStarted, menu.mnuKeysGuide, menu.mnuAbout, menu.mnuCheckUpdates};
    const QList<QAction*> withTree{menu.mnuSaveAs, menu.mnuDataFileMaintenance, menu.mnuBrowseReports};
    for (QAction* entry : always)
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    for (QAction* entry : withTree)
        EXPECT_FALSE(entry->isEnabled()) << entry->text().toStdString();
    EXPECT_FALSE(menu.mnuMaintenance->isEnabled());
    EXPECT_FALSE(window.Favourites()->isEnabled());

    ASSERT_TRUE(window.LoadTree(path));
    for (QAction* entry : always + withTree)
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    EXPECT_TRUE(menu.mnuMaintenance->isEnabled());
    EXPECT_TRUE(window.Favourites()->isEnabled());
    EXPECT_EQ(StripBidiControls(window.StatusPathLabel()->text()), QDir::toNativeSeparators(path));

    // Entries whose windows the program lacks stay disabled, tree or not: nothing happens on a click.
    for (QAction* entry : menu.mnuFile->actions() + menu.mnuEdit->actions() + menu.mnuView->actions() +
                              menu.mnuMaintenance->actions() + menu.mnuTools->actions() +
                              menu.mnuReports->actions() + menu.mnuHelp->actions()) {
        if (entry->isSeparator() || entry->menu())
            continue;
        EXPECT_EQ(entry->isEnabled(), menu.IsAvailable(entry)) << entry->text().toStdString();
    }
    // Greyed only when the build set no address of the discussion page.
    EXPECT_EQ(menu.mnuMailingList->isEnabled(), !MailingListAddress().isEmpty());
    EXPECT_EQ(menu.mnuSaveAs->text(), QStringLiteral("Save &As.."));
    EXPECT_EQ(menu.mnuTreeWindow->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
    menu.mnuBrowseReports->trigger();
    EXPECT_TRUE(window.ReportsWindow()->isVisible());

    window.CloseCurrentTree();
    for (QAction* entry : withTree)
        EXPECT_FALSE(entry->isEnabled()) << entry->text().toStdString();
    EXPECT_TRUE(StripBidiControls(window.StatusPathLabel()->text()).isEmpty());
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

TEST_F(MainWindowCommandsTest, SaveAsWorksOnTheCopyAndKeepsTheOriginalWhenItFails) {
    const QString original = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(original));
    QString newId;
    ASSERT_TRUE(AddPerson(QStringLiteral("Hamad"), QStringLiteral("-1"), QStringLiteral("0"), newId,
                          QStringLiteral("m")));
    QString target;
    QString proposed;
    window.ChooseSaveFile = [&](const QString& name, const QString&) {
        proposed = name;
        return target;
    };

    // Cancelled: nothing happens.
    EXPECT_FALSE(window.SaveTreeAs());
    EXPECT_EQ(proposed, original);

    // The open file itself, even through a link, is refused and stays open; the dialog asks again, at
    // the name refused, until another name or Cancel.
    const QString link = ProgramFolder() + QStringLiteral("data/link.vrd");
    ASSERT_TRUE(QFile::link(original, link));
    QStringList answers = {original, link, QString()};
    QStringList asked;
    window.ChooseSaveFile = [&](const QString& name, const QString&) {
        asked << name;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    };
    EXPECT_FALSE(window.SaveTreeAs());
    EXPECT_EQ(asked, (QStringList{original, original, QDir::cleanPath(link)}));
    window.ChooseSaveFile = [&](const QString& name, const QString&) {
        proposed = name;
        return target;
    };
    ASSERT_EQ(messages_.texts.size(), 2);
    EXPECT_TRUE(messages_.texts[0].startsWith(QStringLiteral("The open tree cannot be saved over itself.")));
    EXPECT_EQ(CurrentTreePath(), original);
    EXPECT_TRUE(PersonExists(newId));

    // A target that cannot be written: said so, the original stays open and usable.
    messages_.texts.clear();
    target = ProgramFolder() + QStringLiteral("no such folder/copy.vrd");
    EXPECT_FALSE(window.SaveTreeAs());
    ASSERT_FALSE(messages_.texts.isEmpty());
    EXPECT_TRUE(
        messages_.texts.last().startsWith(QStringLiteral("The copy of the tree could not be written.")));
    EXPECT_EQ(CurrentTreePath(), original);
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_TRUE(window.Menu()->mnuSaveAs->isEnabled());
    EXPECT_FALSE(window.TotalLabel()->text().isEmpty());
    EXPECT_TRUE(SetPersonNotes(newId, QStringLiteral("still writable")));
    EXPECT_FALSE(QFileInfo::exists(target));

    // Success: the window works on the copy, which holds everything, pictures included; the extension
    // is added.
    messages_.texts.clear();
    const QString photos = QFileInfo(original).absolutePath() + QStringLiteral("/photos/");
    QFile picture(photos + QStringLiteral("face.png"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write("picture");
    picture.close();
    target = ProgramFolder() + QStringLiteral("data/Copy");
    const QString copy = target + QStringLiteral(".vrd");
    QApplication::processEvents();
    ASSERT_TRUE(window.Menu()->mnuUndo->isEnabled());
    EXPECT_TRUE(window.SaveTreeAs());
    EXPECT_EQ(CurrentTreePath(), copy);
    // The copy's record starts empty, and the user is told.
    EXPECT_TRUE(window.statusBar()->currentMessage().endsWith(
        QStringLiteral("The changes made before can no longer be undone.")));
    EXPECT_FALSE(window.Menu()->mnuUndo->isEnabled());
    EXPECT_FALSE(window.Menu()->mnuRedo->isEnabled());
    EXPECT_TRUE(PersonExists(newId));
    EXPECT_EQ(GetPersonName(newId), QStringLiteral("Hamad"));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" - Copy.vrd")));
    EXPECT_EQ(Options().LastOpenedProject, copy);
    ASSERT_GE(RecentTrees().Count(), 2);
    EXPECT_EQ(RecentTrees().Items()[0].File, copy);
    EXPECT_EQ(RecentTrees().IndexOf(original), 1);
    EXPECT_TRUE(QFileInfo::exists(ProgramFolder() + QStringLiteral("data/photos/face.png")));
    EXPECT_EQ(PhotosFolder(), ProgramFolder() + QStringLiteral("data/photos/"));
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();

    // The original was let go and holds the edits made before the copy.
    EXPECT_TRUE(CompactDatabase(original));
    Tdm other;
    ASSERT_TRUE(other.Open(original));
    EXPECT_EQ(other.ScalarText(QStringLiteral("SELECT notes FROM ftPerson WHERE person_id = ?"), newId),
              QStringLiteral("still writable"));
}

TEST_F(MainWindowCommandsTest, ClosingReleasesTheFileAndTheTimerOnlyReads) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(path));
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 3"));
    EXPECT_FALSE(CompactDatabase(path)) << "the open tree is held";

    // Ticks over a tree whose outside group is in place leave the file as it is, yet count new persons.
    QString newId;
    ASSERT_TRUE(AddPerson(QStringLiteral("Hamad"), QStringLiteral("-1"), QStringLiteral("0"), newId,
                          QStringLiteral("m")));
    const QByteArray before = FileHash(path);
    window.PersonCountTimer().setInterval(5);
    window.PersonCountTimer().start();
    QTest::qWait(60);
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 4"));
    EXPECT_EQ(FileHash(path), before);

    // A moved outside group is put back by the next tick.
    const QString group = GetGlobalParentId();
    ASSERT_TRUE(SetFather(group, newId));
    QTest::qWait(60);
    EXPECT_EQ(GetFatherId(group), QStringLiteral("-1"));

    window.CloseCurrentTree();
    EXPECT_FALSE(window.PersonCountTimer().isActive());
    EXPECT_TRUE(CompactDatabase(path)) << "the closed tree is free for others";
    EXPECT_TRUE(window.TotalLabel()->text().isEmpty());
}

// The count follows every add and delete at once, without waiting for the timer's tick.
TEST_F(MainWindowCommandsTest, ThePersonCountFollowsEveryAddAndDeleteAtOnce) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(path));
    window.PersonCountTimer().stop();
    QString newId;
    ASSERT_TRUE(AddPerson(QStringLiteral("Hamad"), QStringLiteral("-1"), QStringLiteral("0"), newId,
                          QStringLiteral("m")));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 4"));
    ASSERT_TRUE(DeletePerson(newId));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.TotalLabel()->text(), QStringLiteral("Persons: 3"));
    EXPECT_FALSE(window.PersonCountTimer().isActive());
}

TEST_F(MainWindowCommandsTest, ImportShowsProgressAndOpensTheNewTree) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(path));
    QString chosen;
    window.ChooseGedcomFile = [&](const QString& filter, const QString&) {
        EXPECT_TRUE(filter.contains(QStringLiteral("*.ged")));
        return chosen;
    };
    EXPECT_FALSE(window.ImportGedcom());
    EXPECT_EQ(CurrentTreePath(), path);

    // Cancelled while it runs: no new tree, the open one stays.
    chosen = test::TestData(QStringLiteral("gedcom/basic.ged"));
    {
        ProgressWatcher cancelling(true);
        EXPECT_FALSE(window.ImportGedcom());
        EXPECT_GE(cancelling.shown, 1);
    }
    EXPECT_EQ(CurrentTreePath(), path);
    EXPECT_FALSE(QDir(ProgramFolder() + QStringLiteral("data/basic")).exists());
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();

    {
        ProgressWatcher watching(false);
        EXPECT_TRUE(window.ImportGedcom());
        EXPECT_GE(watching.shown, 1);
    }
    EXPECT_TRUE(CurrentTreePath().startsWith(ProgramFolder() + QStringLiteral("data/basic")));
    EXPECT_GT(CountPersons(), 1);
    EXPECT_EQ(window.TotalLabel()->text(),
              QStringLiteral("Persons: ") + QLocale::system().toString(CountPersons()));
    EXPECT_EQ(RecentTrees().Items()[0].File, CurrentTreePath());

    // A file that is no GEDCOM: said so, the tree open before stays.
    const QString opened = CurrentTreePath();
    chosen = test::TestData(QStringLiteral("gedcom/garbage.ged"));
    EXPECT_FALSE(window.ImportGedcom());
    EXPECT_EQ(messages_.texts.size(), 1);
    EXPECT_EQ(CurrentTreePath(), opened);
}

TEST_F(MainWindowCommandsTest, MaintenanceCompactsTheOpenTree) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    EXPECT_FALSE(window.MaintainTree());
    ASSERT_TRUE(window.LoadTree(path));
    // Pages freed by a long note that is gone again.
    const QString id = GetGlobalParentId();
    ASSERT_TRUE(SetPersonNotes(id, QString(200000, u'x')));
    ASSERT_TRUE(SetPersonNotes(id, QString()));
    const qint64 before = QFileInfo(path).size();
    EXPECT_TRUE(window.MaintainTree());
    EXPECT_LT(QFileInfo(path).size(), before);
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_EQ(CountPersons(), 3);
}

TEST_F(MainWindowCommandsTest, HelpEntriesOpenTheirPagesWithTheDesktopViewer) {
    TfrmFamilyMain window;
    // A viewer that notes the pages it is given.
    const QString log = test::NewTempDir() + QStringLiteral("/opened.txt");
    const QString viewer = test::NewTempDir() + QStringLiteral("/viewer.sh");
    QFile script(viewer);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\n").arg(log).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    HelpViewerProgram() = viewer;
    // Pages in the program folder's help folder come first.
    QDir().mkpath(ProgramFolder() + QStringLiteral("help"));
    for (const char* name : {kGetStartedPage, kKeysPage}) {
        QFile page(ProgramFolder() + QStringLiteral("help/") + QLatin1String(name));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html></html>");
    }
    window.Menu()->mnuGettingStarted->trigger();
    QTest::qWait(100);
    window.Menu()->mnuKeysGuide->trigger();
    QStringList urls;
    for (int i = 0; i < 300 && urls.size() < 2; ++i) {
        QTest::qWait(10);
        QFile opened(log);
        if (opened.open(QIODevice::ReadOnly))
            urls = QString::fromUtf8(opened.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    HelpViewerProgram() = QStringLiteral("xdg-open");
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(QUrl(urls[0]), QUrl::fromLocalFile(ProgramFolder() + QStringLiteral("help/getstarted.html")));
    EXPECT_EQ(QUrl(urls[1]), QUrl::fromLocalFile(ProgramFolder() + QStringLiteral("help/keys.html")));
    // The viewer was there: no help window of the program's own.
    EXPECT_EQ(window.HelpWindow(), nullptr);
    EXPECT_TRUE(messages_.texts.isEmpty());
}

TEST_F(MainWindowCommandsTest, FavouritesAreAddedOnceAndRemovedAfterAsking) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    TFavouritesStrip& strip = *window.Favourites();
    EXPECT_EQ(strip.width(), TFavouritesStrip::kHandleWidth);
    ASSERT_TRUE(window.LoadTree(path));
    QString id;
    ASSERT_TRUE(AddPerson(QStringLiteral("Hamad"), QStringLiteral("-1"), QStringLiteral("0"), id,
                          QStringLiteral("m")));

    EXPECT_TRUE(strip.AddPerson(id));
    EXPECT_FALSE(strip.AddPerson(id));
    EXPECT_FALSE(strip.AddPerson(QStringLiteral("{not an identifier}")));
    TZelGrid& grid = *strip.Grid();
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(3, 1), QStringLiteral("Hamad"));

    // Pressing the handle opens the strip, pressing again collapses it.
    QTest::mouseClick(strip.Handle(), Qt::LeftButton);
    EXPECT_TRUE(strip.IsOpen());
    EXPECT_EQ(strip.width(), TFavouritesStrip::kOpenWidth);
    QTest::mouseClick(strip.Handle(), Qt::LeftButton);
    EXPECT_FALSE(strip.IsOpen());

    // Double-clicking a row asks for its person.
    strip.SetOpen(true);
    window.show();
    QString chosen;
    QObject::connect(&strip, &TFavouritesStrip::PersonChosen,
                     [&](const QString& person) { chosen = person; });
    const QRect cell = grid.visualRect(grid.Model().index(0, 2));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(chosen, id);

    // Declining keeps the favourite; agreeing removes it from the strip and the tree.
    messages_.SetAnswer(IDCANCEL);
    EXPECT_FALSE(strip.RemoveRow(1));
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].startsWith(QStringLiteral("Remove the name from the list?\rHamad|")));
    messages_.SetAnswer(IDOK);
    EXPECT_TRUE(strip.RemoveRow(1));
    TextTable favourites;
    ListFavourites(favourites);
    EXPECT_EQ(favourites.size(), 1);
    // Empty again, the open strip says under its caption how it is filled.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(strip.findChild<QLabel*>("lblSpeed")->text(), QStringLiteral("Favourites"));
    ASSERT_NE(strip.findChild<QLabel*>("emptyNote"), nullptr);
    EXPECT_TRUE(strip.findChild<QLabel*>("emptyNote")->isVisible());

    // Persons dragged from a list are dropped on the strip, each once.
    QMimeData dragged;
    dragged.setData(QString::fromLatin1(TframDataSheet::kPersonIdsMimeType), (id + u'\n' + id).toUtf8());
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&strip, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&strip, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(2, 1), id);

    // Reopening the tree shows what it holds; closing it empties the strip.
    ASSERT_TRUE(window.LoadTree(path));
    EXPECT_EQ(grid.Cells(2, 1), id);
    window.CloseCurrentTree();
    EXPECT_TRUE(grid.Cells(2, 1).isEmpty());
}
