#pragma once

#include <QString>

class QWidget;

namespace verdan {

// Rescues the damaged tree at `damaged` into a new tree beside it (RescuedTreePath) while a progress dialog
// shows how far it got and lets the user stop; then tells what was saved and what was lost. The new tree's
// path, or empty when the user stopped or the rescue failed (which has been shown).
QString RescueTreeWithProgress(QWidget* parent, const QString& damaged);

} // namespace verdan
