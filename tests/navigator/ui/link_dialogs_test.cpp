#include "common/written_names.h"
#include "navigator/outline_fixture.h"
#include "navigator/tree_model.h"
#include "navigator/ui/add_chain_dialog.h"
#include "navigator/ui/add_children_dialog.h"
#include "navigator/ui/husband_wife_dialog.h"
#include "navigator/ui/second_parent_dialog.h"
#include "navigator/ui/tree_dialog.h"
#include "navigator/ui/tree_frame.h"
#include "reports/ui/name_search_box.h"
#include "reports/ui/zel_grid.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/localisation.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace verdan::test {
namespace {

const QString kAli = QStringLiteral("{20000000-0000-0000-0000-000000000001}");
const QString kAmina = QStringLiteral("{20000000-0000-0000-0000-000000000002}");
const QString kHasan = QStringLiteral("{20000000-0000-0000-0000-000000000003}");
const QString kSalma = QStringLiteral("{20000000-0000-0000-0000-000000000004}");

// Each dialog is tried in both reading directions.
class LinkDialogsTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person(kAli, "Ali", "-1", "0", "m", 1);
        Person(kAmina, "Amina", "-1", "0", "f", 2);
        Person(kHasan, "Hasan", kAli, "0", "m", 1);
        Person(kSalma, "Salma Aliyya", kAli, "0", "f", 2);
    }
    void TearDown() override {
        QApplication::setLayoutDirection(Qt::LeftToRight);
        OutlineTest::TearDown();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    static QModelIndex Node(TfrmTreeDialog& picker, const QString& id) {
        picker.Outline()->LocatePerson(id);
        return picker.Outline()->Model()->FindPersonNode(id);
    }
};

TEST_P(LinkDialogsTest, ThePickerReportsTheRootPersonsAndNeverTheGroup) {
    TfrmTreeDialog picker;
    picker.SetMultiSelect(false);
    picker.show();
    Settle();
    EXPECT_TRUE(picker.Outline()->IsReadOnly());
    EXPECT_EQ(picker.Outline()->View()->layoutDirection(), Qt::RightToLeft);
    TTreeModel* model = picker.Outline()->Model();
    picker.Outline()->View()->setCurrentIndex(model->RootIndex());
    picker.accept();
    EXPECT_TRUE(picker.Accepted());
    EXPECT_EQ(picker.Chosen().Id, "-1");
    EXPECT_EQ(picker.Chosen().Caption, GetTreeName());
    EXPECT_EQ(picker.Chosen().Ids, QStringList{"-1"});

    picker.SetMultiSelect(true);
    picker.show();
    Settle();
    QList<QModelIndex> nodes;
    for (const QString& id : {kHasan, global_, kAmina})
        nodes << Node(picker, id);
    QItemSelectionModel* selection = picker.Outline()->View()->selectionModel();
    selection->clearSelection();
    for (const QModelIndex& node : nodes)
        selection->select(node, QItemSelectionModel::Select);
    picker.accept();
    EXPECT_TRUE(picker.Chosen().Id.isEmpty());
    EXPECT_EQ(picker.Chosen().Ids.size(), 2);
    EXPECT_FALSE(picker.Chosen().Ids.contains(global_));

    picker.SetMultiSelect(false);
    picker.show();
    Settle();
    picker.Outline()->View()->setCurrentIndex(Node(picker, kSalma));
    picker.accept();
    EXPECT_EQ(picker.Chosen().Id, kSalma);
    EXPECT_EQ(picker.Chosen().Gender, "f");
    picker.show();
    picker.reject();
    EXPECT_FALSE(picker.Accepted());
    EXPECT_TRUE(picker.Chosen().Ids.isEmpty());
}

TEST_P(LinkDialogsTest, TheNameListFiltersByGenderAndFindsFromTheStartOrAnywhere) {
    TfrmTreeDialog picker;
    picker.SetGenderFilter("f");
    picker.show();
    picker.Tabs()->setCurrentIndex(1);
    Settle();
    TZelGrid* grid = picker.NameGrid();
    ASSERT_EQ(grid->RowCount(), 3); // the title row, Amina and Salma
    EXPECT_EQ(grid->Cells(2, 1), "Amina");
    // The filter stays for the next opening, whatever it is for.
    picker.reject();
    EXPECT_EQ(picker.GenderFilter(), "f");

    picker.SetGenderFilter(QString());
    picker.show();
    picker.Tabs()->setCurrentIndex(1);
    Settle();
    ASSERT_EQ(grid->RowCount(), 6); // with the group
    picker.NameListEdit()->setText("ali");
    picker.FindInList();
    EXPECT_EQ(grid->Cells(2, grid->Row()).section(u' ', 0, 0), "Ali");
    const int ali = grid->Row();
    picker.FindInList(); // no other name starts with it: back to row 1
    EXPECT_EQ(grid->Row(), 1);
    picker.InFullNameBox()->setChecked(true);
    grid->SetCurrentCell(2, ali);
    picker.FindInList();
    EXPECT_TRUE(grid->Cells(2, grid->Row()).contains("Ali"));
    EXPECT_NE(grid->Row(), ali);
    // Chosen from the list: its identifier and name, no gender.
    grid->SetCurrentCell(2, ali);
    picker.accept();
    EXPECT_EQ(picker.Chosen().Id, kAli);
    EXPECT_TRUE(picker.Chosen().Gender.isEmpty());
}

