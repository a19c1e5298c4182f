#include "readable_export.h"

#include "storage/tree_file.h"
#include "storage/tree_rescue.h"
#include "text/localisation.h"

namespace verdan {

bool ExportReadableGedcomFile(const QString& path, const TGedcomProgressFn& progress,
                              TGedcomExportSummary& summary, QString& warning, QString& error,
                              TGedcomVersion version) {
    warning.clear();
    if (!IsTreeDamaged())
        return ExportGedcomFile(path, progress, summary, error, version);
    TRescueReport report;
    const TRescuedReading rescued(&report);
    if (!rescued.Active()) {
        error = Translate(QStringLiteral("The tree could not be rescued.")) + u'\n' + rescued.Error();
        return false;
    }
    if (!ExportGedcomFile(path, progress, summary, error, version))
        return false;
    const qint64 lost = LostRows(report, QStringLiteral("ftPerson"));
    warning =
        Translate(QStringLiteral("The tree file is damaged: only what could still be read was exported.")) +
        u'|' +
        (lost < 0
             ? FillPattern(Translate(QStringLiteral("Persons exported: %#. Some persons could not be read.")),
                           {QString::number(summary.Individuals)})
             : FillPattern(
                   Translate(QStringLiteral("Persons exported: %#. Persons that could not be read: %#.")),
                   {QString::number(summary.Individuals), QString::number(lost)}));
    return true;
}

} // namespace verdan
