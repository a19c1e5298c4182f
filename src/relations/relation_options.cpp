#include "relation_options.h"

#include "navigator/family_links.h"
#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

namespace verdan {

namespace {

constexpr int Index(TRelationOption option) {
    return static_cast<int>(option);
}

bool IsGlobalParent(const QString& id) {
    const QString global = GetGlobalParentId();
    return !global.trimmed().isEmpty() && SameId(id, global);
}

// A person a relation may join: one with a row, other than the outside-the-tree group.
bool IsReal(const QString& id) {
    return !IsReservedParentId(id) && !IsGlobalParent(id) && PersonExists(id);
}

bool EnsureBreastfeedingSiblings(const QString& a, const QString& b) {
    if (!IsReal(a) || !IsReal(b) || SameId(a, b) || BreastfeedingSiblingsExist(a, b))
        return true;
    return AddBreastfeedingSiblings(a, b);
}

// `parent` becomes the father (or mother) of `child`, with what the family rules ask for the parent the
// child keeps.
bool SetParentOf(const QString& child, const QString& parent, bool father) {
    if (!IsReal(child) || !IsReal(parent) || RefusesParentCycle(child, parent))
        return false;
    return GiveParent({child}, parent, father ? TParentKind::Father : TParentKind::Mother);
}

} // namespace

TRelationChoice RelationChoiceFor(const TRelationFacts& facts) {
    TRelationChoice choice;
    for (TRelationOption hidden :
         {TRelationOption::BrotherSister, TRelationOption::UncleAunt, TRelationOption::UncleAunt2})
        choice.Options[Index(hidden)].Visible = false;
    if (facts.SourceMale)
        choice.Options[Index(TRelationOption::FeederMother)] = {false, false};
    choice.Options[Index(TRelationOption::HusbandWife)].Enabled = facts.SourceMale != facts.TargetMale;

    const std::pair<bool, const char*> tests[] = {
        {facts.Siblings, "%* and %* are siblings"},
        {facts.BreastfeedingSiblings, "%* and %* are breastfeeding siblings"},
        {facts.BreastfeedingMother, "%* and %* have a breastfeeding relationship"},
        {facts.ParentAndChild, "%* and %* have a parent/child relationship"},
    };
    for (const auto& [holds, line] : tests) {
        if (!holds)
            continue;
        for (TOptionState& state : choice.Options)
            state.Enabled = false;
        choice.ExistingLines << QString::fromUtf8(line);
        choice.OkAllowed = false;
    }
    if (facts.SourceIsGroup || facts.TargetIsGroup) {
        for (TRelationOption option :
             {TRelationOption::HusbandWife, TRelationOption::FeederMother, TRelationOption::BrotherSisterX})
            choice.Options[Index(option)].Enabled = false;
    }
    return choice;
}

TRelationFacts ReadRelationFacts(const QString& sourceId, const QString& targetId) {
    TPerson source;
    TPerson target;
    ReadPerson(sourceId, source);
    ReadPerson(targetId, target);
    TRelationFacts facts;
    facts.SourceMale = IsMaleGender(source.Gender);
    facts.TargetMale = IsMaleGender(target.Gender);
    facts.SourceIsGroup = source.Is_Section;
    facts.TargetIsGroup = target.Is_Section;
    facts.Siblings = AreSiblings(sourceId, targetId);
    facts.BreastfeedingSiblings = BreastfeedingSiblingsExist(sourceId, targetId);
    facts.BreastfeedingMother = BreastfeedingMotherExists(sourceId, targetId);
    facts.ParentAndChild = SameId(source.Father_Id, targetId) || SameId(source.Mother_Id, targetId) ||
                           SameId(target.Father_Id, sourceId) || SameId(target.Mother_Id, sourceId);
    return facts;
}

QString RelationOptionCaption(TRelationOption option, bool sourceMale) {
    const QString dialog = QStringLiteral("relationships_dialog");
    auto pick = [sourceMale](const char* male, const char* female) {
        return QString::fromUtf8(sourceMale ? male : female);
    };
    switch (option) {
    case TRelationOption::FatherMother:
        return TranslateContext(pick("Father", "Mother"), dialog);
    case TRelationOption::SonDaughter:
        return TranslateContext(pick("Son", "Daughter"), dialog);
    case TRelationOption::HusbandWife:
        return TranslateContext(pick("Husband", "Wife"), dialog);
    case TRelationOption::FeederMother:
        return Translate(QStringLiteral("Breastfeeding Mother"));
    case TRelationOption::BrotherSisterX:
        return Translate(pick("Breastfeeding Brother", "Breastfeeding Sister"));
    case TRelationOption::BrotherSister:
        return TranslateContext(pick("Brother", "Sister"), dialog);
    case TRelationOption::UncleAunt:
        return sourceMale ? TranslateContext(QStringLiteral("Uncle"), QStringLiteral("father's brother"))
                          : TranslateContext(QStringLiteral("Aunt"), QStringLiteral("father's sister"));
    case TRelationOption::UncleAunt2:
        return sourceMale ? TranslateContext(QStringLiteral("Uncle"), QStringLiteral("mother's brother"))
                          : TranslateContext(QStringLiteral("Aunt"), QStringLiteral("mother's sister"));
    }
    return {};
}

QString RelationSentence(TRelationOption option, bool sourceMale) {
    auto pick = [sourceMale](const char* male, const char* female) {
        return QString::fromUtf8(sourceMale ? male : female);
    };
    QString word;
    switch (option) {
    case TRelationOption::FatherMother:
        word = pick("Father", "Mother");
        break;
    case TRelationOption::SonDaughter:
        word = pick("Son", "Daughter");
        break;
    case TRelationOption::HusbandWife:
        word = pick("Husband", "Wife");
        break;
    case TRelationOption::FeederMother:
        word = pick("Breastfeeding Father", "Breastfeeding Mother");
        break;
    case TRelationOption::BrotherSisterX:
        word = pick("Breastfeeding Brother", "Breastfeeding Sister");
        break;
    case TRelationOption::BrotherSister:
        word = pick("Brother", "Sister");
        break;
    case TRelationOption::UncleAunt:
    case TRelationOption::UncleAunt2:
        return {};
    }
    return Translate(QStringLiteral("is a ") + word.toLower() + QStringLiteral(" of"));
}

bool ApplyRelation(TRelationOption option, const QString& sourceId, const QString& targetId) {
    if (!PersonExists(sourceId) || !PersonExists(targetId) || SameId(sourceId, targetId))
        return false;
    const bool sourceMale = IsMaleGender(GetGender(sourceId));
    const bool targetMale = IsMaleGender(GetGender(targetId));
    StoreOperation operation;
    switch (option) {
    case TRelationOption::HusbandWife:
        if (sourceMale == targetMale)
            return false;
        if (IsReal(sourceId) && IsReal(targetId))
            return sourceMale ? MarryByRules(sourceId, targetId) : MarryByRules(targetId, sourceId);
        return true;
    case TRelationOption::BrotherSisterX:
        return EnsureBreastfeedingSiblings(sourceId, targetId);
    case TRelationOption::FeederMother: {
        if (sourceMale)
            return false;
        if (!IsReal(sourceId) || !IsReal(targetId))
            return true;
        TextTable children;
        ListChildrenOfMother(sourceId, children);
        Transaction transaction;
        if (!BreastfeedingMotherExists(sourceId, targetId) && !AddBreastfeedingMother(sourceId, targetId))
            return false;
        for (qsizetype row = 1; row < children.size(); ++row) {
            if (!EnsureBreastfeedingSiblings(targetId, children[row].value(0)))
                return false;
        }
        return transaction.Commit();
    }
    case TRelationOption::FatherMother:
        return SetParentOf(targetId, sourceId, sourceMale);
    case TRelationOption::SonDaughter:
        return SetParentOf(sourceId, targetId, targetMale);
    case TRelationOption::BrotherSister:
    case TRelationOption::UncleAunt:
    case TRelationOption::UncleAunt2:
        return false;
    }
    return false;
}

} // namespace verdan
