#include "program_updates.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace verdan {

namespace {

constexpr int kCommandTimeMs = 20000;
const QString kPackage = QStringLiteral("verdan");

} // namespace

TCommandRunner SystemCommandRunner() {
    return [](const QString& program, const QStringList& arguments, QString& output) {
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        // Untranslated answers, whatever the desktop's language.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(kCommandTimeMs)) {
            process.kill();
            process.waitForFinished();
            return false;
        }
        output = QString::fromUtf8(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    };
}

TUpdateCheck CheckForUpdate(const QString& runningVersion, const TCommandRunner& run) {
    TUpdateCheck check;
    QString policy;
    if (!run(QStringLiteral("apt-cache"), {QStringLiteral("policy"), kPackage}, policy))
        return check;
    // "  Candidate: 0.2.0-1": the version an upgrade would install; "(none)" when no source offers one.
    static const QRegularExpression candidate(QStringLiteral("^\\s*Candidate:\\s*(\\S+)\\s*$"),
                                              QRegularExpression::MultilineOption);
    const QString newest = candidate.match(policy).captured(1);
    if (newest.isEmpty() || newest == u"(none)")
        return check;
    QString ignored;
    const bool newer =
        run(QStringLiteral("dpkg"),
            {QStringLiteral("--compare-versions"), newest, QStringLiteral("gt"), runningVersion}, ignored);
    check.Answer = newer ? TUpdateAnswer::Newer : TUpdateAnswer::UpToDate;
    if (newer)
        check.NewVersion = newest;
    return check;
}

QStringList SoftwareUpdaterCommand() {
    const QList<QStringList> updaters = {
        {QStringLiteral("gnome-software"), QStringLiteral("--mode=updates")},
        {QStringLiteral("plasma-discover"), QStringLiteral("--mode"), QStringLiteral("update")},
        {QStringLiteral("update-manager")},
        {QStringLiteral("mintupdate")},
        {QStringLiteral("pamac-manager"), QStringLiteral("--updates")},
    };
    for (const QStringList& updater : updaters)
        if (!QStandardPaths::findExecutable(updater.first()).isEmpty())
            return updater;
    return {};
}

QString MailingListAddress() {
    return QStringLiteral(VERDAN_MAILING_LIST);
}

} // namespace verdan
