#include "chart/chart_export.h"
#include "chart/gif_writer.h"
#include "chart/pdf_info.h"
#include "chart_fixture.h"

#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTimeZone>

namespace verdan::test {

namespace {

class ChartExport : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        dir_ = NewTempDir();
        Put("H", "0", "0", QStringLiteral(u"أحمد بن علي"), "m");
    }
    // One item whose box ends at (right, bottom).
    void ItemEndingAt(int right, int bottom) {
        const int h = chart_->FindOrAddPerson("H");
        const TChartBox box = chart_->Person(h).Box;
        chart_->MoveItemTo(h, QPoint(right - box.Width, bottom - box.Height));
    }
    QByteArray Bytes(const QString& name) const {
        QFile file(dir_ + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString PathOf(const QString& name) const { return dir_ + u'/' + name; }

    QString dir_;
};

QString Info(const QList<std::pair<QString, QString>>& entries, const QString& key) {
    for (const auto& [k, v] : entries)
        if (k == key)
            return v;
    return QString();
}

QSizeF MediaBox(const QByteArray& pdf) {
    const QRegularExpression re(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"));
    const auto match = re.match(QString::fromLatin1(pdf));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

TEST_F(ChartExport, PictureAndPageAreTheChartWithThirtyPixelsMargin) {
    ItemEndingAt(500, 300);
    ASSERT_TRUE(ExportImage(*chart_, PathOf("a.png"), ".png", nullptr));
    EXPECT_EQ(QImage(PathOf("a.png")).size(), QSize(530, 330));
    QByteArray pdf;
    ASSERT_TRUE(RenderPdf(*chart_, TPdfInfo{}, pdf, nullptr));
    EXPECT_EQ(MediaBox(pdf), QSizeF(530, 330));

    chart_->SetZoom(0.5f);
    EXPECT_EQ(ChartPictureSize(*chart_), QSize(280, 180));

    auto empty = NewChart();
    EXPECT_EQ(ChartPictureSize(*empty), QSize(30, 30));
    ASSERT_TRUE(RenderPdf(*empty, TPdfInfo{}, pdf, nullptr));
    EXPECT_EQ(MediaBox(pdf), QSizeF(30, 30));
}

TEST_F(ChartExport, PicturesAboveTheTopEdgeAreNotCutOff) {
    chart_->Defaults.ShowPicture = true;
    const int h = chart_->FindOrAddPerson("H");
    chart_->MoveItemTo(h, QPoint(200, 0));
    const TPersonObject& item = chart_->Person(h);
    ASSERT_LT(item.Box.Y, 0);
    EXPECT_EQ(ChartPictureSize(*chart_).height(), item.Box.Height + 30);
}

TEST_F(ChartExport, MarriageMarksBelowTheLastRowAreNotCutOff) {
    Woman("W1");
    Woman("W2");
    Marry("H", "W1");
    Marry("H", "W2");
    ASSERT_TRUE(SetWifeOrder("H", "W1", 1));
    ASSERT_TRUE(SetWifeOrder("H", "W2", 2));
    const int h = chart_->FindOrAddPerson("H");
    chart_->MoveItemTo(h, QPoint(200, 200));
    chart_->ShowSpouses(h);
    ASSERT_EQ(chart_->Maritals().size(), 2);
    const QSize picture = ChartPictureSize(*chart_);
    const QPoint origin = chart_->Origin();
    const int boxesBottom = chart_->Person(h).Box.Bottom();
    bool below = false;
    for (const TMarital& mark : chart_->Maritals()) {
        below = below || mark.Mark.Bottom() > boxesBottom;
        EXPECT_LE(mark.Mark.Bottom() - origin.y() + 30, picture.height());
        EXPECT_LE(mark.Mark.Right() - origin.x() + 30, picture.width());
    }
    EXPECT_TRUE(below);
}

TEST_F(ChartExport, PdfCarriesAuthorCreatorAndCreationDate) {
    ItemEndingAt(500, 300);
    TPdfInfo info;
    info.Author = QStringLiteral(u"مالك الشجرة");
    info.Title = QStringLiteral("Family");
    info.Created = QDateTime(QDate(2024, 3, 11), QTime(9, 30, 5));
    ASSERT_TRUE(ExportPdf(*chart_, PathOf("c.pdf"), info, nullptr));
    const QByteArray pdf = Bytes("c.pdf");
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const auto entries = ReadPdfInformation(pdf);
    EXPECT_EQ(Info(entries, "Author"), info.Author);
    EXPECT_EQ(Info(entries, "Creator"), QStringLiteral("Verdan"));
    EXPECT_EQ(Info(entries, "Title"), QStringLiteral("Family"));
    EXPECT_TRUE(Info(entries, "CreationDate").startsWith(QStringLiteral("D:20240311093005")))
        << Info(entries, "CreationDate").toStdString();
    // The update keeps the document's own cross-reference chain.
    EXPECT_TRUE(pdf.contains("/Prev "));
    EXPECT_TRUE(pdf.endsWith("%%EOF\n"));
}

TEST_F(ChartExport, HugeChartsGetAPageOfAtMostTwoHundredInchesAndNoPicture) {
    ItemEndingAt(20000, 400);
    QByteArray pdf;
    ASSERT_TRUE(RenderPdf(*chart_, TPdfInfo{}, pdf, nullptr));
    const QSizeF page = MediaBox(pdf);
    EXPECT_NEAR(page.width(), kMaxPdfPagePoints, 0.5);
    EXPECT_NEAR(page.height(), 430.0 * kMaxPdfPagePoints / 20030.0, 0.5);

    ItemEndingAt(40000, 400);
    QString error;
    EXPECT_FALSE(ExportImage(*chart_, PathOf("huge.png"), ".png", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(PathOf("huge.png")));
    EXPECT_FALSE(CheckPictureSize(QSize(20000, 20000), nullptr)); // 400 million pixels
    EXPECT_TRUE(CheckPictureSize(QSize(32767, 100), nullptr));
}

TEST_F(ChartExport, SvgHoldsTheNamesAsText) {
    ItemEndingAt(500, 300);
    ASSERT_TRUE(ExportSvg(*chart_, PathOf("d.svg"), nullptr));
    const QString svg = QString::fromUtf8(Bytes("d.svg"));
    EXPECT_TRUE(svg.contains(QStringLiteral("<text")));
    EXPECT_TRUE(svg.contains(QStringLiteral(u"أحمد بن علي")));
    EXPECT_FALSE(svg.contains(QStringLiteral("<image")));
    EXPECT_TRUE(svg.contains(QStringLiteral("width=\"530")));
}

TEST_F(ChartExport, ImageFormatFollowsTheExtension) {
    ItemEndingAt(200, 100);
    struct Case {
        const char* file;
        const char* extension;
        QByteArray magic;
    };
    const Case cases[] = {
        {"e.PNG", ".PNG", "\x89PNG"}, {"e.jpg", ".jpg", "\xFF\xD8\xFF"}, {"e.bmp", ".bmp", "BM"},
        {"e.txt", ".txt", "BM"},      {"e.gif", ".gif", "GIF8"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ExportImage(*chart_, PathOf(c.file), c.extension, nullptr)) << c.file;
        EXPECT_TRUE(Bytes(c.file).startsWith(c.magic)) << c.file;
    }
    QImageReader reader(PathOf("e.gif"), "gif");
    const QImage gif = reader.read();
    EXPECT_EQ(gif.size(), QSize(230, 130)) << reader.errorString().toStdString();
    QString error;
    EXPECT_FALSE(ExportImage(*chart_, QStringLiteral("  "), ".png", &error));
    EXPECT_FALSE(ExportImage(*chart_, PathOf("missing/e.png"), ".png", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ChartExport, ExportingClearsTheSelection) {
    ItemEndingAt(200, 100);
    chart_->SelectAll();
    QImage image;
    ASSERT_TRUE(RenderToImage(*chart_, image, nullptr));
    EXPECT_EQ(chart_->SelectedPersonCount(), 0);
    // Something was drawn: the box's fill colour.
    const QRect box = ExportMapping(*chart_).ToView(chart_->Person(0).TextRect);
    EXPECT_EQ(QColor(image.pixel(box.left() + 2, box.top() + 2)), ChartColor(chart_colours::kMaleFill));
}

TEST(GifPalette, ManyColoursBecomeAtMostTwoHundredFiftySixClosestOnes) {
    QImage gradient(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            gradient.setPixel(x, y, qRgb(x, y, (x + y) / 2));
    const QImage reduced = ReduceToPalette(gradient);
    EXPECT_EQ(reduced.format(), QImage::Format_Indexed8);
    EXPECT_LE(reduced.colorCount(), 256);
    double error = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb a = gradient.pixel(x, y);
            const QRgb b = reduced.pixel(x, y);
            error +=
                std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    }
    EXPECT_LT(error / (256 * 256 * 3), 12.0);

    QImage few(10, 10, QImage::Format_RGB32);
    few.fill(qRgb(1, 2, 3));
    few.setPixel(5, 5, qRgb(200, 100, 50));
    const QImage exact = ReduceToPalette(few);
    EXPECT_EQ(exact.colorCount(), 2);
    EXPECT_EQ(exact.pixel(5, 5), qRgb(200, 100, 50));
    EXPECT_EQ(exact.pixel(0, 0), qRgb(1, 2, 3));
}

TEST(PdfInformation, ReadsWhatWasSetAndRefusesAFileWithoutTrailer) {
    QByteArray broken = "%PDF-1.4\nnothing here\n";
    EXPECT_FALSE(SetPdfInformation(broken, {{"Author", "x"}}, QDateTime::currentDateTime()));
    EXPECT_TRUE(ReadPdfInformation(broken).isEmpty());
    const QDateTime when(QDate(2024, 1, 2), QTime(3, 4, 5), QTimeZone(3 * 3600));
    EXPECT_EQ(PdfDate(when).left(16),
              QByteArray("D:").append(when.toLocalTime().toString("yyyyMMddHHmmss").toLatin1()));
}

} // namespace

} // namespace verdan::test
