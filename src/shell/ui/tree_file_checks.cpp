#include "tree_file_checks.h"

#include "storage/database.h"
#include "storage/tree_check.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"

#include <QDir>
#include <QProgressDialog>

namespace verdan {

namespace {

// Enough of the engine's findings to tell a helper what is wrong, without a wall of text.
constexpr int kProblemsShown = 8;

} // namespace

QString TreeFileToOpen(QWidget*, const QString& path) {
    const QStringList objects = ForeignSchemaObjects(path);
    if (objects.isEmpty())
        return path;
    QStringList names;
    for (const QString& object : objects)
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
    return WriteCleanedCopy(path);
}

bool CheckOpenTreeWithProgress(QWidget* parent) {
    if (!IsTreeOpen())
        return false;
    QProgressDialog progress(parent);
    progress.setWindowTitle(Translate(QStringLiteral("Data File Maintainance")));
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
    QStringList shown;
    for (const QString& problem : check.Problems.mid(0, kProblemsShown))
        shown << IsolateLtr(problem);
    if (check.Problems.size() > kProblemsShown)
        shown << QStringLiteral("…");
    MsgWarning(Isolate(Translate(QStringLiteral("The tree file is damaged."))) + u'|' +
               IsolateLtr(QDir::toNativeSeparators(CurrentTreePath())) + u'\n' +
               Isolate(FillPattern(
                   Translate(QStringLiteral("The check found %# problems. The file was not compacted, "
                                            "so nothing more of it is lost; work on a copy saved "
                                            "earlier if you have one.")),
                   {QString::number(check.Problems.size())})) +
               QStringLiteral("\n\n") + shown.join(u'\n'));
    return false;
}

} // namespace verdan
