#include "web/web_site.h"

#include "calendar/date_numbers.h"
#include "storage/person_names.h"
#include "text/localisation.h"
#include "web/web_addresses.h"

#include <algorithm>

namespace verdan {

namespace {

QString Web(const char* source) {
    return TranslateContext(QString::fromUtf8(source), QStringLiteral("web"));
}

QString Plain(const char* source) {
    return Translate(QString::fromUtf8(source));
}

QString Context(const char* source, const char* context) {
    return TranslateContext(QString::fromUtf8(source), QString::fromUtf8(context));
}

TSiteTexts MakeTexts() {
    TSiteTexts t;
    t.FamilyTree = Web("Family Tree");
    t.FamilyNames = Web("Family Names");
    t.Search = Plain("Search");
    t.SearchPlaceholder = Web("Search the names");
    t.Founders = Web("Founders");
    t.FamilyGroups = Web("Family Groups");
    t.Private = Web("Private");
    t.SonOf = Web("son of");
    t.DaughterOf = Web("daughter of");
    t.Father = Plain("Father");
    t.Mother = Plain("Mother");
    t.Parents = Web("Parents");
    t.Wives = Context("Wives", "relationships");
    t.Husbands = Context("Husbands", "relationships");
    t.Children = Plain("Children");
    t.OtherChildren = Web("Other children");
    t.Breastfeeding = Context("Breastfeeding Relationships", "relationships");
    t.NursedBy = Plain("Breastfeeding Mothers");
    t.MilkSiblings = Plain("Breastfeeding Siblings");
    t.Nursed = Plain("Breastfeeding Children");
    t.Events = Web("Events");
    t.Notes = Plain("Notes");
    t.Summary = Plain("Summary");
    t.Pictures = Plain("Pictures");
    t.Gender = Plain("Gender");
    t.Male = Plain("Male");
    t.Female = Plain("Female");
    t.BirthDate = Plain("Birth Date");
    t.BirthPlace = Plain("Birth Place");
    t.DeathDate = Plain("Death Date");
    t.DeathPlace = Plain("Death Place");
    t.Deceased = Plain("Deceased");
    t.Marriage = Web("Marriage");
    t.Divorce = Web("Divorce");
    t.Divorced = Context("Divorced", "relationship_marriage");
    t.OtherName = FieldCaption(QStringLiteral("Other_Name"));
    t.Cognomen = FieldCaption(QStringLiteral("Cognomen"));
    t.Nickname = Plain("Nickname");
    t.LastName = FieldCaption(QStringLiteral("Last_Name"));
    t.FamilyName = FieldCaption(QStringLiteral("Family_Name"));
    t.FamilyNickname = FieldCaption(QStringLiteral("Family_Nickname"));
    t.Group = Plain("Family Group");
    t.Members = Web("Members");
    t.Persons = Plain("Persons");
    t.Males = Plain("Males");
    t.Females = Plain("Females");
    t.Marriages = Web("Marriages");
    t.Groups = Plain("Sections");
    t.Owner = Context("Owner", "properties");
    t.ShowInTree = Web("Show in the family tree");
    t.Loading = Web("Loading…");
    t.NoScript = Web("The family tree and the search need JavaScript turned on in the browser.");
    t.MadeBy = FillPattern(Plain("This page prepared by %* application."), {Plain("Verdan")});
    t.NoPersonFound = Plain("No person found");
    t.More = Web("and %# more");
    t.PageOf = Plain("%# of %#");
    t.Next = Plain("Next");
    t.Previous = Web("Previous");
    t.Chart = Plain("Family Tree Chart");
    return t;
}

// "1804", or with the era's mark before the era.
QString YearText(int number, bool hijri) {
    int year = 0, month = 0, day = 0;
    SplitDateNumber(number < 0 ? -number : number, year, month, day);
    QString text = QString::number(year);
    if (number < 0)
        text += u' ' + Translate(QString::fromLatin1(hijri ? "B.h" : "B.c"));
    else if (hijri)
        text += u' ' + Translate(QStringLiteral("H"));
    return text;
}

QString YearOf(const TDateValue& value) {
    if (value.Gregorian != 0)
        return YearText(value.Gregorian, false);
    if (value.Hijri != 0)
        return YearText(value.Hijri, true);
    return QString();
}

} // namespace

TWebSite::TWebSite(const TWebTree& tree, const TWebOptions& options)
    : Tree(tree), Options(options),
      Shown(
          DecideShown(tree, options.Living, options.Today.isValid() ? options.Today : QDate::currentDate())),
      T(MakeTexts()), RightToLeft(options.Language != u"en"), Lang(options.Language.toLatin1()),
      Comma(RightToLeft ? QStringLiteral("، ") : QStringLiteral(", ")),
      Title(options.Title.trimmed().isEmpty() ? tree.TreeName.trimmed() : options.Title.trimmed()) {
    if (Title.isEmpty())
        Title = T.FamilyTree;
    names_.resize(tree.Persons.size());
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        const TWebPerson& p = tree.Persons[i];
        TSiteName& n = names_[i];
        if (!HasPage(int(i))) {
            n.Label = T.Private;
            continue;
        }
        n.Label = p.Name.isEmpty() ? QStringLiteral("…") : p.Name;
        if (!p.Title.isEmpty())
            n.Label += QStringLiteral(" (") + p.Title + u')';
        n.Family = !p.Last.isEmpty() ? p.Last : p.FamilyName;
        if (Whole(int(i)) && !p.Section) {
            const QString born = YearOf(p.Birth), died = YearOf(p.Death);
            if (!born.isEmpty() || !died.isEmpty())
                n.Years = born + QStringLiteral(" – ") + died;
        }
    }
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        TSiteName& n = names_[i];
        if (!HasPage(int(i)))
            continue;
        n.Chain = ChainText(int(i), 4);
        if (!n.Family.isEmpty() && !n.Chain.contains(n.Family))
            n.Chain += u' ' + n.Family;
    }
}

