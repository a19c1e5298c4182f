#pragma once

class QWidget;

namespace verdan {

// Escape closes `window` (a tool window that is not a dialog; a dialog rejects on Escape by itself) when
// nothing inside the window took the key first: an open editor, a popup list or a search box that
// handles Escape keeps it.
void CloseOnEscape(QWidget* window);

} // namespace verdan
