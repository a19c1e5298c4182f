#include "tree_file.h"

#include "database.h"
#include "new_tree_file.h"
#include "schema.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/message_details.h"
#include "text/name_utils.h"
#include "tree_info.h"
#include "tree_probe.h"
#include "undo_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <map>
#include <sqlite3.h>

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

QString DamagedCopyReason() {
    return Translate(
        QStringLiteral("The tree file is damaged, so it cannot be copied as it is. Rescue a Damaged "
                       "Tree in the File menu writes a new tree with everything that can still be "
                       "read."));
}

bool RefuseOpen(const QString& path, const QString& reason) {
    Dm().Close();
    ShowStoreMessage(StoreMessage::Error, Translate(QStringLiteral("The tree file could not be opened.")) +
                                              u'|' + IsolatePath(path) + DetailsLine(WrapLines(reason, 60)));
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

QString QuoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

enum class ForeignKind { Trigger, View, VirtualTable };

struct ForeignObject {
    ForeignKind kind;
    QString name;
};

// What the tree schema never defines: triggers, views and virtual tables (the tables without pages of
// their own). Tables and indexes it does not know are harmless and stay.
QList<ForeignObject> ForeignObjectList(Tdm& dm) {
    QList<ForeignObject> objects;
    Query q =
        dm.Prepare(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN ('trigger', 'view') "
                                  "OR (type = 'table' AND rootpage = 0) ORDER BY type, name"));
    q.ForEachRow([&](Query& row) {
        const QString type = row.Text(0);
        const ForeignKind kind = type == u"trigger" ? ForeignKind::Trigger
                                 : type == u"view"  ? ForeignKind::View
                                                    : ForeignKind::VirtualTable;
        objects.append({kind, row.Text(1)});
    });
    return objects;
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
    ShowStoreMessage(StoreMessage::Error, title + u'|' + IsolatePath(path) + u'\n' + IsolateLtr(reason));
    return false;
}

bool CopyFileContents(const QString& from, const QString& to) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty())
        if (target.write(chunk) != chunk.size())
            return false;
    return source.error() == QFileDevice::NoError && target.flush();
}

