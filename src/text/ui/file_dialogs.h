#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace verdan {

// The open-file dialog over the application's active window, starting in `initialFolder`. `filter` is in
// the form "Trees (*.vrd);;All files (*)". Empty when cancelled.
QString OpenFileDialog(const QString& filter, const QString& initialFolder);
// The same, where several files may be chosen at once. Empty when cancelled.
QStringList OpenFilesDialog(const QString& filter, const QString& initialFolder);

// The save-file dialog, starting in the current folder with `proposedName` filled in when it is not blank.
// Empty when cancelled.
QString SaveFileDialog(const QString& proposedName, const QString& filter);

// The folder dialog over `parent`, starting in `initialFolder`. Empty when cancelled.
QString FolderDialog(QWidget* parent, const QString& caption, const QString& initialFolder);

// Every file dialog of the program goes through this before it is shown: in a right-to-left interface the
// toolkit's own dialog mirrors its folder box, which moves a path's slashes to the wrong end
// ("tmp/trees/"); the box reads from the path's root in every language. A native dialog of the desktop
// keeps its own ways.
void PrepareFileDialog(QFileDialog& dialog);

} // namespace verdan
