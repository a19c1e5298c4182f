#include "chart/chart_painter.h"
#include "chart_fixture.h"
#include "storage/person_dates.h"
#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "text/localisation.h"

#include <QDir>

namespace verdan::test {

namespace {

// Sizes with FakeMeasurer and the 14-point chart font: a character is 7 units wide, a line 16 high.
constexpr int kChar = 7;
constexpr int kLine = 16;
constexpr int kMinWidth = 4 * kChar + 20; // "0000" + 20

using Layout = ChartTest;

TEST_F(Layout, ItemIsSizedByItsNameDatesAndPicture) {
    Man("A");
    Man("Abdulrahman");
    const int shortItem = chart_->FindOrAddPerson("A");
    const int longItem = chart_->FindOrAddPerson("Abdulrahman");
    EXPECT_EQ(chart_->Person(shortItem).TextRect.Width(), kMinWidth);
    EXPECT_EQ(chart_->Person(shortItem).TextRect.Height(), kLine + 10);
    EXPECT_EQ(chart_->Person(longItem).TextRect.Width(), 11 * kChar + 20);

    TShowOption options = chart_->Person(shortItem).Options;
    options.ShowDates = true;
    chart_->SetItemOptions(shortItem, options);
    const TPersonObject& dated = chart_->Person(shortItem);
    EXPECT_EQ(dated.TextRect.Height(), 3 * kLine + 15);
    EXPECT_EQ(dated.TextRect.Width(), 10 * 13 / 2 + 20); // "00-00-0000" one point smaller

    // Without a picture the item shows an empty 100 x 100 frame centred 4 units above its text.
    chart_->MoveItemTo(shortItem, QPoint(300, 300));
    options.ShowDates = false;
    options.ShowPicture = true;
    chart_->SetItemOptions(shortItem, options);
    const TPersonObject& framed = chart_->Person(shortItem);
    EXPECT_EQ(framed.PictureRect.Width(), 100);
    EXPECT_EQ(framed.PictureRect.Height(), 100);
    EXPECT_EQ(framed.PictureRect.Bottom, framed.TextRect.Top - 4);
    EXPECT_EQ(framed.PictureRect.CentreX(), framed.TextRect.CentreX());
    EXPECT_EQ(framed.Box.Y, framed.PictureRect.Top);
    EXPECT_EQ(framed.Box.Bottom(), framed.TextRect.Bottom);
    EXPECT_EQ(framed.Box.X, framed.PictureRect.Left); // wider than the text
    EXPECT_EQ(framed.Position(), QPoint(300, 300));
}

TEST_F(Layout, StoredPictureIsFittedIntoTwoHundredAndShownAtHalfSize) {
    Man("A");
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString file = NewTempDir() + QStringLiteral("/wide.png");
    ASSERT_TRUE(wide.save(file));
    TPPicture picture;
    picture.person_id = "A";
    picture.file_path = file;
    picture.pic_default = true;
    QString id;
    ASSERT_TRUE(SavePicture(picture, id));
    chart_->Defaults.ShowPicture = true;
    const TPersonObject& item = chart_->Person(chart_->FindOrAddPerson("A"));
    EXPECT_EQ(item.Picture.size(), QSize(200, 50));
    EXPECT_EQ(item.PictureRect.Width(), 100);
    EXPECT_EQ(item.PictureRect.Height(), 25);
}

TEST_F(Layout, DatesShowTheChosenCalendarConvertedAndMarked) {
    const QString g = u' ' + Translate(QStringLiteral("G"));
    const QString h = u' ' + Translate(QStringLiteral("H"));
    const QString bh = u' ' + Translate(QStringLiteral("B.h"));
    struct Case {
        int birthG, birthH, deathG, deathH;
        QString birth, death; // in Hijri
    };
    const Case cases[] = {
        {0, 13180101, 0, 14450901, "01-01-1318" + h, "01-09-1445" + h},
        {20240311, 0, 0, 0, "01-09-1445" + h, ""},                      // Gregorian only: converted
        {0, 13180101, 20240311, 0, "01-01-1318" + h, "01-09-1445" + h}, // each date shown, none dropped
        {0, 0, 0, -5000000, "", "500" + bh},                            // before the era, marked so
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString id = QStringLiteral("P%1").arg(++n);
        Man(id);
        ASSERT_EQ(
            Dm().Execute("UPDATE ftPerson SET Date_of_Birth_G = ?, Date_of_Birth_H = ?, Date_of_Death_G = ?, "
                         "Date_of_Death_H = ? WHERE Person_Id = ?",
                         c.birthG, c.birthH, c.deathG, c.deathH, id),
            1);
        const TPersonObject& item = chart_->Person(chart_->FindOrAddPerson(id));
        EXPECT_EQ(item.BirthText, c.birth) << n;
        EXPECT_EQ(item.DeathText, c.death) << n;
    }
    // An approximate date says so.
    Man("About");
    TPerson person;
    ASSERT_TRUE(ReadPerson("About", person));
    TPersonDates about;
    about.Birth.Hijri = 11900000;
    about.Birth.Qualifier = TDateQualifier::About;
    ASSERT_TRUE(WritePersonDateValues(person, about));
    EXPECT_EQ(chart_->Person(chart_->FindOrAddPerson("About")).BirthText,
              FillPattern(TranslateContext(QStringLiteral("about %*"), QStringLiteral("date_value")),
                          {"1190" + h}));
    // The chart's choice turns every box to that calendar, or both, and the boxes that show dates grow.
    const int p1 = chart_->IndexOf("P1");
    TShowOption dated = chart_->Person(p1).Options;
    dated.ShowDates = true;
    chart_->SetItemOptions(p1, dated);
    const int hijriWidth = chart_->Person(p1).Box.Width;
    chart_->SetDatesShown(TDateShown::Gregorian);
    EXPECT_EQ(chart_->Person(chart_->IndexOf("P2")).BirthText, "11-03-2024" + g);
    chart_->SetDatesShown(TDateShown::Both);
    EXPECT_EQ(chart_->Person(chart_->IndexOf("P2")).BirthText, "11-03-2024" + g + " / 01-09-1445" + h);
    EXPECT_GT(chart_->Person(p1).Box.Width, hijriWidth);
    EXPECT_GE(chart_->Person(p1).Box.Width,
              FakeMeasurer().TextWidth(TOFont{{}, 13, 0, 0}, chart_->Person(p1).DeathText) + 20);
}

TEST_F(Layout, ChildrenStandInOneRowUnderTheParentFirstChildRightmost) {
    Man("P");
    for (int k = 1; k <= 3; ++k) {
        Man(QStringLiteral("C%1").arg(k), "P");
        ASSERT_TRUE(SetOrderByFather(QStringLiteral("C%1").arg(k), k));
    }
    const int p = chart_->FindOrAddPerson("P");
    chart_->MoveItemTo(p, QPoint(400, 100));
    chart_->ShowChildren(p);
    ASSERT_EQ(chart_->Persons().size(), 4);
    const TPersonObject& parent = chart_->Person(chart_->IndexOf("P"));
    EXPECT_EQ(parent.Position(), QPoint(400, 100)); // placed by hand, it stays
    const TChartBox c1 = chart_->Person(chart_->IndexOf("C1")).Box;
    const TChartBox c2 = chart_->Person(chart_->IndexOf("C2")).Box;
    const TChartBox c3 = chart_->Person(chart_->IndexOf("C3")).Box;
    EXPECT_EQ(c2.X, c3.Right() + 20);
    EXPECT_EQ(c1.X, c2.Right() + 20);
    EXPECT_EQ(c1.Y, parent.Box.Bottom() + 80);
    EXPECT_EQ(c1.Y, c3.Y);
    EXPECT_LE(std::abs((c3.CentreX() + c1.CentreX()) / 2 - parent.Box.CentreX()), 1);
    // The father's stick runs over the row, from the first centre to the last.
    chart_->ComputeAllSticks();
    ASSERT_EQ(parent.Sticks.size(), 1);
    EXPECT_EQ(parent.Sticks[0].Box.X, c3.CentreX());
    EXPECT_EQ(parent.Sticks[0].Box.Right(), c1.CentreX());

    // Asking again adds nothing and, the row being in place already, moves nothing.
    const QList<TPersonObject> before = chart_->Persons();
    chart_->ShowChildren(chart_->IndexOf("P"));
    ASSERT_EQ(chart_->Persons().size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        EXPECT_EQ(chart_->Persons()[i].Box, before[i].Box);

    // Children moved away by hand come back under their father when he shows them again.
    chart_->MoveItemTo(chart_->IndexOf("C2"), QPoint(900, 900));
    chart_->ShowChildren(chart_->IndexOf("P"));
    EXPECT_EQ(chart_->Person(chart_->IndexOf("C2")).Box, c2);
}

TEST_F(Layout, ChildrenOfEachMotherHangFromABarOfTheirOwn) {
    // A man with two sons of each of two wives, none of the wives on the chart.
    Man("F");
    Woman("W1");
    Woman("W2");
    for (const char* mother : {"W1", "W2"})
        for (int k = 1; k <= 2; ++k)
            Man(QStringLiteral("%1S%2").arg(QLatin1String(mother)).arg(k), "F", mother);
    chart_->FullBuild("F", QPoint(100, 100));
    const TPersonObject& father = chart_->Person(chart_->IndexOf("F"));
    ASSERT_EQ(father.Sticks.size(), 2);
    const TChildStick& first = father.Sticks[0].OtherParent == "W1" ? father.Sticks[0] : father.Sticks[1];
    const TChildStick& second = father.Sticks[0].OtherParent == "W2" ? father.Sticks[0] : father.Sticks[1];
    // Right to left: the first wife's sons right of the second's, each bar over its own two only.
    EXPECT_GT(first.Box.X, second.Box.Right());
    for (const char* son : {"W1S1", "W1S2"}) {
        const TPersonObject& child = chart_->Person(chart_->IndexOf(son));
        EXPECT_EQ(chart_->StickFor(father, child), &first);
        const TChildLink link = RouteChildLink(*chart_, child);
        EXPECT_EQ(link.Start, QPoint(child.TextRect.CentreX(), first.Box.CentreY()));
    }
}

TEST_F(Layout, RowsThatWouldStartLeftOfTheChartShiftEverything) {
    Man("P");
    for (int k = 1; k <= 6; ++k)
        Man(QStringLiteral("C%1").arg(k), "P");
    const int p = chart_->FindOrAddPerson("P");
    chart_->MoveItemTo(p, QPoint(0, 0));
    chart_->ShowChildren(p);
    for (const TPersonObject& item : chart_->Persons()) {
        EXPECT_GE(item.Box.X, 0) << item.Id.toStdString();
        EXPECT_GE(item.Box.Y, 0) << item.Id.toStdString();
    }
    int least = INT_MAX;
    for (const TPersonObject& item : chart_->Persons())
        least = std::min(least, item.Box.X);
    EXPECT_EQ(least, 40);
}

TEST_F(Layout, ParentsStandRightAndLeftOfTheChildWithTheirMarkOverIt) {
    Man("F");
    Woman("M");
    Marry("F", "M");
    Man("C", "F", "M");
    const int c = chart_->FindOrAddPerson("C");
    chart_->MoveItemTo(c, QPoint(500, 400));
    chart_->FindOrAddPerson("F");
    chart_->MoveItemTo(chart_->IndexOf("F"), QPoint(600, 250));
    chart_->ShowParents(chart_->IndexOf("C"));
    ASSERT_GE(chart_->IndexOf("M"), 0);
    const TChartBox child = chart_->Person(chart_->IndexOf("C")).Box;
    const TChartBox mother = chart_->Person(chart_->IndexOf("M")).Box;
    EXPECT_LT(mother.Right(), child.CentreX());
    EXPECT_EQ(mother.Bottom() + 80, child.Y);
    // The father was placed by hand, but Show Parents lays both parents out above their child.
    const TChartBox father = chart_->Person(chart_->IndexOf("F")).Box;
    EXPECT_GT(father.X, child.CentreX());
    EXPECT_EQ(father.Y, mother.Y);
    const int mark = chart_->CoupleMark("F", "M");
    ASSERT_GE(mark, 0);
    EXPECT_LE(std::abs(chart_->Maritals()[mark].Mark.CentreX() - child.CentreX()), 1);
    EXPECT_EQ(chart_->Maritals()[mark].Mark.Width, 12);

    // Both parents new: the father right of the child's centre, the mother left of it, both above it.
    auto other = NewChart();
    const int c2 = other->FindOrAddPerson("C");
    other->MoveItemTo(c2, QPoint(500, 400));
    other->ShowParents(c2);
    const TChartBox child2 = other->Person(other->IndexOf("C")).Box;
    const TChartBox father2 = other->Person(other->IndexOf("F")).Box;
    const TChartBox mother2 = other->Person(other->IndexOf("M")).Box;
    EXPECT_GT(father2.X, child2.CentreX());
    EXPECT_LT(mother2.Right(), child2.CentreX());
    EXPECT_EQ(father2.Bottom() + 80, child2.Y);
    EXPECT_EQ(mother2.Y, father2.Y);

    // Reading left to right the two change sides.
    other->SetLeftToRight(true);
    EXPECT_LT(other->Person(other->IndexOf("F")).Box.Right(),
              other->Person(other->IndexOf("C")).Box.CentreX());
    EXPECT_GT(other->Person(other->IndexOf("M")).Box.X, other->Person(other->IndexOf("C")).Box.CentreX());
}

TEST_F(Layout, WithoutRootAtTopChildrenGoAboveAndParentsBelow) {
    Man("F");
    Man("C", "F");
    Man("D", "F");
    chart_->Defaults.RootAtTop = false;
    const int f = chart_->FindOrAddPerson("F");
    chart_->MoveItemTo(f, QPoint(300, 300));
    chart_->ShowChildren(f);
    const TPersonObject& father = chart_->Person(chart_->IndexOf("F"));
    EXPECT_LT(chart_->Person(chart_->IndexOf("C")).Box.Bottom(), father.Box.Y);
    // The bar stands between the children and their father, and the links come up to the children.
    ASSERT_EQ(father.Sticks.size(), 1);
    EXPECT_GT(father.Sticks[0].Box.Y, chart_->Person(chart_->IndexOf("C")).Box.Bottom());
    EXPECT_LT(father.Sticks[0].Box.Bottom(), father.Box.Y);
    const TPersonObject& child = chart_->Person(chart_->IndexOf("C"));
    EXPECT_EQ(RouteChildLink(*chart_, child).End, QPoint(child.Box.CentreX(), child.Box.Bottom()));

    auto up = NewChart();
    up->Defaults.RootAtTop = false;
    const int c = up->FindOrAddPerson("C");
    up->MoveItemTo(c, QPoint(300, 300));
    up->ShowParents(c);
    EXPECT_GT(up->Person(up->IndexOf("F")).Box.Y, up->Person(up->IndexOf("C")).Box.Bottom());
}

TEST_F(Layout, StickRunsFortyAboveTheHigherChildButTwentyUnderTheParentAtLeast) {
    Man("F");
    Man("S1", "F");
    Man("S2", "F");
    const int f = chart_->FindOrAddPerson("F");
    const int s1 = chart_->FindOrAddPerson("S1");
    const int s2 = chart_->FindOrAddPerson("S2");
    chart_->MoveItemTo(f, QPoint(200, 0));
    chart_->MoveItemTo(s1, QPoint(100, 300));
    chart_->MoveItemTo(s2, QPoint(400, 200));
    chart_->ComputePersonStick(f);
    const TPersonObject& father = chart_->Person(f);
    ASSERT_EQ(father.Sticks.size(), 1);
    const TChartBox stick = father.Sticks[0].Box;
    EXPECT_EQ(stick.X, chart_->Person(s1).Box.CentreX());
    EXPECT_EQ(stick.Width, 300);
    EXPECT_EQ(stick.Y, 200 - 40);
    EXPECT_EQ(stick.Height, 10);

    chart_->MoveItemTo(f, QPoint(200, 150));
    chart_->ComputePersonStick(f);
    EXPECT_EQ(chart_->Person(f).Sticks[0].Box.Y, chart_->Person(f).Box.Bottom() + 20);

    // Lines instead of sticks: no bar at all.
    chart_->SetLinkType(TLinkType::Line);
    chart_->ComputePersonStick(f);
    EXPECT_TRUE(chart_->Person(f).Sticks.isEmpty());
}

TEST_F(Layout, MarkStandsMidwayBetweenTheSpouses) {
    Man("H");
    Woman("W");
    Marry("H", "W");
    const int h = chart_->FindOrAddPerson("H");
    const int w = chart_->FindOrAddPerson("W");
    chart_->MoveItemTo(w, QPoint(300, 50));
    chart_->MoveItemTo(h, QPoint(100, 50));
    chart_->AddMaritalsFor("W");
    ASSERT_EQ(chart_->Maritals().size(), 1);
    const TMarital& mark = chart_->Maritals().first();
    EXPECT_EQ(mark.HusbandId, "H"); // whoever asked, the man is the husband
    EXPECT_EQ(mark.WifeId, "W");
    const TChartRect l = chart_->Person(h).TextRect;
    const TChartRect r = chart_->Person(w).TextRect;
    EXPECT_EQ(mark.Mark, (TChartBox{l.Right + (r.Left - l.Right) / 2 - 6, 50 + l.Height() / 2 - 6, 12, 12}));

    // At different heights the mark stands in the vertical gap.
    chart_->MoveItemTo(w, QPoint(300, 200));
    chart_->ComputeMaritalMark(0, "H", "W");
    const TChartRect lower = chart_->Person(w).TextRect;
    EXPECT_EQ(chart_->Maritals()[0].Mark.CentreY(), l.Bottom + (lower.Top - l.Bottom) / 2);
    chart_->AddMaritalsFor("H");
    EXPECT_EQ(chart_->Maritals().size(), 1); // one mark per couple
}

TEST_F(Layout, ChildLinksRunFromTheCoupleOrTheParentTheChildFollows) {
    Man("F");
    Woman("M");
    Marry("F", "M");
    Man("C", "F", "M");
    const int f = chart_->FindOrAddPerson("F");
    const int c = chart_->FindOrAddPerson("C");
    chart_->MoveItemTo(f, QPoint(300, 0));
    chart_->MoveItemTo(c, QPoint(300, 300));
    chart_->SetItemConnection(c, TConnectionTo::Mother);
    // Following a mother who is not on the chart: no link, although the father is.
    EXPECT_FALSE(RouteChildLink(*chart_, chart_->Person(c)).Drawn);

    chart_->SetItemConnection(c, TConnectionTo::Father);
    TChildLink link = RouteChildLink(*chart_, chart_->Person(c));
    ASSERT_TRUE(link.Drawn);
    EXPECT_EQ(link.Start, QPoint(chart_->Person(f).TextRect.CentreX(), chart_->Person(f).TextRect.CentreY()));
    EXPECT_EQ(link.End, QPoint(chart_->Person(c).Box.CentreX(), chart_->Person(c).Box.Y));

    // With the mother and their mark on the chart, the link starts at the mark.
    const int m = chart_->FindOrAddPerson("M");
    chart_->MoveItemTo(m, QPoint(100, 0));
    chart_->AddMaritalsFor("M");
    const TMarital mark = chart_->Maritals().first();
    link = RouteChildLink(*chart_, chart_->Person(c));
    EXPECT_EQ(link.Start, QPoint(mark.Mark.CentreX(), mark.Mark.CentreY()));
}

TEST(ChartMapping, MapsChartPointsToTheViewAndBack) {
    const TChartMapping map{0.5f, 100, 0};
    EXPECT_EQ(map.ToView(QPoint(300, 0)).x(), 100);
    EXPECT_EQ(map.ToChart(QPoint(100, 0)).x(), 301);
    // Halves round to the even neighbour.
    EXPECT_EQ(RoundChart(2.5), 2);
    EXPECT_EQ(RoundChart(3.5), 4);
    EXPECT_EQ((TChartMapping{1.5f, 0, 0}).Length(5), 8);
}

TEST(ChartDrawing, ArrowHeadAndBorderPoints) {
    const TArrowHead head = ArrowHead(0, 10, 5, 100, 10);
    EXPECT_EQ(head.Base, QPoint(95, 10));
    EXPECT_EQ(head.Wings[0][0], QPoint(95, 5));
    EXPECT_EQ(head.Wings[0][1], QPoint(95, 15));
    EXPECT_EQ(head.Wings[1][0], QPoint(95, 6));
    EXPECT_EQ(head.Wings[2][1], QPoint(95, 13));

    const TChartBox box{0, 0, 100, 50};
    EXPECT_EQ(BorderPoint(box, QPoint(60, -100)), QPoint(52, 0));   // through the top edge
    EXPECT_EQ(BorderPoint(box, QPoint(50, 200)), QPoint(50, 50));   // straight down
    EXPECT_EQ(BorderPoint(box, QPoint(1000, 30)), QPoint(100, 25)); // through the right edge
    EXPECT_EQ(BorderPoint(box, QPoint(-1000, 25)), QPoint(0, 25));  // level with the centre, to the left

    // Far coordinates are drawn like near ones: a poster's lines reach everywhere.
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-200000, 0);
    DrawArrow(painter, 200000, 10, 0, true, 5, 200019, 10);
    painter.end();
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
}

} // namespace

} // namespace verdan::test
