#include "xlsx_export.h"

#include "grid_model.h"
#include "text/localisation.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <xlsxwriter.h>

namespace verdan {

namespace {

constexpr int kTitleRowInSheet = 2;
constexpr int kMaxColumnWidth = 50;
constexpr int kPixelsPerWidthUnit = 7;
constexpr int kMinExportedWidth = 4;
constexpr int kFirstDateYear = 1900;

class TXlsxWriter : public TSheetWriter {
public:
    explicit TXlsxWriter(const QString& dateSeparator) : dateSeparator_(dateSeparator) {}
    ~TXlsxWriter() override {
        // A workbook abandoned before Finish is freed without writing anything.
        if (book_ != nullptr)
            lxw_workbook_free(book_);
    }

    bool Begin(const QString& path) override {
        path_ = path.toUtf8();
        // Rows go to a temporary file as they are written instead of staying in memory to the end.
        tmpdir_ = QFileInfo(path).absolutePath().toUtf8();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tmpdir_.data();
        book_ = workbook_new_opt(path_.constData(), &options);
        if (book_ == nullptr)
            return false;
        sheet_ = workbook_add_worksheet(book_, nullptr);
        if (sheet_ == nullptr)
            return false;
        for (lxw_format*& format : formats_) {
            format = workbook_add_format(book_);
            format_set_font_size(format, 12);
        }
        lxw_format* title = formats_[static_cast<int>(TSheetStyle::Title)];
        format_set_font_size(title, 14);
        format_set_bold(title);
        format_set_font_color(title, 0x0000FF);
        lxw_format* header = formats_[static_cast<int>(TSheetStyle::Header)];
        format_set_bold(header);
        format_set_font_color(header, 0x000080);
        format_set_text_wrap(header);
        lxw_format* footer = formats_[static_cast<int>(TSheetStyle::Footer)];
        format_set_bold(footer);
        format_set_font_color(footer, 0x0000FF);
        dateFormat_ = (QStringLiteral("yyyy") + dateSeparator_ + QStringLiteral("mm") + dateSeparator_ +
                       QStringLiteral("dd"))
                          .toUtf8();
        format_set_num_format(formats_[static_cast<int>(TSheetStyle::Date)], dateFormat_.constData());
        return true;
    }

    void SetRightToLeft() override { worksheet_right_to_left(sheet_); }

    void SetColumnWidth(int column, double width) override {
        worksheet_set_column(sheet_, column, column, width, nullptr);
    }

    void SetRowHeight(int row, double height) override { worksheet_set_row(sheet_, row, height, nullptr); }

    void RepeatRows(int first, int last) override { worksheet_repeat_rows(sheet_, first, last); }

    bool WriteText(int row, int column, const QString& text, TSheetStyle style) override {
        const QByteArray utf8 = text.toUtf8();
        return worksheet_write_string(sheet_, row, column, utf8.constData(),
                                      formats_[static_cast<int>(style)]) == LXW_NO_ERROR;
    }

    bool WriteDate(int row, int column, QDate date) override {
        lxw_datetime value{date.year(), date.month(), date.day(), 0, 0, 0};
        return worksheet_write_datetime(sheet_, row, column, &value,
                                        formats_[static_cast<int>(TSheetStyle::Date)]) == LXW_NO_ERROR;
    }

    bool Finish(QString* error) override {
        const lxw_error result = workbook_close(book_);
        book_ = nullptr;
        if (result == LXW_NO_ERROR)
            return true;
        *error = QString::fromUtf8(lxw_strerror(result));
        return false;
    }

private:
    QString dateSeparator_;
    QByteArray path_;
    QByteArray tmpdir_;
    QByteArray dateFormat_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::array<lxw_format*, 5> formats_{};
};

bool Fail(QString* error, const QString& detail) {
    *error = FillPattern(Translate(QStringLiteral("The spreadsheet could not be written.|%*")), {detail});
    return false;
}

} // namespace

std::unique_ptr<TSheetWriter> NewXlsxWriter(const QString& dateSeparator) {
    return std::make_unique<TXlsxWriter>(dateSeparator);
}

QString DateSeparator() {
    for (const QChar c : QLocale::system().dateFormat(QLocale::ShortFormat))
        if (!c.isLetter())
            return QString(c);
    return QStringLiteral("/");
}

QDate DayMonthYearDate(const QString& text) {
    QString t = text;
    t.remove(u' ');
    for (QChar& c : t) {
        if (c == u'.' || c == u'/' || c == u'\\')
            c = u'-';
        else if (c != u'-' && !(c >= u'0' && c <= u'9'))
            c = u' ';
    }
    const qsizetype first = t.indexOf(u'-');
    const qsizetype second = first < 0 ? -1 : t.indexOf(u'-', first + 1);
    if (second < 0)
        return QDate();
    auto number = [](const QString& part) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        return ok ? value : 0;
    };
    const int day = number(t.left(first));
    const int month = number(t.mid(first + 1, second - first - 1));
    const int year = number(t.mid(second + 1));
    return QDate(year, month, day);
}

