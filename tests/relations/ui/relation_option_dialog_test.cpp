#include "navigator/outline_fixture.h"
#include "relations/ui/relation_option_dialog.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace verdan::test {
namespace {

using O = TRelationOption;

class RelationDialogTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person("H", "Husband", "-1", "0");
        Person("W", "Wife", "-1", "0", "f");
        Person("S", "Son", "H", "0");
    }
    void TearDown() override {
        QApplication::setLayoutDirection(Qt::LeftToRight);
        OutlineTest::TearDown();
    }
};

TEST_P(RelationDialogTest, AWomanOntoAManIsOfferedTheWomansRelations) {
    TfrmRelationOptionDialog dialog;
    dialog.Prepare("W", "H");
    EXPECT_EQ(dialog.Option(O::FatherMother)->text(), "Mother");
    EXPECT_EQ(dialog.Option(O::HusbandWife)->text(), "Wife");
    EXPECT_TRUE(dialog.Option(O::FeederMother)->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.Option(O::BrotherSister)->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.RelationLabel()->text().isEmpty());
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    // OK without a choice explains and writes nothing; "Wife" makes the man her husband.
    dialog.accept();
    EXPECT_EQ(shown_.texts.last(), "One of relationship type must be chosen.");
    EXPECT_FALSE(dialog.Changed());
    dialog.Option(O::HusbandWife)->click();
    EXPECT_EQ(dialog.RelationLabel()->text(), "is a wife of");
    dialog.accept();
    EXPECT_TRUE(dialog.Changed());
    EXPECT_EQ(Dm().ScalarText("SELECT person_id_1 FROM ftRelation WHERE relation_type = 0"), "H");

    // Prepared again: nothing is checked, and the marriage no longer blocks, but a man gets no nursing.
    dialog.Prepare("H", "W");
    EXPECT_FALSE(dialog.Option(O::HusbandWife)->isChecked());
    EXPECT_FALSE(dialog.Option(O::FeederMother)->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.Option(O::BrotherSisterX)->text(), "Breastfeeding Brother");
}

TEST_P(RelationDialogTest, ASonOnHisFatherGetsNothingMore) {
    TfrmRelationOptionDialog dialog;
    dialog.Prepare("S", "H");
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    for (O option : {O::FatherMother, O::SonDaughter, O::HusbandWife, O::BrotherSisterX})
        EXPECT_FALSE(dialog.Option(option)->isEnabled());
    ASSERT_EQ(dialog.ExistingRelations()->count(), 1);
    EXPECT_EQ(dialog.ExistingRelations()->item(0)->text(),
              "Son and Husband have a parent/child relationship");
}

INSTANTIATE_TEST_SUITE_P(Directions, RelationDialogTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
