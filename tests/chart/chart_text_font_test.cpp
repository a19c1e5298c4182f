#include "chart/text_measurer.h"

#include <QFontDatabase>
#include <QRawFont>
#include <gtest/gtest.h>

namespace verdan {
namespace {

bool Draws(const TOFont& font, const QString& text) {
    const QRawFont raw = QRawFont::fromFont(ChartFont(font));
    for (const char32_t c : text.toUcs4())
        if (!raw.supportsCharacter(c))
            return false;
    return true;
}

// Whatever the chart font resolves to on this desktop, a name is drawn in one face that has all its letters:
// a face without Arabic would otherwise leave the letters to a fallback and the blanks to itself, and the
// name would come out in pieces (one text run a piece in an SVG export).
TEST(ChartTextFont, ANameIsDrawnInOneFaceThatHasAllItsLetters) {
    // A Latin face of the set-up, without Arabic.
    const TOFont latin{QStringLiteral("Noto Sans"), 14, 0, 0};
    ASSERT_TRUE(QFontDatabase::hasFamily(latin.Name));
    ASSERT_FALSE(Draws(latin, QStringLiteral(u"أ")));
    for (const QString& name :
         {QStringLiteral(u"أحمد بن علي"), QStringLiteral(u"پرویز چراغی"), QStringLiteral(u"بیٹے کا نام ے")}) {
        const TOFont drawn = ChartTextFont(latin, name);
        EXPECT_NE(drawn.Name, latin.Name) << name.toStdString();
        EXPECT_TRUE(Draws(drawn, name)) << name.toStdString() << " in " << drawn.Name.toStdString();
        EXPECT_EQ(drawn.Size, latin.Size);
    }
    // Latin names, and Arabic names in a face that has Arabic, keep the chart's font.
    EXPECT_EQ(ChartTextFont(latin, QStringLiteral("Ahmad ibn Ali")).Name, latin.Name);
    const TOFont arabic{QStringLiteral("Noto Naskh Arabic"), 14, 0, 0};
    ASSERT_TRUE(Draws(arabic, QStringLiteral(u"أحمد")));
    EXPECT_EQ(ChartTextFont(arabic, QStringLiteral(u"أحمد بن علي")).Name, arabic.Name);
}

} // namespace
} // namespace verdan
