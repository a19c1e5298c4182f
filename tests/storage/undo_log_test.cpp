#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "tree_fixture.h"
#include "tree_rows.h"

#include <QRandomGenerator>

namespace verdan::test {

namespace {

class UndoLogTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        ASSERT_TRUE(UndoLogActive());
        // The tree file is thrown away: it need not reach the disk at every step.
        ASSERT_TRUE(Dm().ExecSql("PRAGMA synchronous = OFF"));
        ASSERT_EQ(UndoCount(), 0) << "the first rows of a new tree are no step";
        TextTable table;
        Dm().QueryToTable("SELECT person_id FROM ftPerson WHERE is_section = 0", table);
        ASSERT_GE(table.size(), 2);
        first_ = table[1][0];
    }

    // All persons that are not groups.
    QStringList Persons() {
        QStringList ids;
        Query q = Dm().Prepare("SELECT person_id FROM ftPerson WHERE is_section = 0 ORDER BY oid");
        q.ForEachRow([&](Query& row) { ids << row.Text(0); });
        return ids;
    }

    // One store command chosen at random, as one step (or, now and then, outside any step).
    void RandomCommand(QRandomGenerator& random) {
        const QStringList ids = Persons();
        const auto pick = [&] {
            return ids.isEmpty() ? first_ : ids[random.bounded(int(ids.size()))];
        };
        const int command = int(random.bounded(9));
        const bool named = random.bounded(4) != 0;
        if (named)
            BeginUndoStep(QString::number(command));
        switch (command) {
        case 0:
        case 1: {
            QString id;
            AddPerson(QStringLiteral(u"ولد %1").arg(random.bounded(100)), pick(), "0", id,
                      random.bounded(2) ? "m" : "f");
            break;
        }
        case 2: {
            TPersonNames names;
            ReadPersonNames(pick(), names);
            names.Person_Name = QStringLiteral(u"اسم 'مقتبس' %1").arg(random.bounded(1000));
            names.Nickname = random.bounded(2) ? QString() : QStringLiteral("Nick");
            WritePersonNames(pick(), names);
            break;
        }
        case 3:
            if (ids.size() > 3)
                DeletePerson(pick());
            break;
        case 4:
            AddMarriage(pick(), pick());
            break;
        case 5: {
            TPPicture picture;
            picture.person_id = pick();
            picture.file_path = QStringLiteral("p%1.png").arg(random.bounded(50));
            picture.pic_description = QStringLiteral("x\ny");
            QString id;
            SavePicture(picture, id);
            break;
        }
        case 6:
            SetDead(pick(), random.bounded(2));
            break;
        case 7:
            SetPersonNotes(pick(), random.bounded(2) ? QString() : QString::fromUtf8("a\0b", 3));
            break;
        case 8:
            // Two writes in one step, the second failing part-way: only what was kept is recorded.
            SetOrderByFather(pick(), int(random.bounded(50)));
            Dm().Execute("UPDATE ftPerson SET display_order = display_order + 1 WHERE oid = ?",
                         random.bounded(5));
            break;
        }
        if (named)
            EndUndoStep();
    }

    QString first_;
};

} // namespace

TEST_F(UndoLogTest, UndoingEveryStepGivesTheTreeAsOpenedAndRedoingGivesItBack) {
    for (quint32 seed = 1; seed <= 6; ++seed) {
        ClearUndoLog();
        QRandomGenerator random(seed);
        const TreeRows before = ReadAllRows();
        for (int i = 0; i < 40; ++i)
            RandomCommand(random);
        const TreeRows after = ReadAllRows();
        ASSERT_NE(before, after);
        while (CanUndo())
            ASSERT_TRUE(Undo()) << messages_.join(u'\n').toStdString();
        ASSERT_EQ(ReadAllRows(), before) << "seed " << seed;
        while (CanRedo())
            ASSERT_TRUE(Redo()) << messages_.join(u'\n').toStdString();
        ASSERT_EQ(ReadAllRows(), after) << "seed " << seed;
        // Half way back and forth again: the steps stay in order.
        for (int i = 0; i < UndoCount() / 2; ++i)
            ASSERT_TRUE(Undo());
        while (CanRedo())
            ASSERT_TRUE(Redo());
        ASSERT_EQ(ReadAllRows(), after) << "seed " << seed;
    }
}

