#include "date_columns.h"

namespace verdan {

const TDateColumns kBirthDateColumns{"ftPerson",        "date_of_birth_g", "date_of_birth_h",
                                     "birth_qualifier", "birth_date_2_g",  "birth_date_2_h",
                                     "birth_dual",      "birth_phrase"};
const TDateColumns kDeathDateColumns{"ftPerson",        "date_of_death_g", "date_of_death_h",
                                     "death_qualifier", "death_date_2_g",  "death_date_2_h",
                                     "death_dual",      "death_phrase"};
const TDateColumns kMarriageDateColumns{"ftRelation",         "relation_date_1",   "relation_date_1_h",
                                        "marriage_qualifier", "marriage_date_2_g", "marriage_date_2_h",
                                        "marriage_dual",      "marriage_phrase"};
const TDateColumns kDivorceDateColumns{"ftRelation",        "relation_date_2",  "relation_date_2_h",
                                       "divorce_qualifier", "divorce_date_2_g", "divorce_date_2_h",
                                       "divorce_dual",      "divorce_phrase"};
const TDateColumns kEventDateColumns{"ftEvents",       "event_date_g",   "event_date_h", "date_qualifier",
                                     "event_date_2_g", "event_date_2_h", "date_dual",    "date_phrase"};

namespace {

QString Name(const char* column) {
    return QString::fromLatin1(column);
}

int IntOf(const Query& q, const char* column) {
    return static_cast<int>(q.Int(Name(column)));
}

int YearOf(int number) {
    return number / 10000;
}

} // namespace

int DualMarks(const TDateValue& value) {
    return (value.DualYear > 0 ? 1 : 0) | (value.DualYear2 > 0 ? 2 : 0);
}

void ApplyDualMarks(int marks, TDateValue& value) {
    value.DualYear = (marks & 1) && value.Gregorian > 0 ? YearOf(value.Gregorian) - 1 : 0;
    value.DualYear2 = (marks & 2) && value.Gregorian2 > 0 ? YearOf(value.Gregorian2) - 1 : 0;
}

TDateValue ReadDateColumns(const Query& q, const TDateColumns& columns) {
    TDateValue value;
    value.Gregorian = IntOf(q, columns.Gregorian);
    value.Hijri = IntOf(q, columns.Hijri);
    value.Qualifier = QualifierOf(IntOf(q, columns.Qualifier));
    value.Gregorian2 = IntOf(q, columns.Gregorian2);
    value.Hijri2 = IntOf(q, columns.Hijri2);
    value.Phrase = q.Text(Name(columns.Phrase));
    ApplyDualMarks(IntOf(q, columns.Dual), value);
    return value;
}

QString DateColumnList(const TDateColumns& columns, const QString& prefix) {
    QStringList list;
    for (const char* column : {columns.Gregorian, columns.Hijri, columns.Qualifier, columns.Gregorian2,
                               columns.Hijri2, columns.Dual, columns.Phrase})
        list << (Dm().ColumnExists(Name(columns.Table), Name(column)) ? prefix + Name(column)
                                                                      : QStringLiteral("NULL"));
    return list.join(QStringLiteral(", "));
}

TDateValue ReadDateColumnsAt(const Query& q, int first) {
    TDateValue value;
    value.Gregorian = static_cast<int>(q.Int(first));
    value.Hijri = static_cast<int>(q.Int(first + 1));
    value.Qualifier = QualifierOf(static_cast<int>(q.Int(first + 2)));
    value.Gregorian2 = static_cast<int>(q.Int(first + 3));
    value.Hijri2 = static_cast<int>(q.Int(first + 4));
    value.Phrase = q.IsNull(first + 6) ? QString() : q.Text(first + 6);
    ApplyDualMarks(static_cast<int>(q.Int(first + 5)), value);
    return value;
}

bool MarriageHijriInDivorceColumn() {
    return Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM pragma_table_info('ftRelation', 'main') WHERE "
                                         "name = 'relation_date_1_h' COLLATE NOCASE")) == 0;
}

bool HasDateDetailColumns(const TDateColumns& columns) {
    return Dm().ColumnExists(Name(columns.Table), Name(columns.Phrase)) &&
           Dm().ColumnExists(Name(columns.Table), Name(columns.Hijri));
}

QString DateAssignments(const TDateColumns& columns, bool detail) {
    QString sets =
        Name(columns.Gregorian) + QStringLiteral(" = ?, ") + Name(columns.Hijri) + QStringLiteral(" = ?");
    if (detail) {
        for (const char* column :
             {columns.Qualifier, columns.Gregorian2, columns.Hijri2, columns.Dual, columns.Phrase})
            sets += QStringLiteral(", ") + Name(column) + QStringLiteral(" = ?");
    }
    return sets;
}

void BindDateColumns(Query& q, const TDateValue& value, bool detail) {
    const TDateValue v = NormalisedDate(value);
    q.Bind(v.Gregorian).Bind(v.Hijri);
    if (detail) {
        q.Bind(int(v.Qualifier)).Bind(v.Gregorian2).Bind(v.Hijri2).Bind(DualMarks(v));
        if (v.Phrase.isEmpty())
            q.Bind(nullptr);
        else
            q.Bind(v.Phrase);
    }
}

} // namespace verdan
