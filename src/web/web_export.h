#pragma once

#include "web/web_site.h"

#include <QString>
#include <functional>

namespace verdan {

// Publishing the open tree as a website: a folder of static pages, style sheet, scripts, fonts and scaled
// pictures that works from file://, a USB stick or any static host, and fetches nothing from anywhere.

struct TWebExportSummary {
    int Pages = 0;    // person and group pages
    int Private = 0;  // persons shown only as a placeholder
    int Absent = 0;   // persons left out
    int Pictures = 0; // pictures with scaled copies in the site
    int Written = 0;  // files written because they are new or changed
    int Unchanged = 0;
    int Removed = 0; // files of the earlier export no longer made
};

struct TWebProgress {
    int Done = 0;
    int Total = 0;
};
// Returns false to cancel.
using TWebProgressFn = std::function<bool(const TWebProgress&)>;

// Writes the site of the open tree into `folder` (made when missing): an empty folder, or the folder of
// a site made before, of which only what changed is written. False with `error` translated when the tree
// cannot be read, the folder holds other files, a file cannot be written or the user cancelled; the tree
// is never written.
bool ExportWebsite(const QString& folder, const TWebOptions& options, const TWebProgressFn& progress,
                   TWebExportSummary& summary, QString& error);

// What an export did, in the interface language, one fact a line.
QString WebExportSummaryText(const TWebExportSummary& summary);

} // namespace verdan
