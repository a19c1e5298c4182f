#pragma once

#include "relations/kinship.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace verdan {

// The word for a kinship, kept as its English source until shown so that it reads in the interface
// language: a unit of the context "kinship" (with a head form, "kinship head", where the word governs a
// following noun, and a definite form, "kinship definite", where it ends a phrase), or a pattern with
// "%*" around an inner word.
enum class TKinForm { Plain, Head, Definite };

struct TKinTerm {
    QString Source;         // English source; a pattern with "%*" when Inner is set
    QStringList Numbers;    // fill the pattern's "%#"
    bool Feminine = false;  // the unit's feminine target (for English words that do not tell the gender)
    bool Milk = false;      // "by breastfeeding" follows
    bool Composable = true; // may stand inside a pattern
    std::shared_ptr<const TKinTerm> Inner;
    TKinForm InnerForm = TKinForm::Plain;
    bool IsEmpty() const { return Source.isEmpty(); }
};

// What B is to A by the link.
TKinTerm KinTermOf(const TKinLink& link, const QString& genderOfB);

// The term in the interface language.
QString KinTermText(const TKinTerm& term, TKinForm form = TKinForm::Plain);

// The distinct terms of B to A over every link, nearest first (ofB), or of A to B (!ofB).
QStringList KinshipTerms(const TKinship& kinship, bool ofB);

} // namespace verdan
