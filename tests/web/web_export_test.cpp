#include "common/testing.h"
#include "gedcom/gedcom_import.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "web/web_addresses.h"
#include "web/web_export.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace verdan {
namespace {

QByteArray Read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file of a site, by its path in the site.
QMap<QString, QByteArray> SiteFiles(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(QDir(folder).relativeFilePath(file), Read(file));
    }
    return files;
}

// What a reader's browser would find missing: links and sources of the pages, and the pages and branches
// the outline's and the search's data name. Also any address outside the site.
QStringList BrokenLinks(const QString& folder) {
    QStringList broken;
    const QMap<QString, QByteArray> files = SiteFiles(folder);
    static const QRegularExpression link(QStringLiteral(R"re((?:href|src)="([^"]*)")re"));
    static const QRegularExpression row(
        QStringLiteral(R"re(\["([0-9A-F]{32})",("(?:[^"\\]|\\.)*"),(\d+))re"));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString base = QFileInfo(it.key()).path();
        if (it.key().endsWith(u".html")) {
            for (const QRegularExpressionMatch& m : link.globalMatch(QString::fromUtf8(it.value()))) {
                QString target = m.captured(1);
                if (target.contains(u':') || target.startsWith(u"//")) {
                    broken << it.key() + QStringLiteral(" leaves the site: ") + target;
                    continue;
                }
                target = target.section(u'#', 0, 0).section(u'?', 0, 0);
                if (target.isEmpty())
                    continue;
                const QString resolved = QDir::cleanPath(base + u'/' + target);
                if (!files.contains(resolved))
                    broken << it.key() + QStringLiteral(" -> ") + resolved;
            }
        } else if (it.key().startsWith(u"o/")) {
            for (const QRegularExpressionMatch& m : row.globalMatch(QString::fromUtf8(it.value()))) {
                const QByteArray hex = m.captured(1).toLatin1();
                const int flags = m.captured(3).toInt();
                if (!(flags & 8) && !files.contains(QString::fromLatin1(PersonPagePath(hex))))
                    broken << it.key() + QStringLiteral(" names a person without a page: ") + m.captured(1);
                if ((flags & 4) && !files.contains(QString::fromLatin1(BranchScriptPath(hex))))
                    broken << it.key() + QStringLiteral(" names a branch that is missing: ") + m.captured(1);
            }
        }
    }
    return broken;
}

// The sample family of the first run, imported once; each test works on a copy of its own.
class WebExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult result;
        ASSERT_TRUE(ImportGedcomFile(
            test::TestData(QStringLiteral("../../resources/sample/sample-family.ged")), options, result))
            << result.ErrorMessage.toStdString();
        Sample = new QString(result.TreePath);
    }
    static void TearDownTestSuite() {
        delete Sample;
        Sample = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(Sample, nullptr);
        const QString dir = test::NewTempDir();
        Tree = dir + QStringLiteral("/tree.vrd");
        ASSERT_TRUE(QFile::copy(*Sample, Tree));
        QDir(dir).mkdir(QStringLiteral("photos"));
        Site = dir + QStringLiteral("/site");
    }

    void TearDown() override {
        CloseTreeFile();
        LoadLanguage(QStringLiteral(":/langs/english.local"));
    }

    // Changes the tree as a user of the program would have, before it is published.
    void Change(const QString& sql, const QVariantList& values = {}) {
        Tdm db;
        ASSERT_TRUE(db.Open(Tree));
        Query q = db.Prepare(sql);
        for (const QVariant& v : values)
            q.Bind(v);
        ASSERT_TRUE(q.Exec()) << q.Error().toStdString();
    }

    TWebExportSummary Publish(TLivingMode living = TLivingMode::Hide,
                              const QString& language = QStringLiteral("en")) {
        LoadLanguage(QStringLiteral(":/langs/") +
                     (language == u"ar" ? QStringLiteral("arabic.local") : QStringLiteral("english.local")));
        TWebOptions options;
        options.Language = language;
        options.Living = living;
        options.Today = QDate(2025, 6, 15);
        EXPECT_TRUE(OpenTreeFile(Tree, TOpenAccess::ReadOnly));
        TWebExportSummary summary;
        QString error;
        EXPECT_TRUE(ExportWebsite(Site, options, {}, summary, error)) << error.toStdString();
        CloseTreeFile();
        return summary;
    }

    QString PersonId(const QString& where) {
        Tdm db;
        EXPECT_TRUE(db.Open(Tree));
        return db.ScalarText(QStringLiteral("SELECT person_id FROM ftPerson WHERE ") + where +
                             QStringLiteral(" ORDER BY oid LIMIT 1"));
    }

    QString Page(const QString& id) const {
        return Site + u'/' + QString::fromLatin1(PersonPagePath(AddressOfId(id)));
    }

    // Whether any file of the site holds the text.
    bool SiteHolds(const QByteArray& text) const {
        const QMap<QString, QByteArray> files = SiteFiles(Site);
        return std::any_of(files.begin(), files.end(),
                           [&](const QByteArray& bytes) { return bytes.contains(text); });
    }

    static QString* Sample;
    QString Tree, Site;
};

QString* WebExport::Sample = nullptr;

TEST_F(WebExport, EveryLinkOfTheSampleFamilysSiteLeadsToAPageOfTheSiteInBothLanguages) {
    for (const char* language : {"ar", "en"}) {
        QDir(Site).removeRecursively();
        const TWebExportSummary summary = Publish(TLivingMode::Hide, QString::fromLatin1(language));
        EXPECT_GT(summary.Pages, 200);
        EXPECT_EQ(BrokenLinks(Site), QStringList()) << language;
        const QByteArray home = Read(Site + QStringLiteral("/index.html"));
        EXPECT_TRUE(home.contains(QByteArray("lang=\"") + language + '"'));
        EXPECT_TRUE(home.contains(language == QByteArray("ar") ? "dir=\"rtl\"" : "dir=\"ltr\""));
    }
    EXPECT_TRUE(Read(Site + QStringLiteral("/index.html")).contains("sample-family"));
}

TEST_F(WebExport, LivingPersonsAreHiddenByDefaultAndShownAsAsked) {
    // A grandchild of the family born recently, and his grandfather, who died long ago.
    const QString living = PersonId(QStringLiteral("date_of_birth_g > 19800000 AND ifnull(is_dead, 0) = 0 "
                                                   "AND ifnull(date_of_death_g, 0) = 0"));
    ASSERT_FALSE(living.isEmpty());
    Tdm db;
    ASSERT_TRUE(db.Open(Tree));
    const QString name =
        db.ScalarText(QStringLiteral("SELECT person_name FROM ftPerson WHERE person_id = ?"), living);
    const int born =
        int(db.ScalarInt(QStringLiteral("SELECT date_of_birth_g FROM ftPerson WHERE person_id = ?"), living));
    db.Close();
    const QByteArray year = QByteArray::number(born / 10000);

    Publish(TLivingMode::Hide);
    EXPECT_FALSE(QFileInfo::exists(Page(living)));
    EXPECT_FALSE(SiteHolds(PersonPagePath(AddressOfId(living))));

    Publish(TLivingMode::Names);
    const QByteArray namesOnly = Read(Page(living));
    EXPECT_TRUE(namesOnly.contains(name.toUtf8()));
    EXPECT_FALSE(namesOnly.contains("class=\"date\"")) << "no dates";
    EXPECT_EQ(BrokenLinks(Site), QStringList());

    Publish(TLivingMode::Show);
    const QByteArray whole = Read(Page(living));
    EXPECT_TRUE(whole.contains("class=\"date\""));
    EXPECT_TRUE(whole.contains(year));
}

TEST_F(WebExport, APersonDeniedPublishingAppearsNowhereAndHisLivingDescendantsShowOnlyTheirNames) {
    // A man with children and grandchildren, the youngest of them living.
    const QString denied = PersonId(QStringLiteral(
        "gender = 'm' AND person_id IN (SELECT c.father_id FROM ftPerson c JOIN ftPerson g ON g.father_id = "
        "c.person_id WHERE g.date_of_birth_g > 19800000) AND ifnull(is_section, 0) = 0"));
    ASSERT_FALSE(denied.isEmpty());
    Change(QStringLiteral("INSERT INTO ftPersonOption (person_id, deny_publish) VALUES (?, 1)"), {denied});
    Tdm db;
    ASSERT_TRUE(db.Open(Tree));
    const QString grandchild = db.ScalarText(
        QStringLiteral(
            "SELECT g.person_id FROM ftPerson c JOIN ftPerson g ON g.father_id = c.person_id WHERE "
            "c.father_id = ? AND g.date_of_birth_g > 19800000 LIMIT 1"),
        denied);
    const int born = int(
        db.ScalarInt(QStringLiteral("SELECT date_of_birth_g FROM ftPerson WHERE person_id = ?"), grandchild));
    db.Close();

    Publish(TLivingMode::Show);
    EXPECT_FALSE(QFileInfo::exists(Page(denied)));
    EXPECT_FALSE(SiteHolds(AddressOfId(denied))) << "not even in the outline's or the search's data";
    // Living below him: the name, no dates, and no way up to him.
    const QByteArray page = Read(Page(grandchild));
    ASSERT_FALSE(page.isEmpty());
    EXPECT_FALSE(page.contains("class=\"date\""));
    EXPECT_FALSE(page.contains(QByteArray::number(born / 10000)));
    EXPECT_EQ(BrokenLinks(Site), QStringList());
}

TEST_F(WebExport, HiddenNamesNicknamesAndPicturesStayHidden) {
    const QString person = PersonId(QStringLiteral("ifnull(nickname, '') <> '' AND ifnull(is_dead, 0) <> 0"));
    ASSERT_FALSE(person.isEmpty());
    Tdm db;
    ASSERT_TRUE(db.Open(Tree));
    const QString nickname =
        db.ScalarText(QStringLiteral("SELECT nickname FROM ftPerson WHERE person_id = ?"), person);
    db.Close();
    // A picture of him in the tree's photos folder.
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(QFileInfo(Tree).path() + QStringLiteral("/photos/face.png")));
    Change(QStringLiteral("INSERT INTO ftPictures (picture_id, person_id, file_path, pic_default) VALUES "
                          "('{11111111-2222-3333-4444-555555555555}', ?, 'face.png', 1)"),
           {person});

    TWebExportSummary summary = Publish(TLivingMode::Hide);
    EXPECT_EQ(summary.Pictures, 1);
    const QString copy =
        Site + u'/' + QString::fromLatin1(PicturePath("11111111222233334444555555555555", false));
    EXPECT_EQ(QImage(copy).size(), QSize(1024, 768));
    EXPECT_TRUE(Read(Page(person)).contains(PicturePath("11111111222233334444555555555555", true)));
    EXPECT_TRUE(Read(Page(person)).contains(nickname.toUtf8()));

    Change(QStringLiteral("UPDATE ftOption SET hide_nickname = 1"));
    Change(QStringLiteral(
        "INSERT INTO ftOption (hide_nickname) SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM ftOption)"));
    Change(QStringLiteral("INSERT INTO ftPersonOption (person_id, hide_picture) VALUES (?, 1)"), {person});
    summary = Publish(TLivingMode::Hide);
    EXPECT_EQ(summary.Pictures, 0);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_FALSE(Read(Page(person)).contains(nickname.toUtf8()));

    Change(QStringLiteral("UPDATE ftPersonOption SET hide_name = 1 WHERE person_id = ?"), {person});
    Publish(TLivingMode::Show);
    EXPECT_FALSE(QFileInfo::exists(Page(person)));
    EXPECT_EQ(BrokenLinks(Site), QStringList());
}

TEST_F(WebExport, AReExportWritesOnlyThePagesAnEditTouches) {
    EXPECT_GT(Publish().Written, 300);
    const TWebExportSummary same = Publish();
    EXPECT_EQ(same.Written, 0);
    EXPECT_EQ(same.Removed, 0);

    // A renamed man whose children have none: his page, his family's pages, the outline's branches that
    // list him, his family name's page and the search's data change; nothing else.
    const QString person = PersonId(QStringLiteral(
        "gender = 'm' AND ifnull(is_dead, 0) <> 0 AND person_id IN (SELECT father_id FROM ftPerson) AND "
        "person_id "
        "NOT IN (SELECT c.father_id FROM ftPerson c JOIN ftPerson g ON g.father_id = c.person_id)"));
    Change(QStringLiteral("UPDATE ftPerson SET person_name = 'Renamed' WHERE person_id = ?"), {person});
    const TWebExportSummary edited = Publish();
    EXPECT_GT(edited.Written, 1);
    EXPECT_LT(edited.Written, 40);
    EXPECT_TRUE(Read(Page(person)).contains("Renamed"));
}

TEST_F(WebExport, TheStyleSheetNamesNoPhysicalDirection) {
    Publish();
    QString css = QString::fromUtf8(Read(Site + QStringLiteral("/assets/site.css")));
    css.remove(
        QRegularExpression(QStringLiteral(R"(/\*.*?\*/)"), QRegularExpression::DotMatchesEverythingOption));
    EXPECT_FALSE(css.contains(QRegularExpression(QStringLiteral(R"(\b(left|right)\b)"))))
        << "use start and end";
    EXPECT_FALSE(css.contains(QStringLiteral("http"))) << "nothing fetched from elsewhere";
}

TEST_F(WebExport, NamesAreWrittenAsTextEverywhere) {
    const QString person =
        PersonId(QStringLiteral("ifnull(is_dead, 0) <> 0 AND person_id IN (SELECT father_id FROM ftPerson)"));
    Change(QStringLiteral("UPDATE ftPerson SET person_name = ? WHERE person_id = ?"),
           {QStringLiteral("<script>alert(1)</script>\"\u2028"), person});
    Publish();
    EXPECT_FALSE(SiteHolds("<script>alert")) << "neither in pages nor in the data scripts";
    EXPECT_TRUE(Read(Page(person)).contains("&lt;script&gt;"));
    EXPECT_EQ(BrokenLinks(Site), QStringList());
}

TEST(WebAddresses, GuidsKeepTheirDigitsAndFoldersStaySmall) {
    EXPECT_EQ(AddressOfId(QStringLiteral("{29800664-b2d4-4202-9b51-c1e6cffe7a1a}")),
              "29800664B2D442029B51C1E6CFFE7A1A");
    // Any other identifier gets a digest of the same shape, the same every time.
    const QByteArray other = AddressOfId(QStringLiteral("I17"));
    EXPECT_EQ(other.size(), 32);
    EXPECT_EQ(other, AddressOfId(QStringLiteral(" i17 ")));
    EXPECT_NE(other, AddressOfId(QStringLiteral("I18")));
    EXPECT_EQ(PersonPagePath("29800664B2D442029B51C1E6CFFE7A1A"),
              "p/5b/50/29800664B2D442029B51C1E6CFFE7A1A.html");
    EXPECT_EQ(RootPrefix("p/5b/50/X.html"), QByteArray("../").repeated(3));

    // A million persons spread over the folders with none near a thousand entries, even when their
    // identifiers share their first digits.
    QHash<QByteArray, int> perFolder;
    for (int i = 0; i < 1000000; ++i)
        ++perFolder[HashedFolder(QByteArray("00000000000000000000") +
                                 QByteArray::number(i).rightJustified(12, '0'))];
    int largest = 0;
    for (const int n : perFolder)
        largest = std::max(largest, n);
    EXPECT_EQ(perFolder.size(), 65536);
    EXPECT_LT(largest, 100);
}

} // namespace
} // namespace verdan