// The list's find takes a name however it was written or typed, from its start and inside a full name.
TEST_P(LinkDialogsTest, TheNameListFindsNamesHoweverTheyAreWritten) {
    int n = 10;
    for (const TWrittenName& name : WrittenNames()) {
        Person(QStringLiteral("{20000000-0000-0000-0000-%1}").arg(n, 12, 10, QLatin1Char('0')), name.Stored,
               "-1", "0", "m", n);
        ++n;
    }
    TfrmTreeDialog picker;
    picker.show();
    picker.Tabs()->setCurrentIndex(1);
    Settle();
    TZelGrid* grid = picker.NameGrid();
    for (const TWrittenName& name : WrittenNames()) {
        picker.InFullNameBox()->setChecked(false);
        picker.NameListEdit()->setText(name.Typed);
        grid->SetCurrentCell(2, 1);
        picker.FindInList();
        EXPECT_EQ(grid->Cells(2, grid->Row()), name.Stored) << name.What;
    }
    // Inside a full name: Hasan's father is Ali.
    picker.InFullNameBox()->setChecked(true);
    picker.NameListEdit()->setText(u"ALÍ"_qs);
    grid->SetCurrentCell(2, 1);
    picker.FindInList();
    EXPECT_TRUE(grid->Cells(2, grid->Row()).startsWith(u"Hasan Ali"_qs) ||
                grid->Cells(2, grid->Row()).startsWith(u"Salma Aliyya"_qs))
        << grid->Cells(2, grid->Row()).toStdString();
}

TEST_P(LinkDialogsTest, ThePickerIsFilledAgainWhenAnotherTreeOpens) {
    TfrmTreeDialog picker;
    picker.show();
    Settle();
    ASSERT_TRUE(picker.Outline()->Model()->FindPersonNode(kAli).isValid());
    picker.reject();

    TTreeProperty other;
    other.BasePath = NewTempDir();
    other.FolderName = QStringLiteral("other");
    other.FileName = QStringLiteral("other.vrd");
    other.TreeName = QStringLiteral("Other tree");
    other.OwnerName = QStringLiteral("O");
    const QString path = CreateTreeFolderAndFile(other);
    ASSERT_TRUE(OpenTreeFile(path));
    ASSERT_TRUE(InitialiseNewTree(other));
    picker.show();
    Settle();
    EXPECT_FALSE(picker.Outline()->Model()->FindPersonNode(kAli).isValid());
    EXPECT_EQ(picker.Outline()->Model()->RootIndex().data().toString(), "Other tree");
    picker.reject();
}

// Runs `act` on the picker once Choose has opened it.
void WhilePicking(TfrmTreeDialog& picker, const std::function<void()>& act) {
    QTimer::singleShot(0, [&picker, act] {
        ASSERT_EQ(QApplication::activeModalWidget(), &picker);
        act();
        if (picker.isVisible())
            picker.reject();
    });
}

