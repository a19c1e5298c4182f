#include "chart/ui/children_dialog.h"
#include "common/testing.h"
#include "datasheet/ui/account_dialog.h"
#include "datasheet/ui/date_approach.h"
#include "datasheet/ui/image_browser.h"
#include "datasheet/ui/quick_data_card.h"
#include "datasheet/ui/reorder_controls.h"
#include "navigator/ui/add_chain_dialog.h"
#include "navigator/ui/add_children_dialog.h"
#include "navigator/ui/add_person_dialog.h"
#include "navigator/ui/apply_descendants_dialog.h"
#include "navigator/ui/edit_note_dialog.h"
#include "navigator/ui/husband_wife_dialog.h"
#include "navigator/ui/person_option_dialog.h"
#include "navigator/ui/second_parent_dialog.h"
#include "navigator/ui/tree_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/breastfeeding_window.h"
#include "relations/ui/childless_window.h"
#include "relations/ui/find_window.h"
#include "relations/ui/kinship_window.h"
#include "relations/ui/marriages_window.h"
#include "relations/ui/parent_contradiction_window.h"
#include "relations/ui/person_path_tree.h"
#include "relations/ui/relation_option_dialog.h"
#include "relations/ui/statistics_window.h"
#include "reports/ui/filter_dialog.h"
#include "reports/ui/grid_print.h"
#include "reports/ui/page_setup_dialog.h"
#include "reports/ui/reports_window.h"
#include "shell/startup.h"
#include "shell/ui/bookmarks_window.h"
#include "shell/ui/help_add_card.h"
#include "shell/ui/help_window.h"
#include "shell/ui/last_updated_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/new_tree_dialog.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/person_texts_window.h"
#include "shell/ui/start_page.h"
#include "shell/ui/tree_properties_dialog.h"
#include "shell/ui/tree_window.h"
#include "shell_ui_testing.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

// Every tool window and dialog closes with Escape pressed where the keyboard is when it opens, in the
// English and in the Arabic interface, with a tree open.
class EscapeCloses : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        SetLanguage(GetParam() ? QStringLiteral(":/langs/arabic.local")
                               : QStringLiteral(":/langs/english.local"));
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
        window_ = std::make_unique<TfrmFamilyMain>();
        ASSERT_TRUE(window_->LoadTree(test::MakeTestTree(QStringLiteral("Escape"))));
        window_->show();
    }
    void TearDown() override {
        window_.reset();
        CloseTreeFile();
        test::UseEnglish();
    }

    // Shows the window, presses Escape in the widget that has the keyboard and tells whether it closed.
    static bool ClosesOnEscape(QPointer<QWidget> window) {
        window->show();
        window->activateWindow();
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        if (!window->isVisible())
            return false;
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.data();
        QTest::keyClick(target, Qt::Key_Escape);
        QApplication::processEvents();
        return !window || !window->isVisible();
    }

    std::unique_ptr<TfrmFamilyMain> window_;
};

