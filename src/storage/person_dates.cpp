#include "person_dates.h"

#include "storage/date_columns.h"
#include "storage/person_store.h"
#include "storage/sql_literals.h"

namespace verdan {

bool ReadPersonDates(const QString& personId, TPersonDates& dates) {
    dates = TPersonDates();
    if (personId.trimmed().isEmpty() || !Dm().IsConnected())
        return false;
    Query q = Dm().Prepare(QStringLiteral("SELECT * FROM ftPerson WHERE Person_Id = ?"), personId);
    if (!q.Next())
        return false;
    dates.Birth = ReadDateColumns(q, kBirthDateColumns);
    dates.Death = ReadDateColumns(q, kDeathDateColumns);
    return true;
}

TPersonDates PersonDatesOf(const TPerson& person) {
    TPersonDates dates;
    dates.Birth.Gregorian = person.Date_of_Birth_G;
    dates.Birth.Hijri = person.Date_of_Birth_H;
    dates.Death.Gregorian = person.Date_of_Death_G;
    dates.Death.Hijri = person.Date_of_Death_H;
    return dates;
}

bool WritePersonDateValues(const TPerson& person, const TPersonDates& dates) {
    if (person.Person_Id.trimmed().isEmpty())
        return false;
    const bool detail = HasDateDetailColumns(kBirthDateColumns);
    Query q = Dm().Prepare(
        QStringLiteral("UPDATE ftPerson SET ") + DateAssignments(kBirthDateColumns, detail) +
        QStringLiteral(", ") + DateAssignments(kDeathDateColumns, detail) +
        QStringLiteral(", Place_of_Birth = ?, Place_of_Death = ?, Is_Dead = ?, Date_Modified = ?, "
                       "User_Modified = ? WHERE Person_Id = ?"));
    BindDateColumns(q, dates.Birth, detail);
    BindDateColumns(q, dates.Death, detail);
    q.BindAll(person.Place_of_Birth, person.Place_of_Death, person.Is_Dead ? 1 : 0, NowStamp(),
              CurrentUserName(), person.Person_Id);
    return q.Exec() && q.Changes() > 0;
}

} // namespace verdan
