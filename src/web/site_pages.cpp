#include "text/localisation.h"
#include "web/web_addresses.h"
#include "web/web_html.h"
#include "web/web_pages.h"

#include <QCollator>
#include <QCryptographicHash>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <map>

namespace verdan {

namespace {

constexpr size_t kHomeListLimit = 200; // founders and groups the home page names before "and N more"
constexpr int kFamilyPageSize = 500;   // persons on one page of a family name

QString Number(qint64 n) {
    return QString::number(n);
}

void AppendMore(const TWebSite& site, QByteArray& out, size_t total, size_t shown) {
    if (total <= shown)
        return;
    out += "<p class=\"more\">";
    AppendEscaped(out, FillPattern(site.T.More, {Number(qint64(total - shown))}));
    out += "</p>\n";
}

void AppendBigSearch(const TWebSite& site, QByteArray& out) {
    out += "<form class=\"big-search\" action=\"search.html\" method=\"get\" role=\"search\">"
           "<input type=\"search\" name=\"q\" placeholder=\"";
    AppendEscaped(out, site.T.SearchPlaceholder);
    out += "\" aria-label=\"";
    AppendEscaped(out, site.T.SearchPlaceholder);
    out += "\"><button type=\"submit\">";
    AppendEscaped(out, site.T.Search);
    out += "</button></form>\n";
}

void AppendCount(QByteArray& out, const QString& caption, qint64 n) {
    out += "<li><strong>" + QByteArray::number(n) + "</strong>";
    AppendEscaped(out, caption);
    out += "</li>";
}

QCollator SiteCollator(const TWebSite& site) {
    QCollator collator{QLocale(site.Options.Language)};
    collator.setNumericMode(true);
    return collator;
}

// A family name sorts and groups without the article: «الريّان» under ر.
QString WithoutArticle(const QString& name) {
    if (name.size() > 3 && name.startsWith(QStringLiteral("ال")))
        return name.mid(2);
    if (name.size() > 4 && name.startsWith(QStringLiteral("آل ")))
        return name.mid(3);
    return name;
}

QByteArray FamilyKey(const QString& name) {
    return QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Md5).toHex().left(16);
}

} // namespace

QByteArray MakeHomePage(const TWebSite& site, const QString& description) {
    const TWebTree& tree = site.Tree;
    const QByteArray path = "index.html";
    QByteArray out;
    BeginPage(site, out, path, site.Title, "home-page");
    out += "<h1>";
    AppendEscaped(out, site.Title);
    out += "</h1>\n";
    if (!description.trimmed().isEmpty()) {
        out += "<div class=\"description\">\n";
        AppendParagraphs(out, description);
        out += "</div>\n";
    }
    if (!tree.OwnerName.trimmed().isEmpty()) {
        out += "<p class=\"owner\">";
        AppendEscaped(out, site.T.Owner + QStringLiteral(": ") + tree.OwnerName.trimmed());
        out += "</p>\n";
    }
    AppendBigSearch(site, out);

    qint64 persons = 0, males = 0, females = 0, groups = 0, marriages = 0;
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        if (!site.HasPage(int(i)))
            continue;
        const TWebPerson& p = tree.Persons[i];
        if (p.Section) {
            ++groups;
            continue;
        }
        ++persons;
        ++(p.Female ? females : males);
    }
    for (const TWebMarriage& m : tree.Marriages)
        if (site.HasPage(m.Husband) && site.HasPage(m.Wife))
            ++marriages;
    out += "<ul class=\"counts\">";
    AppendCount(out, site.T.Persons, persons);
    AppendCount(out, site.T.Males, males);
    AppendCount(out, site.T.Females, females);
    AppendCount(out, site.T.Marriages, marriages);
    AppendCount(out, site.T.Groups, groups);
    out += "</ul>\n";

    // Founders head the father lines: persons at the first level of the outline, or right under a group
    // there; the groups are the family's named branches, the group outside the tree last.
    std::vector<int> founders, branches;
    for (const int top : tree.TopLevel) {
        const TWebPerson& p = tree.Persons[size_t(top)];
        if (!p.Section) {
            if (site.HasPage(top))
                founders.push_back(top);
            continue;
        }
        if (top == tree.GlobalParent)
            continue;
        for (const int child : p.Children)
            if (site.HasPage(child) && !tree.Persons[size_t(child)].Section)
                founders.push_back(child);
    }
    for (size_t i = 0; i < tree.Persons.size(); ++i)
        if (tree.Persons[i].Section && site.HasPage(int(i)) && int(i) != tree.GlobalParent)
            branches.push_back(int(i));
    if (site.HasPage(tree.GlobalParent))
        branches.push_back(tree.GlobalParent);
    for (const auto& [caption, list] :
         {std::pair{&site.T.Founders, &founders}, {&site.T.FamilyGroups, &branches}}) {
        if (list->empty())
            continue;
        out += "<section>\n<h2>";
        AppendEscaped(out, *caption);
        out += "</h2>\n<ul class=\"columns\">\n";
        for (size_t i = 0; i < list->size() && i < kHomeListLimit; ++i) {
            out += "<li>";
            AppendPersonLink(site, out, (*list)[i], QByteArray(), true);
            out += "</li>\n";
        }
        out += "</ul>\n";
        AppendMore(site, out, list->size(), kHomeListLimit);
        out += "</section>\n";
    }
    out += "<p><a href=\"outline.html\">";
    AppendEscaped(out, site.T.FamilyTree);
    out += "</a> · <a href=\"families.html\">";
    AppendEscaped(out, site.T.FamilyNames);
    out += "</a></p>\n";
    EndPage(site, out, path);
    return out;
}

