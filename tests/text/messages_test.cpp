#include "text/localisation.h"
#include "text/messages.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <stdexcept>

namespace verdan {
namespace {

// Records each message and answers a preset code.
class TRecorderSink : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        requests.append(request);
        if (fail)
            throw std::runtime_error("no display");
        return answer;
    }
    QList<TMessageRequest> requests;
    int answer = IDOK;
    bool fail = false;
};

class Messages : public ::testing::Test {
protected:
    void SetUp() override {
        EXPECT_EQ(InstallMessageSink(&sink), nullptr);
        SetMessageTitle(QStringLiteral("شجرة"));
        // The default interface language, whatever an earlier test loaded.
        InstallLanguageFiles();
        ASSERT_TRUE(LoadLanguage(LangsFolder() + "arabic.local"));
    }
    void TearDown() override {
        SetMessageTitle(QString());
        EXPECT_EQ(InstallMessageSink(nullptr), &sink);
        SetMsgBoxPosition(QPoint(-1, -1));
    }
    const TMessageRequest& Last() const { return sink.requests.last(); }

    TRecorderSink sink;
};

TEST_F(Messages, SplitsHeadlineFromBodyAtTheFirstBar) {
    MsgBox(QStringLiteral("Saved|The tree|was saved"), QStringLiteral("Title"), MB_OK);
    EXPECT_EQ(Last().text, QStringLiteral("Saved|The tree|was saved"));
    EXPECT_EQ(Last().headline, QStringLiteral("Saved"));
    EXPECT_EQ(Last().body, QStringLiteral("The tree|was saved"));
    EXPECT_EQ(Last().caption, QStringLiteral("Title"));

    MsgBox(QStringLiteral("Only a headline\r\nin two lines"), QString(), MB_OK);
    EXPECT_EQ(Last().headline, QStringLiteral("Only a headline\r\nin two lines"));
    EXPECT_TRUE(Last().body.isEmpty());

    MsgBox(QStringLiteral("|Only a body"), QString(), MB_OK);
    EXPECT_TRUE(Last().headline.isEmpty());
    EXPECT_EQ(Last().body, QStringLiteral("Only a body"));
}

// Until the program names its title, messages fall back on the application's display name.
TEST_F(Messages, UntitledMessagesTakeTheDisplayName) {
    SetMessageTitle(QString());
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Display"));
    MsgWarning(QStringLiteral("w"));
    EXPECT_EQ(Last().caption, QStringLiteral("Display"));
    QGuiApplication::setApplicationDisplayName(QString());
}

// In a left-to-right interface the Arabic-reading messages read left to right with English buttons; in
// Arabic, Persian and Urdu they stay right to left. MsgErrorRtl keeps its fixed caption either way.
TEST_F(Messages, RightToLeftWrappersFollowTheInterfaceDirection) {
    ASSERT_TRUE(LoadLanguage(LangsFolder() + "english.local"));
    MsgYesNo(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().flags, MB_YESNO | MB_ICONQUESTION);
    MsgYesNoCancel(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().flags, MB_YESNOCANCEL | MB_ICONQUESTION);
    MsgOkCancel(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().flags, MB_OKCANCEL | MB_ICONQUESTION);
    MsgWarnYesNo(QStringLiteral("a"), QStringLiteral("c"), true);
    EXPECT_EQ(Last().flags, MB_YESNO | MB_ICONEXCLAMATION);
    MsgInfo(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONINFORMATION);
    MsgWarning(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONEXCLAMATION);
    EXPECT_TRUE(Last().beep);
    MsgErrorRtl(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONSTOP);
    EXPECT_EQ(Last().caption, QStringLiteral("خطأ"));

    QStringList captions;
    for (const char* document : {"persian.local", "urdu.local", "arabic.local"}) {
        ASSERT_TRUE(LoadLanguage(LangsFolder() + document));
        MsgYesNo(QStringLiteral("a"), QStringLiteral("c"));
        EXPECT_EQ(Last().flags, MB_YESNO | MB_ICONQUESTION | MB_RIGHT | MB_RTLREADING) << document;
        MsgErrorRtl(QStringLiteral("a"));
        EXPECT_EQ(Last().flags, MB_ICONSTOP | MB_RIGHT | MB_RTLREADING) << document;
        captions << Last().caption;
    }
    EXPECT_EQ(captions, QStringList({QStringLiteral("خطا"), QStringLiteral("خرابی"), QStringLiteral("خطأ")}));
}

