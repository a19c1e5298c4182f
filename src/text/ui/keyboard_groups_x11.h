#pragma once

namespace verdan {

// Lets the keyboard layouts be switched where the desktop allows a program to (the XKB groups of an X11
// display); does nothing elsewhere (Wayland, or a program built without X11). Called once by the desktop
// program, after its application object exists.
void InstallDesktopKeyboardGroups();

} // namespace verdan
