#pragma once

#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace verdan::test {

// Every row of every table of the open tree file, as the quoted text of its values, by table: two trees
// are equal row by row when these are.
using TreeRows = std::map<QString, QStringList>;

inline TreeRows ReadAllRows() {
    TreeRows rows;
    QStringList tables;
    {
        Query q = Dm().Prepare("SELECT name FROM main.sqlite_master WHERE type = 'table' AND name NOT LIKE "
                               "'sqlite%' ORDER BY name");
        q.ForEachRow([&](Query& row) { tables << row.Text(0); });
    }
    for (const QString& table : tables) {
        QStringList columns;
        {
            Query q = Dm().Prepare("SELECT name FROM pragma_table_info(?, 'main')", table);
            q.ForEachRow([&](Query& row) { columns << "quote(\"" + row.Text(0) + "\")"; });
        }
        Query q = Dm().Prepare("SELECT rowid || ':' || " + columns.join(" || ',' || ") + " FROM main.\"" +
                               table + "\" ORDER BY rowid");
        q.ForEachRow([&](Query& row) { rows[table] << row.Text(0); });
    }
    return rows;
}

// `command` makes exactly one undo step, named `description`: undoing it gives every table back as it was,
// redoing it the tree the command left.
inline void ExpectOneUndoStep(const QString& description, const std::function<void()>& command) {
    SCOPED_TRACE(description.toStdString());
    ClearUndoLog();
    const TreeRows before = ReadAllRows();
    command();
    EXPECT_EQ(UndoCount(), 1);
    EXPECT_EQ(UndoDescription().toStdString(), description.toStdString());
    const TreeRows after = ReadAllRows();
    EXPECT_NE(after, before) << "nothing was written";
    ASSERT_TRUE(Undo());
    EXPECT_EQ(ReadAllRows(), before);
    EXPECT_EQ(RedoDescription().toStdString(), description.toStdString());
    ASSERT_TRUE(Redo());
    EXPECT_EQ(ReadAllRows(), after);
}

} // namespace verdan::test