// Drops the foreign objects of a copy. A virtual table whose module this program lacks cannot be dropped
// the usual way; its schema entry is removed instead, which the copy's own connection alone may do.
bool DropForeignObjects(Tdm& dm) {
    for (const ForeignObject& object : ForeignObjectList(dm)) {
        const QString name = QuoteName(object.name);
        switch (object.kind) {
        case ForeignKind::Trigger:
            if (!dm.ExecSql(QStringLiteral("DROP TRIGGER ") + name))
                return false;
            break;
        case ForeignKind::View:
            if (!dm.ExecSql(QStringLiteral("DROP VIEW ") + name))
                return false;
            break;
        case ForeignKind::VirtualTable:
            if (dm.ExecSql(QStringLiteral("DROP TABLE ") + name))
                break;
            sqlite3_db_config(dm.Handle(), SQLITE_DBCONFIG_DEFENSIVE, 0, nullptr);
            {
                const qint64 version = dm.ScalarInt(QStringLiteral("PRAGMA schema_version"));
                const bool removed =
                    dm.ExecSql(QStringLiteral("PRAGMA writable_schema = ON")) &&
                    dm.Execute(
                        QStringLiteral("DELETE FROM sqlite_master WHERE type = 'table' AND rootpage = 0 "
                                       "AND name = ?"),
                        object.name) == 1 &&
                    dm.ExecSql(QStringLiteral("PRAGMA schema_version = %1").arg(version + 1));
                dm.ExecSql(QStringLiteral("PRAGMA writable_schema = OFF"));
                sqlite3_db_config(dm.Handle(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
                if (!removed)
                    return false;
            }
            break;
        }
    }
    return true;
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
    // The first rows are the tree as it was made, not a change to undo.
    StartUndoLog(Dm());
    InvalidateStoreCaches();
    return true;
}

// ---------------------------------------------------------------------------------------------------------

bool OpenTreeFile(const QString& path, TOpenAccess access) {
    StoreOperation operation;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Everything about the file is known before the tree open now is closed or anything is written.
    const TTreeProbe probe = ProbeTreeFile(absolute);
    const bool damagedWanted =
        access == TOpenAccess::ReadDamaged && probe.Kind == TFileKind::Tree && probe.Foreign.isEmpty();
    if (!probe.Sound() && !damagedWanted) {
        ShowStoreMessage(StoreMessage::Error, ProbeMessage(probe, absolute));
        return false;
    }
    CloseTreeFile();
    const bool readOnly = access != TOpenAccess::Write || probe.ReadOnlyFile || probe.Damaged;
    // The lock comes before anything is read, so a tree open in another process is refused as a whole.
    const bool opened = readOnly ? Dm().OpenReadOnly(absolute) : Dm().Open(absolute);
    if (!opened || !Dm().HoldExclusive()) {
        if (Dm().Busy()) {
            TTreeProbe busy;
            busy.Kind = TFileKind::Busy;
            Dm().Close();
            ShowStoreMessage(StoreMessage::Error, ProbeMessage(busy, absolute));
            return false;
        }
        return RefuseOpen(absolute, EngineReason(Dm().LastError()));
    }
    if (probe.Damaged) {
        // Already told: the connection only learns it, so it never writes.
        const bool messages = Dm().SetDamageMessages(false);
        Dm().NoteDamage(probe.Reason);
        Dm().SetDamageMessages(messages);
    }
    if (readOnly) {
        ShowAbsentSchemaAsEmpty(Dm());
    } else {
        EnsureDetailsTable();
        UpgradeSchema();
        // Changes are recorded for undo from here on; a tree without the record still opens.
        StartUndoLog(Dm());
    }

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
    StopUndoLog();
    Dm().Close();
    ResetTreeState();
}

bool IsTreeOpen() {
    return !Tree().path.isEmpty() && Dm().IsConnected();
}

bool IsTreeReadOnly() {
    return IsTreeOpen() && Dm().IsReadOnly();
}

bool IsTreeDamaged() {
    return IsTreeOpen() && Dm().Damaged();
}

bool CheckOpenTreeWhole() {
    if (!IsTreeOpen())
        return false;
    Query q = Dm().Prepare(QStringLiteral("PRAGMA quick_check"));
    QString problem;
    if (q.Next() && q.Text(0) != u"ok")
        problem = q.Text(0);
    q = Query();
    if (!problem.isEmpty())
        Dm().NoteDamage(problem);
    return !Dm().Damaged();
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
    if (!IsTreeOpen() || IsTreeReadOnly())
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
    if (!IsTreeOpen() || IsTreeReadOnly())
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
    // Each column on its own; a tree lacking the columns of dated facts would lose qualifiers, marriage
    // dates and events without a word, so the user is told.
    const bool all = UpgradeSchemaOf(Dm());
    const QStringList missing = MissingDatedFactColumns(Dm());
    if (missing.isEmpty())
        return all;
    ShowStoreMessage(
        StoreMessage::Error,
        Translate(QStringLiteral("This tree could not be given the columns that keep date qualifiers, "
                                 "marriage dates and events. It opens, but what they would hold "
                                 "cannot be saved into it.")) +
            u'|' + IsolatePath(Dm().Path()) + u'\n' + missing.join(QStringLiteral(", ")) + u'\n' +
            Dm().LastError());
    return false;
}

// ---------------------------------------------------------------------------------------------------------

bool MaintainTreeFile() {
    if (!IsTreeOpen())
        return false;
    StoreOperation operation;
    if (IsTreeReadOnly()) {
        ShowStoreMessage(StoreMessage::Error,
                         Translate(QStringLiteral("Failed to maintain database.")) + u'|' +
                             Translate(IsTreeDamaged()
                                           ? QStringLiteral("The tree file is damaged: compacting it "
                                                            "could lose more of it.")
                                           : QStringLiteral("The tree is open read-only, so nothing "
                                                            "can be changed in it.")));
        return false;
    }
    if (Dm().Vacuum()) {
        // Compaction may number rows anew, so the recorded changes no longer fit the file.
        ClearUndoLog();
        return true;
    }
    ShowStoreMessage(StoreMessage::ErrorRtl, Translate(QStringLiteral("Failed to maintain database.")));
    return false;
}

bool CompactDatabase(const QString& path) {
    // The engine rewrites the file in place through its journal: the tree is never without a complete copy.
    Tdm dm;
    return dm.Open(path) && dm.HoldExclusive() && dm.TableExists(QStringLiteral("ftTreeInfo")) && dm.Vacuum();
}

QStringList ForeignSchemaObjects(const QString& path) {
    return ProbeTreeFile(path).Foreign;
}

QString WriteCleanedCopy(const QString& path) {
    StoreOperation operation;
    const QFileInfo original(path);
    QString target;
    for (int n = 0; target.isEmpty() || QFileInfo::exists(target); ++n)
        target = original.absolutePath() + u'/' + original.completeBaseName() + QStringLiteral("-cleaned") +
                 (n == 0 ? QString() : u'-' + QString::number(n)) + QStringLiteral(".vrd");
    const QString title = Translate(QStringLiteral("The cleaned copy could not be written."));
    TNewTreeFile file(target);
    if (!file.Begin()) {
        ShowStoreMessage(StoreMessage::Error,
                         title + u'|' + IsolatePath(target) + u'\n' + Isolate(file.Error()));
        return {};
    }
    // A byte copy, with the journal of an interrupted write if there is one, so the copy is what the
    // engine would make of the file while the file itself is never opened for writing.
    bool copied = CopyFileContents(path, file.TemporaryPath());
    if (copied && QFileInfo::exists(path + QStringLiteral("-journal")))
        copied = CopyFileContents(path + QStringLiteral("-journal"),
                                  file.TemporaryPath() + QStringLiteral("-journal"));
    QString reason;
    if (copied) {
        Tdm dm;
        copied = dm.Open(file.TemporaryPath()) && DropForeignObjects(dm) && ForeignObjectList(dm).isEmpty();
        reason = EngineReason(dm.LastError());
    }
    if (!copied || !file.Commit()) {
        ShowStoreMessage(StoreMessage::Error, title + u'|' + IsolatePath(target) + u'\n' +
                                                  Isolate(copied ? file.Error() : reason));
        return {};
    }
    return target;
}

bool SaveTreeCopy(const QString& target, QString* reason) {
    QString why;
    const bool saved = [&] {
        if (!IsTreeOpen())
            return false;
        if (IsTreeDamaged()) {
            why = DamagedCopyReason();
            return false;
        }
        const QFileInfo info(target);
        if (info.absoluteFilePath() == CurrentTreePath())
            return false;
        // The user has agreed to replace a file of that name; it is replaced only by a complete copy.
        TNewTreeFile file(info.absoluteFilePath(), TNewTreeFile::Mode::ReplaceFile);
        if (!file.Begin()) {
            why = file.Error();
            return false;
        }
        if (!Dm().VacuumInto(file.TemporaryPath())) {
            why = Dm().Damaged() ? DamagedCopyReason() : EngineReason(Dm().LastError());
            return false;
        }
        if (!file.Commit()) {
            why = file.Error();
            return false;
        }
        return true;
    }();
    if (reason)
        *reason = why;
    return saved;
}

} // namespace verdan
