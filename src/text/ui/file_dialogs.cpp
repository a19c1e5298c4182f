#include "file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace verdan {

QString OpenFileDialog(const QString& filter, const QString& initialFolder) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), initialFolder, filter);
}

QString SaveFileDialog(const QString& proposedName, const QString& filter) {
    QString start = QDir::currentPath();
    if (!proposedName.trimmed().isEmpty())
        start = QDir(start).filePath(proposedName);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), start, filter);
}

} // namespace verdan
