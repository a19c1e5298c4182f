#include "common/testing.h"
#include "datasheet/ui/image_browser.h"
#include "datasheet/ui/quick_data_card.h"
#include "datasheet/ui/quick_info_card.h"
#include "navigator/tree_model.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/tree_frame.h"
#include "relations/ui/person_path_tree.h"
#include "shell/startup.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell_ui_testing.h"
#include "storage/person_store.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class MainWindowCardsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
        window_ = std::make_unique<TfrmFamilyMain>();
        window_->resize(1200, 800);
        window_->show();
        ASSERT_TRUE(window_->LoadTree(test::MakeTestTree("cards")));
    }
    void TearDown() override {
        window_.reset();
        CloseTreeFile();
    }
    // The first node below the root, opened.
    QModelIndex FirstPerson() {
        QTreeView* view = window_->TreeFrame()->View();
        const QModelIndex root = window_->TreeFrame()->Model()->RootIndex();
        view->expand(root);
        return window_->TreeFrame()->Model()->index(0, 0, root);
    }

    QString Record(const QModelIndex& node) const {
        return window_->TreeFrame()->Model()->Record(node)->PersonId;
    }

    test::RecordedMessages messages_;
    std::unique_ptr<TfrmFamilyMain> window_;
};

TEST_F(MainWindowCardsTest, TheViewMenuOpensTheCardsAndTheBrowser) {
    TMainMenu* menu = window_->Menu();
    for (QAction* entry : {menu->mnuDataCard, menu->mnuQuickInfo, menu->mnuPictures})
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    menu->mnuQuickInfo->trigger();
    EXPECT_TRUE(window_->QuickInfoCard()->isVisible());
    EXPECT_TRUE(menu->mnuQuickInfo->isChecked());
    menu->mnuQuickInfo->trigger();
    EXPECT_FALSE(window_->QuickInfoCard()->isVisible());
    EXPECT_FALSE(menu->mnuQuickInfo->isChecked());

    window_->TreeFrame()->View()->setCurrentIndex(FirstPerson());
    const QString person = window_->TreeFrame()->CurrentPersonId();
    ASSERT_FALSE(person.isEmpty());
    menu->mnuDataCard->trigger();
    EXPECT_TRUE(window_->DataCard()->isVisible());
    EXPECT_EQ(window_->DataCard()->PersonId(), person);
    menu->mnuPictures->trigger();
    EXPECT_TRUE(window_->PictureBrowser()->isVisible());
}

TEST_F(MainWindowCardsTest, TheQuickInfoCardFollowsThePointerOverTheOutline) {
    window_->ToggleQuickInfo();
    QTreeView* view = window_->TreeFrame()->View();
    const QModelIndex first = FirstPerson();
    const TPersonNode* node = window_->TreeFrame()->Model()->Record(first);
    ASSERT_NE(node, nullptr);
    QTest::mouseMove(view->viewport(), view->visualRect(first).center());
    QTest::qWait(20);
    EXPECT_EQ(window_->QuickInfoCard()->PersonId(), node->PersonId);
    EXPECT_EQ(window_->QuickInfoCard()->NameLabel()->text(), GetLineageName(node->PersonId));

    // Choosing another node moves a synchronised data card along; the tree closing empties both.
    window_->ShowDataCard(node->PersonId);
    const QModelIndex second = first.siblingAtRow(1);
    if (second.isValid()) {
        view->setCurrentIndex(second);
        EXPECT_EQ(window_->DataCard()->PersonId(), window_->TreeFrame()->Model()->Record(second)->PersonId);
    }
    window_->CloseCurrentTree();
    EXPECT_TRUE(window_->DataCard()->PersonId().isEmpty());
    EXPECT_TRUE(window_->QuickInfoCard()->PersonId().isEmpty());
}

TEST_F(MainWindowCardsTest, TheLineagePathFollowsTheOutlineAndGoesWithTheTree) {
    QTreeView* view = window_->TreeFrame()->View();
    const QModelIndex first = FirstPerson();
    view->setCurrentIndex(first);
    window_->TreeFrame()->ShowLineage();
    TfrmPersonPathTree* path = TLinkDialogs::Instance()->PathWindowIfShown();
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->PersonId(), window_->TreeFrame()->CurrentPersonId());
    // The person below the first one follows; the outside-the-tree group does not.
    view->expand(first);
    const QModelIndex second = window_->TreeFrame()->Model()->index(0, 0, first);
    const QModelIndex outside = first.siblingAtRow(1);
    ASSERT_TRUE(window_->TreeFrame()->Model()->IsGlobalParent(outside));
    ASSERT_TRUE(second.isValid());
    view->setCurrentIndex(second);
    const QString shown = window_->TreeFrame()->Model()->Record(second)->PersonId;
    EXPECT_EQ(path->PersonId(), shown);
    view->setCurrentIndex(outside);
    EXPECT_EQ(path->PersonId(), shown);

    // A person activated in the path is shown in the outline, and the path moves to him.
    QTreeWidgetItem* top = path->PathTree()->topLevelItem(0);
    ASSERT_NE(top, nullptr);
    emit path->PathTree()->itemActivated(top, 0);
    QApplication::processEvents();
    EXPECT_EQ(window_->TreeFrame()->CurrentPersonId(), Record(first));
    EXPECT_EQ(path->PersonId(), Record(first));

    // Another tree never shows the persons of this one.
    window_->CloseCurrentTree();
    EXPECT_FALSE(path->isVisible());
}

} // namespace
