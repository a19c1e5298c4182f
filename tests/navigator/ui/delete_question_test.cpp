#include "navigator/outline_fixture.h"
#include "navigator/ui/tree_frame.h"
#include "text/ui/message_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

namespace verdan::test {
namespace {

// The Delete key in the outline asks with the real message dialog; every way of leaving the question
// without choosing Yes, and Enter pressed at once, keeps the person. Both reading directions.
class DeleteQuestion : public OutlineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OutlineTest::SetUp();
        InstallMessageDialogs();
        Person("F", "Father", "-1", "0");
        Person("W", "Wife", "-1", "0", "f");
        Person("C", "Child", "F", "W");
        frame_ = std::make_unique<TframTree>();
        frame_->OpenTree(false);
        frame_->SetMirrored(GetParam());
        frame_->resize(400, 500);
        frame_->show();
        ASSERT_TRUE(frame_->LocatePerson(QStringLiteral("C")));
        QApplication::processEvents();
    }
    void TearDown() override {
        frame_.reset();
        OutlineTest::TearDown();
    }

    // Presses Delete in the outline and lets `act` answer the question that opens.
    void DeleteAnswering(const std::function<void(TfrmMsg*)>& act) {
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TfrmMsg*>(QApplication::activeModalWidget());
            asked = dialog != nullptr;
            if (dialog)
                act(dialog);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (QWidget* open = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the question stayed open";
                open->close();
            }
        });
        guard.start(3000);
        QTest::keyClick(frame_->View(), Qt::Key_Delete);
        QApplication::processEvents();
        EXPECT_TRUE(asked) << "Delete asked nothing";
    }
    static void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &press);
    }
    bool Exists(const char* id) { return Count(QStringLiteral("person_id = '%1'").arg(id)) == 1; }

    std::unique_ptr<TframTree> frame_;
};

TEST_P(DeleteQuestion, OnlyYesDeletes) {
    DeleteAnswering([](TfrmMsg* d) { Press(d->focusWidget(), Qt::Key_Escape); });
    EXPECT_TRUE(Exists("C")) << "Escape";
    DeleteAnswering([](TfrmMsg* d) { d->close(); });
    EXPECT_TRUE(Exists("C")) << "the window manager's close";
    DeleteAnswering([](TfrmMsg* d) { Press(d->focusWidget(), Qt::Key_F4, Qt::AltModifier); });
    EXPECT_TRUE(Exists("C")) << "Alt+F4";
    DeleteAnswering([](TfrmMsg* d) {
        EXPECT_EQ(d->focusWidget()->objectName(), QStringLiteral("btNo"));
        Press(d->focusWidget(), Qt::Key_Return);
    });
    EXPECT_TRUE(Exists("C")) << "Enter at once";
    EXPECT_EQ(frame_->CurrentPersonId(), QStringLiteral("C"));

    DeleteAnswering([](TfrmMsg* d) { d->findChild<QPushButton*>(QStringLiteral("btYes"))->click(); });
    EXPECT_FALSE(Exists("C"));
}

INSTANTIATE_TEST_SUITE_P(BothDirections, DeleteQuestion, ::testing::Bool());

} // namespace
} // namespace verdan::test
