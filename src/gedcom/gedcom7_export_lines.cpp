#include "gedcom7_export_lines.h"

#include "calendar/date_value_gedcom.h"
#include "calendar/date_value_gedcom7.h"
#include "calendar/date_value_text.h"
#include "gedcom/gedcom7_schema.h"

#include <QDate>
#include <QList>
#include <QString>
#include <algorithm>

namespace verdan {

namespace {

QByteArray Text(const QString& text) {
    return text.toUtf8();
}

// Whether text is an age of the 7.0 form: [< or >] then years, months, weeks and days ("35y 3m").
bool IsAge(const QByteArray& text) {
    QList<QByteArray> parts = text.split(' ');
    if (!parts.isEmpty() && (parts.front() == "<" || parts.front() == ">"))
        parts.removeFirst();
    if (parts.isEmpty())
        return false;
    int unit = -1;
    for (const QByteArray& part : parts) {
        const int next = part.isEmpty() ? -1 : int(QByteArrayView("ymwd").indexOf(part.back()));
        if (next <= unit || part.size() < 2)
            return false;
        for (qsizetype i = 0; i + 1 < part.size(); ++i)
            if (part[i] < '0' || part[i] > '9')
                return false;
        unit = next;
    }
    return true;
}

// Whether text is a time of the 7.0 form: hour:minute[:second[.fraction]][Z].
bool IsTime(QByteArray text) {
    if (text.endsWith('Z'))
        text.chop(1);
    const QList<QByteArray> parts = text.split(':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    QList<QByteArray> last = parts.back().split('.');
    if (last.size() > 2 || (last.size() == 2 && last[1].isEmpty()))
        return false;
    const auto number = [](const QByteArray& digits, int max, qsizetype minLength) {
        bool ok = false;
        const int n = digits.toInt(&ok);
        return ok && digits.size() >= minLength && digits.size() <= 2 && digits[0] != '+' && n <= max;
    };
    if (last.size() == 2)
        for (char c : last[1])
            if (c < '0' || c > '9')
                return false;
    return number(parts[0], 23, 1) && number(parts[1], 59, 2) &&
           (parts.size() == 2 || number(last[0], 59, 2)) && (parts.size() == 3 || last.size() == 1);
}

// Characters a 7.0 file must not hold (control characters other than tab and line ends, DEL, C1 controls)
// are left out.
QByteArray WithoutBanned(const QByteArray& text) {
    const auto banned = [&](qsizetype i) {
        const uchar c = uchar(text[i]);
        return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F ||
               (c == 0xC2 && i + 1 < text.size() && uchar(text[i + 1]) >= 0x80 && uchar(text[i + 1]) <= 0x9F);
    };
    qsizetype i = 0;
    while (i < text.size() && !banned(i))
        ++i;
    if (i == text.size())
        return text;
    QByteArray out = text.first(i);
    for (; i < text.size(); ++i) {
        if (!banned(i))
            out += text[i];
        else if (uchar(text[i]) == 0xC2)
            ++i;
    }
    return out;
}

// Levels stay below 10.
void Start(QByteArray& out, int level, const char* tag) {
    out += char('0' + level);
    out += ' ';
    out += tag;
}

} // namespace

void Ged7Line(QByteArray& out, int level, const char* tag, const QByteArray& value) {
    Start(out, level, tag);
    if (!value.isEmpty()) {
        out += ' ';
        if (value.startsWith('@'))
            out += '@';
        QByteArray clean = WithoutBanned(value);
        out += clean.replace('\r', ' ').replace('\n', ' ');
    }
    out += "\r\n";
}

void Ged7Text(QByteArray& out, int level, const char* tag, const QByteArray& value) {
    const QByteArray text = WithoutBanned(value);
    qsizetype pos = 0;
    bool first = true;
    while (true) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        Start(out, first ? level : level + 1, first ? tag : "CONT");
        if (end > pos) {
            out += ' ';
            if (text[pos] == '@')
                out += '@';
            out += QByteArrayView(text).sliced(pos, end - pos);
        }
        out += "\r\n";
        if (end >= text.size())
            break;
        // CR LF, LF and CR each end one line.
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        first = false;
    }
}

void Ged7DateLines(QByteArray& out, int level, const TDateValue& value, const QByteArray& time) {
    QByteArray sortDate, hijriDate;
    TGedcom7Date date;
    bool noHijri = false;
    if (HasDateNumbers(value)) {
        TDateValue gregorian = value;
        gregorian.Hijri = gregorian.Hijri2 = 0;
        const TDateValue converted = WithBothCalendars(gregorian);
        const bool ownHijri = converted.Hijri != value.Hijri || converted.Hijri2 != value.Hijri2;
        if (value.Gregorian == 0) {
            date = Gedcom7DateOf(value, true);
            if (date.Phrase.isEmpty())
                date.Phrase = DateValueText(value, TDateShown::Hijri);
            sortDate = Text(Gedcom7DateOf(GregorianStandIn(value)).Payload);
        } else if (ownHijri && value.Hijri != 0) {
            TDateValue hijri = value;
            hijri.DualYear = hijri.DualYear2 = 0;
            if (hijri.Qualifier == TDateQualifier::Interpreted)
                hijri.Qualifier = TDateQualifier::Exact; // the phrase goes with the Gregorian date
            hijriDate = Text(Gedcom7DateOf(hijri, true).Payload);
        } else {
            noHijri = ownHijri; // the tree knows no Hijri date where a reader would convert one
        }
    }
    if (date.Payload.isEmpty())
        date = Gedcom7DateOf(value);
    const bool asWritten = value.Qualifier == TDateQualifier::Text && date.Payload.isEmpty();
    const bool validTime = !time.isEmpty() && IsTime(time.trimmed());
    if (date.Payload.isEmpty() && date.Phrase.isEmpty() && !validTime) {
        if (!time.isEmpty())
            Ged7Text(out, level, "_TIME", time);
        return;
    }
    Ged7Line(out, level, "DATE", Text(date.Payload));
    if (validTime)
        Ged7Line(out, level + 1, "TIME", time.trimmed());
    if (!date.Phrase.isEmpty())
        Ged7Line(out, level + 1, "PHRASE", Text(date.Phrase));
    if (asWritten)
        Ged7Line(out, level + 1, "_ASWRITTEN", "Y");
    if (!time.isEmpty() && !validTime)
        Ged7Text(out, level, "_TIME", time);
    if (!sortDate.isEmpty())
        Ged7Line(out, level, "SDATE", sortDate);
    if (!hijriDate.isEmpty())
        Ged7Line(out, level, "_HIJRIDATE", hijriDate);
    if (noHijri)
        Ged7Line(out, level, "_NOHIJRI", "Y");
}

void Ged7Age(QByteArray& out, int level, const QByteArray& age) {
    if (IsAge(age.trimmed())) {
        Ged7Line(out, level, "AGE", age.trimmed());
    } else {
        Ged7Line(out, level, "AGE");
        Ged7Line(out, level + 1, "PHRASE", age);
    }
}

QByteArray Ged7NamePart(QByteArray part) {
    return part.replace('/', "\xE2\x81\x84").replace('\r', ' ').replace('\n', ' ').replace('\t', ' ');
}

QByteArray Ged7PlacedTag(const QByteArray& tag, bool family, bool own,
                         std::map<QByteArray, QByteArray>& declared) {
    const std::string_view view(tag.constData(), size_t(tag.size()));
    if (!own && (family ? IsGed7FamilyEventTag(view) : IsGed7IndividualEventTag(view)))
        return tag;
    const QByteArray extension = tag.startsWith('_') ? tag : '_' + tag;
    const bool relocated =
        !own && !tag.startsWith('_') && (IsGed7FamilyEventTag(view) || IsGed7IndividualEventTag(view));
    declared.emplace(
        extension, relocated ? QByteArray(kGed7StandardBase.data(), qsizetype(kGed7StandardBase.size())) + tag
                             : Ged7EventUri(QString::fromUtf8(tag)).toUtf8());
    return extension;
}

TGed7EventLines Ged7EventLines(const QByteArray& tag, QByteArray type, const QByteArray& value,
                               const QByteArray& time, const QByteArray& place, const QByteArray& agency,
                               const QByteArray& cause, const QByteArray& notes, const TDateValue& date) {
    TGed7EventLines lines;
    const bool yes = IsGed7YesEventTag(std::string_view(tag.constData(), size_t(tag.size())));
    const bool bare = IsEmptyDate(date) && place.isEmpty() && agency.isEmpty() && cause.isEmpty() &&
                      notes.isEmpty() && time.isEmpty();
    if (type.isEmpty() && (tag == "EVEN" || tag == "FACT" || tag == "IDNO" || (tag == "TITL" && bare)))
        type = tag;
    const bool digits = !value.isEmpty() &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    lines.OwnTag = (tag == "NCHI" || tag == "NMR") && !value.isEmpty() && !digits;
    QByteArray& out = lines.Body;
    if (!type.isEmpty())
        Ged7Text(out, 2, "TYPE", type);
    if (yes && !value.isEmpty() && value != "Y")
        Ged7Text(out, 2, "_VALUE", value);
    Ged7DateLines(out, 2, date, time);
    if (!place.isEmpty())
        Ged7Text(out, 2, "PLAC", place);
    if (!agency.isEmpty())
        Ged7Text(out, 2, "AGNC", agency);
    if (!cause.isEmpty())
        Ged7Text(out, 2, "CAUS", cause);
    if (!notes.isEmpty())
        Ged7Text(out, 2, "NOTE", notes);
    lines.Value = yes ? (out.isEmpty() ? QByteArray("Y") : QByteArray())
                      : (value.isEmpty() && out.isEmpty() ? QByteArray("Y") : value);
    return lines;
}

void Ged7Head(QByteArray& out, std::map<QByteArray, QByteArray>& declared, const QByteArray& submitter) {
    static constexpr const char* kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    out += "0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\n1 SCHMA\r\n";
    for (const TGed7Extension& e : Ged7Extensions())
        declared.emplace(QByteArray(e.Tag.data(), qsizetype(e.Tag.size())),
                         QByteArray(e.Uri.data(), qsizetype(e.Uri.size())));
    for (const auto& [tag, uri] : declared)
        out += "2 TAG " + tag + ' ' + uri + "\r\n";
    out += "1 SOUR VERDAN\r\n2 VERS " VERDAN_VERSION "\r\n2 NAME Verdan\r\n";
    const QDate today = QDate::currentDate();
    Ged7Line(out, 1, "DATE",
             QByteArray::number(today.day()) + ' ' + kMonths[today.month() - 1] + ' ' +
                 QByteArray::number(today.year()));
    out += "1 SUBM @U1@\r\n0 @U1@ SUBM\r\n";
    Ged7Line(out, 1, "NAME", submitter);
}

} // namespace verdan
