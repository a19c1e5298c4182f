#include "common/testing.h"
#include "datasheet/ui/data_sheet.h"
#include "navigator/ui/tree_frame.h"
#include "shell/ui/damaged_tree_dialog.h"
#include "shell/ui/gedcom_export_progress.h"
#include "shell/ui/main_menu.h"
#include "shell/ui/main_window.h"
#include "shell_ui_testing.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

QByteArray FileHash(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

// A tree of some thousands of persons in a folder of its own, never opened by the window's connection; its
// persons fill pages enough to damage one in the middle.
QString MakeLargeTree(const QString& name) {
    TTreeProperty props;
    props.BasePath = test::NewTempDir();
    props.FolderName = name;
    props.FileName = name + QStringLiteral(".vrd");
    props.TreeName = name;
    props.OwnerName = QStringLiteral("Owner");
    const QString path = CreateNewTree(props);
    Tdm dm;
    EXPECT_TRUE(dm.Open(path));
    Transaction transaction(dm);
    for (int i = 0; i < 3000; ++i)
        dm.Execute(
            "INSERT INTO ftPerson (person_id, father_id, mother_id, person_name, gender, notes) VALUES (?, "
            "'-1', '0', ?, 'm', ?)",
            QStringLiteral("{P%1}").arg(i), QStringLiteral("Person %1").arg(i), QString(200, u'n'));
    EXPECT_TRUE(transaction.Commit());
    return path;
}

// A copy of the tree whose page `which` is garbage: the "root" page of the persons, a leaf in the middle
// of an "index", the "middle" leaf of the persons, or the "last" page of the file.
QString DamagedCopy(const QString& path, const QString& which) {
    const QString folder = test::NewTempDir() + QStringLiteral("/damaged");
    QDir().mkpath(folder);
    const QString copy = folder + QStringLiteral("/damaged.vrd");
    EXPECT_TRUE(QFile::copy(path, copy));
    qint64 page = 0;
    {
        Tdm dm;
        EXPECT_TRUE(dm.OpenReadOnly(copy));
        QList<qint64> leaves;
        Query q = dm.Prepare("SELECT pageno FROM dbstat WHERE name = ? AND pagetype = 'leaf' ORDER BY path",
                             which == u"index" ? QStringLiteral("ftPerson_idx_person_id")
                                               : QStringLiteral("ftPerson"));
        q.ForEachRow([&](Query& row) { leaves << row.Int(0); });
        page = which == u"root"   ? dm.ScalarInt("SELECT rootpage FROM sqlite_master WHERE name = 'ftPerson'")
               : which == u"last" ? dm.ScalarInt("PRAGMA page_count")
                                  : leaves.value(leaves.size() / 2);
    }
    QFile file(copy);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_TRUE(file.seek((page - 1) * 4096));
    file.write(QByteArray(4096, char(0x5A)));
    return copy;
}

class DamagedTreeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::UseEnglish();
        window_.AskDamagedTree = [this](const QString& path, const QString& reason) {
            asked_ << path;
            reasons_ << reason;
            return answer_;
        };
    }
    void TearDown() override {
        window_.CloseCurrentTree();
        test::UseEnglish();
    }

    test::RecordedMessages messages_;
    TfrmFamilyMain window_;
    TDamageChoice answer_ = TDamageChoice::Cancel;
    QStringList asked_;
    QStringList reasons_;
};

// A file that is no tree, or a damaged one the user leaves alone, is named in the interface language and
// the tree open before stays open.
TEST_F(DamagedTreeWindowTest, WhatIsNoTreeKeepsTheOpenTreeOpen) {
    const QString sound = MakeLargeTree(QStringLiteral("Sound"));
    const QString damaged = DamagedCopy(MakeLargeTree(QStringLiteral("Large")), QStringLiteral("root"));
    ASSERT_TRUE(window_.LoadTree(sound));
    const QString text = test::NewTempDir() + QStringLiteral("/notes.vrd");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("just words\n").repeated(100));
    file.close();
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    messages_.texts.clear();
    EXPECT_FALSE(window_.LoadTree(text));
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(StripBidiControls(messages_.texts[0]).startsWith(QStringLiteral("هذا الملف ليس ملف شجرة.")))
        << messages_.texts[0].toStdString();
    EXPECT_EQ(CurrentTreePath(), QFileInfo(sound).absoluteFilePath());
    EXPECT_FALSE(window_.ShowsWelcomePage());

    answer_ = TDamageChoice::Cancel;
    const QByteArray before = FileHash(damaged);
    EXPECT_FALSE(window_.LoadTree(damaged));
    EXPECT_EQ(asked_, QStringList{damaged});
    EXPECT_FALSE(reasons_.value(0).isEmpty()) << "the engine's words go to the details";
    EXPECT_EQ(CurrentTreePath(), QFileInfo(sound).absoluteFilePath());
    EXPECT_EQ(FileHash(damaged), before);
}

