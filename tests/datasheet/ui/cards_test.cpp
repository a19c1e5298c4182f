#include "datasheet/ui/dates_frame.h"
#include "datasheet/ui/mate_child_frame.h"
#include "datasheet/ui/names_frame.h"
#include "datasheet/ui/quick_data_card.h"
#include "datasheet/ui/quick_info_card.h"
#include "sheet_fixture.h"
#include "storage/bookmark_store.h"
#include "storage/relation_store.h"
#include "text/ui/person_follow.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>

namespace verdan::test {
namespace {

// A man {H} with wives {A} and {B}, their son {S}; {L} without anybody.
class CardsTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Put("{H}", "-1", "0", "Hasan", "m");
        Put("{A}", "-1", "0", "Amina", "f");
        Put("{B}", "-1", "0", "Basma", "f");
        Put("{S}", "{H}", "{A}", "Salim", "m");
        Put("{L}", "-1", "0", "Layla", "f");
        ASSERT_TRUE(AddMarriage("{H}", "{A}"));
    }
    // A list of persons elsewhere in the program.
    QObject list_;
};

TEST_F(CardsTest, TheQuickInfoCardFollowsOnlyWhileShown) {
    TfrmQuickInfo card;
    PersonFollow().Point("{H}", &list_);
    EXPECT_TRUE(card.NameLabel()->text().isEmpty());
    card.ShowCard();
    PersonFollow().Point("{H}", &list_);
    EXPECT_EQ(card.NameLabel()->text(), GetLineageName("{H}"));
    EXPECT_EQ(card.MateLabel()->text(), "Wife:");
    EXPECT_EQ(card.MateNameLabel()->text(), GetLineageName("{A}"));
    EXPECT_TRUE(card.MotherLabel()->text().isEmpty());

    ASSERT_TRUE(AddMarriage("{H}", "{B}"));
    PersonFollow().Choose("{H}", &list_);
    EXPECT_EQ(card.MateLabel()->text(), "Wives:");
    EXPECT_EQ(card.MateNameLabel()->text().split(u'\n'),
              QStringList({GetLineageName("{A}"), GetLineageName("{B}")}));

    PersonFollow().Point("{S}", &list_);
    EXPECT_EQ(card.MotherLabel()->text(), "Mother:");
    EXPECT_EQ(card.MotherNameLabel()->text(), GetLineageName("{A}"));
    EXPECT_TRUE(card.MateLabel()->text().isEmpty());
    EXPECT_EQ(card.PersonId(), "{S}");

    // A closed tree shows nothing.
    CloseTreeFile();
    PersonFollow().Point("{H}", &list_);
    EXPECT_EQ(card.PersonId(), "{S}");
    Reopen();
}

