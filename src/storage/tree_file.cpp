#include "tree_file.h"

#include "database.h"
#include "new_tree_file.h"
#include "schema.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "tree_info.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <map>

namespace verdan {

namespace {

// The name the global group gets when a tree lacks it.
const char16_t kOutsideTreeName[] = u"خارج الشجرة";
constexpr int kGlobalParentOrder = 1000;

struct OpenTree {
    QString path;
    QString photos;
    QString globalParent;
    QString treeName;
    QString ownerName;
    bool hideNickname = false;
    quint64 generation = 0;
    std::map<int, std::function<void()>> caches;
    int nextCache = 0;
};

OpenTree& Tree() {
    static OpenTree tree;
    return tree;
}

void ClearCaches() {
    const auto caches = Tree().caches; // a cache may unregister while the others run
    for (const auto& [key, clear] : caches)
        clear();
}

void ResetTreeState() {
    OpenTree& tree = Tree();
    tree.path.clear();
    tree.photos.clear();
    tree.globalParent.clear();
    tree.hideNickname = false;
    ++tree.generation;
    Dm().SetCurrentTreePath(QString());
    ClearCaches();
}

// The engine's own words for an error; LastError carries the statement after them.
QString EngineReason(const QString& error) {
    return error.section(u'|', 0, 0);
}

QString WrapLines(const QString& text, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += line.isEmpty() ? word : u' ' + word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(u'\n');
}

bool RefuseOpen(const QString& path, const QString& reason) {
    Dm().Close();
    ShowStoreMessage(StoreMessage::Error, Translate(QStringLiteral("Could not recognize the database.")) +
                                              u'\r' + path + u'|' + WrapLines(reason, 60));
    return false;
}

bool InsertGroup(Tdm& dm, const QString& ownerId, const QString& id, const QString& name, int order) {
    return dm.Execute(QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, "
                                     "person_name, gender, is_section, display_order, order_by_father, "
                                     "order_by_mother, date_created, user_created) "
                                     "VALUES (?, ?, '-1', '0', ?, 'm', 1, ?, ?, ?, ?, '')"),
                      ownerId, id, name, order, order, order, NowStamp()) == 1;
}

// The first rows of a new tree: the tree information with new owner and global parent identifiers
// (stored into props), a family group with one person under it and the group of persons outside the
// tree. All or nothing.
bool WriteFirstRows(Tdm& dm, TTreeProperty& props) {
    Transaction transaction(dm);
    props.GlobalParentId = NewGuidText();
    props.OwnerId = NewGuidText();
    if (dm.Execute(QStringLiteral("INSERT INTO ftTreeInfo (oid, owner_id, global_parent_id, owner_name, "
                                  "tree_name, hide_about) VALUES (1, ?, ?, ?, ?, ?)"),
                   props.OwnerId, props.GlobalParentId, props.OwnerName, props.TreeName,
                   props.HideAbout) != 1)
        return false;
    if (props.WithDescription &&
        dm.Execute(QStringLiteral("UPDATE ftTreeInfo SET description = ? WHERE oid = 1"),
                   props.Description) != 1)
        return false;
    const QString group = NewGuidText();
    if (!InsertGroup(dm, props.OwnerId, group, Translate(QStringLiteral("Family Name")), 99))
        return false;
    // The first son is number 1 under his group, so sons added later sort after him.
    if (dm.Execute(
            QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, person_name, "
                           "gender, is_section, order_by_father, date_created, user_created) "
                           "VALUES (?, ?, ?, '0', ?, 'm', 0, 1, ?, '')"),
            props.OwnerId, NewGuidText(), group, CleanName(Translate(QStringLiteral("Person Name"))),
            NowStamp()) != 1)
        return false;
    if (!InsertGroup(dm, props.OwnerId, props.GlobalParentId, Translate(QStringLiteral("Other Ancestries")),
                     kGlobalParentOrder))
        return false;
    return transaction.Commit();
}

// BasePath/FolderName with the folder "photos" in it; the path of the tree file there, empty when the
// folder cannot be made.
QString MakeTreeFolder(const TTreeProperty& props) {
    const QString folder = QDir::cleanPath(props.BasePath + u'/' + props.FolderName);
    if (!QDir().mkpath(folder))
        return QString();
    QDir().mkpath(folder + QStringLiteral("/photos"));
    return folder + u'/' + props.FileName;
}

