#include "navigator/ui/outline_images.h"
#include "navigator/ui/tree_frame.h"
#include "text/localisation.h"

#include <QApplication>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace verdan {
namespace {

bool HasArabicLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x0600 && c.unicode() <= 0x06FF; });
}

class OutlineToolbar : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { SetLanguage(QStringLiteral(":/langs/") + QString::fromLatin1(GetParam())); }
    void TearDown() override { SetLanguage(QStringLiteral(":/langs/english.local")); }
    bool Arabic() const { return QString::fromLatin1(GetParam()).startsWith(QStringLiteral("arabic")); }
};

// Each button of the outline shows a picture and keeps its hint, in the interface language.
TEST_P(OutlineToolbar, EveryButtonHasAPictureAndAHint) {
    TframTree frame;
    const QList<QToolButton*> buttons = frame.findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 12);
    QStringList hints;
    for (const QToolButton* button : buttons) {
        const std::string name = button->objectName().toStdString();
        EXPECT_FALSE(button->icon().isNull()) << name;
        EXPECT_FALSE(button->icon().pixmap(QSize(32, 32), 1.0).isNull()) << name;
        EXPECT_TRUE(button->text().isEmpty()) << name;
        EXPECT_FALSE(button->toolTip().isEmpty()) << name;
        EXPECT_EQ(button->accessibleName(), button->toolTip()) << name;
        EXPECT_EQ(HasArabicLetters(button->toolTip()), Arabic()) << name;
        hints << button->toolTip();
    }
    EXPECT_TRUE(hints.contains(Translate(QStringLiteral("Add Male Person (Insert)"))));
    EXPECT_TRUE(hints.contains(Translate(QStringLiteral("Set as Group (F6)"))));
    EXPECT_TRUE(hints.contains(Translate(QStringLiteral("Zoom out (Ctrl Alt -)"))));
    EXPECT_TRUE(hints.contains(Translate(QStringLiteral("Go Backward")) + QStringLiteral(" (Alt+←)")));
    hints.removeDuplicates();
    EXPECT_EQ(hints.size(), buttons.size());
    EXPECT_EQ(frame.isRightToLeft(), Arabic());
}

// The popup's commands carry pictures as desktop menus do; the outline's nodes draw from the same set.
TEST_P(OutlineToolbar, PopupAndNodesUseTheIconSet) {
    TframTree frame;
    const QList<QMenu*> menus = frame.findChildren<QMenu*>();
    ASSERT_FALSE(menus.isEmpty());
    int withIcon = 0;
    for (const QAction* action : menus.first()->actions())
        withIcon += !action->isSeparator() && !action->icon().isNull();
    EXPECT_GE(withIcon, 6);
    ASSERT_GE(OutlineImages().size(), 12);
    for (const QIcon& image : OutlineImages())
        EXPECT_FALSE(image.pixmap(QSize(16, 16), 2.0).isNull());
}

INSTANTIATE_TEST_SUITE_P(Languages, OutlineToolbar, ::testing::Values("arabic.local", "english.local"));

} // namespace
} // namespace verdan
