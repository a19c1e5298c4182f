#include "gedcom_date.h"

#include "calendar/date_convert.h"
#include "calendar/date_numbers.h"
#include "text/localisation.h"

#include <QStringList>
#include <QVarLengthArray>
#include <utility>

namespace verdan {

namespace {

enum class Calendar { Gregorian, Julian, Hijri };

constexpr const char* kWesternMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* kHijriMonths[12] = {"MUHAR", "SAFAR", "RABIA", "RABIT", "JUMAA", "JUMAT",
                                          "RAJAB", "SHAAB", "RAMAD", "SHAWW", "DHUAQ", "DHUAH"};

int MonthNumber(QStringView word, Calendar calendar) {
    const auto& names = calendar == Calendar::Hijri ? kHijriMonths : kWesternMonths;
    for (int i = 0; i < 12; ++i)
        if (word.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

// A run of 1 to max decimal digits, else -1.
int Digits(QStringView word, int max) {
    if (word.isEmpty() || word.size() > max)
        return -1;
    int n = 0;
    for (QChar c : word) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

int DaysInMonth(int year, int month, Calendar calendar) {
    if (calendar == Calendar::Hijri)
        return 30; // the tabular calendar's month lengths are the converter's business
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month != 2)
        return kDays[month - 1];
    const bool leap =
        calendar == Calendar::Julian ? year % 4 == 0 : (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
}

QVarLengthArray<QStringView, 4> Words(QStringView text) {
    QVarLengthArray<QStringView, 4> words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !text[i].isSpace())
            ++i;
        if (i > start)
            words.append(text.sliced(start, i - start));
    }
    return words;
}

// The qualifiers and joining words of GEDCOM dates, as the notes say them.
const char* QualifierWord(QStringView word) {
    static const std::pair<const char*, const char*> kWords[] = {
        {"ABT", "about"}, {"CAL", "calculated"},  {"EST", "estimated"}, {"BEF", "before"},
        {"AFT", "after"}, {"BET", "between"},     {"AND", "and"},       {"FROM", "from"},
        {"TO", "to"},     {"INT", "interpreted"},
    };
    for (const auto& [tag, text] : kWords)
        if (word.compare(QLatin1String(tag), Qt::CaseInsensitive) == 0)
            return text;
    return nullptr;
}

} // namespace

QString ReadableGedcomDate(QStringView text) {
    QStringList out;
    QString escape; // the calendar escape that applies to the date words that follow
    QStringList pending;
    const auto flush = [&] {
        if (pending.isEmpty())
            return;
        const QString words = pending.join(u' ');
        const TVerdan_Date date = ParseGedcomDate(QString(escape + u' ' + words));
        if (date.Number > 0)
            out << DateNumberToShortText(date.Number) + u' ' +
                       TranslateContext(date.Calendar == TGedCalendar::Hijri ? QStringLiteral("AH")
                                                                             : QStringLiteral("AD"),
                                        QStringLiteral("gedcom_date"));
        else
            out << words;
        pending.clear();
    };
    QStringView rest = text.trimmed();
    while (!rest.isEmpty()) {
        if (rest.startsWith(QLatin1String("@#D"), Qt::CaseInsensitive)) {
            const qsizetype close = rest.indexOf(u'@', 3);
            flush();
            escape = (close < 0 ? rest : rest.first(close + 1)).toString();
            rest = close < 0 ? QStringView() : rest.sliced(close + 1).trimmed();
            continue;
        }
        if (rest.startsWith(u'(')) {
            flush();
            out << rest.toString();
            break;
        }
        qsizetype end = 0;
        while (end < rest.size() && !rest[end].isSpace())
            ++end;
        const QStringView word = rest.first(end);
        if (const char* qualifier = QualifierWord(word)) {
            flush();
            escape.clear();
            out << TranslateContext(QString::fromLatin1(qualifier), QStringLiteral("gedcom_date"));
        } else {
            pending << word.toString();
        }
        rest = rest.sliced(end).trimmed();
    }
    flush();
    return out.join(u' ');
}

void JulianToGregorian(int& year, int& month, int& day) {
    if (month == 0)
        return; // a bare year is the same year in both calendars but for a few days
    const int d = day == 0 ? 15 : day;
    const int a = (14 - month) / 12;
    const qint64 y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    const qint64 jd = d + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
    const qint64 b = jd + 32044;
    const qint64 c = (4 * b + 3) / 146097;
    const qint64 e = b - 146097 * c / 4;
    const qint64 f = (4 * e + 3) / 1461;
    const qint64 g = e - 1461 * f / 4;
    const qint64 h = (5 * g + 2) / 153;
    const int newDay = int(g - (153 * h + 2) / 5 + 1);
    month = int(h + 3 - 12 * (h / 10));
    year = int(100 * c + f - 4800 + h / 10);
    day = day == 0 ? 0 : newDay;
}

TVerdan_Date ParseGedcomDate(QStringView text) {
    TVerdan_Date result;
    QStringView rest = text.trimmed();
    bool approximate = false;
    for (const char* qualifier : {"ABT", "CAL", "EST"}) {
        if (rest.startsWith(QLatin1String(qualifier), Qt::CaseInsensitive) && rest.size() > 3 &&
            rest[3].isSpace()) {
            approximate = true;
            rest = rest.sliced(3).trimmed();
            break;
        }
    }
    Calendar calendar = Calendar::Gregorian;
    if (rest.startsWith(QLatin1String("@#D"), Qt::CaseInsensitive)) {
        const qsizetype close = rest.indexOf(u'@', 3);
        if (close < 0)
            return result;
        const QStringView escape = rest.sliced(3, close - 3).trimmed();
        if (escape.compare(QLatin1String("JULIAN"), Qt::CaseInsensitive) == 0)
            calendar = Calendar::Julian;
        else if (escape.compare(QLatin1String("HIJRI"), Qt::CaseInsensitive) == 0)
            calendar = Calendar::Hijri;
        else if (escape.compare(QLatin1String("GREGORIAN"), Qt::CaseInsensitive) != 0)
            return result;
        rest = rest.sliced(close + 1);
    }
    if (calendar == Calendar::Hijri)
        result.Calendar = TGedCalendar::Hijri;

    const auto words = Words(rest);
    if (words.isEmpty() || words.size() > 3)
        return result;
    int year = Digits(words.last(), 4);
    if (year < 1)
        return result;
    int month = 0;
    int day = 0;
    if (words.size() >= 2) {
        month = MonthNumber(words[words.size() - 2], calendar);
        if (month == 0)
            return result;
    }
    if (words.size() == 3) {
        day = Digits(words[0], 2);
        if (day < 1 || day > DaysInMonth(year, month, calendar))
            return result;
    }
    if (approximate) {
        month = 0;
        day = 0;
    }
    if (calendar == Calendar::Julian) {
        // The Gregorian columns hold Julian dates before the reform, as history records them; only later
        // Julian dates (used in some countries for centuries after) need converting.
        int y = year, m = month, d = day;
        JulianToGregorian(y, m, d);
        if (y * 10000 + m * 100 + d >= 15821015)
            year = y, month = m, day = d;
    }
    if (year < 1 || year > 9999)
        return result;
    result.Number = year * 10000 + month * 100 + day;
    return result;
}

TGedDatePair GedcomDateInBothCalendars(const TVerdan_Date& date) {
    TGedDatePair pair;
    if (date.Number <= 0)
        return pair;
    int year, month, day;
    SplitDateNumber(date.Number, year, month, day);
    MultiDate converted;
    if (date.Calendar == TGedCalendar::Hijri) {
        pair.Hijri = date.Number;
        if (HijriToGregorian(year, month, day, converted))
            pair.Gregorian = MakeDateNumber(converted.GYear, converted.GMonth, converted.GDay);
    } else {
        pair.Gregorian = date.Number;
        if (GregorianToHijri(year, month, day, converted))
            pair.Hijri = MakeDateNumber(converted.HYear, converted.HMonth, converted.HDay);
    }
    return pair;
}

} // namespace verdan