// Builds a new tree file at path through a temporary file: the schema and, with props, the first rows.
// A failure shows why and leaves nothing at path.
bool BuildTreeFile(const QString& path, TTreeProperty* props) {
    StoreOperation operation;
    const QString title = Translate(QStringLiteral("Could not create the tree file."));
    TNewTreeFile file(path);
    QString reason;
    if (file.Begin()) {
        Tdm dm;
        const bool written =
            dm.Open(file.TemporaryPath()) && CreateSchema(dm) && (!props || WriteFirstRows(dm, *props));
        reason = EngineReason(dm.LastError());
        dm.Close();
        if (written && file.Commit())
            return true;
        if (written)
            reason = file.Error();
    } else {
        reason = file.Error();
    }
    ShowStoreMessage(StoreMessage::Error, title + u'|' + path + u'\n' + reason);
    return false;
}

} // namespace

QString NewGuidText() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

qint64 GetFileSize(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

bool IsLegacyTreeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19);
    return head.size() == 19 && head.mid(4) == QByteArrayLiteral("Standard Jet DB");
}

// ---------------------------------------------------------------------------------------------------------

bool CreateTreeFile(const QString& path) {
    return BuildTreeFile(path, nullptr);
}

QString CreateTreeFolderAndFile(const TTreeProperty& props) {
    const QString file = MakeTreeFolder(props);
    return !file.isEmpty() && CreateTreeFile(file) ? file : QString();
}

QString CreateNewTree(TTreeProperty& props) {
    const QString file = MakeTreeFolder(props);
    return !file.isEmpty() && BuildTreeFile(file, &props) ? file : QString();
}

bool InitialiseNewTree(TTreeProperty& props) {
    if (!IsTreeOpen() || !WriteFirstRows(Dm(), props))
        return false;
    SetCurrentTreeNames(props.TreeName, props.OwnerName);
    Tree().globalParent = props.GlobalParentId;
    InvalidateStoreCaches();
    return true;
}

// ---------------------------------------------------------------------------------------------------------

bool OpenTreeFile(const QString& path) {
    StoreOperation operation;
    CloseTreeFile();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo(absolute).isFile())
        return RefuseOpen(absolute, Translate(QStringLiteral("File not found.")));
    if (IsTemporaryTreeFile(absolute))
        return RefuseOpen(absolute, Translate(QStringLiteral("This is the unfinished copy of a tree that was "
                                                             "being written, not a tree.")));
    if (IsLegacyTreeFile(absolute)) {
        ShowStoreMessage(StoreMessage::ErrorRtl,
                         Translate(QStringLiteral("This tree file has the old file format.")) + u'|' +
                             absolute + u'\n' +
                             Translate(QStringLiteral("Convert it to the current format to open it.")));
        return false;
    }
    // Take the lock before anything is read, so a tree open in another process is refused as a whole.
    if (!Dm().Open(absolute) || !Dm().HoldExclusive())
        return RefuseOpen(absolute, EngineReason(Dm().LastError()));
    if (!Dm().TableExists(QStringLiteral("ftTreeInfo"))) {
        Dm().Close();
        ShowStoreMessage(StoreMessage::ErrorRtl,
                         Translate(QStringLiteral("Could not recognize the database.")) + u'|' + absolute);
        return false;
    }
    EnsureDetailsTable();
    UpgradeSchema();

    OpenTree& tree = Tree();
    tree.path = absolute;
    tree.photos = QFileInfo(absolute).absolutePath() + QStringLiteral("/photos/");
    Dm().SetCurrentTreePath(absolute);
    tree.globalParent.clear();
    GetGlobalParentId();
    tree.hideNickname = GetHideNicknameOption();
    return true;
}

void CloseTreeFile() {
    Dm().Close();
    ResetTreeState();
}

bool IsTreeOpen() {
    return !Tree().path.isEmpty() && Dm().IsConnected();
}

QString CurrentTreePath() {
    return Tree().path;
}

QString PhotosFolder() {
    return Tree().photos;
}

bool HideNicknameOption() {
    return Tree().hideNickname;
}

QString CurrentTreeName() {
    return Tree().treeName;
}

QString CurrentOwnerName() {
    return Tree().ownerName;
}

void SetCurrentTreeNames(const QString& treeName, const QString& ownerName) {
    Tree().treeName = treeName;
    Tree().ownerName = ownerName;
}

quint64 TreeGeneration() {
    return Tree().generation;
}

int RegisterStoreCache(std::function<void()> clear) {
    const int key = ++Tree().nextCache;
    Tree().caches.emplace(key, std::move(clear));
    return key;
}

void UnregisterStoreCache(int key) {
    Tree().caches.erase(key);
}

void InvalidateStoreCaches() {
    ClearCaches();
}

