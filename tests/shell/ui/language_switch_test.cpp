#include "common/testing.h"
#include "datasheet/ui/data_sheet.h"
#include "navigator/ui/outline_keys.h"
#include "navigator/ui/tree_frame.h"
#include "reports/ui/name_search_box.h"
#include "shell/startup.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/options_dialog.h"
#include "shell/ui/tree_window.h"
#include "shell_ui_testing.h"
#include "text/user_options.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

// Chooses a language in the options dialog and confirms it, as a user does, then lets the windows take it.
void ChooseLanguage(TfrmFamilyMain& window, const QString& entry) {
    Tfrm_Options* dialog = window.OptionsDialog();
    dialog->show();
    const int index = dialog->LanguageList()->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    dialog->LanguageList()->setCurrentIndex(index);
    dialog->accept();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// What a reader sees of one language in the main window, its outline and an open tree window.
void ExpectInterface(TfrmFamilyMain& window, TfrmTreeWindow& tree, bool translated, bool rightToLeft) {
    const Qt::LayoutDirection direction = rightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
    const QString where = Local().Target.Name;
    EXPECT_EQ(window.layoutDirection(), direction) << where.toStdString();
    EXPECT_EQ(tree.layoutDirection(), direction) << where.toStdString();
    // Arabic-script captions carry an Alt letter of their own.
    EXPECT_EQ(QString(window.Menu()->mnuFile->title()).remove(u'&'),
              QString(Translate(QStringLiteral("&File"))).remove(u'&'));
    EXPECT_EQ(window.Menu()->mnuFile->title() == QStringLiteral("&File"), !translated) << where.toStdString();
    for (TframTree* outline : {window.TreeFrame(), tree.TreeFrame()}) {
        EXPECT_EQ(outline->View()->layoutDirection(), direction)
            << where.toStdString() << " outline mirroring";
        const QList<QMenu*> menus = outline->findChildren<QMenu*>();
        ASSERT_FALSE(menus.isEmpty());
        EXPECT_EQ(menus.front()->layoutDirection(), direction) << where.toStdString() << " popup menu";
        bool hinted = false;
        for (const QWidget* child : outline->findChildren<QWidget*>())
            hinted = hinted ||
                     child->toolTip() == HintWithKey(Translate(QStringLiteral("Add Male Person (Insert)")),
                                                     TOutlineKey::AddSon);
        EXPECT_TRUE(hinted) << where.toStdString() << " hints";
    }
    EXPECT_EQ(tree.windowTitle(), Translate(QStringLiteral("Tree")));
    EXPECT_EQ(tree.windowTitle() == QStringLiteral("Tree"), !translated) << where.toStdString();
    EXPECT_EQ(tree.CloseButton()->text(), Translate(QStringLiteral("&Close")));
    for (TNameSearchBox* search : {window.SearchBox(), tree.SearchBox()})
        EXPECT_EQ(search->FindButton()->text(), Translate(QStringLiteral("Find"))) << where.toStdString();
}

} // namespace

// After the options' OK every open window speaks the chosen language and reads in its direction at once:
// the main window with its outline and popup menu, an open tree window and both search boxes.
TEST(LanguageSwitch, EveryOpenWindowFollowsAtOnce) {
    Options() = TOptions();
    InitialiseProgram({test::NewTempDir(), QString()});
    ASSERT_TRUE(Local().Target.RightToLeft) << "Arabic is the default";
    test::RecordedMessages messages;
    const QString path = test::MakeTestTree(QStringLiteral("Switch"));
    TfrmFamilyMain window;
    window.show();
    ASSERT_TRUE(window.LoadTree(path));
    TfrmTreeWindow* tree = window.OpenTreeWindow(QString());
    ASSERT_NE(tree, nullptr);
    QApplication::processEvents();
    ExpectInterface(window, *tree, true, true);

    ChooseLanguage(window, QStringLiteral("English  English"));
    EXPECT_EQ(Local().Target.Name, QStringLiteral("English"));
    ExpectInterface(window, *tree, false, false);
    const auto* gender = window.DataSheet()->findChild<QLineEdit*>(QStringLiteral("txtGender"));
    ASSERT_NE(gender, nullptr);
    EXPECT_EQ(gender->text(), QStringLiteral("Male")) << "the shown person's values in the new language";

    ChooseLanguage(window, QStringLiteral("العربية  Arabic"));
    ExpectInterface(window, *tree, true, true);
    // The toolkit's own texts (file dialogs, standard buttons) follow where the system translates them.
    const QString qtArabic = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qt_ar.qm");
    if (QFileInfo::exists(qtArabic)) {
        EXPECT_NE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Open"));
    }

    ChooseLanguage(window, QStringLiteral("English  English"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Open"));
    // A language the toolkit has no translation of is taken at once all the same.
    ChooseLanguage(window, QStringLiteral("اُردُو  Urdu"));
    ExpectInterface(window, *tree, true, true);
    EXPECT_EQ(window.Menu()->mnuFile->title(), QStringLiteral("&فائل"));
    window.CloseCurrentTree();
    Options() = TOptions();
    test::UseEnglish();
}
