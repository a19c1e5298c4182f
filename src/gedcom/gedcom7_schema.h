#pragma once

#include <QString>
#include <span>
#include <string_view>

namespace verdan {

// The extensions our GEDCOM 7 files use, each declared in HEAD.SCHMA with the URI that gives it its
// meaning. A file may give them other tags: the import goes by the URI.
struct TGed7Extension {
    std::string_view Tag;
    std::string_view Uri;
};

// Where our extensions are described; the URI of each is this and its name.
inline constexpr std::string_view kGed7ExtensionBase = "https://verdan.example/gedcom/7/";

// The Hijri calendar, its months, its era, and the structures of our own.
std::span<const TGed7Extension> Ged7Extensions();

// The URI of one of ours by its usual tag ("_HIJRI"); empty when it is none of ours.
QString Ged7ExtensionUri(std::string_view tag);

// Our usual tag of the extension a URI names; empty when the URI is none of ours.
QString Ged7ExtensionTagOf(QStringView uri);

// The URI of an event tag of the tree's own kinds (one no standard names, "_MILT"), so that it is declared.
QString Ged7EventUri(const QString& tag);

// Where standard structures live, for those the export moves: an event of a couple written under one of
// them is the standard structure relocated under an extension tag ("_ENGA" for g7:ENGA).
inline constexpr std::string_view kGed7StandardBase = "https://gedcom.io/terms/v7/";

// Whether a standard event or attribute tag may stand under an individual, a family.
bool IsGed7IndividualEventTag(std::string_view tag);
bool IsGed7FamilyEventTag(std::string_view tag);
// Whether its payload is only "Y" or nothing, as against a text.
bool IsGed7YesEventTag(std::string_view tag);

} // namespace verdan
