#include "common/testing.h"
#include "shell/startup.h"
#include "shell/ui/damaged_tree_dialog.h"
#include "shell/ui/main_window.h"
#include "shell_ui_testing.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

class TreeFileChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        SetProgramFolder(test::NewTempDir());
        CreateAppFolders();
        Options() = TOptions();
    }
    void TearDown() override { CloseTreeFile(); }

    static QByteArray FileHash(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                   : QByteArray();
    }

    // Statements run on the closed tree file as another program would.
    static void Change(const QString& path, const QStringList& statements) {
        Tdm dm;
        ASSERT_TRUE(dm.Open(path));
        for (const QString& sql : statements)
            ASSERT_TRUE(dm.ExecSql(sql)) << sql.toStdString() << ": " << dm.LastError().toStdString();
    }

    test::RecordedMessages messages_;
};

TEST_F(TreeFileChecksTest, ATreeCarryingATriggerOpensOnlyAsACleanedCopyWhenTheUserAgrees) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    Change(path, {QStringLiteral(
                     "CREATE TRIGGER wipe AFTER UPDATE ON ftPerson BEGIN DELETE FROM ftRelation; END")});
    const QByteArray original = FileHash(path);
    const QString other = test::MakeTestTree(QStringLiteral("Other"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(other));

    messages_.SetAnswer(IDNO);
    EXPECT_FALSE(window.LoadTree(path));
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].contains(QStringLiteral("trigger wipe")))
        << messages_.texts[0].toStdString();
    EXPECT_TRUE(messages_.texts[0].contains(QStringLiteral("cleaned copy")));
    EXPECT_EQ(CurrentTreePath(), other) << "declined: the tree open before stays";

    messages_.SetAnswer(IDYES);
    ASSERT_TRUE(window.LoadTree(path));
    const QString copy = QFileInfo(path).absolutePath() + QStringLiteral("/Salem-cleaned.vrd");
    EXPECT_EQ(CurrentTreePath(), copy);
    EXPECT_EQ(FileHash(path), original);
    EXPECT_EQ(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'")), 0);
    EXPECT_EQ(messages_.texts.size(), 2);
}

TEST_F(TreeFileChecksTest, AnOldDatabaseWithoutATreeIsNamedAndNothingIsConverted) {
    const QString folder = test::NewTempDir();
    const QString old = folder + QStringLiteral("/family.vrd");
    ASSERT_TRUE(QFile::copy(test::SampleData(QStringLiteral("jet/DateTestDatabase.mdb")), old));
    const QByteArray original = FileHash(old);
    TfrmFamilyMain window;
    messages_.SetAnswer(IDYES);
    EXPECT_FALSE(window.LoadTree(old));
    ASSERT_EQ(messages_.texts.size(), 1) << "no question about converting what is no tree";
    EXPECT_TRUE(StripBidiControls(messages_.texts[0])
                    .startsWith(QStringLiteral("This file is a database of the old format, but it holds no "
                                               "family tree.|")))
        << messages_.texts[0].toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("family.vrd")});
    EXPECT_EQ(FileHash(old), original);
}

TEST_F(TreeFileChecksTest, MaintenanceChecksTheFileAndCompactsOnlyASoundOne) {
    const QString path = test::MakeTestTree(QStringLiteral("Salem"));
    TfrmFamilyMain window;
    ASSERT_TRUE(window.LoadTree(path));
    EXPECT_TRUE(window.MaintainTree());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(StripBidiControls(messages_.texts[0])
                    .startsWith(QStringLiteral("No damage was found in the tree file.")));
    window.CloseCurrentTree();

    // Damage in a page that opening does not read: the check finds it, the tree turns read-only, the user
    // is asked what to do, and the file is left as it is.
    QStringList rows{QStringLiteral("BEGIN")};
    for (int i = 0; i < 2000; ++i)
        rows << QStringLiteral("INSERT INTO ftDetails (person_id, address) VALUES ('p%1', 'ADDRESS-%1-%2')")
                    .arg(i)
                    .arg(QString(300, u'n'));
    rows << QStringLiteral("COMMIT");
    Change(path, rows);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 at = file.readAll().indexOf("ADDRESS-1000-");
        ASSERT_GT(at, 0);
        ASSERT_TRUE(file.seek(at / 4096 * 4096));
        file.write(QByteArray(4096, char(0x5A)));
    }
    QStringList asked;
    window.AskDamagedTree = [&](const QString& tree, const QString& reason) {
        asked << tree << reason;
        return TDamageChoice::ReadOnly;
    };
    ASSERT_TRUE(window.LoadTree(path)) << messages_.texts.join(u'\n').toStdString();
    QCoreApplication::processEvents();
    EXPECT_TRUE(asked.isEmpty()) << "opening does not meet it";
    EXPECT_FALSE(IsTreeReadOnly());
    const QByteArray damaged = FileHash(path);
    messages_.texts.clear();
    EXPECT_FALSE(window.MaintainTree());
    QCoreApplication::processEvents();
    ASSERT_EQ(asked.size(), 2) << "asked once";
    EXPECT_EQ(asked[0], path);
    EXPECT_TRUE(asked[1].contains(QStringLiteral("ftDetails"))) << asked[1].toStdString();
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_TRUE(IsTreeReadOnly());
    // Asked again, it is refused with the reason.
    EXPECT_FALSE(window.MaintainTree());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].contains(QStringLiteral("compacting it could lose more of it")));
    window.CloseCurrentTree();
    EXPECT_EQ(FileHash(path), damaged);
}

} // namespace