TEST_F(CardsTest, TheQuickInfoCardNeverTakesTheFocus) {
    QWidget window;
    auto* box = new QPlainTextEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QApplication::processEvents();
    QWidget* const focused = QApplication::focusWidget();
    TfrmQuickInfo card(&window);
    card.ShowCard();
    QTest::qWait(50);
    EXPECT_TRUE(card.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(card.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(card.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(card.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_EQ(QApplication::activeWindow(), &window);
    card.Toggle();
    EXPECT_FALSE(card.isVisible());
}

class DataCardTest : public CardsTest {
protected:
    void SetUp() override {
        CardsTest::SetUp();
        card_ = std::make_unique<TfrmQuiqkData>();
        card_->show();
    }
    void TearDown() override {
        card_.reset();
        CardsTest::TearDown();
    }
    std::unique_ptr<TfrmQuiqkData> card_;
};

TEST_F(DataCardTest, InstantSaveWritesTheEditsBeforeTheCardMovesOn) {
    PersonFollow().Choose("{H}", &list_);
    EXPECT_EQ(card_->PersonId(), "{H}");
    QTest::keyClicks(card_->NotesBox(), "a note of Hasan's");
    EXPECT_TRUE(card_->HasPendingEdits());
    QSignalSpy saved(card_.get(), &TfrmQuiqkData::PersonSaved);
    PersonFollow().Choose("{L}", &list_);
    EXPECT_EQ(card_->PersonId(), "{L}");
    EXPECT_EQ(Column("{H}", "Notes"), "a note of Hasan's");
    EXPECT_EQ(saved.count(), 1);
    EXPECT_TRUE(card_->NotesBox()->toPlainText().isEmpty());

    // Without instant save the edit is dropped.
    card_->SetInstantSave(false);
    QTest::keyClicks(card_->NotesBox(), "lost");
    PersonFollow().Choose("{H}", &list_);
    EXPECT_EQ(Column("{L}", "Notes"), "");
    EXPECT_EQ(card_->NotesBox()->toPlainText(), "a note of Hasan's");
}

TEST_F(DataCardTest, FollowsOthersOnlyWhileSynchronisedAndNeverItsOwnLists) {
    card_->LoadQuickData("{H}");
    card_->SetSynchronised(false);
    PersonFollow().Choose("{L}", &list_);
    EXPECT_EQ(card_->PersonId(), "{H}");
    card_->SetSynchronised(true);
    // A spouse clicked on the card's own relationships page is shown by the quick info card only.
    card_->Pages()->setCurrentWidget(card_->RelationsFrame());
    PersonFollow().Choose("{A}", card_->RelationsFrame());
    EXPECT_EQ(card_->PersonId(), "{H}");
    // Hidden, it keeps its person.
    card_->hide();
    PersonFollow().Choose("{L}", &list_);
    EXPECT_EQ(card_->PersonId(), "{H}");
}

TEST_F(DataCardTest, PagesAreFilledWhenShownForThePersonOfTheMoment) {
    card_->Pages()->setCurrentWidget(card_->DatesFrame());
    card_->LoadQuickData("{S}");
    EXPECT_TRUE(card_->NamesFrame()->PersonId().isEmpty());
    EXPECT_EQ(card_->DatesFrame()->PersonId(), "{S}");
    card_->Pages()->setCurrentWidget(card_->NamesFrame());
    EXPECT_EQ(card_->NamesFrame()->PersonId(), "{S}");
    card_->Pages()->setCurrentWidget(card_->RelationsFrame());
    EXPECT_EQ(card_->RelationsFrame()->PersonId(), "{S}");
    card_->LoadQuickData("{H}");
    EXPECT_EQ(card_->RelationsFrame()->MateIds(), QStringList{"{A}"});
}

TEST_F(DataCardTest, TheSaveButtonWritesTextsAndAnEmptyBookmarkRemovesIt) {
    ASSERT_TRUE(SetPersonBookmark("{H}", "look at the dates"));
    card_->LoadQuickData("{H}");
    EXPECT_EQ(card_->BookmarkBox()->toPlainText(), "look at the dates");
    card_->BriefingBox()->insertPlainText(QStringLiteral(u"ملخص 'قصير'"));
    card_->BookmarkBox()->clear();
    ASSERT_TRUE(card_->SaveQuickData());
    EXPECT_EQ(Column("{H}", "Briefing"), QStringLiteral(u"ملخص 'قصير'"));
    EXPECT_TRUE(GetPersonBookmarkNote("{H}").isEmpty());
    EXPECT_FALSE(card_->HasPendingEdits());
    QTest::keyClicks(card_->BookmarkBox(), "again");
    ASSERT_TRUE(card_->SaveQuickData());
    EXPECT_EQ(GetPersonBookmarkNote("{H}"), "again");
}

TEST(PersonFollowHook, AViewReportsWhatTheUserDoesNotWhatTheProgramDoes) {
    QListWidget list;
    for (const char* id : {"{1}", "{2}", "{3}"}) {
        auto* item = new QListWidgetItem(QString::fromLatin1(id), &list);
        item->setData(Qt::UserRole, QString::fromLatin1(id));
    }
    FollowPersonView(&list, [](const QModelIndex& index) { return index.data(Qt::UserRole).toString(); });
    list.show();
    QApplication::setActiveWindow(&list);
    list.setFocus();
    QSignalSpy chosen(&PersonFollow(), &TPersonFollow::Chosen);
    QSignalSpy pointed(&PersonFollow(), &TPersonFollow::Pointed);
    list.setCurrentRow(1);
    EXPECT_EQ(chosen.count(), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.value(0).value(0).toString(), "{3}");
    // A press on the current row tells again: a card may have moved on meanwhile.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(chosen.count(), 2);
    QTest::keyClick(&list, Qt::Key_Up);
    ASSERT_EQ(chosen.count(), 3);
    EXPECT_EQ(chosen.value(2).value(0).toString(), "{2}");
    emit list.entered(list.model()->index(0, 0));
    ASSERT_EQ(pointed.count(), 1);
    EXPECT_EQ(pointed.value(0).value(0).toString(), "{1}");
}

} // namespace
} // namespace verdan::test
