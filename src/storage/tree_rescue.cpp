#include "tree_rescue.h"

#include "database.h"
#include "new_tree_file.h"
#include "page_file.h"
#include "photos_copy.h"
#include "schema.h"
#include "sql_literals.h"
#include "text/localisation.h"
#include "text/message_details.h"
#include "tree_file.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <sqlite3.h>
#include <unordered_set>

namespace verdan {

namespace {

constexpr int kMissingPersonsListed = 20;
constexpr int kGlobalParentOrder = 1000;
const char16_t kOutsideTreeName[] = u"خارج الشجرة";

QString QuoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

enum class Affinity { Integer, Text, Any };

// A table as the damaged file defines it, and where its rows go in the new tree.
struct SourceTable {
    QString name;
    quint32 root = 0; // 0: the schema that names it was lost
    QStringList columns;
    std::vector<Affinity> affinity;
    int keyColumn = -1; // the column that is the rowid, -1 when none is
    bool known = false; // a table of the tree (else copied as the file defined it)
    QString sql;
    int damagedPages = 0;
    std::vector<qint64> rowids;              // rows written
    std::vector<qint64> indexed;             // rows its indexes name
    bool soundIndex = false;                 // one of its indexes was read whole
    QHash<int, sqlite3_stmt*> inserts;       // by the number of values a row has
    QHash<QString, QString> targetColumns;   // lower-case name → the new tree's name
    QHash<QString, QString> notNullDefaults; // lower-case name → default of a column that takes no null
};

struct SourceIndex {
    QString table;
    quint32 root = 0;
};

QList<std::pair<QString, QString>> ColumnsOf(Tdm& dm, const QString& table, std::vector<Affinity>& affinity,
                                             int& keyColumn, QHash<QString, QString>* notNullDefaults) {
    QList<std::pair<QString, QString>> columns;
    affinity.clear();
    keyColumn = -1;
    Query q = dm.Prepare(
        QStringLiteral("SELECT name, type, pk, \"notnull\", dflt_value FROM pragma_table_info(?)"), table);
    q.ForEachRow([&](Query& row) {
        const QString type = row.Text(1).toUpper();
        affinity.push_back(type.contains(u"INT")                              ? Affinity::Integer
                           : type.contains(u"TEXT") || type.contains(u"CHAR") ? Affinity::Text
                                                                              : Affinity::Any);
        if (row.Int(2) == 1 && type == u"INTEGER")
            keyColumn = int(columns.size());
        if (notNullDefaults && row.Int(3) != 0 && !row.IsNull(4))
            notNullDefaults->insert(row.Text(0).toLower(), row.Text(4));
        columns.append({row.Text(0), type});
    });
    return columns;
}

// How well a row found outside every tree fits a table: -1 when it cannot belong to it.
int Fit(const SourceTable& table, const TPageRow& values) {
    if (values.empty() || values.size() > size_t(table.columns.size()))
        return -1;
    int score = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const TPageValue::Kind kind = values[i].Type;
        if (int(i) == table.keyColumn) {
            score += kind == TPageValue::Kind::Null ? 2 : -2;
            continue;
        }
        switch (table.affinity[i]) {
        case Affinity::Integer:
            score += kind == TPageValue::Kind::Integer || kind == TPageValue::Kind::Null ? 1 : -1;
            break;
        case Affinity::Text:
            score += kind == TPageValue::Kind::Text || kind == TPageValue::Kind::Null ? 1 : -1;
            break;
        case Affinity::Any:
            break;
        }
    }
    return score;
}

class Writer {
public:
    Writer(Tdm& dm, int encoding) : dm_(dm), encoding_(encoding) {}
    // Lets go of the statements, so the file can be closed.
    static void Finish(QList<SourceTable>& tables) {
        for (SourceTable& table : tables) {
            for (sqlite3_stmt* stmt : std::as_const(table.inserts))
                sqlite3_finalize(stmt);
            table.inserts.clear();
        }
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool Prepare(SourceTable& table) {
        std::vector<Affinity> affinity;
        int key = -1;
        for (const auto& [name, type] : ColumnsOf(dm_, table.name, affinity, key, &table.notNullDefaults))
            table.targetColumns.insert(name.toLower(), name);
        return !table.targetColumns.isEmpty();
    }

    // Writes one row; false when the new tree refused it (a row already there, or one that breaks a rule
    // of the tree such as a second person of one identifier).
    bool Write(SourceTable& table, qint64 rowid, const TPageRow& values) {
        sqlite3_stmt* stmt = Statement(table, int(values.size()));
        if (!stmt)
            return false;
        int bind = 1;
        sqlite3_bind_int64(stmt, bind++, rowid);
        for (size_t i = 0; i < values.size() && i < size_t(table.columns.size()); ++i) {
            if (int(i) == table.keyColumn || !table.targetColumns.contains(table.columns[i].toLower()))
                continue;
            Bind(stmt, bind++, values[i]);
        }
        const bool written = sqlite3_step(stmt) == SQLITE_DONE && sqlite3_changes(dm_.Handle()) == 1;
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        return written;
    }

private:
    sqlite3_stmt* Statement(SourceTable& table, int count) {
        if (sqlite3_stmt* stmt = table.inserts.value(count))
            return stmt;
        QStringList names{QStringLiteral("rowid")};
        QStringList marks{QStringLiteral("?")};
        for (int i = 0; i < count && i < table.columns.size(); ++i) {
            const QString column = table.columns[i].toLower();
            if (i == table.keyColumn || !table.targetColumns.contains(column))
                continue;
            names << QuoteName(table.targetColumns.value(column));
            // A column that takes no null gets its default where the damaged file held none.
            const QString fallback = table.notNullDefaults.value(column);
            marks << (fallback.isEmpty() ? QStringLiteral("?")
                                         : QStringLiteral("ifnull(?, %1)").arg(fallback));
        }
        const QString sql = QStringLiteral("INSERT OR IGNORE INTO ") + QuoteName(table.name) +
                            QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
                            QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + u')';
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare16_v2(dm_.Handle(), sql.utf16(), -1, &stmt, nullptr) != SQLITE_OK)
            return nullptr;
        table.inserts.insert(count, stmt);
        return stmt;
    }

