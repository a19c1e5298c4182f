#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace verdan {

// The help pages shipped with the program, opened with the desktop's viewer.
inline constexpr char kGetStartedPage[] = "getstarted.html";
inline constexpr char kKeysPage[] = "keys.html";

// Where a help page may be, in the order looked at: the help folder of the program folder (a portable
// install, or pages the user placed there), the share/verdan/help folder beside the program's bin folder
// (an install, and the build folder, which copies the pages there), and the install prefix's.
QStringList HelpPageCandidates(const QString& name);
// The first candidate that exists; empty when there is none.
QString FindHelpPage(const QString& name);
// The program that opens a page in the desktop's viewer ("xdg-open"); tests put another one in.
QString& HelpViewerProgram();
// Opens the page with the desktop's viewer; a missing page is reported ("Help file not found.") with the
// path in the program folder. When the desktop has no viewer (the opener is missing, or says it found
// none), `showInside` gets the page's path afterwards, so that the program shows it itself. False when no
// page was found.
bool OpenHelpPage(const QString& name, const std::function<void(const QString& path)>& showInside = {});

} // namespace verdan
