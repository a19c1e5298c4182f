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

QString InterfaceStampDigits(const QString& text) {
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

QString InterfaceDateText(const QDate& date) {
    if (!date.isValid())
        return QString();
    return InterfaceStampDigits(InterfaceLocale().toString(date, QStringLiteral("d MMMM yyyy")));
}

QString InterfaceTimeText(const QTime& time) {
    return time.isValid() ? InterfaceStampDigits(time.toString(QStringLiteral("HH:mm"))) : QString();
}

QString InterfaceDateTimeText(const QDateTime& time) {
    if (!time.isValid())
        return QString();
    return InterfaceDateText(time.date()) + u' ' + InterfaceTimeText(time.time());
}

} // namespace verdan
