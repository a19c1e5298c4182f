#include "file_type.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace verdan {

namespace {

QByteArray ReadResource(const QString& name) {
    QFile file(QStringLiteral(":/desktop/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The desktop entry's command, the path quoted as the desktop entry format asks.
QByteArray ExecLine(const QString& programPath) {
    QString quoted = programPath;
    quoted.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'`', QStringLiteral("\\`"))
        .replace(u'$', QStringLiteral("\\$"));
    return "Exec=\"" + quoted.toUtf8() + "\" %f";
}

} // namespace

bool RegisterFileType(const QString& programPath, const TCommandRunner& run) {
    const QString program = QFileInfo(programPath).absoluteFilePath();
    if (program.startsWith(QLatin1String("/usr/")))
        return false;
    QByteArray entry = ReadResource(QStringLiteral("verdan.desktop"));
    const QByteArray type = ReadResource(QStringLiteral("verdan-tree.xml"));
    const QByteArray icon = ReadResource(QStringLiteral("verdan.svg"));
    if (entry.isEmpty() || type.isEmpty())
        return false;
    static const QRegularExpression exec(QStringLiteral("^Exec=.*$"), QRegularExpression::MultilineOption);
    entry = QString::fromUtf8(entry).replace(exec, QString::fromUtf8(ExecLine(program))).toUtf8();

    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return false;
    const QString entryPath = data + QStringLiteral("/applications/verdan.desktop");
    QFile existing(entryPath);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == entry)
        return false;
    existing.close();
    // Each part on its own: one that cannot be written does not keep the others from being written.
    WriteFile(data + QStringLiteral("/mime/packages/verdan-tree.xml"), type);
    if (!icon.isEmpty())
        WriteFile(data + QStringLiteral("/icons/hicolor/scalable/apps/verdan.svg"), icon);
    WriteFile(entryPath, entry);
    QString ignored;
    run(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")}, ignored);
    run(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")}, ignored);
    run(QStringLiteral("xdg-mime"),
        {QStringLiteral("default"), QStringLiteral("verdan.desktop"),
         QStringLiteral("application/x-verdan-tree")},
        ignored);
    return true;
}

} // namespace verdan
