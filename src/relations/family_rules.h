#pragma once

#include "calendar/date_value.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace verdan {

// The rules that keep a family possible when a user links persons: a child's father and mother can be a
// couple, a man is never married to a woman he may not marry, a woman whose marriage has not ended is not
// given a second husband without a word. Each rule answers without a window: allowed, a question with
// named answers, or a refusal with its reason. The windows show the question; the command line takes the
// answer by its name. Imports keep what their file holds and leave it to the check.

enum class TParentKind { Father, Mother };

// One meaning for each word, used by the rules, the check and the kinship answers:
// - a person is dead when the dead mark is set or a death date is known in either calendar;
// - a marriage has ended when it is marked split, has a divorce date, or either spouse is dead.
bool IsPersonDead(const QString& id);
// The same as an SQL condition on the ftPerson row named `alias`, for checks of the whole tree.
QString DeadPersonSql(const QString& alias);
bool MarriageHasEnded(const QString& husband, const QString& wife);
// The same as an SQL condition on the ftRelation row `relation` and the ftPerson rows of its two spouses.
QString EndedMarriageSql(const QString& relation, const QString& husband, const QString& wife);
// The husbands of a woman whose marriages to her have not ended, in her order of husbands.
QStringList HusbandsInLastingMarriage(const QString& wife);

// Answer names, as the command line takes them.
inline const QString kAnswerMarry = QStringLiteral("marry");
inline const QString kAnswerClearMother = QStringLiteral("clear-mother");
inline const QString kAnswerClearFather = QStringLiteral("clear-father");
inline const QString kAnswerEndMarriage = QStringLiteral("end-marriage");
inline const QString kAnswerAddAnyway = QStringLiteral("add-anyway");
inline const QString kAnswerCancel = QStringLiteral("cancel");

struct TFamilyAnswer {
    QString Name;    // kAnswer…
    QString Caption; // the button's caption, translated
};

enum class TRuleVerdict { Allowed, Ask, Refused };

struct TFamilyRuling {
    TRuleVerdict Verdict = TRuleVerdict::Allowed;
    QString Text;                 // the question or the reason, translated; "|" between headline and body
    QString Caption;              // the message's caption
    QList<TFamilyAnswer> Answers; // Ask: in the order they are offered
    QString Focus;                // Ask: the answer whose button starts with the focus
    // Ask: the persons the question names, for the command that acts on the answer.
    QStringList Persons;
};

// Why a man may not marry a woman (his mother, sister, wife's daughter, his wife's sister while that
// marriage lasts ..) by the mahram rules of the tree's kinship, as one sentence; empty when he may.
QString MayNotMarryReason(const QString& man, const QString& woman);

// Giving `parent` to `child` as father (or mother): when the parent the child keeps on the other column
// is not the new parent's mate, asks whether to record their marriage or clear the kept parent (only to
// clear it, with the reason, when the two may not marry). Persons lists the kept parent.
TFamilyRuling RuleNewParent(const QString& child, const QString& parent, TParentKind kind);

// Marrying `husband` to `wife`: refused when he may not marry her; asked when a marriage of hers to
// another man has not ended (Persons lists those husbands); allowed otherwise, and when they are
// married already.
TFamilyRuling RuleMarriage(const QString& husband, const QString& wife);

// Ages that are hard to believe; they are told once, never refused. Dates are compared within their
// qualifiers: a doubt is raised only when every day the dates can mean agrees with it.
enum class TAgeDoubt {
    None,
    ParentUnderTen,        // the child was born before the parent was 10
    MotherOverSixty,       // the child was born after the mother was 60
    AfterMothersDeath,     // the child was born after the mother died
    LongAfterFathersDeath, // the child was born more than a year after the father died
    HusbandBornAfterWifeDied,
    WifeBornAfterHusbandDied,
    BirthsFarApart, // husband and wife were born more than 60 years apart
};

