#include "file_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>

namespace verdan {

namespace {

QString Chosen(QFileDialog& dialog) {
    PrepareFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

void PrepareFileDialog(QFileDialog& dialog) {
    if (auto* folders = dialog.findChild<QComboBox*>(QStringLiteral("lookInCombo")))
        folders->setLayoutDirection(Qt::LeftToRight);
}

QString OpenFileDialog(const QString& filter, const QString& initialFolder) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), initialFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Chosen(dialog);
}

QStringList OpenFilesDialog(const QString& filter, const QString& initialFolder) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), initialFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    PrepareFileDialog(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString SaveFileDialog(const QString& proposedName, const QString& filter) {
    QString start = QDir::currentPath();
    if (!proposedName.trimmed().isEmpty())
        start = QDir(start).filePath(proposedName);
    QFileDialog dialog(QApplication::activeWindow(), QString(), start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return Chosen(dialog);
}

QString FolderDialog(QWidget* parent, const QString& caption, const QString& initialFolder) {
    QFileDialog dialog(parent, caption, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return Chosen(dialog);
}

} // namespace verdan
