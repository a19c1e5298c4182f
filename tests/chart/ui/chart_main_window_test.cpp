#include "chart/ui/chart_view.h"
#include "chart/ui/chart_window.h"
#include "common/testing.h"
#include "navigator/ui/tree_frame.h"
#include "shell/startup.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_ui_testing.h"
#include "storage/person_store.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QAction>

namespace verdan::test {

namespace {

// The chart windows belong to the open tree: they close with it, and one the user keeps open keeps the
// tree open.
class ChartWithMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        UseEnglish();
        SetProgramFolder(NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
    }
    void TearDown() override { CloseTreeFile(); }

    RecordedMessages messages_;
};

TEST_F(ChartWithMainWindow, TreeChangesWaitForUnsavedCharts) {
    const QString first = MakeTestTree(QStringLiteral("First"));
    const QString second = MakeTestTree(QStringLiteral("Second"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(first));
    EXPECT_TRUE(window.Menu()->IsAvailable(window.Menu()->mnuFamilyChart));
    window.Menu()->mnuFamilyChart->trigger();
    TfrmChart_Window* chart = TfrmChart_Window::MainChartWindow(&window);
    ASSERT_TRUE(chart->isVisible());
    QList<TPerson> persons;
    ASSERT_TRUE(ListPersonRecords(persons));
    ASSERT_GE(chart->View()->Chart().FindOrAddPerson(persons.last().Person_Id), 0);

    messages_.SetAnswer(IDCANCEL);
    EXPECT_FALSE(window.LoadTree(second));
    EXPECT_EQ(CurrentTreePath(), first);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(chart->View()->Chart().Persons().size(), 1);

    messages_.SetAnswer(IDNO);
    EXPECT_TRUE(window.LoadTree(second));
    EXPECT_EQ(CurrentTreePath(), second);
    EXPECT_FALSE(chart->isVisible());
    EXPECT_TRUE(chart->View()->Chart().Persons().isEmpty());
}

TEST_F(ChartWithMainWindow, OutlinePersonMenuOpensAChartAroundThePerson) {
    const QString tree = MakeTestTree(QStringLiteral("Tree"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(tree));
    const QString person = window.TreeFrame()->CurrentPersonId();
    ASSERT_FALSE(person.isEmpty());
    const qsizetype before = TfrmChart_Window::ChartWindows().size();
    emit window.TreeFrame()->PersonChartWanted(person);
    const QList<TfrmChart_Window*> windows = TfrmChart_Window::ChartWindows();
    ASSERT_EQ(windows.size(), before + 1);
    TfrmChart_Window* opened = windows.last();
    EXPECT_TRUE(opened->isVisible());
    ASSERT_GE(opened->View()->Chart().IndexOf(person), 0);
    messages_.SetAnswer(IDNO);
    EXPECT_TRUE(TfrmChart_Window::CloseAllChartWindows());
}

} // namespace

} // namespace verdan::test
