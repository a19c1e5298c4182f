#include "cli_commands.h"
#include "storage/tree_probe.h"
#include "storage/tree_rescue.h"
#include "text/bidi_text.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace verdan::cli {

// recover BAD.vrd [NEW.vrd]: writes a new tree with everything that can still be read from a damaged one,
// then prints where it is and what was saved and lost. The damaged file is only read.
int Recover(const QStringList& args) {
    const ErrorLines errors;
    if (args.isEmpty() || args.size() > 2 || args[0].startsWith(u'-') || args.value(1).startsWith(u'-')) {
        Err() << "usage: verdan-cli recover BAD.vrd [NEW.vrd]" << Qt::endl;
        return 2;
    }
    // Only what can hold a tree is read page by page; anything else is named as the open names it.
    const TTreeProbe probe = ProbeTreeFile(args[0]);
    if (probe.Kind != TFileKind::Tree && probe.Kind != TFileKind::Busy) {
        QString message = StripBidiControls(ProbeMessage(probe, QFileInfo(args[0]).absoluteFilePath()));
        Err() << message.replace(u'|', u'\n') << Qt::endl;
        return 1;
    }
    const QString target =
        args.size() == 2 ? QFileInfo(args[1]).absoluteFilePath() : RescuedTreePath(args[0]);
    TRescueProgress progress;
    if (isatty(STDERR_FILENO)) {
        progress = [](double done) {
            Err() << "\r" << int(done * 100) << " %" << Qt::flush;
            return true;
        };
    }
    TRescueReport report;
    QString error;
    const bool rescued = RescueTree(args[0], target, progress, report, error);
    if (progress)
        Err() << "\r\033[K" << Qt::flush;
    if (!rescued) {
        Err() << "verdan-cli recover: " << StripBidiControls(error) << Qt::endl;
        return 1;
    }
    Out() << QDir::toNativeSeparators(report.Target) << Qt::endl << RescueReportText(report) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
