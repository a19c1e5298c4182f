#include "interface_locale.h"

#include "localisation.h"

namespace verdan {

QLocale InterfaceLocale() {
    const QString name = Local().Target.Name.trimmed().toLower();
    if (name == u"arabic")
        return QLocale(QLocale::Arabic);
    if (name == u"english")
        return QLocale(QLocale::English);
    if (name == u"persian" || name == u"farsi")
        return QLocale(QLocale::Persian);
    if (name == u"urdu")
        return QLocale(QLocale::Urdu);
    return QLocale::system();
}

QCollator InterfaceCollator() {
    QCollator collator(InterfaceLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

} // namespace verdan
