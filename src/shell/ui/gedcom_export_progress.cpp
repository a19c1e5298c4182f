#include "gedcom_export_progress.h"

#include "gedcom/readable_export.h"
#include "reports/ui/work_progress.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

namespace verdan {

bool ChooseGedcomVersion(TGedcomVersion& version) {
    TQuestion question;
    question.text = Translate(QStringLiteral("Which GEDCOM version should the file follow?|GEDCOM 7.0 is the "
                                             "current standard; GEDCOM 5.5.1 is read by more programs."));
    question.caption = Translate(QStringLiteral("Export GEDCOM File"));
    question.answers = {
        {kAnswerGedcom7, Translate(QStringLiteral("GEDCOM &7.0")), QStringLiteral("7.0")},
        {kAnswerGedcom551, Translate(QStringLiteral("GEDCOM &5.5.1")), QStringLiteral("5.5.1")},
        {IDCANCEL, Translate(QStringLiteral("Cancel")), QStringLiteral("cancel")}};
    question.focus = kAnswerGedcom551;
    question.escape = IDCANCEL;
    const int answer = MsgAsk(question);
    if (answer != kAnswerGedcom7 && answer != kAnswerGedcom551)
        return false;
    version = answer == kAnswerGedcom7 ? TGedcomVersion::V70 : TGedcomVersion::V551;
    return true;
}

bool ExportGedcomWithProgress(QWidget* parent, const QString& path, TGedcomExportSummary& summary,
                              TGedcomVersion version) {
    QString error;
    QString warning;
    bool ok, cancelled;
    {
        TWorkProgress progress(parent, Translate(QStringLiteral("Writing the GEDCOM file..")));
        ok = ExportReadableGedcomFile(
            path, [&](const TGedcomProgress& p) { return progress.Step(p.PersonsWritten, p.PersonsTotal); },
            summary, warning, error, version);
        cancelled = progress.Cancelled();
    }
    if (!ok && !cancelled)
        MsgErrorRtl(error);
    // A damaged tree: what could be read was written, and the user learns how much that was.
    if (ok && !warning.isEmpty())
        MsgWarning(warning + u'\n' + IsolatePath(path));
    return ok;
}

} // namespace verdan
