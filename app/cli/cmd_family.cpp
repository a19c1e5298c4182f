#include "cli_commands.h"
#include "navigator/family_links.h"
#include "relations/family_rules.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

namespace verdan::cli {

namespace {

// A message as terminal lines: the headline, then the body.
QString Lines(const QString& text) {
    QString lines = StripBidiControls(text);
    lines.replace(QStringLiteral("||"), QStringLiteral("\n"))
        .replace(u'|', u'\n')
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\r', u'\n');
    return lines;
}

// The command line is the user's consent to its own command: its confirmations are answered with the first
// button, while what a command only tells goes to standard error.
class TCommandMessages final : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        const QList<int> buttons = MsgButtonsOf(request.flags);
        if (buttons.size() == 1)
            Err() << Lines(request.text) << Qt::endl;
        return buttons.front();
    }
};

// The family rules' questions take the answers named by --answer, each used once, in the order given; a
// question none of them answers is printed with its answers' names and left unanswered.
class TCommandAsker final : public TFamilyAsker {
public:
    explicit TCommandAsker(QStringList answers) : answers_(std::move(answers)) {}
    QString Ask(const TFamilyRuling& question) override {
        QStringList names;
        for (const TFamilyAnswer& answer : question.Answers)
            names << answer.Name;
        for (qsizetype i = 0; i < answers_.size(); ++i) {
            if (names.contains(answers_[i]))
                return answers_.takeAt(i);
        }
        Err() << Lines(question.Text) << '\n'
              << Translate(QStringLiteral("Answers"))
              << " (--answer NAME): " << names.join(QStringLiteral(", ")) << Qt::endl;
        return kAnswerCancel;
    }
    void Refuse(const TFamilyRuling& refusal) override { Err() << Lines(refusal.Text) << Qt::endl; }
    void Tell(const QStringList& notices) override {
        for (const QString& notice : notices)
            Out() << Lines(notice) << Qt::endl;
    }
    // Answers given that no question took.
    QStringList Unused() const { return answers_; }

private:
    QStringList answers_;
};

// The positional arguments and every "--answer NAME"; false after the message on a bad option.
bool SplitArguments(const QStringList& args, const QStringList& valued, QStringList& positional,
                    QHash<QString, QString>& values, QStringList& answers) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--answer" || valued.contains(arg)) {
            if (i + 1 >= args.size()) {
                Err() << "verdan-cli: " << arg << " needs a value" << Qt::endl;
                return false;
            }
            if (arg == u"--answer")
                answers << args[++i];
            else
                values.insert(arg, args[++i].trimmed());
        } else if (arg.startsWith(QStringLiteral("--"))) {
            Err() << "verdan-cli: unknown option " << arg << Qt::endl;
            return false;
        } else {
            positional << arg;
        }
    }
    return true;
}

// Runs a linking command on the open tree with the command line's messages and asker, and closes the tree.
// Exit code 0 when written, 1 otherwise; an answer no question took is pointed out.
template <typename Command> int RunLinking(const QStringList& answers, Command&& command) {
    TCommandMessages messages;
    TMessageSink* previousSink = InstallMessageSink(&messages);
    TCommandAsker asker(answers);
    TFamilyAsker* previousAsker = InstallFamilyAsker(&asker);
    const bool written = command();
    InstallFamilyAsker(previousAsker);
    InstallMessageSink(previousSink);
    CloseTreeFile();
    if (written && !asker.Unused().isEmpty()) {
        Err() << "verdan-cli: no question took the answer " << asker.Unused().join(QStringLiteral(", "))
              << Qt::endl;
    }
    return written ? 0 : 1;
}

bool KnownPerson(const QString& id, const char* command) {
    if (PersonExists(id))
        return true;
    Err() << "verdan-cli " << command << ": no person " << id << " in the tree" << Qt::endl;
    return false;
}

} // namespace

// Gives a child a father or a mother as Relationships ▸ Attach Father/Mother does, under the same rules.
// Prints the child's parents afterwards.
int Link(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional;
    QHash<QString, QString> values;
    QStringList answers;
    const QString usage =
        QStringLiteral("usage: verdan-cli link TREE.vrd CHILD --father ID|--mother ID [--answer NAME]...");
    if (!SplitArguments(args, {QStringLiteral("--father"), QStringLiteral("--mother")}, positional, values,
                        answers) ||
        positional.size() != 2 || values.size() != 1) {
        Err() << usage << Qt::endl;
        return 2;
    }
    const bool father = values.contains(QStringLiteral("--father"));
    const QString parent = values.value(father ? QStringLiteral("--father") : QStringLiteral("--mother"));
    const QString child = positional[1].trimmed();
    if (!OpenTreeFile(positional[0]))
        return 1;
    if (!KnownPerson(child, "link") || !KnownPerson(parent, "link")) {
        CloseTreeFile();
        return 1;
    }
    const int code = RunLinking(answers, [&] {
        UndoStep step(StepText("Attach «%*» to «%*»", {child, parent}), child);
        const TLinkNode node{child, GetPersonName(child), {}, {}, {}};
        const TPickedPersons picked{parent, GetPersonName(parent), QString(), {parent}};
        if (!AttachParent(father ? TParentKind::Father : TParentKind::Mother, {node}, picked))
            return false;
        const TParent parents = GetParents(child);
        Out() << Translate(QStringLiteral("Father")) << ": " << GetLineageName(parents.Father_Id) << '\n'
              << Translate(QStringLiteral("Mother")) << ": " << GetLineageName(parents.Mother_Id) << Qt::endl;
        return true;
    });
    return code;
}

// Marries a man to a woman as Attach Wife/Husband does, under the same rules.
int Marry(const QStringList& args) {
    const ErrorLines errors;
    QStringList positional;
    QHash<QString, QString> values;
    QStringList answers;
    if (!SplitArguments(args, {}, positional, values, answers) || positional.size() != 3) {
        Err() << "usage: verdan-cli marry TREE.vrd MAN WOMAN [--answer NAME]..." << Qt::endl;
        return 2;
    }
    const QString man = positional[1].trimmed();
    const QString woman = positional[2].trimmed();
    if (!OpenTreeFile(positional[0]))
        return 1;
    if (!KnownPerson(man, "marry") || !KnownPerson(woman, "marry")) {
        CloseTreeFile();
        return 1;
    }
    const bool manIsMan = GetGender(man) == u"m";
    if (!manIsMan || GetGender(woman) != u"f") {
        CloseTreeFile();
        Err() << "verdan-cli marry: " << (manIsMan ? woman : man)
              << (manIsMan ? " is no woman" : " is no man") << Qt::endl;
        return 1;
    }
    return RunLinking(answers, [&] {
        UndoStep step(StepText("Add a wife to «%*»", {man}), man);
        const TPickedPersons picked{woman, GetPersonName(woman), QStringLiteral("f"), {woman}};
        if (!AttachExistingMate(man, picked))
            return false;
        Out() << FillPattern(Translate(QStringLiteral("%* and %* are married.")),
                             {GetLineageName(man), GetLineageName(woman)})
              << Qt::endl;
        return true;
    });
}

} // namespace verdan::cli
