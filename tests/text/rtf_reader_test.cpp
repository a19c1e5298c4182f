#include "text/rtf_reader.h"

#include <gtest/gtest.h>

namespace verdan::test {
namespace {

// What a rich-text box of the older program writes for an Arabic paragraph and an English one.
const char* const kBoxDocument =
    "{\\rtf1\\ansi\\ansicpg1256\\deff0\\deflang1025{\\fonttbl{\\f0\\fnil\\fcharset178 Tahoma;}"
    "{\\f1\\fnil\\fcharset0 Times New Roman;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
    "{\\*\\generator Riched20 5.50.99.2014;}\\viewkind4\\uc1\\pard\\rtlpar\\qr\\lang1025\\f0\\rtlch\\fs20"
    "\\'e4\\'d5 \\b\\'da\\'d1\\'c8\\'ed\\b0  \\cf1\\i red\\cf0\\i0\\par\r\n"
    "\\pard\\ltrpar\\lang1033\\f1\\ltrch\\ul English\\ulnone\\fs28  big\\line next\\par\r\n"
    "}\r\n";

TEST(RtfReaderTest, ABoxDocumentKeepsItsParagraphsAndFormatting) {
    const TRtfDocument doc = ReadRtf(kBoxDocument);
    ASSERT_EQ(doc.Paragraphs.size(), 2);
    const TRtfParagraph& arabic = doc.Paragraphs[0];
    EXPECT_TRUE(arabic.RightToLeft);
    EXPECT_EQ(arabic.Alignment, TRtfAlignment::Right);
    ASSERT_EQ(arabic.Runs.size(), 4);
    EXPECT_EQ(arabic.Runs[0].Text, QStringLiteral(u"نص "));
    EXPECT_EQ(arabic.Runs[0].PointSize, 10);
    EXPECT_EQ(arabic.Runs[0].Font, "Tahoma");
    EXPECT_FALSE(arabic.Runs[0].Bold);
    EXPECT_EQ(arabic.Runs[1].Text, QStringLiteral(u"عربي"));
    EXPECT_TRUE(arabic.Runs[1].Bold);
    EXPECT_EQ(arabic.Runs[2].Text, " ");
    EXPECT_EQ(arabic.Runs[3].Text, "red");
    EXPECT_TRUE(arabic.Runs[3].Italic);
    EXPECT_EQ(arabic.Runs[3].Color, QColor(255, 0, 0));

    const TRtfParagraph& english = doc.Paragraphs[1];
    EXPECT_FALSE(english.RightToLeft);
    EXPECT_EQ(english.Alignment, TRtfAlignment::Natural);
    ASSERT_EQ(english.Runs.size(), 2);
    EXPECT_EQ(english.Runs[0].Text, "English");
    EXPECT_TRUE(english.Runs[0].Underline);
    EXPECT_EQ(english.Runs[0].Font, "Times New Roman");
    EXPECT_EQ(english.Runs[1].Text, QStringLiteral(u" big\u2028next"));
    EXPECT_EQ(english.Runs[1].PointSize, 14);
    EXPECT_FALSE(english.Runs[1].Underline);
    EXPECT_EQ(doc.PlainText(), QStringLiteral(u"نص عربي red\nEnglish big\u2028next"));
}

TEST(RtfReaderTest, UnicodeEscapesSkipTheirStandInsAndGroupsRestoreTheFormat) {
    // \u with its ANSI stand-in, \uc0 with none, a negative value, and escapes of the syntax characters.
    const TRtfDocument doc = ReadRtf("{\\rtf1{\\b\\u1593?\\uc2\\u1604\\'e1\\'e1}\\uc0\\u-4064 "
                                     "\\{a\\}\\\\\\~b\\emdash\\tab c\\par\\par d}");
    ASSERT_EQ(doc.Paragraphs.size(), 3);
    ASSERT_EQ(doc.Paragraphs[0].Runs.size(), 2);
    EXPECT_EQ(doc.Paragraphs[0].Runs[0].Text, QStringLiteral(u"عل"));
    EXPECT_TRUE(doc.Paragraphs[0].Runs[0].Bold);
    EXPECT_EQ(doc.Paragraphs[0].Runs[1].Text, QStringLiteral(u"\uF020{a}\\\u00A0b\u2014\tc"));
    EXPECT_FALSE(doc.Paragraphs[0].Runs[1].Bold);
    EXPECT_TRUE(doc.Paragraphs[1].Runs.isEmpty()); // an empty paragraph between two stays
    EXPECT_EQ(doc.Paragraphs[2].Runs.value(0).Text, "d");
}

TEST(RtfReaderTest, DestinationsThatHoldNoTextAreLeftOut) {
    const TRtfDocument doc = ReadRtf("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}"
                                     "{\\*\\unknowndestination x}{\\pict\\pngblip 89504e47}"
                                     "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} text}");
    EXPECT_EQ(doc.PlainText(), "link text");
}

TEST(RtfReaderTest, PlainAndParagraphResets) {
    const TRtfDocument doc = ReadRtf("{\\rtf1\\b\\i\\ul\\fs40 a\\plain b\\par\\qc\\rtlpar c\\par\\pard d}");
    ASSERT_EQ(doc.Paragraphs.size(), 3);
    EXPECT_TRUE(doc.Paragraphs[0].Runs[0].Bold && doc.Paragraphs[0].Runs[0].Italic);
    EXPECT_EQ(doc.Paragraphs[0].Runs[0].PointSize, 20);
    EXPECT_FALSE(doc.Paragraphs[0].Runs[1].Bold || doc.Paragraphs[0].Runs[1].Underline);
    EXPECT_EQ(doc.Paragraphs[0].Runs[1].PointSize, 0);
    EXPECT_EQ(doc.Paragraphs[1].Alignment, TRtfAlignment::Center);
    EXPECT_TRUE(doc.Paragraphs[1].RightToLeft);
    EXPECT_EQ(doc.Paragraphs[2].Alignment, TRtfAlignment::Natural);
    EXPECT_FALSE(doc.Paragraphs[2].RightToLeft);
}

TEST(RtfReaderTest, BrokenAndHostileInputIsReadAsFarAsItGoes) {
    // Unbalanced braces, a cut-off escape, huge numbers, colours and fonts out of range, deep nesting.
    EXPECT_EQ(ReadRtf("{\\rtf1 abc}}}}{{{").PlainText(), "abc");
    EXPECT_EQ(ReadRtf("{\\rtf1 abc\\'4").PlainText(), "abc");
    EXPECT_EQ(ReadRtf("{\\rtf1 abc\\").PlainText(), "abc");
    const TRtfDocument huge = ReadRtf("{\\rtf1\\fs999999999999999\\cf77\\f-5\\uc99999 x}");
    ASSERT_EQ(huge.Paragraphs.size(), 1);
    EXPECT_LE(huge.Paragraphs[0].Runs[0].PointSize, 1638);
    EXPECT_FALSE(huge.Paragraphs[0].Runs[0].Color.isValid());
    QByteArray deep = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i)
        deep += "{\\b ";
    deep += "deep";
    EXPECT_EQ(ReadRtf(deep).PlainText(), "deep");
    EXPECT_TRUE(ReadRtf(QByteArray()).Paragraphs.isEmpty());
}

TEST(RtfReaderTest, RecognisedByItsOpening) {
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(LooksLikeRtf("\xEF\xBB\xBF \r\n{\\rtf1}"));
    EXPECT_FALSE(LooksLikeRtf("<!DOCTYPE HTML><html>{\\rtf1"));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(LooksLikeRtf(""));
}

TEST(RtfReaderTest, HtmlCarriesTheFormattingAndEscapesTheText) {
    const QString html = RtfDocumentToHtml(ReadRtf(kBoxDocument));
    EXPECT_TRUE(html.contains(QStringLiteral(u"<p style=\"margin-top:0px; margin-bottom:0px\" dir=\"rtl\" "
                                             u"align=\"right\">")));
    EXPECT_TRUE(
        html.contains(QStringLiteral(u"font-weight:700; font-size:10pt; font-family:'Tahoma'\">عربي")));
    EXPECT_TRUE(html.contains("color:#ff0000"));
    EXPECT_TRUE(html.contains("text-decoration:underline"));
    EXPECT_TRUE(html.contains("big<br />next"));
    const QString escaped = RtfDocumentToHtml(ReadRtf("{\\rtf1 <b>&amp;</b>\\par\\par x}"));
    EXPECT_TRUE(escaped.contains("&lt;b&gt;&amp;amp;&lt;/b&gt;"));
    EXPECT_TRUE(escaped.contains("<br /></p>"));
}

} // namespace
} // namespace verdan::test