    void Bind(sqlite3_stmt* stmt, int index, const TPageValue& value) {
        switch (value.Type) {
        case TPageValue::Kind::Null:
            sqlite3_bind_null(stmt, index);
            break;
        case TPageValue::Kind::Integer:
            sqlite3_bind_int64(stmt, index, value.Integer);
            break;
        case TPageValue::Kind::Real:
            sqlite3_bind_double(stmt, index, value.Real);
            break;
        case TPageValue::Kind::Blob:
            sqlite3_bind_blob(stmt, index, value.Bytes.constData(), int(value.Bytes.size()),
                              SQLITE_TRANSIENT);
            break;
        case TPageValue::Kind::Text:
            if (encoding_ == 1) {
                sqlite3_bind_text(stmt, index, value.Bytes.constData(), int(value.Bytes.size()),
                                  SQLITE_TRANSIENT);
            } else {
                QByteArray text = value.Bytes;
                if ((encoding_ == 3) == (QSysInfo::ByteOrder == QSysInfo::LittleEndian))
                    for (qsizetype i = 0; i + 1 < text.size(); i += 2)
                        std::swap(text[i], text[i + 1]);
                sqlite3_bind_text16(stmt, index, text.constData(), int(text.size() & ~1), SQLITE_TRANSIENT);
            }
            break;
        }
    }