TEST_F(Messages, WrappersSetFlagsCaptionsAndBeep) {
    const quint32 rtl = MB_RIGHT | MB_RTLREADING;
    MsgInfo(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONINFORMATION | rtl);
    EXPECT_EQ(Last().caption, QStringLiteral("شجرة"));
    MsgInfoLtr(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONINFORMATION);
    EXPECT_EQ(Last().caption, QStringLiteral("شجرة"));
    MsgOkCancel(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().flags, MB_OKCANCEL | MB_ICONQUESTION | rtl);
    MsgYesNoCancel(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().flags, MB_YESNOCANCEL | MB_ICONQUESTION | rtl);
    MsgWarnYesNo(QStringLiteral("a"), QStringLiteral("c"), true);
    EXPECT_EQ(Last().flags, MB_YESNO | MB_ICONEXCLAMATION | rtl);
    MsgWarnYesNo(QStringLiteral("a"), QStringLiteral("c"), false);
    EXPECT_EQ(Last().flags, MB_YESNO | MB_ICONEXCLAMATION);
    MsgYesNo(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().flags, MB_YESNO | MB_ICONQUESTION | rtl);
    EXPECT_EQ(Last().caption, QStringLiteral("c"));
    EXPECT_FALSE(Last().beep);
    MsgErrorRtl(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONSTOP | rtl);
    EXPECT_EQ(Last().caption, QStringLiteral("خطأ"));
    MsgError(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONSTOP);
    EXPECT_EQ(Last().caption, QStringLiteral("Error"));
    MsgWarning(QStringLiteral("a"));
    EXPECT_EQ(Last().flags, MB_ICONEXCLAMATION | rtl);
    EXPECT_EQ(Last().caption, QStringLiteral("شجرة"));
    EXPECT_TRUE(Last().beep);
    MsgWarningCaption(QStringLiteral("a"), QStringLiteral("c"));
    EXPECT_EQ(Last().caption, QStringLiteral("c"));
    EXPECT_TRUE(Last().beep);
    // Texts reach the sink as the caller passed them.
    EXPECT_EQ(Last().text, QStringLiteral("a"));
}

