#include "datasheet/ui/collapsible_panel.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace verdan {
namespace {

TEST(CollapsiblePanel, FoldsByClickAndKeysAlongTheReadingDirection) {
    for (const bool rtl : {false, true}) {
        TCollapsiblePanel panel;
        panel.setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        panel.SetTitle("Notes");
        EXPECT_EQ(panel.Title(), " Notes");
        auto* content = new QLabel("text");
        panel.SetContent(content);
        panel.resize(300, 200);
        panel.show();
        panel.SetCollapsed(true);
        EXPECT_FALSE(content->isVisible());

        // The content is told before it shows, so it can be filled first.
        bool visibleWhenTold = true;
        QObject::connect(&panel, &TCollapsiblePanel::Expanding,
                         [&] { visibleWhenTold = content->isVisible(); });
        QSignalSpy changed(&panel, &TCollapsiblePanel::CollapsedChanged);
        QTest::mouseClick(panel.TitleBar(), Qt::LeftButton);
        EXPECT_FALSE(panel.IsCollapsed());
        EXPECT_FALSE(visibleWhenTold);
        EXPECT_TRUE(content->isVisible());
        ASSERT_EQ(changed.count(), 1);
        EXPECT_FALSE(changed.value(0).value(0).toBool());

        // The arrow key pointing against the reading direction folds, the other one opens.
        QTest::keyClick(panel.TitleBar(), rtl ? Qt::Key_Right : Qt::Key_Left);
        EXPECT_TRUE(panel.IsCollapsed());
        QTest::keyClick(panel.TitleBar(), rtl ? Qt::Key_Right : Qt::Key_Left);
        EXPECT_TRUE(panel.IsCollapsed());
        EXPECT_EQ(changed.count(), 2);
        QTest::keyClick(panel.TitleBar(), rtl ? Qt::Key_Left : Qt::Key_Right);
        EXPECT_FALSE(panel.IsCollapsed());
        QTest::keyClick(panel.TitleBar(), Qt::Key_Space);
        EXPECT_TRUE(panel.IsCollapsed());
        EXPECT_EQ(panel.TitleBar()->ArrowRect().center().x() > panel.width() / 2, rtl);
    }
}

} // namespace
} // namespace verdan
