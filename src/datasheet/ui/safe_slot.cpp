#include "safe_slot.h"

#include "text/localisation.h"
#include "text/messages.h"

namespace verdan {

void ReportSlotFailure(const QString& reason) noexcept {
    try {
        QString text = Translate(QStringLiteral("The operation could not be completed."));
        if (!reason.isEmpty())
            text += u'|' + reason;
        MsgError(text);
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

} // namespace verdan
