#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/message_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace verdan {
namespace {

void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
}

// Runs `call`, which shows a modal message, and lets `act` work on the open dialog. A dialog `act` leaves
// open is closed after a while so that a failing test cannot hang.
int Answer(const std::function<int()>& call, const std::function<void(TfrmMsg*)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmMsg*>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (dialog)
            act(dialog);
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* open = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the dialog stayed open";
            open->close();
        }
    });
    guard.start(3000);
    const int code = call();
    EXPECT_TRUE(seen) << "no message dialog was shown";
    return code;
}

QPushButton* Button(TfrmMsg* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

class MessageDialog : public ::testing::Test {
protected:
    void SetUp() override { InstallMessageDialogs(); }
    void TearDown() override { InstallMessageSink(nullptr); }

    static int YesNoCancel() {
        return MsgYesNoCancel(QStringLiteral("Save?|The tree changed"), QStringLiteral("c"));
    }
    static int YesNo() { return MsgYesNo(QStringLiteral("Delete?"), QStringLiteral("c")); }
    static int OkCancel() { return MsgOkCancel(QStringLiteral("Go on?"), QStringLiteral("c")); }
    static int OkOnly() { return MsgError(QStringLiteral("Failed")); }
};

TEST_F(MessageDialog, ButtonsAnswerTheirCodes) {
    EXPECT_EQ(Answer(YesNoCancel, [](TfrmMsg* d) { Button(d, "btYes")->click(); }), IDYES);
    EXPECT_EQ(Answer(YesNoCancel, [](TfrmMsg* d) { Button(d, "btNo")->click(); }), IDNO);
    EXPECT_EQ(Answer(YesNoCancel, [](TfrmMsg* d) { Button(d, "btCancel")->click(); }), IDCANCEL);
    EXPECT_EQ(Answer(OkCancel, [](TfrmMsg* d) { Button(d, "btOk")->click(); }), IDOK);
    EXPECT_EQ(Answer(OkOnly, [](TfrmMsg* d) { Button(d, "btOk")->click(); }), IDOK);
}

// Escape, the close picture, a close event (the window manager's close) and Alt+F4 all answer No in a
// Yes + No question, Cancel where there is Cancel and OK in a message that only informs.
TEST_F(MessageDialog, EveryWayOfLeavingAnswersTheEscapeCode) {
    const std::function<void(TfrmMsg*)> ways[] = {
        [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_Escape); },
        [](TfrmMsg* d) { d->findChild<TMsgCloseButton*>()->click(); },
        [](TfrmMsg* d) { d->close(); },
        [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_F4, Qt::AltModifier); },
    };
    for (const auto& way : ways) {
        EXPECT_EQ(Answer(YesNo, way), IDNO);
        EXPECT_EQ(Answer(YesNoCancel, way), IDCANCEL);
        EXPECT_EQ(Answer(OkCancel, way), IDCANCEL);
        EXPECT_EQ(Answer(OkOnly, way), IDOK);
    }
}

// The focus is visible on a button, Enter and Space press that one, and the keys move it: Tab, Up and
// Down in choice order, Left and Right across the screen (which is reversed in a right-to-left message).
TEST_F(MessageDialog, EnterPressesTheFocusedButton) {
    EXPECT_EQ(Answer(YesNoCancel,
                     [](TfrmMsg* d) {
                         EXPECT_EQ(d->focusWidget(), Button(d, "btYes"));
                         Key(d->focusWidget(), Qt::Key_Return);
                     }),
              IDYES);
    EXPECT_EQ(Answer(YesNoCancel,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Tab);
                         EXPECT_EQ(d->focusWidget(), Button(d, "btNo"));
                         Key(d->focusWidget(), Qt::Key_Enter);
                     }),
              IDNO);
    // Up from the first button wraps to the last.
    EXPECT_EQ(Answer(YesNoCancel,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Up);
                         Key(d->focusWidget(), Qt::Key_Space);
                     }),
              IDCANCEL);
    // Arabic: Yes stands at the right, so Left goes to No.
    EXPECT_EQ(Answer(YesNo,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Left);
                         EXPECT_EQ(d->focusWidget(), Button(d, "btNo"));
                         Key(d->focusWidget(), Qt::Key_Return);
                     }),
              IDNO);
    // English: Yes stands at the left, so Right goes to No and Right again wraps to Yes.
    const auto english = [] {
        return MsgWarnYesNo(QStringLiteral("Sure?"), QString(), false);
    };
    EXPECT_EQ(Answer(english,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Right);
                         EXPECT_EQ(d->focusWidget(), Button(d, "btNo"));
                         Key(d->focusWidget(), Qt::Key_Right);
                         Key(d->focusWidget(), Qt::Key_Return);
                     }),
              IDYES);
    // A click on a button with the focus elsewhere answers the clicked one.
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Button(d, "btNo")->click(); }), IDNO);
    EXPECT_EQ(Answer(OkOnly, [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_Return); }), IDOK);
}

