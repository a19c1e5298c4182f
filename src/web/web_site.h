#pragma once

#include "web/web_privacy.h"
#include "web/web_tree.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

namespace verdan {

// What the user chose for a site.
struct TWebOptions {
    QString Language = QStringLiteral("ar"); // the interface language the site is written in: ar, en, fa, ur
    TLivingMode Living = TLivingMode::Hide;
    QString Title; // the site's title; the tree's name when empty
    QDate Today;   // the day the living rule counts from; today when invalid
};

// The texts every page repeats, translated once for the whole site.
struct TSiteTexts {
    QString FamilyTree, FamilyNames, Search, SearchPlaceholder, Founders, FamilyGroups, Private;
    QString SonOf, DaughterOf, Father, Mother, Parents, Wives, Husbands, Children, OtherChildren;
    QString Breastfeeding, NursedBy, MilkSiblings, Nursed, Events, Notes, Summary, Pictures, Gender, Male,
        Female;
    QString BirthDate, BirthPlace, DeathDate, DeathPlace, Deceased, Marriage, Divorce, Divorced;
    QString OtherName, Cognomen, Nickname, LastName, FamilyName, FamilyNickname, Group, Members;
    QString Persons, Males, Females, Marriages, Groups, Owner, ShowInTree, Loading, NoScript, MadeBy,
        NoPersonFound, More, PageOf, Next, Previous, Chart;
};

// One person as lists show it, made once for the whole site.
struct TSiteName {
    QString Label;  // the name with its title, or the private placeholder
    QString Chain;  // the name and four fathers, as search results and lists of persons show it
    QString Years;  // "1804–1870" for a person shown whole; empty otherwise
    QString Family; // the family name lists sort by
};

// A site being made: the tree, what each person shows, and the texts.
class TWebSite {
public:
    TWebSite(const TWebTree& tree, const TWebOptions& options);

    const TWebTree& Tree;
    const TWebOptions Options;
    const std::vector<TShown> Shown;
    TSiteTexts T;
    bool RightToLeft = false;
    QByteArray Lang; // the html lang attribute
    QString Comma;   // between the items of a list in a sentence
    QString Title;
    // Whether each of the tree's pictures has its scaled copies in the site (set before pages are made).
    std::vector<char> PictureReady;

    // A person who is listed at all, and one with a page of his own.
    bool Listed(int p) const { return p >= 0 && Shown[size_t(p)] != TShown::Absent; }
    bool HasPage(int p) const {
        return p >= 0 && (Shown[size_t(p)] == TShown::Full || Shown[size_t(p)] == TShown::NameOnly);
    }
    bool Whole(int p) const { return p >= 0 && Shown[size_t(p)] == TShown::Full; }
    const TSiteName& Name(int p) const { return names_[size_t(p)]; }

    // The person's father line as «X son of Y son of Z», at most `generations` persons after him; a group
    // in the line after " - ". It stops before anybody without a page and at the group outside the tree.
    // With links, each ancestor links to his page from a page `prefix` below the site's folder.
    QString ChainText(int p, int generations) const;
    QByteArray ChainHtml(int p, int generations, const QByteArray& prefix) const;

    // The outline path to a person: the top-level ancestor first, each step to a father (or, without one,
    // to the mother), as the outline opens it; empty when the outline does not reach him.
    std::vector<int> OutlinePath(int p) const;

private:
    std::vector<int> LineOf(int p, int generations) const;
    std::vector<TSiteName> names_;
};

// A text as HTML text or attribute value, as UTF-8.
QByteArray HtmlEscaped(const QString& text);
void AppendEscaped(QByteArray& out, const QString& text);

} // namespace verdan