QByteArray MakeOutlinePage(const TWebSite& site) {
    const QByteArray path = "outline.html";
    QByteArray out;
    BeginPage(site, out, path, site.T.FamilyTree, "outline-page");
    out += "<h1>";
    AppendEscaped(out, site.T.FamilyTree);
    out += "</h1>\n<noscript><p>";
    AppendEscaped(out, site.T.NoScript);
    out += "</p></noscript>\n<p id=\"outline-status\">";
    AppendEscaped(out, site.T.Loading);
    out += "</p>\n<ul id=\"outline\" class=\"outline\"></ul>\n";
    EndPage(site, out, path, {"assets/site.js"});
    return out;
}

QByteArray MakeSearchPage(const TWebSite& site) {
    const QByteArray path = "search.html";
    QByteArray out;
    BeginPage(site, out, path, site.T.Search, "search-page");
    out += "<h1>";
    AppendEscaped(out, site.T.Search);
    out += "</h1>\n";
    out +=
        "<form id=\"search-form\" class=\"big-search\" action=\"search.html\" method=\"get\" role=\"search\">"
        "<input id=\"search-input\" type=\"search\" name=\"q\" autocomplete=\"off\" placeholder=\"";
    AppendEscaped(out, site.T.SearchPlaceholder);
    out += "\" aria-label=\"";
    AppendEscaped(out, site.T.SearchPlaceholder);
    out += "\"><button type=\"submit\">";
    AppendEscaped(out, site.T.Search);
    out += "</button></form>\n<noscript><p>";
    AppendEscaped(out, site.T.NoScript);
    out += "</p></noscript>\n<p id=\"search-status\" role=\"status\" data-none=\"";
    AppendEscaped(out, site.T.NoPersonFound);
    out += "\" data-more=\"";
    AppendEscaped(out, site.T.More);
    out += "\"></p>\n<ol id=\"results\" class=\"results\"></ol>\n";
    EndPage(site, out, path, {"assets/fold.js", "s/index.js", "assets/site.js"});
    return out;
}

