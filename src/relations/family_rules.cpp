#include "relations/family_rules.h"

#include "relations/kinship.h"
#include "relations/mahram.h"
#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QHash>

namespace verdan {

namespace {

QString Tr(const char* text) {
    return Translate(QString::fromUtf8(text));
}

bool IsGlobalParent(const QString& id) {
    const QString global = GetGlobalParentId();
    return !global.trimmed().isEmpty() && SameId(id, global);
}

// A person the rules speak about: a row of the tree other than the outside-the-tree group.
bool IsFamilyPerson(const QString& id) {
    return !IsReservedParentId(id) && !IsGlobalParent(id) && PersonExists(id);
}

// A person as the questions name him: with his father and grandfather, kept whole in a sentence of the
// other reading direction.
QString NameOf(const QString& id) {
    return Isolate(GetThreeGenerationName(id).trimmed());
}

// "A and B" in the interface language.
QString NameList(const QStringList& ids) {
    QString list;
    for (const QString& id : ids)
        list = list.isEmpty() ? NameOf(id) : FillPattern(Tr("%*, %*"), {list, NameOf(id)});
    return list;
}

TFamilyAnswer Answer(const QString& name, const char* caption) {
    return {name, Tr(caption)};
}

class TDefaultAsker final : public TFamilyAsker {
public:
    QString Ask(const TFamilyRuling& question) override {
        TQuestion shown;
        shown.text = question.Text;
        shown.caption = question.Caption;
        for (qsizetype i = 0; i < question.Answers.size(); ++i) {
            const TFamilyAnswer& answer = question.Answers[i];
            const int code = static_cast<int>(i) + 1;
            shown.answers.append({code, answer.Caption, answer.Name});
            if (answer.Name == question.Focus)
                shown.focus = code;
            if (answer.Name == kAnswerCancel)
                shown.escape = code;
        }
        const int chosen = MsgAsk(shown);
        return chosen >= 1 && chosen <= question.Answers.size() ? question.Answers[chosen - 1].Name
                                                                : kAnswerCancel;
    }
    void Refuse(const TFamilyRuling& refusal) override { MsgErrorRtl(refusal.Text); }
    void Tell(const QStringList& notices) override {
        if (!notices.isEmpty())
            MsgInfo(Tr("These ages are hard to believe:") + u'|' + notices.join(QStringLiteral("||")));
    }
};

// Asks the further-husband question; ending her lasting marriages goes into the plan.
bool AnswerFurtherHusband(const TFamilyRuling& ruling, const QString& wife, TFamilyPlan& plan) {
    const QString answer = FamilyAsker().Ask(ruling);
    if (answer == kAnswerEndMarriage) {
        for (const QString& other : ruling.Persons)
            plan.EndMarriages.append({other, wife});
        return true;
    }
    return answer == kAnswerAddAnyway;
}

TFamilyAsker*& InstalledAsker() {
    static TFamilyAsker* asker = nullptr;
    return asker;
}

} // namespace

QString DeadPersonSql(const QString& alias) {
    // A dead mark reads as Query::Bool reads it: any number but 0, or the text "true".
    return QStringLiteral("(ifnull(CAST(%1.Is_Dead AS INTEGER), 0) <> 0 OR ifnull(lower(%1.Is_Dead), '') = "
                          "'true' OR ifnull(CAST(%1.Date_of_Death_G AS INTEGER), 0) <> 0 OR "
                          "ifnull(CAST(%1.Date_of_Death_H AS INTEGER), 0) <> 0)")
        .arg(alias);
}

bool IsPersonDead(const QString& id) {
    Query q = Dm().Prepare(QStringLiteral("SELECT ") + DeadPersonSql(QStringLiteral("p")) +
                               QStringLiteral(" FROM ftPerson p WHERE p.Person_Id = ?"),
                           id);
    return q.Next() && q.Bool(0);
}

QString EndedMarriageSql(const QString& relation, const QString& husband, const QString& wife) {
    // The divorce date joins these once marriages keep one.
    return QStringLiteral(
               "(ifnull(CAST(%1.split AS INTEGER), 0) <> 0 OR ifnull(lower(%1.split), '') = 'true' "
               "OR %2 OR %3)")
        .arg(relation, DeadPersonSql(husband), DeadPersonSql(wife));
}

bool MarriageHasEnded(const QString& husband, const QString& wife) {
    Query q = Dm().Prepare(
        QStringLiteral("SELECT ") +
            EndedMarriageSql(QStringLiteral("r"), QStringLiteral("h"), QStringLiteral("w")) +
            QStringLiteral(
                " FROM ftRelation r LEFT JOIN ftPerson h ON h.Person_Id = r.person_id_1 "
                "LEFT JOIN ftPerson w ON w.Person_Id = r.person_id_2 WHERE r.relation_type = 0 AND "
                "((r.person_id_1 = ?1 AND r.person_id_2 = ?2) OR (r.person_id_1 = ?2 AND "
                "r.person_id_2 = ?1))"),
        husband, wife);
    // No marriage at all is none that lasts.
    return !q.Next() || q.Bool(0);
}

QStringList HusbandsInLastingMarriage(const QString& wife) {
    QStringList husbands;
    Query q = Dm().Prepare(QStringLiteral("SELECT person_id_1 FROM ftRelation WHERE person_id_2 = ? AND "
                                          "relation_type = 0 ORDER BY relation_order_1, oid"),
                           wife);
    QStringList all;
    while (q.Next())
        all << q.Text(0);
    for (const QString& husband : all) {
        if (IsFamilyPerson(husband) && !SameId(husband, wife) && !MarriageHasEnded(husband, wife) &&
            !husbands.contains(husband, Qt::CaseInsensitive))
            husbands << husband;
    }
    return husbands;
}

QString MayNotMarryReason(const QString& man, const QString& woman) {
    const TKinship kinship = FindKinship(man, woman);
    const TMahramRuling ruling = RuleMahram(kinship);
    switch (ruling.Answer) {
    case TMahramAnswer::Mahram:
    case TMahramAnswer::MahramIfConsummated:
    case TMahramAnswer::TemporaryBar:
    case TMahramAnswer::SamePerson:
        return MahramText(kinship, ruling);
    default:
        return {};
    }
}

TFamilyRuling RuleNewParent(const QString& child, const QString& parent, TParentKind kind) {
    TFamilyRuling ruling;
    const bool father = kind == TParentKind::Father;
    if (!IsFamilyPerson(child) || !IsFamilyPerson(parent))
        return ruling;
    const TParent parents = GetParents(child);
    if (SameId(father ? parents.Father_Id : parents.Mother_Id, parent))
        return ruling;
    const QString kept = (father ? parents.Mother_Id : parents.Father_Id).trimmed();
    if (!IsFamilyPerson(kept) || SameId(kept, parent))
        return ruling;
    const QString husband = father ? parent : kept;
    const QString wife = father ? kept : parent;
    // A kept parent of the same gender as the new one is a contradiction the check lists, and a group
    // stands in the father line without ever marrying: no couple to make.
    TParentLinks man;
    if (!ReadParentLinks(husband, man) || man.Gender != u"m" || man.Is_Section || GetGender(wife) != u"f" ||
        MarriageExists(husband, wife))
        return ruling;
    ruling.Verdict = TRuleVerdict::Ask;
    ruling.Persons = {kept};
    ruling.Caption = Tr("Set Relationship");
    ruling.Focus = kAnswerCancel;
    const QStringList names = {NameOf(parent), NameOf(kept), NameOf(child)};
    const QString clear = father ? kAnswerClearMother : kAnswerClearFather;
    const char* clearCaption = father ? "Clear the mother" : "Clear the father";
    const QString reason = MayNotMarryReason(husband, wife);
    if (!reason.isEmpty()) {
        ruling.Text = FillPattern(father ? Tr("%* may not marry %*, the mother of %*.")
                                         : Tr("%* may not marry %*, the father of %*."),
                                  names) +
                      u'|' + reason;
        ruling.Answers = {Answer(clear, clearCaption), Answer(kAnswerCancel, "Cancel")};
        return ruling;
    }
    ruling.Text = FillPattern(father ? Tr("%* is not married to %*, the mother of %*.|Record their marriage, "
                                          "or clear the mother of %*?")
                                     : Tr("%* is not married to %*, the father of %*.|Record their marriage, "
                                          "or clear the father of %*?"),
                              names + QStringList{names[2]});
    ruling.Answers = {Answer(kAnswerMarry, "Record their marriage"), Answer(clear, clearCaption),
                      Answer(kAnswerCancel, "Cancel")};
    return ruling;
}

TFamilyRuling RuleMarriage(const QString& husband, const QString& wife) {
    TFamilyRuling ruling;
    if (!IsFamilyPerson(husband) || !IsFamilyPerson(wife) || MarriageExists(husband, wife))
        return ruling;
    ruling.Caption = Tr("Set Marriage Relationship");
    const QString reason = MayNotMarryReason(husband, wife);
    if (!reason.isEmpty()) {
        ruling.Verdict = TRuleVerdict::Refused;
        ruling.Text =
            FillPattern(Tr("%* may not marry %*."), {NameOf(husband), NameOf(wife)}) + u'|' + reason;
        return ruling;
    }
    return RuleFurtherHusband(wife, NameOf(husband));
}

namespace {

// Days of the years an age is told in; a few days either way make no doubt.
constexpr qint64 DaysOfYears(int years) {
    return qint64(years) * 36524 / 100;
}

// Whether every day of `later` lies more than `days` after every day of `earlier`; never for an open end
// or a date that is not known.
bool SurelyAfter(const TDayRange& later, const TDayRange& earlier, qint64 days) {
    if (later.First == TDayRange::kOpenStart || earlier.Last == TDayRange::kOpenEnd)
        return false;
    return later.First - earlier.Last > days;
}

// Whether every day of `later` lies less than `days` after every day of `earlier`.
bool SurelyWithin(const TDayRange& later, const TDayRange& earlier, qint64 days) {
    if (later.Last == TDayRange::kOpenEnd || earlier.First == TDayRange::kOpenStart)
        return false;
    return later.Last - earlier.First < days;
}

} // namespace

TLifeDates ReadLifeDates(const QString& id) {
    TLifeDates dates;
    Query q = Dm().Prepare(QStringLiteral("SELECT Date_of_Birth_G, Date_of_Birth_H, Date_of_Death_G, "
                                          "Date_of_Death_H FROM ftPerson WHERE Person_Id = ?"),
                           id);
    if (q.Next()) {
        dates.Birth.Gregorian = int(q.Int(0));
        dates.Birth.Hijri = int(q.Int(1));
        dates.Death.Gregorian = int(q.Int(2));
        dates.Death.Hijri = int(q.Int(3));
    }
    return dates;
}

TLifeDays LifeDaysOf(const TLifeDates& dates) {
    return {DayRangeOf(dates.Birth), DayRangeOf(dates.Death)};
}

TAgeDoubt ParentAgeDoubt(const TDayRange& childBirth, const TLifeDays& parent, TParentKind kind) {
    if (kind == TParentKind::Mother && SurelyAfter(childBirth, parent.Death, 0))
        return TAgeDoubt::AfterMothersDeath;
    if (kind == TParentKind::Father && SurelyAfter(childBirth, parent.Death, DaysOfYears(1)))
        return TAgeDoubt::LongAfterFathersDeath;
    if (SurelyWithin(childBirth, parent.Birth, DaysOfYears(10)))
        return TAgeDoubt::ParentUnderTen;
    if (kind == TParentKind::Mother && SurelyAfter(childBirth, parent.Birth, DaysOfYears(60)))
        return TAgeDoubt::MotherOverSixty;
    return TAgeDoubt::None;
}

TAgeDoubt MarriageAgeDoubt(const TLifeDays& husband, const TLifeDays& wife) {
    if (SurelyAfter(husband.Birth, wife.Death, 0))
        return TAgeDoubt::HusbandBornAfterWifeDied;
    if (SurelyAfter(wife.Birth, husband.Death, 0))
        return TAgeDoubt::WifeBornAfterHusbandDied;
    if (SurelyAfter(husband.Birth, wife.Birth, DaysOfYears(60)) ||
        SurelyAfter(wife.Birth, husband.Birth, DaysOfYears(60)))
        return TAgeDoubt::BirthsFarApart;
    return TAgeDoubt::None;
}

QString AgeDoubtText(TAgeDoubt doubt, const QString& first, const QString& second) {
    switch (doubt) {
    case TAgeDoubt::None:
        return {};
    case TAgeDoubt::ParentUnderTen:
        return FillPattern(Tr("%* was born before %* was 10 years old."), {first, second});
    case TAgeDoubt::MotherOverSixty:
        return FillPattern(Tr("%* was born after %* was 60 years old."), {first, second});
    case TAgeDoubt::AfterMothersDeath:
        return FillPattern(Tr("%* was born after %* died."), {first, second});
    case TAgeDoubt::LongAfterFathersDeath:
        return FillPattern(Tr("%* was born more than a year after %* died."), {first, second});
    case TAgeDoubt::HusbandBornAfterWifeDied:
        return FillPattern(Tr("%* was born after %* died."), {first, second});
    case TAgeDoubt::WifeBornAfterHusbandDied:
        return FillPattern(Tr("%* was born after %* died."), {second, first});
    case TAgeDoubt::BirthsFarApart:
        return FillPattern(Tr("%* and %* were born more than 60 years apart."), {first, second});
    }
    return {};
}

TFamilyRuling RuleFurtherHusband(const QString& wife, const QString& husbandName) {
    TFamilyRuling ruling;
    const QStringList husbands = IsFamilyPerson(wife) ? HusbandsInLastingMarriage(wife) : QStringList();
    if (husbands.isEmpty())
        return ruling;
    ruling.Verdict = TRuleVerdict::Ask;
    ruling.Caption = Tr("Set Marriage Relationship");
    ruling.Persons = husbands;
    ruling.Focus = kAnswerCancel;
    ruling.Text = FillPattern(Tr("%* is still married to %*.|Mark that marriage ended, or add %* as a "
                                 "further husband?"),
                              {NameOf(wife), NameList(husbands), husbandName});
    ruling.Answers = {Answer(kAnswerEndMarriage, "Mark that marriage ended"),
                      Answer(kAnswerAddAnyway, "Add anyway"), Answer(kAnswerCancel, "Cancel")};
    return ruling;
}

TFamilyAsker& FamilyAsker() {
    static TDefaultAsker fallback;
    return InstalledAsker() ? *InstalledAsker() : fallback;
}

TFamilyAsker* InstallFamilyAsker(TFamilyAsker* asker) {
    TFamilyAsker* previous = InstalledAsker();
    InstalledAsker() = asker;
    return previous;
}

void TFamilyPlan::Tell() const {
    if (!Notices.isEmpty())
        FamilyAsker().Tell(Notices);
}

bool PlanMarriage(const QString& husband, const QString& wife, TFamilyPlan& plan) {
    for (const auto& [h, w] : std::as_const(plan.Marriages)) {
        if (SameId(h, husband) && SameId(w, wife))
            return true;
    }
    const TFamilyRuling ruling = RuleMarriage(husband, wife);
    if (ruling.Verdict == TRuleVerdict::Refused) {
        FamilyAsker().Refuse(ruling);
        return false;
    }
    if (ruling.Verdict == TRuleVerdict::Ask && !AnswerFurtherHusband(ruling, wife, plan))
        return false;
    if (!MarriageExists(husband, wife)) {
        plan.Marriages.append({husband, wife});
        const TAgeDoubt doubt =
            MarriageAgeDoubt(LifeDaysOf(ReadLifeDates(husband)), LifeDaysOf(ReadLifeDates(wife)));
        if (doubt != TAgeDoubt::None)
            plan.Notices << AgeDoubtText(doubt, NameOf(husband), NameOf(wife));
    }
    return true;
}

bool PlanFurtherHusband(const QString& wife, const QString& husbandName, TFamilyPlan& plan) {
    const TFamilyRuling ruling = RuleFurtherHusband(wife, husbandName);
    return ruling.Verdict != TRuleVerdict::Ask || AnswerFurtherHusband(ruling, wife, plan);
}

bool PlanNewParent(const QStringList& children, const QString& parent, TParentKind kind, TFamilyPlan& plan) {
    const bool father = kind == TParentKind::Father;
    QHash<QString, QString> answers; // kept parent (upper case) -> answer
    const TLifeDays parentDays = LifeDaysOf(ReadLifeDates(parent));
    for (const QString& child : children) {
        const TAgeDoubt doubt = ParentAgeDoubt(DayRangeOf(ReadLifeDates(child).Birth), parentDays, kind);
        if (doubt != TAgeDoubt::None)
            plan.Notices << AgeDoubtText(doubt, NameOf(child), NameOf(parent));
        const TFamilyRuling ruling = RuleNewParent(child, parent, kind);
        if (ruling.Verdict != TRuleVerdict::Ask)
            continue;
        const QString kept = ruling.Persons.value(0);
        const QString key = kept.toUpper();
        QString answer = answers.value(key);
        if (answer.isEmpty()) {
            answer = FamilyAsker().Ask(ruling);
            answers.insert(key, answer);
            if (answer == kAnswerMarry && !PlanMarriage(father ? parent : kept, father ? kept : parent, plan))
                return false;
        }
        if (answer == kAnswerClearMother || answer == kAnswerClearFather)
            (father ? plan.ClearMothers : plan.ClearFathers) << child;
        else if (answer != kAnswerMarry)
            return false;
    }
    return true;
}

bool WriteFamilyPlan(const TFamilyPlan& plan) {
    for (const auto& [husband, wife] : plan.EndMarriages) {
        if (!SetMarriageSplit(husband, wife, true))
            return false;
    }
    for (const auto& [husband, wife] : plan.Marriages) {
        if (!RecordMarriage(husband, wife))
            return false;
    }
    for (const QString& child : plan.ClearMothers) {
        if (!SetMother(child, QStringLiteral("0")))
            return false;
    }
    for (const QString& child : plan.ClearFathers) {
        if (!SetFather(child, QStringLiteral("0")))
            return false;
    }
    return true;
}

bool WriteNewParent(const QStringList& children, const QString& parent, TParentKind kind) {
    const bool father = kind == TParentKind::Father;
    int order = father ? CountChildrenOfFather(parent) : CountChildrenOfMother(parent);
    for (const QString& child : children) {
        const TParent parents = GetParents(child);
        if (SameId(father ? parents.Father_Id : parents.Mother_Id, parent))
            continue;
        ++order;
        if (!(father ? SetFather(child, parent) && SetOrderByFather(child, order)
                     : SetMother(child, parent) && SetOrderByMother(child, order)))
            return false;
    }
    return true;
}

bool GiveParent(const QStringList& children, const QString& parent, TParentKind kind) {
    TFamilyPlan plan;
    if (!PlanNewParent(children, parent, kind, plan))
        return false;
    plan.Tell();
    Transaction transaction;
    return WriteNewParent(children, parent, kind) && WriteFamilyPlan(plan) && transaction.Commit();
}

bool MarryByRules(const QString& husband, const QString& wife) {
    TFamilyPlan plan;
    if (!PlanMarriage(husband, wife, plan))
        return false;
    plan.Tell();
    {
        Transaction transaction;
        if (!WriteFamilyPlan(plan) || !RecordMarriage(husband, wife) || !transaction.Commit())
            return false;
    }
    OfferCoupleChildren(husband, wife);
    return true;
}

} // namespace verdan
