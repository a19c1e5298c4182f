#include "jet_convert.h"

#include "storage/database.h"
#include "storage/jet_isolated_reader.h"
#include "storage/jet_values.h"
#include "storage/new_tree_file.h"
#include "storage/schema.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>
#include <vector>

namespace verdan {

namespace {

enum class Kind { Text, Integer, Flag, Blob };

struct Target {
    int Column = -1; // position among the table's columns in the tree
    Kind As = Kind::Text;
};

// The tree's own tables and their columns, as the schema makes them.
struct TreeTable {
    QString Name;
    QStringList Columns;
    std::vector<Kind> Kinds;
};

QList<TreeTable> TreeTables(Tdm& dm) {
    QList<TreeTable> tables;
    Query names = dm.Prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name"));
    QStringList list;
    while (names.Next())
        list << names.Text(0);
    for (const QString& name : list) {
        TreeTable table{name, {}, {}};
        Query q = dm.Prepare(QStringLiteral("SELECT name, type, \"notnull\" FROM pragma_table_info(?)"));
        q.Bind(name);
        while (q.Next()) {
            table.Columns << q.Text(0);
            const QString type = q.Text(1).toUpper();
            table.Kinds.push_back(type == QLatin1String("BLOB")  ? Kind::Blob
                                  : !type.startsWith(u"INTEGER") ? Kind::Text
                                  : q.Int(2) != 0                ? Kind::Flag
                                                                 : Kind::Integer);
        }
        tables << table;
    }
    return tables;
}

qsizetype IndexOf(const QStringList& list, const QString& name) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IsText(TJetType type) {
    return type == TJetType::Text || type == TJetType::Memo;
}

// One value of the old file as the tree column stores it.
void Bind(sqlite3_stmt* stmt, int index, const TJetColumn& column, const TJetValue& value, Kind as) {
    if (value.Null) {
        if (as == Kind::Flag)
            sqlite3_bind_int(stmt, index, 0);
        else
            sqlite3_bind_null(stmt, index);
        return;
    }
    const QByteArrayView bytes(value.Bytes);
    qint64 integer = 0;
    double real = 0;
    if (column.Type == TJetType::Bool) {
        sqlite3_bind_int(stmt, index, !bytes.isEmpty() && bytes[0] != 0 ? 1 : 0);
    } else if (JetInteger(column.Type, bytes, integer)) {
        // Booleans kept in number columns are -1 for true.
        if (as == Kind::Flag)
            sqlite3_bind_int(stmt, index, integer != 0 ? 1 : 0);
        else if (as == Kind::Text)
            sqlite3_bind_text(stmt, index, QByteArray::number(integer).constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(stmt, index, integer);
    } else if (column.Type == TJetType::DateTime && JetReal(column.Type, bytes, real)) {
        const QByteArray stamp = JetDateTimeStamp(real).toUtf8();
        if (stamp.isEmpty())
            sqlite3_bind_null(stmt, index);
        else
            sqlite3_bind_text(stmt, index, stamp.constData(), int(stamp.size()), SQLITE_TRANSIENT);
    } else if (JetReal(column.Type, bytes, real)) {
        if (as == Kind::Flag)
            sqlite3_bind_int(stmt, index, real != 0 ? 1 : 0);
        else if (as == Kind::Integer && std::isfinite(real) && real == std::trunc(real) &&
                 std::fabs(real) < 1e15)
            sqlite3_bind_int64(stmt, index, qint64(real));
        else
            sqlite3_bind_double(stmt, index, real);
    } else if (IsText(column.Type) || column.Type == TJetType::Guid || column.Type == TJetType::Numeric) {
        const QString text = column.Type == TJetType::Guid      ? JetGuidText(bytes)
                             : column.Type == TJetType::Numeric ? QString::fromLatin1(bytes)
                                                                : DecodeJetText(bytes);
        if (as == Kind::Flag || as == Kind::Integer) {
            bool ok = false;
            const qint64 n = text.trimmed().toLongLong(&ok);
            if (ok)
                sqlite3_bind_int64(stmt, index, as == Kind::Flag ? (n != 0 ? 1 : 0) : n);
            else
                sqlite3_bind_int(stmt, index, 0);
            return;
        }
        sqlite3_bind_text16(stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
    } else {
        // Binary values: the tree's description is formatted text kept as bytes.
        sqlite3_bind_blob(stmt, index, value.Bytes.constData(), int(value.Bytes.size()), SQLITE_TRANSIENT);
    }
}

QString WriteError(const QString& reason) {
    return FillPattern(Translate(QStringLiteral("The tree could not be written: %*")), {reason});
}

bool IsTreeTable(const QString& name) {
    const QString table = name.trimmed();
    return table.compare(QLatin1String("ftPerson"), Qt::CaseInsensitive) == 0 ||
           table.compare(QLatin1String("ftTreeInfo"), Qt::CaseInsensitive) == 0;
}

QString DamagedError(const QString& reason) {
    QString message = Translate(QStringLiteral("The old tree file cannot be read: it is damaged."));
    if (!reason.isEmpty())
        message += QStringLiteral(" (") + reason + u')';
    return message;
}

// A path of the old system ("C:\Family\photos\x.jpg") names its file after the last separator.
QString FileNameOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(cut + 1).trimmed();
}

bool IsForeignPath(const QString& path) {
    return path.contains(u'\\') || (path.size() > 2 && path[1] == u':' && path[0].isLetter());
}

// Picture paths of the old system point to the photos folder of another computer: they become the file
// name when the tree's photos folder has the file.
void RewritePicturePaths(TJetConvertSummary& summary) {
    Tdm& dm = Dm();
    const QDir photos(PhotosFolder());
    std::vector<std::pair<qint64, QString>> found;
    Query q = dm.Prepare(QStringLiteral("SELECT oid, file_path FROM ftPictures"));
    while (q.Next()) {
        const QString path = q.Text(1);
        if (!IsForeignPath(path))
            continue;
        const QString name = FileNameOf(path);
        if (!name.isEmpty() && photos.exists(name)) {
            found.emplace_back(q.Int(0), name);
            ++summary.PicturesFound;
        } else {
            ++summary.PicturesMissing;
        }
    }
    if (found.empty())
        return;
    Transaction transaction(dm);
    for (const auto& [oid, name] : found)
        dm.Execute(QStringLiteral("UPDATE ftPictures SET file_path = ? WHERE oid = ?"), name, oid);
    transaction.Commit();
}

} // namespace

bool WriteJetTree(TJetTableReader& reader, const QString& filePath, const TJetProgressFn& progress,
                  TJetConvertSummary& summary, QString& error) {
    summary = TJetConvertSummary();
    Tdm dm;
    if (!dm.Open(filePath) || !CreateSchema(dm)) {
        error = WriteError(dm.LastError());
        return false;
    }
    dm.ExecSql(QStringLiteral("PRAGMA synchronous=OFF"));
    dm.ExecSql(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    QHash<QString, TreeTable> known;
    for (const TreeTable& table : TreeTables(dm))
        known.insert(table.Name.toLower(), table);
    Transaction transaction(dm);
    if (!transaction.Active()) {
        error = WriteError(dm.LastError());
        return false;
    }
    qint64 rows = 0;
    TJetTable table;
    while (reader.NextTable(table)) {
        const auto tree = known.constFind(table.Name.trimmed().toLower());
        if (tree == known.constEnd()) {
            summary.SkippedTables << table.Name;
            continue;
        }
        // The old file's columns that the tree has, by name whatever their case.
        std::vector<Target> targets(size_t(table.Columns.size()));
        QStringList names;
        for (qsizetype c = 0; c < table.Columns.size(); ++c) {
            const qsizetype at = IndexOf(tree->Columns, table.Columns[c].Name.trimmed());
            if (at < 0 || names.contains(tree->Columns[at]))
                continue;
            targets[size_t(c)] = {int(names.size()), tree->Kinds[size_t(at)]};
            names << tree->Columns[at];
        }
        qint64 tableRows = 0;
        sqlite3_stmt* insert = nullptr;
        if (!names.isEmpty()) {
            QStringList marks;
            for (qsizetype i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            const QString sql = QStringLiteral("INSERT OR REPLACE INTO \"") + tree->Name +
                                QStringLiteral("\" (\"") + names.join(QStringLiteral("\", \"")) +
                                QStringLiteral("\") VALUES (") + marks.join(QStringLiteral(", ")) + u')';
            if (sqlite3_prepare_v2(dm.Handle(), sql.toUtf8().constData(), -1, &insert, nullptr) !=
                SQLITE_OK) {
                error = WriteError(QString::fromUtf8(sqlite3_errmsg(dm.Handle())));
                return false;
            }
        }
        TJetRow row;
        bool ok = true;
        while (ok && reader.NextRow(row)) {
            ++tableRows;
            if (!insert)
                continue;
            for (size_t c = 0; c < targets.size() && c < row.size(); ++c)
                if (targets[c].Column >= 0)
                    Bind(insert, targets[c].Column + 1, table.Columns[qsizetype(c)], row[c], targets[c].As);
            ok = sqlite3_step(insert) == SQLITE_DONE;
            sqlite3_reset(insert);
            sqlite3_clear_bindings(insert);
            if (progress && (++rows & 1023) == 0 && !progress(rows, -1)) {
                sqlite3_finalize(insert);
                error = Translate(QStringLiteral("The conversion was cancelled."));
                return false;
            }
        }
        if (!ok)
            error = WriteError(QString::fromUtf8(sqlite3_errmsg(dm.Handle())));
        sqlite3_finalize(insert);
        if (!ok)
            return false;
        summary.Tables.append({tree->Name, tableRows});
    }
    if (reader.Failed()) {
        error = DamagedError(reader.Error());
        return false;
    }
    // A database that held none of the tree's tables is no tree, however well it was read.
    if (std::none_of(summary.Tables.cbegin(), summary.Tables.cend(),
                     [](const auto& table) { return IsTreeTable(table.first); })) {
        error = LegacyNoTreeText();
        return false;
    }
    if (!transaction.Commit()) {
        error = WriteError(dm.LastError());
        return false;
    }
    return true;
}

TLegacyContent LegacyFileContent(const QString& legacyPath, QString& reason) {
    TIsolatedJetReader reader(legacyPath, 30000, true);
    if (!reader.Start()) {
        reason = reader.Error();
        return TLegacyContent::Unreadable;
    }
    bool tree = false;
    TJetTable table;
    while (reader.NextTable(table))
        tree = tree || IsTreeTable(table.Name);
    if (reader.Failed()) {
        reason = reader.Error();
        return TLegacyContent::Unreadable;
    }
    return tree ? TLegacyContent::Tree : TLegacyContent::NoTree;
}

QString LegacyNoTreeText() {
    return Translate(
        QStringLiteral("This file is a database of the old format, but it holds no family tree."));
}

QString DefaultConvertedPath(const QString& legacyPath) {
    const QFileInfo old(legacyPath);
    const QString base = old.completeBaseName() + QStringLiteral(" (converted)");
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : base + u' ' + QString::number(n);
        const QString path = old.absoluteDir().filePath(name + QStringLiteral(".vrd"));
        if (!QFileInfo::exists(path))
            return path;
    }
}

bool ConvertLegacyTreeFile(const QString& legacyPath, const QString& target, const TJetProgressFn& progress,
                           TJetConvertSummary& summary, QString& error) {
    QFile file(legacyPath);
    if (!file.open(QIODevice::ReadOnly)) {
        error = FillPattern(Translate(QStringLiteral("The file %* could not be read.")), {legacyPath});
        return false;
    }
    const TJetHeader header = ReadJetHeader(file.read(4096));
    file.close();
    if (!header.IsJet4()) {
        error = Translate(QStringLiteral("This is no tree file of the old format."));
        return false;
    }
    if (header.Password) {
        error = Translate(QStringLiteral("The old tree file is protected by a password, which cannot be read "
                                         "here. Remove the password with the program that made it, then "
                                         "convert it."));
        return false;
    }
    if (QFileInfo::exists(target)) {
        error = FillPattern(Translate(QStringLiteral("The file %* exists already.")), {target});
        return false;
    }
    QString reason;
    switch (LegacyFileContent(legacyPath, reason)) {
    case TLegacyContent::Tree:
        break;
    case TLegacyContent::NoTree:
        error = LegacyNoTreeText();
        return false;
    case TLegacyContent::Unreadable:
        error = DamagedError(reason);
        return false;
    }
    TIsolatedJetReader reader(legacyPath);
    if (!reader.Start()) {
        error = DamagedError(reader.Error());
        return false;
    }
    TNewTreeFile tree(target);
    if (!tree.Begin()) {
        error = FillPattern(Translate(QStringLiteral("The tree file %* could not be created.")), {target}) +
                u'\n' + tree.Error();
        return false;
    }
    TJetProgressFn counted;
    if (progress)
        counted = [&](qint64 rows, qint64) {
            return progress(rows, reader.TotalRows());
        };
    if (!WriteJetTree(reader, tree.TemporaryPath(), counted, summary, error)) {
        tree.Discard();
        return false;
    }
    if (!tree.Commit()) {
        error = WriteError(tree.Error());
        return false;
    }
    FinishConvertedTree(target, summary);
    return true;
}

void FinishConvertedTree(const QString& path, TJetConvertSummary& summary) {
    QDir(QFileInfo(path).absolutePath()).mkdir(QStringLiteral("photos"));
    if (!OpenTreeFile(path))
        return;
    UpgradeSchema();
    EnsureGlobalParent();
    RewritePicturePaths(summary);
    CloseTreeFile();
}

QString JetConvertSummaryText(const TJetConvertSummary& summary) {
    QStringList lines;
    for (const auto& [name, rows] : summary.Tables)
        lines << FillPattern(Translate(QStringLiteral("%*: %# rows")), {name, QString::number(rows)});
    if (!summary.SkippedTables.isEmpty())
        lines << FillPattern(Translate(QStringLiteral("Tables left out: %*")),
                             {summary.SkippedTables.join(QStringLiteral(", "))});
    if (summary.PicturesFound + summary.PicturesMissing > 0)
        lines << FillPattern(Translate(QStringLiteral("Pictures found in the photos folder: %# of %#")),
                             {QString::number(summary.PicturesFound),
                              QString::number(summary.PicturesFound + summary.PicturesMissing)});
    return lines.join(u'\n');
}

} // namespace verdan
