#include "datasheet/ui/collapsible_panel.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/mate_child_frame.h"
#include "datasheet/ui/pictures_frame.h"
#include "reports/ui/zel_grid.h"
#include "sheet_fixture.h"
#include "storage/relation_store.h"
#include "storage/tree_rows.h"
#include "text/user_options.h"

#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>

namespace verdan::test {
namespace {

// Every data-sheet write is one step named after the person shown; undoing it gives the tree back.
class SheetUndoStepsTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Options() = TOptions();
        Put("{H}", "-1", "0", "Hasan", "m");
        Put("{A}", "-1", "0", "Amina", "f");
        Put("{C}", "{H}", "{A}", "Zaid", "m");
        ASSERT_TRUE(AddMarriage("{H}", "{A}"));
    }
};

TEST_F(SheetUndoStepsTest, PendingEditsAreNamedAfterTheirSectionOrThePerson) {
    TframDataSheet sheet;
    sheet.resize(500, 700);
    sheet.show();
    sheet.LoadPerson("{H}");
    ExpectOneUndoStep("Edit the names of «Hasan»", [&] {
        Type(sheet.findChild<QLineEdit*>("txtCognomen"), "Abu Zaid");
        sheet.LoadPerson("{A}");
    });
    EXPECT_EQ(Column("{H}", "Cognomen"), "Abu Zaid");
    // Edits of several sections are one step.
    sheet.ReloadPerson();
    ExpectOneUndoStep("Edit «Amina»", [&] {
        Type(sheet.findChild<QLineEdit*>("txtPerson_Name"), "Aminah");
        QTest::keyClicks(sheet.findChild<QPlainTextEdit*>("txtNotes"), "a note");
        sheet.SavePendingEdits();
    });
    // The name is the interface language's.
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    sheet.ReloadPerson();
    ExpectOneUndoStep(QStringLiteral(u"تعديل ملاحظات «Aminah»"), [&] {
        QTest::keyClicks(sheet.findChild<QPlainTextEdit*>("txtNotes"), " more");
        sheet.SavePendingEdits();
    });
}

TEST_F(SheetUndoStepsTest, MatesAndChildrenActionsAreOneStepEach) {
    TframMateChild frame;
    frame.resize(700, 300);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.LoadRelations("{H}");
    frame.MatesGrid()->SetCurrentCell(TframMateChild::kNameCol, 1);
    ExpectOneUndoStep("Detach «Zaid» from «Amina»",
                      [&] { frame.ChildrenList()->item(0)->setCheckState(Qt::Unchecked); });
    EXPECT_EQ(Column("{C}", "Mother_Id"), "0");
    ASSERT_TRUE(Undo());
    frame.LoadRelations("{H}");
    ExpectOneUndoStep("Change the divorce mark of «Hasan» and «Amina»", [&] { frame.ToggleSplit(1); });
    frame.LoadRelations("{H}");
    frame.MatesGrid()->SetCurrentCell(TframMateChild::kNameCol, 1);
    // The marriage and its children's mother go in one step.
    sink_.answer = IDYES;
    ExpectOneUndoStep("Remove the marriage of «Hasan» and «Amina»",
                      [&] { frame.findChild<QToolButton*>("btDeleteMate")->click(); });
    EXPECT_FALSE(MarriageExists("{H}", "{A}"));
    EXPECT_EQ(Column("{C}", "Mother_Id"), "0");
}

TEST_F(SheetUndoStepsTest, PicturesAreAddedAndRemovedInNamedSteps) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString file = NewTempDir() + QStringLiteral("/face.png");
    ASSERT_TRUE(image.save(file));
    TframPictures frame;
    frame.show();
    frame.LoadPictures("{A}");
    ExpectOneUndoStep("Add a picture to «Amina»", [&] { frame.AddPictures({file}); });
    frame.LoadPictures("{A}");
    sink_.answer = IDYES;
    ExpectOneUndoStep("Remove the picture of «Amina»", [&] { frame.btClearPictureClick(); });
}

} // namespace
} // namespace verdan::test
