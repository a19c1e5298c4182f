#pragma once

#include "common/testing.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"

#include <gtest/gtest.h>

namespace verdan::test {

// A new tree (three initial persons) in a fresh folder, open for the test; store messages are recorded
// instead of shown.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetStoreMessageSink([this](StoreMessage, const QString& text) { messages_ << text; });
        props_.BasePath = NewTempDir();
        props_.FolderName = QStringLiteral("family");
        props_.FileName = QStringLiteral("family.vrd");
        props_.TreeName = QStringLiteral("Tree");
        props_.OwnerName = QStringLiteral("Owner");
        path_ = CreateTreeFolderAndFile(props_);
        ASSERT_FALSE(path_.isEmpty()) << messages_.join(u'\n').toStdString();
        ASSERT_TRUE(OpenTreeFile(path_)) << messages_.join(u'\n').toStdString();
        ASSERT_TRUE(InitialiseNewTree(props_));
    }
    void TearDown() override {
        CloseTreeFile();
        SetStoreMessageSink(previous_);
    }

    QString path_;
    TTreeProperty props_;
    QStringList messages_;
    StoreMessageSink previous_;
};

} // namespace verdan::test
