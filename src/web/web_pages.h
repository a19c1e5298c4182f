#pragma once

#include "web/web_site.h"

#include <QByteArray>
#include <functional>

namespace verdan {

// The pages and data files of a site, each as the bytes of one file. `sink` receives every file with its
// path in the site; it returns false to stop (the file could not be written, or the user cancelled), and
// the maker then returns false too.
using TSiteFileSink = std::function<bool(const QByteArray& path, const QByteArray& bytes)>;

// A person's (or a group's) page; only for a person with a page of his own.
QByteArray MakePersonPage(const TWebSite& site, int person);

// index.html: the tree's name, description, owner, counts, founders and family groups.
QByteArray MakeHomePage(const TWebSite& site, const QString& description);
// outline.html and search.html: pages that their script fills.
QByteArray MakeOutlinePage(const TWebSite& site);
QByteArray MakeSearchPage(const TWebSite& site);

// families.html and a page (or several) per family name listing its persons.
bool MakeFamilyPages(const TWebSite& site, const TSiteFileSink& sink);

// The outline's data: "o/top.js" with the first level, and a script for every listed person with listed
// children, each loaded when its branch is opened.
bool MakeOutlineScripts(const TWebSite& site, const TSiteFileSink& sink);

// The search's data: "s/index.js", the list of shards, and the shards of names, each loaded when a
// search needs it; and "assets/fold.js", the program's search fold as the site's script applies it.
bool MakeSearchScripts(const TWebSite& site, const TSiteFileSink& sink);
QByteArray MakeFoldScript();

// A text as a JavaScript string literal, safe inside a script file.
void AppendJsString(QByteArray& out, const QString& text);

} // namespace verdan
