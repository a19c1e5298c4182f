#include "date_boxes.h"

#include "calendar/date_convert.h"
#include "datasheet/date_value_boxes.h"
#include "storage/gender_code.h"
#include "text/bidi_text.h"
#include "text/counted_nouns.h"
#include "text/localisation.h"
#include "text/typed_numbers.h"

#include <algorithm>
#include <cstdlib>

namespace verdan {

namespace {

struct SignedParts {
    int year = 0; // astronomical: 0 and below before the era
    int month = 0;
    int day = 0;
};

SignedParts PartsOf(int n) {
    SignedParts p;
    SplitDateNumber(n, p.year, p.month, p.day);
    if (n < 0)
        p.year = -p.year;
    return p;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// The known parts of a span with their nouns: years (of the Hijri calendar when it was counted in it), then
// months and days while the ones before are known.
QList<std::pair<qint64, TCountedNoun>> SpanParts(const DateSpan& span, bool daysToo, bool hijri) {
    QList<std::pair<qint64, TCountedNoun>> parts;
    if (span.Years < 1)
        return parts;
    parts.append({span.Years, hijri ? TCountedNoun::HijriYears : TCountedNoun::Years});
    if (span.Months < 1)
        return parts;
    parts.append({span.Months, TCountedNoun::Months});
    if (daysToo && span.Days >= 1)
        parts.append({span.Days, TCountedNoun::Days});
    return parts;
}

// "Born 3 years, 2 months ago" and its kin: the longest form whose parts are all known, each number with
// its noun counted as the interface language counts it.
QString SpanText(const DateSpan& span, bool feminine, bool hijri, const char* verb) {
    const QList<std::pair<qint64, TCountedNoun>> parts = SpanParts(span, true, hijri);
    if (parts.isEmpty())
        return {};
    static const char* const kShapes[] = {" %* ago", " %*, %* ago", " %*, %*, %* ago"};
    return CountedSentence(QString::fromLatin1(verb) + QString::fromLatin1(kShapes[parts.size() - 1]),
                           feminine, parts);
}

// The number a span counts from: the Gregorian one when it lies in the era, else the Hijri one, each
// with today's number of its calendar; `inHijri` tells which.
bool SpanStart(int gregorian, int hijri, int todayG, int todayH, int& from, int& to, bool& inHijri) {
    inHijri = false;
    if (gregorian > 0) {
        from = gregorian;
        to = todayG;
        return true;
    }
    if (hijri != 0) {
        from = hijri;
        to = todayH;
        inHijri = true;
        return true;
    }
    return false;
}

// Day, month and year as typed, and what keeps them from being a day of their calendar.
struct TypedDate {
    TDateProblem problem = TDateProblem::None;
    int year = 0;
    int month = 0;
    int day = 0;
    int lastDay = 0;    // the days of the month (or of the longest month when it is unknown)
    bool inGap = false; // one of the days the Gregorian calendar skipped
};

bool IsSeparator(QChar c) {
    return c == u'-' || c == u'/' || c == u'.' || c == u'\\' || c == u',' || c == QChar(0x060C);
}

// The digit runs of the text, as long as what lies between them is one separator or blanks.
bool SplitParts(const QString& text, QStringList& parts) {
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype start = i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
            ++i;
        if (i == start)
            return false;
        parts << text.mid(start, i - start);
        if (i == text.size())
            break;
        int separators = 0;
        while (i < text.size() && (text[i].isSpace() || IsSeparator(text[i]))) {
            separators += IsSeparator(text[i]) ? 1 : 0;
            ++i;
        }
        if (separators > 1 || i == text.size())
            return false;
    }
    return !parts.isEmpty() && parts.size() <= 3;
}

TypedDate ParseDateBox(const TDateBox& box, TCalendar calendar) {
    TypedDate date;
    const QString text = NormaliseDigits(box.Text).trimmed();
    // Separators alone are no date, nor the start of one.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace() || IsSeparator(c); }))
        return date;
    QStringList parts;
    if (!SplitParts(text, parts)) {
        date.problem = TDateProblem::Unreadable;
        return date;
    }
    const auto number = [](const QString& digits) {
        return digits.size() > 6 ? 1000000 : digits.toInt();
    };
    date.year = number(parts.last());
    date.month = parts.size() >= 2 ? number(parts[parts.size() - 2]) : 0;
    date.day = parts.size() == 3 ? number(parts[0]) : 0;
    if (date.year < 1 || date.year > 9999) {
        date.problem = TDateProblem::NoSuchYear;
        return date;
    }
    if (date.month > 12) {
        date.problem = TDateProblem::NoSuchMonth;
        return date;
    }
    // Years before the era count back from it, as the conversions take them.
    const int year = box.BeforeEra ? -date.year : date.year;
    if (calendar == TCalendar::Hijri) {
        date.lastDay = date.month == 0 ? 30 : HijriMonthDays(year, date.month);
    } else if (date.month == 0) {
        date.lastDay = 31;
    } else {
        date.lastDay = 31;
        while (date.lastDay > 28 && EncodeDate(year, date.month, date.lastDay).isNull())
            --date.lastDay;
        date.inGap = year == 1582 && date.month == 10 && date.day > 4 && date.day < 15;
    }
    if (date.day > date.lastDay || date.inGap)
        date.problem = TDateProblem::NoSuchDay;
    return date;
}

} // namespace

TDateBox DateBoxOf(int dateNumber) {
    return {DateNumberToText(dateNumber), dateNumber < 0};
}

TDateBoxes DateBoxesOf(const TPerson& person, const TPersonDates& dates) {
    TDateBoxes boxes = DateBoxesOf(person);
    boxes.BirthDetail = DateDetailBoxesOf(dates.Birth);
    boxes.DeathDetail = DateDetailBoxesOf(dates.Death);
    return boxes;
}

TDateBoxes DateBoxesOf(const TPerson& person) {
    TDateBoxes boxes;
    boxes.BirthG = DateBoxOf(person.Date_of_Birth_G);
    boxes.BirthH = DateBoxOf(person.Date_of_Birth_H);
    boxes.DeathG = DateBoxOf(person.Date_of_Death_G);
    boxes.DeathH = DateBoxOf(person.Date_of_Death_H);
    boxes.Place_of_Birth = person.Place_of_Birth;
    boxes.Place_of_Death = person.Place_of_Death;
    boxes.Is_Dead = person.Is_Dead;
    return boxes;
}

TDateProblem CheckDateBox(const TDateBox& box, TCalendar calendar) {
    return ParseDateBox(box, calendar).problem;
}

int ReadDateBox(const TDateBox& box, TCalendar calendar) {
    const TypedDate date = ParseDateBox(box, calendar);
    if (date.problem != TDateProblem::None || date.year == 0)
        return 0;
    const int n = MakeDateNumber(date.year, date.month, date.day);
    return box.BeforeEra ? -n : n;
}

QString DateBoxCaption(TDateBoxId id) {
    const bool birth = id == TDateBoxId::BirthG || id == TDateBoxId::BirthH || id == TDateBoxId::BirthG2 ||
                       id == TDateBoxId::BirthH2;
    const bool gregorian = id == TDateBoxId::BirthG || id == TDateBoxId::DeathG ||
                           id == TDateBoxId::BirthG2 || id == TDateBoxId::DeathG2;
    const bool second = id >= TDateBoxId::BirthG2;
    QString caption = Translate(birth ? QStringLiteral("Birth Date") : QStringLiteral("Death Date"));
    if (second)
        caption += QStringLiteral(", ") + Translate(QStringLiteral("Second date"));
    return caption + QStringLiteral(" (") +
           Translate(gregorian ? QStringLiteral("Gregorian") : QStringLiteral("Hijri")) + u')';
}

std::optional<TDateBoxProblem> FindDateProblem(const TDateBoxes& loaded, const TDateBoxes& edited) {
    // The second dates are read only for a range.
    const bool birth2 = ShowsSecondDate(edited.BirthDetail.Qualifier);
    const bool death2 = ShowsSecondDate(edited.DeathDetail.Qualifier);
    const struct {
        TDateBoxId id;
        bool read;
        const TDateBox& was;
        const TDateBox& is;
        TCalendar calendar;
    } boxes[] = {
        {TDateBoxId::BirthG, true, loaded.BirthG, edited.BirthG, TCalendar::Gregorian},
        {TDateBoxId::BirthH, true, loaded.BirthH, edited.BirthH, TCalendar::Hijri},
        {TDateBoxId::DeathG, true, loaded.DeathG, edited.DeathG, TCalendar::Gregorian},
        {TDateBoxId::DeathH, true, loaded.DeathH, edited.DeathH, TCalendar::Hijri},
        {TDateBoxId::BirthG2, birth2, loaded.BirthDetail.Gregorian2, edited.BirthDetail.Gregorian2,
         TCalendar::Gregorian},
        {TDateBoxId::BirthH2, birth2, loaded.BirthDetail.Hijri2, edited.BirthDetail.Hijri2, TCalendar::Hijri},
        {TDateBoxId::DeathG2, death2, loaded.DeathDetail.Gregorian2, edited.DeathDetail.Gregorian2,
         TCalendar::Gregorian},
        {TDateBoxId::DeathH2, death2, loaded.DeathDetail.Hijri2, edited.DeathDetail.Hijri2, TCalendar::Hijri},
    };
    for (const auto& box : boxes) {
        if (!box.read || box.is == box.was)
            continue;
        const TDateProblem problem = CheckDateBox(box.is, box.calendar);
        if (problem != TDateProblem::None)
            return TDateBoxProblem{box.id, problem, box.is.Text.trimmed()};
    }
    return std::nullopt;
}

namespace {

QString ProblemText(const QString& caption, const QString& text, const TypedDate& date,
                    TDateProblem problem) {
    QString reason;
    switch (problem) {
    case TDateProblem::None:
        return {};
    case TDateProblem::Unreadable:
        reason = Translate(QStringLiteral("type the day, the month and the year, such as 15-03-1445"));
        break;
    case TDateProblem::NoSuchYear:
        reason = Translate(QStringLiteral("the year must lie between 1 and 9999"));
        break;
    case TDateProblem::NoSuchMonth:
        reason = Translate(QStringLiteral("a year has 12 months"));
        break;
    case TDateProblem::NoSuchDay:
        if (date.inGap)
            reason =
                Translate(QStringLiteral("the days from 5 to 14 October 1582 do not exist in the Gregorian "
                                         "calendar"));
        else if (date.month == 0)
            reason = FillPattern(Translate(QStringLiteral("a month has at most %# days")),
                                 {QString::number(date.lastDay)});
        else
            reason = FillPattern(Translate(QStringLiteral("this month has %# days")),
                                 {QString::number(date.lastDay)});
        break;
    }
    return FillPattern(Translate(QStringLiteral("%*: \"%*\" is not a date: %*.")),
                       {caption, IsolateLtr(text), reason});
}

} // namespace

QString DateProblemText(const TDateBoxProblem& problem) {
    const bool gregorian = problem.Box == TDateBoxId::BirthG || problem.Box == TDateBoxId::DeathG ||
                           problem.Box == TDateBoxId::BirthG2 || problem.Box == TDateBoxId::DeathG2;
    const TypedDate date =
        ParseDateBox({problem.Text, false}, gregorian ? TCalendar::Gregorian : TCalendar::Hijri);
    return ProblemText(DateBoxCaption(problem.Box), problem.Text, date, problem.Problem);
}

QString DateBoxProblemText(const QString& caption, const TDateBox& box, TCalendar calendar) {
    const TypedDate date = ParseDateBox(box, calendar);
    return ProblemText(caption, box.Text.trimmed(), date, date.problem);
}

void ApplyDateBoxes(const TDateBoxes& boxes, TPerson& person) {
    person.Date_of_Birth_G = ReadDateBox(boxes.BirthG, TCalendar::Gregorian);
    person.Date_of_Birth_H = ReadDateBox(boxes.BirthH, TCalendar::Hijri);
    person.Date_of_Death_G = ReadDateBox(boxes.DeathG, TCalendar::Gregorian);
    person.Date_of_Death_H = ReadDateBox(boxes.DeathH, TCalendar::Hijri);
    person.Place_of_Birth = boxes.Place_of_Birth;
    person.Place_of_Death = boxes.Place_of_Death;
    person.Is_Dead = boxes.Is_Dead;
}

int CompareDateNumbers(int a, int b) {
    const SignedParts x = PartsOf(a);
    const SignedParts y = PartsOf(b);
    if (x.year != y.year)
        return Sign(x.year - y.year);
    if (x.month == 0 || y.month == 0)
        return 0;
    if (x.month != y.month)
        return Sign(x.month - y.month);
    if (x.day == 0 || y.day == 0)
        return 0;
    return Sign(x.day - y.day);
}

DateSpan SignedDateDifference(int earlier, int later) {
    SignedParts from = PartsOf(earlier);
    SignedParts to = PartsOf(later);
    // A part unknown on either side counts nothing, nor does any smaller part, and borrows nothing: a
    // death in an unknown month says nothing of months and days.
    if (from.month == 0 || to.month == 0)
        from.month = to.month = 0;
    if (from.month == 0 || from.day == 0 || to.day == 0)
        from.day = to.day = 0;
    // Both years are moved into the era by the same amount; the difference stays what it was.
    const int shift = std::max(0, 1 - std::min(from.year, to.year));
    DateSpan span;
    DateNumberDifference(MakeDateNumber(from.year + shift, from.month, from.day),
                         MakeDateNumber(to.year + shift, to.month, to.day), span);
    return span;
}

TDateConflict FindDateConflict(int birthG, int deathG, int birthH, int deathH) {
    if (birthG != 0 && deathG != 0 && CompareDateNumbers(deathG, birthG) < 0)
        return TDateConflict::Gregorian;
    if (birthH != 0 && deathH != 0 && CompareDateNumbers(deathH, birthH) < 0)
        return TDateConflict::Hijri;
    return TDateConflict::None;
}

TDateConflict FindDateConflict(const TPerson& person) {
    return FindDateConflict(person.Date_of_Birth_G, person.Date_of_Death_G, person.Date_of_Birth_H,
                            person.Date_of_Death_H);
}

TDateConflict FindDateConflict(const TDateBoxes& boxes) {
    TPerson dates;
    ApplyDateBoxes(boxes, dates);
    return FindDateConflict(dates);
}

QString DateConflictText(const TDateBoxes& boxes, TDateConflict conflict) {
    const auto typed = [](const TDateBox& box, const char* era) {
        const QString text = IsolateLtr(box.Text.trimmed());
        return box.BeforeEra ? text + u' ' + Translate(QString::fromLatin1(era)) : text;
    };
    switch (conflict) {
    case TDateConflict::None:
        return {};
    case TDateConflict::Gregorian:
        return FillPattern(
            Translate(QStringLiteral("The Gregorian death date %* lies before the birth date %*.")),
            {typed(boxes.DeathG, "B.c"), typed(boxes.BirthG, "B.c")});
    case TDateConflict::Hijri:
        return FillPattern(
            Translate(QStringLiteral("The Hijri death date %* lies before the birth date %*.")),
            {typed(boxes.DeathH, "B.h"), typed(boxes.BirthH, "B.h")});
    }
    return {};
}

int TodayGregorianNumber(const QDate& today) {
    return DateToDateNumber(today);
}

int TodayHijriNumber(const QDate& today) {
    MultiDate md;
    if (!DateToHijri(md, today))
        return 0;
    // From the parts: the encoded Hijri date value would lower 29 Safar of some years.
    return MakeDateNumber(md.HYear, md.HMonth, md.HDay);
}

TDateInfo ComputeDateInfo(const TDateBoxes& boxes, const QString& gender, const QDate& today) {
    const bool feminine = NormaliseGender(gender) == u"f";
    TDateInfo info;
    TPerson dates;
    ApplyDateBoxes(boxes, dates);
    const int birthG = dates.Date_of_Birth_G;
    const int birthH = dates.Date_of_Birth_H;
    const int deathG = dates.Date_of_Death_G;
    const int deathH = dates.Date_of_Death_H;

    switch (FindDateConflict(dates)) {
    case TDateConflict::Gregorian:
        info.Error = Translate(QStringLiteral("Gregorian Dates: Birth date greater than death date."));
        break;
    case TDateConflict::Hijri:
        info.Error = Translate(QStringLiteral("Hijri Dates: Birth date greater than death date."));
        break;
    case TDateConflict::None:
        break;
    }

    info.DeathKnown = deathG != 0 || deathH != 0 || !boxes.Place_of_Death.trimmed().isEmpty();

    const int todayG = TodayGregorianNumber(today);
    const int todayH = TodayHijriNumber(today);
    int from = 0;
    int to = 0;
    bool inHijri = false;
    if (SpanStart(birthG, birthH, todayG, todayH, from, to, inHijri)) {
        info.ShowBirthSince = true;
        info.Born = SignedDateDifference(from, to);
        info.BirthSince = SpanText(info.Born, feminine, inHijri, "Born");
    }
    if (SpanStart(deathG, deathH, todayG, todayH, from, to, inHijri)) {
        info.ShowDeathSince = true;
        info.Died = SignedDateDifference(from, to);
        info.DeathSince = SpanText(info.Died, feminine, inHijri, "Died");
    }

    bool lived = false;
    DateSpan life;
    if (birthG != 0 && deathG != 0 && CompareDateNumbers(birthG, deathG) < 0) {
        life = SignedDateDifference(birthG, deathG);
        lived = true;
        inHijri = false;
    } else if (birthH != 0 && deathH != 0 && CompareDateNumbers(birthH, deathH) < 0) {
        life = SignedDateDifference(birthH, deathH);
        lived = true;
        inHijri = true;
    }
    if (lived) {
        // Each part that is above zero, counted: "Lived 87 years 10 months", "عاش 87 سنة و10 أشهر".
        QList<std::pair<qint64, TCountedNoun>> parts;
        if (life.Years > 0)
            parts.append({life.Years, inHijri ? TCountedNoun::HijriYears : TCountedNoun::Years});
        if (life.Months > 0)
            parts.append({life.Months, TCountedNoun::Months});
        if (life.Days > 0)
            parts.append({life.Days, TCountedNoun::Days});
        static const char* const kShapes[] = {"Lived", "Lived %*", "Lived %* %*", "Lived %* %* %*"};
        info.Lived = CountedSentence(QString::fromLatin1(kShapes[parts.size()]), feminine, parts);
    }
    return info;
}

} // namespace verdan
