#include "chart/chart_poster.h"
#include "chart_fixture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>

namespace verdan::test {

namespace {

class Poster : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        dir_ = NewTempDir();
    }
    // A founder under a named branch with `sons` sons, each with two sons of his own.
    void Family(const QString& founder, int sons) {
        Put(founder + "G", "-1", "0", founder + " family", "m", true);
        Man(founder, founder + "G");
        for (int s = 0; s < sons; ++s) {
            const QString son = founder + QString::number(s);
            Man(son, founder);
            Man(son + "a", son);
            Man(son + "b", son);
        }
    }
    QByteArray Bytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString dir_;
};

int Pages(const QByteArray& pdf) {
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "));
}

TEST_F(Poster, TheLargestFatherLineIsTheDefaultAndItsBranchNamesThePoster) {
    Family("A", 2);
    Family("B", 4);
    Woman("Wife", kGlobal); // under the outside group, with no line of her own
    EXPECT_EQ(LargestFatherLine(), "B");
    TPosterOptions options;
    ASSERT_GE(BuildPosterChart(*chart_, options), 0);
    EXPECT_EQ(chart_->RootId, "B");
    EXPECT_EQ(chart_->Persons().size(), 13); // the founder, four sons, eight grandsons; no group
    // Two generations down only.
    options.Down = 1;
    ASSERT_GE(BuildPosterChart(*chart_, options), 0);
    EXPECT_EQ(chart_->Persons().size(), 5);
}

TEST_F(Poster, TilesCoverThePosterOverlappingTheirNeighbours) {
    Family("A", 30);
    TPosterOptions options;
    options.Tiles = true;
    options.Paper = QPageSize::A4;
    ASSERT_GE(BuildPosterChart(*chart_, options), 0);
    const TPoster poster(*chart_, options);
    ASSERT_GT(poster.Columns(), 1);
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Point);
    EXPECT_EQ(poster.PaperSize(), a4);
    const QRectF last = poster.TilePart(poster.Rows() - 1, poster.Columns() - 1);
    EXPECT_GE(last.right(), poster.Size().width());
    EXPECT_GE(last.bottom(), poster.Size().height());
    // One tile fewer would not reach the edge.
    EXPECT_LT(poster.TilePart(0, poster.Columns() - 2).right(), poster.Size().width());
    const QRectF first = poster.TilePart(0, 0);
    const QRectF second = poster.TilePart(0, 1);
    EXPECT_NEAR(first.right() - second.left(), 28.35, 0.01); // 10 mm shared
    EXPECT_EQ(poster.TileName(0, 0), "A1");
    EXPECT_EQ(poster.TileName(2, 27), "AB3");
    // Landscape turns the paper.
    options.Landscape = true;
    EXPECT_EQ(TPoster(*chart_, options).PaperSize(), a4.transposed());

    // The PDF holds the assembly sheet and every tile, a page each.
    const QString pdf = dir_ + QStringLiteral("/tiles.pdf");
    QString error;
    options.Landscape = false;
    int calls = 0;
    ASSERT_TRUE(ExportPoster(TPoster(*chart_, options), pdf, &error, [&](int, int) { return ++calls > 0; }))
        << error.toStdString();
    EXPECT_EQ(Pages(Bytes(pdf)), poster.TileCount() + 1);
    EXPECT_EQ(calls, poster.TileCount());
    // Pictures: one file per tile beside the named one, and the assembly sheet.
    const QString png = dir_ + QStringLiteral("/tiles.png");
    ASSERT_TRUE(ExportPoster(poster, png, &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_TRUE(QFile::exists(dir_ + QStringLiteral("/tiles-assembly.png")));
    const QString lastTile =
        QStringLiteral("/tiles-%1.png").arg(poster.TileName(poster.Rows() - 1, poster.Columns() - 1));
    QImageReader reader(dir_ + lastTile);
    EXPECT_EQ(reader.size().width(), qRound(a4.width() * 150 / 72));
    // Cancelling stops the export and says so.
    EXPECT_FALSE(ExportPoster(TPoster(*chart_, options), pdf, &error, [](int, int) { return false; }));
    EXPECT_FALSE(ExportPoster(poster, dir_ + QStringLiteral("/x.txt"), &error));
}

TEST_F(Poster, APageOverTwoHundredInchesIsWrittenSmallerWithItsUserUnit) {
    Man("F");
    for (int k = 0; k < 220; ++k)
        Man(QStringLiteral("S%1").arg(k, 3, 10, QLatin1Char('0')), "F");
    TPosterOptions options;
    options.PersonId = "F";
    ASSERT_GE(BuildPosterChart(*chart_, options), 0);
    const TPoster poster(*chart_, options);
    ASSERT_GT(poster.Size().width(), 14400);
    const QString path = dir_ + QStringLiteral("/wide.pdf");
    QString error;
    ASSERT_TRUE(ExportPoster(poster, path, &error)) << error.toStdString();
    const QByteArray pdf = Bytes(path);
    const QRegularExpression unitRe(QStringLiteral("/UserUnit ([\\d.]+)"));
    const auto unit = unitRe.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(unit.hasMatch());
    const QRegularExpression boxRe(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"));
    const auto box = boxRe.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_LE(box.captured(1).toDouble(), 14400);
    // Unit times page is the poster's true size.
    EXPECT_NEAR(box.captured(1).toDouble() * unit.captured(1).toDouble(), poster.Size().width(), 2);
    // The rewritten page is the last revision: a reader following the cross-references finds it.
    EXPECT_GT(pdf.lastIndexOf("/UserUnit"), pdf.lastIndexOf("/MediaBox") - 400);
    EXPECT_EQ(pdf.count("startxref"), 3);
}

} // namespace

} // namespace verdan::test