struct TLifeDates {
    TDateValue Birth;
    TDateValue Death;
};
TLifeDates ReadLifeDates(const QString& id);

// The days a birth and a death can mean (DayRangeOf); an unknown date is open at both ends.
struct TLifeDays {
    TDayRange Birth;
    TDayRange Death;
};
TLifeDays LifeDaysOf(const TLifeDates& dates);

TAgeDoubt ParentAgeDoubt(const TDayRange& childBirth, const TLifeDays& parent, TParentKind kind);
TAgeDoubt MarriageAgeDoubt(const TLifeDays& husband, const TLifeDays& wife);
// The doubt as a sentence naming the two: the child and the parent, or the husband and the wife.
QString AgeDoubtText(TAgeDoubt doubt, const QString& first, const QString& second);

// A new husband, named `husbandName`, for a woman whose marriage to another man has not ended: asked
// (Persons lists those husbands); allowed when she has none.
TFamilyRuling RuleFurtherHusband(const QString& wife, const QString& husbandName);

// Shows the rules' questions, refusals and notices. The default asker uses the message dialogs; the
// command line and tests install their own.
class TFamilyAsker {
public:
    virtual ~TFamilyAsker() = default;
    // The name of the answer chosen; kAnswerCancel when the question was left without one.
    virtual QString Ask(const TFamilyRuling& question) = 0;
    virtual void Refuse(const TFamilyRuling& refusal) = 0;
    // Ages that are hard to believe, told once for a whole command.
    virtual void Tell(const QStringList& notices) = 0;
};

TFamilyAsker& FamilyAsker();
// Installs `asker` (owned by the caller, alive while installed); nullptr restores the default. Returns
// the one installed before (nullptr for the default).
TFamilyAsker* InstallFamilyAsker(TFamilyAsker* asker);

// What a command writes besides its own links, once every question was answered.
struct TFamilyPlan {
    QList<QPair<QString, QString>> Marriages;    // husband, wife: to record
    QList<QPair<QString, QString>> EndMarriages; // husband, wife: to mark ended
    QStringList ClearMothers;                    // children whose mother is taken away
    QStringList ClearFathers;                    // children whose father is taken away
    QStringList Notices;

    void Tell() const; // the notices, once, through the asker
};

// Asks what giving `parent` to each child brings with it, one question for all the children that keep
// one parent, and adds the answers to the plan. False when a question was cancelled or a marriage refused
// (after its message); nothing is written.
bool PlanNewParent(const QStringList& children, const QString& parent, TParentKind kind, TFamilyPlan& plan);
// Asks what marrying the two brings with it and adds the marriage to the plan. False when refused (after
// the message) or cancelled. Two persons married already add nothing.
bool PlanMarriage(const QString& husband, const QString& wife, TFamilyPlan& plan);
// The question of RuleFurtherHusband, its answer added to the plan; false when cancelled.
bool PlanFurtherHusband(const QString& wife, const QString& husbandName, TFamilyPlan& plan);

// Writes the plan's marriages, ended marriages and cleared parents; false on a failed write. Call it in
// the command's transaction.
bool WriteFamilyPlan(const TFamilyPlan& plan);

// Makes `parent` the father (or mother) of each child that is not his child yet, each placed after the
// parent's children as a newly added child is (the parent's count of children + 1, in the order given).
// Call it in the command's transaction; false on a failed write.
bool WriteNewParent(const QStringList& children, const QString& parent, TParentKind kind);

// The commands' whole course once their own checks passed, each one transaction: the questions, the
// notices, then the links with everything agreed. True when written; false when cancelled, refused (after
// its message) or a write failed.
// Makes `parent` the father (or mother) of the children.
bool GiveParent(const QStringList& children, const QString& parent, TParentKind kind);
// Marries the two (marking the marriage current when they are married already) and then offers the
// couple's children, as MarryPersons does.
bool MarryByRules(const QString& husband, const QString& wife);

} // namespace verdan
