#pragma once

#include <QList>
#include <QPoint>
#include <QString>

namespace verdan {

// Flag bits of a message: the button group in the low bits, then the icon, then the text direction.
constexpr quint32 MB_OK = 0x0;
constexpr quint32 MB_OKCANCEL = 0x1;
constexpr quint32 MB_YESNOCANCEL = 0x3;
constexpr quint32 MB_YESNO = 0x4;
constexpr quint32 MB_ICONSTOP = 0x10;
constexpr quint32 MB_ICONQUESTION = 0x20;
constexpr quint32 MB_ICONEXCLAMATION = 0x30;
constexpr quint32 MB_ICONINFORMATION = 0x40;
// Right-aligned texts, larger fonts and Arabic button captions.
constexpr quint32 MB_RIGHT = 0x80000;
// Texts in right-to-left reading order.
constexpr quint32 MB_RTLREADING = 0x100000;
// The button that starts with the focus, counted in choice order; the first without these bits.
constexpr quint32 MB_DEFBUTTON2 = 0x100;
constexpr quint32 MB_DEFBUTTON3 = 0x200;

// Result codes: the button the user chose.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum class TMsgIcon { None, Information, Exclamation, Question, Stop };

TMsgIcon MsgIconOf(quint32 flags);

// Result codes of the buttons a message shows, in choice order (Yes, No, Cancel / OK, Cancel / Yes, No /
// OK); this is the order the keyboard walks, not the screen order.
QList<int> MsgButtonsOf(quint32 flags);

// The code a message answers to Escape and to every way of leaving it without choosing (the window
// manager's close, Alt+F4, the dialog that could not be shown): No in a Yes + No question, Cancel where
// there is Cancel, OK in a message that only informs. Never a consent to a question.
int MsgEscapeCode(quint32 flags);

// The code of the button that starts with the focus: the one MB_DEFBUTTON2/3 names, else the first.
int MsgFocusCode(quint32 flags);

// One button of a message: the code it answers, its caption ("&" before the letter Alt chooses it
// with) and a stable Latin name a user without a window can answer with.
struct TMsgAnswer {
    int code = 0;
    QString caption;
    QString name;
};

// The buttons of a message with these flags, captioned in English, or in the right-to-left interface's
// language with MB_RIGHT; named "yes", "no", "ok" and "cancel".
QList<TMsgAnswer> MsgAnswersOf(quint32 flags);

// Everything a message sink needs to show one message. The text is already translated by the caller.
struct TMessageRequest {
    QString text;     // headline "|" body, as passed
    QString headline; // the text before the first "|" (the whole text without one)
    QString body;     // the text after the first "|"
    QString caption;
    quint32 flags = MB_OK;
    QList<TMsgAnswer> answers; // the buttons, in choice order; the first stands where reading starts
    int focus = IDOK;          // the code of the button that starts with the focus
    int escape = IDOK;         // the code Escape and every way of leaving the message answer
    QPoint position{-1, -1};   // top-left corner wanted; x <= 0 centres the message on the screen
    bool beep = false;         // a warning sounds the system bell first
};

TMessageRequest MakeMessageRequest(const QString& text, const QString& caption, quint32 flags);

// A question with buttons of its own, such as "Record their marriage" / "Clear the mother" / "Cancel".
// Answers are in choice order and their codes distinct; `focus` names the one that starts with the focus
// (the first when it names none of them) and `escape` the one Escape and closing answer (the last when it
// names none). Texts are translated by the caller; "|" splits headline from body.
struct TQuestion {
    QString text;
    QString caption;
    QList<TMsgAnswer> answers;
    int focus = 0;
    int escape = 0;
    TMsgIcon icon = TMsgIcon::Question;
};

// Asks `question` and returns the code of the chosen answer; leaving it answers its escape code.
int MsgAsk(const TQuestion& question);
// The code Escape and leaving `question` answer: its escape answer, else its last.
int QuestionEscapeCode(const TQuestion& question);

// Shows messages. The default sink writes them to standard error and answers the refusal code, so the
// command line and tests never wait for a user; the desktop program installs its dialogs.
class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // Returns the result code of the chosen button.
    virtual int Show(const TMessageRequest& request) = 0;
};

// Installs `sink` (owned by the caller, alive while installed); nullptr restores the default sink.
// Returns the sink installed before (nullptr for the default).
TMessageSink* InstallMessageSink(TMessageSink* sink);

// Where the next MsgBox opens: a caller sets it just before the call (near a drop point, say); each MsgBox
// resets it to (-1, -1), so the message after that is centred again.
QPoint MsgBoxPosition();
void SetMsgBoxPosition(const QPoint& position);

// The caption of the messages that name none: the application's title in the interface language, set at
// start and after a change of language. Until it is set, the application's display name.
void SetMessageTitle(const QString& title);

// Every Msg function answers one of the codes of the buttons it shows; Escape and leaving the message
// without choosing answer MsgEscapeCode. Texts are passed translated; "|" splits headline from body. The
// wrappers that read right to left with Arabic buttons (all but MsgInfoLtr and MsgError, and MsgWarnYesNo
// when asked) do so only while the interface reads right to left; MsgErrorRtl keeps its caption "خطأ".
// A question names the button that starts with the focus: one whose Yes or OK deletes or rewrites data
// starts on No or Cancel, so that Enter pressed at once keeps the data.
int MsgBox(const QString& text, const QString& caption, quint32 flags);
int MsgInfo(const QString& text);
int MsgInfoLtr(const QString& text);
int MsgOkCancel(const QString& text, const QString& caption, int focus = IDOK);
int MsgYesNoCancel(const QString& text, const QString& caption, int focus = IDYES);
int MsgWarnYesNo(const QString& text, const QString& caption, bool rightToLeft, int focus = IDYES);
int MsgYesNo(const QString& text, const QString& caption, int focus = IDYES);
int MsgErrorRtl(const QString& text);
int MsgError(const QString& text);
int MsgWarning(const QString& text);
int MsgWarningCaption(const QString& text, const QString& caption);

} // namespace verdan
