#include "web/web_html.h"

#include "web/web_addresses.h"

#include <algorithm>

namespace verdan {

void BeginPage(const TWebSite& site, QByteArray& out, const QByteArray& path, const QString& title,
               const char* kind) {
    const QByteArray prefix = RootPrefix(path);
    out += "<!DOCTYPE html>\n<html lang=\"" + site.Lang + "\" dir=\"" + (site.RightToLeft ? "rtl" : "ltr") +
           "\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    AppendEscaped(out, title == site.Title ? title : title + QStringLiteral(" – ") + site.Title);
    out +=
        "</title>\n<link rel=\"stylesheet\" href=\"" + prefix + "assets/site.css\">\n</head>\n<body class=\"";
    out += kind;
    out += "\">\n<header class=\"site-header\">\n<a class=\"site-title\" href=\"" + prefix + "index.html\">";
    AppendEscaped(out, site.Title);
    out += "</a>\n<nav class=\"site-nav\"><a href=\"" + prefix + "outline.html\">";
    AppendEscaped(out, site.T.FamilyTree);
    out += "</a><a href=\"" + prefix + "families.html\">";
    AppendEscaped(out, site.T.FamilyNames);
    out += "</a></nav>\n<form class=\"search-box\" action=\"" + prefix +
           "search.html\" method=\"get\" role=\"search\"><input type=\"search\" name=\"q\" placeholder=\"";
    AppendEscaped(out, site.T.SearchPlaceholder);
    out += "\" aria-label=\"";
    AppendEscaped(out, site.T.SearchPlaceholder);
    out += "\"><button type=\"submit\">";
    AppendEscaped(out, site.T.Search);
    out += "</button></form>\n</header>\n<main>\n";
}

void EndPage(const TWebSite& site, QByteArray& out, const QByteArray& path, const QByteArrayList& scripts) {
    const QByteArray prefix = RootPrefix(path);
    out += "</main>\n<footer class=\"site-footer\">";
    AppendEscaped(out, site.T.MadeBy);
    out += "</footer>\n";
    for (const QByteArray& script : scripts)
        out += "<script src=\"" + prefix + script + "\"></script>\n";
    out += "</body>\n</html>\n";
}

void AppendPersonLink(const TWebSite& site, QByteArray& out, int person, const QByteArray& prefix,
                      bool withYears) {
    if (!site.Listed(person))
        return;
    const TSiteName& name = site.Name(person);
    if (site.HasPage(person)) {
        const TWebPerson& p = site.Tree.Persons[size_t(person)];
        out += "<a class=\"";
        out += p.Section ? "group" : p.Female ? "female" : "male";
        out += "\" href=\"" + prefix + PersonPagePath(p.Hex) + "\"><bdi>";
        AppendEscaped(out, name.Label);
        out += "</bdi></a>";
        if (withYears && !name.Years.isEmpty()) {
            out += " <span class=\"years\">";
            AppendEscaped(out, name.Years);
            out += "</span>";
        }
    } else {
        out += "<span class=\"private\">";
        AppendEscaped(out, name.Label);
        out += "</span>";
    }
}

void AppendDateText(QByteArray& out, const QString& text) {
    const auto numeric = [](QChar c) {
        return c.isDigit() || c == u'-' || c == u'/';
    };
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        while (end < text.size() && numeric(text[end]) == numeric(text[i]))
            ++end;
        const QString run = text.mid(i, end - i);
        const bool number =
            numeric(text[i]) && std::any_of(run.begin(), run.end(), [](QChar c) { return c.isDigit(); });
        if (number)
            out += "<bdi dir=\"ltr\">";
        AppendEscaped(out, run);
        if (number)
            out += "</bdi>";
        i = end;
    }
}

void AppendParagraphs(QByteArray& out, const QString& text) {
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (const QString& paragraph : normal.split(u'\n')) {
        if (paragraph.trimmed().isEmpty())
            continue;
        out += "<p dir=\"auto\">";
        AppendEscaped(out, paragraph.trimmed());
        out += "</p>\n";
    }
}

} // namespace verdan
