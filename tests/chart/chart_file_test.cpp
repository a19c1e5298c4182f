#include "chart/chart_file.h"
#include "chart_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <random>

namespace verdan::test {

namespace {

class ChartFile : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        dir_ = NewTempDir();
    }
    QString PathOf(const QString& name) const { return dir_ + u'/' + name; }
    QString Write(const QString& name, const QByteArray& text) const {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return PathOf(name);
    }
    QByteArray Bytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString TreeFileName() const { return QFileInfo(path_).fileName(); }

    QString dir_;
};

void ExpectSameChart(const TChart& a, const TChart& b, const std::string& where) {
    ASSERT_EQ(a.Persons().size(), b.Persons().size()) << where;
    for (qsizetype i = 0; i < a.Persons().size(); ++i) {
        const TPersonObject& x = a.Persons()[i];
        const TPersonObject& y = b.Persons()[i];
        EXPECT_EQ(x.Id, y.Id) << where;
        EXPECT_EQ(x.Position(), y.Position()) << where << " " << x.Id.toStdString();
        EXPECT_EQ(x.ConnectionTo, y.ConnectionTo) << where;
        EXPECT_EQ(x.LinkType, y.LinkType) << where;
        EXPECT_EQ(x.Options, y.Options) << where << " " << x.Id.toStdString();
        EXPECT_EQ(x.TextRect, y.TextRect) << where;
    }
    ASSERT_EQ(a.Maritals().size(), b.Maritals().size()) << where;
    for (qsizetype i = 0; i < a.Maritals().size(); ++i) {
        EXPECT_EQ(a.Maritals()[i].HusbandId, b.Maritals()[i].HusbandId) << where;
        EXPECT_EQ(a.Maritals()[i].WifeId, b.Maritals()[i].WifeId) << where;
        EXPECT_EQ(a.Maritals()[i].Mark, b.Maritals()[i].Mark) << where;
    }
    EXPECT_EQ(a.Zoom(), b.Zoom()) << where;
    EXPECT_EQ(a.LinkType(), b.LinkType()) << where;
    EXPECT_EQ(a.LeftToRight(), b.LeftToRight()) << where;
    EXPECT_EQ(a.Defaults.RootAtTop, b.Defaults.RootAtTop) << where;
    EXPECT_EQ(a.DatesShown(), b.DatesShown()) << where;
    EXPECT_EQ(a.RootId, b.RootId) << where;
    // What was read stands where the user put it until he arranges the chart.
    for (const TPersonObject& item : b.Persons())
        EXPECT_TRUE(item.Pinned) << where;
}

