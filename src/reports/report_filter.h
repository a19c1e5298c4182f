#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <functional>

namespace verdan {

class TZelGridModel;

// A filter on one column of a report. Kind "N" (any letter case) compares numbers, anything else texts.
// Operations: 0 equals, 1 differs, 4 contains, 5 does not contain (texts only), 8 at most, 9 at least,
// 10 between Value1 and Value2 (numbers only).
struct TFilter {
    QString Kind = QStringLiteral("s");
    quint8 Operation = 0;
    QString Value1;
    QString Value2;
    bool operator==(const TFilter&) const = default;
};

enum TFilterOperation : quint8 {
    foEquals = 0,
    foDiffers = 1,
    foContains = 4,
    foNotContains = 5,
    foAtMost = 8,
    foAtLeast = 9,
    foBetween = 10,
};

// A number as filters read it: "." is the decimal point whatever the system's number format, Arabic and
// Persian digits read as digits, surrounding blanks are ignored; an unreadable text is 0.
double FilterNumber(const QString& text);
// True when the whole text reads as such a number.
bool IsFilterNumber(const QString& text);

// The comparison of a cell's text with the filter. Texts compare folded for searching (SearchFold: Arabic
// marks, Persian and Urdu letter forms, Latin case and accents); an empty value is never found in a text.
bool PassesFilter(const QString& cell, const TFilter& filter);

// Keeps the data rows whose cell in `column` passes the filter, in their order; returns how many. A
// column outside the grid keeps every row.
int ApplyFilter(TZelGridModel& grid, const TFilter& filter, int column);

// The next cell whose shown text contains `text` (both folded for searching), searching
// from the cell after (col, row): first down the start column, then row by row from the start row, and
// once more from the first data row when nothing was found. Only columns for which `shown` is true are
// searched. (-1, -1) when no cell holds the text or the text is empty.
QPoint FindNextCell(const std::function<QString(int col, int row)>& cellText, int colCount, int rowCount,
                    int col, int row, const QString& text, const std::function<bool(int col)>& shown);

// The same search a little at a time, so that a window stays responsive over a million rows: each Step
// searches for about `budgetMs` milliseconds and tells whether the search is over.
class TCellFinder {
public:
    TCellFinder(std::function<QString(int col, int row)> cellText, int colCount, int rowCount, int col,
                int row, const QString& text, std::function<bool(int col)> shown);
    bool Step(int budgetMs);
    bool Done() const { return pass_ == Pass::Done; }
    // The cell found; (-1, -1) while searching and when nothing was found.
    QPoint Hit() const { return hit_; }

private:
    enum class Pass { Column, Rows, ColumnAgain, RowsAgain, Done };
    bool Holds(int col, int row) const;

    std::function<QString(int, int)> cellText_;
    std::function<bool(int)> shown_;
    QString wanted_;
    int colCount_;
    int rowCount_;
    int startCol_;
    int startRow_;
    Pass pass_ = Pass::Column;
    int row_ = 0;
    int col_ = 0;
    QPoint hit_{-1, -1};
};

} // namespace verdan
