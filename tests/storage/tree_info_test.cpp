#include "text/program_folder.h"
#include "tree_fixture.h"

#include <QDir>
#include <QFile>

namespace verdan {
namespace {

using TreeInfo = test::TreeTest;

TEST_F(TreeInfo, EmptyRowReadsEmptyAndWritingInsertsIt) {
    Dm().ExecSql("DELETE FROM ftTreeInfo");
    EXPECT_EQ(GetOwnerId(), "");
    EXPECT_EQ(GetTreeName(), "");
    EXPECT_EQ(GetOwnerName(), "");
    EXPECT_EQ(GetLastId(), "");
    EXPECT_FALSE(SetLastId("{A}"));
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftTreeInfo"), 0);

    TTreeProperty props;
    props.TreeName = "kept";
    ReadTreeProperties(props);
    EXPECT_EQ(props.TreeName, "kept");
    EXPECT_EQ(props.FileName, "family.vrd");
    EXPECT_EQ(props.BasePath, CurrentTreePath());
    EXPECT_FALSE(props.SizeText.isEmpty());
    EXPECT_EQ(props.PersonCount, 3);

    EXPECT_TRUE(WriteTreeProperties(props));
    EXPECT_EQ(Dm().ScalarInt("SELECT oid FROM ftTreeInfo"), 1);
    EXPECT_EQ(GetTreeName(), "kept");
    EXPECT_TRUE(SetLastId("{A}"));
    EXPECT_EQ(GetLastId(), "{A}");
}

TEST_F(TreeInfo, TextsAndDescriptionRoundTrip) {
    TTreeProperty props;
    props.WithDescription = true;
    ReadTreeProperties(props);
    EXPECT_EQ(props.OwnerId, props_.OwnerId);
    EXPECT_EQ(props.GlobalParentId, props_.GlobalParentId);
    EXPECT_TRUE(props.Description.isEmpty());

    props.TreeName = QStringLiteral("x'); DELETE FROM ftPerson;--");
    props.OwnerName = QStringLiteral("آل مـــحمد\u00A0O'Neil\nline");
    props.Description = QByteArrayLiteral("{\\rtf1 \\'e3\\'cd\\'e3\\'cf}\0tail");
    props.HideAbout = true;
    EXPECT_TRUE(WriteTreeProperties(props));
    EXPECT_EQ(CurrentTreeName(), props.TreeName);
    EXPECT_EQ(CurrentOwnerName(), props.OwnerName);

    ASSERT_TRUE(OpenTreeFile(path_));
    TTreeProperty read;
    read.WithDescription = true;
    ReadTreeProperties(read);
    EXPECT_EQ(read.TreeName, props.TreeName);
    EXPECT_EQ(read.OwnerName, props.OwnerName);
    EXPECT_EQ(read.Description, props.Description);
    EXPECT_TRUE(read.HideAbout);
    EXPECT_EQ(read.PersonCount, 3);

    // Without the description flag the stored description is left alone.
    read.WithDescription = false;
    read.Description.clear();
    EXPECT_TRUE(WriteTreeProperties(read));
    EXPECT_EQ(Dm().ScalarText("SELECT length(description) FROM ftTreeInfo"),
              QString::number(props.Description.size()));
}

TEST_F(TreeInfo, AFailedWriteKeepsTheOldNamesAndDescription) {
    TTreeProperty props;
    props.WithDescription = true;
    ReadTreeProperties(props);
    const QString oldName = CurrentTreeName();
    const QByteArray oldDescription = props.Description;
    // The tree's own change record watches every table, so the write is made to fail by a refusal of its
    // own rather than by a changed table.
    ASSERT_TRUE(Dm().ExecSql("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.ftTreeInfo BEGIN "
                             "SELECT RAISE(ABORT, 'refused'); END"));
    props.TreeName = "changed";
    props.Description = "<b>new</b>";
    EXPECT_FALSE(WriteTreeProperties(props));
    EXPECT_EQ(CurrentTreeName(), oldName);
    EXPECT_NE(GetTreeName(), "changed");
    TTreeProperty read;
    read.WithDescription = true;
    ReadTreeProperties(read);
    EXPECT_EQ(read.Description, oldDescription);
}

TEST_F(TreeInfo, Statistics) {
    const QString insert =
        "INSERT INTO ftPerson (person_id, gender, is_section, date_created, date_modified) "
        "VALUES (?, ?, ?, ?, ?)";
    int n = 0;
    const auto add = [&](const QString& gender, bool group, const QString& created,
                         const QVariant& modified) {
        Dm().Execute(insert, QStringLiteral("{P%1}").arg(++n), gender, group, created, modified);
    };
    add("M", false, "2020-01-01 10:00:00", QVariant());
    add("ذكر", false, "2024-02-29 23:59:59", "2024-03-01 08:00:00");
    add("1", false, "2019-12-31 00:00:00", "2023-12-31 23:00:00");
    add("m", true, "2010-05-05 05:05:05", "2025-01-10 09:30:00");
    add("f", false, "2022-01-01 00:00:00", QVariant());
    add("F", false, "2022-01-01 00:00:00", QVariant());
    add("أنثى", false, "2022-01-01 00:00:00", QVariant());
    for (int type : {0, 0, 1, 2})
        Dm().Execute(
            "INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) VALUES ('{P1}', '{P5}', ?)",
            type);
    Dm().Execute("INSERT INTO ftPictures (picture_id, person_id) VALUES ('{X}', '{P1}')");

    TTreeProperty props;
    ReadTreeProperties(props);
    EXPECT_EQ(props.PersonCount, 10);
    EXPECT_EQ(props.GroupCount, 3);
    EXPECT_EQ(props.NonGroupCount, 7);
    EXPECT_EQ(props.MaleCount, 4); // the initial person, "M", "ذكر" and "1"; groups are left out
    EXPECT_EQ(props.FemaleCount, 3);
    EXPECT_EQ(props.MarriageCount, 2);
    EXPECT_EQ(props.PictureCount, 1);
    EXPECT_EQ(props.LastModified, QDateTime(QDate(2025, 1, 10), QTime(9, 30)));
    EXPECT_GE(props.LastCreated, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)));

