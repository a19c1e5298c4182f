#include "shell/help_pages.h"

#include "text/localisation.h"
#include "text/messages.h"
#include "text/program_folder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace verdan {

QStringList HelpPageCandidates(const QString& name) {
    QStringList paths{ProgramFolder() + QStringLiteral("help/") + name};
    if (QCoreApplication::instance()) {
        paths << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/../share/verdan/help/") + name);
    }
#ifdef VERDAN_HELP_DIR
    paths << QStringLiteral(VERDAN_HELP_DIR "/") + name;
#endif
    paths.removeDuplicates();
    return paths;
}

QString FindHelpPage(const QString& name) {
    for (const QString& path : HelpPageCandidates(name)) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

bool OpenHelpPage(const QString& name) {
    const QString path = FindHelpPage(name);
    if (path.isEmpty()) {
        MsgWarning(Translate(QStringLiteral("Help file not found.")) + u'|' +
                   QDir::toNativeSeparators(HelpPageCandidates(name).first()));
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace verdan