// Enter in the search box searches and leaves the picker open; a single click on a result selects that
// person in the outline, and OK takes him, named with his lineage.
TEST_P(LinkDialogsTest, ThePickerSearchesOnEnterAndTakesTheResultClicked) {
    TfrmTreeDialog picker;
    WhilePicking(picker, [&] {
        QLineEdit* box = picker.SearchBox()->SearchEdit();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("Salma"));
        QTest::keyClick(box, Qt::Key_Return);
        Settle();
        EXPECT_TRUE(picker.isVisible()) << "Enter pressed OK";
        EXPECT_FALSE(picker.Accepted());
        ASSERT_GE(picker.SearchBox()->ResultCount(), 1);
        picker.Outline()->LocatePerson(kAmina);
        QListView* list = picker.SearchBox()->ResultList();
        int row = 0;
        while (row < picker.SearchBox()->ResultCount() && picker.SearchBox()->ResultPersonId(row) != kSalma)
            ++row;
        ASSERT_LT(row, picker.SearchBox()->ResultCount());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        Settle();
        EXPECT_EQ(picker.Outline()->CurrentPersonId(), kSalma);
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(picker.Choose(QStringLiteral("Pick"), false, QString()));
    EXPECT_EQ(picker.Chosen().Id, kSalma);
    EXPECT_EQ(picker.Chosen().Caption, GetLineageName(kSalma));
    EXPECT_NE(picker.Chosen().Caption, QStringLiteral("Salma Aliyya"));
}

// The caller's check runs before the picker closes: a refusal keeps it open with the reason, a question's
// Cancel goes back to it, another answer closes it with that answer; the next opening checks nothing.
TEST_P(LinkDialogsTest, TheCallersCheckKeepsThePickerOpen) {
    TfrmTreeDialog picker;
    TQuestion question;
    question.text = QStringLiteral("No marriage|Record it?");
    question.answers = {{10, QStringLiteral("Record their marriage"), QStringLiteral("marry")},
                        {11, QStringLiteral("Clear the mother"), QStringLiteral("clear-mother")},
                        {12, QStringLiteral("Cancel"), QStringLiteral("cancel")}};
    question.focus = 11;
    question.escape = 12;
    QStringList checked;
    const TPickCheck check = [&](const TPickedPersons& chosen) {
        checked << chosen.Id;
        if (chosen.Id == kSalma)
            return TPickVerdict::Refused(QStringLiteral("She is his sister."));
        if (chosen.Id == kAmina)
            return TPickVerdict::Ask(question);
        return TPickVerdict::Allowed();
    };
    WhilePicking(picker, [&] {
        picker.SearchBox()->SearchEdit()->setText(QStringLiteral("Salma"));
        picker.SearchBox()->Find();
        picker.Outline()->LocatePerson(kSalma);
        picker.accept();
        EXPECT_TRUE(picker.isVisible());
        EXPECT_EQ(picker.RefusalShown(), QStringLiteral("She is his sister."));
        EXPECT_EQ(picker.SearchBox()->SearchEdit()->text(), QStringLiteral("Salma")) << "the search is kept";
        EXPECT_GE(picker.SearchBox()->ResultCount(), 1);
        picker.Outline()->LocatePerson(kAmina);
        Settle();
        EXPECT_TRUE(picker.RefusalShown().isEmpty()) << "another choice clears the reason";
        shown_.answer = 12;
        picker.accept();
        EXPECT_TRUE(picker.isVisible()) << "Cancel goes back to the picker";
        EXPECT_EQ(shown_.focuses.last(), 11);
        shown_.answer = 11;
        picker.accept();
        EXPECT_FALSE(picker.isVisible());
    });
    EXPECT_TRUE(picker.Choose(QStringLiteral("Pick"), false, QString(), check));
    EXPECT_EQ(picker.Chosen().Id, kAmina);
    EXPECT_EQ(picker.Answer(), 11);
    EXPECT_EQ(checked, (QStringList{kSalma, kAmina, kAmina}));

    WhilePicking(picker, [&] {
        picker.Outline()->LocatePerson(kSalma);
        picker.accept();
    });
    EXPECT_TRUE(picker.Choose(QStringLiteral("Pick"), false, QString()));
    EXPECT_EQ(picker.Chosen().Id, kSalma);
    EXPECT_EQ(picker.Answer(), 0);
    EXPECT_EQ(checked.size(), 3);
}

TEST_P(LinkDialogsTest, TheSecondParentLeavesTheFocusAloneAndGoesByItself) {
    QLineEdit typing;
    typing.show();
    typing.activateWindow();
    typing.setFocus();
    Settle();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(AddMarriage(kAli, kAmina));
    Person("{20000000-0000-0000-0000-000000000009}", "New son", kAli, "0");
    Tfrm_ConfirmSecondParent dialog;
    EXPECT_LE(Tfrm_ConfirmSecondParent::kLifetime, 20000);
    EXPECT_EQ(dialog.CloseTimer().interval(), Tfrm_ConfirmSecondParent::kLifetime);
    dialog.Offer("{20000000-0000-0000-0000-000000000009}", ReadMateStatus(kAli));
    Settle();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_EQ(dialog.MateGrid()->Cells(2, 0), "Wives");
    EXPECT_EQ(dialog.MateGrid()->Cells(1, 1), kAmina);

    // Ignored, it closes at the timer's tick and changes nothing.
    dialog.CloseTimer().setInterval(30);
    dialog.CloseTimer().start();
    QTest::qWait(150);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Column("{20000000-0000-0000-0000-000000000009}", "mother_id"), "0");

    // OK gives the child the mate of the current row.
    QSignalSpy set(&dialog, &Tfrm_ConfirmSecondParent::ParentSet);
    dialog.Offer("{20000000-0000-0000-0000-000000000009}", ReadMateStatus(kAli));
    dialog.accept();
    EXPECT_EQ(Column("{20000000-0000-0000-0000-000000000009}", "mother_id"), kAmina);
    EXPECT_EQ(set.size(), 1);
    EXPECT_FALSE(dialog.CloseTimer().isActive());
}

