#include "tree_rescue_progress.h"

#include "reports/ui/work_progress.h"
#include "storage/tree_rescue.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

namespace verdan {

QString RescueTreeWithProgress(QWidget* parent, const QString& damaged) {
    const QString target = RescuedTreePath(damaged);
    TRescueReport report;
    QString error;
    bool rescued, cancelled;
    {
        TWorkProgress progress(parent, Translate(QStringLiteral("Rescuing the tree..")));
        rescued = RescueTree(
            damaged, target, [&](double done) { return progress.Step(int(done * 1000), 1000); }, report,
            error);
        cancelled = progress.Cancelled();
    }
    if (!rescued) {
        if (!cancelled)
            MsgErrorRtl(Translate(QStringLiteral("The tree could not be rescued.")) + u'|' +
                        IsolatePath(damaged) + u'\n' + error);
        return {};
    }
    MsgInfo(Translate(QStringLiteral("The tree was rescued into a new tree.")) + u'|' +
            IsolatePath(report.Target) + QStringLiteral("\n\n") + RescueReportText(report));
    return report.Target;
}

} // namespace verdan