// A question that deletes starts on No: Enter at once keeps what it would delete.
TEST_F(MessageDialog, ADeletingQuestionStartsOnNo) {
    const auto deleting = [] {
        return MsgYesNo(QStringLiteral("Delete?"), QStringLiteral("c"), IDNO);
    };
    EXPECT_EQ(Answer(deleting,
                     [](TfrmMsg* d) {
                         EXPECT_EQ(d->focusWidget(), Button(d, "btNo"));
                         EXPECT_TRUE(Button(d, "btNo")->isDefault())
                             << "the focused button is drawn as the one Enter presses";
                         Key(d->focusWidget(), Qt::Key_Return);
                     }),
              IDNO);
    EXPECT_EQ(Answer([] { return MsgOkCancel(QStringLiteral("Remove?"), QString(), IDCANCEL); },
                     [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_Space); }),
              IDCANCEL);
    EXPECT_EQ(Answer(deleting,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Tab);
                         Key(d->focusWidget(), Qt::Key_Return);
                     }),
              IDYES);
}

// Buttons of its own: captions that fit, the starting button, Escape's answer and the "&" letters.
TEST_F(MessageDialog, AQuestionWithButtonsOfItsOwn) {
    TQuestion question;
    question.text = QStringLiteral("No marriage between them|Record it?");
    question.answers = {{10, QStringLiteral("&Record their marriage"), QStringLiteral("marry")},
                        {11, QStringLiteral("C&lear the mother"), QStringLiteral("clear-mother")},
                        {12, QStringLiteral("Cancel"), QStringLiteral("cancel")}};
    question.focus = 11;
    question.escape = 12;
    const auto ask = [&question] {
        return MsgAsk(question);
    };
    EXPECT_EQ(Answer(ask,
                     [](TfrmMsg* d) {
                         QPushButton* marry = Button(d, "btMarry");
                         ASSERT_NE(marry, nullptr);
                         EXPECT_GE(marry->width(), marry->fontMetrics().horizontalAdvance(
                                                       QStringLiteral("Record their marriage")));
                         EXPECT_LE(marry->geometry().right(), d->width());
                         EXPECT_GE(Button(d, "btCancel")->x(), 0);
                         // Right to left: the first answer at the right.
                         EXPECT_GT(marry->x(), Button(d, "btClear-mother")->x());
                         EXPECT_EQ(d->focusWidget(), Button(d, "btClear-mother"));
                         Key(d->focusWidget(), Qt::Key_Enter);
                     }),
              11);
    EXPECT_EQ(Answer(ask, [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_Escape); }), 12);
    EXPECT_EQ(Answer(ask, [](TfrmMsg* d) { d->close(); }), 12);
    QKeyEvent altR(QEvent::KeyPress, Qt::Key_R, Qt::AltModifier, QStringLiteral("r"));
    EXPECT_EQ(Answer(ask, [&](TfrmMsg* d) { QCoreApplication::sendEvent(d->focusWidget(), &altR); }), 10);
    // A letter no caption marks changes nothing.
    EXPECT_EQ(Answer(ask,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Y, Qt::AltModifier);
                         EXPECT_TRUE(d->isVisible());
                         Key(d->focusWidget(), Qt::Key_L, Qt::AltModifier);
                     }),
              11);
}

TEST_F(MessageDialog, AltAcceleratorsWorkOnBothKeyboards) {
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_Y, Qt::AltModifier); }), IDYES);
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_K, Qt::AltModifier); }), IDYES);
    EXPECT_EQ(Answer(YesNoCancel, [](TfrmMsg* d) { Key(d->focusWidget(), Qt::Key_G, Qt::AltModifier); }),
              IDNO);
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d->focusWidget(), 0x0644, Qt::AltModifier); }), IDNO);
    EXPECT_EQ(Answer(OkCancel,
                     [](TfrmMsg* d) {
                         Key(d->focusWidget(), Qt::Key_Y, Qt::AltModifier);
                         Key(d->focusWidget(), Qt::Key_N, Qt::AltModifier);
                         EXPECT_TRUE(d->isVisible());
                         Key(d->focusWidget(), Qt::Key_Escape);
                     }),
              IDCANCEL);
}

TEST_F(MessageDialog, CaptionsFollowTheFlags) {
    Answer([] { return MsgErrorRtl(QStringLiteral("تعذر الحفظ")); },
           [](TfrmMsg* d) {
               EXPECT_EQ(d->windowTitle(), QStringLiteral("خطأ"));
               EXPECT_EQ(Button(d, "btOk")->text(), QStringLiteral("موافق"));
               d->close();
           });
    Answer(OkOnly, [](TfrmMsg* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Error"));
        EXPECT_EQ(Button(d, "btOk")->text(), QStringLiteral("Ok"));
        d->close();
    });
    // Right-to-left questions put the first choice at the right.
    Answer(YesNoCancel, [](TfrmMsg* d) {
        EXPECT_EQ(Button(d, "btYes")->text(), QStringLiteral("&نعم"));
        EXPECT_GT(Button(d, "btYes")->x(), Button(d, "btNo")->x());
        EXPECT_GT(Button(d, "btNo")->x(), Button(d, "btCancel")->x());
        d->close();
    });
    Answer([] { return MsgWarnYesNo(QStringLiteral("Sure?"), QString(), false); },
           [](TfrmMsg* d) {
               EXPECT_EQ(Button(d, "btNo")->text(), QStringLiteral("&No"));
               EXPECT_LT(Button(d, "btYes")->x(), Button(d, "btNo")->x());
               d->close();
           });
}

