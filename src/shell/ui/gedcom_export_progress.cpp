#include "gedcom_export_progress.h"

#include "gedcom/gedcom_export.h"
#include "reports/ui/work_progress.h"
#include "text/localisation.h"
#include "text/messages.h"

namespace verdan {

bool ExportGedcomWithProgress(QWidget* parent, const QString& path, TGedcomExportSummary& summary) {
    QString error;
    bool ok, cancelled;
    {
        TWorkProgress progress(parent, Translate(QStringLiteral("Writing the GEDCOM file..")));
        ok = ExportGedcomFile(
            path, [&](const TGedcomProgress& p) { return progress.Step(p.PersonsWritten, p.PersonsTotal); },
            summary, error);
        cancelled = progress.Cancelled();
    }
    if (!ok && !cancelled)
        MsgErrorRtl(error);
    return ok;
}

} // namespace verdan
