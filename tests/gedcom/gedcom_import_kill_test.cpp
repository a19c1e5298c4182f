#include "common/testing.h"
#include "gedcom/gedcom_import.h"
#include "storage/database.h"
#include "storage/new_tree_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextStream>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace verdan {
namespace {

constexpr int kPersons = 30000;

// A father line of kPersons men, three sons to each father, with birth dates and places.
QString WriteLargeGedcom() {
    const QString path = test::NewTempDir() + "/large.ged";
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    QTextStream out(&file);
    out << "0 HEAD\n1 CHAR UTF-8\n";
    for (int i = 1; i <= kPersons; ++i) {
        out << "0 @I" << i << "@ INDI\n1 NAME Person" << i << " /Family/\n1 SEX M\n1 BIRT\n2 DATE "
            << 1 + i % 28 << " MAR " << 1200 + i % 700 << "\n2 PLAC Town " << i % 50 << '\n';
        if (i > 1)
            out << "1 FAMC @F" << (i - 2) / 3 + 1 << "@\n";
        if (3 * (i - 1) + 2 <= kPersons)
            out << "1 FAMS @F" << i << "@\n";
    }
    for (int f = 1; 3 * (f - 1) + 2 <= kPersons; ++f) {
        out << "0 @F" << f << "@ FAM\n1 HUSB @I" << f << "@\n";
        for (int c = 3 * (f - 1) + 2; c <= std::min(3 * f + 1, kPersons); ++c)
            out << "1 CHIL @I" << c << "@\n";
    }
    out << "0 TRLR\n";
    return path;
}

const QString& LargeGedcom() {
    static const QString path = WriteLargeGedcom();
    return path;
}

// Where a child import kills itself.
enum class KillPoint { None, Reading, Writing, AllWritten, Imported };

// Runs one import in a child process into base; the child is killed at the point, or by the parent
// after `after` milliseconds when that is not negative. True when the child died by SIGKILL.
bool KilledImport(const QString& base, KillPoint point, int after = -1) {
    const pid_t child = fork();
    if (child == 0) {
        TGedcomImportOptions options;
        options.BaseFolder = base;
        options.Progress = [point](const TGedcomProgress& p) {
            const bool kill =
                (point == KillPoint::Reading && p.PersonsTotal == 0) ||
                (point == KillPoint::Writing && p.PersonsWritten > 0 &&
                 p.PersonsWritten < p.PersonsTotal / 2) ||
                (point == KillPoint::AllWritten && p.PersonsTotal > 0 && p.PersonsWritten == p.PersonsTotal);
            if (kill)
                raise(SIGKILL);
            return true;
        };
        TGedcomImportResult result;
        const bool ok = ImportGedcomFile(LargeGedcom(), options, result);
        if (point == KillPoint::Imported)
            raise(SIGKILL);
        _exit(ok ? 0 : 1);
    }
    if (after >= 0) {
        usleep(useconds_t(after) * 1000);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

struct FolderState {
    int trees = 0;      // complete trees
    int damaged = 0;    // tree files that are not complete
    int unfinished = 0; // temporary files of writers
};

// Every tree file below base must be whole: it passes the engine's check and holds every person.
FolderState Inspect(const QString& base) {
    FolderState state;
    QDirIterator it(base, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (IsTemporaryTreeFile(path)) {
            ++state.unfinished;
            continue;
        }
        if (!path.endsWith(".vrd"))
            continue;
        Tdm dm;
        const bool whole = dm.Open(path) && dm.ScalarText("PRAGMA integrity_check") == "ok" &&
                           dm.ScalarInt("SELECT count(*) FROM ftPerson WHERE is_section = 0") == kPersons &&
                           dm.ScalarInt("SELECT count(*) FROM ftTreeInfo") == 1;
        ++(whole ? state.trees : state.damaged);
    }
    return state;
}

TEST(GedcomImportKilled, AKilledImportLeavesNoTreeOrAWholeOne) {
    ASSERT_FALSE(LargeGedcom().isEmpty());
    const QString base = test::NewTempDir();

    // At fixed moments: while reading, while writing persons, with every person written but the indexes
    // and the commit still to come, and right after the import returned.
    EXPECT_TRUE(KilledImport(base, KillPoint::Reading));
    EXPECT_EQ(Inspect(base).trees, 0);
    EXPECT_TRUE(KilledImport(base, KillPoint::Writing));
    FolderState state = Inspect(base);
    EXPECT_EQ(state.trees + state.damaged, 0) << "no tree file at all";
    EXPECT_EQ(state.unfinished, 1) << "the next import removed what the first left";
    EXPECT_TRUE(KilledImport(base, KillPoint::AllWritten));
    state = Inspect(base);
    EXPECT_EQ(state.trees + state.damaged, 0);
    EXPECT_EQ(state.unfinished, 1);
    EXPECT_TRUE(KilledImport(base, KillPoint::Imported));
    state = Inspect(base);
    EXPECT_EQ(state.trees, 1);
    EXPECT_EQ(state.damaged, 0);
    EXPECT_EQ(state.unfinished, 0);

    // At moments the child does not choose.
    for (int after : {20, 150, 300, 500, 800})
        KilledImport(base, KillPoint::None, after);
    state = Inspect(base);
    EXPECT_EQ(state.damaged, 0);
    EXPECT_LE(state.unfinished, 1);

    // The next import cleans up and never takes a folder that holds a tree.
    const int before = state.trees;
    TGedcomImportOptions options;
    options.BaseFolder = base;
    TGedcomImportResult result;
    ASSERT_TRUE(ImportGedcomFile(LargeGedcom(), options, result)) << result.ErrorMessage.toStdString();
    state = Inspect(base);
    EXPECT_EQ(state.trees, before + 1);
    EXPECT_EQ(state.damaged, 0);
    EXPECT_EQ(state.unfinished, 0);
    for (const QString& folder : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        EXPECT_EQ(QDir(base + u'/' + folder).entryList({"*.vrd"}, QDir::Files).size(), 1)
            << folder.toStdString();
}

} // namespace
} // namespace verdan
