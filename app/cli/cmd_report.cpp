#include "cli_commands.h"
#include "reports/grid_model.h"
#include "reports/grid_pdf.h"
#include "reports/report_print.h"
#include "reports/report_tables.h"
#include "reports/xlsx_export.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <climits>

namespace verdan::cli {

namespace {

constexpr const char* kUsage = "usage: verdan-cli report persons|contacts|addresses TREE.vrd --out "
                               "FILE.csv|.txt|.xlsx|.pdf [--columns FIELD,FIELD,...]";
constexpr int kRowsAtOnce = 5000;

// Pixel widths by grid column: the chosen columns keep the report's widths (a hidden one gets its own
// default), every other column is hidden, so the sheet, the text file and the paper show the same.
QList<int> ChosenWidths(TReportKind kind, const QList<int>& columns) {
    QList<int> widths(ReportColumns(kind).size() + 1, 0);
    widths[0] = 40;
    for (const int col : columns)
        widths[col] = std::max(ReportColumns(kind)[col - 1].width, 100);
    return widths;
}

bool WriteText(TZelGridModel& grid, const QList<int>& columns, const QString& file,
               const QString& delimiter) {
    grid.SetFieldDelimiter(delimiter);
    return grid.SaveToTextFile(file, true, {}, columns);
}

bool WriteSheet(const TZelGridModel& grid, TReportKind kind, const QList<int>& columns,
                const QString& caption, const QString& file, QString* error) {
    TSheetExport sheet;
    sheet.title = caption;
    sheet.footer = Translate(QStringLiteral("Verdan"));
    sheet.rightToLeft = Local().Target.RightToLeft;
    sheet.colWidths = ChosenWidths(kind, columns);
    sheet.columns = columns;
    const auto writer = NewXlsxWriter(DateSeparator());
    return ExportGridToXlsx(grid, sheet, file, *writer, error);
}

bool WritePdf(const TZelGridModel& grid, TReportKind kind, const QList<int>& columns, const QString& caption,
              const QString& file, QString* error, int* pages) {
    TGridPrintSettings settings;
    PrepareReportPrint(settings, caption);
    TGridPrintSource source = ReportPrintSource(grid, kind, ChosenWidths(kind, columns),
                                                QGuiApplication::font(), Local().Target.RightToLeft);
    source.order = columns;
    TGridPrintLayout layout(source, settings);
    const TFontMeasurer measurer;
    layout.Paginate(measurer);
    *pages = layout.PageCount();
    return WriteGridPdf(layout, file, {}, error);
}

} // namespace

int Report(const QStringList& given) {
    const ErrorLines errors;
    QStringList args = given;
    const QString chosen = OptionValue(args, QStringLiteral("--columns"));
    if (const qsizetype at = args.indexOf(QStringLiteral("--columns")); at >= 0)
        args.remove(at, std::min<qsizetype>(2, args.size() - at));
    TReportKind kind = TReportKind::Persons;
    const QString tree = args.value(1);
    const QString file = OptionValue(args, QStringLiteral("--out"));
    if (args.size() != 4 || !ReportKindFromName(args.value(0), kind) || tree.startsWith(u'-') ||
        file.isEmpty() || (given.contains(QStringLiteral("--columns")) && chosen.trimmed().isEmpty())) {
        Err() << kUsage << Qt::endl;
        return 2;
    }
    // Columns are named by their fields, the same in every interface language.
    QList<int> columns = DefaultReportColumns(kind);
    if (!chosen.isEmpty()) {
        QString unknown;
        columns = ReportColumnsOfFields(kind, chosen.split(u',', Qt::SkipEmptyParts), &unknown);
        if (!unknown.isEmpty()) {
            Err() << "verdan-cli: the " << ReportKindName(kind) << " list has no column " << unknown
                  << "; its columns are " << ReportChoosableFields(kind).join(u',') << Qt::endl;
            return 2;
        }
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
    TReportReader reader(kind);
    TZelGridModel grid;
    const bool read = reader.Start();
    if (read) {
        FillReportGrid(grid, kind, {reader.Header()});
        while (!reader.AtEnd())
            AppendReportRows(grid, reader.Read(INT_MAX, kRowsAtOnce));
    }
    CloseTreeFile();
    if (!read) {
        Err() << "verdan-cli: the list could not be read from " << QDir::toNativeSeparators(tree) << Qt::endl;
        return 1;
    }
    const QString caption = Translate(ReportCaptionSource(kind));
    ExportReportCellsAsShown(grid, kind);
    QString error;
    bool written = false;
    int pages = 0;
    if (suffix == u"pdf")
        written = WritePdf(grid, kind, columns, caption, file, &error, &pages);
    else if (suffix == u"xlsx")
        written = WriteSheet(grid, kind, columns, caption, file, &error);
    else
        written = WriteText(grid, columns, file,
                            suffix == u"csv" ? QStringLiteral("COMMA") : QStringLiteral("TAB"));
    if (!written) {
        Err() << "verdan-cli: " << QDir::toNativeSeparators(file) << ": "
              << (error.isEmpty() ? QStringLiteral("could not be written") : error) << Qt::endl;
        return 1;
    }
    Out() << reader.Done() << " rows";
    if (suffix == u"pdf")
        Out() << ", " << pages << " pages";
    Out() << " written to " << QDir::toNativeSeparators(file) << Qt::endl;
    return 0;
}

} // namespace verdan::cli
