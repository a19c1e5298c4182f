#include "kinship_terms.h"

#include "storage/gender_code.h"
#include "text/localisation.h"

#include <QLocale>

namespace verdan {

namespace {

const QString kContext = QStringLiteral("kinship");

// The target of the kinship unit of that context, or false when the document has none (English, or a
// document without kinship words): the caller then falls back.
bool Lookup(const QString& source, const QString& context, bool feminine, QString& text) {
    for (const TTransUnit& unit : Local().Units) {
        if (unit.Context != context || unit.Source != source)
            continue;
        const QString target = feminine && !unit.Target_f.trimmed().isEmpty() ? unit.Target_f : unit.Target;
        if (target.trimmed().isEmpty())
            return false;
        text = ExpandMarkup(target);
        return true;
    }
    return false;
}

QString Unit(const QString& source, bool feminine = false) {
    QString text;
    return Lookup(source, kContext, feminine, text) ? text : ExpandMarkup(source);
}

bool Female(const QString& gender) {
    return IsFemaleGender(gender);
}

bool Paternal(TKinStep step) {
    return step == TKinStep::Father || step == TKinStep::MilkFather;
}

TKinTerm Word(const char* source, bool composable = true) {
    TKinTerm term;
    term.Source = QString::fromUtf8(source);
    term.Composable = composable;
    return term;
}

TKinTerm Numbered(const char* source, const QList<int>& numbers, bool feminine) {
    TKinTerm term = Word(source, false);
    const QLocale locale;
    for (const int n : numbers)
        term.Numbers << locale.toString(n);
    term.Feminine = feminine;
    return term;
}

// The pattern around an inner word; a breastfeeding mark moves to the end of the whole.
TKinTerm Wrap(const char* pattern, TKinTerm inner, TKinForm form) {
    TKinTerm term = Word(pattern, false);
    term.Milk = inner.Milk;
    inner.Milk = false;
    term.Inner = std::make_shared<const TKinTerm>(inner);
    term.InnerForm = form;
    return term;
}

TKinTerm Uncle(bool paternal, bool male) {
    if (paternal)
        return Word(male ? "paternal uncle" : "paternal aunt");
    return Word(male ? "maternal uncle" : "maternal aunt");
}

// The child of an uncle or aunt on the side of the parent.
TKinTerm Cousin(bool paternal, bool uncleMale, bool male) {
    if (paternal) {
        if (uncleMale)
            return Word(male ? "paternal uncle's son" : "paternal uncle's daughter");
        return Word(male ? "paternal aunt's son" : "paternal aunt's daughter");
    }
    if (uncleMale)
        return Word(male ? "maternal uncle's son" : "maternal uncle's daughter");
    return Word(male ? "maternal aunt's son" : "maternal aunt's daughter");
}

TKinTerm Ancestor(const TKinPath& path) {
    const int u = path.UpCount();
    const bool pat = Paternal(path.UpSteps.first());
    const bool male = Paternal(path.UpSteps.last());
    if (u == 1)
        return Word(male ? "father" : "mother");
    if (u == 2) {
        if (pat)
            return Word(male ? "paternal grandfather" : "paternal grandmother");
        return Word(male ? "maternal grandfather" : "maternal grandmother");
    }
    if (u == 3) {
        if (pat)
            return Word(male ? "paternal great-grandfather" : "paternal great-grandmother", false);
        return Word(male ? "maternal great-grandfather" : "maternal great-grandmother", false);
    }
    if (pat)
        return Numbered(male ? "paternal forefather, generation %#" : "paternal foremother, generation %#",
                        {u}, false);
    return Numbered(male ? "maternal forefather, generation %#" : "maternal foremother, generation %#", {u},
                    false);
}

TKinTerm Descendant(int d, bool male) {
    if (d == 1)
        return Word(male ? "son" : "daughter");
    if (d == 2)
        return Word(male ? "grandson" : "granddaughter");
    if (d == 3)
        return Word(male ? "great-grandson" : "great-granddaughter", false);
    return Numbered("descendant, generation %#", {d}, !male);
}

TKinTerm Sibling(const TKinPath& path, bool male, bool plain) {
    if (plain || path.Milk())
        return Word(male ? "brother" : "sister");
    if (path.FullSiblings)
        return Word(male ? "full brother" : "full sister", false);
    if (Paternal(path.UpSteps.first()))
        return Word(male ? "half-brother by the father" : "half-sister by the father", false);
    return Word(male ? "half-brother by the mother" : "half-sister by the mother", false);
}

TKinTerm SiblingsChild(int d, bool brother, bool male) {
    if (d == 2) {
        if (brother)
            return Word(male ? "brother's son" : "brother's daughter");
        return Word(male ? "sister's son" : "sister's daughter");
    }
    if (d == 3) {
        if (brother)
            return Word(male ? "brother's grandson" : "brother's granddaughter");
        return Word(male ? "sister's grandson" : "sister's granddaughter");
    }
    return Numbered(brother ? "descendant of a brother, generation %#"
                            : "descendant of a sister, generation %#",
                    {d - 1}, !male);
}

TKinTerm ForefathersSibling(int u, bool paternal, bool male) {
    if (paternal)
        return Numbered(male ? "brother of a paternal forefather, generation %#"
                             : "sister of a paternal forefather, generation %#",
                        {u - 1}, false);
    return Numbered(male ? "brother of a maternal forefather, generation %#"
                         : "sister of a maternal forefather, generation %#",
                    {u - 1}, false);
}

const char* ParentsPattern(TKinStep step) {
    return Paternal(step) ? "father's %*" : "mother's %*";
}

// What B (Down.first()) is to A (Up.first()) along a blood or breastfeeding path. `plain` names siblings
// without their fullness, as they stand inside a longer phrase.
TKinTerm NamePath(const TKinPath& path, const QString& genderOfB, bool plain) {
    const int u = path.UpCount();
    const int d = path.DownCount();
    const bool male = !Female(genderOfB);
    const auto maleAt = [&](int i) {
        return !Female(path.DownGenders.value(i));
    };
    TKinTerm term;
    if (u == 0 && d == 0)
        return term;
    if (d == 0)
        term = Ancestor(path);
    else if (u == 0)
        term = Descendant(d, male);
    else if (u == 1 && d == 1)
        term = Sibling(path, male, plain);
    else if (u == 1)
        term = SiblingsChild(d, maleAt(d - 1), male);
    else if (d == 1 && u == 2)
        term = Uncle(Paternal(path.UpSteps[0]), male);
    else if (d == 1 && u == 3)
        term = Wrap(ParentsPattern(path.UpSteps[0]), Uncle(Paternal(path.UpSteps[1]), male), TKinForm::Head);
    else if (d == 1)
        term = ForefathersSibling(u, Paternal(path.UpSteps[0]), male);
    else if (u == 2 && d == 2)
        term = Cousin(Paternal(path.UpSteps[0]), maleAt(1), male);
    else if (u == d)
        term = Numbered(Paternal(path.UpSteps[0]) ? "paternal cousin of degree %#"
                                                  : "maternal cousin of degree %#",
                        {u - 1}, !male);
    else if (u == 3 && d == 2)
        term = Wrap(ParentsPattern(path.UpSteps[0]), Cousin(Paternal(path.UpSteps[1]), maleAt(1), male),
                    TKinForm::Head);
    else if (u == 2 && d == 3)
        term = Wrap(male ? "%*'s son" : "%*'s daughter",
                    Cousin(Paternal(path.UpSteps[0]), maleAt(2), maleAt(1)), TKinForm::Definite);
    else
        return Numbered(path.Milk() ? "relative by breastfeeding (%# generations up, %# down)"
                                    : "relative by blood (%# generations up, %# down)",
                        {u, d}, !male);
    term.Milk = term.Milk || path.Milk();
    return term;
}

TKinTerm WithMilk(TKinTerm term, bool milk) {
    term.Milk = milk;
    return term;
}

// B is kin to A's spouse S (Up.first()) along the path.
TKinTerm SpousesKin(const TKinPath& path, bool male) {
    const int u = path.UpCount();
    const int d = path.DownCount();
    const bool wife = Female(path.UpGenders.value(0));
    const bool milk = path.Milk();
    if (u == 1 && d == 0) {
        if (wife)
            return WithMilk(Word(male ? "wife's father" : "wife's mother", false), milk);
        return WithMilk(Word(male ? "husband's father" : "husband's mother", false), milk);
    }
    if (u == 0 && d == 1) {
        if (wife)
            return WithMilk(Word(male ? "wife's son" : "wife's daughter", false), milk);
        return WithMilk(Word(male ? "husband's son" : "husband's daughter", false), milk);
    }
    const TKinTerm inner = NamePath(path, male ? QStringLiteral("m") : QStringLiteral("f"), true);
    if (inner.Composable)
        return Wrap(wife ? "wife's %*" : "husband's %*", inner, TKinForm::Head);
    if (d == 0) {
        if (wife)
            return WithMilk(Word(male ? "wife's forefather" : "wife's foremother", false), milk);
        return WithMilk(Word(male ? "husband's forefather" : "husband's foremother", false), milk);
    }
    if (u == 0)
        return WithMilk(Word(wife ? "wife's descendant" : "husband's descendant", false), milk);
    return WithMilk(Word(wife ? "wife's relative" : "husband's relative", false), milk);
}

// B is the spouse of T (Down.first()), kin to A along the path.
TKinTerm KinsSpouse(const TKinPath& path, bool male) {
    const int u = path.UpCount();
    const int d = path.DownCount();
    const bool milk = path.Milk();
    const bool femaleKin = Female(path.DownGenders.value(0));
    if (male && femaleKin && u == 1 && d == 1)
        return WithMilk(Word("sister's husband", false), milk);
    if (male && femaleKin && u == 0 && d == 1)
        return WithMilk(Word("daughter's husband", false), milk);
    const TKinTerm inner = NamePath(path, path.DownGenders.value(0), true);
    if (inner.Composable)
        return Wrap(male ? "%*'s husband" : "%*'s wife", inner, TKinForm::Definite);
    if (d == 0)
        return WithMilk(Word(male ? "husband of a foremother" : "wife of a forefather", false), milk);
    if (u == 0)
        return WithMilk(Word(male ? "husband of a descendant" : "wife of a descendant", false), milk);
    return WithMilk(Word(male ? "husband of a relative" : "wife of a relative", false), milk);
}

} // namespace

namespace {

TKinTerm TermOf(const TKinLink& link, const QString& genderOfB) {
    const bool male = !Female(genderOfB);
    if (link.Married) {
        if (link.SplitA)
            return Word(male ? "former husband" : "former wife", false);
        return Word(male ? "husband" : "wife");
    }
    if (!link.SpouseOfA.isEmpty() && !link.SpouseOfB.isEmpty())
        return Word(male ? "wife's other husband" : "co-wife", false);
    if (!link.SpouseOfA.isEmpty())
        return SpousesKin(link.Path, male);
    if (!link.SpouseOfB.isEmpty())
        return KinsSpouse(link.Path, male);
    return NamePath(link.Path, genderOfB, false);
}

} // namespace

TKinTerm KinTermOf(const TKinLink& link, const QString& genderOfB) {
    // The outermost word agrees with the person named, where the language gives it a feminine form.
    TKinTerm term = TermOf(link, genderOfB);
    term.Feminine = Female(genderOfB);
    return term;
}

QString KinTermText(const TKinTerm& term, TKinForm form) {
    QString text;
    if (term.Inner) {
        text = FillPattern(Unit(term.Source), {KinTermText(*term.Inner, term.InnerForm)});
    } else {
        const QString context = form == TKinForm::Head       ? QStringLiteral("kinship head")
                                : form == TKinForm::Definite ? QStringLiteral("kinship definite")
                                                             : QString();
        if (context.isEmpty() || !Lookup(term.Source, context, term.Feminine, text))
            text = Unit(term.Source, term.Feminine);
        if (!term.Numbers.isEmpty())
            text = FillPattern(text, term.Numbers);
    }
    if (term.Milk)
        text = FillPattern(Unit(QStringLiteral("%* by breastfeeding")), {text});
    return text;
}

QStringList KinshipTerms(const TKinship& kinship, bool ofB) {
    QStringList terms;
    for (const TKinLink& link : kinship.Links) {
        const QString text = ofB ? KinTermText(KinTermOf(link, kinship.B.Gender))
                                 : KinTermText(KinTermOf(link.Reversed(), kinship.A.Gender));
        if (!text.isEmpty() && !terms.contains(text))
            terms << text;
    }
    return terms;
}

} // namespace verdan
