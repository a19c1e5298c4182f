#include "calendar/date_value_text.h"
#include "storage/event_kinds.h"
#include "text/localisation.h"
#include "web/web_addresses.h"
#include "web/web_html.h"
#include "web/web_pages.h"

#include <algorithm>

namespace verdan {

namespace {

constexpr int kChainGenerations = 30;
constexpr size_t kChartChildren = 12;

class PersonPage {
public:
    PersonPage(const TWebSite& site, int person)
        : site_(site), t_(site.T), p_(person), person_(site.Tree.Persons[size_t(person)]),
          path_(PersonPagePath(person_.Hex)), prefix_(RootPrefix(path_)), whole_(site.Whole(person)) {}

    QByteArray Make() {
        BeginPage(site_, out_, path_, site_.Name(p_).Label, person_.Section ? "group-page" : "person-page");
        out_ += "<article class=\"person ";
        out_ += person_.Section ? "group" : person_.Female ? "female" : "male";
        out_ += "\">\n<h1>";
        AppendEscaped(out_, site_.Name(p_).Label);
        out_ += "</h1>\n";
        if (!person_.Section) {
            out_ += "<p class=\"chain\">";
            out_ += site_.ChainHtml(p_, kChainGenerations, prefix_);
            out_ += "</p>\n";
        }
        Portrait();
        Facts();
        if (person_.Section) {
            Members();
        } else {
            Chart();
            Parents();
            Marriages();
            Breastfeeding();
            if (whole_) {
                Events();
                Texts();
                Gallery();
            }
        }
        OutlineLink();
        out_ += "</article>\n";
        EndPage(site_, out_, path_);
        return out_;
    }

private:
    void Row(const QString& caption, const QString& value) {
        if (value.trimmed().isEmpty())
            return;
        out_ += "<dt>";
        AppendEscaped(out_, caption);
        out_ += "</dt><dd><bdi>";
        AppendEscaped(out_, value);
        out_ += "</bdi></dd>\n";
    }

    // Where a date reads as a date: written by the program's one date text, in both calendars.
    void DateRow(const QString& caption, const TDateValue& value) {
        if (IsEmptyDate(value))
            return;
        out_ += "<dt>";
        AppendEscaped(out_, caption);
        out_ += "</dt><dd class=\"date\">";
        AppendDateText(out_, DateValueText(value, TDateShown::Both));
        out_ += "</dd>\n";
    }

    bool PictureShown(int picture) const {
        return whole_ && !person_.HidePicture && size_t(picture) < site_.PictureReady.size() &&
               site_.PictureReady[size_t(picture)];
    }

    void Portrait() {
        for (const int picture : person_.Pictures) {
            if (!PictureShown(picture))
                continue;
            const QByteArray hex = site_.Tree.Pictures[size_t(picture)].Hex;
            out_ += "<a class=\"portrait\" href=\"" + prefix_ + PicturePath(hex, false) + "\"><img src=\"" +
                    prefix_ + PicturePath(hex, true) + "\" alt=\"\"></a>\n";
            return;
        }
    }

    void Facts() {
        out_ += "<dl class=\"facts\">\n";
        if (person_.Section) {
            Row(t_.Group, person_.SectionType);
        } else {
            Row(t_.Gender, person_.Female ? t_.Female : t_.Male);
        }
        if (whole_ && !person_.Section) {
            DateRow(t_.BirthDate, person_.Birth);
            Row(t_.BirthPlace, person_.BirthPlace);
            DateRow(t_.DeathDate, person_.Death);
            if (IsEmptyDate(person_.Death) && person_.DeadMark)
                Row(t_.DeathDate,
                    person_.Female ? TranslateFeminine(QStringLiteral("Deceased")) : t_.Deceased);
            Row(t_.DeathPlace, person_.DeathPlace);
        }
        if (!person_.Section) {
            const bool nicknames = !site_.Tree.HideNickname;
            Row(t_.OtherName, person_.Other);
            Row(t_.Cognomen, person_.Cognomen);
            if (nicknames)
                Row(t_.Nickname, person_.Nickname);
            Row(t_.LastName, person_.Last);
            Row(t_.FamilyName, person_.FamilyName);
            if (nicknames)
                Row(t_.FamilyNickname, person_.FamilyNickname);
        }
        out_ += "</dl>\n";
    }

