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

} // namespace verdan
