#include "navigator/outline_fixture.h"
#include "navigator/ui/tree_frame.h"
#include "reports/ui/name_search_box.h"
#include "shell/ui/main_window.h"
#include "shell/ui/tree_window.h"
#include "storage/person_names.h"
#include "text/bidi_text.h"
#include "text/user_options.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace verdan::test {
namespace {

const QString kFather = QStringLiteral("{10000000-0000-0000-0000-000000000001}");
const QString kSon = QStringLiteral("{10000000-0000-0000-0000-000000000002}");
const QString kGrandson = QStringLiteral("{10000000-0000-0000-0000-000000000003}");

class TreeWindowTest : public OutlineTest {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        Person(kFather, "Saleh", "-1", "0");
        Person(kSon, "Omar", kFather, "0");
        Person(kGrandson, "Zaid", kSon, "0");
        TfrmTreeWindow::ResetCascade();
    }
    void TearDown() override {
        QList<QPointer<TfrmTreeWindow>> windows;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* tree = qobject_cast<TfrmTreeWindow*>(window))
                windows << tree;
        }
        qDeleteAll(windows);
        Options() = TOptions();
        OutlineTest::TearDown();
    }
    // Closed windows are deleted once queued deletions run.
    static void Settle() {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(TreeWindowTest, OpensAtThePersonAndCascades) {
    TfrmTreeWindow* first = TfrmTreeWindow::Open(nullptr, kGrandson);
    ASSERT_TRUE(first->isVisible());
    EXPECT_EQ(first->TreeFrame()->CurrentPersonId(), kGrandson);
    EXPECT_FALSE(first->TreeFrame()->IsReadOnly());
    EXPECT_EQ(first->windowTitle(), "Tree");

    TfrmTreeWindow* second = TfrmTreeWindow::Open(nullptr, QString());
    EXPECT_EQ(second->pos() - first->pos(), QPoint(10, 10));
    EXPECT_EQ(second->TreeFrame()->CurrentPersonId(), kFather); // no person: the first node

    // The next window steps on from where the last one was closed.
    const QPointer<TfrmTreeWindow> closed = second;
    second->move(second->pos() + QPoint(100, 50));
    const QPoint closedAt = second->pos();
    second->CloseButton()->click();
    Settle();
    EXPECT_TRUE(closed.isNull());
    TfrmTreeWindow* third = TfrmTreeWindow::Open(nullptr, kSon);
    EXPECT_EQ(third->pos(), closedAt + QPoint(10, 10));
}

TEST_F(TreeWindowTest, SearchChoosesInItsOwnOutline) {
    TfrmTreeWindow* window = TfrmTreeWindow::Open(nullptr, QString());
    QSignalSpy selected(window, &TfrmTreeWindow::PersonSelected);
    TNameSearchBox* search = window->SearchBox();
    search->SearchEdit()->setText("Zaid");
    search->Find();
    ASSERT_EQ(search->ResultCount(), 1);
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last().first().toString(), kGrandson);
    EXPECT_EQ(window->TreeFrame()->CurrentPersonId(), kFather); // a click alone leaves the outline
    // ... but the lines under it name the person found, with his lineage and his mother.
    Person("{10000000-0000-0000-0000-000000000004}", "Huda", "-1", "0", "f");
    ASSERT_EQ(Dm().Execute(QStringLiteral("UPDATE ftPerson SET mother_id = ? WHERE person_id = ?"),
                           QStringLiteral("{10000000-0000-0000-0000-000000000004}"), kGrandson),
              1);
    search->Find();
    QStringList lines;
    for (const QLabel* label : window->TreeFrame()->findChildren<QLabel*>())
        lines << StripBidiControls(label->text());
    EXPECT_TRUE(lines.contains(GetLineageName(kGrandson))) << lines.join(u'|').toStdString();
    EXPECT_TRUE(lines.contains("Mother: " + GetLineageName("{10000000-0000-0000-0000-000000000004}")))
        << lines.join(u'|').toStdString();

    window->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(search->ResultList(), Qt::Key_Return);
    EXPECT_EQ(window->TreeFrame()->CurrentPersonId(), kGrandson);

    // A tree window searches an identifier like any other text.
    QSignalSpy identifier(search, &TNameSearchBox::identifierEntered);
    search->SearchEdit()->setText(kSon);
    search->Find();
    EXPECT_EQ(identifier.count(), 0);
    EXPECT_EQ(search->ResultCount(), 0);
}

TEST_F(TreeWindowTest, StayOnTopToggles) {
    TfrmTreeWindow* window = TfrmTreeWindow::Open(nullptr, kSon);
    EXPECT_TRUE(window->IsStayOnTop());
    EXPECT_TRUE(window->StayOnTopButton()->isChecked());
    window->StayOnTopButton()->click();
    EXPECT_FALSE(window->IsStayOnTop());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->TreeFrame()->CurrentPersonId(), kSon);
    window->StayOnTopButton()->click();
    EXPECT_TRUE(window->IsStayOnTop());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(TreeWindowTest, ClosesWithTheMainWindowsTree) {
    TfrmFamilyMain main;
    const QPointer<TfrmTreeWindow> window = TfrmTreeWindow::Open(&main, kSon);
    ASSERT_TRUE(window->isVisible());
    emit main.TreeClosed();
    Settle();
    EXPECT_TRUE(window.isNull());
}

} // namespace
} // namespace verdan::test
