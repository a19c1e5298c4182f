#include "text/bidi_text.h"
#include "text/ui/plain_clipboard.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <memory>

namespace verdan {
namespace {

// Lays the text out as one line of a paragraph of the given direction. Boundary(i) is where the caret
// between characters i - 1 and i stands; between two characters of one run it tells their visual order
// without doubt.
struct LaidOut {
    LaidOut(const QString& text, Qt::LayoutDirection direction) : layout(text, QGuiApplication::font()) {
        QTextOption option;
        option.setTextDirection(direction);
        layout.setTextOption(option);
        layout.beginLayout();
        line = layout.createLine();
        line.setLineWidth(2000);
        layout.endLayout();
    }
    qreal Boundary(qsizetype index) {
        int at = int(index);
        return line.cursorToX(&at, QTextLine::Leading);
    }
    QTextLayout layout;
    QTextLine line;
};

TEST(BidiText, WrapsInIsolatesAndStripsThemAgain) {
    EXPECT_EQ(Isolate(u"Victoria"_qs), u"\u2068Victoria\u2069"_qs);
    EXPECT_EQ(IsolateLtr(u"/home/me"_qs), u"\u2066/home/me\u2069"_qs);
    EXPECT_TRUE(Isolate(QString()).isEmpty());
    EXPECT_TRUE(IsolateLtr(QString()).isEmpty());
    // A line break ends an isolate: each line is isolated on its own.
    EXPECT_EQ(IsolateLtr(u"a\r\nb\n"_qs), u"\u2066a\u2069\r\n\u2066b\u2069\n"_qs);
    EXPECT_EQ(IsolatePath(u"/home/me/x.vrd"_qs), u"\u2066/home/me/x.vrd\u2069"_qs);
    const QString mixed = u"\u200Fنسخة: "_qs + IsolateLtr(u"/a/b.vrd"_qs) + u" \u202Bx\u202C"_qs;
    EXPECT_EQ(StripBidiControls(mixed), u"نسخة: /a/b.vrd x"_qs);
}

// "/home/me/copy.vrd" after Arabic words must keep its slash in front of "home", not move it to the end.
TEST(BidiText, PathInRightToLeftSentenceKeepsItsOrder) {
    const QString prefix = u"حفظت نسخة في "_qs;
    const QString path = u"/home/me/copy.vrd"_qs;
    LaidOut laid(prefix + IsolateLtr(path), Qt::RightToLeft);
    const qsizetype h = prefix.size() + 2; // the isolate, then "/"
    EXPECT_LT(laid.Boundary(h), laid.Boundary(h + 1)) << "the leading slash is drawn left of 'home'";
    const qsizetype d = prefix.size() + path.size(); // the "d" of ".vrd"
    EXPECT_LT(laid.Boundary(h + 1), laid.Boundary(d));
    EXPECT_LT(laid.Boundary(d), laid.Boundary(1)) << "the path stands left of the words before it";
}

// A Latin name ending in punctuation inside a mirrored outline keeps the punctuation at its end.
TEST(BidiText, LatinNameInRightToLeftRowKeepsTrailingPunctuation) {
    const QString name = u"Frederick William of_Schleswig-"_qs;
    LaidOut laid(Isolate(name), Qt::RightToLeft);
    const qsizetype dash = name.size(); // one isolate stands before the name
    EXPECT_GT(laid.Boundary(dash), laid.Boundary(dash - 1)) << "the dash is drawn right of the final 'g'";
    EXPECT_LT(laid.Boundary(2), laid.Boundary(dash - 1));
}

// "(*.vrd)" after an Arabic description keeps its star in front of ".vrd", and the dialog still finds the
// patterns between the brackets at the end.
TEST(BidiText, FileFilterKeepsItsPatternsInOrder) {
    const QString filter = FileFilter(u"ملف بيانات فردان"_qs, u"*.vrd"_qs);
    EXPECT_TRUE(filter.endsWith(u"(*.vrd)"_qs));
    LaidOut laid(filter, Qt::RightToLeft);
    const qsizetype star = filter.indexOf(u'*');
    EXPECT_LT(laid.Boundary(star + 1), laid.Boundary(star + 2)) << "'*' drawn left of '.vrd'";
    EXPECT_LT(laid.Boundary(star), laid.Boundary(1)) << "the patterns stand left of the description";
}

TEST(BidiText, ArabicLettersOfEveryInterfaceScript) {
    EXPECT_TRUE(HasArabicLetters(u"&نعم"_qs));
    EXPECT_TRUE(HasArabicLetters(u"پدر"_qs));  // Persian pe
    EXPECT_TRUE(HasArabicLetters(u"ٹوپی"_qs)); // Urdu tte
    EXPECT_FALSE(HasArabicLetters(u"&Yes"_qs));
    EXPECT_FALSE(HasArabicLetters(u"١٢٣"_qs)) << "Arabic-Indic digits are no letters";
    EXPECT_FALSE(HasArabicLetters(QString()));
}

// A value reads in the direction of its first letter; digits, dates and phone numbers left to right.
TEST(BidiText, ReadingDirectionOfAValue) {
    EXPECT_EQ(ReadingDirection(QStringLiteral("عيسى Smith"), Qt::LeftToRight), Qt::RightToLeft);
    EXPECT_EQ(ReadingDirection(QStringLiteral("\"Alix\" ريّان"), Qt::RightToLeft), Qt::LeftToRight);
    EXPECT_EQ(ReadingDirection(QStringLiteral("+966 50 123 4567"), Qt::RightToLeft), Qt::LeftToRight);
    EXPECT_EQ(ReadingDirection(QStringLiteral("15-03-1445"), Qt::RightToLeft), Qt::LeftToRight);
    EXPECT_EQ(ReadingDirection(Isolate(QStringLiteral("زینب")), Qt::LeftToRight), Qt::RightToLeft);
    EXPECT_EQ(ReadingDirection(QStringLiteral("  "), Qt::RightToLeft), Qt::RightToLeft);
    EXPECT_EQ(ReadingDirection(QString(), Qt::LeftToRight), Qt::LeftToRight);
    // A sentence opening with an isolated name of the other script reads in its own words' order.
    EXPECT_EQ(ReadingDirection(Isolate(u"حسن"_qs) + u" to Ali: father"_qs, Qt::RightToLeft), Qt::LeftToRight);
    EXPECT_EQ(ReadingDirection(Isolate(u"Hassan"_qs) + u" إلى علي: أب"_qs, Qt::LeftToRight), Qt::RightToLeft);
}

TEST(BidiText, ElidesEachTextAtItsOwnEnd) {
    const QFontMetrics metrics(QGuiApplication::font());
    const QString latin = u"Victoria Helena Augusta Victoria of Schleswig-Holstein"_qs;
    const int width = metrics.horizontalAdvance(latin) / 2;
    const QString cut = ElideAtOwnEnd(latin, metrics, width);
    const QString plain = StripBidiControls(cut);
    EXPECT_TRUE(plain.startsWith(u"Victoria Helena"_qs)) << plain.toStdString();
    EXPECT_TRUE(plain.endsWith(u'…')) << plain.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(cut), width);
    EXPECT_TRUE(cut.startsWith(u'\u2068')) << "isolated, so the ellipsis stays at the text's end";