TEST_P(LinkDialogsTest, TheCouplesChildrenAreTheOnesMarked) {
    Person("{20000000-0000-0000-0000-000000000010}", "Her son", "0", kAmina);
    TfrmAddChildren add;
    TfrmHusbandWifeDialog dialog(&add);
    auto run = [&](const std::function<void()>& mark) {
        QTimer::singleShot(0, &dialog, [&] {
            mark();
            dialog.accept();
        });
        dialog.Offer(kAli, kAmina);
    };
    run([&] {
        EXPECT_EQ(dialog.HusbandChildren()->count(), 2);
        EXPECT_EQ(dialog.WifeChildren()->count(), 1);
        EXPECT_TRUE(dialog.HusbandChildren()->item(0)->text().startsWith("Hasan"));
    });
    EXPECT_EQ(Column(kHasan, "mother_id"), "0"); // nothing marked, nothing changed
    run([&] {
        dialog.AllOfWife()->setChecked(true);
        dialog.HusbandChildren()->item(1)->setCheckState(Qt::Checked);
    });
    EXPECT_EQ(Column(kSalma, "mother_id"), kAmina);
    EXPECT_EQ(Column("{20000000-0000-0000-0000-000000000010}", "father_id"), kAli);
    EXPECT_EQ(Column(kHasan, "mother_id"), "0");
    EXPECT_EQ(dialog.HusbandChildren()->count(), 0); // emptied on closing
}

TEST_P(LinkDialogsTest, PastingIntoAChildrenListGivesOneNameALine) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local")); // its "and" is the letter و
    TfrmAddChildren dialog;
    QTimer::singleShot(0, &dialog, [&] {
        QApplication::clipboard()->setText(QStringLiteral("محمد وعلي، حَسَن"));
        dialog.SonsList()->setFocus();
        QTest::keyClick(dialog.SonsList(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(dialog.SonsList()->toPlainText(), "محمد\nعلي  حسن");
        dialog.SonsList()->setPlainText("Omar\nZaid+");
        dialog.DaughtersList()->setPlainText("Mariam");
        dialog.accept();
    });
    ASSERT_TRUE(dialog.Ask(kAli, QString(), "Ali"));
    ASSERT_EQ(dialog.CreatedIds().size(), 3);
    EXPECT_EQ(Column(dialog.CreatedIds()[0], "order_by_father"), "3");
    EXPECT_EQ(Column(dialog.CreatedIds()[1], "gender"), "f");
    EXPECT_EQ(Column(dialog.CreatedIds()[2], "order_by_father"), "5");
    LoadLanguage(":/langs/english.local");
}

TEST_P(LinkDialogsTest, TheChainDialogCreatesTheLineOfTheSentenceOrTheList) {
    ASSERT_TRUE(LoadLanguage(":/langs/arabic.local"));
    TfrmAddChain dialog;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(dialog.PathEdit()->isVisible());
        // Tatweel is never kept in the sentence.
        dialog.PathEdit()->insertPlainText(QStringLiteral("محـمد بن علي بن حسن"));
        EXPECT_EQ(dialog.PathEdit()->toPlainText(), "محمد بن علي بن حسن");
        dialog.accept();
    });
    ASSERT_TRUE(dialog.Ask(kAli));
    ASSERT_EQ(dialog.CreatedIds().size(), 3);
    EXPECT_EQ(GetPersonName(dialog.ResultId()), "محمد");
    EXPECT_EQ(GetFatherId(dialog.CreatedIds()[0]), kAli);

    QTimer::singleShot(0, &dialog, [&] {
        dialog.ListButton()->click();
        EXPECT_TRUE(dialog.ListEdit()->isVisible());
        dialog.ListEdit()->setPlainText("أبي بكر\n\nعمر");
        dialog.accept();
    });
    ASSERT_TRUE(dialog.Ask("-1"));
    EXPECT_EQ(GetPersonName(dialog.CreatedIds()[0]), "عمر");
    EXPECT_EQ(GetFatherId(dialog.CreatedIds()[0]), "-1");
    EXPECT_EQ(GetPersonName(dialog.ResultId()), "أبي بكر"); // the list keeps the name as typed
    // The form chosen last is kept for the next opening.
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(dialog.ListButton()->isChecked());
        dialog.reject();
    });
    EXPECT_FALSE(dialog.Ask(kAli));
    LoadLanguage(":/langs/english.local");
}

INSTANTIATE_TEST_SUITE_P(Directions, LinkDialogsTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
