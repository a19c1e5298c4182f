#include "date_value_gedcom7.h"

#include "calendar/date_numbers.h"
#include "calendar/date_value_gedcom.h"

#include <QList>

namespace verdan {

namespace {

constexpr int kReformNumber = 15821015;

constexpr const char* kWesternMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* kHijriMonths[] = {"_MUHAR", "_SAFAR", "_RABIA", "_RABIT", "_JUMAA", "_JUMAT",
                                        "_RAJAB", "_SHAAB", "_RAMAD", "_SHAWW", "_DHUAQ", "_DHUAH"};
constexpr const char* kFrenchMonths[] = {"VEND", "BRUM", "FRIM", "NIVO", "PLUV", "VENT", "GERM",
                                         "FLOR", "PRAI", "MESS", "THER", "FRUC", "COMP"};
constexpr const char* kHebrewMonths[] = {"TSH", "CSH", "KSL", "TVT", "SHV", "ADR", "ADS",
                                         "NSN", "IYR", "SVN", "TMZ", "AAV", "ELL"};

QString OneDate(int number, bool hijri) {
    int year, month, day;
    SplitDateNumber(number, year, month, day);
    QString text;
    if (hijri)
        text = QLatin1String(kHijriCalendarTag) + u' ';
    else if (number < kReformNumber)
        text = QStringLiteral("JULIAN ");
    if (month >= 1 && month <= 12) {
        if (day > 0)
            text += QString::number(day) + u' ';
        text += QLatin1String(hijri ? kHijriMonths[month - 1] : kWesternMonths[month - 1]) + u' ';
    }
    text += QString::number(year);
    if (number < 0)
        text += hijri ? QStringLiteral(" ") + QLatin1String(kHijriEraTag) : QStringLiteral(" BCE");
    return text;
}

QString Payload(const TDateValue& value, bool hijri) {
    const int first = hijri ? value.Hijri : value.Gregorian;
    if (first == 0)
        return {};
    const int second = hijri ? value.Hijri2 : value.Gregorian2;
    const QString a = OneDate(first, hijri);
    const QString b = second == 0 ? QString() : OneDate(second, hijri);
    // An interpreted date's words go in its phrase, so its payload is the date alone.
    return QualifiedGedcomDate(value.Qualifier, a, b);
}

bool IsUpperTag(QStringView word, bool extension) {
    if (word.isEmpty() || (word.front() == u'_') != extension)
        return false;
    if (extension && word.size() < 2)
        return false;
    for (QChar c : word)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'))
            return false;
    return true;
}

bool IsInteger(QStringView word) {
    if (word.isEmpty())
        return false;
    for (QChar c : word)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

template <size_t N> bool OneOf(QStringView word, const char* const (&names)[N]) {
    for (const char* name : names)
        if (word == QLatin1String(name))
            return true;
    return false;
}

// date = [calendar D] [[day D] month D] year [D epoch], the words of one date.
bool IsOneDate(QList<QStringView> words) {
    if (words.isEmpty())
        return false;
    enum { Gregorian, Julian, French, Hebrew, Extension } calendar = Gregorian;
    const QStringView first = words.front();
    if (first == u"GREGORIAN" || first == u"JULIAN" || first == u"FRENCH_R" || first == u"HEBREW" ||
        IsUpperTag(first, true)) {
        calendar = first == u"JULIAN"      ? Julian
                   : first == u"FRENCH_R"  ? French
                   : first == u"HEBREW"    ? Hebrew
                   : first.front() == u'_' ? Extension
                                           : Gregorian;
        words.removeFirst();
    }
    if (!words.isEmpty()) {
        const QStringView last = words.back();
        const bool era =
            calendar == Extension ? IsUpperTag(last, true) : (calendar <= Julian && last == u"BCE");
        if (era)
            words.removeLast();
    }
    if (words.isEmpty() || words.size() > 3 || !IsInteger(words.back()))
        return false;
    if (words.size() >= 2) {
        const QStringView month = words[words.size() - 2];
        const bool known = calendar == Extension ? IsUpperTag(month, true)
                           : calendar == French  ? OneOf(month, kFrenchMonths)
                           : calendar == Hebrew  ? OneOf(month, kHebrewMonths)
                                                 : OneOf(month, kWesternMonths);
        if (!known)
            return false;
    }
    if (words.size() == 3) {
        if (!IsInteger(words[0]) || words[0].size() > 2)
            return false;
        const int day = words[0].toInt();
        if (day < 1 || day > 36)
            return false;
    }
    return true;
}

// A leading calendar escape of the older form as a word; B.C. as BCE.
QString WithCalendarWords(QString text) {
    text = text.trimmed();
    static const std::pair<const char*, const char*> kEscapes[] = {{"@#DGREGORIAN@ ", ""},
                                                                   {"@#DJULIAN@ ", "JULIAN "},
                                                                   {"@#DHEBREW@ ", "HEBREW "},
                                                                   {"@#DFRENCH R@ ", "FRENCH_R "}};
    for (const auto& [escape, word] : kEscapes)
        text.replace(QLatin1String(escape), QLatin1String(word), Qt::CaseInsensitive);
    text.replace(QStringLiteral(" B.C."), QStringLiteral(" BCE"), Qt::CaseInsensitive);
    return text;
}

} // namespace

TGedcom7Date Gedcom7DateOf(const TDateValue& value, bool hijri) {
    TGedcom7Date date;
    switch (value.Qualifier) {
    case TDateQualifier::Phrase:
        date.Phrase = value.Phrase;
        return date;
    case TDateQualifier::Text: {
        const QString words = WithCalendarWords(value.Phrase);
        if (IsGedcom7DateValue(words))
            date.Payload = words;
        else
            date.Phrase = value.Phrase;
        return date;
    }
    default:
        break;
    }
    date.Payload = Payload(value, hijri);
    if (date.Payload.isEmpty())
        return date;
    if (!hijri && (value.DualYear != 0 || value.DualYear2 != 0))
        date.Phrase = GedcomDateText(value).remove(QLatin1String("@#DJULIAN@ "));
    else if (value.Qualifier == TDateQualifier::Interpreted)
        date.Phrase = value.Phrase;
    return date;
}

bool IsGedcom7DateValue(QStringView text) {
    if (text.isEmpty())
        return true;
    const QList<QStringView> words = text.split(u' ');
    for (QStringView word : words)
        if (word.isEmpty())
            return false; // one space between words, none around them
    const QStringView first = words.front();
    const auto split = [&](qsizetype from, QStringView joint, QList<QStringView>& a, QList<QStringView>& b) {
        const qsizetype at = words.indexOf(joint, from);
        if (at < 0)
            return false;
        a = words.mid(from, at - from);
        b = words.mid(at + 1);
        return true;
    };
    QList<QStringView> a, b;
    if (first == u"BET")
        return split(1, u"AND", a, b) && IsOneDate(a) && IsOneDate(b);
    if (first == u"FROM") {
        if (split(1, u"TO", a, b))
            return IsOneDate(a) && IsOneDate(b);
        return IsOneDate(words.mid(1));
    }
    if (first == u"TO" || first == u"AFT" || first == u"BEF" || first == u"ABT" || first == u"CAL" ||
        first == u"EST")
        return IsOneDate(words.mid(1));
    return IsOneDate(words);
}

QString Gedcom7ToOlderDateText(QStringView payload, QStringView hijriCalendar) {
    QStringList out;
    bool hijri = false;
    for (QStringView word : payload.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"GREGORIAN") {
            out << QStringLiteral("@#DGREGORIAN@");
            hijri = false;
        } else if (word == u"JULIAN") {
            out << QStringLiteral("@#DJULIAN@");
            hijri = false;
        } else if (word == u"HEBREW") {
            out << QStringLiteral("@#DHEBREW@");
            hijri = false;
        } else if (word == u"FRENCH_R") {
            out << QStringLiteral("@#DFRENCH R@");
            hijri = false;
        } else if (!hijriCalendar.isEmpty() && word == hijriCalendar) {
            out << QStringLiteral("@#DHIJRI@");
            hijri = true;
        } else if (word == u"AND" || word == u"TO") {
            out << word.toString();
            hijri = false;
        } else if (word == u"BCE" || (hijri && word == QLatin1String(kHijriEraTag))) {
            out << QStringLiteral("B.C.");
        } else if (hijri && word.size() > 1 && word.front() == u'_') {
            out << word.sliced(1).toString();
        } else {
            out << word.toString();
        }
    }
    return out.join(u' ');
}

} // namespace verdan
