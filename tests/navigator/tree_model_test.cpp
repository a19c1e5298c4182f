#include "gedcom/gedcom_import.h"
#include "navigator/outline_fixture.h"
#include "navigator/tree_model.h"
#include "reports/grid_markup.h"
#include "text/user_options.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QFont>

namespace verdan::test {
namespace {

QStringList Names(const TTreeModel& model, const QModelIndex& parent) {
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names << model.index(row, 0, parent).data(Qt::EditRole).toString();
    return names;
}

QModelIndex Child(const TTreeModel& model, const QModelIndex& parent, const QString& name) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        if (child.data(Qt::EditRole).toString() == name)
            return child;
    }
    return {};
}

class TreeModelTest : public OutlineTest {
protected:
    void TearDown() override {
        Options() = TOptions();
        OutlineTest::TearDown();
    }
    TTreeModel model_;
};

TEST_F(TreeModelTest, StaysConsistentWhileNodesComeAndGo) {
    // Four generations, a few hundred persons, with wives and children recorded under both parents.
    int count = 0;
    auto id = [](const QString& prefix, int n) {
        return prefix + QString::number(n);
    };
    Transaction transaction;
    Person("A", "Founder", "-1", "0");
    QStringList generation{"A"};
    for (int depth = 0; depth < 3; ++depth) {
        QStringList next;
        for (const QString& father : generation) {
            const QString wife = id("W", ++count);
            Person(wife, "Wife", "0", "0", "f");
            Marry(father, wife);
            for (int k = 0; k < 7; ++k) {
                const QString child = id("P", ++count);
                Person(child, "Child", father, k % 2 ? wife : "0", k == 6 ? "f" : "m", k + 1, k + 1);
                if (k < 6)
                    next << child;
            }
        }
        generation = next;
    }
    ASSERT_TRUE(transaction.Commit());
    ASSERT_GT(count, 300);

    // The tester must not fetch by itself: a fetch from inside its own change checks would nest changes.
    QAbstractItemModelTester tester(&model_, QAbstractItemModelTester::FailureReportingMode::Fatal);
    tester.setUseFetchMore(false);
    model_.FillTree();
    const QModelIndex founder = Child(model_, model_.RootIndex(), "Founder");
    ASSERT_TRUE(founder.isValid());
    ASSERT_TRUE(model_.ExpandPersonNode(founder));
    EXPECT_EQ(model_.rowCount(founder), 7);
    for (int row = 0; row < model_.rowCount(founder); ++row)
        model_.ExpandPersonNode(model_.index(row, 0, founder));
    const QModelIndex son = model_.index(0, 0, founder);
    EXPECT_EQ(model_.rowCount(son), 7);
    model_.ResetNode(son);
    EXPECT_EQ(model_.rowCount(son), 0);
    EXPECT_TRUE(model_.hasChildren(son));
    EXPECT_TRUE(model_.LocatePerson(id("P", count - 1)).isValid());
    model_.RemovePersonNodes("P1");
    model_.RefreshPersonNode("P2");
    model_.ResetNode(founder);
    model_.ClearTree();
    EXPECT_TRUE(model_.IsEmpty());
}

