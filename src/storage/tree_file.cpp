#include "tree_file.h"

#include "database.h"
#include "schema.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "tree_info.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cstdio>
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

bool InsertGroup(const QString& ownerId, const QString& id, const QString& name, int order) {
    return Dm().Execute(QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, "
                                       "person_name, gender, is_section, display_order, order_by_father, "
                                       "order_by_mother, date_created, user_created) "
                                       "VALUES (?, ?, '-1', '0', ?, 'm', 1, ?, ?, ?, ?, '')"),
                        ownerId, id, name, order, order, order, NowStamp()) == 1;
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
    StoreOperation operation;
    const QString title = Translate(QStringLiteral("Could not create the tree file."));
    // Reserving the name first makes creation fail rather than reuse a file that appeared meanwhile.
    QFile reserved(path);
    if (QFileInfo::exists(path)) {
        ShowStoreMessage(StoreMessage::ErrorRtl,
                         title + u'|' + path + u'\n' + Translate(QStringLiteral("The file already exists.")));
        return false;
    }
    if (!reserved.open(QIODevice::NewOnly)) {
        ShowStoreMessage(StoreMessage::Error, title + u'|' + path + u'\n' + reserved.errorString());
        return false;
    }
    reserved.close();
    Tdm dm;
    if (!dm.Open(path) || !CreateSchema(dm)) {
        const QString reason = EngineReason(dm.LastError());
        dm.Close();
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        ShowStoreMessage(StoreMessage::Error, title + u'|' + path + u'\n' + reason);
        return false;
    }
    dm.Close();
    return true;
}

QString CreateTreeFolderAndFile(const TTreeProperty& props) {
    const QString folder = QDir::cleanPath(props.BasePath + u'/' + props.FolderName);
    const QString file = folder + u'/' + props.FileName;
    if (!QDir().mkpath(folder))
        return QString();
    QDir().mkpath(folder + QStringLiteral("/photos"));
    return CreateTreeFile(file) ? file : QString();
}

bool InitialiseNewTree(TTreeProperty& props) {
    if (!IsTreeOpen())
        return false;
    Transaction transaction;
    props.GlobalParentId = NewGuidText();
    props.OwnerId = NewGuidText();
    if (!WriteTreeProperties(props))
        return false;
    const QString group = NewGuidText();
    if (!InsertGroup(props.OwnerId, group, Translate(QStringLiteral("Family Name")), 99))
        return false;
    // The first son is number 1 under his group, so sons added later sort after him.
    if (Dm().Execute(
            QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, person_name, "
                           "gender, is_section, order_by_father, date_created, user_created) "
                           "VALUES (?, ?, ?, '0', ?, 'm', 0, 1, ?, '')"),
            props.OwnerId, NewGuidText(), group, CleanName(Translate(QStringLiteral("Person Name"))),
            NowStamp()) != 1)
        return false;
    if (!InsertGroup(props.OwnerId, props.GlobalParentId, Translate(QStringLiteral("Other Ancestries")),
                     kGlobalParentOrder))
        return false;
    if (!transaction.Commit())
        return false;
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
    if (!exists && !InsertGroup(GetOwnerId(), id, QString::fromUtf16(kOutsideTreeName), kGlobalParentOrder))
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
    // The copy is made beside the target and renamed over it only once complete.
    const QString temporary = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' +
                              NewGuidText().mid(1, 8) + QStringLiteral(".tmp");
    if (!Dm().VacuumInto(temporary)) {
        QFile::remove(temporary);
        return false;
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace verdan
