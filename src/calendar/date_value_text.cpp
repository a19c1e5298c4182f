#include "date_value_text.h"

#include "calendar/date_numbers.h"
#include "text/localisation.h"

namespace verdan {

namespace {

const QString kContext = QStringLiteral("date_value");

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// "15-03-1445", "03-1445", "1445", "1637/38" with its calendar or era mark.
QString OneDate(int number, int dual, bool hijri, bool marked) {
    int year, month, day;
    SplitDateNumber(number, year, month, day);
    QString text = dual > 0 ? QString::number(dual) + u'/' + TwoDigits(year % 100) : QString::number(year);
    if (month != 0) {
        text = TwoDigits(month) + u'-' + text;
        if (day != 0)
            text = TwoDigits(day) + u'-' + text;
        // After Arabic words the dashes would split the date and turn it around ("1537-11-12"); a
        // left-to-right mark keeps day, month and year in their order.
        if (marked)
            text.prepend(QChar(0x200E));
    }
    const char* mark = number < 0 ? (hijri ? "B.h" : "B.c") : (hijri ? "H" : "G");
    return text + u' ' + Translate(QString::fromLatin1(mark));
}

QString Pattern(const char* source, const QStringList& args) {
    return FillPattern(TranslateContext(QString::fromLatin1(source), kContext), args);
}

QString SideText(const TDateValue& v, bool hijri, bool marked) {
    const int first = hijri ? v.Hijri : v.Gregorian;
    const int second = hijri ? v.Hijri2 : v.Gregorian2;
    if (first == 0)
        return {};
    const QString a = OneDate(first, hijri ? 0 : v.DualYear, hijri, marked);
    const QString b =
        second == 0 ? QStringLiteral("…") : OneDate(second, hijri ? 0 : v.DualYear2, hijri, marked);
    switch (v.Qualifier) {
    case TDateQualifier::About:
        return Pattern("about %*", {a});
    case TDateQualifier::Calculated:
        return Pattern("calculated %*", {a});
    case TDateQualifier::Estimated:
        return Pattern("estimated %*", {a});
    case TDateQualifier::Before:
        return Pattern("before %*", {a});
    case TDateQualifier::After:
        return Pattern("after %*", {a});
    case TDateQualifier::Between:
        return Pattern("between %* and %*", {a, b});
    case TDateQualifier::From:
        return Pattern("from %*", {a});
    case TDateQualifier::To:
        return Pattern("to %*", {a});
    case TDateQualifier::FromTo:
        return Pattern("from %* to %*", {a, b});
    case TDateQualifier::Interpreted:
        return Pattern("interpreted %* (%*)", {a, v.Phrase});
    case TDateQualifier::Exact:
    case TDateQualifier::Phrase:
    case TDateQualifier::Text:
        break;
    }
    return a;
}

QString Text(const TDateValue& value, TDateShown shown, bool marked) {
    if (value.Qualifier == TDateQualifier::Phrase)
        return u'(' + value.Phrase + u')';
    if (value.Qualifier == TDateQualifier::Text)
        return value.Phrase;
    const QString gregorian = shown == TDateShown::Hijri ? QString() : SideText(value, false, marked);
    const QString hijri = shown == TDateShown::Gregorian ? QString() : SideText(value, true, marked);
    if (gregorian.isEmpty() || hijri.isEmpty())
        return gregorian + hijri;
    return gregorian + QStringLiteral(" / ") + hijri;
}

} // namespace

QString DateValueText(const TDateValue& value, TDateShown shown) {
    return Text(value, shown, false);
}

QString DateValueShownText(const TDateValue& value, TDateShown shown) {
    return Text(value, shown, Local().Target.RightToLeft);
}

QString DateQualifierName(TDateQualifier qualifier) {
    static const char* const kNames[] = {
        "Exact", "About", "Calculated", "Estimated",   "Before", "After",      "Between … and",
        "From",  "To",    "From … to",  "Interpreted", "Phrase", "As written",
    };
    return TranslateContext(QString::fromUtf8(kNames[int(qualifier)]), QStringLiteral("date_qualifier"));
}

} // namespace verdan
