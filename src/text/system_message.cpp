#include "system_message.h"

#include <QtGlobal>
#include <utility>

namespace verdan {

namespace {
SystemMessageHandler& Handler() {
    static SystemMessageHandler handler;
    return handler;
}
} // namespace

SystemMessageHandler SetSystemMessageHandler(SystemMessageHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void ShowSystemMessage(const QString& caption, const QString& text) {
    if (Handler())
        Handler()(caption, text);
    else
        qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(text));
}

} // namespace verdan