std::vector<int> TWebSite::LineOf(int p, int generations) const {
    std::vector<int> line{p};
    int at = p;
    while (int(line.size()) <= generations) {
        const int father = Tree.Persons[size_t(at)].Father;
        if (father < 0 || father == Tree.GlobalParent || !Listed(father) ||
            (!HasPage(father) && !Tree.Persons[size_t(father)].Section) ||
            std::find(line.begin(), line.end(), father) != line.end())
            break;
        line.push_back(father);
        at = father;
    }
    return line;
}

QString TWebSite::ChainText(int p, int generations) const {
    const std::vector<int> line = LineOf(p, generations);
    QString text = Tree.Persons[size_t(p)].Name;
    for (size_t i = 1; i < line.size(); ++i) {
        const TWebPerson& before = Tree.Persons[size_t(line[i - 1])];
        const TWebPerson& a = Tree.Persons[size_t(line[i])];
        if (a.Section || before.Section)
            text += QStringLiteral(" - ");
        else
            text += u' ' + (before.Female ? T.DaughterOf : T.SonOf) + u' ';
        text += a.Name;
    }
    return text;
}

QByteArray TWebSite::ChainHtml(int p, int generations, const QByteArray& prefix) const {
    const std::vector<int> line = LineOf(p, generations);
    QByteArray html;
    AppendEscaped(html, Tree.Persons[size_t(p)].Name);
    for (size_t i = 1; i < line.size(); ++i) {
        const TWebPerson& before = Tree.Persons[size_t(line[i - 1])];
        const TWebPerson& a = Tree.Persons[size_t(line[i])];
        if (a.Section || before.Section) {
            html += " - ";
        } else {
            html += ' ';
            AppendEscaped(html, before.Female ? T.DaughterOf : T.SonOf);
            html += ' ';
        }
        html += "<a href=\"" + prefix + PersonPagePath(a.Hex) + "\">";
        AppendEscaped(html, a.Name);
        html += "</a>";
    }
    return html;
}

std::vector<int> TWebSite::OutlinePath(int p) const {
    std::vector<int> path{p};
    int at = p;
    while (!Tree.Persons[size_t(at)].TopLevel) {
        const TWebPerson& person = Tree.Persons[size_t(at)];
        const int up = person.Father >= 0 ? person.Father : person.Mother;
        if (up < 0 || !Listed(up) || std::find(path.begin(), path.end(), up) != path.end())
            return {};
        path.push_back(up);
        at = up;
    }
    std::reverse(path.begin(), path.end());
    return path;
}

QByteArray HtmlEscaped(const QString& text) {
    QByteArray out;
    AppendEscaped(out, text);
    return out;
}

void AppendEscaped(QByteArray& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
}

} // namespace verdan
