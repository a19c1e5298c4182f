#include "navigator/ui/outline_images.h"
#include "navigator/ui/outline_keys.h"
#include "navigator/ui/tree_frame.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QApplication>
#include <QKeySequence>
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
    EXPECT_TRUE(hints.contains(
        HintWithKey(Translate(QStringLiteral("Add Male Person (Insert)")), TOutlineKey::AddSon)));
    EXPECT_TRUE(
        hints.contains(HintWithKey(Translate(QStringLiteral("Set as Group (F6)")), TOutlineKey::SetGroup)));
    EXPECT_TRUE(hints.contains(
        HintWithKey(Translate(QStringLiteral("Zoom out (Ctrl Alt -)")), TOutlineKey::ZoomOut)));
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

// The hints name the keys the outline answers to, whatever key their translation was written with; a
// button whose command has no key names none. The menus show keys as text and never take them.
TEST_P(OutlineToolbar, HintsAndMenusNameTheRealKeys) {
    TframTree frame;
    auto hint = [&frame](const char* name) {
        return StripBidiControls(frame.findChild<QToolButton*>(QString::fromLatin1(name))->toolTip());
    };
    const QString female = StripBidiControls(Translate(QStringLiteral("Set as Female (F8)")));
    EXPECT_EQ(hint("btSetAsFemale"), female.left(female.lastIndexOf(u'(')).trimmed());
    EXPECT_FALSE(hint("btSetAsFemale").contains(QStringLiteral("F8")));
    EXPECT_FALSE(hint("btSetAsSection").contains(QStringLiteral("F6")));
    EXPECT_TRUE(hint("btSetAsMale").endsWith(QStringLiteral("(F7)")));
    EXPECT_TRUE(hint("bt_Zoom_in")
                    .endsWith(u'(' +
                              QKeySequence(Qt::CTRL | Qt::Key_Equal).toString(QKeySequence::NativeText) +
                              u')'));
    EXPECT_FALSE(hint("bt_Zoom_in").contains(QStringLiteral("Alt")));
    EXPECT_TRUE(hint("btAddFemale")
                    .endsWith(u'(' +
                              QKeySequence(Qt::SHIFT | Qt::Key_Insert).toString(QKeySequence::NativeText) +
                              u')'));
    EXPECT_EQ(HasArabicLetters(hint("bt_Zoom_in")), Arabic());

    QStringList keysShown;
    for (const QMenu* menu : frame.findChildren<QMenu*>()) {
        for (const QAction* action : menu->actions()) {
            EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
            if (action->text().contains(u'\t'))
                keysShown << action->text().section(u'\t', 1);
        }
    }
    for (TOutlineKey command : {TOutlineKey::EditName, TOutlineKey::Delete, TOutlineKey::AddMate,
                                TOutlineKey::Expand, TOutlineKey::AddSon, TOutlineKey::AddDaughter})
        EXPECT_TRUE(keysShown.contains(OutlineKeyText(command))) << OutlineKeyText(command).toStdString();
}

TEST(OutlineKeys, HintsKeepTheirTextAndTakeTheRealKey) {
    EXPECT_EQ(StripBidiControls(HintWithKey(QStringLiteral("تعيين كذكر (F7)"), TOutlineKey::SetMale)),
              QStringLiteral("تعيين كذكر (F7)"));
    EXPECT_EQ(HintWithKey(QStringLiteral("تعيين كأنثى (F8)"), TOutlineKey::SetFemale),
              QStringLiteral("تعيين كأنثى"));
    EXPECT_EQ(HintWithKey(QStringLiteral("Set as Group"), TOutlineKey::SetGroup),
              QStringLiteral("Set as Group"));
    // Only the last parenthesis is the key.
    EXPECT_EQ(StripBidiControls(HintWithKey(QStringLiteral("Zoom (in) (Ctrl Alt =)"), TOutlineKey::ZoomOut)),
              QStringLiteral("Zoom (in) (") + OutlineKeyText(TOutlineKey::ZoomOut) + u')');
    EXPECT_EQ(CaptionWithKey(QStringLiteral("Edit Name"), TOutlineKey::EditName),
              QStringLiteral("Edit Name\tF2"));
    EXPECT_EQ(CaptionWithKey(QStringLiteral("Set"), TOutlineKey::SetGroup), QStringLiteral("Set"));
}

INSTANTIATE_TEST_SUITE_P(Languages, OutlineToolbar, ::testing::Values("arabic.local", "english.local"));

} // namespace
} // namespace verdan
