#include "storage/page_file.h"
#include "storage/tree_probe.h"
#include "storage/tree_rescue.h"
#include "text/localisation.h"
#include "tree_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace verdan {
namespace {

using test::NewTempDir;

QByteArray Digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

// A tree of some thousands of persons with every kind of row: fathers and mothers, marriages and
// breastfeeding, notes long enough to need pages of their own, pictures, details, options and bookmarks.
QString MakeRichTree(int persons) {
    TTreeProperty props;
    props.BasePath = NewTempDir();
    props.FolderName = "family";
    props.FileName = "family.vrd";
    props.TreeName = "Family";
    props.OwnerName = "Owner";
    const QString path = CreateNewTree(props);
    EXPECT_FALSE(path.isEmpty());
    Tdm dm;
    EXPECT_TRUE(dm.Open(path));
    Transaction transaction(dm);
    QStringList ids;
    for (int i = 0; i < persons; ++i) {
        const QString id = QStringLiteral("{P%1}").arg(i, 6, 10, QChar(u'0'));
        const QString father = i < 2 ? QStringLiteral("-1") : ids[(i - 2) / 3 * 2];
        const QString mother = i < 2 ? QStringLiteral("0") : ids[(i - 2) / 3 * 2 + 1];
        const QString notes = i % 97 == 0 ? QString(6000, QChar(u'ن')) : QStringLiteral("note %1").arg(i);
        dm.Execute("INSERT INTO ftPerson (person_id, father_id, mother_id, person_name, gender, notes, "
                   "date_of_birth_g) VALUES (?, ?, ?, ?, ?, ?, ?)",
                   id, father, mother, QStringLiteral("محمد %1").arg(i), i % 2 ? "f" : "m", notes,
                   19000101 + i);
        ids << id;
    }
    for (int i = 0; i + 1 < persons; i += 2)
        dm.Execute("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) VALUES (?, ?, 0)",
                   ids[i], ids[i + 1]);
    for (int i = 0; i < persons; i += 10) {
        dm.Execute("INSERT INTO ftPictures (picture_id, person_id, file_path) VALUES (?, ?, ?)",
                   QStringLiteral("{G%1}").arg(i), ids[i], QStringLiteral("p%1.jpg").arg(i));
        dm.Execute("INSERT INTO ftDetails (person_id, email) VALUES (?, ?)", ids[i],
                   QStringLiteral("a%1@b.c").arg(i));
        dm.Execute("INSERT INTO ftBookmark (person_id, b_type, notes) VALUES (?, 1, 'n')", ids[i]);
    }
    EXPECT_TRUE(transaction.Commit());
    QDir().mkpath(QFileInfo(path).absolutePath() + "/photos");
    QFile photo(QFileInfo(path).absolutePath() + "/photos/p0.jpg");
    EXPECT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.write("jpeg");
    return path;
}

struct Page {
    QString name;
    qint64 number = 0;
};

// The pages the damage goes to, as the engine's page statistics name them in the sound tree.
QList<std::pair<QString, qint64>> DamageTargets(const QString& path) {
    Tdm dm;
    EXPECT_TRUE(dm.OpenReadOnly(path));
    const qint64 root = dm.ScalarInt("SELECT rootpage FROM sqlite_master WHERE name = 'ftPerson'");
    QList<qint64> personLeaves, indexLeaves;
    Query q = dm.Prepare("SELECT name, pageno, pagetype FROM dbstat ORDER BY path");
    q.ForEachRow([&](Query& row) {
        if (row.Text(0) == u"ftPerson" && row.Text(2) == u"leaf")
            personLeaves << row.Int(1);
        if (row.Text(0) == u"ftPerson_idx_person_id" && row.Text(2) == u"leaf")
            indexLeaves << row.Int(1);
    });
    EXPECT_GT(personLeaves.size(), 20);
    EXPECT_GT(indexLeaves.size(), 4);
    return {{"root page of ftPerson", root},
            {"middle leaf of an index", indexLeaves[indexLeaves.size() / 2]},
            {"middle leaf of ftPerson", personLeaves[personLeaves.size() / 2]},
            {"last page", dm.ScalarInt("PRAGMA page_count")}};
}

void DamagePage(const QString& path, qint64 page) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((page - 1) * 4096));
    QByteArray garbage(4096, Qt::Uninitialized);
    QRandomGenerator random{quint32(page)};
    for (char& byte : garbage)
        byte = char(random.bounded(256));
    ASSERT_EQ(file.write(garbage), garbage.size());
}