void ReleaseStoreCaches() {
    ClearCaches();
    Tree().globalParent.clear();
}

// ---------------------------------------------------------------------------------------------------------

QString GetGlobalParentId() {
    OpenTree& tree = Tree();
    const QString cached = tree.globalParent.trimmed();
    if (!cached.isEmpty() && cached != u"0")
        return tree.globalParent;
    tree.globalParent =
        Dm().ScalarText(QStringLiteral("SELECT global_parent_id FROM ftTreeInfo ORDER BY oid LIMIT 1"));
    return tree.globalParent;
}

bool EnsureGlobalParent() {
    if (!IsTreeOpen())
        return false;
    Transaction transaction;
    QString id = GetGlobalParentId().trimmed();
    if (id.isEmpty() || id == u"0")
        id = NewGuidText();
    // The tree information row comes first, so the new group can carry the owner identifier.
    const QString infoRow = QStringLiteral("(SELECT min(oid) FROM ftTreeInfo)");
    if (Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftTreeInfo")) == 0) {
        if (Dm().Execute(
                QStringLiteral("INSERT INTO ftTreeInfo (oid, owner_id, global_parent_id) VALUES (1, ?, ?)"),
                NewGuidText(), id) != 1)
            return false;
    } else if (Dm().Execute(QStringLiteral("UPDATE ftTreeInfo SET global_parent_id = ? WHERE oid = ") +
                                infoRow + QStringLiteral(" AND global_parent_id IS NOT ?"),
                            id, id) < 0) {
        return false;
    }
    const bool exists =
        Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE person_id = ?"), id) > 0;
    if (!exists &&
        !InsertGroup(Dm(), GetOwnerId(), id, QString::fromUtf16(kOutsideTreeName), kGlobalParentOrder))
        return false;
    if (!transaction.Commit())
        return false;
    Tree().globalParent = id;
    if (!exists)
        InvalidateStoreCaches();
    return true;
}

bool ResetGlobalParentPlacement() {
    if (!IsTreeOpen())
        return false;
    const QString id = GetGlobalParentId();
    if (id.trimmed().isEmpty())
        return false;
    // Only a placement that differs is written, so the stamp keeps telling when a user last changed the tree.
    const int changed = Dm().Execute(
        QStringLiteral(
            "UPDATE ftPerson SET father_id = '-1', mother_id = '0', order_by_father = ?1, "
            "order_by_mother = ?1, display_order = CASE WHEN ifnull(display_order, 99) = 99 THEN ?1 "
            "ELSE display_order END, date_modified = ?2, user_modified = '' "
            "WHERE person_id = ?3 AND (ifnull(father_id, '') <> '-1' OR ifnull(mother_id, '') <> '0' "
            "OR ifnull(order_by_father, 0) <> ?1 OR ifnull(order_by_mother, 0) <> ?1)"),
        kGlobalParentOrder, NowStamp(), id);
    if (changed > 0)
        InvalidateStoreCaches();
    return changed >= 0;
}

bool GetHideNicknameOption() {
    Query q = Dm().Prepare(QStringLiteral("SELECT hide_nickname FROM ftOption ORDER BY oid LIMIT 1"));
    return q.Next() && q.Bool(0);
}

void EnsureDetailsTable() {
    CreateDetailsTable(Dm());
}

bool UpgradeSchema() {
    return UpgradeSchemaOf(Dm());
}

// ---------------------------------------------------------------------------------------------------------

bool MaintainTreeFile() {
    if (!IsTreeOpen())
        return false;
    StoreOperation operation;
    if (Dm().Vacuum())
        return true;
    ShowStoreMessage(StoreMessage::ErrorRtl, Translate(QStringLiteral("Failed to maintain database.")));
    return false;
}

bool CompactDatabase(const QString& path) {
    // The engine rewrites the file in place through its journal: the tree is never without a complete copy.
    Tdm dm;
    return dm.Open(path) && dm.HoldExclusive() && dm.TableExists(QStringLiteral("ftTreeInfo")) && dm.Vacuum();
}

bool SaveTreeCopy(const QString& target) {
    if (!IsTreeOpen())
        return false;
    const QFileInfo info(target);
    if (info.absoluteFilePath() == CurrentTreePath())
        return false;
    // The user has agreed to replace a file of that name; it is replaced only by a complete copy.
    TNewTreeFile file(info.absoluteFilePath(), TNewTreeFile::Mode::ReplaceFile);
    return file.Begin() && Dm().VacuumInto(file.TemporaryPath()) && file.Commit();
}

} // namespace verdan
