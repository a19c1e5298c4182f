#include "common/testing.h"
#include "web/site_output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace verdan {
namespace {

QByteArray Read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One export: the files given, in order.
struct Export {
    int written = 0, unchanged = 0, removed = 0;
};

Export Publish(const QString& folder, const QList<std::pair<QByteArray, QByteArray>>& files) {
    TSiteOutput out(folder);
    QString error;
    EXPECT_TRUE(out.Open(error)) << error.toStdString();
    for (const auto& [path, bytes] : files)
        EXPECT_TRUE(out.Write(path, bytes, error)) << error.toStdString();
    EXPECT_TRUE(out.Finish(error)) << error.toStdString();
    return {out.Written(), out.Unchanged(), out.Removed()};
}

TEST(SiteOutput, ASecondExportWritesOnlyWhatChangedAndRemovesWhatIsGone) {
    const QString folder = test::NewTempDir() + QStringLiteral("/site");
    Export first =
        Publish(folder, {{"index.html", "home"}, {"p/aa/bb/A.html", "a"}, {"p/cc/dd/B.html", "b"}});
    EXPECT_EQ(first.written, 3);
    const QDateTime stamp = QFileInfo(folder + QStringLiteral("/p/aa/bb/A.html")).lastModified();

    Export second = Publish(folder, {{"index.html", "home, changed"}, {"p/aa/bb/A.html", "a"}});
    EXPECT_EQ(second.written, 1);
    EXPECT_EQ(second.unchanged, 1);
    EXPECT_EQ(second.removed, 1);
    EXPECT_EQ(Read(folder + QStringLiteral("/index.html")), "home, changed");
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/p/aa/bb/A.html")).lastModified(), stamp);
    // The page that went, and the folders it leaves empty.
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/p/cc/dd/B.html")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/p/cc")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/p/aa/bb")));
}

TEST(SiteOutput, AFileDeletedByHandIsWrittenAgain) {
    const QString folder = test::NewTempDir();
    Publish(folder, {{"index.html", "home"}});
    QFile::remove(folder + QStringLiteral("/index.html"));
    EXPECT_EQ(Publish(folder, {{"index.html", "home"}}).written, 1);
    EXPECT_EQ(Read(folder + QStringLiteral("/index.html")), "home");
}

TEST(SiteOutput, NeverWritesIntoAFolderOfOtherFilesNorRemovesAnythingItDidNotWrite) {
    const QString folder = test::NewTempDir();
    Put(folder + QStringLiteral("/index.html"), "the user's own page");
    TSiteOutput out(folder);
    QString error;
    EXPECT_FALSE(out.Open(error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(folder))) << error.toStdString();
    EXPECT_EQ(Read(folder + QStringLiteral("/index.html")), "the user's own page");

    // In a site's folder, a file put there by hand stays; so does a file the list names outside the folder.
    const QString site = test::NewTempDir();
    Publish(site, {{"index.html", "home"}});
    Put(site + QStringLiteral("/notes.txt"), "mine");
    const QString outside = test::NewTempDir() + QStringLiteral("/precious.txt");
    Put(outside, "keep");
    QFile manifest(site + u'/' + QString::fromLatin1(TSiteOutput::kManifestName));
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write("1 ../" + QFileInfo(outside).dir().dirName().toUtf8() + "/precious.txt\n1 " +
                   QFile::encodeName(outside) + "\n");
    manifest.close();
    Publish(site, {});
    EXPECT_EQ(Read(site + QStringLiteral("/notes.txt")), "mine");
    EXPECT_EQ(Read(outside), "keep");
    EXPECT_FALSE(QFileInfo::exists(site + QStringLiteral("/index.html")));
}

TEST(SiteOutput, AnExportThatStoppedHalfWayCountsNothingAsUnchanged) {
    const QString folder = test::NewTempDir();
    Publish(folder, {{"a.html", "a"}, {"b.html", "b"}});
    {
        // The next export changes a.html, then stops before it finishes (it was cancelled).
        TSiteOutput out(folder);
        QString error;
        ASSERT_TRUE(out.Open(error));
        ASSERT_TRUE(out.Write("a.html", "a, half done", error));
    }
    // Going back to the first bytes must not be taken for "unchanged": the file holds others now.
    const Export again = Publish(folder, {{"a.html", "a"}, {"b.html", "b"}});
    EXPECT_EQ(again.written, 2);
    EXPECT_EQ(Read(folder + QStringLiteral("/a.html")), "a");
}

TEST(SiteOutput, NeverWritesThroughALinkInTheFolder) {
    const QString folder = test::NewTempDir();
    Publish(folder, {{"index.html", "home"}});
    const QString target = test::NewTempDir() + QStringLiteral("/target.txt");
    Put(target, "untouched");
    QFile::remove(folder + QStringLiteral("/index.html"));
    ASSERT_TRUE(QFile::link(target, folder + QStringLiteral("/index.html")));
    TSiteOutput out(folder);
    QString error;
    ASSERT_TRUE(out.Open(error));
    EXPECT_FALSE(out.Write("index.html", "changed", error));
    EXPECT_EQ(Read(target), "untouched");
}

} // namespace
} // namespace verdan
