#include "file_dialogs.h"

#include "text/bidi_text.h"
#include "text/interface_locale.h"
#include "text/localisation.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTreeView>

namespace verdan {

namespace {

// The file list's sizes, kinds and times in the interface's language: the toolkit writes them in the
// desktop's ("Folder", "12/11/26 2:30 PM") whatever language the window speaks.
class TFileListTexts : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == 0)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : Isolate(SizeText(info.size()));
        case 2:
            return info.isDir()
                       ? TranslateContext(QStringLiteral("Folder"), QStringLiteral("create_new_tree"))
                       : QIdentityProxyModel::data(index, role);
        case 3:
            return Isolate(StampDateTimeText(info.lastModified()));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    static QString SizeText(qint64 bytes) {
        const auto unit = [](const char* name) {
            return TranslateContext(QString::fromLatin1(name), QStringLiteral("properties"));
        };
        if (bytes < 1024)
            return StampDigits(QString::number(bytes)) + u' ' + unit("Byte");
        if (bytes < 1024 * 1024)
            return StampDigits(QString::number((bytes + 1023) / 1024)) + u' ' + unit("KB");
        return StampDigits(QString::number(double(bytes) / (1024 * 1024), 'f', 1)) + u' ' + unit("MB");
    }
};

QString Chosen(QFileDialog& dialog) {
    PrepareFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

void PrepareFileDialog(QFileDialog& dialog) {
    // The toolkit's own dialog, which speaks the interface's language, rather than the desktop's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (auto* folders = dialog.findChild<QComboBox*>(QStringLiteral("lookInCombo")))
        folders->setLayoutDirection(Qt::LeftToRight);
    if (!dialog.proxyModel())
        dialog.setProxyModel(new TFileListTexts(&dialog));
    // The columns take the width of what they hold, so no size or time is cut; the names take the rest.
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
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
