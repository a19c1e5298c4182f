#include "event_kinds.h"

#include "text/localisation.h"

namespace verdan {

namespace {

TEventKind Kind(const char* code, const char* name, TEventScope scope, bool value = false,
                const char* tag = nullptr, const char* type = nullptr) {
    return {QString::fromLatin1(code), name, scope, value, tag ? tag : code, type};
}

} // namespace

const QList<TEventKind>& EventKinds() {
    using S = TEventScope;
    static const QList<TEventKind> kinds = {
        // Kinds Arabic families record, first.
        Kind("HAJJ", "Hajj", S::Person, false, "EVEN", "Hajj"),
        Kind("MARC", "Marriage contract", S::Family),
        Kind("ENGA", "Engagement", S::Family),
        Kind("MIGRATION", "Migration", S::Person, false, "EVEN", "Migration"),
        Kind("EDUC", "Education", S::Person, true),
        Kind("OFFICE", "Office", S::Person, true, "FACT", "Office"),
        Kind("OCCU", "Occupation", S::Person, true),
        Kind("RESI", "Residence", S::Both),
        Kind("BURI", "Burial", S::Person),
        Kind("GRAD", "Graduation", S::Person),
        Kind("RETI", "Retirement", S::Person),
        Kind("EMIG", "Emigration", S::Person),
        Kind("IMMI", "Immigration", S::Person),
        Kind("NATU", "Naturalisation", S::Person),
        Kind("NATI", "Nationality", S::Person, true),
        Kind("RELI", "Religion", S::Person, true),
        Kind("TITL", "Title", S::Person, true),
        Kind("PROP", "Possessions", S::Person, true),
        Kind("DSCR", "Physical description", S::Person, true),
        Kind("IDNO", "Identity number", S::Person, true),
        Kind("SSN", "Social security number", S::Person, true),
        Kind("CAST", "Caste", S::Person, true),
        Kind("NCHI", "Number of children", S::Both, true),
        Kind("NMR", "Number of marriages", S::Person, true),
        Kind("CENS", "Census", S::Both),
        Kind("WILL", "Will", S::Person),
        Kind("PROB", "Probate", S::Person),
        Kind("ADOP", "Adoption", S::Person),
        Kind("CREM", "Cremation", S::Person),
        Kind("BIRT", "Birth", S::Person),
        Kind("DEAT", "Death", S::Person),
        Kind("CHR", "Christening", S::Person),
        Kind("CHRA", "Adult christening", S::Person),
        Kind("BAPM", "Baptism", S::Person),
        Kind("BLES", "Blessing", S::Person),
        Kind("CONF", "Confirmation", S::Person),
        Kind("FCOM", "First communion", S::Person),
        Kind("ORDN", "Ordination", S::Person),
        Kind("BARM", "Bar mitzvah", S::Person),
        Kind("BASM", "Bat mitzvah", S::Person),
        Kind("BAPL", "LDS baptism", S::Person),
        Kind("CONL", "LDS confirmation", S::Person),
        Kind("ENDL", "Endowment", S::Person),
        Kind("SLGC", "Sealing to parents", S::Person),
        Kind("MARR", "Marriage", S::Family),
        Kind("MARB", "Marriage banns", S::Family),
        Kind("MARL", "Marriage licence", S::Family),
        Kind("MARS", "Marriage settlement", S::Family),
        Kind("DIV", "Divorce", S::Family),
        Kind("DIVF", "Divorce filed", S::Family),
        Kind("ANUL", "Annulment", S::Family),
        Kind("SLGS", "Sealing to spouse", S::Family),
        Kind("FACT", "Fact", S::Person, true),
        Kind("EVEN", "Event", S::Both),
    };
    return kinds;
}

const TEventKind* FindEventKind(const QString& code) {
    for (const TEventKind& kind : EventKinds())
        if (kind.Code.compare(code, Qt::CaseInsensitive) == 0)
            return &kind;
    return nullptr;
}

const TEventKind* EventKindOfType(const QString& gedcomTag, const QString& type) {
    const QString wanted = type.trimmed();
    for (const TEventKind& kind : EventKinds())
        if (kind.GedcomType && gedcomTag.compare(QLatin1String(kind.GedcomTag), Qt::CaseInsensitive) == 0 &&
            wanted.compare(QLatin1String(kind.GedcomType), Qt::CaseInsensitive) == 0)
            return &kind;
    return nullptr;
}

bool HasColumnsOfItsOwn(const QString& code) {
    for (const char* own : {"BIRT", "DEAT", "MARR", "DIV"})
        if (code.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString EventKindName(const QString& code) {
    const TEventKind* kind = FindEventKind(code);
    return kind ? TranslateContext(QString::fromLatin1(kind->Name), QStringLiteral("event_kind")) : code;
}

} // namespace verdan