bool ExportGridToXlsx(const TZelGridModel& grid, const TSheetExport& sheet, const QString& file,
                      TSheetWriter& writer, QString* error,
                      const std::function<bool(int done, int total)>& progress) {
    if (file.trimmed().isEmpty())
        return Fail(error, Translate(QStringLiteral("No file name was given.")));
    QTemporaryDir work;
    const QString draft = work.filePath(QStringLiteral("export.xlsx"));
    if (!work.isValid() || !writer.Begin(draft))
        return Fail(error, Translate(QStringLiteral("No temporary file could be made.")));
    if (sheet.rightToLeft)
        writer.SetRightToLeft();
    bool written = sheet.title.isEmpty() || writer.WriteText(0, 0, sheet.title, TSheetStyle::Title);
    writer.SetColumnWidth(0, 6);
    writer.SetRowHeight(kTitleRowInSheet, 30);
    writer.RepeatRows(kTitleRowInSheet, kTitleRowInSheet);

    QList<int> order = sheet.columns;
    if (order.isEmpty())
        for (int col = TZelGridModel::kFixedCols; col < grid.ColCount(); ++col)
            order << col;
    QList<int> columns;
    for (const int col : order) {
        if (col < TZelGridModel::kFixedCols || col >= grid.ColCount())
            continue;
        const bool sized = col < sheet.colWidths.size();
        if (sized && sheet.colWidths[col] <= kMinExportedWidth)
            continue;
        columns.append(col);
        if (sized)
            writer.SetColumnWidth(static_cast<int>(columns.size()),
                                  std::clamp(sheet.colWidths[col] / kPixelsPerWidthUnit, 0, kMaxColumnWidth));
    }
    constexpr int kProgressStep = 2000;
    const int total = grid.RowCount() - TZelGridModel::kFixedRows;
    for (int row = 0; row < grid.RowCount() && written; ++row) {
        if (progress && row % kProgressStep == 0 && !progress(std::max(row - 1, 0), total))
            return Fail(error, Translate(QStringLiteral("Cancelled.")));
        for (int k = 0; k < columns.size() && written; ++k) {
            QString text = grid.CellText(columns[k], row);
            if (grid.OnExport && !grid.OnExport(2, columns[k], row, text))
                break;
            const int sheetRow = row + kTitleRowInSheet;
            const int sheetCol = k + 1;
            const QDate date = sheet.rightToLeft && row > 0 ? DayMonthYearDate(text) : QDate();
            if (date.isValid() && date.year() >= kFirstDateYear)
                written = writer.WriteDate(sheetRow, sheetCol, date);
            else
                written = writer.WriteText(sheetRow, sheetCol, text.isEmpty() ? QStringLiteral(" ") : text,
                                           row == 0 ? TSheetStyle::Header : TSheetStyle::Text);
        }
    }
    if (written && !sheet.footer.isEmpty())
        written = writer.WriteText(grid.RowCount() + 4, 0, sheet.footer, TSheetStyle::Footer);
    if (!written)
        return Fail(error, Translate(QStringLiteral("A cell could not be written; a text may be too long.")));
    QString detail;
    if (!writer.Finish(&detail))
        return Fail(error, detail);

    QFile draftFile(draft);
    if (!draftFile.open(QIODevice::ReadOnly))
        return Fail(error, draftFile.errorString());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(draftFile.readAll()) < 0 || !out.commit())
        return Fail(error, out.errorString());
    return true;
}

} // namespace verdan