using Rows = QMap<qint64, QVariantList>;

Rows ReadTable(Tdm& dm, const QString& table) {
    Rows rows;
    Query q = dm.Prepare("SELECT rowid, * FROM " + table);
    q.ForEachRow([&](Query& row) {
        QVariantList values;
        for (int c = 1; c < row.ColumnCount(); ++c)
            values << row.Value(c);
        rows.insert(row.Int(0), values);
    });
    return rows;
}

// Whether the engine can still read the row from the damaged file by itself.
bool Readable(Tdm& damaged, const QString& table, qint64 rowid) {
    Query q = damaged.Prepare("SELECT * FROM " + table + " WHERE rowid = ?", rowid);
    if (!q.Next())
        return false;
    for (int c = 0; c < q.ColumnCount(); ++c)
        q.Value(c);
    return !q.Failed();
}

class DamagedTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sound_ = new QString(MakeRichTree(4000)); }
    static void TearDownTestSuite() { delete sound_; }
    void SetUp() override {
        previous_ = SetStoreMessageSink([this](StoreMessage, const QString& text) { messages_ << text; });
    }
    void TearDown() override {
        CloseTreeFile();
        SetStoreMessageSink(previous_);
        LoadLanguage(QStringLiteral(":/langs/english.local"));
    }
    QString DamagedCopy(qint64 page) {
        const QString folder = NewTempDir() + "/family";
        QDir().mkpath(folder + "/photos");
        const QString copy = folder + "/family.vrd";
        EXPECT_TRUE(QFile::copy(*sound_, copy));
        QFile::copy(QFileInfo(*sound_).absolutePath() + "/photos/p0.jpg", folder + "/photos/p0.jpg");
        DamagePage(copy, page);
        return copy;
    }

    static QString* sound_;
    QStringList messages_;
    StoreMessageSink previous_;
};

QString* DamagedTreeTest::sound_ = nullptr;

// For each place the damage can be: opening changes no byte, whatever reads it; the rescue writes a tree
// that passes the engine's check and holds every row that was not on the damaged page, and nothing else.
TEST_F(DamagedTreeTest, OpeningWritesNothingAndTheRescueKeepsEveryReadableRow) {
    Tdm sound;
    ASSERT_TRUE(sound.OpenReadOnly(*sound_));
    const QStringList tables{"ftPerson", "ftRelation", "ftPictures", "ftDetails", "ftBookmark", "ftTreeInfo"};
    for (const auto& [where, page] : DamageTargets(*sound_)) {
        SCOPED_TRACE(where.toStdString());
        const QString copy = DamagedCopy(page);
        const QByteArray before = Digest(copy);

        // Opened to work on, to read, and as far as it can be read: the file stays as it was.
        messages_.clear();
        if (OpenTreeFile(copy)) {
            TTreeProperty props;
            ReadTreeProperties(props);
            CountPersons();
            SetLastId(GetLastId());
            EnsureGlobalParent();
            ResetGlobalParentPlacement();
            CloseTreeFile();
        }
        if (OpenTreeFile(copy, TOpenAccess::ReadDamaged)) {
            EXPECT_TRUE(IsTreeReadOnly());
            TTreeProperty props;
            ReadTreeProperties(props);
            EXPECT_FALSE(SetLastId(NewGuidText()));
            CloseTreeFile();
        }
        EXPECT_EQ(Digest(copy), before) << "opening wrote to the damaged file";

        TRescueReport report;
        QString error;
        const QString target = RescuedTreePath(copy);
        EXPECT_TRUE(target.endsWith("/family (recovered)/family (recovered).vrd")) << target.toStdString();
        ASSERT_TRUE(RescueTree(copy, target, {}, report, error)) << error.toStdString();
        EXPECT_EQ(Digest(copy), before) << "the rescue only reads";
        EXPECT_TRUE(QFileInfo::exists(QFileInfo(target).absolutePath() + "/photos/p0.jpg"));
        Tdm rescued;
        ASSERT_TRUE(rescued.OpenReadOnly(target));
        EXPECT_EQ(rescued.ScalarText("PRAGMA integrity_check"), "ok");
        Tdm damaged;
        damaged.SetDamageMessages(false);
        ASSERT_TRUE(damaged.OpenReadOnly(copy));
        for (const QString& table : tables) {
            SCOPED_TRACE(table.toStdString());
            const Rows expected = ReadTable(sound, table);
            const Rows found = ReadTable(rescued, table);
            const bool wholeTree = table == u"ftPerson" && where.startsWith("root");
            qint64 missing = 0;
            for (auto row = expected.cbegin(); row != expected.cend(); ++row) {
                if (found.contains(row.key())) {
                    EXPECT_EQ(found.value(row.key()), row.value()) << "row " << row.key();
                } else if (wholeTree || Readable(damaged, table, row.key())) {
                    ADD_FAILURE() << "row " << row.key() << " was readable but is missing";
                } else {
                    ++missing;
                }
            }
            // Nothing comes from nowhere; only what the rescue says it made anew is new.
            qint64 made = 0;
            for (auto row = found.cbegin(); row != found.cend(); ++row)
                made += expected.contains(row.key()) ? 0 : 1;
            EXPECT_EQ(made, table == u"ftPerson"     ? int(report.OutsideGroupRebuilt)
                            : table == u"ftTreeInfo" ? int(report.TreeInfoRebuilt)
                                                     : 0);
            for (const TRescueTable& line : report.Tables) {
                if (line.Name == table && line.LossKnown) {
                    EXPECT_EQ(line.Lost, missing);
                }
            }
        }
        EXPECT_FALSE(RescueReportText(report).isEmpty());
        QDir(QFileInfo(target).absolutePath()).removeRecursively();
    }
}

