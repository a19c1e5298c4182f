#pragma once

#include <QString>
#include <functional>

namespace verdan {

// Low-level failures (a document that cannot be saved, a damaged language document) are shown as a plain
// error box with a caption. Core code reports them here; the desktop program installs a handler that
// shows a dialog, other programs keep the default, which writes to the error output.
using SystemMessageHandler = std::function<void(const QString& caption, const QString& text)>;

// Installs the handler; an empty handler restores the default. Returns the previous handler.
SystemMessageHandler SetSystemMessageHandler(SystemMessageHandler handler);

void ShowSystemMessage(const QString& caption, const QString& text);

} // namespace verdan
