#include "interface_locale.h"

#include "localisation.h"

namespace verdan {

QLocale InterfaceLocale() {
    return QLocale(InterfaceLanguageCode());
}

QCollator InterfaceCollator() {
    QCollator collator(InterfaceLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

QString StampDigits(const QString& text) {
    const QString language = InterfaceLanguageCode();
    // Arabic writes its Indic digits, Persian and Urdu the extended ones.
    const char16_t zero = language == u"ar"                          ? 0x0660
                          : (language == u"fa" || language == u"ur") ? 0x06F0
                                                                     : u'0';
    QString out = text;
    for (QChar& c : out) {
        if (c.category() == QChar::Number_DecimalDigit)
            c = QChar(char16_t(zero + c.digitValue()));
    }
    return out;
}

QString StampDateText(const QDate& date) {
    if (!date.isValid())
        return QString();
    return StampDigits(InterfaceLocale().toString(date, QStringLiteral("d MMMM yyyy")));
}

QString StampTimeText(const QTime& time) {
    return time.isValid() ? StampDigits(time.toString(QStringLiteral("HH:mm"))) : QString();
}

QString StampDateTimeText(const QDateTime& time) {
    if (!time.isValid())
        return QString();
    return StampDateText(time.date()) + u' ' + StampTimeText(time.time());
}

} // namespace verdan
