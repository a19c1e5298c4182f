#include "text/ui/menu_captions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// The Alt letters of a menu's entries, as the toolkit reads them.
QStringList Letters(const QMenu& menu) {
    QStringList letters;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator())
            letters << QKeySequence::mnemonic(action->text()).toString();
    return letters;
}

// Arabic captions get a letter each, unique in their menu, the first letter of a word where one is free;
// a letter an entry has already is kept and never given twice; Latin captions, the key after a tab and
// separators are left as they are; submenus get theirs.
TEST(ArabicMnemonics, EachEntryOfAMenuGetsALetterOfItsOwn) {
    QMenuBar bar;
    QMenu* file = bar.addMenu(QStringLiteral("ملف"));
    QAction* open = file->addAction(QStringLiteral("فتح.."));
    QAction* given = file->addAction(QStringLiteral("&حفظ باسم"));
    QAction* close = file->addAction(QStringLiteral("فتح شجرة أخرى"));
    file->addSeparator();
    QAction* latin = file->addAction(QStringLiteral("GEDCOM"));
    QAction* keyed = file->addAction(QStringLiteral("حذف\tDel"));
    QMenu* sub = file->addMenu(QStringLiteral("صيانة"));
    QAction* inner = sub->addAction(QStringLiteral("فحص"));
    QMenu* view = bar.addMenu(QStringLiteral("مشاهدة"));

    GiveArabicMnemonics(&bar);
    EXPECT_EQ(file->title(), QStringLiteral("&ملف"));
    EXPECT_EQ(view->title(), QStringLiteral("م&شاهدة")) << "its first letter is the menu's before it";
    EXPECT_EQ(open->text(), QStringLiteral("&فتح.."));
    EXPECT_EQ(given->text(), QStringLiteral("&حفظ باسم"));
    // Both words' first letters are taken: the next free letter.
    EXPECT_EQ(close->text(), QStringLiteral("فتح &شجرة أخرى"));
    EXPECT_EQ(latin->text(), QStringLiteral("GEDCOM"));
    EXPECT_EQ(keyed->text(), QStringLiteral("ح&ذف\tDel"));
    EXPECT_EQ(inner->text(), QStringLiteral("&فحص"));
    EXPECT_EQ(sub->title(), QStringLiteral("&صيانة"));

    const QStringList letters = Letters(*file);
    EXPECT_EQ(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
    // Given once, the letters stay: a second call changes nothing.
    GiveArabicMnemonics(&bar);
    EXPECT_EQ(Letters(*file), letters);
}

// More entries than letters: the ones left without a free letter keep their caption.
TEST(ArabicMnemonics, NoLetterIsGivenTwice) {
    QMenu menu;
    QAction* first = menu.addAction(QStringLiteral("با"));
    QAction* second = menu.addAction(QStringLiteral("اب"));
    QAction* third = menu.addAction(QStringLiteral("ب"));
    GiveArabicMnemonics(&menu);
    EXPECT_EQ(first->text(), QStringLiteral("&با"));
    EXPECT_EQ(second->text(), QStringLiteral("&اب"));
    EXPECT_EQ(third->text(), QStringLiteral("ب"));
}

} // namespace
} // namespace verdan
