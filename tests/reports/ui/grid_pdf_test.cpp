#include "common/testing.h"
#include "reports/grid_model.h"
#include "reports/grid_pdf.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// The text of a PDF file, pages separated by form feeds, as a reader's text extraction gives it.
QString PdfText(const QString& file) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

int PdfPageObjects(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = pdf.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page/") + bytes.count("/Type /Page>"));
}

class GridPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        QList<QStringList> cells{{"", "Name", "Father", "Hidden", "Deceased"}};
        for (int row = 1; row <= kRows; ++row)
            cells << QStringList{"", QStringLiteral("Person%1").arg(row), QStringLiteral("Father%1").arg(row),
                                 QStringLiteral("Secret%1").arg(row), row % 2 ? "TRUE" : "false"};
        grid.ReplaceCells(cells);
        file = test::NewTempDir() + QStringLiteral("/list.pdf");
    }
    static constexpr int kRows = 250;
    TZelGridModel grid;
    QString file;
};

TEST_F(GridPdfTest, EveryRowIsPrintedOnceOnTheLayoutsPages) {
    TGridPrintSettings settings;
    settings.Title.Caption = QStringLiteral("Person list");
    settings.Footer.Caption = QStringLiteral("Verdan");
    TGridPrintLayout layout(GridPrintSource(grid, {35, 150, 150, -1, 80}, QGuiApplication::font(), false),
                            settings);
    layout.Paginate(TFontMeasurer());
    ASSERT_GT(layout.PageCount(), 3);
    QString error;
    ASSERT_TRUE(WriteGridPdf(layout, file, {}, &error)) << error.toStdString();

    EXPECT_EQ(PdfPageObjects(file), layout.PageCount());
    const QString text = PdfText(file);
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), layout.PageCount());
    EXPECT_TRUE(pages.first().contains("Person1 ")) << pages.first().toStdString();
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Person%1").arg(kRows)));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Page %1 of %1").arg(layout.PageCount())));
    // Each person once, on the page pagination gave him; the title row on every page; hidden columns never.
    for (int page = 1; page <= layout.PageCount(); ++page) {
        const TRowsRange rows = layout.PageRows(page);
        const QString& shown = pages[page - 1];
        EXPECT_TRUE(shown.contains("Father")) << page;
        EXPECT_TRUE(shown.contains(QStringLiteral("Person%1 ").arg(rows.First))) << page;
        EXPECT_TRUE(shown.contains(QStringLiteral("Person%1 ").arg(rows.Last))) << page;
    }
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("Person\\d+ "))), kRows);
    EXPECT_FALSE(text.contains("Secret"));
    EXPECT_TRUE(text.contains("Yes"));
    EXPECT_FALSE(text.contains("TRUE"));
}

TEST_F(GridPdfTest, ACancelledPdfLeavesTheEarlierFile) {
    QFile earlier(file);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    TGridPrintLayout layout(GridPrintSource(grid, {35, 150, 150, -1, 80}, QGuiApplication::font(), true),
                            TGridPrintSettings());
    layout.Paginate(TFontMeasurer());
    QString error;
    EXPECT_FALSE(WriteGridPdf(
        layout, file, [](int done, int) { return done < 2; }, &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
}

} // namespace
} // namespace verdan
