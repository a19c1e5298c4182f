#pragma once

#include "navigator/outline_fixture.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/tree_frame.h"

#include <QApplication>
#include <QTest>
#include <QTreeView>
#include <QWidget>
#include <memory>

namespace verdan::test {

// An outline frame in a window of its own, with the link dialogs installed and every question consented
// to; OpenFrame shows it over the rows written so far.
class OutlineFrameTest : public OutlineTest {
public:
    void SetUp() override {
        OutlineTest::SetUp();
        previous_ = InstallMessageSink(&consent_);
    }
    void TearDown() override {
        host_.reset();
        InstallMessageSink(previous_);
        OutlineTest::TearDown();
    }

    void OpenFrame(int width, int height, bool multiSelect = false) {
        host_ = std::make_unique<QWidget>();
        host_->resize(width, height);
        TLinkDialogs::Install(host_.get());
        frame_ = new TframTree(host_.get());
        frame_->resize(width, height);
        if (multiSelect)
            frame_->SetMultiSelect(true);
        frame_->OpenTree(false);
        host_->show();
        Settle();
    }
    static void Settle() {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    }
    void Select(const QString& id) {
        ASSERT_TRUE(frame_->LocatePerson(id));
        Settle();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame_->View(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }

    TframTree* frame_ = nullptr;

private:
    Consenting consent_;
    TMessageSink* previous_ = nullptr;
    std::unique_ptr<QWidget> host_;
};

} // namespace verdan::test
