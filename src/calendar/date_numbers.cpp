#include "date_numbers.h"

#include "date_convert.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace verdan {

namespace {

constexpr int64_t kMaxDateNumberYear = INT_MAX / 10000;

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Two characters: "" becomes "00", one digit gets a leading zero, longer texts keep their first two.
QString PadTwo(const QString& digits) {
    if (digits.isEmpty())
        return QStringLiteral("00");
    if (digits.size() == 1)
        return QLatin1Char('0') + digits;
    return digits.left(2);
}

// A part above its limit was most likely typed with a stray leading digit: keep the second one.
QString RepairPart(const QString& digits, int limit) {
    const bool above = digits.size() > 9 || digits.toInt() > limit;
    return above ? digits.mid(1, 1) : digits;
}

int TextToDateNumber(const QString& typed, bool gregorian) {
    const QString text = typed.trimmed();
    qsizetype i = text.size() - 1;
    // The run of digits ending at i; leaves i on the character before it.
    auto digitRunBack = [&]() {
        const qsizetype end = i;
        while (i >= 0 && IsDigit(text[i]))
            --i;
        return text.mid(i + 1, end - i);
    };
    QString year = digitRunBack();
    --i;
    QString month = i >= 0 ? digitRunBack() : QString();
    --i;
    QString day;
    for (qsizetype k = 0; k <= i; ++k) {
        if (IsDigit(text[k]))
            day += text[k];
    }
    if (gregorian) {
        year = year.left(4);
        month = RepairPart(month, 12);
        day = RepairPart(day, 31);
    }
    bool ok = false;
    const int n = (year + PadTwo(month) + PadTwo(day)).toInt(&ok);
    return ok ? n : 0;
}

int ReadPart(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

int GregorianMonthDays(int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

struct Parts {
    int64_t year = 0;
    int month = 0;
    int day = 0;
};

Parts PartsOf(int n) {
    const int64_t a = std::llabs(int64_t{n});
    return {a / 10000, static_cast<int>(a / 100 % 100), static_cast<int>(a % 100)};
}

} // namespace

int MakeDateNumber(int year, int month, int day) {
    const int64_t magnitude = std::llabs(int64_t{year});
    if (magnitude > kMaxDateNumberYear || month < 0 || month > 99 || day < 0 || day > 99)
        return 0;
    const int64_t n = magnitude * 10000 + month * 100 + day;
    if (n > INT_MAX)
        return 0;
    return year > 0 ? static_cast<int>(n) : -static_cast<int>(n);
}

void SplitDateNumber(int n, int& year, int& month, int& day) {
    const Parts p = PartsOf(n);
    year = static_cast<int>(p.year);
    month = p.month;
    day = p.day;
}

void ParseDateText(const QString& text, int& year, int& month, int& day) {
    QString yearText = text;
    QString monthText;
    QString dayText;
    const qsizetype last = text.lastIndexOf(u'-');
    if (last >= 0) {
        yearText = text.mid(last + 1);
        const qsizetype previous = last > 0 ? text.lastIndexOf(u'-', last - 1) : -1;
        if (previous < 0) {
            monthText = text.left(last);
        } else {
            monthText = text.mid(previous + 1, last - previous - 1);
            dayText = text.left(previous);
        }
    }
    year = ReadPart(yearText, 1);
    month = ReadPart(monthText, 0);
    day = ReadPart(dayText, 0);
}

int DateToDateNumber(const QDate& date) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (!DecodeDate(date, year, month, day) || year < 1)
        return 0;
    return MakeDateNumber(year, month, day);
}

QString DateNumberToText(int n, QChar separator) {
    if (n == 0)
        return {};
    const Parts p = PartsOf(n);
    return TwoDigits(p.day) + separator + TwoDigits(p.month) + separator + QString::number(p.year);
}

QString DateNumberToShortText(int n, QChar separator) {
    if (n == 0)
        return {};
    const Parts p = PartsOf(n);
    if (p.year == 0)
        return QString::number(std::llabs(int64_t{n}));
    QString text = QString::number(p.year);
    if (p.month != 0) {
        text = TwoDigits(p.month) + separator + text;
        if (p.day != 0)
            text = TwoDigits(p.day) + separator + text;
    }
    return text;
}

int GregorianTextToDateNumber(const QString& text) {
    return TextToDateNumber(text, true);
}

int HijriTextToDateNumber(const QString& text) {
    return TextToDateNumber(text, false);
}

void DateNumberDifference(int earlier, int later, DateSpan& span) {
    const Parts from = PartsOf(earlier);
    const Parts to = PartsOf(later);
    // The month before the later one lends its days; Gregorian lengths serve Hijri numbers as well.
    const int lender = to.month == 1 ? 12 : std::clamp(to.month - 1, 1, 12);
    const int lent = GregorianMonthDays(to.year, lender);

    int64_t years = to.year - from.year;
    int months = to.month - from.month;
    int days = to.day - from.day;
    if (days < 0) {
        days = to.day + lent - std::min(from.day, lent);
        --months;
    }
    while (months < 0) {
        months += 12;
        --years;
    }
    if (from.month == 0)
        months = 0;
    if (from.day == 0)
        days = 0;
    span.Years = static_cast<int>(years);
    span.Months = months;
    span.Days = days;
}

} // namespace verdan