// Persian and Urdu messages answer in their own words, and their accelerators choose.
TEST_F(MessageDialog, PersianAndUrduCaptionsAndAccelerators) {
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/persian.local")));
    Answer(YesNoCancel, [](TfrmMsg* d) {
        EXPECT_EQ(Button(d, "btYes")->text(), QStringLiteral("&بله"));
        EXPECT_EQ(Button(d, "btNo")->text(), QStringLiteral("&خیر"));
        EXPECT_EQ(Button(d, "btCancel")->text(), QStringLiteral("انصراف"));
        d->close();
    });
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d, 0x0628, Qt::AltModifier); }), IDYES);
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d, 0x062E, Qt::AltModifier); }), IDNO);
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/urdu.local")));
    Answer([] { return MsgErrorRtl(QStringLiteral("Failed")); },
           [](TfrmMsg* d) {
               EXPECT_EQ(Button(d, "btOk")->text(), QStringLiteral("ٹھیک ہے"));
               d->close();
           });
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d, 0x06C1, Qt::AltModifier); }), IDYES);
    EXPECT_EQ(Answer(YesNo, [](TfrmMsg* d) { Key(d, 0x06CC, Qt::AltModifier); }), IDNO);
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/arabic.local")));
}

TEST(MessageDialogLayout, SizeFollowsTheTextButNeverTheScreenWidth) {
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();

    TfrmMsg shortMessage(MakeMessageRequest(QStringLiteral("Done"), QString(), MB_ICONINFORMATION));
    EXPECT_EQ(shortMessage.TextBlockHeight(), 90);
    EXPECT_EQ(shortMessage.height(), 140);
    TfrmMsg empty(MakeMessageRequest(QString(), QString(), MB_OK));
    EXPECT_EQ(empty.width(), 75 + 20);
    TfrmMsg noIcon(MakeMessageRequest(QStringLiteral("Done"), QString(), MB_YESNOCANCEL));
    EXPECT_GE(noIcon.TextBlockHeight(), 70);
    EXPECT_EQ(noIcon.width(), 3 * (75 + 25) - 5);

    const QString line(40, u'm');
    TfrmMsg wide(MakeMessageRequest(line, QString(), MB_OK));
    QFont sizing(QStringLiteral("Arial"));
    sizing.setPointSize(10);
    sizing.setBold(true);
    EXPECT_EQ(wide.width(), QFontMetrics(sizing).horizontalAdvance(line) + 160);

    const QString words = QStringLiteral("word ").repeated(400);
    TfrmMsg longBody(MakeMessageRequest(QStringLiteral("Headline|") + words, QString(), MB_OK | MB_RIGHT));
    EXPECT_LE(longBody.width(), screenWidth);
    EXPECT_GT(longBody.TextBlockHeight(), 200) << "the body must wrap onto many lines";
    TfrmMsg oneWord(MakeMessageRequest(QString(3000, u'x'), QString(), MB_OK | MB_RTLREADING));
    EXPECT_LE(oneWord.width(), screenWidth);
    EXPECT_GT(oneWord.TextBlockHeight(), 100);
    // The buttons stand below the text block.
    EXPECT_EQ(longBody.findChild<QPushButton*>(QStringLiteral("btOk"))->y(), longBody.TextBlockHeight() + 15);
}

TEST(MessageDialogLayout, PlacementStaysOnTheScreen) {
    const QRect screen(0, 0, 800, 600);
    const QSize size(200, 100);
    EXPECT_EQ(PlaceMessageDialog(QPoint(-1, -1), size, screen), QPoint(300, 250));
    EXPECT_EQ(PlaceMessageDialog(QPoint(0, 40), size, screen), QPoint(300, 250));
    EXPECT_EQ(PlaceMessageDialog(QPoint(100, 40), size, screen), QPoint(100, 40));
    EXPECT_EQ(PlaceMessageDialog(QPoint(700, 550), size, screen), QPoint(595, 495));
    EXPECT_EQ(PlaceMessageDialog(QPoint(10, -30), size, screen), QPoint(10, 5));
    EXPECT_EQ(PlaceMessageDialog(QPoint(900, 20), size, QRect(800, 0, 800, 600)), QPoint(900, 20));
    EXPECT_EQ(PlaceMessageDialog(QPoint(1590, 20), size, QRect(800, 0, 800, 600)), QPoint(1395, 20));
}

TEST_F(MessageDialog, RequestedPositionServesOneMessage) {
    SetMsgBoxPosition(QPoint(120, 80));
    Answer(YesNo, [](TfrmMsg* d) {
        EXPECT_EQ(d->pos(), QPoint(120, 80));
        d->close();
    });
    Answer(YesNo, [](TfrmMsg* d) {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_EQ(d->pos(), PlaceMessageDialog(QPoint(-1, -1), d->size(), screen));
        d->close();
    });
}

} // namespace
} // namespace verdan
