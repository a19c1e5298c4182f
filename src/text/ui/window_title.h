#pragma once

class QWidget;

namespace verdan {

// Widens a small window (a progress dialog) so that the window manager can show its whole title: beside
// its buttons it cuts a title longer than the window ("استيرا…DCOM"). Call after setting the title.
void FitTitleWidth(QWidget* window);

} // namespace verdan