// A rescue never writes over anything: the next one goes to "-1", then "-2".
TEST_F(DamagedTreeTest, RescuedTreesGetFoldersOfTheirOwn) {
    const QString copy = DamagedCopy(DamageTargets(*sound_)[2].second);
    QStringList targets;
    for (int i = 0; i < 3; ++i) {
        TRescueReport report;
        QString error;
        targets << RescuedTreePath(copy);
        ASSERT_TRUE(RescueTree(copy, targets.last(), {}, report, error)) << error.toStdString();
        EXPECT_FALSE(RescueTree(copy, targets.last(), {}, report, error)) << "never over an existing file";
    }
    const QString base = QFileInfo(copy).absoluteDir().absolutePath() + "/../";
    EXPECT_EQ(QDir::cleanPath(targets[1]),
              QDir::cleanPath(base + "family (recovered)-1/family (recovered)-1.vrd"));
    EXPECT_EQ(QDir::cleanPath(targets[2]),
              QDir::cleanPath(base + "family (recovered)-2/family (recovered)-2.vrd"));
}

// The damage is told in the interface language, and only the details hold the engine's words.
TEST_F(DamagedTreeTest, TheMessagesAreTranslated) {
    const QString copy = DamagedCopy(DamageTargets(*sound_)[0].second);
    ASSERT_TRUE(LoadLanguage(QStringLiteral(":/langs/arabic.local")));
    EXPECT_FALSE(OpenTreeFile(copy));
    ASSERT_EQ(messages_.size(), 1);
    const QString headline = messages_[0].section(u'|', 0, 0);
    EXPECT_TRUE(headline.startsWith(QStringLiteral("ملف الشجرة تالف."))) << headline.toStdString();
    EXPECT_TRUE(messages_[0].contains(QStringLiteral("التفاصيل:")));
    EXPECT_EQ(ProbeMessage(ProbeTreeFile(copy), copy), messages_[0]);
    TRescueReport report;
    QString error;
    ASSERT_TRUE(RescueTree(copy, RescuedTreePath(copy), {}, report, error));
    EXPECT_TRUE(RescueReportText(report).startsWith(QStringLiteral("الأشخاص: حُفظ 4003")))
        << RescueReportText(report).toStdString();
}

} // namespace
} // namespace verdan
