#include "calendar_names.h"

#include "text/localisation.h"

namespace verdan {

namespace {

template <std::size_t N> QString Pick(const QString (&names)[N], int number) {
    if (number < 1 || number > static_cast<int>(N))
        return {};
    return names[number - 1];
}

const QString kHijriAr[] = {
    QStringLiteral("محرم"),        QStringLiteral("صفر"),         QStringLiteral("ربيع الأول"),
    QStringLiteral("ربيع الثاني"), QStringLiteral("جمادى الأول"), QStringLiteral("جمادى الآخر"),
    QStringLiteral("رجب"),         QStringLiteral("شعبان"),       QStringLiteral("رمضان"),
    QStringLiteral("شوال"),        QStringLiteral("ذو القعدة"),   QStringLiteral("ذو الحجة")};

// "Sha'ban " ends in a blank: the language documents carry it so as their source text.
const QString kHijriEn[] = {
    QStringLiteral("Muharram"),       QStringLiteral("Safar"),           QStringLiteral("Rabi' al-awwal"),
    QStringLiteral("Rabi' al-thani"), QStringLiteral("Jumada al-awwal"), QStringLiteral("Jumada al-thani"),
    QStringLiteral("Rajab"),          QStringLiteral("Sha'ban "),        QStringLiteral("Ramadan"),
    QStringLiteral("Shawwal"),        QStringLiteral("Dhu al-Qi'dah"),   QStringLiteral("Dhu al-Hijjah")};

const QString kGregorianAr[] = {QStringLiteral("يناير"),  QStringLiteral("فبراير"), QStringLiteral("مارس"),
                                QStringLiteral("أبريل"),  QStringLiteral("مايو"),   QStringLiteral("يونيو"),
                                QStringLiteral("يوليو"),  QStringLiteral("اغسطس"),  QStringLiteral("سبتمبر"),
                                QStringLiteral("اكتوبر"), QStringLiteral("نوفمبر"), QStringLiteral("ديسمبر")};

const QString kGregorianEn[] = {
    QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
    QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
    QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
    QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};

const QString kWeekdayAr[] = {QStringLiteral("الأحد"),    QStringLiteral("الإثنين"),
                              QStringLiteral("الثلاثاء"), QStringLiteral("الإربعاء"),
                              QStringLiteral("الخميس"),   QStringLiteral("الجمعة"),
                              QStringLiteral("السبت")};

const QString kWeekdayEn[] = {QStringLiteral("Sunday"),   QStringLiteral("Monday"),
                              QStringLiteral("Tuesday"),  QStringLiteral("Wednesday"),
                              QStringLiteral("Thursday"), QStringLiteral("Friday"),
                              QStringLiteral("Saturday")};

} // namespace

QString HijriMonthNameAr(int month) {
    return Pick(kHijriAr, month);
}

QString HijriMonthNameEn(int month) {
    return Pick(kHijriEn, month);
}

QString GregorianMonthNameAr(int month) {
    return Pick(kGregorianAr, month);
}

QString GregorianMonthNameEn(int month) {
    return Pick(kGregorianEn, month);
}

QString WeekdayNameAr(int weekday) {
    return Pick(kWeekdayAr, weekday);
}

QString WeekdayNameEn(int weekday) {
    return Pick(kWeekdayEn, weekday);
}

QString InterfaceDateText(const QDate& date) {
    if (!date.isValid())
        return QString();
    return InterfaceDigits(QString::number(date.day())) + u' ' +
           Translate(GregorianMonthNameEn(date.month())) + u' ' +
           InterfaceDigits(QString::number(date.year()));
}

} // namespace verdan