TEST_F(ChartFile, EveryChartWrittenReadsBackTheSameAtEveryZoom) {
    // Names a document format could take for markup: remarks, comment blocks, quotes and "=".
    ASSERT_EQ(
        Dm().Execute("UPDATE ftTreeInfo SET tree_name = ?", QStringLiteral("Tree (* of ~ \"the\" = family")),
        1);
    const QStringList fonts = {"Arial", "Noto Naskh Arabic", "a=b", "~tilde", "\"quoted\"", "(*x*)", ""};
    QStringList ids;
    for (int k = 0; k < 24; ++k) {
        ids << QStringLiteral("P%1").arg(k);
        Put(ids.last(), "0", "0", QStringLiteral(u"اسم %1").arg(k), k % 3 == 0 ? "f" : "m");
    }
    std::mt19937 random(14);
    auto chance = [&](int percent) {
        return int(random() % 100) < percent;
    };
    auto number = [&](int low, int high) {
        return low + int(random() % quint32(high - low + 1));
    };
    for (int percent = 10; percent <= 200; ++percent) {
        const std::string where = "zoom " + std::to_string(percent);
        auto chart = NewChart();
        QStringList chosen = ids;
        std::shuffle(chosen.begin(), chosen.end(), random);
        chosen = chosen.mid(0, number(0, 12));
        for (const QString& id : chosen) {
            const int index = chart->FindOrAddPerson(id);
            TShowOption o;
            o.ShowFullName = chance(50);
            o.ShowDates = chance(50);
            o.ShowPicture = chance(50);
            o.RootAtTop = chance(50);
            o.HideFrame = chance(30);
            o.ParentFont = chance(50);
            o.FillColor = chance(50) ? 0 : quint32(random()) & 0xFFFFFF;
            o.Font = TOFont{fonts[number(0, int(fonts.size() - 1))], number(0, 500),
                            quint32(random()) & 0xFFFFFF, quint8(number(0, 15))};
            chart->SetItemOptions(index, o);
            chart->SetItemLinkType(index, TLinkType(number(0, 2)));
            chart->SetItemConnection(index, TConnectionTo(number(0, 2)));
            chart->MoveItemTo(index, QPoint(number(0, kMaxChartPosition), number(0, kMaxChartPosition)));
        }
        for (int m = 0; m < number(0, 5) && chosen.size() >= 2; ++m)
            chart->AddSavedMark(chosen[number(0, int(chosen.size() - 1))],
                                chosen[number(0, int(chosen.size() - 1))],
                                QPoint(number(0, kMaxChartPosition), number(0, kMaxChartPosition)));
        chart->SetLinkType(chance(50) ? TLinkType::Line : TLinkType::Stick);
        chart->SetLeftToRight(chance(50), false);
        chart->SetRootAtTop(chance(50), false);
        chart->SetDatesShown(TDateShown(number(0, 2)), false);
        chart->RootId = chosen.isEmpty() ? QString() : chosen.first();
        ASSERT_TRUE(chart->SetZoom(float(percent) / 100.0f));

        const QString path = PathOf(QStringLiteral("a.chart"));
        ASSERT_TRUE(WriteChart(*chart, path)) << where;
        EXPECT_FALSE(chart->Modified);
        auto read = NewChart();
        const TChartReadResult result = ReadChart(*read, path);
        ASSERT_TRUE(result.Ok) << where;
        EXPECT_FALSE(result.OtherTree) << where;
        EXPECT_FALSE(read->Modified);
        EXPECT_EQ(read->ChartFileName, path);
        EXPECT_EQ(RoundChart(read->Zoom() * 100.0), percent);
        ExpectSameChart(*chart, *read, where);
        // Writing what was read gives the same file, tree name included.
        const QString again = PathOf(QStringLiteral("b.chart"));
        ASSERT_TRUE(WriteChart(*read, again));
        ASSERT_EQ(Bytes(path), Bytes(again)) << where;
    }
    EXPECT_TRUE(sink_.shown.isEmpty());
    TSML document;
    ASSERT_TRUE(document.LoadFromFile(PathOf(QStringLiteral("a.chart"))));
    EXPECT_EQ(document.FindNode("Tree Name").Value, QStringLiteral("Tree (* of ~ \"the\" = family"));
}

TEST_F(ChartFile, DocumentLayout) {
    Man("H");
    auto chart = NewChart();
    const QString path = PathOf(QStringLiteral("empty.chart"));
    ASSERT_TRUE(WriteChart(*chart, path));
    const QByteArray bytes = Bytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFVerdan Chart\r\n  Chart = Chart Name\r\n    Tree Name\r\n"));
    EXPECT_TRUE(
        bytes.contains("\r\n    Tree File Name = " + TreeFileName().toUtf8() + "\r\n    Zoom = 100\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n  Persons\r\n"));
    EXPECT_FALSE(bytes.contains("Connections"));

    chart->SetZoom(0.7f); // 69.99.. in single precision
    chart->FindOrAddPerson("H");
    ASSERT_TRUE(WriteChart(*chart, path));
    EXPECT_TRUE(Bytes(path).contains("Zoom = 70\r\n"));
    EXPECT_TRUE(Bytes(path).contains(
        "    Person\r\n      ID = H\r\n      Position = 0:0\r\n      Connection To = both"));
}

