#pragma once

#include <QString>

namespace verdan {

// The open-file dialog over the application's active window, starting in `initialFolder`. `filter` is in
// the form "Trees (*.vrd);;All files (*)". Empty when cancelled.
QString OpenFileDialog(const QString& filter, const QString& initialFolder);

// The save-file dialog, starting in the current folder with `proposedName` filled in when it is not blank.
// Empty when cancelled.
QString SaveFileDialog(const QString& proposedName, const QString& filter);

} // namespace verdan
