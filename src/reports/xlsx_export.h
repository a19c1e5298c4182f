#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace verdan {

class TZelGridModel;

enum class TSheetStyle { Text, Title, Header, Footer, Date };

// The few spreadsheet operations the grid export needs; rows and columns count from 0.
class TSheetWriter {
public:
    virtual ~TSheetWriter() = default;
    // Starts a workbook of one sheet that Finish writes to `path`.
    virtual bool Begin(const QString& path) = 0;
    virtual void SetRightToLeft() = 0;
    virtual void SetColumnWidth(int column, double width) = 0;
    virtual void SetRowHeight(int row, double height) = 0;
    virtual void RepeatRows(int first, int last) = 0;
    virtual bool WriteText(int row, int column, const QString& text, TSheetStyle style) = 0;
    virtual bool WriteDate(int row, int column, QDate date) = 0;
    // Writes the file; on failure says why in `error`.
    virtual bool Finish(QString* error) = 0;
};

// The .xlsx writer. Date cells show year, month and day with `dateSeparator` between them.
std::unique_ptr<TSheetWriter> NewXlsxWriter(const QString& dateSeparator);

// The separator of the system's short date format.
QString DateSeparator();

struct TSheetExport {
    QString title;
    QString footer;
    bool rightToLeft = false;
    // Pixel widths of the grid's columns by grid column; a column 4 pixels wide or less is not exported,
    // and columns past the list keep the sheet's default width.
    QList<int> colWidths;
    // The columns exported, in order; without them every column wide enough is, in grid order.
    QList<int> columns;
};

// Writes the grid to `file` as a sheet: the title in A1, the title row on row 3 (repeated on printed
// pages), data rows below it, the footer two rows after the last. In a right-to-left grid, day-month-year
// texts of valid Gregorian dates from 1900 on become date cells. Rows are written as they are read, so a
// large grid needs no copy in memory; `progress` (rows written, rows in all) may cancel. The file appears
// only when everything was written; otherwise `error` says what went wrong and any earlier file stays as
// it was.
bool ExportGridToXlsx(const TZelGridModel& grid, const TSheetExport& sheet, const QString& file,
                      TSheetWriter& writer, QString* error,
                      const std::function<bool(int done, int total)>& progress = {});

// The date a day-month-year text names ("12/5/2020", "12-05-2020", "12.5.2020"); invalid when none.
QDate DayMonthYearDate(const QString& text);

} // namespace verdan
