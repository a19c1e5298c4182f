#include "gedcom_import_progress.h"

#include "gedcom/gedcom_import.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/window_title.h"

#include <QProgressDialog>
#include <algorithm>

namespace verdan {

namespace {

// Reading fills the first half of the bar, writing the second.
constexpr int kSteps = 1000;
constexpr int kHalf = kSteps / 2;

int Step(qint64 done, qint64 total, int base) {
    return total > 0 ? base + int(std::min(done, total) * kHalf / total) : base;
}

} // namespace

QString ImportGedcomWithProgress(QWidget* parent, const QString& gedcomPath, TGedcomImportSummary& summary) {
    QProgressDialog progress(parent);
    progress.setWindowTitle(Translate(QStringLiteral("Import GEDCOM File")));
    FitTitleWidth(&progress);
    progress.setLabelText(Translate(QStringLiteral("Reading the GEDCOM file..")));
    progress.setCancelButtonText(StripAmpersands(Translate(QStringLiteral("&Cancel"))));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(0);
    progress.setRange(0, kSteps);
    progress.setValue(0);
    const QString writing = Translate(QStringLiteral("Writing persons: %# of %#"));

    TGedcomImportOptions options;
    options.Progress = [&](const TGedcomProgress& p) {
        if (p.PersonsTotal > 0) {
            progress.setLabelText(
                FillPattern(writing, {QString::number(p.PersonsWritten), QString::number(p.PersonsTotal)}));
            progress.setValue(Step(p.PersonsWritten, p.PersonsTotal, kHalf));
        } else {
            progress.setValue(Step(p.BytesRead, p.BytesTotal, 0));
        }
        return !progress.wasCanceled();
    };
    TGedcomImportResult result;
    const bool ok = ImportGedcomFile(gedcomPath, options, result);
    const bool cancelled = progress.wasCanceled();
    progress.close();
    if (!ok) {
        if (!cancelled)
            MsgErrorRtl(result.ErrorMessage);
        return QString();
    }
    summary = result.Summary;
    return result.TreePath;
}

} // namespace verdan
