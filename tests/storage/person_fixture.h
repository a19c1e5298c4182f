#pragma once

#include "common/testing.h"
#include "storage/database.h"
#include "storage/person_index.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"

#include <gtest/gtest.h>

namespace verdan::test {

inline const QString kOwner = QStringLiteral("{00000000-0000-0000-0000-0000000000AA}");
inline const QString kGlobal = QStringLiteral("{00000000-0000-0000-0000-0000000000GG}");

// A fresh tree file per test, open in the process-wide data module, holding the tree information row and
// the global parent group; persons are added with readable identifiers.
class PersonStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetStoreMessageSink([this](StoreMessage, const QString& text) { messages_ << text; });
        path_ = NewTempDir() + QStringLiteral("/tree.vrd");
        ASSERT_TRUE(CreateTreeFile(path_)) << messages_.join(u'\n').toStdString();
        ASSERT_TRUE(OpenTreeFile(path_)) << messages_.join(u'\n').toStdString();
        ASSERT_EQ(Dm().Execute("INSERT INTO ftTreeInfo (oid, owner_id, global_parent_id) VALUES (1, ?, ?)",
                               kOwner, kGlobal),
                  1);
        Put(kGlobal, "-1", "0", QStringLiteral(u"خارج الشجرة"), "m", true);
    }
    void TearDown() override {
        CloseTreeFile();
        SetStoreMessageSink(previous_);
    }

    // Opens the tree file again, as the program does after the file changed under it.
    void Reopen() {
        CloseTreeFile();
        ASSERT_TRUE(OpenTreeFile(path_)) << messages_.join(u'\n').toStdString();
    }

    // Inserts a person row with the given identifier and no order set.
    void Put(const QString& id, const QString& father, const QString& mother, const QString& name,
             const QString& gender = "m", bool section = false) {
        ASSERT_EQ(Dm().Execute("INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender, "
                               "Is_Section) VALUES (?, ?, ?, ?, ?, ?)",
                               id, father, mother, name, gender, section ? 1 : 0),
                  1);
    }

    QString Column(const QString& id, const QString& column) {
        return Dm().ScalarText("SELECT " + column + " FROM ftPerson WHERE Person_Id = ?", id);
    }
    QVariant Value(const QString& id, const QString& column) {
        Query q = Dm().Prepare("SELECT " + column + " FROM ftPerson WHERE Person_Id = ?", id);
        return q.Next() ? q.Value(0) : QVariant();
    }

    QString path_;
    QStringList messages_;
    StoreMessageSink previous_;
};

} // namespace verdan::test
