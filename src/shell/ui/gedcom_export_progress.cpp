#include "gedcom_export_progress.h"

#include "gedcom/gedcom_export.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QProgressDialog>

namespace verdan {

bool ExportGedcomWithProgress(QWidget* parent, const QString& path, TGedcomExportSummary& summary) {
    QProgressDialog progress(parent);
    progress.setWindowTitle(Translate(QStringLiteral("Export GEDCOM File")));
    progress.setLabelText(Translate(QStringLiteral("Writing the GEDCOM file..")));
    progress.setCancelButtonText(StripAmpersands(Translate(QStringLiteral("&Cancel"))));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(0);
    progress.setRange(0, 0);
    const QString writing = Translate(QStringLiteral("Writing persons: %# of %#"));
    const auto report = [&](const TGedcomProgress& p) {
        progress.setRange(0, std::max(1, p.PersonsTotal));
        progress.setLabelText(
            FillPattern(writing, {QString::number(p.PersonsWritten), QString::number(p.PersonsTotal)}));
        progress.setValue(p.PersonsWritten);
        return !progress.wasCanceled();
    };
    QString error;
    const bool ok = ExportGedcomFile(path, report, summary, error);
    const bool cancelled = progress.wasCanceled();
    progress.close();
    if (!ok && !cancelled)
        MsgErrorRtl(error);
    return ok;
}

} // namespace verdan
