#include "common/testing.h"
#include "shell/help_pages.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class Recorder : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        texts << request.text;
        return IDOK;
    }
    QStringList texts;
};

} // namespace

TEST(HelpPages, ProgramFolderFirstThenBesideTheProgram) {
    SetProgramFolder(test::NewTempDir() + QStringLiteral("/"));
    const QStringList candidates = HelpPageCandidates(kKeysPage);
    ASSERT_GE(candidates.size(), 2);
    EXPECT_EQ(candidates[0], ProgramFolder() + QStringLiteral("help/keys.html"));
    EXPECT_EQ(candidates[1], QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                             QStringLiteral("/../share/verdan/help/keys.html")));

    // A page in the program folder wins over the installed one.
    QDir().mkpath(ProgramFolder() + QStringLiteral("help"));
    QFile page(candidates[0]);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();
    EXPECT_EQ(FindHelpPage(kKeysPage), candidates[0]);
}

TEST(HelpPages, MissingPageIsReportedWithItsPath) {
    SetProgramFolder(test::NewTempDir() + QStringLiteral("/"));
    SetLanguage(QStringLiteral(":/langs/english.local"));
    Recorder recorder;
    TMessageSink* previous = InstallMessageSink(&recorder);
    EXPECT_TRUE(FindHelpPage(QStringLiteral("no-such-page.html")).isEmpty());
    EXPECT_FALSE(OpenHelpPage(QStringLiteral("no-such-page.html")));
    InstallMessageSink(previous);
    ASSERT_EQ(recorder.texts.size(), 1);
    EXPECT_TRUE(recorder.texts[0].startsWith(QStringLiteral("Help file not found.|")));
    EXPECT_TRUE(StripBidiControls(recorder.texts[0])
                    .endsWith(QDir::toNativeSeparators(ProgramFolder() + "help/no-such-page.html")));
}
