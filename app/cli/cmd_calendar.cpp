#include "calendar/calendar_names.h"
#include "calendar/date_convert.h"
#include "calendar/date_numbers.h"
#include "cli_commands.h"
#include "text/localisation.h"
#include "text/typed_numbers.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <cstdlib>

namespace verdan::cli {

namespace {

enum class Calendar { Gregorian, Hijri };

struct DateRequest {
    QString text; // as typed, for messages
    int year = 0;
    int month = 0;
    int day = 0;
    QString language;
    HijriCalendar calendar = HijriCalendar::Tabular;
};

const QHash<QString, QString>& LanguageDocuments() {
    static const QHash<QString, QString> documents = {{QStringLiteral("en"), QStringLiteral("english.local")},
                                                      {QStringLiteral("ar"), QStringLiteral("arabic.local")},
                                                      {QStringLiteral("fa"), QStringLiteral("persian.local")},
                                                      {QStringLiteral("ur"), QStringLiteral("urdu.local")}};
    return documents;
}

int Fail(const QString& command, const QString& message) {
    Err() << "verdan-cli " << command << ": " << message << Qt::endl;
    return 1;
}

// Reads "YYYY-MM-DD", "--lang en|ar|fa|ur" and "--umalqura" in any order. Returns an error text, empty on
// success.
QString ReadRequest(const QStringList& args, DateRequest& request) {
    QString date;
    QString language = QStringLiteral("en");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--lang")) {
            if (i + 1 >= args.size())
                return QStringLiteral("--lang needs a language: en, ar, fa or ur");
            language = args[++i];
        } else if (arg.startsWith(QLatin1String("--lang="))) {
            language = arg.mid(7);
        } else if (arg == QLatin1String("--umalqura")) {
            request.calendar = HijriCalendar::UmmAlQura;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option %1").arg(arg);
        } else if (!date.isEmpty()) {
            return QStringLiteral("more than one date given");
        } else {
            date = arg;
        }
    }
    if (!LanguageDocuments().contains(language))
        return QStringLiteral("unknown language \"%1\" (use en, ar, fa or ur)").arg(language);
    request.language = language;
    if (date.isEmpty())
        return QStringLiteral("no date given (expected YYYY-MM-DD)");
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})-(\\d{1,2})-(\\d{1,2})$"));
    // Digits may come in Arabic-Indic or Persian form.
    const QRegularExpressionMatch match = pattern.match(NormaliseDigits(date));
    if (!match.hasMatch())
        return QStringLiteral("\"%1\" is not a date of the form YYYY-MM-DD").arg(date);
    request.text = date;
    request.year = match.captured(1).toInt();
    request.month = match.captured(2).toInt();
    request.day = match.captured(3).toInt();
    return {};
}

// The user's copy of the language document when there is one, else the built-in document.
QString LanguageFile(const QString& language) {
    const QString name = LanguageDocuments().value(language);
    const QString installed = LangsFolder() + name;
    return QFileInfo::exists(installed) ? installed : QStringLiteral(":/langs/") + name;
}

// Reads the request and loads its language; false once the failure is reported.
bool Start(const QString& command, const QStringList& args, DateRequest& request) {
    const QString error = ReadRequest(args, request);
    if (!error.isEmpty()) {
        Fail(command, error);
        return false;
    }
    return LoadLanguage(LanguageFile(request.language));
}

QString MonthName(Calendar calendar, int month) {
    // "Sha'ban " carries a blank as source text.
    const QString name = calendar == Calendar::Hijri ? HijriMonthNameEn(month) : GregorianMonthNameEn(month);
    return Translate(name).trimmed();
}

// "Monday 1 Ramadan 1445"; a year before the era shows as its absolute value with the era mark.
QString DateText(Calendar calendar, int weekday, int year, int month, int day) {
    QString text = Translate(WeekdayNameEn(weekday)) + QLatin1Char(' ') +
                   InterfaceDigits(QString::number(day)) + QLatin1Char(' ') + MonthName(calendar, month) +
                   QLatin1Char(' ') + InterfaceDigits(QString::number(std::abs(year)));
    if (year <= 0)
        text += QLatin1Char(' ') +
                Translate(calendar == Calendar::Hijri ? QStringLiteral("B.h") : QStringLiteral("B.c"));
    return text;
}

void Print(Calendar calendar, const MultiDate& md) {
    if (calendar == Calendar::Hijri) {
        Out() << MakeDateNumber(md.HYear, md.HMonth, md.HDay) << Qt::endl
              << DateText(calendar, md.WeekDay, md.HYear, md.HMonth, md.HDay) << Qt::endl;
    } else {
        Out() << MakeDateNumber(md.GYear, md.GMonth, md.GDay) << Qt::endl
              << DateText(calendar, md.WeekDay, md.GYear, md.GMonth, md.GDay) << Qt::endl;
    }
}

} // namespace

// Prints the Hijri date of a Gregorian (before 15 October 1582 Julian) date, tabular unless --umalqura.
int Hijri(const QStringList& args) {
    const QString command = QStringLiteral("hijri");
    DateRequest request;
    if (!Start(command, args, request))
        return 1;
    if (request.year < 1 || EncodeDate(request.year, request.month, request.day).isNull())
        return Fail(command, QStringLiteral("%1 is not a day of the Gregorian calendar").arg(request.text));
    MultiDate md;
    if (!GregorianToHijri(request.year, request.month, request.day, md, request.calendar))
        return Fail(command, QStringLiteral("the date lies outside the supported range"));
    Print(Calendar::Hijri, md);
    return 0;
}

// Prints the Gregorian date of a Hijri date.
int Gregorian(const QStringList& args) {
    const QString command = QStringLiteral("gregorian");
    DateRequest request;
    if (!Start(command, args, request))
        return 1;
    if (request.year < 1 || request.day < 1 ||
        request.day > HijriMonthDays(request.year, request.month, request.calendar))
        return Fail(command, QStringLiteral("%1 is not a day of the Hijri calendar").arg(request.text));
    MultiDate md;
    if (!HijriToGregorian(request.year, request.month, request.day, md, request.calendar))
        return Fail(command,
                    QStringLiteral("the date lies outside the supported range (up to 31 December 9999)"));
    Print(Calendar::Gregorian, md);
    return 0;
}

} // namespace verdan::cli
