#include "messages.h"

#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QGuiApplication>
#include <cstdio>
#include <exception>

namespace verdan {

namespace {

// The messages that read right to left with Arabic buttons do so in a right-to-left interface (Arabic,
// Persian, Urdu), and before any language is loaded. In a left-to-right one a reader could not tell the
// buttons apart: there they read left to right with English buttons.
quint32 RightToLeftFlags() {
    const bool leftToRight = !Local().FileName.isEmpty() && !Local().Target.RightToLeft;
    return leftToRight ? 0 : MB_RIGHT | MB_RTLREADING;
}

class TStderrSink final : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        QString line = request.caption.isEmpty() ? QString() : request.caption + QStringLiteral(": ");
        line += request.headline;
        if (!request.body.isEmpty())
            line += QStringLiteral(" — ") + request.body;
        std::fprintf(stderr, "%s\n", StripBidiControls(line).toLocal8Bit().constData());
        return request.escape;
    }
};

TMessageSink& DefaultSink() {
    static TStderrSink sink;
    return sink;
}

TMessageSink*& CurrentSink() {
    static TMessageSink* sink = &DefaultSink();
    return sink;
}

QPoint& Position() {
    static QPoint position(-1, -1);
    return position;
}

QString& MessageTitle() {
    static QString title;
    return title;
}

QString ApplicationTitle() {
    return MessageTitle().isEmpty() ? QGuiApplication::applicationDisplayName() : MessageTitle();
}

// A sink that fails, or answers with a button the message does not show, answers as Escape does.
int ShowRequest(const TMessageRequest& request) {
    int code = 0;
    try {
        code = CurrentSink()->Show(request);
    } catch (const std::exception&) {
        code = 0;
    }
    for (const TMsgAnswer& answer : request.answers) {
        if (answer.code == code)
            return code;
    }
    return request.escape;
}

// `code` when one of the answers has it, else `fallback`.
int AnswerNamed(const QList<TMsgAnswer>& answers, int code, int fallback) {
    for (const TMsgAnswer& answer : answers) {
        if (answer.code == code)
            return code;
    }
    return fallback;
}

// The flag bits that start a question of `buttons` on the button answering `focus`.
quint32 FocusFlags(quint32 buttons, int focus) {
    const qsizetype index = MsgButtonsOf(buttons).indexOf(focus);
    return index == 1 ? MB_DEFBUTTON2 : index == 2 ? MB_DEFBUTTON3 : 0;
}

quint32 IconFlags(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::None:
        return 0;
    case TMsgIcon::Information:
        return MB_ICONINFORMATION;
    case TMsgIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case TMsgIcon::Question:
        return MB_ICONQUESTION;
    case TMsgIcon::Stop:
        return MB_ICONSTOP;
    }
    return 0;
}

// A right-to-left message speaks Persian or Urdu in those interfaces and Arabic in every other one.
QString ButtonCaption(int code, bool rightToLeft) {
    struct Captions {
        const char16_t* ok;
        const char16_t* cancel;
        const char16_t* yes;
        const char16_t* no;
    };
    static constexpr Captions kEnglish{u"Ok", u"Cancel", u"&Yes", u"&No"};
    static constexpr Captions kArabic{u"موافق", u"إلغاء الأمر", u"&نعم", u"&لا"};
    static constexpr Captions kPersian{u"تأیید", u"انصراف", u"&بله", u"&خیر"};
    static constexpr Captions kUrdu{u"ٹھیک ہے", u"منسوخ", u"&ہاں", u"نہ&یں"};
    const QString language = rightToLeft ? InterfaceLanguageCode() : QString();
    const Captions& captions = !rightToLeft        ? kEnglish
                               : language == u"fa" ? kPersian
                               : language == u"ur" ? kUrdu
                                                   : kArabic;
    switch (code) {
    case IDOK:
        return QString::fromUtf16(captions.ok);
    case IDCANCEL:
        return QString::fromUtf16(captions.cancel);
    case IDYES:
        return QString::fromUtf16(captions.yes);
    default:
        return QString::fromUtf16(captions.no);
    }
}

QString ButtonName(int code) {
    switch (code) {
    case IDOK:
        return QStringLiteral("ok");
    case IDCANCEL:
        return QStringLiteral("cancel");
    case IDYES:
        return QStringLiteral("yes");
    default:
        return QStringLiteral("no");
    }
}

// The information messages always open in the middle of the screen and leave a position set by the
// caller for the next MsgBox.
int ShowCentred(const QString& text, quint32 flags) {
    TMessageRequest request = MakeMessageRequest(text, ApplicationTitle(), flags);
    request.position = QPoint(-1, -1);
    return ShowRequest(request);
}

// The general form behind MsgBox and its wrappers; the position serves this one message only.
int ShowBox(const QString& text, const QString& caption, quint32 flags, bool beep) {
    TMessageRequest request = MakeMessageRequest(text, caption, flags);
    request.beep = beep;
    const int code = ShowRequest(request);
    SetMsgBoxPosition(QPoint(-1, -1));
    return code;
}

} // namespace

TMsgIcon MsgIconOf(quint32 flags) {
    if (flags & MB_ICONINFORMATION)
        return TMsgIcon::Information;
    if ((flags & MB_ICONEXCLAMATION) == MB_ICONEXCLAMATION)
        return TMsgIcon::Exclamation;
    if (flags & MB_ICONQUESTION)
        return TMsgIcon::Question;
    if (flags & MB_ICONSTOP)
        return TMsgIcon::Stop;
    return TMsgIcon::None;
}