// What the reader makes of damaged and unusual files.
TEST_F(ChartFile, FaultTable) {
    Man("H");
    Woman("W");
    Man("S", "H", "W");
    const QByteArray tree = TreeFileName().toUtf8();
    auto chartWith = [&](const QByteArray& body) {
        return "Verdan Chart\r\n  Chart = Chart Name\r\n    Tree File Name = " + tree + "\r\n" + body;
    };
    const QByteArray person = "  Persons\r\n    Person\r\n      ID = H\r\n      Position = 10:20\r\n";
    struct Case {
        const char* name;
        QByteArray text;
        bool ok;
        int persons;
        int marks;
        int messages;
    };
    const Case cases[] = {
        {"not a chart", "Verdan Options\r\n  Persons\r\n    Person\r\n      ID = H\r\n", false, 0, 0, 1},
        {"empty file", "", false, 0, 0, 1},
        {"binary", QByteArray("\x00\xff\xfe\x01garbage\x00", 12), false, 0, 0, 1},
        {"no chart node", "Verdan Chart\r\n" + person, true, 1, 0, 0},
        {"person missing from the tree",
         chartWith(person + "    Person\r\n      ID = {00000000-0000-0000-0000-000000000000}\r\n"), true, 1,
         0, 1},
        {"self mark and mark of an absent person",
         chartWith(person + "  Connections\r\n    Connection\r\n      ID 1 = H\r\n      ID 2 = H\r\n"
                            "    Connection\r\n      ID 1 = H\r\n      ID 2 = W\r\n"),
         true, 1, 0, 1},
        {"same couple twice, old names",
         chartWith(person + "    Person\r\n      ID = W\r\n  Maritals\r\n    Marital\r\n      ID 1 = H\r\n"
                            "      ID 2 = W\r\n      Position = 5:6\r\n    Marital\r\n      ID 1 = W\r\n"
                            "      ID 2 = H\r\n"),
         true, 2, 1, 0},
        {"same person twice", chartWith(person + "    Person\r\n      ID = H\r\n      Position = 30:40\r\n"),
         true, 1, 0, 0},
    };
    for (const Case& c : cases) {
        sink_.shown.clear();
        auto chart = NewChart();
        chart->ChartFileName = "earlier.chart";
        const TChartReadResult result = ReadChart(*chart, Write("case.chart", c.text));
        EXPECT_EQ(result.Ok, c.ok) << c.name;
        EXPECT_EQ(chart->Persons().size(), c.persons) << c.name;
        EXPECT_EQ(chart->Maritals().size(), c.marks) << c.name;
        EXPECT_EQ(sink_.shown.size(), c.messages) << c.name;
        EXPECT_FALSE(chart->Modified) << c.name;
        EXPECT_EQ(chart->ChartFileName, c.ok ? PathOf("case.chart") : QString()) << c.name;
    }
    auto missing = NewChart();
    EXPECT_FALSE(ReadChart(*missing, PathOf("nothing.chart")).Ok);
    EXPECT_TRUE(missing->ChartFileName.isEmpty());
}

