#include "message_details.h"

#include "text/bidi_text.h"
#include "text/localisation.h"

namespace verdan {

QString DetailsLine(const QString& details) {
    const QString reason = details.trimmed();
    if (reason.isEmpty())
        return QString();
    return QStringLiteral("\n\n") + Translate(QStringLiteral("Details:")) + u' ' + IsolateLtr(reason);
}

} // namespace verdan
