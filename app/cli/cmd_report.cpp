#include "cli_commands.h"
#include "reports/grid_model.h"
#include "reports/grid_pdf.h"
#include "reports/name_cache.h"
#include "reports/report_print.h"
#include "reports/report_tables.h"
#include "reports/xlsx_export.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace verdan::cli {

namespace {

constexpr const char* kUsage =
    "usage: verdan-cli report persons|contacts|addresses TREE.vrd --out FILE.csv|.txt|.xlsx|.pdf";

// The row-number column of a sheet; the other widths are the report's own.
QList<int> SheetWidths(TReportKind kind) {
    QList<int> widths = ReportColumnWidths(kind);
    widths[0] = 40;
    return widths;
}

bool WriteText(TZelGridModel& grid, const QString& file, const QString& delimiter) {
    grid.SetFieldDelimiter(delimiter);
    return grid.SaveToTextFile(file, true);
}

bool WriteSheet(const TZelGridModel& grid, TReportKind kind, const QString& caption, const QString& file,
                QString* error) {
    TSheetExport sheet;
    sheet.title = caption;
    sheet.footer = Translate(QStringLiteral("Verdan"));
    sheet.rightToLeft = Local().Target.RightToLeft;
    sheet.colWidths = SheetWidths(kind);
    const auto writer = NewXlsxWriter(DateSeparator());
    return ExportGridToXlsx(grid, sheet, file, *writer, error);
}

bool WritePdf(const TZelGridModel& grid, TReportKind kind, const QString& caption, const QString& file,
              QString* error, int* pages) {
    TGridPrintSettings settings;
    PrepareReportPrint(settings, caption);
    TGridPrintLayout layout(
        ReportPrintSource(grid, kind, SheetWidths(kind), QGuiApplication::font(), Local().Target.RightToLeft),
        settings);
    layout.Paginate(TFontMeasurer());
    *pages = layout.PageCount();
    return WriteGridPdf(layout, file, {}, error);
}

} // namespace

int Report(const QStringList& args) {
    const ErrorLines errors;
    TReportKind kind = TReportKind::Persons;
    const QString tree = args.value(1);
    const QString file = OptionValue(args, QStringLiteral("--out"));
    if (args.size() != 4 || !ReportKindFromName(args.value(0), kind) || tree.startsWith(u'-') ||
        file.isEmpty()) {
        Err() << kUsage << Qt::endl;
        return 2;
    }
    const QString suffix = QFileInfo(file).suffix().toLower();
    static const QStringList known = {QStringLiteral("csv"), QStringLiteral("txt"), QStringLiteral("tsv"),
                                      QStringLiteral("xlsx"), QStringLiteral("pdf")};
    if (!known.contains(suffix)) {
        Err() << "verdan-cli: the output file must end in .csv, .txt, .tsv, .xlsx or .pdf" << Qt::endl;
        return 2;
    }
    if (!QFileInfo(tree).isFile()) {
        Err() << "verdan-cli: no tree file " << QDir::toNativeSeparators(tree) << Qt::endl;
        return 1;
    }
    if (!OpenTreeFile(tree, TOpenAccess::ReadOnly))
        return 1;
    LoadNameCache();
    const TextTable table = ReadReportTable(kind);
    TZelGridModel grid;
    FillReportGrid(grid, kind, table);
    CloseTreeFile();
    if (table.isEmpty()) {
        Err() << "verdan-cli: the list could not be read from " << QDir::toNativeSeparators(tree) << Qt::endl;
        return 1;
    }
    const QString caption = Translate(ReportCaptionSource(kind));
    ExportReportCellsAsShown(grid, kind);
    const int rows = static_cast<int>(table.size()) - 1;
    QString error;
    bool written = false;
    int pages = 0;
    if (suffix == u"pdf")
        written = WritePdf(grid, kind, caption, file, &error, &pages);
    else if (suffix == u"xlsx")
        written = WriteSheet(grid, kind, caption, file, &error);
    else
        written = WriteText(grid, file, suffix == u"csv" ? QStringLiteral("COMMA") : QStringLiteral("TAB"));
    if (!written) {
        Err() << "verdan-cli: " << QDir::toNativeSeparators(file) << ": "
              << (error.isEmpty() ? QStringLiteral("could not be written") : error) << Qt::endl;
        return 1;
    }
    Out() << rows << " rows";
    if (suffix == u"pdf")
        Out() << ", " << pages << " pages";
    Out() << " written to " << QDir::toNativeSeparators(file) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
