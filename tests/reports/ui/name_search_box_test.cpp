#include "reports/ui/name_search_box.h"
#include "storage/person_fixture.h"
#include "text/localisation.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>

namespace verdan::test {
namespace {

QString Id(int n) {
    return QStringLiteral("{00000000-0000-0000-0000-%1}").arg(n, 12, 10, QLatin1Char('0'));
}

// A search box above an outline in a splitter, shown and focused as in a window, over a tree with a
// four-generation line and a few single persons.
class NameSearchBoxTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        Put(Id(1), "-1", "0", u"سالم"_qs);
        Put(Id(2), Id(1), "0", u"عبد الله"_qs);
        Put(Id(3), Id(2), "0", u"أحمد"_qs);
        Put(Id(4), Id(3), "0", u"محمد"_qs);
        Put(Id(5), "-1", "0", u"أسامة"_qs);
        Put(Id(6), "-1", "0", u"أسماء"_qs, "f");

        splitter_.setOrientation(Qt::Vertical);
        box_ = new TNameSearchBox(&splitter_);
        outline_ = new QTreeWidget(&splitter_);
        box_->SetOutline(outline_);
        splitter_.resize(300, 500);
        splitter_.show();
        splitter_.activateWindow();
        box_->SearchEdit()->setFocus();
        QApplication::processEvents();
        box_->CollapseResults();
    }

    // Test key events carry Latin letters only, so Arabic text is put in whole.
    void Type(const QString& text) { box_->SearchEdit()->setText(text); }
    QStringList Listed() const {
        QStringList texts;
        for (int i = 0; i < box_->ResultCount(); ++i)
            texts << box_->ResultText(i);
        return texts;
    }
    int AreaHeight() const { return splitter_.sizes().at(0); }

    QSplitter splitter_;
    TNameSearchBox* box_ = nullptr;
    QTreeWidget* outline_ = nullptr;
};

TEST_F(NameSearchBoxTest, FindNeedsTwoCharactersAndEnterSearches) {
    QTest::keyClicks(box_->SearchEdit(), "m");
    EXPECT_FALSE(box_->FindButton()->isEnabled());
    QTest::keyClick(box_->SearchEdit(), Qt::Key_Return);
    EXPECT_EQ(box_->ResultCount(), 0);

    QSignalSpy selected(box_, &TNameSearchBox::personSelected);
    Type(u"محمد بن أحمد"_qs);
    EXPECT_TRUE(box_->FindButton()->isEnabled());
    QTest::keyClick(box_->SearchEdit(), Qt::Key_Return);
    ASSERT_EQ(Listed().value(0), GetLineageName(Id(4)));
    EXPECT_TRUE(Listed().first().startsWith(u"محمد"_qs));
    // The first entry is current and announced; the list took the focus and the area grew to show it.
    EXPECT_EQ(box_->CurrentPersonId(), Id(4));
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.first().first().toString(), Id(4));
    EXPECT_EQ(QApplication::focusWidget(), box_->ResultList());
    EXPECT_GE(AreaHeight(), 120);

    // A search that finds nobody empties the list, which says so until the text changes.
    Type(u"زكريا"_qs);
    box_->Find();
    EXPECT_EQ(box_->ResultCount(), 0);
    EXPECT_EQ(box_->EmptyListText(), Translate(u"No person found"_qs));
    EXPECT_GE(AreaHeight(), 120) << "grown to show why the list is empty";
    Type(u"زكري"_qs);
    EXPECT_TRUE(box_->EmptyListText().isEmpty());
    // A blank text changes nothing.
    box_->FillSearchResults(u"  "_qs);
    EXPECT_EQ(box_->ResultCount(), 0);
}

TEST_F(NameSearchBoxTest, SpellingVariantsReachTheList) {
    Type(u"اسامه"_qs);
    box_->Find();
    EXPECT_TRUE(Listed().isEmpty()); // two letters differ from the stored أسامة
    Type(u"اسامة"_qs);
    box_->Find();
    EXPECT_EQ(box_->CurrentPersonId(), Id(5));
    Type(u"اسماء"_qs);
    box_->Find();
    EXPECT_EQ(box_->CurrentPersonId(), Id(6));
}

TEST_F(NameSearchBoxTest, EnterOrDoubleClickChoosesThePerson) {
    QSignalSpy chosen(box_, &TNameSearchBox::personChosen);
    Type(u"أس"_qs); // part of two first names
    box_->Find();
    ASSERT_EQ(box_->ResultCount(), 2);
    box_->SetCurrentResult(1);
    QTest::keyClick(box_->ResultList(), Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).first().toString(), box_->CurrentPersonId());

    QListView* list = box_->ResultList();
    const QPoint first = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, first); // a double-click starts so
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, first);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).first().toString(), box_->ResultPersonId(0));

    // A double-click on the emptied list shrinks the area back to the box.
    box_->ExpandResults();
    box_->ClearResults();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_LT(AreaHeight(), 120);
    EXPECT_EQ(chosen.count(), 2);
}

TEST_F(NameSearchBoxTest, OnlyTheFullIdentifierFormOpensAPerson) {
    QSignalSpy identifier(box_, &TNameSearchBox::identifierEntered);
    // A tree window searches every text.
    Type(Id(4));
    box_->Find();
    EXPECT_EQ(identifier.count(), 0);

    box_->SetAcceptIdentifiers(true);
    box_->Find();
    ASSERT_EQ(identifier.count(), 1);
    EXPECT_EQ(identifier.first().first().toString(), Id(4));
    // Texts that merely begin with "{", and identifiers of nobody, are searched as names.
    box_->FillSearchResults(u"محمد"_qs);
    Type(u"{' OR 1=1 --"_qs);
    box_->Find();
    Type(Id(99));
    box_->Find();
    Type(u"{محمد"_qs);
    box_->Find();
    EXPECT_EQ(identifier.count(), 1);
    EXPECT_EQ(box_->ResultCount(), 0); // each was searched, emptying the earlier results
}

TEST_F(NameSearchBoxTest, CtrlArrowsMoveRoundBoxListAndOutline) {
    box_->SearchEdit()->setFocus();
    QTest::keyClick(box_->SearchEdit(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), box_->ResultList());
    QTest::keyClick(box_->ResultList(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), outline_);
    QTest::keyClick(outline_, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), box_->SearchEdit());
    QTest::keyClick(box_->SearchEdit(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), outline_);
    QTest::keyClick(outline_, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), box_->ResultList());
    QTest::keyClick(box_->ResultList(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), box_->SearchEdit());
}

TEST_F(NameSearchBoxTest, MirroredForRightToLeft) {
    EXPECT_LT(box_->SearchEdit()->x(), box_->FindButton()->x());
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::processEvents();
    EXPECT_GT(box_->SearchEdit()->x(), box_->FindButton()->x());
    QApplication::setLayoutDirection(Qt::LeftToRight);
}

} // namespace
} // namespace verdan::test