    const QString arabic = u"محمد بن عبد الله بن عبد الرحمن بن إبراهيم بن يوسف"_qs;
    const QString cutArabic =
        StripBidiControls(ElideAtOwnEnd(arabic, metrics, metrics.horizontalAdvance(arabic) / 2));
    EXPECT_TRUE(cutArabic.startsWith(u"محمد بن"_qs)) << cutArabic.toStdString();
    EXPECT_TRUE(cutArabic.endsWith(u'…'));

    EXPECT_EQ(StripBidiControls(ElideAtOwnEnd(u"Ann"_qs, metrics, 1000)), u"Ann"_qs)
        << "what fits stays whole";
}

// A text copied from a window pastes without the marks that kept it in order there; other formats stay.
TEST(BidiText, CopiedTextsLoseTheirDirectionMarks) {
    QMimeData copied;
    copied.setText(Isolate(u"حسن"_qs) + u" to Ali: "_qs + IsolateLtr(u"/home/me/a.vrd"_qs));
    copied.setHtml(u"<b>"_qs + Isolate(u"Ali"_qs) + u"</b>"_qs);
    copied.setData(u"application/x-verdan-person"_qs, "P1");
    const std::unique_ptr<QMimeData> plain(WithoutDirectionMarks(copied));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->text(), u"حسن to Ali: /home/me/a.vrd"_qs);
    EXPECT_EQ(plain->html(), u"<b>Ali</b>"_qs);
    EXPECT_EQ(plain->data(u"application/x-verdan-person"_qs), "P1");
    QMimeData clean;
    clean.setText(u"Ali"_qs);
    EXPECT_EQ(WithoutDirectionMarks(clean), nullptr);
}

} // namespace
} // namespace verdan
