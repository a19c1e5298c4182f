#include "report_filter.h"

#include "grid_model.h"
#include "text/search_fold.h"
#include "text/typed_numbers.h"

#include <QElapsedTimer>
#include <QLocale>
#include <climits>

namespace verdan {

namespace {

const QLocale& NumberLocale() {
    // The C locale reads "." as the decimal point on every system; group separators are refused.
    static const QLocale c = [] {
        QLocale locale = QLocale::c();
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        return locale;
    }();
    return c;
}

bool ReadNumber(const QString& text, double& value) {
    const QString digits = NormaliseDigits(text).trimmed();
    bool ok = false;
    value = NumberLocale().toDouble(digits, &ok);
    return ok && !digits.isEmpty();
}

// A filter with its values read once, for use over many cells.
struct TFilterTest {
    explicit TFilterTest(const TFilter& filter)
        : filter(filter), numeric(filter.Kind.toUpper() == u"N"), v1(FilterNumber(filter.Value1)),
          v2(FilterNumber(filter.Value2)), text(SearchFold(filter.Value1)) {}

    bool operator()(const QString& cell) const {
        if (numeric) {
            const double c = FilterNumber(cell);
            switch (filter.Operation) {
            case foEquals:
                return c == v1;
            case foDiffers:
                return c != v1;
            case foAtMost:
                return c <= v1;
            case foAtLeast:
                return c >= v1;
            case foBetween:
                return v1 <= c && c <= v2;
            default:
                return false;
            }
        }
        // Texts compare folded for searching, as every search of the program does.
        switch (filter.Operation) {
        case foEquals:
            return SearchFold(cell) == text;
        case foDiffers:
            return SearchFold(cell) != text;
        case foContains:
            return FoldedContains(cell, text);
        case foNotContains:
            return !FoldedContains(cell, text);
        default:
            return false;
        }
    }

    const TFilter& filter;
    bool numeric;
    double v1;
    double v2;
    QString text; // Value1 folded
};

} // namespace

double FilterNumber(const QString& text) {
    double value = 0;
    return ReadNumber(text, value) ? value : 0.0;
}

bool IsFilterNumber(const QString& text) {
    double value = 0;
    return ReadNumber(text, value);
}

bool PassesFilter(const QString& cell, const TFilter& filter) {
    return TFilterTest(filter)(cell);
}

int ApplyFilter(TZelGridModel& grid, const TFilter& filter, int column) {
    if (column < 0 || column >= grid.ColCount())
        return grid.RowCount() - TZelGridModel::kFixedRows;
    const TFilterTest passes(filter);
    QList<int> kept;
    kept.reserve(grid.RowCount());
    for (int row = TZelGridModel::kFixedRows; row < grid.RowCount(); ++row)
        if (passes(grid.Cell(column, row)))
            kept << row;
    grid.KeepRows(kept);
    return static_cast<int>(kept.size());
}

QPoint FindNextCell(const std::function<QString(int col, int row)>& cellText, int colCount, int rowCount,
                    int col, int row, const QString& text, const std::function<bool(int col)>& shown) {
    TCellFinder finder(cellText, colCount, rowCount, col, row, text, shown);
    while (!finder.Step(INT_MAX)) {
    }
    return finder.Hit();
}

TCellFinder::TCellFinder(std::function<QString(int col, int row)> cellText, int colCount, int rowCount,
                         int col, int row, const QString& text, std::function<bool(int col)> shown)
    : cellText_(std::move(cellText)), shown_(std::move(shown)), wanted_(SearchFold(text)),
      colCount_(colCount), rowCount_(rowCount) {
    const int first = TZelGridModel::kFixedCols;
    const int top = TZelGridModel::kFixedRows;
    startCol_ = col + 1 < colCount - 1 ? col + 1 : first;
    startRow_ = row + 1 < rowCount - 1 ? row + 1 : top;
    row_ = startRow_;
    col_ = first;
    // A text of marks alone folds to nothing and is found nowhere.
    if (wanted_.isEmpty())
        pass_ = Pass::Done;
}

bool TCellFinder::Holds(int col, int row) const {
    return (!shown_ || shown_(col)) && FoldedContains(cellText_(col, row), wanted_);
}

bool TCellFinder::Step(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    constexpr int kCellsPerLook = 512;
    const int first = TZelGridModel::kFixedCols;
    int cells = 0;
    auto late = [&] {
        return ++cells % kCellsPerLook == 0 && clock.elapsed() >= budgetMs;
    };
    // Each round goes down the start column, then row by row; the first round starts at the start row,
    // the second (when the first found nothing) at the first data row.
    while (pass_ != Pass::Done) {
        if (pass_ == Pass::Column || pass_ == Pass::ColumnAgain) {
            for (; row_ < rowCount_; ++row_) {
                if (Holds(startCol_, row_)) {
                    hit_ = QPoint(startCol_, row_);
                    pass_ = Pass::Done;
                    return true;
                }
                if (late()) {
                    ++row_;
                    return false;
                }
            }
            pass_ = pass_ == Pass::Column ? Pass::Rows : Pass::RowsAgain;
            row_ = pass_ == Pass::Rows ? startRow_ : TZelGridModel::kFixedRows;
            col_ = first;
            continue;
        }
        for (; row_ < rowCount_; ++row_, col_ = first)
            for (; col_ < colCount_; ++col_) {
                if (Holds(col_, row_)) {
                    hit_ = QPoint(col_, row_);
                    pass_ = Pass::Done;
                    return true;
                }
                if (late()) {
                    ++col_;
                    return false;
                }
            }
        pass_ = pass_ == Pass::Rows ? Pass::ColumnAgain : Pass::Done;
        row_ = TZelGridModel::kFixedRows;
    }
    return true;
}

} // namespace verdan
