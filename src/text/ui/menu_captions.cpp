#include "menu_captions.h"

#include "text/localisation.h"

namespace verdan {

QString MenuCaption(const char* text) {
    return Translate(QString::fromLatin1(text));
}

QString MenuOpens(const char* text) {
    return MenuCaption(text) + QStringLiteral("..");
}

} // namespace verdan
