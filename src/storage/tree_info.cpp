#include "tree_info.h"

#include "database.h"
#include "gender_code.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "tree_file.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace verdan {

namespace {

QString InfoField(const char* column) {
    return Dm().ScalarText(QStringLiteral("SELECT ") + QLatin1String(column) +
                           QStringLiteral(" FROM ftTreeInfo ORDER BY oid LIMIT 1"));
}

int Count(const QString& sql) {
    return int(Dm().ScalarInt(sql));
}

} // namespace

QString GetOwnerId() {
    return InfoField("owner_id");
}

QString GetOwnerName() {
    return InfoField("owner_name");
}

QString GetTreeName() {
    return InfoField("tree_name");
}

QString GetLastId() {
    return InfoField("last_id");
}

bool SetLastId(const QString& id) {
    // Written only when it changes: a tree that was only looked at stays as it was, byte for byte.
    if (Dm().ScalarText(QStringLiteral("SELECT last_id FROM ftTreeInfo WHERE oid = 1")) == id)
        return true;
    return Dm().Execute(QStringLiteral("UPDATE ftTreeInfo SET last_id = ? WHERE oid = 1"), id) == 1;
}

void ReadTreeProperties(TTreeProperty& props) {
    Query q = Dm().Prepare(QStringLiteral("SELECT * FROM ftTreeInfo ORDER BY oid LIMIT 1"));
    if (q.Next()) {
        props.OwnerId = q.Text("owner_id");
        props.GlobalParentId = q.Text("global_parent_id");
        props.OwnerName = q.Text("owner_name");
        props.TreeName = q.Text("tree_name");
        if (q.HasColumn(QStringLiteral("hide_about")))
            props.HideAbout = q.Bool("hide_about");
        if (props.WithDescription)
            props.Description = q.Blob("description");
    }
    const QString path = CurrentTreePath();
    props.FileName = QFileInfo(path).fileName();
    props.BasePath = path;
    props.SizeText = FileSizeText(GetFileSize(path));
    // Every count and time of the persons in one pass: each is a walk over the whole table, which in a tree
    // of a million persons costs a good part of a second, and a tree's properties are read on every open.
    const QString gender = SqlGenderCode(QStringLiteral("gender"));
    Query persons = Dm().Prepare(
        QStringLiteral(
            "SELECT count(*), total(is_section = 0), total(is_section <> 0), total(is_section = 0 AND "
            "(%1 = 'm' OR trim(gender) = '1')), total(%1 = 'f'), max(date_modified), "
            "max(date_created) FROM ftPerson")
            .arg(gender));
    if (persons.Next()) {
        props.PersonCount = int(persons.Int(0));
        props.NonGroupCount = int(persons.Int(1));
        props.GroupCount = int(persons.Int(2));
        props.MaleCount = int(persons.Int(3));
        props.FemaleCount = int(persons.Int(4));
        props.LastModified = ParseStamp(persons.Text(5));
        props.LastCreated = ParseStamp(persons.Text(6));
    }
    props.MarriageCount = CountMarriages();
    props.PictureCount = CountPictures();
}

bool WriteTreeProperties(const TTreeProperty& props) {
    Transaction transaction;
    const bool exists = Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftTreeInfo WHERE oid = 1")) > 0;
    const QString sql =
        exists ? QStringLiteral("UPDATE ftTreeInfo SET owner_id = ?, global_parent_id = ?, owner_name = ?, "
                                "tree_name = ?, hide_about = ? WHERE oid = 1")
               : QStringLiteral("INSERT INTO ftTreeInfo (owner_id, global_parent_id, owner_name, tree_name, "
                                "hide_about, oid) VALUES (?, ?, ?, ?, ?, 1)");
    if (Dm().Execute(sql, props.OwnerId, props.GlobalParentId, props.OwnerName, props.TreeName,
                     props.HideAbout) != 1)
        return false;
    if (props.WithDescription &&
        Dm().Execute(QStringLiteral("UPDATE ftTreeInfo SET description = ? WHERE oid = 1"),
                     props.Description) != 1)
        return false;
    // The names in use change only with the row, so a failed write leaves the old ones everywhere.
    if (!transaction.Commit())
        return false;
    SetCurrentTreeNames(props.TreeName, props.OwnerName);
    return true;
}

int CountPersons() {
    return Count(QStringLiteral("SELECT count(*) FROM ftPerson"));
}

int CountNonGroupPersons() {
    return Count(QStringLiteral("SELECT count(*) FROM ftPerson WHERE is_section = 0"));
}

int CountGroupPersons() {
    return Count(QStringLiteral("SELECT count(*) FROM ftPerson WHERE is_section <> 0"));
}

int CountMarriages() {
    return Count(QStringLiteral("SELECT count(*) FROM ftRelation WHERE relation_type = 0"));
}

int CountMales() {
    // Imported rows may also hold "1" for a man.
    return Count(QStringLiteral("SELECT count(*) FROM ftPerson WHERE is_section = 0 AND (") +
                 SqlGenderCode(QStringLiteral("gender")) + QStringLiteral(" = 'm' OR trim(gender) = '1')"));
}

int CountFemales() {
    return Count(QStringLiteral("SELECT count(*) FROM ftPerson WHERE ") +
                 SqlGenderCode(QStringLiteral("gender")) + QStringLiteral(" = 'f'"));
}

int CountPictures() {
    return Count(QStringLiteral("SELECT count(*) FROM ftPictures"));
}

QDateTime LastModifiedTime() {
    return ParseStamp(Dm().ScalarText(QStringLiteral("SELECT max(date_modified) FROM ftPerson")));
}

QDateTime LastCreatedTime() {
    return ParseStamp(Dm().ScalarText(QStringLiteral("SELECT max(date_created) FROM ftPerson")));
}

QString FileSizeText(qint64 size) {
    const QString context = QStringLiteral("properties");
    double value = double(size);
    QString unit = TranslateContext(QStringLiteral("Byte"), context);
    if (value > 1024) {
        value /= 1024;
        unit = TranslateContext(QStringLiteral("KB"), context);
    }
    if (value > 1024) {
        value /= 1024;
        unit = TranslateContext(QStringLiteral("MB"), context);
    }
    // At most two decimals, and none that are zero.
    const QLocale locale;
    QString number = locale.toString(value, 'f', 2);
    const QString point = locale.decimalPoint();
    if (number.endsWith(point + QStringLiteral("00")))
        number.chop(2 + point.size());
    else if (number.contains(point) && number.endsWith(u'0'))
        number.chop(1);
    return number + u' ' + unit;
}

void MergeSectionTypes(QStringList& list) {
    QStringList merged;
    QFile file(ProgramFolder() + QStringLiteral("user/sectiontype.dat"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        merged = QString::fromUtf8(file.readAll()).split(u'\n');
    for (auto entry = list.crbegin(); entry != list.crend(); ++entry)
        if (!merged.contains(*entry))
            merged.prepend(*entry);
    merged.removeIf([](const QString& entry) { return entry.trimmed().isEmpty(); });
    list = merged;
}

} // namespace verdan
