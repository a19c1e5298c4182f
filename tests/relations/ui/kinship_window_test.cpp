#include "navigator/outline_fixture.h"
#include "relations/ui/kinship_window.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>

namespace verdan::test {
namespace {

// The window in the English (left-to-right) and the Arabic (right-to-left) interface.
class KinshipWindowTest : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        ASSERT_TRUE(LoadLanguage(GetParam() ? ":/langs/arabic.local" : ":/langs/english.local"));
        QApplication::setLayoutDirection(GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
        Person("GF", "Salim", "-1", "0");
        Person("F", "Ali", "GF", "0");
        Person("U", "Umar", "GF", "0");
        Person("P", "Ahmad", "F", "0");
        Person("C", "Hasan", "U", "0");
        Person("NM", "Khadija", "-1", "0", "f");
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) "
                                        "VALUES ('NM', 'P', 2)")),
            1);
    }
    void TearDown() override {
        QApplication::setLayoutDirection(Qt::LeftToRight);
        ASSERT_TRUE(LoadLanguage(":/langs/english.local"));
        OutlineTest::TearDown();
    }
    const char* Pick(const char* english, const char* arabic) const { return GetParam() ? arabic : english; }
};

TEST_P(KinshipWindowTest, TermsBothWaysThePathAndTheMahramAnswer) {
    TfrmKinship window;
    window.show();
    EXPECT_EQ(window.layoutDirection(), GetParam() ? Qt::RightToLeft : Qt::LeftToRight);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(Pick("Kinship", "القرابة")));
    // Until both boxes are filled the window says how to fill them.
    EXPECT_FALSE(window.MahramAnswer()->text().isEmpty());
    EXPECT_EQ(window.PathTree()->topLevelItemCount(), 0);

    window.SetPersons("P", "C");
    EXPECT_EQ(
        StripBidiControls(window.TermOfB()->text()),
        QString::fromUtf8(Pick("Hasan to Ahmad: paternal uncle's son", "Hasan بالنسبة إلى Ahmad: ابن عم")));
    EXPECT_EQ(
        StripBidiControls(window.TermOfA()->text()),
        QString::fromUtf8(Pick("Ahmad to Hasan: paternal uncle's son", "Ahmad بالنسبة إلى Hasan: ابن عم")));
    // Names are isolated: the line keeps the reading order of the interface.
    EXPECT_TRUE(window.TermOfB()->text().startsWith(Isolate("Hasan")));
    ASSERT_EQ(window.PathTree()->topLevelItemCount(), 1);
    const QTreeWidgetItem* top = window.PathTree()->topLevelItem(0);
    EXPECT_EQ(top->text(0), "Salim");
    ASSERT_EQ(top->childCount(), 2);
    EXPECT_EQ(top->child(0)->child(0)->text(0), "Ahmad");
    EXPECT_TRUE(top->child(0)->child(0)->font(0).bold());
    EXPECT_TRUE(
        window.MahramAnswer()->text().startsWith(QString::fromUtf8(Pick("Not mahram", "ليسا من المحارم"))));

    // One person offered takes the second box; the swap turns the question round.
    window.Offer("NM");
    EXPECT_EQ(window.PersonA(), "P");
    EXPECT_EQ(window.PersonB(), "NM");
    EXPECT_EQ(window.MahramAnswer()->text(),
              QString::fromUtf8(
                  Pick("Mahram through breastfeeding: she nursed him.", "محرم بالرضاعة: هي أرضعته.")));
    window.SwapButton()->click();
    EXPECT_EQ(window.PersonA(), "NM");
    EXPECT_EQ(window.MahramAnswer()->text(),
              QString::fromUtf8(Pick("Mahram through breastfeeding: he was nursed by her.",
                                     "محرم بالرضاعة: هو رضع منها.")));
}

TEST_P(KinshipWindowTest, PersonsDraggedOntoTheBoxes) {
    TfrmKinship window;
    window.show();
    auto* first = window.findChild<TKinPersonBox*>("txtPersonA");
    ASSERT_TRUE(first);
    QMimeData mime;
    mime.setData("application/x-verdan-person-ids", "C\nP");
    QDragEnterEvent accepted(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &drop);
    EXPECT_EQ(window.PersonA(), "C");
    EXPECT_EQ(window.PersonB(), "P");
    EXPECT_EQ(window.PathTree()->topLevelItemCount(), 1);
    // Plain text is no person.
    QMimeData text;
    text.setText("P");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

INSTANTIATE_TEST_SUITE_P(BothDirections, KinshipWindowTest, ::testing::Bool());

} // namespace
} // namespace verdan::test
