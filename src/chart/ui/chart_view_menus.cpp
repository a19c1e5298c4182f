// The context menus of the chart view: of a person, of a marriage mark and of the chart itself. Each is
// built afresh for the right click it serves.

#include "chart_view.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/icons.h"
#include "text/ui/menu_captions.h"

#include <QActionGroup>
#include <QMenu>

namespace verdan {

namespace {

QMenu* FreshMenu(QMenu*& menu, QWidget* parent) {
    delete menu;
    menu = new QMenu(parent);
    menu->setLayoutDirection(Local().Target.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    return menu;
}

} // namespace

QMenu* Tfrm_Chart::BuildContextMenu(const QPoint& viewPoint) {
    const QPoint p = chart_.Mapping().ToChart(viewPoint);
    const int mark = chart_.HitMark(p);
    if (mark >= 0) {
        chart_.SelectOnlyMark(mark);
        BuildMarkMenu();
        return markMenu_;
    }
    const int person = chart_.HitPerson(p);
    if (person >= 0) {
        // A click on an item outside the selection makes it the selection; inside, the selection stays.
        if (!chart_.Person(person).Selected)
            chart_.DeselectAll();
        chart_.SetPersonSelected(person, true);
        BuildPersonMenu(person);
        return personMenu_;
    }
    BuildChartMenu();
    return chartMenu_;
}

void Tfrm_Chart::BuildPersonMenu(int index) {
    QMenu* menu = FreshMenu(personMenu_, this);
    const TPersonObject& item = chart_.Person(index);
    const QString id = item.Id;
    const bool global = chart_.IsGlobalParent(item);

    QAction* parents = menu->addAction(MenuCaption("Show Parents"));
    parents->setEnabled(!item.FatherId.isEmpty() || !item.MotherId.isEmpty());
    connect(parents, &QAction::triggered, this, [this, id] {
        chart_.ShowParents(chart_.IndexOf(id));
        Refresh();
    });
    QAction* children = menu->addAction(MenuOpens("Show Children"));
    children->setEnabled(!global && CountChildren(id) > 0);
    connect(children, &QAction::triggered, this, [this, id] {
        const QStringList ids = ChooseChildren(id, QCursor::pos());
        if (ids.isEmpty())
            return;
        {
            const TBusyCursor busy;
            chart_.ShowChildrenFrom(chart_.IndexOf(id), ids);
        }
        chart_.DeselectAll();
        Refresh();
    });
    QAction* spouses = menu->addAction(MenuCaption("Show Spouses"));
    spouses->setEnabled(!global && HasMarriage(id));
    connect(spouses, &QAction::triggered, this, [this, id] {
        chart_.ShowSpouses(chart_.IndexOf(id));
        Refresh();
    });

    QMenu* show = menu->addMenu(MenuCaption("Show"));
    const std::pair<const char*, TChart::TShowFlag> flags[] = {{"Expanded Name", TChart::TShowFlag::FullName},
                                                               {"Dates", TChart::TShowFlag::Dates},
                                                               {"Picture", TChart::TShowFlag::Picture}};
    const bool states[] = {item.Options.ShowFullName, item.Options.ShowDates, item.Options.ShowPicture};
    for (int k = 0; k < 3; ++k) {
        QAction* entry = show->addAction(MenuCaption(flags[k].first));
        entry->setCheckable(true);
        entry->setChecked(states[k]);
        const TChart::TShowFlag flag = flags[k].second;
        connect(entry, &QAction::toggled, this, [this, flag](bool on) {
            chart_.SetSelectedShowFlag(flag, on);
            Refresh();
        });
    }

    QMenu* links = menu->addMenu(MenuCaption("Connecting Links"));
    auto* group = new QActionGroup(links);
    const std::pair<const char*, TLinkType> styles[] = {
        {"Follow Chart", TLinkType::Follow}, {"Lines", TLinkType::Line}, {"Sticks", TLinkType::Stick}};
    for (const auto& [text, type] : styles) {
        QAction* entry = links->addAction(MenuCaption(text));
        entry->setCheckable(true);
        entry->setChecked(item.LinkType == type);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, type = type] {
            chart_.SetSelectedLinkType(type);
            Refresh();
        });
    }
    menu->addSeparator();

    QMenu* align = menu->addMenu(MenuCaption("Align"));
    align->setEnabled(chart_.SelectedPersonCount() >= 2);
    const std::pair<const char*, int> modes[] = {{"Left", 0}, {"Center", 1}, {"Right", 2}, {nullptr, -1},
                                                 {"Top", 3},  {"Middle", 4}, {"Bottom", 5}};
    for (const auto& [text, mode] : modes) {
        if (!text) {
            align->addSeparator();
            continue;
        }
        connect(align->addAction(MenuCaption(text)), &QAction::triggered, this, [this, mode = mode] {
            chart_.AlignSelected(mode);
            Refresh();
        });
    }
    QAction* remove = menu->addAction(Icon(u"edit-delete"), MenuCaption("Remove"));
    connect(remove, &QAction::triggered, this, [this] {
        chart_.RemoveSelected();
        Refresh();
    });
}

void Tfrm_Chart::BuildMarkMenu() {
    QMenu* menu = FreshMenu(markMenu_, this);
    QAction* remove = menu->addAction(Icon(u"edit-delete"), MenuOpens("Remove"));
    connect(remove, &QAction::triggered, this, [this] {
        chart_.RemoveSelectedMarks();
        Refresh();
    });
}

void Tfrm_Chart::BuildChartMenu() {
    QMenu* menu = FreshMenu(chartMenu_, this);
    const bool any = !chart_.Persons().isEmpty();
    QAction* removeAll = menu->addAction(Icon(u"edit-delete"), MenuOpens("Remove All Items"));
    removeAll->setEnabled(any);
    connect(removeAll, &QAction::triggered, this, [this] {
        chart_.SelectAll();
        if (!chart_.RemoveSelected())
            chart_.DeselectAll();
        Refresh();
    });
    QAction* selectAll = menu->addAction(MenuCaption("Select All"));
    selectAll->setEnabled(any);
    connect(selectAll, &QAction::triggered, this, [this] {
        chart_.SelectAll();
        Refresh();
    });
}

} // namespace verdan
