#include "chart/chart_layout.h"

#include <QMap>
#include <QRandomGenerator>
#include <QRect>
#include <gtest/gtest.h>

namespace verdan::test {

namespace {

QRect BoxOf(const TLayoutResult& r, const QList<TLayoutPerson>& p, int i) {
    return QRect(r.Boxes[i], QSize(p[i].Width, p[i].Above + p[i].Height));
}

QRect MarkOf(const TLayoutMark& m) {
    return QRect(m.TopLeft, QSize(kLayoutMarkSize, kLayoutMarkSize));
}

// Every pair of boxes, and every mark against every box and mark, keeps clear; the first fault is told.
QString FirstOverlap(const TLayoutResult& r, const QList<TLayoutPerson>& p) {
    QList<std::pair<QRect, QString>> all;
    for (int i = 0; i < p.size(); ++i)
        all.append({BoxOf(r, p, i), QStringLiteral("box %1").arg(i)});
    for (const TLayoutMark& m : r.Marks)
        all.append({MarkOf(m), QStringLiteral("mark %1-%2").arg(m.First).arg(m.Second)});
    for (qsizetype a = 0; a < all.size(); ++a)
        for (qsizetype b = a + 1; b < all.size(); ++b)
            if (all[a].first.intersects(all[b].first))
                return all[a].second + QStringLiteral(" covers ") + all[b].second;
    return QString();
}

void Marry(QList<TLayoutPerson>& p, int husband, int wife) {
    p[husband].Spouses << wife;
    p[wife].Spouses << husband;
}

TLayoutPerson Person(bool male, int width = 80, int father = -1, int mother = -1) {
    TLayoutPerson p;
    p.Width = width;
    p.Height = 26;
    p.Male = male;
    p.Father = father;
    p.Mother = mother;
    p.FatherKey = father + 1;
    p.MotherKey = mother + 1;
    return p;
}

int Centre(const TLayoutResult& r, const QList<TLayoutPerson>& p, int i) {
    return r.Boxes[i].x() + p[i].Width / 2;
}

// Random families: fathers and mothers among the persons before, marriages between parents and some more,
// absent mothers, pictures, long names; a random root.
QList<TLayoutPerson> RandomFamilies(QRandomGenerator& random, int count) {
    QList<TLayoutPerson> p;
    for (int i = 0; i < count; ++i) {
        TLayoutPerson person = Person(random.bounded(2) == 0, 40 + int(random.bounded(220)));
        person.Height = 20 + int(random.bounded(40));
        person.Above = random.bounded(6) == 0 ? 54 : 0;
        person.SiblingOrder = int(random.bounded(5));
        QList<int> men, women;
        for (int k = 0; k < i; ++k)
            (p[k].Male ? men : women) << k;
        if (!men.isEmpty() && random.bounded(10) < 8)
            person.Father = men[int(random.bounded(int(men.size())))];
        if (!women.isEmpty() && random.bounded(10) < 5)
            person.Mother = women[int(random.bounded(int(women.size())))];
        person.FatherKey = person.Father >= 0 ? person.Father + 1 : 0;
        person.MotherKey = person.Mother >= 0 ? person.Mother + 1 : 1000 + int(random.bounded(3));
        person.LinkToMother = random.bounded(8) == 0;
        p << person;
        if (person.Father >= 0 && person.Mother >= 0 && !p[person.Father].Spouses.contains(person.Mother) &&
            random.bounded(4) != 0)
            Marry(p, person.Father, person.Mother);
    }
    for (int k = 0; k < count / 4; ++k) {
        const int a = int(random.bounded(count));
        const int b = int(random.bounded(count));
        if (a != b && p[a].Male && !p[b].Male && !p[a].Spouses.contains(b))
            Marry(p, a, b);
    }
    return p;
}

TEST(FamilyLayout, NothingCoversAnythingWhateverTheFamilies) {
    QRandomGenerator random(20240611);
    for (int round = 0; round < 300; ++round) {
        const int count = 1 + int(random.bounded(round < 250 ? 40 : 200));
        const QList<TLayoutPerson> persons = RandomFamilies(random, count);
        TLayoutOptions options;
        options.Root = int(random.bounded(count + 1)) - 1;
        options.LeftToRight = random.bounded(2) == 0;
        options.RootAtTop = random.bounded(3) != 0;
        const TLayoutResult result = LayOutFamilies(persons, options);
        ASSERT_EQ(result.Boxes.size(), count);
        EXPECT_EQ(FirstOverlap(result, persons), QString()) << "round " << round << ", root " << options.Root;
        for (const QPoint& at : result.Boxes) {
            EXPECT_GE(at.x(), options.Margin);
            EXPECT_GE(at.y(), options.Margin);
        }
        // Every couple with a mark gets exactly one.
        int couples = 0;
        for (int i = 0; i < count; ++i)
            couples += int(persons[i].Spouses.size());
        EXPECT_EQ(result.Marks.size(), couples / 2) << "round " << round;
    }
}

TEST(FamilyLayout, WivesStandInOrderEachOverHerOwnChildren) {
    // A man (0) with two wives (1, 2), two children of each, and two children of a mother not on the chart.
    QList<TLayoutPerson> p{Person(true, 100), Person(false, 60), Person(false, 60)};
    Marry(p, 0, 1);
    Marry(p, 0, 2);
    for (int mother : {1, 2, 1, 2})
        p << Person(true, 70, 0, mother);
    for (int k = 0; k < 2; ++k) {
        p << Person(false, 70, 0);
        p.last().MotherKey = 99; // the same absent mother
    }
    TLayoutOptions options;
    options.LeftToRight = true;
    const TLayoutResult r = LayOutFamilies(p, options);
    EXPECT_EQ(FirstOverlap(r, p), QString());
    // Left to right: the man, his first wife, his second; all on one row.
    EXPECT_LT(r.Boxes[0].x(), r.Boxes[1].x());
    EXPECT_LT(r.Boxes[1].x(), r.Boxes[2].x());
    EXPECT_EQ(r.Boxes[0].y(), r.Boxes[2].y());
    // Each group hangs under its own parent: the children of the absent mother under the man, then the
    // first wife's, then the second's; every group centred under the one it hangs from.
    auto span = [&](std::initializer_list<int> kids) {
        int lo = INT_MAX, hi = INT_MIN;
        for (int k : kids) {
            lo = std::min(lo, r.Boxes[k].x());
            hi = std::max(hi, r.Boxes[k].x() + p[k].Width);
            EXPECT_GT(r.Boxes[k].y(), r.Boxes[0].y() + p[0].Height);
        }
        return std::pair{lo, hi};
    };
    const auto own = span({7, 8});
    const auto first = span({3, 5});
    const auto second = span({4, 6});
    EXPECT_LT(own.second, first.first);
    EXPECT_LT(first.second, second.first);
    EXPECT_EQ(Centre(r, p, 0), (Centre(r, p, 7) + Centre(r, p, 8)) / 2);
    EXPECT_EQ(Centre(r, p, 1), (Centre(r, p, 3) + Centre(r, p, 5)) / 2);
    EXPECT_EQ(Centre(r, p, 2), (Centre(r, p, 4) + Centre(r, p, 6)) / 2);
    // Groups stand farther apart than brothers.
    EXPECT_GE(first.first - own.second, options.GroupGap);
    EXPECT_EQ(r.Boxes[8].x() - (r.Boxes[7].x() + p[7].Width), options.SiblingGap);
    // The wives' marks stand under them, the farther wife's nearer the row.
    ASSERT_EQ(r.Marks.size(), 2);
    for (const TLayoutMark& m : r.Marks) {
        EXPECT_EQ(m.TopLeft.x() + kLayoutMarkSize / 2, Centre(r, p, m.Second));
        EXPECT_GT(m.TopLeft.y(), r.Boxes[0].y() + p[0].Height);
    }
    const TLayoutMark& toFirst = r.Marks[0].Second == 1 ? r.Marks[0] : r.Marks[1];
    const TLayoutMark& toSecond = r.Marks[0].Second == 2 ? r.Marks[0] : r.Marks[1];
    EXPECT_GT(toFirst.TopLeft.y(), toSecond.TopLeft.y());
}

TEST(FamilyLayout, ChildrenOfEachAbsentMotherFormTheirOwnGroup) {
    QList<TLayoutPerson> p{Person(true, 100)};
    for (qint64 mother : {7, 7, 8, 8}) {
        p << Person(true, 60, 0);
        p.last().MotherKey = mother;
    }
    TLayoutOptions options;
    options.LeftToRight = true;
    const TLayoutResult r = LayOutFamilies(p, options);
    EXPECT_EQ(r.Boxes[2].x() - (r.Boxes[1].x() + 60), options.SiblingGap);
    EXPECT_EQ(r.Boxes[3].x() - (r.Boxes[2].x() + 60), options.GroupGap);
    EXPECT_EQ(r.Boxes[4].x() - (r.Boxes[3].x() + 60), options.SiblingGap);
}

TEST(FamilyLayout, CoupleWithMarkBetweenAndChildrenUnderIt) {
    QList<TLayoutPerson> p{Person(true, 100), Person(false, 60)};
    Marry(p, 0, 1);
    p << Person(true, 50, 0, 1) << Person(false, 50, 0, 1) << Person(true, 50, 0, 1);
    p[2].SiblingOrder = 1;
    p[3].SiblingOrder = 2;
    p[4].SiblingOrder = 0;
    for (bool ltr : {true, false}) {
        TLayoutOptions options;
        options.LeftToRight = ltr;
        const TLayoutResult r = LayOutFamilies(p, options);
        ASSERT_EQ(r.Marks.size(), 1);
        const QRect mark = MarkOf(r.Marks[0]);
        const QRect man = BoxOf(r, p, 0);
        const QRect wife = BoxOf(r, p, 1);
        // The man right of his wife in right-to-left reading, left of her in left-to-right reading.
        EXPECT_EQ(ltr, man.x() < wife.x());
        const int gapLeft = std::min(man.right(), wife.right()) + 1;
        const int gapRight = std::max(man.left(), wife.left());
        EXPECT_LE(std::abs(mark.center().x() - (gapLeft + gapRight) / 2), 2);
        EXPECT_EQ(mark.top(), man.top() + (26 - kLayoutMarkSize) / 2);
        // The first child in birth order stands first in reading order; the row is centred under the mark.
        EXPECT_EQ(ltr, r.Boxes[4].x() < r.Boxes[2].x());
        EXPECT_EQ(ltr, r.Boxes[2].x() < r.Boxes[3].x());
        const int first = std::min(Centre(r, p, 4), Centre(r, p, 3));
        const int last = std::max(Centre(r, p, 4), Centre(r, p, 3));
        EXPECT_LE(std::abs((first + last) / 2 - mark.center().x()), 1);
    }
}

TEST(FamilyLayout, AncestorsAboveDescendantsBelowOrTheOtherWayRound) {
    // Grandparents 0 and 1, their son 2 married to 3, her father 4; the root 5, son of 2 and 3, with a son 6.
    QList<TLayoutPerson> p{Person(true), Person(false)};
    Marry(p, 0, 1);
    p << Person(true, 80, 0, 1) << Person(false, 80, 4) << Person(true);
    Marry(p, 2, 3);
    p << Person(true, 80, 2, 3) << Person(true, 80, 5);
    for (bool atTop : {true, false}) {
        TLayoutOptions options;
        options.Root = 5;
        options.RootAtTop = atTop;
        const TLayoutResult r = LayOutFamilies(p, options);
        EXPECT_EQ(FirstOverlap(r, p), QString());
        EXPECT_EQ(r.Rows, (QList<int>{-2, -2, -1, -1, -2, 0, 1}));
        const int sign = atTop ? 1 : -1;
        EXPECT_GT(sign * (r.Boxes[5].y() - r.Boxes[2].y()), 0);
        EXPECT_GT(sign * (r.Boxes[2].y() - r.Boxes[0].y()), 0);
        EXPECT_GT(sign * (r.Boxes[6].y() - r.Boxes[5].y()), 0);
        // Right to left: the father's side right of the mother's, each couple's mark over its child.
        EXPECT_GT(r.Boxes[2].x(), r.Boxes[3].x());
        EXPECT_GT(r.Boxes[0].x(), r.Boxes[4].x());
        for (const TLayoutMark& m : r.Marks) {
            const int child = m.First == 2 ? 5 : 2;
            EXPECT_LE(std::abs(MarkOf(m).center().x() - Centre(r, p, child)), 1);
        }
    }
}

TEST(FamilyLayout, AFamilyOfTenThousandIsLaidOutWithoutOverlapQuickly) {
    QRandomGenerator random(7);
    QList<TLayoutPerson> p{Person(true, 120)};
    for (int i = 1; i < 10000; ++i) {
        const int father = int(random.bounded(i));
        p << Person(random.bounded(3) != 0, 50 + int(random.bounded(150)), p[father].Male ? father : -1,
                    p[father].Male ? -1 : father);
        p.last().MotherKey = random.bounded(3) + 1;
    }
    TLayoutOptions options;
    const TLayoutResult r = LayOutFamilies(p, options);
    // Rows hold no two boxes that meet.
    QMap<int, QList<int>> rows;
    for (int i = 0; i < p.size(); ++i)
        rows[r.Boxes[i].y()] << i;
    for (auto& row : rows) {
        std::sort(row.begin(), row.end(), [&](int a, int b) { return r.Boxes[a].x() < r.Boxes[b].x(); });
        for (qsizetype k = 1; k < row.size(); ++k)
            ASSERT_GE(r.Boxes[row[k]].x(), r.Boxes[row[k - 1]].x() + p[row[k - 1]].Width);
    }
}

} // namespace

} // namespace verdan::test
