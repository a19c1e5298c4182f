#include "grid_sort.h"

#include <QDate>
#include <QLocale>
#include <algorithm>

namespace verdan {

namespace {

bool StartsNumeric(const QString& text) {
    if (text.isEmpty())
        return false;
    const QChar c = text[0];
    return c == u',' || c == u'.' || (c >= u'0' && c <= u'9');
}

// An unreadable text counts as 0, which keeps it out of the numeric comparison.
double ReadNumber(QString text) {
    text.remove(u',');
    bool ok = false;
    if (text.contains(u'.')) {
        const double value = QLocale::c().toDouble(text, &ok);
        return ok ? value : 0;
    }
    const qlonglong value = text.toLongLong(&ok);
    return ok ? static_cast<double>(value) : 0;
}

template <typename T> int Sign(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareUpperPrefix(const QString& a, const QString& b) {
    constexpr qsizetype kPrefix = 100;
    const qsizetype na = std::min(a.size(), kPrefix);
    const qsizetype nb = std::min(b.size(), kPrefix);
    auto upper = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') ? char16_t(u - 32) : u;
    };
    for (qsizetype i = 0; i < std::min(na, nb); ++i) {
        const char16_t ca = upper(a[i]);
        const char16_t cb = upper(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return Sign(na, nb);
}

bool SortDescendingFlag = false;

} // namespace

QString ShortDateFormat() {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

int CompareGridTexts(const QString& a, const QString& b, const QString& dateFormat) {
    if (a == b)
        return 0;
    if (!StartsNumeric(b))
        return CompareUpperPrefix(a, b);
    const double x = ReadNumber(a);
    const double y = ReadNumber(b);
    if (x != 0 && y != 0)
        return Sign(x, y);
    const QDate da = QDate::fromString(a, dateFormat);
    const QDate db = QDate::fromString(b, dateFormat);
    if (da.isValid() && db.isValid())
        return Sign(da, db);
    return Sign(QStringView(a).compare(b), 0);
}

QList<int> GridSortOrder(const QStringList& keys, bool descending, const QString& dateFormat) {
    const qsizetype n = keys.size();
    QList<int> order(n);
    for (qsizetype i = 0; i < n; ++i)
        order[i] = static_cast<int>(i);
    QList<int> merged(n);
    // The later run's item goes first only when it is strictly before the earlier run's item, which is
    // what keeps equal keys in their order.
    auto laterFirst = [&](int earlier, int later) {
        const int c = CompareGridTexts(keys[earlier], keys[later], dateFormat);
        return descending ? c < 0 : c > 0;
    };
    for (qsizetype width = 1; width < n; width *= 2) {
        for (qsizetype lo = 0; lo < n; lo += 2 * width) {
            const qsizetype mid = std::min(lo + width, n);
            const qsizetype hi = std::min(lo + 2 * width, n);
            qsizetype i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                merged[k++] = laterFirst(order[i], order[j]) ? order[j++] : order[i++];
            while (i < mid)
                merged[k++] = order[i++];
            while (j < hi)
                merged[k++] = order[j++];
        }
        order.swap(merged);
    }
    return order;
}

bool SortDescending() {
    return SortDescendingFlag;
}

void SetSortDescending(bool descending) {
    SortDescendingFlag = descending;
}

} // namespace verdan