QList<int> MsgButtonsOf(quint32 flags) {
    if ((flags & MB_YESNOCANCEL) == MB_YESNOCANCEL)
        return {IDYES, IDNO, IDCANCEL};
    if (flags & MB_YESNO)
        return {IDYES, IDNO};
    if (flags & MB_OKCANCEL)
        return {IDOK, IDCANCEL};
    return {IDOK};
}

int MsgEscapeCode(quint32 flags) {
    const QList<int> buttons = MsgButtonsOf(flags);
    return buttons.contains(IDCANCEL) ? IDCANCEL : buttons.contains(IDNO) ? IDNO : IDOK;
}

int MsgFocusCode(quint32 flags) {
    const QList<int> buttons = MsgButtonsOf(flags);
    const qsizetype index = (flags & MB_DEFBUTTON3) ? 2 : (flags & MB_DEFBUTTON2) ? 1 : 0;
    return buttons.value(index, buttons.front());
}

QList<TMsgAnswer> MsgAnswersOf(quint32 flags) {
    QList<TMsgAnswer> answers;
    for (int code : MsgButtonsOf(flags))
        answers.append({code, ButtonCaption(code, flags & MB_RIGHT), ButtonName(code)});
    return answers;
}

TMessageRequest MakeMessageRequest(const QString& text, const QString& caption, quint32 flags) {
    TMessageRequest request;
    request.text = text;
    const qsizetype bar = text.indexOf(u'|');
    request.headline = bar < 0 ? text : text.left(bar);
    request.body = bar < 0 ? QString() : text.mid(bar + 1);
    request.caption = caption;
    request.flags = flags;
    request.answers = MsgAnswersOf(flags);
    request.focus = MsgFocusCode(flags);
    request.escape = MsgEscapeCode(flags);
    request.position = MsgBoxPosition();
    return request;
}

int QuestionEscapeCode(const TQuestion& question) {
    return question.answers.isEmpty()
               ? IDOK
               : AnswerNamed(question.answers, question.escape, question.answers.back().code);
}

int MsgAsk(const TQuestion& question) {
    TMessageRequest request =
        MakeMessageRequest(question.text, question.caption, IconFlags(question.icon) | RightToLeftFlags());
    request.answers = question.answers;
    if (request.answers.isEmpty())
        request.answers = MsgAnswersOf(MB_OK);
    request.focus = AnswerNamed(request.answers, question.focus, request.answers.front().code);
    request.escape = AnswerNamed(request.answers, question.escape, request.answers.back().code);
    const int code = ShowRequest(request);
    SetMsgBoxPosition(QPoint(-1, -1));
    return code;
}

TMessageSink* InstallMessageSink(TMessageSink* sink) {
    TMessageSink* previous = CurrentSink();
    CurrentSink() = sink ? sink : &DefaultSink();
    return previous == &DefaultSink() ? nullptr : previous;
}

QPoint MsgBoxPosition() {
    return Position();
}

void SetMessageTitle(const QString& title) {
    MessageTitle() = title;
}

void SetMsgBoxPosition(const QPoint& position) {
    Position() = position;
}

int MsgBox(const QString& text, const QString& caption, quint32 flags) {
    return ShowBox(text, caption, flags, false);
}

int MsgInfo(const QString& text) {
    return ShowCentred(text, MB_ICONINFORMATION | RightToLeftFlags());
}

int MsgInfoLtr(const QString& text) {
    return ShowCentred(text, MB_ICONINFORMATION);
}

int MsgOkCancel(const QString& text, const QString& caption, int focus) {
    return MsgBox(text, caption,
                  MB_OKCANCEL | MB_ICONQUESTION | RightToLeftFlags() | FocusFlags(MB_OKCANCEL, focus));
}

int MsgYesNoCancel(const QString& text, const QString& caption, int focus) {
    return MsgBox(text, caption,
                  MB_YESNOCANCEL | MB_ICONQUESTION | RightToLeftFlags() | FocusFlags(MB_YESNOCANCEL, focus));
}

int MsgWarnYesNo(const QString& text, const QString& caption, bool rightToLeft, int focus) {
    return MsgBox(text, caption,
                  MB_YESNO | MB_ICONEXCLAMATION | (rightToLeft ? RightToLeftFlags() : 0) |
                      FocusFlags(MB_YESNO, focus));
}

int MsgYesNo(const QString& text, const QString& caption, int focus) {
    return MsgBox(text, caption,
                  MB_YESNO | MB_ICONQUESTION | RightToLeftFlags() | FocusFlags(MB_YESNO, focus));
}

// "Error" in the right-to-left interfaces: Persian and Urdu have their own word, every other one the Arabic.
int MsgErrorRtl(const QString& text) {
    const QString language = InterfaceLanguageCode();
    const QString caption = language == u"fa"   ? QStringLiteral("خطا")
                            : language == u"ur" ? QStringLiteral("خرابی")
                                                : QStringLiteral("خطأ");
    return MsgBox(text, caption, MB_ICONSTOP | RightToLeftFlags());
}

int MsgError(const QString& text) {
    return MsgBox(text, QStringLiteral("Error"), MB_ICONSTOP);
}

int MsgWarning(const QString& text) {
    return ShowBox(text, ApplicationTitle(), MB_ICONEXCLAMATION | RightToLeftFlags(), true);
}

int MsgWarningCaption(const QString& text, const QString& caption) {
    return ShowBox(text, caption, MB_ICONEXCLAMATION | RightToLeftFlags(), true);
}

} // namespace verdan