    void Heading(const QString& text) {
        out_ += "<h2>";
        AppendEscaped(out_, text);
        out_ += "</h2>\n";
    }

    void PersonList(const std::vector<int>& persons, const char* kind = "persons") {
        out_ += "<ul class=\"";
        out_ += kind;
        out_ += "\">\n";
        for (const int p : persons) {
            if (!site_.Listed(p))
                continue;
            out_ += "<li>";
            AppendPersonLink(site_, out_, p, prefix_, true);
            out_ += "</li>\n";
        }
        out_ += "</ul>\n";
    }

    bool AnyListed(const std::vector<int>& persons) const {
        return std::any_of(persons.begin(), persons.end(), [this](int p) { return site_.Listed(p); });
    }

    void ChartBox(int p, const char* role) {
        if (!site_.Listed(p))
            return;
        const TWebPerson& person = site_.Tree.Persons[size_t(p)];
        out_ += "<div class=\"box ";
        out_ += role;
        out_ += person.Female ? " female\">" : " male\">";
        AppendPersonLink(site_, out_, p, prefix_);
        out_ += "</div>";
    }

    // Parents above, the person, the children below, drawn with boxes and lines by the style sheet.
    void Chart() {
        const bool parents = site_.Listed(person_.Father) || site_.Listed(person_.Mother);
        std::vector<int> children;
        for (const int child : person_.Children)
            if (site_.Listed(child))
                children.push_back(child);
        if (!parents && children.empty())
            return;
        out_ += "<section class=\"chart\" aria-label=\"";
        AppendEscaped(out_, t_.Chart);
        out_ += "\">\n";
        if (parents) {
            out_ += "<div class=\"chart-row parents\">";
            ChartBox(person_.Father, "father");
            ChartBox(person_.Mother, "mother");
            out_ += "</div>\n";
        }
        out_ += "<div class=\"chart-row self\"><div class=\"box self";
        out_ += person_.Female ? " female\">" : " male\">";
        AppendEscaped(out_, site_.Name(p_).Label);
        out_ += "</div></div>\n";
        if (!children.empty()) {
            out_ += "<div class=\"chart-row children\">";
            for (size_t i = 0; i < children.size() && i < kChartChildren; ++i)
                ChartBox(children[i], "child");
            if (children.size() > kChartChildren) {
                out_ += "<div class=\"box more\">";
                AppendEscaped(out_,
                              FillPattern(t_.More, {QString::number(children.size() - kChartChildren)}));
                out_ += "</div>";
            }
            out_ += "</div>\n";
        }
        out_ += "</section>\n";
    }

    void Parents() {
        if (!site_.Listed(person_.Father) && !site_.Listed(person_.Mother))
            return;
        out_ += "<section class=\"parents\">\n";
        Heading(t_.Parents);
        out_ += "<dl class=\"facts\">\n";
        for (const auto& [caption, parent] :
             {std::pair{&t_.Father, person_.Father}, {&t_.Mother, person_.Mother}}) {
            if (!site_.Listed(parent))
                continue;
            out_ += "<dt>";
            AppendEscaped(out_, *caption);
            out_ += "</dt><dd>";
            AppendPersonLink(site_, out_, parent, prefix_, true);
            out_ += "</dd>\n";
        }
        out_ += "</dl>\n</section>\n";
    }

    // Parts of a sentence, each a date or plain words, joined by the language's comma.
    void AppendParts(const QList<std::pair<QString, bool>>& parts) {
        bool first = true;
        for (const auto& [text, date] : parts) {
            if (text.trimmed().isEmpty())
                continue;
            if (!first)
                AppendEscaped(out_, site_.Comma);
            first = false;
            if (date)
                AppendDateText(out_, text.trimmed());
            else
                AppendEscaped(out_, text.trimmed());
        }
    }