    Tdm& dm_;
    int encoding_;
};

// The schema of the damaged file as its first page tree still tells it.
void ReadSchema(const TPageFile& pages, std::vector<bool>& seen, int& damaged, QList<SourceTable>& tables,
                QList<SourceIndex>& indexes) {
    pages.WalkTable(1, seen, damaged, [&](qint64, TPageRow& row) {
        if (row.size() < 5 || row[0].Type != TPageValue::Kind::Text ||
            row[3].Type != TPageValue::Kind::Integer)
            return;
        const QString type = QString::fromUtf8(row[0].Bytes);
        const QString name = QString::fromUtf8(row[1].Bytes);
        const qint64 root = row[3].Integer;
        if (root < 1 || root > qint64(pages.PageCount()))
            return;
        const QString sql = QString::fromUtf8(row[4].Bytes);
        // A table without rowids is an index in its pages: no tree makes one, and it is left out.
        if (type == u"table" && !sql.contains(QLatin1String("WITHOUT ROWID"), Qt::CaseInsensitive)) {
            SourceTable table;
            table.name = name;
            table.root = quint32(root);
            table.sql = sql;
            tables << table;
        } else if (type == u"index") {
            indexes << SourceIndex{QString::fromUtf8(row[2].Bytes), quint32(root)};
        }
    });
}

SourceTable* Find(QList<SourceTable>& tables, const QString& name) {
    for (SourceTable& table : tables)
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

// The columns of every table: as the damaged file's own statement defines them, else (its schema lost) as
// the tree defines them. Tables of the tree the file no longer names are added without a root, so rows
// found outside every tree can still go to them.
void ShapeTables(QList<SourceTable>& tables, Tdm& full) {
    Tdm shape;
    shape.Open(QStringLiteral(":memory:"), true);
    QStringList treeTables;
    Query q = full.Prepare(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    q.ForEachRow([&](Query& row) { treeTables << row.Text(0); });
    for (const QString& name : std::as_const(treeTables))
        if (!Find(tables, name)) {
            SourceTable table;
            table.name = name;
            tables << table;
        }
    for (SourceTable& table : tables) {
        table.known = treeTables.contains(table.name, Qt::CaseInsensitive);
        Tdm* from = &full;
        if (!table.known || table.root != 0) {
            if (table.sql.startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive) &&
                shape.ExecSql(table.sql))
                from = &shape;
            else if (!table.known)
                continue;
        }
        for (const auto& [name, type] :
             ColumnsOf(*from, table.name, table.affinity, table.keyColumn, nullptr))
            table.columns << name;
    }
    tables.removeIf([](const SourceTable& table) {
        return table.columns.isEmpty() ||
               table.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
    });
}

QString Scalar(Tdm& dm, const QString& sql) {
    return dm.ScalarText(sql);
}

// The tree information row and the group outside the tree, made anew when the damage took them.
bool RebuildTreeRows(Tdm& dm, const QString& treeName, TRescueReport& report) {
    QString globalParent;
    if (dm.ScalarInt(QStringLiteral("SELECT count(*) FROM ftTreeInfo")) == 0) {
        QString owner =
            Scalar(dm, QStringLiteral("SELECT owner_id FROM ftPerson WHERE ifnull(owner_id, '') <> '' "
                                      "GROUP BY owner_id ORDER BY count(*) DESC LIMIT 1"));
        if (owner.isEmpty())
            owner = NewGuidText();
        // The group outside the tree is the top-level group the tree orders last.
        globalParent =
            Scalar(dm, QStringLiteral("SELECT person_id FROM ftPerson WHERE is_section <> 0 AND "
                                      "father_id = '-1' AND order_by_father = 1000 ORDER BY oid LIMIT 1"));
        if (dm.Execute(QStringLiteral("INSERT INTO ftTreeInfo (oid, owner_id, owner_name, tree_name, "
                                      "global_parent_id) VALUES (1, ?, '', ?, ?)"),
                       owner, treeName, globalParent) != 1)
            return false;
        report.TreeInfoRebuilt = true;
    }
    globalParent =
        Scalar(dm, QStringLiteral("SELECT global_parent_id FROM ftTreeInfo ORDER BY oid LIMIT 1")).trimmed();
    if (!globalParent.isEmpty() && globalParent != u"0" &&
        dm.ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE person_id = ?"), globalParent) > 0)
        return true;
    if (globalParent.isEmpty() || globalParent == u"0")
        globalParent = NewGuidText();
    const QString owner = Scalar(dm, QStringLiteral("SELECT owner_id FROM ftTreeInfo ORDER BY oid LIMIT 1"));
    if (dm.Execute(
            QStringLiteral("INSERT INTO ftPerson (owner_id, person_id, father_id, mother_id, person_name, "
                           "gender, is_section, display_order, order_by_father, order_by_mother, "
                           "date_created, user_created) VALUES (?, ?, '-1', '0', ?, 'm', 1, ?, ?, ?, ?, '')"),
            owner, globalParent, QString::fromUtf16(kOutsideTreeName), kGlobalParentOrder, kGlobalParentOrder,
            kGlobalParentOrder, NowStamp()) != 1 ||
        dm.Execute(
            QStringLiteral("UPDATE ftTreeInfo SET global_parent_id = ? WHERE oid = (SELECT min(oid) FROM "
                           "ftTreeInfo)"),
            globalParent) != 1)
        return false;
    report.OutsideGroupRebuilt = true;
    return true;
}

// Persons whose parents' or mates' rows the rescue could not bring back.
void FindMissingPersons(Tdm& dm, TRescueReport& report) {
    const QString missing =
        QStringLiteral("%1 NOT IN ('', '0', '-1') AND NOT EXISTS (SELECT 1 FROM ftPerson o "
                       "WHERE o.person_id = %1)");
    Query parents =
        dm.Prepare(QStringLiteral("SELECT person_name, person_id FROM ftPerson p WHERE ") +
                   missing.arg(QStringLiteral("ifnull(p.father_id, '')")) + QStringLiteral(" OR ") +
                   missing.arg(QStringLiteral("ifnull(p.mother_id, '')")) + QStringLiteral(" ORDER BY oid"));
    parents.ForEachRow([&](Query& row) {
        if (++report.MissingParentCount <= kMissingPersonsListed)
            report.MissingPersons << row.Text(0) + QStringLiteral(" ") + row.Text(1);
    });
    Query mates = dm.Prepare(QStringLiteral(
        "SELECT p.person_name, p.person_id FROM ftRelation r JOIN ftPerson p ON p.person_id IN "
        "(r.person_id_1, r.person_id_2) WHERE NOT EXISTS (SELECT 1 FROM ftPerson o WHERE o.person_id "
        "= (CASE WHEN p.person_id = r.person_id_1 THEN r.person_id_2 ELSE r.person_id_1 END)) "
        "GROUP BY p.person_id ORDER BY p.oid"));
    mates.ForEachRow([&](Query& row) {
        if (++report.MissingMateCount + report.MissingParentCount <= kMissingPersonsListed)
            report.MissingPersons << row.Text(0) + QStringLiteral(" ") + row.Text(1);
    });
}

qint64 CountMissing(std::vector<qint64>& expected, std::vector<qint64>& found) {
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    std::sort(found.begin(), found.end());
    qint64 lost = 0;
    for (const qint64 rowid : expected)
        if (!std::binary_search(found.begin(), found.end(), rowid))
            ++lost;
    return lost;
}

// What the tables hold, as a user knows it, in the order the report names them.
const std::pair<const char*, const char*> kTableCaptions[] = {
    {"ftPerson", "Persons"},
    {"ftRelation", "Marriages and breastfeeding"},
    {"ftPictures", "Pictures"},
    {"ftBookmark", "Bookmarks and favourites"},
    {"ftDetails", "Contact details"},
    {"ftPersonOption", "Display options of persons"},
    {"ftTreeInfo", "Tree information"},
    {"ftOption", "Options of the tree"},
    {"ftEvents", "Events"},
    {"ftEvents_persn", "Persons of events"},
};

// A table the tree does not know goes by its own name, after the others.
QString TableCaption(const QString& table) {
    for (const auto& [name, caption] : kTableCaptions)
        if (table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return Translate(QString::fromLatin1(caption));
    return table;
}

int TableRank(const QString& table) {
    int rank = 0;
    for (const auto& [name, caption] : kTableCaptions) {
        if (table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return rank;
        ++rank;
    }
    return rank;
}

QString EngineError(const QString& error) {
    return error.section(u'|', 0, 0);
}

QString RescueError(const QString& headline, const QString& reason) {
    return Translate(headline) + DetailsLine(reason);
}

} // namespace

QString RescuedTreePath(const QString& damaged) {
    const QFileInfo file(damaged);
    const QString name = file.completeBaseName();
    QDir base = file.absoluteDir();
    // A tree lives in a folder of its own, named as the tree: the rescued one goes beside that folder.
    if (base.dirName() == name)
        base.cdUp();
    const QString stem = name + QStringLiteral(" (recovered)");
    for (int n = 0;; ++n) {
        const QString folder = stem + (n == 0 ? QString() : u'-' + QString::number(n));
        if (!base.exists(folder))
            return base.filePath(folder + u'/' + folder + QStringLiteral(".vrd"));
    }
}

bool RescueTree(const QString& damaged, const QString& target, const TRescueProgress& progress,
                TRescueReport& report, QString& error) {
    report = TRescueReport();
    const QFileInfo targetInfo(target);
    report.Target = targetInfo.absoluteFilePath();
    TPageFile pages;
    if (!pages.Open(damaged)) {
        error = RescueError(QStringLiteral("The damaged tree file could not be read."), pages.Error());
        return false;
    }
    if (targetInfo.exists()) {
        error = FillPattern(Translate(QStringLiteral("The file %* exists already.")), {target});
        return false;
    }
    if (!QDir().mkpath(targetInfo.absolutePath())) {
        error = Translate(QStringLiteral("Could not create the tree file."));
        return false;
    }
    QDir(targetInfo.absolutePath()).mkdir(QStringLiteral("photos"));
    TNewTreeFile file(report.Target);
    if (!file.Begin()) {
        error = RescueError(QStringLiteral("Could not create the tree file."), file.Error());
        return false;
    }
    Tdm full;
    full.Open(QStringLiteral(":memory:"), true);
    CreateSchema(full);
    UpgradeSchemaOf(full);

    std::vector<bool> seen(size_t(pages.PageCount()) + 1);
    int schemaDamage = 0;
    QList<SourceTable> tables;
    QList<SourceIndex> indexes;
    ReadSchema(pages, seen, schemaDamage, tables, indexes);
    report.DamagedPages += schemaDamage;
    QHash<QString, qint64> sequences;
    for (const SourceTable& table : std::as_const(tables))
        if (table.name.compare(QLatin1String("sqlite_sequence"), Qt::CaseInsensitive) == 0) {
            int damage = 0;
            pages.WalkTable(table.root, seen, damage, [&](qint64, TPageRow& row) {
                if (row.size() >= 2 && row[0].Type == TPageValue::Kind::Text &&
                    row[1].Type == TPageValue::Kind::Integer)
                    sequences.insert(QString::fromUtf8(row[0].Bytes).toLower(), row[1].Integer);
            });
            report.DamagedPages += damage;
        }
    ShapeTables(tables, full);

    Tdm out;
    if (!out.Open(file.TemporaryPath()) || !CreateSchema(out)) {
        error = RescueError(QStringLiteral("Could not create the tree file."), out.LastError());
        return false;
    }
    // The file is synced and renamed into place only once complete: nothing to journal meanwhile.
    out.ExecSql(QStringLiteral("PRAGMA journal_mode=OFF"));
    out.ExecSql(QStringLiteral("PRAGMA synchronous=OFF"));
    out.ExecSql(QStringLiteral("PRAGMA cache_size=-262144"));
    // Indexes that may hold a key twice are built once the rows are in, which sorts instead of searching
    // for every row; those that keep a key unique stay, and a second row of one key is refused.
    QStringList deferred;
    {
        Query q =
            out.Prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND sql NOT LIKE "
                                       "'CREATE UNIQUE%'"));
        q.ForEachRow([&](Query& row) { deferred << row.Text(0); });
    }
    for (const QString& index : std::as_const(deferred))
        out.ExecSql(QStringLiteral("DROP INDEX ") + QuoteName(index));
    Writer writer(out, pages.TextEncoding());
    for (SourceTable& table : tables)
        if (!table.known)
            out.ExecSql(table.sql);
    for (qsizetype i = tables.size() - 1; i >= 0; --i)
        if (!writer.Prepare(tables[i]))
            tables.removeAt(i);
    // Statements are finalized whichever way this ends, before the file is closed.
    const auto finish = qScopeGuard([&] { Writer::Finish(tables); });
    if (!out.ExecSql(QStringLiteral("BEGIN"))) {
        error = RescueError(QStringLiteral("Could not create the tree file."), out.LastError());
        return false;
    }
    const double total = std::max<double>(1.0, pages.PageCount());
    qint64 steps = 0;
    bool stopped = false;
    const auto step = [&] {
        if ((++steps & 4095) == 0 && progress &&
            !progress(std::min(0.95, double(std::count(seen.begin(), seen.end(), true)) / total)))
            stopped = true;
        return !stopped;
    };
    for (SourceTable& table : tables) {
        if (table.root == 0 || stopped)
            continue;
        pages.WalkTable(table.root, seen, table.damagedPages, [&](qint64 rowid, TPageRow& values) {
            if (step() && writer.Write(table, rowid, values))
                table.rowids.push_back(rowid);
        });
        report.DamagedPages += table.damagedPages;
    }
    for (const SourceIndex& index : std::as_const(indexes)) {
        SourceTable* table = Find(tables, index.table);
        int damage = 0;
        pages.WalkIndex(index.root, seen, damage, [&](TPageRow& values) {
            if (table && !values.empty() && values.back().Type == TPageValue::Kind::Integer)
                table->indexed.push_back(values.back().Integer);
        });
        report.DamagedPages += damage;
        if (table && damage == 0)
            table->soundIndex = true;
    }
    // Rows whose page lost its parent: table leaves outside every tree and the free list go to the table
    // whose tree was damaged and whose columns they fit best.
    for (const quint32 free : pages.FreePages())
        seen[free] = true;
    QList<SourceTable*> damagedTables;
    for (SourceTable& table : tables)
        if (table.damagedPages > 0 || (table.root == 0 && table.known))
            damagedTables << &table;
    std::vector<std::pair<qint64, TPageRow>> rows;
    for (quint32 number = 2; number <= pages.PageCount() && !damagedTables.isEmpty() && !stopped; ++number) {
        if (seen[number] || !pages.LooksLikeTableLeaf(number) || !pages.ReadLeaf(number, seen, rows))
            continue;
        for (auto& [rowid, values] : rows) {
            SourceTable* best = nullptr;
            int bestFit = -1;
            for (SourceTable* table : std::as_const(damagedTables)) {
                const int fit = Fit(*table, values);
                if (fit > bestFit) {
                    best = table;
                    bestFit = fit;
                }
            }
            if (best && step() && writer.Write(*best, rowid, values))
                best->rowids.push_back(rowid);
        }
    }
    if (stopped) {
        out.ExecSql(QStringLiteral("ROLLBACK"));
        error = Translate(QStringLiteral("The rescue was stopped."));
        return false;
    }
    for (auto sequence = sequences.cbegin(); sequence != sequences.cend(); ++sequence)
        out.Execute(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE lower(name) = ?"),
                    sequence.value(), sequence.key());
    const QString treeName = targetInfo.completeBaseName();
    if (!UpgradeSchemaOf(out) || !RebuildTreeRows(out, treeName, report) ||
        !out.ExecSql(QStringLiteral("COMMIT"))) {
        error = RescueError(QStringLiteral("Could not create the tree file."), out.LastError());
        return false;
    }
    for (SourceTable& table : tables) {
        TRescueTable line;
        line.Name = table.name;
        line.Recovered = qint64(table.rowids.size());
        line.Lost = CountMissing(table.indexed, table.rowids);
        line.LossKnown = table.damagedPages == 0 || table.soundIndex;
        report.Tables << line;
    }
    // The persons first, then their relations and the rest, as a user reads the report.
    std::stable_sort(
        report.Tables.begin(), report.Tables.end(),
        [](const TRescueTable& a, const TRescueTable& b) { return TableRank(a.Name) < TableRank(b.Name); });
    Writer::Finish(tables);
    FindMissingPersons(out, report);
    // Every page of the new file is read once more: what the engine wrote must read back whole.
    const QString check = out.ScalarText(QStringLiteral("PRAGMA quick_check"));
    out.Close();
    if (check != u"ok") {
        error = RescueError(QStringLiteral("The rescued tree did not pass the check of its file."), check);
        return false;
    }
    if (!file.Commit()) {
        error = RescueError(QStringLiteral("Could not create the tree file."), file.Error());
        return false;
    }
    report.PicturesComplete =
        CopyPhotosFolder(QFileInfo(damaged).absolutePath() + QStringLiteral("/photos"),
                         targetInfo.absolutePath() + QStringLiteral("/photos"), &report.PicturesCopied);
    if (progress)
        progress(1.0);
    return true;
}

TRescuedReading::TRescuedReading(TRescueReport* report) : folder_(std::make_unique<QTemporaryDir>()) {
    TRescueReport own;
    if (!IsTreeOpen() || !folder_->isValid()) {
        error_ = Translate(QStringLiteral("Could not create the tree file."));
        return;
    }
    const QString copy = folder_->filePath(QStringLiteral("rescued/rescued.vrd"));
    if (!RescueTree(CurrentTreePath(), copy, {}, report ? *report : own, error_))
        return;
    Tdm& dm = Dm();
    Query attach = dm.Prepare(QStringLiteral("ATTACH DATABASE ? AS rescued"));
    attach.Bind(QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(copy, "/")) +
                QStringLiteral("?mode=ro"));
    if (!attach.Exec()) {
        error_ = EngineError(attach.Error());
        return;
    }
    Query tables = dm.Prepare(QStringLiteral(
        "SELECT name FROM rescued.sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    tables.ForEachRow([&](Query& row) { views_ << row.Text(0); });
    tables = Query();
    // The temporary store is searched before the tree, so its views stand in for the tree's tables.
    for (const QString& table : std::as_const(views_)) {
        dm.ExecSql(QStringLiteral("DROP VIEW IF EXISTS temp.") + QuoteName(table));
        dm.ExecSql(QStringLiteral("DROP TABLE IF EXISTS temp.") + QuoteName(table));
        dm.ExecSql(QStringLiteral("CREATE TEMP VIEW ") + QuoteName(table) +
                   QStringLiteral(" AS SELECT * FROM rescued.") + QuoteName(table));
    }
    InvalidateStoreCaches();
    active_ = true;
}

TRescuedReading::~TRescuedReading() {
    if (!active_)
        return;
    Tdm& dm = Dm();
    for (const QString& table : std::as_const(views_))
        dm.ExecSql(QStringLiteral("DROP VIEW IF EXISTS temp.") + QuoteName(table));
    dm.ExecSql(QStringLiteral("DETACH DATABASE rescued"));
    if (IsTreeReadOnly())
        ShowAbsentSchemaAsEmpty(dm);
    InvalidateStoreCaches();
}

qint64 LostRows(const TRescueReport& report, const QString& table) {
    for (const TRescueTable& line : report.Tables)
        if (line.Name.compare(table, Qt::CaseInsensitive) == 0)
            return line.LossKnown ? line.Lost : -1;
    return -1;
}

QString RescueReportText(const TRescueReport& report) {
    QStringList lines;
    for (const TRescueTable& table : report.Tables) {
        if (table.Recovered == 0 && table.Lost == 0 && table.LossKnown)
            continue;
        QString line = FillPattern(Translate(QStringLiteral("%*: saved %#")),
                                   {TableCaption(table.Name), QString::number(table.Recovered)});
        if (!table.LossKnown)
            line += QStringLiteral(", ") + Translate(QStringLiteral("some lost"));
        else if (table.Lost > 0)
            line += QStringLiteral(", ") +
                    FillPattern(Translate(QStringLiteral("lost %#")), {QString::number(table.Lost)});
        lines << line;
    }
    if (report.DamagedPages > 0)
        lines << FillPattern(Translate(QStringLiteral("Damaged pages skipped: %#")),
                             {QString::number(report.DamagedPages)});
    if (report.TreeInfoRebuilt)
        lines << Translate(QStringLiteral("The tree information was lost and has been made anew."));
    if (report.OutsideGroupRebuilt)
        lines << Translate(
            QStringLiteral("The group of persons outside the tree was lost and has been made anew."));
    if (report.MissingParentCount > 0)
        lines << FillPattern(Translate(QStringLiteral("Persons whose father or mother was lost: %#")),
                             {QString::number(report.MissingParentCount)});
    if (report.MissingMateCount > 0)
        lines << FillPattern(
            Translate(QStringLiteral("Persons whose husband, wife or breastfeeding relative was lost: %#")),
            {QString::number(report.MissingMateCount)});
    for (const QString& person : report.MissingPersons)
        lines << QStringLiteral("  ") + person;
    if (report.PicturesCopied > 0 || !report.PicturesComplete)
        lines << FillPattern(Translate(QStringLiteral("Pictures copied: %#")),
                             {QString::number(report.PicturesCopied)}) +
                     (report.PicturesComplete
                          ? QString()
                          : QStringLiteral(", ") + Translate(QStringLiteral("some could not be copied")));
    return lines.join(u'\n');
}

} // namespace verdan