TEST_F(TreeModelTest, FirstLevelHoldsPersonsWithoutFatherInOrder) {
    Person("B", "Second", "", "0", "m", 2, 99);
    Person("A", "First", "-1", "0", "m", 1, 99);
    Person("N", "Null father", "-1", "0", "m", 3, 99);
    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET father_id = NULL WHERE person_id = 'N'")), 1);
    Person("C", "Child", "A", "0");
    model_.FillTree();
    ASSERT_EQ(model_.rowCount(), 1);
    const QModelIndex root = model_.RootIndex();
    EXPECT_EQ(root.data().toString(), "Tree");
    EXPECT_TRUE(root.data(TTreeModel::IsRootRole).toBool());
    EXPECT_EQ(root.data(TTreeModel::ImageRole).toInt(), kImageRoot);
    EXPECT_TRUE(root.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(model_.Record(root), nullptr);
    // The outside-the-tree group comes last through its order 1000.
    EXPECT_EQ(Names(model_, root), (QStringList{"First", "Second", "Null father", "Other Ancestries"}));
    EXPECT_TRUE(model_.hasChildren(Child(model_, root, "First")));
    EXPECT_FALSE(model_.hasChildren(Child(model_, root, "Second")));
    EXPECT_EQ(model_.Level(Child(model_, root, "First")), 1);
    EXPECT_EQ(model_.Record(Child(model_, root, "First"))->FatherId, "");

    ASSERT_EQ(Dm().Execute(QStringLiteral("DELETE FROM ftPerson")), 5);
    model_.FillTree();
    EXPECT_EQ(model_.rowCount(), 1);
    EXPECT_EQ(model_.rowCount(model_.RootIndex()), 0);
}

TEST_F(TreeModelTest, ChildrenFollowTheParentColumnOfTheParentsGender) {
    Person("F", "Father", "-1", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("S1", "Son one", "F", "M", "m", 2, 1);
    Person("S2", "Son two", "F", "0", "m", 1, 99);
    Person("D", "Daughter of mother", "0", "M", "f", 99, 2);
    Person("T", "Top with mother", "-1", "M", "m", 99, 3);
    Person("X", "Nowhere", "0", "0");
    Person("E", "Wrong column", "0", "F", "m", 5, 5); // a man recorded as a mother
    Person("G", "Woman as father", "M", "0", "m", 9, 9);
    model_.FillTree();
    const QModelIndex root = model_.RootIndex();
    const QModelIndex father = Child(model_, root, "Father");
    const QModelIndex mother = Child(model_, root, "Mother");
    EXPECT_EQ(Names(model_, root), (QStringList{"Top with mother", "Father", "Mother", "Other Ancestries"}));

    ASSERT_TRUE(model_.ExpandPersonNode(father));
    EXPECT_EQ(Names(model_, father), (QStringList{"Son two", "Son one", "Wrong column"}));
    const TPersonNode* wrong = model_.Record(model_.index(2, 0, father));
    EXPECT_EQ(wrong->ErrorMark, "Error");
    EXPECT_EQ(model_.index(2, 0, father).data(Qt::BackgroundRole).value<QColor>(), ColorFromBgr(0x00DDDDFF));
    EXPECT_EQ(model_.Record(model_.index(0, 0, father))->ErrorMark, "");
    const TPersonNode* sonOne = model_.Record(model_.index(1, 0, father));
    EXPECT_EQ(sonOne->FatherId, "F");
    EXPECT_EQ(sonOne->MotherId, "M");

    ASSERT_TRUE(model_.ExpandPersonNode(mother));
    EXPECT_EQ(Names(model_, mother),
              (QStringList{"Son one", "Daughter of mother", "Top with mother", "Woman as father"}));
    EXPECT_EQ(model_.Record(model_.index(3, 0, mother))->ErrorMark, "Error");
    const TPersonNode* daughter = model_.Record(model_.index(1, 0, mother));
    EXPECT_EQ(daughter->FatherId, "0");
    EXPECT_EQ(daughter->MotherId, "M");
    EXPECT_EQ(model_.Level(model_.index(1, 0, mother)), 2);
    EXPECT_FALSE(model_.FindPersonNode("X").isValid());
    EXPECT_FALSE(model_.ExpandPersonNode(root));
    EXPECT_FALSE(model_.canFetchMore(root));
}

TEST_F(TreeModelTest, OutsideGroupShowsChildrenOfEitherColumnOnce) {
    Person("A", "By father", global_, "0", "m", 1, 99);
    Person("W", "Wife", "-1", "0", "f");
    Person("B", "By mother", "0", global_, "m", 2, 99);
    model_.FillTree();
    const QModelIndex global = Child(model_, model_.RootIndex(), "Other Ancestries");
    EXPECT_TRUE(model_.IsGlobalParent(global));
    EXPECT_TRUE(global.data(TTreeModel::IsGlobalParentRole).toBool());
    EXPECT_FALSE(model_.flags(global) & Qt::ItemIsEditable);
    EXPECT_EQ(global.data(Qt::ForegroundRole).value<QColor>(), ColorFromBgr(0x00808080));
    ASSERT_TRUE(model_.ExpandPersonNode(global));
    EXPECT_EQ(Names(model_, global), (QStringList{"By father", "By mother"}));
}

TEST_F(TreeModelTest, ImagesComeFromOptionsGroupGenderAndMarriage) {
    Person("I", "Icon", "-1", "0");
    DisplayOptions("I", 2, 0, "");
    Person("G", "Group", "-1", "0", "m", 99, 99, true);
    Person("A", "Arabic male", "-1", "0", "ذكر");
    Person("F", "Arabic female", "-1", "0", "أنثى");
    Person("H", "Husband", "-1", "0");
    Person("W", "Wife", "-1", "0", "f");
    Marry("H", "W");
    Person("N", "No gender", "-1", "0", "");
    Person("O", "Other gender", "-1", "0", "x");
    model_.FillTree();
    const QModelIndex root = model_.RootIndex();
    auto image = [&](const QString& name) {
        return Child(model_, root, name).data(TTreeModel::ImageRole).toInt();
    };
    EXPECT_EQ(image("Icon"), 2);
    EXPECT_EQ(image("Group"), kImageGroup);
    EXPECT_EQ(image("Arabic male"), kImageMan);
    EXPECT_EQ(model_.Record(Child(model_, root, "Arabic male"))->Gender, "m");
    EXPECT_EQ(image("Arabic female"), kImageWoman);
    EXPECT_EQ(model_.Record(Child(model_, root, "Arabic female"))->Gender, "f");
    EXPECT_EQ(image("Husband"), kImageMarriedMan);
    EXPECT_EQ(image("Wife"), kImageMarriedWoman);
    EXPECT_EQ(image("No gender"), kImageNoGender);
    EXPECT_EQ(image("Other gender"), kImageNoGender);
    EXPECT_EQ(Column("A", "gender"), "ذكر"); // the table keeps its value
}

TEST_F(TreeModelTest, CollapseDropsChildrenAndReexpandShowsTheStoredState) {
    Person("F", "Father", "-1", "0");
    Person("S", "Son", "F", "0");
    model_.FillTree();
    const QModelIndex father = Child(model_, model_.RootIndex(), "Father");
    model_.fetchMore(father);
    EXPECT_EQ(Names(model_, father), QStringList{"Son"});
    EXPECT_FALSE(model_.canFetchMore(father));

    // Another window changes the table behind the outline.
    Person("T", "Second son", "F", "0");
    ASSERT_EQ(
        Dm().Execute(QStringLiteral("UPDATE ftPerson SET person_name = 'Renamed' WHERE person_id = 'S'")), 1);
    EXPECT_EQ(Names(model_, father), QStringList{"Son"});
    model_.ResetNode(father);
    EXPECT_FALSE(model_.IsLoaded(father));
    EXPECT_TRUE(model_.canFetchMore(father));
    model_.fetchMore(father);
    EXPECT_EQ(Names(model_, father), (QStringList{"Renamed", "Second son"}));

    // A node whose children all left shows no expand mark after its reset.
    ASSERT_EQ(Dm().Execute(QStringLiteral("DELETE FROM ftPerson WHERE father_id = 'F'")), 2);
    model_.ResetNode(father);
    EXPECT_FALSE(model_.hasChildren(father));
}

TEST_F(TreeModelTest, DisplayFollowsOptionsTitlesAndLevels) {
    Person("A", "Ancestor", "-1", "0");
    DisplayOptions("A", 0, 0x000000FF, "Sheikh", true);
    Person("B", "Son", "A", "0");
    DisplayOptions("B", 0, 0x0000FF00, "");
    Person("C", "Grandson", "B", "0");
    Person("W", "Wife", "-1", "0", "f");
    Marry("C", "W");
    model_.FillTree();
    const QModelIndex a = Child(model_, model_.RootIndex(), "Ancestor");
    EXPECT_EQ(a.data().toString(), "Ancestor (Sheikh )");
    EXPECT_EQ(a.data(Qt::EditRole).toString(), "Ancestor");
    const QFont font = a.data(Qt::FontRole).value<QFont>();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    // A title brings back the outline's own colour.
    EXPECT_FALSE(a.data(Qt::ForegroundRole).isValid());
    model_.fetchMore(a);
    const QModelIndex b = model_.index(0, 0, a);
    EXPECT_EQ(b.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 255, 0));
    model_.fetchMore(b);
    const QModelIndex c = model_.index(0, 0, b);
    EXPECT_FALSE(b.data(Qt::BackgroundRole).isValid());

    Options().LevelsHasColors = true;
    EXPECT_FALSE(a.data(Qt::BackgroundRole).isValid()); // level 1 keeps the plain background
    EXPECT_EQ(b.data(Qt::BackgroundRole).value<QColor>(),
              LightenColor(ColorFromBgr(static_cast<quint32>(kLevelPalette[2])), 40));
    EXPECT_EQ(c.data(Qt::BackgroundRole).value<QColor>(),
              LightenColor(ColorFromBgr(static_cast<quint32>(kLevelPalette[3])), 40));
    EXPECT_FALSE(c.data(Qt::ForegroundRole).isValid());
    Options().MarkIfHasMate = true;
    EXPECT_EQ(c.data(Qt::ForegroundRole).value<QColor>(), ColorFromBgr(0x00800000));
}

TEST_F(TreeModelTest, MarkingCyclesThroughThePaletteAndUnmarkClears) {
    Person("A", "Ancestor", "-1", "0");
    Person("B", "Son", "A", "0");
    model_.FillTree();
    const QModelIndex a = Child(model_, model_.RootIndex(), "Ancestor");
    model_.fetchMore(a);
    const QModelIndex b = model_.index(0, 0, a);
    // The marking index is shared by the whole program; find where it stands.
    model_.MarkAncestors(b);
    const qint32 first = model_.Record(b)->MarkColor;
    int start = 0;
    while (kLevelPalette[start] != first)
        ++start;
    EXPECT_EQ(model_.Record(a)->MarkColor, first);
    EXPECT_EQ(model_.Record(model_.RootIndex()), nullptr);
    for (int i = 1; i <= 10; ++i) {
        model_.MarkAncestors(b);
        EXPECT_EQ(model_.Record(b)->MarkColor, kLevelPalette[(start + i) % 10]);
    }
    EXPECT_EQ(b.data(Qt::BackgroundRole).value<QColor>(),
              ColorFromBgr(static_cast<quint32>(kLevelPalette[start])));
    model_.UnmarkAncestors(b);
    EXPECT_EQ(model_.Record(b)->MarkColor, -1);
    EXPECT_EQ(model_.Record(a)->MarkColor, -1);
}

TEST_F(TreeModelTest, LocateOpensTheLineDownToThePerson) {
    Person("A", "Ancestor", "-1", "0");
    Person("M", "Mother", "A", "0", "f");
    Person("B", "Grandson", "0", "M");
    Person("C", "Great grandson", "B", "0");
    Person("L", "Loop one", "K", "0");
    Person("K", "Loop two", "L", "0");
    Person("O", "Outside", global_, "0");
    model_.FillTree();
    EXPECT_EQ(TTreeModel::AncestorChain("C"), (QStringList{"C", "B", "M", "A"}));
    const QModelIndex c = model_.LocatePerson("C");
    ASSERT_TRUE(c.isValid());
    EXPECT_EQ(model_.Record(c)->PersonId, "C");
    EXPECT_EQ(model_.Level(c), 4);
    EXPECT_TRUE(model_.IsLoaded(c.parent()));
    EXPECT_EQ(model_.FindPersonNode("C"), c);

    // Links that loop never stop the walk and are shown nowhere.
    EXPECT_EQ(TTreeModel::AncestorChain("L"), (QStringList{"L", "K"}));
    EXPECT_FALSE(model_.LocatePerson("L").isValid());
    const QModelIndex outside = model_.LocatePerson("O");
    ASSERT_TRUE(outside.isValid());
    EXPECT_TRUE(model_.IsGlobalParent(outside.parent()));
    EXPECT_FALSE(model_.LocatePerson("").isValid());
}

TEST_F(TreeModelTest, RefreshAndRemovalReachEveryNodeOfThePerson) {
    Person("F", "Father", "-1", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("S", "Son", "F", "M");
    Person("G", "Grandson", "S", "0");
    model_.FillTree();
    const QModelIndex root = model_.RootIndex();
    model_.fetchMore(Child(model_, root, "Father"));
    model_.fetchMore(Child(model_, root, "Mother"));
    ASSERT_EQ(model_.FindPersonNodes("S").size(), 2);
    model_.fetchMore(model_.FindPersonNodes("S").front());

    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET person_name = 'New', gender = 'f' "
                                          "WHERE person_id = 'S'")),
              1);
    DisplayOptions("S", 0, 0, "Dr");
    model_.RefreshPersonNode("s"); // identifiers compare without letter case
    for (const QModelIndex& node : model_.FindPersonNodes("S")) {
        EXPECT_EQ(node.data().toString(), "New (Dr )");
        EXPECT_EQ(node.data(TTreeModel::ImageRole).toInt(), kImageWoman);
    }
    model_.RemovePersonNodes("S");
    EXPECT_TRUE(model_.FindPersonNodes("S").isEmpty());
    EXPECT_FALSE(model_.FindPersonNode("G").isValid());
    EXPECT_FALSE(model_.hasChildren(Child(model_, root, "Father")));
}

