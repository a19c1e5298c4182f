#include "navigator/outline_fixture.h"
#include "relations/ui/person_path_tree.h"
#include "storage/person_names.h"
#include "text/ui/person_follow.h"

#include <QApplication>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace verdan::test {
namespace {

class PersonPathTreeTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person("GF", "Hasan", "-1", "0");
        Person("MGF", "Kareem", "-1", "0");
        Person("MGM", "Amina", "-1", "0", "f");
        Person("F", "Ali", "GF", "0");
        Person("U", "Uncle", "GF", "0");
        Person("M", "Fatima", "MGF", "MGM", "f");
        Person("P", "Muhammad", "F", "M");
        Person("B", "Brother", "F", "M");
        Person("K", "Kid", "P", "0");
    }
    void TearDown() override {
        QApplication::setLayoutDirection(Qt::LeftToRight);
        OutlineTest::TearDown();
    }
    // The texts down the first branch of the tree, from the top to the first entry without children.
    static QStringList Chain(const QTreeWidget* tree) {
        QStringList texts;
        for (const QTreeWidgetItem* item = tree->topLevelItem(0); item; item = item->child(0))
            texts << item->text(0);
        return texts;
    }
    static const QTreeWidgetItem* Find(const QTreeWidget* tree, const QString& text) {
        const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    // The text of the entry above the one of `text`; "-" when there is no such entry or it is at the top.
    static QString Above(const QTreeWidget* tree, const QString& text) {
        const QTreeWidgetItem* item = Find(tree, text);
        return item && item->parent() ? item->parent()->text(0) : QStringLiteral("-");
    }
};

TEST_P(PersonPathTreeTest, TheThreeChainsOfAPersonWithHisFamilyAtTheirPlaces) {
    TfrmPersonPathTree window;
    window.show();
    EXPECT_EQ(window.FatherPathButton()->text(), "Father Lineage");
    EXPECT_TRUE(window.FatherPathButton()->isChecked());
    window.ShowPath("P");
    EXPECT_EQ(window.windowTitle(), "  " + GetLineageName("P"));
    const QTreeWidget* tree = window.PathTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(Chain(tree), (QStringList{"Hasan", "Ali", "Muhammad", "Kid"}));
    const QTreeWidgetItem* person = Find(tree, "Muhammad");
    ASSERT_NE(person, nullptr);
    EXPECT_TRUE(person->font(0).bold());
    EXPECT_FALSE(person->parent()->font(0).bold());
    EXPECT_TRUE(person->isExpanded());
    EXPECT_EQ(Above(tree, "Brother"), "Ali");
    EXPECT_EQ(Above(tree, "Uncle"), "Hasan");

    // Each button rebuilds the window for the same person.
    window.MotherPathButton()->click();
    EXPECT_EQ(window.PersonId(), "P");
    EXPECT_EQ(Chain(tree), (QStringList{"Kareem", "Fatima", "Muhammad", "Kid"}));
    window.MothersChainButton()->click();
    EXPECT_EQ(tree->topLevelItem(0)->text(0), GetShortName("MGM"));
    EXPECT_EQ(Above(tree, GetShortName("P")), GetShortName("M"));

    // The choice stays for the next person.
    window.ShowPath("GF");
    EXPECT_TRUE(window.MothersChainButton()->isChecked());
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2); // his two sons, no brothers at the top
}

TEST_P(PersonPathTreeTest, APersonClickedInThePathIsReportedToTheCards) {
    TfrmPersonPathTree window;
    window.show();
    window.ShowPath("P");
    QTreeWidget* tree = window.PathTree();
    QSignalSpy chosen(&PersonFollow(), &TPersonFollow::Chosen);
    const QTreeWidgetItem* uncle = Find(tree, "Uncle");
    ASSERT_NE(uncle, nullptr);
    const QRect rect = tree->visualItemRect(uncle);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.first().value(0).toString(), "U");

    // A double click asks for him in the outline, once the click is over.
    QSignalSpy activated(&window, &TfrmPersonPathTree::PersonActivated);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_TRUE(activated.isEmpty());
    QApplication::processEvents();
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated.first().value(0).toString(), "U");

    // The window for nobody is empty, and clicking on it reports nothing.
    window.ShowPath("nobody");
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Directions, PersonPathTreeTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
