#include "shell/tree_description.h"

#include <gtest/gtest.h>

namespace verdan::test {
namespace {

TEST(TreeDescriptionTest, EachStoredFormatBecomesHtmlWithItsFormatting) {
    EXPECT_EQ(DescriptionFormat(QByteArray()), TDescriptionFormat::Empty);
    EXPECT_EQ(DescriptionFormat(" \r\n"), TDescriptionFormat::Empty);
    EXPECT_TRUE(DescriptionToHtml(" ").isEmpty());

    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1256{\\fonttbl{\\f0\\fcharset178 Tahoma;}}\\f0\\b "
                           "\\'da\\'d1\\'c8\\'ed\\b0\\par}";
    EXPECT_EQ(DescriptionFormat(rtf), TDescriptionFormat::Rtf);
    EXPECT_TRUE(
        DescriptionToHtml(rtf).contains(QStringLiteral(u"font-weight:700; font-family:'Tahoma'\">عربي")));

    const QByteArray html =
        QStringLiteral(u"<!DOCTYPE HTML><html><body><p><b>شجرة</b></p></body></html>").toUtf8();
    EXPECT_EQ(DescriptionFormat(html), TDescriptionFormat::Html);
    EXPECT_EQ(DescriptionToHtml(html), QString::fromUtf8(html));

    const QByteArray plain = QStringLiteral(u"سطر <أول>\r\nline  two").toUtf8();
    EXPECT_EQ(DescriptionFormat(plain), TDescriptionFormat::PlainText);
    EXPECT_TRUE(DescriptionToHtml(plain).contains(QStringLiteral(u"سطر &lt;أول&gt;<br />line  two")));
}

TEST(TreeDescriptionTest, AnEmptyEditorStoresNothing) {
    EXPECT_TRUE(StoredDescription("<html><body><p></p></body></html>", true).isNull());
    EXPECT_EQ(StoredDescription(QStringLiteral(u"<b>ب</b>"), false), QStringLiteral(u"<b>ب</b>").toUtf8());
}

} // namespace
} // namespace verdan::test
