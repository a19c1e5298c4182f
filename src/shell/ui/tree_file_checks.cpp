#include "tree_file_checks.h"

#include "reports/ui/work_progress.h"
#include "shell/ui/tree_rescue_progress.h"
#include "storage/database.h"
#include "storage/jet_convert.h"
#include "storage/tree_check.h"
#include "storage/tree_file.h"
#include "storage/tree_probe.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/window_title.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <algorithm>

namespace verdan {

namespace {

// Enough of the engine's findings to tell a helper what is wrong, without a wall of text.
constexpr int kProblemsShown = 8;

// A tree of the old format opens as a new tree converted beside it, when the user agrees.
QString ConvertedTreeToOpen(QWidget* parent, const QString& path) {
    const QString target = DefaultConvertedPath(path);
    const QString question =
        Isolate(Translate(QStringLiteral("This tree file has the old file format."))) + u'|' +
        IsolateLtr(QDir::toNativeSeparators(path)) + QStringLiteral("\n\n") +
        Isolate(FillPattern(
            Translate(QStringLiteral("Convert it into a new tree %*? The old file stays as it is.")),
            {IsolateLtr(QDir::toNativeSeparators(QFileInfo(target).fileName()))}));
    if (MsgYesNo(question, QString()) != IDYES)
        return {};
    TJetConvertSummary summary;
    QString error;
    bool converted, cancelled;
    {
        TWorkProgress progress(parent, Translate(QStringLiteral("Converting the tree file..")));
        converted = ConvertLegacyTreeFile(
            path, target,
            [&](qint64 rows, qint64 total) {
                return total > 0 ? progress.Step(int(std::min(rows, total) * 1000 / total), 1000)
                                 : !progress.Cancelled();
            },
            summary, error);
        cancelled = progress.Cancelled();
    }
    if (!converted) {
        if (!cancelled)
            MsgErrorRtl(error + u'|' + IsolatePath(path));
        return {};
    }
    if (!summary.SkippedTables.isEmpty() || summary.PicturesMissing > 0)
        MsgInfo(JetConvertSummaryText(summary));
    return target;
}

} // namespace

TTreeToOpen TreeFileToOpen(QWidget* parent, const QString& path, const TAskDamagedTree& askDamaged) {
    const TTreeProbe probe = ProbeTreeFile(path);
    if (probe.Kind == TFileKind::LegacyTree)
        return {ConvertedTreeToOpen(parent, path)};
    if (probe.Kind != TFileKind::Tree) {
        ShowStoreMessage(StoreMessage::Error, ProbeMessage(probe, path));
        return {};
    }
    if (probe.Damaged) {
        switch (askDamaged(path, probe.Reason)) {
        case TDamageChoice::Rescue:
            return {RescueTreeWithProgress(parent, path)};
        case TDamageChoice::ReadOnly:
            return {path, TOpenAccess::ReadDamaged};
        case TDamageChoice::Cancel:
            return {};
        }
    }
    if (probe.Foreign.isEmpty())
        return {path, probe.ReadOnlyFile ? TOpenAccess::ReadOnly : TOpenAccess::Write};
    QStringList names;
    for (const QString& object : probe.Foreign)
        names << Isolate(object);
    const QString question =
        Isolate(Translate(QStringLiteral("The tree file holds objects that could change it on their own."))) +
        u'|' + IsolateLtr(QDir::toNativeSeparators(path)) + u'\n' + names.join(QStringLiteral(", ")) +
        QStringLiteral("\n\n") +
        Isolate(
            Translate(QStringLiteral("Open a cleaned copy without them? The file itself stays as it is.")));
    if (MsgYesNo(question, QString()) != IDYES)
        return {};
    TBusyCursor busy;
    return {WriteCleanedCopy(path)};
}

bool CheckOpenTreeWithProgress(QWidget* parent, QString* problems) {
    if (!IsTreeOpen())
        return false;
    QProgressDialog progress(parent);
    progress.setWindowTitle(Translate(QStringLiteral("Data File Maintainance")));
    FitTitleWidth(&progress);
    progress.setLabelText(Translate(QStringLiteral("Checking the tree file for damage..")));
    progress.setCancelButtonText(StripAmpersands(Translate(QStringLiteral("&Cancel"))));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(500);
    progress.setRange(0, 1000);
    progress.setValue(0);
    const TTreeCheck check = CheckTreeFile(Dm(), [&](double done) {
        progress.setValue(int(done * 1000));
        return !progress.wasCanceled();
    });
    progress.close();
    if (!check.Finished)
        return false;
    if (check.Problems.isEmpty())
        return true;
    if (problems) {
        QStringList shown = check.Problems.mid(0, kProblemsShown);
        if (check.Problems.size() > kProblemsShown)
            shown << QStringLiteral("…");
        *problems = shown.join(u'\n');
    }
    return false;
}

} // namespace verdan
