#include "date_value_gedcom.h"

#include "calendar/date_convert.h"
#include "calendar/date_numbers.h"

#include <QList>

namespace verdan {

namespace {

enum class Calendar { Gregorian, Julian, Hijri };

constexpr const char* kWesternMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* kHijriMonths[12] = {"MUHAR", "SAFAR", "RABIA", "RABIT", "JUMAA", "JUMAT",
                                          "RAJAB", "SHAAB", "RAMAD", "SHAWW", "DHUAQ", "DHUAH"};
constexpr qint64 kFirstGregorianDay = 2299161; // 15 October 1582
constexpr int kReformNumber = 15821015;

bool Is(QStringView word, const char* text) {
    return word.compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
}

// A run of 1 to max decimal digits, else -1.
int Digits(QStringView word, qsizetype max) {
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

int MonthNumber(QStringView word, Calendar calendar) {
    const auto& names = calendar == Calendar::Hijri ? kHijriMonths : kWesternMonths;
    for (int i = 0; i < 12; ++i)
        if (Is(word, names[i]))
            return i + 1;
    return 0;
}

// The Julian calendar as written, whatever the date: this program reckons Julian only before the reform.
qint64 JulianCalendarDay(qint64 year, int month, int day) {
    const qint64 a = (14 - month) / 12;
    const qint64 y = year + 4800 - a;
    const qint64 m = month + 12 * a - 3;
    const qint64 yearDays = 365 * y + (y >= 0 ? y / 4 : (y - 3) / 4);
    return day + (153 * m + 2) / 5 + yearDays - 32083;
}

int DaysInMonth(int year, int month, Calendar calendar) {
    switch (calendar) {
    case Calendar::Hijri:
        return 30; // the month lengths of the Hijri calendars are the converter's business
    case Calendar::Julian:
        return int(JulianCalendarDay(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1) -
                   JulianCalendarDay(year, month, 1));
    case Calendar::Gregorian:
        break;
    }
    int last = 31;
    while (last > 27 && EncodeDate(year, month, last).isNull())
        --last;
    return last;
}

struct OneDate {
    Calendar calendar = Calendar::Gregorian;
    int year = 0; // as written: positive, before the era when bc is set
    int month = 0;
    int day = 0;
    int dual = 0; // the year written before the slash; year then holds the later one
    bool bc = false;
};

// The words of a date value, an escape such as "@#DFRENCH R@" kept as one word.
QList<QStringView> Words(QStringView text) {
    QList<QStringView> words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        if (text.sliced(i).startsWith(QLatin1String("@#"))) {
            const qsizetype close = text.indexOf(u'@', i + 2);
            i = close < 0 ? text.size() : close + 1;
        } else {
            while (i < text.size() && !text[i].isSpace())
                ++i;
        }
        if (i > start)
            words.append(text.sliced(start, i - start));
    }
    return words;
}

bool IsBeforeEraWord(QStringView word) {
    return Is(word, "B.C.") || Is(word, "BC") || Is(word, "B.C") || Is(word, "BCE") || Is(word, "B.C.E.");
}

// "1637/38": the later year; false when the text is no year.
bool ReadYear(QStringView word, OneDate& date) {
    const qsizetype slash = word.indexOf(u'/');
    if (slash < 0) {
        date.year = Digits(word, 4);
        return date.year >= 1;
    }
    const int first = Digits(word.first(slash), 4);
    const QStringView after = word.sliced(slash + 1);
    const int second = Digits(after, 4);
    if (first < 1 || second < 0 || (after.size() != 2 && after.size() != 4))
        return false;
    int later = after.size() == 4 ? second : first - first % 100 + second;
    if (after.size() == 2 && later <= first)
        later += 100;
    // Only the old and the new style's years of one day, one apart, are a dual year.
    if (later != first + 1 || later > 9999)
        return false;
    date.dual = first;
    date.year = later;
    return true;
}

bool ReadOneDate(QList<QStringView> words, Calendar defaultCalendar, OneDate& date) {
    date = OneDate();
    date.calendar = defaultCalendar;
    if (!words.isEmpty() && words.front().startsWith(QLatin1String("@#D"), Qt::CaseInsensitive)) {
        const QStringView escape = words.front();
        if (!escape.endsWith(u'@'))
            return false;
        const QStringView name = escape.sliced(3, escape.size() - 4).trimmed();
        if (Is(name, "GREGORIAN"))
            date.calendar = Calendar::Gregorian;
        else if (Is(name, "JULIAN"))
            date.calendar = Calendar::Julian;
        else if (Is(name, "HIJRI"))
            date.calendar = Calendar::Hijri;
        else
            return false;
        words.removeFirst();
    }
    if (!words.isEmpty() && IsBeforeEraWord(words.back())) {
        date.bc = true;
        words.removeLast();
    }
    if (words.isEmpty() || words.size() > 3 || !ReadYear(words.back(), date))
        return false;
    if (date.bc && date.dual != 0)
        return false;
    if (date.dual != 0 && date.calendar == Calendar::Hijri)
        return false;
    if (words.size() >= 2) {
        date.month = MonthNumber(words[words.size() - 2], date.calendar);
        if (date.month == 0)
            return false;
    }
    if (words.size() == 3) {
        date.day = Digits(words[0], 2);
        const int year = date.bc ? -date.year : date.year;
        if (date.day < 1 || date.day > DaysInMonth(year, date.month, date.calendar))
            return false;
    }
    return true;
}

// The date number of a date read, in the column of its calendar; Julian dates from the reform on become
// Gregorian ones.
int NumberOf(const OneDate& date, bool& hijri) {
    hijri = date.calendar == Calendar::Hijri;
    int year = date.bc ? -date.year : date.year;
    int month = date.month;
    int day = date.day;
    if (date.calendar == Calendar::Julian && month != 0) {
        const qint64 jd = JulianCalendarDay(year, month, day == 0 ? 15 : day);
        if (jd >= kFirstGregorianDay) {
            int d = 0;
            CalendarDateOfJulianDay(jd, year, month, d);
            day = day == 0 ? 0 : d;
        }
    }
    return MakeDateNumber(year, month, day);
}

void Store(const OneDate& date, int& gregorian, int& hijri, int& dual) {
    bool isHijri = false;
    const int number = NumberOf(date, isHijri);
    (isHijri ? hijri : gregorian) = number;
    dual = isHijri ? 0 : date.dual;
}

TDateValue KeptAsWritten(QStringView text) {
    TDateValue value;
    value.Qualifier = TDateQualifier::Text;
    value.Phrase = text.toString();
    return value;
}

QString OneDateText(int number, int dual, bool hijri) {
    int year, month, day;
    SplitDateNumber(number, year, month, day);
    QString text;
    if (!hijri && (number < 0 || number < kReformNumber))
        text = QStringLiteral("@#DJULIAN@ ");
    if (month >= 1 && month <= 12) {
        if (day > 0)
            text += QString::number(day) + u' ';
        text += QLatin1String(hijri ? kHijriMonths[month - 1] : kWesternMonths[month - 1]) + u' ';
    }
    if (dual > 0 && number > 0)
        text += QString::number(dual) + u'/' + QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0'));
    else
        text += QString::number(year);
    if (number < 0)
        text += QStringLiteral(" B.C.");
    return text;
}

// The Gregorian number of a Julian day, at the precision asked: the day, or its year alone.
int GregorianNumberOfDay(qint64 julianDay, bool yearOnly) {
    int year, month, day;
    CalendarDateOfJulianDay(julianDay, year, month, day);
    return yearOnly ? MakeDateNumber(year, 0, 0) : MakeDateNumber(year, month, day);
}

bool IsYearOnly(int number) {
    return number != 0 && number % 10000 == 0;
}

} // namespace

TDateValue ReadGedcomDate(QStringView text, bool hijri) {
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return {};
    TDateValue value;
    if (t.startsWith(u'(') && t.endsWith(u')')) {
        value.Qualifier = TDateQualifier::Phrase;
        value.Phrase = t.sliced(1, t.size() - 2).trimmed().toString();
        return value;
    }
    QStringView dates = t;
    QList<QStringView> words = Words(t);
    QStringView first = words.front();
    if (first.endsWith(u'.') && first.size() > 2)
        first.chop(1);
    TDateQualifier qualifier = TDateQualifier::Exact;
    if (Is(first, "ABT") || Is(first, "ABOUT") || Is(first, "CIRCA"))
        qualifier = TDateQualifier::About;
    else if (Is(first, "CAL"))
        qualifier = TDateQualifier::Calculated;
    else if (Is(first, "EST"))
        qualifier = TDateQualifier::Estimated;
    else if (Is(first, "BEF") || Is(first, "BEFORE"))
        qualifier = TDateQualifier::Before;
    else if (Is(first, "AFT") || Is(first, "AFTER"))
        qualifier = TDateQualifier::After;
    else if (Is(first, "BET") || Is(first, "BETWEEN"))
        qualifier = TDateQualifier::Between;
    else if (Is(first, "FROM"))
        qualifier = TDateQualifier::From;
    else if (Is(first, "TO"))
        qualifier = TDateQualifier::To;
    else if (Is(first, "INT"))
        qualifier = TDateQualifier::Interpreted;
    if (qualifier == TDateQualifier::Interpreted) {
        const qsizetype open = t.indexOf(u'(');
        if (open >= 0) {
            if (!t.endsWith(u')'))
                return KeptAsWritten(t);
            value.Phrase = t.sliced(open + 1, t.size() - open - 2).trimmed().toString();
            dates = t.first(open);
            words = Words(dates);
        }
    }
    if (qualifier != TDateQualifier::Exact)
        words.removeFirst();
    // The second date of a range follows its joining word.
    QList<QStringView> second;
    const char* joint = qualifier == TDateQualifier::Between ? "AND"
                        : qualifier == TDateQualifier::From  ? "TO"
                                                             : nullptr;
    if (joint) {
        for (qsizetype i = 0; i < words.size(); ++i) {
            if (Is(words[i], joint)) {
                second = words.sliced(i + 1);
                words = words.first(i);
                if (qualifier == TDateQualifier::From)
                    qualifier = TDateQualifier::FromTo;
                break;
            }
        }
        if (qualifier == TDateQualifier::Between && second.isEmpty())
            return KeptAsWritten(t);
    }
    const Calendar calendar = hijri ? Calendar::Hijri : Calendar::Gregorian;
    OneDate date;
    if (!ReadOneDate(words, calendar, date))
        return KeptAsWritten(t);
    value.Qualifier = qualifier;
    Store(date, value.Gregorian, value.Hijri, value.DualYear);
    if (IsRangeQualifier(qualifier)) {
        if (!ReadOneDate(second, calendar, date))
            return KeptAsWritten(t);
        Store(date, value.Gregorian2, value.Hijri2, value.DualYear2);
    }
    if (!HasDateNumbers(value))
        return KeptAsWritten(t);
    return value;
}

QString GedcomDateText(const TDateValue& value, bool hijri) {
    if (value.Qualifier == TDateQualifier::Phrase)
        return u'(' + value.Phrase + u')';
    if (value.Qualifier == TDateQualifier::Text)
        return value.Phrase;
    const int first = hijri ? value.Hijri : value.Gregorian;
    if (first == 0)
        return {};
    const int second = hijri ? value.Hijri2 : value.Gregorian2;
    const QString a = OneDateText(first, hijri ? 0 : value.DualYear, hijri);
    const QString b = second == 0 ? QString() : OneDateText(second, hijri ? 0 : value.DualYear2, hijri);
    if (value.Qualifier == TDateQualifier::Interpreted)
        return QStringLiteral("INT ") + a + QStringLiteral(" (") + value.Phrase + u')';
    return QualifiedGedcomDate(value.Qualifier, a, b);
}

QString QualifiedGedcomDate(TDateQualifier qualifier, const QString& a, const QString& b) {
    switch (qualifier) {
    case TDateQualifier::About:
        return QStringLiteral("ABT ") + a;
    case TDateQualifier::Calculated:
        return QStringLiteral("CAL ") + a;
    case TDateQualifier::Estimated:
        return QStringLiteral("EST ") + a;
    case TDateQualifier::Before:
        return QStringLiteral("BEF ") + a;
    case TDateQualifier::After:
        return QStringLiteral("AFT ") + a;
    case TDateQualifier::Between:
        // Without its end a range only says when it begins.
        return b.isEmpty() ? QStringLiteral("AFT ") + a
                           : QStringLiteral("BET ") + a + QStringLiteral(" AND ") + b;
    case TDateQualifier::From:
        return QStringLiteral("FROM ") + a;
    case TDateQualifier::To:
        return QStringLiteral("TO ") + a;
    case TDateQualifier::FromTo:
        return b.isEmpty() ? QStringLiteral("FROM ") + a
                           : QStringLiteral("FROM ") + a + QStringLiteral(" TO ") + b;
    case TDateQualifier::Exact:
    case TDateQualifier::Interpreted:
    case TDateQualifier::Phrase:
    case TDateQualifier::Text:
        break;
    }
    return a;
}

TDateValue GregorianStandIn(const TDateValue& value) {
    if (value.Qualifier == TDateQualifier::Phrase || value.Qualifier == TDateQualifier::Text)
        return value;
    TDateValue out;
    out.Qualifier = value.Qualifier;
    out.Phrase = value.Phrase;
    TDayRange first;
    if (!DayRangeOfNumber(value.Hijri, true, first))
        return {};
    const bool yearOnly = IsYearOnly(value.Hijri);
    const int start = GregorianNumberOfDay(first.First, yearOnly);
    const int end = GregorianNumberOfDay(first.Last, yearOnly);
    switch (value.Qualifier) {
    case TDateQualifier::Exact:
    case TDateQualifier::Interpreted:
        out.Gregorian = start;
        if (start != end) {
            out.Qualifier = TDateQualifier::Between;
            out.Gregorian2 = end;
        }
        break;
    case TDateQualifier::About:
    case TDateQualifier::Calculated:
    case TDateQualifier::Estimated: {
        // The middle of the Hijri month or year, at its precision.
        const qint64 middle = first.First + (first.Last - first.First) / 2;
        out.Gregorian = GregorianNumberOfDay(middle, yearOnly);
        if (!yearOnly && first.First != first.Last)
            out.Gregorian -= out.Gregorian % 100;
        break;
    }
    case TDateQualifier::Before:
    case TDateQualifier::From:
        out.Gregorian = GregorianNumberOfDay(first.First, false);
        break;
    case TDateQualifier::After:
    case TDateQualifier::To:
        out.Gregorian = GregorianNumberOfDay(first.Last, false);
        break;
    case TDateQualifier::Between:
    case TDateQualifier::FromTo: {
        out.Gregorian = start;
        TDayRange second;
        if (DayRangeOfNumber(value.Hijri2, true, second))
            out.Gregorian2 = GregorianNumberOfDay(second.Last, yearOnly && IsYearOnly(value.Hijri2));
        if (out.Gregorian2 != 0 && yearOnly != IsYearOnly(value.Hijri2))
            out.Gregorian = GregorianNumberOfDay(first.First, false);
        break;
    }
    case TDateQualifier::Phrase:
    case TDateQualifier::Text:
        break;
    }
    return out;
}

} // namespace verdan
