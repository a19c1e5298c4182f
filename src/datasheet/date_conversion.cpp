#include "date_conversion.h"

#include "calendar/calendar_names.h"
#include "calendar/date_convert.h"
#include "storage/person_store.h"
#include "text/localisation.h"

#include <cstdlib>

namespace verdan {

namespace {

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// "15 Ramadan (9) 1445", leaving out unknown parts, with the era word for a year 0 or less.
QString ShownDate(int day, int month, int year, const QString& monthName, const QString& era) {
    QStringList parts;
    if (day > 0)
        parts << QString::number(day);
    if (month > 0)
        parts << monthName + QStringLiteral(" (") + QString::number(month) + u')';
    parts << QString::number(std::abs(year));
    if (year <= 0)
        parts << Translate(era);
    return parts.join(u' ');
}

// A converted date in the box ("15-09-1445", era box checked for a year 0 or less) and in words.
TConvertedDate Converted(int day, int month, int year, const QString& monthName, const QString& era) {
    return {{TwoDigits(day) + u'-' + TwoDigits(month) + u'-' + QString::number(std::abs(year)), year <= 0},
            ShownDate(day, month, year, monthName, era)};
}

} // namespace

TConvertResult ConvertDateBox(const TDateBox& box, TCalendar from, TConvertedDate& result) {
    result = TConvertedDate();
    if (CheckDateBox(box, from) != TDateProblem::None)
        return TConvertResult::Invalid;
    const int n = ReadDateBox(box, from);
    if (n == 0)
        return TConvertResult::Empty;
    int year = 0;
    int month = 0;
    int day = 0;
    SplitDateNumber(n, year, month, day);
    if (n < 0)
        year = -year;

    MultiDate md;
    // The calendars report a part the typed date leaves unknown (0) as unknown.
    if (from == TCalendar::Gregorian) {
        if (!GregorianToHijri(year, month, day, md))
            return TConvertResult::Invalid;
        result = Converted(md.HDay, md.HMonth, md.HYear, Translate(HijriMonthNameEn(md.HMonth)),
                           QStringLiteral("B.h"));
    } else {
        if (!HijriToGregorian(year, month, day, md))
            return TConvertResult::Invalid;
        result = Converted(md.GDay, md.GMonth, md.GYear, Translate(GregorianMonthNameEn(md.GMonth)),
                           QStringLiteral("B.c"));
    }
    return TConvertResult::Converted;
}

TPairedDate PairDateBoxes(const TDateBox& typed, const TDateBox& before, const TDateBox& other,
                          TCalendar typedCalendar) {
    TPairedDate paired;
    const TCalendar otherCalendar =
        typedCalendar == TCalendar::Gregorian ? TCalendar::Hijri : TCalendar::Gregorian;
    const int number = ReadDateBox(typed, typedCalendar);
    if (typed == before || number == 0 || std::abs(number) % 100 == 0 || std::abs(number) / 100 % 100 == 0)
        return paired;
    TConvertedDate converted;
    if (ConvertDateBox(typed, typedCalendar, converted) != TConvertResult::Converted)
        return paired;
    paired.Conversion = converted.Box;
    const int otherNumber = ReadDateBox(other, otherCalendar);
    if (otherNumber == ReadDateBox(converted.Box, otherCalendar) && otherNumber != 0)
        return paired;
    // The other box held what the date before converted to.
    TConvertedDate previous;
    const bool derived = ConvertDateBox(before, typedCalendar, previous) == TConvertResult::Converted &&
                         ReadDateBox(previous.Box, otherCalendar) == otherNumber;
    // A year, or a month and year, that the conversion agrees with only gains its day.
    const int conversion = ReadDateBox(converted.Box, otherCalendar);
    const int otherMonth = std::abs(otherNumber) / 100 % 100;
    const bool completes = otherNumber != 0 && (otherNumber < 0) == (conversion < 0) &&
                           std::abs(otherNumber) / 10000 == std::abs(conversion) / 10000 &&
                           (otherMonth == 0 || otherMonth == std::abs(conversion) / 100 % 100) &&
                           std::abs(otherNumber) % 100 == 0;
    paired.Action =
        other.Text.trimmed().isEmpty() || derived || completes ? TPairedAction::Fill : TPairedAction::Ask;
    return paired;
}

QDate EstimatedDate(const QDate& today, const TDateEstimate& estimate) {
    if (!today.isValid() || estimate.Years < 0 || estimate.Months < 0 || estimate.Days < 0)
        return {};
    const qint64 months = qint64{estimate.Years} * 12 + estimate.Months;
    if (months > 12 * 10000)
        return {};
    const QDate date = today.addMonths(static_cast<int>(-months)).addDays(-qint64{estimate.Days});
    if (!date.isValid() || DateToDateNumber(date) <= 0)
        return {};
    return date;
}

bool EstimatedDateBoxes(const QDate& today, const TDateEstimate& estimate, TDateBox& gregorian,
                        TDateBox& hijri) {
    const QDate date = EstimatedDate(today, estimate);
    MultiDate md;
    if (!date.isValid() || !DateToHijri(md, date))
        return false;
    gregorian = {DateNumberToText(DateToDateNumber(date)), false};
    hijri = {QString::number(md.HDay) + u'-' + QString::number(md.HMonth) + u'-' +
                 QString::number(std::abs(md.HYear)),
             md.HYear <= 0};
    return true;
}

void EstimatedDateCaptions(const QDate& today, const TDateEstimate& estimate, QString& gregorian,
                           QString& hijri) {
    gregorian.clear();
    hijri.clear();
    const QDate date = EstimatedDate(today, estimate);
    MultiDate md;
    if (!date.isValid() || !DateToHijri(md, date))
        return;
    gregorian = Translate(WeekdayNameEn(WeekdayOf(date))) + u' ' +
                ShownDate(md.GDay, md.GMonth, md.GYear, Translate(GregorianMonthNameEn(md.GMonth)),
                          QStringLiteral("B.c"));
    hijri = QStringLiteral("    ") + ShownDate(md.HDay, md.HMonth, md.HYear,
                                               Translate(HijriMonthNameEn(md.HMonth)), QStringLiteral("B.h"));
}

TEstimateResult WriteEstimatedDates(const QString& personId, const TDateEstimate& birth,
                                    const TDateEstimate& death, const QDate& today) {
    TPerson person;
    if (!ReadPerson(personId, person))
        return TEstimateResult::NotWritten;
    TPersonDates dates = PersonDatesOf(person);
    ReadPersonDates(personId, dates);
    bool changed = false;
    // Both numbers of one event come from the same day, so the two calendars agree.
    auto estimate = [&](const TDateEstimate& e, int& g, int& h) {
        const QDate date = EstimatedDate(today, e);
        MultiDate md;
        if (!date.isValid() || !DateToHijri(md, date))
            return false;
        g = DateToDateNumber(date);
        h = MakeDateNumber(md.HYear, md.HMonth, md.HDay);
        changed = true;
        return true;
    };
    // Dates worked out from an estimate are marked so for whoever reads them.
    const auto calculated = [](int g, int h) {
        TDateValue value;
        value.Qualifier = TDateQualifier::Calculated;
        value.Gregorian = g;
        value.Hijri = h;
        return value;
    };
    if (birth.IsSet() && estimate(birth, person.Date_of_Birth_G, person.Date_of_Birth_H))
        dates.Birth = calculated(person.Date_of_Birth_G, person.Date_of_Birth_H);
    if (death.IsSet() && estimate(death, person.Date_of_Death_G, person.Date_of_Death_H)) {
        person.Is_Dead = true;
        dates.Death = calculated(person.Date_of_Death_G, person.Date_of_Death_H);
    }
    if (!changed)
        return TEstimateResult::NotWritten;
    if (FindDateConflict(person) != TDateConflict::None)
        return TEstimateResult::Contradiction;
    return WritePersonDateValues(person, dates) ? TEstimateResult::Written : TEstimateResult::NotWritten;
}

} // namespace verdan