TEST_F(TreeModelTest, RenameInPlaceWritesTheCutNameAndRefusesBlank) {
    Person("F", "Father", "-1", "0");
    Person("M", "Mother", "-1", "0", "f");
    Person("S", "Son", "F", "M");
    model_.FillTree();
    const QModelIndex root = model_.RootIndex();
    model_.fetchMore(Child(model_, root, "Father"));
    model_.fetchMore(Child(model_, root, "Mother"));
    const QModelIndex son = model_.FindPersonNode("S");
    EXPECT_TRUE(model_.flags(son) & Qt::ItemIsEditable);
    EXPECT_FALSE(model_.flags(root) & Qt::ItemIsEditable);

    EXPECT_FALSE(model_.setData(son, "   "));
    EXPECT_EQ(Column("S", "person_name"), "Son");
    EXPECT_EQ(son.data().toString(), "Son");

    const QString longName = QString(60, u'ب');
    ASSERT_TRUE(model_.setData(son, "  " + longName));
    EXPECT_EQ(Column("S", "person_name"), QString(50, u'ب'));
    EXPECT_FALSE(Column("S", "date_modified").isEmpty());
    for (const QModelIndex& node : model_.FindPersonNodes("S"))
        EXPECT_EQ(node.data(Qt::EditRole).toString(), longName);

    const QModelIndex global = Child(model_, root, "Other Ancestries");
    EXPECT_FALSE(model_.setData(global, "Renamed"));
    EXPECT_FALSE(model_.setData(root, "Renamed"));
    model_.SetReadOnly(true);
    EXPECT_FALSE(model_.flags(son) & Qt::ItemIsEditable);
    EXPECT_FALSE(model_.setData(son, "Other"));
}

// Expands every node below `parent` down to `depth` and counts the nodes met.
int ExpandAll(TTreeModel& model, const QModelIndex& parent, int depth) {
    int count = 0;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        ++count;
        if (model.Level(child) < depth && model.hasChildren(child)) {
            model.ExpandPersonNode(child);
            count += ExpandAll(model, child, depth);
        }
    }
    return count;
}

TEST(TreeModelImport, AnImportedGedcomTreeOpensAndExpands) {
    TGedcomImportOptions options;
    options.BaseFolder = NewTempDir();
    TGedcomImportResult result;
    ASSERT_TRUE(ImportGedcomFile(SampleData("gedcom/royal92.ged"), options, result))
        << result.ErrorMessage.toStdString();
    ASSERT_TRUE(OpenTreeFile(result.TreePath));
    TTreeModel model;
    model.FillTree();
    EXPECT_GT(model.rowCount(model.RootIndex()), 0);
    EXPECT_GT(ExpandAll(model, model.RootIndex(), 8), 1000);
    CloseTreeFile();
}

} // namespace
} // namespace verdan::test
