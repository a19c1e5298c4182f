#pragma once

#include "calendar/date_value.h"
#include "storage/relation_store.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// What a chart item needs of a person, read for many persons at once: charts of thousands of persons read
// the tree in a few statements per generation instead of several per person.
struct TChartPersonRecord {
    QString Id;
    QString FatherId;
    QString MotherId;
    QString Gender; // as stored
    QString Name;
    QString ExpandedName; // GetNameFatherLast
    TDateValue Birth;     // with qualifiers, second dates and phrases where the tree keeps them
    TDateValue Death;
    int OrderByFather = 0;
    int OrderByMother = 0;
    bool IsSection = false;
    TMateList Mates; // as ListMates orders them; lineage names are not read
};

// The persons of the tree among ids, by identifier key (ChartIdKey); identifiers the tree lacks are left out.
QHash<QString, TChartPersonRecord> ReadChartPersons(const QStringList& ids);

// The children of each person, in the order ListChildrenIds gives them (a man's through the father column,
// anybody else's through the mother column), by the parent's identifier key.
QHash<QString, QStringList> ReadChartChildren(const QList<std::pair<QString, bool>>& parentsAndMale);

} // namespace verdan
