#include "text/localisation.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace verdan {

namespace {

// Where the first letter of «زینب», which joins nothing, is drawn beside the rest of the word: the share of
// its ink width that stands clear of the others' ink (1 when apart, 0 when drawn over them).
QList<QGlyphRun> Shaped(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

double FirstLetterClear(const QFont& font) {
    // The glyph ز takes on its own is the one it takes at the start of the word, where it joins nothing.
    const QList<QGlyphRun> alone = Shaped(QStringLiteral(u"ز"), font);
    if (alone.isEmpty() || alone[0].glyphIndexes().isEmpty())
        return 1;
    const quint32 zay = alone[0].glyphIndexes()[0];
    QRectF first;
    QRectF rest;
    for (const QGlyphRun& run : Shaped(QStringLiteral(u"زینب"), font)) {
        const QList<QPointF> positions = run.positions();
        const QList<quint32> glyphs = run.glyphIndexes();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF ink = run.rawFont().boundingRect(glyphs[i]).translated(positions[i]);
            if (glyphs[i] == zay && first.isNull())
                first = ink;
            else if (ink.width() > 0)
                rest = rest.united(ink);
        }
    }
    if (first.isNull() || first.width() <= 0)
        return 1; // the face writes ز in another form: nothing to compare
    const double clear = std::max(0.0, first.right() - std::max(first.left(), rest.right()));
    return clear / first.width();
}

} // namespace

// Urdu takes a face the toolkit draws every letter of, with the desktop's face behind it; switching to
// another language gives the desktop's font back.
TEST(InterfaceFont, UrduInAFaceThatShowsEveryLetterOthersInTheDesktopFont) {
    QDir(LangsFolder()).removeRecursively();
    InstallLanguageFiles();
    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("english.local")));
    const QFont desktop = QApplication::font();
    EXPECT_TRUE(InterfaceFontFamily().isEmpty());

    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("urdu.local")));
    if (InterfaceFontFamily().isEmpty()) {
        EXPECT_EQ(QApplication::font(), desktop);
    } else {
        const QStringList families = QApplication::font().families();
        ASSERT_EQ(families.size(), 2);
        EXPECT_EQ(families[0], InterfaceFontFamily());
        EXPECT_EQ(families[1], desktop.family());
        EXPECT_EQ(QApplication::font().pointSizeF(), desktop.pointSizeF());
    }
    // The first letter of a word stands beside the rest, not drawn over it.
    EXPECT_GT(FirstLetterClear(QApplication::font()), 0.5);

    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("persian.local")));
    EXPECT_EQ(QApplication::font(), desktop);
    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("english.local")));
    EXPECT_EQ(QApplication::font(), desktop);
    // The suites here run right to left, as with Arabic.
    ASSERT_TRUE(SetLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    EXPECT_EQ(QApplication::font(), desktop);
    QDir(LangsFolder()).removeRecursively();
}

} // namespace verdan