    void MarriageFacts(const TWebMarriage& m, int mate) {
        const bool both = whole_ && site_.Whole(mate);
        QList<std::pair<QString, bool>> parts;
        if (both && !IsEmptyDate(m.Married))
            parts.append(
                {t_.Marriage + QStringLiteral(": ") + DateValueText(m.Married, TDateShown::Both), true});
        if (both)
            parts.append({m.Place, false});
        if (m.Split || !IsEmptyDate(m.Divorced))
            parts.append({t_.Divorced, false});
        if (both && !IsEmptyDate(m.Divorced))
            parts.append(
                {t_.Divorce + QStringLiteral(": ") + DateValueText(m.Divorced, TDateShown::Both), true});
        if (both)
            parts.append({m.DivorcePlace, false});
        if (std::all_of(parts.begin(), parts.end(),
                        [](const auto& part) { return part.first.trimmed().isEmpty(); }))
            return;
        out_ += " <span class=\"marriage\">";
        AppendParts(parts);
        out_ += "</span>";
    }

    // The wives (or husbands) in their order, each with the children of the two; then children of
    // other parents.
    void Marriages() {
        std::vector<int> placed;
        bool any = false;
        for (const int m : person_.Marriages) {
            const TWebMarriage& marriage = site_.Tree.Marriages[size_t(m)];
            const int mate = marriage.Husband == p_ ? marriage.Wife : marriage.Husband;
            if (!site_.Listed(mate))
                continue;
            if (!any) {
                out_ += "<section class=\"marriages\">\n";
                Heading(person_.Female ? t_.Husbands : t_.Wives);
                out_ += "<ol class=\"mates\">\n";
                any = true;
            }
            out_ += "<li>";
            AppendPersonLink(site_, out_, mate, prefix_, true);
            MarriageFacts(marriage, mate);
            std::vector<int> theirs;
            for (const int child : person_.Children) {
                const TWebPerson& c = site_.Tree.Persons[size_t(child)];
                if ((person_.Female ? c.Father : c.Mother) == mate) {
                    theirs.push_back(child);
                    placed.push_back(child);
                }
            }
            if (AnyListed(theirs))
                PersonList(theirs, "children");
            out_ += "</li>\n";
        }
        if (any)
            out_ += "</ol>\n</section>\n";
        std::vector<int> others;
        for (const int child : person_.Children)
            if (std::find(placed.begin(), placed.end(), child) == placed.end())
                others.push_back(child);
        if (!AnyListed(others))
            return;
        out_ += "<section class=\"children\">\n";
        Heading(any ? t_.OtherChildren : t_.Children);
        PersonList(others, "children");
        out_ += "</section>\n";
    }

    void Breastfeeding() {
        if (!AnyListed(person_.NursedBy) && !AnyListed(person_.MilkSiblings) && !AnyListed(person_.Nursed))
            return;
        out_ += "<section class=\"breastfeeding\">\n";
        Heading(t_.Breastfeeding);
        out_ += "<dl class=\"facts\">\n";
        for (const auto& [caption, list] : {std::pair{&t_.NursedBy, &person_.NursedBy},
                                            {&t_.MilkSiblings, &person_.MilkSiblings},
                                            {&t_.Nursed, &person_.Nursed}}) {
            if (!AnyListed(*list))
                continue;
            out_ += "<dt>";
            AppendEscaped(out_, *caption);
            out_ += "</dt><dd>";
            bool first = true;
            for (const int p : *list) {
                if (!site_.Listed(p))
                    continue;
                if (!first)
                    AppendEscaped(out_, site_.Comma);
                first = false;
                AppendPersonLink(site_, out_, p, prefix_);
            }
            out_ += "</dd>\n";
        }
        out_ += "</dl>\n</section>\n";
    }

