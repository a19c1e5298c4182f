#pragma once

#include "web/web_site.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace verdan {

// The frame every page of a site shares: the head with the style sheet, the header with the site's title,
// the links to the family tree and the family names and the search box, and the footer. `path` is the
// page's place in the site, which makes every link relative, so the site works from any folder, a USB
// stick or any static host. `scripts` are loaded at the end of the body, relative to the site's folder.
void BeginPage(const TWebSite& site, QByteArray& out, const QByteArray& path, const QString& title,
               const char* kind);
void EndPage(const TWebSite& site, QByteArray& out, const QByteArray& path,
             const QByteArrayList& scripts = {});

// A link to the person's page, or the name alone for a person without one; nothing for an absent one.
void AppendPersonLink(const TWebSite& site, QByteArray& out, int person, const QByteArray& prefix,
                      bool withYears = false);

// A date as the program's date text writes it, each run of digits and dashes isolated left to right, so
// "06-1799" stays in its order beside Arabic words ("الزواج: 06-1799 م") in every direction.
void AppendDateText(QByteArray& out, const QString& text);

// A text of several lines as paragraphs.
void AppendParagraphs(QByteArray& out, const QString& text);

} // namespace verdan
