#include "common/testing.h"
#include "shell/file_type.h"
#include "shell/program_updates.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// Answers apt-cache with a prepared text and records every call; versions are compared by the system's dpkg,
// as the program compares them.
struct FakeSystem {
    QString policy;
    bool aptRuns = true;
    QStringList calls;
    TCommandRunner Runner() {
        return [this](const QString& program, const QStringList& arguments, QString& output) {
            calls << program + u' ' + arguments.join(u' ');
            if (program == u"apt-cache") {
                output = policy;
                return aptRuns;
            }
            if (program == u"dpkg")
                return SystemCommandRunner()(program, arguments, output);
            return true;
        };
    }
};

QString Policy(const QString& installed, const QString& candidate) {
    return QStringLiteral("verdan:\n  Installed: %1\n  Candidate: %2\n  Version table:\n")
        .arg(installed, candidate);
}

TEST(ProgramUpdates, ThePackageManagerSaysWhetherANewerVersionIsOffered) {
    FakeSystem system;
    system.policy = Policy(QStringLiteral("0.1.0"), QStringLiteral("0.10.0"));
    TUpdateCheck check = CheckForUpdate(QStringLiteral("0.1.0"), system.Runner());
    EXPECT_EQ(check.Answer, TUpdateAnswer::Newer);
    EXPECT_EQ(check.NewVersion, QStringLiteral("0.10.0")); // compared as versions, not as texts
    EXPECT_EQ(system.calls.first(), QStringLiteral("apt-cache policy verdan"));

    for (const char* offered : {"0.1.0", "0.0.9", "0.1.0~rc1"}) {
        system.policy = Policy(QStringLiteral("0.1.0"), QString::fromLatin1(offered));
        check = CheckForUpdate(QStringLiteral("0.1.0"), system.Runner());
        EXPECT_EQ(check.Answer, TUpdateAnswer::UpToDate) << offered;
        EXPECT_TRUE(check.NewVersion.isEmpty());
    }
    // A package manager that does not know the package, an empty answer or none at all.
    system.policy = Policy(QStringLiteral("(none)"), QStringLiteral("(none)"));
    EXPECT_EQ(CheckForUpdate(QStringLiteral("0.1.0"), system.Runner()).Answer, TUpdateAnswer::NoAnswer);
    system.policy.clear();
    EXPECT_EQ(CheckForUpdate(QStringLiteral("0.1.0"), system.Runner()).Answer, TUpdateAnswer::NoAnswer);
    system.policy = Policy(QStringLiteral("0.1.0"), QStringLiteral("0.2.0"));
    system.aptRuns = false;
    EXPECT_EQ(CheckForUpdate(QStringLiteral("0.1.0"), system.Runner()).Answer, TUpdateAnswer::NoAnswer);
}

class FileTypeTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = test::NewTempDir();
        previous_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data_.toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", previous_); }
    QString Read(const QString& relative) const {
        QFile file(data_ + u'/' + relative);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString data_;
    QByteArray previous_;
};

// A program started from a build registers tree files for the user, once; one installed in the system
// leaves it to its package.
TEST_F(FileTypeTest, AProgramFromABuildRegistersTreeFilesForTheUser) {
    FakeSystem system;
    const QString program = QStringLiteral("/home/u/my \"trees\"/build/app/verdan");
    ASSERT_TRUE(RegisterFileType(program, system.Runner()));
    const QString entry = Read(QStringLiteral("applications/verdan.desktop"));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"/home/u/my \\\"trees\\\"/build/app/verdan\" %f\n")))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=application/x-verdan-tree;")));
    EXPECT_TRUE(Read(QStringLiteral("mime/packages/verdan-tree.xml")).contains(QStringLiteral("*.vrd")));
    EXPECT_FALSE(Read(QStringLiteral("icons/hicolor/scalable/apps/verdan.svg")).isEmpty());
    EXPECT_EQ(
        system.calls,
        (QStringList{QStringLiteral("update-mime-database ") + data_ + QStringLiteral("/mime"),
                     QStringLiteral("update-desktop-database ") + data_ + QStringLiteral("/applications"),
                     QStringLiteral("xdg-mime default verdan.desktop application/x-verdan-tree")}));

    system.calls.clear();
    EXPECT_FALSE(RegisterFileType(program, system.Runner()));
    EXPECT_TRUE(system.calls.isEmpty());
    // Another build takes the entry over.
    EXPECT_TRUE(RegisterFileType(QStringLiteral("/opt/verdan/verdan"), system.Runner()));
    EXPECT_TRUE(Read(QStringLiteral("applications/verdan.desktop"))
                    .contains(QStringLiteral("Exec=\"/opt/verdan/verdan\" %f")));

    QDir(data_).removeRecursively();
    EXPECT_FALSE(RegisterFileType(QStringLiteral("/usr/bin/verdan"), system.Runner()));
    EXPECT_FALSE(QFile::exists(data_ + QStringLiteral("/applications/verdan.desktop")));
}

} // namespace
} // namespace verdan