TEST_P(EscapeCloses, EveryToolWindowAndDialog) {
    QWidget* owner = window_.get();
    TZelGridPrintL print;
    TfrmTreeDialog* picker = new TfrmTreeDialog(owner);
    TfrmAddChildren* addChildren = new TfrmAddChildren(owner);
    const std::vector<std::pair<const char*, std::function<QWidget*()>>> windows = {
        {"general search",
         [&] {
             return new TfrmFind(owner);
         }},
        {"marriages",
         [&] {
             return new TfrmRelationM(owner);
         }},
        {"childless marriages",
         [&] {
             return new TfrmSpousNoChild(owner);
         }},
        {"breastfeeding",
         [&] {
             return new TfrmRelationB(owner);
         }},
        {"parent contradictions",
         [&] {
             return new TfrmParenrContradiction(owner);
         }},
        {"notes",
         [&] {
             return new TfrmNotes(owner);
         }},
        {"summaries",
         [&] {
             return new TfrmBriefing(owner);
         }},
        {"bookmarks",
         [&] {
             return new TfrmBookmark(owner);
         }},
        {"entry transactions",
         [&] {
             return new TfrmLastUpdated(owner);
         }},
        {"statistics",
         [&] {
             return new TfrmPersonInfo(owner);
         }},
        {"kinship",
         [&] {
             return new TfrmKinship(owner);
         }},
        {"lineage path",
         [&] {
             return new TfrmPersonPathTree(owner);
         }},
        {"pictures",
         [&] {
             return new TfrmImageBrows(owner);
         }},
        {"data card",
         [&] {
             return new TfrmQuiqkData(owner);
         }},
        {"tree window",
         [&] {
             return new TfrmTreeWindow(owner);
         }},
        {"reports",
         [&] {
             return new TfrmReports(owner);
         }},
        {"data-entry help",
         [&] {
             return new Tfrm_Help_Add(owner);
         }},
        {"picker",
         [&] {
             return picker;
         }},
        {"add person",
         [&] {
             return new TfrmAddPerson(picker, owner);
         }},
        {"children list",
         [&] {
             return addChildren;
         }},
        {"husband and wife",
         [&] {
             return new TfrmHusbandWifeDialog(addChildren, owner);
         }},
        {"lineage chain",
         [&] {
             return new TfrmAddChain(owner);
         }},
        {"second parent",
         [&] {
             return new Tfrm_ConfirmSecondParent(owner);
         }},
        {"apply to descendants",
         [&] {
             return new Tfrm_Apply_To_Descendents(owner);
         }},
        {"person display options",
         [&] {
             return new TfrmPersonOption(owner);
         }},
        {"bookmark note",
         [&] {
             return new TfrmEditNote(owner);
         }},
        {"relationship",
         [&] {
             return new TfrmRelationOptionDialog(owner);
         }},
        {"date estimate",
         [&] {
             return new TfrmDateApproach(owner);
         }},
        {"net account",
         [&] {
             return new Tfrm_Account_Add(owner);
         }},
        {"section order",
         [&] {
             return new TfrmReorderControls(owner);
         }},
        {"chart children",
         [&] {
             return new Tfrm_Chrt_Cildren_List(owner);
         }},
        {"filter",
         [&] {
             return new Tfrm_Filter(owner);
         }},
        {"page setup",
         [&] {
             return new TfrmZelSetup(print, owner);
         }},
        {"tree properties",
         [&] {
             return new TfrmProperty(owner);
         }},
        {"new tree",
         [&] {
             return new Tfrm_NewTree(owner);
         }},
        {"options",
         [&] {
             return new Tfrm_Options(owner);
         }},
        {"start page",
         [&] {
             return new Tfrm_Start_Page(owner);
         }},
        {"help",
         [&] {
             return new TfrmHelp(owner);
         }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name);
        // Some windows are gone once closed.
        QPointer<QWidget> window = make();
        EXPECT_TRUE(ClosesOnEscape(window));
        if (window)
            window->hide();
    }
}

// Escape taken by something inside the window does not close it: the outline's label editor cancels the
// typing and the tree window stays; the next Escape closes it.
TEST_P(EscapeCloses, NotWhileTheLabelEditorTakesIt) {
    ASSERT_EQ(
        Dm().Execute(QStringLiteral("INSERT INTO ftPerson (person_id, person_name, father_id, mother_id, "
                                    "gender) VALUES ('{P}', 'Person', '-1', '0', 'm')")),
        1);
    TfrmTreeWindow* treeWindow = window_->OpenTreeWindow(QStringLiteral("{P}"));
    ASSERT_NE(treeWindow, nullptr);
    QApplication::processEvents();
    QTreeView* outline = treeWindow->TreeFrame()->View();
    outline->setFocus();
    QTest::keyClick(outline, Qt::Key_F2);
    QLineEdit* editor = nullptr;
    for (QLineEdit* line : outline->viewport()->findChildren<QLineEdit*>())
        if (line->isVisible())
            editor = line;
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("typed"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(treeWindow->isVisible());
    EXPECT_EQ(GetPersonName(QStringLiteral("{P}")), QStringLiteral("Person"));
    QTest::keyClick(outline, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(treeWindow->isVisible()) << "only a bare Escape closes";
    QTest::keyClick(outline, Qt::Key_Escape);
    EXPECT_FALSE(treeWindow->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Directions, EscapeCloses, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Arabic" : "English"; });

} // namespace
