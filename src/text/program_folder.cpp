#include "program_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace verdan {

namespace {
QString& Folder() {
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder() {
    if (Folder().isEmpty())
        SetProgramFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/verdan"));
    return Folder();
}

void SetProgramFolder(const QString& folder) {
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (!path.endsWith(u'/'))
        path += u'/';
    Folder() = path;
}

} // namespace verdan