TEST_F(ChartFile, ValuesAreReadAsWrittenAndKeptInRange) {
    Man("H");
    Man("K");
    const QString path =
        Write("values.chart",
              "Verdan Chart\r\n  Chart = Chart Name\r\n    Tree File Name = " + TreeFileName().toUtf8() +
                  "\r\n    Link Type = stick\r\n    Zoom = 5\r\n  Persons\r\n    Person\r\n"
                  "      ID = H\r\n      Position = -5:2000000000\r\n      Connection To = Mother\r\n"
                  "      Link Type = stick\r\n      Font Size = 900\r\n      Font Color = -1\r\n"
                  "      Fill Color = 33554431\r\n      Font Bold = true\r\n      Font Bold = false\r\n"
                  "      Font Italic = TRUE\r\n    Person\r\n      ID = K\r\n"
                  "      Connection To = other\r\n      Font Size = 0\r\n");
    auto chart = NewChart();
    ASSERT_TRUE(chart->SetZoom(0.5f));
    ASSERT_TRUE(ReadChart(*chart, path).Ok);
    EXPECT_EQ(chart->LinkType(), TLinkType::Line); // "stick" is not "Stick"
    EXPECT_FLOAT_EQ(chart->Zoom(), 0.5f);          // 5 % is refused, the zoom stays
    const TPersonObject& h = chart->Person(0);
    EXPECT_EQ(h.Position(), QPoint(0, kMaxChartPosition));
    EXPECT_EQ(h.ConnectionTo, TConnectionTo::Mother);
    EXPECT_EQ(h.LinkType, TLinkType::Follow);
    EXPECT_EQ(h.Options.Font.Size, 500);
    EXPECT_EQ(h.Options.Font.Color, 0xFFFFFFu);
    EXPECT_EQ(h.Options.FillColor, 0xFFFFFFu);
    EXPECT_EQ(h.Options.Font.Style, kFontItalic);
    EXPECT_FALSE(h.Options.ParentFont);
    EXPECT_TRUE(h.Options.Font.Name.isEmpty());
    const TPersonObject& k = chart->Person(1);
    EXPECT_EQ(k.ConnectionTo, TConnectionTo::Both);
    EXPECT_EQ(k.Position(), h.Position()); // no position of its own: the previous entry's
    EXPECT_EQ(k.Options.Font.Size, 0);

    // Without a zoom entry the chart is shown at 100 %.
    auto plain = NewChart();
    plain->SetZoom(0.3f);
    ASSERT_TRUE(ReadChart(*plain, Write("plain.chart", "Verdan Chart\r\n  Persons\r\n")).Ok);
    EXPECT_FLOAT_EQ(plain->Zoom(), 1.0f);
}

TEST_F(ChartFile, ChartOfAnotherTreeWarnsAndLoadsWhatTheTreeHolds) {
    Man("H");
    for (const QByteArray& other : {QByteArray("other.vrd"), TreeFileName().toUpper().toUtf8()}) {
        sink_.shown.clear();
        auto chart = NewChart();
        const TChartReadResult result =
            ReadChart(*chart, Write("other.chart",
                                    "Verdan Chart\r\n  Chart = Chart Name\r\n    Tree File Name = " + other +
                                        "\r\n  Persons\r\n    Person\r\n      ID = H\r\n    Person\r\n"
                                        "      ID = {11111111-0000-0000-0000-000000000000}\r\n"));
        EXPECT_TRUE(result.OtherTree) << other.constData();
        EXPECT_EQ(chart->Persons().size(), 1);
        ASSERT_EQ(sink_.shown.size(), 2); // the warning, then the note of what was left out
        EXPECT_TRUE(sink_.shown[0].text.contains(QString::fromUtf8(other)));
        EXPECT_TRUE(sink_.shown[0].text.contains(TreeFileName()));
        EXPECT_TRUE(sink_.shown[1].text.contains(u'1'));
        // Saved again, the chart names the open tree, never the other one.
        ASSERT_TRUE(WriteChart(*chart, PathOf("resaved.chart")));
        EXPECT_FALSE(Bytes(PathOf("resaved.chart")).contains("= " + other + "\r\n"));
    }
}

TEST_F(ChartFile, FailedWriteKeepsTheChartModified) {
    Man("H");
    auto chart = NewChart();
    chart->FindOrAddPerson("H");
    ASSERT_TRUE(chart->Modified);
    EXPECT_FALSE(WriteChart(*chart, PathOf("no/such/folder/x.chart")));
    EXPECT_TRUE(chart->Modified);
}

} // namespace

} // namespace verdan::test