TEST_F(Messages, ButtonsIconsAndRefusalFollowTheFlags) {
    EXPECT_EQ(MsgButtonsOf(MB_OK), QList<int>{IDOK});
    EXPECT_EQ(MsgButtonsOf(MB_OKCANCEL), (QList<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(MsgButtonsOf(MB_YESNOCANCEL | MB_RIGHT), (QList<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(MsgButtonsOf(MB_YESNO), (QList<int>{IDYES, IDNO}));
    EXPECT_EQ(MsgEscapeCode(MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MsgEscapeCode(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MsgEscapeCode(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MsgEscapeCode(MB_OK | MB_ICONSTOP), IDOK);

    EXPECT_EQ(MsgIconOf(MB_ICONINFORMATION | MB_ICONSTOP), TMsgIcon::Information);
    EXPECT_EQ(MsgIconOf(MB_ICONEXCLAMATION), TMsgIcon::Exclamation);
    EXPECT_EQ(MsgIconOf(MB_ICONQUESTION), TMsgIcon::Question);
    EXPECT_EQ(MsgIconOf(MB_ICONSTOP), TMsgIcon::Stop);
    EXPECT_EQ(MsgIconOf(MB_YESNO | MB_RIGHT), TMsgIcon::None);
}

TEST_F(Messages, AnswersAreTheChosenButtonOrARefusal) {
    sink.answer = IDYES;
    EXPECT_EQ(MsgYesNo(QStringLiteral("q"), QString()), IDYES);
    sink.answer = IDCANCEL;
    EXPECT_EQ(MsgYesNoCancel(QStringLiteral("q"), QString()), IDCANCEL);
    // A dismissed or failed message is never read as consent.
    sink.answer = 0;
    EXPECT_EQ(MsgYesNo(QStringLiteral("q"), QString()), IDNO);
    EXPECT_EQ(MsgWarnYesNo(QStringLiteral("q"), QString(), false), IDNO);
    EXPECT_EQ(MsgOkCancel(QStringLiteral("q"), QString()), IDCANCEL);
    EXPECT_EQ(MsgYesNoCancel(QStringLiteral("q"), QString()), IDCANCEL);
    EXPECT_EQ(MsgError(QStringLiteral("e")), IDOK);
    // A code for a button the message does not show is a refusal too.
    sink.answer = IDOK;
    EXPECT_EQ(MsgYesNo(QStringLiteral("q"), QString()), IDNO);
    sink.answer = IDYES;
    EXPECT_EQ(MsgOkCancel(QStringLiteral("q"), QString()), IDCANCEL);
    sink.fail = true;
    EXPECT_EQ(MsgYesNo(QStringLiteral("q"), QString()), IDNO);
    EXPECT_EQ(MsgInfo(QStringLiteral("i")), IDOK);
}

// The starting button travels with the question; a question that deletes starts on No or Cancel.
TEST_F(Messages, QuestionsNameTheButtonThatStartsWithTheFocus) {
    MsgYesNo(QStringLiteral("q"), QString());
    EXPECT_EQ(Last().focus, IDYES);
    EXPECT_EQ(Last().escape, IDNO);
    MsgYesNo(QStringLiteral("Delete?"), QString(), IDNO);
    EXPECT_EQ(Last().focus, IDNO);
    EXPECT_EQ(Last().flags & (MB_DEFBUTTON2 | MB_DEFBUTTON3), MB_DEFBUTTON2);
    MsgOkCancel(QStringLiteral("Remove?"), QString(), IDCANCEL);
    EXPECT_EQ(Last().focus, IDCANCEL);
    MsgYesNoCancel(QStringLiteral("q"), QString(), IDCANCEL);
    EXPECT_EQ(Last().focus, IDCANCEL);
    EXPECT_EQ(Last().flags & (MB_DEFBUTTON2 | MB_DEFBUTTON3), MB_DEFBUTTON3);
    MsgWarnYesNo(QStringLiteral("q"), QString(), false, IDNO);
    EXPECT_EQ(Last().focus, IDNO);
    // A button the question does not show cannot start; neither can a bit past the last button.
    MsgYesNo(QStringLiteral("q"), QString(), IDCANCEL);
    EXPECT_EQ(Last().focus, IDYES);
    MsgBox(QStringLiteral("q"), QString(), MB_YESNO | MB_DEFBUTTON3);
    EXPECT_EQ(Last().focus, IDYES);
    MsgInfo(QStringLiteral("i"));
    EXPECT_EQ(Last().focus, IDOK);
    EXPECT_EQ(Last().escape, IDOK);

    // The buttons reach the sink captioned in the message's direction and named for the command line.
    MsgYesNoCancel(QStringLiteral("q"), QString());
    ASSERT_EQ(Last().answers.size(), 3);
    EXPECT_EQ(Last().answers[0].caption, QStringLiteral("&نعم"));
    EXPECT_EQ(Last().answers[2].name, QStringLiteral("cancel"));
    MsgError(QStringLiteral("e"));
    ASSERT_EQ(Last().answers.size(), 1);
    EXPECT_EQ(Last().answers[0].caption, QStringLiteral("Ok"));
}

TEST_F(Messages, QuestionsWithButtonsOfTheirOwn) {
    TQuestion question;
    question.text = QStringLiteral("No marriage|Record it?");
    question.caption = QStringLiteral("Attach Father");
    question.answers = {{10, QStringLiteral("&Record their marriage"), QStringLiteral("marry")},
                        {11, QStringLiteral("C&lear the mother"), QStringLiteral("clear-mother")},
                        {12, QStringLiteral("Cancel"), QStringLiteral("cancel")}};
    question.focus = 11;
    question.escape = 12;
    sink.answer = 10;
    EXPECT_EQ(MsgAsk(question), 10);
    EXPECT_EQ(Last().focus, 11);
    EXPECT_EQ(Last().escape, 12);
    EXPECT_EQ(Last().headline, QStringLiteral("No marriage"));
    EXPECT_EQ(Last().caption, QStringLiteral("Attach Father"));
    EXPECT_EQ(MsgIconOf(Last().flags), TMsgIcon::Question);
    EXPECT_EQ(Last().flags & (MB_RIGHT | MB_RTLREADING), MB_RIGHT | MB_RTLREADING);
    EXPECT_EQ(Last().answers.size(), 3);

    // Leaving, failing or answering with a code the question does not offer gives its escape answer.
    sink.answer = IDYES;
    EXPECT_EQ(MsgAsk(question), 12);
    sink.answer = 0;
    EXPECT_EQ(MsgAsk(question), 12);
    sink.fail = true;
    EXPECT_EQ(MsgAsk(question), 12);
    sink.fail = false;

    // Unnamed starting and escape answers fall to the first and the last.
    question.focus = 99;
    question.escape = 0;
    MsgAsk(question);
    EXPECT_EQ(Last().focus, 10);
    EXPECT_EQ(Last().escape, 12);

    // The position serves a question as it serves a MsgBox.
    SetMsgBoxPosition(QPoint(40, 50));
    MsgAsk(question);
    EXPECT_EQ(Last().position, QPoint(40, 50));
    EXPECT_EQ(MsgBoxPosition(), QPoint(-1, -1));
}

TEST_F(Messages, PositionServesOnlyTheNextMsgBox) {
    SetMsgBoxPosition(QPoint(300, 200));
    MsgInfo(QStringLiteral("centred"));
    EXPECT_LE(Last().position.x(), 0);
    EXPECT_EQ(MsgBoxPosition(), QPoint(300, 200));

    MsgYesNo(QStringLiteral("near the drop"), QString());
    EXPECT_EQ(Last().position, QPoint(300, 200));
    EXPECT_EQ(MsgBoxPosition(), QPoint(-1, -1));
    MsgYesNo(QStringLiteral("centred again"), QString());
    EXPECT_EQ(Last().position, QPoint(-1, -1));

    SetMsgBoxPosition(QPoint(10, 10));
    sink.fail = true;
    MsgWarning(QStringLiteral("w"));
    EXPECT_EQ(MsgBoxPosition(), QPoint(-1, -1));
}

TEST(DefaultMessageSink, RefusesWithoutWaiting) {
    EXPECT_EQ(MsgYesNo(QStringLiteral("Delete?|All of it"), QStringLiteral("c")), IDNO);
    EXPECT_EQ(MsgYesNoCancel(QStringLiteral("Save?"), QString()), IDCANCEL);
    EXPECT_EQ(MsgInfoLtr(QStringLiteral("Done")), IDOK);
}

} // namespace
} // namespace verdan
