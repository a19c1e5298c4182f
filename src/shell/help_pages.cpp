#include "shell/help_pages.h"

#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/program_folder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

QString& HelpViewerProgram() {
    static QString program = QStringLiteral("xdg-open");
    return program;
}

bool OpenHelpPage(const QString& name, const std::function<void(const QString& path)>& showInside) {
    const QString path = FindHelpPage(name);
    if (path.isEmpty()) {
        MsgWarning(Translate(QStringLiteral("Help file not found.")) + u'|' +
                   IsolatePath(HelpPageCandidates(name).first()));
        return false;
    }
    if (!showInside)
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    // The opener tells by its exit code whether it found a viewer; it may also stay running while the
    // viewer does, which is fine.
    auto* opener = new QProcess(QCoreApplication::instance());
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, showInside, path](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         showInside(path);
                         opener->deleteLater();
                     });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, showInside, path](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             showInside(path);
                         opener->deleteLater();
                     });
    opener->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    opener->start(HelpViewerProgram(), {QUrl::fromLocalFile(path).toString()});
    return true;
}

} // namespace verdan