TEST_F(UndoLogTest, StepsNestAndTakeTheOutermostNameAndPerson) {
    {
        UndoStep outer("Delete X", first_);
        {
            UndoStep inner("inner");
            SetDead(first_, true);
        }
        SetPersonNotes(first_, "n");
    }
    EXPECT_EQ(UndoCount(), 1);
    EXPECT_EQ(UndoDescription(), "Delete X");
    QString replayed;
    bool undone = false;
    QObject::connect(&TUndoLog::Instance(), &TUndoLog::Replayed, &TUndoLog::Instance(),
                     [&](const QString& id, bool wasUndo) {
                         replayed = id;
                         undone = wasUndo;
                     });
    ASSERT_TRUE(Undo());
    EXPECT_EQ(replayed, first_);
    EXPECT_TRUE(undone);
    EXPECT_EQ(Dm().ScalarInt("SELECT is_dead FROM ftPerson WHERE person_id = ?", first_), 0);
    EXPECT_EQ(RedoDescription(), "Delete X");
    ASSERT_TRUE(Redo());
    EXPECT_FALSE(undone);
    EXPECT_EQ(Dm().ScalarInt("SELECT is_dead FROM ftPerson WHERE person_id = ?", first_), 1);
    QObject::disconnect(&TUndoLog::Instance(), &TUndoLog::Replayed, nullptr, nullptr);
}

TEST_F(UndoLogTest, WritesOutsideAStepAreAStepEachAndANewStepDropsTheRedoSteps) {
    SetDead(first_, true);
    SetPersonNotes(first_, "n");
    EXPECT_EQ(UndoCount(), 2);
    EXPECT_EQ(UndoDescription(), QString());
    ASSERT_TRUE(Undo());
    EXPECT_EQ(RedoCount(), 1);
    SetGender(first_, "f");
    EXPECT_EQ(RedoCount(), 0);
    EXPECT_EQ(UndoCount(), 2);
    // A step whose writes were all rolled back is no step.
    {
        UndoStep step("nothing");
        Transaction transaction;
        SetDead(first_, false);
    }
    EXPECT_EQ(UndoCount(), 2);
    EXPECT_EQ(UndoDescription(), QString());
}

TEST_F(UndoLogTest, AFailingStatementRollsTheWholeStepBack) {
    {
        UndoStep step("two rows");
        SetDead(first_, true);
        SetPersonNotes(first_, "notes");
    }
    const TreeRows before = ReadAllRows();
    // A statement of the step can no longer run: nothing of the step may be applied.
    ASSERT_TRUE(Dm().ExecSql("UPDATE temp.verdan_undo_log SET sql = 'UPDATE nowhere SET x = 1' WHERE seq = "
                             "(SELECT min(seq) FROM temp.verdan_undo_log)"));
    EXPECT_FALSE(Undo());
    EXPECT_FALSE(messages_.isEmpty());
    EXPECT_EQ(ReadAllRows(), before);
    EXPECT_EQ(UndoCount(), 1);
    EXPECT_EQ(RedoCount(), 0);
}

TEST_F(UndoLogTest, TheRecordKeepsTheLastStepsAndNeverEntersTheFile) {
    for (int i = 0; i < kUndoStepLimit + 5; ++i) {
        UndoStep step("order");
        SetOrderByFather(first_, i % 2 ? 7 : 8);
    }
    EXPECT_EQ(UndoCount(), kUndoStepLimit);
    EXPECT_LE(Dm().ScalarInt("SELECT count(*) FROM temp.verdan_undo_log"), kUndoStepLimit);
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM main.sqlite_master WHERE type = 'trigger' OR name LIKE "
                             "'verdan_undo%'"),
              0);
    EXPECT_TRUE(ForeignSchemaObjects(path_).isEmpty());
    // Compaction clears the record; closing forgets it.
    EXPECT_TRUE(MaintainTreeFile());
    EXPECT_EQ(UndoCount(), 0);
    SetDead(first_, true);
    CloseTreeFile();
    EXPECT_FALSE(CanUndo());
    ASSERT_TRUE(OpenTreeFile(path_));
    ASSERT_TRUE(Dm().ExecSql("PRAGMA synchronous = OFF"));
    EXPECT_FALSE(CanUndo());
    SetDead(first_, false);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Dm().ScalarInt("SELECT is_dead FROM ftPerson WHERE person_id = ?", first_), 1);
}

TEST_F(UndoLogTest, UndoIsRefusedInsideAStepOrATransaction) {
    SetDead(first_, true);
    {
        Transaction transaction;
        EXPECT_FALSE(Undo());
    }
    BeginUndoStep("open");
    EXPECT_FALSE(Undo());
    EndUndoStep();
    EXPECT_TRUE(Undo());
}

} // namespace verdan::test