// Opened read-only, a damaged tree can be looked at while every command that would change it is greyed,
// and closing it writes nothing.
TEST_F(DamagedTreeWindowTest, ADamagedTreeOpensReadOnlyWithItsEditingCommandsGreyed) {
    const QString damaged = DamagedCopy(MakeLargeTree(QStringLiteral("Large")), QStringLiteral("root"));
    const QByteArray before = FileHash(damaged);
    answer_ = TDamageChoice::ReadOnly;
    ASSERT_TRUE(window_.LoadTree(damaged));
    QCoreApplication::processEvents();
    EXPECT_EQ(asked_.size(), 1) << "asked once, when it was opened";
    EXPECT_TRUE(IsTreeReadOnly());
    EXPECT_TRUE(window_.windowTitle().endsWith(QStringLiteral("(read-only)")))
        << window_.windowTitle().toStdString();
    EXPECT_TRUE(window_.TreeFrame()->IsReadOnly());
    EXPECT_FALSE(window_.DataSheet()->IsWritable());
    EXPECT_FALSE(window_.Menu()->mnuProperties->isEnabled());
    EXPECT_FALSE(window_.Menu()->mnuDataFileMaintenance->isEnabled());
    EXPECT_TRUE(window_.Menu()->mnuExportGedcom->isEnabled()) << "what can be read can be exported";
    EXPECT_FALSE(window_.MaintainTree());
    // The 10-second timer puts the group outside the tree back in place, where it writes nothing here.
    window_.PersonCountTimer().setInterval(5);
    window_.PersonCountTimer().start();
    QTest::qWait(30);
    window_.CloseCurrentTree();
    EXPECT_EQ(FileHash(damaged), before);

    // The next tree is writable again.
    ASSERT_TRUE(window_.LoadTree(MakeLargeTree(QStringLiteral("Next"))));
    EXPECT_FALSE(window_.TreeFrame()->IsReadOnly());
    EXPECT_TRUE(window_.DataSheet()->IsWritable());
    EXPECT_TRUE(window_.Menu()->mnuProperties->isEnabled());
}

// Wherever the damage is, opening the tree in the program and closing it again writes nothing, whether
// the user leaves it, reads it, or has a copy rescued.
TEST_F(DamagedTreeWindowTest, OpeningADamagedTreeWritesNothingToIt) {
    const QString large = MakeLargeTree(QStringLiteral("Large"));
    for (const QString& where : {QStringLiteral("root"), QStringLiteral("index"), QStringLiteral("middle"),
                                QStringLiteral("last")}) {
        for (const TDamageChoice answer :
             {TDamageChoice::Cancel, TDamageChoice::ReadOnly, TDamageChoice::Rescue}) {
            SCOPED_TRACE(where.toStdString() + " " + std::to_string(int(answer)));
            const QString damaged = DamagedCopy(large, where);
            const QByteArray before = FileHash(damaged);
            answer_ = answer;
            window_.LoadTree(damaged);
            QCoreApplication::processEvents();
            window_.CloseCurrentTree();
            EXPECT_EQ(FileHash(damaged), before);
        }
    }
}

// Damage that only a later read meets turns the open tree read-only at once; the user is asked when that
// read is done, and what was written before is kept while nothing is written after.
TEST_F(DamagedTreeWindowTest, DamageFoundLaterTurnsTheTreeReadOnlyAndAsks) {
    const QString damaged = DamagedCopy(MakeLargeTree(QStringLiteral("Large")), QStringLiteral("middle"));
    const QByteArray before = FileHash(damaged);
    answer_ = TDamageChoice::ReadOnly;
    ASSERT_TRUE(window_.LoadTree(damaged)) << messages_.texts.join(u'\n').toStdString();
    QCoreApplication::processEvents();
    EXPECT_TRUE(IsTreeReadOnly());
    EXPECT_EQ(asked_.size(), 1);
    EXPECT_TRUE(window_.TreeFrame()->IsReadOnly());
    window_.CloseCurrentTree();
    EXPECT_EQ(FileHash(damaged), before);
}

