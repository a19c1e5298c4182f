#include "gedcom7_schema.h"

#include <algorithm>

namespace verdan {

namespace {

#define VERDAN_G7 "https://verdan.example/gedcom/7/"

constexpr TGed7Extension kExtensions[] = {
    {"_HIJRI", VERDAN_G7 "cal-HIJRI"},
    {"_MUHAR", VERDAN_G7 "month-MUHAR"},
    {"_SAFAR", VERDAN_G7 "month-SAFAR"},
    {"_RABIA", VERDAN_G7 "month-RABIA"},
    {"_RABIT", VERDAN_G7 "month-RABIT"},
    {"_JUMAA", VERDAN_G7 "month-JUMAA"},
    {"_JUMAT", VERDAN_G7 "month-JUMAT"},
    {"_RAJAB", VERDAN_G7 "month-RAJAB"},
    {"_SHAAB", VERDAN_G7 "month-SHAAB"},
    {"_RAMAD", VERDAN_G7 "month-RAMAD"},
    {"_SHAWW", VERDAN_G7 "month-SHAWW"},
    {"_DHUAQ", VERDAN_G7 "month-DHUAQ"},
    {"_DHUAH", VERDAN_G7 "month-DHUAH"},
    {"_BH", VERDAN_G7 "epoch-BH"},
    // The Hijri date of a fact as the tree records it beside the Gregorian DATE, where it is not that date's
    // conversion: a DateValue in the Hijri calendar.
    {"_HIJRIDATE", VERDAN_G7 "HIJRIDATE"},
    // Beside a Gregorian DATE: the tree records no Hijri date for the fact (readers would convert one).
    {"_NOHIJRI", VERDAN_G7 "NOHIJRI"},
    // Under a DATE whose phrase is the date as the source wrote it, in no form of a calendar the tree knows.
    {"_ASWRITTEN", VERDAN_G7 "ASWRITTEN"},
    // A named branch of the family rather than a person: a record of its own with the substructures of an
    // individual; families name it as a parent of its members (_HUSBGROUP, _WIFEGROUP) or as a child
    // (_CHILGROUP).
    {"_GROUP", VERDAN_G7 "record-GROUP"},
    {"_HUSBGROUP", VERDAN_G7 "HUSBGROUP"},
    {"_WIFEGROUP", VERDAN_G7 "WIFEGROUP"},
    {"_CHILGROUP", VERDAN_G7 "CHILGROUP"},
    // Members of the group of those outside the tree, and persons heading a line of their own.
    {"_OUTSIDE", VERDAN_G7 "OUTSIDE"},
    {"_TOP", VERDAN_G7 "TOP"},
    // The place among the father's, the mother's children.
    {"_FORD", VERDAN_G7 "FORD"},
    {"_MORD", VERDAN_G7 "MORD"},
    // The text of an event whose standard payload is only "Y", and a time the standard's form does not take.
    {"_VALUE", VERDAN_G7 "VALUE"},
    {"_TIME", VERDAN_G7 "TIME"},
};

#undef VERDAN_G7

constexpr std::string_view kIndividualEvents[] = {
    "ADOP", "BAPM", "BARM", "BASM", "BIRT", "BLES", "BURI", "CENS", "CHR",  "CHRA", "CONF", "CREM", "DEAT",
    "EMIG", "FCOM", "GRAD", "IMMI", "NATU", "ORDN", "PROB", "RETI", "WILL", "EVEN", "CAST", "DSCR", "EDUC",
    "IDNO", "NATI", "NCHI", "NMR",  "OCCU", "PROP", "RELI", "RESI", "SSN",  "TITL", "FACT"};
constexpr std::string_view kFamilyEvents[] = {"ANUL", "CENS", "DIV",  "DIVF", "ENGA", "MARB", "MARC",
                                              "MARL", "MARR", "MARS", "EVEN", "NCHI", "RESI", "FACT"};
constexpr std::string_view kTextEvents[] = {"EVEN", "CAST", "DSCR", "EDUC", "IDNO", "NATI", "NCHI", "NMR",
                                            "OCCU", "PROP", "RELI", "RESI", "SSN",  "TITL", "FACT"};

template <size_t N> bool In(std::string_view tag, const std::string_view (&tags)[N]) {
    return std::find(std::begin(tags), std::end(tags), tag) != std::end(tags);
}

} // namespace

std::span<const TGed7Extension> Ged7Extensions() {
    return kExtensions;
}

QString Ged7ExtensionUri(std::string_view tag) {
    for (const TGed7Extension& e : kExtensions)
        if (e.Tag == tag)
            return QString::fromLatin1(e.Uri.data(), qsizetype(e.Uri.size()));
    return {};
}

QString Ged7ExtensionTagOf(QStringView uri) {
    for (const TGed7Extension& e : kExtensions)
        if (uri == QLatin1String(e.Uri.data(), qsizetype(e.Uri.size())))
            return QString::fromLatin1(e.Tag.data(), qsizetype(e.Tag.size()));
    return {};
}

QString Ged7EventUri(const QString& tag) {
    return QLatin1String(kGed7ExtensionBase.data(), qsizetype(kGed7ExtensionBase.size())) +
           QStringLiteral("event-") + tag;
}

bool IsGed7IndividualEventTag(std::string_view tag) {
    return In(tag, kIndividualEvents);
}

bool IsGed7FamilyEventTag(std::string_view tag) {
    return In(tag, kFamilyEvents);
}

bool IsGed7YesEventTag(std::string_view tag) {
    return !In(tag, kTextEvents);
}

} // namespace verdan