    void Events() {
        std::vector<const TEvent*> events;
        for (const int e : person_.Events) {
            // An event of several persons tells of the others too: shown only when they are all shown whole.
            const std::vector<int>& persons = site_.Tree.EventPersons[size_t(e)];
            if (std::all_of(persons.begin(), persons.end(), [&](int p) { return p == p_ || site_.Whole(p); }))
                events.push_back(&site_.Tree.Events[size_t(e)]);
        }
        if (events.empty())
            return;
        std::stable_sort(events.begin(), events.end(), [](const TEvent* a, const TEvent* b) {
            return DateSortKey(a->Date) < DateSortKey(b->Date);
        });
        out_ += "<section class=\"events\">\n";
        Heading(t_.Events);
        out_ += "<dl class=\"facts\">\n";
        for (const TEvent* event : events) {
            const QString name = event->Descriptor.isEmpty() ? EventKindName(event->Type) : event->Descriptor;
            out_ += "<dt>";
            AppendEscaped(out_, name);
            out_ += "</dt><dd>";
            AppendParts({{event->Value, false},
                         {DateValueText(event->Date, TDateShown::Both), true},
                         {event->Place, false},
                         {event->Cause, false}});
            if (!event->Notes.trimmed().isEmpty()) {
                out_ += "<div class=\"notes\">";
                AppendParagraphs(out_, event->Notes);
                out_ += "</div>";
            }
            out_ += "</dd>\n";
        }
        out_ += "</dl>\n</section>\n";
    }

    void Texts() {
        for (const auto& [caption, text] :
             {std::pair{&t_.Summary, &person_.Briefing}, {&t_.Notes, &person_.Notes}}) {
            if (text->trimmed().isEmpty())
                continue;
            out_ += "<section class=\"text\">\n";
            Heading(*caption);
            AppendParagraphs(out_, *text);
            out_ += "</section>\n";
        }
    }

    void Gallery() {
        std::vector<int> shown;
        for (const int picture : person_.Pictures)
            if (PictureShown(picture))
                shown.push_back(picture);
        if (shown.empty())
            return;
        out_ += "<section class=\"gallery\">\n";
        Heading(t_.Pictures);
        out_ += "<div class=\"pictures\">\n";
        for (const int at : shown) {
            const TWebPicture& picture = site_.Tree.Pictures[size_t(at)];
            out_ += "<figure><a href=\"" + prefix_ + PicturePath(picture.Hex, false) + "\"><img src=\"" +
                    prefix_ + PicturePath(picture.Hex, true) + "\" alt=\"";
            AppendEscaped(out_, picture.Description);
            out_ += "\" loading=\"lazy\"></a>";
            TDateValue date;
            date.Gregorian = picture.Date;
            if (!picture.Description.isEmpty() || picture.Date != 0) {
                out_ += "<figcaption>";
                AppendParts(
                    {{picture.Description, false}, {DateValueText(date, TDateShown::Gregorian), true}});
                out_ += "</figcaption>";
            }
            out_ += "</figure>\n";
        }
        out_ += "</div>\n</section>\n";
    }

    void Members() {
        if (!AnyListed(person_.Children))
            return;
        out_ += "<section class=\"members\">\n";
        Heading(t_.Members);
        PersonList(person_.Children, "members");
        out_ += "</section>\n";
    }

    void OutlineLink() {
        const std::vector<int> path = site_.OutlinePath(p_);
        if (path.empty())
            return;
        out_ += "<p class=\"outline-link\"><a href=\"" + prefix_ + "outline.html#";
        for (size_t i = 0; i < path.size(); ++i) {
            if (i > 0)
                out_ += '/';
            out_ += site_.Tree.Persons[size_t(path[i])].Hex;
        }
        out_ += "\">";
        AppendEscaped(out_, t_.ShowInTree);
        out_ += "</a></p>\n";
    }

    const TWebSite& site_;
    const TSiteTexts& t_;
    const int p_;
    const TWebPerson& person_;
    const QByteArray path_;
    const QByteArray prefix_;
    const bool whole_;
    QByteArray out_;
};

} // namespace

QByteArray MakePersonPage(const TWebSite& site, int person) {
    return PersonPage(site, person).Make();
}

} // namespace verdan
