#include "tree_probe.h"

#include "database.h"
#include "jet_convert.h"
#include "new_tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/message_details.h"
#include "tree_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <sqlite3.h>

namespace verdan {

namespace {

// Rows of the outline's first level read by the probe: enough to meet damage where the outline starts.
constexpr int kFirstLevelRows = 1000;

QString QuoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString EngineReason(const QString& error) {
    return error.section(u'|', 0, 0);
}

bool IsGedcomText(const QByteArray& head) {
    QByteArray text = head;
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.mid(3);
    else if (text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF"))
        return text.size() > 4 &&
               (text.mid(2, 4) == QByteArray("0\0 \0", 4) || text.mid(2, 4) == QByteArray("\0"
                                                                                          "0\0 ",
                                                                                          4));
    return text.trimmed().startsWith("0 HEAD");
}

// The database header: the page size the engine needs to find anything, and a file that ends before the
// pages the header counts. Empty when sound.
QString HeaderProblem(const QByteArray& header, qint64 fileSize) {
    if (header.size() < 100)
        return QStringLiteral("the file ends inside its header");
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const quint32 rawSize = qFromBigEndian<quint16>(bytes + 16);
    const qint64 pageSize = rawSize == 1 ? 65536 : rawSize;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return QStringLiteral("the header names no valid page size");
    if (fileSize % pageSize != 0)
        return QStringLiteral("the file does not end at a page boundary");
    // The page count is kept only while the change counter it was written with is current.
    const quint32 pages = qFromBigEndian<quint32>(bytes + 28);
    const bool countValid = qFromBigEndian<quint32>(bytes + 24) == qFromBigEndian<quint32>(bytes + 92);
    if (countValid && pages > 0 && qint64(pages) * pageSize > fileSize)
        return QStringLiteral("the file is shorter than its header says");
    return QString();
}

// Reads every value of every row the query gives, so a damaged page behind a long value is met too.
void ReadRows(Query& query) {
    const int columns = query.ColumnCount();
    query.ForEachRow([&](Query& row) {
        for (int c = 0; c < columns; ++c)
            row.Utf8(c);
    });
}

void ReadRows(Tdm& dm, const QString& sql, const QString& value = QString()) {
    Query q = dm.Prepare(sql);
    if (!value.isNull())
        q.Bind(value);
    ReadRows(q);
}

struct SchemaEntry {
    QString type;
    QString name;
    QString table;
};

// The first and the last entry of every table and index: their root pages and the pages at both edges.
void ReadEdges(Tdm& dm, const QList<SchemaEntry>& entries) {
    for (const SchemaEntry& entry : entries) {
        if (dm.Damaged())
            return;
        const QString table = QuoteName(entry.table);
        if (entry.type == u"table") {
            dm.ScalarInt(QStringLiteral("SELECT rowid FROM ") + table +
                         QStringLiteral(" ORDER BY rowid LIMIT 1"));
            dm.ScalarInt(QStringLiteral("SELECT rowid FROM ") + table +
                         QStringLiteral(" ORDER BY rowid DESC LIMIT 1"));
            continue;
        }
        QStringList columns;
        Query q =
            dm.Prepare(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"), entry.name);
        q.ForEachRow([&](Query& row) { columns << QuoteName(row.Text(0)); });
        if (columns.isEmpty() || columns.contains(QStringLiteral("\"\"")))
            continue; // an index on expressions: nothing the tree makes
        const QString from = QStringLiteral(" FROM ") + table + QStringLiteral(" INDEXED BY ") +
                             QuoteName(entry.name) + QStringLiteral(" ORDER BY ");
        dm.ScalarInt(QStringLiteral("SELECT 1") + from + columns.join(QStringLiteral(", ")) +
                     QStringLiteral(" LIMIT 1"));
        dm.ScalarInt(QStringLiteral("SELECT 1") + from + columns.join(QStringLiteral(" DESC, ")) +
                     QStringLiteral(" DESC LIMIT 1"));
    }
}

// What the open reads first: the tree information, the option row, the group outside the tree, the person
// shown last and the first level of the outline.
void ReadFirstRows(Tdm& dm) {
    ReadRows(dm, QStringLiteral("SELECT * FROM ftTreeInfo ORDER BY oid LIMIT 1"));
    if (dm.TableExists(QStringLiteral("ftOption")))
        ReadRows(dm, QStringLiteral("SELECT * FROM ftOption ORDER BY oid LIMIT 1"));
    if (!dm.TableExists(QStringLiteral("ftPerson")))
        return;
    QStringList ids;
    {
        Query q = dm.Prepare(QStringLiteral("SELECT * FROM ftTreeInfo ORDER BY oid LIMIT 1"));
        if (q.Next())
            ids << q.Text("global_parent_id") << q.Text("last_id");
    }
    for (const QString& id : std::as_const(ids))
        if (!id.trimmed().isEmpty())
            ReadRows(dm, QStringLiteral("SELECT * FROM ftPerson WHERE person_id = ?"), id.trimmed());
    ReadRows(dm,
             QStringLiteral("SELECT * FROM ftPerson WHERE father_id = '-1' OR father_id = '' OR father_id "
                            "IS NULL LIMIT %1")
                 .arg(kFirstLevelRows));
}

QStringList ForeignObjects(Tdm& dm) {
    QStringList texts;
    Query q =
        dm.Prepare(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN ('trigger', 'view') "
                                  "OR (type = 'table' AND rootpage = 0) ORDER BY type, name"));
    q.ForEachRow([&](Query& row) {
        const QString type = row.Text(0);
        const char* pattern = type == u"trigger" ? "trigger %*"
                              : type == u"view"  ? "view %*"
                                                 : "virtual table %*";
        texts << FillPattern(Translate(QString::fromLatin1(pattern)), {row.Text(1)});
    });
    return texts;
}

bool Writable(const QFileInfo& file) {
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

// Probes a database file that is not the open tree.
TTreeProbe ProbeDatabase(const QString& path, bool mayFinishWrite) {
    TTreeProbe probe;
    probe.Kind = TFileKind::Tree;
    probe.ReadOnlyFile = !Writable(QFileInfo(path));
    QString headerProblem;
    {
        QFile file(path);
        headerProblem =
            file.open(QIODevice::ReadOnly) ? HeaderProblem(file.read(100), file.size()) : file.errorString();
    }
    Tdm dm;
    dm.SetDamageMessages(false);
    if (!dm.OpenReadOnly(path)) {
        probe.Kind = TFileKind::Unreadable;
        probe.Reason = dm.LastError();
        return probe;
    }
    // Reading the schema takes the file's first page and the engine's own check of it.
    QList<SchemaEntry> entries;
    bool tree = false;
    {
        Query q = dm.Prepare(QStringLiteral("SELECT type, name, tbl_name FROM sqlite_master WHERE type IN "
                                            "('table', 'index') AND rootpage > 0 ORDER BY rootpage"));
        q.ForEachRow([&](Query& row) {
            entries.append({row.Text(0), row.Text(1), row.Text(2)});
            tree = tree || (row.Text(0) == u"table" &&
                            row.Text(1).compare(QLatin1String("ftTreeInfo"), Qt::CaseInsensitive) == 0);
        });
        if (q.Failed() && dm.Busy()) {
            probe.Kind = TFileKind::Busy;
            probe.Reason = EngineReason(q.Error());
            return probe;
        }
        if (q.Failed() && mayFinishWrite &&
            sqlite3_extended_errcode(dm.Handle()) == SQLITE_READONLY_ROLLBACK) {
            // A write was interrupted: the engine puts the file back as it was before, as every open does.
            dm.Close();
            Tdm writer;
            writer.SetDamageMessages(false);
            if (writer.Open(path))
                writer.Close();
            return ProbeDatabase(path, false);
        }
    }
    if (!headerProblem.isEmpty())
        dm.NoteDamage(headerProblem);
    if (dm.Damaged()) {
        probe.Damaged = true;
        probe.Reason = dm.DamageReason();
        return probe;
    }
    if (!tree) {
        probe.Kind = TFileKind::Database;
        return probe;
    }
    probe.Foreign = ForeignObjects(dm);
    if (!dm.Damaged())
        ReadEdges(dm, entries);
    if (!dm.Damaged())
        ReadFirstRows(dm);
    probe.Damaged = dm.Damaged();
    probe.Reason = dm.DamageReason();
    return probe;
}

bool IsOpenTree(const QFileInfo& file) {
    const QString open = CurrentTreePath();
    return !open.isEmpty() && IsTreeOpen() && QFileInfo(open).canonicalFilePath() == file.canonicalFilePath();
}

} // namespace

TTreeProbe ProbeTreeFile(const QString& path) {
    TTreeProbe probe;
    const QFileInfo file(path);
    if (!file.isFile()) {
        probe.Kind = TFileKind::Missing;
        return probe;
    }
    if (IsTemporaryTreeFile(path)) {
        probe.Kind = TFileKind::Unfinished;
        return probe;
    }
    if (IsOpenTree(file)) {
        probe.Kind = TFileKind::Tree;
        probe.Damaged = Dm().Damaged();
        probe.Reason = Dm().DamageReason();
        probe.ReadOnlyFile = !Writable(file);
        return probe;
    }
    QFile data(path);
    if (!data.open(QIODevice::ReadOnly)) {
        probe.Kind = TFileKind::Unreadable;
        probe.Reason = data.errorString();
        return probe;
    }
    const QByteArray head = data.read(4096);
    const qint64 size = data.size();
    data.close();
    if (size == 0) {
        probe.Kind = TFileKind::Empty;
        return probe;
    }
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return ProbeDatabase(path, true);
    if (IsLegacyTreeFile(path)) {
        switch (LegacyFileContent(path, probe.Reason)) {
        case TLegacyContent::Tree:
            probe.Kind = TFileKind::LegacyTree;
            break;
        case TLegacyContent::NoTree:
            probe.Kind = TFileKind::LegacyNoTree;
            break;
        case TLegacyContent::Unreadable:
            probe.Kind = TFileKind::LegacyDamaged;
            break;
        }
        return probe;
    }
    probe.Kind = IsGedcomText(head.left(64)) ? TFileKind::Gedcom : TFileKind::Other;
    return probe;
}

QString ProbeMessage(const TTreeProbe& probe, const QString& path) {
    const QString where = IsolatePath(path);
    const auto message = [&](const char* headline, const QString& body = QString()) {
        return Translate(QString::fromLatin1(headline)) + u'|' + where +
               (body.isEmpty() ? QString() : u'\n' + body) + DetailsLine(probe.Reason);
    };
    switch (probe.Kind) {
    case TFileKind::Missing:
        return message("File not found.");
    case TFileKind::Unreadable:
        return message("The file could not be read.");
    case TFileKind::Busy:
        return Translate(QStringLiteral("The tree is open in Verdan or another program.")) + u'|' + where +
               u'\n' + Translate(QStringLiteral("Close it there, then try again."));
    case TFileKind::Unfinished:
        return message("This is the unfinished copy of a tree that was being written, not a tree.");
    case TFileKind::Empty:
        return message("The file is empty: it holds no tree.");
    case TFileKind::Tree:
        if (probe.Damaged)
            return DamageMessageText(path, probe.Reason);
        if (!probe.Foreign.isEmpty())
            return Translate(
                       QStringLiteral("The tree file holds objects that could change it on their own.")) +
                   u'|' + where + u'\n' + probe.Foreign.join(QStringLiteral(", ")) + u'\n' +
                   Translate(QStringLiteral("Verdan opens only a cleaned copy of it."));
        return QString();
    case TFileKind::LegacyTree:
        return message("This tree file has the old file format.",
                       Translate(QStringLiteral("Convert it to the current format to open it.")));
    case TFileKind::LegacyNoTree:
        return LegacyNoTreeText() + u'|' + where;
    case TFileKind::LegacyDamaged:
        return message("The old tree file cannot be read: it is damaged.");
    case TFileKind::Database:
        return message("This file is a database, but it holds no family tree.");
    case TFileKind::Gedcom:
        return message("This is a GEDCOM file, not a tree file.",
                       Translate(QStringLiteral("Import it to make a tree of it.")));
    case TFileKind::Other:
        break;
    }
    return message("This file is not a tree file.");
}

} // namespace verdan