    // A tree without persons counts nothing and has no times.
    Dm().ExecSql("DELETE FROM ftPerson");
    EXPECT_EQ(CountPersons(), 0);
    EXPECT_EQ(CountMales(), 0);
    EXPECT_FALSE(LastModifiedTime().isValid());
    EXPECT_FALSE(LastCreatedTime().isValid());
    TTreeProperty empty;
    ReadTreeProperties(empty);
    EXPECT_EQ(empty.PersonCount, 0);
    EXPECT_EQ(empty.MaleCount, 0);
    EXPECT_EQ(empty.FemaleCount, 0);
    EXPECT_FALSE(empty.LastModified.isValid());
    EXPECT_FALSE(empty.LastCreated.isValid());
    CloseTreeFile();
    EXPECT_EQ(CountPersons(), 0);
}

TEST(TreeSizeText, UnitsAndThresholds) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FileSizeText(0), "0 Byte");
    EXPECT_EQ(FileSizeText(1024), "1,024 Byte");
    EXPECT_EQ(FileSizeText(1536), "1.5 KB");
    EXPECT_EQ(FileSizeText(1025), "1 KB");
    EXPECT_EQ(FileSizeText(106496), "104 KB");
    EXPECT_EQ(FileSizeText(qint64(5) * 1024 * 1024 * 1024), "5,120 MB");
    QLocale::setDefault(QLocale::system());
}

TEST(SectionTypes, MergeWithTheUsersFile) {
    const QString user = ProgramFolder() + "user";
    QDir().mkpath(user);
    QFile file(user + "/sectiontype.dat");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("عشيرة\r\n\r\nفخذ\r\nBranch\r\n").toUtf8());
    file.close();

    QStringList kinds = {"قبيلة", "فخذ", " ", "بطن"};
    MergeSectionTypes(kinds);
    EXPECT_EQ(kinds, QStringList({"قبيلة", "بطن", "عشيرة", "فخذ", "Branch"}));

    file.remove();
    kinds = {"a", "", "b"};
    MergeSectionTypes(kinds);
    EXPECT_EQ(kinds, QStringList({"a", "b"}));
}

} // namespace
} // namespace verdan