bool MakeFamilyPages(const TWebSite& site, const TSiteFileSink& sink) {
    const TWebTree& tree = site.Tree;
    QHash<QString, std::vector<int>> byName;
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        const TWebPerson& p = tree.Persons[i];
        if (!site.HasPage(int(i)) || p.Section)
            continue;
        QStringList names{p.Last, p.FamilyName};
        if (!tree.HideNickname)
            names << p.FamilyNickname;
        names.removeAll(QString());
        names.removeDuplicates();
        for (const QString& name : names)
            byName[name].push_back(int(i));
    }
    QCollator collator = SiteCollator(site);
    std::vector<std::pair<QCollatorSortKey, QString>> sorted;
    sorted.reserve(size_t(byName.size()));
    for (auto it = byName.cbegin(); it != byName.cend(); ++it)
        sorted.emplace_back(collator.sortKey(WithoutArticle(it.key())), it.key());
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        const int c = a.first.compare(b.first);
        return c != 0 ? c < 0 : a.second < b.second;
    });

    // The index: the names grouped under their first letter, with a row of letters to jump to.
    const QByteArray indexPath = "families.html";
    QByteArray index;
    BeginPage(site, index, indexPath, site.T.FamilyNames, "families-page");
    index += "<h1>";
    AppendEscaped(index, site.T.FamilyNames);
    index += "</h1>\n";
    std::vector<std::pair<QString, std::vector<size_t>>> letters;
    for (size_t i = 0; i < sorted.size(); ++i) {
        const QString letter = WithoutArticle(sorted[i].second).left(1).toUpper();
        if (letters.empty() || letters.back().first != letter)
            letters.emplace_back(letter, std::vector<size_t>());
        letters.back().second.push_back(i);
    }
    index += "<nav class=\"letters\">";
    for (size_t l = 0; l < letters.size(); ++l) {
        index += "<a href=\"#l" + QByteArray::number(qulonglong(l)) + "\">";
        AppendEscaped(index, letters[l].first);
        index += "</a>";
    }
    index += "</nav>\n";
    QCollator chainCollator = SiteCollator(site);
    for (size_t l = 0; l < letters.size(); ++l) {
        index += "<section id=\"l" + QByteArray::number(qulonglong(l)) + "\">\n<h2>";
        AppendEscaped(index, letters[l].first);
        index += "</h2>\n<ul class=\"names columns\">\n";
        for (const size_t at : letters[l].second) {
            const QString& name = sorted[at].second;
            std::vector<int>& persons = byName[name];
            const QByteArray key = FamilyKey(name);
            index += "<li><a href=\"" + FamilyPagePath(key, 1) + "\">";
            AppendEscaped(index, name);
            index += "</a> <span class=\"years\">" + QByteArray::number(qulonglong(persons.size())) +
                     "</span></li>\n";

            // The persons of the name, by their names as lists show them.
            std::vector<std::pair<QCollatorSortKey, int>> order;
            order.reserve(persons.size());
            for (const int p : persons)
                order.emplace_back(chainCollator.sortKey(site.Name(p).Chain), p);
            std::stable_sort(order.begin(), order.end(),
                             [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
            const int pages = int((order.size() + kFamilyPageSize - 1) / kFamilyPageSize);
            for (int page = 1; page <= pages; ++page) {
                const QByteArray path = FamilyPagePath(key, page);
                const QByteArray prefix = RootPrefix(path);
                QByteArray out;
                BeginPage(site, out, path, name, "family-page");
                out += "<h1>";
                AppendEscaped(out, name);
                out += "</h1>\n<ol class=\"results\" start=\"" +
                       QByteArray::number((page - 1) * kFamilyPageSize + 1) + "\">\n";
                const size_t from = size_t(page - 1) * kFamilyPageSize;
                for (size_t i = from; i < order.size() && i < from + kFamilyPageSize; ++i) {
                    const int p = order[i].second;
                    const TWebPerson& person = tree.Persons[size_t(p)];
                    out += "<li><a class=\"";
                    out += person.Female ? "female" : "male";
                    out += "\" href=\"" + prefix + PersonPagePath(person.Hex) + "\">";
                    AppendEscaped(out, site.Name(p).Chain);
                    out += "</a>";
                    if (!site.Name(p).Years.isEmpty()) {
                        out += " <span class=\"years\">";
                        AppendEscaped(out, site.Name(p).Years);
                        out += "</span>";
                    }
                    out += "</li>\n";
                }
                out += "</ol>\n";
                if (pages > 1) {
                    out += "<nav class=\"pager\"><span>";
                    if (page > 1) {
                        out += "<a href=\"" + prefix + FamilyPagePath(key, page - 1) + "\">";
                        AppendEscaped(out, site.T.Previous);
                        out += "</a>";
                    }
                    out += "</span><span>";
                    AppendEscaped(out, FillPattern(site.T.PageOf, {Number(page), Number(pages)}));
                    out += "</span><span>";
                    if (page < pages) {
                        out += "<a href=\"" + prefix + FamilyPagePath(key, page + 1) + "\">";
                        AppendEscaped(out, site.T.Next);
                        out += "</a>";
                    }
                    out += "</span></nav>\n";
                }
                EndPage(site, out, path);
                if (!sink(path, out))
                    return false;
            }
        }
        index += "</ul>\n</section>\n";
    }
    EndPage(site, index, indexPath);
    return sink(indexPath, index);
}

bool MakeOutlineScripts(const TWebSite& site, const TSiteFileSink& sink) {
    const TWebTree& tree = site.Tree;
    const auto branch = [&](const QByteArray& id, const std::vector<int>& members) {
        QByteArray out = "verdanBranch(\"" + id + "\",[";
        bool first = true;
        for (const int p : members) {
            if (!site.Listed(p))
                continue;
            const TWebPerson& person = tree.Persons[size_t(p)];
            int flags = 0;
            if (person.Female)
                flags |= 1;
            if (person.Section)
                flags |= 2;
            if (std::any_of(person.Children.begin(), person.Children.end(),
                            [&](int c) { return site.Listed(c); }))
                flags |= 4;
            if (!site.HasPage(p))
                flags |= 8;
            out += first ? "\n[\"" : ",\n[\"";
            first = false;
            out += person.Hex + "\",";
            AppendJsString(out, site.Name(p).Label);
            out += ',' + QByteArray::number(flags) + ',';
            AppendJsString(out, site.Name(p).Years);
            out += ']';
        }
        out += "]);\n";
        return out;
    };
    if (!sink("o/top.js", branch(QByteArray(), tree.TopLevel)))
        return false;
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        const TWebPerson& person = tree.Persons[i];
        if (!site.Listed(int(i)) || std::none_of(person.Children.begin(), person.Children.end(),
                                                 [&](int c) { return site.Listed(c); }))
            continue;
        if (!sink(BranchScriptPath(person.Hex), branch(person.Hex, person.Children)))
            return false;
    }
    return true;
}

void AppendJsString(QByteArray& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    out += '"';
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const uchar c = uchar(utf8[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == '<' || c == '>') {
            // Control characters, and the angle brackets that could close a script element.
            out += "\\u00" + QByteArray::number(c, 16).rightJustified(2, '0');
        } else if (c == 0xE2 && i + 2 < utf8.size() && uchar(utf8[i + 1]) == 0x80 &&
                   (uchar(utf8[i + 2]) == 0xA8 || uchar(utf8[i + 2]) == 0xA9)) {
            // The line and paragraph separators, which older scripts read as line ends.
            out += uchar(utf8[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += char(c);
        }
    }
    out += '"';
}

} // namespace verdan
