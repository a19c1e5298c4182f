#include "common/testing.h"
#include "gedcom/gedcom_import.h"
#include "shell/startup.h"
#include "shell/ui/gedcom_export_progress.h"
#include "shell/ui/main_window.h"
#include "shell_ui_testing.h"
#include "text/user_options.h"

#include <QFile>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class GedcomExportWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
    }
    void TearDown() override {
        CloseTreeFile();
        test::UseEnglish();
    }
    test::RecordedMessages messages_;
};

// File > Export GEDCOM File asks for the version (starting on 5.5.1), proposes the tree's name, writes a file
// the import reads back and says what it wrote; cancelling the version or the file choice writes nothing.
// Both reading directions, each version.
TEST_F(GedcomExportWindowTest, WritesTheOpenTreeUnderTheChosenName) {
    for (const char* language : {"english", "arabic"}) {
        const bool seven = QLatin1String(language) == QLatin1String("arabic");
        SetLanguage(QStringLiteral(":/langs/%1.local").arg(QLatin1String(language)));
        // A tree of its own in each language: a name drawn from a hash could come out the same twice.
        const QString tree = test::MakeTestTree(QStringLiteral("Salem-") + QLatin1String(language));
        TfrmFamilyMain window;
        ASSERT_TRUE(window.LoadTree(tree));
        messages_.SetAnswer(IDCANCEL);
        bool chosen = false;
        window.ChooseSaveFile = [&](const QString&, const QString&) {
            chosen = true;
            return QString();
        };
        EXPECT_FALSE(window.ExportGedcom());
        EXPECT_FALSE(chosen) << "cancelling the version asks for no file";
        messages_.texts.clear();
        messages_.SetAnswer(seven ? kAnswerGedcom7 : kAnswerGedcom551);
        QString proposed;
        window.ChooseSaveFile = [&](const QString& name, const QString&) {
            proposed = name;
            return QString();
        };
        EXPECT_FALSE(window.ExportGedcom());
        EXPECT_TRUE(proposed.endsWith(QLatin1String(".ged"))) << proposed.toStdString();
        const QString target = test::NewTempDir() + QStringLiteral("/out.ged");
        window.ChooseSaveFile = [&](const QString&, const QString&) {
            return target;
        };
        ASSERT_TRUE(window.ExportGedcom());
        EXPECT_TRUE(QFile::exists(target));
        EXPECT_FALSE(window.statusBar()->currentMessage().isEmpty());
        ASSERT_EQ(messages_.texts.size(), 2)
            << messages_.texts.join(u'\n').toStdString(); // the question, twice
        EXPECT_EQ(messages_.focuses.back(), kAnswerGedcom551);
        QFile written(target);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(
            written.readAll().startsWith(seven ? "0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\n" : "0 HEAD\r\n1 SOUR"));
        messages_.texts.clear();
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult result;
        ASSERT_TRUE(ImportGedcomFile(target, options, result)) << result.ErrorMessage.toStdString();
        EXPECT_GT(result.Summary.Individuals, 0);
        CloseTreeFile();
    }
}

} // namespace
