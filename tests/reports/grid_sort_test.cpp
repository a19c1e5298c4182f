#include "reports/grid_model.h"
#include "reports/grid_sort.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

using namespace verdan;

namespace {

const QString kDates = QStringLiteral("dd/MM/yyyy");

int Cmp(const char* a, const char* b) {
    return CompareGridTexts(QString::fromUtf8(a), QString::fromUtf8(b), kDates);
}

QStringList SortedKeys(const QStringList& keys, bool descending) {
    QStringList out;
    for (const int i : GridSortOrder(keys, descending, kDates))
        out.append(keys[i]);
    return out;
}

} // namespace

TEST(GridCompare, NumbersDatesAndTexts) {
    EXPECT_EQ(SortedKeys({"100", "9", "10"}, false), QStringList({"9", "10", "100"}));
    EXPECT_LT(Cmp("9.5", "10"), 0);
    EXPECT_GT(Cmp("1,000", "999"), 0);
    EXPECT_EQ(Cmp("1,000", "1000"), 0);
    // A zero or unreadable number sends the pair to text comparison.
    EXPECT_GT(Cmp("0", ",5"), 0);
    EXPECT_GT(Cmp("abc", "5"), 0);
    // Dates in the short date format compare as dates, not as texts.
    EXPECT_GT(Cmp("01/02/2020", "15/01/2020"), 0);
    EXPECT_LT(Cmp("31/12/2019", "01/01/2020"), 0);
    // Texts: ASCII letters without regard to case, other letters as they are, the first 100 characters.
    EXPECT_LT(Cmp("abc", "ABD"), 0);
    EXPECT_EQ(Cmp("ali", "ALI"), 0);
    EXPECT_NE(Cmp("é", "É"), 0);
    const QString prefix(100, u'x');
    EXPECT_EQ(CompareGridTexts(prefix + u'a', prefix + u'b', kDates), 0);
    EXPECT_LT(Cmp("أحمد", "محمد"), 0);
}

TEST(GridSort, StableInBothDirections) {
    const QStringList keys{"b", "A", "a", "B", "c"};
    EXPECT_EQ(GridSortOrder(keys, false, kDates), QList<int>({1, 2, 0, 3, 4}));
    EXPECT_EQ(GridSortOrder(keys, true, kDates), QList<int>({4, 0, 3, 1, 2}));
    EXPECT_TRUE(GridSortOrder({}, false, kDates).isEmpty());

    // Against a reference stable sort on keys where the comparison is a consistent order.
    QRandomGenerator random(7);
    QStringList many;
    for (int i = 0; i < 777; ++i) {
        QString key;
        for (int n = 0; n < 2; ++n)
            key += QChar(u"aAbBcC"[random.bounded(6)]);
        many.append(key);
    }
    for (const bool descending : {false, true}) {
        std::vector<int> expected(many.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int x, int y) {
            const int c = CompareGridTexts(many[x], many[y], kDates);
            return descending ? c > 0 : c < 0;
        });
        EXPECT_EQ(GridSortOrder(many, descending, kDates), QList<int>(expected.begin(), expected.end()));
    }
}

TEST(GridSort, SortByColumnMovesWholeRowsBelowTheTitles) {
    TZelGridModel grid;
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetColTitles({"", "Name", "Age"});
    const QStringList names{"Omar", "ali", "Ali"};
    const QStringList ages{"40", "9", "100"};
    for (int i = 0; i < 3; ++i) {
        grid.SetCell(1, i + 1, names[i]);
        grid.SetCell(2, i + 1, ages[i]);
    }
    int sorted = 0;
    QObject::connect(&grid, &TZelGridModel::AfterSort, [&](int column, bool ascending) {
        EXPECT_EQ(column, 2);
        EXPECT_FALSE(ascending);
        ++sorted;
    });
    EXPECT_TRUE(grid.SortByColumn(2, true));
    EXPECT_EQ(sorted, 1);
    EXPECT_EQ(grid.Cell(1, 0), "Name");
    EXPECT_EQ(grid.Cell(1, 1), "Ali");
    EXPECT_EQ(grid.Cell(2, 1), "100");
    EXPECT_EQ(grid.Cell(1, 3), "ali");

    grid.BeforeSort = [](int, bool) {
        return false;
    };
    EXPECT_FALSE(grid.SortByColumn(1, false));
    EXPECT_EQ(grid.Cell(1, 1), "Ali");

    TZelGridModel single;
    single.SetCell(1, 1, "x");
    EXPECT_FALSE(single.SortByColumn(1, false));
}
