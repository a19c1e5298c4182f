#include "report_filter.h"

#include "grid_model.h"
#include "text/typed_numbers.h"

#include <QLocale>

namespace verdan {

namespace {

QString AsciiLower(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

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
          v2(FilterNumber(filter.Value2)) {}

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
        switch (filter.Operation) {
        case foEquals:
            return cell == filter.Value1;
        case foDiffers:
            return cell != filter.Value1;
        case foContains:
            return !filter.Value1.isEmpty() && cell.contains(filter.Value1);
        case foNotContains:
            return filter.Value1.isEmpty() || !cell.contains(filter.Value1);
        default:
            return false;
        }
    }

    const TFilter& filter;
    bool numeric;
    double v1;
    double v2;
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
    if (text.isEmpty())
        return QPoint(-1, -1);
    const QString wanted = AsciiLower(text);
    auto holds = [&](int c, int r) {
        return (!shown || shown(c)) && AsciiLower(cellText(c, r)).contains(wanted);
    };
    const int first = TZelGridModel::kFixedCols;
    const int top = TZelGridModel::kFixedRows;
    const int startCol = col + 1 < colCount - 1 ? col + 1 : first;
    auto search = [&](int startRow) -> QPoint {
        for (int r = startRow; r < rowCount; ++r)
            if (holds(startCol, r))
                return QPoint(startCol, r);
        for (int r = startRow; r < rowCount; ++r)
            for (int c = first; c < colCount; ++c)
                if (holds(c, r))
                    return QPoint(c, r);
        return QPoint(-1, -1);
    };
    const QPoint hit = search(row + 1 < rowCount - 1 ? row + 1 : top);
    return hit.x() >= 0 ? hit : search(top);
}

} // namespace verdan
