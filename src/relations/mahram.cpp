#include "mahram.h"

#include "relations/kinship_terms.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

namespace verdan {

namespace {

struct Verdict {
    TMahramAnswer Answer = TMahramAnswer::NotMahram;
    TMahramGround Ground = TMahramGround::None;
};

// A woman who may not be married together with her relative to one man: sister, aunt or niece.
bool MayNotBeJoined(int u, int d) {
    return (u == 1 && d == 1) || (u == 2 && d == 1) || (u == 1 && d == 2);
}

Verdict Rule(const TKinLink& link, const TKinship& kinship) {
    const int u = link.Path.UpCount();
    const int d = link.Path.DownCount();
    if (link.Married)
        return {link.SplitA ? TMahramAnswer::NotMahram : TMahramAnswer::Spouses, TMahramGround::Marriage};
    const bool viaA = !link.SpouseOfA.isEmpty();
    const bool viaB = !link.SpouseOfB.isEmpty();
    if (viaA && viaB)
        return {};
    if (!viaA && !viaB) {
        if (u > 1 && d > 1)
            return {};
        return {TMahramAnswer::Mahram,
                link.Kind == TKinKind::Breastfeeding ? TMahramGround::Breastfeeding : TMahramGround::Blood};
    }
    if (viaA) {
        const bool wife = IsFemaleGender(link.Path.UpGenders.value(0));
        if (d == 0)
            return {TMahramAnswer::Mahram, TMahramGround::Marriage};
        if (u == 0) // the wife's daughter after consummation only; the husband's son on the contract alone
            return {wife ? TMahramAnswer::MahramIfConsummated : TMahramAnswer::Mahram,
                    TMahramGround::Marriage};
        if (wife && IsFemaleGender(kinship.B.Gender) && !link.EndedA && MayNotBeJoined(u, d))
            return {TMahramAnswer::TemporaryBar, TMahramGround::Marriage};
        return {};
    }
    const bool kinIsWoman = IsFemaleGender(link.Path.DownGenders.value(0));
    if (d == 0) // the father's wife on the contract; the mother's husband after consummation only
        return {kinIsWoman ? TMahramAnswer::MahramIfConsummated : TMahramAnswer::Mahram,
                TMahramGround::Marriage};
    if (u == 0)
        return {TMahramAnswer::Mahram, TMahramGround::Marriage};
    if (kinIsWoman && IsFemaleGender(kinship.A.Gender) && !link.EndedB && MayNotBeJoined(u, d))
        return {TMahramAnswer::TemporaryBar, TMahramGround::Marriage};
    return {};
}

int Rank(const Verdict& v) {
    switch (v.Answer) {
    case TMahramAnswer::Mahram:
        return v.Ground == TMahramGround::Blood ? 0 : v.Ground == TMahramGround::Breastfeeding ? 1 : 2;
    case TMahramAnswer::MahramIfConsummated:
        return 3;
    case TMahramAnswer::Spouses:
        return 4;
    case TMahramAnswer::TemporaryBar:
        return 5;
    default:
        return 6;
    }
}

QString Pronoun(bool female, bool ofA, const QString& term) {
    // B is the subject, A the possessor.
    const char* pattern =
        female ? (ofA ? "she is her %*" : "she is his %*") : (ofA ? "he is her %*" : "he is his %*");
    return FillPattern(Translate(QString::fromLatin1(pattern)), {term});
}

} // namespace

TMahramRuling RuleMahram(const TKinship& kinship) {
    TMahramRuling ruling;
    if (!kinship.Found)
        return ruling;
    if (kinship.A.Id == kinship.B.Id) {
        ruling.Answer = TMahramAnswer::SamePerson;
        return ruling;
    }
    Verdict best;
    int bestRank = 7;
    for (qsizetype i = 0; i < kinship.Links.size(); ++i) {
        const Verdict v = Rule(kinship.Links[i], kinship);
        const int rank = Rank(v);
        if (rank < bestRank) {
            bestRank = rank;
            best = v;
            ruling.Link = static_cast<int>(i);
        }
    }
    ruling.Answer = best.Answer;
    ruling.Ground = best.Ground;
    if (ruling.Answer != TMahramAnswer::NotMahram)
        return ruling;
    for (const TKinPerson* person : {&kinship.A, &kinship.B}) {
        if (!person->HasFather)
            ruling.Missing.append({person->Id, true});
        if (!person->HasMother)
            ruling.Missing.append({person->Id, false});
    }
    if (kinship.Links.isEmpty() && !ruling.Missing.isEmpty())
        ruling.Answer = TMahramAnswer::Unknown;
    return ruling;
}

QString MahramHeadline(const TMahramRuling& ruling) {
    const char* text = "";
    switch (ruling.Answer) {
    case TMahramAnswer::NoPerson:
        text = "The person was not found in the tree.";
        break;
    case TMahramAnswer::SamePerson:
        text = "The same person";
        break;
    case TMahramAnswer::Mahram:
        text = ruling.Ground == TMahramGround::Blood           ? "Mahram through blood"
               : ruling.Ground == TMahramGround::Breastfeeding ? "Mahram through breastfeeding"
                                                               : "Mahram through marriage";
        break;
    case TMahramAnswer::MahramIfConsummated:
        text = "Mahram through marriage once the marriage is consummated";
        break;
    case TMahramAnswer::Spouses:
        text = "Husband and wife";
        break;
    case TMahramAnswer::TemporaryBar:
        text = "Not mahram; marriage between them is barred for a time";
        break;
    case TMahramAnswer::NotMahram:
        text = "Not mahram";
        break;
    case TMahramAnswer::Unknown:
        text = "Cannot tell whether they are mahram";
        break;
    }
    return Translate(QString::fromLatin1(text));
}

QString MahramReason(const TKinship& kinship, const TMahramRuling& ruling) {
    if (ruling.Link < 0 || ruling.Link >= kinship.Links.size()) {
        if (ruling.Answer == TMahramAnswer::NotMahram || ruling.Answer == TMahramAnswer::Unknown)
            return Translate(QStringLiteral("no kinship was found in the tree"));
        return QString();
    }
    const TKinLink& link = kinship.Links[ruling.Link];
    const bool femaleB = IsFemaleGender(kinship.B.Gender);
    const bool femaleA = IsFemaleGender(kinship.A.Gender);
    const TKinPath& path = link.Path;
    const bool plainPath = link.SpouseOfA.isEmpty() && link.SpouseOfB.isEmpty() && !link.Married;
    if (plainPath && path.UpCount() == 1 && path.DownCount() == 0 && path.UpSteps[0] == TKinStep::MilkMother)
        return Translate(femaleA ? QStringLiteral("she nursed her") : QStringLiteral("she nursed him"));
    if (plainPath && path.UpCount() == 0 && path.DownCount() == 1 &&
        path.DownSteps[0] == TKinStep::MilkMother)
        return Translate(femaleB ? QStringLiteral("she was nursed by her")
                                 : QStringLiteral("he was nursed by her"));
    return Pronoun(femaleB, femaleA, KinTermText(KinTermOf(link, kinship.B.Gender)));
}

QString MahramText(const TKinship& kinship, const TMahramRuling& ruling) {
    QString text = MahramHeadline(ruling);
    const QString reason = MahramReason(kinship, ruling);
    if (!reason.isEmpty())
        text = FillPattern(Translate(QStringLiteral("%*: %*.")), {text, reason});
    if (ruling.Answer == TMahramAnswer::MahramIfConsummated)
        text += u' ' +
                Translate(QStringLiteral("The tree does not record whether the marriage was consummated."));
    if (ruling.Answer == TMahramAnswer::TemporaryBar)
        text += u' ' + Translate(QStringLiteral("The bar lasts only while that marriage lasts."));
    if (!ruling.Missing.isEmpty()) {
        QStringList parts;
        for (const TMissingLink& missing : ruling.Missing)
            parts << FillPattern(Translate(missing.Father ? QStringLiteral("the father of %*")
                                                          : QStringLiteral("the mother of %*")),
                                 {Isolate(GetLineageName(missing.PersonId))});
        QString list = parts.takeFirst();
        for (const QString& part : parts)
            list = FillPattern(Translate(QStringLiteral("%*, %*")), {list, part});
        text += u' ' + FillPattern(Translate(QStringLiteral("The tree does not record %*.")), {list});
    }
    return text;
}

} // namespace verdan
