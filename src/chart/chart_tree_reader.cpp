#include "chart_tree_reader.h"

#include "chart/chart.h"
#include "storage/database.h"
#include "storage/date_columns.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"

namespace verdan {

namespace {

constexpr qsizetype kBatch = 500;

QString Marks(qsizetype count) {
    QString marks;
    marks.reserve(count * 2);
    for (qsizetype k = 0; k < count; ++k)
        marks += k == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    return marks;
}

// Runs the statement, whose one "%1" takes the marks of a batch, for every batch of values.
template <typename Row> void InBatches(const QString& sql, const QStringList& values, Row&& row) {
    for (qsizetype from = 0; from < values.size(); from += kBatch) {
        const qsizetype count = std::min(kBatch, values.size() - from);
        Query q = Dm().Prepare(sql.arg(Marks(count)));
        for (qsizetype k = 0; k < count; ++k)
            q.Bind(values[from + k]);
        while (q.Next())
            row(q);
    }
}

} // namespace

QHash<QString, TChartPersonRecord> ReadChartPersons(const QStringList& ids) {
    QHash<QString, TChartPersonRecord> persons;
    if (ids.isEmpty() || !Dm().IsConnected())
        return persons;
    // The dates' columns come last, seven for each date, as the tree file keeps them.
    const QString dates = DateColumnList(kBirthDateColumns, QStringLiteral("p.")) + QStringLiteral(", ") +
                          DateColumnList(kDeathDateColumns, QStringLiteral("p."));
    InBatches(QStringLiteral("SELECT p.Person_Id, p.Father_Id, p.Mother_Id, p.Gender, p.Person_Name, "
                             "p.Last_Name, p.Order_By_Father, p.Order_By_Mother, p.Is_Section, "
                             "f.Person_Name, f.Is_Section, ") +
                  dates +
                  QStringLiteral(" FROM ftPerson p LEFT JOIN ftPerson f ON f.Person_Id = p.Father_Id WHERE "
                                 "p.Person_Id IN (%1)"),
              ids, [&](const Query& q) {
                  TChartPersonRecord r;
                  r.Id = q.Text(0);
                  r.FatherId = q.Text(1);
                  r.MotherId = q.Text(2);
                  r.Gender = q.Text(3);
                  r.Name = q.Text(4);
                  r.ExpandedName = ComposeNameFatherLast(r.Name, q.Text(9), q.Bool(10), q.Text(5));
                  r.OrderByFather = int(q.Int(6));
                  r.OrderByMother = int(q.Int(7));
                  r.IsSection = q.Bool(8);
                  r.Birth = ReadDateColumnsAt(q, 11);
                  r.Death = ReadDateColumnsAt(q, 18);
                  persons.insert(ChartIdKey(r.Id), r);
              });
    QStringList men;
    QStringList others;
    for (const TChartPersonRecord& r : std::as_const(persons))
        (IsMaleGender(r.Gender) ? men : others) << r.Id;
    // A man's wives in the order of his marriages, a woman's husbands in the order of hers.
    const auto mates = [&](const QString& own, const QString& other, const QString& order,
                           const QStringList& list) {
        InBatches(
            QStringLiteral("SELECT r.%1, r.%2, r.split, p.gender, p.is_dead FROM ftRelation r JOIN ftPerson "
                           "p ON p.person_id = r.%2 WHERE r.relation_type = 0 AND r.%1 IN (%4) ORDER BY "
                           "r.%3, r.oid")
                .arg(own, other, order, QStringLiteral("%1")),
            list, [&](const Query& q) {
                auto it = persons.find(ChartIdKey(q.Text(0)));
                if (it != persons.end())
                    it->Mates.append({q.Text(1), QString(), q.Text(3), q.Bool(2), q.Bool(4)});
            });
    };
    mates(QStringLiteral("person_id_1"), QStringLiteral("person_id_2"), QStringLiteral("relation_order_2"),
          men);
    mates(QStringLiteral("person_id_2"), QStringLiteral("person_id_1"), QStringLiteral("relation_order_1"),
          others);
    return persons;
}

QHash<QString, QStringList> ReadChartChildren(const QList<std::pair<QString, bool>>& parentsAndMale) {
    QHash<QString, QStringList> children;
    if (!Dm().IsConnected())
        return children;
    QStringList fathers;
    QStringList mothers;
    for (const auto& [id, male] : parentsAndMale)
        (male ? fathers : mothers) << id;
    InBatches(QStringLiteral("SELECT Father_Id, Person_Id FROM ftPerson WHERE Father_Id IN (%1) "
                             "ORDER BY Order_By_Father, oid"),
              fathers, [&](const Query& q) { children[ChartIdKey(q.Text(0))] << q.Text(1); });
    InBatches(QStringLiteral("SELECT Mother_Id, Person_Id FROM ftPerson WHERE Mother_Id IN (%1) "
                             "ORDER BY Order_By_Mother, oid"),
              mothers, [&](const Query& q) { children[ChartIdKey(q.Text(0))] << q.Text(1); });
    return children;
}

} // namespace verdan
