// Exports a generated tree as GEDCOM and imports the file again, printing the time of each.
//
//   bench_gedcom_export                 100,000 persons
//   bench_gedcom_export --persons N
//   bench_gedcom_export --events     a tree whose persons and marriages have events and qualified dates
//   bench_gedcom_export --version 7.0   GEDCOM 7.0 instead of 5.5.1
#include "bench_support.h"
#include "gedcom/gedcom_export.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using namespace verdan;
    const int persons = bench::PersonsArgument(100000);
    QTemporaryDir work;
    SetProgramFolder(work.path() + QStringLiteral("/program/"));
    const QString tree = bench::CopyOfGeneratedTree(persons, work, bench::EventsArgument());
    if (tree.isEmpty() || !OpenTreeFile(tree)) {
        std::fprintf(stderr, "could not open a generated tree\n");
        return 1;
    }
    const QString file = work.filePath(QStringLiteral("export.ged"));
    const QStringList args = QCoreApplication::arguments();
    const qsizetype versionAt = args.indexOf(QStringLiteral("--version"));
    const TGedcomVersion version =
        versionAt >= 0 && versionAt + 1 < args.size() && args[versionAt + 1] == u"7.0" ? TGedcomVersion::V70
                                                                                       : TGedcomVersion::V551;
    TGedcomExportSummary summary;
    QString error;
    bench::Stopwatch watch;
    if (!ExportGedcomFile(file, {}, summary, error, version)) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(error));
        return 1;
    }
    const qint64 exportNs = watch.nsecsElapsed(), exportCpu = watch.cpuNsecs();
    CloseTreeFile();
    TGedcomImportOptions options;
    options.BaseFolder = work.path();
    TGedcomImportResult result;
    watch.restart();
    if (!ImportGedcomFile(file, options, result)) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(result.ErrorMessage));
        return 1;
    }
    const qint64 importNs = watch.nsecsElapsed();
    std::printf("%d persons, %d families, %d events, %.1f MB\n", summary.Individuals, summary.Families,
                summary.Events, double(QFileInfo(file).size()) / (1024 * 1024));
    std::printf("export        %8.1f ms (cpu %.1f ms)\n", bench::Ms(exportNs), bench::Ms(exportCpu));
    std::printf("import again  %8.1f ms\n", bench::Ms(importNs));
    std::printf("round trip    %8.1f ms, %d persons back\n", bench::Ms(exportNs + importNs),
                result.Summary.Individuals);
    return 0;
}
