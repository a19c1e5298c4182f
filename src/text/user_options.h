#pragma once

#include "text/sml.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// A section of the data sheet and whether the user hid it.
struct TDataSection {
    QString Name;
    bool Hidden = false;

    bool operator==(const TDataSection&) const = default;
};

// The columns a user chose for a report ("persons", "contacts", "addresses"): its fields in the order
// shown. The list shows, prints and exports these.
struct TReportColumnChoice {
    QString Report;
    QStringList Fields;

    bool operator==(const TReportColumnChoice&) const = default;
};

// The per-user options, kept for the whole run in user/options.sml.
struct TOptions {
    // The language document, relative to the program folder; empty means langs/arabic.local.
    QString LanguageFile;
    QString LastCreatedLocation;
    QString LastOpenedProject;
    bool OpenLastTreeOnStartup = false;
    // The tree outline's font size; applied only when 0 < size < 40.
    int TreeFontSize = 0;
    bool LevelsHasColors = false;
    bool MarkIfHasMate = false;
    // Hijri dates converted by the Umm al-Qura calendar instead of the tabular one.
    bool UmmAlQura = false;
    QList<TDataSection> DataSections;
    QList<TReportColumnChoice> ReportColumns;

    bool operator==(const TOptions&) const = default;
};

// The process-wide options.
TOptions& Options();

QString OptionsFileName();

// The options document of a record and the record of a document (missing keys keep their defaults).
TNode OptionsToNode(const TOptions& options);
TOptions OptionsFromNode(const TNode& root);

// Reads user/options.sml into Options() when the file exists; otherwise every option keeps its default.
bool LoadOptions();
// Writes Options() to user/options.sml; a failed save leaves the old file intact.
bool SaveOptions();

// Where a new tree goes by default: the last location used when that folder still exists, else the
// program's data folder.
QString DefaultNewTreeLocation();

} // namespace verdan
