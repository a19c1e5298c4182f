#include "common/testing.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program_updates_window.h"
#include "shell_ui_testing.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

TCommandRunner Offering(const QString& candidate) {
    return [candidate](const QString& program, const QStringList& arguments, QString& output) {
        if (program == u"dpkg")
            return SystemCommandRunner()(program, arguments, output);
        output = QStringLiteral("verdan:\n  Installed: (none)\n  Candidate: ") + candidate + u'\n';
        return !candidate.isEmpty();
    };
}

// A software updater first on the PATH: an executable file that is never run.
class UpdaterOnPath {
public:
    UpdaterOnPath() : previous_(qgetenv("PATH")) {
        const QString folder = test::NewTempDir();
        QFile updater(folder + QStringLiteral("/gnome-software"));
        updater.open(QIODevice::WriteOnly);
        updater.write("#!/bin/sh\n");
        updater.setPermissions(updater.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", folder.toUtf8() + ":" + previous_);
    }
    ~UpdaterOnPath() { qputenv("PATH", previous_); }

private:
    QByteArray previous_;
};

class ProgramUpdatesTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseEnglish(); }
    void TearDown() override { test::UseEnglish(); }
    test::RecordedMessages messages_;
};

TEST_F(ProgramUpdatesTest, TheAnswerIsUpToDateFailedOrTheNewerVersion) {
    CheckForUpdatesCommand(nullptr, Offering(QStringLiteral(VERDAN_VERSION)));
    CheckForUpdatesCommand(nullptr, Offering(QString()));
    EXPECT_EQ(messages_.texts, (QStringList{QStringLiteral("Application is up to date."),
                                            QStringLiteral("Failed to check for update.")}));
    messages_.texts.clear();

    // "Install new version" opens the desktop's software updater, and the window closes.
    const UpdaterOnPath updater;
    QStringList started;
    const bool shown =
        test::WithModal([] { CheckForUpdatesCommand(nullptr, Offering(QStringLiteral("99.0"))); },
                        [&](QWidget* modal) {
                            auto* window = qobject_cast<TfrmProgramUpdates*>(modal);
                            ASSERT_NE(window, nullptr);
                            EXPECT_EQ(window->windowTitle(), QStringLiteral("Program Updates"));
                            const QString text = window->Text()->text();
                            EXPECT_TRUE(text.contains(QStringLiteral("A new version of Verdan")));
                            EXPECT_TRUE(text.contains(QStringLiteral("99.0")));
                            EXPECT_TRUE(text.contains(QStringLiteral("Current used version: ")));
                            window->StartProgram = [&](const QStringList& command) {
                                started = command;
                                return true;
                            };
                            window->InstallButton()->click();
                        });
    EXPECT_TRUE(shown);
    EXPECT_EQ(started, (QStringList{QStringLiteral("gnome-software"), QStringLiteral("--mode=updates")}));
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
}

// Without a software updater the window says how else to install, and stays open.
TEST_F(ProgramUpdatesTest, WithoutAnUpdaterTheWindowSaysSoAndStays) {
    TfrmProgramUpdates window(QStringLiteral("2.0"), nullptr);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", test::NewTempDir().toUtf8()); // no updater, nor anything else
    window.show();
    window.InstallButton()->click();
    qputenv("PATH", path);
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts.first().startsWith(QStringLiteral("No software updater was found")));
    window.CloseButton()->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ProgramUpdatesTest, AboutShowsTheVersionAndTheBuildTime) {
    for (const QString& build : {QStringLiteral("Build time"), QStringLiteral(u"وقت البناء")}) {
        SetLanguage(build.startsWith(u'B') ? QStringLiteral(":/langs/english.local")
                                           : QStringLiteral(":/langs/arabic.local"));
        messages_.texts.clear();
        TfrmFamilyMain window;
        window.Menu()->mnuAbout->trigger();
        ASSERT_EQ(messages_.texts.size(), 1);
        const QString text = messages_.texts.first();
        EXPECT_TRUE(text.contains(QStringLiteral(VERDAN_VERSION))) << text.toStdString();
        // The build time on a line of its own.
        EXPECT_TRUE(text.contains(u'\n' + build + QStringLiteral(": "))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("||"))) << text.toStdString();
    }
}

} // namespace