// "Rescue a copy" writes a new tree beside the damaged one with what can be read, and opens it.
TEST_F(DamagedTreeWindowTest, RescueACopyOpensTheRescuedTree) {
    const QString damaged = DamagedCopy(MakeLargeTree(QStringLiteral("Large")), QStringLiteral("root"));
    const QByteArray before = FileHash(damaged);
    answer_ = TDamageChoice::Rescue;
    ASSERT_TRUE(window_.LoadTree(damaged)) << messages_.texts.join(u'\n').toStdString();
    const QString rescued =
        QFileInfo(damaged).absolutePath() + QStringLiteral("/../damaged (recovered)/damaged (recovered).vrd");
    EXPECT_EQ(CurrentTreePath(), QDir::cleanPath(rescued));
    EXPECT_FALSE(IsTreeReadOnly());
    EXPECT_GE(CountPersons(), 3000);
    ASSERT_FALSE(messages_.texts.isEmpty());
    EXPECT_TRUE(messages_.texts.last().contains(QStringLiteral("Persons: saved 3003")))
        << messages_.texts.last().toStdString();
    EXPECT_EQ(FileHash(damaged), before);
}

// Save As that fails says why and leaves the tree open and usable; Export GEDCOM of a damaged tree writes
// what can be read and says how much that was.
TEST_F(DamagedTreeWindowTest, SaveAsFailingSaysWhyAndExportOfADamagedTreeTellsTheCounts) {
    const QString sound = MakeLargeTree(QStringLiteral("Sound"));
    const QString damaged = DamagedCopy(MakeLargeTree(QStringLiteral("Large")), QStringLiteral("middle"));
    ASSERT_TRUE(window_.LoadTree(sound));
    const QString blocker = test::NewTempDir() + QStringLiteral("/file");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    window_.ChooseSaveFile = [&](const QString&, const QString&) {
        return blocker + QStringLiteral("/copy.vrd");
    };
    messages_.texts.clear();
    EXPECT_FALSE(window_.SaveTreeAs());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].startsWith(QStringLiteral("The copy of the tree could not be written.")));
    EXPECT_TRUE(messages_.texts[0].contains(QStringLiteral("Details:"))) << messages_.texts[0].toStdString();
    EXPECT_EQ(CurrentTreePath(), QFileInfo(sound).absoluteFilePath());
    EXPECT_TRUE(IsTreeOpen());
    EXPECT_FALSE(IsTreeReadOnly());

    answer_ = TDamageChoice::ReadOnly;
    ASSERT_TRUE(window_.LoadTree(damaged));
    QCoreApplication::processEvents();
    const QString gedcom = test::NewTempDir() + QStringLiteral("/out.ged");
    window_.ChooseSaveFile = [&](const QString&, const QString&) {
        return gedcom;
    };
    messages_.texts.clear();
    messages_.SetAnswer(kAnswerGedcom551);
    ASSERT_TRUE(window_.ExportGedcom());
    ASSERT_FALSE(messages_.texts.isEmpty());
    EXPECT_TRUE(messages_.texts.last().contains(QStringLiteral("Persons exported: ")))
        << messages_.texts.last().toStdString();
    QFile ged(gedcom);
    ASSERT_TRUE(ged.open(QIODevice::ReadOnly));
    EXPECT_GT(ged.readAll().count("\r\n0 @"), 2900) << "what could be read was written";
}

// The damage question: its texts in the interface language, the engine's words only under Details,
// "Rescue a copy" first, and Escape answers Cancel.
TEST(DamagedTreeDialog, AsksInTheInterfaceLanguageAndEscapeCancels) {
    test::UseEnglish();
    SetLanguage(QStringLiteral(":/langs/arabic.local"));
    TfrmDamagedTree dialog(QStringLiteral("/home/u/family.vrd"),
                           QStringLiteral("database disk image is malformed"));
    EXPECT_EQ(dialog.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(dialog.RescueButton()->text(), Translate(QStringLiteral("Rescue a copy")));
    EXPECT_NE(dialog.RescueButton()->text(), QStringLiteral("Rescue a copy")) << "translated";
    EXPECT_TRUE(dialog.RescueButton()->isDefault());
    EXPECT_FALSE(dialog.DetailsBox()->isVisibleTo(&dialog));
    dialog.DetailsButton()->click();
    EXPECT_TRUE(dialog.DetailsBox()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.DetailsBox()->toPlainText(), QStringLiteral("database disk image is malformed"));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Choice(), TDamageChoice::Cancel);
    test::UseEnglish();
}

} // namespace
